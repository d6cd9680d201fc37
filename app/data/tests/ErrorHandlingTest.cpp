// Engine errors and their reports: each class of engine error gives its boxes (seen in the
// controls library's log), its debug line or its file exception after the engine call; real
// engine failures take the same ways; no error of an unchecked call is lost; reports wait until
// the engine's locks are left and are shown by the user-interface thread only; ReportError's
// texts and titles; the fatal severities end the program (data_probe, a process of its own); the
// session's defaults.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "CDbAreaLock.h"
#include "CDbEngineLock.h"
#include "CDbTable.h"
#include "CErrorReporter.h"
#include "CTableErrorReporter.h"
#include "DataStrings.h"
#include "DataTestKit.h"
#include "CMfxUiQueue.h"
#include "DbErrors.h"
#include "DbLocks.h"
#include "DebugCapture.h"
#include "vlDB07.h"

namespace {

using datatest::DataTest;
using datatest::EngineErrorBoxes;
using Record = oxtest::CtlLog::Record;

class ErrorTest : public DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        ASSERT_TRUE(datatest::CreateTable(File("KUNDEN.DBF"), {{"NAME", 'C', 20, 0}}));
        ASSERT_TRUE(m_table.Open(File("KUNDEN.DBF").c_str(), "KUNDEN", 0, datatest::kTableOptions));
    }

    CDbTable m_table{m_session.get()};
};

// What the handler does with each class of code, with KUNDEN in the current area (as inside an
// engine call on it).
struct HandlerCase {
    unsigned code;
    std::vector<Record> boxes; // the boxes shown
    bool throws;               // a file exception after the call
};

TEST_F(ErrorTest, EachClassOfEngineErrorTakesItsWay)
{
    const HandlerCase cases[] = {
        {1, {}, false},
        {40, {}, false},
        {46, {}, false},
        {14, EngineErrorBoxes("DBF-CriticalError", "KUNDEN", 14, "This field does not exist"), false},
        {3, EngineErrorBoxes("DBF-CriticalError", "", 3, "No database defined in the selected area"), false},
        {1000, EngineErrorBoxes("DBF-CriticalError", "KUNDEN", 1000, "Bad database type [just a warning, but take care...]"),
         false},
        {7, EngineErrorBoxes("DBF-RuntimeError", "KUNDEN", 7, "Read error database file"),
         false},
        {44, EngineErrorBoxes("DBF-RuntimeError", "KUNDEN", 44, "DB_REPLACE() won't work with an unlocked record or file"),
         false},
        {49, {{"MessageBox", "Datenbank-Fehler aufgetreten (KUNDEN)", "dBase-type index files are not supported", "0x30",
           "1"}},
         false},
        {2, {}, true},
        {53, {}, true},
        {57, {}, true},
        {1001, {}, true},
    };
    for (const HandlerCase& c : cases) {
        SCOPED_TRACE("code " + std::to_string(c.code));
        m_log.Clear();
        bool thrown = false;
        try {
            CDbAreaLock lock(m_table.GetArea());
            DbErrorHandler(c.code);
        } catch (CFileException* e) {
            // An unexpected error that nothing checked is thrown when the scope ends.
            thrown = true;
            EXPECT_EQ((int)c.code, e->m_cause);
            EXPECT_EQ(-4, e->m_lOsError);
            e->Delete();
        }
        EXPECT_EQ(c.code, g_lastDbError.load());
        EXPECT_EQ(c.boxes, Boxes());
        EXPECT_EQ(c.throws, thrown);
        EXPECT_NO_THROW(DbThrowPendingError()) << "thrown once";
    }
}

// Every code of the engine's error table (1 to 61 and 1000), and codes beyond it, takes the way of
// its class: what the user sees (boxes and their titles) and whether the call throws afterwards.
TEST_F(ErrorTest, EveryCodeOfTheErrorTableTakesTheWayOfItsClass)
{
    enum Way { Traced, Critical, Runtime, Database, Unexpected };
    const std::vector<std::pair<Way, std::vector<unsigned>>> classes = {
        {Traced, {1, 12, 18, 21, 25, 26, 32, 40, 46}},
        {Critical, {3, 4, 5, 6, 9, 14, 17, 19, 20, 22, 23, 24, 27, 28, 31, 38, 41, 42, 43, 47, 48, 50, 51, 52, 54, 55,
                    56, 1000}},
        {Runtime, {7, 8, 10, 11, 13, 15, 16, 29, 30, 33, 34, 35, 36, 37, 39, 44, 45}},
        {Database, {49}},
        {Unexpected, {2, 53, 57, 58, 59, 60, 61, 62, 999, 1001, 65535}},
    };
    std::vector<unsigned> seen;
    for (const auto& cls : classes) {
        for (unsigned code : cls.second) {
            SCOPED_TRACE("code " + std::to_string(code));
            seen.push_back(code);
            m_log.Clear();
            bool thrown = false;
            try {
                CDbAreaLock lock(m_table.GetArea());
                DbErrorHandler(code);
            } catch (CFileException* e) {
                thrown = e->m_cause == (int)code;
                e->Delete();
            }
            const std::vector<Record> boxes = Boxes();
            const std::string table = code == 3 ? "()" : "(KUNDEN)";
            switch (cls.first) {
            case Traced:
                EXPECT_TRUE(boxes.empty());
                EXPECT_FALSE(thrown);
                break;
            case Critical:
            case Runtime:
                ASSERT_EQ(2u, boxes.size());
                EXPECT_EQ(std::string("FEHLER BEI: ") + (cls.first == Critical ? "DBF-CriticalError " : "DBF-RuntimeError ") +
                              table,
                          boxes[0][1]);
                EXPECT_EQ("0x30", boxes[0][3]);
                EXPECT_EQ("0x10", boxes[1][3]);
                EXPECT_EQ(0u, boxes[1][2].find("Achtung, die Datenbank ist in einem instabilen Zustand!"));
                EXPECT_FALSE(thrown);
                break;
            case Database:
                ASSERT_EQ(1u, boxes.size());
                EXPECT_EQ("Datenbank-Fehler aufgetreten " + table, boxes[0][1]);
                EXPECT_EQ("0x30", boxes[0][3]);
                EXPECT_FALSE(thrown);
                break;
            case Unexpected:
                EXPECT_TRUE(boxes.empty());
                EXPECT_TRUE(thrown);
                break;
            }
        }
    }
    // The table above names every code of the engine's error table.
    std::sort(seen.begin(), seen.end());
    for (unsigned code = 1; code <= 61; ++code)
        EXPECT_TRUE(std::binary_search(seen.begin(), seen.end(), code)) << code;
}

// The debug channel is chosen when the libraries load, so the handler runs in data_probe, which
// starts while this test owns the channel.
TEST_F(ErrorTest, TracedAndUnexpectedErrorsWriteADebugLine)
{
    oxtest::MailslotCapture debug;
    ASSERT_TRUE(debug.IsOpen());
    std::string command = "\"" + oxtest::ProgramDir() + "\\data_probe.exe\" \"" + File("events.txt") + "\" \"" +
                          m_dir->Path() + "\" handler 40 46 2 53 14";
    ASSERT_EQ(0, oxtest::RunProcess(command));
    std::vector<std::string> lines = debug.Take();
    const struct {
        const char* line;
        size_t count;
    } expected[] = {
        {"Error (OX): Index keys not unique", 1},
        {"Error (OX): The record you want to delete doesn't exist in the index", 1},
        {"UnexpectedError: The selected database has bad or unknown format", 1},
        {"UnexpectedError: <unknown error code>", 1},
        {"This field does not exist", 0}, // a critical error shows boxes only
    };
    for (const auto& e : expected)
        EXPECT_EQ(e.count, oxtest::LinesContaining(lines, e.line).size()) << e.line;
}

TEST_F(ErrorTest, OnlyTheFirstUnexpectedErrorIsThrownOnce)
{
    DbErrorHandler(53);
    DbErrorHandler(57);
    int cause = 0;
    try {
        DbThrowPendingError();
    } catch (CFileException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(53, cause);
    EXPECT_NO_THROW(DbThrowPendingError());
    // An error left by an engine call outside the table layer is thrown when the next sequence
    // begins, before it takes a lock.
    DbErrorHandler(57);
    cause = 0;
    try {
        CDbAreaLock lock(m_table.GetArea());
        ADD_FAILURE() << "the sequence began";
    } catch (CFileException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(57, cause);
    EXPECT_EQ(0, DbScopeDepth());
    EXPECT_EQ(0, CMfxUiQueue::GetHoldDepth());
    // The area is free: another thread takes its lock at once.
    bool taken = false;
    std::thread other([&] {
        CRITICAL_SECTION* pArea = &g_areaLocks[m_table.GetArea()].m_sect;
        if (TryEnterCriticalSection(pArea)) {
            if (TryEnterCriticalSection(&g_engineLock.m_sect)) {
                taken = true;
                LeaveCriticalSection(&g_engineLock.m_sect);
            }
            LeaveCriticalSection(pArea);
        }
    });
    other.join();
    EXPECT_TRUE(taken);
    EXPECT_NO_THROW(m_table.GetRecCount());
}

// No engine error is lost: a call that nobody checked has its error thrown when its scope ends, or
// by the next checked call of the scope; while another exception is on its way the error is
// forgotten and that exception arrives.
TEST_F(ErrorTest, AnUncheckedCallLosesNoError)
{
    oxtest::WriteFileText(File("KAPUTT.DBF"), std::string("\x03\x7C\x05\x11", 4) + std::string(60, '\x01'));
    const std::string damaged = File("KAPUTT.DBF");
    enum Ending { AtTheEnd, AtTheNextCheck, OtherException };
    for (Ending ending : {AtTheEnd, AtTheNextCheck, OtherException}) {
        SCOPED_TRACE(ending);
        int cause = 0;
        bool reachedAfterCheck = false, userException = false;
        try {
            CDbAreaLock lock(248);
            db_use(damaged.c_str(), 0, "KAPUTT", datatest::kTableOptions); // error 2, not checked
            if (ending == AtTheNextCheck) {
                DbChecked(db_used());
                reachedAfterCheck = true;
            }
            if (ending == OtherException)
                AfxThrowUserException();
        } catch (CFileException* e) {
            cause = e->m_cause;
            e->Delete();
        } catch (CUserException* e) {
            userException = true;
            e->Delete();
        }
        EXPECT_EQ(ending == OtherException ? 0 : 2, cause);
        EXPECT_FALSE(reachedAfterCheck);
        EXPECT_EQ(ending == OtherException, userException);
        EXPECT_NO_THROW(DbThrowPendingError());
        EXPECT_EQ(0, DbScopeDepth());
    }
}

// A report is shown only when the thread has left every engine lock: not inside a nested scope,
// not inside the engine lock alone.
TEST_F(ErrorTest, ErrorBoxesWaitUntilTheLocksAreLeft)
{
    const auto expected = EngineErrorBoxes("DBF-CriticalError", "KUNDEN", 14, "This field does not exist");
    size_t insideInner = 99, insideOuter = 99;
    {
        CDbEngineLock engine;
        {
            CDbAreaLock lock(m_table.GetArea());
            char value[8];
            EXPECT_FALSE(DbChecked(db_get_contents("FEHLT", value, sizeof value)));
            insideInner = Boxes().size();
        }
        insideOuter = Boxes().size();
    }
    EXPECT_EQ(0u, insideInner);
    EXPECT_EQ(0u, insideOuter);
    EXPECT_EQ(expected, Boxes());
}

// A worker's engine error while the user-interface thread waits for the engine lock: the worker
// shows nothing (a box of a worker whose lock the user-interface thread waits for could wait for
// that thread for ever); the user-interface thread gets the lock and shows the report after its
// own call.
TEST_F(ErrorTest, AWorkersErrorIsShownByTheUserInterfaceThread)
{
    ASSERT_TRUE(datatest::CreateTable(File("ANDERE.DBF"), {{"NAME", 'C', 20, 0}}));
    CDbTable other(m_session.get());
    ASSERT_TRUE(other.Open(File("ANDERE.DBF").c_str(), "ANDERE", 0, datatest::kTableOptions));
    const auto expected = EngineErrorBoxes("DBF-CriticalError", "KUNDEN", 14, "This field does not exist");
    m_log.Clear();

    HANDLE raised = CreateEventA(NULL, TRUE, FALSE, NULL);
    size_t whileLocked = 99, afterUnlock = 99;
    std::thread worker([&] {
        {
            CDbAreaLock lock(m_table.GetArea());
            char value[8];
            DbChecked(db_get_contents("FEHLT", value, sizeof value));
            whileLocked = Boxes().size();
            SetEvent(raised);
            Sleep(200); // the user-interface thread waits for the engine lock meanwhile
        }
        afterUnlock = Boxes().size();
    });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(raised, 10000));
    EXPECT_EQ(0u, other.GetRecCount()) << "the call waited for the worker's engine lock";
    const std::vector<Record> afterCall = Boxes();
    worker.join();
    CloseHandle(raised);
    EXPECT_EQ(0u, whileLocked);
    EXPECT_EQ(expected, afterCall);
    EXPECT_LE(afterUnlock, 2u);
    EXPECT_EQ(expected, Boxes()) << "shown once";
}

// A worker's report waits until the user-interface thread runs its message loop.
TEST_F(ErrorTest, AWorkersReportWaitsForTheMessageLoop)
{
    m_log.Clear();
    std::thread worker([&] {
        {
            CDbAreaLock lock(m_table.GetArea());
            char value[8];
            DbChecked(db_get_contents("FEHLT", value, sizeof value));
        }
        CErrorReporter reporter;
        ReportError(&reporter, IDS_DB_RECORD_NUMBER, 0, "KUNDEN", 7L);
    });
    worker.join();
    EXPECT_TRUE(Boxes().empty()) << "nothing shown by the worker";
    EXPECT_EQ(2, CMfxUiQueue::GetPendingCount()) << "the two boxes of the engine error are one report";
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    std::vector<Record> expected = EngineErrorBoxes("DBF-CriticalError", "KUNDEN", 14, "This field does not exist");
    expected.push_back({"MessageBox", "FEHLER BEI: KUNDEN", "Datensatz Nummer 7", "0x30", "1"});
    EXPECT_EQ(expected, Boxes());
    EXPECT_EQ(0, CMfxUiQueue::GetPendingCount());
}

TEST_F(ErrorTest, RealEngineFailuresTakeTheSameWays)
{
    // A write into an unlocked row of a shared table: error 44 after the engine call.
    ASSERT_TRUE(m_table.AppendBlank());
    ASSERT_TRUE(m_table.WriteRecord());
    m_table.UnlockRecord();
    m_log.Clear();
    m_table.GoTo(1);
    m_table.ReadAllFields();
    m_table.SetFieldValue("NAME", "ohne Sperre");
    EXPECT_FALSE(m_table.WriteRecord());
    EXPECT_EQ(EngineErrorBoxes("DBF-RuntimeError", "KUNDEN", 44, "DB_REPLACE() won't work with an unlocked record or file"),
              Boxes());

    // A field the table does not have: error 14.
    m_log.Clear();
    {
        CDbAreaLock lock(m_table.GetArea());
        char value[8];
        EXPECT_FALSE(DbChecked(db_get_contents("FEHLT", value, sizeof value)));
    }
    EXPECT_EQ(EngineErrorBoxes("DBF-CriticalError", "KUNDEN", 14, "This field does not exist"), Boxes());

    // An area without a table: error 3, whose report names no table.
    m_log.Clear();
    {
        CDbAreaLock lock(249);
        char name[15];
        EXPECT_FALSE(DbChecked(db_get_database(249, name, sizeof name)));
    }
    EXPECT_EQ(EngineErrorBoxes("DBF-CriticalError", "", 3, "No database defined in the selected area"), Boxes());
}

TEST_F(ErrorTest, DamagedTableThrowsAFileExceptionOutOfOpen)
{
    oxtest::WriteFileText(File("KAPUTT.DBF"), std::string("\x03\x7C\x05\x11", 4) + std::string(60, '\x01'));
    CDbTable damaged(m_session.get());
    m_log.Clear();
    int cause = 0;
    LONG osError = 0;
    try {
        damaged.Open(File("KAPUTT.DBF").c_str(), "KAPUTT", 0, datatest::kTableOptions);
    } catch (CFileException* e) {
        cause = e->m_cause;
        osError = e->m_lOsError;
        e->Delete();
    }
    EXPECT_EQ(2, cause) << "bad or unknown format";
    EXPECT_EQ(-4, osError);
    EXPECT_FALSE(damaged.IsOpen());
    EXPECT_TRUE(Boxes().empty());
    // The next operation of the layer does not throw it again.
    EXPECT_NO_THROW(m_table.GetRecCount());
}

// ---- ReportError ------------------------------------------------------------------------------

TEST_F(ErrorTest, ReportErrorTextsAndTitles)
{
    CErrorReporter reporter;
    ReportError(&reporter, IDS_DB_RECORD_NUMBER, 0, "KUNDEN", 42L);
    ReportError(&reporter, 14, 0, NULL);
    ReportError(&reporter, 999, 0, "");
    // No fixed-size buffers: a long context and a long text stay whole.
    std::string longContext = "C:\\" + std::string(600, 'p') + "\\OX4.DBE";
    ReportError(&reporter, 14, 0, longContext.c_str());

    std::vector<Record> boxes = Boxes();
    ASSERT_EQ(4u, boxes.size());
    EXPECT_EQ((Record{"MessageBox", "FEHLER BEI: KUNDEN", "Datensatz Nummer 42", "0x30", "1"}), boxes[0]);
    EXPECT_EQ((Record{"MessageBox", "FEHLER", "Fehlercode: 14\\n(This field does not exist)", "0x30", "1"}), boxes[1]);
    EXPECT_EQ((Record{"MessageBox", "FEHLER", "Fehlercode: 999\\n(<unknown error code>)", "0x30", "1"}), boxes[2]);
    EXPECT_EQ("FEHLER BEI: " + longContext, boxes[3][1]);
}

TEST_F(ErrorTest, TableReporterNamesTheTableAndTheLastError)
{
    {
        CDbAreaLock lock(m_table.GetArea());
        DbErrorHandler(40); // traced only: sets the last error
    }
    CTableErrorReporter reporter(&m_table);
    reporter.Report(0);
    reporter.Report(0, "Kontext");
    CTableErrorReporter noTable(NULL);
    noTable.Report(0, "ohne Tabelle");

    std::vector<Record> boxes = Boxes();
    ASSERT_EQ(3u, boxes.size());
    EXPECT_EQ("FEHLER BEI: " + std::string((LPCTSTR)m_table.GetDatabasePath()), boxes[0][1]);
    EXPECT_EQ("Fehlercode: 40\\n(Index keys not unique)", boxes[0][2]);
    EXPECT_EQ("FEHLER BEI: Kontext", boxes[1][1]);
    EXPECT_EQ("Fehlercode: 0\\n(<unknown error code>)", boxes[2][2]);
}

// ---- the fatal severities, in a process of their own ---------------------------------------------

TEST_F(ErrorTest, FatalReportsEndTheProgram)
{
    const std::string closeText =
        "Kein freier Tabstor-Job verf\xFCgbar!\\n\\nDie Anwendung wird beendet!!!";
    const struct {
        const char* arguments;
        std::vector<Record> boxes;
        std::string events; // window messages the probe's windows received
    } cases[] = {
        {"report 1", {{"MessageBox", "FEHLER BEI: Test", closeText, "0x10", "1"}}, "main WM_CLOSE\n"},
        {"report 1 nomain", {{"MessageBox", "FEHLER BEI: Test", closeText, "0x10", "1"}}, "active WM_CLOSE\n"},
        {"report 2", {{"MessageBox", "FEHLER BEI: Test", closeText, "0x10", "1"}}, "main WM_DESTROY\n"},
        {"report 7",
         {{"MessageBox", "OX Hauptfenster",
           "Es ist ein interner Fehler\\nin Modul 108 in Zeile 108\\naufgetreten!\\nDie Anwendung mu\xDF daher beendet "
           "werden!",
           "0x2010", "1"}},
         ""},
        {"noarea",
         {{"MessageBox", "FEHLER BEI: LETZTE",
           "Keinen freie Area f\xFCr Datenbank gefunden!\\nBeenden Sie ggf. andere Anwendungen.\\n\\nDie Anwendung "
           "wird beendet!!!",
           "0x10", "1"}},
         "main WM_CLOSE\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        m_log.Clear();
        std::string events = File("events.txt");
        DeleteFileA(events.c_str());
        std::string command = "\"" + oxtest::ProgramDir() + "\\data_probe.exe\" \"" + events + "\" \"" +
                              m_dir->Path() + "\" " + c.arguments;
        EXPECT_EQ(3, oxtest::RunProcess(command)) << "the program ends abnormally";
        EXPECT_EQ(c.boxes, Boxes());
        EXPECT_EQ(c.events, oxtest::ReadFileText(events));
    }
}

// ---- the session --------------------------------------------------------------------------------

TEST_F(ErrorTest, SessionInstallsTheHandlerAndClearsTheLastError)
{
    g_lastDbError = 12;
    m_table.Close();
    m_session.reset();
    m_session = std::make_unique<CDbSession>();
    EXPECT_EQ(0u, g_lastDbError.load());
    EXPECT_EQ((DbErrorCallback)DbErrorHandler, m_session->m_pfnCallback);
    m_session->RemoveErrorCallback();
    EXPECT_EQ(nullptr, m_session->m_pfnCallback);
    m_session->SetErrorCallback();
    EXPECT_EQ((DbErrorCallback)DbErrorHandler, m_session->m_pfnCallback);
}

} // namespace
