// The data controller tests' fixture: entries as the dialogs fill them, written into the schedule
// table of a data directory of the test's own, a controller on that directory with the recording
// timer library and the doubles of the application, and ways to look at the maps, lists, day
// index and stored rows.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CDataAppointment.h"
#include "CDataController.h"
#include "CRecordingTimerLibrary.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "CTestDataApp.h"
#include "DataTestKit.h"
#include "DaySerials.h"

namespace controllertest {

using datatest::Day;
using datatest::DayText;

inline constexpr char kUser[] = "Anna";
inline constexpr char kOtherUser[] = "Bert";

// An entry as the dialogs would fill it.
struct Entry {
    std::string subject;
    std::string user = kUser;
    bool todo = false;
    bool series = false;
    const char* start = "2005-03-01";
    const char* end = "2005-03-01";
    int startTime = 540;
    int endTime = -1;
    bool remind = false;
    bool isPrivate = false;
    int lead = 0;
    std::string status;
    std::string movedId;
    std::string todoState;
    const char* nextOccurrence = nullptr;
    // Series: the pattern after the dates are set.
    std::function<void(CDataSerienTermin&)> pattern;
    std::string partner;
    std::string place;
    std::string priority;
    // The linked record: database path and record id.
    std::string dbPath;
    long dbRecId = 0;
    // A TYPE written over the one the entry gives.
    std::string type;
    // The linked application (APP_ID).
    std::string appId;
};

// The record of the entry.
CDataAppointment Record(const Entry& e);

// Patterns.
inline auto Daily(int nInterval)
{
    return [nInterval](CDataSerienTermin& p) {
        p.m_nType = CDataSerienTermin::daily;
        p.m_nDailyInterval = (WORD)nInterval;
    };
}

inline auto NoEnd(std::function<void(CDataSerienTermin&)> f)
{
    return [f](CDataSerienTermin& p) {
        f(p);
        p.m_bNoEnd = TRUE;
    };
}

inline auto DefaultEnd(std::function<void(CDataSerienTermin&)> f)
{
    return [f](CDataSerienTermin& p) {
        f(p);
        p.m_bDefaultEnd = TRUE;
    };
}

inline auto Weekly(int nInterval, const char* pszDays)
{
    return [nInterval, pszDays](CDataSerienTermin& p) {
        p.m_nType = CDataSerienTermin::weekly;
        p.m_nWeeklyInterval = (WORD)nInterval;
        for (int i = 0; i < 7; ++i)
            p.m_bWeekdays[i] = pszDays[i] == '1';
    };
}

inline auto MonthlyByDay(int nInterval, int nDay)
{
    return [nInterval, nDay](CDataSerienTermin& p) {
        p.m_nType = CDataSerienTermin::monthly;
        p.m_bMonthlyByDay = TRUE;
        p.m_nMonthlyInterval = (WORD)nInterval;
        p.m_nDayOfMonth = (WORD)nDay;
    };
}

inline auto MonthlyByWeekday(int nInterval, int nInstance, int nWeekday)
{
    return [=](CDataSerienTermin& p) {
        p.m_nType = CDataSerienTermin::monthly;
        p.m_bMonthlyByDay = FALSE;
        p.m_nMonthlyInterval = (WORD)nInterval;
        p.m_nInstance = (WORD)nInstance;
        p.m_nWeekday = (WORD)nWeekday;
    };
}

inline auto YearlyByDate(int nMonth, int nDay)
{
    return [=](CDataSerienTermin& p) {
        p.m_nType = CDataSerienTermin::yearly;
        p.m_bYearlyByDate = TRUE;
        p.m_nMonth = (WORD)nMonth;
        p.m_nDayOfMonth = (WORD)nDay;
    };
}

inline auto YearlyByWeekday(int nMonth, int nInstance, int nWeekday)
{
    return [=](CDataSerienTermin& p) {
        p.m_nType = CDataSerienTermin::yearly;
        p.m_bYearlyByDate = FALSE;
        p.m_nMonth = (WORD)nMonth;
        p.m_nInstance = (WORD)nInstance;
        p.m_nWeekday = (WORD)nWeekday;
    };
}

inline std::string IdText(long nId)
{
    char szId[16];
    snprintf(szId, sizeof szId, "%010ld", nId);
    return szId;
}

// The text of a string resource.
inline std::string ResourceText(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return (LPCTSTR)strText;
}

// Waits short enough for tests: the update thread wakes only when asked, the busy counter and
// ReloadNow look every few milliseconds, no pauses after saving and deleting.
inline CControllerTimings TestTimings()
{
    CControllerTimings timings;
    timings.dwUpdateInterval = INFINITE;
    timings.dwBusyPoll = 2;
    timings.dwReloadNowPoll = 5;
    timings.nReloadNowPolls = 6000;
    timings.dwSavePause = timings.dwSeriesPause = timings.dwNoticePause = timings.dwDeletePause = 0;
    timings.dwFilterSettle = timings.dwFilterFirstWait = 0;
    timings.dwFilterPoll = timings.dwLinkFilterPoll = 5;
    timings.nFilterPolls = timings.nLinkFilterPolls = 6000;
    return timings;
}

// A data directory of the test's own with a data controller on it.
class ControllerTest : public datatest::DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        m_app.m_users.m_strCurrentUser = kUser;
        m_app.CreateSettings();
        m_strPath = m_dir->Path() + "\\";
    }

    void TearDown() override { m_controller.reset(); }

    // Writes the entries into the schedule table of the data directory (made when missing); the
    // record id of each, by subject.
    void Write(const std::vector<Entry>& entries)
    {
        CTerminTable table(m_session.get(), FALSE);
        table.SetUserName(kUser);
        ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        for (const Entry& e : entries) {
            CTerminRecordBuffer row(&table);
            ASSERT_EQ(0, row.AttachFields());
            CDataAppointment a = Record(e);
            row.PutAppointment(a);
            if (!e.type.empty())
                row.SetFieldValue("TYPE", e.type.c_str());
            ASSERT_EQ(0, row.WriteRecord()) << e.subject;
            m_ids[e.subject] = atol(table.FieldValue("RECORDID", TRUE));
            row.UnlockRecord();
        }
    }

    // The controller on the data directory, with the recording timer library and short waits
    // (the update thread wakes only when asked).
    CDataController& Start()
    {
        m_controller = std::make_unique<CDataController>(m_strPath.c_str(), kUser, &m_timers, &m_timings);
        return *m_controller;
    }

    // Wakes the update thread and waits until that wake-up has ended (its passes run unless the
    // busy counter is raised); false after 30 s.
    bool RunUpdatePass()
    {
        const LONG nBefore = m_controller->GetUpdateCycles();
        m_controller->WakeUpdateThread();
        const DWORD dwStart = GetTickCount();
        while (m_controller->GetUpdateCycles() == nBefore)
            if (GetTickCount() - dwStart > 30000)
                return false;
            else
                Sleep(1);
        return true;
    }

    // The stored row of the record id, read through a table instance of the test's own; false when
    // the table has no such row (or a deleted one).
    bool StoredRow(long nId, CDataAppointment& record, std::string* pFootprint = nullptr)
    {
        CTerminTable table(m_session.get(), TRUE);
        if (table.OpenMain(m_strPath.c_str(), 0, 0) == DB_OPEN_FAILED)
            return false;
        const long nRecNo = table.FindRecordById(IdText(nId).c_str());
        if (nRecNo <= 0)
            return false;
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        if (row.ReadRecord(nRecNo) != 0)
            return false;
        row.GetAppointment(record);
        if (pFootprint != nullptr)
            *pFootprint = (LPCTSTR)row.FieldValue("FOOTPRINT");
        return true;
    }

    // The ids of the stored rows that are not deleted, with their subjects, in record order.
    std::vector<std::pair<long, std::string>> StoredRows()
    {
        std::vector<std::pair<long, std::string>> rows;
        CTerminTable table(m_session.get(), FALSE);
        if (table.OpenMain(m_strPath.c_str(), 0, 0) == DB_OPEN_FAILED)
            return rows;
        table.SetOrder(0);
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        for (table.GoTo(0); !table.IsEof(); table.Skip(1))
            if (row.ReadRecord((long)table.GetRecNo()) == 0)
                rows.emplace_back(atol(row.FieldValue("RECORDID")), (LPCTSTR)row.FieldValue("BETREFF"));
        return rows;
    }

    // The texts of the boxes shown so far.
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : Boxes())
            texts.push_back(box.size() > 2 ? box[2] : "");
        return texts;
    }

    long Id(const std::string& subject) { return m_ids.at(subject); }

    // The subjects of the ids.
    std::set<std::string> Subjects(const std::vector<long>& ids)
    {
        std::set<std::string> subjects;
        for (long nId : ids)
            for (const auto& entry : m_ids)
                if (entry.second == nId)
                    subjects.insert(entry.first);
        return subjects;
    }

    std::set<std::string> MapSubjects(CItemMap& map)
    {
        std::vector<long> ids;
        for (const CItemVersionRef& key : map.GetKeys())
            ids.push_back(key->GetRecordId());
        return Subjects(ids);
    }

    std::vector<std::string> ListSubjects(CDataController::CIdList& list)
    {
        CArray<DWORD, DWORD> ids;
        list.GetSnapshot(ids);
        std::vector<std::string> subjects;
        for (int i = 0; i < ids.GetSize(); ++i)
            for (const auto& entry : m_ids)
                if (entry.second == (long)ids[i])
                    subjects.push_back(entry.first);
        return subjects;
    }

    std::vector<std::string> DaysOf(const std::string& subject)
    {
        std::vector<std::string> days;
        for (long nDay : m_controller->GetDayIndex().GetDaysOf(Id(subject)))
            days.push_back(DayText(nDay));
        return days;
    }

    CTestDataApp m_app;
    CRecordingTimerLibrary m_timers;
    CControllerTimings m_timings = TestTimings();
    std::string m_strPath;
    std::map<std::string, long> m_ids;
    std::unique_ptr<CDataController> m_controller;
};

} // namespace controllertest
