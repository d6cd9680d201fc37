// Test double of the dialogs: each call takes the next step of a script the test wrote, checks
// that the step is for that dialog, applies the step's edits and answers its button. Every call is
// logged. A call without a step, or with a step for another dialog, is a test failure and answers
// IDCANCEL (nothing is changed).
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "CDataAppointment.h"
#include "CDataDialogs.h"
#include "CTestReminderWindow.h"

class CScriptedDialogs : public CDataDialogs {
public:
    enum Kind { appointment, todo, appointmentFilter, todoFilter, delegate };

    struct Step {
        Kind kind;
        int nResult;
        // Entry dialogs: the edits made to the record, and the users chosen for a new entry.
        std::function<void(CDataAppointment&)> editRecord;
        std::vector<std::string> users;
        // Filter dialogs.
        std::function<void(CAppointmentFilterChoice&)> editAppointmentFilter;
        std::function<void(CTodoFilterChoice&)> editTodoFilter;
        // Delegation.
        std::string strDelegateUser;
        BOOL bMove = FALSE;
        // Called while the dialog is shown (what another station does meanwhile).
        std::function<void()> whileShown;
    };

    struct Call {
        Kind kind;
        BOOL bNew;
        std::string strSubject; // the entry dialogs: the subject the dialog was opened with
    };

    int EditAppointment(CDataAppointment& record, BOOL bNew, CStringList& users) override;
    int EditTodo(CDataAppointment& record, BOOL bNew, CStringList& users) override;
    int FilterAppointments(CAppointmentFilterChoice& choice) override;
    int FilterTodos(CTodoFilterChoice& choice) override;
    int Delegate(CString& strUser, BOOL& bMove) override;
    // A CTestMultiReminderWindow noting into m_reminderJournal; its Create fails with
    // m_bCollectiveFails.
    CDataMultiReminderWindow* MakeCollectiveReminder(HWND hNotify, HWND hParent) override;

    // Appends a step to the script.
    void Expect(const Step& step) { m_script.push_back(step); }
    // Steps not taken yet.
    size_t Pending() const { return m_script.size(); }

    std::vector<Call> m_calls;
    // What happened to the reminder windows (single ones note here too when the test makes them
    // with this journal).
    CTestReminderWindow::Journal m_reminderJournal;
    BOOL m_bCollectiveFails = FALSE;
    // The windows made, and the notify window and parent the last one got.
    int m_nCollectiveMade = 0;
    HWND m_hCollectiveNotify = NULL;
    HWND m_hCollectiveParent = NULL;

private:
    // The next step when it is for this kind of dialog, else NULL (and a test failure).
    bool NextStep(Kind kind, Step& step);
    int Entry(Kind kind, CDataAppointment& record, BOOL bNew, CStringList& users);
    template <class Choice> int Filter(Kind kind, Choice& choice, std::function<void(Choice&)> Step::*pEdit);

    std::deque<Step> m_script;
};
