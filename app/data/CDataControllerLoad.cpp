// The data controller's reload passes: the full load of an empty map, on the user-interface
// thread at the start and on the update thread later.
#include "CDataController.h"

#include "CDataAppointment.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "DbTableDef.h"
#include "vlDB07.h"

namespace {

// The row type prefixes of the two kinds in the composite key.
const char kAppointmentType[] = "A";
const char kTodoType[] = "TD";
// The status of acknowledged entries: a moved row with it is not loaded at all.
const char kStatusAcknowledged[] = "N";

COleDateTime NullDate()
{
    COleDateTime date;
    date.SetStatus(COleDateTime::null);
    return date;
}

} // namespace

struct CDataController::PassTarget {
    CTerminTable* pTable;
    CItemMap* pMap;
    CIdList* pList;
    LONG* pFileTime;
    LONG* pMoved;
    BOOL bAppointments;
};

void CDataController::ReloadAppointments()
{
    PassTarget target{m_pAppointmentTable, &m_appointmentMap, &m_appointmentList, &m_nAppointmentFileTime,
                      &m_nMovedAppointments, TRUE};
    if (m_appointmentMap.IsEmpty())
        ReloadFull(target);
}

void CDataController::ReloadTasks()
{
    PassTarget target{m_pTodoTable, &m_todoMap, &m_todoList, &m_nTodoFileTime, &m_nMovedTodos, FALSE};
    if (m_todoMap.IsEmpty())
        ReloadFull(target);
}

BOOL CDataController::SetPassFilter(const PassTarget& target)
{
    const CString strUser = GetFilterUser();
    if (target.bAppointments)
        return target.pTable->BuildFilter(strUser, kAppointmentType, NULL, NULL, m_strAppointmentAppId,
                                          m_strAppointmentLinkPath, m_nAppointmentLinkRecord, m_dtFirstFrom,
                                          m_dtFirstTo, NullDate(), NullDate(), NULL, FALSE, m_strAppointmentPrivate,
                                          m_strStatus, m_strSeries, m_bNotStatus, m_appointmentSubject.GetCondition(),
                                          m_appointmentPartner.GetCondition(), m_strAppointmentRemind);
    return target.pTable->BuildFilter(strUser, kTodoType, m_strPrioFrom, m_strPrioTo, m_strTodoAppId, m_strTodoLinkPath,
                                      m_nTodoLinkRecord, NullDate(), NullDate(), m_dtLastFrom, m_dtLastTo,
                                      m_strTodoState, m_bNotTodoState, m_strTodoPrivate, NULL, NULL, FALSE,
                                      m_todoSubject.GetCondition(), m_todoPartner.GetCondition(), m_strTodoRemind);
}

void CDataController::ReloadFull(PassTarget& target)
{
    CTerminTable* pTable = target.pTable;
    if (pTable == NULL || !pTable->IsOpen())
        return;
    *target.pFileTime = (LONG)pTable->GetFileTime();
    const unsigned nOrder = pTable->GetOrder();
    if (!SetPassFilter(target)) {
        pTable->SetOrder((int)nOrder);
        return;
    }
    const unsigned nRecNo = pTable->GetRecNo();
    target.pList->RemoveAll();

    CTerminRecordBuffer row(pTable);
    row.AttachFields();
    LONG nMoved = 0;
    pTable->GoTo(0);
    // The end of the table shows as the end-of-file record number (one engine call less per row
    // than asking for the end and the number apart).
    for (unsigned nRow = pTable->GetRecNo(); nRow != (unsigned)DB_EOF && !m_bStop && m_nBusy == 0;
         nRow = pTable->GetRecNo()) {
        if (row.ReadRecordFields((long)nRow, kDbFieldMaskReload) == 0) {
            CDataAppointment record;
            row.GetAppointment(record);
            const BOOL bMoved = !record.m_strMovedRecordId.IsEmpty();
            // A moved row that was acknowledged is not loaded at all.
            if (!(bMoved && record.m_strStatus == kStatusAcknowledged)) {
                const CString strId = row.FieldValue("RECORDID");
                if (bMoved)
                    ++nMoved;
                else
                    target.pList->AddTail((DWORD)CItemVersion::ParseNumber(strId));
                if (m_nBusy != 0)
                    break;
                if (target.bAppointments)
                    AddAppointmentItem(record, strId, row.FieldValue("FOOTPRINT"));
                else
                    AddTaskItem(record, strId, row.FieldValue("FOOTPRINT"));
            }
        }
        if (pTable->Skip(1) == 0)
            break;
    }
    pTable->GoTo((long)nRecNo);
    pTable->SetOrder((int)nOrder);
    if (!m_bStop && m_nBusy == 0)
        *target.pMoved = nMoved;
}
