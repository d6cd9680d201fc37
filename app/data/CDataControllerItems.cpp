// The data controller's item maps and day index: registering entries, spreading series over the
// day index, and the reading walks of the user-interface thread.
#include "CDataController.h"

#include "CControllerBusyGuard.h"
#include "DbTableDef.h"

#include "CDataAppointment.h"
#include "CDateValue.h"
#include "CMfxString.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"
#include "Recurrence.h"

namespace {

// The to-do state of finished to-dos, which get no timer.
const char kTodoStateDone[] = "E";

} // namespace

struct CDataController::OccurrenceHolder {
    CItemVersionRef key;
    CList<DWORD, DWORD> days{100};
};

// ---- registration ----------------------------------------------------------------------------------

int CDataController::AddAppointmentItem(CDataAppointment& record, LPCTSTR lpszRecordId, LPCTSTR lpszFootprint,
                                       CDayEntries* pDays)
{
    // This call keeps a reference of its own: another thread may remove the key from the map at
    // once.
    if (!record.m_bSeries) {
        CItemVersionRef key(new CItemVersion(lpszRecordId, lpszFootprint), FALSE);
        key->AddRef();
        m_appointmentMap.Add(key.Get());
        if (record.m_strMovedRecordId.IsEmpty()) {
            if (pDays != NULL)
                pDays->emplace_back(record.m_pattern.m_nPatternStart, key);
            else
                m_dayIndex.Add(record.m_pattern.m_nPatternStart, key.Get());
        }
        if (record.HasActiveReminder())
            ScheduleReminderTimer(key.Get(), record, COleDateTime::GetCurrentTime());
        return 1;
    }

    OccurrenceHolder* pHolder = new OccurrenceHolder;
    long nFirst = 0;
    if (!ExpandRecurrence(record.m_pattern, pHolder->days, nFirst)) {
        delete pHolder;
        return 1;
    }
    pHolder->key = CItemVersionRef(new CItemVersion(lpszRecordId, lpszFootprint), FALSE);
    CItemVersion* pKey = pHolder->key.Get();
    pKey->AddRef();
    m_appointmentMap.Add(pKey);
    if (record.HasActiveReminder())
        ScheduleReminderTimer(pKey, record, CDateValue(nFirst, 0));
    if (pHolder->days.GetCount() > kOccurrenceThreadThreshold) {
        QueueOccurrences(pHolder);
        return 1;
    }
    POSITION pos = pHolder->days.GetHeadPosition();
    m_dayIndex.AddDays(pHolder->days, pos, kOccurrenceThreadThreshold, pKey);
    delete pHolder;
    return 1;
}

int CDataController::AddTaskItem(CDataAppointment& record, LPCTSTR lpszRecordId, LPCTSTR lpszFootprint)
{
    CItemVersionRef key(new CItemVersion(lpszRecordId, lpszFootprint), FALSE);
    key->AddRef();
    m_todoMap.Add(key.Get());
    if (record.HasActiveReminder() && record.m_strTodoState != kTodoStateDone)
        ScheduleReminderTimer(key.Get(), record, COleDateTime::GetCurrentTime());
    return 1;
}

void CDataController::QueueOccurrences(OccurrenceHolder* pHolder)
{
    CSingleLock lock(&m_occurrenceLock, TRUE);
    if (m_bStop) {
        delete pHolder;
        return;
    }
    m_occurrenceQueue.push_back(pHolder);
    ::ResetEvent(m_hOccurrencesDone);
    if (m_bOccurrenceThreadRuns)
        return;
    // The thread that ran before has decided to end (under this lock) and ends at once.
    if (m_pOccurrenceThread != NULL) {
        ::WaitForSingleObject(m_pOccurrenceThread->m_hThread, INFINITE);
        delete m_pOccurrenceThread;
        m_pOccurrenceThread = NULL;
    }
    m_pOccurrenceThread = AfxBeginThread(AddOccurrencesThread, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (m_pOccurrenceThread == NULL) {
        // No thread to be had: the series are spread here.
        m_bOccurrenceThreadRuns = TRUE;
        lock.Unlock();
        AddOccurrencesThread(this);
        return;
    }
    // The object stays until the thread has been waited for.
    m_pOccurrenceThread->m_bAutoDelete = FALSE;
    m_bOccurrenceThreadRuns = TRUE;
    m_pOccurrenceThread->ResumeThread();
}

UINT CDataController::AddOccurrencesThread(LPVOID pParam)
{
    CDataController* pThis = (CDataController*)pParam;
    for (;;) {
        OccurrenceHolder* pHolder;
        {
            CSingleLock lock(&pThis->m_occurrenceLock, TRUE);
            pHolder = !pThis->m_occurrenceQueue.empty() && !pThis->m_bStop ? pThis->m_occurrenceQueue.front() : NULL;
            if (pHolder == NULL) {
                // The end: series left when the controller stops are dropped.
                for (OccurrenceHolder* pLeft : pThis->m_occurrenceQueue)
                    delete pLeft;
                pThis->m_occurrenceQueue.clear();
                pThis->m_bOccurrenceThreadRuns = FALSE;
                ::SetEvent(pThis->m_hOccurrencesDone);
                return 0;
            }
            pThis->m_occurrenceQueue.pop_front();
            pThis->m_nOccurrencesInHand = 1;
        }
        pThis->SpreadOccurrences(*pHolder);
        delete pHolder;
        CSingleLock lock(&pThis->m_occurrenceLock, TRUE);
        pThis->m_nOccurrencesInHand = 0;
    }
}

void CDataController::SpreadOccurrences(OccurrenceHolder& holder)
{
    // A few hundred days under one hold of the index's lock, so readers and loading get their
    // turn in between.
    const int kDaysPerHold = 256;
    CItemVersion* pKey = holder.key.Get();
    if (pKey == NULL || pKey->GetRecordId() == 0)
        return;
    for (POSITION pos = holder.days.GetHeadPosition(); pos != NULL && !m_bStop;) {
        // A removed (retired) key is not added again.
        if (m_dayIndex.AddDays(holder.days, pos, kDaysPerHold, pKey) == 0)
            break;
    }
}

// ---- reading ------------------------------------------------------------------------------------

BOOL CDataController::ReadEntry(CTerminTable* pTable, LPCTSTR lpszRecordId, CDataAppointment& record,
                                CTerminRecordBuffer& buffer, BOOL bReportFailure)
{
    if (pTable == NULL)
        return FALSE;
    EnterBusy();
    struct Lower {
        CDataController* pThis;
        ~Lower() { pThis->LeaveBusy(); }
    } lower{this};
    const long nRecNo = pTable->FindRecordById(lpszRecordId);
    if (nRecNo <= 0)
        return FALSE;
    CTerminRecordBuffer row(pTable);
    row.AttachFields();
    if (row.ReadRecord(nRecNo) != 0) {
        if (bReportFailure)
            MfxMessageBoxId(IDS_DB_READ_ERROR, -1, MB_ICONEXCLAMATION);
        return FALSE;
    }
    row.GetAppointment(record);
    buffer = row;
    return TRUE;
}

BOOL CDataController::ReadEntryForDisplay(LPCTSTR lpszRecordId, CDataAppointment& record, BOOL bTodo)
{
    CTerminTable* pTable = bTodo ? m_pTodoTable : m_pAppointmentTable;
    if (pTable == NULL)
        return FALSE;
    EnterBusy();
    CControllerBusyGuard busy(*this);
    const long nRecNo = pTable->FindRecordById(lpszRecordId);
    if (nRecNo <= 0)
        return FALSE;
    // Every field but the memos (notes and the actions' data), which a view does not show.
    CTerminRecordBuffer row(pTable);
    row.AttachFields();
    if (row.ReadRecordFields(nRecNo, kDbFieldMaskVersion | kDbFieldMaskReload | kDbFieldMaskRow) != 0)
        return FALSE;
    // The action is read from its memo only when there is one: none of another entry stays.
    record.m_action = CDataAction();
    row.GetAppointment(record);
    return TRUE;
}

BOOL CDataController::ReadAppointment(LPCTSTR lpszRecordId, CDataAppointment& record, CTerminRecordBuffer& buffer)
{
    return ReadEntry(m_pAppointmentTable, lpszRecordId, record, buffer, TRUE);
}

BOOL CDataController::ReadTask(LPCTSTR lpszRecordId, CDataAppointment& record, CTerminRecordBuffer& buffer)
{
    return ReadEntry(m_pTodoTable, lpszRecordId, record, buffer, TRUE);
}

int CDataController::GetDayItemCount(long nDay) const { return m_dayIndex.GetDayCount(nDay); }

POSITION CDataController::GetDayItemHeadPosition(long nDay) { return m_dayWalks.Begin(m_dayIndex.GetDayKeys(nDay)); }

int CDataController::GetNextDayAppointment(long nDay, POSITION& rPosition, CDataAppointment& record, BOOL bMemos)
{
    CItemVersionRef key;
    if (!m_dayWalks.Next(rPosition, key, [&] { return m_dayIndex.GetDayKeys(nDay); }) || !key)
        return 0;
    if (!bMemos)
        return ReadEntryForDisplay(key->GetIdText(), record, FALSE) ? 1 : 0;
    CTerminRecordBuffer buffer(m_pAppointmentTable);
    return ReadEntry(m_pAppointmentTable, key->GetIdText(), record, buffer, FALSE) ? 1 : 0;
}

POSITION CDataController::GetAppointmentStartPosition() { return m_mapWalks.Begin(m_appointmentMap.GetKeys()); }

POSITION CDataController::GetTaskStartPosition() { return m_mapWalks.Begin(m_todoMap.GetKeys()); }

int CDataController::NextInWalk(const std::function<bool(POSITION&, CItemVersionRef&)>& step, POSITION& rPosition,
                                BOOL bAppointments, CDataAppointment& record, CTerminRecordBuffer& buffer)
{
    CTerminTable* pTable = bAppointments ? m_pAppointmentTable : m_pTodoTable;
    while (rPosition != NULL) {
        CItemVersionRef key;
        if (!step(rPosition, key) || !key || !ReadEntry(pTable, key->GetIdText(), record, buffer, TRUE))
            return 0;
        // A moved entry is passed over; at the end of the walk it ends the walk with 0.
        if (record.m_strMovedRecordId.IsEmpty())
            return 1;
    }
    return 0;
}

int CDataController::GetNextAppointment(POSITION& rPosition, CDataAppointment& record, CTerminRecordBuffer& buffer)
{
    return NextInWalk([this](POSITION& rPos, CItemVersionRef& key) {
        return m_mapWalks.Next(rPos, key, [this] { return m_appointmentMap.GetKeys(); });
    }, rPosition, TRUE, record, buffer);
}

int CDataController::GetNextTask(POSITION& rPosition, CDataAppointment& record, CTerminRecordBuffer& buffer)
{
    return NextInWalk([this](POSITION& rPos, CItemVersionRef& key) {
        return m_mapWalks.Next(rPos, key, [this] { return m_todoMap.GetKeys(); });
    }, rPosition, FALSE, record, buffer);
}

namespace {

std::vector<DWORD> ListIds(CDataController::CIdList& list)
{
    CArray<DWORD, DWORD> ids;
    list.GetSnapshot(ids);
    return std::vector<DWORD>(ids.GetData(), ids.GetData() + ids.GetSize());
}

} // namespace

POSITION CDataController::GetAppointmentListHeadPosition() { return m_listWalks.Begin(ListIds(m_appointmentList)); }

POSITION CDataController::GetTaskListHeadPosition() { return m_listWalks.Begin(ListIds(m_todoList)); }

int CDataController::GetNextListedAppointment(POSITION& rPosition, CDataAppointment& record,
                                              CTerminRecordBuffer& buffer)
{
    // Each id is looked up in its map when the walk reaches it.
    return NextInWalk([this](POSITION& rPos, CItemVersionRef& key) {
        DWORD nId = 0;
        if (!m_listWalks.Next(rPos, nId, [this] { return ListIds(m_appointmentList); }))
            return false;
        key = m_appointmentMap.Find((long)nId);
        return true;
    }, rPosition, TRUE, record, buffer);
}

int CDataController::GetNextListedTask(POSITION& rPosition, CDataAppointment& record, CTerminRecordBuffer& buffer)
{
    return NextInWalk([this](POSITION& rPos, CItemVersionRef& key) {
        DWORD nId = 0;
        if (!m_listWalks.Next(rPos, nId, [this] { return ListIds(m_todoList); }))
            return false;
        key = m_todoMap.Find((long)nId);
        return true;
    }, rPosition, FALSE, record, buffer);
}

CString CDataController::GetItemFootprint(LPCTSTR lpszRecordId) const
{
    if (lpszRecordId == NULL || *lpszRecordId == '\0')
        return CString();
    const long nId = CItemVersion::ParseNumber(lpszRecordId);
    CItemVersionRef key = m_todoMap.Find(nId);
    if (!key)
        key = m_appointmentMap.Find(nId);
    if (!key)
        return CString();
    CString strFootprint;
    strFootprint.Format("%04d", (int)key->GetFootprint());
    return strFootprint;
}
