#include "CTkDockBar.h"

IMPLEMENT_DYNAMIC(CTkDockBar, CDockBar)

CTkDockBar::CTkDockBar(BOOL bFloating) : CDockBar(bFloating) {}
