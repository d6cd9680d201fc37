// The string conversions that the compiler-support classes _bstr_t and _variant_t of <comdef.h>
// call (the header declares them; the ANSI code page is used).
#include "afx.h"

#include <comdef.h>

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* pSrc)
{
    if (pSrc == NULL)
        return NULL;
    int nWide = MultiByteToWideChar(CP_ACP, 0, pSrc, -1, NULL, 0); // with the terminator
    BSTR bstr = SysAllocStringLen(NULL, nWide > 0 ? nWide - 1 : 0);
    if (bstr == NULL)
        _com_issue_error(E_OUTOFMEMORY);
    if (nWide > 0)
        MultiByteToWideChar(CP_ACP, 0, pSrc, -1, bstr, nWide);
    return bstr;
}

char* WINAPI ConvertBSTRToString(BSTR pSrc)
{
    if (pSrc == NULL)
        return NULL;
    int nLen = (int)SysStringLen(pSrc);
    int nBytes = nLen > 0 ? WideCharToMultiByte(CP_ACP, 0, pSrc, nLen, NULL, 0, NULL, NULL) : 0;
    // The caller (_bstr_t) frees the text with delete[].
    char* psz = new char[nBytes + 1];
    if (nBytes > 0)
        WideCharToMultiByte(CP_ACP, 0, pSrc, nLen, psz, nBytes, NULL, NULL);
    psz[nBytes] = '\0';
    return psz;
}

} // namespace _com_util
