// A window: a C++ object attached to a Windows window (HWND).
//
// Creating a window through Create/CreateEx (or a dialog through CDialog) makes this object the
// window's permanent object and routes the window's messages through the library's window
// procedure: WindowProc → OnWndMsg → the message map (commands through OnCommand/OnCmdMsg,
// notifications through OnNotify) → DefWindowProc, which calls the window procedure the window had
// before (its class's). SubclassWindow does the same for an existing window; Attach only makes the
// object the window's permanent object (its messages stay with its own procedure).
//
// Handle maps, one set per thread (as windows belong to threads): FromHandle of a handle without
// a permanent object makes a temporary CWnd that lives until the thread's next idle time
// (CWinThread::OnIdle) or DeleteTempMap; callers must not keep it beyond that.
//
// When the window is destroyed (WM_NCDESTROY) the object is detached and PostNcDestroy runs; a
// class whose objects live on the heap deletes itself there.
#pragma once

#include "CCmdTarget.h"
#include "CString.h"
#include "CRect.h"

class CDC;
class CMenu;
class CFont;
class CScrollBar;
class CListBox;
class CDataExchange;
class CFrameWnd;
class CFile;
struct CCreateContext;

// m_nFlags of a window.
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010
#define WF_STAYACTIVE 0x0020
#define WF_NOPOPMSG 0x0040
#define WF_MODALDISABLE 0x0080
#define WF_OLECTLCONTAINER 0x0100
#define WF_KEEPMINIACTIVE 0x0200

// A tool (OnToolHitTest) that is no button.
#ifndef TTF_NOTBUTTON
#define TTF_NOTBUTTON 0x80000000L
#endif

// Flags of RunModalLoop.
#define MLF_NOIDLEMSG 0x0001  // no WM_ENTERIDLE to the parent
#define MLF_NOKICKIDLE 0x0002 // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE 0x0004 // show the window when the loop first becomes idle

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    // Destroys the window when it is still attached as this object's permanent window.
    virtual ~CWnd();

    HWND m_hWnd;
    operator HWND() const { return m_hWnd; }
    BOOL operator==(const CWnd& wnd) const { return wnd.m_hWnd == m_hWnd; }
    BOOL operator!=(const CWnd& wnd) const { return wnd.m_hWnd != m_hWnd; }
    // m_hWnd, or NULL when called through a NULL pointer.
    HWND GetSafeHwnd() const;

    UINT m_nFlags;      // WF_...
    HWND m_hWndOwner;   // the owner given at creation (GetOwner), or NULL
    WNDPROC m_pfnSuper; // the window procedure that DefWindowProc calls

    // ---- handle maps ----
    // The permanent object of the handle, else a temporary one; NULL for NULL.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    // The permanent object of the handle, or NULL.
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    // Deletes the calling thread's temporary objects (their windows stay).
    static void PASCAL DeleteTempMap();

    // Makes this object the permanent object of the window; FALSE for NULL or when this object
    // already has a window.
    BOOL Attach(HWND hWndNew);
    // Ends the attachment and returns the handle (the window stays).
    HWND Detach();

    // ---- subclassing ----
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Gives the window its former procedure back and detaches it.
    HWND UnsubclassWindow();
    // Where the window procedure that DefWindowProc calls is kept.
    virtual WNDPROC* GetSuperWndProcAddr();
    // Called before the window is subclassed (also for windows made by Create).
    virtual void PreSubclassWindow();

    // ---- creation and destruction ----
    // A child window (WS_CHILD is added).
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID, CCreateContext* pContext = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y, int nWidth,
                  int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = NULL);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = NULL);
    // Lets a class change the creation data; without a class name the library's default class is
    // used. FALSE stops the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Destroys the window. A window whose messages pass through this object is detached when
    // WM_NCDESTROY arrives (and PostNcDestroy may delete the object); any other is detached here.
    virtual BOOL DestroyWindow();
    // Called after the window was destroyed and detached; nothing by default.
    virtual void PostNcDestroy();
    // Adjusts a client rectangle to the window rectangle.
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0);

    // ---- messages ----
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Finds and calls the handler of the message; FALSE when there is none.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A control's chance to handle the notification it sent to its parent (reflection).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Reflects the message being handled to the permanent object of hWndChild.
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = NULL);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = NULL);
    // Passes the message being handled to DefWindowProc.
    LRESULT Default();
    // The message being handled (with the time and cursor position of now).
    static const MSG* PASCAL GetCurrentMessage();

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers pMsg to PreTranslateMessage of the permanent objects from its window up to hWndStop;
    // TRUE when one of them took it.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Sends the message to the children (bDeep: all descendants); with bOnlyPerm only to windows
    // with a permanent object, whose WindowProc is called directly.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE);
    static void PASCAL SendMessageToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                                BOOL bOnlyPerm);

    // Updates the state of the dialog's controls through the update handlers of pTarget (and of
    // the controls themselves); with bDisableIfNoHndler push buttons without a handler are
    // disabled.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
    // Applies the dialog initialisation data (resource type 240, DLGINIT) of the resource to the
    // window's controls (the strings of list and combo boxes), then sends WM_INITIALUPDATE to the
    // children. TRUE also without such data; FALSE when a control refused a string or the data
    // are damaged (the form in memory is trusted to end with its terminating 0). Records of OLE
    // controls are left to the control container.
    BOOL ExecuteDlgInit(LPCTSTR lpszResourceName);
    BOOL ExecuteDlgInit(LPVOID lpResource);

    // ---- modal loop ----
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);
    int m_nModalResult;

    // ---- dialog data ----
    // Moves data between the controls and the members (bSaveAndValidate: from the controls);
    // FALSE when a value was refused (the user has been told).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // ---- relations ----
    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    CWnd* GetOwner() const;
    void SetOwner(CWnd* pOwnerWnd);
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    CWnd* GetParentOwner() const;
    // The window that should own a box or dialog: pParent's top-level parent, else the main window,
    // never a child window.
    static CWnd* PASCAL GetSafeOwner(CWnd* pParent = NULL, HWND* pWndTop = NULL);
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    // The descendant with the id (searching children first, then deeper), optionally only one with
    // a permanent object; NULL when there is none.
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const;
    CWnd* GetTopWindow() const;
    CWnd* GetLastActivePopup() const;
    BOOL IsChild(const CWnd* pWnd) const;
    CWnd* ChildWindowFromPoint(POINT point) const;
    static CWnd* PASCAL WindowFromPoint(POINT point);
    static CWnd* PASCAL GetDesktopWindow();
    static CWnd* PASCAL FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName);

    // ---- state and style ----
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;

    // ---- size and position ----
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const;
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const;
    void CenterWindow(CWnd* pAlternateOwner = NULL);
    void BringWindowToTop();

    // ---- painting ----
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(LPPAINTSTRUCT lpPaint);
    void UpdateWindow();
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    BOOL RedrawWindow(LPCRECT lpRectUpdate = NULL, HRGN hrgnUpdate = NULL,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE);

    // ---- texts and fonts ----
    void SetWindowText(LPCTSTR lpszString);
    // Copies at most nMaxCount - 1 characters and a NUL; answers the number copied.
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    CFont* GetFont() const;

    // ---- dialog items ----
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = NULL, BOOL bSigned = TRUE) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);

    // ---- focus, capture, activation, timers ----
    // The window that has the keyboard focus (a temporary object when it has no permanent one).
    static CWnd* PASCAL GetFocus();
    // Gives the focus to this window; answers the window that had it, or NULL.
    CWnd* SetFocus();
    static CWnd* PASCAL GetCapture();
    CWnd* SetCapture();
    static CWnd* PASCAL GetActiveWindow();
    CWnd* SetActiveWindow();
    static CWnd* PASCAL GetForegroundWindow();
    BOOL SetForegroundWindow();
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // ---- scrolling ----
    int GetScrollPos(int nBar) const;
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    // The largest position the bar can take (the range's end minus the page plus one).
    int GetScrollLimit(int nBar);
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
    void ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect = NULL, LPCRECT lpClipRect = NULL);

    // ---- menus ----
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;

    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = NULL, UINT nType = MB_OK);

    // ---- frames and their layout ----
    // TRUE for frame windows (the frame layer's CFrameWnd and the classes derived from it).
    virtual BOOL IsFrameWnd() const;
    // The nearest frame window among the parents, and the frame at the top of the parent chain
    // (this window when it is a frame with no frame above it). The frame layer defines them.
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    // Control bars and the pane of a frame: every child with an id from nIDFirst to nIDLast and
    // a permanent object is asked to take its part of the client rectangle (WM_SIZEPARENT with
    // an AFX_SIZEPARENTPARAMS); the child nIDLeftOver gets what remains (less *lpRectParam with
    // reposExtra). reposQuery moves nothing and answers the remaining rectangle in *lpRectParam
    // (with bStretch FALSE the size the bars need). lpRectClient replaces the client rectangle.
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault, LPRECT lpRectParam = NULL,
                        LPCRECT lpRectClient = NULL, BOOL bStretch = TRUE);
    // The scroll-bar control that scrolls this window in place of its own bar (a splitter's shared
    // bar), or NULL.
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;
    // The placement of the window; the record's length is set to the system's size (a stored
    // record may carry another).
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl);

    // ---- help ----
    // Ends the tracking modes of the top-level window and calls the system's help with the
    // application's help file; a help program that cannot be started is reported
    // (AFX_IDP_FAILED_TO_LAUNCH_HELP). dwData is pointer-sized (HELP_KEY passes a string).
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // ---- dialog initialisation data ----
    // The walk of ExecuteDlgInit over data of at most cbResource bytes.
    BOOL ExecuteDlgInitData(const void* lpResource, DWORD cbResource);
    // Creates this window from a dialog template with the library's dialog procedure (dialogs and
    // form views); with control containment the template's OLE controls are taken out and made
    // at WM_INITDIALOG (m_pOccDialogInfo). FALSE when no window came of it, or it was destroyed
    // while it was initialised: the object has then been through PostNcDestroy (it may be gone)
    // and is not to be touched.
    BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst);

    // ---- OLE controls (the OLE layer, <afxdisp.h>, after AfxEnableControlContainer) ----
    // Creates the OLE control clsid (or the one named by a ProgID or "{CLSID}" text) as a child
    // of pParentWnd with the id, place and styles (WS_VISIBLE, WS_DISABLED, WS_TABSTOP,
    // WS_GROUP) given, and makes this object its window's (subclassed). pPersist holds the
    // control's saved state (a stream; bStorage: a storage), else the control starts empty.
    BOOL CreateControl(REFCLSID clsid, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CFile* pPersist = NULL, BOOL bStorage = FALSE, BSTR bstrLicKey = NULL);
    BOOL CreateControl(LPCTSTR pszClass, LPCTSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CFile* pPersist = NULL, BOOL bStorage = FALSE, BSTR bstrLicKey = NULL);
    // The control's IUnknown (no reference added), or NULL for a window that is no OLE control.
    LPUNKNOWN GetControlUnknown();
    // Calls the control's IDispatch: the arguments are described by pbParamInfo (VTS_...), the
    // result (type vtRet; VT_BSTR into a CString) goes to pvRet. A failure throws
    // COleDispatchException (the control raised an error) or COleException.
    void AFX_CDECL InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
    void AFX_CDECL SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);
    // The value of an ambient property that a control of this window asks for; FALSE lets the
    // container answer with its defaults.
    virtual BOOL OnAmbientProperty(COleControlSite* pSite, DISPID dispid, VARIANT* pvar);
    // Makes this window a control container (once); FALSE without AfxEnableControlContainer.
    BOOL InitControlContainer();

    COleControlContainer* m_pCtrlCont;    // the controls of this window, or NULL
    COleControlSite* m_pCtrlSite;         // the site of this control window, or NULL
    _AFX_OCC_DIALOG_INFO* m_pOccDialogInfo; // OLE controls of the template being created
    // Takes the OLE controls of the template this window is being created from (NULL when it
    // has none, or after creation): CreateDlgIndirect calls it before the window is made and
    // with NULL afterwards. The default keeps them in m_pOccDialogInfo, where dialogs and form
    // views make them at WM_INITDIALOG; a window that makes them itself (a bar that hosts a dialog
    // template) overrides it. TRUE when the window took them.
    virtual BOOL SetOccDialogInfo(_AFX_OCC_DIALOG_INFO* pOccDialogInfo);

    // ---- tooltips ----
    // With tooltips enabled, mouse messages of the window and its children (PreTranslateMessage)
    // go to the thread's tooltip control, for the tool that OnToolHitTest finds at the mouse.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    // The tool at point (client coordinates): its hit code and *pTI (hwnd, uId, uFlags, rect,
    // lpszText), or -1. The default finds a visible child control: its id, the child's handle as
    // the tool (TTF_IDISHWND) and the text asked for through TTN_NEEDTEXT; a child that is no
    // button is marked TTF_NOTBUTTON (a press on it is no press of a tool) and its tip centred.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    void FilterToolTipMessage(MSG* pMsg);
    // Takes the tool of this window out of the tooltip control (the window is going).
    static void PASCAL CancelToolTips(BOOL bKeys = FALSE);

    // ---- message handlers ----
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg void OnClose();
    afx_msg void OnCancelMode();
    afx_msg void OnSysColorChange();
    afx_msg void OnTimeChange();
    afx_msg void OnFontChange();
    afx_msg void OnChildActivate();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnDeadChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    afx_msg void OnStyleChanged(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg void OnStyleChanging(int nStyleType, LPSTYLESTRUCT lpStyleStruct);
    afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg BOOL OnQueryEndSession();
    afx_msg BOOL OnQueryNewPalette();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg int OnCharToItem(UINT nChar, CListBox* pListBox, UINT nIndex);
    afx_msg int OnVKeyToItem(UINT nKey, CListBox* pListBox, UINT nIndex);
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);

protected:
    DECLARE_MESSAGE_MAP()

    // The window being handled is the thread's main window: the quit message is posted.
    void HandleMainWindowDestroyed();

    friend LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
};

// The library's window procedure, and the call of one message through it (saving the message
// being handled, reporting exceptions of handlers through the thread's ProcessWndProcException).
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
WNDPROC AFXAPI AfxGetAfxWndProc();
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// The next window created on this thread becomes pWnd's (CBT hook); AfxUnhookWindowCreate answers
// FALSE when no window was created.
void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
BOOL AFXAPI AfxUnhookWindowCreate();

// What RepositionBars hands every control bar with WM_SIZEPARENT: the rectangle still free
// (the bar takes its part from it), the size the bars take so far, whether bars stretch over the
// whole length, and the deferred moves (NULL while only asking).
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;
    RECT rect;
    SIZE sizeTotal;
    BOOL bStretch;
};
// Moves hWnd to *lpRect (client coordinates of its parent) through the deferred moves of
// lpLayout (nothing while only asking), or at once without a layout; a window already there is
// left alone.
void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

// Registers (once) a window class with the attributes and the default window procedure and
// answers its name ("Afx:..."), kept in a buffer of the calling thread until its next call.
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = 0, HBRUSH hbrBackground = 0, HICON hIcon = 0);
// Registers the window class unless a class of that name exists; FALSE when it cannot.
BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass);

// The library's own window classes.
#define AFX_WND_CLASS "AfxWnd42s"
#define AFX_WNDCONTROLBAR_CLASS "AfxControlBar42s"
#define AFX_WNDFRAMEORVIEW_CLASS "AfxFrameOrView42s"
#define AFX_WNDMDIFRAME_CLASS "AfxMDIFrame42s"
// Registers one of the library's own window classes above (once); FALSE for another name or
// when the class cannot be registered.
BOOL AFXAPI AfxEndDeferRegisterClass(LPCTSTR lpszClassName);
