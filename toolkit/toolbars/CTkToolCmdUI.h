// The command-UI state with which a toolbar updates its buttons at idle time: Enable and SetCheck
// act on the button at m_nIndex of the toolbar in m_pOther; buttons have no text to set.
#pragma once

#include <afxwin.h>

class CTkToolCmdUI : public CCmdUI {
public:
    // Disabling also clears the pressed bit; a whole-drop-down button (style 0x80) stays enabled.
    void Enable(BOOL bOn = TRUE) override;
    // Makes the button a check box and sets checked (1) or indeterminate (2).
    void SetCheck(int nCheck = 1) override;
    void SetText(LPCTSTR lpszText) override;
};
