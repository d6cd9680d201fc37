// The dialogs the data controller opens, as the dialogs of the program provide them. Each call
// runs the dialog modally and answers IDOK, IDCANCEL or (entry dialogs) kDeleteButton; the choices
// are filled only after IDOK.
#pragma once

#include <afxcoll.h>

class CDataAppointment;
class CDataMultiReminderWindow;

// What the filter dialogs hand back, as far as both have it. A flag "open" means: not filtered by
// this item.
struct CEntryFilterChoice {
    BOOL bSubject = FALSE;
    CString strSubject;
    BOOL bPartner = FALSE;
    CString strPartner;
    BOOL bPrivateOpen = TRUE;
    BOOL bPrivate = FALSE;
    BOOL bReminderOpen = TRUE;
    BOOL bReminder = FALSE;
    BOOL bUserChoice = FALSE;
    // String 6402 (" < Alle Benutzer >") for all users.
    CString strUser;
};

// The appointment filter dialog adds the series and the acknowledged status.
struct CAppointmentFilterChoice : CEntryFilterChoice {
    BOOL bSeriesOpen = TRUE;
    BOOL bSeries = FALSE;
    BOOL bStatusOpen = TRUE;
    BOOL bAcknowledged = FALSE;
};

// The to-do filter dialog adds a priority range and the to-do state.
struct CTodoFilterChoice : CEntryFilterChoice {
    BOOL bPriorityRange = FALSE;
    CString strPriorityFrom;
    CString strPriorityTo;
    BOOL bTodoState = FALSE;
    CString strTodoState;
};

class CDataDialogs {
public:
    // The delete button of the entry dialogs.
    enum { kDeleteButton = 161 };
    // Dialog templates of the entry dialogs.
    enum { kAppointmentTemplate = 153, kTodoTemplate = 163 };

    virtual ~CDataDialogs() {}

    // The appointment dialog (or the to-do dialog) over the record. After IDOK the record holds
    // the edited values and, for a new entry, users the names for whom rows are written.
    virtual int EditAppointment(CDataAppointment& record, BOOL bNew, CStringList& users) = 0;
    virtual int EditTodo(CDataAppointment& record, BOOL bNew, CStringList& users) = 0;
    virtual int FilterAppointments(CAppointmentFilterChoice& choice) = 0;
    virtual int FilterTodos(CTodoFilterChoice& choice) = 0;
    // The delegation dialog: the chosen user and whether the entry is moved to that user.
    virtual int Delegate(CString& strUser, BOOL& bMove) = 0;
    // A new collective reminder window (not created yet) that tells hNotify about its entries and
    // has hParent as parent; NULL when there is none to be had.
    virtual CDataMultiReminderWindow* MakeCollectiveReminder(HWND hNotify, HWND hParent)
    {
        (void)hNotify;
        (void)hParent;
        return NULL;
    }
};
