// The list of a list view: selection, comparisons, sort changes, row heights and keys go to the
// owner window as messages; a right click or the menu key opens the list views' context menu,
// whose command goes to the main window.
#pragma once

#include "CBrowserConfigList.h"

// Messages to the owner (wParam 0).
#define WM_BROWSE_SELCHANGE   0x905 // lParam: the event's parameter
#define WM_BROWSE_REMINDERCUR 0x915 // lParam 0: the current row of the reminder list changed
#define WM_BROWSE_COMPARE     0x91B // lParam: BRCOMPARE*; the answer goes to the control
#define WM_BROWSE_SORTCHANGED 0x91C // lParam 0
#define WM_BROWSE_ROWHEIGHT   0x924 // lParam: the default height; answer a height or -1
#define WM_BROWSE_CHECKING    0x92E // lParam: BRCHECK*; non-zero: handled
#define WM_BROWSE_CHECKED     0x92F // lParam: BRCHECK*
#define WM_BROWSE_KEY         0x937 // lParam: WM_KEYDOWN/WM_KEYUP << 16 | virtual key

class CBrowserViewList : public CBrowserConfigList {
public:
    CBrowserViewList(HWND hControl, BOOL bAttachEvents, HWND hOwner);

    void OnMouseClick(LPARAM lParam) override;
    void OnSelChange(LPARAM lParam) override;
    LRESULT OnCompareRows(LPARAM lParam) override;
    void OnSortChanged() override;
    LRESULT OnMeasureRow(LPARAM lParam) override;
    LRESULT OnKey(BOOL bKeyDown, LPARAM lParam) override;
    void OnContextMenu() override;

protected:
    // Opens the list views' menu at the screen point; the command goes to the main window.
    void TrackViewMenu(POINT ptScreen);
    LRESULT SendToOwner(UINT nMsg, LPARAM lParam);
};
