// The OLE control members of CWnd (declared in the window layer's CWnd.h).
#include "afxdisp.h"

BOOL CWnd::InitControlContainer()
{
    if (m_pCtrlCont != NULL)
        return TRUE;
    if (AfxGetOccManager() == NULL || m_hWnd == NULL)
        return FALSE;
    m_pCtrlCont = new COleControlContainer(this);
    m_nFlags |= WF_OLECTLCONTAINER;
    return TRUE;
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey)
{
    if (m_hWnd != NULL || pParentWnd == NULL || !pParentWnd->InitControlContainer())
        return FALSE;
    return pParentWnd->m_pCtrlCont->CreateControl(this, clsid, pszWindowName, dwStyle, &rect, nID, pPersist, bStorage,
                                                  bstrLicKey);
}

BOOL CWnd::CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                         UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey)
{
    CLSID clsid;
    if (FAILED(AfxGetClassIDFromString(pszClass, &clsid)))
        return FALSE;
    return CreateControl(clsid, pszWindowName, dwStyle, rect, pParentWnd, nID, pPersist, bStorage, bstrLicKey);
}

LPUNKNOWN CWnd::GetControlUnknown() { return m_pCtrlSite != NULL ? m_pCtrlSite->m_pObject : NULL; }

void AFX_CDECL CWnd::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                                  ...)
{
    if (m_pCtrlSite == NULL)
        AfxThrowOleException(CO_E_OBJNOTCONNECTED);
    va_list argList;
    va_start(argList, pbParamInfo);
    try {
        m_pCtrlSite->InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
    } catch (...) {
        va_end(argList);
        throw;
    }
    va_end(argList);
}

void CWnd::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    if (m_pCtrlSite == NULL)
        AfxThrowOleException(CO_E_OBJNOTCONNECTED);
    m_pCtrlSite->GetProperty(dwDispID, vtProp, pvProp);
}

void AFX_CDECL CWnd::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    if (m_pCtrlSite == NULL)
        AfxThrowOleException(CO_E_OBJNOTCONNECTED);
    va_list argList;
    va_start(argList, vtProp);
    try {
        m_pCtrlSite->SetPropertyV(dwDispID, vtProp, argList);
    } catch (...) {
        va_end(argList);
        throw;
    }
    va_end(argList);
}
