// Trace output, assertion reports and address checks.
#include "afx.h"

#include <stdio.h>
#include <stdlib.h>

void AFX_CDECL AfxTrace(LPCTSTR lpszFormat, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, lpszFormat);
    int n = _vsnprintf(buffer, sizeof buffer - 1, lpszFormat, args);
    va_end(args);
    buffer[sizeof buffer - 1] = '\0';
    if (n < 0)
        buffer[sizeof buffer - 2] = '\0';
    OutputDebugStringA(buffer);
}

BOOL AFXAPI AfxAssertFailedLine(LPCSTR lpszFileName, int nLine)
{
    char line[MAX_PATH + 64];
    _snprintf(line, sizeof line - 1, "Assertion failed: %s(%d)\n", lpszFileName ? lpszFileName : "?", nLine);
    line[sizeof line - 1] = '\0';
    OutputDebugStringA(line);
    // Break only under a debugger: a test run or an unattended program carries on.
    return IsDebuggerPresent();
}

void AFXAPI AfxAssertValidObject(const CObject* pOb, LPCSTR lpszFileName, int nLine)
{
    if (pOb == NULL) {
        if (AfxAssertFailedLine(lpszFileName, nLine))
            AfxDebugBreak();
        return;
    }
#ifdef _DEBUG
    pOb->AssertValid();
#endif
}

BOOL AFXAPI AfxIsValidAddress(const void* lp, UINT_PTR nBytes, BOOL bReadWrite)
{
    // A cheap plausibility check only: the pointer is not NULL (or nothing is addressed).
    UNUSED(bReadWrite);
    return lp != NULL || nBytes == 0;
}

BOOL AFXAPI AfxIsValidString(LPCSTR lpsz, int nLength)
{
    UNUSED(nLength);
    return lpsz != NULL;
}

#ifdef _DEBUG
void* AFX_CDECL operator new(size_t nSize, LPCSTR, int) { return ::operator new(nSize); }
void* AFX_CDECL operator new[](size_t nSize, LPCSTR, int) { return ::operator new[](nSize); }
void AFX_CDECL operator delete(void* p, LPCSTR, int) { ::operator delete(p); }
void AFX_CDECL operator delete[](void* p, LPCSTR, int) { ::operator delete[](p); }
#endif
