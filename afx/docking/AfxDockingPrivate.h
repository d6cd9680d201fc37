// What the docking layer's sources share: system metrics in the form the bars use them, and
// small helpers of the bars and floating frames.
#pragma once

#include "afxwin.h"
#include "CControlBar.h"

namespace afxdock {

// A border line's width and height, and the two-pixel borders that bars draw and overlap.
inline int CxBorder() { return ::GetSystemMetrics(SM_CXBORDER); }
inline int CyBorder() { return ::GetSystemMetrics(SM_CYBORDER); }
inline int CxBorder2() { return afxData.cxBorder2; }
inline int CyBorder2() { return afxData.cyBorder2; }

// The gripper of a docked bar: a 3-pixel bar with 2 pixels on either side.
const int kGripperSize = 3;
const int kGripperBorder = 2;
const int kGripperRoom = kGripperBorder + kGripperSize + kGripperBorder;

// A click in a floating window activates the top-level frame it belongs to (the floating window
// itself is never the active one) unless that window or one of its children is in front.
void ActivateTopParent(CWnd* pWnd);

// The point of a mouse message in screen coordinates: client coordinates of its window for the
// client-area messages, screen coordinates for the non-client ones.
CPoint MessagePoint(const MSG& msg);

// Shrinks rect by the two-pixel borders of the CBRS_BORDER_... bits of dwStyle.
void ShrinkByBorders(CRect& rect, DWORD dwStyle);
// The non-client area of a bar whose borders (and gripper) lie outside its client area:
// CalcInsideRect of an empty rectangle taken off the client rectangle.
void InsetNonClient(const CControlBar* pBar, NCCALCSIZE_PARAMS* lpncsp, BOOL bHorz);

inline int Min(int a, int b) { return a < b ? a : b; }
inline int Max(int a, int b) { return a > b ? a : b; }

// The window's control id as a WORD (what bar ids and placeholders hold).
inline UINT BarId(HWND hWnd) { return (UINT)(WORD)::GetDlgCtrlID(hWnd); }

} // namespace afxdock
