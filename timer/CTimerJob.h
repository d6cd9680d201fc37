// One job of the timer library: its timers, their pending dues, the way it signals, and its two
// threads.
//
// States of a job (the function behind each transition):
//   not polling --StartPolling--> polling --StopPolling--> not polling
//   any --Close--> closed (no thread, no signal afterwards; only the destructor follows)
// Every AddTimer, DeleteTimers and Dump passes through a stop and a new start when polling ran,
// so the registry (timer list, due list, key map) is only ever changed by one thread at a time:
// the polling thread while it runs, the caller's thread while it does not.
//
// Threads: the polling thread (32 KB stack commit, lowest priority) waits for the poll interval
// (at least one second), counted from its previous sweep so that a restart does not begin a new
// full wait, or until its own stop event or the shared named event "vl32t1EventSignal" is set;
// then it sweeps the due list. The notification thread (8 KB, lowest priority, started with the
// first polling and kept until Close) delivers the signals of types 2 and 0 350 ms after the
// sweep queued them. Close stops both threads before the job can be deleted, so no thread of the
// library ever holds a deleted job, and sets the closed flag under the signal lock, so no signal
// follows Close.
//
// Locks: the start/stop lock (StartPolling, StopPolling; taken after the library's API lock) and
// the signal lock (held during Signal, including the callback or the post, so the signals of one
// job never overlap); the collections take their own locks per operation.
#pragma once

#include <afxdisp.h>
#include <afxmt.h>

#include <atomic>

#include "CLockedList.h"
#include "CLockedMap.h"
#include "CTimerThread.h"
#include "VL32T1.h"

class CTimerRule;
class CTimerDue;
class CTimerNotification;

class CTimerJob {
public:
    CTimerJob();
    // Closes the job (when not closed yet), then deletes its rules, dues and pending notifications.
    ~CTimerJob();
    CTimerJob(const CTimerJob&) = delete;
    CTimerJob& operator=(const CTimerJob&) = delete;

    // Registers a filled rule, which the job owns from then on (also when the add fails): 0; -2
    // when its key is registered already; -1 when it has no first occurrence or memory ran out.
    int AddTimer(CTimerRule* pRule);
    // Removes the timers of the id (sub-indexes from 0 up to the first one missing) with their
    // pending dues: 0, or -3 when the id has no timer.
    int DeleteTimers(long lId);
    // Appends one line "id;dd.mm.yyyy;hh:mm" and a line feed per pending due, in due-list order.
    void Dump(CString& strText);

    // 0, or -1 when nMessage or hWnd is 0; stored in any case.
    int SetMessageChannel(UINT nMessage, HWND hWnd);
    // 0, or -1 for NULL; stored in any case (NULL switches back to the message channel).
    int SetCallback(TimerCallback pfnCallback);
    // 0, or -1 for 0; stored in any case. The polling thread waits at least one second.
    int SetPollTime(int nSeconds);

    // Starts the polling thread (and the notification thread) unless polling runs; FALSE when a
    // thread or the shared event cannot be created, or the job is closed.
    BOOL StartPolling();
    // Stops the polling thread and returns when it has ended (bUnloading: when it has left the
    // library's code, at most kUnloadTimeout ms).
    void StopPolling(BOOL bUnloading = FALSE);
    BOOL IsPolling() const { return m_bPolling; }

    // Stops both threads and drops pending notifications; no signal follows. bUnloading as for
    // StopPolling.
    void Close(BOOL bUnloading);

    // Delivers one signal on the calling thread: the next record of the library's ring of
    // TimerInfo records is written; the callback gets a copy on the stack, or the window gets the
    // job's message with the ring record's address. Dropped when neither is set or the job is closed.
    void Signal(int nType, long lId, const COleDateTime& time);

    // How many of the keys "<id>_0" to "<id>_29" the job holds.
    int CountTimersOfId(long lId) const;
    // The number of registered timers.
    int GetTimerCount() const { return m_timers.GetCount(); }

    // Thread ids (0 when the thread does not run), for diagnostics and tests.
    DWORD GetPollingThreadId() const { return m_poller.GetThreadId(); }
    DWORD GetNotificationThreadId() const { return m_notifier.GetThreadId(); }

    static const char kSharedEventName[];
    static const DWORD kUnloadTimeout = 10000;
    static const DWORD kNotificationDelay = 350;
    static const int kSignalsBeforePause = 10;
    static const DWORD kPauseAfterSignals = 2000;
    static const int kRingRecords = 1024;

    // The library's ring of message-channel records, oldest overwritten first.
    static TimerInfo* NextSharedRecord();

private:
    static void PollBody(void* pParam);
    static void NotifyBody(void* pParam);
    void Poll();
    void Sweep();
    void Notify();
    void QueueNotification(int nType, long lId, const COleDateTime& time);
    // Removes the timer at posTimer: its dues, its key and the rule itself.
    void RemoveTimer(POSITION posTimer);
    // Waits for the stop event or the shared event, at most dwMilliseconds.
    void WaitForWakeUp(DWORD dwMilliseconds);
    static COleDateTime NowWithNullStatus();

    CLockedList<CTimerRule*, CTimerRule*> m_timers;
    CLockedList<CTimerDue*, CTimerDue*> m_dues;
    CLockedMap<CString, LPCTSTR, POSITION, POSITION> m_keys;

    UINT m_nMessage;
    HWND m_hWnd;
    std::atomic<int> m_nPollSeconds;
    TimerCallback m_pfnCallback;

    std::atomic<bool> m_bPolling;
    HANDLE m_hSharedEvent;
    HANDLE m_hStopEvent;
    CTimerThread m_poller;
    // GetTickCount64 of the last sweep's start (of the first start before any sweep).
    std::atomic<ULONGLONG> m_nLastSweep;

    CLockedList<CTimerNotification*, CTimerNotification*> m_notifications;
    HANDLE m_hQueuedEvent;
    HANDLE m_hClosedEvent;
    CTimerThread m_notifier;
    BOOL m_bClosed;

    CCriticalSection m_csStartStop;
    CCriticalSection m_csSignal;
};
