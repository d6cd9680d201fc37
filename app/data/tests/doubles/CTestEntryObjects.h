// Test double of the program's automation objects of single entries: a small automation object
// (CTestEntryObject) holding a copy of the record, whose "Kind" ("Termin" or "Aufgabe") and
// "Subject" a linked application can read through its IDispatch; its action data is the record's
// action parameter. Counts the objects alive, so tests see that every one was released.
#pragma once

#include <afxdisp.h>

#include "CDataAppointment.h"
#include "CDataEntryObjects.h"

class CTestEntryObject : public CCmdTarget {
public:
    explicit CTestEntryObject(const CDataAppointment& entry);
    ~CTestEntryObject() override;

    // The objects alive in the process.
    static LONG Alive();

    CDataAppointment m_record;
    CString m_strKind;
    CString m_strSubject;

protected:
    DECLARE_DISPATCH_MAP()
};

class CTestEntryObjects : public CDataEntryObjects {
public:
    LPDISPATCH CreateEntryObject(const CDataAppointment& entry) override;
    BOOL GetActionData(LPDISPATCH pEntryObject, VARIANT* pData) override;

    // The objects made so far.
    LONG m_nCreated = 0;
};
