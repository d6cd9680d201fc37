// The exports of VL32T1.dll as a caller sees them: names and ordinals, job handles, registering
// and deleting timers, the settings' answers, and the dump text. Nothing here polls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TimerTestDates.h"
#include "VL32T1.h"

using timertest::At;
using timertest::NullDate;

namespace {

TimerDateTime Arg(const COleDateTime& date) { return TimerDateTimeFrom(date); }

// A job for one test, closed at its end.
class JobScope {
public:
    JobScope() : m_lJob(TimerJobOpen()) { EXPECT_GT(m_lJob, 0); }
    ~JobScope() { TimerJobClose(m_lJob); }
    long Handle() const { return m_lJob; }
    std::string Dump() const
    {
        std::vector<char> buffer(65536, 'x');
        EXPECT_EQ(0, TimerDump(m_lJob, buffer.data(), (int)buffer.size()));
        return buffer.data();
    }

private:
    long m_lJob;
};

int CALLBACK IgnoreSignal(int, const TimerInfo*) { return 0; }

} // namespace

TEST(VL32T1, TwentyExportsByPlainNameWithOrdinalsInAlphabeticalOrder)
{
    const char* const names[] = {"TimerAddCyclicDay",       "TimerAddCyclicMinutes",
                                 "TimerAddCyclicMonth",     "TimerAddCyclicMonthExt",
                                 "TimerAddCyclicSec",       "TimerAddCyclicWeek",
                                 "TimerAddCyclicWeekByDay", "TimerAddCyclicYear",
                                 "TimerAddCyclicYearDayInMonth", "TimerAddCyclicYearExt",
                                 "TimerAddFixed",           "TimerDelete",
                                 "TimerDump",               "TimerJobClose",
                                 "TimerJobOpen",            "TimerSetMessageCallback",
                                 "TimerSetMessageChannel",  "TimerSetPollTime",
                                 "TimerStartPolling",       "TimerStopPolling"};
    HMODULE dll = GetModuleHandleA("VL32T1.dll");
    ASSERT_NE(nullptr, dll);
    for (int nOrdinal = 1; nOrdinal <= 20; nOrdinal++) {
        const char* name = names[nOrdinal - 1];
        FARPROC byName = GetProcAddress(dll, name);
        ASSERT_NE(nullptr, byName) << name;
        EXPECT_EQ(byName, GetProcAddress(dll, MAKEINTRESOURCEA(nOrdinal))) << name << " is not ordinal " << nOrdinal;
        if (nOrdinal > 1) {
            EXPECT_LT(std::string(names[nOrdinal - 2]), std::string(name));
        }
    }
    EXPECT_EQ(nullptr, GetProcAddress(dll, MAKEINTRESOURCEA(21)));
    EXPECT_EQ(nullptr, GetProcAddress(dll, "TimerJobOpen@0")) << "no decorated names on x64";
}

TEST(TimerJobOpen, HandlesAreSmallPositiveIntegersAndClosedOrUnknownHandlesAnswerMinusOne)
{
    const long lFirst = TimerJobOpen();
    const long lSecond = TimerJobOpen();
    EXPECT_GT(lFirst, 0);
    EXPECT_LT(lFirst, 1000);
    EXPECT_EQ(lFirst + 1, lSecond);
    EXPECT_EQ(0, TimerJobClose(lFirst));
    EXPECT_EQ(-1, TimerJobClose(lFirst)) << "closed twice";

    const COleDateTime when = At(2030, 1, 1, 12, 0);
    const int weekdays[8] = {0, 0, 1, 0, 0, 0, 0, 0};
    char buffer[16];
    // Every export that takes a job handle.
    const std::vector<std::pair<const char*, std::function<int(long)>>> calls = {
        {"TimerJobClose", [](long h) { return TimerJobClose(h); }},
        {"TimerSetMessageChannel", [](long h) { return TimerSetMessageChannel(h, WM_APP, GetDesktopWindow()); }},
        {"TimerSetMessageCallback", [](long h) { return TimerSetMessageCallback(h, &IgnoreSignal); }},
        {"TimerSetPollTime", [](long h) { return TimerSetPollTime(h, 5); }},
        {"TimerStartPolling", [](long h) { return TimerStartPolling(h); }},
        {"TimerStopPolling", [](long h) { return TimerStopPolling(h); }},
        {"TimerDelete", [](long h) { return TimerDelete(h, 1); }},
        {"TimerDump", [&](long h) { return TimerDump(h, buffer, sizeof buffer); }},
        {"TimerAddFixed", [&](long h) { return TimerAddFixed(h, Arg(when), 1, 0); }},
        {"TimerAddCyclicSec", [&](long h) { return TimerAddCyclicSec(h, 1, Arg(when), Arg(NullDate()), 5); }},
        {"TimerAddCyclicMinutes", [&](long h) { return TimerAddCyclicMinutes(h, 1, Arg(when), Arg(NullDate()), 5); }},
        {"TimerAddCyclicDay", [&](long h) { return TimerAddCyclicDay(h, 1, Arg(when), Arg(NullDate()), 0, 1, 0); }},
        {"TimerAddCyclicWeek", [&](long h) { return TimerAddCyclicWeek(h, 1, Arg(when), Arg(NullDate()), 1, 2); }},
        {"TimerAddCyclicWeekByDay",
         [&](long h) { return TimerAddCyclicWeekByDay(h, 1, Arg(when), Arg(NullDate()), 1, weekdays, 0); }},
        {"TimerAddCyclicMonth", [&](long h) { return TimerAddCyclicMonth(h, 1, Arg(when), Arg(NullDate()), 1, 1, 0); }},
        {"TimerAddCyclicMonthExt",
         [&](long h) { return TimerAddCyclicMonthExt(h, 1, Arg(when), Arg(NullDate()), 0, 2, 1, 0); }},
        {"TimerAddCyclicYear", [&](long h) { return TimerAddCyclicYear(h, 1, Arg(when), Arg(NullDate()), 1, 0); }},
        {"TimerAddCyclicYearDayInMonth",
         [&](long h) { return TimerAddCyclicYearDayInMonth(h, 1, Arg(when), Arg(NullDate()), 1, 1, 0); }},
        {"TimerAddCyclicYearExt",
         [&](long h) { return TimerAddCyclicYearExt(h, 1, Arg(when), Arg(NullDate()), 1, 0, 2, 0); }},
    };
    for (long lHandle : {lFirst, 0L, -1L, lSecond + 1000L, (long)0x7FFFFFFF}) {
        for (const auto& call : calls)
            EXPECT_EQ(-1, call.second(lHandle)) << call.first << " with handle " << lHandle;
    }

    const long lThird = TimerJobOpen();
    EXPECT_NE(lFirst, lThird) << "a closed handle is not handed out again";
    EXPECT_EQ(0, TimerJobClose(lSecond));
    EXPECT_EQ(0, TimerJobClose(lThird));
}

TEST(TimerAddFixed, ASecondTimerOfTheSameIdIsRefused)
{
    JobScope job;
    EXPECT_EQ(0, TimerAddFixed(job.Handle(), Arg(At(2030, 5, 1, 8, 0)), 12, 0));
    EXPECT_EQ(-2, TimerAddFixed(job.Handle(), Arg(At(2030, 6, 1, 8, 0)), 12, 0));
    EXPECT_EQ(-2, TimerAddCyclicDay(job.Handle(), 12, Arg(At(2030, 6, 1)), Arg(NullDate()), 0, 1, 0))
        << "the key does not depend on the kind";
    EXPECT_EQ(0, TimerAddFixed(job.Handle(), Arg(At(2030, 7, 1, 8, 0)), 13, 0));
    EXPECT_EQ("12;01.05.2030;08:00\n13;01.07.2030;08:00\n", job.Dump());
}

TEST(TimerAddCyclicWeekByDay, OneTimerPerWeekdayFlagSharingTheId)
{
    JobScope job;
    const COleDateTime start = At(2008, 1, 2, 9, 0); // a Wednesday
    const int none[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    const int indexZeroOnly[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    const int mondayThursday[8] = {0, 0, 1, 0, 0, 1, 0, 0};
    EXPECT_EQ(0, TimerAddCyclicWeekByDay(job.Handle(), 7, Arg(start), Arg(NullDate()), 1, none, 0));
    EXPECT_EQ("", job.Dump());
    EXPECT_EQ(0, TimerAddCyclicWeekByDay(job.Handle(), 7, Arg(start), Arg(NullDate()), 1, indexZeroOnly, 0));
    EXPECT_EQ("", job.Dump()) << "element 0 is no weekday";

    EXPECT_EQ(0, TimerAddCyclicWeekByDay(job.Handle(), 7, Arg(start), Arg(NullDate()), 1, mondayThursday, 30));
    EXPECT_EQ("7;07.01.2008;08:30\n7;03.01.2008;08:30\n", job.Dump())
        << "Monday (sub-index 0) before Thursday (1), each from its first weekday after the start";
    EXPECT_EQ(0, TimerAddCyclicWeekByDay(job.Handle(), 7, Arg(start), Arg(NullDate()), 1, mondayThursday, 30))
        << "the single additions' refusals are not passed on";
    EXPECT_EQ("7;07.01.2008;08:30\n7;03.01.2008;08:30\n", job.Dump()) << "nothing more is registered";
    EXPECT_EQ(-1, TimerAddCyclicWeekByDay(job.Handle(), 8, Arg(start), Arg(NullDate()), 1, nullptr, 0));

    EXPECT_EQ(0, TimerDelete(job.Handle(), 7));
    EXPECT_EQ("", job.Dump()) << "both weekday timers go";
    EXPECT_EQ(-3, TimerDelete(job.Handle(), 7));
    EXPECT_EQ(-3, TimerDelete(job.Handle(), 12345));
}

TEST(TimerAdd, FirstDueOfEachKindAndAddsWithoutAFirstOccurrence)
{
    JobScope job;
    const long h = job.Handle();
    const TimerDateTime start = Arg(At(2030, 3, 1, 10, 0)); // a Friday
    const TimerDateTime open = Arg(NullDate());
    const TimerDateTime null = Arg(NullDate());
    const int friday[8] = {0, 0, 0, 0, 0, 0, 1, 0};
    const struct {
        const char* what;
        std::function<int()> add;
        int nResult;
        const char* line;
    } cases[] = {
        {"fixed, lead 15", [&] { return TimerAddFixed(h, start, 1, 15); }, 0, "1;01.03.2030;09:45\n"},
        {"seconds, lead 0", [&] { return TimerAddCyclicSec(h, 2, start, open, 30); }, 0, "2;01.03.2030;10:00\n"},
        {"minutes, lead 0", [&] { return TimerAddCyclicMinutes(h, 3, start, open, 30); }, 0, "3;01.03.2030;10:00\n"},
        {"daily, lead 60", [&] { return TimerAddCyclicDay(h, 4, start, open, 1, 1, 60); }, 0, "4;01.03.2030;09:00\n"},
        {"weekly on Monday, moved from Friday",
         [&] { return TimerAddCyclicWeek(h, 5, start, open, 1, 2); }, 0, "5;04.03.2030;10:00\n"},
        {"weekly by day, lead 5", [&] { return TimerAddCyclicWeekByDay(h, 6, start, open, 1, friday, 5); }, 0,
         "6;01.03.2030;09:55\n"},
        {"monthly, lead 10", [&] { return TimerAddCyclicMonth(h, 7, start, open, 1, 1, 10); }, 0,
         "7;01.03.2030;09:50\n"},
        {"monthly Nth weekday, lead 20", [&] { return TimerAddCyclicMonthExt(h, 8, start, open, 0, 6, 1, 20); }, 0,
         "8;01.03.2030;09:40\n"},
        {"yearly day of year, lead 30", [&] { return TimerAddCyclicYear(h, 9, start, open, 60, 30); }, 0,
         "9;01.03.2030;09:30\n"},
        {"yearly month and day, lead 40",
         [&] { return TimerAddCyclicYearDayInMonth(h, 10, start, open, 3, 1, 40); }, 0, "10;01.03.2030;09:20\n"},
        {"yearly Nth weekday, lead 50", [&] { return TimerAddCyclicYearExt(h, 11, start, open, 3, 0, 6, 50); }, 0,
         "11;01.03.2030;09:10\n"},
        {"fixed without a valid time", [&] { return TimerAddFixed(h, null, 20, 0); }, -1, ""},
        {"daily without a start", [&] { return TimerAddCyclicDay(h, 21, null, open, 0, 1, 0); }, -1, ""},
        {"yearly Nth weekday without a start", [&] { return TimerAddCyclicYearExt(h, 22, null, open, 3, 0, 6, 0); },
         -1, ""},
        {"seconds without a start whose series has ended",
         [&] { return TimerAddCyclicSec(h, 23, null, Arg(At(2001, 1, 1)), 30); }, -1, ""},
    };
    std::string expected;
    for (const auto& c : cases) {
        EXPECT_EQ(c.nResult, c.add()) << c.what;
        expected += c.line;
        EXPECT_EQ(expected, job.Dump()) << c.what;
    }
    EXPECT_EQ(0, TimerAddCyclicSec(h, 24, null, open, 3600)) << "seconds from now without a start";
    EXPECT_NE(std::string::npos, job.Dump().find("\n24;")) << job.Dump();
}

TEST(TimerSettings, AnswersForMissingValues)
{
    JobScope job;
    const HWND hwnd = GetDesktopWindow();
    EXPECT_EQ(-1, TimerSetMessageChannel(job.Handle(), 0, hwnd));
    EXPECT_EQ(-1, TimerSetMessageChannel(job.Handle(), WM_APP, nullptr));
    EXPECT_EQ(0, TimerSetMessageChannel(job.Handle(), WM_APP, hwnd));
    EXPECT_EQ(-1, TimerSetMessageCallback(job.Handle(), nullptr));
    EXPECT_EQ(0, TimerSetMessageCallback(job.Handle(), &IgnoreSignal));
    EXPECT_EQ(-1, TimerSetPollTime(job.Handle(), 0));
    EXPECT_EQ(0, TimerSetPollTime(job.Handle(), 30));
    EXPECT_EQ(0, TimerSetPollTime(job.Handle(), -4)) << "only 0 is refused; the wait is at least a second anyway";
    EXPECT_EQ(0, TimerStopPolling(job.Handle())) << "stopping a job that does not poll";
}

TEST(TimerDump, TextIsAlwaysTerminatedWithinTheGivenSize)
{
    JobScope job;
    ASSERT_EQ(0, TimerAddFixed(job.Handle(), Arg(At(2008, 12, 24, 18, 15)), 4711, 0));
    ASSERT_EQ(0, TimerAddFixed(job.Handle(), Arg(At(2009, 1, 2, 7, 5)), 8, 0));
    const std::string text = "4711;24.12.2008;18:15\n8;02.01.2009;07:05\n";
    EXPECT_EQ(text, job.Dump());

    char buffer[64];
    const struct {
        int nSize;
        std::string expected;
    } cases[] = {{1, ""}, {10, text.substr(0, 9)}, {(int)text.size(), text.substr(0, text.size() - 1)},
                 {(int)text.size() + 1, text}, {64, text}};
    for (const auto& c : cases) {
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(0, TimerDump(job.Handle(), buffer, c.nSize)) << "size " << c.nSize;
        EXPECT_EQ(c.expected, std::string(buffer)) << "size " << c.nSize;
        for (int i = (int)c.expected.size(); i < c.nSize; i++)
            ASSERT_EQ('\0', buffer[i]) << "size " << c.nSize << ": the rest of the buffer is zero";
        if (c.nSize < (int)sizeof buffer) {
            EXPECT_EQ('x', buffer[c.nSize]) << "size " << c.nSize << ": nothing beyond the size";
        }
    }
    EXPECT_EQ(-1, TimerDump(job.Handle(), buffer, 0));
    EXPECT_EQ(-1, TimerDump(job.Handle(), nullptr, 10));
}
