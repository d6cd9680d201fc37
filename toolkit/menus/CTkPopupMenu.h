// The toolkit's menu for context menus and menu-bar popups: it tracks with TPM_RETURNCMD, reopens
// itself in full when the expand item of a shortened popup was chosen, and can post the chosen
// command to its window. While one exists, cool menus shorten popups (tkMenuState.bPopupActive).
#pragma once

#include <afxwin.h>

class CTkPopupMenu : public CMenu {
public:
    CTkPopupMenu();
    ~CTkPopupMenu() override;

    UINT TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRectExclude = NULL, BOOL bNotify = TRUE);
    UINT TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm, BOOL bNotify = TRUE);
    // The popup at nPos as a temporary object.
    CTkPopupMenu* GetSubMenu(int nPos) const;
    static CTkPopupMenu* FromHandle(HMENU hMenu);
};
