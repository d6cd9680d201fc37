// A view whose contents are larger than its window: it keeps the size of the contents in logical
// units of a mapping mode and scrolls them with its scroll bars (or with a splitter's shared
// bars, GetScrollBarCtrl). OnPrepareDC moves the viewport origin by the scroll position, so OnDraw
// draws in the contents' coordinates. With SetScaleToFitSize the contents are scaled to the
// window instead and nothing scrolls.
#pragma once

#include "CView.h"
#include "CSize.h"
#include "CPoint.h"

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
protected:
    CScrollView();

public:
    virtual ~CScrollView();

    static const SIZE sizeDefault; // {0, 0}: a tenth of the total (page) and of the page (line)

    // The contents' size, the page and the line (for the scroll bar's page and arrows) in the
    // logical units of nMapMode (MM_TEXT, MM_LOMETRIC, ...).
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    // The contents are scaled to fill the window (no scroll bars).
    void SetScaleToFitSize(SIZE sizeTotal);

    CPoint GetScrollPosition() const;       // logical units
    CPoint GetDeviceScrollPosition() const; // pixels
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    void ScrollToPosition(POINT pt); // logical units
    // Fills what lies outside the contents with pBrush.
    void FillOutsideRect(CDC* pDC, CBrush* pBrush);
    // The parent frame is resized so that the view shows all of the contents (bShrinkOnly: only
    // made smaller).
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);

    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    // A scroll-bar action: LOBYTE(nScrollCode) the horizontal and HIBYTE the vertical code
    // (0xFF: none). Answers whether the contents moved (bDoScroll FALSE: would move).
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);

    int m_nMapMode;
    CSize m_totalLog; // contents, logical units
    CSize m_totalDev; // contents, pixels
    CSize m_pageDev;
    CSize m_lineDev;
    BOOL m_bCenter;   // contents smaller than the window are centred
    BOOL m_bInsideUpdate;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

protected:
    // Shows or hides the bars for the current window size and sets their ranges and pages.
    void UpdateBars();
    void ScrollToDevicePosition(POINT ptDev);
    // The bar's position, limit and state, on the shared control when there is one.
    int GetBarPos(int nBar) const;
    void SetBarPos(int nBar, int nPos);
    int GetBarLimit(int nBar) const;
    BOOL IsBarEnabled(int nBar) const;
    void ShowBar(int nBar, BOOL bShow);

    DECLARE_MESSAGE_MAP()
};

// The mapping mode of SetScaleToFitSize.
#define MM_SCALETOFIT (-1)
