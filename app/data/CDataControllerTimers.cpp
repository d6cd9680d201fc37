// The data controller's reminder timers: one timer per entry of the current user in the timer job,
// under the entry's record id, and the signals of the job turned into messages to the main window.
#include "CDataController.h"

#include <algorithm>
#include <atomic>

#include "CDataAppointment.h"
#include "CDataApplication.h"
#include "CDataDocument.h"
#include "CDataMainFrame.h"
#include "CDateValue.h"
#include "CTimerLibrary.h"
#include "Recurrence.h"

namespace {

const int kTenYears = 10;

std::atomic<CDataController*> s_pCallbackController{nullptr};

// The date part of one value with the time of day of another.
COleDateTime DateWithTimeOf(const COleDateTime& date, const COleDateTime& time)
{
    return COleDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), time.GetHour(), time.GetMinute(),
                        time.GetSecond());
}

CDateValue Midnight(long nDay) { return CDateValue(nDay, 0); }

} // namespace

void CDataController::RegisterTimerCallback(CDataController* pController, CDataController* pExpected)
{
    if (pExpected == NULL)
        s_pCallbackController = pController;
    else
        s_pCallbackController.compare_exchange_strong(pExpected, pController);
}

int CDataController::ScheduleReminderTimer(CItemVersion* pKey, CDataAppointment& record,
                                           const COleDateTime& occurrence)
{
    if (record.m_strUser != GetCurrentUser())
        return 1;
    const CDataSerienTermin& pattern = record.m_pattern;
    const long nId = pKey->GetRecordId();
    const int nLead = (int)record.m_nRemindSpan;
    const CDateValue start(pattern.m_nPatternStart, pattern.m_nStartTime);

    if (!record.m_bSeries) {
        const long nDueDay = record.m_bTodo ? pattern.m_nPatternEnd : pattern.m_nPatternStart;
        m_pTimers->AddFixed(m_nTimerJob, CDateValue(nDueDay, pattern.m_nStartTime), nId, nLead);
        return 1;
    }

    CDateValue end;
    if (pattern.m_bNoEnd)
        end.SetDateTime(2199, 12, 31, 0, 0, 0);
    else if (pattern.m_bDefaultEnd) {
        end = start;
        end.AddYears(kTenYears);
    } else
        end = Midnight(pattern.m_nPatternEnd);

    COleDateTime first = DateWithTimeOf(occurrence, start);
    if (record.m_dtNextOccurrence.GetStatus() == COleDateTime::valid)
        first = DateWithTimeOf(record.m_dtNextOccurrence, start);

    // An interval below 1 repeats nothing: the day index holds only the first days (one per
    // weekday of a weekly series), and the timer, stepping by 1, ends on the last of them.
    int nEvery = 0;
    switch (pattern.m_nType) {
    case CDataSerienTermin::daily:
        nEvery = pattern.m_bEveryWorkday ? 1 : (short)pattern.m_nDailyInterval;
        break;
    case CDataSerienTermin::weekly:
        nEvery = (short)pattern.m_nWeeklyInterval;
        break;
    case CDataSerienTermin::monthly:
        nEvery = (short)pattern.m_nMonthlyInterval;
        break;
    default:
        nEvery = 1;
        break;
    }
    if (nEvery < 1) {
        CList<DWORD, DWORD> days(16);
        long nFirst = 0;
        ExpandRecurrence(pattern, days, nFirst);
        long nLast = nFirst;
        for (POSITION pos = days.GetHeadPosition(); pos != NULL;)
            nLast = std::max<long>(nLast, (long)days.GetNext(pos));
        if (Midnight(nLast) < end)
            end = Midnight(nLast);
        nEvery = 1;
    }

    switch (pattern.m_nType) {
    case CDataSerienTermin::daily:
        if (pattern.m_bEveryWorkday)
            m_pTimers->AddCyclicDay(m_nTimerJob, nId, first, end, 1, 1, nLead);
        else
            m_pTimers->AddCyclicDay(m_nTimerJob, nId, first, end, 0, nEvery, nLead);
        break;
    case CDataSerienTermin::weekly: {
        int weekdays[8] = {0};
        for (int i = 0; i < 7; ++i)
            weekdays[i + 1] = pattern.m_bWeekdays[i];
        m_pTimers->AddCyclicWeekByDay(m_nTimerJob, nId, first, end, nEvery, weekdays, nLead);
        break;
    }
    case CDataSerienTermin::monthly:
        if (pattern.m_bMonthlyByDay)
            m_pTimers->AddCyclicMonth(m_nTimerJob, nId, first, end, nEvery, (short)pattern.m_nDayOfMonth, nLead);
        else
            m_pTimers->AddCyclicMonthExt(m_nTimerJob, nId, first, end, (short)pattern.m_nInstance - 1,
                                         (short)pattern.m_nWeekday, nEvery, nLead);
        break;
    case CDataSerienTermin::yearly:
        if (pattern.m_bYearlyByDate)
            m_pTimers->AddCyclicYearDayInMonth(m_nTimerJob, nId, first, end, (short)pattern.m_nMonth,
                                               (short)pattern.m_nDayOfMonth, nLead);
        else
            m_pTimers->AddCyclicYearExt(m_nTimerJob, nId, first, end, (short)pattern.m_nMonth,
                                        (short)pattern.m_nInstance - 1, (short)pattern.m_nWeekday, nLead);
        break;
    }
    return 1;
}

int CALLBACK CDataController::TimerMessageCallback(int nType, const TimerInfo* pInfo)
{
    if (pInfo == NULL)
        return 0;
    CDataApplication* pApp = CDataApplication::Get();
    CDataDocument* pDocument = pApp != NULL ? pApp->GetDocument() : NULL;
    if (pDocument != NULL && !pDocument->IsReminderOn())
        return 0;
    CDataMainFrame* pFrame = pApp != NULL ? pApp->GetMainFrame() : NULL;
    const HWND hMain = pFrame != NULL ? pFrame->GetFrameWindow() : NULL;
    UINT nMessage;
    switch (nType) {
    case TIMER_SIGNAL_DUE:
        nMessage = CDataMainFrame::msgDue;
        break;
    case TIMER_SIGNAL_FINISHED:
        nMessage = CDataMainFrame::msgFinished;
        break;
    case TIMER_SIGNAL_NEXT: {
        if (hMain == NULL || pInfo->lStatus != TIMER_STATUS_VALID)
            return 0;
        if (CDataController* pController = s_pCallbackController.load()) {
            COleDateTime due(pInfo->dtTime);
            pController->m_dueMap.SetAt((DWORD)pInfo->lTimerId, due);
        }
        nMessage = CDataMainFrame::msgNextScheduled;
        break;
    }
    default:
        return 0;
    }
    if (hMain != NULL)
        ::SendNotifyMessageA(hMain, nMessage, 0, (LPARAM)pInfo->lTimerId);
    return 0;
}

BOOL CDataController::LookupDueTime(long nRecordId, COleDateTime& due) const
{
    return m_dueMap.Lookup((DWORD)nRecordId, due);
}
