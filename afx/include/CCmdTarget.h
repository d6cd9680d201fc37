// Base of the classes that receive messages and commands: threads, the application, windows
// (later documents and views). A class handles commands through its message map; OnCmdMsg looks
// a command up there and calls the handler, and classes that pass commands on to other targets
// (frames, views, documents) override OnCmdMsg to route them.
//
// Automation (the OLE layer, <afxdisp.h>): a class that calls EnableAutomation in its
// constructor answers IDispatch from its dispatch map (DECLARE_DISPATCH_MAP), further COM
// interfaces from its interface map (DECLARE_INTERFACE_MAP) or GetInterfaceHook, and events of
// the OLE controls it contains from its event sink map (DECLARE_EVENTSINK_MAP, reached through
// OnCmdMsg with CN_EVENT). m_dwRef starts at 1, the creator's reference: GetIDispatch(FALSE)
// hands that reference over; when the count reaches 0 OnFinalRelease runs, which deletes the
// object. The window layer only declares these members; the OLE layer implements them.
#pragma once

#include "CObject.h"
#include "AfxMessageMap.h"

struct AFX_DISPMAP;
struct AFX_INTERFACEMAP;
struct AFX_EVENTSINKMAP;

// OnCmdMsg code of an event of an OLE control (pExtra is the AFX_EVENT).
#define CN_EVENT ((UINT)(-2))

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    virtual ~CCmdTarget();

    // Routes and handles a command: nID is the command or control id, nCode CN_COMMAND,
    // CN_UPDATE_COMMAND_UI (pExtra the CCmdUI), a control's notification code, or
    // MAKELONG(code, WM_NOTIFY) (pExtra an AFX_NOTIFY). With pHandlerInfo the handler is only
    // looked up: TRUE and the target and function in *pHandlerInfo when there is one.
    // Answers TRUE when the command was handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The application's wait cursor (CWinApp::DoWaitCursor with 1, -1 and 0); nothing happens
    // while the module has no application object.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // The entry of lpEntries for the message, code and id, or NULL.
    static const AFX_MSGMAP_ENTRY* PASCAL FindMessageEntry(const AFX_MSGMAP_ENTRY* lpEntries, UINT nMsg, UINT nCode, UINT nID);

    // ---- automation (implemented by the OLE layer) ----
    // Gives the object its IDispatch (from the dispatch map); called in the constructor.
    void EnableAutomation();
    // The object's IDispatch (NULL without EnableAutomation), with a reference for the caller
    // when bAddRef is set.
    LPDISPATCH GetIDispatch(BOOL bAddRef);
    // The object behind an IDispatch that GetIDispatch handed out, else NULL.
    static CCmdTarget* PASCAL FromIDispatch(LPDISPATCH lpDispatch);
    // TRUE while a dispatch member runs for a caller that wants its result.
    BOOL IsResultExpected();

    // The interface for the IID (no reference added), or NULL: GetInterfaceHook first, then
    // IUnknown and IDispatch of the automation, then the interface maps.
    LPUNKNOWN GetInterface(const void* piid);
    LPUNKNOWN GetControllingUnknown();
    // COM reference counting and QueryInterface of the object (the HRESULT of QueryInterface).
    DWORD InternalQueryInterface(const void* piid, LPVOID* ppvObj);
    DWORD InternalAddRef();
    DWORD InternalRelease();
    DWORD ExternalQueryInterface(const void* piid, LPVOID* ppvObj);
    DWORD ExternalAddRef();
    DWORD ExternalRelease();

    // Called when the last reference goes; deletes the object.
    virtual void OnFinalRelease();
    // An interface answered before the maps (for example one implemented by another object,
    // which counts its own references); NULL by default.
    virtual LPUNKNOWN GetInterfaceHook(const void* piid) { UNUSED(piid); return NULL; }
    // FALSE keeps the dispatch member from running (the caller gets E_UNEXPECTED).
    virtual BOOL IsInvokeAllowed(DISPID dispid) { UNUSED(dispid); return TRUE; }

    long m_dwRef;                // COM references; 1 after construction
    LPUNKNOWN m_pOuterUnknown;   // always NULL: the library does not aggregate objects
    BOOL m_bResultExpected;
    // Room for the IDispatch that EnableAutomation places here (a vtable and the object).
    struct XDispatch {
        void* m_vtbl;
        void* m_pThis;
    } m_xDispatch;

    // The maps; CCmdTarget has none (NULL ends the walk to the base classes).
    static const AFX_DISPMAP* PASCAL GetThisDispatchMap() { return NULL; }
    virtual const AFX_DISPMAP* GetDispatchMap() const { return NULL; }
    static const AFX_INTERFACEMAP* PASCAL GetThisInterfaceMap() { return NULL; }
    virtual const AFX_INTERFACEMAP* GetInterfaceMap() const { return NULL; }
    static const AFX_EVENTSINKMAP* PASCAL GetThisEventSinkMap() { return NULL; }
    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const { return NULL; }

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls a command or notification handler; answers whether the command counts as handled.
    static BOOL PASCAL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                                      AFX_CMDHANDLERINFO* pHandlerInfo);
};
