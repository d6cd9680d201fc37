// The data controller's filters: the values handed to the schedule table's filter builder by the
// reload passes, and the reload sequence that applies a change: the affected maps are emptied
// under the busy counter, then the update thread loads them again through the new filter while
// this thread waits for it.
#include "CDataController.h"

#include "CControllerBusyGuard.h"
#include "CDataApplication.h"
#include "CDataDialogs.h"
#include "CDataDocument.h"
#include "CFrameBusyGuard.h"
#include "CMfxString.h"
#include "CMfxWaitCursor.h"
#include "CStatusProgress.h"
#include "CTimerLibrary.h"
#include "DataStrings.h"

#include <memory>

namespace {

// Progress steps of the reload sequence.
const int kFilterStep = 10;
const int kFilterPollStep = 5;
const int kLinkFilterPollStep = 10;
// The status the appointment filter dialog chooses by (acknowledged entries, or the others).
const char kStatusAcknowledged[] = "N";
// The filter dialogs' yes and no.
const char kYes[] = "1";
const char kNo[] = "0";

CDataApplication* App() { return CDataApplication::Get(); }

CDataMainFrame* MainFrame() { return App() != NULL ? App()->GetMainFrame() : NULL; }

COleDateTime NullDate()
{
    COleDateTime date;
    date.SetStatus(COleDateTime::null);
    return date;
}

// The same date, null dates being equal whatever their value.
BOOL SameDate(const COleDateTime& a, const COleDateTime& b)
{
    if (a.GetStatus() != b.GetStatus())
        return FALSE;
    return a.GetStatus() != COleDateTime::valid || a == b;
}

CString Text(LPCTSTR lpsz) { return lpsz != NULL ? lpsz : ""; }

// The condition of a yes/no item of a filter dialog ("open": none).
CString YesNo(BOOL bOpen, BOOL bYes) { return bOpen ? "" : (bYes ? kYes : kNo); }

void SetValue(CFilterValue& value, BOOL bChosen, const CString& strText)
{
    value.m_bAll = !bChosen;
    value.m_strValue = bChosen ? strText : CString();
}

} // namespace

// ---- the reload sequence ---------------------------------------------------------------------------

BOOL CDataController::WaitForUpdatePass(LONG nBegun, DWORD dwPoll, int nPolls)
{
    for (int i = 0; i < nPolls; ++i) {
        if (m_nUpdateCyclesDone > nBegun && m_nReloading == 0)
            return TRUE;
        Pause(dwPoll);
    }
    return m_nUpdateCyclesDone > nBegun && m_nReloading == 0;
}

void CDataController::RunFilterReload(const FilterReload& how, const std::function<void()>& change)
{
    PumpWaitingMessages();
    CMfxWaitCursor wait;
    CStatusProgress progress;
    progress.Begin(CMfxString(IDS_FILTER_RUNNING));
    std::unique_ptr<CFrameBusyGuard> frameBusy;
    if (!how.bLinkFilter) {
        // No reminder arrives while the entries are loaded again.
        m_pTimers->StopPolling(m_nTimerJob);
        frameBusy.reset(new CFrameBusyGuard(MainFrame()));
    }
    {
        EnterBusy();
        CControllerBusyGuard busy(*this);
        progress.Step(kFilterStep);
        Pause(m_timings.dwFilterSettle);
        // The passes read the values only while the counter is down.
        change();
        ForgetEntries(how.bAppointments, how.bTodos);
        progress.Step(kFilterStep);
    }
    // Every wake-up that begins from now on sees the counter down and loads the emptied maps in
    // full; one that began before may have passed them over.
    const LONG nBegun = m_nUpdateCyclesStarted;
    WakeUpdateThread();
    Pause(m_timings.dwFilterFirstWait);
    if (m_pUpdateThread != NULL) {
        const DWORD dwPoll = how.bLinkFilter ? m_timings.dwLinkFilterPoll : m_timings.dwFilterPoll;
        const int nPolls = how.bLinkFilter ? m_timings.nLinkFilterPolls : m_timings.nFilterPolls;
        const int nStep = how.bLinkFilter ? kLinkFilterPollStep : kFilterPollStep;
        for (int i = 0; i < nPolls && !WaitForUpdatePass(nBegun, 0, 1); ++i) {
            progress.Step(nStep);
            Pause(dwPoll);
        }
    }
    if (!how.bLinkFilter)
        m_pTimers->StartPolling(m_nTimerJob);
    frameBusy.reset();
    progress.End();
    if (CDataDocument* pDocument = App() != NULL ? App()->GetDocument() : NULL)
        pDocument->UpdateAllViews(NULL, CDataDocument::hintFilterChanged, NULL);
}

// ---- link filters ----------------------------------------------------------------------------------

int CDataController::SetAppointmentLinkFilter(int nFlags, LPCTSTR lpszLinkPath, LPCTSTR lpszLinkRecord,
                                              LPCTSTR lpszUser)
{
    if ((nFlags & (kLinkUser | kLinkRecord)) == 0)
        return 1;
    m_strPreviousFilterUser = GetFilterUser();
    const BOOL bUser = (nFlags & kLinkUser) != 0;
    RunFilterReload(FilterReload{TRUE, TRUE, bUser}, [&] {
        if (bUser) {
            CSingleLock lock(&m_filterUserLock, TRUE);
            m_strFilterUser = Text(lpszUser);
        }
        if (nFlags & kLinkRecord) {
            m_strAppointmentLinkPath = Text(lpszLinkPath);
            m_nAppointmentLinkRecord = CItemVersion::ParseNumber(Text(lpszLinkRecord));
        }
    });
    return 1;
}

int CDataController::SetTaskLinkFilter(int nFlags, LPCTSTR lpszLinkPath, LPCTSTR lpszLinkRecord, LPCTSTR lpszUser)
{
    if ((nFlags & (kLinkUser | kLinkRecord)) == 0)
        return 1;
    m_strPreviousFilterUser = GetFilterUser();
    const BOOL bUser = (nFlags & kLinkUser) != 0;
    RunFilterReload(FilterReload{TRUE, bUser, TRUE}, [&] {
        if (bUser) {
            CSingleLock lock(&m_filterUserLock, TRUE);
            m_strFilterUser = Text(lpszUser);
        }
        if (nFlags & kLinkRecord) {
            m_strTodoLinkPath = Text(lpszLinkPath);
            m_nTodoLinkRecord = CItemVersion::ParseNumber(Text(lpszLinkRecord));
        }
    });
    return 1;
}

// ---- value filters ---------------------------------------------------------------------------------

int CDataController::SetAppointmentFilter(LPCTSTR lpszStatus, LPCTSTR lpszPrivate, LPCTSTR lpszSeries,
                                          const COleDateTime& firstFrom, const COleDateTime& firstTo, BOOL bNotStatus)
{
    const CString strStatus = Text(lpszStatus), strPrivate = Text(lpszPrivate), strSeries = Text(lpszSeries);
    const BOOL bChanged = strStatus != m_strStatus || strPrivate != m_strAppointmentPrivate ||
                          strSeries != m_strSeries || !SameDate(firstFrom, m_dtFirstFrom) ||
                          !SameDate(firstTo, m_dtFirstTo) || (strStatus.IsEmpty() ? FALSE : bNotStatus) != m_bNotStatus;
    if (!bChanged && m_strAppointmentRemind.IsEmpty() && m_appointmentSubject.m_bAll && m_appointmentPartner.m_bAll)
        return 1;
    RunFilterReload(FilterReload{FALSE, TRUE, FALSE}, [&] {
        m_strStatus = strStatus;
        m_bNotStatus = strStatus.IsEmpty() ? FALSE : bNotStatus;
        m_strAppointmentPrivate = strPrivate;
        m_strSeries = strSeries;
        m_dtFirstFrom = firstFrom;
        m_dtFirstTo = firstTo;
        m_appointmentSubject = CFilterValue();
        m_appointmentPartner = CFilterValue();
        m_strAppointmentRemind.Empty();
    });
    return 1;
}

int CDataController::SetTaskFilter(LPCTSTR lpszPrioFrom, LPCTSTR lpszPrioTo, LPCTSTR lpszTodoState,
                                   const COleDateTime& lastFrom, const COleDateTime& lastTo, BOOL bNotTodoState)
{
    const CString strFrom = Text(lpszPrioFrom), strTo = Text(lpszPrioTo), strState = Text(lpszTodoState);
    const BOOL bChanged = strFrom != m_strPrioFrom || strTo != m_strPrioTo || strState != m_strTodoState ||
                          !SameDate(lastFrom, m_dtLastFrom) || !SameDate(lastTo, m_dtLastTo) ||
                          (strState.IsEmpty() ? FALSE : bNotTodoState) != m_bNotTodoState;
    if (!bChanged && m_strTodoPrivate.IsEmpty() && m_strTodoRemind.IsEmpty() && m_todoSubject.m_bAll &&
        m_todoPartner.m_bAll)
        return 1;
    RunFilterReload(FilterReload{FALSE, FALSE, TRUE}, [&] {
        m_strPrioFrom = strFrom;
        m_strPrioTo = strTo;
        m_strTodoState = strState;
        m_bNotTodoState = strState.IsEmpty() ? FALSE : bNotTodoState;
        m_dtLastFrom = lastFrom;
        m_dtLastTo = lastTo;
        m_todoSubject = CFilterValue();
        m_todoPartner = CFilterValue();
        m_strTodoPrivate.Empty();
        m_strTodoRemind.Empty();
    });
    return 1;
}

// ---- the filter dialogs ----------------------------------------------------------------------------

CString CDataController::FilterUserOfChoice(const CEntryFilterChoice& choice) const
{
    if (choice.bUserChoice)
        return choice.strUser == CMfxString(IDS_ALL_USERS) ? CString() : choice.strUser;
    // Who may not filter by other users sees their own entries.
    if ((m_nRights & kRightFilterOthers) == 0)
        return m_strCurrentUser;
    return GetFilterUser();
}

int CDataController::EditAppointmentFilter()
{
    CDataDialogs* pDialogs = App() != NULL ? App()->GetDialogs() : NULL;
    CAppointmentFilterChoice choice;
    if (pDialogs == NULL || pDialogs->FilterAppointments(choice) != IDOK)
        return 1;
    const CString strUser = FilterUserOfChoice(choice);
    // Another filter user changes the to-dos shown as well.
    const BOOL bUserChanged = strUser != GetFilterUser();
    RunFilterReload(FilterReload{FALSE, TRUE, bUserChanged}, [&] {
        SetValue(m_appointmentSubject, choice.bSubject, choice.strSubject);
        SetValue(m_appointmentPartner, choice.bPartner, choice.strPartner);
        m_strAppointmentPrivate = YesNo(choice.bPrivateOpen, choice.bPrivate);
        m_strSeries = YesNo(choice.bSeriesOpen, choice.bSeries);
        m_strAppointmentRemind = YesNo(choice.bReminderOpen, choice.bReminder);
        m_strStatus = choice.bStatusOpen ? "" : kStatusAcknowledged;
        m_bNotStatus = !choice.bStatusOpen && !choice.bAcknowledged;
        CSingleLock lock(&m_filterUserLock, TRUE);
        m_strFilterUser = strUser;
    });
    return 1;
}

int CDataController::EditTaskFilter()
{
    CDataDialogs* pDialogs = App() != NULL ? App()->GetDialogs() : NULL;
    CTodoFilterChoice choice;
    if (pDialogs == NULL || pDialogs->FilterTodos(choice) != IDOK)
        return 1;
    const CString strUser = FilterUserOfChoice(choice);
    RunFilterReload(FilterReload{TRUE, TRUE, TRUE}, [&] {
        SetValue(m_todoSubject, choice.bSubject, choice.strSubject);
        SetValue(m_todoPartner, choice.bPartner, choice.strPartner);
        m_strTodoPrivate = YesNo(choice.bPrivateOpen, choice.bPrivate);
        m_strTodoRemind = YesNo(choice.bReminderOpen, choice.bReminder);
        m_strPrioFrom = choice.bPriorityRange ? choice.strPriorityFrom : CString();
        m_strPrioTo = choice.bPriorityRange ? choice.strPriorityTo : CString();
        m_strTodoState = choice.bTodoState ? choice.strTodoState : CString();
        m_bNotTodoState = FALSE;
        CSingleLock lock(&m_filterUserLock, TRUE);
        m_strFilterUser = strUser;
    });
    return 1;
}

// ---- the filter user and the reset -----------------------------------------------------------------

int CDataController::SetFilterUser(LPCTSTR lpszUser)
{
    const CString strUser = Text(lpszUser);
    if (strUser == GetFilterUser())
        return 1;
    RunFilterReload(FilterReload{FALSE, TRUE, TRUE}, [&] {
        CSingleLock lock(&m_filterUserLock, TRUE);
        m_strFilterUser = strUser;
    });
    return 1;
}

void CDataController::ClearFilterValues()
{
    m_strAppointmentAppId.Empty();
    m_strTodoAppId.Empty();
    m_strAppointmentLinkPath.Empty();
    m_strTodoLinkPath.Empty();
    m_nAppointmentLinkRecord = m_nTodoLinkRecord = 0;
    m_strAppointmentPrivate.Empty();
    m_strTodoPrivate.Empty();
    m_strAppointmentRemind.Empty();
    m_strTodoRemind.Empty();
    m_appointmentSubject = m_appointmentPartner = m_todoSubject = m_todoPartner = CFilterValue();
    m_strStatus.Empty();
    m_bNotStatus = FALSE;
    m_strSeries.Empty();
    m_dtFirstFrom = m_dtFirstTo = m_dtLastFrom = m_dtLastTo = NullDate();
    m_strPrioFrom.Empty();
    m_strPrioTo.Empty();
    m_strTodoState.Empty();
    m_bNotTodoState = FALSE;
}

int CDataController::ResetFilters()
{
    const CString strUser = (m_nRights & kRightFilterOthers) != 0 ? m_strPreviousFilterUser : m_strCurrentUser;
    // Every map is loaded again, whether the filter user changes or not.
    RunFilterReload(FilterReload{FALSE, TRUE, TRUE}, [&] {
        ClearFilterValues();
        CSingleLock lock(&m_filterUserLock, TRUE);
        m_strFilterUser = strUser;
    });
    m_strPreviousFilterUser.Empty();
    return 1;
}
