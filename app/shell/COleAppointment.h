// The automation object of one appointment: a copy of the entry's record that a client reads and
// changes property by property and hands to the data controller with Save, Remove or Display.
// Clients reach it through the root object's appointment collection; the program makes such
// objects to hand an entry to a linked application. Every member holds the object's lock.
#pragma once

#include <afxdisp.h>
#include <afxmt.h>

#include <memory>

#include "CDataAppointment.h"

class COleAppointment : public CCmdTarget {
    DECLARE_DYNCREATE(COleAppointment)
public:
    COleAppointment();
    ~COleAppointment() override;

    void SetRecord(const CDataAppointment& record) { *m_pRecord = record; }
    const CDataAppointment& GetRecord() const { return *m_pRecord; }
    void SetRecordId(long nRecordId) { m_nRecordId = nRecordId; }
    long GetRecordId() const { return m_nRecordId; }
    // The object behind an IDispatch of this class, else NULL.
    static COleAppointment* FromDispatch(LPDISPATCH pDispatch);

    // Automation members (public for the program's own callers).
    BOOL GetPrivate();
    void SetPrivate(BOOL b);
    long GetReminderMinutesBeforeStart();
    void SetReminderMinutesBeforeStart(long n);
    BSTR GetSubject();
    void SetSubject(LPCTSTR lpsz);
    BSTR GetLocation();
    void SetLocation(LPCTSTR lpsz);
    BOOL GetReminder();
    void SetReminder(BOOL b);
    DATE GetStart();
    void SetStart(DATE date);
    DATE GetEnd();
    void SetEnd(DATE date);
    BSTR GetBody();
    void SetBody(LPCTSTR lpsz);
    BSTR GetHostDatabase();
    void SetHostDatabase(LPCTSTR lpsz);
    long GetHostRecordID();
    void SetHostRecordID(long n);
    BSTR GetHostID();
    void SetHostID(LPCTSTR lpsz);
    BSTR GetContact();
    void SetContact(LPCTSTR lpsz);
    BSTR GetUniqueID();
    void SetUniqueID(LPCTSTR lpsz);
    BSTR GetActionID();
    void SetActionID(LPCTSTR lpsz);
    VARIANT GetActionData();
    void SetActionData(const VARIANT& data);
    BSTR GetCreationUser();
    void SetCreationUser(LPCTSTR lpsz);
    BSTR GetChangeUser();
    void SetChangeUser(LPCTSTR lpsz);
    DATE GetCreationDate();
    void SetCreationDate(DATE date);
    DATE GetChangeDate();
    void SetChangeDate(DATE date);
    BSTR GetUser();
    void SetUser(LPCTSTR lpsz);
    BSTR GetBodyPlain();
    void SetBodyPlain(LPCTSTR lpsz);
    BSTR GetActionDataString();
    void SetActionDataString(LPCTSTR lpsz);
    long GetActionType();
    void SetActionType(long n);
    LPDISPATCH GetRecurrencePattern();
    void SetRecurrencePattern(LPDISPATCH);
    BOOL GetIsRecurring();
    void SetIsRecurring(BOOL);
    BSTR GetTimeStamp();
    void SetTimeStamp(LPCTSTR);
    BSTR GetSerializedString();
    void SetSerializedString(LPCTSTR lpsz);
    BOOL Save();
    BOOL Remove();
    BOOL Display();
    void ClearRecurrencePattern();

protected:
    long m_nRecordId;
    std::unique_ptr<CDataAppointment> m_pRecord;
    CCriticalSection m_lock;

    DECLARE_DISPATCH_MAP()
    DECLARE_INTERFACE_MAP()
};
