// The run-time binding of the compression library "VLPA05.DLL" (packed tables and indexes): loaded
// when the first packed file is opened, counted per user, freed when the last user is gone. The
// library is usable when "_PackGetVersion@4" is bound; the other names may be missing (their
// pointers stay NULL).
#pragma once

#include <windows.h>

#include "VLPA05.h"

struct s_PackLibrary {
    LONG users = 0;                 // successful loads not yet undone
    HMODULE module = nullptr;
    PFN_PackCompressBuffer compress = nullptr;
    PFN_PackExpandBuffer expand = nullptr;
    PFN_PackExpandBufferEnh expandEnh = nullptr;
    PFN_PackSetMode setMode = nullptr;
    PFN_PackGetVersion getVersion = nullptr;
    // Bound for completeness; the engine does not call them.
    FARPROC blowfishEncode = nullptr;
    FARPROC blowfishDecode = nullptr;
    FARPROC mimeEncode = nullptr;
    FARPROC mimeDecode = nullptr;
    FARPROC blowfishEncodeData = nullptr;
    FARPROC blowfishDecodeData = nullptr;
};

extern s_PackLibrary g_PackLibrary;

// 0 when the library is bound (now or already), -1 when it cannot be loaded (no system error box
// is shown for a missing file).
int LoadPackLibrary();
// Undoes one LoadPackLibrary; the last one frees the library and unbinds every name.
void FreePackLibrary();
