// A status bar: a control bar made of the common controls' status bar, with panes.
//
// SetIndicators makes one pane per id: a pane with an id shows that id's string (an indicator,
// as wide as its text), a pane with id 0 (ID_SEPARATOR) is the message pane; the first of them is
// stretched over the room the others leave and has no border. The frame's status line is the
// pane with id 0: WM_SETTEXT and WM_GETTEXT of the bar set and read its text.
//
// At idle time the panes are updated through the frame's update handlers: Enable (a disabled
// pane shows no text), SetCheck (the pane pops out) and SetText. Pane styles: SBPS_NOBORDERS,
// SBPS_POPOUT, SBPS_DISABLED, SBPS_STRETCH, SBPS_OWNERDRAW.
#pragma once

#include "CControlBar.h"

#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

struct AFX_STATUSPANE;

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    virtual ~CStatusBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // dwCtrlStyle: styles of the control (SBARS_...); a frame with a sizing border gets the size
    // grip.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                  UINT nID = AFX_IDW_STATUS_BAR);
    // The panes; FALSE when an indicator's string is missing (the panes before it are set).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The pane's rectangle in client coordinates.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    void GetPaneText(int nIndex, CString& rString) const;
    CString GetPaneText(int nIndex) const;
    // bUpdate FALSE keeps the text for the next painting.
    BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    // Draws an owner-drawn pane (SBPS_OWNERDRAW); nothing by default.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    int m_nMinHeight; // the least height of the bar (SB_SETMINHEIGHT)

    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

protected:
    AFX_STATUSPANE* m_pPanes;

    // The pane nIndex, NULL for an index out of range.
    AFX_STATUSPANE* GetPanePtr(int nIndex) const;
    // Sets the control's parts from the panes' widths (bUpdateRects) and writes the texts that
    // wait (bUpdateText).
    void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

    DECLARE_MESSAGE_MAP()
};
