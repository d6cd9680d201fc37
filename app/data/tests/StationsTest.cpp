// Two stations on one data directory: this test's data controller and another one in a process of
// its own (data_controller_probe). The other station's changes, additions and deletions reach this
// controller's maps, day index and timers with its next pass, also a change within the same
// 2-second step of the file time; a row the other station holds cannot be edited, saved or
// deleted here; a row being edited here is locked before it is read, and stays locked while its
// dialog is open, whatever the update thread and the views read meanwhile.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "ControllerPeer.h"
#include "ControllerTestKit.h"
#include "DataStrings.h"

namespace {

using namespace controllertest;

std::string Text(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return (LPCTSTR)strText;
}

class StationsTest : public ControllerTest {
protected:
    std::unique_ptr<datatest::ControllerPeer> Peer()
    {
        auto peer = std::make_unique<datatest::ControllerPeer>(m_strPath, kUser);
        EXPECT_EQ("ready", peer->Greeting());
        return peer;
    }

    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& box : Boxes())
            texts.push_back(box.size() > 2 ? box[2] : "");
        return texts;
    }

    static CScriptedDialogs::Step Edit(std::function<void(CDataAppointment&)> edit, int nResult = IDOK)
    {
        CScriptedDialogs::Step step;
        step.kind = CScriptedDialogs::appointment;
        step.nResult = nResult;
        step.editRecord = edit;
        return step;
    }

    std::string Cmd(const char* format, long nId, const char* rest = "")
    {
        char szLine[128];
        snprintf(szLine, sizeof szLine, format, nId, rest);
        return szLine;
    }
};

} // namespace

// The other station edits, deletes and adds; this controller sees each change after its next pass
// (ReloadNow): the changed entry's old key leaves the map and its day, its timer is deleted and set
// again; the deleted entry's key, days and timer go; the new entry comes with its timer.
TEST_F(StationsTest, ChangesOfTheOtherStationReachThisOne)
{
    Entry a{"Arzt"};
    a.remind = true;
    Entry b{"Besuch"};
    b.remind = true;
    b.start = b.end = "2005-03-02";
    Write({a, b, Entry{"Bleibt"}});
    CDataController& c = Start();
    auto peer = Peer();
    const long nArzt = Id("Arzt"), nBesuch = Id("Besuch");
    const std::string sArzt = std::to_string(nArzt), sBesuch = std::to_string(nBesuch);

    EXPECT_EQ("ok", peer->Run(Cmd("change %ld Arzttermin %s", nArzt, std::to_string(Day("2005-03-08")).c_str())));
    EXPECT_EQ("ok", peer->Run(Cmd("delete %ld%s", nBesuch)));
    const long nNeu = peer->RunNumber("new Neu " + std::to_string(Day("2005-03-09")) + " 720");
    ASSERT_GT(nNeu, 0);
    m_timers.Clear();
    c.ReloadNow();

    std::vector<std::string> calls = m_timers.Calls();
    std::sort(calls.begin(), calls.end());
    std::vector<std::string> expected = {"AddFixed 7 2005-03-08 09:00 " + sArzt + " 0", "Delete 7 " + sArzt,
                                         "Delete 7 " + sBesuch,
                                         "AddFixed 7 2005-03-09 12:00 " + std::to_string(nNeu) + " 0"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, calls);
    const CItemVersionRef key = c.GetAppointmentMap().Find(nArzt);
    ASSERT_TRUE(key);
    EXPECT_EQ(1, key->GetFootprint());
    EXPECT_EQ((std::vector<std::string>{"2005-03-08"}), DaysOf("Arzt"));
    EXPECT_FALSE(c.GetAppointmentMap().Find(nBesuch));
    EXPECT_TRUE(DaysOf("Besuch").empty());
    EXPECT_EQ((std::vector<long>{Day("2005-03-09")}), c.GetDayIndex().GetDaysOf(nNeu));
    EXPECT_EQ(3, c.GetAppointmentMap().GetCount());
    m_ids["Neu"] = nNeu;
    EXPECT_EQ((std::vector<std::string>{"Bleibt", "Arzt", "Neu"}), ListSubjects(c.GetAppointmentList()))
        << "the list in the order of the filter's index (day, time)";

    // A pass over the unchanged file reads nothing and changes nothing.
    m_timers.Clear();
    ASSERT_TRUE(RunUpdatePass());
    EXPECT_TRUE(m_timers.Calls().empty());
}

// A change the other station makes within the same 2-second step of the file time that this
// controller's last pass saw is found by the next pass all the same.
TEST_F(StationsTest, ChangeWithinTheSameTwoSecondStep)
{
    Write({Entry{"Arzt"}});
    CDataController& c = Start();
    auto peer = Peer();
    const long nId = Id("Arzt");
    bool sameStep = false;
    for (int attempt = 0; attempt < 10 && !sameStep; ++attempt) {
        // Waits until a new 2-second step has just begun, so that the pass and the change fall into
        // it.
        SYSTEMTIME now;
        do {
            GetSystemTime(&now);
            Sleep(5);
        } while (now.wSecond % 2 != 0 || now.wMilliseconds > 300);
        c.ReloadNow();
        const long nBefore = peer->RunNumber("filetime");
        const std::string change = "Arzt" + std::to_string(attempt) + " " + std::to_string(Day("2005-03-01"));
        ASSERT_EQ("ok", peer->Run(Cmd("change %ld %s", nId, change.c_str())));
        const long nAfter = peer->RunNumber("filetime");
        sameStep = nBefore == nAfter;
        m_timers.Clear();
        ASSERT_TRUE(RunUpdatePass());
        CDataAppointment stored;
        std::string footprint;
        ASSERT_TRUE(StoredRow(nId, stored, &footprint));
        const CItemVersionRef key = c.GetAppointmentMap().Find(nId);
        ASSERT_TRUE(key);
        EXPECT_EQ(atoi(footprint.c_str()), key->GetFootprint()) << "attempt " << attempt;
        EXPECT_EQ((std::vector<std::string>{"Delete 7 " + std::to_string(nId)}), m_timers.Calls());
    }
    EXPECT_TRUE(sameStep) << "no change fell into the step of the pass before it";
}

// A row the other station holds: the edit, the save and the delete here report it and change
// nothing.
TEST_F(StationsTest, RowHeldByTheOtherStation)
{
    Write({Entry{"Arzt"}});
    CDataController& c = Start();
    m_app.m_frame.MakeWindow();
    auto peer = Peer();
    const long nId = Id("Arzt");
    ASSERT_EQ("ok", peer->Run(Cmd("hold %ld%s", nId)));

    EXPECT_EQ(0, c.EditAppointment(IdText(nId).c_str()));
    EXPECT_TRUE(m_app.m_dialogs.m_calls.empty()) << "no dialog opened";
    EXPECT_EQ((std::vector<std::string>{Text(IDS_DB_RECORD_IN_USE)}), BoxTexts());

    m_log.Clear();
    CDataAppointment record = Record(Entry{"Arzt neu"});
    CString strId = IdText(nId).c_str();
    EXPECT_FALSE(c.SaveAppointment(record, strId, TRUE, TRUE));
    EXPECT_EQ((std::vector<std::string>{Text(IDS_DB_RECORD_IN_USE)}), BoxTexts());

    m_log.Clear();
    EXPECT_EQ(0, c.DeleteAppointment(IdText(nId).c_str(), FALSE));
    EXPECT_EQ((std::vector<std::string>{Text(IDS_DB_RECORD_IN_USE), Text(IDS_DELETE_ERROR)}), BoxTexts());
    EXPECT_EQ((std::vector<LPARAM>{CDataDocument::hintAppointmentDeleted}), m_app.m_document.Hints())
        << "the views are told also after a failed delete";

    CDataAppointment stored;
    std::string footprint;
    ASSERT_TRUE(StoredRow(nId, stored, &footprint));
    EXPECT_STREQ("Arzt", stored.m_strSubject);
    EXPECT_EQ(0, atoi(footprint.c_str()));
    EXPECT_TRUE(c.GetAppointmentMap().Find(nId));
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());

    // Released: the edit goes through; a cancelled one gives the row free again.
    ASSERT_EQ("ok", peer->Run("release"));
    m_app.m_dialogs.Expect(Edit(nullptr, IDCANCEL));
    EXPECT_EQ(1, c.EditAppointment(IdText(nId).c_str()));
    EXPECT_EQ("ok", peer->Run(Cmd("hold %ld%s", nId))) << "the cancelled dialog released the row";
}

// The row of an edit is locked before it is read: the other station's change either comes before
// the lock (and is in what the dialog shows and writes back) or is refused; it is never lost.
TEST_F(StationsTest, LockBeforeReadLosesNoUpdate)
{
    Entry e{"Arzt"};
    Write({e});
    CDataController& c = Start();
    auto peer = Peer();
    const long nId = Id("Arzt");
    std::string peerAnswer;
    // Right after the edit has read the row, the other station writes another field of it.
    c.SetRowReadHook([&](long) { peerAnswer = peer->Run(Cmd("place %ld %s", nId, "Raum2")); });
    m_app.m_dialogs.Expect(Edit([](CDataAppointment& r) { r.m_strSubject = "Arzt, verlegt"; }));
    EXPECT_EQ(1, c.EditAppointment(IdText(nId).c_str()));
    c.SetRowReadHook(nullptr);

    CDataAppointment stored;
    ASSERT_TRUE(StoredRow(nId, stored));
    EXPECT_STREQ("Arzt, verlegt", stored.m_strSubject);
    EXPECT_EQ("locked", peerAnswer) << "the row was locked when it was read";
    if (peerAnswer == "ok") {
        EXPECT_STREQ("Raum2", stored.m_strPlace) << "the other station's change was written over";
    }

    // The same for a save without dialog.
    c.SetRowReadHook([&](long) { peerAnswer = peer->Run(Cmd("place %ld %s", nId, "Raum3")); });
    CDataAppointment record = stored;
    record.m_strSubject = "Arzt, bestätigt";
    CString strId = IdText(nId).c_str();
    EXPECT_TRUE(c.SaveAppointment(record, strId, TRUE, FALSE));
    c.SetRowReadHook(nullptr);
    EXPECT_EQ("locked", peerAnswer);

    // A change made before the edit is what the dialog shows.
    ASSERT_EQ("ok", peer->Run(Cmd("place %ld %s", nId, "Raum4")));
    std::string shown;
    m_app.m_dialogs.Expect(Edit([&](CDataAppointment& r) { shown = (LPCTSTR)r.m_strPlace; }));
    EXPECT_EQ(1, c.EditAppointment(IdText(nId).c_str()));
    EXPECT_EQ("Raum4", shown);
}

// While the edit dialog is open, the update thread passes over the table and the views read
// other entries of the same table instance: the edited row stays locked all the time.
TEST_F(StationsTest, OpenDialogKeepsItsRowLocked)
{
    Write({Entry{"Arzt"}, Entry{"Besuch"}});
    CDataController& c = Start();
    auto peer = Peer();
    const long nId = Id("Arzt");
    std::string afterPass, afterRead;
    m_app.m_dialogs.Expect(Edit([&](CDataAppointment& r) {
        c.ReloadNow();
        afterPass = peer->Run(Cmd("hold %ld%s", nId));
        CDataAppointment other;
        CTerminRecordBuffer buffer(c.GetAppointmentTable());
        EXPECT_TRUE(c.ReadAppointment(IdText(Id("Besuch")).c_str(), other, buffer));
        afterRead = peer->Run(Cmd("hold %ld%s", nId));
        r.m_strSubject = "Arzt, gelesen";
    }));
    EXPECT_EQ(1, c.EditAppointment(IdText(nId).c_str()));
    EXPECT_EQ("locked", afterPass) << "after a pass of the update thread";
    EXPECT_EQ("locked", afterRead) << "after a view read another entry";
    CDataAppointment stored;
    ASSERT_TRUE(StoredRow(nId, stored));
    EXPECT_STREQ("Arzt, gelesen", stored.m_strSubject);
}

// This controller's passes run one after the other while the other station changes and adds
// rows: every write of the other station lands, and the pass after the last write shows every
// change (a row read during a pass is read anew at the next pass's positioning).
TEST_F(StationsTest, PassesWhileTheOtherStationWrites)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 2500; ++i)
        entries.push_back(Entry{"Eintrag" + std::to_string(i)});
    Write(entries);
    CDataController& c = Start();
    ASSERT_EQ(2500, c.GetAppointmentMap().GetCount());
    auto peer = Peer();

    std::atomic<bool> bStop{false};
    std::atomic<int> nPasses{0};
    std::thread passes([&] {
        while (!bStop) {
            c.ResetFileTime(FALSE);
            if (!RunUpdatePass())
                break;
            ++nPasses;
        }
    });
    std::vector<long> changed, added;
    for (int i = 0; i < 12; ++i) {
        const long nId = Id("Eintrag" + std::to_string(i * 199));
        const std::string change = "Neu" + std::to_string(i) + " " + std::to_string(Day("2005-04-01") + i);
        EXPECT_EQ("ok", peer->Run(Cmd("change %ld %s", nId, change.c_str()))) << "change " << i;
        changed.push_back(nId);
        const long nNew = peer->RunNumber("new Dazu" + std::to_string(i) + " " + std::to_string(Day("2005-05-01")) +
                                          " 600");
        EXPECT_GT(nNew, 0) << "addition " << i;
        added.push_back(nNew);
    }
    bStop = true;
    passes.join();
    EXPECT_GT(nPasses.load(), 0);

    c.ReloadNow();
    EXPECT_EQ(2500 + 12, c.GetAppointmentMap().GetCount());
    for (size_t i = 0; i < changed.size(); ++i) {
        CDataAppointment stored;
        std::string footprint;
        ASSERT_TRUE(StoredRow(changed[i], stored, &footprint));
        EXPECT_EQ("Neu" + std::to_string(i), std::string(stored.m_strSubject));
        const CItemVersionRef key = c.GetAppointmentMap().Find(changed[i]);
        ASSERT_TRUE(key);
        EXPECT_EQ(atoi(footprint.c_str()), key->GetFootprint()) << "change " << i;
        EXPECT_EQ((std::vector<long>{Day("2005-04-01") + (long)i}), c.GetDayIndex().GetDaysOf(changed[i]));
    }
    for (long nId : added)
        EXPECT_TRUE(c.GetAppointmentMap().Find(nId)) << nId;
    EXPECT_TRUE(BoxTexts().empty());
}
