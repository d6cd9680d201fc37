#include "CScriptedDialogs.h"

#include <gtest/gtest.h>

bool CScriptedDialogs::NextStep(Kind kind, Step& step)
{
    if (m_script.empty()) {
        ADD_FAILURE() << "dialog " << kind << " opened without a scripted step";
        return false;
    }
    if (m_script.front().kind != kind) {
        ADD_FAILURE() << "dialog " << kind << " opened where the script expects dialog " << m_script.front().kind;
        return false;
    }
    step = m_script.front();
    m_script.pop_front();
    return true;
}

int CScriptedDialogs::Entry(Kind kind, CDataAppointment& record, BOOL bNew, CStringList& users)
{
    m_calls.push_back({kind, bNew, (LPCTSTR)record.m_strSubject});
    Step step;
    if (!NextStep(kind, step))
        return IDCANCEL;
    if (step.nResult == IDOK) {
        if (step.editRecord)
            step.editRecord(record);
        if (bNew) {
            users.RemoveAll();
            for (const std::string& strUser : step.users)
                users.AddTail(strUser.c_str());
        }
    }
    return step.nResult;
}

int CScriptedDialogs::EditAppointment(CDataAppointment& record, BOOL bNew, CStringList& users)
{
    return Entry(appointment, record, bNew, users);
}

int CScriptedDialogs::EditTodo(CDataAppointment& record, BOOL bNew, CStringList& users)
{
    return Entry(todo, record, bNew, users);
}

template <class Choice>
int CScriptedDialogs::Filter(Kind kind, Choice& choice, std::function<void(Choice&)> Step::*pEdit)
{
    m_calls.push_back({kind, FALSE, {}});
    Step step;
    if (!NextStep(kind, step))
        return IDCANCEL;
    if (step.nResult == IDOK && step.*pEdit)
        (step.*pEdit)(choice);
    return step.nResult;
}

int CScriptedDialogs::FilterAppointments(CAppointmentFilterChoice& choice)
{
    return Filter(appointmentFilter, choice, &Step::editAppointmentFilter);
}

int CScriptedDialogs::FilterTodos(CTodoFilterChoice& choice)
{
    return Filter(todoFilter, choice, &Step::editTodoFilter);
}

int CScriptedDialogs::Delegate(CString& strUser, BOOL& bMove)
{
    m_calls.push_back({delegate, FALSE, {}});
    Step step;
    if (!NextStep(delegate, step))
        return IDCANCEL;
    if (step.whileShown)
        step.whileShown();
    if (step.nResult == IDOK) {
        strUser = step.strDelegateUser.c_str();
        bMove = step.bMove;
    }
    return step.nResult;
}

CDataMultiReminderWindow* CScriptedDialogs::MakeCollectiveReminder(HWND hNotify, HWND hParent)
{
    ++m_nCollectiveMade;
    m_hCollectiveNotify = hNotify;
    m_hCollectiveParent = hParent;
    return new CTestMultiReminderWindow(hNotify, hParent, &m_reminderJournal, m_bCollectiveFails);
}
