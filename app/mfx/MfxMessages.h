// The registered window messages of the dialog framework: the controls library's colour
// messages (a control of the library asks its parent for a brush: wParam the device context,
// lParam the control) and "KdMfxMessages". Static initialisers register them at program start;
// message maps refer to these globals.
#pragma once

#include <windows.h>

extern const UINT g_nMfxMsgCtlColorBtn;       // "CTL_CTLCOLOR_BTN"
extern const UINT g_nMfxMsgCtlColorStatic;    // "CTL_CTLCOLOR_STATIC"
extern const UINT g_nMfxMsgCtlColorListBox;   // "CTL_CTLCOLOR_LISTBOX"
extern const UINT g_nMfxMsgCtlColorScrollBar; // "CTL_CTLCOLOR_SCROLLBAR"
extern const UINT g_nMfxMsgCtlColorEdit;      // "CTL_CTLCOLOR_EDIT"
extern const UINT g_nMfxMsgCtlColorDlg;       // "CTL_CTLCOLOR_DLG"
extern const UINT g_nMfxMsgKdMfx;             // "KdMfxMessages"

// wParam of "KdMfxMessages": a notification with two 16-bit values (LOWORD and HIWORD of lParam),
// and one without values.
#define MFX_MSG_NOTIFY_VALUES 101
#define MFX_MSG_NOTIFY 102
