#include "AfxDispatchCall.h"

namespace {

// The VARIANT that a VT_BYREF | VT_VARIANT argument points to, else the argument itself.
VARIANT* Deref(VARIANT* pSrc)
{
    return pSrc->vt == (VT_BYREF | VT_VARIANT) && pSrc->pvarVal != NULL ? pSrc->pvarVal : pSrc;
}

} // namespace

CString AFXAPI AfxAnsiFromBstr(BSTR bstr)
{
    CString strText;
    int nWide = (int)::SysStringLen(bstr);
    if (nWide == 0)
        return strText;
    int nLen = ::WideCharToMultiByte(CP_ACP, 0, bstr, nWide, NULL, 0, NULL, NULL);
    LPSTR psz = strText.GetBuffer(nLen);
    ::WideCharToMultiByte(CP_ACP, 0, bstr, nWide, psz, nLen, NULL, NULL);
    strText.ReleaseBuffer(nLen);
    return strText;
}

CDispatchArgs::CDispatchArgs() : m_pArgs(NULL), m_nArgs(0) {}

CDispatchArgs::~CDispatchArgs()
{
    for (UINT i = 0; i < m_nArgs; i++)
        ::VariantClear(&m_pArgs[i].var);
    delete[] m_pArgs;
}

HRESULT CDispatchArgs::Prepare(LPCSTR lpszParams, BYTE bValueParam, const DISPPARAMS* pDispParams, UINT* puArgErr)
{
    UINT nParams = lpszParams != NULL ? (UINT)strlen(lpszParams) : 0;
    UINT nArgs = nParams + (bValueParam != 0 ? 1 : 0);
    UINT cArgs = pDispParams != NULL ? pDispParams->cArgs : 0;
    if (cArgs != nArgs)
        return DISP_E_BADPARAMCOUNT;
    if (nArgs == 0)
        return S_OK;
    m_pArgs = new AFX_DISPARG[nArgs];
    m_nArgs = nArgs;
    for (UINT i = 0; i < nArgs; i++) {
        ::VariantInit(&m_pArgs[i].var);
        m_pArgs[i].pRef = NULL;
        m_pArgs[i].bNullText = FALSE;
        m_pArgs[i].pvarBack = NULL;
    }
    // rgvarg holds the arguments last first; the value of a put (named DISPID_PROPERTYPUT) is
    // rgvarg[0], which is also where the last parameter lies.
    for (UINT i = 0; i < nArgs; i++) {
        BYTE bParam = i < nParams ? (BYTE)lpszParams[i] : bValueParam;
        UINT iArg = cArgs - 1 - i;
        HRESULT hr = PrepareOne(m_pArgs[i], bParam, &pDispParams->rgvarg[iArg]);
        if (FAILED(hr)) {
            if (puArgErr != NULL)
                *puArgErr = iArg;
            return hr;
        }
    }
    return S_OK;
}

HRESULT CDispatchArgs::PrepareOne(AFX_DISPARG& arg, BYTE bParam, VARIANT* pSrc)
{
    if (bParam & VT_MFCBYREF) {
        VARTYPE vt = (VARTYPE)(bParam & ~VT_MFCBYREF);
        if (vt == VT_VARIANT) {
            arg.pRef = Deref(pSrc);
            return S_OK;
        }
        if (pSrc->vt == (VT_BYREF | vt)) {
            // the caller's own variable: what the member writes is what the caller reads
            arg.pRef = pSrc->byref;
            return S_OK;
        }
        VARIANT* pValue = Deref(pSrc);
        if (pValue->vt == (VT_BYREF | vt)) {
            arg.pRef = pValue->byref;
            return S_OK;
        }
        // Another type: the member works on a converted copy; a VARIANT passed by reference
        // gets the copy back after the call.
        HRESULT hr = ::VariantChangeType(&arg.var, pValue, 0, vt);
        if (FAILED(hr))
            return hr;
        arg.pRef = (void*)&arg.var.llVal;
        if (pValue != pSrc)
            arg.pvarBack = pValue;
        return S_OK;
    }

    VARIANT* pValue = Deref(pSrc);
    switch (bParam) {
    case VT_VARIANT:
        arg.pRef = pValue;
        return S_OK;
    case VT_BSTRA: {
        BSTR bstr = NULL;
        BOOL bIsString = TRUE;
        if (pValue->vt == VT_BSTR)
            bstr = pValue->bstrVal;
        else if (pValue->vt == (VT_BYREF | VT_BSTR) && pValue->pbstrVal != NULL)
            bstr = *pValue->pbstrVal;
        else
            bIsString = FALSE;
        if (bIsString && bstr == NULL) {
            arg.bNullText = TRUE; // no string at all, unlike an empty one
            return S_OK;
        }
        if (bIsString) {
            arg.strText = AfxAnsiFromBstr(bstr);
            return S_OK;
        }
        HRESULT hr = ::VariantChangeType(&arg.var, pValue, 0, VT_BSTR);
        if (FAILED(hr))
            return hr;
        arg.strText = AfxAnsiFromBstr(arg.var.bstrVal);
        return S_OK;
    }
    case VT_ERROR:
        // a status code given as a number
        if (pValue->vt == VT_ERROR) {
            arg.var = *pValue;
            return S_OK;
        } else {
            HRESULT hr = ::VariantChangeType(&arg.var, pValue, 0, VT_I4);
            if (SUCCEEDED(hr))
                arg.var.vt = VT_ERROR;
            return hr;
        }
    case VT_DISPATCH:
    case VT_UNKNOWN:
        // no object: a null pointer
        if (pValue->vt == VT_EMPTY || pValue->vt == VT_NULL) {
            arg.var.vt = bParam;
            arg.var.punkVal = NULL;
            return S_OK;
        }
        return ::VariantChangeType(&arg.var, pValue, 0, bParam);
    default:
        return ::VariantChangeType(&arg.var, pValue, 0, bParam);
    }
}

void CDispatchArgs::WriteBack()
{
    for (UINT i = 0; i < m_nArgs; i++) {
        AFX_DISPARG& arg = m_pArgs[i];
        if (arg.pvarBack == NULL)
            continue;
        ::VariantClear(arg.pvarBack);
        *arg.pvarBack = arg.var; // the value moves to the caller
        arg.var.vt = VT_EMPTY;
        arg.pvarBack = NULL;
    }
}

void AFXAPI AfxFixResultType(VARIANT* pvarResult, VARTYPE vt)
{
    if (vt == VT_DATE && pvarResult->vt == VT_R8)
        pvarResult->vt = VT_DATE;
    else if (vt == VT_ERROR && pvarResult->vt == VT_I4)
        pvarResult->vt = VT_ERROR;
}

// ---- data members of dispatch maps ----------------------------------------------------------------

namespace AfxDisp {

void AFXAPI MemberGet(VARIANT* pv, const short& m) { Result(pv, m); }
void AFXAPI MemberGet(VARIANT* pv, const long& m) { Result(pv, m); }
void AFXAPI MemberGet(VARIANT* pv, const float& m) { Result(pv, m); }
void AFXAPI MemberGet(VARIANT* pv, const double& m) { Result(pv, m); }
void AFXAPI MemberGet(VARIANT* pv, const CY& m) { Result(pv, m); }
void AFXAPI MemberGet(VARIANT* pv, const BOOL& m) { Result(pv, m); }
void AFXAPI MemberGet(VARIANT* pv, const BYTE& m) { Result(pv, m); }
void AFXAPI MemberGet(VARIANT* pv, const CString& m) { Result(pv, m.AllocSysString()); }
void AFXAPI MemberGet(VARIANT* pv, const COleVariant& m) { AfxCheckError(::VariantCopy(pv, const_cast<COleVariant*>(&m))); }

void AFXAPI MemberGet(VARIANT* pv, const LPDISPATCH& m)
{
    if (m != NULL)
        m->AddRef();
    Result(pv, m);
}

void AFXAPI MemberGet(VARIANT* pv, const LPUNKNOWN& m)
{
    if (m != NULL)
        m->AddRef();
    Result(pv, m);
}

void AFXAPI MemberSet(short& m, AFX_DISPARG& a) { m = a.var.iVal; }
void AFXAPI MemberSet(long& m, AFX_DISPARG& a) { m = a.var.lVal; }
void AFXAPI MemberSet(float& m, AFX_DISPARG& a) { m = a.var.fltVal; }
void AFXAPI MemberSet(double& m, AFX_DISPARG& a) { m = a.var.dblVal; }
void AFXAPI MemberSet(CY& m, AFX_DISPARG& a) { m = a.var.cyVal; }
void AFXAPI MemberSet(BOOL& m, AFX_DISPARG& a) { m = a.var.boolVal != VARIANT_FALSE; }
void AFXAPI MemberSet(BYTE& m, AFX_DISPARG& a) { m = a.var.bVal; }
void AFXAPI MemberSet(CString& m, AFX_DISPARG& a) { m = a.bNullText ? CString() : a.strText; }
void AFXAPI MemberSet(COleVariant& m, AFX_DISPARG& a) { m = *(const VARIANT*)a.pRef; }

void AFXAPI MemberSet(LPDISPATCH& m, AFX_DISPARG& a)
{
    LPDISPATCH pOld = m;
    m = a.var.pdispVal;
    if (m != NULL)
        m->AddRef();
    if (pOld != NULL)
        pOld->Release();
}

void AFXAPI MemberSet(LPUNKNOWN& m, AFX_DISPARG& a)
{
    LPUNKNOWN pOld = m;
    m = a.var.punkVal;
    if (m != NULL)
        m->AddRef();
    if (pOld != NULL)
        pOld->Release();
}

} // namespace AfxDisp
