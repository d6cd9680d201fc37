#include "AfxDispatchCall.h"

#include <vector>

namespace {

BSTR BstrFromAnsi(LPCSTR lpsz)
{
    if (lpsz == NULL)
        return NULL;
    int nLen = (int)strlen(lpsz);
    int nWide = ::MultiByteToWideChar(CP_ACP, 0, lpsz, nLen, NULL, 0);
    BSTR bstr = ::SysAllocStringLen(NULL, (UINT)nWide);
    if (bstr == NULL)
        AfxThrowMemoryException();
    ::MultiByteToWideChar(CP_ACP, 0, lpsz, nLen, bstr, nWide);
    return bstr;
}

// The exception of a member that raised an error.
[[noreturn]] void ThrowDispatchException(EXCEPINFO& excepInfo)
{
    if (excepInfo.pfnDeferredFillIn != NULL)
        (*excepInfo.pfnDeferredFillIn)(&excepInfo);
    COleDispatchException* e = new COleDispatchException(NULL, 0, excepInfo.wCode);
    e->m_scError = excepInfo.wCode != 0 ? 0 : excepInfo.scode;
    e->m_strSource = AfxAnsiFromBstr(excepInfo.bstrSource);
    e->m_strDescription = AfxAnsiFromBstr(excepInfo.bstrDescription);
    e->m_strHelpFile = AfxAnsiFromBstr(excepInfo.bstrHelpFile);
    e->m_dwHelpContext = excepInfo.dwHelpContext;
    ::SysFreeString(excepInfo.bstrSource);
    ::SysFreeString(excepInfo.bstrDescription);
    ::SysFreeString(excepInfo.bstrHelpFile);
    throw e;
}

// Stores the result (already of type vtRet) into the caller's variable; the value moves.
void StoreResult(VARIANT& varResult, VARTYPE vtRet, void* pvRet)
{
    switch (vtRet) {
    case VT_UI1: *(BYTE*)pvRet = varResult.bVal; break;
    case VT_I2: *(short*)pvRet = varResult.iVal; break;
    case VT_I4: *(long*)pvRet = varResult.lVal; break;
    case VT_R4: *(float*)pvRet = varResult.fltVal; break;
    case VT_R8: *(double*)pvRet = varResult.dblVal; break;
    case VT_DATE: *(DATE*)pvRet = varResult.date; break;
    case VT_CY: *(CY*)pvRet = varResult.cyVal; break;
    case VT_ERROR: *(SCODE*)pvRet = varResult.scode; break;
    case VT_BOOL: *(BOOL*)pvRet = varResult.boolVal != VARIANT_FALSE; break;
    case VT_BSTR:
        *(CString*)pvRet = AfxAnsiFromBstr(varResult.bstrVal);
        ::VariantClear(&varResult);
        return;
    case VT_DISPATCH: *(LPDISPATCH*)pvRet = varResult.pdispVal; break;
    case VT_UNKNOWN: *(LPUNKNOWN*)pvRet = varResult.punkVal; break;
    case VT_VARIANT: *(VARIANT*)pvRet = varResult; break;
    default:
        ::VariantClear(&varResult);
        AfxThrowOleException(DISP_E_BADVARTYPE);
    }
    varResult.vt = VT_EMPTY; // moved to the caller
}

} // namespace

COleDispatchDriver::COleDispatchDriver() : m_lpDispatch(NULL), m_bAutoRelease(TRUE) {}

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch), m_bAutoRelease(bAutoRelease)
{
}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& dispatchSrc)
    : m_lpDispatch(dispatchSrc.m_lpDispatch), m_bAutoRelease(TRUE)
{
    if (m_lpDispatch != NULL)
        m_lpDispatch->AddRef();
}

COleDispatchDriver::~COleDispatchDriver() { ReleaseDispatch(); }

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& dispatchSrc)
{
    if (this != &dispatchSrc) {
        LPDISPATCH lpDispatch = dispatchSrc.m_lpDispatch;
        if (lpDispatch != NULL)
            lpDispatch->AddRef();
        ReleaseDispatch();
        m_lpDispatch = lpDispatch;
        m_bAutoRelease = TRUE;
    }
    return *this;
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError)
{
    LPUNKNOWN lpUnknown = NULL;
    LPDISPATCH lpDispatch = NULL;
    HRESULT hr = ::CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                    IID_IUnknown, (void**)&lpUnknown);
    if (SUCCEEDED(hr)) {
        // an embedded object must run before it answers its interfaces
        hr = ::OleRun(lpUnknown);
        if (SUCCEEDED(hr))
            hr = lpUnknown->QueryInterface(IID_IDispatch, (void**)&lpDispatch);
        lpUnknown->Release();
    }
    if (FAILED(hr)) {
        if (pError != NULL)
            pError->m_sc = hr;
        return FALSE;
    }
    AttachDispatch(lpDispatch, TRUE);
    return TRUE;
}

BOOL COleDispatchDriver::CreateDispatch(LPCTSTR lpszProgID, COleException* pError)
{
    CLSID clsid;
    HRESULT hr = AfxGetClassIDFromString(lpszProgID, &clsid);
    if (FAILED(hr)) {
        if (pError != NULL)
            pError->m_sc = hr;
        return FALSE;
    }
    return CreateDispatch(clsid, pError);
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease)
{
    ReleaseDispatch();
    m_lpDispatch = lpDispatch;
    m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch()
{
    LPDISPATCH lpDispatch = m_lpDispatch;
    m_lpDispatch = NULL;
    return lpDispatch;
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch != NULL) {
        if (m_bAutoRelease)
            m_lpDispatch->Release();
        m_lpDispatch = NULL;
    }
}

void AFX_CDECL COleDispatchDriver::InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                                const BYTE* pbParamInfo, ...)
{
    va_list argList;
    va_start(argList, pbParamInfo);
    try {
        InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, argList);
    } catch (...) {
        va_end(argList);
        throw;
    }
    va_end(argList);
}

void COleDispatchDriver::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                       const BYTE* pbParamInfo, va_list argList)
{
    if (m_lpDispatch == NULL)
        AfxThrowOleException(E_POINTER);

    // rgvarg holds the arguments last first.
    UINT nArgs = pbParamInfo != NULL ? (UINT)strlen((LPCSTR)pbParamInfo) : 0;
    std::vector<VARIANT> args(nArgs);
    std::vector<BSTR> ownedStrings;
    struct FreeStrings {
        std::vector<BSTR>& strings;
        ~FreeStrings()
        {
            for (BSTR bstr : strings)
                ::SysFreeString(bstr);
        }
    } freeStrings{ownedStrings};

    for (UINT i = 0; i < nArgs; i++) {
        BYTE bParam = pbParamInfo[i];
        VARIANT& arg = args[nArgs - 1 - i];
        ::VariantInit(&arg);
        if (bParam & VT_MFCBYREF) {
            arg.vt = (VARTYPE)((bParam & ~VT_MFCBYREF) | VT_BYREF);
            arg.byref = va_arg(argList, void*);
            continue;
        }
        arg.vt = bParam;
        switch (bParam) {
        case VT_UI1: arg.bVal = (BYTE)va_arg(argList, int); break;
        case VT_I2: arg.iVal = (short)va_arg(argList, int); break;
        case VT_I4: arg.lVal = va_arg(argList, long); break;
        case VT_R4: arg.fltVal = (float)va_arg(argList, double); break;
        case VT_R8: arg.dblVal = va_arg(argList, double); break;
        case VT_DATE: arg.date = va_arg(argList, DATE); break;
        case VT_CY: arg.cyVal = va_arg(argList, CY); break;
        case VT_ERROR: arg.scode = va_arg(argList, SCODE); break;
        case VT_BOOL: arg.boolVal = va_arg(argList, BOOL) ? VARIANT_TRUE : VARIANT_FALSE; break;
        case VT_DISPATCH: arg.pdispVal = va_arg(argList, LPDISPATCH); break;
        case VT_UNKNOWN: arg.punkVal = va_arg(argList, LPUNKNOWN); break;
        case VT_BSTR: {
            LPCOLESTR lpsz = va_arg(argList, LPCOLESTR);
            arg.bstrVal = lpsz != NULL ? ::SysAllocString(lpsz) : NULL;
            if (lpsz != NULL && arg.bstrVal == NULL)
                AfxThrowMemoryException();
            ownedStrings.push_back(arg.bstrVal);
            break;
        }
        case VT_BSTRA:
            arg.vt = VT_BSTR;
            arg.bstrVal = BstrFromAnsi(va_arg(argList, LPCSTR));
            ownedStrings.push_back(arg.bstrVal);
            break;
        case VT_VARIANT: {
            // the caller's VARIANT as it is (it stays the caller's)
            const VARIANT* pvar = va_arg(argList, const VARIANT*);
            arg = *pvar;
            break;
        }
        default:
            AfxThrowOleException(DISP_E_BADVARTYPE);
        }
    }

    DISPID dispidNamed = DISPID_PROPERTYPUT;
    DISPPARAMS dispparams = {nArgs != 0 ? args.data() : NULL, NULL, nArgs, 0};
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        dispparams.rgdispidNamedArgs = &dispidNamed;
        dispparams.cNamedArgs = 1;
    }
    VARIANT varResult;
    ::VariantInit(&varResult);
    EXCEPINFO excepInfo;
    memset(&excepInfo, 0, sizeof(excepInfo));
    UINT nArgErr = (UINT)-1;
    HRESULT hr = m_lpDispatch->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &dispparams,
                                      vtRet != VT_EMPTY ? &varResult : NULL, &excepInfo, &nArgErr);
    if (FAILED(hr)) {
        ::VariantClear(&varResult);
        if (hr == DISP_E_EXCEPTION)
            ThrowDispatchException(excepInfo);
        AfxThrowOleException(hr);
    }
    if (vtRet == VT_EMPTY)
        return;
    if (vtRet != VT_VARIANT && varResult.vt != vtRet) {
        hr = ::VariantChangeType(&varResult, &varResult, 0, vtRet);
        if (FAILED(hr)) {
            ::VariantClear(&varResult);
            AfxThrowOleException(hr);
        }
    }
    StoreResult(varResult, vtRet, pvRet);
}

void AFX_CDECL COleDispatchDriver::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    va_list argList;
    va_start(argList, vtProp);
    try {
        SetPropertyV(dwDispID, vtProp, argList);
    } catch (...) {
        va_end(argList);
        throw;
    }
    va_end(argList);
}

void COleDispatchDriver::SetPropertyV(DISPID dwDispID, VARTYPE vtProp, va_list argList)
{
    // One argument of the property's type (a string as an LPCSTR, a BOOL as a BOOL); an object
    // is put by reference.
    BYTE rgbParams[2] = {0, 0};
    if (vtProp & VT_BYREF)
        rgbParams[0] = (BYTE)((vtProp & ~VT_BYREF) | VT_MFCBYREF);
    else
        rgbParams[0] = vtProp == VT_BSTR ? (BYTE)VT_BSTRA : (BYTE)vtProp;
    WORD wFlags = vtProp == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    InvokeHelperV(dwDispID, wFlags, VT_EMPTY, NULL, rgbParams, argList);
}

void COleDispatchDriver::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    const_cast<COleDispatchDriver*>(this)->InvokeHelper(dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, NULL);
}
