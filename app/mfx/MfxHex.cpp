#include "MfxHex.h"

#include <string.h>

namespace {

const char kDigits[] = "0123456789ABCDEF";

} // namespace

int MfxHexDigitValue(int c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void MfxHexEncode(const void* pBytes, int nCount, CString& rText)
{
    const BYTE* p = (const BYTE*)pBytes;
    if (nCount <= 0 || p == NULL) {
        rText.Empty();
        return;
    }
    LPTSTR pOut = rText.GetBuffer(nCount * 2);
    for (int i = 0; i < nCount; ++i) {
        pOut[2 * i] = kDigits[p[i] >> 4];
        pOut[2 * i + 1] = kDigits[p[i] & 0x0F];
    }
    rText.ReleaseBuffer(nCount * 2);
}

BOOL MfxHexDecode(void* pBuffer, int nSize, LPCTSTR lpszText)
{
    if (nSize <= 0)
        return TRUE;
    BYTE* p = (BYTE*)pBuffer;
    memset(p, 0, (size_t)nSize);
    const size_t nLength = lpszText != NULL ? strlen(lpszText) : 0;
    for (size_t i = 0; i < (size_t)nSize && i < nLength / 2; ++i) {
        int nHigh = MfxHexDigitValue(lpszText[2 * i]);
        int nLow = MfxHexDigitValue(lpszText[2 * i + 1]);
        if (nHigh < 0 || nLow < 0) {
            memset(p, 0, (size_t)nSize);
            return FALSE;
        }
        p[i] = (BYTE)(nHigh * 16 + nLow);
    }
    return TRUE;
}
