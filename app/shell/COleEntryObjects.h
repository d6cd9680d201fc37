// The program's automation objects of single entries for the schedule data: an appointment
// object holding a copy of the record (to-dos get one too until they have an object of their
// own), and the action data read through such an object.
#pragma once

#include "CDataEntryObjects.h"

class COleEntryObjects : public CDataEntryObjects {
public:
    LPDISPATCH CreateEntryObject(const CDataAppointment& entry) override;
    BOOL GetActionData(LPDISPATCH pEntryObject, VARIANT* pData) override;
};
