// The window layer: threads and the application with their message loops, windows, message maps
// and command routing, dialogs and dialog data, GDI objects and device contexts, menus, image
// lists, and the layer's global functions.
#pragma once

#include "afx.h"
#include "CSize.h"
#include "CPoint.h"
#include "CRect.h"
#include "AfxMessageMap.h"
#include "CHandleMap.h"
#include "AfxThreadState.h"
#include "AfxWinState.h"
#include "CUserException.h"
#include "CCmdTarget.h"
#include "CCmdUI.h"
#include "CWinThread.h"
#include "CWinApp.h"
#include "CGdiObject.h"
#include "CDC.h"
#include "CMenu.h"
#include "CImageList.h"
#include "CWnd.h"
#include "CDataExchange.h"
#include "CDialog.h"
