#include "CCompanionNotice.h"

#include <string.h>

namespace {

const char kAppointmentType[] = "appointment";
const char kTaskType[] = "task";

} // namespace

CCompanionNotice::Record CCompanionNotice::Make(BOOL bDeleted, long nRecordId, BOOL bTodo)
{
    Record record;
    memset(&record, 0, sizeof record);
    record.nSize = (INT32)sizeof record;
    strcpy(record.szType, bTodo ? kTaskType : kAppointmentType);
    record.nRecordId = (INT32)nRecordId;
    record.nAction = bDeleted ? actionDeleted : actionChanged;
    return record;
}

BOOL CCompanionNotice::Send(BOOL bDeleted, long nRecordId, BOOL bTodo, HWND hSender)
{
    const HWND hCompanion = ::FindWindowA(bTodo ? kTaskClass : kAppointmentClass, NULL);
    if (hCompanion == NULL)
        return FALSE;
    Record record = Make(bDeleted, nRecordId, bTodo);
    COPYDATASTRUCT data;
    data.dwData = 0;
    data.cbData = sizeof record;
    data.lpData = &record;
    ::SendMessageA(hCompanion, WM_COPYDATA, (WPARAM)hSender, (LPARAM)&data);
    return TRUE;
}
