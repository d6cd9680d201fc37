// The registry helper: values written below the application's key (read back by the system's own
// registry tool), deletion of values and sections, missing values, values of the wrong size, and
// the private profile file with binary blocks as letters.
#include <gtest/gtest.h>

#include "CTkGlobalData.h"
#include "CTkRegistryHelper.h"
#include "TestKit.h"
#include "ToolkitTestSupport.h"

#include <string.h>

namespace {

class RegistryHelperTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.UseTestRegistryKey();
        m_strSection.Format("HKCU\\Software\\%s\\%s\\Bars", (LPCSTR)m_app.m_strKey, m_app.m_pszProfileName);
    }

    // What the system's registry tool reports of the section.
    std::string Query(int* pnExit = NULL) { return tktest::RunAndCapture("reg query \"" + std::string(m_strSection) + "\"", pnExit); }

    HKEY OpenSection()
    {
        HKEY hKey = NULL;
        CString strPath = m_strSection.Mid(5);
        ::RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_ALL_ACCESS, &hKey);
        return hKey;
    }

    tktest::CTestApp m_app;
    CString m_strSection;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

TEST_F(RegistryHelperTest, ValuesRoundTripAndAreWhereTheSystemFindsThem)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE abData[] = {0x00, 0x1F, 0xA5, 0xFF};
    EXPECT_TRUE(reg.WriteProfileInt("Bars", "Count", 0x1234));
    EXPECT_TRUE(reg.WriteProfileBinary("Bars", "State", abData, sizeof(abData)));
    EXPECT_TRUE(reg.WriteProfileString("Bars", "Name", "Symbolleiste \xE4\xF6\xFC"));

    EXPECT_EQ(0x1234u, reg.GetProfileInt("Bars", "Count", 7));
    BYTE* pData = NULL;
    UINT nBytes = 0;
    ASSERT_TRUE(reg.GetProfileBinary("Bars", "State", &pData, &nBytes));
    ASSERT_EQ(sizeof(abData), nBytes);
    EXPECT_EQ(0, memcmp(abData, pData, nBytes));
    delete[] pData;
    EXPECT_STREQ("Symbolleiste \xE4\xF6\xFC", reg.GetProfileString("Bars", "Name", "x"));

    std::string strQuery = Query();
    EXPECT_TRUE(Contains(strQuery, "Count")) << strQuery;
    EXPECT_TRUE(Contains(strQuery, "REG_DWORD")) << strQuery;
    EXPECT_TRUE(Contains(strQuery, "0x1234")) << strQuery;
    EXPECT_TRUE(Contains(strQuery, "REG_BINARY")) << strQuery;
    EXPECT_TRUE(Contains(strQuery, "001FA5FF")) << strQuery;
    EXPECT_TRUE(Contains(strQuery, "REG_SZ")) << strQuery;
    EXPECT_TRUE(Contains(strQuery, "Symbolleiste")) << strQuery;

    // a NULL value deletes the value, a NULL entry the section
    EXPECT_TRUE(reg.WriteProfileString("Bars", "Name", NULL));
    strQuery = Query();
    EXPECT_FALSE(Contains(strQuery, "Symbolleiste")) << strQuery;
    EXPECT_TRUE(Contains(strQuery, "Count")) << strQuery;
    EXPECT_TRUE(reg.WriteProfileString("Bars", NULL, NULL));
    int nExit = 0;
    strQuery = Query(&nExit);
    EXPECT_NE(0, nExit) << strQuery;
    EXPECT_FALSE(Contains(strQuery, "Count")) << strQuery;
}

TEST_F(RegistryHelperTest, MissingValuesAndDeletion)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE* pData = (BYTE*)1;
    UINT nBytes = 99;
    EXPECT_FALSE(reg.GetProfileBinary("Bars", "Missing", &pData, &nBytes));
    EXPECT_EQ(nullptr, pData);
    EXPECT_EQ(0u, nBytes);
    EXPECT_EQ(15u, reg.GetProfileInt("Bars", "Missing", 15));
    EXPECT_STREQ("vorgabe", reg.GetProfileString("Bars", "Missing", "vorgabe"));
    EXPECT_STREQ("", reg.GetProfileString("Bars", "Missing"));

    EXPECT_FALSE(reg.DeleteProfileValue("Bars", "Missing"));
    HKEY hKey = OpenSection();
    EXPECT_NE(nullptr, hKey) << "the section stays, empty";
    if (hKey != NULL)
        ::RegCloseKey(hKey);
    EXPECT_TRUE(reg.WriteProfileInt("Bars", "Count", 3));
    EXPECT_TRUE(reg.DeleteProfileValue("Bars", "Count"));
    EXPECT_EQ(9u, reg.GetProfileInt("Bars", "Count", 9));
}

// Values that another program wrote in an unexpected form.
TEST_F(RegistryHelperTest, ValuesOfTheWrongSizeOrWithoutTerminator)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.WriteProfileInt("Bars", "Count", 1));
    HKEY hKey = OpenSection();
    ASSERT_NE(nullptr, hKey);
    static const BYTE s_abShort[] = {0x41, 0x42};
    static const BYTE s_abLong[] = {1, 2, 3, 4, 5, 6, 7, 8};
    static const char s_szText[] = "ohne Ende";
    ::RegSetValueExA(hKey, "Short", 0, REG_BINARY, s_abShort, sizeof(s_abShort));
    ::RegSetValueExA(hKey, "Long", 0, REG_BINARY, s_abLong, sizeof(s_abLong));
    ::RegSetValueExA(hKey, "Text", 0, REG_SZ, (const BYTE*)s_szText, sizeof(s_szText) - 1); // no terminator
    ::RegCloseKey(hKey);

    EXPECT_EQ(42u, reg.GetProfileInt("Bars", "Short", 42));
    EXPECT_EQ(42u, reg.GetProfileInt("Bars", "Long", 42));
    CString strText = reg.GetProfileString("Bars", "Text");
    EXPECT_STREQ("ohne Ende", strText);
    EXPECT_EQ(9, strText.GetLength());
}

TEST_F(RegistryHelperTest, NoRegistryKeyWritesNothing)
{
    CWinApp* pApp = AfxGetApp();
    LPCTSTR pszKey = pApp->m_pszRegistryKey;
    pApp->m_pszRegistryKey = NULL;
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE b = 1;
    EXPECT_FALSE(reg.WriteProfileInt("Bars", "Count", 1));
    EXPECT_FALSE(reg.WriteProfileBinary("Bars", "State", &b, 1));
    EXPECT_FALSE(reg.WriteProfileString("Bars", "Name", "x"));
    EXPECT_EQ(5u, reg.GetProfileInt("Bars", "Count", 5));
    EXPECT_STREQ("vorgabe", reg.GetProfileString("Bars", "Name", "vorgabe"));
    EXPECT_EQ(nullptr, reg.GetAppRegistryKey());
    pApp->m_pszRegistryKey = pszKey;
    int nExit = 0;
    Query(&nExit);
    EXPECT_NE(0, nExit) << "nothing was written";
}

TEST(RegistryLettersTest, BlocksAsLetters)
{
    static const BYTE s_abData[] = {0x00, 0x1F, 0xA5};
    EXPECT_STREQ("AAPBFK", CTkRegistryHelper::EncodeLetters(s_abData, sizeof(s_abData)));

    static const struct {
        const char* pszLetters;
        BOOL bResult;
        std::vector<BYTE> bytes;
    } s_cases[] = {
        {"AAPBFK", TRUE, {0x00, 0x1F, 0xA5}},
        {"AAP", TRUE, {0x00}},        // a trailing odd letter is dropped
        {"PPPP", TRUE, {0xFF, 0xFF}},
        {"AAQB", FALSE, {}},          // Q lies outside A..P
        {"aa", FALSE, {}},
        {"A@", FALSE, {}},
        {"", FALSE, {}},
    };
    for (const auto& c : s_cases) {
        BYTE* pData = (BYTE*)1;
        UINT nBytes = 99;
        EXPECT_EQ(c.bResult, CTkRegistryHelper::DecodeLetters(c.pszLetters, &pData, &nBytes)) << c.pszLetters;
        EXPECT_EQ(c.bytes, std::vector<BYTE>(pData, pData + (c.bResult ? nBytes : 0))) << c.pszLetters;
        if (!c.bResult) {
            EXPECT_EQ(nullptr, pData) << c.pszLetters;
            EXPECT_EQ(0u, nBytes) << c.pszLetters;
        }
        delete[] (c.bResult ? pData : NULL);
    }
}

TEST(RegistryFileTest, ProfileFileHoldsLetters)
{
    tktest::CTestApp app;
    oxtest::TempDir dir("tkini");
    std::string strFile = dir.File("toolkit.ini");
    CTkGlobalData* pData = TkAfxGetData();
    pData->strINIFileName = strFile.c_str();
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    pData->strINIFileName.Empty();

    BYTE abData[] = {0x00, 0x1F, 0xA5};
    EXPECT_TRUE(reg.WriteProfileBinary("Bars", "State", abData, sizeof(abData)));
    EXPECT_TRUE(reg.WriteProfileInt("Bars", "Count", -3));
    EXPECT_TRUE(reg.WriteProfileString("Bars", "Name", "Filterleiste"));
    std::string strText = oxtest::ReadFileText(strFile);
    EXPECT_NE(std::string::npos, strText.find("State=AAPBFK")) << strText;
    EXPECT_NE(std::string::npos, strText.find("Count=-3")) << strText;

    BYTE* pRead = NULL;
    UINT nBytes = 0;
    ASSERT_TRUE(reg.GetProfileBinary("Bars", "State", &pRead, &nBytes));
    EXPECT_EQ(std::vector<BYTE>(abData, abData + 3), std::vector<BYTE>(pRead, pRead + nBytes));
    delete[] pRead;
    EXPECT_EQ((UINT)-3, reg.GetProfileInt("Bars", "Count", 0));
    EXPECT_STREQ("Filterleiste", reg.GetProfileString("Bars", "Name"));

    // a value with a letter outside A..P is refused without a block
    EXPECT_TRUE(reg.WriteProfileString("Bars", "Broken", "AAZZ"));
    pRead = (BYTE*)1;
    EXPECT_FALSE(reg.GetProfileBinary("Bars", "Broken", &pRead, &nBytes));
    EXPECT_EQ(nullptr, pRead);
    EXPECT_FALSE(reg.GetProfileBinary("Bars", "Missing", &pRead, &nBytes));

    // a NULL entry removes the section from the file
    EXPECT_TRUE(reg.WriteProfileString("Bars", NULL, NULL));
    EXPECT_EQ(std::string::npos, oxtest::ReadFileText(strFile).find("State")) << oxtest::ReadFileText(strFile);
}
