// The application and thread classes and the module's global functions. Windows, dialogs and
// message maps are not part of the library yet; CWnd is only declared.
#pragma once

#include "afx.h"
#include "AfxModuleState.h"
#include "CCmdTarget.h"
#include "CWinThread.h"
#include "CWinApp.h"
