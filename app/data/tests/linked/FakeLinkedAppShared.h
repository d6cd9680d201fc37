// What the fake linked application (fake_linked_app.exe) and the tests that call it agree on.
#pragma once

#include <windows.h>

// The application object: the four methods of a linked application, and Quit.
#define FLA_PROGID "OX.FakeLinkedApp"
// {7C3D2A51-4E8B-4F1C-9A6D-2B5E8F0C1D71}
static const CLSID CLSID_FakeLinkedApp = {0x7c3d2a51, 0x4e8b, 0x4f1c, {0x9a, 0x6d, 0x2b, 0x5e, 0x8f, 0x0c, 0x1d, 0x71}};

// An object of the same program without those methods (only a "Name" property), made by COM.
#define FLA_BARE_PROGID "OX.FakeLinkedBare"
// {7C3D2A52-4E8B-4F1C-9A6D-2B5E8F0C1D71}
static const CLSID CLSID_FakeLinkedBare = {0x7c3d2a52, 0x4e8b, 0x4f1c, {0x9a, 0x6d, 0x2b, 0x5e, 0x8f, 0x0c, 0x1d, 0x71}};

// The program appends one line per start ("start <pid> user" or "start <pid> com") and one per
// call of a method ("<method>|<argument>|...", see FakeLinkedApp.cpp) to the file this
// environment variable names.
#define FLA_LOG_VARIABLE "OX_FAKE_LINKED_LOG"
