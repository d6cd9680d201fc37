#include "CProgramDialogs.h"

#include "CAppointmentDialog.h"

int CProgramDialogs::EditAppointment(CDataAppointment& record, BOOL bNew, CStringList& users)
{
    CAppointmentDialog dialog(&record, AfxGetMainWnd(), bNew, kAppointmentTemplate);
    const int nResult = (int)dialog.DoModal();
    if (nResult == IDOK) {
        users.RemoveAll();
        users.AddTail(const_cast<CStringList*>(&dialog.GetSelectedUserList()));
    }
    return nResult;
}

int CProgramDialogs::EditTodo(CDataAppointment&, BOOL, CStringList&) { return IDCANCEL; }

int CProgramDialogs::FilterAppointments(CAppointmentFilterChoice&) { return IDCANCEL; }

int CProgramDialogs::FilterTodos(CTodoFilterChoice&) { return IDCANCEL; }

int CProgramDialogs::Delegate(CString&, BOOL&) { return IDCANCEL; }
