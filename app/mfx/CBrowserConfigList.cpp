#include "CBrowserConfigList.h"

#include "MfxWindows.h"

CBrowserConfigList::CBrowserConfigList(HWND hControl, BOOL bAttachEvents, HWND hOwner)
    : CBrowserListWrapper(hControl, bAttachEvents, hOwner)
{
}

LRESULT CBrowserConfigList::OnColumnMenu(LPARAM)
{
    HMENU hMenu = LoadMenuA(AfxGetResourceHandle(), "BrwConfigMenu");
    if (hMenu == NULL)
        return 1;
    HMENU hPopup = GetSubMenu(hMenu, 0);
    CWnd* pMain = AfxGetMainWnd();
    if (hPopup != NULL && pMain != NULL) {
        POINT pt;
        GetCursorPos(&pt);
        TrackPopupMenu(hPopup, TPM_CENTERALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, pMain->GetSafeHwnd(), NULL);
        MfxPumpWaitingMessages();
    }
    DestroyMenu(hMenu);
    return 1;
}

LRESULT CBrowserConfigList::ApplySystemColors()
{
    SetOption(BRA_COLORS, 0);
    static const struct {
        int nAttribute;
        int nSysColor;
    } kColors[] = {
        {BRA_CLR_HEADERBK, COLOR_ACTIVECAPTION}, {BRA_CLR_HEADERTX, COLOR_CAPTIONTEXT},
        {BRA_CLR_ROWBK, COLOR_BTNFACE},          {BRA_CLR_ALTBK, COLOR_BTNFACE},
        {BRA_CLR_ROWTX, COLOR_BTNTEXT},          {BRA_CLR_ALTTX, COLOR_BTNTEXT},
        {BRA_CLR_SELBK, COLOR_HIGHLIGHT},        {BRA_CLR_CURBK, COLOR_HIGHLIGHT},
        {BRA_CLR_SELTX, COLOR_HIGHLIGHTTEXT},    {BRA_CLR_CURTX, COLOR_HIGHLIGHTTEXT},
    };
    LRESULT lr = 0;
    for (const auto& c : kColors)
        lr = SetColor(c.nAttribute, GetSysColor(c.nSysColor));
    return lr;
}
