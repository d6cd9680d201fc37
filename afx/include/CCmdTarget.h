// Base of the classes that receive messages and commands: threads, the application, windows
// (later documents and views). A class handles commands through its message map; OnCmdMsg looks
// a command up there and calls the handler, and classes that pass commands on to other targets
// (frames, views, documents) override OnCmdMsg to route them.
#pragma once

#include "CObject.h"
#include "AfxMessageMap.h"

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

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // Calls a command or notification handler; answers whether the command counts as handled.
    static BOOL PASCAL DispatchCmdMsg(CCmdTarget* pTarget, UINT nID, int nCode, AFX_PMSG pfn, void* pExtra, UINT_PTR nSig,
                                      AFX_CMDHANDLERINFO* pHandlerInfo);
};
