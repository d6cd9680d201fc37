// The data controller's reload passes after the start: what an incremental pass makes of changed,
// new, deleted and unchanged rows (maps, list, day index, timers, moved count); that a pass the
// busy counter stops is run again; that passes of the user-interface thread are not stopped by
// the counter their caller raised and never store into it; ReloadNow; the switch to another data
// directory. The table is changed through a table instance of the test's own.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "ControllerTestKit.h"

namespace {

using namespace controllertest;

class ReloadTest : public ControllerTest {
protected:
    // Changes the stored row of the subject through the test's own table instance: the edit is
    // applied to the row's record and written back (the footprint goes up).
    void Change(const std::string& subject, std::function<void(CDataAppointment&)> edit)
    {
        CTerminTable table(m_session.get(), TRUE);
        table.SetUserName(kUser);
        ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        const long nRecNo = table.FindRecordById(IdText(Id(subject)).c_str());
        ASSERT_GT(nRecNo, 0);
        ASSERT_EQ(0, row.LockAndRead(nRecNo));
        CDataAppointment record;
        row.GetAppointment(record);
        edit(record);
        row.PutAppointment(record);
        ASSERT_EQ(0, row.WriteRecord());
    }

    void Delete(const std::string& subject)
    {
        CTerminTable table(m_session.get(), TRUE);
        ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        const long nRecNo = table.FindRecordById(IdText(Id(subject)).c_str());
        ASSERT_GT(nRecNo, 0);
        table.GoTo(nRecNo);
        ASSERT_TRUE(table.DeleteRecord(FALSE));
    }

    std::vector<std::string> SortedCalls()
    {
        std::vector<std::string> calls = m_timers.Calls();
        std::sort(calls.begin(), calls.end());
        return calls;
    }

    std::string Line(const std::string& head, const std::string& subject, const std::string& tail = "")
    {
        return head + std::to_string(Id(subject)) + tail;
    }
};

std::vector<Entry> Entries()
{
    std::vector<Entry> entries;
    Entry e;
    e = Entry{"Bleibt"}; e.remind = true; entries.push_back(e);
    e = Entry{"Wandert"}; e.remind = true; e.lead = 5; entries.push_back(e);
    e = Entry{"Geht"}; e.remind = true; e.start = e.end = "2005-03-02"; entries.push_back(e);
    e = Entry{"Serie"}; e.series = true; e.start = "2005-03-01"; e.end = "2005-03-03"; e.pattern = Daily(1);
    entries.push_back(e);
    e = Entry{"Fremd"}; e.user = kOtherUser; entries.push_back(e);
    e = Entry{"Aufgabe"}; e.todo = true; e.remind = true; e.end = "2005-03-05"; entries.push_back(e);
    return entries;
}

} // namespace

using controllertest::ControllerTest;

// One pass after changes: a changed entry is registered again (old key, days and timer first),
// a new one is added, a deleted one and one that no longer passes the filter leave with their days
// and timers, an unchanged one stays as it was.
TEST_F(ReloadTest, IncrementalPassFollowsTheTable)
{
    Write(Entries());
    CDataController& c = Start();
    ASSERT_EQ(4, c.GetAppointmentMap().GetCount());
    const CItemVersionRef unchanged = c.GetAppointmentMap().Find(Id("Bleibt"));

    Change("Wandert", [](CDataAppointment& r) { r.m_pattern.m_nPatternStart = r.m_pattern.m_nPatternEnd = Day("2005-03-07"); });
    Change("Serie", [](CDataAppointment& r) { r.m_strUser = kOtherUser; });
    Delete("Geht");
    Entry added{"Neu"};
    added.remind = true;
    added.start = added.end = "2005-02-28";
    Entry moved{"Kopie"};
    moved.movedId = "0000000001";
    moved.status = "C";
    Write({added, moved});
    Change("Aufgabe", [](CDataAppointment& r) { r.m_strSubject = "Aufgabe, neu"; });
    m_timers.Clear();
    ASSERT_TRUE(RunUpdatePass());

    std::vector<std::string> expected = {
        Line("Delete 7 ", "Wandert"), Line("AddFixed 7 2005-03-07 09:00 ", "Wandert", " 5"),
        Line("Delete 7 ", "Geht"),    Line("Delete 7 ", "Serie"),
        Line("AddFixed 7 2005-02-28 09:00 ", "Neu", " 0"),
        Line("Delete 7 ", "Aufgabe"), Line("AddFixed 7 2005-03-05 09:00 ", "Aufgabe", " 0"),
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, SortedCalls());
    EXPECT_EQ((std::set<std::string>{"Bleibt", "Wandert", "Neu", "Kopie"}), MapSubjects(c.GetAppointmentMap()));
    EXPECT_EQ(unchanged.Get(), c.GetAppointmentMap().Find(Id("Bleibt")).Get()) << "an unchanged entry keeps its key";
    EXPECT_EQ((std::vector<std::string>{"Neu", "Bleibt", "Wandert"}), ListSubjects(c.GetAppointmentList()));
    EXPECT_EQ(1, c.GetMovedAppointmentCount());
    EXPECT_EQ((std::vector<std::string>{"2005-03-07"}), DaysOf("Wandert"));
    EXPECT_TRUE(DaysOf("Geht").empty());
    EXPECT_TRUE(DaysOf("Serie").empty()) << "no longer the filter user's";
    EXPECT_TRUE(DaysOf("Kopie").empty()) << "a moved entry is on no day";
    EXPECT_EQ(1, c.GetDayItemCount(Day("2005-03-01"))) << "Bleibt";
    EXPECT_EQ(1, c.GetTaskMap().Find(Id("Aufgabe"))->GetFootprint());
}

// A pass over an unchanged file reads no row; ReloadNow reads them all.
TEST_F(ReloadTest, UnchangedFileAndReloadNow)
{
    Write(Entries());
    CDataController& c = Start();
    // Taken out of the map behind the controller's back: only a pass that reads the rows puts it
    // back.
    c.GetAppointmentMap().RemoveKeyAndDelete((DWORD)Id("Bleibt"));
    m_timers.Clear();
    ASSERT_TRUE(RunUpdatePass());
    EXPECT_FALSE(c.GetAppointmentMap().Find(Id("Bleibt")));
    EXPECT_TRUE(m_timers.Calls().empty());

    c.ReloadNow();
    EXPECT_TRUE(c.GetAppointmentMap().Find(Id("Bleibt")));
    EXPECT_EQ((std::vector<std::string>{Line("AddFixed 7 2005-03-01 09:00 ", "Bleibt", " 0")}), m_timers.Calls());
    EXPECT_EQ(0, c.GetReloadCount());
}

// The busy counter raised while a pass runs stops the pass at its next row; the rows not reached
// are loaded by the next pass, each once, although the file has not changed since.
TEST_F(ReloadTest, StoppedPassIsRunAgain)
{
    Write({Entry{"Erster"}});
    CDataController& c = Start();
    std::vector<Entry> rows;
    for (int i = 0; i < 200; ++i) {
        Entry e{"Termin " + std::to_string(i)};
        e.remind = true;
        rows.push_back(e);
    }
    Write(rows);
    // The user-interface thread raises the counter when the pass has registered 50 rows.
    std::atomic<int> added{0};
    m_timers.SetOnCall([&](const std::string& line) {
        if (line.compare(0, 8, "AddFixed") == 0 && ++added == 50)
            InterlockedIncrement(c.GetBusyCounter());
    });
    m_timers.Clear();
    ASSERT_TRUE(RunUpdatePass());
    m_timers.SetOnCall(nullptr);
    const size_t nFirst = m_timers.CallsStartingWith("AddFixed").size();
    EXPECT_GE(nFirst, 50u);
    EXPECT_LT(nFirst, 200u) << "the pass stopped early";
    EXPECT_EQ((int)nFirst + 1, c.GetAppointmentMap().GetCount());

    // Still busy: no pass.
    ASSERT_TRUE(RunUpdatePass());
    EXPECT_EQ(nFirst, m_timers.CallsStartingWith("AddFixed").size());
    c.LeaveBusy();
    ASSERT_TRUE(RunUpdatePass());
    EXPECT_EQ(201, c.GetAppointmentMap().GetCount());
    std::vector<std::string> adds = m_timers.CallsStartingWith("AddFixed");
    EXPECT_EQ(200u, adds.size());
    std::sort(adds.begin(), adds.end());
    EXPECT_TRUE(std::adjacent_find(adds.begin(), adds.end()) == adds.end()) << "no timer set twice";
    EXPECT_EQ(201, c.GetAppointmentList().GetCount());
}

// ReloadAll runs its passes on this thread with the busy counter raised: they load everything
// whatever the caller raised, the counter is never stored into (another thread's raising and
// lowering meanwhile keeps its balance), and the views get hint 107.
TEST_F(ReloadTest, ReloadAllOnThisThread)
{
    std::vector<Entry> entries = Entries();
    for (int i = 0; i < 100; ++i)
        entries.push_back(Entry{"Termin " + std::to_string(i)});
    Write(entries);
    m_app.m_frame.MakeWindow();
    CDataController& c = Start();
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    const std::set<std::string> appointments = MapSubjects(c.GetAppointmentMap());
    const std::set<std::string> todos = MapSubjects(c.GetTaskMap());

    c.EnterBusy();
    std::atomic<bool> done{false};
    std::thread other([&] {
        while (!done) {
            InterlockedIncrement(c.GetBusyCounter());
            InterlockedDecrement(c.GetBusyCounter());
        }
    });
    for (int round = 0; round < 3; ++round) {
        c.GetAppointmentMap().DeleteAllValues();
        c.GetTaskMap().DeleteAllValues();
        c.ReloadAll();
        EXPECT_EQ(appointments, MapSubjects(c.GetAppointmentMap())) << "round " << round;
        EXPECT_EQ(todos, MapSubjects(c.GetTaskMap()));
    }
    done = true;
    other.join();
    EXPECT_EQ(1, *c.GetBusyCounter()) << "the caller's raise, nothing else";
    c.LeaveBusy();
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
    EXPECT_EQ((std::vector<LPARAM>{107, 107, 107}), m_app.m_document.Hints());
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    EXPECT_EQ(2, c.GetDayItemCount(Day("2005-03-02"))) << "Geht and the series, once each";
}

// A timer lives only while its entry is loaded: entries that a full reload or a filter change
// does not load again (deleted or given away by another station, outside the new filter) lose
// their timers, so no reminder comes for a row nobody keeps in step; entries loaded again get
// theirs back.
TEST_F(ReloadTest, ATimerLivesOnlyWhileItsEntryIsLoaded)
{
    // The last timer call about the id: a live timer's is an Add.
    auto lastCall = [this](long nId) {
        std::string last;
        const std::string id = " " + std::to_string(nId);
        for (const std::string& call : m_timers.Calls()) {
            const size_t at = call.find(id);
            if (at != std::string::npos && (at + id.size() == call.size() || call[at + id.size()] == ' '))
                last = call;
        }
        return last;
    };
    const struct Case {
        const char* what;
        std::function<void(CDataController&)> act;
        std::vector<std::string> gone;
        std::vector<std::string> kept;
    } cases[] = {
        {"deleted by another station, then ReloadAll",
         [this](CDataController& c) {
             Delete("Weg");
             c.ReloadAll();
         },
         {"Weg"}, {"Bleibt", "Vergeben", "Aufgabe"}},
        {"given to another user by another station, then ReloadAll",
         [this](CDataController& c) {
             Change("Vergeben", [](CDataAppointment& r) { r.m_strUser = kOtherUser; });
             c.ReloadAll();
         },
         {"Vergeben"}, {"Bleibt", "Aufgabe"}},
        {"the filter user changed to another user",
         [](CDataController& c) { c.SetFilterUser(kOtherUser); },
         {"Bleibt", "Aufgabe"}, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Entry stays{"Bleibt"}, gone{"Weg"}, given{"Vergeben"}, todo{"Aufgabe"};
        for (Entry* e : {&stays, &gone, &given, &todo})
            e->remind = true;
        todo.todo = true;
        todo.end = "2005-03-10";
        Write({stays, gone, given, todo});
        m_timers.Clear();
        CDataController& c = Start();
        for (const char* subject : {"Bleibt", "Weg", "Vergeben", "Aufgabe"})
            ASSERT_EQ(0u, lastCall(Id(subject)).rfind("Add", 0)) << subject;
        k.act(c);
        for (const std::string& subject : k.gone) {
            EXPECT_EQ("Delete 7 " + std::to_string(Id(subject)), lastCall(Id(subject))) << subject;
            EXPECT_FALSE(c.GetAppointmentMap().Find(Id(subject)) || c.GetTaskMap().Find(Id(subject))) << subject;
        }
        for (const std::string& subject : k.kept)
            EXPECT_EQ(0u, lastCall(Id(subject)).rfind("Add", 0)) << subject << ": " << lastCall(Id(subject));
        m_controller.reset();
        DeleteFileA((m_strPath + "OX4.DBE").c_str());
        DeleteFileA((m_strPath + "OX4.DBT").c_str());
        DeleteFileA((m_strPath + "OX4.nt0").c_str());
        DeleteFileA((m_strPath + "OX4.nt1").c_str());
    }
}

// One rule for a row that cannot be read, in both passes: the row is passed over, the pass goes
// on to the end, keeps what it could not see and does not remember the file's stamp, so the next
// wake-up tries again. A full load that passed over a row loads it at the next wake-up; an
// incremental pass still sees the changes of the rows after it.
TEST_F(ReloadTest, AnUnreadableRowIsPassedOverAndTriedAgain)
{
    // Written first: row 1, and first in the pass's order too.
    Write({Entry{"A Kaputt"}, Entry{"B Zwei"}, Entry{"C Drei"}});
    CDataController& c = Start();
    c.SetPassReadHook([](long nRecNo) { return nRecNo != 1; });
    c.ReloadAll();
    EXPECT_EQ((std::set<std::string>{"B Zwei", "C Drei"}), MapSubjects(c.GetAppointmentMap()));

    c.SetPassReadHook(nullptr);
    ASSERT_TRUE(RunUpdatePass());
    EXPECT_EQ((std::set<std::string>{"A Kaputt", "B Zwei", "C Drei"}), MapSubjects(c.GetAppointmentMap()))
        << "the next wake-up reads the table again";

    c.SetPassReadHook([](long nRecNo) { return nRecNo != 1; });
    Change("C Drei", [](CDataAppointment& r) { r.m_pattern.m_nPatternStart = r.m_pattern.m_nPatternEnd = Day("2005-03-07"); });
    ASSERT_TRUE(RunUpdatePass());
    EXPECT_EQ((std::vector<std::string>{"2005-03-07"}), DaysOf("C Drei")) << "the pass went on after the row";
    EXPECT_TRUE(c.GetAppointmentMap().Find(Id("A Kaputt"))) << "an entry it could not see keeps its key";

    c.SetPassReadHook(nullptr);
    Change("A Kaputt", [](CDataAppointment& r) { r.m_strPlace = "Raum 3"; });
    ASSERT_TRUE(RunUpdatePass());
    const CItemVersionRef key = c.GetAppointmentMap().Find(Id("A Kaputt"));
    ASSERT_TRUE(key);
    EXPECT_EQ(1, key->GetFootprint()) << "read again once it can be read";
}

// The switch to another data directory: the old entries leave with their timers, the new ones are
// loaded with theirs; the timer job stops polling meanwhile. A directory that does not exist
// changes nothing.
TEST_F(ReloadTest, SwitchOfTheDataDirectory)
{
    Entry old{"Alt"};
    old.remind = true;
    Write({old});
    const long nOld = Id("Alt");
    oxtest::TempDir second("ox_second");
    const std::string firstPath = m_strPath;
    m_strPath = second.Path() + "\\";
    Entry fresh{"Neu"};
    fresh.remind = true;
    fresh.start = fresh.end = "2005-03-04";
    Write({fresh});
    m_strPath = firstPath;
    CDataController& c = Start();
    ASSERT_EQ((std::set<std::string>{"Alt"}), MapSubjects(c.GetAppointmentMap()));

    m_timers.Clear();
    c.SetDataPath((second.Path() + "\\fehlt").c_str());
    EXPECT_TRUE(m_timers.Calls().empty());
    EXPECT_EQ((std::set<std::string>{"Alt"}), MapSubjects(c.GetAppointmentMap()));

    c.SetDataPath(second.Path().c_str());
    EXPECT_EQ(second.Path() + "\\", std::string(c.GetDataPath()));
    EXPECT_TRUE(c.IsOpen());
    EXPECT_EQ((std::vector<std::string>{"StopPolling 7", "Delete 7 " + std::to_string(nOld),
                                        "AddFixed 7 2005-03-04 09:00 " + std::to_string(Id("Neu")) + " 0",
                                        "StartPolling 7"}),
              m_timers.Calls());
    EXPECT_EQ((std::set<std::string>{"Neu"}), MapSubjects(c.GetAppointmentMap()));
    EXPECT_EQ((std::vector<std::string>{"Neu"}), ListSubjects(c.GetAppointmentList()));
    EXPECT_EQ(0, c.GetDayItemCount(Day("2005-03-01")));
    EXPECT_EQ(1, c.GetDayItemCount(Day("2005-03-04")));
    EXPECT_EQ(0, *c.GetBusyCounter());

    // The update thread now follows the new directory.
    m_strPath = second.Path() + "\\";
    Write({Entry{"Dazu"}});
    c.ReloadNow();
    EXPECT_EQ((std::set<std::string>{"Neu", "Dazu"}), MapSubjects(c.GetAppointmentMap()));
    m_controller.reset();
}
