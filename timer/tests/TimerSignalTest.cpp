// Signalling of a polling job with a one-second poll: the order and content of the signals of
// one-shot timers and series, catching up a series that started in the past, the pause after ten
// signals, dropped signals without a receiver, the message channel's record, and that every add
// export hands its arguments to the rule it makes. Time limits are generous: they only bound how
// long a test waits for a signal that must come.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CSignalRecorder.h"
#include "CTimerRuleDaily.h"
#include "CTimerRuleMonthly.h"
#include "CTimerRuleWeekly.h"
#include "CTimerRuleYearly.h"
#include "CTimerRuleYearlyWeekday.h"
#include "TimerTestDates.h"
#include "VL32T1.h"

using timertest::NullDate;
using timertest::Show;

namespace {

const DWORD kPatience = 30000;

TimerDateTime Arg(const COleDateTime& date) { return TimerDateTimeFrom(date); }

COleDateTime Now() { return COleDateTime::GetCurrentTime(); }

COleDateTime Minutes(const COleDateTime& date, int nMinutes) { return date + COleDateTimeSpan(0, 0, nMinutes, 0); }

COleDateTime Days(const COleDateTime& date, int nDays) { return date + COleDateTimeSpan(nDays, 0, 0, 0); }

std::string ShowTime(const TimerInfo& info)
{
    COleDateTime date;
    date.m_dt = info.dtTime;
    date.m_status = (COleDateTime::DateTimeStatus)info.lStatus;
    return Show(date);
}

std::vector<RecordedSignal> OfType(const std::vector<RecordedSignal>& signals, int nType)
{
    std::vector<RecordedSignal> result;
    for (const RecordedSignal& s : signals) {
        if (s.nType == nType)
            result.push_back(s);
    }
    return result;
}

// A job polling every second that reports to the recorder (unless told otherwise).
class SignalTest : public testing::Test {
protected:
    void SetUp() override
    {
        CSignalRecorder::Instance().Clear();
        m_lJob = TimerJobOpen();
        ASSERT_GT(m_lJob, 0);
        ASSERT_EQ(0, TimerSetPollTime(m_lJob, 1));
    }
    void TearDown() override { TimerJobClose(m_lJob); }

    void UseRecorder() { ASSERT_EQ(0, TimerSetMessageCallback(m_lJob, &CSignalRecorder::Callback)); }

    std::string Dump()
    {
        char buffer[4096];
        EXPECT_EQ(0, TimerDump(m_lJob, buffer, sizeof buffer));
        return buffer;
    }

    static std::string DumpLine(long lId, const COleDateTime& due)
    {
        return std::to_string(lId) + ";" + (LPCTSTR)due.Format("%d.%m.%Y;%H:%M") + "\n";
    }

    long m_lJob = -1;
};

} // namespace

TEST_F(SignalTest, OneShotTimerGivesDueThenFinished)
{
    UseRecorder();
    ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(Minutes(Now(), -1)), 101, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    CSignalRecorder& recorder = CSignalRecorder::Instance();
    ASSERT_TRUE(recorder.WaitForCount(2, kPatience)) << CSignalRecorder::Describe(recorder.Signals());

    const std::vector<RecordedSignal> signals = recorder.Signals();
    ASSERT_EQ(2u, signals.size()) << CSignalRecorder::Describe(signals);
    EXPECT_EQ(TIMER_SIGNAL_DUE, signals[0].nType);
    EXPECT_EQ(TIMER_SIGNAL_FINISHED, signals[1].nType);
    for (const RecordedSignal& s : signals) {
        EXPECT_EQ(20, s.info.nSize);
        EXPECT_EQ(101, s.info.lTimerId);
        EXPECT_EQ(TIMER_STATUS_NULL, s.info.lStatus) << "due and finished carry the current time, status null";
    }
    EXPECT_GE(signals[1].nTick - signals[0].nTick, 300u) << "finished follows after the notification delay";
    EXPECT_NE(signals[0].nThreadId, signals[1].nThreadId) << "due from the polling thread, finished from the "
                                                             "notification thread";
    EXPECT_EQ(-3, TimerDelete(m_lJob, 101)) << "a signalled one-shot timer is gone";
    EXPECT_EQ("", Dump());
}

TEST_F(SignalTest, SeriesGivesDueThenNextScheduledWithTheOccurrence)
{
    UseRecorder();
    const COleDateTime start = Minutes(Now(), -1);
    ASSERT_EQ(0, TimerAddCyclicDay(m_lJob, 102, Arg(start), Arg(NullDate()), 0, 1, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    CSignalRecorder& recorder = CSignalRecorder::Instance();
    ASSERT_TRUE(recorder.WaitForCount(2, kPatience)) << CSignalRecorder::Describe(recorder.Signals());

    const std::vector<RecordedSignal> signals = recorder.Signals();
    ASSERT_EQ(2u, signals.size()) << CSignalRecorder::Describe(signals);
    EXPECT_EQ(TIMER_SIGNAL_DUE, signals[0].nType);
    EXPECT_EQ(TIMER_SIGNAL_NEXT, signals[1].nType);
    EXPECT_EQ(102, signals[1].info.lTimerId);
    EXPECT_EQ(TIMER_STATUS_VALID, signals[1].info.lStatus);
    EXPECT_EQ(Show(Days(start, 1)), ShowTime(signals[1].info)) << "the next occurrence";
    EXPECT_EQ(DumpLine(102, Days(start, 1)), Dump());
}

TEST_F(SignalTest, SeriesStartedInThePastCatchesUpOneOccurrencePerSignal)
{
    UseRecorder();
    // Five days back, an hour before now: five past occurrences and today's are due.
    const COleDateTime start = Days(Minutes(Now(), -60), -5);
    ASSERT_EQ(0, TimerAddCyclicDay(m_lJob, 103, Arg(start), Arg(NullDate()), 0, 1, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    CSignalRecorder& recorder = CSignalRecorder::Instance();
    ASSERT_TRUE(recorder.WaitForCount(12, kPatience)) << CSignalRecorder::Describe(recorder.Signals());

    const std::vector<RecordedSignal> signals = recorder.Signals();
    const std::vector<RecordedSignal> dues = OfType(signals, TIMER_SIGNAL_DUE);
    const std::vector<RecordedSignal> nexts = OfType(signals, TIMER_SIGNAL_NEXT);
    EXPECT_EQ(6u, dues.size()) << CSignalRecorder::Describe(signals);
    ASSERT_EQ(6u, nexts.size()) << CSignalRecorder::Describe(signals);
    int nDuesSoFar = 0, nNextsSoFar = 0;
    for (const RecordedSignal& s : signals) {
        nDuesSoFar += s.nType == TIMER_SIGNAL_DUE;
        nNextsSoFar += s.nType == TIMER_SIGNAL_NEXT;
        EXPECT_LE(nNextsSoFar, nDuesSoFar)
            << "each next-scheduled follows its due: " << CSignalRecorder::Describe(signals);
    }
    for (int k = 0; k < 6; k++)
        EXPECT_EQ(Show(Days(start, k + 1)), ShowTime(nexts[k].info)) << "next-scheduled " << k;
    EXPECT_EQ(DumpLine(103, Days(start, 6)), Dump()) << "tomorrow's occurrence is pending";
}

TEST_F(SignalTest, WeekdayTimersOfOneIdFinishOnceWhenTheLastOfThemEnds)
{
    UseRecorder();
    // Both weekday timers have their first occurrence in the past week and an end a minute ago.
    const int mondayThursday[8] = {0, 0, 1, 0, 0, 1, 0, 0};
    ASSERT_EQ(0, TimerAddCyclicWeekByDay(m_lJob, 104, Arg(Days(Now(), -8)), Arg(Minutes(Now(), -1)), 1,
                                         mondayThursday, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    CSignalRecorder& recorder = CSignalRecorder::Instance();
    ASSERT_TRUE(recorder.WaitForCount(3, kPatience)) << CSignalRecorder::Describe(recorder.Signals());
    recorder.WaitFor([](const std::vector<RecordedSignal>&) { return false; }, 1000); // nothing more may come

    const std::vector<RecordedSignal> signals = recorder.Signals();
    EXPECT_EQ("[1:104 1:104 0:104]", CSignalRecorder::Describe(signals));
    EXPECT_EQ(-3, TimerDelete(m_lJob, 104));
}

TEST_F(SignalTest, TenDueSignalsThenAPauseThenTheRest)
{
    UseRecorder();
    const COleDateTime past = Minutes(Now(), -1);
    for (long lId = 201; lId <= 212; lId++)
        ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(past), lId, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    CSignalRecorder& recorder = CSignalRecorder::Instance();
    ASSERT_TRUE(recorder.WaitForCount(24, kPatience)) << CSignalRecorder::Describe(recorder.Signals());

    const std::vector<RecordedSignal> dues = OfType(recorder.Signals(), TIMER_SIGNAL_DUE);
    ASSERT_EQ(12u, dues.size());
    for (int i = 0; i < 12; i++)
        EXPECT_EQ(201 + i, dues[i].info.lTimerId) << "due-list order";
    EXPECT_GE(dues[10].nTick - dues[9].nTick, 1500u) << "the sweep pauses after ten due signals";
    EXPECT_EQ(12u, OfType(recorder.Signals(), TIMER_SIGNAL_FINISHED).size());
}

TEST_F(SignalTest, WithoutCallbackOrWindowSignalsAreDroppedAndSeriesStillAdvance)
{
    const COleDateTime start = Minutes(Now(), -1);
    ASSERT_EQ(0, TimerAddCyclicDay(m_lJob, 301, Arg(start), Arg(NullDate()), 0, 1, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    const std::string advanced = DumpLine(301, Days(start, 1));
    std::string dump;
    const ULONGLONG nEnd = GetTickCount64() + kPatience;
    while ((dump = Dump()) != advanced && GetTickCount64() < nEnd)
        WaitForSingleObject(GetCurrentProcess(), 200);
    EXPECT_EQ(advanced, dump);
    EXPECT_TRUE(CSignalRecorder::Instance().Signals().empty());
}

TEST_F(SignalTest, DeletingAnUnknownIdLeavesPollingRunning)
{
    UseRecorder();
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    EXPECT_EQ(-3, TimerDelete(m_lJob, 999));
    ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(Minutes(Now(), -1)), 302, 0));
    EXPECT_TRUE(CSignalRecorder::Instance().WaitForCount(1, kPatience)) << "the job still polls";
}

// ---- the message channel -------------------------------------------------------------------

namespace {

const UINT kTimerMessage = WM_APP + 7;

struct PostedSignal {
    WPARAM wParam;
    const TimerInfo* pRecord;
    TimerInfo atArrival;
};
std::vector<PostedSignal> g_posted;

LRESULT CALLBACK ChannelWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kTimerMessage) {
        const TimerInfo* pRecord = (const TimerInfo*)lParam;
        g_posted.push_back({wParam, pRecord, *pRecord});
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

TEST_F(SignalTest, MessageChannelPostsTheTypeAndATwentyByteRecord)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &ChannelWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "OxTimerChannelProbe";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    ASSERT_NE(nullptr, hwnd);
    g_posted.clear();

    ASSERT_EQ(0, TimerSetMessageChannel(m_lJob, kTimerMessage, hwnd));
    ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(Minutes(Now(), -1)), 401, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    const ULONGLONG nEnd = GetTickCount64() + kPatience;
    while (g_posted.size() < 2 && GetTickCount64() < nEnd) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 200, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    ASSERT_EQ(2u, g_posted.size());
    EXPECT_EQ((WPARAM)TIMER_SIGNAL_DUE, g_posted[0].wParam);
    EXPECT_EQ((WPARAM)TIMER_SIGNAL_FINISHED, g_posted[1].wParam);
    for (const PostedSignal& p : g_posted) {
        EXPECT_EQ(20, p.atArrival.nSize);
        EXPECT_EQ(401, p.atArrival.lTimerId);
        EXPECT_EQ(TIMER_STATUS_NULL, p.atArrival.lStatus);
    }
    EXPECT_NE(g_posted[0].pRecord, g_posted[1].pRecord) << "each signal has a record of its own";
    EXPECT_EQ(0, memcmp(&g_posted[0].atArrival, g_posted[0].pRecord, sizeof(TimerInfo)))
        << "a later signal does not overwrite the record of an earlier message";
    EXPECT_TRUE(CSignalRecorder::Instance().Signals().empty()) << "no callback is set";
    DestroyWindow(hwnd);
}

// ---- every add export hands its arguments to its rule ----------------------------------------

TEST_F(SignalTest, EveryAddExportHandsItsArgumentsToItsRule)
{
    UseRecorder();
    // Each series starts two seconds ago (a start counts as an occurrence whatever its day): the
    // first sweep signals it and schedules the next occurrence, which must be the one the rule
    // made from the same arguments computes.
    const COleDateTime start = Now() - COleDateTimeSpan(0, 0, 0, 2);
    const COleDateTime open = NullDate();
    const int nWeekday = start.GetDayOfWeek();
    int weekdays[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    weekdays[nWeekday] = 1;
    const long h = m_lJob;
    const struct {
        long lId;
        std::function<int()> add;
        std::function<CTimerRule*()> rule;
    } cases[] = {
        {501, [&] { return TimerAddCyclicDay(h, 501, Arg(start), Arg(open), 0, 3, 7); },
         [&] { return new CTimerRuleDaily(501, start, open, FALSE, 3, 7); }},
        {502, [&] { return TimerAddCyclicDay(h, 502, Arg(start), Arg(open), 1, 3, 0); },
         [&] { return new CTimerRuleDaily(502, start, open, TRUE, 3, 0); }},
        {503, [&] { return TimerAddCyclicWeek(h, 503, Arg(start), Arg(open), 2, nWeekday); },
         [&] { return new CTimerRuleWeekly(503, 0, start, open, 2, nWeekday, 0); }},
        {504, [&] { return TimerAddCyclicWeekByDay(h, 504, Arg(start), Arg(open), 3, weekdays, 11); },
         [&] { return new CTimerRuleWeekly(504, 0, start, open, 3, nWeekday, 11); }},
        {505, [&] { return TimerAddCyclicMonth(h, 505, Arg(start), Arg(open), 2, 31, 13); },
         [&] { return new CTimerRuleMonthly(505, start, open, 2, 31, 13); }},
        {506, [&] { return TimerAddCyclicMonthExt(h, 506, Arg(start), Arg(open), 4, 3, 5, 17); },
         [&] { return new CTimerRuleMonthly(506, start, open, 5, CTimerRule::MakeWeekdayCode(4, 3), 17); }},
        {507, [&] { return TimerAddCyclicYear(h, 507, Arg(start), Arg(open), 200, 19); },
         [&] { return new CTimerRuleYearly(507, start, open, 200, 19); }},
        {508, [&] { return TimerAddCyclicYearDayInMonth(h, 508, Arg(start), Arg(open), 2, 29, 23); },
         [&] { return new CTimerRuleYearly(508, start, open, 2, 29, 23); }},
        {509, [&] { return TimerAddCyclicYearExt(h, 509, Arg(start), Arg(open), 11, 1, 5, 29); },
         [&] { return new CTimerRuleYearlyWeekday(509, start, open, CTimerRule::MakeWeekdayCode(1, 5), 11, 29); }},
    };
    for (const auto& c : cases)
        ASSERT_EQ(0, c.add()) << c.lId;
    // The interval timers count from the time of the check: 2 hours and 3 hours from about now.
    ASSERT_EQ(0, TimerAddCyclicSec(h, 510, Arg(start), Arg(open), 7200));
    ASSERT_EQ(0, TimerAddCyclicMinutes(h, 511, Arg(start), Arg(open), 180));
    const COleDateTime before = Now();
    ASSERT_EQ(0, TimerStartPolling(h));

    CSignalRecorder& recorder = CSignalRecorder::Instance();
    ASSERT_TRUE(recorder.WaitFor(
        [](const std::vector<RecordedSignal>& s) { return OfType(s, TIMER_SIGNAL_NEXT).size() >= 11; }, kPatience))
        << CSignalRecorder::Describe(recorder.Signals());
    const COleDateTime after = Now();
    const std::vector<RecordedSignal> nexts = OfType(recorder.Signals(), TIMER_SIGNAL_NEXT);
    auto nextOf = [&](long lId) -> const TimerInfo* {
        for (const RecordedSignal& s : nexts) {
            if (s.info.lTimerId == lId)
                return &s.info;
        }
        return nullptr;
    };
    for (const auto& c : cases) {
        std::unique_ptr<CTimerRule> rule(c.rule());
        COleDateTime due, occurrence;
        ASSERT_TRUE(rule->NextOccurrence(after, due, occurrence)) << c.lId;
        const TimerInfo* pNext = nextOf(c.lId);
        ASSERT_NE(nullptr, pNext) << c.lId;
        EXPECT_EQ(Show(occurrence), ShowTime(*pNext)) << "timer " << c.lId;
    }
    for (const auto& interval : {std::make_pair(510L, 7200), std::make_pair(511L, 180 * 60)}) {
        const TimerInfo* pNext = nextOf(interval.first);
        ASSERT_NE(nullptr, pNext) << interval.first;
        const COleDateTimeSpan span(0, 0, 0, interval.second);
        EXPECT_GE(pNext->dtTime, (before + span).m_dt - 1.0 / 86400) << "timer " << interval.first;
        EXPECT_LE(pNext->dtTime, (after + span).m_dt + 1.0 / 86400) << "timer " << interval.first;
    }
}
