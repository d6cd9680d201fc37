// The application and thread classes, windows and the module's global functions. CWnd wraps
// existing windows; creating windows, dialogs and message maps are not part of the library yet.
#pragma once

#include "afx.h"
#include "AfxWinState.h"
#include "CCmdTarget.h"
#include "CWinThread.h"
#include "CWinApp.h"
#include "CWnd.h"
