// The toolkit frame set up the way the program's main frame is: flat look, the menu bar 59480 with
// menu 128, the toolbar 0xE800 with the pictures of toolbar 128, the status bar 59393 with the
// commands' texts, bars docked at the top or bottom and cool menus. Every command of the menu
// shows its id in the status bar. Used by the demo program and the frame's screenshot test.
#pragma once

#include <afxext.h>

#include "CTkFrameWnd.h"
#include "CTkToolBar.h"

class CDemoFrame : public CTkFrameWnd {
public:
    CDemoFrame();

    CTkToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;
    UINT m_nLastCommand;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnMenuCommand(UINT nID);
    afx_msg void OnUpdateMenuCommand(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
