// The docking context of a control bar: it moves the bar with the mouse.
//
// StartDrag (a press on the bar's gripper or on its floating frame's caption) runs a loop with
// the mouse captured by the bar until the left button goes up (the bar is docked or floated
// there), Escape or the right button (nothing changes) or the capture is lost. While the mouse
// moves, an outline shows where the bar would go: a thin white one of the horizontal or vertical
// docked shape over a dock bar that the shape touches (CFrameWnd::CanDock), a thick halftone one
// of the floating frame elsewhere. Ctrl keeps the bar from docking; Shift flips its orientation
// when it may dock both ways.
//
// StartResize (a floating frame's sizing border, CBRS_SIZE_DYNAMIC bars) lets the bar take a new
// shape; ToggleDocking (a double click) floats a docked bar where it floated last (or where it
// is) and docks a floating one where it was docked last.
//
// The MRU members remember the last docked place (dock bar id and rectangle in its client
// coordinates) and the last floating place (style and top-left corner of the floating frame).
#pragma once

#include "CRect.h"
#include "CPoint.h"
#include "CSize.h"

class CControlBar;
class CDockBar;
class CFrameWnd;
class CDC;

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar);
    virtual ~CDockContext();

    virtual void StartDrag(CPoint pt);
    virtual void StartResize(int nHitTest, CPoint pt);
    virtual void ToggleDocking();

    // The steps of the loops (the points in screen coordinates); a derived context may run
    // its own loop over them.
    virtual void Move(CPoint pt);
    virtual void EndDrag();
    virtual void OnKey(int nChar, BOOL bDown);
    virtual void Stretch(CPoint pt);
    virtual void EndResize();
    virtual void InitLoop();
    virtual void CancelLoop();
    // The loop: TRUE when it ended with the left button (the change is made).
    virtual BOOL Track();
    virtual void DrawFocusRect(BOOL bRemoveRect = FALSE);
    void UpdateState(BOOL* pFlag, BOOL bNewValue);
    // The dock style (CBRS_ALIGN_...) of the dock bar the outline is over, 0 for none.
    virtual DWORD CanDock();
    virtual CDockBar* GetDockBar(DWORD dwOverDockStyle);

    // ---- state (MFC's member names) ----
    CPoint m_ptLast;     // the mouse's last position
    CRect m_rectLast;    // the outline drawn last
    CSize m_sizeLast;    // its frame thickness
    BOOL m_bDitherLast;  // it was drawn with the halftone brush
    // While dragging: the docked shapes and the floating frames of both orientations. While
    // resizing the same four hold the requested size, the bar's size, the frame's size and the
    // frame's borders (m_rectRequestedSize, ...).
    CRect m_rectDragHorz;
    CRect m_rectDragVert;
    CRect m_rectFrameDragHorz;
    CRect m_rectFrameDragVert;
    CRect& m_rectRequestedSize;
    CRect& m_rectActualSize;
    CRect& m_rectActualFrameSize;
    CRect& m_rectFrameBorders;

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle;     // the sides the bar may dock at
    DWORD m_dwOverDockStyle; // the side the outline is over now
    DWORD m_dwStyle;         // the bar's alignment when the loop began
    BOOL m_bFlip;            // Shift is down
    BOOL m_bForceFrame;      // Ctrl is down
    CDC* m_pDC;              // the screen, drawn on during the loop
    BOOL m_bDragging;        // dragging (else resizing)
    int m_nHitTest;          // the border being dragged while resizing

    UINT m_uMRUDockID;       // the dock bar the bar was docked in last (0: none)
    CRect m_rectMRUDockPos;  // its place there (client coordinates of the dock bar)
    DWORD m_dwMRUFloatStyle; // the style it floated with last
    CPoint m_ptMRUFloatPos;  // its floating frame's top-left corner then (negative: never)

protected:
    // The four outlines of a drag starting at pt (screen coordinates) from the bar's window:
    // docked horizontally and vertically and the floating frames of both, each holding pt.
    void CalcDragRects(CPoint pt);
    // The rectangles of a resize starting at pt: the bar's floating size and its frame's.
    void CalcResizeRects(int nHitTest, CPoint pt);
    // Grows a bar's window rectangle (screen coordinates) to the window of its floating frame:
    // the frame's borders and caption, less the two-pixel borders the bar hides inside it.
    void AdjustWindowForFloat(CRect& rect);

private:
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;
};
