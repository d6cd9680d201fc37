#include "CTimerJob.h"

#include "CTimerDue.h"
#include "CTimerNotification.h"
#include "CTimerRule.h"

#include <time.h>

const char CTimerJob::kSharedEventName[] = "vl32t1EventSignal";

namespace {

// The message channel's records. Every signal of the process writes the next one, so the record a
// posted message points to stays unchanged until kRingRecords further signals; before any signal
// each holds time 0 with status valid.
struct SharedRecords {
    SharedRecords()
    {
        for (TimerInfo& info : records) {
            info.nSize = (uint16_t)sizeof(TimerInfo);
            info.nPadding = 0;
            info.lTimerId = 0;
            info.dtTime = 0;
            info.lStatus = TIMER_STATUS_VALID;
        }
    }
    TimerInfo records[CTimerJob::kRingRecords];
    volatile LONG nNext = -1;
};

SharedRecords g_shared;

} // namespace

TimerInfo* CTimerJob::NextSharedRecord()
{
    const ULONG nIndex = (ULONG)InterlockedIncrement(&g_shared.nNext) % (ULONG)kRingRecords;
    return &g_shared.records[nIndex];
}

CTimerJob::CTimerJob()
    : m_timers(10), m_dues(10), m_keys(10), m_nMessage(0), m_hWnd(NULL), m_nPollSeconds(1), m_pfnCallback(NULL),
      m_bPolling(false), m_hSharedEvent(NULL), m_hStopEvent(CreateEventA(NULL, TRUE, FALSE, NULL)),
      m_nLastSweep(0), m_notifications(10), m_hQueuedEvent(CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_hClosedEvent(CreateEventA(NULL, TRUE, FALSE, NULL)), m_bClosed(FALSE)
{
}

CTimerJob::~CTimerJob()
{
    if (!m_bClosed)
        Close(FALSE);
    for (POSITION pos = m_dues.GetHeadPosition(); pos != NULL;)
        delete m_dues.GetNext(pos);
    m_dues.RemoveAll();
    m_keys.RemoveAll();
    for (POSITION pos = m_timers.GetHeadPosition(); pos != NULL;)
        delete m_timers.GetNext(pos);
    m_timers.RemoveAll();
    for (POSITION pos = m_notifications.GetHeadPosition(); pos != NULL;)
        delete m_notifications.GetNext(pos);
    m_notifications.RemoveAll();
    for (HANDLE h : {m_hStopEvent, m_hQueuedEvent, m_hClosedEvent}) {
        if (h != NULL)
            CloseHandle(h);
    }
}

// ---- registry ------------------------------------------------------------------------------

int CTimerJob::AddTimer(CTimerRule* pRule)
{
    const BOOL bWasPolling = IsPolling();
    StopPolling();
    int nResult = TIMER_ERROR;
    POSITION posTimer = NULL;
    BOOL bKeyStored = FALSE;
    try {
        POSITION posExisting;
        COleDateTime due;
        if (!m_keys.IsEmpty() && m_keys.Lookup(pRule->m_strKey, posExisting)) {
            nResult = TIMER_DUPLICATE;
        } else if (pRule->FirstDue(COleDateTime::GetCurrentTime(), due)) {
            posTimer = m_timers.AddTail(pRule);
            m_keys.SetAt(pRule->m_strKey, posTimer);
            bKeyStored = TRUE;
            m_dues.AddTail(new CTimerDue(due, posTimer));
            nResult = TIMER_OK;
        }
    } catch (...) {
        // Memory ran out: nothing of the rule stays registered.
        if (bKeyStored)
            m_keys.RemoveKey(pRule->m_strKey);
        if (posTimer != NULL)
            m_timers.RemoveAt(posTimer);
        nResult = TIMER_ERROR;
    }
    if (nResult != TIMER_OK)
        delete pRule;
    if (bWasPolling)
        StartPolling();
    return nResult;
}

int CTimerJob::DeleteTimers(long lId)
{
    const BOOL bWasPolling = IsPolling();
    StopPolling();
    int nResult = TIMER_NO_TIMER;
    POSITION posTimer;
    for (int nSubIndex = 0; m_keys.Lookup(CTimerRule::MakeKey(lId, nSubIndex), posTimer); nSubIndex++) {
        RemoveTimer(posTimer);
        nResult = TIMER_OK;
    }
    if (bWasPolling)
        StartPolling();
    return nResult;
}

void CTimerJob::RemoveTimer(POSITION posTimer)
{
    for (POSITION pos = m_dues.GetHeadPosition(); pos != NULL;) {
        POSITION posDue = pos;
        CTimerDue* pDue = m_dues.GetNext(pos);
        if (pDue->m_posTimer == posTimer) {
            m_dues.RemoveAt(posDue);
            delete pDue;
        }
    }
    CTimerRule* pRule = m_timers.GetAt(posTimer);
    m_keys.RemoveKey(pRule->m_strKey);
    m_timers.RemoveAt(posTimer);
    delete pRule;
}

void CTimerJob::Dump(CString& strText)
{
    const BOOL bWasPolling = IsPolling();
    StopPolling();
    for (POSITION pos = m_dues.GetHeadPosition(); pos != NULL;) {
        const CTimerDue* pDue = m_dues.GetNext(pos);
        const CTimerRule* pRule = m_timers.GetAt(pDue->m_posTimer);
        CString strLine;
        strLine.Format("%ld;%s\n", pRule->m_lId, (LPCTSTR)pDue->m_due.Format("%d.%m.%Y;%H:%M"));
        strText += strLine;
    }
    if (bWasPolling)
        StartPolling();
}

int CTimerJob::CountTimersOfId(long lId) const
{
    int nCount = 0;
    POSITION posTimer;
    for (int nSubIndex = 0; nSubIndex < 30; nSubIndex++) {
        if (m_keys.Lookup(CTimerRule::MakeKey(lId, nSubIndex), posTimer))
            nCount++;
    }
    return nCount;
}

// ---- settings ------------------------------------------------------------------------------

int CTimerJob::SetMessageChannel(UINT nMessage, HWND hWnd)
{
    CSingleLock lock(&m_csSignal, TRUE);
    m_nMessage = nMessage;
    m_hWnd = hWnd;
    return (nMessage == 0 || hWnd == NULL) ? TIMER_ERROR : TIMER_OK;
}

int CTimerJob::SetCallback(TimerCallback pfnCallback)
{
    CSingleLock lock(&m_csSignal, TRUE);
    m_pfnCallback = pfnCallback;
    return pfnCallback == NULL ? TIMER_ERROR : TIMER_OK;
}

int CTimerJob::SetPollTime(int nSeconds)
{
    m_nPollSeconds = nSeconds;
    return nSeconds == 0 ? TIMER_ERROR : TIMER_OK;
}

// ---- polling -------------------------------------------------------------------------------

BOOL CTimerJob::StartPolling()
{
    CSingleLock lock(&m_csStartStop, TRUE);
    if (m_bPolling)
        return TRUE;
    if (m_bClosed || m_hStopEvent == NULL || m_hQueuedEvent == NULL || m_hClosedEvent == NULL)
        return FALSE;
    if (!m_notifier.IsRunning() && !m_notifier.Start(&NotifyBody, this, 8 * 1024, THREAD_PRIORITY_LOWEST))
        return FALSE;
    m_hSharedEvent = CreateEventA(NULL, FALSE, FALSE, kSharedEventName);
    if (m_hSharedEvent == NULL)
        return FALSE;
    ResetEvent(m_hStopEvent);
    if (m_nLastSweep == 0)
        m_nLastSweep = GetTickCount64();
    m_bPolling = true;
    if (!m_poller.Start(&PollBody, this, 32 * 1024, THREAD_PRIORITY_LOWEST)) {
        m_bPolling = false;
        CloseHandle(m_hSharedEvent);
        m_hSharedEvent = NULL;
        return FALSE;
    }
    return TRUE;
}

void CTimerJob::StopPolling(BOOL bUnloading)
{
    CSingleLock lock(&m_csStartStop, TRUE);
    if (!m_bPolling)
        return;
    m_bPolling = false;
    SetEvent(m_hStopEvent);
    m_poller.Wait(bUnloading, kUnloadTimeout);
    CloseHandle(m_hSharedEvent);
    m_hSharedEvent = NULL;
}

void CTimerJob::Close(BOOL bUnloading)
{
    StopPolling(bUnloading);
    {
        CSingleLock lock(&m_csSignal, TRUE);
        m_bClosed = TRUE;
        m_pfnCallback = NULL;
    }
    SetEvent(m_hClosedEvent);
    CSingleLock lock(&m_csStartStop, TRUE);
    m_notifier.Wait(bUnloading, kUnloadTimeout);
}

void CTimerJob::PollBody(void* pParam) { ((CTimerJob*)pParam)->Poll(); }

void CTimerJob::Poll()
{
    while (m_bPolling) {
        // The wait runs from the previous sweep, so a thread restarted by an add or a delete
        // does not put the next sweep off by a whole interval again.
        const int nSeconds = m_nPollSeconds;
        const ULONGLONG nInterval = (ULONGLONG)(nSeconds < 1 ? 1 : nSeconds) * 1000;
        const ULONGLONG nElapsed = GetTickCount64() - m_nLastSweep;
        const ULONGLONG nWait = nElapsed >= nInterval ? 0 : nInterval - nElapsed;
        WaitForWakeUp(nWait > 0xFFFFFFF0ULL ? 0xFFFFFFF0UL : (DWORD)nWait);
        if (!m_bPolling)
            break;
        m_nLastSweep = GetTickCount64();
        Sweep();
    }
}

void CTimerJob::WaitForWakeUp(DWORD dwMilliseconds)
{
    const HANDLE handles[2] = {m_hStopEvent, m_hSharedEvent};
    WaitForMultipleObjects(2, handles, FALSE, dwMilliseconds);
}

void CTimerJob::Sweep()
{
    const COleDateTime now = COleDateTime::GetCurrentTime();
    int nCount = 0;
    POSITION pos = m_dues.GetHeadPosition();
    while (pos != NULL) {
        if (!m_bPolling)
            return;
        const POSITION posDue = pos;
        CTimerDue* pDue = m_dues.GetAt(posDue);
        BOOL bRemove = FALSE;
        if (pDue->m_due <= now) {
            bRemove = TRUE;
            const POSITION posTimer = pDue->m_posTimer;
            CTimerRule* pRule = m_timers.GetAt(posTimer);
            POSITION posKey;
            if (m_keys.Lookup(pRule->m_strKey, posKey) && posKey == posTimer) {
                const long lId = pRule->m_lId;
                Signal(TIMER_SIGNAL_DUE, lId, NowWithNullStatus());
                nCount++;
                COleDateTime due, occurrence;
                if (pRule->m_bRecurring && pRule->NextOccurrence(COleDateTime::GetCurrentTime(), due, occurrence)) {
                    // Appended before the walk moves on, so this sweep reaches it too.
                    m_dues.AddTail(new CTimerDue(due, posTimer));
                    QueueNotification(TIMER_SIGNAL_NEXT, lId, occurrence);
                } else {
                    if (CountTimersOfId(lId) == 1)
                        QueueNotification(TIMER_SIGNAL_FINISHED, lId, NowWithNullStatus());
                    m_keys.RemoveKey(pRule->m_strKey);
                    m_timers.RemoveAt(posTimer);
                    delete pRule;
                }
            }
        }
        m_dues.GetNext(pos);
        if (bRemove) {
            m_dues.RemoveAt(posDue);
            delete pDue;
        }
        if (nCount >= kSignalsBeforePause) {
            // A series far in the past catches up one occurrence per signal: let the receiver
            // breathe after every ten.
            nCount = 0;
            WaitForWakeUp(kPauseAfterSignals);
        }
    }
}

// ---- signalling ----------------------------------------------------------------------------

COleDateTime CTimerJob::NowWithNullStatus()
{
    COleDateTime now(time(NULL));
    now.SetStatus(COleDateTime::null);
    return now;
}

void CTimerJob::QueueNotification(int nType, long lId, const COleDateTime& time)
{
    try {
        m_notifications.AddTail(new CTimerNotification(nType, lId, time, GetTickCount64() + kNotificationDelay));
        SetEvent(m_hQueuedEvent);
    } catch (...) {
        // Without memory the notification is lost; the timer itself goes on.
    }
}

void CTimerJob::NotifyBody(void* pParam) { ((CTimerJob*)pParam)->Notify(); }

void CTimerJob::Notify()
{
    const HANDLE handles[2] = {m_hClosedEvent, m_hQueuedEvent};
    for (;;) {
        DWORD dwWait = INFINITE;
        CTimerNotification* pNext = NULL;
        {
            CSingleLock lock(m_notifications.GetLock(), TRUE);
            if (!m_notifications.IsEmpty()) {
                pNext = m_notifications.GetHead();
                const ULONGLONG nNow = GetTickCount64();
                dwWait = pNext->m_nDueTick > nNow ? (DWORD)(pNext->m_nDueTick - nNow) : 0;
            }
        }
        if (WaitForMultipleObjects(2, handles, FALSE, dwWait) == WAIT_OBJECT_0)
            return;
        if (pNext == NULL || dwWait > 0)
            continue;
        // Only this thread removes notifications: the head is still pNext.
        m_notifications.RemoveHead();
        Signal(pNext->m_nType, pNext->m_lId, pNext->m_time);
        delete pNext;
    }
}

void CTimerJob::Signal(int nType, long lId, const COleDateTime& time)
{
    CSingleLock lock(&m_csSignal, TRUE);
    if (m_bClosed)
        return;
    TimerInfo info;
    info.nSize = (uint16_t)sizeof(TimerInfo);
    info.nPadding = 0;
    info.lTimerId = (int32_t)lId;
    info.dtTime = time.m_dt;
    info.lStatus = (int32_t)time.GetStatus();
    TimerInfo* pShared = NextSharedRecord();
    *pShared = info;
    if (m_pfnCallback != NULL)
        m_pfnCallback(nType, &info);
    else if (m_hWnd != NULL)
        PostMessageA(m_hWnd, m_nMessage, (WPARAM)nType, (LPARAM)pShared);
}
