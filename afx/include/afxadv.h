// The docking context of control bars (dragging, floating, docking by mouse) and the saved layout
// of a frame's bars.
#pragma once

#include "afxext.h"
#include "CDockContext.h"
#include "CControlBarInfo.h"
#include "CDockState.h"
