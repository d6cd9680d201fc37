// Window helpers.
#pragma once

#include <afxwin.h>

// Brings the window to the foreground, also from a background process: shows it when it is
// enabled but hidden, restores it when minimised; when SetForegroundWindow alone does not make
// it the foreground window, attaches this thread's input to the foreground window's thread for a
// second attempt. TRUE when the window is (or became) the foreground window.
BOOL MfxForceForegroundWindow(CWnd* pWnd);

// The window's control id; for the edit field of a combo box the combo box's id; 0 for NULL.
int MfxGetCtrlID(CWnd* pWnd);

// Dispatches the messages waiting for this thread and returns when none is left. A WM_QUIT is
// posted again and ends the pumping, for the message loop that ends the thread.
void MfxPumpWaitingMessages();
