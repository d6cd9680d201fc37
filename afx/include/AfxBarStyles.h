// The styles of control bars (CControlBar::m_dwStyle, CBRS_...) and the modes of their layout
// (CalcDynamicLayout, LM_...). The frame windows use them too (docking, floating), so they live
// apart from the bar classes.
#pragma once

// Alignment: the side of the frame the bar is docked at (a floating bar keeps the orientation
// of its floating frame).
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L

// Borders drawn by the bar (two pixels each; CBRS_BORDER_3D adds a highlight line).
#define CBRS_BORDER_LEFT 0x0100L
#define CBRS_BORDER_TOP 0x0200L
#define CBRS_BORDER_RIGHT 0x0400L
#define CBRS_BORDER_BOTTOM 0x0800L
#define CBRS_BORDER_ANY 0x0F00L
#define CBRS_BORDER_3D 0x0080L

#define CBRS_TOOLTIPS 0x0010L     // tooltips for the bar's buttons and controls
#define CBRS_FLYBY 0x0020L        // the status line shows the command under the mouse
#define CBRS_FLOAT_MULTI 0x0040L  // several bars may float in one floating frame
#define CBRS_HIDE_INPLACE 0x0008L // hidden while a server is active in place
#define CBRS_SIZE_DYNAMIC 0x0004L // the bar changes its shape (wraps its buttons) when floating
#define CBRS_SIZE_FIXED 0x0002L   // the bar keeps its shape
#define CBRS_FLOATING 0x0001L     // the bar floats (set by the dock bar that holds it)
#define CBRS_GRIPPER 0x00400000L  // a gripper is drawn at the bar's start while it is docked

#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_ALL 0x0040FFFFL
#define CBRS_NOALIGN 0x00000000L
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Modes of CControlBar::CalcDynamicLayout.
#define LM_STRETCH 0x01  // stretch over the whole length (a docked bar's full width or height)
#define LM_HORZ 0x02     // horizontal layout
#define LM_MRUWIDTH 0x04 // the width the bar had when it last floated
#define LM_HORZDOCK 0x08 // docked at the top or bottom
#define LM_VERTDOCK 0x10 // docked at the left or right
#define LM_LENGTHY 0x20  // nLength is a height (else a width)
#define LM_COMMIT 0x40   // the layout is applied (the bar remembers it)
