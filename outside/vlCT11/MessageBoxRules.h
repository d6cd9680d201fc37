// What a message box of a given style offers: its buttons and the id its default button answers.
#pragma once

#include <windows.h>

#include <vector>

// The ids of the buttons of the style's button set (MB_TYPEMASK), in the order they appear;
// empty for a button set that does not exist (the box would fail).
std::vector<int> MessageBoxButtons(UINT style);

// The id of the default button: MB_DEFBUTTON1..4 counts within the button set; a default beyond
// the set (for example the Help button of MB_HELP) falls back to the first button. 0 when the
// button set does not exist, which is what a failing box returns.
int DefaultAnswer(UINT style);
