// The dialogs the data controller opens, as the program's dialogs provide them. The application
// object hands one of these out (CDataApplication::GetDialogs). The appointment dialog is here;
// the to-do, filter and delegation dialogs come with their own work and answer IDCANCEL until
// then.
#pragma once

#include "CDataDialogs.h"

class CProgramDialogs : public CDataDialogs {
public:
    // The appointment dialog over the record, with the main window as parent.
    int EditAppointment(CDataAppointment& record, BOOL bNew, CStringList& users) override;
    int EditTodo(CDataAppointment& record, BOOL bNew, CStringList& users) override;
    int FilterAppointments(CAppointmentFilterChoice& choice) override;
    int FilterTodos(CTodoFilterChoice& choice) override;
    int Delegate(CString& strUser, BOOL& bMove) override;
};
