#include "afxole.h"
#include "AfxLibraryText.h"

IMPLEMENT_DYNAMIC(COleMessageFilter, CCmdTarget)

COleMessageFilter::COleMessageFilter()
    : m_bRegistered(FALSE), m_nBusyCount(0), m_bEnableBusy(TRUE), m_bEnableNotResponding(TRUE),
      m_nBusyReply(SERVERCALL_RETRYLATER), m_nRetryReply(0), m_nTimeout(5000), m_dwBusyDialogTick(0),
      m_bInDialog(FALSE)
{
    m_xMessageFilter.m_pThis = this;
}

COleMessageFilter::~COleMessageFilter() { Revoke(); }

BOOL COleMessageFilter::Register()
{
    if (m_bRegistered)
        return TRUE;
    LPMESSAGEFILTER lpOld = NULL;
    if (FAILED(::CoRegisterMessageFilter(&m_xMessageFilter, &lpOld)))
        return FALSE;
    if (lpOld != NULL)
        lpOld->Release();
    m_bRegistered = TRUE;
    return TRUE;
}

void COleMessageFilter::Revoke()
{
    if (!m_bRegistered)
        return;
    LPMESSAGEFILTER lpOld = NULL;
    ::CoRegisterMessageFilter(NULL, &lpOld);
    if (lpOld != NULL)
        lpOld->Release();
    m_bRegistered = FALSE;
}

void COleMessageFilter::BeginBusyState() { ::InterlockedIncrement(&m_nBusyCount); }

void COleMessageFilter::EndBusyState()
{
    if (m_nBusyCount > 0)
        ::InterlockedDecrement(&m_nBusyCount);
}

void COleMessageFilter::SetBusyReply(SERVERCALL nBusyReply) { m_nBusyReply = (UINT)nBusyReply; }

void COleMessageFilter::SetRetryReply(DWORD nRetryReply) { m_nRetryReply = nRetryReply; }

void COleMessageFilter::SetMessagePendingDelay(DWORD nTimeout) { m_nTimeout = nTimeout; }

void COleMessageFilter::EnableBusyDialog(BOOL bEnableBusy) { m_bEnableBusy = bEnableBusy; }

void COleMessageFilter::EnableNotRespondingDialog(BOOL bEnableNotResponding)
{
    m_bEnableNotResponding = bEnableNotResponding;
}

BOOL COleMessageFilter::OnMessagePending(const MSG*)
{
    // Keep the windows painted while the call waits.
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE))
        ::DispatchMessageA(&msg);
    return FALSE;
}

int COleMessageFilter::OnBusyDialog(HTASK)
{
    return AfxMessageBox(AfxGetLibraryText(AFX_TEXT_OLE_BUSY), MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY
               ? IDRETRY
               : IDCANCEL;
}

int COleMessageFilter::OnNotRespondingDialog(HTASK)
{
    return AfxMessageBox(AfxGetLibraryText(AFX_TEXT_OLE_NOT_RESPONDING), MB_RETRYCANCEL | MB_ICONEXCLAMATION) ==
                   IDRETRY
               ? IDRETRY
               : IDCANCEL;
}

LPUNKNOWN COleMessageFilter::GetInterfaceHook(const void* piid)
{
    if (IsEqualIID(*(const IID*)piid, IID_IMessageFilter))
        return &m_xMessageFilter;
    return NULL;
}

// ---- IMessageFilter ------------------------------------------------------------------------------

STDMETHODIMP COleMessageFilter::XMessageFilter::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == NULL)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
        *ppvObject = static_cast<IMessageFilter*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = NULL;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleMessageFilter::XMessageFilter::AddRef() { return m_pThis->ExternalAddRef(); }

STDMETHODIMP_(ULONG) COleMessageFilter::XMessageFilter::Release() { return m_pThis->ExternalRelease(); }

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO)
{
    return m_pThis->m_nBusyCount > 0 ? (DWORD)m_pThis->m_nBusyReply : (DWORD)SERVERCALL_ISHANDLED;
}

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::RetryRejectedCall(HTASK htaskCallee, DWORD dwTickCount,
                                                                          DWORD dwRejectType)
{
    COleMessageFilter* pThis = m_pThis;
    // refused for good: no retry helps
    if (dwRejectType == SERVERCALL_REJECTED)
        return (DWORD)-1;
    // A new call starts with a small tick count: the box may come after the delay again.
    if (dwTickCount < pThis->m_dwBusyDialogTick && dwTickCount < pThis->m_nTimeout)
        pThis->m_dwBusyDialogTick = 0;
    DWORD dwDialogTick = pThis->m_dwBusyDialogTick > pThis->m_nTimeout ? pThis->m_dwBusyDialogTick : pThis->m_nTimeout;
    if (dwTickCount < dwDialogTick || !pThis->m_bEnableBusy || pThis->m_bInDialog)
        return pThis->m_nRetryReply;
    pThis->m_bInDialog = TRUE;
    int nResult = pThis->OnBusyDialog(htaskCallee);
    pThis->m_bInDialog = FALSE;
    if (nResult != IDRETRY)
        return (DWORD)-1;
    // retried: the box waits for another delay
    pThis->m_dwBusyDialogTick = dwTickCount + pThis->m_nTimeout;
    return pThis->m_nRetryReply;
}

STDMETHODIMP_(DWORD) COleMessageFilter::XMessageFilter::MessagePending(HTASK htaskCallee, DWORD dwTickCount, DWORD)
{
    COleMessageFilter* pThis = m_pThis;
    MSG msg;
    if (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_NOREMOVE))
        pThis->OnMessagePending(&msg);
    // The user presses a key or a mouse button while the call has been waiting for long.
    if (dwTickCount >= pThis->m_nTimeout && pThis->m_bEnableNotResponding && !pThis->m_bInDialog &&
        (::PeekMessageA(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE | PM_NOYIELD) ||
         ::PeekMessageA(&msg, NULL, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_NOREMOVE | PM_NOYIELD))) {
        pThis->m_bInDialog = TRUE;
        int nResult = pThis->OnNotRespondingDialog(htaskCallee);
        pThis->m_bInDialog = FALSE;
        if (nResult != IDRETRY)
            return PENDINGMSG_CANCELCALL;
        // answered: the input that raised the box must not raise it again
        while (::PeekMessageA(&msg, NULL, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD) ||
               ::PeekMessageA(&msg, NULL, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE | PM_NOYIELD)) {
        }
    }
    return PENDINGMSG_WAITDEFPROCESS;
}
