// "VlmrHelpID1132": a marker in a dialog template whose caption is a help id (for instance "160").
// It keeps its caption for whoever reads it, and is never painted, clicked or focused: it has no
// size, takes no mouse input, is disabled and no tab stop.
#pragma once

#include <windows.h>

bool RegisterHelpIdMarker(HINSTANCE instance);
