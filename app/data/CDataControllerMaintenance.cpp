// The data controller's maintenance of the schedule table: reindexing, reorganizing (packing) and
// marking dead rows deleted.
//
// The engine rebuilds indexes of a shared table in place, but packs only a table open
// exclusively. The controller's own four work areas hold the table shared, so the exclusive work
// closes them first and opens them again when it is done, whatever its outcome; other program
// instances that keep the table open make the exclusive open fail (message 40019). The temporary
// exclusive instance opens the table without its index files: they are made anew anyway, and a
// damaged index file must not keep the table from being repaired.
#include "CDataController.h"

#include <optional>

#include "CDataApplication.h"
#include "CDataAppointment.h"
#include "CDbAreaLock.h"
#include "CFrameBusyGuard.h"
#include "CMfxWaitCursor.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "CTimerLibrary.h"
#include "DataStrings.h"
#include "DbErrors.h"
#include "DbTableDef.h"
#include "MfxMessageBox.h"
#include "vlDB07.h"

namespace {

// Open modes of the temporary instances.
const int kSharedMode = 0;
const int kExclusiveMode = 1;
// The status of an acknowledged reminder: a postponement copy with it is dead.
const char kStatusAcknowledged[] = "N";

// Whether the row (its reload fields read) is dead: no record id, or an acknowledged
// postponement copy.
BOOL IsDeadRow(CTerminRecordBuffer& row)
{
    CString strId = row.FieldValue("RECORDID");
    strId.TrimLeft();
    strId.TrimRight();
    if (strId.IsEmpty() || strId == "0")
        return TRUE;
    CDataAppointment record;
    row.GetAppointment(record);
    return !record.m_strMovedRecordId.IsEmpty() && record.m_strStatus == kStatusAcknowledged;
}

CDataMainFrame* MainFrame()
{
    CDataApplication* pApp = CDataApplication::Get();
    return pApp != NULL ? pApp->GetMainFrame() : NULL;
}

} // namespace

// Begins with the wait cursor, stops the timer job's polling, raises the main frame's busy counter
// and the controller's (waiting for a running reload pass); ends in the opposite order, with the
// polling started again.
struct CDataController::MaintenanceFrame {
    explicit MaintenanceFrame(CDataController& controller) : m_controller(controller)
    {
        m_controller.m_pTimers->StopPolling(m_controller.m_nTimerJob);
        m_frameBusy.emplace(MainFrame());
        m_controller.EnterBusy();
    }
    ~MaintenanceFrame()
    {
        m_controller.LeaveBusy();
        m_controller.m_pTimers->StartPolling(m_controller.m_nTimerJob);
        m_frameBusy.reset();
    }
    MaintenanceFrame(const MaintenanceFrame&) = delete;
    MaintenanceFrame& operator=(const MaintenanceFrame&) = delete;

    CDataController& m_controller;
    CMfxWaitCursor m_wait;
    std::optional<CFrameBusyGuard> m_frameBusy;
};

void CDataController::CloseTables()
{
    if (m_pAppointmentTable != NULL)
        m_pAppointmentTable->Close();
    if (m_pTodoTable != NULL)
        m_pTodoTable->Close();
}

BOOL CDataController::Reindex()
{
    MaintenanceFrame frame(*this);
    BOOL bDone = FALSE;
    if (m_pAppointmentTable != NULL) {
        try {
            bDone = m_pAppointmentTable->Reindex();
        } catch (CException* e) {
            // An unexpected engine error ends the rebuild in place; the exclusive way follows.
            e->Delete();
            DbClearPendingError();
        }
    }
    if (bDone)
        return TRUE;
    CloseTables();
    bDone = MaintainExclusively(FALSE, TRUE);
    OpenTables(m_strDataPath);
    return bDone;
}

BOOL CDataController::Reorganize(BOOL bSilent, BOOL bCleanUp)
{
    if (!bSilent && MfxMessageBoxId(IDS_DB_ASK_REORGANIZE, -1, MB_ICONQUESTION | MB_YESNO) != IDYES)
        return FALSE;
    MaintenanceFrame frame(*this);
    if (bCleanUp)
        RemoveInvalidRows();
    CloseTables();
    const BOOL bDone = MaintainExclusively(TRUE, !bSilent);
    OpenTables(m_strDataPath);
    return bDone;
}

BOOL CDataController::MaintainExclusively(BOOL bPack, BOOL bReport)
{
    const CString strPath = m_strDataPath + CTerminTable::kFileName;
    const DbTableDef& definition = CTerminTable::s_tableDefinition;
    CTerminTable table(m_pSession, FALSE);
    // The message of the step under way: it is the failure's when the step does not succeed.
    UINT nFailure = IDS_DB_NOT_EXCLUSIVE;
    try {
        if (table.CheckFile(strPath, kExclusiveMode) == DB_CHECK_USABLE &&
            table.Open(strPath, definition.szAlias, kExclusiveMode, definition.nOptions)) {
            {
                // The indexes are made in the table's collation, as every instance searches them.
                CDbAreaLock lock(table.GetArea());
                DbChecked(db_set_sortorder(CDbTable::ReadSortOrder(strPath)));
            }
            nFailure = IDS_DB_REORGANIZE_FAILED;
            // A table without rows has nothing to pack (the engine answers FALSE for it).
            if (!bPack || table.GetRecCount() == 0 || table.Pack()) {
                nFailure = IDS_DB_REINDEX_FAILED;
                if (table.RebuildIndexes())
                    nFailure = 0;
            }
        }
    } catch (CException* e) {
        e->Delete();
        DbClearPendingError();
    }
    try {
        table.Close();
    } catch (CException* e) {
        e->Delete();
        DbClearPendingError();
    }
    if (nFailure != 0 && bReport)
        MfxMessageBoxId(nFailure, -1, MB_ICONEXCLAMATION);
    return nFailure == 0;
}

BOOL CDataController::RemoveInvalidRows()
{
    CTerminTable table(m_pSession, FALSE);
    table.SetUserName(m_strCurrentUser);
    BOOL bDone = FALSE;
    try {
        if (table.OpenMain(m_strDataPath, kSharedMode, 0) == DB_OPEN_FAILED)
            return FALSE;
        // Natural order: every row once, whatever the state of the index files; a deleted row
        // stays current, and the next skip goes on from it.
        table.SetOrder(0);
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        table.GoTo(0);
        for (unsigned nRow = table.GetRecNo();; nRow = table.GetRecNo()) {
            if (nRow == (unsigned)DB_EOF) {
                bDone = TRUE;
                break;
            }
            if (row.ReadRecordFields((long)nRow, kDbFieldMaskReload) == 0 && IsDeadRow(row))
                table.DeleteRecord(FALSE);
            if (table.Skip(1) == 0)
                break;
        }
    } catch (CException* e) {
        e->Delete();
        DbClearPendingError();
        bDone = FALSE;
    }
    return bDone;
}
