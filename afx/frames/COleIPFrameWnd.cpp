#include "afxwin.h"
#include "COleIPFrameWnd.h"

IMPLEMENT_DYNCREATE(COleIPFrameWnd, CFrameWnd)

COleIPFrameWnd::COleIPFrameWnd() {}

COleIPFrameWnd::~COleIPFrameWnd() {}
