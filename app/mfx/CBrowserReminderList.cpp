#include "CBrowserReminderList.h"

#include "BrowseMenus.h"

CBrowserReminderList::CBrowserReminderList(HWND hControl, BOOL bAttachEvents, HWND hOwner)
    : CBrowserViewList(hControl, bAttachEvents, hOwner)
{
}

void CBrowserReminderList::TrackReminderMenu(POINT ptScreen)
{
    HMENU hMenu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_BROWSE_REMINDER_MENU));
    if (hMenu == NULL)
        return;
    HMENU hPopup = GetSubMenu(hMenu, 0);
    int nCommand = 0;
    if (hPopup != NULL)
        nCommand = TrackPopupMenu(hPopup, TPM_RIGHTBUTTON | TPM_RETURNCMD, ptScreen.x, ptScreen.y, 0, GetOwner(), NULL);
    DestroyMenu(hMenu);
    if (nCommand == ID_BROWSE_SELECT_ALL)
        SelectAll();
}

void CBrowserReminderList::OnMouseClick(LPARAM lParam)
{
    const BRMOUSE* pMouse = (const BRMOUSE*)lParam;
    if (pMouse == NULL || pMouse->button != BRBUTTON_RIGHT)
        return;
    POINT pt = {pMouse->x, pMouse->y};
    ClientToScreen(GetControl(), &pt);
    TrackReminderMenu(pt);
}

void CBrowserReminderList::OnEvent21() { SendToOwner(WM_BROWSE_REMINDERCUR, 0); }

void CBrowserReminderList::OnContextMenu()
{
    POINT pt;
    GetCursorPos(&pt);
    TrackReminderMenu(pt);
}

void CBrowserReminderList::SelectAll()
{
    int nCount = GetCount();
    for (int nRow = 0; nRow < nCount; nRow++)
        SetSel(nRow, TRUE);
    RedrawRow(BRROW_ALL);
}
