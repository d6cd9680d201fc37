// The docking context of the toolkit's bars: the class library's drag, resize and toggle with
// four changes.
//
// - Full-window drag: a bar that says so (TKWM_QUERY_FULLDRAG, toolbars and the menu bar) moves
//   itself while it is dragged when tkAfxData.bFullWindowDrag is on; no outline is drawn.
//   Escape (or a right click) puts it back where it was, docked or floating.
// - The pointer decides: a bar docks only when the mouse pointer is over a dock bar (an empty
//   dock bar counts 4 pixels on both sides of its edge), whatever the outline overlaps.
// - A bar that allows it may be dragged into another frame (FindDockFrame).
// - A drag that ends floating keeps the remembered docked place, one that ends docked keeps the
//   remembered floating place, so a double click later goes back to them.
//
// Drag listeners (the toolbar customization registers one) are told when a loop begins and ends.
#pragma once

#include <afxext.h>
#include <afxpriv.h>
#include "CDockContext.h"

class CTkDockContext;

// Called as pfn(data, context) when a drag or resize loop begins and when it ends.
typedef void (*TK_DRAGLISTENERPROC)(void* pData, CTkDockContext* pContext);

struct TK_DRAGLISTENER {
    int nID; // 0: the entry is free
    void* pData;
    TK_DRAGLISTENERPROC pfn;
};

class CTkDockContext : public CDockContext {
public:
    explicit CTkDockContext(CControlBar* pBar);
    ~CTkDockContext() override;

    void StartDrag(CPoint pt) override;
    void StartResize(int nHitTest, CPoint pt) override;
    void ToggleDocking() override;
    // Another frame under the pointer that will take the bar, or NULL.
    virtual CFrameWnd* FindDockFrame();

    // The first free entry takes the listener (its id is returned); 0 when all four are taken.
    int AddDragListener(void* pData, TK_DRAGLISTENERPROC pfn);
    // Frees every entry with pData.
    void RemoveDragListener(void* pData);

    // The steps of the loop.
    void InitLoop() override;
    void CancelLoop() override;
    BOOL Track() override;
    void Move(CPoint pt) override;
    void DrawFocusRect(BOOL bRemoveRect = FALSE) override;
    void EndDrag() override;
    void EndResize() override;
    DWORD CanDock() override;
    CDockBar* GetDockBar(DWORD dwOverDockStyle) override;
    // The dock style under the pointer ptCursor (bHaveCursor FALSE: under the outline).
    DWORD CanDockAt(CPoint ptCursor, BOOL bHaveCursor);
    // Floats the bar at the horizontal floating outline with dwStyle.
    void Float(DWORD dwStyle);

    // Whether a dock bar's window rectangle rectBar (screen coordinates) catches the pointer: an
    // empty dock bar is widened by 4 pixels on both sides across its length, then the rectangle
    // is clipped to rectClip (its parent's client area); without a pointer, whether it meets
    // rectOutline.
    static BOOL HitsDockBar(CRect rectBar, BOOL bEmpty, BOOL bHorz, const CRect& rectClip, CPoint ptCursor,
                            BOOL bHaveCursor, const CRect& rectOutline);

    BYTE m_bFullWindowDrag; // this loop moves the bar itself
    BYTE m_bInLoop;         // a drag or resize loop runs
    int m_nListenerCounter;
    TK_DRAGLISTENER m_listeners[4];
    CPtrArray m_arrTouchedFrames; // frames whose layout was marked during the current message

private:
    // The dock bar of pFrame that rect with dwStyle docks into (its dock style, 0 for none).
    DWORD TestFrame(CFrameWnd* pFrame, const CRect& rect, DWORD dwStyle, CDockBar** ppDockBar);
    DWORD TestDock(const CRect& rect, DWORD dwStyle, CDockBar** ppDockBar);
    void TellListeners();
    void RunPendingLayouts();

    CPoint m_ptCursor;
    BOOL m_bHaveCursor;
};
