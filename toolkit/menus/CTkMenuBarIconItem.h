// The icon of a maximized MDI child at the start of the menu bar (its system menu).
#pragma once

#include "CTkMenuBarItem.h"

class CTkMenuBarIconItem : public CTkMenuBarItem {
public:
    explicit CTkMenuBarIconItem(CTkMenuBar* pBar);

    BOOL IsHidden() const override;
    void GetSize(CSize& size) const override;
    int GetSpacing() const override;
};
