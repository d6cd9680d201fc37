// The window layer's state of one thread: the messages being handled, the menu being tracked,
// the handle maps and the window under construction. Every thread has its own, made on first use
// and cleaned up (temporary objects deleted, maps freed) when the thread ends.
#pragma once

#include "CHandleMap.h"
#include "CPtrList.h"

#include <commctrl.h>

class CWinThread;
class CWnd;
class CToolTipCtrl;
class CControlBar;

struct _AFX_THREAD_STATE {
    _AFX_THREAD_STATE();
    ~_AFX_THREAD_STATE();

    CWinThread* m_pCurrentWinThread;

    // The last message that the thread's message loop took from the queue.
    MSG m_msgCur;
    // The message that the library's window procedure is handling now (CWnd::GetCurrentMessage,
    // CWnd::Default); saved and restored around nested messages.
    MSG m_lastSentMsg;
    // Where the mouse was at the last WM_MOUSEMOVE (a move to the same place is no reason to
    // leave the idle state).
    POINT m_ptCursorLast;
    UINT m_nMsgLast;

    // The window and menu of the menu that is being tracked (set by menu code, read by hooks).
    HWND m_hTrackingWindow;
    HMENU m_hTrackingMenu;

    // The window whose creation the thread's CBT hook waits for, and the hook.
    CWnd* m_pWndInit;
    HHOOK m_hHookOldCbtFilter;
    // Control notifications from this window are ignored (while a dialog fills its controls).
    HWND m_hLockoutNotifyWindow;
    // While a window's data are exchanged (CDataExchange): that window, which the library's
    // message boxes then belong to (a failed validation's prompt is owned by its dialog).
    HWND m_hWndBoxOwner;

    // The thread's tooltip control of windows with EnableToolTips, the window and hit code of the
    // tool it shows now, and that tool.
    CToolTipCtrl* m_pToolTip;
    CWnd* m_pLastHit;
    INT_PTR m_nLastHit;
    TTTOOLINFOA m_lastInfo;

    // Fly-by help of control bars: the bar whose text the status line shows and the command
    // under the mouse at the last mouse message of a bar (-1: none).
    CControlBar* m_pLastStatus;
    INT_PTR m_nLastStatus;

    // The thread's frame windows (as CWnd*; the frame layer keeps the list): at idle time those
    // that are not child windows get their idle update like the main window.
    CPtrList m_frameList;

    // Temporary objects are deleted only while the lock count is 0.
    int m_nTempMapLock;

    // Handle maps, made on first use.
    CHandleMap* m_pmapHWND;
    CHandleMap* m_pmapHMENU;
    CHandleMap* m_pmapHDC;
    CHandleMap* m_pmapHGDIOBJ;
    CHandleMap* m_pmapHIMAGELIST;

    // Deletes the temporary objects of every map.
    void DeleteTempMaps();
};

_AFX_THREAD_STATE* AFXAPI AfxGetThreadState();

// The calling thread's maps; with bCreate FALSE NULL when the map was never used.
CHandleMap* PASCAL afxMapHWND(BOOL bCreate = FALSE);
CHandleMap* PASCAL afxMapHMENU(BOOL bCreate = FALSE);
CHandleMap* PASCAL afxMapHDC(BOOL bCreate = FALSE);
CHandleMap* PASCAL afxMapHGDIOBJ(BOOL bCreate = FALSE);
CHandleMap* PASCAL afxMapHIMAGELIST(BOOL bCreate = FALSE);

// Temporary objects survive while the maps are locked (counted). AfxUnlockTempMaps answers TRUE
// when it deleted them (the count reached 0 and bDeleteTemps was set).
void AFXAPI AfxLockTempMaps();
BOOL AFXAPI AfxUnlockTempMaps(BOOL bDeleteTemps = TRUE);
