// The site of one OLE control in a container window (COleControlContainer): creates the control
// and keeps it in-place active in its own child window, answers the control's questions to its
// container (IOleClientSite, IOleInPlaceSite, IOleControlSite, the ambient properties through
// IDispatch) and receives its events (IDispatch of the control's default source interface, found
// through IProvideClassInfo2), which it passes to the container window's event sink map.
//
// The control's class object is asked for with CoGetClassObject (through the program's import
// of it, so that a program may serve class objects of its own there), then IClassFactory
// (IClassFactory2 with a licence key) creates the control; its state is loaded from a stream
// (IPersistStreamInit or IPersistStream) or it starts empty (InitNew), it gets its client site
// (before loading when its misc status asks for that), its extent, its event connection and is
// activated in place (OLEIVERB_INPLACEACTIVATE). Only controls with a window of their own are
// hosted.
#pragma once

#include "afxwin.h"

#include <ole2.h>
#include <olectl.h>
#include <ocidl.h>

#include "COleDispatchDriver.h"

class COleControlContainer;
class CFile;

class COleControlSite : public CCmdTarget {
public:
    explicit COleControlSite(COleControlContainer* pCtrlCont);
    // Releases the control (Close, disconnects its events and client site).
    virtual ~COleControlSite();

    // Creates the control as described above, pWndCtrl (may be NULL) becomes the object of its
    // window. lpPersist/cbPersist hold its saved state (bStorage: a storage, which is not
    // supported), NULL: it starts empty. S_OK or the failure's HRESULT.
    virtual HRESULT CreateControl(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                                  const RECT* pRect, UINT nID, CFile* pPersist = NULL, BOOL bStorage = FALSE,
                                  BSTR bstrLicKey = NULL);
    HRESULT CreateControlFromData(CWnd* pWndCtrl, REFCLSID clsid, LPCTSTR lpszWindowName, DWORD dwStyle,
                                  const RECT* pRect, UINT nID, const void* lpPersist, DWORD cbPersist, BOOL bStorage,
                                  BSTR bstrLicKey);
    // Deactivates and releases the control; its window goes with it.
    virtual BOOL DestroyControl();

    // Calls of the control's IDispatch (see COleDispatchDriver; CWnd's InvokeHelper,
    // GetProperty and SetProperty come here).
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo,
                       va_list argList);
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
    void SetPropertyV(DISPID dwDispID, VARTYPE vtProp, va_list argList);

    // Moves the control (container client coordinates).
    void MoveWindow(const RECT& rect);
    // The value of an ambient property: the container window's OnAmbientProperty first, else
    // the container's defaults. FALSE for a property the container does not know.
    BOOL GetAmbientProperty(DISPID dispid, VARIANT* pvar);

    COleControlContainer* m_pCtrlCont;
    HWND m_hWnd;                    // the control's window
    UINT m_nID;
    CRect m_rect;                   // in the container's client coordinates
    CString m_strName;              // the window name given at creation (ambient display name)
    DWORD m_dwStyle;
    DWORD m_dwMiscStatus;
    LPOLEOBJECT m_pObject;          // the control
    LPOLEINPLACEOBJECT m_pInPlaceObject;
    IID m_iidEvents;                // the control's default source interface (IID_NULL: none)
    DWORD m_dwEventSink;            // the cookie of the event connection, 0: none
    COleDispatchDriver m_dispDriver; // the control's IDispatch

protected:
    virtual void OnFinalRelease(); // the container owns its sites
    virtual LPUNKNOWN GetInterfaceHook(const void* piid);
    HRESULT ConnectEvents();
    void DisconnectEvents();
    HRESULT OnEvent(DISPID dispid, DISPPARAMS* pDispParams, EXCEPINFO* pExcepInfo, UINT* puArgErr);

#define AFX_SITE_IUNKNOWN                                                                          \
    COleControlSite* m_pThis;                                                                    \
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;                           \
    STDMETHOD_(ULONG, AddRef)() override;                                                        \
    STDMETHOD_(ULONG, Release)() override;

    class XOleClientSite : public IOleClientSite {
    public:
        AFX_SITE_IUNKNOWN
        STDMETHOD(SaveObject)() override;
        STDMETHOD(GetMoniker)(DWORD dwAssign, DWORD dwWhichMoniker, IMoniker** ppmk) override;
        STDMETHOD(GetContainer)(IOleContainer** ppContainer) override;
        STDMETHOD(ShowObject)() override;
        STDMETHOD(OnShowWindow)(BOOL fShow) override;
        STDMETHOD(RequestNewObjectLayout)() override;
    } m_xOleClientSite;

    class XOleIPSite : public IOleInPlaceSite {
    public:
        AFX_SITE_IUNKNOWN
        STDMETHOD(GetWindow)(HWND* phwnd) override;
        STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;
        STDMETHOD(CanInPlaceActivate)() override;
        STDMETHOD(OnInPlaceActivate)() override;
        STDMETHOD(OnUIActivate)() override;
        STDMETHOD(GetWindowContext)(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                    LPRECT lprcClipRect, LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
        STDMETHOD(Scroll)(SIZE scrollExtant) override;
        STDMETHOD(OnUIDeactivate)(BOOL fUndoable) override;
        STDMETHOD(OnInPlaceDeactivate)() override;
        STDMETHOD(DiscardUndoState)() override;
        STDMETHOD(DeactivateAndUndo)() override;
        STDMETHOD(OnPosRectChange)(LPCRECT lprcPosRect) override;
    } m_xOleIPSite;

    class XOleControlSite : public IOleControlSite {
    public:
        AFX_SITE_IUNKNOWN
        STDMETHOD(OnControlInfoChanged)() override;
        STDMETHOD(LockInPlaceActive)(BOOL fLock) override;
        STDMETHOD(GetExtendedControl)(IDispatch** ppDisp) override;
        STDMETHOD(TransformCoords)(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
        STDMETHOD(TranslateAccelerator)(MSG* pMsg, DWORD grfModifiers) override;
        STDMETHOD(OnFocus)(BOOL fGotFocus) override;
        STDMETHOD(ShowPropertyFrame)() override;
    } m_xOleControlSite;

    // The ambient properties (IDispatch of the site) and the event sink (IDispatch under the
    // control's event IID) share these members.
    class XDispatchPart : public IDispatch {
    public:
        AFX_SITE_IUNKNOWN
        BOOL m_bEvents;
        STDMETHOD(GetTypeInfoCount)(UINT* pctinfo) override;
        STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
        STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
        STDMETHOD(Invoke)(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                          VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    } m_xAmbientProps, m_xEventSink;
#undef AFX_SITE_IUNKNOWN
};
