// A frame window: the window around a document's views, with the menu, the accelerators, the
// control bars and the status line.
//
// Creation: LoadFrame takes the title (the first part of string nIDResource), the menu, the icon
// and the accelerators of resource nIDResource; OnCreateClient makes the view of the creation
// context (pane id AFX_IDW_PANE_FIRST). InitialUpdateFrame sends WM_INITIALUPDATE to the views,
// activates the first view and shows the frame. The frame lives on the heap and deletes itself
// when its window is gone.
//
// Layout: RecalcLayout gives the control bars (children with ids from AFX_IDW_CONTROLBAR_FIRST,
// asked through WM_SIZEPARENT) their places and the pane AFX_IDW_PANE_FIRST the rest;
// DelayRecalcLayout leaves that to the next idle time (WM_IDLEUPDATECMDUI), as the window-size
// and bar changes do.
//
// Commands: OnCmdMsg offers a command to the active view (which passes it on to its document and
// template), then to the frame, then to the application. Menus opening get their items' state
// from the update handlers (m_bAutoMenuEnable: items without a handler are disabled). The
// status line (the child AFX_IDW_STATUS_BAR) shows the first part of a command's string while
// its menu item is selected, and the idle prompt (AFX_IDS_IDLEMESSAGE) otherwise. Tooltips of the
// frame's windows get the second part of the command's string (TTN_NEEDTEXT).
//
// Control bars register in m_listControlBars. Docking: EnableDocking gives the frame a dock bar
// on each side asked for (AFX_IDW_DOCKBAR_TOP, _BOTTOM, _LEFT, _RIGHT, made in that order) and
// makes CMiniDockFrameWnd its floating-frame class; DockControlBar puts a bar into a dock bar,
// FloatControlBar into a floating frame of its own; ShowControlBar shows and hides a bar (the
// commands AFX_IDW_CONTROLBAR_FIRST..LAST toggle the bar with that id and check their menu items);
// Get/SetDockState and Save/LoadBarState take the bars' layout and apply it again. These members
// are defined by the docking layer; the frame destroys its dock bars and floating frames when it
// is destroyed.
#pragma once

#include "CWnd.h"
#include "CPtrList.h"
#include "CPtrArray.h"
#include "CString.h"
#include "CRect.h"
#include "CPoint.h"
#include "AfxBarStyles.h"

class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;
class CDocument;
class CView;
struct CCreateContext;

// Styles of frames (in the low word of the window style, which overlapped windows leave free).
#define FWS_ADDTOTITLE 0x00008000L   // the active document's title goes into the frame's title
#define FWS_PREFIXTITLE 0x00004000L  // the document's title comes first ("Doc - App")
#define FWS_SNAPTOBARS 0x00002000L   // the frame takes the size of its bars (floating frames)

// WM_FLOATSTATUS: what a frame tells the floating frames it owns (wParam).
#define FS_SHOW 0x01
#define FS_HIDE 0x02
#define FS_ACTIVATE 0x04
#define FS_DEACTIVATE 0x08
#define FS_ENABLE 0x10
#define FS_DISABLE 0x20
#define FS_SYNCACTIVE 0x40

// Help contexts that the frames hand to WinHelp.
#define HID_BASE_COMMAND 0x00010000UL  // + command id
#define HID_BASE_RESOURCE 0x00020000UL // + resource id (frames, dialogs)
#define HID_BASE_PROMPT 0x00030000UL   // + prompt id (message boxes)
#define HID_BASE_NCAREAS 0x00040000UL  // + hit code of the non-client area
#define HID_BASE_CONTROL 0x00050000UL  // + control id

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    virtual ~CFrameWnd();

    static const CRect rectDefault; // the system's default position and size

    // lpszMenuName: the menu resource (NULL for none). The frame takes the window styles as
    // they are (WS_OVERLAPPEDWINDOW for a main window).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCTSTR lpszMenuName = NULL, DWORD dwExStyle = 0,
                CCreateContext* pContext = NULL);
    // The frame from resource nIDResource (title string, menu, icon, accelerators). Without a
    // context the views are told WM_INITIALUPDATE at once.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    BOOL LoadAccelTable(LPCTSTR lpszResourceName);
    // A view of pContext->m_pNewViewClass with the id nID (the view's frame and document come from
    // the context); NULL when it could not be made.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // ---- views and documents ----
    CView* GetActiveView() const { return m_pViewActive; }
    // bNotify: the views are told (OnActivateView); a view that moves the activation elsewhere
    // while it is deactivated keeps it there.
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    // This frame (an MDI frame answers its active child).
    virtual CFrameWnd* GetActiveFrame();
    virtual CDocument* GetActiveDocument();
    // First update of the frame's views and, with bMakeVisible, the frame shown and activated.
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Shows the frame (nCmdShow -1: restores or shows it as needed) and brings it to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    // The frame's title from its document (see FWS_ADDTOTITLE).
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // The frame's menu: hMenuAlt, else the active document's, else the frame's default menu.
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    virtual HACCEL GetDefaultAccelerator();
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    // ---- layout ----
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // The layout happens at the next idle time (bNotify is passed on to RecalcLayout then).
    void DelayRecalcLayout(BOOL bNotify = TRUE);
    // Control bars: the docking layer's bars add and remove themselves.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    // ---- docking (defined by the docking layer) ----
    // Makes a dock bar for each side of dwDockStyle (CBRS_ALIGN_...) the frame lacks.
    void EnableDocking(DWORD dwDockStyle);
    // Docks pBar into the dock bar nDockBarID (0: the one of the bar's alignment) at lpRect
    // (screen coordinates; NULL: a new last row).
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    // Docks a floating pBar back where it was docked (the dock bar keeping its placeholder, else
    // the one of its alignment).
    void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
    // Floats pBar in a floating frame at point (screen coordinates of the frame's corner).
    void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
    // The frame's bar with the id (the first one), or NULL.
    CControlBar* GetControlBar(UINT nID);
    // Shows or hides pBar now or (bDelay) at the next idle time, with its floating frame.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The style (sides) of the first visible dock bar of the frame that rect (screen
    // coordinates) touches and that takes a bar of dwDockStyle; 0 for none.
    DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = NULL);
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
    void LoadBarState(LPCTSTR lpszProfileName);
    void SaveBarState(LPCTSTR lpszProfileName) const;
    void SetDockState(const CDockState& state);
    void GetDockState(CDockState& state) const;
    // Destroys the dock bars and the floating frames (with the bars in them).
    void DestroyDockBars();
    // The dock bars' ids and styles in the order EnableDocking makes them.
    static const DWORD dwDockBarMap[4][2];

    // The status line (the descendant AFX_IDW_STATUS_BAR with a permanent object), or NULL.
    virtual CWnd* GetMessageBar();
    // Sends WM_FLOATSTATUS with dwFlags to the floating frames the frame's top-level window owns.
    void NotifyFloatingWindows(DWORD dwFlags);
    // The frame's owned windows are disabled while a modal dialog runs (and enabled again).
    void BeginModalState();
    void EndModalState();
    BOOL InModalState() const { return m_cModalStack > 0; }

    // ---- status line ----
    // The first part of the command's string (before '\n'); empty when it has none.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);
    // A menu item is being tracked (its text shows in the status line).
    BOOL IsTracking() const;

    // ---- messages and commands ----
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();
    virtual BOOL IsFrameWnd() const;
    // Makes the view of the context (OnCreateClient of a splitter frame makes the splitter).
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // Context help mode (Shift+F1): the next click picks the object whose help is shown.
    void ExitHelpMode();
    virtual BOOL CanEnterHelpMode();

    // ---- state (MFC's member names) ----
    BOOL m_bAutoMenuEnable;   // menu items without a handler are disabled
    int m_nWindow;            // the frame's number among its document's frames (0: the only one)
    HMENU m_hMenuDefault;     // the menu of LoadFrame
    HACCEL m_hAccelTable;
    DWORD m_dwPromptContext;  // help context of the message box being shown
    BOOL m_bHelpMode;         // in context help mode
    UINT m_nIDHelp;           // the frame's resource id (help context HID_BASE_RESOURCE + id)
    UINT m_nIDTracking;       // the command whose text the status line should show
    UINT m_nIDLastMessage;    // the command whose text it shows
    CView* m_pViewActive;
    int m_cModalStack;
    UINT m_nIdleFlags;        // idle work to do: idleMenu, idleTitle, idleNotify, idleLayout
    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    BOOL m_bInRecalcLayout;
    CRect m_rectBorder;       // room kept free around the pane
    CPtrList m_listControlBars;
    int m_nShowDelay;         // SW_ command for the next idle time, -1 for none
    CRuntimeClass* m_pFloatingFrameClass;
    CString m_strTitle;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg BOOL OnQueryEndSession();
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    // ID_HELP_FINDER/ID_DEFAULT_HELP, ID_HELP (F1), ID_CONTEXT_HELP (Shift+F1).
    afx_msg void OnHelpFinder();
    afx_msg void OnHelp();
    afx_msg void OnContextHelp();
    afx_msg void OnUpdateContextHelp(CCmdUI* pCmdUI);
    // The bar toggles AFX_IDW_CONTROLBAR_FIRST..LAST and the key-state indicators.
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);

protected:
    CPtrArray m_arrDisabledByModal; // the windows BeginModalState disabled
    // WM_CREATE with the creation context.
    int OnCreateHelper(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // The window class of LoadFrame: the default class with the frame's icon nIDResource.
    LPCTSTR GetIconWndClass(DWORD dwDefaultStyle, UINT nIDResource);
    void UpdateFrameTitleForDocument(LPCTSTR lpszDocName);
    void BringToTop(int nCmdShow);
    // The help context of the window at the point of a context-help click (0: none).
    DWORD MapHelpContext(HWND hWnd, POINT ptScreen);

    DECLARE_MESSAGE_MAP()
};

// Ends the tracking modes of the window that has the focus (a dropped-down list), unless it is
// hWndRcvr or one of its children.
void AFXAPI AfxCancelModes(HWND hWndRcvr);
