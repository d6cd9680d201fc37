// The data controller's construction, start and shut-down, its threads, the busy counter and the
// user and rights members. Registration and reading: CDataControllerItems.cpp; the reload passes:
// CDataControllerLoad.cpp; the reminder timers: CDataControllerTimers.cpp.
#include "CDataController.h"

#include "CAppSettings.h"
#include "CDataApplication.h"
#include "CDataMainFrame.h"
#include "CDataMultiReminderWindow.h"
#include "CDataReminderWindow.h"
#include "CDbSession.h"
#include "CMfxUiQueue.h"
#include "CTerminTable.h"
#include "CTimerLibrary.h"
#include "DbTableDef.h"

namespace {

// The timer job's poll interval, in seconds.
const int kTimerPollSeconds = 30;

// Tests shorten the timer job's poll (OX_TEST_TIMER_POLL, seconds).
int TimerPollSeconds()
{
    char szValue[16];
    if (::GetEnvironmentVariableA("OX_TEST_TIMER_POLL", szValue, sizeof(szValue)) != 0) {
        const int n = atoi(szValue);
        if (n > 0)
            return n;
    }
    return kTimerPollSeconds;
}
// The update event's name, with the id of the thread that makes it.
const char kUpdateEventFormat[] = "OXUpdateSignal1_%ld";

// The rights text's positions and the bits they set.
const struct {
    int nPosition;
    DWORD nBit;
} kRightPositions[] = {{4, CDataController::kRightDelegate},
                       {5, CDataController::kRightFilterOthers},
                       {6, CDataController::kRightReserved},
                       {7, CDataController::kRightManageOthers}};

COleDateTime NullDate()
{
    COleDateTime date;
    date.SetStatus(COleDateTime::null);
    return date;
}

} // namespace

CDataController::CDataController(LPCTSTR lpszDataPath, LPCTSTR lpszCurrentUser, CTimerLibrary* pTimers,
                                 const CControllerTimings* pTimings)
    : m_nAppointmentStampGeneration(0), m_nTodoStampGeneration(0), m_strDataPath(lpszDataPath), m_pSession(NULL),
      m_pAppointmentTable(NULL), m_pTodoTable(NULL), m_dayIndex(100000), m_appointmentMap(1000), m_todoMap(1000),
      m_appointmentList(1000), m_todoList(1000), m_strCurrentUser(lpszCurrentUser), m_nRights(0), m_nTimerJob(0),
      m_dueMap(10), m_bStop(FALSE), m_nBusy(0), m_nMovedAppointments(0), m_nMovedTodos(0), m_nAppointmentLinkRecord(0),
      m_nTodoLinkRecord(0), m_bNotStatus(FALSE), m_dtFirstFrom(NullDate()), m_dtFirstTo(NullDate()),
      m_bNotTodoState(FALSE), m_dtLastFrom(NullDate()), m_dtLastTo(NullDate()), m_bAppointmentTimersCleared(FALSE),
      m_bTodoTimersCleared(FALSE), m_reminderWindows(10), m_pCollectiveReminder(NULL), m_pUpdateThread(NULL),
      m_hUpdateEvent(NULL), m_hStopEvent(::CreateEventA(NULL, TRUE, FALSE, NULL)), m_nReloading(0), m_nUpdateCyclesStarted(0), m_nUpdateCyclesDone(0),
      m_timings(pTimings != NULL ? *pTimings : CControllerTimings()), m_pTimers(pTimers != NULL ? pTimers : CTimerLibrary::GetDefault()),
      m_nOccurrencesInHand(0), m_bOccurrenceThreadRuns(FALSE), m_pOccurrenceThread(NULL),
      m_hOccurrencesDone(::CreateEventA(NULL, TRUE, TRUE, NULL))
{
    if (!m_strDataPath.IsEmpty() && m_strDataPath.Right(1) != "\\" && m_strDataPath.Right(1) != "/")
        m_strDataPath += "\\";
    Initialize();
}

void CDataController::Initialize()
{
    // Reports of other threads reach this (the user-interface) thread through the queue's window.
    CMfxUiQueue::Attach();
    m_pSession = new CDbSession;
    m_pAppointmentTable = new CTerminTable(m_pSession, TRUE);
    m_pTodoTable = new CTerminTable(m_pSession, TRUE);
    if (!OpenTables(m_strDataPath)) {
        CDataApplication* pApp = CDataApplication::Get();
        CDataMainFrame* pFrame = pApp != NULL ? pApp->GetMainFrame() : NULL;
        HWND hMain = pFrame != NULL ? pFrame->GetFrameWindow() : NULL;
        if (hMain != NULL)
            ::PostMessageA(hMain, WM_CLOSE, 0, 0);
        return;
    }
    m_pAppointmentTable->SetUserName(m_strCurrentUser);
    m_pTodoTable->SetUserName(m_strCurrentUser);
    SetRights(GetSettingsRights());
    {
        CSingleLock lock(&m_filterUserLock, TRUE);
        m_strFilterUser = m_strCurrentUser;
    }

    m_nTimerJob = m_pTimers->JobOpen();
    m_pTimers->SetPollTime(m_nTimerJob, TimerPollSeconds());
    m_pTimers->SetMessageCallback(m_nTimerJob, TimerMessageCallback);
    RegisterTimerCallback(this);
    // The job is new: the first loads need not delete timers before they register them.
    m_bAppointmentTimersCleared = m_bTodoTimersCleared = TRUE;
    LoadResourceList(m_resources);
    LoadLinkedApplications();

    ReloadAppointments();
    ReloadTasks();
    m_pTimers->StartPolling(m_nTimerJob);
    m_nBusy = 0;

    CString strEvent;
    strEvent.Format(kUpdateEventFormat, (long)::GetCurrentThreadId());
    m_hUpdateEvent = ::CreateEventA(NULL, FALSE, FALSE, strEvent);
    StartUpdateThread();
}

CDataController::~CDataController()
{
    m_pTimers->StopPolling(m_nTimerJob);
    ::InterlockedExchange(&m_bStop, TRUE);
    EnterBusy();
    StopThreads();
    if (m_nTimerJob > 0) {
        m_pTimers->JobClose(m_nTimerJob);
        m_nTimerJob = 0;
    }
    // The job signals nothing from now on.
    RegisterTimerCallback(NULL, this);
    if (m_hUpdateEvent != NULL) {
        ::CloseHandle(m_hUpdateEvent);
        m_hUpdateEvent = NULL;
    }
    if (m_hStopEvent != NULL) {
        ::CloseHandle(m_hStopEvent);
        m_hStopEvent = NULL;
    }
    CDataApplication* pApp = CDataApplication::Get();
    if (CAppSettings* pSettings = pApp != NULL ? pApp->GetSettings() : NULL)
        pSettings->m_strFilterUser = GetFilterUser();
    // The collective reminder window and its window go.
    delete m_pCollectiveReminder;
    m_pCollectiveReminder = NULL;

    try {
        delete m_pTodoTable;
        m_pTodoTable = NULL;
        delete m_pAppointmentTable;
        m_pAppointmentTable = NULL;
        if (m_pSession != NULL)
            m_pSession->Close();
    } catch (CException* e) {
        e->Delete();
    }
    delete m_pSession;
    m_pSession = NULL;
    if (m_hOccurrencesDone != NULL)
        ::CloseHandle(m_hOccurrencesDone);
    m_reminderWindows.DeleteAllValues();
    // The walks, then the collections go with the members: the maps first, the day index (which
    // holds the last references of the keys) last.
}

BOOL CDataController::OpenTables(LPCTSTR lpszDataPath)
{
    if (m_pAppointmentTable == NULL || m_pTodoTable == NULL)
        return FALSE;
    if (m_pAppointmentTable->OpenMain(lpszDataPath, 0, 0, 1) == DB_OPEN_FAILED)
        return FALSE;
    return m_pTodoTable->OpenMain(lpszDataPath, 0, 0, 1) != DB_OPEN_FAILED;
}

BOOL CDataController::IsOpen() const
{
    return m_pSession != NULL && m_pAppointmentTable != NULL && m_pTodoTable != NULL && m_pAppointmentTable->IsOpen() &&
           m_pTodoTable->IsOpen();
}

// ---- user and rights -------------------------------------------------------------------------------

CString CDataController::GetSettingsRights() const
{
    CDataApplication* pApp = CDataApplication::Get();
    CAppSettings* pSettings = pApp != NULL ? pApp->GetSettings() : NULL;
    return pSettings != NULL ? pSettings->m_strCurrentRights : CString();
}

void CDataController::SetRights(LPCTSTR lpszRights)
{
    const CString strRights = lpszRights != NULL ? lpszRights : "";
    for (const auto& position : kRightPositions)
        if (position.nPosition < strRights.GetLength() && strRights[position.nPosition] == 'T')
            m_nRights |= position.nBit;
}

CString CDataController::GetCurrentUser() const
{
    CSingleLock lock(&m_currentUserLock, TRUE);
    return m_strCurrentUser;
}

void CDataController::SetCurrentUser(LPCTSTR lpszUser)
{
    const CString strUser = lpszUser != NULL ? lpszUser : "";
    {
        CSingleLock lock(&m_currentUserLock, TRUE);
        m_strCurrentUser = strUser;
    }
    if (m_pAppointmentTable != NULL)
        m_pAppointmentTable->SetUserName(strUser);
    if (m_pTodoTable != NULL)
        m_pTodoTable->SetUserName(strUser);
}

CString CDataController::GetFilterUser() const
{
    CSingleLock lock(&m_filterUserLock, TRUE);
    return m_strFilterUser;
}

void CDataController::GetResourceNames(CStringList& names) const
{
    names.RemoveAll();
    names.AddTail(const_cast<CStringList*>(&m_resources));
}

// ---- the busy counter ----------------------------------------------------------------------------

void CDataController::EnterBusy()
{
    ::InterlockedIncrement(&m_nBusy);
    for (int i = 0; i < m_timings.nBusyPolls && m_nReloading != 0; ++i)
        ::Sleep(m_timings.dwBusyPoll);
}

void CDataController::WaitIdleEnterBusy()
{
    for (int i = 0; i < m_timings.nBusyPolls && m_nReloading != 0; ++i)
        ::Sleep(m_timings.dwBusyPoll);
    ::InterlockedIncrement(&m_nBusy);
}

void CDataController::Pause(DWORD dwMilliseconds) const
{
    if (dwMilliseconds > 0)
        ::Sleep(dwMilliseconds);
}

// ---- the update thread ---------------------------------------------------------------------------

void CDataController::WakeUpdateThread()
{
    if (m_hUpdateEvent != NULL)
        ::SetEvent(m_hUpdateEvent);
}

void CDataController::StartUpdateThread()
{
    // The thread object stays until the destructor has waited for the thread.
    m_pUpdateThread = AfxBeginThread(ReloadWorker, this, THREAD_PRIORITY_LOWEST, 0, CREATE_SUSPENDED);
    if (m_pUpdateThread == NULL)
        return;
    m_pUpdateThread->m_bAutoDelete = FALSE;
    m_pUpdateThread->ResumeThread();
}

UINT CDataController::ReloadWorker(LPVOID pParam)
{
    CDataController* pThis = (CDataController*)pParam;
    for (;;) {
        const HANDLE events[2] = {pThis->m_hUpdateEvent, pThis->m_hStopEvent};
        ::WaitForMultipleObjects(pThis->m_hStopEvent != NULL ? 2 : 1, events, FALSE, pThis->m_timings.dwUpdateInterval);
        ::InterlockedIncrement(&pThis->m_nReloading);
        ::InterlockedIncrement(&pThis->m_nUpdateCyclesStarted);
        if (!pThis->m_bStop) {
            try {
                if (pThis->m_nBusy == 0) {
                    pThis->ReloadAppointments();
                    if (!pThis->m_bStop && pThis->m_nBusy == 0)
                        pThis->ReloadTasks();
                }
            } catch (CException* e) {
                // An engine failure ends this pass; its stamp stays, so the next wake-up tries
                // again.
                e->Delete();
            }
        }
        ::InterlockedDecrement(&pThis->m_nReloading);
        ::InterlockedIncrement(&pThis->m_nUpdateCyclesDone);
        if (pThis->m_bStop)
            return 0;
    }
}

void CDataController::StopThreads()
{
    // The stop flag is set: the update thread leaves its pass at the next row, or wakes now. (Its
    // stop event is the controller's own: the named update event is shared by every controller
    // that a thread makes, and setting it may wake another one's thread.)
    if (m_pUpdateThread != NULL) {
        ::SetEvent(m_hStopEvent);
        ::WaitForSingleObject(m_pUpdateThread->m_hThread, INFINITE);
        delete m_pUpdateThread;
        m_pUpdateThread = NULL;
    }
    // The occurrence thread stops after its current days and drops the series left.
    WaitForOccurrences(INFINITE);
    CSingleLock lock(&m_occurrenceLock, TRUE);
    if (m_pOccurrenceThread != NULL) {
        ::WaitForSingleObject(m_pOccurrenceThread->m_hThread, INFINITE);
        delete m_pOccurrenceThread;
        m_pOccurrenceThread = NULL;
    }
}

// ---- the occurrence thread -------------------------------------------------------------------------

int CDataController::GetPendingOccurrenceSeries()
{
    CSingleLock lock(&m_occurrenceLock, TRUE);
    return (int)m_occurrenceQueue.size() + m_nOccurrencesInHand;
}

BOOL CDataController::WaitForOccurrences(DWORD dwMilliseconds)
{
    return m_hOccurrencesDone == NULL || ::WaitForSingleObject(m_hOccurrencesDone, dwMilliseconds) == WAIT_OBJECT_0;
}
