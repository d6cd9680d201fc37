#include "CTkMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(CTkMiniDockFrameWnd, CMiniDockFrameWnd)

CTkMiniDockFrameWnd::CTkMiniDockFrameWnd() {}
