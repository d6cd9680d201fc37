// The application's answer to COM about calls while it is busy or waits for another
// application (IMessageFilter, registered with CoRegisterMessageFilter).
//
// Incoming calls: handled, unless the application is in a busy state (BeginBusyState), when
// they get the busy reply (SERVERCALL_RETRYLATER by default).
// Outgoing calls that the other application rejects as busy: retried every "retry reply"
// milliseconds (SetRetryReply; -1 cancels) until the message-pending delay (SetMessagePendingDelay,
// 5000 ms by default) has passed; then the busy box asks whether to retry or cancel (OnBusyDialog;
// without it, or with EnableBusyDialog(FALSE), the call is retried). A rejected call (not busy)
// is cancelled.
// Outgoing calls that take long: while waiting, paint messages are dispatched (OnMessagePending);
// when the delay has passed and the user presses a key or a mouse button, the not-responding box
// asks whether to wait on or cancel (OnNotRespondingDialog; EnableNotRespondingDialog).
// The boxes go through the library's message box (AfxMessageBox), which tests answer.
#pragma once

#include "afxwin.h"

#include <ole2.h>

class COleMessageFilter : public CCmdTarget {
    DECLARE_DYNAMIC(COleMessageFilter)
public:
    COleMessageFilter();
    virtual ~COleMessageFilter();

    BOOL Register();
    void Revoke();

    // Incoming calls get the busy reply while the count of busy states is above 0.
    virtual void BeginBusyState();
    virtual void EndBusyState();
    void SetBusyReply(SERVERCALL nBusyReply);
    void SetRetryReply(DWORD nRetryReply = 0);
    void SetMessagePendingDelay(DWORD nTimeout = 5000);
    void EnableBusyDialog(BOOL bEnableBusy = TRUE);
    void EnableNotRespondingDialog(BOOL bEnableNotResponding = TRUE);

    // Called for messages that arrive while a call waits; TRUE when handled. The default
    // dispatches the paint messages of the thread.
    virtual BOOL OnMessagePending(const MSG* pMsg);

    // The answer of COM's IMessageFilter (also reachable as GetInterface(&IID_IMessageFilter)).
    LPMESSAGEFILTER GetMessageFilter() { return &m_xMessageFilter; }

protected:
    // IDRETRY to retry, IDCANCEL to cancel.
    virtual int OnBusyDialog(HTASK htaskBusy);
    virtual int OnNotRespondingDialog(HTASK htaskBusy);
    virtual LPUNKNOWN GetInterfaceHook(const void* piid);

    BOOL m_bRegistered;
    LONG m_nBusyCount;
    BOOL m_bEnableBusy;
    BOOL m_bEnableNotResponding;
    UINT m_nBusyReply;
    UINT m_nRetryReply;
    UINT m_nTimeout;
    // The tick count of the waiting call after which the busy box may appear (again).
    DWORD m_dwBusyDialogTick;
    BOOL m_bInDialog;

    class XMessageFilter : public IMessageFilter {
    public:
        COleMessageFilter* m_pThis;
        STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD_(DWORD, HandleInComingCall)(DWORD dwCallType, HTASK htaskCaller, DWORD dwTickCount,
                                              LPINTERFACEINFO lpInterfaceInfo) override;
        STDMETHOD_(DWORD, RetryRejectedCall)(HTASK htaskCallee, DWORD dwTickCount, DWORD dwRejectType) override;
        STDMETHOD_(DWORD, MessagePending)(HTASK htaskCallee, DWORD dwTickCount, DWORD dwPendingType) override;
    } m_xMessageFilter;
    friend class XMessageFilter;
};
