// Entry points of qzrecorder.dll: one library that answers all four qz class ids.
#include "QzModule.h"
#include "QzRecorder.h"

namespace {

const qz::ClassEntry kClasses[] = {
    {&CLSID_QzDEdit, "qz Recorder (date field)", "QzRecorderDEdit", &CQzRecorder::CreateDEdit},
    {&CLSID_QzMultiDay, "qz Recorder (day grid)", "QzRecorderMultiDay", &CQzRecorder::CreateMultiDay},
    {&CLSID_QzMonth, "qz Recorder (month calendar)", "QzRecorderMonth", &CQzRecorder::CreateMonth},
    {&CLSID_QzCalendar, "qz Recorder (month grid)", "QzRecorderCalendar", &CQzRecorder::CreateCalendar},
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
