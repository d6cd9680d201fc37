// The class factory of an automation class: creates objects of a dynamically creatable
// CCmdTarget class with automation for COM clients (IClassFactory), registers itself as running
// (a local server's CoRegisterClassObject) and writes its registry keys.
//
// A class declares DECLARE_OLECREATE(class) and implements IMPLEMENT_OLECREATE(class, "ProgID",
// CLSID as 11 numbers); this makes the static factory class::factory, which serves any number of
// clients from one process (REGCLS_MULTIPLEUSE). A multi-instance factory (bMultiInstance)
// serves one creation request per process (REGCLS_SINGLEUSE): every client starts a server of
// its own. All factories of the module are kept in one list (RegisterAll, RevokeAll,
// UpdateRegistryAll).
//
// Objects are made with their run-time class's CreateObject; the creation reference goes to the
// client. An automation class locks the application in its constructor (AfxOleLockApp) and
// unlocks it in its destructor, so that a server ends with its last object; LockServer of the
// factory locks the application too.
#pragma once

#include "afxwin.h"

#include <ole2.h>

class COleObjectFactory : public CCmdTarget {
    DECLARE_DYNAMIC(COleObjectFactory)
public:
    COleObjectFactory(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bMultiInstance, LPCTSTR lpszProgID);
    virtual ~COleObjectFactory();

    BOOL IsRegistered() const { return m_dwRegister != 0; }
    REFCLSID GetClassID() const { return m_clsid; }
    LPCTSTR GetProgID() const { return m_lpszProgID; }

    // Registers the factory with COM as running (CoRegisterClassObject); FALSE on failure.
    virtual BOOL Register();
    void Revoke();
    static BOOL PASCAL RegisterAll();
    static void PASCAL RevokeAll();

    // Writes (or with FALSE removes) the registry keys of the class as an automation server
    // (AfxOleRegisterServerClass with the ProgID as its names); FALSE when that failed. A
    // factory without a ProgID writes nothing.
    virtual BOOL UpdateRegistry(BOOL bRegister = TRUE);
    static BOOL PASCAL UpdateRegistryAll(BOOL bRegister = TRUE);

    // The factory's IClassFactory.
    LPCLASSFACTORY GetClassFactory() { return &m_xClassFactory; }

    // The factories of the module.
    static COleObjectFactory* PASCAL GetFirstFactory();
    COleObjectFactory* m_pNextFactory;

protected:
    // A new object (its creation reference is the caller's), or NULL.
    virtual CCmdTarget* OnCreateObject();
    // The factories are static objects: their last release deletes nothing.
    virtual void OnFinalRelease();
    virtual LPUNKNOWN GetInterfaceHook(const void* piid);

    CLSID m_clsid;
    CRuntimeClass* m_pRuntimeClass;
    BOOL m_bMultiInstance;
    LPCTSTR m_lpszProgID;
    DWORD m_dwRegister; // the cookie of CoRegisterClassObject, 0 when not registered

    class XClassFactory : public IClassFactory {
    public:
        COleObjectFactory* m_pThis;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(CreateInstance)(LPUNKNOWN pUnkOuter, REFIID riid, void** ppvObject) override;
        STDMETHOD(LockServer)(BOOL fLock) override;
    } m_xClassFactory;
    friend class XClassFactory;
};

#define DECLARE_OLECREATE(class_name)                                                             \
public:                                                                                          \
    static COleObjectFactory factory;                                                            \
    static const GUID guid;

#define IMPLEMENT_OLECREATE(class_name, external_name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    const GUID class_name::guid = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};                 \
    COleObjectFactory class_name::factory(class_name::guid, RUNTIME_CLASS(class_name), FALSE, external_name);
