// The class-object hook from inside a program, as the test driver arranged its folder (a stand-in
// library copied as qzdedit.dll beside it, no other control library). Prints one line per case:
//   patched=<slots of the first installation>
//   dedit=<HRESULT hex> served=<1 when the stand-in's factory came back> requests=<n>
//   unknown=<hook HRESULT> real=<the real function's HRESULT>
//   month=<hook HRESULT> real=<HRESULT> loaded=<qzmonth.dll loaded 0|1>
//   second=<slots patched by a second installation> again=<unknown CLSID through the hook>
#include <windows.h>
#include <objbase.h>

#include <stdio.h>

#include "ClassObjectHook.h"

typedef HRESULT(WINAPI* CoGetClassObjectFn)(REFCLSID, DWORD, COSERVERINFO*, REFIID, LPVOID*);

int main()
{
    ::CoInitialize(NULL);
    const CLSID clsidDateEdit = {0x4C9ED945, 0xB3A9, 0x11D3, {0x94, 0x41, 0xA0, 0xAC, 0x0E, 0xC1, 0x00, 0x00}};
    const CLSID clsidMonth = {0x6B787745, 0x7A47, 0x11D3, {0x94, 0x41, 0x50, 0xAC, 0x0E, 0xC1, 0x00, 0x00}};
    const CLSID clsidUnknown = {0x0D1E2F3A, 0x4B5C, 0x4D6E, {0x8F, 0x90, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6}};
    CoGetClassObjectFn pfnReal =
        (CoGetClassObjectFn)::GetProcAddress(::GetModuleHandleA("ole32.dll"), "CoGetClassObject");

    ClassObjectHook::InstallClassObjectHook();
    const int nFirst = ClassObjectHook::GetPatchedSlots();
    printf("patched=%d\n", nFirst);

    void* pv = NULL;
    HRESULT hr = ::CoGetClassObject(clsidDateEdit, CLSCTX_INPROC_SERVER, NULL, IID_IClassFactory, &pv);
    HMODULE hServer = ::GetModuleHandleA("qzdedit.dll");
    typedef IClassFactory* (*FactoryFn)();
    typedef LONG (*RequestsFn)();
    FactoryFn pfnFactory = hServer != NULL ? (FactoryFn)::GetProcAddress(hServer, "HookServerFactory") : NULL;
    RequestsFn pfnRequests = hServer != NULL ? (RequestsFn)::GetProcAddress(hServer, "HookServerRequests") : NULL;
    printf("dedit=%08lX served=%d requests=%ld\n", (unsigned long)hr, pfnFactory != NULL && pv == pfnFactory(),
           pfnRequests != NULL ? pfnRequests() : -1L);

    pv = NULL;
    HRESULT hrHook = ::CoGetClassObject(clsidUnknown, CLSCTX_ALL, NULL, IID_IClassFactory, &pv);
    HRESULT hrReal = pfnReal(clsidUnknown, CLSCTX_ALL, NULL, IID_IClassFactory, &pv);
    printf("unknown=%08lX real=%08lX\n", (unsigned long)hrHook, (unsigned long)hrReal);

    hrHook = ::CoGetClassObject(clsidMonth, CLSCTX_ALL, NULL, IID_IClassFactory, &pv);
    hrReal = pfnReal(clsidMonth, CLSCTX_ALL, NULL, IID_IClassFactory, &pv);
    printf("month=%08lX real=%08lX loaded=%d\n", (unsigned long)hrHook, (unsigned long)hrReal,
           ::GetModuleHandleA("qzmonth.dll") != NULL);

    ClassObjectHook::InstallClassObjectHook();
    hrHook = ::CoGetClassObject(clsidUnknown, CLSCTX_ALL, NULL, IID_IClassFactory, &pv);
    printf("second=%d again=%08lX\n", ClassObjectHook::GetPatchedSlots() - nFirst, (unsigned long)hrHook);
    ::CoUninitialize();
    return 0;
}
