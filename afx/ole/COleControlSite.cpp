#include "afxdisp.h"
#include "AfxDispatchCall.h"

#include <vector>

namespace {

// Pixels of the screen per logical inch.
void ScreenDpi(int* pnX, int* pnY)
{
    HDC hDC = ::GetDC(NULL);
    *pnX = ::GetDeviceCaps(hDC, LOGPIXELSX);
    *pnY = ::GetDeviceCaps(hDC, LOGPIXELSY);
    ::ReleaseDC(NULL, hDC);
    if (*pnX <= 0)
        *pnX = 96;
    if (*pnY <= 0)
        *pnY = 96;
}

// A control's extent in HIMETRIC (0.01 mm) from a rectangle in pixels.
SIZEL ExtentOf(const RECT& rect)
{
    int nDpiX, nDpiY;
    ScreenDpi(&nDpiX, &nDpiY);
    SIZEL size;
    size.cx = MulDiv(rect.right - rect.left, 2540, nDpiX);
    size.cy = MulDiv(rect.bottom - rect.top, 2540, nDpiY);
    return size;
}

} // namespace

COleControlSite::COleControlSite(COleControlContainer* pCtrlCont)
    : m_pCtrlCont(pCtrlCont), m_hWnd(NULL), m_nID((UINT)-1), m_dwStyle(0), m_dwMiscStatus(0), m_pObject(NULL),
      m_pInPlaceObject(NULL), m_iidEvents(IID_NULL), m_dwEventSink(0)
{
    m_xOleClientSite.m_pThis = this;
    m_xOleIPSite.m_pThis = this;
    m_xOleControlSite.m_pThis = this;
    m_xAmbientProps.m_pThis = this;
    m_xAmbientProps.m_bEvents = FALSE;
    m_xEventSink.m_pThis = this;
    m_xEventSink.m_bEvents = TRUE;
}

COleControlSite::~COleControlSite()
{
    // A CWnd of the control's window no longer reaches the control.
    CWnd* pWnd = m_hWnd != NULL ? CWnd::FromHandlePermanent(m_hWnd) : NULL;
    if (pWnd != NULL && pWnd->m_pCtrlSite == this)
        pWnd->m_pCtrlSite = NULL;
    DisconnectEvents();
    m_dispDriver.ReleaseDispatch();
    // The control destroys its window when it leaves the in-place state; one that keeps it loses
    // it while the control still exists (its window procedure may need it).
    if (m_pInPlaceObject != NULL) {
        m_pInPlaceObject->InPlaceDeactivate();
        m_pInPlaceObject->Release();
        m_pInPlaceObject = NULL;
    }
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    m_hWnd = NULL;
    if (m_pObject != NULL) {
        m_pObject->Close(OLECLOSE_NOSAVE);
        m_pObject->SetClientSite(NULL);
        m_pObject->Release();
        m_pObject = NULL;
    }
}

void COleControlSite::OnFinalRelease() {}

LPUNKNOWN COleControlSite::GetInterfaceHook(const void* piid)
{
    const IID& iid = *(const IID*)piid;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
        return &m_xOleClientSite;
    if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite))
        return &m_xOleIPSite;
    if (IsEqualIID(iid, IID_IOleControlSite))
        return &m_xOleControlSite;
    if (IsEqualIID(iid, IID_IDispatch))
        return &m_xAmbientProps;
    if (!IsEqualIID(m_iidEvents, IID_NULL) && IsEqualIID(iid, m_iidEvents))
        return &m_xEventSink;
    return NULL;
}

HRESULT COleControlSite::CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                                       const RECT* pRect, UINT nID, CFile* pPersist, BOOL bStorage, BSTR bstrLicKey)
{
    // the saved state from the file's position to its end
    std::vector<BYTE> data;
    if (pPersist != NULL) {
        try {
            DWORD dwPosition = pPersist->GetPosition();
            DWORD dwLength = pPersist->GetLength();
            if (dwLength > dwPosition) {
                data.resize(dwLength - dwPosition);
                data.resize(pPersist->Read(data.data(), (UINT)data.size()));
            }
        } catch (CException* e) {
            HRESULT hr = COleException::Process(e);
            e->Delete();
            return FAILED(hr) ? hr : E_FAIL;
        }
    }
    return CreateControlFromData(pWndCtrl, clsid, lpszWindowName, dwStyle, pRect, nID,
                                 pPersist != NULL ? data.data() : NULL, (DWORD)data.size(), bStorage, bstrLicKey);
}

HRESULT COleControlSite::CreateControlFromData(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                                               const RECT* pRect, UINT nID, const void* lpPersist, DWORD cbPersist,
                                               BOOL bStorage, BSTR bstrLicKey)
{
    if (m_pObject != NULL || pRect == NULL)
        return E_UNEXPECTED;
    m_nID = nID;
    m_dwStyle = dwStyle;
    m_rect = *pRect;
    m_strName = lpszWindowName;
    HWND hWndContainer = m_pCtrlCont->m_pWnd->GetSafeHwnd();

    // The class object through CoGetClassObject (never CoCreateInstance: a program may serve
    // class objects of its own there).
    HRESULT hr;
    if (bstrLicKey != NULL) {
        IClassFactory2* pFactory2 = NULL;
        hr = ::CoGetClassObject(clsid, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, NULL, IID_IClassFactory2,
                                (void**)&pFactory2);
        if (SUCCEEDED(hr)) {
            hr = pFactory2->CreateInstanceLic(NULL, NULL, IID_IOleObject, bstrLicKey, (void**)&m_pObject);
            pFactory2->Release();
        }
    } else {
        IClassFactory* pFactory = NULL;
        hr = ::CoGetClassObject(clsid, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, NULL, IID_IClassFactory,
                                (void**)&pFactory);
        if (SUCCEEDED(hr)) {
            hr = pFactory->CreateInstance(NULL, IID_IOleObject, (void**)&m_pObject);
            pFactory->Release();
        }
    }
    if (FAILED(hr)) {
        m_pObject = NULL;
        return hr;
    }

    if (FAILED(m_pObject->GetMiscStatus(DVASPECT_CONTENT, &m_dwMiscStatus)))
        m_dwMiscStatus = 0;
    BOOL bSiteFirst = (m_dwMiscStatus & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (bSiteFirst && FAILED(hr = m_pObject->SetClientSite(&m_xOleClientSite)))
        return hr;

    // Its state: loaded from the stream, else new.
    if (bStorage && lpPersist != NULL)
        return E_NOTIMPL;
    IPersistStreamInit* pPersistStreamInit = NULL;
    m_pObject->QueryInterface(IID_IPersistStreamInit, (void**)&pPersistStreamInit);
    if (lpPersist != NULL) {
        HGLOBAL hData = ::GlobalAlloc(GMEM_MOVEABLE, cbPersist != 0 ? cbPersist : 1);
        if (hData == NULL) {
            if (pPersistStreamInit != NULL)
                pPersistStreamInit->Release();
            return E_OUTOFMEMORY;
        }
        memcpy(::GlobalLock(hData), lpPersist, cbPersist);
        ::GlobalUnlock(hData);
        IStream* pStream = NULL;
        hr = ::CreateStreamOnHGlobal(hData, TRUE, &pStream);
        if (FAILED(hr)) {
            ::GlobalFree(hData);
        } else {
            ULARGE_INTEGER size;
            size.QuadPart = cbPersist;
            pStream->SetSize(size);
            if (pPersistStreamInit != NULL) {
                hr = pPersistStreamInit->Load(pStream);
            } else {
                IPersistStream* pPersistStream = NULL;
                hr = m_pObject->QueryInterface(IID_IPersistStream, (void**)&pPersistStream);
                if (SUCCEEDED(hr)) {
                    hr = pPersistStream->Load(pStream);
                    pPersistStream->Release();
                }
            }
            pStream->Release();
        }
    } else if (pPersistStreamInit != NULL) {
        hr = pPersistStreamInit->InitNew();
    } else {
        hr = S_OK; // a control without persistence starts as it is
    }
    if (pPersistStreamInit != NULL)
        pPersistStreamInit->Release();
    if (FAILED(hr))
        return hr;

    if (!bSiteFirst && FAILED(hr = m_pObject->SetClientSite(&m_xOleClientSite)))
        return hr;

    LPDISPATCH lpDispatch = NULL;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IDispatch, (void**)&lpDispatch)))
        m_dispDriver.AttachDispatch(lpDispatch, TRUE);
    // A control without events is still a control.
    ConnectEvents();

    SIZEL size = ExtentOf(m_rect);
    m_pObject->SetExtent(DVASPECT_CONTENT, &size);

    if (m_dwMiscStatus & OLEMISC_INVISIBLEATRUNTIME)
        return E_NOTIMPL; // only controls with a window of their own are hosted
    RECT rect = m_rect;
    hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, &m_xOleClientSite, 0, hWndContainer, &rect);
    if (FAILED(hr))
        return hr;
    hr = m_pObject->QueryInterface(IID_IOleInPlaceObject, (void**)&m_pInPlaceObject);
    if (FAILED(hr)) {
        m_pInPlaceObject = NULL;
        return hr;
    }
    HWND hWnd = NULL;
    if (FAILED(m_pInPlaceObject->GetWindow(&hWnd)) || hWnd == NULL || !::IsWindow(hWnd))
        return E_NOTIMPL;
    m_hWnd = hWnd;

    // The window takes the id, the dialog styles and the place of the template or caller.
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, (LONG_PTR)nID);
    const DWORD dwDialogStyles = WS_TABSTOP | WS_GROUP;
    LONG lStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)(((DWORD)lStyle & ~dwDialogStyles) | (dwStyle & dwDialogStyles)));
    MoveWindow(m_rect);
    if (dwStyle & WS_DISABLED)
        ::EnableWindow(m_hWnd, FALSE);
    ::ShowWindow(m_hWnd, (dwStyle & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);

    if (pWndCtrl != NULL && !pWndCtrl->SubclassWindow(m_hWnd))
        return E_FAIL;
    return S_OK;
}

BOOL COleControlSite::DestroyControl()
{
    m_pCtrlCont->DestroySite(this);
    return TRUE;
}

void COleControlSite::MoveWindow(const RECT& rect)
{
    m_rect = rect;
    if (m_pObject != NULL) {
        SIZEL size = ExtentOf(m_rect);
        m_pObject->SetExtent(DVASPECT_CONTENT, &size);
    }
    if (m_pInPlaceObject != NULL) {
        RECT rectClip;
        ::GetClientRect(m_pCtrlCont->m_pWnd->GetSafeHwnd(), &rectClip);
        RECT rectPos = m_rect;
        m_pInPlaceObject->SetObjectRects(&rectPos, &rectClip);
    }
}

BOOL COleControlSite::GetAmbientProperty(DISPID dispid, VARIANT* pvar)
{
    ::VariantInit(pvar);
    CWnd* pWnd = m_pCtrlCont->m_pWnd;
    if (pWnd != NULL && pWnd->OnAmbientProperty(this, dispid, pvar))
        return TRUE;
    ::VariantClear(pvar);
    return m_pCtrlCont->GetAmbientProp(this, dispid, pvar);
}

// ---- events ------------------------------------------------------------------------------------

HRESULT COleControlSite::ConnectEvents()
{
    IProvideClassInfo2* pClassInfo = NULL;
    HRESULT hr = m_pObject->QueryInterface(IID_IProvideClassInfo2, (void**)&pClassInfo);
    if (FAILED(hr))
        return hr;
    IID iidEvents = IID_NULL;
    hr = pClassInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &iidEvents);
    pClassInfo->Release();
    if (FAILED(hr))
        return hr;
    IConnectionPointContainer* pContainer = NULL;
    hr = m_pObject->QueryInterface(IID_IConnectionPointContainer, (void**)&pContainer);
    if (FAILED(hr))
        return hr;
    IConnectionPoint* pPoint = NULL;
    hr = pContainer->FindConnectionPoint(iidEvents, &pPoint);
    pContainer->Release();
    if (FAILED(hr))
        return hr;
    m_iidEvents = iidEvents; // the sink answers QueryInterface for it from now on
    hr = pPoint->Advise(&m_xEventSink, &m_dwEventSink);
    pPoint->Release();
    if (FAILED(hr)) {
        m_dwEventSink = 0;
        m_iidEvents = IID_NULL;
    }
    return hr;
}

void COleControlSite::DisconnectEvents()
{
    if (m_dwEventSink == 0 || m_pObject == NULL)
        return;
    IConnectionPointContainer* pContainer = NULL;
    if (SUCCEEDED(m_pObject->QueryInterface(IID_IConnectionPointContainer, (void**)&pContainer))) {
        IConnectionPoint* pPoint = NULL;
        if (SUCCEEDED(pContainer->FindConnectionPoint(m_iidEvents, &pPoint))) {
            pPoint->Unadvise(m_dwEventSink);
            pPoint->Release();
        }
        pContainer->Release();
    }
    m_dwEventSink = 0;
}

HRESULT COleControlSite::OnEvent(DISPID dispid, DISPPARAMS* pDispParams, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    CWnd* pWnd = m_pCtrlCont->m_pWnd;
    DISPPARAMS noParams = {NULL, NULL, 0, 0};
    AFX_EVENT event(AFX_EVENT::event, dispid, pDispParams != NULL ? pDispParams : &noParams, pExcepInfo, puArgErr);
    // through the window's command routing; an event without a handler is no error. A handler's
    // exception must not unwind into the control: it is reported, and the control gets
    // DISP_E_EXCEPTION with the exception's description.
    BOOL bHandled = FALSE;
    HRESULT hr = AfxCallCatching([&] { bHandled = pWnd != NULL && pWnd->OnCmdMsg(m_nID, CN_EVENT, &event, NULL); },
                                 pExcepInfo, TRUE);
    if (FAILED(hr))
        return hr;
    if (!bHandled)
        return S_OK;
    return event.m_hResult;
}

// ---- calls of the control ----------------------------------------------------------------------

void COleControlSite::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                    const BYTE* pbParamInfo, va_list argList)
{
    m_dispDriver.InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
}

void COleControlSite::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    m_dispDriver.GetProperty(dwDispID, vtProp, pvProp);
}

void COleControlSite::SetPropertyV(DISPID dwDispID, VARTYPE vtProp, va_list argList)
{
    m_dispDriver.SetPropertyV(dwDispID, vtProp, argList);
}

// ---- IUnknown of the parts ----------------------------------------------------------------------

#define AFX_SITE_IUNKNOWN_IMPL(theClass)                                                          \
    STDMETHODIMP COleControlSite::theClass::QueryInterface(REFIID riid, void** ppvObject)         \
    {                                                                                             \
        return (HRESULT)m_pThis->ExternalQueryInterface(&riid, ppvObject);                       \
    }                                                                                             \
    STDMETHODIMP_(ULONG) COleControlSite::theClass::AddRef() { return m_pThis->ExternalAddRef(); } \
    STDMETHODIMP_(ULONG) COleControlSite::theClass::Release() { return m_pThis->ExternalRelease(); }

AFX_SITE_IUNKNOWN_IMPL(XOleClientSite)
AFX_SITE_IUNKNOWN_IMPL(XOleIPSite)
AFX_SITE_IUNKNOWN_IMPL(XOleControlSite)
AFX_SITE_IUNKNOWN_IMPL(XDispatchPart)

// ---- IOleClientSite ---------------------------------------------------------------------------------

STDMETHODIMP COleControlSite::XOleClientSite::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP COleControlSite::XOleClientSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk != NULL)
        *ppmk = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleClientSite::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer == NULL)
        return E_POINTER;
    return (HRESULT)m_pThis->m_pCtrlCont->ExternalQueryInterface(&IID_IOleContainer, (void**)ppContainer);
}

STDMETHODIMP COleControlSite::XOleClientSite::ShowObject() { return S_OK; }

STDMETHODIMP COleControlSite::XOleClientSite::OnShowWindow(BOOL) { return S_OK; }

STDMETHODIMP COleControlSite::XOleClientSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// ---- IOleInPlaceSite ---------------------------------------------------------------------------------

STDMETHODIMP COleControlSite::XOleIPSite::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL)
        return E_POINTER;
    *phwnd = m_pThis->m_pCtrlCont->m_pWnd->GetSafeHwnd();
    return *phwnd != NULL ? S_OK : E_FAIL;
}

STDMETHODIMP COleControlSite::XOleIPSite::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP COleControlSite::XOleIPSite::CanInPlaceActivate() { return S_OK; }

STDMETHODIMP COleControlSite::XOleIPSite::OnInPlaceActivate() { return S_OK; }

STDMETHODIMP COleControlSite::XOleIPSite::OnUIActivate()
{
    m_pThis->m_pCtrlCont->m_pSiteUIActive = m_pThis;
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                                           LPRECT lprcPosRect, LPRECT lprcClipRect,
                                                           LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (ppFrame == NULL || ppDoc == NULL || lprcPosRect == NULL || lprcClipRect == NULL)
        return E_POINTER;
    COleControlContainer* pCtrlCont = m_pThis->m_pCtrlCont;
    *ppFrame = NULL;
    *ppDoc = NULL;
    pCtrlCont->ExternalQueryInterface(&IID_IOleInPlaceFrame, (void**)ppFrame);
    *lprcPosRect = m_pThis->m_rect;
    ::GetClientRect(pCtrlCont->m_pWnd->GetSafeHwnd(), lprcClipRect);
    if (lpFrameInfo != NULL) {
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = pCtrlCont->m_pWnd->GetSafeHwnd();
        lpFrameInfo->haccel = NULL;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::Scroll(SIZE) { return S_FALSE; }

STDMETHODIMP COleControlSite::XOleIPSite::OnUIDeactivate(BOOL)
{
    if (m_pThis->m_pCtrlCont->m_pSiteUIActive == m_pThis)
        m_pThis->m_pCtrlCont->m_pSiteUIActive = NULL;
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnInPlaceDeactivate() { return S_OK; }

STDMETHODIMP COleControlSite::XOleIPSite::DiscardUndoState() { return S_OK; }

STDMETHODIMP COleControlSite::XOleIPSite::DeactivateAndUndo()
{
    if (m_pThis->m_pInPlaceObject != NULL)
        m_pThis->m_pInPlaceObject->UIDeactivate();
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleIPSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    if (lprcPosRect == NULL)
        return E_POINTER;
    m_pThis->MoveWindow(*lprcPosRect);
    return S_OK;
}

// ---- IOleControlSite ---------------------------------------------------------------------------------

STDMETHODIMP COleControlSite::XOleControlSite::OnControlInfoChanged() { return S_OK; }

STDMETHODIMP COleControlSite::XOleControlSite::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP COleControlSite::XOleControlSite::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp != NULL)
        *ppDisp = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP COleControlSite::XOleControlSite::TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer,
                                                               DWORD dwFlags)
{
    if (pPtlHimetric == NULL || pPtfContainer == NULL)
        return E_POINTER;
    int nDpiX, nDpiY;
    ScreenDpi(&nDpiX, &nDpiY);
    if (dwFlags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        pPtfContainer->x = (float)pPtlHimetric->x * (float)nDpiX / 2540.0f;
        pPtfContainer->y = (float)pPtlHimetric->y * (float)nDpiY / 2540.0f;
    } else if (dwFlags & XFORMCOORDS_CONTAINERTOHIMETRIC) {
        pPtlHimetric->x = (LONG)(pPtfContainer->x * 2540.0f / (float)nDpiX + 0.5f);
        pPtlHimetric->y = (LONG)(pPtfContainer->y * 2540.0f / (float)nDpiY + 0.5f);
    } else {
        return E_INVALIDARG;
    }
    return S_OK;
}

STDMETHODIMP COleControlSite::XOleControlSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

STDMETHODIMP COleControlSite::XOleControlSite::OnFocus(BOOL) { return S_OK; }

STDMETHODIMP COleControlSite::XOleControlSite::ShowPropertyFrame() { return E_NOTIMPL; }

// ---- ambient properties and events (IDispatch) ---------------------------------------------------------

STDMETHODIMP COleControlSite::XDispatchPart::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == NULL)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP COleControlSite::XDispatchPart::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != NULL)
        *ppTInfo = NULL;
    return DISP_E_BADINDEX;
}

STDMETHODIMP COleControlSite::XDispatchPart::GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId)
{
    for (UINT i = 0; rgDispId != NULL && i < cNames; i++)
        rgDispId[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP COleControlSite::XDispatchPart::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags,
                                                    DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                                    EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (m_bEvents)
        return m_pThis->OnEvent(dispIdMember, pDispParams, pExcepInfo, puArgErr);
    if (!(wFlags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    VARIANT var;
    if (!m_pThis->GetAmbientProperty(dispIdMember, &var))
        return DISP_E_MEMBERNOTFOUND;
    if (pVarResult != NULL)
        *pVarResult = var;
    else
        ::VariantClear(&var);
    return S_OK;
}
