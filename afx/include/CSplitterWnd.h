// A splitter window: panes in rows and columns separated by bars that the user drags.
//
// A static splitter (CreateStatic) has a fixed grid of panes that the program creates with
// CreateView; a dynamic splitter (Create, SPLS_DYNAMIC_SPLIT) starts with one pane and makes or
// removes rows and columns (up to 2 x 2) when the user drags the split boxes next to its shared
// scroll bars or drags a bar to the edge. Pane (row, col) has the id AFX_IDW_PANE_FIRST + 16 * row
// + col. Each row and column has a minimum, an ideal and a current size (CRowColInfo):
// RecalcLayout gives every row and column its ideal size in order, the last one the rest; one
// below its minimum gets no room at all.
//
// Geometry: the panes lie inside a border of m_cxBorder/m_cyBorder, with m_cxSplitterGap /
// m_cySplitterGap pixels between them (the bar and the panes' sunken borders). Hit codes:
// noHit 0, the row split box 1, the column split box 2, both 3, the bar below row r 101 + r, the
// bar after column c 201 + c, their intersection 301 + 15 * r + c. Dragging a bar draws an
// inverted tracker (m_rectTracker, m_rectTracker2 for an intersection) within m_rectLimit and
// applies it on release (StopTracking); Escape or a lost capture cancels it.
#pragma once

#include "CWnd.h"
#include "CRect.h"
#include "CPoint.h"
#include "CSize.h"

class CView;
struct CCreateContext;

// The splitter makes and removes panes as the user drags (a dynamic splitter).
#define SPLS_DYNAMIC_SPLIT 0x0100

class CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd();
    virtual ~CSplitterWnd();

    // A dynamic splitter of at most nMaxRows x nMaxCols (2 x 2) panes of the context's view
    // class, none smaller than sizeMin; WS_HSCROLL/WS_VSCROLL give it shared scroll bars with
    // the split boxes.
    BOOL Create(CWnd* pParentWnd, int nMaxRows, int nMaxCols, SIZE sizeMin, CCreateContext* pContext,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | SPLS_DYNAMIC_SPLIT,
                UINT nID = AFX_IDW_PANE_FIRST);
    // A static splitter of nRows x nCols panes (up to 16 each, not 1 x 1); the panes are made
    // with CreateView.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // The pane (row, col) of the class with the ideal size sizeInit. Without a context the
    // pane gets the active pane's document and its first update (WM_INITIALUPDATE) at once.
    virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit, CCreateContext* pContext);
    // Destroys the pane's window (a view deletes itself); the active pane moves on first.
    virtual void DeleteView(int row, int col);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    // WS_HSCROLL/WS_VSCROLL when the splitter has shared scroll bars.
    DWORD GetScrollStyle() const;
    void SetScrollStyle(DWORD dwStyle);

    CWnd* GetPane(int row, int col) const;
    // pWnd is a pane of this splitter (a child with a pane id); its row and column.
    BOOL IsChildPane(const CWnd* pWnd, int* pRow, int* pCol);
    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    BOOL IsTracking() { return m_bTracking; }

    // The frame's active view when it is a pane, else the pane with the focus, else NULL.
    virtual CWnd* GetActivePane(int* pRow = NULL, int* pCol = NULL);
    // A view pane becomes the frame's active view, another pane gets the focus.
    virtual void SetActivePane(int row, int col, CWnd* pWnd = NULL);
    virtual BOOL CanActivateNext(BOOL bPrev = FALSE);
    virtual void ActivateNext(BOOL bPrev = FALSE);
    // ID_WINDOW_SPLIT: tracking by keyboard (arrows, Enter, Escape) from the first bar or box.
    virtual BOOL DoKeyboardSplit();

    // Gives every row and column its size and moves the panes, bars and scroll bars.
    virtual void RecalcLayout();

    enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };
    // Draws one part; without a DC the part's rectangle is invalidated.
    virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
    // Inverts the tracker rectangle (halftone brush) on the splitter's window DC.
    virtual void OnInvertTracker(const CRect& rect);

    // Dynamic splitting: a new row below cyBefore (a new column after cxBefore); FALSE when
    // the room is too small for two panes of their minimum size.
    virtual BOOL SplitRow(int cyBefore);
    virtual BOOL SplitColumn(int cxBefore);
    virtual void DeleteRow(int rowDelete);
    virtual void DeleteColumn(int colDelete);
    virtual BOOL CreateScrollBarCtrl(DWORD dwStyle, UINT nID);

    struct CRowColInfo {
        int nMinSize;   // below this the row or column is not shown
        int nIdealSize; // the size the user or the program chose
        int nCurSize;   // the size it has now
    };

    enum HitTestValue {
        noHit = 0,
        vSplitterBox = 1,
        hSplitterBox = 2,
        bothSplitterBox = 3,
        vSplitterBar1 = 101,
        vSplitterBar15 = 115,
        hSplitterBar1 = 201,
        hSplitterBar15 = 215,
        splitterIntersection1 = 301,
        splitterIntersection225 = 525
    };

    CRuntimeClass* m_pDynamicViewClass;
    int m_nMaxRows, m_nMaxCols;
    int m_cxSplitter, m_cySplitter;         // width of the bars and trackers
    int m_cxBorderShare, m_cyBorderShare;   // border shared by adjacent panes (0)
    int m_cxSplitterGap, m_cySplitterGap;   // distance between panes
    int m_cxBorder, m_cyBorder;             // border around the panes
    int m_nRows, m_nCols;
    BOOL m_bHasHScroll, m_bHasVScroll;
    CRowColInfo* m_pColInfo;
    CRowColInfo* m_pRowInfo;
    BOOL m_bTracking, m_bTracking2;
    CPoint m_ptTrackOffset;
    CRect m_rectLimit;
    CRect m_rectTracker, m_rectTracker2;
    int m_htTrack;

    virtual int HitTest(CPoint pt) const;
    virtual void GetInsideRect(CRect& rect) const;
    // The rectangle of a bar or box for tracking; sets m_rectLimit (started as the inside
    // rectangle) and m_ptTrackOffset for it.
    virtual void GetHitRect(int ht, CRect& rect);
    // The bar after the row (column) was dropped at y (x): the row's new ideal size; a row
    // dragged below its minimum disappears (a dynamic splitter deletes it).
    virtual void TrackRowSize(int y, int row);
    virtual void TrackColumnSize(int x, int col);
    virtual void DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside);
    virtual void SetSplitCursor(int ht);
    virtual void StartTracking(int ht);
    virtual void StopTracking(BOOL bAccept);

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint pt);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint pt);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint pt);
    afx_msg void OnCancelMode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);

    // Commands and notifications of the splitter's children go on to its frame.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);

protected:
    BOOL CreateCommon(CWnd* pParentWnd, SIZE sizeMin, DWORD dwStyle, UINT nID);
    // Moves a pane or scroll bar (panes with a client edge cover the splitter's border).
    void DeferClientPos(AFX_SIZEPARENTPARAMS* lpLayout, CWnd* pWnd, int x, int y, int cx, int cy, BOOL bScrollBar);

    DECLARE_MESSAGE_MAP()
};
