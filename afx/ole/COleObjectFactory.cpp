#include "afxdisp.h"

#include <new>

IMPLEMENT_DYNAMIC(COleObjectFactory, CCmdTarget)

namespace {

// The module's factories, in the order of their construction (static objects: before main).
COleObjectFactory* g_pFirstFactory = NULL;

} // namespace

COleObjectFactory::COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bMultiInstance,
                                     LPCTSTR lpszProgID)
    : m_pNextFactory(NULL), m_clsid(clsid), m_pRuntimeClass(pRuntimeClass), m_bMultiInstance(bMultiInstance),
      m_lpszProgID(lpszProgID), m_dwRegister(0)
{
    m_xClassFactory.m_pThis = this;
    COleObjectFactory** ppLink = &g_pFirstFactory;
    while (*ppLink != NULL)
        ppLink = &(*ppLink)->m_pNextFactory;
    *ppLink = this;
}

COleObjectFactory::~COleObjectFactory()
{
    Revoke();
    for (COleObjectFactory** ppLink = &g_pFirstFactory; *ppLink != NULL; ppLink = &(*ppLink)->m_pNextFactory) {
        if (*ppLink == this) {
            *ppLink = m_pNextFactory;
            break;
        }
    }
}

COleObjectFactory* PASCAL COleObjectFactory::GetFirstFactory() { return g_pFirstFactory; }

BOOL COleObjectFactory::Register()
{
    if (m_dwRegister != 0)
        return TRUE;
    DWORD dwRegister = 0;
    HRESULT hr = ::CoRegisterClassObject(m_clsid, &m_xClassFactory, CLSCTX_LOCAL_SERVER,
                                         m_bMultiInstance ? REGCLS_SINGLEUSE : REGCLS_MULTIPLEUSE, &dwRegister);
    if (FAILED(hr))
        return FALSE;
    m_dwRegister = dwRegister;
    return TRUE;
}

void COleObjectFactory::Revoke()
{
    if (m_dwRegister == 0)
        return;
    DWORD dwRegister = m_dwRegister;
    m_dwRegister = 0;
    ::CoRevokeClassObject(dwRegister);
}

BOOL PASCAL COleObjectFactory::RegisterAll()
{
    BOOL bResult = TRUE;
    for (COleObjectFactory* pFactory = g_pFirstFactory; pFactory != NULL; pFactory = pFactory->m_pNextFactory)
        bResult = pFactory->Register() && bResult;
    return bResult;
}

void PASCAL COleObjectFactory::RevokeAll()
{
    for (COleObjectFactory* pFactory = g_pFirstFactory; pFactory != NULL; pFactory = pFactory->m_pNextFactory)
        pFactory->Revoke();
}

BOOL COleObjectFactory::UpdateRegistry(BOOL bRegister)
{
    if (m_lpszProgID == NULL)
        return TRUE;
    if (bRegister)
        return AfxOleRegisterServerClass(m_clsid, m_lpszProgID, m_lpszProgID, m_lpszProgID, OAT_DISPATCH_OBJECT);
    return AfxOleUnregisterClass(m_clsid, m_lpszProgID);
}

BOOL PASCAL COleObjectFactory::UpdateRegistryAll(BOOL bRegister)
{
    BOOL bResult = TRUE;
    for (COleObjectFactory* pFactory = g_pFirstFactory; pFactory != NULL; pFactory = pFactory->m_pNextFactory)
        bResult = pFactory->UpdateRegistry(bRegister) && bResult;
    return bResult;
}

CCmdTarget* COleObjectFactory::OnCreateObject()
{
    if (m_pRuntimeClass == NULL)
        return NULL;
    CObject* pObject = m_pRuntimeClass->CreateObject();
    if (pObject != NULL && !pObject->IsKindOf(RUNTIME_CLASS(CCmdTarget))) {
        delete pObject;
        return NULL;
    }
    return (CCmdTarget*)pObject;
}

void COleObjectFactory::OnFinalRelease() {}

LPUNKNOWN COleObjectFactory::GetInterfaceHook(const void* piid)
{
    const IID& iid = *(const IID*)piid;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory))
        return &m_xClassFactory;
    return NULL;
}

// ---- IClassFactory -------------------------------------------------------------------------------

STDMETHODIMP COleObjectFactory::XClassFactory::QueryInterface(REFIID riid, void** ppvObject)
{
    return (HRESULT)m_pThis->ExternalQueryInterface(&riid, ppvObject);
}

STDMETHODIMP_(ULONG) COleObjectFactory::XClassFactory::AddRef() { return m_pThis->ExternalAddRef(); }

STDMETHODIMP_(ULONG) COleObjectFactory::XClassFactory::Release() { return m_pThis->ExternalRelease(); }

STDMETHODIMP COleObjectFactory::XClassFactory::CreateInstance(LPUNKNOWN pUnkOuter, REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_POINTER;
    *ppvObject = NULL;
    if (pUnkOuter != NULL)
        return CLASS_E_NOAGGREGATION;
    CCmdTarget* pTarget = NULL;
    try {
        pTarget = m_pThis->OnCreateObject();
    } catch (CException* e) {
        HRESULT hr = COleException::Process(e);
        e->Delete();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (pTarget == NULL)
        return E_OUTOFMEMORY;
    // The client's reference, then the creation reference goes: an object that does not answer
    // the interface is gone again.
    HRESULT hr = (HRESULT)pTarget->ExternalQueryInterface(&riid, ppvObject);
    pTarget->InternalRelease();
    return hr;
}

STDMETHODIMP COleObjectFactory::XClassFactory::LockServer(BOOL fLock)
{
    if (fLock)
        AfxOleLockApp();
    else
        AfxOleUnlockApp();
    return S_OK;
}
