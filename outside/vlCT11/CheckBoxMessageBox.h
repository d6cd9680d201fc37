// The system's message box with one control more: the check box "Diese Meldung nicht mehr
// anzeigen" below the buttons. A CBT hook of the calling thread adds it when the box is first
// activated and reads it when the box is destroyed.
#pragma once

#include <windows.h>

inline constexpr char kDontShowAgainText[] = "Diese Meldung nicht mehr anzeigen";

// MessageBoxA with the check box; *ticked tells whether the user ticked it.
int MessageBoxWithCheckBox(HWND owner, const char* text, const char* caption, UINT style, bool* ticked);
