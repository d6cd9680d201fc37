// Lifetime of jobs and their threads: stopping during a long wait, closing while a notification
// is pending, adds and deletes that keep restarting the polling thread, two processes on the
// shared named event, and a process that unloads the library or ends with a polling job open.
// The other process is timer_peer.exe; limits are generous and only bound waits for what must come.
#include <gtest/gtest.h>

#include <string>

#include "CSignalRecorder.h"
#include "TestKit.h"
#include "TimerTestDates.h"
#include "VL32T1.h"

using timertest::NullDate;

namespace {

const DWORD kPatience = 30000;

TimerDateTime Arg(const COleDateTime& date) { return TimerDateTimeFrom(date); }

COleDateTime InSeconds(int nSeconds) { return COleDateTime::GetCurrentTime() + COleDateTimeSpan(0, 0, 0, nSeconds); }

int RunPeer(const std::string& arguments)
{
    return oxtest::RunProcess("\"" + oxtest::ProgramDir() + "\\timer_peer.exe\" " + arguments, 120000);
}

class LifetimeTest : public testing::Test {
protected:
    void SetUp() override
    {
        CSignalRecorder::Instance().Clear();
        m_lJob = TimerJobOpen();
        ASSERT_GT(m_lJob, 0);
        ASSERT_EQ(0, TimerSetMessageCallback(m_lJob, &CSignalRecorder::Callback));
    }
    void TearDown() override
    {
        if (m_lJob > 0)
            TimerJobClose(m_lJob);
    }

    long m_lJob = -1;
};

bool HasDueOf(const std::vector<RecordedSignal>& signals, long lId)
{
    for (const RecordedSignal& s : signals) {
        if (s.nType == TIMER_SIGNAL_DUE && s.info.lTimerId == lId)
            return true;
    }
    return false;
}

} // namespace

TEST_F(LifetimeTest, StopPollingReturnsPromptlyDuringALongWait)
{
    ASSERT_EQ(0, TimerSetPollTime(m_lJob, 120));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    WaitForSingleObject(GetCurrentProcess(), 300); // let the thread settle into its wait
    const ULONGLONG nStart = GetTickCount64();
    EXPECT_EQ(0, TimerStopPolling(m_lJob));
    EXPECT_LT(GetTickCount64() - nStart, 20000u) << "the stop must not wait out the 120-second poll";
}

TEST_F(LifetimeTest, CloseWhileANotificationIsPendingSendsNothingAfterwards)
{
    ASSERT_EQ(0, TimerSetPollTime(m_lJob, 1));
    ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(InSeconds(-60)), 601, 0));
    ASSERT_EQ(0, TimerAddCyclicDay(m_lJob, 602, Arg(InSeconds(-60)), Arg(NullDate()), 0, 1, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    CSignalRecorder& recorder = CSignalRecorder::Instance();
    // Close as soon as the first due signal is there, while its notification waits.
    ASSERT_TRUE(recorder.WaitForCount(1, kPatience));
    EXPECT_EQ(0, TimerJobClose(m_lJob));
    recorder.MarkClosed();
    m_lJob = -1;
    recorder.WaitFor([](const std::vector<RecordedSignal>&) { return false; }, 1500);
    for (const RecordedSignal& s : recorder.Signals())
        EXPECT_FALSE(s.bAfterClose) << "signal " << s.nType << " for " << s.info.lTimerId << " after the close";
}

TEST_F(LifetimeTest, AddsAndDeletesEveryHalfSecondDoNotHoldBackADueTimer)
{
    // Every add and delete restarts the polling thread; the restarted thread must not begin a
    // new full interval, or a poll time longer than the pace of the changes starves every due.
    ASSERT_EQ(0, TimerSetPollTime(m_lJob, 3));
    ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(InSeconds(1)), 701, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    CSignalRecorder& recorder = CSignalRecorder::Instance();
    const ULONGLONG nEnd = GetTickCount64() + kPatience;
    bool bDue = false;
    while (!bDue && GetTickCount64() < nEnd) {
        TimerDelete(m_lJob, 702);
        ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(InSeconds(3600)), 702, 0));
        bDue = recorder.WaitFor([](const std::vector<RecordedSignal>& s) { return HasDueOf(s, 701); }, 500);
    }
    EXPECT_TRUE(bDue) << "timer 701 was never signalled while timers were re-added every half second";
}

TEST_F(LifetimeTest, AnotherProcessSettingTheSharedEventWakesThePollingThread)
{
    ASSERT_EQ(0, TimerSetPollTime(m_lJob, 600));
    ASSERT_EQ(0, TimerAddFixed(m_lJob, Arg(InSeconds(-60)), 801, 0));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    EXPECT_EQ(0, RunPeer("set-event"));
    EXPECT_TRUE(CSignalRecorder::Instance().WaitForCount(1, kPatience)) << "no sweep before the 10-minute wait ended";
    EXPECT_EQ(0, TimerStopPolling(m_lJob));
}

TEST_F(LifetimeTest, TwoProcessesStartAndStopPollingWithoutHangingEachOther)
{
    ASSERT_EQ(0, TimerSetPollTime(m_lJob, 60));
    ASSERT_EQ(0, TimerStartPolling(m_lJob));
    EXPECT_EQ(0, RunPeer("cycle 25")) << "the other process's stops must not wait for this one";
    const ULONGLONG nStart = GetTickCount64();
    EXPECT_EQ(0, TimerStopPolling(m_lJob));
    EXPECT_LT(GetTickCount64() - nStart, 20000u);
}

TEST(LibraryLifetime, UnloadingWithAPollingJobEndsItsThreadsAndSignalsNothingAfterwards)
{
    EXPECT_EQ(0, RunPeer("unload"));
}

TEST(LibraryLifetime, ProcessEndsWithAPollingJobStillOpen)
{
    EXPECT_EQ(0, RunPeer("exit"));
}
