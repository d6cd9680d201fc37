// A dock bar of a toolkit frame: the strip along one side of the frame that holds docked bars in
// rows (m_arrBars: entry 0 NULL, every row ends with NULL, placeholders of bars docked elsewhere
// are small ids). It lays its rows out itself: the menu bar keeps a row of its own, a bar that
// starts beyond the room wraps into a new row, the last toolbar of a row hides buttons behind its
// chevron when the row is too short and shows them again when there is room. Rows that hold
// docking windows get 6-pixel trackers between the rows and between the windows, which the user
// drags to size them. A right click shows the bars menu.
#pragma once

#include <afxext.h>
#include <afxpriv.h>

class CTkDockBar;
class CTkDockWindow;

// A sizing strip of a dock bar (rebuilt at every layout).
class CTkDockTracker {
public:
    CTkDockTracker(CTkDockBar* pDockBar, int nOrientation, int nBarIndex);
    virtual ~CTkDockTracker() {}
    virtual BOOL Track(int x, int y);
    virtual BOOL BeginTrack(CPoint pt);
    virtual BOOL EndTrack(int x, int y);
    virtual void Apply() = 0;
    virtual void InitLimits() = 0;

    // Moves the drag rectangle by the accepted change of the position.
    virtual void Move(int x, int y) = 0;
    // Draws (or, a second time, erases) the drag rectangle; FALSE for an empty one.
    BOOL DrawDragRect();

    CRect m_rect;     // dock-bar client coordinates
    CRect m_rectDrag; // frame client coordinates
    CPoint m_ptLast;
    int m_nStart;
    int m_nPos;
    int m_nMax;
    int m_nMin;
    int m_nOrientation; // 1: a vertical strip (dragged left and right), 2: a horizontal strip
    int m_nBarIndex;
    CTkDockBar* m_pDockBar;
};

// Changes the thickness of a row of docking windows.
class CTkRowTracker : public CTkDockTracker {
public:
    CTkRowTracker(CTkDockBar* pDockBar, int nOrientation, int nBarIndex) : CTkDockTracker(pDockBar, nOrientation, nBarIndex) {}
    void Apply() override;
    void InitLimits() override;
    void Move(int x, int y) override;
};

// Moves the edge between two docking windows of a row.
class CTkBarTracker : public CTkDockTracker {
public:
    CTkBarTracker(CTkDockBar* pDockBar, int nOrientation, int nBarIndex) : CTkDockTracker(pDockBar, nOrientation, nBarIndex) {}
    void Apply() override;
    void InitLimits() override;
    void Move(int x, int y) override;
};

class CTkDockBar : public CDockBar {
    DECLARE_DYNAMIC(CTkDockBar)
public:
    explicit CTkDockBar(BOOL bFloating = FALSE);
    ~CTkDockBar() override;

    virtual void HitTestTracker(CPoint ptScreen);
    int Insert(CControlBar* pBar, CRect rect, CPoint ptMid) override;

    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    int ExpandDockWindow(CTkDockWindow* pWnd, BOOL bRecalc);
    void RestoreDockWindows(CTkDockWindow* pWnd, BOOL bRecalc);
    // Changes the toolkit bar style copy (bits 0x0040 flat trackers, 0x0080 ordinary bars' borders
    // left alone).
    BOOL ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void DoPaint(CDC* pDC) override;
    int GetDockedVisibleCount() const override;

    BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    // The entries [nFirst, end of its row) that are docking windows with a window, visible.
    void GetRowDockWindows(int nFirst, CPtrArray& arrWindows) const;
    int RowStart(int nPos) const;
    void DeleteTrackers();

    int m_nHotTracker;
    BOOL m_bTracking;
    HWND m_hWndFocusBefore;
    DWORD m_dwTkBarStyle;
    CPtrArray m_arrTrackers;

protected:
    void SizeRowDockWindows(int nRowStart, int nAvail, BOOL bHorz);
    void CancelTracking();

    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
