#include "CCmdTargetDispatch.h"

#include "AfxDispatchCall.h"

#include <new>

static_assert(sizeof(CCmdTargetDispatch) == sizeof(CCmdTarget::XDispatch),
              "the IDispatch must fit the room that CCmdTarget keeps for it");

namespace {

// The number of entries of a map (up to its end mark).
UINT EntryCount(const AFX_DISPMAP* pMap)
{
    UINT n = 0;
    while (pMap->lpEntries[n].nKind != 0)
        n++;
    return n;
}

// The vtable of our IDispatch, to recognise one.
const void* OurVtable()
{
    static CCmdTargetDispatch s_probe(NULL);
    return *reinterpret_cast<void* const*>(&s_probe);
}

} // namespace

void CCmdTargetDispatch::Enable(CCmdTarget* pTarget)
{
    if (!IsEnabled(pTarget))
        new (&pTarget->m_xDispatch) CCmdTargetDispatch(pTarget);
}

CCmdTarget* CCmdTargetDispatch::TargetOf(LPDISPATCH lpDispatch)
{
    if (lpDispatch == NULL || *reinterpret_cast<void* const*>(lpDispatch) != OurVtable())
        return NULL;
    return static_cast<CCmdTargetDispatch*>(lpDispatch)->m_pThis;
}

const AFX_DISPMAP_ENTRY* CCmdTargetDispatch::FindEntry(CCmdTarget* pTarget, LPCSTR lpszName, DISPID* pDispID)
{
    WORD nDepth = 0;
    for (const AFX_DISPMAP* pMap = pTarget->GetDispatchMap(); pMap != NULL; pMap = (*pMap->pfnGetBaseMap)(), nDepth++) {
        for (UINT i = 0; pMap->lpEntries[i].nKind != 0; i++) {
            const AFX_DISPMAP_ENTRY* pEntry = &pMap->lpEntries[i];
            // the default member's entry only names the member that answers DISPID_VALUE
            if (pEntry->nKind == AFX_DISP_DEFVALUE)
                continue;
            if (::CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, pEntry->lpszName, -1, lpszName, -1) ==
                CSTR_EQUAL) {
                *pDispID = pEntry->lDispID != DISPID_UNKNOWN ? pEntry->lDispID : (DISPID)MAKELONG(i + 1, nDepth);
                return pEntry;
            }
        }
    }
    return NULL;
}

const AFX_DISPMAP_ENTRY* CCmdTargetDispatch::FindEntry(CCmdTarget* pTarget, DISPID dispid)
{
    if (dispid == DISPID_VALUE) {
        for (const AFX_DISPMAP* pMap = pTarget->GetDispatchMap(); pMap != NULL; pMap = (*pMap->pfnGetBaseMap)()) {
            for (UINT i = 0; pMap->lpEntries[i].nKind != 0; i++) {
                if (pMap->lpEntries[i].nKind == AFX_DISP_DEFVALUE) {
                    DISPID idMember;
                    return FindEntry(pTarget, pMap->lpEntries[i].lpszName, &idMember);
                }
            }
        }
        return NULL;
    }
    if (dispid <= 0)
        return NULL;
    UINT nIndex = LOWORD(dispid);
    UINT nDepth = HIWORD(dispid);
    const AFX_DISPMAP* pMap = pTarget->GetDispatchMap();
    for (UINT i = 0; pMap != NULL && i < nDepth; i++)
        pMap = (*pMap->pfnGetBaseMap)();
    if (pMap == NULL || nIndex == 0 || nIndex > EntryCount(pMap))
        return NULL;
    const AFX_DISPMAP_ENTRY* pEntry = &pMap->lpEntries[nIndex - 1];
    return pEntry->nKind == AFX_DISP_DEFVALUE ? NULL : pEntry;
}

STDMETHODIMP CCmdTargetDispatch::QueryInterface(REFIID riid, void** ppvObject)
{
    return (HRESULT)m_pThis->ExternalQueryInterface(&riid, ppvObject);
}

STDMETHODIMP_(ULONG) CCmdTargetDispatch::AddRef() { return m_pThis->ExternalAddRef(); }

STDMETHODIMP_(ULONG) CCmdTargetDispatch::Release() { return m_pThis->ExternalRelease(); }

STDMETHODIMP CCmdTargetDispatch::GetTypeInfoCount(UINT* pctinfo)
{
    // no type library: clients bind by name
    if (pctinfo == NULL)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CCmdTargetDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo != NULL)
        *ppTInfo = NULL;
    return DISP_E_BADINDEX;
}

STDMETHODIMP CCmdTargetDispatch::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (rgszNames == NULL || rgDispId == NULL || cNames == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < cNames; i++)
        rgDispId[i] = DISPID_UNKNOWN;
    CString strName(rgszNames[0]);
    if (FindEntry(m_pThis, strName, &rgDispId[0]) == NULL)
        return DISP_E_UNKNOWNNAME;
    // names of parameters are not known: members take their arguments by position
    return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

STDMETHODIMP CCmdTargetDispatch::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    DISPPARAMS noParams = {NULL, NULL, 0, 0};
    if (pDispParams == NULL)
        pDispParams = &noParams;
    if (pDispParams->cNamedArgs > 1 ||
        (pDispParams->cNamedArgs == 1 && pDispParams->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
        return DISP_E_NONAMEDARGS;

    const AFX_DISPMAP_ENTRY* pEntry = FindEntry(m_pThis, dispIdMember);
    if (pEntry == NULL)
        return DISP_E_MEMBERNOTFOUND;
    if (!m_pThis->IsInvokeAllowed(dispIdMember))
        return E_UNEXPECTED;

    // Scripts call property gets as methods too (VBScript sends both flags).
    BOOL bPut = (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    BOOL bGetOrCall = (wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) != 0;
    AFX_DISPTHUNK pfn = NULL;
    BYTE bValueParam = 0;
    if (pEntry->nKind == AFX_DISP_METHOD) {
        if (bPut || !bGetOrCall)
            return DISP_E_MEMBERNOTFOUND;
        pfn = pEntry->pfnGet;
    } else if (bPut) {
        if (pEntry->pfnSet == NULL)
            return DISP_E_MEMBERNOTFOUND;
        pfn = pEntry->pfnSet;
        bValueParam = AfxDisp::ValueParam(pEntry->vt);
    } else if (bGetOrCall) {
        pfn = pEntry->pfnGet;
    } else {
        return DISP_E_MEMBERNOTFOUND;
    }
    // A get with the value of a put, or a put without one, is a call with the wrong arguments.
    if (!bPut && pDispParams->cNamedArgs != 0)
        return DISP_E_NONAMEDARGS;

    CDispatchArgs args;
    HRESULT hr = args.Prepare(pEntry->lpszParams, bValueParam, pDispParams, puArgErr);
    if (FAILED(hr))
        return hr;

    VARIANT varResult;
    ::VariantInit(&varResult);
    if (pVarResult != NULL)
        ::VariantInit(pVarResult);
    BOOL bResultExpected = m_pThis->m_bResultExpected;
    m_pThis->m_bResultExpected = pVarResult != NULL;
    CCmdTarget* pThis = m_pThis;
    hr = AfxCallCatching([&] { (*pfn)(pThis, args.GetArgs(), &varResult); }, pExcepInfo, FALSE);
    pThis->m_bResultExpected = bResultExpected;
    if (FAILED(hr)) {
        ::VariantClear(&varResult);
        return hr;
    }
    args.WriteBack();
    if (!bPut)
        AfxFixResultType(&varResult, pEntry->vt);
    if (pVarResult != NULL)
        *pVarResult = varResult;
    else
        ::VariantClear(&varResult);
    return S_OK;
}
