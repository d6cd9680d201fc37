// The data controller's filters on a data directory of the test's own: each change empties the
// maps it concerns and waits for exactly one wake-up of the update thread, which loads what the
// new filter admits; unchanged values do nothing; the filter dialogs' choices, " < Alle Benutzer >"
// and the fallback to the own user without rights bit 1; link filters and the reset to the filter
// user before them; a changed entry's timer is deleted before the reload registers it again.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CDateValue.h"
#include "ControllerTestKit.h"
#include "DataStrings.h"

namespace {

using namespace controllertest;

class FiltersTest : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        m_app.m_frame.MakeWindow();
        Entry e;
        e = Entry{"Offen"}; m_entries.push_back(e);
        e = Entry{"Quittiert"}; e.status = "N"; m_entries.push_back(e);
        e = Entry{"Privat"}; e.isPrivate = true; e.startTime = 600; m_entries.push_back(e);
        e = Entry{"Verknuepft"}; e.dbPath = "C:\\ADRION\\KUNDEN"; e.dbRecId = 42; e.startTime = 660; m_entries.push_back(e);
        e = Entry{"Serie"}; e.series = true; e.end = "2005-03-05"; e.pattern = Daily(1); m_entries.push_back(e);
        e = Entry{"Fremd"}; e.user = kOtherUser; m_entries.push_back(e);
        e = Entry{"Aufgabe 1"}; e.todo = true; e.priority = "1"; m_entries.push_back(e);
        e = Entry{"Aufgabe 3"}; e.todo = true; e.priority = "3"; m_entries.push_back(e);
        e = Entry{"Fremde Aufgabe"}; e.todo = true; e.user = kOtherUser; e.priority = "2"; m_entries.push_back(e);
        Write(m_entries);
    }

    static COleDateTime Null()
    {
        COleDateTime date;
        date.SetStatus(COleDateTime::null);
        return date;
    }

    // The appointments and the to-dos loaded.
    std::set<std::string> Appointments() { return MapSubjects(m_controller->GetAppointmentMap()); }
    std::set<std::string> Todos() { return MapSubjects(m_controller->GetTaskMap()); }

    std::vector<Entry> m_entries;
};

const std::set<std::string> kOwnAppointments = {"Offen", "Quittiert", "Privat", "Verknuepft", "Serie"};
const std::set<std::string> kOwnTodos = {"Aufgabe 1", "Aufgabe 3"};

} // namespace

// The appointment filter: one wake-up of the update thread per change, none for the same values;
// what each value admits; the views get hint 0; the timer job's polling stops meanwhile and the
// busy counters are down afterwards.
TEST_F(FiltersTest, AppointmentFilterValues)
{
    CDataController& c = Start();
    ASSERT_EQ(kOwnAppointments, Appointments());
    struct Case {
        const char* name;
        const char* status;
        const char* privat;
        const char* series;
        const char* firstFrom;
        const char* firstTo;
        BOOL notStatus;
        std::set<std::string> expected;
        bool reloads;
    };
    const Case cases[] = {
        {"acknowledged", "N", "", "", nullptr, nullptr, FALSE, {"Quittiert"}, true},
        {"the same again: nothing", "N", "", "", nullptr, nullptr, FALSE, {"Quittiert"}, false},
        {"not acknowledged (negated only)", "N", "", "", nullptr, nullptr, TRUE,
         {"Offen", "Privat", "Verknuepft", "Serie"}, true},
        {"private", "", "1", "", nullptr, nullptr, FALSE, {"Privat"}, true},
        {"series", "", "", "1", nullptr, nullptr, FALSE, {"Serie"}, true},
        {"first day in a range that holds none", "", "", "", "2005-03-02", "2005-03-31", FALSE, {}, true},
        {"no condition", "", "", "", nullptr, nullptr, FALSE, kOwnAppointments, true},
        {"no condition again: nothing", "", "", "", nullptr, nullptr, FALSE, kOwnAppointments, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        m_app.m_document.m_notices.clear();
        m_timers.Clear();
        const LONG nCycles = c.GetUpdateCycles();
        const COleDateTime from = k.firstFrom ? (COleDateTime)CDateValue(Day(k.firstFrom), 0) : Null();
        const COleDateTime to = k.firstTo ? (COleDateTime)CDateValue(Day(k.firstTo), 0) : Null();
        EXPECT_EQ(1, c.SetAppointmentFilter(k.status, k.privat, k.series, from, to, k.notStatus));
        EXPECT_EQ(k.expected, Appointments());
        EXPECT_EQ(kOwnTodos, Todos()) << "the to-dos are not touched";
        EXPECT_EQ(k.reloads ? nCycles + 1 : nCycles, c.GetUpdateCycles()) << "wake-ups of the update thread";
        EXPECT_EQ(k.reloads ? std::vector<LPARAM>{0} : std::vector<LPARAM>{}, m_app.m_document.Hints());
        if (k.reloads) {
            const std::vector<std::string> calls = m_timers.Calls();
            ASSERT_FALSE(calls.empty());
            EXPECT_EQ("StopPolling 7", calls.front());
            EXPECT_EQ("StartPolling 7", calls.back());
        } else
            EXPECT_TRUE(m_timers.Calls().empty());
        EXPECT_EQ(0, *c.GetBusyCounter());
        EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
    }
    // The day index follows the map: the series is on its days again, the rest on theirs.
    ASSERT_TRUE(c.WaitForOccurrences(60000));
    EXPECT_EQ((std::vector<std::string>{"2005-03-01", "2005-03-02", "2005-03-03", "2005-03-04", "2005-03-05"}),
              DaysOf("Serie"));
    EXPECT_EQ(5, c.GetDayItemCount(Day("2005-03-01")));
}

// The to-do filter: a priority range, a state; the appointments are not touched.
TEST_F(FiltersTest, TaskFilterValues)
{
    CDataController& c = Start();
    const LONG nCycles = c.GetUpdateCycles();
    EXPECT_EQ(1, c.SetTaskFilter("2", "3", "", Null(), Null(), FALSE));
    EXPECT_EQ((std::set<std::string>{"Aufgabe 3"}), Todos());
    EXPECT_EQ(kOwnAppointments, Appointments());
    EXPECT_EQ(1, c.SetTaskFilter("2", "3", "", Null(), Null(), FALSE));
    EXPECT_EQ(nCycles + 1, c.GetUpdateCycles());
    EXPECT_EQ(1, c.SetTaskFilter("", "", "", Null(), Null(), FALSE));
    EXPECT_EQ(kOwnTodos, Todos());
    EXPECT_EQ(nCycles + 2, c.GetUpdateCycles());
}

// The filter dialogs: their choices applied after OK, nothing after Cancel; the user choice
// " < Alle Benutzer >" shows every user's entries; without a user choice, a user lacking rights
// bit 1 falls back to their own entries, one with it keeps the filter user.
TEST_F(FiltersTest, FilterDialogs)
{
    CDataController& c = Start();
    auto appointmentStep = [](int nResult, std::function<void(CAppointmentFilterChoice&)> edit) {
        CScriptedDialogs::Step step;
        step.kind = CScriptedDialogs::appointmentFilter;
        step.nResult = nResult;
        step.editAppointmentFilter = edit;
        return step;
    };
    auto todoStep = [](std::function<void(CTodoFilterChoice&)> edit) {
        CScriptedDialogs::Step step;
        step.kind = CScriptedDialogs::todoFilter;
        step.nResult = IDOK;
        step.editTodoFilter = edit;
        return step;
    };

    // Cancel: nothing.
    const LONG nCycles = c.GetUpdateCycles();
    m_app.m_dialogs.Expect(appointmentStep(IDCANCEL, nullptr));
    EXPECT_EQ(1, c.EditAppointmentFilter());
    EXPECT_EQ(nCycles, c.GetUpdateCycles());

    // Every user, through the dialog's choice.
    m_app.m_dialogs.Expect(appointmentStep(IDOK, [](CAppointmentFilterChoice& choice) {
        choice.bUserChoice = TRUE;
        choice.strUser = ResourceText(IDS_ALL_USERS).c_str();
    }));
    EXPECT_EQ(1, c.EditAppointmentFilter());
    EXPECT_EQ("", std::string(c.GetFilterUser()));
    std::set<std::string> all = kOwnAppointments;
    all.insert("Fremd");
    EXPECT_EQ(all, Appointments());
    EXPECT_EQ((std::set<std::string>{"Aufgabe 1", "Aufgabe 3", "Fremde Aufgabe"}), Todos())
        << "another filter user loads the to-dos again too";

    // Subject, not acknowledged, another user chosen by name.
    m_app.m_dialogs.Expect(appointmentStep(IDOK, [](CAppointmentFilterChoice& choice) {
        choice.bSubject = TRUE;
        choice.strSubject = "Fr";
        choice.bUserChoice = TRUE;
        choice.strUser = kOtherUser;
    }));
    EXPECT_EQ(1, c.EditAppointmentFilter());
    EXPECT_EQ(kOtherUser, std::string(c.GetFilterUser()));
    EXPECT_EQ((std::set<std::string>{"Fremd"}), Appointments());

    // Without a user choice and without rights bit 1: the own entries.
    m_app.m_dialogs.Expect(appointmentStep(IDOK, [](CAppointmentFilterChoice& choice) {
        choice.bStatusOpen = FALSE;
        choice.bAcknowledged = FALSE;
    }));
    EXPECT_EQ(1, c.EditAppointmentFilter());
    EXPECT_EQ(kUser, std::string(c.GetFilterUser()));
    EXPECT_EQ((std::set<std::string>{"Offen", "Privat", "Verknuepft", "Serie"}), Appointments())
        << "subject back to all, not acknowledged";
    EXPECT_EQ(kOwnTodos, Todos());

    // With rights bit 1 the filter user stays as it is.
    ASSERT_EQ(1, c.SetFilterUser(kOtherUser));
    c.SetRights("00000T");
    m_app.m_dialogs.Expect(appointmentStep(IDOK, [](CAppointmentFilterChoice& choice) {
        choice.bPrivateOpen = FALSE;
        choice.bPrivate = FALSE;
    }));
    EXPECT_EQ(1, c.EditAppointmentFilter());
    EXPECT_EQ(kOtherUser, std::string(c.GetFilterUser()));
    EXPECT_EQ((std::set<std::string>{"Fremd"}), Appointments());

    // The to-do dialog: a priority range for every user; every map is loaded again.
    m_app.m_dialogs.Expect(todoStep([](CTodoFilterChoice& choice) {
        choice.bPriorityRange = TRUE;
        choice.strPriorityFrom = "1";
        choice.strPriorityTo = "2";
        choice.bUserChoice = TRUE;
        choice.strUser = ResourceText(IDS_ALL_USERS).c_str();
    }));
    const LONG nBefore = c.GetUpdateCycles();
    EXPECT_EQ(1, c.EditTaskFilter());
    EXPECT_EQ(nBefore + 1, c.GetUpdateCycles());
    EXPECT_EQ((std::set<std::string>{"Aufgabe 1", "Fremde Aufgabe"}), Todos());
    EXPECT_EQ((std::set<std::string>{"Offen", "Quittiert", "Verknuepft", "Serie", "Fremd"}), Appointments())
        << "the appointments of every user that are not private";
    EXPECT_EQ(0u, m_app.m_dialogs.Pending());
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}

// The filter user: a change loads both kinds again, the same user does nothing.
TEST_F(FiltersTest, FilterUser)
{
    CDataController& c = Start();
    const LONG nCycles = c.GetUpdateCycles();
    EXPECT_EQ(1, c.SetFilterUser(kUser));
    EXPECT_EQ(nCycles, c.GetUpdateCycles());
    EXPECT_TRUE(m_app.m_document.Hints().empty());
    EXPECT_EQ(1, c.SetFilterUser(kOtherUser));
    EXPECT_EQ(nCycles + 1, c.GetUpdateCycles());
    EXPECT_EQ((std::set<std::string>{"Fremd"}), Appointments());
    EXPECT_EQ((std::set<std::string>{"Fremde Aufgabe"}), Todos());
    EXPECT_EQ((std::vector<std::string>{"Fremd"}), ListSubjects(c.GetAppointmentList()));
    EXPECT_EQ(0, c.GetDayItemCount(Day("2005-03-02")));
    EXPECT_EQ((std::vector<LPARAM>{0}), m_app.m_document.Hints());
}

// The link filters: only the entries of a linked record; a user given with flag 4 filters both
// kinds; no flag does nothing. The reset goes back to the filter user before the link filter
// (rights bit 1) or to the own user (without), and clears every other value.
TEST_F(FiltersTest, LinkFiltersAndReset)
{
    CDataController& c = Start();
    const LONG nCycles = c.GetUpdateCycles();
    EXPECT_EQ(1, c.SetAppointmentLinkFilter(0, "C:\\ADRION\\KUNDEN", "42", kOtherUser));
    EXPECT_EQ(nCycles, c.GetUpdateCycles());

    EXPECT_EQ(1, c.SetAppointmentLinkFilter(CDataController::kLinkRecord, "C:\\ADRION\\KUNDEN", "42", kOtherUser));
    EXPECT_EQ((std::set<std::string>{"Verknuepft"}), Appointments());
    EXPECT_EQ(kOwnTodos, Todos());
    EXPECT_EQ(kUser, std::string(c.GetFilterUser()));

    EXPECT_EQ(1, c.SetTaskLinkFilter(CDataController::kLinkUser, "", "", kOtherUser));
    EXPECT_EQ(kOtherUser, std::string(c.GetFilterUser()));
    EXPECT_EQ((std::set<std::string>{"Fremde Aufgabe"}), Todos());
    EXPECT_EQ((std::set<std::string>{}), Appointments()) << "the other user's entries linked to the record";
    EXPECT_EQ(kUser, std::string(c.GetPreviousFilterUser()));

    // Without rights bit 1: the own user, every value cleared.
    EXPECT_EQ(1, c.ResetFilters());
    EXPECT_EQ(kUser, std::string(c.GetFilterUser()));
    EXPECT_EQ(kOwnAppointments, Appointments());
    EXPECT_EQ(kOwnTodos, Todos());
    EXPECT_EQ("", std::string(c.GetPreviousFilterUser()));

    // With rights bit 1: the filter user from before the link filter (here: every user).
    c.SetRights("00000T");
    ASSERT_EQ(1, c.SetFilterUser(""));
    EXPECT_EQ(1, c.SetAppointmentLinkFilter(CDataController::kLinkUser | CDataController::kLinkRecord,
                                            "C:\\ADRION\\KUNDEN", "42", kUser));
    EXPECT_EQ((std::set<std::string>{"Verknuepft"}), Appointments());
    EXPECT_EQ(kOwnTodos, Todos());
    const LONG nBefore = c.GetUpdateCycles();
    EXPECT_EQ(1, c.ResetFilters());
    EXPECT_EQ(nBefore + 1, c.GetUpdateCycles()) << "one reload";
    EXPECT_EQ("", std::string(c.GetFilterUser()));
    std::set<std::string> all = kOwnAppointments;
    all.insert("Fremd");
    EXPECT_EQ(all, Appointments());
    EXPECT_EQ((std::set<std::string>{"Aufgabe 1", "Aufgabe 3", "Fremde Aufgabe"}), Todos());
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}

// Another station moves an entry to another time; a filter change reloads before the update
// thread noticed: the entry's old timer is deleted before its new one is registered, so the job
// does not keep the old time. The start of the job registers without deleting.
TEST_F(FiltersTest, ReloadDeletesTheOldTimerFirst)
{
    Entry reminded{"Erinnert"};
    reminded.remind = true;
    reminded.lead = 15;
    Write({reminded});
    const long nId = Id("Erinnert");
    CDataController& c = Start();
    EXPECT_TRUE(m_timers.CallsStartingWith("Delete").empty()) << "a new job holds no timers";
    {
        CTerminTable other(m_session.get(), FALSE);
        ASSERT_NE(DB_OPEN_FAILED, other.OpenMain(m_strPath.c_str(), 0, 0));
        CTerminRecordBuffer row(&other);
        row.AttachFields();
        ASSERT_EQ(0, row.LockAndRead(other.FindRecordById(IdText(nId).c_str())));
        CDataAppointment record;
        row.GetAppointment(record);
        record.m_pattern.m_nStartTime = 600;
        row.PutAppointment(record);
        ASSERT_EQ(0, row.WriteRecord());
        row.UnlockRecord();
    }
    m_timers.Clear();
    ASSERT_EQ(1, c.SetFilterUser(""));
    std::vector<std::string> calls;
    for (const std::string& call : m_timers.Calls())
        if (call.find(std::to_string(nId)) != std::string::npos)
            calls.push_back(call);
    EXPECT_EQ((std::vector<std::string>{"Delete 7 " + std::to_string(nId),
                                        "AddFixed 7 2005-03-01 10:00 " + std::to_string(nId) + " 15"}),
              calls);
}
