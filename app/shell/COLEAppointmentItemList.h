// The root object's appointment collection: its count, new appointment objects (Add) and the
// object of a stored entry by record id (ItemByUniqueID). It holds no entries of its own; each
// object it returns is new and carries its own copy of the record.
#pragma once

#include <afxdisp.h>
#include <afxmt.h>

class COLEAppointmentItemList : public CCmdTarget {
    DECLARE_DYNCREATE(COLEAppointmentItemList)
public:
    COLEAppointmentItemList();

    long GetCount();
    void SetCount(long);
    LPDISPATCH Item(long nIndex);
    BOOL Remove(long nIndex);
    LPDISPATCH Add();
    BOOL SetFilter(long nFlags, LPCTSTR lpszHostId, LPCTSTR lpszHostRecordId, LPCTSTR lpszUser);
    LPDISPATCH ItemByUniqueID(LPCTSTR lpszRecordId);
    BOOL RemoveAll();

protected:
    CCriticalSection m_lock;

    DECLARE_DISPATCH_MAP()
    DECLARE_INTERFACE_MAP()
};
