// COleDateTime, COleDateTimeSpan, CTime and CTimeSpan: construction and status rules, parts,
// arithmetic across 30 December 1899, formatting in the German locale and conversions.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include "AfxTestResource.h"

namespace {

CString LocaleText(LCTYPE type)
{
    char buffer[128] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return buffer;
}

std::string Parts(const COleDateTime& dt)
{
    char buffer[64];
    sprintf(buffer, "%04d-%02d-%02d %02d:%02d:%02d", dt.GetYear(), dt.GetMonth(), dt.GetDay(), dt.GetHour(),
            dt.GetMinute(), dt.GetSecond());
    return buffer;
}

} // namespace

TEST(OleDateTime, ConstructionFromParts)
{
    const struct {
        int y, m, d, h, mi, s;
        COleDateTime::DateTimeStatus status;
        double value; // checked when valid
    } cases[] = {
        {2000, 1, 1, 0, 0, 0, COleDateTime::valid, 36526.0},
        {1899, 12, 30, 0, 0, 0, COleDateTime::valid, 0.0},
        {1899, 12, 30, 18, 0, 0, COleDateTime::valid, 0.75},
        {1899, 12, 29, 6, 0, 0, COleDateTime::valid, -1.25},
        {100, 1, 1, 0, 0, 0, COleDateTime::valid, -657434.0},
        {9999, 12, 31, 0, 0, 0, COleDateTime::valid, 2958465.0},
        {2024, 2, 29, 0, 0, 0, COleDateTime::valid, 45351.0},
        {2000, 2, 29, 0, 0, 0, COleDateTime::valid, 36585.0},
        {99, 12, 31, 0, 0, 0, COleDateTime::invalid, 0},
        {10000, 1, 1, 0, 0, 0, COleDateTime::invalid, 0},
        {2023, 2, 29, 0, 0, 0, COleDateTime::invalid, 0},
        {1900, 2, 29, 0, 0, 0, COleDateTime::invalid, 0},
        {2024, 13, 1, 0, 0, 0, COleDateTime::invalid, 0},
        {2024, 0, 1, 0, 0, 0, COleDateTime::invalid, 0},
        {2024, 4, 31, 0, 0, 0, COleDateTime::invalid, 0},
        {2024, 1, 1, 24, 0, 0, COleDateTime::invalid, 0},
        {2024, 1, 1, 0, 60, 0, COleDateTime::invalid, 0},
        {2024, 1, 1, 0, 0, 60, COleDateTime::invalid, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s);
        COleDateTime dt(c.y, c.m, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(c.status, dt.GetStatus());
        if (c.status == COleDateTime::valid) {
            EXPECT_DOUBLE_EQ(c.value, dt.m_dt);
            EXPECT_EQ(c.y, dt.GetYear());
            EXPECT_EQ(c.m, dt.GetMonth());
            EXPECT_EQ(c.d, dt.GetDay());
            EXPECT_EQ(c.h, dt.GetHour());
            EXPECT_EQ(c.mi, dt.GetMinute());
            EXPECT_EQ(c.s, dt.GetSecond());
        } else {
            EXPECT_EQ(AFX_OLE_DATETIME_ERROR, dt.GetYear());
        }
    }
}

TEST(OleDateTime, DayOfWeekAndDayOfYear)
{
    const struct {
        int y, m, d;
        int dayOfWeek; // 1 = Sunday
        int dayOfYear;
    } cases[] = {
        {2024, 3, 5, 3, 65},   {2000, 1, 1, 7, 1},     {1899, 12, 30, 7, 364}, {1899, 12, 31, 1, 365},
        {1899, 12, 29, 6, 363}, {2024, 12, 31, 3, 366}, {100, 1, 1, 6, 1},      {2005, 1, 1, 7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        COleDateTime dt(c.y, c.m, c.d, 12, 0, 0);
        EXPECT_EQ(c.dayOfWeek, dt.GetDayOfWeek());
        EXPECT_EQ(c.dayOfYear, dt.GetDayOfYear());
    }
}

TEST(OleDateTime, StatusRules)
{
    COleDateTime dt;
    EXPECT_EQ(COleDateTime::valid, dt.GetStatus());
    EXPECT_EQ(0.0, dt.m_dt);

    dt.SetStatus(COleDateTime::null);
    EXPECT_EQ(AFX_OLE_DATETIME_ERROR, dt.GetDay());
    EXPECT_STREQ("", dt.Format("%d.%m.%Y"));
    EXPECT_STREQ("", dt.Format());

    EXPECT_EQ(COleDateTime::invalid, COleDateTime(3.0e6).GetStatus());
    EXPECT_EQ(COleDateTime::invalid, COleDateTime(-700000.0).GetStatus());
    EXPECT_EQ(COleDateTime::valid, COleDateTime(2958465.5).GetStatus());

    // An invalid date keeps its value; its texts are not empty.
    COleDateTime bad(2000, 1, 1, 0, 0, 0);
    EXPECT_EQ(1, bad.SetDate(2001, 2, 29));
    EXPECT_EQ(COleDateTime::invalid, bad.GetStatus());
    EXPECT_EQ(36526.0, bad.m_dt);
    EXPECT_FALSE(bad.Format("%d").IsEmpty());
    EXPECT_EQ(0, bad.SetTime(10, 30, 0));
    EXPECT_DOUBLE_EQ(10.5 / 24, bad.m_dt);
}

TEST(OleDateTime, PartsAreRoundedToTheSecond)
{
    const double second = 1.0 / 86400;
    COleDateTime base(2024, 3, 5, 14, 30, 0);
    EXPECT_EQ("2024-03-05 14:30:00", Parts(COleDateTime(base.m_dt + 0.4 * second)));
    EXPECT_EQ("2024-03-05 14:30:01", Parts(COleDateTime(base.m_dt + 0.6 * second)));
    EXPECT_EQ("2024-03-05 14:29:59", Parts(COleDateTime(base.m_dt - 0.6 * second)));
    EXPECT_EQ("2024-03-06 00:00:00", Parts(COleDateTime(45356.0 + 86399.7 * second)));
    // Negative dates count the time forward from the start of their day.
    EXPECT_EQ("1899-12-29 06:00:00", Parts(COleDateTime(-1.25)));
    EXPECT_EQ("1899-12-30 06:00:00", Parts(COleDateTime(-0.25)));
}

TEST(OleDateTime, ArithmeticWithSpans)
{
    const struct {
        const char* name;
        COleDateTime result;
        const char* expected;
    } cases[] = {
        {"+ 1 day 12 h", COleDateTime(2024, 2, 28, 18, 0, 0) + COleDateTimeSpan(1, 12, 0, 0), "2024-03-01 06:00:00"},
        {"- 90 min", COleDateTime(2024, 1, 1, 0, 30, 0) - COleDateTimeSpan(0, 1, 30, 0), "2023-12-31 23:00:00"},
        {"across the epoch backwards", COleDateTime(1899, 12, 30, 12, 0, 0) - COleDateTimeSpan(0, 18, 0, 0),
         "1899-12-29 18:00:00"},
        {"across the epoch forwards", COleDateTime(1899, 12, 29, 6, 0, 0) + COleDateTimeSpan(1, 0, 0, 0),
         "1899-12-30 06:00:00"},
        {"within a negative day", COleDateTime(1899, 12, 28, 6, 0, 0) + COleDateTimeSpan(0, 6, 0, 0),
         "1899-12-28 12:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(COleDateTime::valid, c.result.GetStatus());
        EXPECT_EQ(c.expected, Parts(c.result));
    }

    COleDateTimeSpan diff = COleDateTime(1899, 12, 31, 0, 0, 0) - COleDateTime(1899, 12, 29, 12, 0, 0);
    EXPECT_DOUBLE_EQ(1.5, diff.m_span);

    COleDateTime dt(2024, 3, 5, 0, 0, 0);
    dt += COleDateTimeSpan(0, 25, 0, 0);
    EXPECT_EQ("2024-03-06 01:00:00", Parts(dt));
    dt -= COleDateTimeSpan(2, 0, 0, 0);
    EXPECT_EQ("2024-03-04 01:00:00", Parts(dt));
}

TEST(OleDateTime, StatusOfArithmeticResults)
{
    COleDateTime valid(2024, 3, 5, 0, 0, 0), nullDate, invalidDate;
    nullDate.SetStatus(COleDateTime::null);
    invalidDate.SetStatus(COleDateTime::invalid);
    COleDateTimeSpan span(1, 0, 0, 0), nullSpan, invalidSpan;
    nullSpan.SetStatus(COleDateTimeSpan::null);
    invalidSpan.SetStatus(COleDateTimeSpan::invalid);

    const struct {
        const char* name;
        COleDateTime::DateTimeStatus status;
        COleDateTime::DateTimeStatus expected;
    } cases[] = {
        {"valid + valid", (valid + span).GetStatus(), COleDateTime::valid},
        {"valid + null span", (valid + nullSpan).GetStatus(), COleDateTime::null},
        {"null + invalid span", (nullDate + invalidSpan).GetStatus(), COleDateTime::null},
        {"invalid + valid", (invalidDate + span).GetStatus(), COleDateTime::invalid},
        {"valid - invalid span", (valid - invalidSpan).GetStatus(), COleDateTime::invalid},
        {"beyond 9999", (COleDateTime(9999, 12, 31, 0, 0, 0) + span).GetStatus(), COleDateTime::invalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.status);
    }
    EXPECT_EQ(COleDateTimeSpan::null, (valid - nullDate).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::invalid, (invalidDate - valid).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::null, (span + nullSpan).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::invalid, (span - invalidSpan).GetStatus());
}

TEST(OleDateTime, ComparisonFollowsTheTimeLine)
{
    // -1.75 (29.12.1899 18:00) is later than -1.25 (29.12.1899 06:00) although it is smaller.
    COleDateTime morning(1899, 12, 29, 6, 0, 0), evening(1899, 12, 29, 18, 0, 0);
    EXPECT_TRUE(morning < evening);
    EXPECT_TRUE(evening > morning);
    EXPECT_TRUE(COleDateTime(1899, 12, 30, 1, 0, 0) > evening);
    EXPECT_TRUE(morning <= morning);
    EXPECT_TRUE(morning == COleDateTime(-1.25));
    COleDateTime nullMorning = morning;
    nullMorning.SetStatus(COleDateTime::null);
    EXPECT_TRUE(nullMorning != morning);
}

TEST(OleDateTimeSpan, PartsAndTotals)
{
    COleDateTimeSpan ts(3, 1, 5, 12);
    EXPECT_EQ(3, ts.GetTotalDays());
    EXPECT_EQ(73, ts.GetTotalHours());
    EXPECT_EQ(4385, ts.GetTotalMinutes());
    EXPECT_EQ(263112, ts.GetTotalSeconds());
    EXPECT_EQ(3, ts.GetDays());
    EXPECT_EQ(1, ts.GetHours());
    EXPECT_EQ(5, ts.GetMinutes());
    EXPECT_EQ(12, ts.GetSeconds());
    EXPECT_STREQ("3 Tage 01:05:12, 100%", ts.Format("%D Tage %H:%M:%S, 100%%"));

    COleDateTimeSpan negative = -ts;
    EXPECT_EQ(-3, negative.GetDays());
    EXPECT_EQ(-1, negative.GetHours());
    EXPECT_EQ(-12, negative.GetSeconds());
    EXPECT_EQ(-73, negative.GetTotalHours());

    // Rounded to the second: one millisecond short of a day is a day.
    COleDateTimeSpan almostDay(1.0 - 0.001 / 86400);
    EXPECT_EQ(1, almostDay.GetDays());
    EXPECT_EQ(0, almostDay.GetHours());

    EXPECT_EQ(COleDateTimeSpan::invalid, COleDateTimeSpan(4.0e6).GetStatus());
    EXPECT_TRUE(COleDateTimeSpan(0, 12, 0, 0) < COleDateTimeSpan(1, 0, 0, 0));
}

TEST(OleDateTimeFormat, ExplicitFormats)
{
    COleDateTime dt(2024, 3, 5, 14, 30, 7); // a Tuesday
    const struct {
        const char* format;
        CString expected;
    } cases[] = {
        {"%d.%m.%Y %H:%M:%S", "05.03.2024 14:30:07"},
        {"%d.%m.%y", "05.03.24"},
        {"%#d.%#m.%Y", "5.3.2024"},
        {"%H:%M", "14:30"},
        {"%I %j %w %U %W %%", "02 065 2 09 10 %"},
        {"%a", LocaleText(LOCALE_SABBREVDAYNAME2)},
        {"%A", LocaleText(LOCALE_SDAYNAME2)},
        {"%b", LocaleText(LOCALE_SABBREVMONTHNAME3)},
        {"%B", LocaleText(LOCALE_SMONTHNAME3)},
        {"%d.%m.%y %a", "05.03.24 " + LocaleText(LOCALE_SABBREVDAYNAME2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_FALSE(c.expected.IsEmpty());
        EXPECT_STREQ(c.expected, dt.Format(c.format));
    }
    EXPECT_STREQ("05.03.2024", dt.Format((UINT)IDS_TEST_DATE_FORMAT));
    // German names with umlauts arrive in code page 1252.
    EXPECT_STREQ("März", LocaleText(LOCALE_SMONTHNAME3));
}

TEST(OleDateTimeFormat, LocaleFormsMatchThePlatform)
{
    COleDateTime dt(2024, 3, 5, 14, 30, 7);
    SYSTEMTIME st;
    ASSERT_TRUE(dt.GetAsSystemTime(st));
    char date[64], longDate[128], time[64];
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, NULL, date, sizeof date);
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &st, NULL, longDate, sizeof longDate);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, NULL, time, sizeof time);

    EXPECT_STREQ(date, dt.Format("%x"));
    EXPECT_STREQ(longDate, dt.Format("%#x"));
    EXPECT_STREQ(time, dt.Format("%X"));
    EXPECT_STREQ(CString(date) + " " + time, dt.Format("%c"));

    EXPECT_STREQ(date, dt.Format(VAR_DATEVALUEONLY));
    EXPECT_STREQ(time, dt.Format(VAR_TIMEVALUEONLY));
    EXPECT_STREQ(CString(date) + " " + time, dt.Format());
}

TEST(OleDateTimeParse, ParseDateTime)
{
    COleDateTime dt;
    EXPECT_TRUE(dt.ParseDateTime("05.03.2024 14:30:00", 0, MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)));
    EXPECT_EQ("2024-03-05 14:30:00", Parts(dt));

    // What Format writes, ParseDateTime reads back.
    COleDateTime original(2031, 11, 9, 8, 5, 59);
    EXPECT_TRUE(dt.ParseDateTime(original.Format()));
    EXPECT_TRUE(dt == original);

    EXPECT_FALSE(dt.ParseDateTime("Quatsch"));
    EXPECT_EQ(COleDateTime::invalid, dt.GetStatus());
    EXPECT_FALSE(dt.ParseDateTime(""));
    EXPECT_EQ(COleDateTime::invalid, dt.GetStatus());
}

TEST(OleDateTimeConvert, SystemTimeFileTimeTimeTAndVariant)
{
    SYSTEMTIME st = {2024, 3, 2, 5, 14, 30, 7, 999};
    COleDateTime fromSystem(st);
    EXPECT_EQ("2024-03-05 14:30:07", Parts(fromSystem));
    SYSTEMTIME back;
    ASSERT_TRUE(fromSystem.GetAsSystemTime(back));
    EXPECT_EQ(2024, back.wYear);
    EXPECT_EQ(2, back.wDayOfWeek);
    EXPECT_EQ(7, back.wSecond);
    EXPECT_EQ(0, back.wMilliseconds);
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    EXPECT_FALSE(nullDate.GetAsSystemTime(back));

    // A file time is UTC; the date shows local time.
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    EXPECT_EQ("2024-03-05 14:30:07", Parts(COleDateTime(utc)));

    // time_t in local time, as CTime shows it.
    time_t t = (time_t)1709649007;
    CTime ct(t);
    COleDateTime fromTimeT(t);
    EXPECT_EQ(ct.GetYear(), fromTimeT.GetYear());
    EXPECT_EQ(ct.GetDay(), fromTimeT.GetDay());
    EXPECT_EQ(ct.GetHour(), fromTimeT.GetHour());
    EXPECT_EQ(ct.GetSecond(), fromTimeT.GetSecond());

    VARIANT var;
    VariantInit(&var);
    var.vt = VT_R8;
    var.dblVal = 36526.5;
    EXPECT_EQ("2000-01-01 12:00:00", Parts(COleDateTime(var)));
    COleVariant text("Quatsch");
    EXPECT_EQ(COleDateTime::invalid, COleDateTime((const VARIANT&)text).GetStatus());
}

TEST(OleDateTimeConvert, CurrentTimeIsLocalTimeInWholeSeconds)
{
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    COleDateTime now = COleDateTime::GetCurrentTime();
    GetLocalTime(&after);
    before.wMilliseconds = 0;
    after.wMilliseconds = 0;
    EXPECT_EQ(COleDateTime::valid, now.GetStatus());
    EXPECT_TRUE(COleDateTime(before) <= now) << Parts(now);
    EXPECT_TRUE(now <= COleDateTime(after)) << Parts(now);
    EXPECT_EQ(now.m_dt, COleDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(), now.GetMinute(),
                                     now.GetSecond())
                            .m_dt);
}

TEST(Time, LocalPartsArithmeticAndFormat)
{
    CTime t(2024, 3, 5, 14, 30, 7);
    EXPECT_EQ(2024, t.GetYear());
    EXPECT_EQ(3, t.GetMonth());
    EXPECT_EQ(5, t.GetDay());
    EXPECT_EQ(14, t.GetHour());
    EXPECT_EQ(30, t.GetMinute());
    EXPECT_EQ(7, t.GetSecond());
    EXPECT_EQ(3, t.GetDayOfWeek());
    EXPECT_STREQ("05.03.2024 14:30:07", t.Format("%d.%m.%Y %H:%M:%S"));

    CTime later = t + CTimeSpan(1, 2, 0, 0);
    EXPECT_STREQ("06.03.2024 16:30", later.Format("%d.%m.%Y %H:%M"));
    CTimeSpan diff = later - t;
    EXPECT_EQ(1, diff.GetDays());
    EXPECT_EQ(26, diff.GetTotalHours());
    EXPECT_EQ(2, diff.GetHours());
    EXPECT_STREQ("1 02:00:00", diff.Format("%D %H:%M:%S"));
    EXPECT_TRUE(t < later);

    EXPECT_STREQ("01.01.1970 00:00:00", CTime((time_t)0).FormatGmt("%d.%m.%Y %H:%M:%S"));
    SYSTEMTIME st;
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(CTime(st).GetTime(), t.GetTime());
}
