// Registration-free activation of the day, month and date controls: the program's calls of
// CoGetClassObject (the import slots of every image loaded at start-up) are redirected to a hook
// that serves the four control CLSIDs from their libraries (loaded by file name, asked through
// their exported DllGetClassObject) and passes every other request to the real function.
#pragma once

#include <windows.h>

namespace ClassObjectHook {

// Finds the real CoGetClassObject (once) and patches the import slots of all loaded images.
// TRUE; the slots patched are counted in GetPatchedSlots.
BOOL InstallClassObjectHook();

// Replaces, in every import descriptor of the image, each slot holding the real function by the
// hook; the number of slots changed.
int PatchImportAddressTable(HMODULE hImage);

// The hook: a control CLSID whose library loads and exports DllGetClassObject gets that
// function's answer; everything else goes to the real CoGetClassObject with its result.
HRESULT WINAPI HookedCoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, COSERVERINFO* pServerInfo, REFIID riid,
                                      LPVOID* ppv);

// The library file name that serves the CLSID, or NULL.
LPCSTR LibraryForClsid(REFCLSID rclsid);

// Slots patched since the start (all installations together).
int GetPatchedSlots();

} // namespace ClassObjectHook
