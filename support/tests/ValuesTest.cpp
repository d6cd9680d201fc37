// clsBuffer reserve rules, Date from text in day-month-year order (German locale), and
// clsRegistryList under a private key of the test.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Date.h"
#include "clsBuffer.h"
#include "clsRegistryList.h"

namespace {

// ---- clsBuffer ----------------------------------------------------------------------------

TEST(clsBuffer, ConstructorsSetCapacitiesExactly)
{
    clsBuffer standard;
    EXPECT_EQ(256u, standard.m_capacity);
    EXPECT_EQ("", std::string(standard.m_data));

    clsBuffer sized(10);
    EXPECT_EQ(10u, sized.m_capacity);
    EXPECT_EQ("", std::string(sized.m_data));

    clsBuffer none(0u);
    EXPECT_EQ(0u, none.m_capacity);
    EXPECT_EQ(nullptr, none.m_data);

    clsBuffer text("abc");
    EXPECT_EQ(4u, text.m_capacity);
    EXPECT_EQ("abc", std::string(text.m_data));

    clsBuffer null((const char*)nullptr);
    EXPECT_EQ(0u, null.m_capacity);
    EXPECT_EQ(nullptr, null.m_data);

    clsBuffer copy(sized);
    EXPECT_EQ(10u, copy.m_capacity);
    EXPECT_NE(sized.m_data, copy.m_data);
    EXPECT_EQ(0, memcmp(sized.m_data, copy.m_data, 10));
}

TEST(clsBuffer, ReserveRoundsGrowthTo64AndKeepsTheText)
{
    struct Case {
        unsigned initial;
        const char* text;
        unsigned reserve;
        unsigned capacity;
    };
    const Case cases[] = {
        {0, nullptr, 1, 64}, {64, "abc", 65, 128}, {64, "abc", 64, 64}, {64, "abc", 10, 64},
        {10, "abc", 11, 64}, {256, "abc", 300, 320}, {0, nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.initial << " reserve " << c.reserve);
        clsBuffer b(c.initial);
        if (c.text)
            strcpy(b.m_data, c.text);
        b.Reserve(c.reserve);
        EXPECT_EQ(c.capacity, b.m_capacity);
        if (c.capacity) {
            EXPECT_EQ(c.text ? c.text : "", std::string(b.m_data));
        }
    }
}

TEST(clsBuffer, AssignAndAppend)
{
    clsBuffer b(4);
    b = "abc";
    EXPECT_EQ(4u, b.m_capacity) << "fits, no growth";
    b += "def";
    EXPECT_EQ("abcdef", std::string(b.m_data));
    EXPECT_EQ(64u, b.m_capacity);
    b += nullptr;
    b = nullptr;
    EXPECT_EQ("abcdef", std::string(b.m_data)) << "NULL changes nothing";

    clsBuffer none(0u);
    none += "xyz";
    EXPECT_EQ("xyz", std::string(none.m_data));
    EXPECT_EQ(64u, none.m_capacity);

    // Appending the buffer's own text while it grows.
    clsBuffer self("0123456789");
    self += self.m_data;
    EXPECT_EQ("01234567890123456789", std::string(self.m_data));
    self += self.m_data + 15;
    EXPECT_EQ("0123456789012345678956789", std::string(self.m_data));
}

// ---- Date from text -----------------------------------------------------------------------

// Today moved by a number of days, computed through file times.
SYSTEMTIME TodayPlus(int days)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wHour = 12;
    now.wMinute = now.wSecond = now.wMilliseconds = 0;
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += (ULONGLONG)((LONGLONG)days * 24 * 3600 * 10000000LL);
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    SYSTEMTIME out;
    FileTimeToSystemTime(&ft, &out);
    return out;
}

struct DateTextCase {
    const char* text;
    int day, month, year; // 0: today's part
};

TEST(Date, TextFormsInDayMonthYearOrder)
{
    char order[4] = {0};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order);
    ASSERT_EQ("1", std::string(order)) << "the German locale orders day, month, year";

    const SYSTEMTIME today = TodayPlus(0);
    const DateTextCase cases[] = {
        {"1.2.03", 1, 2, 2003},  {"1.2.1903", 1, 2, 1903}, {"31.12.29", 31, 12, 2029}, {"1.1.30", 1, 1, 1930},
        {"5", 5, 0, 0},          {"15.6", 15, 6, 0},       {"1/2/99", 1, 2, 1999},     {"x7y8z2010", 7, 8, 2010},
        {"1.2.0", 1, 2, 2000},   {"1.2.099", 1, 2, 99},    {"29.2.2024", 29, 2, 2024},
    };
    for (const DateTextCase& c : cases) {
        SCOPED_TRACE(c.text);
        Date d(c.text);
        EXPECT_EQ(c.day, d.GetDay());
        EXPECT_EQ(c.month ? c.month : today.wMonth, d.GetMonth());
        EXPECT_EQ(c.year ? c.year : today.wYear, d.GetYear());
    }
}

TEST(Date, TodayAndRelativeDays)
{
    struct Case {
        const char* text;
        int days;
    };
    const Case cases[] = {{"TODAY", 0}, {"today", 0}, {"ToDaY", 0}, {"+0", 0}, {"-1", -1}, {"+30", 30}, {"-400", -400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const SYSTEMTIME expected = TodayPlus(c.days);
        Date d(c.text);
        EXPECT_EQ(expected.wDay, d.GetDay());
        EXPECT_EQ(expected.wMonth, d.GetMonth());
        EXPECT_EQ(expected.wYear, d.GetYear());
        EXPECT_EQ(expected.wDayOfWeek + 1, d.GetWeekday()) << "Sunday is 1";
    }
}

TEST(Date, EmptyOrZeroTextIsTheZeroDate)
{
    for (const char* text : {"", "0", "0.0.0", "abc", (const char*)nullptr}) {
        SCOPED_TRACE(text ? text : "NULL");
        Date d(text);
        EXPECT_EQ(0, d.GetDay());
        EXPECT_EQ(12, d.GetMonth()) << "month 0 is December of the year before";
        EXPECT_EQ(-1, d.GetYear());
    }
}

TEST(Date, DayNumberAndWeekdayOfAKnownDate)
{
    Date d;
    d.ToDayNumber(2000, 1, 1);
    EXPECT_EQ(2451544, d.GetDayNumber());
    EXPECT_EQ(7, d.GetWeekday()) << "a Saturday";
    Date copy(d);
    EXPECT_EQ(2451544, copy.GetDayNumber());
    EXPECT_EQ(2000, copy.GetYear());

    // Months outside 1..12 move whole years.
    Date moved;
    moved.ToDayNumber(1999, 13, 1);
    EXPECT_EQ(2451544, moved.GetDayNumber());
    EXPECT_EQ(2000, moved.GetYear());
    EXPECT_EQ(1, moved.GetMonth());
    moved.ToDayNumber(2000, 0, 31);
    EXPECT_EQ(1999, moved.GetYear());
    EXPECT_EQ(12, moved.GetMonth());
    EXPECT_EQ(2451543, moved.GetDayNumber());
}

// ---- clsRegistryList ----------------------------------------------------------------------

class RegistryList : public testing::Test {
protected:
    void SetUp() override
    {
        m_path = "Software\\OX-Tests\\RegistryList-" + std::to_string(GetCurrentProcessId());
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        SetText(key, "True", "TRUE");
        SetText(key, "Tiny", "t");
        SetText(key, "False", "FALSE");
        SetText(key, "One", "1");
        SetText(key, "Long", std::string(1000, 'L'));
        DWORD one = 1;
        RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
        // A text stored without its terminating NUL.
        RegSetValueExA(key, "Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
        RegCloseKey(key);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OX-Tests");
    }
    static void SetText(HKEY key, const char* name, const std::string& value)
    {
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), (DWORD)value.size() + 1);
    }
    std::string m_path;
};

TEST_F(RegistryList, GetString)
{
    clsRegistryList list(HKEY_CURRENT_USER, m_path.c_str(), 1);
    ASSERT_EQ(0, list.GetStatus());
    struct Case {
        const char* name;
        int status;
        std::string value;
    };
    const Case cases[] = {
        {"True", 0, "TRUE"},       {"Missing", -6, "default"},        {"Long", 0, std::string(1000, 'L')},
        {"Unterminated", 0, "abc"}, {"One", 0, "1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        String out("old");
        EXPECT_EQ(c.status, list.GetString(c.name, out, String("default")));
        EXPECT_EQ(c.value, std::string(out));
    }
    list.Close();
    String out("old");
    EXPECT_EQ(-5, list.GetString("True", out, String("default")));
    EXPECT_EQ("old", std::string(out)) << "without a key nothing else happens";
}

TEST_F(RegistryList, GetBool)
{
    clsRegistryList list(HKEY_CURRENT_USER, m_path.c_str(), 1);
    struct Case {
        const char* name;
        int def;
        int expected;
    };
    // A missing value before a present one: each read has its own status.
    const Case cases[] = {{"Missing", 1, 1}, {"True", 0, 1},  {"Missing", 0, 0}, {"False", 1, 0},
                          {"One", 1, 0},     {"Number", 1, 0}, {"Tiny", 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, list.GetBool(c.name, c.def));
    }
}

TEST_F(RegistryList, OpenModes)
{
    const std::string missing = m_path + "\\Missing";
    {
        clsRegistryList open(HKEY_CURRENT_USER, missing.c_str(), 1);
        EXPECT_EQ(-2, open.GetStatus());
        String out;
        EXPECT_EQ(-5, open.GetString("x", out, String("d")));
    }
    {
        clsRegistryList create(HKEY_CURRENT_USER, missing.c_str(), 0);
        EXPECT_EQ(0, create.GetStatus());
    }
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &key)) << "created";
    RegCloseKey(key);
    {
        clsRegistryList other(HKEY_CURRENT_USER, m_path.c_str(), 7);
        String out;
        EXPECT_EQ(-5, other.GetString("True", out, String()));
    }
    // A NULL subkey reads the root key itself and leaves it open for its owner.
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, KEY_READ, &key));
    {
        clsRegistryList root(key, nullptr, 1);
        EXPECT_EQ(1, root.GetBool("True", 0));
        root.Close();
    }
    char value[16] = {0};
    DWORD size = sizeof value;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "True", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size))
        << "the caller's key is still open";
    RegCloseKey(key);
}

} // namespace
