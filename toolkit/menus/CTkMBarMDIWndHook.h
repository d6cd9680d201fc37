// The menu bar's hook on the MDI client window.
#pragma once

#include "CTkMBarWndHook.h"

class CTkMBarMDIWndHook : public CTkMBarWndHook {
public:
    explicit CTkMBarMDIWndHook(CTkMenuBar* pBar);
};
