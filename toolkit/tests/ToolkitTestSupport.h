// Helpers of the toolkit's tests: the application object of a test, pumping messages, and
// screenshots of the toolkit's look.
#pragma once

#include <afxwin.h>

#include <string>
#include <vector>

namespace tktest {

// An application object set up as a program start sets it up; with a registry key of this test
// run (HKCU\Software\<key>), removed with everything below it when the object goes.
class CTestApp : public CWinApp {
public:
    CTestApp();
    ~CTestApp() override;

    // Switches the settings to the registry below a key of this process.
    void UseTestRegistryKey();
    CString m_strKey;
};

// Dispatches waiting messages until none is left.
void RunToIdle();

// Paints the window and writes it into <build>\shots\<area>\<name>.png.
std::string SaveWindowShot(HWND hWnd, const char* pszName, const char* pszArea = "toolkit-foundation");

// The output of a command line run under the test's prefix (through cmd /c), and its exit code.
std::string RunAndCapture(const std::string& commandLine, int* pnExitCode = NULL);

} // namespace tktest
