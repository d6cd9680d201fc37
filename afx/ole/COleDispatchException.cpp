#include "afxdisp.h"

IMPLEMENT_DYNAMIC(COleDispatchException, CException)

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_scError(0), m_dwHelpContext(nHelpID != 0 ? HID_BASE_DISPATCH + nHelpID : 0),
      m_strDescription(lpszDescription), m_strSource(AfxGetAppName())
{
    CWinApp* pApp = AfxGetApp();
    if (m_dwHelpContext != 0 && pApp != NULL && pApp->m_pszHelpFilePath != NULL)
        m_strHelpFile = pApp->m_pszHelpFilePath;
}

COleDispatchException::~COleDispatchException() {}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext != NULL)
        *pnHelpContext = 0;
    if (lpszError != NULL && nMaxError != 0)
        lstrcpynA(lpszError, m_strDescription, (int)nMaxError);
    return TRUE;
}

void PASCAL COleDispatchException::Process(EXCEPINFO* pInfo, const CException* e)
{
    if (pInfo == NULL)
        return;
    memset(pInfo, 0, sizeof(EXCEPINFO));
    CString strSource = AfxGetAppName();
    CString strDescription;
    if (e != NULL && e->IsKindOf(RUNTIME_CLASS(COleDispatchException))) {
        const COleDispatchException* pDispatch = (const COleDispatchException*)e;
        pInfo->wCode = pDispatch->m_wCode;
        pInfo->scode = pDispatch->m_wCode != 0 ? 0 : pDispatch->m_scError;
        if (!pDispatch->m_strSource.IsEmpty())
            strSource = pDispatch->m_strSource;
        strDescription = pDispatch->m_strDescription;
        pInfo->dwHelpContext = pDispatch->m_dwHelpContext;
        if (!pDispatch->m_strHelpFile.IsEmpty())
            pInfo->bstrHelpFile = pDispatch->m_strHelpFile.AllocSysString();
    } else {
        pInfo->scode = COleException::Process(e);
        char szText[512] = "";
        if (e != NULL && const_cast<CException*>(e)->GetErrorMessage(szText, sizeof(szText)))
            strDescription = szText;
    }
    pInfo->bstrSource = strSource.AllocSysString();
    pInfo->bstrDescription = strDescription.AllocSysString();
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID)
{
    throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID)
{
    if (nHelpID == (UINT)-1)
        nHelpID = nDescriptionID;
    CString strDescription;
    strDescription.LoadString(nDescriptionID);
    throw new COleDispatchException(strDescription, nHelpID, wCode);
}
