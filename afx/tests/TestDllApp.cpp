// A DLL with an application object of its own, as the timer library has: its InitInstance and
// ExitInstance run from the DLL entry point that the class library supplies. Both record their
// call in an environment variable of the process, which the test reads.
#include <afxwin.h>

namespace {

class CTestDllApp : public CWinApp {
public:
    CTestDllApp() : CWinApp("OxAfxDllApp") {}

    BOOL InitInstance() override
    {
        SetEnvironmentVariableA("OX_AFX_DLLAPP", "InitInstance");
        return TRUE;
    }

    int ExitInstance() override
    {
        SetEnvironmentVariableA("OX_AFX_DLLAPP", "ExitInstance");
        return CWinApp::ExitInstance();
    }
};

CTestDllApp theApp;

} // namespace

extern "C" __declspec(dllexport) LPCSTR AfxTestDllAppName() { return AfxGetAppName(); }

extern "C" __declspec(dllexport) HINSTANCE AfxTestDllInstance() { return AfxGetInstanceHandle(); }

extern "C" __declspec(dllexport) BOOL AfxTestDllAppIsCurrent() { return AfxGetApp() == &theApp; }
