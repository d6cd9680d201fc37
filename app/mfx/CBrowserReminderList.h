// The list of the collective reminder window: its own context menu ("select all"), the current
// row's change goes to the owner.
#pragma once

#include "CBrowserViewList.h"

class CBrowserReminderList : public CBrowserViewList {
public:
    CBrowserReminderList(HWND hControl, BOOL bAttachEvents, HWND hOwner);

    void OnMouseClick(LPARAM lParam) override;
    void OnEvent21() override;
    void OnContextMenu() override;

    void SelectAll();

private:
    void TrackReminderMenu(POINT ptScreen);
};
