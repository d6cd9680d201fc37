#include "COLEAppointmentItemList.h"

#include "CDataController.h"
#include "COleAppointment.h"
#include "COrvexApp.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"

IMPLEMENT_DYNCREATE(COLEAppointmentItemList, CCmdTarget)

// The members' positions are their DISPIDs (1-7).
BEGIN_DISPATCH_MAP(COLEAppointmentItemList, CCmdTarget)
DISP_PROPERTY_EX(COLEAppointmentItemList, "Count", GetCount, SetCount, VT_I4)
DISP_FUNCTION(COLEAppointmentItemList, "Item", Item, VT_DISPATCH, VTS_I4)
DISP_FUNCTION(COLEAppointmentItemList, "Remove", Remove, VT_BOOL, VTS_I4)
DISP_FUNCTION(COLEAppointmentItemList, "Add", Add, VT_DISPATCH, VTS_NONE)
DISP_FUNCTION(COLEAppointmentItemList, "SetFilter", SetFilter, VT_BOOL, VTS_I4 VTS_BSTR VTS_BSTR VTS_BSTR)
DISP_FUNCTION(COLEAppointmentItemList, "ItemByUniqueID", ItemByUniqueID, VT_DISPATCH, VTS_BSTR)
DISP_FUNCTION(COLEAppointmentItemList, "RemoveAll", RemoveAll, VT_BOOL, VTS_NONE)
END_DISPATCH_MAP()

// {1DA43106-9E9C-463D-8F32-98EDA6E3DF74}
static const IID IID_IOleAppointmentItemList = {0x1DA43106, 0x9E9C, 0x463D, {0x8F, 0x32, 0x98, 0xED, 0xA6, 0xE3, 0xDF, 0x74}};

BEGIN_INTERFACE_MAP(COLEAppointmentItemList, CCmdTarget)
INTERFACE_PART(COLEAppointmentItemList, IID_IOleAppointmentItemList, Dispatch)
END_INTERFACE_MAP()

COLEAppointmentItemList::COLEAppointmentItemList() { EnableAutomation(); }

long COLEAppointmentItemList::GetCount()
{
    CSingleLock lock(&m_lock, TRUE);
    CDataController* pController = theApp.GetDataController();
    if (pController == NULL)
        return 0;
    const long nCount = (long)pController->GetAppointmentMap().GetCount() - pController->GetMovedAppointmentCount();
    return nCount < 0 ? 0 : nCount;
}

void COLEAppointmentItemList::SetCount(long) {}

// The walk by index, removal, filters and removing every entry come with the collections' walk.
LPDISPATCH COLEAppointmentItemList::Item(long) { return NULL; }
BOOL COLEAppointmentItemList::Remove(long) { return FALSE; }
BOOL COLEAppointmentItemList::SetFilter(long, LPCTSTR, LPCTSTR, LPCTSTR) { return FALSE; }
BOOL COLEAppointmentItemList::RemoveAll() { return FALSE; }

LPDISPATCH COLEAppointmentItemList::Add()
{
    CSingleLock lock(&m_lock, TRUE);
    COleAppointment* pObject = new COleAppointment;
    return pObject->GetIDispatch(FALSE);
}

LPDISPATCH COLEAppointmentItemList::ItemByUniqueID(LPCTSTR lpszRecordId)
{
    CSingleLock lock(&m_lock, TRUE);
    CDataController* pController = theApp.GetDataController();
    if (pController == NULL || pController->GetAppointmentTable() == NULL || lpszRecordId == NULL || *lpszRecordId == 0)
        return NULL;
    CString strId;
    strId.Format("%010ld", atol(lpszRecordId));
    CDataAppointment record;
    CTerminRecordBuffer row(pController->GetAppointmentTable());
    if (!pController->ReadAppointment(strId, record, row))
        return NULL;
    COleAppointment* pObject = new COleAppointment;
    pObject->SetRecord(record);
    pObject->SetRecordId(atol(record.m_strRecordId));
    return pObject->GetIDispatch(FALSE);
}
