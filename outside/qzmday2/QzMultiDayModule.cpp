// Entry points of qzmday2.dll.
#include "QzMultiDay.h"
#include "QzModule.h"

namespace {

const qz::ClassEntry kClasses[] = {
    {&CLSID_QzMultiDay, "qz Multi Day Control", "QzMultiDayWindow", &CQzMultiDay::Create},
};
const int kClassCount = (int)(sizeof(kClasses) / sizeof(kClasses[0]));

} // namespace

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    return qz::ModuleMain(hInstance, dwReason, kClasses, kClassCount);
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    return qz::ModuleGetClassObject(kClasses, kClassCount, rclsid, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return qz::ModuleCanUnloadNow(); }
extern "C" HRESULT WINAPI DllRegisterServer() { return qz::ModuleRegister(kClasses, kClassCount); }
extern "C" HRESULT WINAPI DllUnregisterServer() { return qz::ModuleUnregister(kClasses, kClassCount); }
