#include "COleEntryObjects.h"

#include "COleAppointment.h"

LPDISPATCH COleEntryObjects::CreateEntryObject(const CDataAppointment& entry)
{
    COleAppointment* pObject = new COleAppointment;
    pObject->SetRecord(entry);
    pObject->SetRecordId(atol(entry.m_strRecordId));
    return pObject->GetIDispatch(FALSE);
}

BOOL COleEntryObjects::GetActionData(LPDISPATCH pEntryObject, VARIANT* pData)
{
    COleAppointment* pObject = COleAppointment::FromDispatch(pEntryObject);
    if (pObject == NULL || pData == NULL)
        return FALSE;
    *pData = pObject->GetActionData();
    return TRUE;
}
