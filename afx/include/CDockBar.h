// A dock bar: the strip along one side of a frame (or the inside of a floating frame) that holds
// docked control bars in rows.
//
// m_arrBars holds the bars row by row: entry 0 is always NULL and every row ends with a NULL
// entry ([NULL, bar, bar, NULL, bar, NULL] are two rows). An entry may also be a placeholder:
// the control id of a bar that floats now, kept as a small integer in the pointer's place, so
// that the bar can come back to its row (ReDockControlBar). A placeholder is any entry that is
// not NULL and at most 0xFFFF (IsPlaceHolder); GetDockedControlBar answers NULL for it.
//
// Layout (CalcFixedLayout, asked by the frame through WM_SIZEPARENT): each row's bars are placed
// from the left (top) edge, each where it was when it lies further on, overlapping their
// neighbours' borders by two pixels; a bar that would start beyond the end of the dock bar
// wraps into a new row (a NULL is inserted before it), one that ends beyond it is pushed back.
// The rows' heights (widths) add up to the dock bar's size.
//
// A floating dock bar (m_bFloating, id AFX_IDW_DOCKBAR_FLOAT) lives in a CMiniDockFrameWnd,
// which goes when its last bar leaves.
#pragma once

#include "CControlBar.h"
#include "CPtrArray.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);
    virtual ~CDockBar();

    // A dock bar of the frame (or, for a floating frame, of its parent frame first: the bar
    // registers with the frame it is created in). dwStyle: window styles and CBRS_ styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    BOOL m_bFloating;
    CPtrArray m_arrBars;
    BOOL m_bLayoutQuery;  // the layout being made only measures (nothing moves)
    CRect m_rectLayout;   // the room the frame's layout offers (empty: the frame's client area)

    // TRUE for a placeholder entry of m_arrBars.
    static BOOL PASCAL IsPlaceHolder(const void* pEntry) { return pEntry != NULL && (UINT_PTR)pEntry <= 0xFFFF; }
    // The placeholder entry of a bar's control id.
    static void* PASCAL PlaceHolderOf(UINT nID) { return (void*)(UINT_PTR)(WORD)nID; }

    // The bars (not placeholders) it holds, and those of them that are visible.
    int GetDockedCount() const;
    virtual int GetDockedVisibleCount() const;
    // The bar at nPos, NULL for a row end or a placeholder.
    CControlBar* GetDockedControlBar(int nPos) const;
    // The position of the entry pBar (a bar or a placeholder) other than nPosExclude, else -1.
    int FindBar(CControlBar* pBar, int nPosExclude = -1);

    // Docks pBar here: at lpRect (screen coordinates) in the row it falls into, else in a new last
    // row. The bar takes the dock bar's alignment and all four borders; the dock bar it came from
    // lets it go (leaving a placeholder when it goes from a frame's side into a floating frame).
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    // Docks pBar back where its placeholder is (else as DockControlBar does).
    void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
    // Takes pBar's entry out (the one other than nPosExclude); nAddPlaceHolder 1 leaves its id
    // instead, -1 keeps an older placeholder of it. A row left empty goes. A floating dock bar
    // without bars destroys its frame (answers TRUE then), one without visible bars hides it.
    BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
    // Removes the placeholder of pBar (not in a floating dock bar).
    void RemovePlaceHolder(CControlBar* pBar);
    // Inserts pBar into the row that ptMid (client coordinates) falls into, after the bars left of
    // (above) rect, or into a new row; answers its position.
    virtual int Insert(CControlBar* pBar, CRect rect, CPoint ptMid);
    // Shows or hides every bar it holds (through their frame).
    void ShowAll(BOOL bShow);

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual void DoPaint(CDC* pDC);
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual BOOL IsDockBar() const;
    // The dock bar's info also lists its bars' ids row by row (0 for a row end, id | 0x10000 for
    // a placeholder) and, when floating, its position on the screen.
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    // Rebuilds the rows from the info's ids with the frame's bars (ids of bars the frame lacks
    // are left out).
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);

protected:
    // pBar takes this dock bar's alignment, all four borders and CBRS_FLOATING as the dock bar
    // floats; the dock bar takes the bar's sizing style (and, holding one bar, its title).
    void AdoptBarStyle(CControlBar* pBar);
    // Removes the entry at nPos and the NULL after it when the row is left empty.
    void RemoveEntry(int nPos);
    // Gives pBar its entry (at nPos when it has one already, else in the row lpRect falls into,
    // else in a new last row) and moves it there (lpRect in screen coordinates; without one to the
    // start of its row); answers its position.
    int PlaceBar(CControlBar* pBar, LPCRECT lpRect, int nPos);
    // Makes this dock bar pBar's parent and its dock bar; answers the dock bar it had.
    CDockBar* TakeBar(CControlBar* pBar);

    DECLARE_MESSAGE_MAP()
};
