// A browse list with the program's column menu and the system's colours; the resource list and
// the base of the list views.
#pragma once

#include "CBrowserListWrapper.h"

class CBrowserConfigList : public CBrowserListWrapper {
public:
    CBrowserConfigList(HWND hControl, BOOL bAttachEvents, HWND hOwner);

    // The column menu ("BrwConfigMenu" in the program's resources; none there: nothing shown).
    LRESULT OnColumnMenu(LPARAM lParam) override;
    // Colours of header, rows and selection from the system's colours.
    virtual LRESULT ApplySystemColors();
};
