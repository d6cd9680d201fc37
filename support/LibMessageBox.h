// Every message box that library code shows goes through this one function, which hands it to
// the controls library (whose unattended mode answers without showing anything).
#pragma once

#include <windows.h>

int LibMessageBox(HWND owner, const char* text, const char* caption, UINT style);
