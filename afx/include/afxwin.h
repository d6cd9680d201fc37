// The window layer (threads, the application, windows, message maps, dialogs, GDI, menus) and
// the frame layer above it: frame windows, views, documents and their templates.
#pragma once

#include "AfxWindowLayer.h"
#include "CCreateContext.h"
#include "CDocument.h"
#include "CView.h"
#include "CScrollView.h"
#include "CCtrlView.h"
#include "CFrameWnd.h"
#include "CMiniFrameWnd.h"
#include "CMDIFrameWnd.h"
#include "CMDIChildWnd.h"
#include "CDocTemplate.h"
#include "CSingleDocTemplate.h"
