// One of the minimize, restore and close buttons of a maximized MDI child at the end of the bar.
#pragma once

#include "CTkMenuBarItem.h"

class CTkMenuBarFrameButton : public CTkMenuBarItem {
public:
    CTkMenuBarFrameButton(CTkMenuBar* pBar, UINT nKind, UINT nSysCommand, int nSpacing);

    BOOL IsHidden() const override;
    void GetSize(CSize& size) const override;
    BOOL CanWrap() const override;
    int GetSpacing() const override;

    UINT m_nKind;       // DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE or DFCS_CAPTIONCLOSE
    UINT m_nSysCommand; // SC_MINIMIZE, SC_RESTORE or SC_CLOSE
    int m_nSpacing;
};
