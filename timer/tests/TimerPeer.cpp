// Another process of the timer library for the lifetime tests; exit code 0 when all went as it
// must, else 1 with the reason on standard error.
//   timer_peer set-event   sets the shared event "vl32t1EventSignal" once
//   timer_peer cycle N     a job polling every 30 s, started and stopped N times, then closed
//   timer_peer unload      loads the library, polls a job that signals, unloads the library as
//                          soon as the first due signal came (its notification still pending),
//                          and checks that the library is gone and nothing signals afterwards
//   timer_peer exit        ends the process while a job polls and signals
// The library is loaded at run time so that "unload" really unloads it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "VL32T1.h"

namespace {

struct TimerFunctions {
    decltype(&TimerJobOpen) JobOpen;
    decltype(&TimerJobClose) JobClose;
    decltype(&TimerSetPollTime) SetPollTime;
    decltype(&TimerSetMessageCallback) SetMessageCallback;
    decltype(&TimerStartPolling) StartPolling;
    decltype(&TimerStopPolling) StopPolling;
    decltype(&TimerAddFixed) AddFixed;
    decltype(&TimerAddCyclicSec) AddCyclicSec;
};

HMODULE g_hLibrary = NULL;
TimerFunctions g_timer;

volatile LONG g_nSignals = 0;
volatile LONG g_nSignalsAfterUnload = 0;
volatile LONG g_bUnloaded = 0;
HANDLE g_hFirstSignal = NULL;

int CALLBACK CountSignal(int, const TimerInfo*)
{
    InterlockedIncrement(&g_nSignals);
    if (g_bUnloaded)
        InterlockedIncrement(&g_nSignalsAfterUnload);
    SetEvent(g_hFirstSignal);
    return 0;
}

int Fail(const char* reason)
{
    std::fprintf(stderr, "timer_peer: %s\n", reason);
    return 1;
}

template <class F> bool Resolve(F& function, const char* name)
{
    function = (F)(void*)GetProcAddress(g_hLibrary, name);
    return function != NULL;
}

bool Load()
{
    g_hLibrary = LoadLibraryA("VL32T1.dll");
    return g_hLibrary != NULL && Resolve(g_timer.JobOpen, "TimerJobOpen") &&
           Resolve(g_timer.JobClose, "TimerJobClose") && Resolve(g_timer.SetPollTime, "TimerSetPollTime") &&
           Resolve(g_timer.SetMessageCallback, "TimerSetMessageCallback") &&
           Resolve(g_timer.StartPolling, "TimerStartPolling") && Resolve(g_timer.StopPolling, "TimerStopPolling") &&
           Resolve(g_timer.AddFixed, "TimerAddFixed") && Resolve(g_timer.AddCyclicSec, "TimerAddCyclicSec");
}

TimerDateTime Null()
{
    TimerDateTime date = {0, TIMER_STATUS_NULL};
    return date;
}

// A job polling every second with a one-shot timer due now and a series every second.
long OpenSignallingJob()
{
    const long lJob = g_timer.JobOpen();
    if (lJob <= 0)
        return -1;
    SYSTEMTIME st;
    GetLocalTime(&st);
    TimerDateTime now = {0, TIMER_STATUS_VALID};
    SystemTimeToVariantTime(&st, &now.dt);
    if (g_timer.SetPollTime(lJob, 1) != 0 || g_timer.SetMessageCallback(lJob, &CountSignal) != 0 ||
        g_timer.AddFixed(lJob, now, 1, 1) != 0 || g_timer.AddCyclicSec(lJob, 2, Null(), Null(), 1) != 0 ||
        g_timer.StartPolling(lJob) != 0)
        return -1;
    return lJob;
}

int SetEventOnce()
{
    HANDLE hEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, "vl32t1EventSignal");
    if (hEvent == NULL)
        return Fail("the shared event does not exist");
    SetEvent(hEvent);
    CloseHandle(hEvent);
    return 0;
}

int Cycle(int nTimes)
{
    if (!Load())
        return Fail("cannot load the library");
    const long lJob = g_timer.JobOpen();
    if (lJob <= 0 || g_timer.SetPollTime(lJob, 30) != 0)
        return Fail("cannot open a job");
    for (int i = 0; i < nTimes; i++) {
        if (g_timer.StartPolling(lJob) != 0 || g_timer.StopPolling(lJob) != 0)
            return Fail("start or stop failed");
    }
    return g_timer.JobClose(lJob) == 0 ? 0 : Fail("close failed");
}

int Unload()
{
    if (!Load())
        return Fail("cannot load the library");
    if (OpenSignallingJob() <= 0)
        return Fail("cannot set up a polling job");
    if (WaitForSingleObject(g_hFirstSignal, 30000) != WAIT_OBJECT_0)
        return Fail("no signal came");
    // Unloaded with its job open, polling, and the due signal's notification pending.
    if (!FreeLibrary(g_hLibrary))
        return Fail("FreeLibrary failed");
    InterlockedExchange(&g_bUnloaded, 1);
    if (GetModuleHandleA("VL32T1.dll") != NULL)
        return Fail("the library is still loaded");
    Sleep(2500);
    if (g_nSignalsAfterUnload != 0)
        return Fail("signals came after the unload");
    return 0;
}

int ExitWithJobOpen()
{
    if (!Load())
        return Fail("cannot load the library");
    if (OpenSignallingJob() <= 0)
        return Fail("cannot set up a polling job");
    if (WaitForSingleObject(g_hFirstSignal, 30000) != WAIT_OBJECT_0)
        return Fail("no signal came");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    g_hFirstSignal = CreateEventA(NULL, TRUE, FALSE, NULL);
    if (argc == 2 && std::strcmp(argv[1], "set-event") == 0)
        return SetEventOnce();
    if (argc == 3 && std::strcmp(argv[1], "cycle") == 0)
        return Cycle(std::atoi(argv[2]));
    if (argc == 2 && std::strcmp(argv[1], "unload") == 0)
        return Unload();
    if (argc == 2 && std::strcmp(argv[1], "exit") == 0)
        return ExitWithJobOpen();
    return Fail("usage: timer_peer set-event | cycle N | unload | exit");
}
