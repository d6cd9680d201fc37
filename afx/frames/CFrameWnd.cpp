#include "afxwin.h"

#include <string.h>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ACTIVATE()
ON_WM_NCACTIVATE()
ON_WM_ENABLE()
ON_WM_INITMENUPOPUP()
ON_WM_MENUSELECT()
ON_WM_ENTERIDLE()
ON_WM_QUERYENDSESSION()
ON_WM_ENDSESSION()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, OnToolTipText)
ON_UPDATE_COMMAND_UI(ID_CONTEXT_HELP, OnUpdateContextHelp)
// the docking layer's handlers: bar toggles and key-state indicators
ON_UPDATE_COMMAND_UI_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, OnUpdateControlBarMenu)
ON_COMMAND_EX_RANGE(AFX_IDW_CONTROLBAR_FIRST, AFX_IDW_CONTROLBAR_LAST, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

namespace {

// hWnd is hWndParent or lies below it, following parents and owners.
BOOL IsDescendant(HWND hWndParent, HWND hWnd)
{
    for (; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        if (hWnd == hWndParent)
            return TRUE;
    }
    return FALSE;
}

// The parent of a child window, the owner of another.
HWND ParentOwner(HWND hWnd)
{
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)
        return ::GetParent(hWnd);
    return ::GetWindow(hWnd, GW_OWNER);
}

// Sets the window's text only when it differs (a title set again would flicker).
void SetWindowTextIfChanged(HWND hWnd, LPCTSTR lpszNew)
{
    char szOld[512];
    int nLength = ::GetWindowTextA(hWnd, szOld, (int)sizeof(szOld));
    if (nLength == (int)strlen(lpszNew) && strcmp(szOld, lpszNew) == 0)
        return;
    ::SetWindowTextA(hWnd, lpszNew);
}

BOOL IsComboBox(HWND hWnd)
{
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, (int)sizeof(szClass));
    return lstrcmpiA(szClass, "ComboBox") == 0;
}

} // namespace

void AFXAPI AfxCancelModes(HWND hWndRcvr)
{
    // a dropped-down list of a combo box (or its edit's combo box) closes when the input goes
    // elsewhere
    HWND hWndFocus = ::GetFocus();
    if (hWndFocus == NULL || hWndFocus == hWndRcvr)
        return;
    HWND hWndCombo = IsComboBox(hWndFocus) ? hWndFocus : ::GetParent(hWndFocus);
    if (hWndCombo == NULL || hWndCombo == hWndRcvr || !IsComboBox(hWndCombo))
        return;
    ::SendMessageA(hWndCombo, CB_SHOWDROPDOWN, FALSE, 0);
}

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_nWindow(-1), m_hMenuDefault(NULL), m_hAccelTable(NULL), m_dwPromptContext(0),
      m_bHelpMode(FALSE), m_nIDHelp(0), m_nIDTracking(0), m_nIDLastMessage(0), m_pViewActive(NULL), m_cModalStack(0),
      m_nIdleFlags(0), m_bInRecalcLayout(FALSE), m_rectBorder(0, 0, 0, 0), m_nShowDelay(-1), m_pFloatingFrameClass(NULL)
{
    // the thread's idle time reaches every frame (CWinThread::OnIdle)
    AfxGetThreadState()->m_frameList.AddTail(static_cast<CWnd*>(this));
}

CFrameWnd::~CFrameWnd()
{
    CPtrList& frames = AfxGetThreadState()->m_frameList;
    POSITION pos = frames.Find(static_cast<CWnd*>(this));
    if (pos != NULL)
        frames.RemoveAt(pos);
}

BOOL CFrameWnd::IsFrameWnd() const { return TRUE; }

// ---- CWnd's frame lookups ----------------------------------------------------------------------

CFrameWnd* CWnd::GetParentFrame() const
{
    if (m_hWnd == NULL)
        return NULL;
    for (CWnd* pParent = GetParent(); pParent != NULL; pParent = pParent->GetParent()) {
        if (pParent->IsFrameWnd())
            return static_cast<CFrameWnd*>(pParent);
    }
    return NULL;
}

CFrameWnd* CWnd::GetTopLevelFrame() const
{
    if (m_hWnd == NULL)
        return NULL;
    CWnd* pWnd = const_cast<CWnd*>(this);
    CFrameWnd* pFrame = IsFrameWnd() ? static_cast<CFrameWnd*>(pWnd) : GetParentFrame();
    for (CFrameWnd* pNext = pFrame != NULL ? pFrame->GetParentFrame() : NULL; pNext != NULL; pNext = pNext->GetParentFrame())
        pFrame = pNext;
    return pFrame;
}

// ---- creation ----------------------------------------------------------------------------------

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxEndDeferRegisterClass(AFX_WNDFRAMEORVIEW_CLASS))
            return FALSE;
        cs.lpszClass = AFX_WNDFRAMEORVIEW_CLASS;
    }
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       LPCTSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = NULL;
    if (lpszMenuName != NULL) {
        hMenu = ::LoadMenuA(AfxGetResourceHandle(), lpszMenuName);
        if (hMenu == NULL)
            hMenu = ::LoadMenuA(AfxGetInstanceHandle(), lpszMenuName);
        if (hMenu == NULL) {
            PostNcDestroy(); // the frame is cleaned up as if its window had been destroyed
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName != NULL ? lpszWindowName : "";
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), hMenu, (LPVOID)pContext)) {
        // the window was never made or is gone; the menu was not handed to it
        if (hMenu != NULL && ::IsMenu(hMenu))
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

LPCTSTR CFrameWnd::GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource)
{
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
    if (hIcon == NULL)
        return NULL;
    // the class the frame would use, with the frame's icon
    CREATESTRUCT cs;
    memset(&cs, 0, sizeof(cs));
    cs.style = (LONG)dwDefaultStyle;
    if (!PreCreateWindow(cs) || cs.lpszClass == NULL)
        return NULL;
    WNDCLASSA wndcls;
    if (!::GetClassInfoA(AfxGetInstanceHandle(), cs.lpszClass, &wndcls) || wndcls.hIcon == hIcon)
        return NULL;
    return AfxRegisterWndClass(wndcls.style, wndcls.hCursor, wndcls.hbrBackground, hIcon);
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    // the title is the first part of the resource's string
    CString strFull;
    if (strFull.LoadString(nIDResource))
        AfxExtractSubString(m_strTitle, strFull, 0);
    LPCTSTR lpszClass = GetIconWndClass(dwDefaultStyle, nIDResource);
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCEA(nIDResource), 0, pContext))
        return FALSE; // the frame is gone (PostNcDestroy)
    m_hMenuDefault = ::GetMenu(m_hWnd);
    LoadAccelTable(MAKEINTRESOURCEA(nIDResource));
    if (pContext == NULL)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCTSTR lpszResourceName)
{
    if (m_hAccelTable != NULL)
        return FALSE; // the frame has its table already
    m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), lpszResourceName);
    if (m_hAccelTable == NULL)
        m_hAccelTable = ::LoadAcceleratorsA(AfxGetInstanceHandle(), lpszResourceName);
    return m_hAccelTable != NULL;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs) { return OnCreateHelper(lpcs, (CCreateContext*)lpcs->lpCreateParams); }

int CFrameWnd::OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!OnCreateClient(lpcs, pContext))
        return -1;
    // the status line starts with the idle prompt
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext)
{
    if (pContext != NULL && pContext->m_pNewViewClass != NULL)
        return CreateView(pContext, AFX_IDW_PANE_FIRST) != NULL;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    if (pContext == NULL || pContext->m_pNewViewClass == NULL)
        return NULL;
    CWnd* pView = (CWnd*)pContext->m_pNewViewClass->CreateObject();
    if (pView == NULL)
        return NULL;
    // views are made with a border (which becomes their client edge)
    if (!pView->Create(NULL, NULL, AFX_WS_DEFAULT_VIEW, CRect(0, 0, 0, 0), this, nID, pContext))
        return NULL; // the view has cleaned itself up
    // the view's edge replaces the frame's
    if (pView->GetExStyle() & WS_EX_CLIENTEDGE)
        ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return pView;
}

void CFrameWnd::PostNcDestroy() { delete this; }

// ---- views and documents -----------------------------------------------------------------------

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* pViewOld = m_pViewActive;
    if (pViewNew == pViewOld)
        return;
    m_pViewActive = NULL;
    if (pViewOld != NULL)
        pViewOld->OnActivateView(FALSE, pViewNew, pViewOld);
    // a view that made another one active while it was deactivated keeps that
    if (m_pViewActive != NULL)
        return;
    m_pViewActive = pViewNew;
    if (pViewNew != NULL && bNotify)
        pViewNew->OnActivateView(TRUE, pViewNew, pViewOld);
}

CFrameWnd* CFrameWnd::GetActiveFrame() { return this; }

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* pView = GetActiveView();
    return pView != NULL ? pView->GetDocument() : NULL;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    // without an active view the first pane becomes the active view
    CView* pView = NULL;
    if (GetActiveView() == NULL) {
        CWnd* pWnd = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
        if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CView))) {
            pView = (CView*)pWnd;
            SetActiveView(pView, FALSE);
        }
    }
    if (bMakeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        if (pView != NULL)
            pView->OnActivateFrame(WA_INACTIVE, this); // a form remembers its focus
        // the main window is shown as the program was started (once)
        int nCmdShow = -1;
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && pApp->m_pMainWnd == this) {
            nCmdShow = pApp->m_nCmdShow;
            pApp->m_nCmdShow = -1;
        }
        ActivateFrame(nCmdShow);
        if (pView != NULL)
            pView->OnActivateView(TRUE, pView, pView);
    }
    if (pDoc != NULL)
        pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::BringToTop(int nCmdShow)
{
    if (nCmdShow == SW_HIDE || nCmdShow == SW_MINIMIZE || nCmdShow == SW_SHOWMINNOACTIVE || nCmdShow == SW_SHOWNA ||
        nCmdShow == SW_SHOWNOACTIVATE)
        return;
    ::BringWindowToTop(::GetLastActivePopup(m_hWnd));
}

void CFrameWnd::ActivateFrame(int nCmdShow)
{
    if (nCmdShow == -1) {
        if (!IsWindowVisible())
            nCmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            nCmdShow = SW_RESTORE;
    }
    BringToTop(nCmdShow);
    if (nCmdShow != -1) {
        ShowWindow(nCmdShow);
        BringToTop(nCmdShow);
    }
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CDocument* pDocument = GetActiveDocument();
    if (bAddToTitle && pDocument != NULL)
        UpdateFrameTitleForDocument(pDocument->GetTitle());
    else
        UpdateFrameTitleForDocument(NULL);
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCTSTR lpszDocName)
{
    // "Doc:n - Title" with FWS_PREFIXTITLE, else "Title - Doc:n"
    CString strDoc;
    if (lpszDocName != NULL) {
        strDoc = lpszDocName;
        if (m_nWindow > 0) {
            CString strNumber;
            strNumber.Format(":%d", m_nWindow);
            strDoc += strNumber;
        }
    }
    CString strText;
    if (GetStyle() & FWS_PREFIXTITLE)
        strText = lpszDocName != NULL ? strDoc + " - " + m_strTitle : m_strTitle;
    else
        strText = lpszDocName != NULL ? m_strTitle + " - " + strDoc : m_strTitle;
    SetWindowTextIfChanged(m_hWnd, strText);
}

void CFrameWnd::OnUpdateFrameMenu(HMENU hMenuAlt)
{
    if (hMenuAlt == NULL) {
        CDocument* pDoc = GetActiveDocument();
        if (pDoc != NULL)
            hMenuAlt = pDoc->GetDefaultMenu();
        if (hMenuAlt == NULL)
            hMenuAlt = m_hMenuDefault;
    }
    ::SetMenu(m_hWnd, hMenuAlt);
}

HACCEL CFrameWnd::GetDefaultAccelerator()
{
    HACCEL hAccel = m_hAccelTable;
    if (hAccel == NULL) {
        CDocument* pDoc = GetActiveDocument();
        if (pDoc != NULL)
            hAccel = pDoc->GetDefaultAccelerator();
    }
    return hAccel;
}

// ---- layout ------------------------------------------------------------------------------------

void CFrameWnd::RecalcLayout(BOOL bNotify)
{
    UNUSED(bNotify); // no in-place server layout to notify
    if (m_bInRecalcLayout)
        return;
    m_bInRecalcLayout = TRUE;
    // a layout asked for at idle time is done now
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (GetStyle() & FWS_SNAPTOBARS) {
        // the frame takes the size its bars need
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        CRect rectBars(0, 0, rect.Width(), rect.Height());
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rectBars, TRUE);
        CalcWindowRect(&rectBars);
        SetWindowPos(NULL, 0, 0, rectBars.Width(), rectBars.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::DelayRecalcLayout(BOOL bNotify) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (m_listControlBars.Find(pBar) == NULL)
        m_listControlBars.AddTail(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    POSITION pos = m_listControlBars.Find(pBar);
    if (pos != NULL)
        m_listControlBars.RemoveAt(pos);
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nShowDelay == SW_HIDE)
        ShowWindow(SW_HIDE);
    if (m_nIdleFlags & idleMenu) {
        m_nIdleFlags &= ~idleMenu;
        OnUpdateFrameMenu(NULL);
    }
    if (m_nIdleFlags & idleTitle)
        OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
        UpdateWindow();
    }
    // the status line catches up with the menu item being tracked
    if (m_nIDTracking != m_nIDLastMessage)
        SetMessageText(m_nIDTracking);
    m_nIdleFlags = 0;
    if (m_nShowDelay > SW_HIDE)
        ShowWindow(m_nShowDelay);
    m_nShowDelay = -1;
    return 0;
}

// ---- floating windows and the modal state --------------------------------------------------------

void CFrameWnd::NotifyFloatingWindows(DWORD dwFlags)
{
    CFrameWnd* pParent = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (pParent == NULL)
        return;
    if (dwFlags & (FS_DEACTIVATE | FS_ACTIVATE)) {
        // the top-level frame's caption follows
        BOOL bActivate = !(dwFlags & FS_DEACTIVATE);
        if (bActivate && pParent->IsWindowEnabled() && pParent != this) {
            m_nFlags |= WF_KEEPMINIACTIVE;
            pParent->SendMessage(WM_NCACTIVATE, TRUE);
            m_nFlags &= ~WF_KEEPMINIACTIVE;
        } else {
            pParent->SendMessage(WM_NCACTIVATE, FALSE);
        }
    }
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != pParent->m_hWnd && IsDescendant(pParent->m_hWnd, hWnd))
            ::SendMessageA(hWnd, WM_FLOATSTATUS, dwFlags, 0);
    }
}

void CFrameWnd::BeginModalState()
{
    if (++m_cModalStack > 1)
        return;
    // The windows the frame's top-level window owns (floating frames, modeless windows) are
    // disabled with it, unless they ask not to be (WM_DISABLEMODAL answers non-zero).
    CWnd* pParent = GetTopLevelParent();
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (hWnd != pParent->m_hWnd && ::IsWindowEnabled(hWnd) && CWnd::FromHandlePermanent(hWnd) != NULL &&
            IsDescendant(pParent->m_hWnd, hWnd) && ::SendMessageA(hWnd, WM_DISABLEMODAL, 0, 0) == 0) {
            ::EnableWindow(hWnd, FALSE);
            m_arrDisabledByModal.Add(hWnd);
        }
    }
}

void CFrameWnd::EndModalState()
{
    if (m_cModalStack == 0 || --m_cModalStack > 0)
        return;
    for (INT_PTR i = 0; i < m_arrDisabledByModal.GetSize(); i++) {
        HWND hWnd = (HWND)m_arrDisabledByModal[i];
        if (::IsWindow(hWnd))
            ::EnableWindow(hWnd, TRUE);
    }
    m_arrDisabledByModal.RemoveAll();
}

void CFrameWnd::OnEnable(BOOL bEnable)
{
    if (bEnable && (m_nFlags & WF_STAYDISABLED)) {
        EnableWindow(FALSE);
        ::SetFocus(NULL);
        return;
    }
    CWnd::OnEnable(bEnable);
    if (GetParent() != NULL)
        return; // only top-level frames carry the modal state
    // a modal dialog disabled the frame: its owned windows follow
    if (!bEnable && !InModalState()) {
        m_nFlags |= WF_MODALDISABLE;
        BeginModalState();
    } else if (bEnable && (m_nFlags & WF_MODALDISABLE)) {
        m_nFlags &= ~WF_MODALDISABLE;
        EndModalState();
        if (::GetActiveWindow() == m_hWnd)
            SendMessage(WM_ACTIVATE, WA_ACTIVE);
    }
    if (bEnable && (m_nFlags & WF_STAYACTIVE))
        SendMessage(WM_NCACTIVATE, TRUE);
    NotifyFloatingWindows(bEnable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    // The top-level frame stays active (its caption) while one of its floating frames is
    // active.
    CFrameWnd* pTopLevel = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    CWnd* pActive = nState == WA_INACTIVE ? pWndOther : this;
    BOOL bStayActive = pActive != NULL && pTopLevel != NULL &&
                       (pTopLevel == pActive ||
                        (pTopLevel == pActive->GetTopLevelFrame() && pActive->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE) != 0));
    if (pTopLevel != NULL) {
        pTopLevel->m_nFlags &= ~WF_STAYACTIVE;
        if (bStayActive)
            pTopLevel->m_nFlags |= WF_STAYACTIVE;
    }
    NotifyFloatingWindows(bStayActive ? FS_ACTIVATE : FS_DEACTIVATE);

    CView* pActiveView = GetActiveView();
    if (pActiveView == NULL) {
        CFrameWnd* pActiveFrame = GetActiveFrame();
        if (pActiveFrame != NULL)
            pActiveView = pActiveFrame->GetActiveView();
    }
    if (pActiveView != NULL) {
        if (nState != WA_INACTIVE && !bMinimized)
            pActiveView->OnActivateView(TRUE, pActiveView, pActiveView);
        pActiveView->OnActivateFrame(nState, this);
    }
}

BOOL CFrameWnd::OnNcActivate(BOOL bActive)
{
    // the caption stays active for the frame's floating frames, never while disabled
    if (m_nFlags & WF_STAYACTIVE)
        bActive = TRUE;
    if (!IsWindowEnabled())
        bActive = FALSE;
    return (BOOL)DefWindowProc(WM_NCACTIVATE, bActive, 0);
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pViewActive != NULL && m_pViewActive->m_hWnd != NULL)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

// ---- closing -----------------------------------------------------------------------------------

void CFrameWnd::OnClose()
{
    CDocument* pDocument = GetActiveDocument();
    if (pDocument != NULL && !pDocument->CanCloseFrame(this))
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this) {
        // the main window saves and closes every document
        if (pDocument == NULL && !pApp->SaveAllModified())
            return;
        pApp->HideApplication();
        pApp->CloseAllDocuments(FALSE);
        // Objects that others still use (automation) keep the program: the main window stays,
        // hidden (or is gone with its documents), and the program is no longer in the user's
        // control, so it ends when the last of them is released.
        if (AfxGetModuleState()->m_nObjectCount != 0) {
            AfxGetModuleState()->m_bUserCtrl = FALSE;
            return;
        }
        // Closing the documents may have taken the main window with it.
        if (pApp->m_pMainWnd == NULL) {
            if (!AfxGetModuleState()->m_bDLL)
                AfxPostQuitMessage(0);
            return;
        }
        // the documents are closed: the one read before may be gone
        pDocument = GetActiveDocument();
    }
    // The last frame of a document closes the document (which destroys the frame).
    if (pDocument != NULL && pDocument->m_bAutoDelete) {
        BOOL bOtherFrame = FALSE;
        for (POSITION pos = pDocument->GetFirstViewPosition(); pos != NULL;) {
            if (pDocument->GetNextView(pos)->GetParentFrame() != this) {
                bOtherFrame = TRUE;
                break;
            }
        }
        if (!bOtherFrame) {
            pDocument->OnCloseDocument();
            return;
        }
        pDocument->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    // the dock bars and the floating frames (with the bars in them) go first
    DestroyDockBars();
    // the menu of the frame's creation goes with the window
    if (m_hMenuDefault != NULL && ::GetMenu(m_hWnd) != m_hMenuDefault)
        ::SetMenu(m_hWnd, m_hMenuDefault);
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        ::WinHelpA(m_hWnd, NULL, HELP_QUIT, 0); // a help window of the program closes with it
    CWnd::OnDestroy();
}

BOOL CFrameWnd::OnQueryEndSession()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        return pApp->SaveAllModified();
    return TRUE;
}

void CFrameWnd::OnEndSession(BOOL bEnding)
{
    if (!bEnding)
        return;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this) {
        pApp->CloseAllDocuments(TRUE);
        pApp->ExitInstance(); // the program's settings are saved; the process ends with the session
    }
}

void CFrameWnd::OnSysColorChange()
{
    Default();
    // the library's shared colours follow the system's once, through the main window
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        afxData.UpdateSysColors();
    // controls need the message too, and only top-level windows get it from the system
    if (!(GetStyle() & WS_CHILD))
        SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, TRUE);
}

void CFrameWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    Default();
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_pMainWnd == this)
        afxData.UpdateSysMetrics();
    if (!(GetStyle() & WS_CHILD)) {
        const MSG* pMsg = GetCurrentMessage();
        SendMessageToDescendants(pMsg->message, uFlags, (LPARAM)lpszSection, TRUE, TRUE);
    }
    DelayRecalcLayout(); // bars may have changed their sizes
}

// ---- menus and the status line -------------------------------------------------------------------

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu)
{
    UNUSED(nIndex);
    AfxCancelModes(m_hWnd);
    if (bSysMenu)
        return; // the system menu keeps its own states
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = pMenu->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0)
            continue; // a separator
        if (state.m_nID == (UINT)-1) {
            // a popup: its first item's command decides (popups are never disabled for want
            // of a handler)
            state.m_pSubMenu = pMenu->GetSubMenu((int)state.m_nIndex);
            if (state.m_pSubMenu == NULL || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == (UINT)-1)
                continue;
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = NULL;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // an update handler may have removed or added items
        UINT nCount = pMenu->GetMenuItemCount();
        if (nCount < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - nCount);
            while (state.m_nIndex < nCount && pMenu->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                state.m_nIndex++;
        }
        state.m_nIndexMax = nCount;
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    UNUSED(hSysMenu);
    CFrameWnd* pFrameWnd = GetTopLevelFrame();
    if (pFrameWnd == NULL)
        pFrameWnd = this;
    if (nFlags == 0xFFFF) {
        // the menu closed: back to the idle prompt at once
        m_nFlags &= ~WF_NOPOPMSG;
        m_nIDTracking = pFrameWnd->m_bHelpMode ? AFX_IDS_HELPMODEMESSAGE : AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, (WPARAM)m_nIDTracking);
        CWnd* pBar = GetMessageBar();
        if (pBar != NULL)
            pBar->UpdateWindow();
    } else {
        if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP)))
            m_nIDTracking = 0; // nothing to show
        else if (nItemID >= 0xF000 && nItemID < 0xF1F0)
            m_nIDTracking = ((nItemID - 0xF000) >> 4) + AFX_IDS_SCFIRST; // system commands
        else if (nItemID >= AFX_IDM_FIRST_MDICHILD)
            m_nIDTracking = AFX_IDS_MDICHILD; // the window menu's list of children
        else
            m_nIDTracking = nItemID; // shown at the next idle time
        pFrameWnd->m_nFlags |= WF_NOPOPMSG;
    }
    // a frame inside another window has no idle time of its own while the menu runs
    if (m_nIDTracking != m_nIDLastMessage && GetParent() != NULL)
        PostMessage(WM_KICKIDLE);
}

void CFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    UNUSED(pWho);
    // the menu loop's idle time: the status line follows the item being tracked
    if (nWhy != MSGF_MENU || m_nIDTracking == m_nIDLastMessage)
        return;
    SetMessageText(m_nIDTracking);
}

BOOL CFrameWnd::IsTracking() const
{
    return m_nIDTracking != 0 && m_nIDTracking != AFX_IDS_HELPMODEMESSAGE && m_nIDTracking != AFX_IDS_IDLEMESSAGE;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    CString strFull;
    AfxLoadString(nID, strFull);
    AfxExtractSubString(rMessage, strFull, 0);
}

void CFrameWnd::SetMessageText(LPCTSTR lpszText) { SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)lpszText); }

void CFrameWnd::SetMessageText(UINT nID) { SendMessage(WM_SETMESSAGESTRING, (WPARAM)nID); }

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT nIDLast = m_nIDLastMessage;
    CWnd* pMessageBar = GetMessageBar();
    if (pMessageBar != NULL) {
        // an explicit text, or the first part of the command's string
        CString strMessage;
        if (lParam != 0)
            strMessage = (LPCTSTR)lParam;
        else if (wParam != 0)
            GetMessageString((UINT)wParam, strMessage);
        pMessageBar->SetWindowText(strMessage);
        // the bar may belong to another frame (the top-level one of a child frame)
        CFrameWnd* pBarFrame = pMessageBar->GetParentFrame();
        if (pBarFrame != NULL && pBarFrame != this) {
            pBarFrame->m_nIDLastMessage = (UINT)wParam;
            pBarFrame->m_nIDTracking = (UINT)wParam;
        }
    }
    m_nIDLastMessage = (UINT)wParam;
    m_nIDTracking = (UINT)wParam;
    return nIDLast;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    // a menu being tracked keeps its text
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

BOOL CFrameWnd::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    // The tool is a command id, or a window whose control id is the command.
    TOOLTIPTEXTA* pTTTA = (TOOLTIPTEXTA*)pNMHDR;
    TOOLTIPTEXTW* pTTTW = (TOOLTIPTEXTW*)pNMHDR;
    UINT uFlags = pNMHDR->code == TTN_NEEDTEXTA ? pTTTA->uFlags : pTTTW->uFlags;
    UINT_PTR nID = pNMHDR->idFrom;
    if (uFlags & TTF_IDISHWND)
        nID = (UINT)(WORD)::GetDlgCtrlID((HWND)nID);
    CString strTipText;
    if (nID != 0) {
        CString strFull;
        AfxLoadString((UINT)nID, strFull);
        AfxExtractSubString(strTipText, strFull, 1);
    }
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        lstrcpynA(pTTTA->szText, strTipText, (int)(sizeof(pTTTA->szText) / sizeof(pTTTA->szText[0])));
        pTTTA->lpszText = pTTTA->szText;
    } else {
        int nChars = ::MultiByteToWideChar(CP_ACP, 0, strTipText, -1, pTTTW->szText,
                                           (int)(sizeof(pTTTW->szText) / sizeof(pTTTW->szText[0])));
        if (nChars == 0)
            pTTTW->szText[0] = L'\0';
        pTTTW->szText[sizeof(pTTTW->szText) / sizeof(pTTTW->szText[0]) - 1] = L'\0';
        pTTTW->lpszText = pTTTW->szText;
    }
    *pResult = 0;
    // the tip shows above other popups
    ::SetWindowPos(pNMHDR->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE | SWP_NOOWNERZORDER);
    return TRUE;
}

// ---- translation and routing ---------------------------------------------------------------------

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    // a click elsewhere closes an open combo-box list
    if (pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_NCLBUTTONDOWN)
        AfxCancelModes(pMsg->hwnd);
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE; // tooltips
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        HACCEL hAccel = GetDefaultAccelerator();
        return hAccel != NULL && ::TranslateAcceleratorA(m_hWnd, hAccel, pMsg);
    }
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // the active view first (it passes the command on to its document), then the frame, then
    // the application
    CView* pView = GetActiveView();
    if (pView != NULL && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = (HWND)lParam;
    CFrameWnd* pFrameWnd = GetTopLevelFrame();
    if (pFrameWnd != NULL && pFrameWnd->m_bHelpMode && hWndCtrl == NULL && nID != ID_HELP && nID != ID_DEFAULT_HELP &&
        nID != ID_CONTEXT_HELP) {
        // in context help mode a command shows its help instead of running
        pFrameWnd->ExitHelpMode();
        if (!SendMessage(WM_COMMANDHELP, 0, HID_BASE_COMMAND + nID))
            SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

// ---- help --------------------------------------------------------------------------------------

LRESULT CFrameWnd::OnCommandHelp(WPARAM, LPARAM lParam)
{
    // without a context: the menu item being tracked, else the frame's own
    if (lParam == 0)
        lParam = IsTracking() ? HID_BASE_COMMAND + m_nIDTracking : (m_nIDHelp != 0 ? HID_BASE_RESOURCE + m_nIDHelp : 0);
    if (lParam == 0)
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->WinHelp((DWORD_PTR)lParam);
    return TRUE;
}

LRESULT CFrameWnd::OnHelpHitTest(WPARAM, LPARAM) { return m_nIDHelp != 0 ? HID_BASE_RESOURCE + m_nIDHelp : 0; }

void CFrameWnd::OnHelpFinder()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->WinHelp(0, HELP_FINDER);
}

void CFrameWnd::OnHelp()
{
    if (m_dwPromptContext != 0) {
        // a message box is up: its prompt's help (unless the help itself failed)
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL && m_dwPromptContext != HID_BASE_PROMPT + AFX_IDP_FAILED_TO_LAUNCH_HELP)
            pApp->WinHelp(m_dwPromptContext);
        return;
    }
    // the window that tracks the mouse, has the focus or is active may know its context
    // (WM_COMMANDHELP), from it up through its parents and owners
    CWnd* pTop = GetTopLevelParent();
    HWND ahStart[3] = {::GetCapture(), ::GetFocus(), ::GetLastActivePopup(pTop != NULL ? pTop->m_hWnd : m_hWnd)};
    for (HWND hWndStart : ahStart) {
        for (HWND hWnd = hWndStart; hWnd != NULL; hWnd = ParentOwner(hWnd)) {
            if (::SendMessageA(hWnd, WM_COMMANDHELP, 0, 0))
                return;
        }
    }
    SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
}

BOOL CFrameWnd::CanEnterHelpMode() { return TRUE; }

void CFrameWnd::ExitHelpMode() { m_bHelpMode = FALSE; }

void CFrameWnd::OnUpdateContextHelp(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bHelpMode); }

DWORD CFrameWnd::MapHelpContext(HWND hWndHit, POINT ptScreen)
{
    if (hWndHit == NULL || !IsDescendant(m_hWnd, hWndHit))
        return 0; // outside the program's window: no help
    // the non-client areas of the frame have contexts of their own
    if (hWndHit == m_hWnd) {
        LRESULT nHit = ::SendMessageA(m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y));
        if (nHit != HTCLIENT && nHit != HTNOWHERE && nHit > 0)
            return HID_BASE_NCAREAS + (DWORD)nHit;
    }
    // the window and its parents are asked in turn (WM_HELPHITTEST, client coordinates)
    for (HWND hWnd = hWndHit; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        POINT pt = ptScreen;
        ::ScreenToClient(hWnd, &pt);
        DWORD dwContext = (DWORD)::SendMessageA(hWnd, WM_HELPHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        if (dwContext != 0)
            return dwContext;
        if (hWnd == m_hWnd)
            break;
    }
    return (DWORD)-1; // the default help
}

void CFrameWnd::OnContextHelp()
{
    if (m_bHelpMode || !CanEnterHelpMode())
        return;
    m_bHelpMode = TRUE;
    SendMessage(WM_SETMESSAGESTRING, AFX_IDS_HELPMODEMESSAGE);
    HCURSOR hcurHelp = ::LoadCursorA(NULL, (LPCSTR)IDC_HELP);
    if (hcurHelp == NULL)
        hcurHelp = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    HCURSOR hcurOld = ::SetCursor(hcurHelp);
    SetCapture();

    // The next click picks the object; Escape, losing the mouse or a command in help mode
    // (OnCommand) ends the mode.
    DWORD dwContext = 0;
    MSG msg;
    while (m_bHelpMode) {
        if (::GetCapture() != m_hWnd)
            break;
        if (!::GetMessageA(&msg, NULL, 0, 0)) {
            AfxPostQuitMessage((int)msg.wParam);
            break;
        }
        if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) {
            POINT pt = {(short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam)};
            if (msg.message != WM_NCLBUTTONDOWN)
                ::ClientToScreen(msg.hwnd, &pt);
            if (msg.message == WM_RBUTTONDOWN)
                break; // the right button cancels
            dwContext = MapHelpContext(::WindowFromPoint(pt), pt);
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE || msg.message == WM_SETCURSOR) {
            ::SetCursor(hcurHelp);
            continue;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST)
            continue; // other mouse input is dropped in help mode
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    m_bHelpMode = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::SetCursor(hcurOld);
    SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    if (dwContext == (DWORD)-1) {
        SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
    } else if (dwContext != 0) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != NULL)
            pApp->WinHelp(dwContext);
    }
}
