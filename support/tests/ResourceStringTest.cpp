// String resources by language and message templates, from the test DLL support_test_strings.dll
// (StringTables.rc). Under the German locale of the test run the user default language is German.
#include <gtest/gtest.h>

#include <string>

#include "ChannelLines.h"
#include "String.h"
#include "TestKit.h"

namespace {

const WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kFrench = MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH);
const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

class ResourceStrings : public testing::Test {
protected:
    void SetUp() override
    {
        m_module = LoadLibraryA((oxtest::ProgramDir() + "\\support_test_strings.dll").c_str());
        ASSERT_NE(nullptr, m_module) << "error " << GetLastError();
        m_locale = GetThreadLocale();
    }
    void TearDown() override
    {
        SetThreadLocale(m_locale);
        if (m_module)
            FreeLibrary(m_module);
    }
    std::string Load(UINT id, WORD language) { return (const char*)String::LoadString(m_module, id, language); }

    HMODULE m_module = nullptr;
    LCID m_locale = 0;
};

struct LanguageCase {
    const char* what;
    UINT id;
    WORD language;
    WORD threadLanguage;
    const char* expected;
};

TEST_F(ResourceStrings, LanguageFallbackOrder)
{
    // The user default language of the run is German: its primary language 7 is the third
    // candidate (and equals the fifth).
    ASSERT_EQ(LANG_GERMAN, PRIMARYLANGID(GetUserDefaultLangID()));
    const LanguageCase cases[] = {
        {"given language", 16, kEnglish, kGerman, "A-english"},
        {"given language German", 16, kGerman, kEnglish, "A-deutsch"},
        {"no table in the given language: the loader's neutral table", 16, kFrench, kGerman, "A-neutral"},
        {"language 0 is skipped: thread locale", 16, 0, kEnglish, "A-english"},
        {"thread locale before the user default", 48, kFrench, kEnglish, "C-english"},
        {"thread locale German", 32, kFrench, kGerman, "B-deutsch"},
        {"user default's primary language before English", 48, kFrench, kFrench, "C-deutsch"},
        {"English when neither given, thread nor user language has a table", 32, kFrench, kFrench, "B-english"},
        {"no candidate: the loader's choice", 64, kJapanese, kGerman, "E-francais"},
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(SetThreadLocale(MAKELCID(c.threadLanguage, SORT_DEFAULT)));
        EXPECT_EQ(c.expected, Load(c.id, c.language));
    }
}

TEST_F(ResourceStrings, EntriesOfABlock)
{
    // Non-ASCII text comes back in the ANSI code page.
    EXPECT_EQ("Gr\xFC\xDF" "e", Load(17, kGerman));
    EXPECT_EQ("Greetings", Load(17, kEnglish));
    // An id without text in the block found is empty, even when another language has it.
    EXPECT_EQ("", Load(18, kGerman));
    EXPECT_EQ("", Load(20, kGerman));
    EXPECT_EQ("only english", Load(20, kEnglish));
    // An id in no block at all.
    EXPECT_EQ("", Load(4000, kGerman));
}

TEST_F(ResourceStrings, MessageUsesTheThreadLanguageAsATemplate)
{
    ASSERT_TRUE(SetThreadLocale(MAKELCID(kGerman, SORT_DEFAULT)));
    EXPECT_EQ("Anna hat 3 Termine", std::string(String::Message(m_module, 19, "Anna", 3)));
    ASSERT_TRUE(SetThreadLocale(MAKELCID(kEnglish, SORT_DEFAULT)));
    EXPECT_EQ("Bob has 12 entries", std::string(String::Message(m_module, 19, "Bob", 12)));
}

TEST_F(ResourceStrings, MissingMessageIsEmptyAndReported)
{
    supporttest::TakeDebugLines();
    String text = String::Message(m_module, 4000);
    EXPECT_EQ("", std::string(text));
    std::vector<std::string> lines = supporttest::TakeDebugLines();
    ASSERT_EQ(1u, lines.size());
    const std::string head = "String::Message(): String ressource 4000 not found in ";
    EXPECT_EQ(head, lines[0].substr(0, head.size()));
    EXPECT_NE(std::string::npos, lines[0].find("support_test_strings.dll: '")) << lines[0];
    EXPECT_EQ('\'', lines[0].back()) << lines[0];
}

} // namespace
