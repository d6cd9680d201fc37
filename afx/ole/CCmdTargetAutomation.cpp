// The automation members of CCmdTarget (declared in the window layer's CCmdTarget.h): its
// IDispatch, COM identity, reference counting and interface maps.
#include "CCmdTargetDispatch.h"

void CCmdTarget::EnableAutomation() { CCmdTargetDispatch::Enable(this); }

LPDISPATCH CCmdTarget::GetIDispatch(BOOL bAddRef)
{
    if (!CCmdTargetDispatch::IsEnabled(this))
        return NULL;
    LPDISPATCH lpDispatch = CCmdTargetDispatch::Of(this);
    if (bAddRef)
        lpDispatch->AddRef();
    return lpDispatch;
}

CCmdTarget* PASCAL CCmdTarget::FromIDispatch(LPDISPATCH lpDispatch) { return CCmdTargetDispatch::TargetOf(lpDispatch); }

BOOL CCmdTarget::IsResultExpected() { return m_bResultExpected; }

LPUNKNOWN CCmdTarget::GetInterface(const void* piid)
{
    const IID& iid = *(const IID*)piid;
    LPUNKNOWN lpUnk = GetInterfaceHook(piid);
    if (lpUnk != NULL)
        return lpUnk;
    // The object's identity: its IDispatch when it has one, else the first interface of its
    // most derived map.
    BOOL bAutomation = CCmdTargetDispatch::IsEnabled(this);
    if (IsEqualIID(iid, IID_IUnknown) && bAutomation)
        return CCmdTargetDispatch::Of(this);
    for (const AFX_INTERFACEMAP* pMap = GetInterfaceMap(); pMap != NULL; pMap = (*pMap->pfnGetBaseMap)()) {
        for (const AFX_INTERFACEMAP_ENTRY* pEntry = pMap->pEntry; pEntry->piid != NULL; pEntry++) {
            if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, *pEntry->piid)) {
                lpUnk = (*pEntry->pfnGet)(this);
                // the object's IDispatch answers only while automation is enabled
                if (lpUnk == reinterpret_cast<LPUNKNOWN>(&m_xDispatch) && !bAutomation)
                    continue;
                return lpUnk;
            }
        }
    }
    if (IsEqualIID(iid, IID_IDispatch) && bAutomation)
        return CCmdTargetDispatch::Of(this);
    return NULL;
}

LPUNKNOWN CCmdTarget::GetControllingUnknown() { return GetInterface(&IID_IUnknown); }

DWORD CCmdTarget::InternalQueryInterface(const void* piid, LPVOID* ppvObj)
{
    if (ppvObj == NULL)
        return (DWORD)E_POINTER;
    LPUNKNOWN lpUnk = GetInterface(piid);
    *ppvObj = lpUnk;
    if (lpUnk == NULL)
        return (DWORD)E_NOINTERFACE;
    // through the interface itself: an interface of another object counts its own references
    lpUnk->AddRef();
    return (DWORD)S_OK;
}

DWORD CCmdTarget::InternalAddRef() { return (DWORD)::InterlockedIncrement(&m_dwRef); }

DWORD CCmdTarget::InternalRelease()
{
    // 0 while the object goes (OnFinalRelease, the destructor): further releases do nothing
    if (m_dwRef == 0)
        return 0;
    LONG lResult = ::InterlockedDecrement(&m_dwRef);
    if (lResult == 0)
        OnFinalRelease();
    return (DWORD)lResult;
}

DWORD CCmdTarget::ExternalQueryInterface(const void* piid, LPVOID* ppvObj)
{
    if (m_pOuterUnknown != NULL)
        return (DWORD)m_pOuterUnknown->QueryInterface(*(const IID*)piid, ppvObj);
    return InternalQueryInterface(piid, ppvObj);
}

DWORD CCmdTarget::ExternalAddRef()
{
    if (m_pOuterUnknown != NULL)
        return m_pOuterUnknown->AddRef();
    return InternalAddRef();
}

DWORD CCmdTarget::ExternalRelease()
{
    if (m_pOuterUnknown != NULL)
        return m_pOuterUnknown->Release();
    return InternalRelease();
}
