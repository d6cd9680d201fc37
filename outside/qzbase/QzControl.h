// Base of the qz controls: a windowed in-process ActiveX control in plain COM. It answers the
// container's interfaces (IOleObject, IOleInPlaceObject, IOleControl, IPersistStreamInit,
// IDispatch, IConnectionPointContainer with one point for the event dispinterface,
// IProvideClassInfo2), dispatches calls through the control's member table with the arguments
// coerced to the table's types, raises events at every connected sink, and runs the control's
// window. A control derives from it and supplies its tables, its values and its window's
// behaviour.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "qzcontrols.h"

namespace qz {

// Kinds of a member (combined for properties that are read and written).
enum MemberKind : unsigned { kGet = 1, kPut = 2, kMethod = 4 };

const int kMaxArgs = 6;

// One property or method. nArgs: index arguments of a property (the put value comes after
// them), arguments of a method. vtValue: the property's type or the method's result (VT_EMPTY
// for none).
struct Member {
    DISPID id;
    const wchar_t* pszName;
    unsigned kinds;
    VARTYPE vtValue;
    int nArgs;
    VARTYPE args[kMaxArgs];
};

// One event: its arguments in order (VT_BYREF | VT_I2 for a short the sink may change).
struct EventInfo {
    DISPID id;
    int nArgs;
    VARTYPE args[kMaxArgs];
};

class CQzControl : public IOleObject,
                   public IOleInPlaceObject,
                   public IOleControl,
                   public IPersistStreamInit,
                   public IDispatch,
                   public IConnectionPointContainer,
                   public IProvideClassInfo2 {
public:
    CQzControl(REFCLSID clsid, REFIID iidEvents, const char* pszWindowClass, DWORD dwStateMark);
    virtual ~CQzControl();

    // Registers the window class of a control (the module's entry calls it).
    static bool RegisterWindowClass(HINSTANCE hInstance, const char* pszClass);
    static void UnregisterWindowClass(HINSTANCE hInstance, const char* pszClass);
    // Live objects of the module (DllCanUnloadNow).
    static LONG LiveObjects();

    // ---- IUnknown ----
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // ---- IOleObject ----
    STDMETHOD(SetClientSite)(IOleClientSite* pClientSite) override;
    STDMETHOD(GetClientSite)(IOleClientSite** ppClientSite) override;
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHOD(Close)(DWORD) override;
    STDMETHOD(SetMoniker)(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHOD(GetMoniker)(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHOD(InitFromData)(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetClipboardData)(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHOD(DoVerb)(LONG iVerb, LPMSG, IOleClientSite* pActiveSite, LONG, HWND hwndParent, LPCRECT lprcPosRect) override;
    STDMETHOD(EnumVerbs)(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHOD(Update)() override { return S_OK; }
    STDMETHOD(IsUpToDate)() override { return S_OK; }
    STDMETHOD(GetUserClassID)(CLSID* pClsid) override;
    STDMETHOD(GetUserType)(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
    STDMETHOD(SetExtent)(DWORD, SIZEL* psizel) override;
    STDMETHOD(GetExtent)(DWORD, SIZEL* psizel) override;
    STDMETHOD(Advise)(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHOD(Unadvise)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumAdvise)(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* pdwStatus) override;
    STDMETHOD(SetColorScheme)(LOGPALETTE*) override { return E_NOTIMPL; }

    // ---- IOleInPlaceObject ----
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL) override { return E_NOTIMPL; }
    STDMETHOD(InPlaceDeactivate)() override;
    STDMETHOD(UIDeactivate)() override { return S_OK; }
    STDMETHOD(SetObjectRects)(LPCRECT lprcPosRect, LPCRECT) override;
    STDMETHOD(ReactivateAndUndo)() override { return E_NOTIMPL; }

    // ---- IOleControl ----
    STDMETHOD(GetControlInfo)(CONTROLINFO* pCI) override;
    STDMETHOD(OnMnemonic)(MSG*) override { return S_OK; }
    STDMETHOD(OnAmbientPropertyChange)(DISPID dispid) override;
    STDMETHOD(FreezeEvents)(BOOL bFreeze) override;

    // ---- IPersistStreamInit ----
    STDMETHOD(GetClassID)(CLSID* pClassID) override;
    STDMETHOD(IsDirty)() override { return S_FALSE; }
    STDMETHOD(Load)(LPSTREAM pStm) override;
    STDMETHOD(Save)(LPSTREAM pStm, BOOL) override;
    STDMETHOD(GetSizeMax)(ULARGE_INTEGER* pcbSize) override;
    STDMETHOD(InitNew)() override;

    // ---- IDispatch ----
    STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return DISP_E_BADINDEX; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* rgszNames, UINT cNames, LCID, DISPID* rgDispId) override;
    STDMETHOD(Invoke)(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarResult,
                      EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // ---- IConnectionPointContainer ----
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) override;

    // ---- IProvideClassInfo2 ----
    STDMETHOD(GetClassInfo)(ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetGUID)(DWORD dwGuidKind, GUID* pGUID) override;

protected:
    // The control's tables.
    virtual const Member* Members(int* pnCount) const = 0;
    virtual const EventInfo* Events(int* pnCount) const = 0;
    // A call whose arguments are coerced to the table's types (args in declaration order).
    // Answer S_OK or a DISP_E code; on an error the control keeps its state.
    virtual HRESULT GetValue(const Member& member, const VARIANT* args, VARIANT* pResult) = 0;
    virtual HRESULT PutValue(const Member& member, const VARIANT* args, const VARIANT& value) = 0;
    virtual HRESULT CallMethod(const Member& member, const VARIANT* args, VARIANT* pResult) = 0;
    // The saved state's word: checked and taken (E_FAIL refuses it), and the word to save.
    virtual HRESULT LoadWord(WORD wWord) = 0;
    virtual WORD SavedWord() const = 0;
    // The fresh state (InitNew).
    virtual void InitState() {}
    // The window's messages (the object stays alive while one is handled).
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window was made (its handle is in m_hWnd).
    virtual void OnWindowCreated() {}

    // Raises an event at every connected sink. args in the event's order; by-reference shorts
    // point at the caller's values, which hold what the sinks wrote when it returns. Answers
    // the number of sinks reached. The control must look at m_hWnd afterwards: a sink may have
    // destroyed the window.
    int Fire(DISPID dispid, VARIANT* args, int nArgs);
    int Fire(DISPID dispid) { return Fire(dispid, NULL, 0); }

    // The ambient font (the container's dialog font), else the system's GUI font.
    HFONT Font() const;
    // Today as the control sees it (a test may set it).
    long Today() const;
    void Invalidate();

    HWND m_hWnd = NULL;

private:
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT InvokeTestMember(DISPID dispid, WORD wFlags, DISPPARAMS* pdp, VARIANT* pvarResult, UINT* puArgErr);
    void TakeAmbientFont();
    void DestroyControlWindow();

    class CPoint : public IConnectionPoint {
    public:
        CQzControl* m_pOwner = NULL;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
        STDMETHOD_(ULONG, AddRef)() override { return m_pOwner->AddRef(); }
        STDMETHOD_(ULONG, Release)() override { return m_pOwner->Release(); }
        STDMETHOD(GetConnectionInterface)(IID* pIID) override;
        STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) override;
        STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) override;
        STDMETHOD(Unadvise)(DWORD dwCookie) override;
        STDMETHOD(EnumConnections)(IEnumConnections**) override { return E_NOTIMPL; }
    };
    struct Sink {
        DWORD dwCookie;
        IDispatch* pDispatch;
    };

    LONG m_nRef = 1;
    CLSID m_clsid;
    IID m_iidEvents;
    std::string m_strWindowClass;
    DWORD m_dwStateMark;
    CPoint m_point;
    std::vector<Sink> m_sinks;
    DWORD m_dwNextCookie = 1;
    int m_nFrozen = 0;
    IOleClientSite* m_pClientSite = NULL;
    IOleInPlaceSite* m_pInPlaceSite = NULL;
    IFont* m_pFont = NULL;
    SIZEL m_extent = {2540, 635};
    long m_nTestToday = 0;
    std::vector<VARIANT> m_lastArgs; // the last event's arguments after the sinks
    HRESULT m_hrLastEvent = S_OK;
};

} // namespace qz
