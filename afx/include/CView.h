// A view: a child window of a frame (or of a splitter inside one) that shows a document.
//
// A view is made by its frame from a CCreateContext (CFrameWnd::CreateView), joins the
// context's document when its window is created, and deletes itself when its window is gone
// (views live on the heap). It draws through OnDraw after OnPrepareDC; OnInitialUpdate
// (WM_INITIALUPDATE) runs once it is in place and OnUpdate whenever the document's views are told
// of a change. Commands go to the view first, then to its document (CFrameWnd::OnCmdMsg starts
// with the active view). A click into a view makes it its frame's active view.
#pragma once

#include "CWnd.h"

class CDocument;
class CSplitterWnd;
struct CPrintInfo;

// The style of the views that frames and splitters make.
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
protected:
    CView();

public:
    // Leaves its document.
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }
    virtual BOOL IsSelected(const CObject* pDocItem) const;
    // The splitter that holds the window as a pane (with bAnyState also one that is not split),
    // or NULL.
    static CSplitterWnd* PASCAL GetParentSplitter(const CWnd* pWnd, BOOL bAnyState);

    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    // bActivate: the view became its frame's active view (and takes the focus when its
    // top-level window is the foreground window).
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // The frame of the active view was activated or deactivated (WA_...).
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
    // The document changed (pSender: the view that changed it, not told); the default repaints.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual void PostNcDestroy();
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // The splitter's shared scroll bar of the pane, or NULL.
    virtual CScrollBar* GetScrollBarCtrl(int nBar) const;

    CDocument* m_pDocument;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);
    // ID_NEXT_PANE and ID_PREV_PANE: the next pane of the view's splitter.
    afx_msg BOOL OnNextPaneCmd(UINT nID);
    afx_msg void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);

protected:
    // The view's top-level window is the foreground window (or its active popup).
    BOOL IsTopParentActive() const;

    DECLARE_MESSAGE_MAP()
};
