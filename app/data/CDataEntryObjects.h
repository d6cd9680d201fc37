// The automation objects of single entries, as the program's shell provides them (an appointment
// object and a to-do object, each a CCmdTarget with an IDispatch holding a copy of the record).
// The schedule data hands such an object to a linked application when it asks it to open the
// entry's linked record or to run the entry's action; the application reads the entry through
// it. CDataApplication::GetEntryObjects finds the provider; without one nothing is handed over.
#pragma once

#include <windows.h>

#include <oleauto.h>

class CDataAppointment;

class CDataEntryObjects {
public:
    virtual ~CDataEntryObjects() {}

    // A new automation object of the entry holding a copy of the record: a to-do object when
    // the record is a to-do (m_bTodo), else an appointment object. Its IDispatch carries one
    // reference for the caller, whose release frees the object; NULL when none can be made.
    virtual LPDISPATCH CreateEntryObject(const CDataAppointment& entry) = 0;
    // The object's action data (its "ActionData"): the action's text parameter as VT_BSTR, or
    // its byte array as VT_ARRAY | VT_UI1 when the action is binary. pData comes initialised
    // (VariantInit) and the caller clears it. FALSE when pEntryObject is not one of the
    // provider's objects.
    virtual BOOL GetActionData(LPDISPATCH pEntryObject, VARIANT* pData) = 0;
};
