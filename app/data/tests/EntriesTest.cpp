// The data controller's entry operations on a data directory of the test's own: new entries for
// several users, editing, saving with and without the dialog, deleting (questions, rights, private
// entries, entries already gone), what each does to the rows, the maps, the day index and the
// timers, the companion notices (their bytes as a companion receives them) and the views' hints.
// Rows another station holds, the lost update and the lock of an open dialog: EntryLocksTest.cpp.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CCompanionNotice.h"
#include "ControllerTestKit.h"
#include "DataStrings.h"

namespace {

using namespace controllertest;

// A companion program's window: a top-level window of the companion's class (FindWindow does not
// see message-only windows) that keeps every notice this process sends it. Tests running at the
// same time in other processes share the desktop, and their controllers find this window too: a
// notice whose sender window belongs to another process is not kept.
class CompanionWindow {
public:
    struct Notice {
        WPARAM wParam;
        ULONG_PTR dwData;
        DWORD cbData;
        std::string bytes;
    };

    explicit CompanionWindow(const char* pszClass)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = pszClass;
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(0, pszClass, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~CompanionWindow() { DestroyWindow(m_hWnd); }
    CompanionWindow(const CompanionWindow&) = delete;
    CompanionWindow& operator=(const CompanionWindow&) = delete;

    // "<type> <id> <action>" of each notice, from the record's bytes.
    std::vector<std::string> Summary() const
    {
        std::vector<std::string> lines;
        for (const Notice& n : m_notices) {
            CCompanionNotice::Record r;
            memcpy(&r, n.bytes.data(), std::min(n.bytes.size(), sizeof r));
            lines.push_back(std::string(r.szType) + " " + std::to_string(r.nRecordId) + " " + std::to_string(r.nAction));
        }
        return lines;
    }

    HWND m_hWnd;
    std::vector<Notice> m_notices;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        auto* pThis = (CompanionWindow*)GetWindowLongPtrA(hWnd, GWLP_USERDATA);
        if (nMsg == WM_COPYDATA && pThis != NULL) {
            DWORD dwSender = 0;
            GetWindowThreadProcessId((HWND)wParam, &dwSender);
            if (dwSender != GetCurrentProcessId())
                return TRUE;
            const COPYDATASTRUCT* pData = (const COPYDATASTRUCT*)lParam;
            pThis->m_notices.push_back(
                {wParam, pData->dwData, pData->cbData, std::string((const char*)pData->lpData, pData->cbData)});
            return TRUE;
        }
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    }
};

std::string Text(UINT nId)
{
    CString strText;
    strText.LoadString(nId);
    return (LPCTSTR)strText;
}

class EntriesTest : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        m_app.m_frame.MakeWindow();
    }

    std::string Notice(const char* type, long nId, int action)
    {
        return std::string(type) + " " + std::to_string(nId) + " " + std::to_string(action);
    }

    // The dialog step of an entry dialog that ends with the button after the edit.
    static CScriptedDialogs::Step Dialog(CScriptedDialogs::Kind kind, int nResult,
                                         std::function<void(CDataAppointment&)> edit = nullptr,
                                         std::vector<std::string> users = {})
    {
        CScriptedDialogs::Step step;
        step.kind = kind;
        step.nResult = nResult;
        step.editRecord = edit;
        step.users = users;
        return step;
    }

    CompanionWindow m_appointments{CCompanionNotice::kAppointmentClass};
    CompanionWindow m_todos{CCompanionNotice::kTaskClass};
};

} // namespace

// The record a companion receives, byte for byte.
TEST(CompanionNoticeTest, RecordBytes)
{
    const struct {
        BOOL deleted;
        long id;
        BOOL todo;
        const char* type;
        int action;
    } cases[] = {
        {FALSE, 1234567890, FALSE, "appointment", 1},
        {TRUE, 42, TRUE, "task", 2},
        {TRUE, -7, FALSE, "appointment", 2},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.type);
        const CCompanionNotice::Record record = CCompanionNotice::Make(k.deleted, k.id, k.todo);
        std::string expected(268, '\0');
        auto put32 = [&](size_t at, long value) {
            for (int i = 0; i < 4; ++i)
                expected[at + i] = (char)((unsigned long)value >> (8 * i));
        };
        put32(0, 268);
        memcpy(&expected[4], k.type, strlen(k.type));
        put32(260, k.id);
        put32(264, k.action);
        EXPECT_EQ(expected, std::string((const char*)&record, sizeof record));
    }
}

TEST_F(EntriesTest, NewAppointmentForThreeUsers)
{
    Write({Entry{"Vorher"}});
    CDataController& c = Start();
    const long nDay = Day("2005-04-11");
    m_app.m_dialogs.Expect(Dialog(
        CScriptedDialogs::appointment, IDOK,
        [&](CDataAppointment& r) {
            EXPECT_EQ(nDay, r.m_pattern.m_nPatternStart) << "the dialog opens on the day and minute given";
            EXPECT_EQ(600, r.m_pattern.m_nStartTime);
            EXPECT_EQ(1, *m_app.m_frame.GetBusyCounter()) << "the main frame is busy for the whole run";
            r.m_strSubject = "Besprechung";
            r.m_bRemind = TRUE;
            r.m_nRemindSpan = 10;
        },
        {kUser, kOtherUser, "Carl"}));
    m_timers.Clear();
    EXPECT_TRUE(c.NewAppointment(nDay, 600));
    EXPECT_EQ(0u, m_app.m_dialogs.Pending());
    ASSERT_EQ(1u, m_app.m_dialogs.m_calls.size());
    EXPECT_TRUE(m_app.m_dialogs.m_calls[0].bNew);

    // Three rows with the same contents and their own record ids, one per user.
    std::map<std::string, long> byUser;
    for (const auto& row : StoredRows())
        if (row.second == "Besprechung") {
            CDataAppointment stored;
            ASSERT_TRUE(StoredRow(row.first, stored));
            EXPECT_EQ(nDay, stored.m_pattern.m_nPatternStart);
            EXPECT_EQ(600, stored.m_pattern.m_nStartTime);
            byUser[(LPCTSTR)stored.m_strUser] = row.first;
        }
    ASSERT_EQ(3u, byUser.size());
    const long nAnna = byUser.at(kUser), nBert = byUser.at(kOtherUser), nCarl = byUser.at("Carl");
    EXPECT_TRUE(nAnna != nBert && nBert != nCarl && nAnna != nCarl);

    EXPECT_EQ((std::vector<std::string>{Notice("appointment", nAnna, 1), Notice("appointment", nBert, 1),
                                        Notice("appointment", nCarl, 1)}),
              m_appointments.Summary());
    for (const auto& n : m_appointments.m_notices) {
        EXPECT_EQ((WPARAM)m_app.m_frame.GetFrameWindow(), n.wParam) << "the sender is the main window";
        EXPECT_EQ(0u, n.dwData);
        EXPECT_EQ(268u, n.cbData);
    }
    EXPECT_TRUE(m_todos.m_notices.empty());
    EXPECT_EQ((std::vector<LPARAM>{CDataDocument::hintAppointmentCreated}), m_app.m_document.Hints());

    // Only the filter user's row is shown: in the map, the list and on its day, with its timer.
    EXPECT_TRUE(c.GetAppointmentMap().Find(nAnna));
    EXPECT_FALSE(c.GetAppointmentMap().Find(nBert)) << "written, not shown";
    EXPECT_FALSE(c.GetAppointmentMap().Find(nCarl));
    m_ids["Besprechung"] = nAnna;
    EXPECT_EQ((std::vector<std::string>{"2005-04-11"}), DaysOf("Besprechung"));
    EXPECT_EQ((std::vector<std::string>{"Vorher", "Besprechung"}), ListSubjects(c.GetAppointmentList()));
    EXPECT_EQ((std::vector<std::string>{"AddFixed 7 2005-04-11 10:00 " + std::to_string(nAnna) + " 10"}),
              m_timers.Calls());
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}

// A new entry whose dialog is cancelled writes nothing; without any user information the dialog
// does not open.
TEST_F(EntriesTest, NewEntryNotWritten)
{
    CDataController& c = Start();
    m_app.m_dialogs.Expect(Dialog(CScriptedDialogs::appointment, IDCANCEL));
    EXPECT_FALSE(c.NewAppointment(Day("2005-04-11"), 600));
    m_app.m_dialogs.Expect(Dialog(CScriptedDialogs::todo, IDCANCEL));
    EXPECT_FALSE(c.NewTask());
    EXPECT_TRUE(StoredRows().empty());
    EXPECT_TRUE(m_appointments.m_notices.empty());
    EXPECT_TRUE(m_app.m_document.m_notices.empty());
    EXPECT_TRUE(Boxes().empty());

    m_controller.reset();
    m_controller = std::make_unique<CDataController>(m_strPath.c_str(), "", &m_timers, &m_timings);
    EXPECT_FALSE(m_controller->NewAppointment(-1, -1));
    EXPECT_EQ((std::vector<std::string>{Text(IDS_NO_USER_INFORMATION)}), BoxTexts());
    EXPECT_EQ(2u, m_app.m_dialogs.m_calls.size()) << "no third dialog opened";
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}

// A new to-do starts and is due on the document's selected day; its notice is of type "task".
TEST_F(EntriesTest, NewTaskOnTheSelectedDay)
{
    CDataController& c = Start();
    m_app.m_document.m_nYear = 2005;
    m_app.m_document.m_nMonth = 6;
    m_app.m_document.m_nDay = 7;
    m_app.m_dialogs.Expect(Dialog(
        CScriptedDialogs::todo, IDOK,
        [](CDataAppointment& r) {
            EXPECT_TRUE(r.m_bTodo);
            r.m_strSubject = "Steuer";
            r.m_bRemind = TRUE;
            r.m_pattern.m_nStartTime = 480;
        },
        {kUser}));
    m_timers.Clear();
    EXPECT_TRUE(c.NewTask());
    const auto rows = StoredRows();
    ASSERT_EQ(1u, rows.size());
    CDataAppointment stored;
    ASSERT_TRUE(StoredRow(rows[0].first, stored));
    EXPECT_TRUE(stored.m_bTodo);
    EXPECT_EQ(Day("2005-06-07"), stored.m_pattern.m_nPatternStart);
    EXPECT_EQ(Day("2005-06-07"), stored.m_pattern.m_nPatternEnd);
    EXPECT_TRUE(c.GetTaskMap().Find(rows[0].first));
    EXPECT_EQ(1, c.GetTaskList().GetCount());
    EXPECT_EQ((std::vector<std::string>{"AddFixed 7 2005-06-07 08:00 " + std::to_string(rows[0].first) + " 0"}),
              m_timers.Calls());
    EXPECT_EQ((std::vector<std::string>{Notice("task", rows[0].first, 1)}), m_todos.Summary());
    EXPECT_TRUE(m_appointments.m_notices.empty());
    EXPECT_EQ((std::vector<LPARAM>{CDataDocument::hintTodoCreated}), m_app.m_document.Hints());
}

// An edit through the dialog: the row is written, the old key leaves the map and its day, the
// timer is set again, the companion and the views are told.
TEST_F(EntriesTest, EditMovesTheEntry)
{
    Entry e{"Zahnarzt"};
    e.remind = true;
    e.lead = 15;
    Write({e, Entry{"Mittag"}});
    CDataController& c = Start();
    const long nId = Id("Zahnarzt");
    m_app.m_dialogs.Expect(Dialog(CScriptedDialogs::appointment, IDOK, [&](CDataAppointment& r) {
        EXPECT_STREQ("Zahnarzt", r.m_strSubject) << "the dialog shows the stored row";
        EXPECT_EQ(0, *c.GetBusyCounter()) << "the update thread may load while the dialog is open";
        r.m_strSubject = "Zahnarzt verlegt";
        r.m_pattern.m_nPatternStart = r.m_pattern.m_nPatternEnd = Day("2005-03-04");
    }));
    m_timers.Clear();
    EXPECT_EQ(1, c.EditAppointment(IdText(nId).c_str()));

    CDataAppointment stored;
    std::string footprint;
    ASSERT_TRUE(StoredRow(nId, stored, &footprint));
    EXPECT_STREQ("Zahnarzt verlegt", stored.m_strSubject);
    EXPECT_EQ(1, atoi(footprint.c_str()));
    const CItemVersionRef key = c.GetAppointmentMap().Find(nId);
    ASSERT_TRUE(key);
    EXPECT_EQ(1, key->GetFootprint()) << "the new key";
    EXPECT_EQ((std::vector<std::string>{"2005-03-04"}), DaysOf("Zahnarzt"));
    EXPECT_EQ(1, c.GetDayItemCount(Day("2005-03-01"))) << "only Mittag is left on the old day";
    EXPECT_EQ((std::vector<std::string>{"Delete 7 " + std::to_string(nId),
                                        "AddFixed 7 2005-03-04 09:00 " + std::to_string(nId) + " 15"}),
              m_timers.Calls());
    EXPECT_EQ((std::vector<std::string>{Notice("appointment", nId, 1)}), m_appointments.Summary());
    ASSERT_EQ(1u, m_app.m_document.m_notices.size());
    const auto& notice = m_app.m_document.m_notices[0];
    EXPECT_EQ(CDataDocument::hintAppointmentChanged, notice.lHint);
    EXPECT_TRUE(notice.bSenderNull);
    EXPECT_EQ((std::vector<std::string>{IdText(nId)}), notice.recordIds);
    EXPECT_EQ(0, *c.GetBusyCounter());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
}

// The edits that end without writing, and the delete button.
TEST_F(EntriesTest, EditEndingOtherwise)
{
    Entry secret{"Geheim"};
    secret.user = kOtherUser;
    secret.isPrivate = true;
    Write({Entry{"Zahnarzt"}, Entry{"Mittag"}, secret});
    CDataController& c = Start();
    const struct Case {
        const char* name;
        std::string id;
        std::vector<CScriptedDialogs::Step> dialog;
        int result;
        std::vector<std::string> boxes;
        bool stillStored;
        std::vector<LPARAM> hints;
        std::vector<std::string> notices;
    } cases[] = {
        {"cancelled", IdText(Id("Zahnarzt")), {Dialog(CScriptedDialogs::appointment, IDCANCEL)}, 1, {}, true, {}, {}},
        {"an id no longer in the table", "0000000001", {}, 0, {Text(IDS_ENTRY_GONE)}, false, {}, {}},
        {"another user's private entry", IdText(Id("Geheim")), {}, 0, {Text(IDS_PRIVATE_ENTRY)}, true, {}, {}},
        {"the delete button: deleted without a question", IdText(Id("Mittag")),
         {Dialog(CScriptedDialogs::appointment, CDataDialogs::kDeleteButton)}, 1, {}, false,
         {CDataDocument::hintAppointmentDeleted}, {Notice("appointment", Id("Mittag"), 2)}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        m_log.Clear();
        m_app.m_document.m_notices.clear();
        m_appointments.m_notices.clear();
        const size_t nCallsBefore = m_app.m_dialogs.m_calls.size();
        for (const auto& step : k.dialog)
            m_app.m_dialogs.Expect(step);
        EXPECT_EQ(k.result, c.EditAppointment(k.id.c_str()));
        EXPECT_EQ(k.dialog.size(), m_app.m_dialogs.m_calls.size() - nCallsBefore);
        EXPECT_EQ(k.boxes, BoxTexts());
        CDataAppointment stored;
        EXPECT_EQ(k.stillStored, StoredRow(atol(k.id.c_str()), stored));
        EXPECT_EQ(k.hints, m_app.m_document.Hints());
        EXPECT_EQ(k.notices, m_appointments.Summary());
        EXPECT_EQ(0, *c.GetBusyCounter());
        EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());
    }
    EXPECT_FALSE(c.GetAppointmentMap().Find(Id("Mittag"))) << "the deleted entry left the map";
    EXPECT_EQ(1, c.GetDayItemCount(Day("2005-03-01"))) << "and its day, where Zahnarzt is left";
}

// Saving without the dialog, as the reminder results do: an existing entry keeps its id and gets
// the change stamp; a new one gets an id, and is shown only when it belongs to the filter user.
TEST_F(EntriesTest, SaveWithoutDialog)
{
    Entry e{"Zahnarzt"};
    e.remind = true;
    Write({e});
    CDataController& c = Start();
    const long nId = Id("Zahnarzt");

    CDataAppointment record;
    CTerminRecordBuffer buffer(c.GetAppointmentTable());
    ASSERT_TRUE(c.ReadAppointment(IdText(nId).c_str(), record, buffer));
    record.m_strSubject = "Zahnarzt, Kontrolle";
    record.m_strStatus = "D";
    record.m_strChangedBy = "Jemand";
    CString strId = IdText(nId).c_str();
    m_timers.Clear();
    EXPECT_TRUE(c.SaveAppointment(record, strId, TRUE, TRUE));
    EXPECT_EQ(IdText(nId), std::string(strId));
    CDataAppointment stored;
    ASSERT_TRUE(StoredRow(nId, stored));
    EXPECT_STREQ("Zahnarzt, Kontrolle", stored.m_strSubject);
    EXPECT_STREQ(kUser, stored.m_strChangedBy) << "the change is stamped with the current user";
    EXPECT_EQ((std::vector<std::string>{"Delete 7 " + std::to_string(nId)}), m_timers.Calls())
        << "a single entry whose reminder was postponed gets no timer again";
    EXPECT_TRUE(m_app.m_dialogs.m_calls.empty());
    EXPECT_EQ((std::vector<LPARAM>{CDataDocument::hintAppointmentChanged}), m_app.m_document.Hints());
    EXPECT_EQ((std::vector<std::string>{Notice("appointment", nId, 1)}), m_appointments.Summary());

    // New entries: the appointment of another user is written and listed, not registered; the
    // to-do of another user is registered all the same.
    const struct {
        bool todo;
        const char* user;
        bool registered;
        LPARAM hint;
    } cases[] = {
        {false, kOtherUser, false, CDataDocument::hintAppointmentCreated},
        {false, kUser, true, CDataDocument::hintAppointmentCreated},
        {true, kOtherUser, true, CDataDocument::hintTodoCreated},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.todo ? "to-do of " : "appointment of ") + k.user);
        m_app.m_document.m_notices.clear();
        Entry n{"Neu"};
        n.user = k.user;
        n.todo = k.todo;
        CDataAppointment fresh = Record(n);
        CString strNew;
        EXPECT_TRUE(k.todo ? c.SaveTask(fresh, strNew, TRUE, TRUE) : c.SaveAppointment(fresh, strNew, TRUE, TRUE));
        const long nNew = atol(strNew);
        ASSERT_GT(nNew, 0) << "the new id comes back";
        ASSERT_TRUE(StoredRow(nNew, stored));
        EXPECT_STREQ(k.user, stored.m_strUser);
        EXPECT_EQ(k.registered, (bool)(k.todo ? c.GetTaskMap() : c.GetAppointmentMap()).Find(nNew));
        CArray<DWORD, DWORD> listed;
        (k.todo ? c.GetTaskList() : c.GetAppointmentList()).GetSnapshot(listed);
        EXPECT_EQ((DWORD)nNew, listed[listed.GetSize() - 1]) << "listed";
        EXPECT_EQ((std::vector<LPARAM>{k.hint}), m_app.m_document.Hints());
    }
}

// A new entry saved through its dialog for two users: two rows; the last one is read back,
// registered and announced.
TEST_F(EntriesTest, SaveNewThroughTheDialog)
{
    CDataController& c = Start();
    m_app.m_dialogs.Expect(Dialog(
        CScriptedDialogs::appointment, IDOK, [](CDataAppointment& r) { r.m_strSubject = "Klausur"; },
        {kOtherUser, kUser}));
    CDataAppointment record = Record(Entry{"Entwurf"});
    CString strId;
    EXPECT_TRUE(c.SaveAppointment(record, strId, FALSE, TRUE));
    EXPECT_STREQ("Entwurf", record.m_strSubject) << "the dialog works on a copy";
    const auto rows = StoredRows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ("Klausur", rows[0].second);
    EXPECT_EQ("Klausur", rows[1].second);
    EXPECT_EQ(rows[1].first, atol(strId)) << "the id of the last row written";
    EXPECT_FALSE(c.GetAppointmentMap().Find(rows[0].first)) << "found by the update thread later";
    EXPECT_TRUE(c.GetAppointmentMap().Find(rows[1].first));
    EXPECT_EQ((std::vector<std::string>{Notice("appointment", rows[1].first, 1)}), m_appointments.Summary());
    EXPECT_EQ(0, *m_app.m_frame.GetBusyCounter());

    // Cancelled: nothing written, FALSE.
    m_app.m_dialogs.Expect(Dialog(CScriptedDialogs::appointment, IDCANCEL));
    CString strNone;
    EXPECT_FALSE(c.SaveAppointment(record, strNone, FALSE, TRUE));
    EXPECT_EQ(2u, StoredRows().size());
    EXPECT_TRUE(strNone.IsEmpty());
}

// Deleting: the question, the rights for other users' entries, private entries, entries already
// gone; the row, key, days, list, timer, notice and hint of each.
TEST_F(EntriesTest, DeleteCases)
{
    const struct Case {
        const char* subject;
        std::string user;
        bool isPrivate;
        const char* rights;
        bool ask;
        const char* answer;
        bool gone; // another station deleted the row before
        int result;
        std::vector<UINT> boxes;
        bool deleted;
    } cases[] = {
        {"own entry, confirmed", kUser, false, "", true, "IDYES", false, 1, {IDS_ASK_DELETE}, true},
        {"own entry, not confirmed", kUser, false, "", true, "IDNO", false, 1, {IDS_ASK_DELETE}, false},
        {"own entry, without asking", kUser, false, "", false, "", false, 1, {}, true},
        // A refusal for rights is no deletion: 0, so that a reminder window for it stays open.
        {"another user's entry without the right", kOtherUser, false, "FFFFFFFF", false, "", false, 0,
         {IDS_DELETE_OWN_ONLY}, false},
        {"another user's entry with the right", kOtherUser, false, "FFFFFFFT", false, "", false, 1, {}, true},
        {"another user's private entry", kOtherUser, true, "FFFFFFFT", false, "", false, 0, {IDS_PRIVATE_ENTRY},
         false},
        {"an entry deleted meanwhile", kUser, false, "", true, "IDYES", true, 0, {IDS_ENTRY_GONE}, true},
    };
    std::vector<Entry> entries{Entry{"Bleibt"}};
    for (const Case& k : cases) {
        Entry e{k.subject};
        e.user = k.user;
        e.isPrivate = k.isPrivate;
        e.remind = true;
        entries.push_back(e);
    }
    Write(entries);
    for (const Case& k : cases) {
        SCOPED_TRACE(k.subject);
        // Rights are read when the controller starts.
        m_app.GetSettings()->m_strCurrentRights = k.rights;
        CDataController& c = Start();
        const long nId = Id(k.subject);
        if (k.gone) {
            CDataController other(m_strPath.c_str(), kUser, &m_timers, &m_timings);
            ASSERT_EQ(1, other.DeleteAppointment(IdText(nId).c_str(), FALSE));
        }
        m_log.Clear();
        m_log.SetAnswers(k.answer);
        m_timers.Clear();
        m_appointments.m_notices.clear();
        m_app.m_document.m_notices.clear();
        EXPECT_EQ(k.result, c.DeleteAppointment(IdText(nId).c_str(), k.ask));
        std::vector<std::string> boxes;
        for (UINT nBox : k.boxes)
            boxes.push_back(Text(nBox));
        EXPECT_EQ(boxes, BoxTexts());
        CDataAppointment stored;
        EXPECT_EQ(!k.deleted, StoredRow(nId, stored));
        if (k.deleted && !k.gone) {
            EXPECT_FALSE(c.GetAppointmentMap().Find(nId));
            EXPECT_TRUE(c.GetDayIndex().GetDaysOf(nId).empty());
            CArray<DWORD, DWORD> listed;
            c.GetAppointmentList().GetSnapshot(listed);
            for (int i = 0; i < listed.GetSize(); ++i)
                EXPECT_NE((DWORD)nId, listed[i]);
            EXPECT_EQ((std::vector<std::string>{"Delete 7 " + std::to_string(nId)}), m_timers.Calls());
            EXPECT_EQ((std::vector<std::string>{Notice("appointment", nId, 2)}), m_appointments.Summary());
            ASSERT_EQ(1u, m_app.m_document.m_notices.size());
            EXPECT_EQ(CDataDocument::hintAppointmentDeleted, m_app.m_document.m_notices[0].lHint);
            EXPECT_EQ((std::vector<std::string>{IdText(nId)}), m_app.m_document.m_notices[0].recordIds);
        } else {
            EXPECT_TRUE(m_timers.Calls().empty());
            EXPECT_TRUE(m_appointments.m_notices.empty());
            EXPECT_TRUE(m_app.m_document.m_notices.empty());
        }
        EXPECT_TRUE(StoredRow(Id("Bleibt"), stored)) << "the other entries stay";
        EXPECT_EQ(0, *c.GetBusyCounter());
    }
}

// A deleted to-do: notice of type "task" with action 2, hint 104.
TEST_F(EntriesTest, DeleteTask)
{
    Entry t{"Aufgabe"};
    t.todo = true;
    Write({t});
    CDataController& c = Start();
    const long nId = Id("Aufgabe");
    ASSERT_TRUE(c.GetTaskMap().Find(nId));
    EXPECT_EQ(1, c.DeleteTask(IdText(nId).c_str(), FALSE));
    EXPECT_FALSE(c.GetTaskMap().Find(nId));
    EXPECT_EQ(0, c.GetTaskList().GetCount());
    EXPECT_EQ((std::vector<std::string>{Notice("task", nId, 2)}), m_todos.Summary());
    EXPECT_TRUE(m_appointments.m_notices.empty());
    EXPECT_EQ((std::vector<LPARAM>{CDataDocument::hintTodoDeleted}), m_app.m_document.Hints());
}

// A save over a row another station changed since the caller took its copy (as a reminder window
// or an automation object holds one), without or with its dialog: only what the caller changed
// goes over the row, so the other station's change stays; when both changed the same field to different
// values nothing is written (message 40190). A record that was not read from the row is written
// as a whole.
TEST_F(EntriesTest, SaveWithoutDialogKeepsWhatAnotherStationChangedMeanwhile)
{
    const struct Case {
        const char* what;
        std::function<void(CDataAppointment&)> other; // the other station's change
        std::function<void(CDataAppointment&)> mine;  // the caller's change of its copy
        bool fromRow;                                 // the caller's copy was read from the row
        bool saved;
        std::string subject, place;
        int start;
        bool dialog = false; // the caller's change is made in the save's dialog
    } cases[] = {
        {"other fields", [](CDataAppointment& r) { r.m_strPlace = "Raum 2"; },
         [](CDataAppointment& r) { r.m_strSubject = "Zahnarzt, Kontrolle"; }, true, true, "Zahnarzt, Kontrolle",
         "Raum 2", 540},
        {"the same change", [](CDataAppointment& r) { r.m_strPlace = "Raum 2"; },
         [](CDataAppointment& r) { r.m_strPlace = "Raum 2"; }, true, true, "Zahnarzt", "Raum 2", 540},
        {"the same field, other values", [](CDataAppointment& r) { r.m_pattern.m_nStartTime = 600; },
         [](CDataAppointment& r) { r.m_pattern.m_nStartTime = 660; }, true, false, "Zahnarzt", "Raum 1", 600},
        {"a record not read from the row", [](CDataAppointment& r) { r.m_strPlace = "Raum 2"; },
         [](CDataAppointment& r) { r.m_strSubject = "Neu"; }, false, true, "Neu", "Raum 1", 540},
        {"through the save's dialog", [](CDataAppointment& r) { r.m_strPlace = "Raum 2"; },
         [](CDataAppointment& r) { r.m_strSubject = "Zahnarzt, Kontrolle"; }, true, true, "Zahnarzt, Kontrolle",
         "Raum 2", 540, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        Entry e{"Zahnarzt"};
        e.place = "Raum 1";
        Write({e});
        const long nId = Id("Zahnarzt");
        CDataController& c = Start();
        CDataAppointment copy;
        ASSERT_TRUE(StoredRow(nId, copy));
        if (!k.fromRow) {
            CDataAppointment whole = Record(e);
            whole.m_strRecordId = copy.m_strRecordId;
            copy = whole;
            ASSERT_FALSE(copy.m_pAsRead);
        }
        {
            // The other station: a table instance of its own, lock, read, change, write.
            CTerminTable table(m_session.get(), FALSE);
            ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
            CTerminRecordBuffer row(&table);
            row.AttachFields();
            ASSERT_EQ(0, row.LockAndRead(table.FindRecordById(IdText(nId).c_str())));
            CDataAppointment theirs;
            row.GetAppointment(theirs);
            k.other(theirs);
            row.PutAppointment(theirs);
            ASSERT_EQ(0, row.WriteRecord());
            row.UnlockRecord();
        }
        if (k.dialog)
            m_app.m_dialogs.Expect(Dialog(CScriptedDialogs::appointment, IDOK, k.mine));
        else
            k.mine(copy);
        m_log.Clear();
        CString strId = IdText(nId).c_str();
        EXPECT_EQ(k.saved, c.SaveAppointment(copy, strId, !k.dialog, TRUE) != FALSE);
        EXPECT_EQ(k.saved ? std::vector<std::string>{} : std::vector<std::string>{Text(IDS_ENTRY_CHANGED_MEANWHILE)},
                  BoxTexts());
        CDataAppointment stored;
        ASSERT_TRUE(StoredRow(nId, stored));
        EXPECT_EQ(k.subject, std::string(stored.m_strSubject));
        EXPECT_EQ(k.place, std::string(stored.m_strPlace));
        EXPECT_EQ(k.start, stored.m_pattern.m_nStartTime);
        EXPECT_EQ(0, *c.GetBusyCounter());
        m_controller.reset();
        for (const char* name : {"OX4.DBE", "OX4.DBT", "OX4.nt0", "OX4.nt1"})
            DeleteFileA((m_strPath + name).c_str());
    }
}

// Moving by a span with a copy taken before another station changed the place: the row holds
// both, the place of the other station and the new time of the move.
TEST_F(EntriesTest, MoveBySpanWithAnOlderCopyKeepsTheOtherStationsChange)
{
    Entry e{"Besprechung"};
    e.place = "Raum 1";
    e.startTime = 600;
    e.endTime = 660;
    e.remind = true;
    Write({e});
    const long nId = Id("Besprechung");
    CDataController& c = Start();
    CDataAppointment reminderCopy;
    ASSERT_TRUE(StoredRow(nId, reminderCopy));
    {
        CTerminTable table(m_session.get(), FALSE);
        ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        ASSERT_EQ(0, row.LockAndRead(table.FindRecordById(IdText(nId).c_str())));
        row.SetFieldValue("ORT", "Raum 2");
        ASSERT_EQ(0, row.WriteRecord());
        row.UnlockRecord();
    }
    ASSERT_TRUE(c.MoveItemBySpan(IdText(nId).c_str(), reminderCopy, COleDateTimeSpan(0, 1, 0, 0)));
    CDataAppointment stored;
    ASSERT_TRUE(StoredRow(nId, stored));
    EXPECT_STREQ("Raum 2", stored.m_strPlace);
    EXPECT_EQ(660, stored.m_pattern.m_nStartTime);
    EXPECT_EQ(720, stored.m_pattern.m_nEndTime);
    EXPECT_STREQ("C", stored.m_strStatus);
}

// An edit whose row cannot be written after OK: the user is told, and the dialog opens again with
// the user's edits; OK then writes them, a cancel leaves the row as it was.
TEST_F(EntriesTest, AnEditThatCannotBeWrittenKeepsTheUsersEdits)
{
    for (int secondButton : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(secondButton == IDOK ? "written at the second OK" : "cancelled then");
        Write({Entry{"Zahnarzt"}});
        const long nId = Id("Zahnarzt");
        CDataController& c = Start();
        int nWrites = 0;
        c.SetEntryWriteHook([&](const CDataAppointment&) { return ++nWrites > 1; });
        m_log.Clear();
        m_app.m_dialogs.Expect(Dialog(CScriptedDialogs::appointment, IDOK,
                                      [](CDataAppointment& r) { r.m_strSubject = "Zahnarzt verlegt"; }));
        m_app.m_dialogs.Expect(Dialog(CScriptedDialogs::appointment, secondButton, [](CDataAppointment& r) {
            EXPECT_STREQ("Zahnarzt verlegt", r.m_strSubject) << "the dialog shows the user's edits again";
        }));
        EXPECT_EQ(1, c.EditAppointment(IdText(nId).c_str()));
        EXPECT_EQ(0u, m_app.m_dialogs.Pending());
        EXPECT_EQ((std::vector<std::string>{Text(IDS_EDIT_NOT_SAVED)}), BoxTexts());
        CDataAppointment stored;
        ASSERT_TRUE(StoredRow(nId, stored));
        EXPECT_STREQ(secondButton == IDOK ? "Zahnarzt verlegt" : "Zahnarzt", stored.m_strSubject);
        EXPECT_EQ(0, *c.GetBusyCounter());
        m_controller.reset();
        for (const char* name : {"OX4.DBE", "OX4.DBT", "OX4.nt0", "OX4.nt1"})
            DeleteFileA((m_strPath + name).c_str());
    }
}

// The current user can be changed after the start: rows written from then on are stamped with
// the new user by both table instances, and the new user's entries get the reminders.
TEST_F(EntriesTest, TheCurrentUserSetAfterTheStartStampsBothInstances)
{
    CDataController& c = Start();
    EXPECT_EQ(m_strPath, std::string(c.GetDatabaseDirectory()));
    ASSERT_EQ(1, c.SetFilterUser("")) << "every user's new entries are loaded";
    c.SetCurrentUser("Carla");
    EXPECT_STREQ("Carla", c.GetCurrentUser());
    for (bool todo : {false, true}) {
        SCOPED_TRACE(todo ? "to-do" : "appointment");
        Entry n{todo ? "Aufgabe" : "Termin"};
        n.user = "Carla";
        n.todo = todo;
        n.remind = true;
        CDataAppointment fresh = Record(n);
        fresh.m_strCreatedBy.Empty();
        fresh.m_strChangedBy.Empty();
        CString strNew;
        m_timers.Clear();
        ASSERT_TRUE(todo ? c.SaveTask(fresh, strNew, TRUE, TRUE) : c.SaveAppointment(fresh, strNew, TRUE, TRUE));
        CDataAppointment stored;
        ASSERT_TRUE(StoredRow(atol(strNew), stored));
        EXPECT_STREQ("Carla", stored.m_strCreatedBy);
        EXPECT_STREQ("Carla", stored.m_strChangedBy);
        const std::vector<std::string> adds = m_timers.CallsStartingWith("AddFixed");
        EXPECT_EQ(1u, adds.size()) << "the new current user's entry has its reminder";
    }
}
