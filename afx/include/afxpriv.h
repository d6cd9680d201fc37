// The library's classes behind docking that programs rarely use directly: the dock bars along a
// frame's sides and the floating frame of control bars.
#pragma once

#include "afxadv.h"
#include "CDockBar.h"
#include "CMiniDockFrameWnd.h"
