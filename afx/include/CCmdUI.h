// The user-interface item of a command whose state is being updated: a menu item (m_pMenu and
// m_nIndex) or a window such as a control (m_pOther). The update handlers of the command
// (ON_UPDATE_COMMAND_UI) set the state through Enable, SetCheck, SetRadio and SetText.
#pragma once

#include "AfxBase.h"

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() {}

    UINT m_nID;
    UINT m_nIndex;      // position of the menu item
    CMenu* m_pMenu;     // the menu of the item, or NULL
    CMenu* m_pSubMenu;  // the popup the item opens, or NULL
    CWnd* m_pOther;     // the window of the command (not a menu), or NULL
    UINT m_nIndexMax;   // the number of items of the menu

    BOOL m_bEnableChanged;   // Enable was called
    BOOL m_bContinueRouting; // the handler asked to route the update on

    virtual void Enable(BOOL bOn = TRUE);
    // 0 unchecked, 1 checked, 2 indeterminate (buttons).
    virtual void SetCheck(int nCheck = 1);
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);

    // Called by an update handler that wants the next target to handle the update as well.
    void ContinueRouting();

    // Asks pTarget to update the item; with bDisableIfNoHndler an item whose command has neither
    // update handler nor command handler is disabled (except commands of the system menu).
    // Answers whether an update handler handled it.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
