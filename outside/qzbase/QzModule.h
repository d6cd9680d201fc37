// The module side of a qz control library: its class objects, its unloading and its entries in
// the registry (HKLM\Software\Classes\CLSID\{...}, where Wine looks for them).
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace qz {

// One control class of the library.
struct ClassEntry {
    const CLSID* pClsid;
    const char* pszName;        // registry description
    const char* pszWindowClass; // window class of its controls
    IUnknown* (*pfnCreate)();   // a new control (one reference)
};

BOOL ModuleMain(HINSTANCE hInstance, DWORD dwReason, const ClassEntry* pEntries, int nEntries);
HRESULT ModuleGetClassObject(const ClassEntry* pEntries, int nEntries, REFCLSID rclsid, REFIID riid, void** ppv);
HRESULT ModuleCanUnloadNow();
HRESULT ModuleRegister(const ClassEntry* pEntries, int nEntries);
HRESULT ModuleUnregister(const ClassEntry* pEntries, int nEntries);

} // namespace qz
