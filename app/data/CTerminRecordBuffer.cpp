#include "CTerminRecordBuffer.h"

#include <afxdisp.h>

CTerminRecordBuffer::CTerminRecordBuffer(CDbTable* pTable) : CDbRecordBuffer(pTable) {}

CTerminRecordBuffer::~CTerminRecordBuffer() {}

void CTerminRecordBuffer::StampChange(LPCTSTR lpszUser)
{
    SetFieldValue("L_USER", lpszUser);
    SetFieldValue("L_DAT", COleDateTime::GetCurrentTime().Format("%d.%m.%Y"));
}
