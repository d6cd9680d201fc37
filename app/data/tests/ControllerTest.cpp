// The data controller on a data directory of its own: what its start loads (maps, lists, moved
// counts, the day index after the occurrence thread), the timer calls it makes (through a
// recording timer library), the reminder timer of each kind of entry and the signals of the job,
// the rights, a start whose tables do not open, the update event and thread, the reading walks,
// and the shut-down while an occurrence thread and a reload pass run.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "ControllerTestKit.h"

namespace {

using namespace controllertest;
using datatest::Day;
using datatest::DayText;

// The data directory of the start tests: singles, series of each length, moved rows, rows of
// another user, to-dos.
std::vector<Entry> Fixture()
{
    std::vector<Entry> entries;
    auto add = [&](Entry e) { entries.push_back(e); };
    Entry e;
    e = Entry{"Zahnarzt"}; e.remind = true; e.lead = 15; add(e);
    e = Entry{"Mittag"}; e.startTime = 720; add(e);
    e = Entry{"Fremd"}; e.user = kOtherUser; e.remind = true; add(e);
    e = Entry{"Verschoben"}; e.start = e.end = "2005-03-02"; e.startTime = 660; e.remind = true; e.status = "C";
    e.movedId = "1234567890"; add(e);
    e = Entry{"Quittiert"}; e.movedId = "1234567891"; e.status = "N"; add(e);
    e = Entry{"Taeglich"}; e.series = true; e.start = "2005-01-01"; e.startTime = 480; e.remind = true; e.lead = 30;
    e.pattern = NoEnd(Daily(1)); add(e);
    e = Entry{"Jour fixe"}; e.series = true; e.start = "2003-01-01"; e.end = "2003-01-31"; e.startTime = 600;
    e.remind = true; e.lead = 5; e.pattern = Weekly(2, "0101000"); add(e);
    e = Entry{"Fest"}; e.series = true; e.start = "2005-01-01"; e.startTime = 420; e.remind = true; e.lead = 60;
    e.pattern = DefaultEnd(YearlyByWeekday(5, 5, 2)); add(e);
    e = Entry{"Monatlich"}; e.series = true; e.start = "2005-01-15"; e.end = "2005-12-31"; e.startTime = 900;
    e.remind = true; e.nextOccurrence = "2005-06-15"; e.pattern = MonthlyByDay(1, 15); add(e);
    e = Entry{"Ohne Tag"}; e.series = true; e.start = "2005-01-01"; e.end = "2005-12-31"; e.pattern = MonthlyByDay(1, 32);
    add(e);
    e = Entry{"Unbekannt"}; e.series = true; e.start = "2005-01-01"; e.end = "2005-12-31";
    e.pattern = [](CDataSerienTermin& p) { p.m_nType = 7; };
    e.type = "AD"; add(e);
    e = Entry{"Aufgabe"}; e.todo = true; e.end = "2005-03-10"; e.startTime = 600; e.remind = true; e.lead = 20;
    add(e);
    e = Entry{"Erledigt"}; e.todo = true; e.remind = true; e.todoState = "E"; add(e);
    e = Entry{"Fremde Aufgabe"}; e.todo = true; e.user = kOtherUser; add(e);
    e = Entry{"Verschobene Aufgabe"}; e.todo = true; e.movedId = "1234567892"; e.status = "C"; add(e);
    return entries;
}

} // namespace

using controllertest::ControllerTest;

TEST_F(ControllerTest, StartLoadsWhatTheFilterAdmits)
{
    Write(Fixture());
    CDataController& c = Start();
    ASSERT_TRUE(c.IsOpen());
    EXPECT_EQ(CString(kUser), c.GetFilterUser());

    EXPECT_EQ((std::set<std::string>{"Zahnarzt", "Mittag", "Verschoben", "Taeglich", "Jour fixe", "Fest", "Monatlich",
                                     "Ohne Tag"}),
              MapSubjects(c.GetAppointmentMap()))
        << "other users' rows, acknowledged moved rows and unknown patterns are not loaded";
    EXPECT_EQ((std::set<std::string>{"Aufgabe", "Erledigt", "Verschobene Aufgabe"}), MapSubjects(c.GetTaskMap()));
    // The lists hold every row that is not moved, in the order of the filter's index (user, first
    // day, time, type); a series of an unknown pattern is listed, though not in the map.
    EXPECT_EQ((std::vector<std::string>{"Jour fixe", "Fest", "Taeglich", "Unbekannt", "Ohne Tag", "Monatlich", "Zahnarzt",
                                        "Mittag"}),
              ListSubjects(c.GetAppointmentList()));
    EXPECT_EQ((std::vector<std::string>{"Erledigt", "Aufgabe"}), ListSubjects(c.GetTaskList()));
    EXPECT_EQ(1, c.GetMovedAppointmentCount());
    EXPECT_EQ(1, c.GetMovedTaskCount());

    ASSERT_TRUE(c.WaitForOccurrences(60000));
    EXPECT_EQ(0, c.GetPendingOccurrenceSeries());
    EXPECT_EQ((std::vector<std::string>{"2005-03-01"}), DaysOf("Zahnarzt"));
    EXPECT_EQ((std::vector<std::string>{"2005-03-01"}), DaysOf("Mittag"));
    EXPECT_TRUE(DaysOf("Verschoben").empty()) << "a moved single is on no day";
    EXPECT_TRUE(DaysOf("Ohne Tag").empty()) << "registered with no day";
    EXPECT_EQ((std::vector<std::string>{"2003-01-01", "2003-01-06", "2003-01-15", "2003-01-20", "2003-01-29"}),
              DaysOf("Jour fixe"));
    EXPECT_EQ((std::vector<std::string>{"2005-05-30", "2006-05-29", "2007-05-28", "2008-05-26", "2009-05-25",
                                        "2010-05-31", "2011-05-30", "2012-05-28", "2013-05-27", "2014-05-26"}),
              DaysOf("Fest"));
    EXPECT_EQ(12u, DaysOf("Monatlich").size());
    const std::vector<std::string> daily = DaysOf("Taeglich");
    ASSERT_EQ((size_t)(Day("2099-12-31") - Day("2005-01-01") + 1), daily.size()) << "spread by its own thread";
    EXPECT_EQ("2005-01-01", daily.front());
    EXPECT_EQ("2099-12-31", daily.back());
    EXPECT_EQ(3, c.GetDayItemCount(Day("2005-03-01"))) << "two singles and the daily series";
    EXPECT_EQ(0, c.GetDayItemCount(Day("2004-03-01")));

    EXPECT_EQ("0000", std::string(c.GetItemFootprint(IdText(Id("Zahnarzt")).c_str())));
    EXPECT_EQ("", std::string(c.GetItemFootprint(IdText(Id("Fremd")).c_str())));
    EXPECT_EQ("", std::string(c.GetItemFootprint("")));

    m_controller.reset();
    EXPECT_EQ(CString(kUser), m_app.GetSettings()->m_strFilterUser) << "the filter user is kept in the settings";
}

TEST_F(ControllerTest, StartMakesTheTimerCallsOfEveryEntry)
{
    Write(Fixture());
    Start();
    std::vector<std::string> calls = m_timers.Calls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ((std::vector<std::string>{"JobOpen", "SetPollTime 7 30", "SetMessageCallback 7 set"}),
              std::vector<std::string>(calls.begin(), calls.begin() + 3));
    EXPECT_EQ("StartPolling 7", calls.back());
    std::vector<std::string> registered(calls.begin() + 3, calls.end() - 1);
    std::sort(registered.begin(), registered.end());
    std::vector<std::string> expected = {
        "AddFixed 7 2005-03-01 09:00 " + std::to_string(Id("Zahnarzt")) + " 15",
        "AddFixed 7 2005-03-02 11:00 " + std::to_string(Id("Verschoben")) + " 0",
        "AddCyclicDay 7 " + std::to_string(Id("Taeglich")) + " 2005-01-01 08:00 2199-12-31 00:00 0 1 30",
        "AddCyclicWeekByDay 7 " + std::to_string(Id("Jour fixe")) + " 2003-01-01 10:00 2003-01-31 00:00 2 00101000 5",
        "AddCyclicYearExt 7 " + std::to_string(Id("Fest")) + " 2005-05-30 07:00 2015-01-01 00:00 5 4 2 60",
        "AddCyclicMonth 7 " + std::to_string(Id("Monatlich")) + " 2005-06-15 15:00 2005-12-31 00:00 1 15 0",
        "AddFixed 7 2005-03-10 10:00 " + std::to_string(Id("Aufgabe")) + " 20",
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, registered);

    m_timers.Clear();
    m_controller.reset();
    EXPECT_EQ((std::vector<std::string>{"StopPolling 7", "JobClose 7"}), m_timers.Calls());
}

// The one timer call of each kind of entry (the record's values as the timer functions take them).
TEST_F(ControllerTest, ReminderTimerOfEachKindOfEntry)
{
    CDataController& c = Start();
    ASSERT_TRUE(c.IsOpen());
    struct Case {
        const char* name;
        Entry entry;
        const char* occurrence;
        std::string call; // empty: none
    };
    auto series = [](const char* start, const char* end, std::function<void(CDataSerienTermin&)> pattern) {
        Entry e;
        e.series = true;
        e.start = start;
        e.end = end;
        e.startTime = 480;
        e.pattern = pattern;
        return e;
    };
    Entry single;
    single.lead = 15;
    Entry todo;
    todo.todo = true;
    todo.end = "2005-03-10";
    todo.startTime = 600;
    Entry other;
    other.user = kOtherUser;
    Entry next = series("2005-01-15", "2005-12-31", MonthlyByDay(1, 15));
    next.nextOccurrence = "2005-06-15";
    const Case cases[] = {
        {"single appointment: its start", single, "2005-04-01", "AddFixed 7 2005-03-01 09:00 4711 15"},
        {"to-do: its due day", todo, "2005-04-01", "AddFixed 7 2005-03-10 10:00 4711 0"},
        {"another user's entry gets none", other, "2005-04-01", ""},
        {"working days without end", series("2005-03-07", "2005-03-07", NoEnd([](CDataSerienTermin& p) {
                                                p.m_nType = CDataSerienTermin::daily;
                                                p.m_bEveryWorkday = TRUE;
                                            })),
         "2005-03-07", "AddCyclicDay 7 4711 2005-03-07 08:00 2199-12-31 00:00 1 1 0"},
        {"every three days", series("2005-03-01", "2005-06-30", Daily(3)), "2005-03-01",
         "AddCyclicDay 7 4711 2005-03-01 08:00 2005-06-30 00:00 0 3 0"},
        {"Tuesday and Saturday", series("2005-03-01", "2005-06-30", Weekly(1, "0010001")), "2005-03-01",
         "AddCyclicWeekByDay 7 4711 2005-03-01 08:00 2005-06-30 00:00 1 00010001 0"},
        {"day 31 every two months", series("2005-01-31", "2005-12-31", MonthlyByDay(2, 31)), "2005-01-31",
         "AddCyclicMonth 7 4711 2005-01-31 08:00 2005-12-31 00:00 2 31 0"},
        {"the second Thursday", series("2005-01-01", "2005-12-31", MonthlyByWeekday(1, 2, 5)), "2005-01-13",
         "AddCyclicMonthExt 7 4711 2005-01-13 08:00 2005-12-31 00:00 1 5 1 0"},
        {"29 February", series("2004-02-29", "2009-12-31", YearlyByDate(2, 29)), "2004-02-29",
         "AddCyclicYearDayInMonth 7 4711 2004-02-29 08:00 2009-12-31 00:00 2 29 0"},
        {"the last Monday of May, ten years", series("2005-01-01", "2005-01-01", DefaultEnd(YearlyByWeekday(5, 5, 2))),
         "2005-05-30", "AddCyclicYearExt 7 4711 2005-05-30 08:00 2015-01-01 00:00 5 4 2 0"},
        {"the stored next occurrence", next, "2005-01-15",
         "AddCyclicMonth 7 4711 2005-06-15 08:00 2005-12-31 00:00 1 15 0"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        m_timers.Clear();
        CItemVersionRef key(new CItemVersion(4711L, 0), FALSE);
        CDataAppointment record = Record(k.entry);
        EXPECT_EQ(1, c.ScheduleReminderTimer(key.Get(), record, CDateValue(Day(k.occurrence), 0)));
        EXPECT_EQ(k.call.empty() ? std::vector<std::string>{} : std::vector<std::string>{k.call}, m_timers.Calls());
    }
}

// The job's signals from the library's own threads become the main window's messages.
TEST_F(ControllerTest, TimerSignalsBecomeMessagesToTheMainWindow)
{
    m_app.m_frame.MakeWindow();
    CDataController& c = Start();
    const COleDateTime due(2005, 3, 1, 8, 45, 0);
    struct Case {
        const char* name;
        BOOL reminderOn;
        int type;
        long id;
        int status;
        std::vector<UINT> messages;
    };
    const Case cases[] = {
        {"due", TRUE, TIMER_SIGNAL_DUE, 11, TIMER_STATUS_NULL, {1128}},
        {"finished", TRUE, TIMER_SIGNAL_FINISHED, 12, TIMER_STATUS_NULL, {1130}},
        {"next occurrence", TRUE, TIMER_SIGNAL_NEXT, 13, TIMER_STATUS_VALID, {1132}},
        {"next occurrence with an invalid time", TRUE, TIMER_SIGNAL_NEXT, 14, TIMER_STATUS_INVALID, {}},
        {"unknown signal", TRUE, 5, 15, TIMER_STATUS_VALID, {}},
        {"reminders switched off", FALSE, TIMER_SIGNAL_DUE, 16, TIMER_STATUS_NULL, {}},
        {"reminders switched off, next occurrence", FALSE, TIMER_SIGNAL_NEXT, 17, TIMER_STATUS_VALID, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        m_app.m_document.m_bReminderOn = k.reminderOn;
        m_app.m_frame.m_messages.clear();
        BOOL fired = FALSE;
        std::thread library([&] { fired = m_timers.Fire(k.type, k.id, due, k.status); });
        library.join();
        EXPECT_TRUE(fired);
        m_app.m_frame.PumpMessages();
        std::vector<UINT> messages;
        for (const auto& m : m_app.m_frame.m_messages) {
            messages.push_back(m.nMsg);
            EXPECT_EQ(0u, m.wParam);
            EXPECT_EQ(k.id, (long)m.lParam);
        }
        EXPECT_EQ(k.messages, messages);
        COleDateTime reported;
        const BOOL known = c.LookupDueTime(k.id, reported);
        EXPECT_EQ(k.id == 13, known) << "only a valid next occurrence goes into the due map";
        if (known) {
            EXPECT_EQ(due, reported);
        }
    }
}

TEST_F(ControllerTest, RightsFromTheSettingsText)
{
    const struct {
        const char* text;
        DWORD rights;
    } cases[] = {{"", 0}, {"FFFF", 0}, {"FFFFT", 2}, {"FFFFTTTT", 15}, {"xxxxFTFT", 5}, {"xxxxTxTx", 10}, {"TTTTttTT", 12}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.text);
        m_app.GetSettings()->m_strCurrentRights = k.text;
        EXPECT_EQ(k.rights, Start().GetRights());
    }
    // Bits are only added.
    m_app.GetSettings()->m_strCurrentRights = "FFFFT";
    CDataController& c = Start();
    c.SetRights("xxxxxT");
    EXPECT_EQ(3u, c.GetRights());
    c.SetRights("");
    c.SetRights("FFFFFFFF");
    EXPECT_EQ(3u, c.GetRights());
}

TEST_F(ControllerTest, TablesThatDoNotOpenLeaveNoJobNoEventAndNoThread)
{
    m_app.m_frame.MakeWindow();
    m_strPath = m_dir->Path() + "\\fehlt\\auch\\";
    CDataController& c = Start();
    EXPECT_FALSE(c.IsOpen());
    EXPECT_EQ(0, c.GetTimerJob());
    EXPECT_TRUE(m_timers.Calls().empty());
    m_app.m_frame.PumpMessages();
    ASSERT_EQ(1u, m_app.m_frame.m_messages.size());
    EXPECT_EQ((UINT)WM_CLOSE, m_app.m_frame.m_messages[0].nMsg);
    m_controller.reset();
    EXPECT_EQ((std::vector<std::string>{"StopPolling 0"}), m_timers.Calls()) << "no job to close";
}

// The time conflicts of a day whose table is not there are an error, never "no conflict", and the
// table is not made for the question: a data directory that appears after the start stays empty.
TEST_F(ControllerTest, TimeConflictsWithoutTheTableAreAnErrorAndMakeNoTable)
{
    m_strPath = m_dir->Path() + "\\spaeter\\";
    CDataController& c = Start();
    ASSERT_FALSE(c.IsOpen());
    ASSERT_TRUE(CreateDirectoryA(m_strPath.c_str(), NULL));
    const CItemVersionRef key(new CItemVersion(1234, 0), FALSE);
    ASSERT_EQ(1, c.GetDayIndex().Add(Day("2005-03-01"), key.Get()));
    m_log.Clear();
    CStringList users, result;
    EXPECT_EQ(-1, c.ListTimeConflicts(Day("2005-03-01"), 600, 660, FALSE, FALSE, users, result));
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ("Fehler beim Öffnen der Datenbank!", Boxes()[0][1]);
    EXPECT_EQ("OX4.DBE", Boxes()[0][2]);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_strPath + "OX4.DBE").c_str()));
}

// The update event carries the id of the thread that made the controller, so two programs on one
// machine get two events.
TEST_F(ControllerTest, UpdateEventIsNamedAfterTheCreatingThread)
{
    auto eventExists = [](DWORD dwThread) {
        char szName[64];
        snprintf(szName, sizeof szName, "OXUpdateSignal1_%lu", dwThread);
        HANDLE hEvent = OpenEventA(SYNCHRONIZE, FALSE, szName);
        if (hEvent != NULL)
            CloseHandle(hEvent);
        return hEvent != NULL;
    };
    Start();
    EXPECT_TRUE(eventExists(GetCurrentThreadId()));
    DWORD dwOther = 0;
    bool otherExists = false;
    std::thread other([&] {
        CRecordingTimerLibrary timers;
        CDataController second(m_strPath.c_str(), kUser, &timers);
        dwOther = GetCurrentThreadId();
        otherExists = eventExists(dwOther);
    });
    other.join();
    EXPECT_TRUE(otherExists);
    EXPECT_FALSE(eventExists(dwOther)) << "closed with its controller";
    m_controller.reset();
    EXPECT_FALSE(eventExists(GetCurrentThreadId()));
}

// The update thread loads a map that was emptied, as soon as the event is set.
TEST_F(ControllerTest, UpdateThreadLoadsAnEmptiedMap)
{
    Write(Fixture());
    CDataController& c = Start();
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    const std::set<std::string> before = MapSubjects(c.GetAppointmentMap());
    const int nDayEntries = c.GetDayItemCount(Day("2005-03-01"));
    c.GetAppointmentMap().DeleteAllValues();
    c.GetDayIndex().DeleteAllValues();
    m_timers.Clear();
    c.WakeUpdateThread();
    const DWORD dwStart = GetTickCount();
    while ((c.GetAppointmentMap().GetCount() < (int)before.size() || c.GetReloadCount() != 0) &&
           GetTickCount() - dwStart < 30000)
        Sleep(10);
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    EXPECT_EQ(before, MapSubjects(c.GetAppointmentMap()));
    EXPECT_EQ(nDayEntries, c.GetDayItemCount(Day("2005-03-01")));
    EXPECT_EQ(6u, m_timers.CallsStartingWith("Add").size()) << "the appointments' timers are set again";
    EXPECT_EQ(3, c.GetTaskMap().GetCount()) << "the to-do map was not emptied: left as it is";
}

// Walks over a day, the maps and the lists read their rows; moved entries are passed over.
TEST_F(ControllerTest, WalksReadTheRows)
{
    Write(Fixture());
    CDataController& c = Start();
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    // (The daily series' thread adds its day at its own time: the day's order is not fixed.)
    auto walkDay = [&](long nDay) {
        std::multiset<std::string> subjects;
        CDataAppointment record;
        for (POSITION pos = c.GetDayItemHeadPosition(nDay); pos != NULL;)
            if (c.GetNextDayAppointment(nDay, pos, record))
                subjects.insert((LPCTSTR)record.m_strSubject);
        return subjects;
    };
    EXPECT_EQ((std::multiset<std::string>{"Taeglich", "Zahnarzt", "Mittag"}), walkDay(Day("2005-03-01")));
    EXPECT_TRUE(walkDay(Day("2004-03-01")).empty());
    POSITION pos = (POSITION)1;
    CDataAppointment record;
    EXPECT_EQ(0, c.GetNextDayAppointment(Day("2004-03-01"), pos, record));
    EXPECT_EQ(nullptr, pos);

    auto walk = [&](POSITION start, int (CDataController::*next)(POSITION&, CDataAppointment&, CTerminRecordBuffer&)) {
        std::set<std::string> subjects;
        CTerminRecordBuffer buffer(c.GetAppointmentTable());
        for (POSITION p = start; p != NULL;) {
            CDataAppointment a;
            if ((c.*next)(p, a, buffer)) {
                subjects.insert((LPCTSTR)a.m_strSubject);
                EXPECT_TRUE(a.m_strMovedRecordId.IsEmpty());
            }
        }
        return subjects;
    };
    EXPECT_EQ((std::set<std::string>{"Zahnarzt", "Mittag", "Taeglich", "Jour fixe", "Fest", "Monatlich", "Ohne Tag"}),
              walk(c.GetAppointmentStartPosition(), &CDataController::GetNextAppointment));
    EXPECT_EQ((std::set<std::string>{"Aufgabe", "Erledigt"}), walk(c.GetTaskStartPosition(), &CDataController::GetNextTask));
    EXPECT_EQ((std::set<std::string>{"Zahnarzt", "Mittag", "Taeglich", "Jour fixe", "Fest", "Monatlich", "Ohne Tag"}),
              walk(c.GetAppointmentListHeadPosition(), &CDataController::GetNextListedAppointment));
    EXPECT_EQ((std::set<std::string>{"Aufgabe", "Erledigt"}),
              walk(c.GetTaskListHeadPosition(), &CDataController::GetNextListedTask));

    CTerminRecordBuffer buffer(c.GetAppointmentTable());
    EXPECT_TRUE(c.ReadAppointment(IdText(Id("Mittag")).c_str(), record, buffer));
    EXPECT_STREQ("Mittag", record.m_strSubject);
    EXPECT_STREQ("Mittag", buffer.FieldValue("BETREFF"));
    m_log.Clear();
    EXPECT_FALSE(c.ReadAppointment("0000000001", record, buffer));
    EXPECT_TRUE(Boxes().empty()) << "an unknown id shows nothing";
    EXPECT_EQ(0, *c.GetBusyCounter()) << "every read lowers the busy counter again";

    // An id known in both maps: the to-do's footprint.
    CDataAppointment todo;
    todo.m_bTodo = TRUE;
    c.AddTaskItem(todo, IdText(Id("Mittag")).c_str(), "0007");
    EXPECT_EQ("0007", std::string(c.GetItemFootprint(IdText(Id("Mittag")).c_str())));
}

// A walk begun while another runs (a report while a view repaints, a walk inside another) has a
// snapshot of its own: the first walk goes on over what it began with, neither skipping nor
// repeating entries, though entries were added and a second walk went through meanwhile.
TEST_F(ControllerTest, AWalkBegunWhileAnotherRunsDoesNotDisturbIt)
{
    std::vector<Entry> entries;
    for (const char* subject : {"Eins", "Zwei", "Drei", "Vier", "Fuenf"})
        entries.push_back(Entry{subject});
    Write(entries);
    CDataController& c = Start();
    const long nDay = Day("2005-03-01");
    CTerminRecordBuffer buffer(c.GetAppointmentTable());
    const struct Kind {
        const char* what;
        std::function<POSITION()> begin;
        std::function<int(POSITION&, CDataAppointment&)> next;
    } kinds[] = {
        {"day", [&] { return c.GetDayItemHeadPosition(nDay); },
         [&](POSITION& pos, CDataAppointment& r) { return c.GetNextDayAppointment(nDay, pos, r); }},
        {"map", [&] { return c.GetAppointmentStartPosition(); },
         [&](POSITION& pos, CDataAppointment& r) { return c.GetNextAppointment(pos, r, buffer); }},
        {"list", [&] { return c.GetAppointmentListHeadPosition(); },
         [&](POSITION& pos, CDataAppointment& r) { return c.GetNextListedAppointment(pos, r, buffer); }},
    };
    int nAdded = 0;
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.what);
        std::multiset<std::string> before;
        CDataAppointment record;
        for (POSITION pos = kind.begin(); pos != NULL;)
            if (kind.next(pos, record))
                before.insert((LPCTSTR)record.m_strSubject);
        ASSERT_LE(5u, before.size());

        std::multiset<std::string> first;
        POSITION outer = kind.begin();
        ASSERT_NE(nullptr, outer);
        ASSERT_EQ(1, kind.next(outer, record));
        first.insert((LPCTSTR)record.m_strSubject);
        // Meanwhile: new entries on the day, and a whole second walk.
        for (int i = 0; i < 3; ++i) {
            Entry added{"Neu " + std::to_string(++nAdded)};
            CDataAppointment fresh = Record(added);
            CString strId;
            ASSERT_TRUE(c.SaveAppointment(fresh, strId, TRUE, FALSE));
        }
        size_t nInner = 0;
        for (POSITION inner = kind.begin(); inner != NULL;)
            if (kind.next(inner, record))
                ++nInner;
        EXPECT_EQ(before.size() + 3, nInner);
        while (outer != NULL)
            if (kind.next(outer, record))
                first.insert((LPCTSTR)record.m_strSubject);
        EXPECT_EQ(before, first);
    }
}

// The views' read leaves the memos out: subject, place, times and flags are there, the notes and
// the action are not; such a record saved back without a dialog keeps the row's memos.
TEST_F(ControllerTest, TheDisplayReadLeavesTheMemosOut)
{
    Entry e{"Zahnarzt"};
    e.place = "Praxis";
    e.startTime = 600;
    e.endTime = 630;
    e.remind = true;
    Write({e});
    const long nId = Id("Zahnarzt");
    {
        CTerminTable table(m_session.get(), FALSE);
        ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        ASSERT_EQ(0, row.LockAndRead(table.FindRecordById(IdText(nId).c_str())));
        row.SetFieldValue("NOTIZEN", "Lange Notiz zum Termin");
        ASSERT_EQ(0, row.WriteRecord());
        row.UnlockRecord();
    }
    CDataController& c = Start();
    CDataAppointment shown;
    shown.m_strNotes = "von vorher";
    shown.m_action.m_strName = "OXMAIL";
    ASSERT_TRUE(c.ReadEntryForDisplay(IdText(nId).c_str(), shown, FALSE));
    EXPECT_STREQ("Zahnarzt", shown.m_strSubject);
    EXPECT_STREQ("Praxis", shown.m_strPlace);
    EXPECT_EQ(600, shown.m_pattern.m_nStartTime);
    EXPECT_EQ(630, shown.m_pattern.m_nEndTime);
    EXPECT_TRUE(shown.m_bRemind);
    EXPECT_STREQ("", shown.m_strNotes);
    EXPECT_STREQ("", shown.m_action.m_strName);
    EXPECT_FALSE(c.ReadEntryForDisplay("0000000001", shown, FALSE));

    CDataAppointment walked;
    POSITION pos = c.GetDayItemHeadPosition(Day("2005-03-01"));
    ASSERT_EQ(1, c.GetNextDayAppointment(Day("2005-03-01"), pos, walked, FALSE));
    EXPECT_STREQ("Praxis", walked.m_strPlace);
    EXPECT_STREQ("", walked.m_strNotes);

    shown.m_strSubject = "Zahnarzt, Kontrolle";
    CString strId = IdText(nId).c_str();
    ASSERT_TRUE(c.SaveAppointment(shown, strId, TRUE, FALSE));
    CDataAppointment stored;
    ASSERT_TRUE(StoredRow(nId, stored));
    EXPECT_STREQ("Zahnarzt, Kontrolle", stored.m_strSubject);
    EXPECT_STREQ("Lange Notiz zum Termin", stored.m_strNotes);
    EXPECT_EQ(0, *c.GetBusyCounter());
}

// A walk over a map whose last entry is moved ends with 0 and a NULL position.
TEST_F(ControllerTest, MapWalkEndingOnAMovedEntry)
{
    Entry moved{"Verschoben"};
    moved.movedId = "1234567890";
    moved.status = "C";
    Write({moved});
    CDataController& c = Start();
    ASSERT_EQ(1, c.GetAppointmentMap().GetCount());
    POSITION pos = c.GetAppointmentStartPosition();
    ASSERT_NE(nullptr, pos);
    CDataAppointment record;
    CTerminRecordBuffer buffer(c.GetAppointmentTable());
    EXPECT_EQ(0, c.GetNextAppointment(pos, record, buffer));
    EXPECT_EQ(nullptr, pos);
}

// Readers walk a day and the map while a writer replaces entries of that day for seconds, as a
// reload does: every walk sees every entry that stays, and when the writer is done every entry is
// on its days exactly once (a removed key that an occurrence thread still spread is never put
// back).
TEST_F(ControllerTest, WalksSurviveAWriterThatReplacesEntries)
{
    Write(Fixture());
    CDataController& c = Start();
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    const long nDay = Day("2005-03-01");
    const int kChurned = 40;
    const long kSeriesId = 900000;
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    std::thread writer([&] {
        const DWORD dwStart = GetTickCount();
        Entry single{"Wechsel"};
        single.user = kOtherUser;
        Entry series{"Wechselserie"};
        series.user = kOtherUser;
        series.series = true;
        series.start = "2005-01-01";
        series.pattern = NoEnd(Daily(1));
        while (GetTickCount() - dwStart < 2500) {
            for (long nId = 1; nId <= kChurned + 1; ++nId) {
                const long nKey = nId <= kChurned ? nId : kSeriesId;
                CItemVersionRef key = c.GetAppointmentMap().Find(nKey);
                if (key) {
                    c.GetDayIndex().Remove(key.Get());
                    c.GetAppointmentMap().RemoveKeyAndDelete((DWORD)nKey);
                }
                CDataAppointment record = Record(nId <= kChurned ? single : series);
                char szFootprint[8];
                snprintf(szFootprint, sizeof szFootprint, "%04d", rounds.load() % 9999);
                c.AddAppointmentItem(record, IdText(nKey).c_str(), szFootprint);
            }
            ++rounds;
        }
        done = true;
    });

    int walks = 0, incompleteDays = 0, incompleteMaps = 0;
    while (!done) {
        std::set<std::string> seen;
        CDataAppointment record;
        for (POSITION pos = c.GetDayItemHeadPosition(nDay); pos != NULL;)
            if (c.GetNextDayAppointment(nDay, pos, record))
                seen.insert((LPCTSTR)record.m_strSubject);
        if (!seen.count("Zahnarzt") || !seen.count("Mittag") || !seen.count("Taeglich"))
            ++incompleteDays;
        std::set<std::string> mapSeen;
        CTerminRecordBuffer buffer(c.GetAppointmentTable());
        for (POSITION pos = c.GetAppointmentStartPosition(); pos != NULL;)
            if (c.GetNextAppointment(pos, record, buffer))
                mapSeen.insert((LPCTSTR)record.m_strSubject);
        if (mapSeen.size() != 7)
            ++incompleteMaps;
        ++walks;
    }
    writer.join();
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    EXPECT_GT(walks, 2);
    EXPECT_GT(rounds.load(), 2);
    EXPECT_EQ(0, incompleteDays);
    EXPECT_EQ(0, incompleteMaps);
    EXPECT_EQ(8 + kChurned + 1, c.GetAppointmentMap().GetCount());
    EXPECT_EQ(3 + kChurned + 1, c.GetDayItemCount(nDay));
    for (long nId = 1; nId <= kChurned; ++nId)
        EXPECT_EQ(std::vector<long>{nDay}, c.GetDayIndex().GetDaysOf(nId)) << nId;
    const std::vector<long> seriesDays = c.GetDayIndex().GetDaysOf(kSeriesId);
    EXPECT_EQ((size_t)(Day("2099-12-31") - Day("2005-01-01") + 1), seriesDays.size());
    EXPECT_TRUE(std::adjacent_find(seriesDays.begin(), seriesDays.end()) == seriesDays.end()) << "no day twice";
}

// The controller goes while the occurrence thread still spreads long series: it waits for the
// thread, and the thread and the series still waiting let go of their keys before anything is
// destroyed.
TEST_F(ControllerTest, ShutDownWhileTheOccurrenceThreadRuns)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 6; ++i) {
        Entry e{"Lang " + std::to_string(i)};
        e.series = true;
        e.start = "1900-01-01";
        e.pattern = NoEnd(Daily(1));
        entries.push_back(e);
    }
    Write(entries);
    CDataController& c = Start();
    std::vector<CItemVersionRef> keys = c.GetAppointmentMap().GetKeys();
    ASSERT_EQ(6u, keys.size());
    const int pending = c.GetPendingOccurrenceSeries();
    m_controller.reset();
    for (const CItemVersionRef& key : keys) {
        EXPECT_EQ(1, key->GetRefCount()) << "only this test still holds the key";
        EXPECT_TRUE(key->IsRetired());
    }
    RecordProperty("SeriesPendingAtShutDown", pending);
}

// The controller goes while the update thread is inside a reload pass: the pass stops at its next
// row and the thread ends before the timer job is closed; no timer call comes after the close.
TEST_F(ControllerTest, ShutDownDuringAReload)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 600; ++i) {
        Entry e{"Termin " + std::to_string(i)};
        e.remind = true;
        entries.push_back(e);
    }
    Write(entries);
    CDataController& c = Start();
    c.GetAppointmentMap().DeleteAllValues();
    c.GetDayIndex().DeleteAllValues();
    m_timers.Clear();
    c.WakeUpdateThread();
    const DWORD dwStart = GetTickCount();
    while (c.GetAppointmentMap().GetCount() == 0 && GetTickCount() - dwStart < 30000)
        Sleep(1);
    const int loadedAtShutDown = c.GetAppointmentMap().GetCount();
    m_controller.reset();
    const std::vector<std::string> calls = m_timers.Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ("JobClose 7", calls.back());
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), std::string("JobClose 7")));
    EXPECT_GT(loadedAtShutDown, 0) << "the pass had begun";
    EXPECT_LT(m_timers.CallsStartingWith("AddFixed").size(), entries.size()) << "the pass was left early";
}
