#include "CTkMBarMDIWndHook.h"

CTkMBarMDIWndHook::CTkMBarMDIWndHook(CTkMenuBar* pBar) : CTkMBarWndHook(pBar) { m_bFrameHook = FALSE; }
