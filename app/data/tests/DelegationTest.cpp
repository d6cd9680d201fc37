// Delegating entries to other users: the copy written for the chosen user (a new RECORDID, the
// delegating user and today as last change), the move that deletes the original only after its
// copy was written (a failing write keeps the original), the rights for other users' entries,
// cancelled dialogs, entries already gone, and the views' hints; then several entries at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControllerTestKit.h"
#include "DataStrings.h"

namespace {

using namespace controllertest;

const char kTarget[] = "Carla";
// Rights texts: 'T' at 4 lets the user delegate, at 7 act on other users' entries.
const char kDelegate[] = "FFFFTFFF";
const char kDelegateOthers[] = "FFFFTFFT";

class DelegationTest : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        m_app.m_frame.MakeWindow();
    }

    static CScriptedDialogs::Step DelegateStep(int nResult, bool move)
    {
        CScriptedDialogs::Step step;
        step.kind = CScriptedDialogs::delegate;
        step.nResult = nResult;
        step.strDelegateUser = kTarget;
        step.bMove = move;
        return step;
    }

    // The stored rows of the subject: their ids and users.
    std::vector<std::pair<long, std::string>> RowsOf(const std::string& subject)
    {
        std::vector<std::pair<long, std::string>> rows;
        for (const auto& row : StoredRows())
            if (row.second == subject) {
                CDataAppointment stored;
                EXPECT_TRUE(StoredRow(row.first, stored));
                rows.emplace_back(row.first, (LPCTSTR)stored.m_strUser);
            }
        return rows;
    }
};

TEST_F(DelegationTest, DelegateOneEntry)
{
    const struct Case {
        const char* subject;
        bool todo;
        std::string owner;
        const char* rights;
        bool dialog;    // the dialog is shown
        int button;
        bool move;
        bool failWrite; // the copy's write fails
        bool gone;      // the entry was deleted by another station before
        std::vector<UINT> boxes;
        bool copied;
        bool originalKept;
    } cases[] = {
        {"copy of an own entry", false, kUser, kDelegate, true, IDOK, false, false, false, {}, true, true},
        {"move of an own entry", false, kUser, kDelegate, true, IDOK, true, false, false, {}, true, false},
        {"move of an own to-do", true, kUser, kDelegate, true, IDOK, true, false, false, {}, true, false},
        {"move whose write fails", false, kUser, kDelegate, true, IDOK, true, true, false, {IDS_SAVE_ERROR}, false,
         true},
        {"copy whose write fails", true, kUser, kDelegate, true, IDOK, false, true, false, {IDS_SAVE_ERROR}, false,
         true},
        {"dialog cancelled", false, kUser, kDelegate, true, IDCANCEL, true, false, false, {}, false, true},
        {"without the right to delegate", false, kUser, "", false, IDOK, true, false, false, {}, false, true},
        {"another user's entry without the right", false, kOtherUser, kDelegate, false, IDOK, true, false, false,
         {IDS_DELEGATE_OWN_ONLY}, false, true},
        {"another user's entry with the right", false, kOtherUser, kDelegateOthers, true, IDOK, true, false, false,
         {}, true, false},
        {"an entry deleted meanwhile", false, kUser, kDelegate, false, IDOK, true, false, true, {IDS_ENTRY_GONE},
         false, false},
    };
    std::vector<Entry> entries;
    for (const Case& k : cases) {
        Entry e{k.subject};
        e.user = k.owner;
        e.todo = k.todo;
        entries.push_back(e);
    }
    Write(entries);

    for (const Case& k : cases) {
        SCOPED_TRACE(k.subject);
        m_app.GetSettings()->m_strCurrentRights = k.rights;
        CDataController& c = Start();
        const long nId = Id(k.subject);
        if (k.gone) {
            CDataController other(m_strPath.c_str(), kUser, &m_timers, &m_timings);
            ASSERT_EQ(1, other.DeleteAppointment(IdText(nId).c_str(), FALSE));
        }
        // The copy is written while the original is still stored.
        int nWrites = 0;
        c.SetCopyWriteHook([&](const CDataAppointment& record) {
            ++nWrites;
            CDataAppointment original;
            EXPECT_TRUE(StoredRow(nId, original));
            EXPECT_EQ(k.subject, std::string(record.m_strSubject));
            return k.failWrite ? FALSE : TRUE;
        });
        m_log.Clear();
        m_app.m_dialogs.m_calls.clear();
        m_app.m_document.m_notices.clear();
        if (k.dialog)
            m_app.m_dialogs.Expect(DelegateStep(k.button, k.move));

        c.DelegateItem(IdText(nId).c_str());

        EXPECT_EQ(0u, m_app.m_dialogs.Pending());
        EXPECT_EQ(k.dialog ? 1u : 0u, m_app.m_dialogs.m_calls.size());
        std::vector<std::string> boxes;
        for (UINT nBox : k.boxes)
            boxes.push_back(ResourceText(nBox));
        EXPECT_EQ(boxes, BoxTexts());
        EXPECT_EQ(k.dialog && k.button == IDOK ? 1 : 0, nWrites);

        CDataAppointment original;
        EXPECT_EQ(k.originalKept, StoredRow(nId, original));
        std::vector<std::pair<long, std::string>> rows = RowsOf(k.subject);
        std::vector<std::string> copies;
        for (const auto& row : rows)
            if (row.first != nId) {
                copies.push_back(row.second);
                CDataAppointment copy;
                ASSERT_TRUE(StoredRow(row.first, copy));
                EXPECT_EQ(kUser, std::string(copy.m_strChangedBy));
                EXPECT_EQ(COleDateTime::GetCurrentTime().Format("%d.%m.%Y"), copy.m_dtChanged.Format("%d.%m.%Y"));
                EXPECT_EQ(k.todo, copy.m_bTodo != FALSE);
            }
        EXPECT_EQ(k.copied ? std::vector<std::string>{kTarget} : std::vector<std::string>{}, copies);
        if (k.originalKept) {
            EXPECT_EQ(k.owner, std::string(original.m_strUser));
        }

        // The last hint: a created entry of its kind.
        ASSERT_FALSE(m_app.m_document.m_notices.empty());
        EXPECT_EQ(k.todo ? CDataDocument::hintTodoCreated : CDataDocument::hintAppointmentCreated,
                  m_app.m_document.m_notices.back().lHint);
        EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
        EXPECT_EQ(0, *c.GetBusyCounter());
        m_controller.reset();
    }
}

// The delegated copy is the whole row: fields that no record carries (KATEGORIE, the memo APP_DAT2,
// FLAGS) arrive in the copy, also when the original is deleted by the move; alone and in a list.
TEST_F(DelegationTest, AMovedEntryKeepsEveryFieldOfItsRow)
{
    const std::vector<std::string> kFields = {"KATEGORIE", "APP_DAT2", "FLAGS", "NOTIZEN", "BETREFF"};
    auto rowFields = [&](long nId) {
        std::vector<std::string> values;
        CTerminTable table(m_session.get(), TRUE);
        EXPECT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        const long nRecNo = table.FindRecordById(IdText(nId).c_str());
        EXPECT_EQ(0, nRecNo > 0 ? row.ReadRecord(nRecNo) : -1) << nId;
        for (const std::string& name : kFields)
            values.push_back((LPCTSTR)row.FieldValue(name.c_str()));
        return values;
    };
    for (bool several : {false, true}) {
        SCOPED_TRACE(several ? "in a list" : "alone");
        const std::string subject = several ? "Liste" : "Einzeln";
        Entry e{subject};
        e.partner = "Dora";
        Write({e});
        const long nId = Id(subject);
        {
            CTerminTable table(m_session.get(), FALSE);
            ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
            CTerminRecordBuffer row(&table);
            row.AttachFields();
            ASSERT_EQ(0, row.LockAndRead(table.FindRecordById(IdText(nId).c_str())));
            row.SetFieldValue("KATEGORIE", "Kunde M\xfcller");
            row.SetFieldValue("APP_DAT2", "Zusatzdaten der Anwendung\r\nzweite Zeile");
            row.SetFieldValue("FLAGS", "XQ");
            row.SetFieldValue("NOTIZEN", "Notiz zum Termin");
            ASSERT_EQ(0, row.WriteRecord());
            row.UnlockRecord();
        }
        const std::vector<std::string> before = rowFields(nId);
        m_app.GetSettings()->m_strCurrentRights = kDelegate;
        CDataController& c = Start();
        m_log.Clear();
        m_app.m_dialogs.Expect(DelegateStep(IDOK, true));
        if (several) {
            CStringList ids;
            ids.AddTail(IdText(nId).c_str());
            c.DelegateItems(ids);
        } else
            c.DelegateItem(IdText(nId).c_str());
        EXPECT_TRUE(BoxTexts().empty());
        const std::vector<std::pair<long, std::string>> rows = RowsOf(subject);
        ASSERT_EQ(1u, rows.size()) << "the original is gone, its copy is there";
        EXPECT_NE(nId, rows[0].first);
        EXPECT_EQ(kTarget, rows[0].second);
        EXPECT_EQ(before, rowFields(rows[0].first));
        m_controller.reset();
    }
}

// A move whose original another station changes while the delegation dialog is open: the copy
// carries the change, nothing of it goes with the deleted original.
TEST_F(DelegationTest, AMoveTakesAChangeMadeWhileTheDialogWasOpen)
{
    Entry e{"Besprechung"};
    e.place = "Raum 1";
    Write({e});
    const long nId = Id("Besprechung");
    m_app.GetSettings()->m_strCurrentRights = kDelegate;
    CDataController& c = Start();
    CScriptedDialogs::Step step = DelegateStep(IDOK, true);
    step.whileShown = [&] {
        CTerminTable table(m_session.get(), FALSE);
        ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        ASSERT_EQ(0, row.LockAndRead(table.FindRecordById(IdText(nId).c_str())));
        row.SetFieldValue("ORT", "Raum 2");
        ASSERT_EQ(0, row.WriteRecord());
        row.UnlockRecord();
    };
    m_app.m_dialogs.Expect(step);
    c.DelegateItem(IdText(nId).c_str());
    const std::vector<std::pair<long, std::string>> rows = RowsOf("Besprechung");
    ASSERT_EQ(1u, rows.size());
    EXPECT_NE(nId, rows[0].first);
    CDataAppointment copy;
    ASSERT_TRUE(StoredRow(rows[0].first, copy));
    EXPECT_STREQ("Raum 2", copy.m_strPlace);
    EXPECT_STREQ(kTarget, copy.m_strUser);
}

TEST_F(DelegationTest, DelegateSeveralEntries)
{
    Write({Entry{"eigen 1"}, Entry{"fremd", kOtherUser}, Entry{"eigen 2"}, Entry{"weg"}});
    m_app.GetSettings()->m_strCurrentRights = kDelegate;
    CDataController& c = Start();
    {
        CDataController other(m_strPath.c_str(), kUser, &m_timers, &m_timings);
        ASSERT_EQ(1, other.DeleteAppointment(IdText(Id("weg")).c_str(), FALSE));
    }
    CStringList ids;
    for (const char* subject : {"eigen 1", "fremd", "weg", "eigen 2"})
        ids.AddTail(IdText(Id(subject)).c_str());
    m_log.Clear();
    m_app.m_dialogs.Expect(DelegateStep(IDOK, true));

    c.DelegateItems(ids);

    // One dialog; the refused and the missing entry reported once each, in that order.
    EXPECT_EQ(1u, m_app.m_dialogs.m_calls.size());
    EXPECT_EQ((std::vector<std::string>{ResourceText(IDS_DELEGATE_OWN_ONLY), ResourceText(IDS_ENTRY_GONE)}),
              BoxTexts());
    for (const char* subject : {"eigen 1", "eigen 2"}) {
        SCOPED_TRACE(subject);
        std::vector<std::pair<long, std::string>> rows = RowsOf(subject);
        ASSERT_EQ(1u, rows.size());
        EXPECT_NE(Id(subject), rows[0].first);
        EXPECT_EQ(kTarget, rows[0].second);
    }
    EXPECT_EQ((std::vector<std::pair<long, std::string>>{{Id("fremd"), kOtherUser}}), RowsOf("fremd"));
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
    EXPECT_EQ(0, *c.GetBusyCounter());

    // Cancelled: nothing written, no hint.
    m_app.m_document.m_notices.clear();
    m_app.m_dialogs.Expect(DelegateStep(IDCANCEL, true));
    const size_t nRows = StoredRows().size();
    c.DelegateItems(ids);
    EXPECT_EQ(nRows, StoredRows().size());
    EXPECT_TRUE(m_app.m_document.m_notices.empty());

    // Without the right to delegate: no dialog at all.
    m_controller.reset();
    m_app.GetSettings()->m_strCurrentRights = "";
    m_app.m_dialogs.m_calls.clear();
    Start().DelegateItems(ids);
    EXPECT_TRUE(m_app.m_dialogs.m_calls.empty());
    EXPECT_EQ(nRows, StoredRows().size());
}

} // namespace
