// Hover help: one tooltip window per top-level window holds the help texts of its controls.
#pragma once

#include <windows.h>

#include <string>

// Attaches (or replaces) the help text of a control; an empty text removes it. The tool goes
// with the control. False when the control is no window or the tooltip cannot be made.
bool AttachHelpText(HWND control, const std::string& text);
// The current hover delay in milliseconds.
int HelpDelay();
