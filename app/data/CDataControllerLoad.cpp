// The data controller's reload passes: the full load of an empty map and the incremental pass of
// the update thread, which finds the rows other stations changed, added or deleted; ReloadNow,
// ReloadAll and the switch of the data directory.
#include "CDataController.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "CDataAppointment.h"
#include "CDataApplication.h"
#include "CDataDocument.h"
#include "CFrameBusyGuard.h"
#include "CControllerBusyGuard.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "CTimerLibrary.h"
#include "DbTableDef.h"
#include "MfxFiles.h"
#include "vlDB07.h"

namespace {

// The row type prefixes of the two kinds in the composite key.
const char kAppointmentType[] = "A";
const char kTodoType[] = "TD";
// The status of acknowledged entries: a moved row with it is not loaded by the full load.
const char kStatusAcknowledged[] = "N";
// MOVERECID as the row holds it when the row is not moved.
const char kNotMoved[] = "0";
// The rows a pass reads in one engine call (under one index lock).
const long kPassRows = 256;

// A numeric field of a stored record: its text without the blanks around it (what the field map
// holds of a whole number) and its value, read without building the row; nothing when the table
// has no such field.
class StoredNumber {
public:
    StoredNumber(const CDbTable& table, LPCTSTR lpszName) { m_bKnown = table.GetStoredField(lpszName, m_nOffset, m_nLength); }
    CString Text(const char* pRecord) const
    {
        const char* pBegin;
        const char* pEnd;
        Bounds(pRecord, pBegin, pEnd);
        return CString(pBegin, (int)(pEnd - pBegin));
    }
    // The value as CItemVersion::ParseNumber reads the text.
    long Value(const char* pRecord) const
    {
        const char* pBegin;
        const char* pEnd;
        Bounds(pRecord, pBegin, pEnd);
        char szText[32];
        const size_t nLength = std::min<size_t>((size_t)(pEnd - pBegin), sizeof szText - 1);
        memcpy(szText, pBegin, nLength);
        szText[nLength] = '\0';
        return CItemVersion::ParseNumber(szText);
    }
    // The text is empty or exactly the given one.
    bool IsEmptyOr(const char* pRecord, const char* pszText) const
    {
        const char* pBegin;
        const char* pEnd;
        Bounds(pRecord, pBegin, pEnd);
        const size_t nLength = strlen(pszText);
        return pBegin == pEnd || ((size_t)(pEnd - pBegin) == nLength && memcmp(pBegin, pszText, nLength) == 0);
    }

private:
    void Bounds(const char* pRecord, const char*& pBegin, const char*& pEnd) const
    {
        pBegin = pEnd = pRecord;
        if (!m_bKnown)
            return;
        pBegin = pRecord + m_nOffset;
        const char* pLast = pBegin + m_nLength;
        while (pBegin < pLast && *pBegin == ' ')
            ++pBegin;
        pEnd = pBegin;
        while (pEnd < pLast && *pEnd != '\0')
            ++pEnd;
        while (pEnd > pBegin && pEnd[-1] == ' ')
            --pEnd;
    }

    BOOL m_bKnown = FALSE;
    unsigned m_nOffset = 0, m_nLength = 0;
};

// The start days of the single appointments a full pass registered, added to the day index a
// batch at a time: one hold of the index's lock for a batch instead of one for each entry, which
// the occurrence thread's work on the index would otherwise make wait each time. Whatever is
// left goes into the index when the pass ends, also by an exception.
class PendingDays {
public:
    explicit PendingDays(CDayIndex& index) : m_index(index) { m_entries.reserve(kPassRows); }
    ~PendingDays() { Flush(); }
    CDayEntries* Entries() { return &m_entries; }
    void Flush()
    {
        if (m_entries.empty())
            return;
        m_index.AddEach(m_entries);
        m_entries.clear();
    }

private:
    CDayIndex& m_index;
    CDayEntries m_entries;
};

COleDateTime NullDate()
{
    COleDateTime date;
    date.SetStatus(COleDateTime::null);
    return date;
}

CDataMainFrame* MainFrame()
{
    CDataApplication* pApp = CDataApplication::Get();
    return pApp != NULL ? pApp->GetMainFrame() : NULL;
}

// The table's order and row, put back when the pass ends.
class CPositionKeeper {
public:
    explicit CPositionKeeper(CTerminTable* pTable)
        : m_pTable(pTable), m_nOrder(pTable->GetOrder()), m_nRecNo(pTable->GetRecNo())
    {
    }
    ~CPositionKeeper()
    {
        try {
            m_pTable->GoTo((long)m_nRecNo);
            m_pTable->SetOrder((int)m_nOrder);
        } catch (CException* e) {
            e->Delete();
        }
    }
    CPositionKeeper(const CPositionKeeper&) = delete;
    CPositionKeeper& operator=(const CPositionKeeper&) = delete;

private:
    CTerminTable* m_pTable;
    unsigned m_nOrder;
    unsigned m_nRecNo;
};

} // namespace

CDataController::EntrySide CDataController::AppointmentSide()
{
    return EntrySide{FALSE,
                     m_pAppointmentTable,
                     &m_appointmentMap,
                     &m_appointmentList,
                     &m_appointmentStamp,
                     &m_nAppointmentStampGeneration,
                     &m_nMovedAppointments,
                     &m_bAppointmentTimersCleared,
                     CDataDocument::hintAppointmentCreated,
                     CDataDocument::hintAppointmentDeleted,
                     CDataDocument::hintAppointmentChanged};
}

CDataController::EntrySide CDataController::TodoSide()
{
    return EntrySide{TRUE,
                     m_pTodoTable,
                     &m_todoMap,
                     &m_todoList,
                     &m_todoStamp,
                     &m_nTodoStampGeneration,
                     &m_nMovedTodos,
                     &m_bTodoTimersCleared,
                     CDataDocument::hintTodoCreated,
                     CDataDocument::hintTodoDeleted,
                     CDataDocument::hintTodoChanged};
}

void CDataController::ReloadAppointments(BOOL bIgnoreBusy)
{
    EntrySide side = AppointmentSide();
    Reload(side, bIgnoreBusy);
}

void CDataController::ReloadTasks(BOOL bIgnoreBusy)
{
    EntrySide side = TodoSide();
    Reload(side, bIgnoreBusy);
}

void CDataController::Reload(EntrySide& side, BOOL bIgnoreBusy)
{
    if (side.pTable == NULL || !side.pTable->IsOpen())
        return;
    if (side.pMap->IsEmpty())
        ReloadFull(side, bIgnoreBusy);
    else
        ReloadIncremental(side, bIgnoreBusy);
}

BOOL CDataController::SetPassFilter(const EntrySide& side)
{
    const CString strUser = GetFilterUser();
    if (!side.bTodo)
        return side.pTable->BuildFilter(strUser, kAppointmentType, NULL, NULL, m_strAppointmentAppId,
                                        m_strAppointmentLinkPath, m_nAppointmentLinkRecord, m_dtFirstFrom, m_dtFirstTo,
                                        NullDate(), NullDate(), NULL, FALSE, m_strAppointmentPrivate, m_strStatus,
                                        m_strSeries, m_bNotStatus, m_appointmentSubject.GetCondition(),
                                        m_appointmentPartner.GetCondition(), m_strAppointmentRemind);
    return side.pTable->BuildFilter(strUser, kTodoType, m_strPrioFrom, m_strPrioTo, m_strTodoAppId, m_strTodoLinkPath,
                                    m_nTodoLinkRecord, NullDate(), NullDate(), m_dtLastFrom, m_dtLastTo,
                                    m_strTodoState, m_bNotTodoState, m_strTodoPrivate, NULL, NULL, FALSE,
                                    m_todoSubject.GetCondition(), m_todoPartner.GetCondition(), m_strTodoRemind);
}

void CDataController::ReplaceList(const EntrySide& side, const std::vector<DWORD>& ids)
{
    CSingleLock lock(side.pList->GetLock(), TRUE);
    side.pList->RemoveAll();
    for (DWORD nId : ids)
        side.pList->AddTail(nId);
}

// ---- file stamps -------------------------------------------------------------------------------------

BOOL CDataController::StampChanged(const EntrySide& side, CTableFileStamp& stamp, LONG& nGeneration)
{
    stamp = CTableFileStamp::Read(*side.pTable);
    CSingleLock lock(&m_stampLock, TRUE);
    nGeneration = *side.pStampGeneration;
    return stamp != *side.pStamp;
}

void CDataController::RememberStamp(const EntrySide& side, const CTableFileStamp& stamp, LONG nGeneration)
{
    // A stamp read before the pass began: a change made while the pass ran shows at the next
    // wake-up. A reset during the pass (ReloadNow) is not undone.
    CSingleLock lock(&m_stampLock, TRUE);
    if (*side.pStampGeneration == nGeneration)
        *side.pStamp = stamp;
}

void CDataController::ResetFileTime(BOOL bTodo)
{
    EntrySide side = bTodo ? TodoSide() : AppointmentSide();
    CSingleLock lock(&m_stampLock, TRUE);
    *side.pStamp = CTableFileStamp();
    ++*side.pStampGeneration;
}

// ---- the passes ------------------------------------------------------------------------------------

void CDataController::ReloadFull(EntrySide& side, BOOL bIgnoreBusy)
{
    CTerminTable* pTable = side.pTable;
    CTableFileStamp stamp;
    LONG nGeneration;
    StampChanged(side, stamp, nGeneration);
    CPositionKeeper position(pTable);
    if (!SetPassFilter(side))
        return;

    CTerminRecordBuffer row(pTable);
    row.AttachFields();
    std::vector<DWORD> listed;
    LONG nMoved = 0;
    // An entry's timer may still be in the job with the time of an older version of its row (the
    // map was emptied by a filter change or ReloadAll): it goes before the entry registers its
    // timer, or the job would keep the old time.
    const BOOL bDeleteTimers = !*side.pTimersCleared;
    *side.pTimersCleared = FALSE;
    // A row that cannot be read is passed over, and the pass goes on; the stamp is then not
    // remembered, so the next wake-up reads the table again (the same rule as the incremental
    // pass).
    BOOL bPassedOver = FALSE;
    BOOL bFailed = FALSE;
    pTable->GoTo(0);
    std::vector<long> recnos;
    std::vector<char> rows;
    const size_t nRowSize = pTable->GetStoredRecordSize();
    PendingDays days(m_dayIndex);
    BOOL bStopped = FALSE;
    while (!bStopped && !IsPassStopped(bIgnoreBusy)) {
        days.Flush();
        const long nRead = pTable->ReadRows(kPassRows, recnos, rows);
        if (nRead < 0) {
            bFailed = TRUE;
            break;
        }
        for (long i = 0; i < nRead; ++i) {
            if (IsPassStopped(bIgnoreBusy)) {
                bStopped = TRUE;
                break;
            }
            if (!ReadPassRow(row, recnos[(size_t)i], rows.data() + (size_t)i * nRowSize, kDbFieldMaskReload)) {
                bPassedOver = TRUE;
                continue;
            }
            CDataAppointment record;
            row.GetAppointment(record);
            const BOOL bMoved = !record.m_strMovedRecordId.IsEmpty();
            // A moved row that was acknowledged is not loaded at all.
            if (bMoved && record.m_strStatus == kStatusAcknowledged)
                continue;
            const CString strId = row.FieldValue("RECORDID");
            if (bMoved)
                ++nMoved;
            else
                listed.push_back((DWORD)CItemVersion::ParseNumber(strId));
            if (IsPassStopped(bIgnoreBusy)) {
                bStopped = TRUE;
                break;
            }
            if (bDeleteTimers)
                m_pTimers->Delete(m_nTimerJob, CItemVersion::ParseNumber(strId));
            RegisterEntry(side, record, strId, row.FieldValue("FOOTPRINT"), days.Entries());
        }
        if (nRead < kPassRows)
            break;
    }
    days.Flush();
    // The list as far as the pass came (the entries registered so far are listed).
    ReplaceList(side, listed);
    if (bFailed || bStopped || IsPassStopped(bIgnoreBusy) || pTable->GetRecNo() != (unsigned)DB_EOF)
        return;
    *side.pMoved = nMoved;
    if (!bPassedOver)
        RememberStamp(side, stamp, nGeneration);
    else
        ResetFileTime(side.bTodo);
}

BOOL CDataController::ReadPassRow(CTerminRecordBuffer& row, long nRecNo, const char* pRecord, DWORD dwMask)
{
    if (m_passReadHook && !m_passReadHook(nRecNo))
        return FALSE;
    return row.TakeStoredRow(nRecNo, pRecord, dwMask) == 0;
}

void CDataController::ReloadIncremental(EntrySide& side, BOOL bIgnoreBusy)
{
    CTerminTable* pTable = side.pTable;
    CTableFileStamp stamp;
    LONG nGeneration;
    if (!StampChanged(side, stamp, nGeneration) || IsPassStopped(bIgnoreBusy))
        return;
    CPositionKeeper position(pTable);
    if (!SetPassFilter(side))
        return;

    CTerminRecordBuffer row(pTable);
    row.AttachFields();
    std::vector<DWORD> listed;
    // Every row the pass sees, moved ones included: the entries the maps may keep.
    std::vector<long> seen;
    LONG nMoved = 0;
    BOOL bComplete = FALSE;
    // A row that cannot be read is passed over (an entry it held keeps its key), and the pass
    // goes on; the pass then drops no key it did not see and does not remember the stamp, so the
    // next wake-up tries the row again.
    BOOL bPassedOver = FALSE;
    pTable->GoTo(0);
    std::vector<long> recnos;
    std::vector<char> rows;
    const size_t nRowSize = pTable->GetStoredRecordSize();
    const StoredNumber recordId(*pTable, "RECORDID"), footprint(*pTable, "FOOTPRINT"), movedId(*pTable, "MOVERECID");
    BOOL bStopped = FALSE;
    while (!bStopped && !IsPassStopped(bIgnoreBusy)) {
        const long nRead = pTable->ReadRows(kPassRows, recnos, rows);
        if (nRead < 0)
            break;
        for (long i = 0; i < nRead; ++i) {
            if (IsPassStopped(bIgnoreBusy)) {
                bStopped = TRUE;
                break;
            }
            const long nRow = recnos[(size_t)i];
            const char* pRecord = rows.data() + (size_t)i * nRowSize;
            // The record id, footprint and moved id straight from the stored record; the whole
            // row only when it is new or changed.
            if (m_passReadHook && !m_passReadHook(nRow)) {
                bPassedOver = TRUE;
                continue;
            }
            const long nId = recordId.Value(pRecord);
            seen.push_back(nId);
            if (!movedId.IsEmptyOr(pRecord, kNotMoved))
                ++nMoved;
            else
                listed.push_back((DWORD)nId);
            if (IsPassStopped(bIgnoreBusy)) {
                bStopped = TRUE;
                break;
            }
            const CItemVersionRef key = side.pMap->Find(nId);
            if (!key || key->GetFootprint() != (short)footprint.Value(pRecord)) {
                // The whole row first: an entry whose new version cannot be read keeps its old key.
                if (row.TakeStoredRow(nRow, pRecord, kDbFieldMaskReload) == 0) {
                    if (key)
                        UnregisterEntry(side, nId);
                    CDataAppointment record;
                    row.GetAppointment(record);
                    RegisterEntry(side, record, recordId.Text(pRecord), footprint.Text(pRecord));
                } else
                    bPassedOver = TRUE;
            }
        }
        if (nRead < kPassRows) {
            bComplete = !bStopped && pTable->GetRecNo() == (unsigned)DB_EOF;
            break;
        }
    }
    // A pass that was left keeps the list of the last complete one (the next wake-up runs it
    // again).
    if (!bComplete || IsPassStopped(bIgnoreBusy))
        return;
    ReplaceList(side, listed);
    if (bPassedOver)
        return;
    // The pass saw every row the filter admits: entries it did not see were deleted or no longer
    // pass the filter.
    std::sort(seen.begin(), seen.end());
    for (const CItemVersionRef& key : side.pMap->GetKeys())
        if (!std::binary_search(seen.begin(), seen.end(), key->GetRecordId()))
            UnregisterEntry(side, key->GetRecordId());
    *side.pMoved = nMoved;
    RememberStamp(side, stamp, nGeneration);
}

// ---- reloading on request ------------------------------------------------------------------------

void CDataController::ReloadNow()
{
    ResetFileTime(FALSE);
    ResetFileTime(TRUE);
    if (m_pUpdateThread == NULL)
        return;
    // A wake-up that begins after this one has read the reset stamps.
    const LONG nBegun = m_nUpdateCyclesStarted;
    WakeUpdateThread();
    for (int i = 0; i < m_timings.nReloadNowPolls; ++i) {
        if (m_nUpdateCyclesDone > nBegun && m_nReloading == 0)
            return;
        ::Sleep(m_timings.dwReloadNowPoll);
    }
}

void CDataController::ForgetEntries(BOOL bAppointments, BOOL bTodos)
{
    // A timer exists only for an entry a map holds: nothing would bring the timer of an entry
    // that is not loaded again (deleted or changed by another station, or outside the new filter)
    // in step with its row. The full load that follows registers the timers of the entries it
    // loads.
    if (bTodos) {
        for (const CItemVersionRef& key : m_todoMap.GetKeys())
            m_pTimers->Delete(m_nTimerJob, key->GetRecordId());
        m_bTodoTimersCleared = TRUE;
        m_todoMap.DeleteAllValues();
    }
    if (bAppointments) {
        for (const CItemVersionRef& key : m_appointmentMap.GetKeys())
            m_pTimers->Delete(m_nTimerJob, key->GetRecordId());
        m_bAppointmentTimersCleared = TRUE;
        m_appointmentMap.DeleteAllValues();
        m_dayIndex.DeleteAllValues();
    }
}

void CDataController::ReloadAll()
{
    CFrameBusyGuard frameBusy(MainFrame());
    // Raised before waiting (as EnterBusy), so that no pass of the update thread begins while
    // this thread loads.
    EnterBusy();
    CControllerBusyGuard busy(*this);
    ForgetEntries(TRUE, TRUE);
    ReloadAppointments(TRUE);
    ReloadTasks(TRUE);
    CDataApplication* pApp = CDataApplication::Get();
    if (CDataDocument* pDocument = pApp != NULL ? pApp->GetDocument() : NULL)
        pDocument->UpdateAllViews(NULL, CDataDocument::hintReloaded, NULL);
}

void CDataController::SetDataPath(LPCTSTR lpszDataPath)
{
    if (lpszDataPath == NULL || !MfxFileExists(lpszDataPath))
        return;
    m_pTimers->StopPolling(m_nTimerJob);
    {
        CFrameBusyGuard frameBusy(MainFrame());
        EnterBusy();
        CControllerBusyGuard busy(*this);
        if (m_pAppointmentTable != NULL)
            m_pAppointmentTable->Close();
        if (m_pTodoTable != NULL)
            m_pTodoTable->Close();
        m_strDataPath = lpszDataPath;
        if (m_strDataPath.Right(1) != "\\" && m_strDataPath.Right(1) != "/")
            m_strDataPath += "\\";
        // The entries of the old directory go, and their reminders with them.
        ForgetEntries(TRUE, TRUE);
        m_appointmentList.RemoveAll();
        m_todoList.RemoveAll();
        ResetFileTime(FALSE);
        ResetFileTime(TRUE);
        OpenTables(m_strDataPath);
        ReloadAppointments(TRUE);
        ReloadTasks(TRUE);
    }
    m_pTimers->StartPolling(m_nTimerJob);
}
