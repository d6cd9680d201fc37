#include "CBrowserViewList.h"

#include "BrowseMenus.h"

CBrowserViewList::CBrowserViewList(HWND hControl, BOOL bAttachEvents, HWND hOwner)
    : CBrowserConfigList(hControl, bAttachEvents, hOwner)
{
}

LRESULT CBrowserViewList::SendToOwner(UINT nMsg, LPARAM lParam)
{
    return SendMessageA(GetOwner(), nMsg, 0, lParam);
}

void CBrowserViewList::TrackViewMenu(POINT ptScreen)
{
    CWnd* pMain = AfxGetMainWnd();
    HMENU hMenu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_BROWSE_VIEW_MENU));
    if (hMenu == NULL)
        return;
    HMENU hPopup = GetSubMenu(hMenu, 0);
    if (hPopup != NULL && pMain != NULL)
        TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, pMain->GetSafeHwnd(), NULL);
    DestroyMenu(hMenu);
}

void CBrowserViewList::OnMouseClick(LPARAM lParam)
{
    const BRMOUSE* pMouse = (const BRMOUSE*)lParam;
    if (pMouse == NULL || pMouse->button != BRBUTTON_RIGHT)
        return;
    POINT pt = {pMouse->x, pMouse->y};
    ClientToScreen(GetControl(), &pt);
    TrackViewMenu(pt);
}

void CBrowserViewList::OnSelChange(LPARAM lParam) { SendToOwner(WM_BROWSE_SELCHANGE, lParam); }
LRESULT CBrowserViewList::OnCompareRows(LPARAM lParam) { return SendToOwner(WM_BROWSE_COMPARE, lParam); }
void CBrowserViewList::OnSortChanged() { SendToOwner(WM_BROWSE_SORTCHANGED, 0); }
LRESULT CBrowserViewList::OnMeasureRow(LPARAM lParam) { return SendToOwner(WM_BROWSE_ROWHEIGHT, lParam); }

LRESULT CBrowserViewList::OnKey(BOOL bKeyDown, LPARAM lParam)
{
    DWORD dwKey = MAKELONG(LOWORD((DWORD)lParam), bKeyDown ? WM_KEYDOWN : WM_KEYUP);
    return SendToOwner(WM_BROWSE_KEY, (LPARAM)dwKey);
}

void CBrowserViewList::OnContextMenu()
{
    POINT pt;
    GetCursorPos(&pt);
    TrackViewMenu(pt);
}
