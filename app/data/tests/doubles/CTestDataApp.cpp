#include "CTestDataApp.h"

#include "CMfxString.h"

namespace {

LONG g_nApps = 0;

} // namespace

CTestDataApp::CTestDataApp() : CWinApp("OX Datentest")
{
    AfxWinInit(GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_SHOWNORMAL);
    CString strKey;
    strKey.Format("OxDataTest-%lu-%ld", GetCurrentProcessId(), InterlockedIncrement(&g_nApps));
    SetRegistryKey(strKey);
    m_strRootKey = "Software\\" + strKey;
}

CTestDataApp::~CTestDataApp()
{
    m_pSettings.reset();
    DelRegTree(HKEY_CURRENT_USER, m_strRootKey);
}

CString CTestDataApp::GetRegistryPath()
{
    CString strPath;
    strPath.Format("Software\\%s\\%s", m_pszRegistryKey, m_pszProfileName);
    return strPath;
}

CString CTestDataApp::GetProgramDirectory()
{
    if (!m_strProgramDirectory.IsEmpty())
        return m_strProgramDirectory;
    char szPath[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, szPath, MAX_PATH);
    return n > 0 && n < MAX_PATH ? CMfxString(szPath).GetDirectory() : CString();
}

CAppSettings& CTestDataApp::CreateSettings()
{
    m_pSettings.reset();
    m_pSettings = std::make_unique<CAppSettings>(this);
    return *m_pSettings;
}
