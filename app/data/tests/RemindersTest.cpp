// The data controller's reminder results on a data directory of the test's own: acknowledging,
// postponing (the entry's new status and the postponement copy, checked in the stored rows),
// rewriting a copy, moving by a span, storing the next occurrence and postponing every open
// reminder window, with the timer calls each makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CDateValue.h"
#include "CTestReminderWindow.h"
#include "ControllerTestKit.h"
#include "DataStrings.h"

namespace {

using namespace controllertest;

class RemindersTest : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        m_app.m_frame.MakeWindow();
    }

    CDataAppointment Stored(long nId)
    {
        CDataAppointment record;
        EXPECT_TRUE(StoredRow(nId, record)) << nId;
        return record;
    }

    // The stored rows that are not the ids given.
    std::vector<long> OtherRows(const std::vector<long>& known)
    {
        std::vector<long> others;
        for (const auto& row : StoredRows())
            if (std::find(known.begin(), known.end(), row.first) == known.end())
                others.push_back(row.first);
        return others;
    }

    // The calls about the id.
    std::vector<std::string> CallsOf(long nId)
    {
        std::vector<std::string> calls;
        const std::string id = " " + std::to_string(nId);
        for (const std::string& call : m_timers.Calls()) {
            const size_t at = call.find(id);
            if (at != std::string::npos && (at + id.size() == call.size() || call[at + id.size()] == ' '))
                calls.push_back(call);
        }
        return calls;
    }

    // Minutes since the start of 1900 of the day serial and minute.
    static long long Minutes(long nDay, int nMinute) { return (long long)nDay * 1440 + nMinute; }

    static long long MinutesOf(const COleDateTime& time)
    {
        return Minutes(CDateValue(time).GetDaySerial(), time.GetHour() * 60 + time.GetMinute());
    }
};

} // namespace

// Acknowledging: STATUS "N" in the stored row, REMIND cleared for single entries only, the timer
// deleted; the remove-only mode and id 0 touch no row; an id in neither map still loses its timer.
TEST_F(RemindersTest, Acknowledge)
{
    Entry single{"Einzeln"};
    single.remind = true;
    Entry series{"Serie"};
    series.remind = true;
    series.series = true;
    series.end = "2005-03-20";
    series.pattern = Daily(1);
    Entry todo{"Aufgabe"};
    todo.todo = true;
    todo.remind = true;
    Write({single, series, todo});
    CDataController& c = Start();

    struct Case {
        const char* name;
        const char* subject;
        BOOL removeOnly;
        const char* status;
        bool remind;
    };
    const Case cases[] = {
        {"single: acknowledged, reminder off", "Einzeln", FALSE, "N", false},
        {"series: acknowledged, reminder kept", "Serie", FALSE, "N", true},
        {"to-do", "Aufgabe", FALSE, "N", false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        m_timers.Clear();
        const long nId = Id(k.subject);
        EXPECT_EQ(1, c.AcknowledgeReminder(nId, k.removeOnly));
        const CDataAppointment stored = Stored(nId);
        EXPECT_EQ(k.status, std::string(stored.m_strStatus));
        EXPECT_EQ(k.remind, stored.m_bRemind != FALSE);
        EXPECT_EQ((std::vector<std::string>{"Delete 7 " + std::to_string(nId)}), m_timers.Calls());
    }
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());

    // Only the timer, or nothing at all.
    Entry other{"Anderes"};
    other.remind = true;
    Write({other});
    m_timers.Clear();
    EXPECT_EQ(1, c.AcknowledgeReminder(Id("Anderes"), TRUE));
    EXPECT_EQ("", std::string(Stored(Id("Anderes")).m_strStatus)) << "the row stays as it was";
    EXPECT_EQ(1, c.AcknowledgeReminder(0, FALSE));
    // Not loaded yet: in neither map.
    EXPECT_EQ(1, c.AcknowledgeReminder(Id("Anderes"), FALSE));
    EXPECT_EQ("", std::string(Stored(Id("Anderes")).m_strStatus));
    EXPECT_EQ((std::vector<std::string>{"Delete 7 " + std::to_string(Id("Anderes")),
                                        "Delete 7 " + std::to_string(Id("Anderes"))}),
              m_timers.Calls());
}

// A row another station holds is not acknowledged: 0, and the timer stays.
TEST_F(RemindersTest, AcknowledgeRowHeldElsewhere)
{
    Entry single{"Einzeln"};
    single.remind = true;
    Write({single});
    CDataController& c = Start();
    CTerminTable other(m_session.get(), FALSE);
    ASSERT_NE(DB_OPEN_FAILED, other.OpenMain(m_strPath.c_str(), 0, 0));
    CTerminRecordBuffer held(&other);
    held.AttachFields();
    ASSERT_EQ(0, held.LockAndRead(other.FindRecordById(IdText(Id("Einzeln")).c_str())));
    m_timers.Clear();
    EXPECT_EQ(0, c.AcknowledgeReminder(Id("Einzeln"), FALSE));
    EXPECT_TRUE(m_timers.Calls().empty());
    held.UnlockRecord();
    EXPECT_EQ("", std::string(Stored(Id("Einzeln")).m_strStatus));
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}

// Postponing a single appointment by 15 minutes: the entry gets STATUS "D" and loses its timer;
// a new row, the copy, carries the reminder (MOVERECID = the id, STATUS "C", lead 0, start now +
// 15 minutes) and gets its fixed timer when the update thread has loaded it; the copy is in the
// map but not listed and on no day. Postponing the copy again rewrites that row.
TEST_F(RemindersTest, PostponeSingleAppointment)
{
    Entry single{"Zahnarzt"};
    single.remind = true;
    single.lead = 15;
    Write({single});
    const long nId = Id("Zahnarzt");
    CDataController& c = Start();
    m_timers.Clear();

    const CDataAppointment reminder = Stored(nId);
    const long long nBefore = MinutesOf(COleDateTime::GetCurrentTime());
    ASSERT_TRUE(c.PostponeReminder(IdText(nId).c_str(), reminder, COleDateTimeSpan(0, 0, 15, 0), 0));
    const long long nAfter = MinutesOf(COleDateTime::GetCurrentTime());
    ASSERT_TRUE(RunUpdatePass());

    EXPECT_EQ("D", std::string(Stored(nId).m_strStatus));
    const std::vector<long> copies = OtherRows({nId});
    ASSERT_EQ(1u, copies.size());
    const long nCopy = copies[0];
    CDataAppointment copy = Stored(nCopy);
    EXPECT_EQ(nId, atol(copy.m_strMovedRecordId));
    EXPECT_EQ("C", std::string(copy.m_strStatus));
    EXPECT_EQ(0, copy.m_nRemindSpan);
    EXPECT_FALSE(copy.m_bSeries);
    EXPECT_TRUE(copy.m_bRemind);
    EXPECT_EQ("Zahnarzt", std::string(copy.m_strSubject));
    const long long nDue = Minutes(copy.m_pattern.m_nPatternStart, copy.m_pattern.m_nStartTime);
    EXPECT_GE(nDue, nBefore + 15);
    EXPECT_LE(nDue, nAfter + 15);

    // The entry has no timer any more; the copy has its fixed one.
    const std::vector<std::string> entryCalls = CallsOf(nId);
    ASSERT_FALSE(entryCalls.empty());
    EXPECT_EQ(0u, std::count_if(entryCalls.begin(), entryCalls.end(),
                                [](const std::string& call) { return call.rfind("Add", 0) == 0; }));
    EXPECT_EQ((std::vector<std::string>{"AddFixed 7 " +
                                        TimerDateText(CDateValue(copy.m_pattern.m_nPatternStart,
                                                                 copy.m_pattern.m_nStartTime)) +
                                        " " + std::to_string(nCopy) + " 0"}),
              CallsOf(nCopy));
    EXPECT_TRUE(c.GetAppointmentMap().Find(nCopy));
    EXPECT_EQ((std::vector<std::string>{"Zahnarzt"}), ListSubjects(c.GetAppointmentList()));
    EXPECT_TRUE(c.GetDayIndex().GetDaysOf(nCopy).empty());
    EXPECT_EQ(1, c.GetMovedAppointmentCount());
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());

    // The copy's own reminder postponed by 30 minutes: the same row, a later start.
    m_timers.Clear();
    ASSERT_TRUE(c.PostponeReminder(IdText(nId).c_str(), copy, COleDateTimeSpan(0, 0, 30, 0), nCopy));
    ASSERT_TRUE(RunUpdatePass());
    EXPECT_EQ((std::vector<long>{nCopy}), OtherRows({nId})) << "no second copy";
    const CDataAppointment rewritten = Stored(nCopy);
    EXPECT_GE(Minutes(rewritten.m_pattern.m_nPatternStart, rewritten.m_pattern.m_nStartTime), nBefore + 30);
    EXPECT_EQ(nId, atol(rewritten.m_strMovedRecordId));
    EXPECT_EQ("C", std::string(rewritten.m_strStatus));
    const std::vector<std::string> copyCalls = CallsOf(nCopy);
    ASSERT_FALSE(copyCalls.empty());
    EXPECT_EQ(0u, copyCalls.back().rfind("AddFixed", 0)) << "the rewritten copy has its timer again";
}

// A series keeps reminding of its later occurrences: its timer is not deleted, its STATUS "D"
// keeps its reminder active, and its copy is a single row. A to-do's copy is due (pattern end)
// at now + span. A copy id whose row is gone gives a new row instead.
TEST_F(RemindersTest, PostponeSeriesAndTodo)
{
    Entry series{"Serie"};
    series.remind = true;
    series.series = true;
    series.start = "2005-03-01";
    series.end = "2005-03-20";
    series.pattern = Daily(1);
    Entry todo{"Aufgabe"};
    todo.todo = true;
    todo.remind = true;
    todo.end = "2005-03-10";
    Write({series, todo});
    CDataController& c = Start();
    m_timers.Clear();

    const long nSeries = Id("Serie");
    ASSERT_TRUE(c.PostponeReminder(IdText(nSeries).c_str(), Stored(nSeries), COleDateTimeSpan(0, 1, 0, 0), 0));
    EXPECT_EQ("D", std::string(Stored(nSeries).m_strStatus));
    // The save registers the series again with its timer (status "D" keeps a series reminding).
    const std::vector<std::string> seriesCalls = CallsOf(nSeries);
    ASSERT_FALSE(seriesCalls.empty());
    EXPECT_EQ(0u, seriesCalls.back().rfind("AddCyclicDay", 0));
    const std::vector<long> seriesCopies = OtherRows({nSeries, Id("Aufgabe")});
    ASSERT_EQ(1u, seriesCopies.size());
    const CDataAppointment seriesCopy = Stored(seriesCopies[0]);
    EXPECT_FALSE(seriesCopy.m_bSeries);
    EXPECT_EQ(nSeries, atol(seriesCopy.m_strMovedRecordId));

    const long nTodo = Id("Aufgabe");
    const long long nBefore = MinutesOf(COleDateTime::GetCurrentTime());
    // A copy id that names no row: a new row.
    ASSERT_TRUE(c.PostponeReminder(IdText(nTodo).c_str(), Stored(nTodo), COleDateTimeSpan(1, 0, 0, 0), 99));
    const std::vector<long> todoCopies = OtherRows({nSeries, nTodo, seriesCopies[0]});
    ASSERT_EQ(1u, todoCopies.size());
    const CDataAppointment todoCopy = Stored(todoCopies[0]);
    EXPECT_TRUE(todoCopy.m_bTodo);
    EXPECT_EQ("C", std::string(todoCopy.m_strStatus));
    EXPECT_GE(Minutes(todoCopy.m_pattern.m_nPatternEnd, todoCopy.m_pattern.m_nStartTime), nBefore + 1440);
    EXPECT_EQ("D", std::string(Stored(nTodo).m_strStatus));

    // An entry that is gone: nothing written.
    const size_t nRows = StoredRows().size();
    EXPECT_FALSE(c.PostponeReminder(IdText(12345).c_str(), Stored(nTodo), COleDateTimeSpan(0, 0, 5, 0), 0));
    EXPECT_EQ(nRows, StoredRows().size());
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}

// A postponement that cannot be carried out loses no reminder. Another station holds a row lock
// (stations lock row n at byte 1,000,000,000 + n of the table file): either of the row the new copy
// would be appended as, so the copy cannot be written, or of the entry's own row, so the entry
// cannot be marked after its copy was written. Either way PostponeReminder answers FALSE after
// message 40062, the entry keeps its status and its timer, and no row carries a second reminder
// (a copy written before the entry's save failed is deleted again).
TEST_F(RemindersTest, APostponementThatFailsLeavesTheEntryAndItsTimer)
{
    struct Case {
        const char* what;
        bool lockEntry;
    };
    const Case cases[] = {{"the copy cannot be written", false}, {"the entry cannot be marked", true}};
    Entry single{"Zahnarzt"};
    single.remind = true;
    single.lead = 15;
    Write({single});
    const long nId = Id("Zahnarzt");
    CDataController& c = Start();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        m_timers.Clear();
        m_log.Clear();
        const std::string strTable = m_strPath + "OX4.DBE";
        HANDLE hOther = CreateFileA(strTable.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                    OPEN_EXISTING, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, hOther);
        BYTE header[8] = {};
        DWORD nRead = 0;
        ASSERT_TRUE(ReadFile(hOther, header, sizeof header, &nRead, NULL) && nRead == sizeof header);
        const DWORD nRows = header[4] | header[5] << 8 | header[6] << 16 | (DWORD)header[7] << 24;
        const ULONGLONG nLockAt = 1000000000ULL + (test.lockEntry ? 1 : nRows + 1);
        OVERLAPPED at = {};
        at.Offset = (DWORD)nLockAt;
        at.OffsetHigh = (DWORD)(nLockAt >> 32);
        ASSERT_TRUE(LockFileEx(hOther, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at));

        const BOOL bPostponed = c.PostponeReminder(IdText(nId).c_str(), Stored(nId), COleDateTimeSpan(0, 0, 15, 0), 0);
        UnlockFileEx(hOther, 0, 1, 0, &at);
        CloseHandle(hOther);
        EXPECT_FALSE(bPostponed);
        const std::vector<std::string> texts = BoxTexts();
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), ResourceText(IDS_POSTPONE_FAILED)));

        EXPECT_EQ("", std::string(Stored(nId).m_strStatus)) << "the entry is not marked postponed";
        for (const auto& row : StoredRows())
            EXPECT_TRUE(row.first == nId || row.first == 0) << "a row with record id " << row.first;
        ASSERT_TRUE(RunUpdatePass());
        for (const std::string& call : CallsOf(nId))
            EXPECT_NE(0u, call.rfind("Delete", 0)) << "the entry keeps its timer: " << call;
        EXPECT_TRUE(c.GetAppointmentMap().Find(nId));
        EXPECT_EQ(0, c.GetMovedAppointmentCount());
        EXPECT_EQ(0, *c.GetBusyCounter());
        EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
    }
    // With the locks gone, the same postponement succeeds.
    ASSERT_TRUE(c.PostponeReminder(IdText(nId).c_str(), Stored(nId), COleDateTimeSpan(0, 0, 15, 0), 0));
    EXPECT_EQ("D", std::string(Stored(nId).m_strStatus));
    EXPECT_EQ(1u, OtherRows({nId, 0}).size());
}

// Moving by a span: an appointment keeps its duration up to 23:59, a to-do's due time moves; the
// moved entry gets STATUS "C", its new day and its new timer.
TEST_F(RemindersTest, MoveBySpan)
{
    struct Case {
        const char* name;
        Entry entry;
        COleDateTimeSpan span;
        const char* day;
        int start;
        int end;
    };
    auto appointment = [](const char* subject, int start, int end) {
        Entry e{subject};
        e.remind = true;
        e.startTime = start;
        e.endTime = end;
        return e;
    };
    Entry todo{"Aufgabe"};
    todo.todo = true;
    todo.remind = true;
    todo.end = "2005-03-10";
    todo.startTime = 600;
    const Case cases[] = {
        {"two hours, ending at 23:30: end clamped", appointment("Spaet", 1290, 1410), COleDateTimeSpan(0, 2, 0, 0),
         "2005-03-01", 1410, 1439},
        {"past midnight: the next day", appointment("Nacht", 1380, 1410), COleDateTimeSpan(0, 2, 0, 0), "2005-03-02",
         60, 90},
        {"one day back", appointment("Frueh", 480, 540), COleDateTimeSpan(-1, 0, 0, 0), "2005-02-28", 480, 540},
        {"to-do: its due time", todo, COleDateTimeSpan(0, 3, 30, 0), "2005-03-10", 810, -1},
    };
    std::vector<Entry> entries;
    for (const Case& k : cases)
        entries.push_back(k.entry);
    Write(entries);
    CDataController& c = Start();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const long nId = Id(k.entry.subject);
        m_timers.Clear();
        ASSERT_TRUE(c.MoveItemBySpan(IdText(nId).c_str(), Stored(nId), k.span));
        const CDataAppointment moved = Stored(nId);
        EXPECT_EQ("C", std::string(moved.m_strStatus));
        const long nDay = k.entry.todo ? moved.m_pattern.m_nPatternEnd : moved.m_pattern.m_nPatternStart;
        EXPECT_EQ(k.day, DayText(nDay));
        EXPECT_EQ(k.start, moved.m_pattern.m_nStartTime);
        if (!k.entry.todo) {
            EXPECT_EQ(k.end, moved.m_pattern.m_nEndTime);
            EXPECT_EQ(moved.m_pattern.m_nPatternStart, moved.m_pattern.m_nPatternEnd);
            EXPECT_EQ((std::vector<std::string>{k.day}), DaysOf(k.entry.subject));
        }
        const std::vector<std::string> calls = CallsOf(nId);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ("Delete 7 " + std::to_string(nId), calls.front());
        EXPECT_EQ("AddFixed 7 " + TimerDateText(CDateValue(nDay, k.start)) + " " + std::to_string(nId) + " 0",
                  calls.back());
    }
}

// The next occurrence goes into D_NEXT_OC of the entry's row; id 0, a date that is not valid and
// an id in neither map change nothing.
TEST_F(RemindersTest, SetNextOccurrence)
{
    Entry series{"Serie"};
    series.remind = true;
    series.series = true;
    series.start = "2005-03-01";
    series.end = "2005-06-30";
    series.pattern = Daily(7);
    Entry todo{"Aufgabe"};
    todo.todo = true;
    Write({series, todo});
    CDataController& c = Start();
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    const COleDateTime next = CDateValue(Day("2005-03-15"), 0);
    EXPECT_FALSE(c.SetNextOccurrence(0, next));
    EXPECT_FALSE(c.SetNextOccurrence(Id("Serie"), invalid));
    EXPECT_FALSE(c.SetNextOccurrence(4711, next));
    EXPECT_NE(COleDateTime::valid, Stored(Id("Serie")).m_dtNextOccurrence.GetStatus());

    m_timers.Clear();
    EXPECT_TRUE(c.SetNextOccurrence(Id("Serie"), next));
    EXPECT_EQ("2005-03-15", DayText(CDateValue(Stored(Id("Serie")).m_dtNextOccurrence).GetDaySerial()));
    // The series' timer starts at its next occurrence.
    EXPECT_EQ("AddCyclicDay 7 " + std::to_string(Id("Serie")) + " 2005-03-15 09:00 2005-06-30 00:00 0 7 0",
              CallsOf(Id("Serie")).back());
    EXPECT_TRUE(c.SetNextOccurrence(Id("Aufgabe"), CDateValue(Day("2005-04-01"), 0)));
    EXPECT_EQ("2005-04-01", DayText(CDateValue(Stored(Id("Aufgabe")).m_dtNextOccurrence).GetDaySerial()));
}

// Postponing every open single reminder window: each by its own span, the windows of the
// reminders postponed go, the timer job's polling stops meanwhile and a progress dialog runs.
// Without windows nothing happens; a reminder whose entry is gone keeps its window and gives
// message 40062.
TEST_F(RemindersTest, PostponeEveryOpenReminder)
{
    Entry first{"Erster"};
    first.remind = true;
    Entry second{"Zweiter"};
    second.remind = true;
    second.todo = true;
    Write({first, second});
    CDataController& c = Start();
    EXPECT_EQ(0, c.PostponeReminders()) << "no window open";
    EXPECT_TRUE(m_log.Records("AbortDlgStart").empty());

    CTestReminderWindow::Journal& journal = m_app.m_dialogs.m_reminderJournal;
    auto open = [&](long nId, int nMinutes) {
        CDataAppointment record;
        if (nId != 4711)
            record = Stored(nId);
        auto* pWindow = new CTestReminderWindow(nId, record, &journal);
        pWindow->m_span = COleDateTimeSpan(0, 0, nMinutes, 0);
        c.GetReminderWindows().SetAt((DWORD)nId, pWindow);
        return pWindow;
    };
    open(Id("Erster"), 10);
    open(Id("Zweiter"), 20)->m_dtNext = CDateValue(Day("2005-05-01"), 0);
    m_timers.Clear();
    const long long nBefore = MinutesOf(COleDateTime::GetCurrentTime());
    EXPECT_EQ(1, c.PostponeReminders());
    EXPECT_TRUE(c.GetReminderWindows().IsEmpty());
    std::sort(journal.begin(), journal.end());
    EXPECT_EQ((std::vector<std::string>{"delete " + std::to_string(Id("Erster")),
                                        "delete " + std::to_string(Id("Zweiter"))}),
              journal);
    const std::vector<std::string> calls = m_timers.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ("StopPolling 7", calls.front());
    EXPECT_EQ("StartPolling 7", calls.back());
    EXPECT_EQ("D", std::string(Stored(Id("Erster")).m_strStatus));
    EXPECT_EQ("2005-05-01", DayText(CDateValue(Stored(Id("Zweiter")).m_dtNextOccurrence).GetDaySerial()));
    std::vector<long long> dues;
    for (long nCopy : OtherRows({Id("Erster"), Id("Zweiter")})) {
        const CDataAppointment copy = Stored(nCopy);
        dues.push_back(Minutes(copy.m_bTodo ? copy.m_pattern.m_nPatternEnd : copy.m_pattern.m_nPatternStart,
                               copy.m_pattern.m_nStartTime) -
                       nBefore);
    }
    std::sort(dues.begin(), dues.end());
    ASSERT_EQ(2u, dues.size());
    EXPECT_TRUE(dues[0] >= 10 && dues[0] <= 11) << dues[0];
    EXPECT_TRUE(dues[1] >= 20 && dues[1] <= 21) << dues[1];
    const auto progress = m_log.Records("AbortDlgStart");
    ASSERT_EQ(1u, progress.size());
    EXPECT_EQ(ResourceText(IDS_POSTPONING_REMINDERS), progress[0].size() > 2 ? progress[0][2] : "");
    EXPECT_TRUE(Boxes().empty());

    // An entry that is no longer there: its window stays, and the user is told.
    journal.clear();
    open(4711, 5);
    EXPECT_EQ(0, c.PostponeReminders());
    EXPECT_EQ(1, c.GetReminderWindows().GetCount());
    EXPECT_TRUE(journal.empty());
    const auto boxes = Boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(ResourceText(IDS_POSTPONE_FAILED), boxes.back().size() > 2 ? boxes.back()[2] : "");
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}
