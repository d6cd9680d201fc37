// Boxes with an extended value and boxes that remember an answer ("Diese Meldung nicht mehr
// anzeigen"): the unattended script's '*' mark, the registry store, the attended box's check box;
// the skin flags and the library's colours and pens.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "AttendedBox.h"
#include "CtlLog.h"
#include "vlCT11.h"

namespace {

using oxtest::CtlLog;
using Record = CtlLog::Record;

const char kAnswersKey[] = "Software\\velmar\\vlCT11\\Answers";

// Answer keys of this process, removed from the registry before and after each test.
class AutoBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_first = "OxTest " + std::to_string(GetCurrentProcessId()) + " #-2#40076";
        m_second = "OxTest " + std::to_string(GetCurrentProcessId()) + " WRNREMIND";
        Forget();
    }
    void TearDown() override { Forget(); }

    void Forget()
    {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kAnswersKey, m_first.c_str());
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kAnswersKey, m_second.c_str());
    }

    // The registry value of a key: its type and data ("-" when absent).
    std::string Stored(const std::string& key)
    {
        DWORD type = 0, data = 0, size = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, kAnswersKey, key.c_str(), RRF_RT_ANY, &type, &data, &size) != ERROR_SUCCESS)
            return "-";
        return (type == REG_DWORD ? "dword " : "other ") + std::to_string(data);
    }

    int Auto(const std::string& key, UINT style = MB_YESNO | MB_ICONQUESTION)
    {
        return CtlMessageBoxAutoA(nullptr, "Frage?", "Titel", style, key.c_str());
    }

    std::string m_first, m_second;
};

TEST_F(AutoBoxTest, TickedAnswerIsRememberedPerKey)
{
    CtlLog log;
    log.SetAnswers("IDNO,IDNO*,IDYES");
    EXPECT_EQ(IDNO, Auto(m_first));  // not ticked: asked again next time
    EXPECT_EQ("-", Stored(m_first));
    EXPECT_EQ(IDNO, Auto(m_first));  // ticked
    EXPECT_EQ("dword 7", Stored(m_first));
    EXPECT_EQ(IDNO, Auto(m_first));  // not shown, takes no scripted answer
    EXPECT_EQ(IDYES, Auto(m_second)); // another key is asked
    EXPECT_EQ("-", Stored(m_second));

    std::vector<Record> expected = {
        {"MessageBoxAuto", "Titel", "Frage?", "0x24", m_first, "7", "shown"},
        {"MessageBoxAuto", "Titel", "Frage?", "0x24", m_first, "7", "stored"},
        {"MessageBoxAuto", "Titel", "Frage?", "0x24", m_first, "7", "remembered"},
        {"MessageBoxAuto", "Titel", "Frage?", "0x24", m_second, "6", "shown"},
    };
    EXPECT_EQ(expected, log.Records());
}

TEST_F(AutoBoxTest, NothingIsRememberedWithoutKeyOrAnswer)
{
    CtlLog log;
    log.SetAnswers("IDOK*,IDYES*,IDMAYBE*");
    EXPECT_EQ(IDOK, CtlMessageBoxAutoA(nullptr, "Text", "Titel", MB_OK, nullptr));
    EXPECT_EQ(IDYES, CtlMessageBoxAutoA(nullptr, "Text", "Titel", MB_YESNO, ""));
    EXPECT_EQ(0, Auto(m_first, 0x7)) << "a box that fails stores nothing";
    EXPECT_EQ(IDYES, Auto(m_first)) << "an entry that is no answer takes the default, unticked";
    EXPECT_EQ("-", Stored(m_first));

    std::vector<Record> records = log.Records();
    ASSERT_EQ(4u, records.size());
    EXPECT_EQ((Record{"MessageBoxAuto", "Titel", "Text", "0x0", "", "1", "shown"}), records[0]);
    EXPECT_EQ((Record{"MessageBoxAuto", "Titel", "Text", "0x4", "", "6", "shown"}), records[1]);
    EXPECT_EQ("shown", records[2][6]);
    EXPECT_EQ("shown", records[3][6]);
}

TEST_F(AutoBoxTest, ExtendedBoxesBehaveAlikeAndLogTheValue)
{
    CtlLog log;
    log.SetAnswers("IDCANCEL,IDRETRY*");
    EXPECT_EQ(IDCANCEL, CtlMessageBoxExA(nullptr, "Text", "Titel", MB_OKCANCEL, 12));
    EXPECT_EQ(IDRETRY, CtlMessageBoxExAutoA(nullptr, "Text", "Titel", MB_RETRYCANCEL, m_second.c_str(), -7));
    EXPECT_EQ(IDRETRY, CtlMessageBoxAutoA(nullptr, "Text", "Titel", MB_RETRYCANCEL, m_second.c_str()));

    std::vector<Record> expected = {
        {"MessageBox", "Titel", "Text", "0x1", "2", "12"},
        {"MessageBoxAuto", "Titel", "Text", "0x5", m_second, "4", "stored", "-7"},
        {"MessageBoxAuto", "Titel", "Text", "0x5", m_second, "4", "remembered"},
    };
    EXPECT_EQ(expected, log.Records());
}

TEST_F(AutoBoxTest, StoredValueOfAnotherTypeIsNoAnswer)
{
    HKEY hkey = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kAnswersKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                             &hkey, nullptr));
    RegSetValueExA(hkey, m_first.c_str(), 0, REG_SZ, (const BYTE*)"6", 2);
    RegCloseKey(hkey);

    CtlLog log;
    log.SetAnswers("IDNO");
    EXPECT_EQ(IDNO, Auto(m_first));
    EXPECT_EQ("shown", log.Records().at(0).at(6));
}

int AttendedAuto(const std::string& key, bool tick, oxtest::AttendedBox::Seen& seen)
{
    return oxtest::AttendedBox::Answer(IDNO, tick, seen, [&] {
        return CtlMessageBoxAutoA(nullptr, "Frage?", "Titel", MB_YESNO | MB_ICONQUESTION, key.c_str());
    });
}

TEST_F(AutoBoxTest, AttendedBoxOffersTheCheckBox)
{
    CtlLog log;
    oxtest::AttendedBox::Seen unticked;
    EXPECT_EQ(IDNO, AttendedAuto(m_first, false, unticked));
    EXPECT_TRUE(unticked.checkBox) << "the box has the check box";
    EXPECT_EQ("-", Stored(m_first));

    oxtest::AttendedBox::Seen ticked;
    EXPECT_EQ(IDNO, AttendedAuto(m_first, true, ticked));
    EXPECT_EQ("dword 7", Stored(m_first));

    oxtest::AttendedBox::Seen notShown;
    EXPECT_EQ(IDNO, AttendedAuto(m_first, false, notShown));
    EXPECT_EQ(nullptr, notShown.box) << "a remembered answer shows no box";

    oxtest::AttendedBox::Seen plain;
    EXPECT_EQ(IDNO, oxtest::AttendedBox::Answer(IDNO, false, plain, [] {
        return CtlMessageBoxAutoA(nullptr, "Frage?", "Titel", MB_YESNO, "");
    }));
    EXPECT_FALSE(plain.checkBox) << "no key, no check box";

    std::vector<Record> records = log.Records();
    ASSERT_EQ(4u, records.size());
    EXPECT_EQ("shown", records[0][6]);
    EXPECT_EQ("stored", records[1][6]);
    EXPECT_EQ("remembered", records[2][6]);
    EXPECT_EQ("shown", records[3][6]);
}

TEST(CtlSkinHookingProhibitionFlags, AnswersThePreviousFlags)
{
    int start = CtlSkinHookingProhibitionFlags(3);
    EXPECT_EQ(3, CtlSkinHookingProhibitionFlags(start));
    EXPECT_EQ(start, CtlSkinHookingProhibitionFlags(start));
}

TEST(CtlTools, ColoursAndPensFollowTheSystemColours)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), CtlTools_rgbBkgnd());
    struct Case {
        HPEN pen;
        int index;
    } cases[] = {{CtlTools_hpenDkGray(), COLOR_BTNSHADOW}, {CtlTools_hpenLtGray(), COLOR_BTNHIGHLIGHT}};
    for (const Case& c : cases) {
        ASSERT_EQ((DWORD)OBJ_PEN, GetObjectType(c.pen));
        LOGPEN pen{};
        ASSERT_EQ((int)sizeof pen, GetObjectA(c.pen, sizeof pen, &pen));
        EXPECT_EQ(GetSysColor(c.index), pen.lopnColor);
        EXPECT_EQ(1, pen.lopnWidth.x);
    }
    EXPECT_EQ(CtlTools_hpenDkGray(), CtlTools_hpenDkGray()) << "the library keeps one pen";
}

} // namespace
