#include "MfxMessages.h"

#include "vlCT11.h"

const UINT g_nMfxMsgCtlColorBtn = ::RegisterWindowMessageA(CTL_CTLCOLOR_BTN_NAME);
const UINT g_nMfxMsgCtlColorStatic = ::RegisterWindowMessageA(CTL_CTLCOLOR_STATIC_NAME);
const UINT g_nMfxMsgCtlColorListBox = ::RegisterWindowMessageA(CTL_CTLCOLOR_LISTBOX_NAME);
const UINT g_nMfxMsgCtlColorScrollBar = ::RegisterWindowMessageA(CTL_CTLCOLOR_SCROLLBAR_NAME);
const UINT g_nMfxMsgCtlColorEdit = ::RegisterWindowMessageA(CTL_CTLCOLOR_EDIT_NAME);
const UINT g_nMfxMsgCtlColorDlg = ::RegisterWindowMessageA(CTL_CTLCOLOR_DLG_NAME);
const UINT g_nMfxMsgKdMfx = ::RegisterWindowMessageA("KdMfxMessages");
