// The data controller's maintenance of the schedule table on data directories of its own: dead
// rows marked deleted (also when another station holds one of them locked), reorganizing with and
// without clean-up (the question, silent mode, the rows left, the indexes made anew, an empty
// table), reindexing in place and on an exclusive instance, another process holding the table
// (message 40019), a damaged table, an index file another program holds (40050), and the
// controller's tables open and usable afterwards with the timer polling and both busy counters
// back.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CDataAppointment.h"
#include "CDataController.h"
#include "CDbAreaLock.h"
#include "CRecordingTimerLibrary.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "CTestDataApp.h"
#include "DataTestKit.h"
#include "DaySerials.h"
#include "PeerProcess.h"
#include "vlDB07.h"

namespace {

using Record = oxtest::CtlLog::Record;

const char kUser[] = "Anna";
const char kMovedFrom[] = "1234567890";

// A row of a fixture table, written in this order (record number = position + 1).
struct Row {
    const char* subject;
    const char* recordId = nullptr; // nullptr: the one the table's write stamps; else stored as given
    const char* movedId = "";       // MOVERECID
    const char* status = "";        // STATUS
    bool todo = false;
    bool deleted = false;           // marked deleted after it was written
    bool dead = false;              // what the clean-up is to remove
};

// Every kind of dead row, live rows that resemble them, dead rows one after the other at the start
// and a dead row at the end.
std::vector<Row> Fixture()
{
    std::vector<Row> rows;
    auto add = [&](Row r) { rows.push_back(r); };
    Row r;
    r = Row{"Ohne Id"}; r.recordId = ""; r.dead = true; add(r);
    r = Row{"Null-Id"}; r.recordId = "0"; r.dead = true; add(r);
    r = Row{"Besprechung"}; add(r);
    r = Row{"Quittierte Kopie"}; r.movedId = kMovedFrom; r.status = "N"; r.dead = true; add(r);
    r = Row{"Quittierte Kopie 2"}; r.movedId = kMovedFrom; r.status = "N"; r.dead = true; add(r);
    r = Row{"Offene Kopie"}; r.movedId = kMovedFrom; r.status = "C"; add(r);
    r = Row{"Quittiert"}; r.status = "N"; add(r);
    r = Row{"Verweis 0"}; r.movedId = "0"; r.status = "N"; add(r);
    r = Row{"Aufgabe"}; r.todo = true; add(r);
    r = Row{"Erledigte Kopie"}; r.todo = true; r.movedId = kMovedFrom; r.status = "N"; r.dead = true; add(r);
    r = Row{"Schon geloescht"}; r.deleted = true; add(r);
    r = Row{"Zahnarzt"}; add(r);
    r = Row{"Zuletzt ohne Id"}; r.recordId = "0"; r.dead = true; add(r);
    return rows;
}

// The subjects of the rows, in order; with bCleanUp without the dead rows, and without the rows
// marked deleted.
std::vector<std::string> Survivors(const std::vector<Row>& rows, bool bCleanUp)
{
    std::vector<std::string> subjects;
    for (const Row& r : rows)
        if (!r.deleted && !(bCleanUp && r.dead))
            subjects.push_back(r.subject);
    return subjects;
}

unsigned Le32(const std::string& bytes, size_t at)
{
    return (unsigned char)bytes[at] | (unsigned char)bytes[at + 1] << 8 | (unsigned char)bytes[at + 2] << 16 |
           (unsigned)(unsigned char)bytes[at + 3] << 24;
}

// Overwrites bytes of a file that the controller holds open (shared).
bool PatchFile(const std::string& path, DWORD nOffset, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    const BOOL ok = SetFilePointer(h, (LONG)nOffset, nullptr, FILE_BEGIN) == nOffset &&
                    WriteFile(h, bytes.data(), (DWORD)bytes.size(), &n, nullptr) && n == bytes.size();
    CloseHandle(h);
    return ok != FALSE;
}

std::string IdText(long nId)
{
    char szId[16];
    snprintf(szId, sizeof szId, "%010ld", nId);
    return szId;
}

class MaintenanceTest : public datatest::DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        m_app.m_users.m_strCurrentUser = kUser;
        m_app.CreateSettings();
        UseDirectory("daten");
    }

    void TearDown() override { m_controller.reset(); }

    // The data directory: a folder of that name in the temp folder, made when missing.
    void UseDirectory(const std::string& name)
    {
        m_strPath = m_dir->Path() + "\\" + name + "\\";
        CreateDirectoryA(m_strPath.c_str(), NULL);
        m_ids.clear();
    }

    // A data directory of its own for the next case of a table, with the rows written.
    void NextCase(const std::vector<Row>& rows)
    {
        UseDirectory("fall" + std::to_string(++m_nCase));
        Write(rows);
    }

    std::string TablePath() const { return m_strPath + "OX4.DBE"; }

    // Writes the rows into the schedule table of the data directory (made when missing); the
    // stamped record id of each live-looking row, by subject.
    void Write(const std::vector<Row>& rows)
    {
        CTerminTable table(m_session.get(), FALSE);
        table.SetUserName(kUser);
        ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        for (const Row& r : rows) {
            CTerminRecordBuffer row(&table);
            ASSERT_EQ(0, row.AttachFields());
            CDataAppointment a;
            a.m_strSubject = r.subject;
            a.m_strUser = kUser;
            a.m_bTodo = r.todo;
            a.m_pattern.m_nPatternStart = a.m_pattern.m_nPatternEnd = datatest::Day("2005-03-01");
            a.m_pattern.m_nStartTime = 540;
            a.m_strStatus = r.status;
            a.m_strMovedRecordId = r.movedId;
            row.PutAppointment(a);
            ASSERT_EQ(0, row.WriteRecord()) << r.subject;
            row.UnlockRecord();
            const long nRecNo = row.GetRecNo();
            if (r.recordId != nullptr) {
                // Stored as given, past the stamping write.
                ASSERT_NE(0, table.GoTo(nRecNo));
                ASSERT_TRUE(table.LockRecord());
                ASSERT_TRUE(table.SetFieldValue("RECORDID", r.recordId));
                ASSERT_TRUE(table.CDbTable::WriteRecord());
                table.UnlockRecord();
            } else
                m_ids[r.subject] = atol(table.FieldValue("RECORDID", TRUE));
            if (r.deleted) {
                ASSERT_NE(0, table.GoTo(nRecNo));
                ASSERT_TRUE(table.DeleteRecord(FALSE));
            }
        }
    }

    // Appends a row of the user without touching the index files (as a program that does not
    // know them would), so that they no longer hold every row.
    void AppendPastTheIndexes(const char* pszSubject, long nRecordId)
    {
        CDbTable table(m_session.get());
        ASSERT_TRUE(table.Open(TablePath().c_str(), "OHNEINDEX", 0, datatest::kTableOptions));
        ASSERT_TRUE(table.AppendBlank());
        table.SetFieldValue("BETREFF", pszSubject);
        table.SetFieldValue("USER", kUser);
        table.SetFieldValue("TYPE", "AF");
        table.SetFieldValue("RECORDID", std::to_string(nRecordId).c_str());
        ASSERT_TRUE(table.WriteRecord());
        table.UnlockRecord();
        m_ids[pszSubject] = nRecordId;
    }

    CDataController& Start()
    {
        m_controller = std::make_unique<CDataController>(m_strPath.c_str(), kUser, &m_timers);
        EXPECT_TRUE(m_controller->IsOpen());
        m_timers.Clear();
        m_log.Clear();
        return *m_controller;
    }

    // The rows of the table file in natural order: the subject, behind '*' when marked deleted.
    std::vector<std::string> StoredRows() const
    {
        const std::string image = oxtest::ReadFileText(TablePath());
        std::vector<std::string> rows;
        if (image.size() < 32)
            return rows;
        const unsigned nCount = Le32(image, 4);
        for (unsigned n = 1; n <= nCount; ++n) {
            std::string subject = datatest::StoredField(TablePath(), n, "BETREFF");
            subject.erase(subject.find_last_not_of(' ') + 1);
            rows.push_back((datatest::StoredDeletedFlag(TablePath(), n) == '*' ? "*" : "") + subject);
        }
        return rows;
    }

    // Whether the controller finds the row of each subject by its record id, and reads that row.
    void ExpectFound(const std::vector<std::string>& subjects, bool bFound)
    {
        for (const std::string& subject : subjects) {
            SCOPED_TRACE(subject);
            CDataAppointment record;
            CTerminRecordBuffer buffer(m_controller->GetAppointmentTable());
            buffer.AttachFields();
            const BOOL bRead = m_controller->ReadAppointment(IdText(m_ids.at(subject)).c_str(), record, buffer);
            EXPECT_EQ(bFound, bRead != FALSE);
            if (bFound && bRead) {
                EXPECT_EQ(subject, std::string(record.m_strSubject));
            }
        }
    }

    // The subjects of the fixture rows the controller can look up (they have a record id).
    std::vector<std::string> LookUps(const std::vector<Row>& rows, bool bCleanUp)
    {
        std::vector<std::string> subjects;
        for (const std::string& subject : Survivors(rows, bCleanUp))
            if (m_ids.count(subject) != 0)
                subjects.push_back(subject);
        return subjects;
    }

    // After an operation: the polling stopped and started again, both busy counters back at 0.
    void ExpectFrameEnded()
    {
        EXPECT_EQ((std::vector<std::string>{"StopPolling 7", "StartPolling 7"}), m_timers.Calls());
        EXPECT_EQ(0, m_app.m_frame.m_nBusy);
        EXPECT_EQ(0, *m_controller->GetBusyCounter());
    }

    // The captions of the progress dialogs, in order.
    std::vector<std::string> ProgressCaptions() const
    {
        std::vector<std::string> captions;
        for (const Record& r : m_log.Records("AbortDlgStart"))
            captions.push_back(r.at(1));
        return captions;
    }

    // The message boxes that are not the engine's error boxes (those name the error's kind or
    // carry the repair hint).
    std::vector<Record> ProgramBoxes() const
    {
        std::vector<Record> boxes;
        for (const Record& r : Boxes())
            if (r.at(1).rfind("FEHLER BEI: ", 0) != 0 && r.at(2).rfind("Achtung, die Datenbank", 0) != 0)
                boxes.push_back(r);
        return boxes;
    }

    std::unique_ptr<writetest::PeerProcess> PeerHoldingTheTable()
    {
        auto peer = std::make_unique<writetest::PeerProcess>();
        EXPECT_TRUE(peer->Started());
        EXPECT_EQ("1 0", peer->Run("use " + TablePath()));
        return peer;
    }

    CTestDataApp m_app;
    CRecordingTimerLibrary m_timers;
    std::string m_strPath;
    std::map<std::string, long> m_ids;
    std::unique_ptr<CDataController> m_controller;
    int m_nCase = 0;
};

// A filter every row passes.
const char kAnyRow[] = "USER = \"Anna\"";
const char kPacking[] = "Die Datenbank wird nun gepackt.";
const char kReindexing[] = "Die Datenbank wird nun reindiziert.";
const Record kQuestionYes = {"MessageBox", "", "Wollen Sie wirklich die Datenbank reorganisieren ?", "0x24", "6"};
const Record kQuestionNo = {"MessageBox", "", "Wollen Sie wirklich die Datenbank reorganisieren ?", "0x24", "7"};
const Record kNotExclusive = {"MessageBox", "",
                              "Die Datenbank konnte nicht exklusiv ge\xF6"
                              "ffnet werden!\\nDies ist zur Ausf\xFChrung dieser Operation aber unbedingt notwendig!",
                              "0x30", "1"};
const Record kReindexFailed = {"MessageBox", "", "Fehler beim Reindizieren der Datenbank.", "0x30", "1"};
const Record kReorganizeFailed = {"MessageBox", "", "Fehler beim Reorganisieren der Datenbank.", "0x30", "1"};

std::vector<std::string> Marked(const std::vector<Row>& rows, bool bCleanUp)
{
    std::vector<std::string> stored;
    for (const Row& r : rows)
        stored.push_back(std::string(r.deleted || (bCleanUp && r.dead) ? "*" : "") + r.subject);
    return stored;
}

} // namespace

// ---- dead rows -------------------------------------------------------------------------------------

TEST_F(MaintenanceTest, RemoveInvalidRowsMarksExactlyTheDeadRows)
{
    const std::vector<Row> rows = Fixture();
    Write(rows);
    CDataController& c = Start();
    EXPECT_TRUE(c.RemoveInvalidRows());
    EXPECT_EQ(Marked(rows, true), StoredRows()) << "dead rows marked, the others untouched, nothing packed";
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(c.IsOpen()) << "the controller's tables stay open";
    ExpectFound(LookUps(rows, true), true);

    EXPECT_TRUE(c.RemoveInvalidRows()) << "a second walk finds nothing more";
    EXPECT_EQ(Marked(rows, true), StoredRows());
}

TEST_F(MaintenanceTest, RemoveInvalidRowsLeavesARowAnotherStationHoldsLocked)
{
    const std::vector<Row> rows = Fixture();
    Write(rows);
    CDataController& c = Start();
    auto peer = PeerHoldingTheTable();
    ASSERT_EQ("2 0", peer->Run("goto 2"));
    ASSERT_EQ("1 0", peer->Run("rlock 0"));

    EXPECT_TRUE(c.RemoveInvalidRows());
    std::vector<std::string> expected = Marked(rows, true);
    expected[1] = rows[1].subject;
    EXPECT_EQ(expected, StoredRows()) << "the locked row stays, the walk goes on after it";
    EXPECT_EQ((std::vector<Record>{{"MessageBox", "FEHLER",
                                    "Dieser Datensatz wird gegenw\xE4rtig von einem anderen Benutzer bearbeitet und "
                                    "kann daher nicht ge\xE4ndert werden!",
                                    "0x30", "1"}}),
              Boxes());

    ASSERT_EQ("1 0", peer->Run("unlock 0"));
    EXPECT_TRUE(c.RemoveInvalidRows());
    EXPECT_EQ(Marked(rows, true), StoredRows());
}

// ---- reorganizing ------------------------------------------------------------------------------------

TEST_F(MaintenanceTest, ReorganizePacksTheTableAndMakesItsIndexesAnew)
{
    const struct {
        const char* name;
        BOOL silent;
        BOOL cleanUp;
        const char* answers;
        BOOL result;
        std::vector<Record> boxes;
    } cases[] = {
        {"asked, No", FALSE, TRUE, "IDNO", FALSE, {kQuestionNo}},
        {"asked, Yes, with clean-up", FALSE, TRUE, "IDYES", TRUE, {kQuestionYes}},
        {"asked, Yes, without clean-up", FALSE, FALSE, "IDYES", TRUE, {kQuestionYes}},
        {"silent, with clean-up", TRUE, TRUE, "", TRUE, {}},
        {"silent, without clean-up", TRUE, FALSE, "", TRUE, {}},
    };
    const std::vector<Row> rows = Fixture();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        NextCase(rows);
        CDataController& c = Start();
        const std::string before = oxtest::ReadFileText(TablePath());
        m_log.SetAnswers(k.answers);

        EXPECT_EQ(k.result, c.Reorganize(k.silent, k.cleanUp));
        EXPECT_EQ(k.boxes, Boxes());
        ASSERT_TRUE(c.IsOpen());
        if (!k.result) {
            EXPECT_EQ(before, oxtest::ReadFileText(TablePath())) << "declined: nothing changed";
            EXPECT_TRUE(m_timers.Calls().empty());
            EXPECT_TRUE(ProgressCaptions().empty());
            ExpectFound(LookUps(rows, false), true);
            continue;
        }
        EXPECT_EQ(Survivors(rows, k.cleanUp), StoredRows());
        EXPECT_EQ((std::vector<std::string>{kPacking, kReindexing}), ProgressCaptions());
        ExpectFrameEnded();
        // The rows moved: the controller finds each by its record id only through indexes made
        // after the pack.
        ExpectFound(LookUps(rows, k.cleanUp), true);
        m_controller.reset();
    }
}

TEST_F(MaintenanceTest, ReorganizeOfAnEmptyTableMakesTheIndexes)
{
    Write({});
    CDataController& c = Start();
    EXPECT_TRUE(c.Reorganize(TRUE, TRUE)) << "nothing to pack is no failure";
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ((std::vector<std::string>{kReindexing}), ProgressCaptions());
    EXPECT_TRUE(c.IsOpen());
    EXPECT_TRUE(StoredRows().empty());
    ExpectFrameEnded();
}

TEST_F(MaintenanceTest, ReorganizeWhileAnotherProcessHoldsTheTable)
{
    const struct {
        const char* name;
        BOOL silent;
        BOOL cleanUp;
        std::vector<Record> boxes;
    } cases[] = {
        {"asked, without clean-up", FALSE, FALSE, {kQuestionYes, kNotExclusive}},
        {"silent, without clean-up", TRUE, FALSE, {}},
        {"asked, with clean-up", FALSE, TRUE, {kQuestionYes, kNotExclusive}},
        {"silent, with clean-up", TRUE, TRUE, {}},
    };
    const std::vector<Row> rows = Fixture();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        NextCase(rows);
        CDataController& c = Start();
        auto peer = PeerHoldingTheTable();
        const std::string before = oxtest::ReadFileText(TablePath());
        m_log.SetAnswers("IDYES");

        EXPECT_FALSE(c.Reorganize(k.silent, k.cleanUp));
        EXPECT_EQ(k.boxes, Boxes());
        EXPECT_TRUE(ProgressCaptions().empty());
        if (k.cleanUp)
            EXPECT_EQ(Marked(rows, true), StoredRows()) << "the clean-up ran on the shared table; nothing packed";
        else
            EXPECT_EQ(before, oxtest::ReadFileText(TablePath())) << "the table is unchanged";
        ASSERT_TRUE(c.IsOpen()) << "the controller's tables are open again";
        ExpectFrameEnded();
        ExpectFound(LookUps(rows, k.cleanUp), true);
        EXPECT_EQ("1 0", peer->Run("goto 1")) << "the other process keeps its table";
        peer.reset();
        m_controller.reset();
    }
}

// ---- reindexing --------------------------------------------------------------------------------------

TEST_F(MaintenanceTest, ReindexInPlaceKeepsTheTablesOpen)
{
    const std::vector<Row> rows = Fixture();
    Write(rows);
    AppendPastTheIndexes("Nachtrag", 4711);
    CDataController& c = Start();
    ExpectFound({"Nachtrag"}, false);
    // A filter on the instance: closing and opening it again would drop it.
    ASSERT_TRUE(c.GetAppointmentTable()->SetFilter(kAnyRow));
    // Another process holding the table does not hinder a rebuild in place.
    auto peer = PeerHoldingTheTable();

    EXPECT_TRUE(c.Reindex());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ((std::vector<std::string>{kReindexing}), ProgressCaptions());
    EXPECT_TRUE(c.GetAppointmentTable()->IsFilterActive()) << "the instance was never closed";
    ExpectFrameEnded();
    ExpectFound({"Nachtrag"}, true);
    ExpectFound(LookUps(rows, false), true);
}

// An instance whose index files are gone cannot rebuild them in place: the files are made anew on
// an exclusive instance, unless another process holds the table.
TEST_F(MaintenanceTest, ReindexFallsBackToAnExclusiveInstance)
{
    const struct {
        const char* name;
        bool peer;
        BOOL result;
        std::vector<Record> boxes;
        std::vector<std::string> progress;
    } cases[] = {
        // The failed attempt in place has shown its progress too.
        {"the table to itself", false, TRUE, {}, {kReindexing, kReindexing}},
        {"another process holds the table", true, FALSE, {kNotExclusive}, {kReindexing}},
    };
    const std::vector<Row> rows = Fixture();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        NextCase(rows);
        AppendPastTheIndexes("Nachtrag", 4711);
        CDataController& c = Start();
        ASSERT_TRUE(c.GetAppointmentTable()->SetFilter(kAnyRow));
        {
            CDbAreaLock lock(c.GetAppointmentTable()->GetArea());
            ASSERT_TRUE(db_close(2));
        }
        std::unique_ptr<writetest::PeerProcess> peer;
        if (k.peer)
            peer = PeerHoldingTheTable();

        EXPECT_EQ(k.result, c.Reindex());
        EXPECT_EQ(k.boxes, ProgramBoxes());
        EXPECT_EQ(k.progress, ProgressCaptions());
        ASSERT_TRUE(c.IsOpen());
        EXPECT_FALSE(c.GetAppointmentTable()->IsFilterActive()) << "the instances were opened again";
        EXPECT_EQ("RECORDID", std::string(c.GetAppointmentTable()->GetIndexKey(1))) << "with their indexes";
        ExpectFrameEnded();
        ExpectFound({"Nachtrag"}, k.result != FALSE);
        ExpectFound(LookUps(rows, false), true);
        peer.reset();
        m_controller.reset();
    }
}

// ---- a damaged table, an index file held elsewhere ----------------------------------------------

// A header that counts more rows than the file holds: the table is refused (message 40019 besides
// the engine's own boxes) and stays as it was; the controller ends both operations cleanly although
// it cannot open its tables again.
TEST_F(MaintenanceTest, DamagedTableIsRefusedAndLeftAsItWas)
{
    const std::vector<Row> rows = Fixture();
    Write(rows);
    CDataController& c = Start();
    std::string image = oxtest::ReadFileText(TablePath());
    const unsigned nCount = Le32(image, 4) + 3;
    for (int i = 0; i < 4; ++i)
        image[4 + i] = (char)(nCount >> (8 * i));
    ASSERT_TRUE(PatchFile(TablePath(), 4, image.substr(4, 4))) << "the controller holds the table shared";
    ASSERT_EQ(image, oxtest::ReadFileText(TablePath()));

    m_log.SetAnswers("IDYES");
    EXPECT_FALSE(c.Reorganize(FALSE, TRUE));
    // The engine's box for the clean-up's open, the refused exclusive open, the engine's box for
    // the controller's own open.
    const Record damaged = {"MessageBox", "FEHLER", "Fehlercode: 2\\n(The selected database has bad or unknown format)",
                            "0x30", "1"};
    EXPECT_EQ((std::vector<Record>{kQuestionYes, damaged, kNotExclusive, damaged}), Boxes());
    EXPECT_TRUE(ProgressCaptions().empty());
    EXPECT_EQ(image, oxtest::ReadFileText(TablePath())) << "nothing written, not even by the clean-up";
    EXPECT_FALSE(c.IsOpen()) << "the damaged table does not open again";
    ExpectFrameEnded();

    m_timers.Clear();
    m_log.Clear();
    EXPECT_FALSE(c.Reindex());
    EXPECT_EQ((std::vector<Record>{kNotExclusive, damaged}), Boxes());
    EXPECT_EQ(image, oxtest::ReadFileText(TablePath()));
    ExpectFrameEnded();
}

// Another program (a backup, say) holds an index file open: the table is packed, making that index
// anew fails with message 40050, and the controller's tables are open again.
TEST_F(MaintenanceTest, IndexFileHeldElsewhereGivesTheIndexMessage)
{
    const std::vector<Row> rows = Fixture();
    Write(rows);
    CDataController& c = Start();
    HANDLE hIndex = CreateFileA((m_strPath + "OX4.NT1").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hIndex);
    const std::string indexBefore = oxtest::ReadFileText(m_strPath + "OX4.NT1");

    m_log.SetAnswers("IDYES");
    EXPECT_FALSE(c.Reorganize(FALSE, TRUE));
    CloseHandle(hIndex);
    EXPECT_EQ((std::vector<Record>{kQuestionYes, kReindexFailed}), ProgramBoxes());
    EXPECT_EQ(Survivors(rows, true), StoredRows()) << "the pack itself was done";
    EXPECT_EQ(indexBefore, oxtest::ReadFileText(m_strPath + "OX4.NT1"));
    EXPECT_EQ(kPacking, ProgressCaptions().at(0));
    EXPECT_TRUE(c.IsOpen());
    ExpectFrameEnded();

    // Nothing holds the file any more: a reindex repairs what the reorganize left.
    m_timers.Clear();
    m_log.Clear();
    EXPECT_TRUE(c.Reindex());
    EXPECT_TRUE(ProgramBoxes().empty());
    ExpectFound(LookUps(rows, true), true);
}
