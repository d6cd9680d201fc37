#include "afxdisp.h"

IMPLEMENT_DYNAMIC(COleException, CException)

COleException::COleException() : m_sc(S_OK) {}

COleException::~COleException() {}

SCODE PASCAL COleException::Process(const CException* pAnyException)
{
    if (pAnyException == NULL)
        return E_UNEXPECTED;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(COleException)))
        return ((const COleException*)pAnyException)->m_sc;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(COleDispatchException)))
        return DISP_E_EXCEPTION;
    if (pAnyException->IsKindOf(RUNTIME_CLASS(CMemoryException)))
        return E_OUTOFMEMORY;
    return E_UNEXPECTED;
}

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError == NULL || nMaxError == 0)
        return FALSE;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, (DWORD)m_sc, 0,
                             lpszError, nMaxError, NULL);
    if (n == 0) {
        *lpszError = '\0';
        return FALSE;
    }
    // The system's texts end with a line break.
    while (n > 0 && (lpszError[n - 1] == '\n' || lpszError[n - 1] == '\r'))
        lpszError[--n] = '\0';
    return TRUE;
}

void AFXAPI AfxThrowOleException(SCODE sc)
{
    COleException* pException = new COleException;
    pException->m_sc = sc;
    throw pException;
}

void AFXAPI AfxCheckError(SCODE sc)
{
    if (FAILED(sc)) {
        if (sc == E_OUTOFMEMORY)
            AfxThrowMemoryException();
        AfxThrowOleException(sc);
    }
}
