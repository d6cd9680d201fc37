// The application object: names from the module, profile functions in the registry (below a key
// of the test's own, removed at the end) and in a profile file, and an application object inside
// a DLL.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include "AfxTestResource.h"
#include "TestKit.h"

namespace {

bool KeyExists(const CString& path)
{
    HKEY hKey;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

// An application object set up as a program start sets it up, with the settings below
// HKCU\Software\<a key of this test run>.
class WinAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        AfxWinInit(GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_SHOWNORMAL);
        m_strKey.Format("OxAfxTest-%lu", GetCurrentProcessId());
    }

    void TearDown() override
    {
        app.DelRegTree(HKEY_CURRENT_USER, "Software\\" + m_strKey);
        EXPECT_FALSE(KeyExists("Software\\" + m_strKey)) << "the test left its registry key behind";
    }

    CWinApp app;
    CString m_strKey;
};

} // namespace

TEST_F(WinAppTest, NamesComeFromTheModule)
{
    EXPECT_EQ(&app, AfxGetApp());
    EXPECT_EQ(&app, AfxGetThread());
    EXPECT_EQ(nullptr, AfxGetMainWnd());
    EXPECT_EQ(GetModuleHandleA(NULL), AfxGetInstanceHandle());
    EXPECT_EQ(GetModuleHandleA(NULL), AfxGetResourceHandle());
    EXPECT_EQ(GetModuleHandleA(NULL), app.m_hInstance);
    EXPECT_STREQ("Ox Klassenbibliothek Test", app.m_pszAppName); // the AFX_IDS_APP_TITLE resource
    EXPECT_STREQ("Ox Klassenbibliothek Test", AfxGetAppName());
    EXPECT_STREQ("afx_test", app.m_pszExeName);
    EXPECT_STREQ("afx_test.INI", app.m_pszProfileName);
    EXPECT_EQ(nullptr, app.m_pszRegistryKey);

    // Strings come from the resource module.
    HMODULE hNoStrings = LoadLibraryExA("afx_test_dllapp.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE((HMODULE)NULL, hNoStrings);
    AfxSetResourceHandle(hNoStrings);
    CString text;
    EXPECT_FALSE(text.LoadString(IDS_TEST_GREETING));
    AfxSetResourceHandle(GetModuleHandleA(NULL));
    EXPECT_TRUE(text.LoadString(IDS_TEST_GREETING));
    FreeLibrary(hNoStrings);

    app.SetRegistryKey(IDS_TEST_REGISTRY_KEY);
    EXPECT_STREQ("OX Testschlüssel", app.m_pszRegistryKey);
    EXPECT_STREQ("Ox Klassenbibliothek Test", app.m_pszProfileName);
}

TEST_F(WinAppTest, ProfileValuesInTheRegistry)
{
    app.SetRegistryKey(m_strKey);
    EXPECT_STREQ(m_strKey, app.m_pszRegistryKey);

    // Missing values give the defaults.
    EXPECT_EQ(15u, app.GetProfileInt("Settings", "DefRemindSpan", 15));
    EXPECT_STREQ("0;0;0;0", app.GetProfileString("Settings", "RectDlgMain", "0;0;0;0"));
    EXPECT_STREQ("", app.GetProfileString("Settings", "CurrentUser"));
    BYTE* pData = (BYTE*)1;
    UINT nBytes = 99;
    EXPECT_FALSE(app.GetProfileBinary("Settings", "Options", &pData, &nBytes));
    EXPECT_EQ(nullptr, pData);
    EXPECT_EQ(0u, nBytes);

    EXPECT_TRUE(app.WriteProfileInt("Settings", "DefRemindSpan", 30));
    EXPECT_TRUE(app.WriteProfileInt("Settings", "Negative", -5));
    EXPECT_TRUE(app.WriteProfileString("Settings", "CurrentUser", "Jürgen"));
    BYTE block[] = {0x00, 0x1F, 0xA5};
    EXPECT_TRUE(app.WriteProfileBinary("Settings", "Options", block, sizeof block));

    EXPECT_EQ(30u, app.GetProfileInt("Settings", "DefRemindSpan", 15));
    EXPECT_EQ(-5, (int)app.GetProfileInt("Settings", "Negative", 0));
    EXPECT_STREQ("Jürgen", app.GetProfileString("Settings", "CurrentUser"));
    ASSERT_TRUE(app.GetProfileBinary("Settings", "Options", &pData, &nBytes));
    ASSERT_EQ(3u, nBytes);
    EXPECT_EQ(0, memcmp(block, pData, 3));
    delete[] pData;

    // A string value is no number.
    EXPECT_EQ(7u, app.GetProfileInt("Settings", "CurrentUser", 7));

    // The values live below Software\<key>\<application name>\<section>.
    CString strSection = "Software\\" + m_strKey + "\\Ox Klassenbibliothek Test\\Settings";
    EXPECT_TRUE(KeyExists(strSection));
    HKEY hSection = app.GetSectionKey("Settings");
    ASSERT_NE((HKEY)NULL, hSection);
    DWORD dwValue = 0, dwType = 0, cb = sizeof dwValue;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(hSection, "DefRemindSpan", NULL, &dwType, (LPBYTE)&dwValue, &cb));
    EXPECT_EQ((DWORD)REG_DWORD, dwType);
    EXPECT_EQ(30u, dwValue);
    RegCloseKey(hSection);

    // A NULL value removes the value, a NULL entry the section.
    EXPECT_TRUE(app.WriteProfileString("Settings", "CurrentUser", NULL));
    EXPECT_STREQ("weg", app.GetProfileString("Settings", "CurrentUser", "weg"));
    EXPECT_TRUE(app.WriteProfileString("Settings", NULL, NULL));
    EXPECT_FALSE(KeyExists(strSection));
}

TEST_F(WinAppTest, DelRegTreeRemovesNestedKeys)
{
    app.SetRegistryKey(m_strKey);
    app.WriteProfileInt("A", "x", 1);
    app.WriteProfileInt("B", "y", 2);
    CString strApp = "Software\\" + m_strKey + "\\Ox Klassenbibliothek Test";
    EXPECT_TRUE(KeyExists(strApp + "\\B"));
    EXPECT_EQ(ERROR_SUCCESS, app.DelRegTree(HKEY_CURRENT_USER, strApp));
    EXPECT_FALSE(KeyExists(strApp));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, app.DelRegTree(HKEY_CURRENT_USER, strApp));
}

TEST_F(WinAppTest, ProfileValuesInAProfileFile)
{
    oxtest::TempDir dir("afxini");
    std::string path = dir.File("ox.ini");
    free((void*)app.m_pszProfileName);
    app.m_pszProfileName = _strdup(path.c_str());

    EXPECT_TRUE(app.WriteProfileInt("Settings", "WeekViewRows", 7));
    EXPECT_TRUE(app.WriteProfileString("Settings", "FilterUser", "Jürgen"));
    BYTE block[] = {0x00, 0x1F, 0xA5};
    EXPECT_TRUE(app.WriteProfileBinary("Settings", "Options", block, sizeof block));

    std::string text = oxtest::ReadFileText(path);
    EXPECT_NE(std::string::npos, text.find("Options=AAPBFK")) << text;
    EXPECT_NE(std::string::npos, text.find("WeekViewRows=7")) << text;

    EXPECT_EQ(7u, app.GetProfileInt("Settings", "WeekViewRows", 0));
    EXPECT_STREQ("Jürgen", app.GetProfileString("Settings", "FilterUser"));
    BYTE* pData = NULL;
    UINT nBytes = 0;
    ASSERT_TRUE(app.GetProfileBinary("Settings", "Options", &pData, &nBytes));
    ASSERT_EQ(3u, nBytes);
    EXPECT_EQ(0, memcmp(block, pData, 3));
    delete[] pData;

    // An odd trailing letter is dropped.
    app.WriteProfileString("Settings", "Odd", "AAP");
    ASSERT_TRUE(app.GetProfileBinary("Settings", "Odd", &pData, &nBytes));
    EXPECT_EQ(1u, nBytes);
    EXPECT_EQ(0x00, pData[0]);
    delete[] pData;

    EXPECT_FALSE(app.GetProfileBinary("Settings", "Missing", &pData, &nBytes));
    EXPECT_EQ(nullptr, pData);
}

TEST(DllApplication, InitInstanceAndExitInstanceRunFromTheDllEntryPoint)
{
    SetEnvironmentVariableA("OX_AFX_DLLAPP", NULL);
    CWinApp* pOwnApp = AfxGetApp();

    HMODULE hDll = LoadLibraryA("afx_test_dllapp.dll");
    ASSERT_NE((HMODULE)NULL, hDll);
    char state[64] = "";
    GetEnvironmentVariableA("OX_AFX_DLLAPP", state, sizeof state);
    EXPECT_STREQ("InitInstance", state);

    auto pfnName = (LPCSTR(*)())(void (*)())GetProcAddress(hDll, "AfxTestDllAppName");
    auto pfnInstance = (HINSTANCE(*)())(void (*)())GetProcAddress(hDll, "AfxTestDllInstance");
    auto pfnIsCurrent = (BOOL(*)())(void (*)())GetProcAddress(hDll, "AfxTestDllAppIsCurrent");
    ASSERT_TRUE(pfnName != NULL && pfnInstance != NULL && pfnIsCurrent != NULL);
    EXPECT_STREQ("OxAfxDllApp", pfnName());
    EXPECT_EQ(hDll, pfnInstance());
    EXPECT_TRUE(pfnIsCurrent());
    // Each module has its own application object.
    EXPECT_EQ(pOwnApp, AfxGetApp());

    EXPECT_TRUE(FreeLibrary(hDll));
    GetEnvironmentVariableA("OX_AFX_DLLAPP", state, sizeof state);
    EXPECT_STREQ("ExitInstance", state);
}

TEST_F(WinAppTest, CursorsAndIconsComeFromTheModuleThatHasThem)
{
    // The program's own (in the resource module), the system's and the OEM ones.
    HICON hIcon = app.LoadIcon(IDI_TEST_ICON);
    ASSERT_NE((HICON)NULL, hIcon);
    ICONINFO ii;
    ASSERT_TRUE(GetIconInfo(hIcon, &ii));
    EXPECT_TRUE(ii.fIcon);
    DeleteObject(ii.hbmMask);
    if (ii.hbmColor != NULL)
        DeleteObject(ii.hbmColor);
    HCURSOR hCursor = app.LoadCursor(IDC_TEST_CURSOR);
    ASSERT_NE((HCURSOR)NULL, hCursor);
    ASSERT_TRUE(GetIconInfo((HICON)hCursor, &ii));
    EXPECT_FALSE(ii.fIcon);
    EXPECT_EQ(16u, ii.xHotspot);
    EXPECT_EQ(16u, ii.yHotspot);
    DeleteObject(ii.hbmMask);
    if (ii.hbmColor != NULL)
        DeleteObject(ii.hbmColor);
    EXPECT_EQ(app.LoadIcon(MAKEINTRESOURCE(IDI_TEST_ICON)), hIcon);
    EXPECT_EQ(LoadCursorA(NULL, IDC_WAIT), app.LoadStandardCursor(IDC_WAIT));
    EXPECT_EQ(LoadIconA(NULL, IDI_QUESTION), app.LoadStandardIcon(IDI_QUESTION));
    EXPECT_EQ(LoadCursorA(NULL, MAKEINTRESOURCE(32512)), app.LoadOEMCursor(32512)); // OCR_NORMAL
    EXPECT_EQ(LoadIconA(NULL, MAKEINTRESOURCE(32516)), app.LoadOEMIcon(32516));     // OIC_NOTE
    EXPECT_EQ((HICON)NULL, app.LoadIcon(4711)) << "no such icon";
    EXPECT_EQ((HCURSOR)NULL, app.LoadStandardCursor(MAKEINTRESOURCE(4711)));

    // With another resource module (a DLL without them) they come from the program itself;
    // resources that module has come from it.
    HMODULE hOther = LoadLibraryA("afx_test_dllapp.dll");
    ASSERT_NE((HMODULE)NULL, hOther);
    AfxSetResourceHandle(hOther);
    EXPECT_EQ(GetModuleHandleA(NULL), AfxFindResourceHandle(MAKEINTRESOURCE(IDI_TEST_ICON), RT_GROUP_ICON));
    EXPECT_EQ(hIcon, app.LoadIcon(IDI_TEST_ICON));
    EXPECT_EQ(hCursor, app.LoadCursor(IDC_TEST_CURSOR));
    EXPECT_EQ(hOther, AfxFindResourceHandle(MAKEINTRESOURCE(4711), RT_GROUP_ICON)) << "where nobody has it";
    AfxSetResourceHandle(GetModuleHandleA(NULL));
    EXPECT_EQ(GetModuleHandleA(NULL), AfxFindResourceHandle(MAKEINTRESOURCE(IDC_TEST_CURSOR), RT_GROUP_CURSOR));
    FreeLibrary(hOther);
}
