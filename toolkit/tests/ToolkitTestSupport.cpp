#include "ToolkitTestSupport.h"

#include "TestKit.h"

namespace tktest {

CTestApp::CTestApp() { AfxWinInit(::GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_SHOWNORMAL); }

CTestApp::~CTestApp()
{
    if (!m_strKey.IsEmpty())
        DelRegTree(HKEY_CURRENT_USER, "Software\\" + m_strKey);
}

void CTestApp::UseTestRegistryKey()
{
    static int s_nCount = 0;
    m_strKey.Format("OxToolkitTest-%lu-%d", ::GetCurrentProcessId(), ++s_nCount);
    SetRegistryKey(m_strKey);
}

void RunToIdle() { oxtest::PumpMessages(); }

std::string SaveWindowShot(HWND hWnd, const char* pszName, const char* pszArea)
{
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    HDC hdc = ::GetWindowDC(hWnd);
    std::string strPath =
        oxtest::SaveShot(hdc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, pszArea, pszName);
    ::ReleaseDC(hWnd, hdc);
    return strPath;
}

std::string RunAndCapture(const std::string& commandLine, int* pnExitCode)
{
    oxtest::TempDir dir("tkcap");
    std::string strOut = dir.File("out.txt");
    int nExit = oxtest::RunProcess("cmd.exe /c " + commandLine + " > \"" + strOut + "\" 2>&1");
    if (pnExitCode != NULL)
        *pnExitCode = nExit;
    return oxtest::ReadFileText(strOut);
}

} // namespace tktest
