// The IDispatch of a CCmdTarget with automation: EnableAutomation places one into the object's
// m_xDispatch (a vtable and the object), so that objects without automation carry none of it.
// IUnknown goes to the object's reference count and interfaces; GetIDsOfNames and Invoke work
// from the object's dispatch maps.
#pragma once

#include "afxdisp.h"

class CCmdTargetDispatch : public IDispatch {
public:
    explicit CCmdTargetDispatch(CCmdTarget* pThis) : m_pThis(pThis) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                      VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // Places the IDispatch into pTarget (once).
    static void Enable(CCmdTarget* pTarget);
    // TRUE when pTarget has automation.
    static BOOL IsEnabled(const CCmdTarget* pTarget) { return pTarget->m_xDispatch.m_vtbl != NULL; }
    // The IDispatch inside pTarget.
    static LPDISPATCH Of(CCmdTarget* pTarget) { return reinterpret_cast<LPDISPATCH>(&pTarget->m_xDispatch); }
    // The object of an IDispatch of this kind, else NULL.
    static CCmdTarget* TargetOf(LPDISPATCH lpDispatch);

    // The entry that answers a DISPID (the default member for DISPID_VALUE), or NULL.
    static const AFX_DISPMAP_ENTRY* FindEntry(CCmdTarget* pTarget, DISPID dispid);
    // The entry of a name (without regard to case) and its DISPID, or NULL.
    static const AFX_DISPMAP_ENTRY* FindEntry(CCmdTarget* pTarget, LPCSTR lpszName, DISPID* pDispID);

    CCmdTarget* m_pThis;
};
