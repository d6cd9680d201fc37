// Dates, numbers, numeric keys and the date display formats (the engine's objects are linked into
// this program). The full calendar range is checked by DayNumberTest.py.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Conversions.h"
#include "DebugCapture.h"
#include "DebugOutput.h"
#include "Job.h"
#include "vlDB07.h"

namespace {

// One job for every test; date format 0.
class Conversions : public ::testing::Test {
protected:
    void SetUp() override
    {
        _db_process_attach(GetModuleHandleA(nullptr));
        ASSERT_EQ(0, db_job_open());
    }
    void TearDown() override
    {
        while (g_Job)
            db_job_close();
    }
};

bool IsEmptyDate(double d) { return std::memcmp(&d, &DB_EMPTY_DATE, sizeof d) == 0; }

std::string DayToDate(double value)
{
    char out[9];
    _day_to_date(value, out);
    return out;
}

} // namespace

// ---- calendar -----------------------------------------------------------------------------------

TEST(Calendar, DaysBeforeYearAndDayOfYear)
{
    EXPECT_EQ(0, _days_before_year(1));
    EXPECT_EQ(365, _days_before_year(2));
    EXPECT_EQ(730119, _days_before_year(2000));
    EXPECT_EQ(-366, _days_before_year(0)) << "year 0 is a leap year of 366 days before year 1";

    const struct {
        int year, month, day, expected;
    } cases[] = {
        {2000, 1, 1, 1},     {2000, 3, 1, 61},    {2001, 3, 1, 60},   {2000, 12, 31, 366}, {2001, 12, 31, 365},
        {2000, 2, 29, 60},   {1900, 2, 29, -1},   {2001, 2, 31, -1},  {2001, 4, 31, -1},   {2001, 0, 1, -1},
        {2001, 13, 1, -1},   {2001, 1, 0, -1},    {-1, 1, 1, -1},     {0, 2, 29, 60},      {1600, 2, 29, 60},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, _day_of_year(c.year, c.month, c.day)) << c.year << "-" << c.month << "-" << c.day;
}

TEST(Calendar, MonthAndDayOfADayOfYear)
{
    const struct {
        int year, n;
        BOOL ok;
        int month, day;
    } cases[] = {
        {2000, 1, TRUE, 1, 1},     {2000, 60, TRUE, 2, 29},  {2000, 61, TRUE, 3, 1},  {2001, 60, TRUE, 3, 1},
        {2000, 366, TRUE, 12, 31}, {2001, 365, TRUE, 12, 31}, {2001, 366, FALSE, 0, 0}, {2000, 367, FALSE, 0, 0},
        {2000, 0, FALSE, 0, 0},
    };
    for (const auto& c : cases) {
        int month = -1, day = -1;
        EXPECT_EQ(c.ok, _month_and_day(c.year, c.n, &month, &day)) << c.year << " day " << c.n;
        EXPECT_EQ(c.month, month) << c.year << " day " << c.n;
        EXPECT_EQ(c.day, day) << c.year << " day " << c.n;
    }
}

TEST(Calendar, DateTextsThatAreNoDates)
{
    const struct {
        const char* text;
        int answer;
    } cases[] = {
        {"        ", -2}, {"19000229", -1}, {"20010231", -1}, {"00000000", -1}, {"20001301", -1}, {"20000100", -1},
        {"20000132", -1}, {"abcdefgh", -1}, {"2000010", -1},  {"", -1},         {"-0010101", -1},
    };
    for (const auto& c : cases) {
        double day = 0;
        EXPECT_EQ(c.answer, _date_to_day(c.text, &day)) << "'" << c.text << "'";
        EXPECT_TRUE(IsEmptyDate(day)) << "'" << c.text << "' leaves the empty date, got " << day;
    }
}

TEST(Calendar, DateTextsAndDayNumbers)
{
    const struct {
        const char* text;
        double day;
    } cases[] = {
        {"20000101", 2451545}, {"00010101", 1721426}, {"20000229", 2451604}, {"99991231", 5373484},
        {"00001231", 1721425}, {"00000101", 1721060}, {"19700101", 2440588},
    };
    for (const auto& c : cases) {
        double day = 0;
        EXPECT_EQ(0, _date_to_day(c.text, &day)) << c.text;
        EXPECT_EQ(c.day, day) << c.text;
        EXPECT_EQ(c.text, DayToDate(c.day));
    }
    // Parts that are not all digits are read as numbers the run time's way (blanks before them).
    double day = 0;
    EXPECT_EQ(0, _date_to_day("2000 1 1", &day));
    EXPECT_EQ(2451545, day);
    EXPECT_EQ(0, _date_to_day(" 200 1 1", &day));
    EXPECT_EQ(1794109, day) << "the year 200";
}

TEST(Calendar, DayNumbersOutsideTheWrittenRange)
{
    EXPECT_EQ("        ", DayToDate(DB_EMPTY_DATE));
    EXPECT_EQ("        ", DayToDate(1e200));
    EXPECT_EQ("20000101", DayToDate(2451545.75)) << "the fraction of a day is dropped";
    EXPECT_EQ("****0101", DayToDate(5373485)) << "year 10000";
    EXPECT_EQ("--------", DayToDate(std::nan("")));
    EXPECT_EQ("--------", DayToDate(1e50));
    EXPECT_EQ(4u, std::string(DayToDate(-1e6)).find_first_not_of('*'));
}

// ---- numbers ------------------------------------------------------------------------------------

TEST(Numbers, IntToText)
{
    const struct {
        long n;
        int width;
        BOOL ok;
        const char* text;
    } cases[] = {
        {5, 3, TRUE, "  5"},    {-5, 3, TRUE, " -5"},   {-12, 3, TRUE, "-12"},   {0, 1, TRUE, "0"},
        {123, -5, TRUE, "00123"}, {0, -2, TRUE, "00"},  {7, -2, TRUE, "07"},     {1234, 3, FALSE, "***"},
        {-123, 3, FALSE, "***"}, {-5, -3, FALSE, "***"}, {2147483647L, 10, TRUE, "2147483647"},
        {-2147483647L - 1, 11, TRUE, "-2147483648"},
    };
    for (const auto& c : cases) {
        char buffer[16];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(c.ok, _int_to_text(c.n, buffer, c.width)) << c.n << " width " << c.width;
        EXPECT_EQ(c.text, std::string(buffer, std::strlen(c.text))) << c.n << " width " << c.width;
        EXPECT_EQ('#', buffer[std::strlen(c.text)]) << "exactly |width| characters are written";
    }
}

TEST(Numbers, TextToNumber)
{
    const struct {
        const char* text;
        int count;
        double value;
    } cases[] = {
        {"  12.50", 7, 12.5}, {"12abc", 5, 12},  {"abc", 3, 0},       {"-3.5e2", 6, -350}, {"123456", 3, 123},
        {"inf", 3, 0},        {"nan", 3, 0},     {"0x10", 4, 0},      {".5", 2, 0.5},      {"-", 1, 0},
        {"5.", 2, 5},         {"1e", 2, 1},      {"", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, _text_to_number(c.text, c.count)) << "'" << c.text << "' count " << c.count;
    std::string digits(60, '1');
    EXPECT_EQ(std::strtod(digits.substr(0, 48).c_str(), nullptr), _text_to_number(digits.c_str(), 60))
        << "at most 48 characters are read";
    EXPECT_EQ(42, _text_to_int(" 42x", 4));
    EXPECT_EQ(-7, _text_to_int("-7", 2));
    EXPECT_EQ(0, _text_to_int("x1", 2));
}

TEST(Numbers, NumberToText)
{
    const struct {
        double x;
        int width, decimals;
        BOOL ok;
        const char* text;
    } cases[] = {
        {12.5, 8, 2, TRUE, "   12.50"},
        {12.5, -8, 2, TRUE, "   12.50"},
        {-12.5, 8, 2, TRUE, "  -12.50"},
        {123456, 4, 0, FALSE, "***"},
        {12.345, 5, 0, TRUE, "   12"},
        {1.5, 3, 5, FALSE, "**"},                      // precision width - 1: "1.50" does not fit
        {3.25, 20, 20, TRUE, "   3.250000000000000"},   // precision at most 15
        {99999, 5, 0, TRUE, "99999"},
        {-9999, 5, 0, TRUE, "-9999"},
        {-99999, 5, 0, FALSE, "****"},
        {0, 3, 0, TRUE, "  0"},
        {-0.0, 3, 0, TRUE, " -0"},
        {-12, 5, 0, TRUE, "  -12"},
        {-12, 0, 0, FALSE, ""},
        {999999999999999, 15, 0, TRUE, "999999999999999"},
        {-999999999999999, 16, -1, TRUE, "-999999999999999"},
        {1e15, 16, 0, TRUE, "1000000000000000"},
        {1e15, 15, 0, FALSE, "**************"},
        {INFINITY, 6, 2, FALSE, "*****"},
        {std::nan(""), 6, 2, FALSE, "*****"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        EXPECT_EQ(c.ok, _number_to_text(c.x, buffer, c.width, c.decimals)) << c.x << " width " << c.width << " decimals " << c.decimals;
        EXPECT_STREQ(c.text, buffer) << c.x << " width " << c.width << " decimals " << c.decimals;
    }
    char wide[64];
    EXPECT_TRUE(_number_to_text(1, wide, 70, 0));
    EXPECT_EQ(49u, std::strlen(wide)) << "the width is capped at 49";
}

TEST(Numbers, NumericKeyForms)
{
    const struct {
        int keySize;
        double x;
        int width, decimals;
        const char* key;
    } cases[] = {
        {8, 12.5, 8, 2, "00012.50"},
        {8, -12.5, 8, 2, ",,,+*.',"},
        {8, 0, 8, 2, "00000.00"},
        {8, -0.5, 8, 2, ",,,,,.',"},
        {10, 42, 10, 0, "0000000042"},
        {10, -42, 10, 0, ",,,,,,,,(*"},
        {32, 12.5, 8, 2, "????????"},
        {40, 1, 40, 0, "????????"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        EXPECT_STREQ(c.key, _numeric_key(c.keySize, c.x, buffer, c.width, c.decimals))
            << c.x << " width " << c.width << " decimals " << c.decimals << " key size " << c.keySize;
    }
    // A search text "5" and "5.00" name the same key.
    char a[64], b[64];
    _numeric_key(10, _text_to_number("5", 1), a, 10, 2);
    _numeric_key(10, _text_to_number("5.00", 4), b, 10, 2);
    EXPECT_STREQ(a, b);
}

TEST(Numbers, NumericKeysSortLikeTheirNumbers)
{
    std::mt19937 random(20240611);
    const struct {
        int width, decimals;
    } shapes[] = {{10, 0}, {10, 2}, {8, 3}, {15, 4}, {6, 0}, {12, 5}};
    for (const auto& shape : shapes) {
        // Numbers with the shape's decimals that fit its width with sign and point.
        const int integerDigits = shape.width - shape.decimals - (shape.decimals ? 2 : 1);
        const long long scale = (long long)std::pow(10.0, shape.decimals);
        const long long limit = (long long)std::pow(10.0, integerDigits) * scale - 1;
        std::uniform_int_distribution<long long> units(-limit, limit);
        std::uniform_int_distribution<long long> small(-3 * scale, 3 * scale);
        std::vector<std::pair<double, std::string>> keys;
        for (int i = 0; i < 2000; ++i) {
            long long u = i % 4 == 0 ? small(random) : units(random);
            if (i < 3)
                u = i == 0 ? limit : (i == 1 ? -limit : 0);
            double x = (double)u / (double)scale;
            char buffer[64];
            keys.emplace_back(x, _numeric_key(shape.width, x, buffer, shape.width, shape.decimals));
            ASSERT_EQ((size_t)shape.width, keys.back().second.size()) << x;
        }
        std::sort(keys.begin(), keys.end());
        for (size_t i = 1; i < keys.size(); ++i) {
            const auto& lo = keys[i - 1];
            const auto& hi = keys[i];
            if (lo.first == hi.first)
                EXPECT_EQ(lo.second, hi.second) << lo.first;
            else
                EXPECT_LT(lo.second, hi.second) << lo.first << " < " << hi.first << " (width " << shape.width
                                                << ", decimals " << shape.decimals << ")";
        }
    }
}

// ---- date patterns ------------------------------------------------------------------------------

TEST(DatePatterns, DateIntoPatternAndBack)
{
    const struct {
        const char* pattern;
        const char* shown;
    } cases[] = {
        {"MM/DD/CCYY", "02/01/2003"}, {"CCYY.MM.DD", "2003.02.01"}, {"DD/MM/CCYY", "01/02/2003"},
        {"DD.MM.CCYY", "01.02.2003"}, {"DD-MM-CCYY", "01-02-2003"},
    };
    for (const auto& c : cases) {
        char out[32];
        EXPECT_TRUE(_date_to_pattern("20030201", sizeof out, c.pattern, out));
        EXPECT_STREQ(c.shown, out) << c.pattern;
        EXPECT_TRUE(_pattern_to_date(c.shown, c.pattern, out, sizeof out));
        EXPECT_STREQ("20030201", out) << c.pattern;
    }
}

TEST(DatePatterns, EmptyShortAndCenturyLessForms)
{
    char out[32];
    _date_to_pattern("        ", sizeof out, "DD.MM.CCYY", out);
    EXPECT_STREQ("  .  .    ", out);
    _date_to_pattern("20030201", 6, "DD.MM.CCYY", out);
    EXPECT_STREQ("01.02", out) << "at most size - 1 characters";
    _date_to_pattern("20030201", sizeof out, "DD.MM.YY", out);
    EXPECT_STREQ("01.02.03", out) << "a letter the pattern lacks skips its digits";
    _pattern_to_date("", "DD.MM.CCYY", out, sizeof out);
    EXPECT_STREQ("        ", out);
    _pattern_to_date("01.02.03", "DD.MM.YY", out, sizeof out);
    EXPECT_STREQ("19030201", out) << "a pattern without century gives 19";
    _pattern_to_date("01.02", "DD.MM.CCYY", out, sizeof out);
    EXPECT_STREQ("00000201", out) << "missing digits become 0";
    _pattern_to_date("01.02.2003", "DD.MM.CCYY", out, 5);
    EXPECT_STREQ("2003", out);
}

// ---- date exports -------------------------------------------------------------------------------

TEST_F(Conversions, DtocAndCtodInEveryDateFormat)
{
    const struct {
        int format;
        const char* shown;    // db_dtoc of 20030201
        const char* typed;    // read by db_ctod as 20030201
    } cases[] = {
        {0, "02/01/2003", "2/1/2003"}, {1, "2003.02.01", "2003.2.1"}, {2, "01/02/2003", "1/2/2003"},
        {3, "01.02.2003", "1.2.2003"}, {4, "01-02-2003", "1-2-2003"},
    };
    for (const auto& c : cases) {
        g_Job->dateFormat = c.format;
        char buf[32];
        EXPECT_EQ(TRUE, db_dtoc("20030201", buf, sizeof buf));
        EXPECT_STREQ(c.shown, buf) << "format " << c.format;
        EXPECT_EQ(TRUE, db_ctod(c.typed, buf, sizeof buf));
        EXPECT_STREQ("20030201", buf) << "format " << c.format << ": " << c.typed;
    }
}

TEST_F(Conversions, CtodTakesNumbersAsWritten)
{
    g_Job->dateFormat = 3;
    const struct {
        const char* typed;
        const char* date;
    } cases[] = {
        {"1.2.2003", "20030201"}, {"", "        "},      {"12", "        "},      {"31.12.99", "00991231"},
        {"1.2", "00000001"},      {"01/02/2003", "20030201"}, {"1 2 2003", "20030201"}, {"31.2.2003", "20030231"},
        {"1.2.", "00000201"},
    };
    for (const auto& c : cases) {
        char buf[16];
        EXPECT_EQ(TRUE, db_ctod(c.typed, buf, sizeof buf)) << c.typed;
        EXPECT_STREQ(c.date, buf) << "'" << c.typed << "'";
    }
    char small[5];
    db_ctod("1.2.2003", small, sizeof small);
    EXPECT_STREQ("2003", small);
}

TEST_F(Conversions, DtocWorksInPlaceAndOnEmptyDates)
{
    g_Job->dateFormat = 3;
    char buf[255] = "20240305";
    EXPECT_EQ(TRUE, db_dtoc(buf, buf, sizeof buf));
    EXPECT_STREQ("05.03.2024", buf);
    std::strcpy(buf, "        ");
    db_dtoc(buf, buf, sizeof buf);
    EXPECT_STREQ("  .  .    ", buf);
    db_dtoc(nullptr, buf, sizeof buf);
    EXPECT_STREQ("  .  .    ", buf) << "NULL is the empty date";
    EXPECT_EQ(FALSE, db_dtoc("20240305", nullptr, 10));
}

TEST_F(Conversions, WithoutJobTheExportsFail)
{
    db_job_close();
    char buf[16] = "unchanged";
    EXPECT_EQ(FALSE, db_dtoc("20030201", buf, sizeof buf));
    EXPECT_EQ(FALSE, db_ctod("1.2.2003", buf, sizeof buf));
    EXPECT_STREQ("unchanged", buf);
    EXPECT_EQ(5u, db_error());
}

TEST_F(Conversions, MonthNamesAndFormatsInTheStringTable)
{
    const char* months[] = {"Januar",  "Februar",   "M\x84rz",  "April",    "Mai",      "Juni",
                            "Juli",    "August",    "September", "Oktober", "November", "Dezember"};
    for (int m = 1; m <= 12; ++m) {
        char name[32];
        EXPECT_TRUE(_month_name(m, name, sizeof name));
        EXPECT_STREQ(months[m - 1], name) << "month " << m;
        char text[32];
        db_get_errortext(10000 + m - 1, text, sizeof text);
        EXPECT_STREQ(months[m - 1], text) << "string " << 10000 + m - 1;
    }
    char name[8] = "x";
    EXPECT_FALSE(_month_name(13, name, sizeof name));
    EXPECT_STREQ("", name);

    const char* patterns[] = {"MM/DD/CCYY", "CCYY.MM.DD", "DD/MM/CCYY", "DD.MM.CCYY", "DD-MM-CCYY"};
    const char* formats[] = {"%02d/%02d/%04d", "%04d.%02d.%02d", "%02d/%02d/%04d", "%02d.%02d.%04d", "%02d-%02d-%04d"};
    for (int i = 0; i < 5; ++i) {
        char text[32];
        _date_pattern(i, text, sizeof text);
        EXPECT_STREQ(patterns[i], text) << "format " << i;
        _date_printf_format(i, text, sizeof text);
        EXPECT_STREQ(formats[i], text) << "format " << i;
    }
}

namespace {

// Trace lines of this process without the program's prefix and the "pid/tid: mm:ss.mmm " part.
std::vector<std::string> TraceLines(const std::vector<std::string>& lines)
{
    char pid[16];
    std::snprintf(pid, sizeof pid, "%08lx/", GetCurrentProcessId());
    std::vector<std::string> out;
    for (std::string l : lines) {
        size_t colon = l.find(':');
        if (colon == std::string::npos || l.compare(0, colon, "engine_conversions_test") != 0)
            continue;
        l.erase(0, colon + 1);
        size_t p = l.find(pid);
        if (p != std::string::npos)
            l = l.substr(0, p) + l.substr(p + 29);
        out.push_back(l);
    }
    return out;
}

} // namespace

TEST_F(Conversions, TraceLinesOfDtocAndCtod)
{
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    capture.Take();
    g_Job->dateFormat = 3;
    char buf[11];
    db_set_debug(1);
    db_dtoc("20030201", buf, sizeof buf);
    db_ctod("1.2.2003", buf, sizeof buf);
    db_set_debug(0);
    DebugChannelClose();

    char address[16];
    std::snprintf(address, sizeof address, "0x%08lx", (unsigned long)(uintptr_t)buf);
    const std::vector<std::string> expected = {
        std::string("@DbDtoc('20030201',") + address + ",11)",
        "->'01.02.2003'",
        "=1",
        std::string("@DbCtod('1.2.2003',") + address + ",11)",
        "->'20030201'",
        "=1",
    };
    std::vector<std::string> lines = TraceLines(capture.Take());
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(expected, std::vector<std::string>(lines.begin() + 1, lines.begin() + 7));
}
