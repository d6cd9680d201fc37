// The file-name dialog in unattended mode, and the filter it hands to the common dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "CtlLog.h"
#include "FileFilter.h"
#include "vlCT11.h"

namespace {

using oxtest::CtlLog;
using namespace std::string_literals;

const DWORD kSave = 0x80000000;

struct NameCase {
    const char* scripted; // VLCT11_FILENAME, NULL: not set
    int size;
    int answer;
    const char* buffer; // expected buffer afterwards
};

const NameCase kNameCases[] = {
    {"C:\\Daten\\Übergabe.txt", 260, IDOK, "C:\\Daten\\Übergabe.txt"},
    {nullptr, 260, IDCANCEL, "vorher"},
    {"", 260, IDCANCEL, "vorher"},
    {"C:\\ab\\cd.txt", 13, IDOK, "C:\\ab\\cd.txt"},    // exactly fits with its NUL
    {"C:\\ab\\cd.txt", 12, IDCANCEL, "vorher"},         // would be cut: no answer
};

TEST(CtlGetNameDlgA, AnswersTheScriptedPathWithinTheBuffer)
{
    CtlLog log;
    for (const NameCase& c : kNameCases) {
        SCOPED_TRACE(std::string(c.scripted ? c.scripted : "(not set)") + " size " + std::to_string(c.size));
        SetEnvironmentVariableA("VLCT11_FILENAME", c.scripted);
        char buffer[300];
        std::memset(buffer, '#', sizeof buffer);
        std::strcpy(buffer, "vorher");
        int answer = CtlGetNameDlgA(nullptr, "Datei wählen", GetModuleHandleA(nullptr), 0, 0, 0, "*.*",
                                    "Alle Dateien (*.*) | *.*||", 0x40001004, buffer, c.size);
        EXPECT_EQ(c.answer, answer);
        EXPECT_STREQ(c.buffer, buffer);
        for (size_t i = (size_t)c.size; i < sizeof buffer; ++i)
            ASSERT_EQ('#', buffer[i]) << "written beyond the size at " << i;
    }
}

TEST(CtlGetNameDlgA, LogsTitleFlagsAnswerAndPath)
{
    CtlLog log;
    char buffer[261] = "";
    log.SetFileName("C:\\Export\\termine.csv");
    EXPECT_EQ(IDOK, CtlGetNameDlgA(nullptr, "Speichern unter", nullptr, 0, 0, 0, "", "", kSave | 0x4, buffer, 260));
    log.SetFileName("");
    EXPECT_EQ(IDCANCEL, CtlGetNameDlgA(nullptr, nullptr, nullptr, 0, 0, 0, nullptr, nullptr, 0, buffer, 260));
    std::vector<CtlLog::Record> records = log.Records();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ((CtlLog::Record{"GetNameDlg", "Speichern unter", "0x80000004", "1", "C:\\Export\\termine.csv"}),
              records[0]);
    EXPECT_EQ((CtlLog::Record{"GetNameDlg", "", "0x0", "2", ""}), records[1]);
}

TEST(CtlGetNameDlgA, NoBufferIsNoAnswer)
{
    CtlLog log;
    log.SetFileName("C:\\a.txt");
    char buffer[4] = "abc";
    EXPECT_EQ(IDCANCEL, CtlGetNameDlgA(nullptr, "T", nullptr, 0, 0, 0, "", "", 0, nullptr, 260));
    EXPECT_EQ(IDCANCEL, CtlGetNameDlgA(nullptr, "T", nullptr, 0, 0, 0, "", "", 0, buffer, 0));
    EXPECT_EQ(IDCANCEL, CtlGetNameDlgA(nullptr, "T", nullptr, 0, 0, 0, "", "", 0, buffer, -5));
    EXPECT_STREQ("abc", buffer);
}

struct FilterCase {
    const char* filter;
    std::string expected;
};

const FilterCase kFilterCases[] = {
    {"Alle Dateien (*.*) | *.*||", "Alle Dateien (*.*)\0*.*\0\0"s},
    {"Texte|*.txt;*.csv|Alle|*.*||", "Texte\0*.txt;*.csv\0Alle\0*.*\0\0"s},
    {"Texte|*.txt", "Texte\0*.txt\0\0"s},
    {"*.dbf", "*.dbf\0*.dbf\0\0"s},
    {"Texte|*.txt|Rest||Danach|*.x", "Texte\0*.txt\0Rest\0Rest\0\0"s},
    {"", std::string()},
    {"||", std::string()},
    {nullptr, std::string()},
};

TEST(DialogFilter, TurnsBarSeparatedPairsIntoTheDialogForm)
{
    for (const FilterCase& c : kFilterCases) {
        SCOPED_TRACE(c.filter ? c.filter : "(null)");
        EXPECT_EQ(c.expected, DialogFilter(c.filter));
    }
}

} // namespace
