// Extensions of the frame layer: splitter windows, form views and the control bars (toolbars,
// status bars, dialog bars, rebars) that dock at the sides of frames.
#pragma once

#include "afxwin.h"
#include "CFormView.h"
#include "CSplitterWnd.h"
#include "CControlBar.h"
#include "CToolBar.h"
#include "CStatusBar.h"
#include "CDialogBar.h"
#include "CReBar.h"
