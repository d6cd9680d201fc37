// Keeps the menu bar in step with its frame: activation, the maximized state of MDI children,
// menus switched through WM_MDISETMENU, the window list when the window menu opens.
#pragma once

#include "CTkWndHook.h"

class CTkMenuBar;

class CTkMBarWndHook : public CTkWndHook {
public:
    explicit CTkMBarWndHook(CTkMenuBar* pBar);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CTkMenuBar* m_pBar;
    BOOL m_bFrameHook; // the frame's hook (not the MDI client's)
};
