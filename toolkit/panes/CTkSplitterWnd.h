// The toolkit's splitter window: the class library's splitter with a flat look, 6-pixel bars,
// live resizing of the panes while a bar is dragged (when the system drags full windows), a
// choice of trackers, a lock against resizing, whole rows and columns hidden and shown again,
// and views exchanged in a pane.
//
// A hidden row or column keeps its pane windows: they are hidden and parked at the pane ids one
// past the last visible row or column, so that GetPane never finds them; the size the hidden
// row or column had waits in the information entry just past the last visible one and comes
// back as its ideal size. At most one column and one row are hidden at a time.
#pragma once

#include <afxext.h>

// The tracker is a dotted rectangle around the leading pane instead of an inverted bar.
#define TK_SPLIT_DOTTRACKER 0x0001
// The panes are never resized live while a bar is dragged.
#define TK_SPLIT_NOFULLDRAG 0x0002
// With the flat look, no border is drawn around the panes.
#define TK_SPLIT_NOBORDER 0x0004
// No bar can be grabbed: the whole window answers HTBORDER.
#define TK_SPLIT_NOSIZE 0x0008

class CTkSplitterWnd : public CSplitterWnd {
    DECLARE_DYNAMIC(CTkSplitterWnd)
public:
    CTkSplitterWnd();
    ~CTkSplitterWnd() override;

    void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;
    void OnInvertTracker(const CRect& rect) override;
    void SetSplitCursor(int ht) override;
    void StartTracking(int ht) override;
    void StopTracking(BOOL bAccept) override;

    // Shows the hidden column again at its old index; nothing when none is hidden.
    virtual void ShowColumn();
    // Hides column nColHide (a column that is not there, the only one or the hidden one: nothing);
    // another hidden column is shown first.
    virtual void HideColumn(int nColHide);
    virtual void ShowRow();
    virtual void HideRow(int nRowHide);
    // pView takes the pane and the pane's view takes pView's place (id and visibility).
    // FALSE when pView is the pane's view, NULL, or not a child of the splitter, or there is no
    // such pane.
    virtual BOOL SwitchView(int nRow, int nCol, CView* pView);
    // pView takes the pane; the old view is hidden with id 0 and returned. NULL when nothing
    // changed.
    virtual CView* ReplaceView(int nRow, int nCol, CView* pView);
    // A new view of the class on the old view's document takes the pane, with the row's and the
    // column's sizes kept; the old view is hidden with id 0 and returned. NULL (pane unchanged)
    // when the pane's view already is of that class or the new view cannot be made.
    virtual CView* ReplaceViewByClass(int nRow, int nCol, CRuntimeClass* pViewClass);
    virtual void SetSplitterStyle(DWORD dwStyle);
    virtual DWORD GetSplitterStyle() const { return m_dwSplitterStyle; }
    // Flat: 6-pixel bars and gaps and the flat drawing; otherwise 7 pixels and the 3-D look.
    virtual void EnableFlatLook(BOOL bFlat);
    virtual void DrawTracker(const CRect& rect, CBrush* pBrush);

    int GetHiddenColumn() const { return m_nHiddenCol; }
    int GetHiddenRow() const { return m_nHiddenRow; }
    BOOL IsFullDrag() const { return m_bFullDrag; }
    BOOL IsFlatLook() const { return m_bFlatLook; }

protected:
    int m_nHiddenCol;  // index the hidden column had; -1 when none is hidden
    int m_nHiddenRow;
    BOOL m_bFullDrag;  // panes are resized live while a bar is dragged
    BOOL m_bFlatLook;
    DWORD m_dwSplitterStyle;
    CPoint m_ptLastDrag; // where live resizing last redrew the splitter

    static BOOL ReadFullDragSetting();

    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
    afx_msg LRESULT OnNcHitTest(CPoint pt);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
    DECLARE_MESSAGE_MAP()
};

// A splitter with a strip of the bar colour along its top (nTopMargin pixels) and, optionally,
// an etched line along the top edge.
class CTkSplitterWndEx : public CTkSplitterWnd {
    DECLARE_DYNAMIC(CTkSplitterWndEx)
public:
    CTkSplitterWndEx();

    void SetTopMargin(int nHeight) { m_nTopMargin = nHeight; }
    int GetTopMargin() const { return m_nTopMargin; }
    void SetTopLine(BOOL bTopLine) { m_bTopLine = bTopLine; }
    BOOL GetTopLine() const { return m_bTopLine; }

protected:
    int m_nTopMargin;
    BOOL m_bTopLine;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
