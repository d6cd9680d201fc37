// Figures of the timer library: adding 100,000 timers, the CPU time of one sweep over 100,000
// pending dues, the time to stop a polling thread, and signal latency against the poll time.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "CTimerJob.h"
#include "CTimerRuleFixed.h"
#include "VL32T1.h"
#include "BenchClock.h"

namespace {

const int kTimers = 100000;

double WorkingSetMB()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return double(pmc.WorkingSetSize) / (1024.0 * 1024.0);
}

double ThreadCpuSeconds(HANDLE hThread)
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(hThread, &created, &exited, &kernel, &user))
        return -1;
    auto value = [](const FILETIME& t) { return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime); };
    return (value(kernel) + value(user)) / 1e7;
}

TimerDateTime FarFuture(int i)
{
    return TimerDateTimeFrom(COleDateTime(2090, 1, 1, 0, 0, 0) + COleDateTimeSpan(i % 3650, 0, i % 1440, 0));
}

void AddTimers()
{
    for (int nPolling = 0; nPolling <= 1; nPolling++) {
        const int nCount = nPolling ? 10000 : kTimers;
        const long lJob = TimerJobOpen();
        TimerSetPollTime(lJob, 30);
        if (nPolling)
            TimerStartPolling(lJob);
        const double dMemory = WorkingSetMB();
        const double dStart = BenchNow();
        double dFirstTenth = 0;
        for (int i = 0; i < nCount; i++) {
            TimerAddFixed(lJob, FarFuture(i), i + 1, 0);
            if (i + 1 == nCount / 10)
                dFirstTenth = BenchNow() - dStart;
        }
        const double dSeconds = BenchNow() - dStart;
        std::printf("add %6d fixed timers through the exports (%s): %7.2f s, %8.1f us each (first tenth %.1f us "
                    "each), working set +%.1f MB\n",
                    nCount, nPolling ? "polling, each add restarts the thread" : "not polling", dSeconds,
                    dSeconds * 1e6 / nCount, dFirstTenth * 1e6 / (nCount / 10), WorkingSetMB() - dMemory);
        const double dClose = BenchNow();
        TimerJobClose(lJob);
        std::printf("close a job of %6d timers: %.3f s\n", nCount, BenchNow() - dClose);
    }
}

void SweepCpu()
{
    CTimerJob job;
    job.SetPollTime(3600);
    for (int i = 0; i < kTimers; i++) {
        CTimerRuleFixed* pRule = new CTimerRuleFixed(i + 1, COleDateTime(2090, 1, 1, 0, 0, 0), 0);
        job.AddTimer(pRule);
    }
    job.StartPolling();
    HANDLE hThread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, job.GetPollingThreadId());
    HANDLE hShared = OpenEventA(EVENT_MODIFY_STATE, FALSE, CTimerJob::kSharedEventName);
    if (hThread == NULL || hShared == NULL) {
        std::printf("sweep: cannot reach the polling thread\n");
        return;
    }
    Sleep(500);
    const int kSweeps = 10;
    const double dCpuStart = ThreadCpuSeconds(hThread);
    for (int i = 0; i < kSweeps; i++) {
        // Setting the shared event makes the thread sweep at once.
        SetEvent(hShared);
        Sleep(1000);
    }
    const double dCpu = ThreadCpuSeconds(hThread) - dCpuStart;
    std::printf("one sweep over %d pending dues (none due): %.1f ms CPU (mean of %d sweeps)\n", kTimers,
                dCpu * 1000 / kSweeps, kSweeps);
    job.StopPolling();
    CloseHandle(hShared);
    CloseHandle(hThread);
}

void StopLatency()
{
    const long lJob = TimerJobOpen();
    TimerSetPollTime(lJob, 30);
    std::vector<double> times;
    for (int i = 0; i < 10; i++) {
        TimerStartPolling(lJob);
        Sleep(200);
        const double dStart = BenchNow();
        TimerStopPolling(lJob);
        times.push_back((BenchNow() - dStart) * 1000);
    }
    TimerJobClose(lJob);
    std::sort(times.begin(), times.end());
    std::printf("stop polling during a 30-s wait: median %.2f ms, max %.2f ms\n", times[times.size() / 2],
                times.back());
}

// Latency of due signals: when each arrives against its due second.
struct Arrival {
    long lId;
    double dArrived; // OLE date of the arrival (local time, milliseconds)
};
CRITICAL_SECTION g_lock;
std::vector<Arrival> g_arrivals;

int CALLBACK RecordArrival(int nType, const TimerInfo* pInfo)
{
    if (nType != TIMER_SIGNAL_DUE)
        return 0;
    SYSTEMTIME st;
    GetLocalTime(&st);
    double dt = 0;
    SystemTimeToVariantTime(&st, &dt);
    dt += st.wMilliseconds / 86400000.0; // SystemTimeToVariantTime drops the milliseconds
    EnterCriticalSection(&g_lock);
    g_arrivals.push_back({pInfo->lTimerId, dt});
    LeaveCriticalSection(&g_lock);
    return 0;
}

void SignalLatency()
{
    InitializeCriticalSection(&g_lock);
    for (int nPoll : {1, 2, 5}) {
        const long lJob = TimerJobOpen();
        TimerSetPollTime(lJob, nPoll);
        TimerSetMessageCallback(lJob, &RecordArrival);
        g_arrivals.clear();
        const int kSamples = 12;
        std::vector<COleDateTime> dues;
        const COleDateTime base = COleDateTime::GetCurrentTime() + COleDateTimeSpan(0, 0, 0, 2);
        for (int i = 0; i < kSamples; i++) {
            dues.push_back(base + COleDateTimeSpan(0, 0, 0, i * (nPoll * 3 + 1) / 4));
            TimerAddFixed(lJob, TimerDateTimeFrom(dues.back()), i + 1, 0);
        }
        TimerStartPolling(lJob);
        const ULONGLONG nEnd = GetTickCount64() + (ULONGLONG)(kSamples * nPoll + 10) * 1000;
        for (;;) {
            EnterCriticalSection(&g_lock);
            const size_t n = g_arrivals.size();
            LeaveCriticalSection(&g_lock);
            if (n >= (size_t)kSamples || GetTickCount64() > nEnd)
                break;
            Sleep(100);
        }
        TimerJobClose(lJob);
        std::vector<double> latencies;
        for (const Arrival& a : g_arrivals)
            latencies.push_back((a.dArrived - dues[a.lId - 1].m_dt) * 86400.0);
        std::sort(latencies.begin(), latencies.end());
        double dSum = 0;
        for (double d : latencies)
            dSum += d;
        if (latencies.empty()) {
            std::printf("signal latency, poll %d s: no signal arrived\n", nPoll);
            continue;
        }
        std::printf("signal latency, poll %d s: %zu signals, min %.2f s, mean %.2f s, max %.2f s after the due "
                    "second\n",
                    nPoll, latencies.size(), latencies.front(), dSum / latencies.size(), latencies.back());
    }
}

} // namespace

int main()
{
    AddTimers();
    SweepCpu();
    StopLatency();
    SignalLatency();
    return 0;
}
