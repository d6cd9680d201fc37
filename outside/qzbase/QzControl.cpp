#include "QzControl.h"

#include "QzDate.h"

namespace qz {

namespace {

LONG g_nObjects = 0;
HINSTANCE g_hInstance = NULL; // the module whose window classes the controls use

bool GetAmbient(IOleClientSite* pSite, DISPID dispid, VARIANT* pvar)
{
    VariantInit(pvar);
    IDispatch* pAmbient = NULL;
    if (pSite == NULL || FAILED(pSite->QueryInterface(IID_IDispatch, (void**)&pAmbient)))
        return false;
    DISPPARAMS dp = {NULL, NULL, 0, 0};
    HRESULT hr = pAmbient->Invoke(dispid, IID_NULL, 0, DISPATCH_PROPERTYGET, &dp, pvar, NULL, NULL);
    pAmbient->Release();
    return SUCCEEDED(hr);
}

} // namespace

CQzControl::CQzControl(REFCLSID clsid, REFIID iidEvents, const char* pszWindowClass, DWORD dwStateMark)
    : m_clsid(clsid), m_iidEvents(iidEvents), m_strWindowClass(pszWindowClass), m_dwStateMark(dwStateMark)
{
    m_point.m_pOwner = this;
    InterlockedIncrement(&g_nObjects);
}

CQzControl::~CQzControl()
{
    DestroyControlWindow();
    for (Sink& sink : m_sinks)
        sink.pDispatch->Release();
    if (m_pInPlaceSite != NULL)
        m_pInPlaceSite->Release();
    if (m_pClientSite != NULL)
        m_pClientSite->Release();
    if (m_pFont != NULL)
        m_pFont->Release();
    for (VARIANT& v : m_lastArgs)
        VariantClear(&v);
    InterlockedDecrement(&g_nObjects);
}

LONG CQzControl::LiveObjects() { return g_nObjects; }

bool CQzControl::RegisterWindowClass(HINSTANCE hInstance, const char* pszClass)
{
    g_hInstance = hInstance;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StaticWndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = pszClass;
    return RegisterClassA(&wc) != 0;
}

void CQzControl::UnregisterWindowClass(HINSTANCE hInstance, const char* pszClass) { UnregisterClassA(pszClass, hInstance); }

// ---- IUnknown ----------------------------------------------------------------------------------

STDMETHODIMP CQzControl::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    *ppv = NULL;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleObject))
        *ppv = static_cast<IOleObject*>(this);
    else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject))
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(riid, IID_IOleControl))
        *ppv = static_cast<IOleControl*>(this);
    else if (IsEqualIID(riid, IID_IPersistStreamInit) || IsEqualIID(riid, IID_IPersist))
        *ppv = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(riid, IID_IDispatch))
        *ppv = static_cast<IDispatch*>(this);
    else if (IsEqualIID(riid, IID_IConnectionPointContainer))
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(riid, IID_IProvideClassInfo) || IsEqualIID(riid, IID_IProvideClassInfo2))
        *ppv = static_cast<IProvideClassInfo2*>(this);
    if (*ppv == NULL)
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CQzControl::AddRef() { return (ULONG)InterlockedIncrement(&m_nRef); }

STDMETHODIMP_(ULONG) CQzControl::Release()
{
    LONG n = InterlockedDecrement(&m_nRef);
    if (n == 0)
        delete this;
    return (ULONG)n;
}

// ---- IOleObject --------------------------------------------------------------------------------

STDMETHODIMP CQzControl::SetClientSite(IOleClientSite* pClientSite)
{
    if (pClientSite != NULL)
        pClientSite->AddRef();
    if (m_pClientSite != NULL)
        m_pClientSite->Release();
    m_pClientSite = pClientSite;
    TakeAmbientFont();
    return S_OK;
}

STDMETHODIMP CQzControl::GetClientSite(IOleClientSite** ppClientSite)
{
    if (ppClientSite == NULL)
        return E_POINTER;
    *ppClientSite = m_pClientSite;
    if (m_pClientSite != NULL)
        m_pClientSite->AddRef();
    return S_OK;
}

STDMETHODIMP CQzControl::Close(DWORD)
{
    InPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP CQzControl::DoVerb(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent, LPCRECT lprcPosRect)
{
    switch (iVerb) {
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_PRIMARY:
        break;
    default:
        return OLEOBJ_S_INVALIDVERB;
    }
    if (m_hWnd != NULL) {
        if (iVerb == OLEIVERB_UIACTIVATE)
            SetFocus(m_hWnd);
        return S_OK;
    }
    IOleClientSite* pSite = pActiveSite != NULL ? pActiveSite : m_pClientSite;
    IOleInPlaceSite* pInPlaceSite = NULL;
    if (pSite == NULL || FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, (void**)&pInPlaceSite)))
        return E_UNEXPECTED;
    if (pInPlaceSite->CanInPlaceActivate() != S_OK) {
        pInPlaceSite->Release();
        return E_FAIL;
    }
    pInPlaceSite->OnInPlaceActivate();
    HWND hWndParent = NULL;
    if (FAILED(pInPlaceSite->GetWindow(&hWndParent)) || hWndParent == NULL)
        hWndParent = hwndParent;
    IOleInPlaceFrame* pFrame = NULL;
    IOleInPlaceUIWindow* pDoc = NULL;
    RECT rectPos = {0, 0, 0, 0}, rectClip = {0, 0, 0, 0};
    OLEINPLACEFRAMEINFO frameInfo = {sizeof(frameInfo), FALSE, NULL, NULL, 0};
    if (SUCCEEDED(pInPlaceSite->GetWindowContext(&pFrame, &pDoc, &rectPos, &rectClip, &frameInfo))) {
        if (pFrame != NULL)
            pFrame->Release();
        if (pDoc != NULL)
            pDoc->Release();
    }
    if (IsRectEmpty(&rectPos) && lprcPosRect != NULL)
        rectPos = *lprcPosRect;
    m_pInPlaceSite = pInPlaceSite; // kept until deactivation
    HWND hWnd = CreateWindowExA(0, m_strWindowClass.c_str(), "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                rectPos.left, rectPos.top, rectPos.right - rectPos.left,
                                rectPos.bottom - rectPos.top, hWndParent, NULL, g_hInstance, this);
    if (hWnd == NULL) {
        m_pInPlaceSite->OnInPlaceDeactivate();
        m_pInPlaceSite->Release();
        m_pInPlaceSite = NULL;
        return E_FAIL;
    }
    OnWindowCreated();
    return S_OK;
}

STDMETHODIMP CQzControl::GetUserClassID(CLSID* pClsid)
{
    if (pClsid == NULL)
        return E_POINTER;
    *pClsid = m_clsid;
    return S_OK;
}

STDMETHODIMP CQzControl::SetExtent(DWORD dwAspect, SIZEL* psizel)
{
    if (psizel == NULL)
        return E_POINTER;
    if (dwAspect != DVASPECT_CONTENT)
        return E_FAIL;
    m_extent = *psizel;
    return S_OK;
}

STDMETHODIMP CQzControl::GetExtent(DWORD dwAspect, SIZEL* psizel)
{
    if (psizel == NULL)
        return E_POINTER;
    if (dwAspect != DVASPECT_CONTENT)
        return E_FAIL;
    *psizel = m_extent;
    return S_OK;
}

STDMETHODIMP CQzControl::GetMiscStatus(DWORD, DWORD* pdwStatus)
{
    if (pdwStatus == NULL)
        return E_POINTER;
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                 OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

// ---- IOleInPlaceObject -------------------------------------------------------------------------

STDMETHODIMP CQzControl::GetWindow(HWND* phwnd)
{
    if (phwnd == NULL)
        return E_POINTER;
    *phwnd = m_hWnd;
    return m_hWnd != NULL ? S_OK : E_FAIL;
}

STDMETHODIMP CQzControl::InPlaceDeactivate()
{
    DestroyControlWindow();
    if (m_pInPlaceSite != NULL) {
        IOleInPlaceSite* pSite = m_pInPlaceSite;
        m_pInPlaceSite = NULL;
        pSite->OnInPlaceDeactivate();
        pSite->Release();
    }
    return S_OK;
}

STDMETHODIMP CQzControl::SetObjectRects(LPCRECT lprcPosRect, LPCRECT)
{
    if (lprcPosRect == NULL)
        return E_POINTER;
    if (m_hWnd != NULL)
        MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                   lprcPosRect->bottom - lprcPosRect->top, TRUE);
    return S_OK;
}

// ---- IOleControl -------------------------------------------------------------------------------

STDMETHODIMP CQzControl::GetControlInfo(CONTROLINFO* pCI)
{
    if (pCI == NULL)
        return E_POINTER;
    pCI->hAccel = NULL;
    pCI->cAccel = 0;
    pCI->dwFlags = 0;
    return S_OK;
}

STDMETHODIMP CQzControl::OnAmbientPropertyChange(DISPID dispid)
{
    if (dispid == DISPID_AMBIENT_FONT || dispid == DISPID_UNKNOWN) {
        TakeAmbientFont();
        Invalidate();
    }
    return S_OK;
}

STDMETHODIMP CQzControl::FreezeEvents(BOOL bFreeze)
{
    m_nFrozen += bFreeze ? 1 : (m_nFrozen > 0 ? -1 : 0);
    return S_OK;
}

// ---- IPersistStreamInit ------------------------------------------------------------------------

STDMETHODIMP CQzControl::GetClassID(CLSID* pClassID) { return GetUserClassID(pClassID); }

STDMETHODIMP CQzControl::Load(LPSTREAM pStm)
{
    if (pStm == NULL)
        return E_POINTER;
    QzSavedState state;
    ULONG cbRead = 0;
    if (FAILED(pStm->Read(&state, sizeof(state), &cbRead)) || cbRead != sizeof(state))
        return E_FAIL;
    if (state.dwMark != m_dwStateMark || state.wVersion < QZ_STATE_VERSION)
        return E_FAIL;
    InitState();
    return LoadWord(state.wWord);
}

STDMETHODIMP CQzControl::Save(LPSTREAM pStm, BOOL)
{
    if (pStm == NULL)
        return E_POINTER;
    QzSavedState state = {m_dwStateMark, QZ_STATE_VERSION, SavedWord()};
    ULONG cbWritten = 0;
    HRESULT hr = pStm->Write(&state, sizeof(state), &cbWritten);
    return FAILED(hr) ? hr : cbWritten == sizeof(state) ? S_OK : STG_E_MEDIUMFULL;
}

STDMETHODIMP CQzControl::GetSizeMax(ULARGE_INTEGER* pcbSize)
{
    if (pcbSize == NULL)
        return E_POINTER;
    pcbSize->QuadPart = sizeof(QzSavedState);
    return S_OK;
}

STDMETHODIMP CQzControl::InitNew()
{
    InitState();
    return S_OK;
}

// ---- IDispatch ---------------------------------------------------------------------------------

STDMETHODIMP CQzControl::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == NULL)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CQzControl::GetIDsOfNames(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId)
{
    if (rgszNames == NULL || rgDispId == NULL || cNames == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < cNames; i++)
        rgDispId[i] = DISPID_UNKNOWN;
    int nCount = 0;
    const Member* pMembers = Members(&nCount);
    for (int i = 0; i < nCount; i++) {
        if (pMembers[i].pszName != NULL && lstrcmpiW(pMembers[i].pszName, rgszNames[0]) == 0) {
            rgDispId[0] = pMembers[i].id;
            return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME; // no named arguments
        }
    }
    return DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CQzControl::Invoke(DISPID dispid, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarResult,
                                EXCEPINFO*, UINT* puArgErr)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (pdp == NULL)
        return E_INVALIDARG;
    if (dispid >= QZ_TEST_FIRE && dispid <= QZ_TEST_TODAY)
        return InvokeTestMember(dispid, wFlags, pdp, pvarResult, puArgErr);

    int nCount = 0;
    const Member* pMembers = Members(&nCount);
    const Member* pMember = NULL;
    for (int i = 0; i < nCount && pMember == NULL; i++)
        if (pMembers[i].id == dispid)
            pMember = &pMembers[i];
    if (pMember == NULL)
        return DISP_E_MEMBERNOTFOUND;

    // what is asked for: a put, a method call or a get
    bool bPut = (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    unsigned kind = 0;
    if (bPut)
        kind = kPut;
    else if ((wFlags & DISPATCH_METHOD) && (pMember->kinds & kMethod))
        kind = kMethod;
    else if (wFlags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))
        kind = kGet;
    if (kind == 0 || (pMember->kinds & kind) == 0)
        return DISP_E_MEMBERNOTFOUND;
    if (bPut) {
        if (pdp->cNamedArgs != 1 || pdp->rgdispidNamedArgs == NULL || pdp->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTOPTIONAL;
    } else if (pdp->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    UINT cExpected = (UINT)pMember->nArgs + (bPut ? 1 : 0);
    if (pdp->cArgs != cExpected)
        return DISP_E_BADPARAMCOUNT;

    // arguments in declaration order, coerced to the table's types
    VARIANT args[kMaxArgs + 1];
    for (VARIANT& v : args)
        VariantInit(&v);
    HRESULT hr = S_OK;
    for (int i = 0; i < pMember->nArgs && SUCCEEDED(hr); i++) {
        UINT uPos = pdp->cArgs - 1 - (UINT)i;
        hr = VariantChangeType(&args[i], &pdp->rgvarg[uPos], 0, pMember->args[i]);
        if (FAILED(hr) && puArgErr != NULL)
            *puArgErr = uPos;
    }
    if (SUCCEEDED(hr) && bPut) {
        hr = VariantChangeType(&args[pMember->nArgs], &pdp->rgvarg[0], 0, pMember->vtValue);
        if (FAILED(hr) && puArgErr != NULL)
            *puArgErr = 0;
    }
    if (FAILED(hr)) {
        for (VARIANT& v : args)
            VariantClear(&v);
        return hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
    }

    VARIANT result;
    VariantInit(&result);
    AddRef(); // a call may end in the object's release
    switch (kind) {
    case kPut:
        hr = PutValue(*pMember, args, args[pMember->nArgs]);
        break;
    case kMethod:
        hr = CallMethod(*pMember, args, &result);
        break;
    default:
        hr = GetValue(*pMember, args, &result);
        break;
    }
    for (VARIANT& v : args)
        VariantClear(&v);
    if (SUCCEEDED(hr) && pvarResult != NULL)
        *pvarResult = result;
    else
        VariantClear(&result);
    Release();
    return hr;
}

HRESULT CQzControl::InvokeTestMember(DISPID dispid, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarResult, UINT* puArgErr)
{
    bool bPut = (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    VARIANT result;
    VariantInit(&result);
    VARIANT v;
    VariantInit(&v);
    switch (dispid) {
    case QZ_TEST_FIRE: {
        if (bPut)
            return DISP_E_MEMBERNOTFOUND;
        if (pdp->cArgs < 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(VariantChangeType(&v, &pdp->rgvarg[pdp->cArgs - 1], 0, VT_I2)))
            return DISP_E_TYPEMISMATCH;
        int nEvents = 0;
        const EventInfo* pEvents = Events(&nEvents);
        const EventInfo* pEvent = NULL;
        for (int i = 0; i < nEvents && pEvent == NULL; i++)
            if (pEvents[i].id == v.iVal)
                pEvent = &pEvents[i];
        if (pEvent == NULL)
            return DISP_E_BADINDEX;
        if (pdp->cArgs != (UINT)pEvent->nArgs + 1)
            return DISP_E_BADPARAMCOUNT;
        VARIANT args[kMaxArgs], values[kMaxArgs];
        HRESULT hr = S_OK;
        for (int i = 0; i < pEvent->nArgs; i++) {
            VariantInit(&args[i]);
            VariantInit(&values[i]);
        }
        for (int i = 0; i < pEvent->nArgs && SUCCEEDED(hr); i++) {
            UINT uPos = pdp->cArgs - 2 - (UINT)i;
            hr = VariantChangeType(&values[i], &pdp->rgvarg[uPos], 0, (VARTYPE)(pEvent->args[i] & ~VT_BYREF));
            if (FAILED(hr) && puArgErr != NULL)
                *puArgErr = uPos;
            if (pEvent->args[i] & VT_BYREF) {
                args[i].vt = VT_BYREF | VT_I2;
                args[i].piVal = &values[i].iVal;
            } else {
                args[i] = values[i];
            }
        }
        int nReached = 0;
        if (SUCCEEDED(hr))
            nReached = Fire(pEvent->id, args, pEvent->nArgs);
        for (int i = 0; i < pEvent->nArgs; i++)
            VariantClear(&values[i]);
        if (FAILED(hr))
            return DISP_E_TYPEMISMATCH;
        result.vt = VT_I2;
        result.iVal = (short)nReached;
        break;
    }
    case QZ_TEST_ARG:
        if (bPut)
            return DISP_E_MEMBERNOTFOUND;
        if (pdp->cArgs != 1)
            return DISP_E_BADPARAMCOUNT;
        if (FAILED(VariantChangeType(&v, &pdp->rgvarg[0], 0, VT_I2)))
            return DISP_E_TYPEMISMATCH;
        if (v.iVal >= 0 && (size_t)v.iVal < m_lastArgs.size())
            VariantCopy(&result, &m_lastArgs[(size_t)v.iVal]);
        break;
    case QZ_TEST_RESULT:
        if (bPut || pdp->cArgs != 0)
            return bPut ? DISP_E_MEMBERNOTFOUND : DISP_E_BADPARAMCOUNT;
        result.vt = VT_I4;
        result.lVal = (long)m_hrLastEvent;
        break;
    case QZ_TEST_SINKS:
        if (bPut || pdp->cArgs != 0)
            return bPut ? DISP_E_MEMBERNOTFOUND : DISP_E_BADPARAMCOUNT;
        result.vt = VT_I2;
        result.iVal = (short)m_sinks.size();
        break;
    case QZ_TEST_TODAY:
        if (bPut) {
            if (pdp->cArgs != 1)
                return DISP_E_BADPARAMCOUNT;
            if (FAILED(VariantChangeType(&v, &pdp->rgvarg[0], 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            m_nTestToday = v.lVal > 0 ? v.lVal : 0;
            Invalidate();
        } else {
            if (pdp->cArgs != 0)
                return DISP_E_BADPARAMCOUNT;
            result.vt = VT_I4;
            result.lVal = Today();
        }
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (pvarResult != NULL)
        *pvarResult = result;
    else
        VariantClear(&result);
    return S_OK;
}

// ---- events ------------------------------------------------------------------------------------

int CQzControl::Fire(DISPID dispid, VARIANT* args, int nArgs)
{
    if (m_nFrozen > 0 || m_sinks.empty())
        return 0;
    AddRef(); // a sink may release the control (its dialog ends)
    std::vector<IDispatch*> sinks;
    for (Sink& sink : m_sinks) {
        sink.pDispatch->AddRef();
        sinks.push_back(sink.pDispatch);
    }
    // DISPPARAMS take the last argument first
    std::vector<VARIANT> reversed((size_t)nArgs);
    for (int i = 0; i < nArgs; i++)
        reversed[(size_t)i] = args[nArgs - 1 - i];
    DISPPARAMS dp = {nArgs != 0 ? reversed.data() : NULL, NULL, (UINT)nArgs, 0};
    int nReached = 0;
    for (IDispatch* pSink : sinks) {
        EXCEPINFO excepInfo;
        memset(&excepInfo, 0, sizeof(excepInfo));
        m_hrLastEvent = pSink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &dp, NULL, &excepInfo, NULL);
        SysFreeString(excepInfo.bstrSource);
        SysFreeString(excepInfo.bstrDescription);
        SysFreeString(excepInfo.bstrHelpFile);
        nReached++;
        pSink->Release();
    }
    // what the sinks left, for the tests
    for (VARIANT& v : m_lastArgs)
        VariantClear(&v);
    m_lastArgs.assign((size_t)nArgs, VARIANT());
    for (int i = 0; i < nArgs; i++) {
        VariantInit(&m_lastArgs[(size_t)i]);
        if (args[i].vt == (VT_BYREF | VT_I2)) {
            m_lastArgs[(size_t)i].vt = VT_I2;
            m_lastArgs[(size_t)i].iVal = *args[i].piVal;
        } else {
            VariantCopy(&m_lastArgs[(size_t)i], &args[i]);
        }
    }
    Release();
    return nReached;
}

STDMETHODIMP CQzControl::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    if (ppCP == NULL)
        return E_POINTER;
    *ppCP = NULL;
    if (!IsEqualIID(riid, m_iidEvents) && !IsEqualIID(riid, IID_IDispatch))
        return CONNECT_E_NOCONNECTION;
    *ppCP = &m_point;
    AddRef();
    return S_OK;
}

STDMETHODIMP CQzControl::CPoint::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP CQzControl::CPoint::GetConnectionInterface(IID* pIID)
{
    if (pIID == NULL)
        return E_POINTER;
    *pIID = m_pOwner->m_iidEvents;
    return S_OK;
}

STDMETHODIMP CQzControl::CPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    if (ppCPC == NULL)
        return E_POINTER;
    *ppCPC = static_cast<IConnectionPointContainer*>(m_pOwner);
    m_pOwner->AddRef();
    return S_OK;
}

STDMETHODIMP CQzControl::CPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    if (pUnkSink == NULL || pdwCookie == NULL)
        return E_POINTER;
    *pdwCookie = 0;
    IDispatch* pDispatch = NULL;
    if (FAILED(pUnkSink->QueryInterface(m_pOwner->m_iidEvents, (void**)&pDispatch)) &&
        FAILED(pUnkSink->QueryInterface(IID_IDispatch, (void**)&pDispatch)))
        return CONNECT_E_CANNOTCONNECT;
    Sink sink = {m_pOwner->m_dwNextCookie++, pDispatch};
    m_pOwner->m_sinks.push_back(sink);
    *pdwCookie = sink.dwCookie;
    return S_OK;
}

STDMETHODIMP CQzControl::CPoint::Unadvise(DWORD dwCookie)
{
    std::vector<Sink>& sinks = m_pOwner->m_sinks;
    for (size_t i = 0; i < sinks.size(); i++) {
        if (sinks[i].dwCookie == dwCookie) {
            IDispatch* pDispatch = sinks[i].pDispatch;
            sinks.erase(sinks.begin() + (ptrdiff_t)i);
            pDispatch->Release();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

STDMETHODIMP CQzControl::GetGUID(DWORD dwGuidKind, GUID* pGUID)
{
    if (pGUID == NULL)
        return E_POINTER;
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *pGUID = m_iidEvents;
    return S_OK;
}

// ---- window ------------------------------------------------------------------------------------

LRESULT CALLBACK CQzControl::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        CQzControl* pControl = (CQzControl*)((CREATESTRUCTA*)lParam)->lpCreateParams;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)pControl);
        pControl->m_hWnd = hWnd;
    }
    CQzControl* pControl = (CQzControl*)GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (pControl == NULL)
        return DefWindowProcA(hWnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        if (pControl->m_hWnd == hWnd)
            pControl->m_hWnd = NULL;
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    pControl->AddRef();
    LRESULT lResult = pControl->WindowProc(message, wParam, lParam);
    pControl->Release();
    return lResult;
}

LRESULT CQzControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = m_hWnd;
    if (message == WM_ENABLE)
        Invalidate();
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

void CQzControl::DestroyControlWindow()
{
    if (m_hWnd != NULL) {
        HWND hWnd = m_hWnd;
        m_hWnd = NULL;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0); // no message reaches the object any more
        DestroyWindow(hWnd);
    }
}

void CQzControl::Invalidate()
{
    if (m_hWnd != NULL)
        InvalidateRect(m_hWnd, NULL, TRUE);
}

void CQzControl::TakeAmbientFont()
{
    if (m_pFont != NULL) {
        m_pFont->Release();
        m_pFont = NULL;
    }
    VARIANT var;
    if (GetAmbient(m_pClientSite, DISPID_AMBIENT_FONT, &var) && (var.vt == VT_DISPATCH || var.vt == VT_UNKNOWN) &&
        var.punkVal != NULL)
        var.punkVal->QueryInterface(IID_IFont, (void**)&m_pFont);
    VariantClear(&var);
}

HFONT CQzControl::Font() const
{
    HFONT hFont = NULL;
    if (m_pFont != NULL && SUCCEEDED(m_pFont->get_hFont(&hFont)) && hFont != NULL)
        return hFont;
    return (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

long CQzControl::Today() const { return m_nTestToday > 0 ? m_nTestToday : TodaySerial(); }

} // namespace qz
