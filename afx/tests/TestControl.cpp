// A small windowed OLE control for the container tests, written against COM alone (no class
// library), so that it checks the library's container from outside: IOleObject,
// IOleInPlaceObject, IPersistStreamInit, IDispatch by DISPID, one connection point for its
// events and IProvideClassInfo2. Its members are listed in TestControlShared.h.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "TestControlShared.h"

namespace {

HINSTANCE g_hInstance = NULL;
LONG g_nObjects = 0;
LONG g_nLocks = 0;
const char kWindowClass[] = "OxTestControlWindow";

std::string AnsiOf(BSTR bstr)
{
    int nWide = (int)SysStringLen(bstr);
    int nLen = WideCharToMultiByte(CP_ACP, 0, bstr, nWide, NULL, 0, NULL, NULL);
    std::string str((size_t)nLen, '\0');
    WideCharToMultiByte(CP_ACP, 0, bstr, nWide, str.data(), nLen, NULL, NULL);
    return str;
}

BSTR BstrOf(const std::string& str)
{
    int nWide = MultiByteToWideChar(CP_ACP, 0, str.data(), (int)str.size(), NULL, 0);
    BSTR bstr = SysAllocStringLen(NULL, (UINT)nWide);
    MultiByteToWideChar(CP_ACP, 0, str.data(), (int)str.size(), bstr, nWide);
    return bstr;
}

LRESULT CALLBACK ControlWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC hDC = BeginPaint(hWnd, &ps);
        RECT rect;
        GetClientRect(hWnd, &rect);
        char szText[256];
        GetWindowTextA(hWnd, szText, sizeof(szText));
        DrawTextA(hDC, szText, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        EndPaint(hWnd, &ps);
        return 0;
    }
    if (message == WM_GETDLGCODE)
        return DLGC_WANTARROWS;
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

class CTestControl : public IOleObject,
                     public IOleInPlaceObject,
                     public IPersistStreamInit,
                     public IDispatch,
                     public IConnectionPointContainer,
                     public IProvideClassInfo2 {
public:
    explicit CTestControl(REFCLSID clsid) : m_clsid(clsid)
    {
        m_point.m_pOwner = this;
        InterlockedIncrement(&g_nObjects);
    }
    virtual ~CTestControl()
    {
        DestroyControlWindow();
        if (m_pClientSite != NULL)
            m_pClientSite->Release();
        if (m_pSink != NULL)
            m_pSink->Release();
        InterlockedDecrement(&g_nObjects);
    }

    // ---- IUnknown ----
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (ppv == NULL)
            return E_POINTER;
        *ppv = NULL;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleObject))
            *ppv = static_cast<IOleObject*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceObject))
            *ppv = static_cast<IOleInPlaceObject*>(this);
        else if (IsEqualIID(riid, IID_IPersistStreamInit))
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
    STDMETHOD_(ULONG, AddRef)() override { return (ULONG)InterlockedIncrement(&m_nRef); }
    STDMETHOD_(ULONG, Release)() override
    {
        LONG n = InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }

    // ---- IOleObject ----
    STDMETHOD(SetClientSite)(IOleClientSite* pClientSite) override
    {
        if (pClientSite != NULL)
            pClientSite->AddRef();
        if (m_pClientSite != NULL)
            m_pClientSite->Release();
        m_pClientSite = pClientSite;
        if (pClientSite != NULL) {
            // what the container tells about itself
            IDispatch* pAmbient = NULL;
            if (SUCCEEDED(pClientSite->QueryInterface(IID_IDispatch, (void**)&pAmbient))) {
                VARIANT var;
                if (GetAmbient(pAmbient, DISPID_AMBIENT_USERMODE, &var) && var.vt == VT_BOOL)
                    m_bUserMode = var.boolVal != VARIANT_FALSE;
                if (GetAmbient(pAmbient, DISPID_AMBIENT_BACKCOLOR, &var) &&
                    SUCCEEDED(VariantChangeType(&var, &var, 0, VT_I4)))
                    m_nBackColor = var.lVal;
                VariantClear(&var);
                pAmbient->Release();
            }
        }
        return S_OK;
    }
    STDMETHOD(GetClientSite)(IOleClientSite** ppClientSite) override
    {
        *ppClientSite = m_pClientSite;
        if (m_pClientSite != NULL)
            m_pClientSite->AddRef();
        return S_OK;
    }
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD) override
    {
        InPlaceDeactivate();
        return S_OK;
    }
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent, LPCRECT) override
    {
        if (iVerb != OLEIVERB_INPLACEACTIVATE && iVerb != OLEIVERB_SHOW && iVerb != OLEIVERB_UIACTIVATE)
            return OLEOBJ_S_INVALIDVERB;
        if (m_hWnd != NULL)
            return S_OK;
        IOleClientSite* pSite = pActiveSite != NULL ? pActiveSite : m_pClientSite;
        IOleInPlaceSite* pInPlaceSite = NULL;
        if (pSite == NULL || FAILED(pSite->QueryInterface(IID_IOleInPlaceSite, (void**)&pInPlaceSite)))
            return E_UNEXPECTED;
        HRESULT hr = pInPlaceSite->CanInPlaceActivate();
        if (hr != S_OK) {
            pInPlaceSite->Release();
            return E_FAIL;
        }
        pInPlaceSite->OnInPlaceActivate();
        HWND hWndParent = NULL;
        pInPlaceSite->GetWindow(&hWndParent);
        if (hWndParent == NULL)
            hWndParent = hwndParent;
        IOleInPlaceFrame* pFrame = NULL;
        IOleInPlaceUIWindow* pDoc = NULL;
        RECT rectPos = {0, 0, 0, 0}, rectClip = {0, 0, 0, 0};
        OLEINPLACEFRAMEINFO frameInfo = {sizeof(frameInfo), FALSE, NULL, NULL, 0};
        hr = pInPlaceSite->GetWindowContext(&pFrame, &pDoc, &rectPos, &rectClip, &frameInfo);
        if (pFrame != NULL) {
            m_bGotFrame = TRUE;
            pFrame->Release();
        }
        if (pDoc != NULL)
            pDoc->Release();
        m_hWnd = CreateWindowExA(0, kWindowClass, m_strCaption.c_str(), WS_CHILD | WS_VISIBLE, rectPos.left,
                                 rectPos.top, rectPos.right - rectPos.left, rectPos.bottom - rectPos.top, hWndParent,
                                 NULL, g_hInstance, NULL);
        m_pInPlaceSite = pInPlaceSite; // kept until deactivation
        return m_hWnd != NULL ? S_OK : E_FAIL;
    }
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID* pClsid) override
    {
        *pClsid = m_clsid;
        return S_OK;
    }
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetExtent)(DWORD, SIZEL* psizel) override
    {
        m_extent = *psizel;
        return S_OK;
    }
    STDMETHOD(GetExtent)(DWORD, SIZEL* psizel) override
    {
        *psizel = m_extent;
        return S_OK;
    }
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* pdwStatus) override
    {
        *pdwStatus = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
                     OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // ---- IOleInPlaceObject ----
    STDMETHOD(GetWindow)(HWND* phwnd) override
    {
        *phwnd = m_hWnd;
        return m_hWnd != NULL ? S_OK : E_FAIL;
    }
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(InPlaceDeactivate)() override
    {
        DestroyControlWindow();
        if (m_pInPlaceSite != NULL) {
            m_pInPlaceSite->OnInPlaceDeactivate();
            m_pInPlaceSite->Release();
            m_pInPlaceSite = NULL;
        }
        return S_OK;
    }
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT) override
    {
        if (m_hWnd != NULL)
            MoveWindow(m_hWnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                       lprcPosRect->bottom - lprcPosRect->top, TRUE);
        return S_OK;
    }
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }

    // ---- IPersistStreamInit ----
    STDMETHOD(GetClassID)(CLSID* pClassID) override
    {
        *pClassID = m_clsid;
        return S_OK;
    }
    STDMETHOD(IsDirty)() override { return S_FALSE; }
    STDMETHOD(Load)(LPSTREAM pStm) override
    {
        DWORD dwMark = 0, cbCaption = 0;
        short nValue = 0;
        ULONG cbRead = 0;
        if (FAILED(pStm->Read(&dwMark, sizeof(dwMark), &cbRead)) || cbRead != sizeof(dwMark) || dwMark != OXTC_STREAM_MARK)
            return E_FAIL;
        if (FAILED(pStm->Read(&nValue, sizeof(nValue), &cbRead)) || cbRead != sizeof(nValue))
            return E_FAIL;
        if (FAILED(pStm->Read(&cbCaption, sizeof(cbCaption), &cbRead)) || cbRead != sizeof(cbCaption) || cbCaption > 1000)
            return E_FAIL;
        std::string strCaption(cbCaption, '\0');
        if (cbCaption != 0 && (FAILED(pStm->Read(strCaption.data(), cbCaption, &cbRead)) || cbRead != cbCaption))
            return E_FAIL;
        m_nValue = nValue;
        m_strCaption = strCaption;
        m_bLoaded = TRUE;
        return S_OK;
    }
    STDMETHOD(Save)(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHOD(InitNew)() override
    {
        m_bLoaded = FALSE;
        return S_OK;
    }

    // ---- IDispatch ----
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override
    {
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return DISP_E_BADINDEX; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }
    STDMETHOD(Invoke)(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarResult,
                      EXCEPINFO* pExcepInfo, UINT*) override
    {
        BOOL bPut = (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
        // arguments in declaration order, converted as asked
        auto arg = [&](UINT i, VARTYPE vt, VARIANT* pOut) -> bool {
            VariantInit(pOut);
            UINT cPositional = pdp->cArgs - (bPut ? 1 : 0);
            if (i >= cPositional)
                return false;
            return SUCCEEDED(VariantChangeType(pOut, &pdp->rgvarg[pdp->cArgs - 1 - i], 0, vt));
        };
        auto value = [&](VARTYPE vt, VARIANT* pOut) -> bool {
            VariantInit(pOut);
            return bPut && pdp->cArgs >= 1 && pdp->cNamedArgs == 1 && pdp->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT &&
                   SUCCEEDED(VariantChangeType(pOut, &pdp->rgvarg[0], 0, vt));
        };
        VARIANT result;
        VariantInit(&result);
        VARIANT a, b;
        switch (dispid) {
        case OXTC_VALUE:
            if (bPut) {
                if (!value(VT_I2, &a))
                    return DISP_E_TYPEMISMATCH;
                m_nValue = a.iVal;
            } else {
                result.vt = VT_I2;
                result.iVal = m_nValue;
            }
            break;
        case OXTC_CAPTION:
            if (bPut) {
                if (!value(VT_BSTR, &a))
                    return DISP_E_TYPEMISMATCH;
                m_strCaption = AnsiOf(a.bstrVal);
                VariantClear(&a);
                if (m_hWnd != NULL)
                    SetWindowTextA(m_hWnd, m_strCaption.c_str());
            } else {
                result.vt = VT_BSTR;
                result.bstrVal = BstrOf(m_strCaption);
            }
            break;
        case OXTC_DAY:
            if (bPut) {
                if (!value(VT_I4, &a))
                    return DISP_E_TYPEMISMATCH;
                m_nDay = a.lVal;
            } else {
                result.vt = VT_I4;
                result.lVal = m_nDay;
            }
            break;
        case OXTC_FLAG:
            if (bPut) {
                if (!value(VT_BOOL, &a))
                    return DISP_E_TYPEMISMATCH;
                m_bFlag = a.boolVal != VARIANT_FALSE;
            } else {
                result.vt = VT_BOOL;
                result.boolVal = m_bFlag ? VARIANT_TRUE : VARIANT_FALSE;
            }
            break;
        case OXTC_ADDITEM:
            if (pdp->cArgs != 2)
                return DISP_E_BADPARAMCOUNT;
            if (!arg(1, VT_BSTR, &b))
                return DISP_E_TYPEMISMATCH;
            m_keys.push_back(AnsiOf(b.bstrVal));
            VariantClear(&b);
            result.vt = VT_I2;
            result.iVal = (short)m_keys.size();
            break;
        case OXTC_ITEMKEY: {
            if (!arg(0, VT_I2, &a))
                return DISP_E_BADPARAMCOUNT;
            if (a.iVal < 1 || a.iVal > (short)m_keys.size())
                return DISP_E_BADINDEX;
            std::string& strKey = m_keys[(size_t)a.iVal - 1];
            if (bPut) {
                if (!value(VT_BSTR, &b))
                    return DISP_E_TYPEMISMATCH;
                strKey = AnsiOf(b.bstrVal);
                VariantClear(&b);
            } else {
                result.vt = VT_BSTR;
                result.bstrVal = BstrOf(strKey);
            }
            break;
        }
        case OXTC_FIRE:
            if (!arg(0, VT_I2, &a) || !arg(1, VT_I2, &b))
                return DISP_E_BADPARAMCOUNT;
            Fire(a.iVal, b.iVal);
            break;
        case OXTC_LASTDAY:
        case OXTC_LASTMONTH:
        case OXTC_LASTYEAR:
            result.vt = VT_I2;
            result.iVal = dispid == OXTC_LASTDAY ? m_nLastDay : dispid == OXTC_LASTMONTH ? m_nLastMonth : m_nLastYear;
            break;
        case OXTC_USERMODE:
            result.vt = VT_BOOL;
            result.boolVal = m_bUserMode ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case OXTC_BACKCOLOR:
            result.vt = VT_I4;
            result.lVal = m_nBackColor;
            break;
        case OXTC_LASTRESULT:
            result.vt = VT_I4;
            result.lVal = (long)m_hrLastEvent;
            break;
        case OXTC_LOADED:
            result.vt = VT_BOOL;
            result.boolVal = m_bLoaded ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case OXTC_RAISE:
            if (pExcepInfo != NULL) {
                memset(pExcepInfo, 0, sizeof(*pExcepInfo));
                pExcepInfo->wCode = OXTC_RAISE_CODE;
                pExcepInfo->bstrSource = SysAllocString(L"OxTestControl");
                pExcepInfo->bstrDescription = SysAllocString(L"Steuerelementfehler");
            }
            return DISP_E_EXCEPTION;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
        if (pvarResult != NULL)
            *pvarResult = result;
        else
            VariantClear(&result);
        return S_OK;
    }

    // ---- IConnectionPointContainer ----
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) override
    {
        *ppCP = NULL;
        if (!IsEqualIID(riid, DIID_OxTestControlEvents))
            return CONNECT_E_NOCONNECTION;
        *ppCP = &m_point;
        AddRef();
        return S_OK;
    }

    // ---- the connection point of the events ----
    class CPoint : public IConnectionPoint {
    public:
        CTestControl* m_pOwner = NULL;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
        {
            if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
                *ppv = static_cast<IConnectionPoint*>(this);
                AddRef();
                return S_OK;
            }
            *ppv = NULL;
            return E_NOINTERFACE;
        }
        STDMETHOD_(ULONG, AddRef)() override { return m_pOwner->AddRef(); }
        STDMETHOD_(ULONG, Release)() override { return m_pOwner->Release(); }
        STDMETHOD(GetConnectionInterface)(IID* pIID) override
        {
            *pIID = DIID_OxTestControlEvents;
            return S_OK;
        }
        STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) override
        {
            *ppCPC = static_cast<IConnectionPointContainer*>(m_pOwner);
            m_pOwner->AddRef();
            return S_OK;
        }
        STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) override
        {
            if (m_pOwner->m_pSink != NULL)
                return CONNECT_E_ADVISELIMIT;
            // the sink answers the event interface itself
            if (FAILED(pUnkSink->QueryInterface(DIID_OxTestControlEvents, (void**)&m_pOwner->m_pSink)))
                return CONNECT_E_CANNOTCONNECT;
            *pdwCookie = 1;
            return S_OK;
        }
        STDMETHOD(Unadvise)(DWORD dwCookie) override
        {
            if (dwCookie != 1 || m_pOwner->m_pSink == NULL)
                return CONNECT_E_NOCONNECTION;
            m_pOwner->m_pSink->Release();
            m_pOwner->m_pSink = NULL;
            return S_OK;
        }
        STDMETHOD(EnumConnections)(IEnumConnections**) override { return E_NOTIMPL; }
    };

    // ---- IProvideClassInfo2 ----
    STDMETHOD(GetClassInfo)(ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetGUID)(DWORD dwGuidKind, GUID* pGUID) override
    {
        if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
            return E_INVALIDARG;
        *pGUID = DIID_OxTestControlEvents;
        return S_OK;
    }

private:
    static bool GetAmbient(IDispatch* pAmbient, DISPID dispid, VARIANT* pvar)
    {
        VariantInit(pvar);
        DISPPARAMS dp = {NULL, NULL, 0, 0};
        return SUCCEEDED(pAmbient->Invoke(dispid, IID_NULL, 0, DISPATCH_PROPERTYGET, &dp, pvar, NULL, NULL));
    }

    // Raises an event at the sink; the by-reference values are read back afterwards.
    void Fire(short nEvent, short nArg)
    {
        m_hrLastEvent = E_FAIL;
        if (m_pSink == NULL)
            return;
        VARIANT args[4];
        for (VARIANT& v : args)
            VariantInit(&v);
        DISPPARAMS dp = {args, NULL, 0, 0};
        short nUnused = 0, nDay = nArg, nMonth = 5, nYear = 2024;
        switch (nEvent) {
        case OXTC_EVENT_CHANGED:
            break;
        case OXTC_EVENT_SPIN:
            args[0].vt = VT_I2;
            args[0].iVal = nArg;
            dp.cArgs = 1;
            break;
        case OXTC_EVENT_DATECHANGED:
            // last argument first
            args[3].vt = VT_BYREF | VT_I2;
            args[3].piVal = &nUnused;
            args[2].vt = VT_BYREF | VT_I2;
            args[2].piVal = &nDay;
            args[1].vt = VT_BYREF | VT_I2;
            args[1].piVal = &nMonth;
            args[0].vt = VT_BYREF | VT_I2;
            args[0].piVal = &nYear;
            dp.cArgs = 4;
            break;
        case OXTC_EVENT_ITEMCHANGED:
            args[2].vt = VT_I2;
            args[2].iVal = nArg;
            args[1].vt = VT_BSTR;
            args[1].bstrVal = BstrOf("K" + std::to_string(nArg));
            args[0].vt = VT_I4;
            args[0].lVal = nArg * 1000L;
            dp.cArgs = 3;
            break;
        default:
            return;
        }
        EXCEPINFO excepInfo;
        memset(&excepInfo, 0, sizeof(excepInfo));
        m_hrLastEvent = m_pSink->Invoke(nEvent, IID_NULL, 0, DISPATCH_METHOD, &dp, NULL, &excepInfo, NULL);
        SysFreeString(excepInfo.bstrSource);
        SysFreeString(excepInfo.bstrDescription);
        SysFreeString(excepInfo.bstrHelpFile);
        if (nEvent == OXTC_EVENT_DATECHANGED) {
            m_nLastDay = nDay;
            m_nLastMonth = nMonth;
            m_nLastYear = nYear;
        }
        for (VARIANT& v : args)
            VariantClear(&v);
    }

    void DestroyControlWindow()
    {
        if (m_hWnd != NULL) {
            HWND hWnd = m_hWnd;
            m_hWnd = NULL;
            DestroyWindow(hWnd);
        }
    }

    LONG m_nRef = 1;
    CPoint m_point;
    CLSID m_clsid;
    IOleClientSite* m_pClientSite = NULL;
    IOleInPlaceSite* m_pInPlaceSite = NULL;
    IDispatch* m_pSink = NULL;
    HWND m_hWnd = NULL;
    SIZEL m_extent = {0, 0};
    short m_nValue = 0;
    std::string m_strCaption;
    long m_nDay = 0;
    BOOL m_bFlag = FALSE;
    std::vector<std::string> m_keys;
    short m_nLastDay = 0, m_nLastMonth = 0, m_nLastYear = 0;
    BOOL m_bUserMode = FALSE;
    long m_nBackColor = -1;
    HRESULT m_hrLastEvent = S_OK;
    BOOL m_bGotFrame = FALSE;
    BOOL m_bLoaded = FALSE;
};

class CFactory : public IClassFactory {
public:
    explicit CFactory(REFCLSID clsid) : m_clsid(clsid) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateInstance)(IUnknown* pUnkOuter, REFIID riid, void** ppv) override
    {
        *ppv = NULL;
        if (pUnkOuter != NULL)
            return CLASS_E_NOAGGREGATION;
        CTestControl* pControl = new CTestControl(m_clsid);
        HRESULT hr = pControl->QueryInterface(riid, ppv);
        pControl->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL fLock) override
    {
        if (fLock)
            InterlockedIncrement(&g_nLocks);
        else
            InterlockedDecrement(&g_nLocks);
        return S_OK;
    }

private:
    CLSID m_clsid;
};

CFactory g_factory(CLSID_OxTestControl);
CFactory g_factoryPrivate(CLSID_OxTestControlPrivate);

std::string ClassIdText(REFCLSID clsid)
{
    LPOLESTR lpsz = NULL;
    StringFromCLSID(clsid, &lpsz);
    char szText[64] = "";
    WideCharToMultiByte(CP_ACP, 0, lpsz, -1, szText, sizeof(szText), NULL, NULL);
    CoTaskMemFree(lpsz);
    return szText;
}

bool SetValue(const std::string& strKey, const char* pszName, const std::string& strValue)
{
    HKEY hKey;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, strKey.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return false;
    LONG lResult = RegSetValueExA(hKey, pszName, 0, REG_SZ, (const BYTE*)strValue.c_str(), (DWORD)strValue.size() + 1);
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH) {
        g_hInstance = hInstance;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ControlWndProc;
        wc.hInstance = hInstance;
        wc.hCursor = LoadCursor(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = kWindowClass;
        RegisterClassA(&wc);
    } else if (dwReason == DLL_PROCESS_DETACH) {
        UnregisterClassA(kWindowClass, hInstance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (IsEqualCLSID(rclsid, CLSID_OxTestControl))
        return g_factory.QueryInterface(riid, ppv);
    if (IsEqualCLSID(rclsid, CLSID_OxTestControlPrivate))
        return g_factoryPrivate.QueryInterface(riid, ppv);
    *ppv = NULL;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return g_nObjects == 0 && g_nLocks == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT WINAPI DllRegisterServer()
{
    char szPath[MAX_PATH];
    GetModuleFileNameA(g_hInstance, szPath, MAX_PATH);
    std::string strClsid = ClassIdText(CLSID_OxTestControl);
    std::string strKey = "CLSID\\" + strClsid;
    bool bOk = SetValue(strKey, NULL, "OX Test Control") && SetValue(strKey + "\\InprocServer32", NULL, szPath) &&
               SetValue(strKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
               SetValue(strKey + "\\ProgID", NULL, OXTC_PROGID) && SetValue(OXTC_PROGID, NULL, "OX Test Control") &&
               SetValue(std::string(OXTC_PROGID) + "\\CLSID", NULL, strClsid);
    return bOk ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + ClassIdText(CLSID_OxTestControl)).c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, OXTC_PROGID);
    return S_OK;
}

extern "C" LONG WINAPI OxTestControlObjects() { return g_nObjects; }
