#include "CExternalConnection.h"

#include <afxdisp.h>

CExternalConnection::CExternalConnection(COrvexDoc* pDocument, BOOL bEmbedded)
    : m_nConnections(0), m_nRefs(1), m_pDocument(pDocument), m_bEmbedded(bEmbedded)
{
    if (m_bEmbedded)
        AfxOleSetUserCtrl(FALSE);
}

BOOL CExternalConnection::CommandLineIsEmbedded(LPCTSTR lpszCommandLine)
{
    if (lpszCommandLine == NULL)
        return FALSE;
    CString strLine(lpszCommandLine);
    strLine.MakeLower();
    int nAt = 0;
    while ((nAt = strLine.Find("embedding", nAt)) >= 0) {
        if (nAt > 0 && (strLine[nAt - 1] == '-' || strLine[nAt - 1] == '/'))
            return TRUE;
        nAt++;
    }
    return FALSE;
}

STDMETHODIMP CExternalConnection::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IExternalConnection)) {
        *ppvObject = static_cast<IExternalConnection*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CExternalConnection::AddRef()
{
    return (ULONG)::InterlockedIncrement(&m_nRefs);
}

STDMETHODIMP_(ULONG) CExternalConnection::Release()
{
    long n = ::InterlockedDecrement(&m_nRefs);
    if (n == 0)
        delete this;
    return (ULONG)n;
}

STDMETHODIMP_(DWORD) CExternalConnection::AddConnection(DWORD, DWORD)
{
    return (DWORD)::InterlockedIncrement(&m_nConnections);
}

STDMETHODIMP_(DWORD) CExternalConnection::ReleaseConnection(DWORD, DWORD, BOOL)
{
    long n = ::InterlockedDecrement(&m_nConnections);
    if (n == 0 && m_bEmbedded) {
        CWnd* pMainWnd = AfxGetApp() != NULL ? AfxGetApp()->m_pMainWnd : NULL;
        if (pMainWnd != NULL && ::IsWindow(pMainWnd->GetSafeHwnd()))
            pMainWnd->PostMessage(WM_CLOSE);
    }
    return (DWORD)n;
}
