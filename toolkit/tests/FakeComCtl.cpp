// Stand-ins of the common-controls library for the version check: built once per version
// (FAKE_MAJOR, FAKE_MINOR), and once without DllGetVersion (FAKE_NO_VERSION).
#include <windows.h>
#include <shlwapi.h>

#ifndef FAKE_NO_VERSION
extern "C" __declspec(dllexport) HRESULT CALLBACK DllGetVersion(DLLVERSIONINFO* pdvi)
{
    if (pdvi == NULL || pdvi->cbSize < sizeof(DLLVERSIONINFO))
        return E_INVALIDARG;
    pdvi->dwMajorVersion = FAKE_MAJOR;
    pdvi->dwMinorVersion = FAKE_MINOR;
    pdvi->dwBuildNumber = 0;
    pdvi->dwPlatformID = DLLVER_PLATFORM_NT;
    return S_OK;
}
#else
extern "C" __declspec(dllexport) int FakeComCtlWithoutVersion() { return 0; }
#endif
