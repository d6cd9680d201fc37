// A control bar: a window that takes a strip along one side of its frame (a toolbar, a status
// bar, a dialog bar) or floats in a small frame of its own.
//
// Layout: the frame's RecalcLayout asks its bars in the order of their windows with
// WM_SIZEPARENT; a visible bar with an alignment (CBRS_ALIGN_...) takes the size its
// CalcDynamicLayout answers for the mode (LM_...) of its place and leaves the rest to the next.
// A docked bar lives in a dock bar (m_pDockBar), which lays out its bars in rows.
//
// Borders and gripper: CalcInsideRect is the room inside the CBRS_BORDER_... lines (two pixels
// each), the four border widths m_cx.../m_cy... and, with CBRS_GRIPPER while docked, seven pixels
// for the gripper at the bar's start.
//
// Showing and hiding: DelayShow asks for a change at the next layout or idle time (m_nStateFlags);
// IsVisible answers the state the bar will have.
//
// Idle time: WM_IDLEUPDATECMDUI makes a delayed change and then updates the bar's items
// (OnUpdateCmdUI) through the owner frame's update handlers.
//
// Fly-by help (CBRS_FLYBY): the status line shows the text of the command under the mouse
// (SetStatusText); it appears after the mouse rests for 300 ms (at once while the left button
// is down or a text is shown already) and goes when the mouse leaves the bar.
//
// Commands and notifications of the bar's controls go to the bar's owner (the frame) unless the
// bar handles them itself. A press on a part of a docked bar that is no tool (the gripper)
// starts dragging it (CDockContext); a double click there floats or docks it.
#pragma once

#include "CWnd.h"
#include "CRect.h"
#include "CSize.h"
#include "CPoint.h"
#include "AfxBarStyles.h"

class CFrameWnd;
class CDockBar;
class CDockContext;
class CControlBarInfo;
struct AFX_SIZEPARENTPARAMS;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
protected:
    CControlBar();

public:
    virtual ~CControlBar();

    // The number of elements (buttons, panes) of the bar.
    int GetCount() const { return m_nCount; }
    // Changes the CBRS_ style; OnBarStyleChange follows when it differs.
    void SetBarStyle(DWORD dwStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect);
    CRect GetBorders() const;
    // The frame the bar is in now: its floating frame while it floats, else the frame it was
    // created in.
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const;
    // The sides (CBRS_ALIGN_...) and CBRS_FLOAT_MULTI the bar may be docked at; makes the bar's
    // docking context and fixes its owner to its parent.
    void EnableDocking(DWORD dwDockStyle);

    // ---- layout ----
    // The size of the bar docked (bStretch: over the whole length) horizontally or vertically.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The size for the mode (LM_...) and length (-1: the bar's own choice).
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // Shrinks rect to the room inside the borders and the gripper.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;

    // ---- painting ----
    virtual void DoPaint(CDC* pDC);
    // Draws the CBRS_BORDER_... lines along the edges of rect and shrinks it by them.
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    // Draws the borders and the gripper in the non-client area and erases the rest of it.
    void EraseNonClient();

    // ---- state ----
    // Asks for the bar to be shown or hidden at the next layout or idle time.
    virtual void DelayShow(BOOL bShow);
    // Whether the bar is visible or will be after a delayed change.
    virtual BOOL IsVisible() const;
    // Makes a delayed change (deferred through lpLayout when one is given, except while only
    // asking) and answers the window style the bar has then, with its CBRS_ style.
    virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    virtual BOOL IsDockBar() const;
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    // Updates the bar's items through the target's update handlers.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    // Fly-by help: nHit is the command under the mouse, -1 when it left.
    virtual BOOL SetStatusText(INT_PTR nHit);
    // The bar's state for the saved layout (CDockState) and back.
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostNcDestroy();

    // ---- state (MFC's member names) ----
    int m_cxLeftBorder;
    int m_cxRightBorder;
    int m_cyTopBorder;
    int m_cyBottomBorder;
    int m_cxDefaultGap;
    UINT m_nMRUWidth;  // the width the bar had when it last floated
    BOOL m_bAutoDelete; // the object is deleted with its window
    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
    UINT m_nStateFlags;
    CFrameWnd* m_pDockSite; // the frame the bar was created in
    CDockBar* m_pDockBar;   // the dock bar that holds it, or NULL
    CDockContext* m_pDockContext;
    DWORD m_dwStyle;     // CBRS_...
    DWORD m_dwDockStyle; // the sides it may dock at (EnableDocking)
    int m_nCount;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

protected:
    // Starts (or restarts) one of the fly-by timers.
    void ResetTimer(UINT_PTR nEvent, UINT nTime);

    DECLARE_MESSAGE_MAP()
};

// The timers of fly-by help: the wait before a text shows, and the check whether the mouse left.
#define AFX_ID_TIMER_WAIT 0xE000
#define AFX_ID_TIMER_CHECK 0xE001
