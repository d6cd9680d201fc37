#include "afxdisp.h"

#include <vector>

COleControlContainer::COleControlContainer(CWnd* pWnd) : m_pWnd(pWnd), m_pSiteUIActive(NULL)
{
    m_xOleIPFrame.m_pThis = this;
    m_xOleContainer.m_pThis = this;
}

COleControlContainer::~COleControlContainer() { DestroyAllSites(); }

void COleControlContainer::OnFinalRelease() {}

LPUNKNOWN COleControlContainer::GetInterfaceHook(const void* piid)
{
    const IID& iid = *(const IID*)piid;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceUIWindow) ||
        IsEqualIID(iid, IID_IOleInPlaceFrame))
        return &m_xOleIPFrame;
    if (IsEqualIID(iid, IID_IParseDisplayName) || IsEqualIID(iid, IID_IOleContainer))
        return &m_xOleContainer;
    return NULL;
}

BOOL COleControlContainer::CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                                         const RECT* pRect, UINT nID, CFile* pPersist, BOOL bStorage,
                                         BSTR bstrLicKey, COleControlSite** ppNewSite)
{
    COleControlSite* pSite = new COleControlSite(this);
    m_listSites.AddTail(pSite);
    HRESULT hr = pSite->CreateControl(pWndCtrl, clsid, lpszWindowName, dwStyle, pRect, nID, pPersist, bStorage,
                                      bstrLicKey);
    if (FAILED(hr)) {
        DestroySite(pSite);
        pSite = NULL;
    }
    if (ppNewSite != NULL)
        *ppNewSite = pSite;
    return pSite != NULL;
}

BOOL COleControlContainer::CreateControlFromData(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName,
                                                 DWORD dwStyle, const RECT* pRect, UINT nID, const void* lpPersist,
                                                 DWORD cbPersist, BOOL bStorage, COleControlSite** ppNewSite)
{
    COleControlSite* pSite = new COleControlSite(this);
    m_listSites.AddTail(pSite);
    HRESULT hr = pSite->CreateControlFromData(pWndCtrl, clsid, lpszWindowName, dwStyle, pRect, nID, lpPersist,
                                              cbPersist, bStorage, NULL);
    if (FAILED(hr)) {
        DestroySite(pSite);
        pSite = NULL;
    }
    if (ppNewSite != NULL)
        *ppNewSite = pSite;
    return pSite != NULL;
}

COleControlSite* COleControlContainer::FindSite(HWND hWnd) const
{
    for (POSITION pos = m_listSites.GetHeadPosition(); pos != NULL;) {
        COleControlSite* pSite = (COleControlSite*)m_listSites.GetNext(pos);
        if (hWnd != NULL && pSite->m_hWnd == hWnd)
            return pSite;
    }
    return NULL;
}

COleControlSite* COleControlContainer::FindItem(UINT nID) const
{
    for (POSITION pos = m_listSites.GetHeadPosition(); pos != NULL;) {
        COleControlSite* pSite = (COleControlSite*)m_listSites.GetNext(pos);
        if (pSite->m_nID == nID)
            return pSite;
    }
    return NULL;
}

void COleControlContainer::DestroySite(COleControlSite* pSite)
{
    POSITION pos = m_listSites.Find(pSite);
    if (pos == NULL)
        return;
    m_listSites.RemoveAt(pos);
    if (m_pSiteUIActive == pSite)
        m_pSiteUIActive = NULL;
    delete pSite;
}

void COleControlContainer::DestroyAllSites()
{
    // The sites go one by one: a control may call back while it is released.
    while (!m_listSites.IsEmpty())
        DestroySite((COleControlSite*)m_listSites.GetHead());
}

BOOL COleControlContainer::GetAmbientProp(COleControlSite* pSite, DISPID dispid, VARIANT* pvarResult)
{
    ::VariantInit(pvarResult);
    switch (dispid) {
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_AUTOCLIP:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
        pvarResult->vt = VT_BOOL;
        pvarResult->boolVal = VARIANT_TRUE;
        return TRUE;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_MESSAGEREFLECT:
        pvarResult->vt = VT_BOOL;
        pvarResult->boolVal = VARIANT_FALSE;
        return TRUE;
    case DISPID_AMBIENT_LOCALEID:
        pvarResult->vt = VT_I4;
        pvarResult->lVal = (long)::GetUserDefaultLCID();
        return TRUE;
    case DISPID_AMBIENT_BACKCOLOR:
        pvarResult->vt = VT_I4;
        pvarResult->lVal = (long)::GetSysColor(COLOR_BTNFACE);
        return TRUE;
    case DISPID_AMBIENT_FORECOLOR:
        pvarResult->vt = VT_I4;
        pvarResult->lVal = (long)::GetSysColor(COLOR_WINDOWTEXT);
        return TRUE;
    case DISPID_AMBIENT_APPEARANCE:
        pvarResult->vt = VT_I2;
        pvarResult->iVal = 1; // three-dimensional
        return TRUE;
    case DISPID_AMBIENT_DISPLAYNAME:
        pvarResult->vt = VT_BSTR;
        pvarResult->bstrVal = (pSite != NULL ? pSite->m_strName : CString()).AllocSysString();
        return TRUE;
    case DISPID_AMBIENT_FONT: {
        // the container window's font, else the system's dialog font
        HFONT hFont = m_pWnd != NULL && m_pWnd->m_hWnd != NULL ? (HFONT)::SendMessageA(m_pWnd->m_hWnd, WM_GETFONT, 0, 0)
                                                                : NULL;
        if (hFont == NULL)
            hFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        LOGFONTW lf;
        if (::GetObjectW(hFont, sizeof(lf), &lf) == 0)
            return FALSE;
        HDC hDC = ::GetDC(NULL);
        int nLogPixelsY = ::GetDeviceCaps(hDC, LOGPIXELSY);
        ::ReleaseDC(NULL, hDC);
        FONTDESC fd;
        fd.cbSizeofstruct = sizeof(fd);
        fd.lpstrName = lf.lfFaceName;
        long lHeight = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
        fd.cySize.int64 = (LONGLONG)lHeight * 720000 / (nLogPixelsY != 0 ? nLogPixelsY : 96);
        fd.sWeight = (short)lf.lfWeight;
        fd.sCharset = lf.lfCharSet;
        fd.fItalic = lf.lfItalic;
        fd.fUnderline = lf.lfUnderline;
        fd.fStrikethrough = lf.lfStrikeOut;
        LPDISPATCH lpFont = NULL;
        if (FAILED(::OleCreateFontIndirect(&fd, IID_IFontDisp, (void**)&lpFont)))
            return FALSE;
        pvarResult->vt = VT_DISPATCH;
        pvarResult->pdispVal = lpFont;
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// ---- IUnknown of the parts ----------------------------------------------------------------------

#define AFX_CONT_IUNKNOWN_IMPL(theClass)                                                          \
    STDMETHODIMP COleControlContainer::theClass::QueryInterface(REFIID riid, void** ppvObject)    \
    {                                                                                             \
        return (HRESULT)m_pThis->ExternalQueryInterface(&riid, ppvObject);                       \
    }                                                                                             \
    STDMETHODIMP_(ULONG) COleControlContainer::theClass::AddRef() { return m_pThis->ExternalAddRef(); } \
    STDMETHODIMP_(ULONG) COleControlContainer::theClass::Release() { return m_pThis->ExternalRelease(); }

AFX_CONT_IUNKNOWN_IMPL(XOleIPFrame)
AFX_CONT_IUNKNOWN_IMPL(XOleContainer)

// ---- IOleInPlaceFrame: the container window is the frame; it has no menus or tool space -----------

STDMETHODIMP COleControlContainer::XOleIPFrame::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL)
        return E_POINTER;
    *phwnd = m_pThis->m_pWnd->GetSafeHwnd();
    return S_OK;
}

STDMETHODIMP COleControlContainer::XOleIPFrame::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP COleControlContainer::XOleIPFrame::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }

STDMETHODIMP COleControlContainer::XOleIPFrame::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }

STDMETHODIMP COleControlContainer::XOleIPFrame::SetBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }

STDMETHODIMP COleControlContainer::XOleIPFrame::SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) { return S_OK; }

STDMETHODIMP COleControlContainer::XOleIPFrame::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return E_NOTIMPL; }

STDMETHODIMP COleControlContainer::XOleIPFrame::SetMenu(HMENU, HOLEMENU, HWND) { return E_NOTIMPL; }

STDMETHODIMP COleControlContainer::XOleIPFrame::RemoveMenus(HMENU) { return E_NOTIMPL; }

STDMETHODIMP COleControlContainer::XOleIPFrame::SetStatusText(LPCOLESTR) { return S_OK; }

STDMETHODIMP COleControlContainer::XOleIPFrame::EnableModeless(BOOL) { return S_OK; }

STDMETHODIMP COleControlContainer::XOleIPFrame::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

// ---- IOleContainer ---------------------------------------------------------------------------------

STDMETHODIMP COleControlContainer::XOleContainer::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**)
{
    return E_NOTIMPL;
}

STDMETHODIMP COleControlContainer::XOleContainer::EnumObjects(DWORD, IEnumUnknown** ppenum)
{
    if (ppenum != NULL)
        *ppenum = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlContainer::XOleContainer::LockContainer(BOOL) { return S_OK; }
