// The table class's index operations on tables with real index files: seeks with the value padded
// to the field and upper-cased for "UPP" keys, SeekNext, FindInOrder with rows marked deleted
// visible, the controlling order and the key expressions, reindexing and rebuilding the indexes
// and packing with the progress dialog (seen in the controls library's log).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CDbAreaLock.h"
#include "CDbTable.h"
#include "DataTestKit.h"
#include "DbErrors.h"
#include "vlDB07.h"

namespace {

using datatest::DataTest;
using Record = oxtest::CtlLog::Record;

const std::vector<datatest::FieldDef> kFields = {{"NAME", 'C', 20, 0}, {"NUMMER", 'N', 6, 0}, {"NOTIZ", 'M', 10, 0}};

const DbIndexDef kIndexes[] = {
    {1, "nt1", "UPPER(NAME)", 0, "C Name"},
    {2, "nt2", "STR(NUMMER,6)", 0, "C Nummer"},
    {3, "nt3", "NAME", 0, "C Name wie geschrieben"},
    {0, "", "", 0, ""},
};

// The rows of the fixture: record number = position + 1.
struct Row {
    const char* name;
    const char* nummer;
    const char* notiz;
};
const Row kRows[] = {
    {"Meierhofer", "7", "erste Notiz"}, {"Huber", "42", ""},          {"M\xFCller", "3", "Gr\xFC\xDF" "e"},
    {"Huber", "5", "vierte"},          {"Zander", "120", "f\xFCnfte"}, {"Huber", "8", "sechste"},
};

class CIndexedTable : public CDbTable {
public:
    using CDbTable::CDbTable;
    const DbIndexDef* GetIndexDefinitions() override { return m_pDefinitions; }
    const DbIndexDef* m_pDefinitions = kIndexes;
    // With m_bSeekThrows a seek throws the file exception of an unexpected engine error.
    BOOL Seek(LPCTSTR lpszValue, LPCTSTR lpszField) override
    {
        if (m_bSeekThrows)
            AfxThrowFileException(CFileException::generic, -4);
        return CDbTable::Seek(lpszValue, lpszField);
    }
    BOOL m_bSeekThrows = FALSE;
};

std::string Str(const CString& s) { return std::string((LPCTSTR)s); }

class TableIndexTest : public DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        ASSERT_TRUE(datatest::CreateTable(Path(), kFields));
        ASSERT_TRUE(m_table.Open(Path().c_str(), "TERMINE", 0, datatest::kTableOptions));
        for (const Row& row : kRows)
            Append(row);
        ASSERT_TRUE(m_table.RebuildIndexes(TRUE));
        m_log.Clear();
    }

    std::string Path() const { return File("TERMINE.DBE"); }

    void Append(const Row& row)
    {
        ASSERT_TRUE(m_table.AppendBlank());
        m_table.SetFieldValue("NAME", row.name);
        m_table.SetFieldValue("NUMMER", row.nummer);
        m_table.SetFieldValue("NOTIZ", row.notiz);
        ASSERT_TRUE(m_table.WriteRecord(TRUE));
        m_table.UnlockRecord();
    }

    // Opens the table again (mode 0 shared, 1 exclusive) with its three index files.
    void Reopen(int nMode)
    {
        m_table.Close();
        ASSERT_TRUE(m_table.Open(Path().c_str(), "TERMINE", nMode, datatest::kTableOptions));
        CDbAreaLock lock(m_table.GetArea());
        for (const DbIndexDef* d = kIndexes; d->nOrder != 0; ++d)
            ASSERT_TRUE(db_set_index_to((unsigned)d->nOrder, m_table.GetIndexPath(*d)));
    }

    std::string Read(const char* field)
    {
        CString value;
        EXPECT_TRUE(m_table.ReadField(field, value)) << field;
        return Str(value);
    }

    // The progress dialog's records in the log: start, texts and percentages, end.
    static std::vector<Record> Progress(const char* caption, const std::vector<std::pair<std::string, int>>& texts)
    {
        std::vector<Record> records = {{"AbortDlgStart", caption, "Bitte einen Augenblick Geduld...", "2", "H"}};
        for (const auto& t : texts)
            records.push_back({"AbortDlgSetText", "H", t.first, std::to_string(t.second)});
        records.push_back({"AbortDlgEnd", "H", "0"});
        return records;
    }
    // The log's dialog records, each handle written as "H" once it was checked against the start's.
    std::vector<Record> DialogRecords() const
    {
        std::vector<Record> records;
        std::string handle;
        for (Record r : m_log.Records()) {
            if (r[0] == "AbortDlgStart" && r.size() == 5) {
                handle = r[4];
                r[4] = "H";
            } else if ((r[0] == "AbortDlgSetText" || r[0] == "AbortDlgEnd") && r.size() >= 2 && r[1] == handle)
                r[1] = "H";
            else if (r[0].compare(0, 8, "AbortDlg") != 0)
                continue;
            records.push_back(r);
        }
        return records;
    }

    CIndexedTable m_table{m_session.get()};
};

} // namespace

// ---- seeks -------------------------------------------------------------------------------------

TEST_F(TableIndexTest, SeekPadsTheValueAndUpperCasesItForUpperKeys)
{
    const struct {
        int order;
        const char* field;
        const char* value;
        BOOL found;
        unsigned recno;
    } cases[] = {
        {1, "NAME", "huber", TRUE, 2},          // "UPPER(NAME)": the value is upper-cased
        {1, "NAME", "m\xFC" "ller", TRUE, 3},   // ... umlauts too (in the OEM character set)
        {1, "NAME", "Meierhofer", TRUE, 1},
        {1, "NAME", "Meier", FALSE, DB_EOF},    // padded to 20: no prefix match
        {3, "NAME", "huber", FALSE, DB_EOF},    // "NAME": no upper-casing
        {3, "NAME", "Huber", TRUE, 2},
        {2, "NUMMER", "42", TRUE, 2},           // right-aligned like STR(NUMMER,6)
        {2, "NUMMER", "5", TRUE, 4},
        {2, "NUMMER", "4", FALSE, DB_EOF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.order) + " " + c.value);
        ASSERT_TRUE(m_table.SetOrder(c.order));
        m_table.GoTo(6);
        EXPECT_EQ(c.found, m_table.Seek(c.value, c.field));
        EXPECT_EQ(c.recno, m_table.GetRecNo());
        EXPECT_TRUE(m_table.IsPositionMoved());
    }
    EXPECT_FALSE(m_table.Seek("x", "FEHLT"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TableIndexTest, SeekNextWalksTheRowsOfOneKey)
{
    ASSERT_TRUE(m_table.SetOrder(1));
    ASSERT_TRUE(m_table.Seek("HUBER", "NAME"));
    std::vector<unsigned> rows = {m_table.GetRecNo()};
    while (m_table.SeekNext("huber", "NAME"))
        rows.push_back(m_table.GetRecNo());
    EXPECT_EQ((std::vector<unsigned>{2, 4, 6}), rows);
    EXPECT_EQ(1u, m_table.GetRecNo()) << "the row after the last HUBER: MEIERHOFER";
}

TEST_F(TableIndexTest, FindInOrderSeesRowsMarkedDeletedAndRestoresTheTable)
{
    m_table.GoTo(6);
    ASSERT_TRUE(m_table.DeleteRecord(TRUE));
    ASSERT_TRUE(m_table.SetOrder(2));

    const struct {
        int order;
        const char* field;
        const char* value;
        unsigned from;
        int result;
        unsigned recno;
    } cases[] = {
        {2, "NUMMER", "8", 5, DB_FIND_DELETED, 6},
        {1, "NAME", "zander", 3, DB_FIND_FOUND, 5},
        {1, "NAME", "Niemand", 3, DB_FIND_NOT_FOUND, 3},
        {3, "NAME", "Huber", 1, DB_FIND_FOUND, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        m_table.GoTo(c.from);
        EXPECT_EQ(c.result, m_table.FindInOrder(c.order, c.field, c.value));
        EXPECT_EQ(c.recno, m_table.GetRecNo());
        EXPECT_EQ(2u, m_table.GetOrder()) << "the table's order is back";
    }

    EXPECT_TRUE(Boxes().empty());

    // An order whose slot is not in use finds nothing, also a value the controlling index holds.
    m_table.GoTo(3);
    EXPECT_EQ(DB_FIND_NOT_FOUND, m_table.FindInOrder(9, "NUMMER", "42"));
    EXPECT_EQ(3u, m_table.GetRecNo());
    EXPECT_EQ(2u, m_table.GetOrder());
    EXPECT_EQ(datatest::EngineErrorBoxes("DBF-CriticalError", "TERMINE", 31, "Index not yet defined"), Boxes());

    // Rows marked deleted are hidden again.
    EXPECT_FALSE(m_table.Seek("8", "NUMMER"));
    m_table.GoTo(-1);
    EXPECT_EQ(5u, m_table.GetRecNo()) << "the last visible row in number order";

    // Also when an exception passes.
    m_table.m_bSeekThrows = TRUE;
    bool thrown = false;
    try {
        m_table.FindInOrder(1, "NAME", "huber");
    } catch (CFileException* e) {
        thrown = true;
        e->Delete();
    }
    m_table.m_bSeekThrows = FALSE;
    EXPECT_TRUE(thrown);
    EXPECT_EQ(2u, m_table.GetOrder());
    EXPECT_FALSE(m_table.Seek("8", "NUMMER"));
}

// ---- the controlling order ---------------------------------------------------------------------

TEST_F(TableIndexTest, OrdersAndKeyExpressions)
{
    EXPECT_EQ("UPPER(NAME)", Str(m_table.GetIndexKey(1)));
    EXPECT_EQ("STR(NUMMER,6)", Str(m_table.GetIndexKey(2)));
    EXPECT_EQ("", Str(m_table.GetIndexKey(9)));
    EXPECT_EQ(3u, m_table.GetOrder()) << "the index created last controls";

    ASSERT_TRUE(m_table.SetOrder(2));
    EXPECT_EQ(2u, m_table.GetOrder());
    std::vector<unsigned> rows;
    for (m_table.GoTo(0); !m_table.IsEof(); m_table.Skip(1))
        rows.push_back(m_table.GetRecNo());
    EXPECT_EQ((std::vector<unsigned>{3, 4, 1, 6, 2, 5}), rows);

    m_table.GoTo(1);
    ASSERT_TRUE(m_table.SetOrder(1));
    m_table.Skip(1);
    EXPECT_EQ(3u, m_table.GetRecNo()) << "MEIERHOFER is followed by M\xDCLLER";

    ASSERT_TRUE(m_table.SetOrderNoAdjust(3));
    EXPECT_EQ(3u, m_table.GetOrder());
    m_table.GoTo(0);
    EXPECT_EQ(2u, m_table.GetRecNo());
    ASSERT_TRUE(m_table.SetOrder(0));
    EXPECT_EQ(0u, m_table.GetOrder());
    m_table.GoTo(0);
    EXPECT_EQ(1u, m_table.GetRecNo());
}

// ---- maintenance ----------------------------------------------------------------------------------

TEST_F(TableIndexTest, ReindexRebuildsInPlaceAndRestoresOrderAndRow)
{
    // A row appended while the indexes were closed is missing from them.
    m_table.Close();
    ASSERT_TRUE(m_table.Open(Path().c_str(), "TERMINE", 0, datatest::kTableOptions));
    Append({"Adler", "1", ""});
    Reopen(0);
    ASSERT_TRUE(m_table.SetOrder(1));
    EXPECT_FALSE(m_table.Seek("adler", "NAME"));

    ASSERT_TRUE(m_table.SetOrder(2));
    m_table.GoTo(1);
    m_log.Clear();
    EXPECT_TRUE(m_table.Reindex());
    EXPECT_EQ(Progress("Die Datenbank wird nun reindiziert.",
                       {{"UPPER(NAME)", 33}, {"STR(NUMMER,6)", 66}, {"NAME", 99}}),
              DialogRecords());
    EXPECT_EQ(2u, m_table.GetOrder());
    EXPECT_EQ(1u, m_table.GetRecNo());
    m_table.Skip(1);
    EXPECT_EQ(6u, m_table.GetRecNo()) << "number order goes on from 7 to 8";

    ASSERT_TRUE(m_table.SetOrder(1));
    EXPECT_TRUE(m_table.Seek("adler", "NAME"));
    EXPECT_EQ(7u, m_table.GetRecNo());
    EXPECT_TRUE(Boxes().empty());

    // An unexpected engine error inside a build (reported through the handler from the build's
    // position callback) throws out of Reindex; the order and the row are restored.
    ASSERT_TRUE(m_table.SetOrder(2));
    m_table.GoTo(4);
    db_set_positioncallback([](int, int, int) { DbErrorHandler(999); });
    bool thrown = false;
    try {
        m_table.Reindex(TRUE);
    } catch (CFileException* e) {
        thrown = true;
        EXPECT_EQ(999, e->m_cause);
        e->Delete();
    }
    db_set_positioncallback(nullptr);
    EXPECT_TRUE(thrown);
    EXPECT_EQ(2u, m_table.GetOrder());
    EXPECT_EQ(4u, m_table.GetRecNo());
}

TEST_F(TableIndexTest, RebuildIndexesCreatesTheIndexFilesAnew)
{
    m_table.Close();
    for (const DbIndexDef* d = kIndexes; d->nOrder != 0; ++d)
        ASSERT_TRUE(DeleteFileA(File(std::string("TERMINE.") + d->szStem).c_str()));
    ASSERT_TRUE(m_table.Open(Path().c_str(), "TERMINE", 0, datatest::kTableOptions));

    EXPECT_TRUE(m_table.RebuildIndexes());
    EXPECT_EQ(Progress("Die Datenbank wird nun reindiziert.",
                       {{"UPPER(NAME)", 33}, {"STR(NUMMER,6)", 66}, {"NAME", 99}}),
              DialogRecords());
    for (const DbIndexDef* d = kIndexes; d->nOrder != 0; ++d)
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File(std::string("TERMINE.") + d->szStem).c_str()))
            << d->szStem;
    ASSERT_TRUE(m_table.SetOrder(2));
    EXPECT_TRUE(m_table.Seek("120", "NUMMER"));
    EXPECT_EQ(5u, m_table.GetRecNo());

    // Quiet: no dialog.
    m_log.Clear();
    EXPECT_TRUE(m_table.RebuildIndexes(TRUE));
    EXPECT_TRUE(DialogRecords().empty());
}

TEST_F(TableIndexTest, MaintenanceStopsAtTheFirstFailure)
{
    // The second definition's key names a field the table does not have: the first index is
    // built, the third is not.
    const DbIndexDef broken[] = {
        {1, "nt1", "UPPER(NAME)", 0, "C Name"},
        {2, "nt2", "STR(FEHLT,6)", 0, "C Fehlt"},
        {3, "nt3", "NAME", 0, "C Name wie geschrieben"},
        {0, "", "", 0, ""},
    };
    m_table.Close();
    for (const DbIndexDef* d = kIndexes; d->nOrder != 0; ++d)
        ASSERT_TRUE(DeleteFileA(File(std::string("TERMINE.") + d->szStem).c_str()));
    ASSERT_TRUE(m_table.Open(Path().c_str(), "TERMINE", 0, datatest::kTableOptions));
    m_table.m_pDefinitions = broken;
    m_log.Clear();
    g_lastDbError = 0;

    EXPECT_FALSE(m_table.RebuildIndexes());
    EXPECT_EQ(Progress("Die Datenbank wird nun reindiziert.", {{"UPPER(NAME)", 33}}), DialogRecords());
    EXPECT_EQ(18u, g_lastDbError.load()) << "the key expression's error, traced only";
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("TERMINE.nt1").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("TERMINE.nt3").c_str()));

    // Reindexing a slot that holds no index fails; the order and the row are restored.
    ASSERT_TRUE(m_table.SetOrder(1));
    m_table.GoTo(4);
    m_log.Clear();
    EXPECT_FALSE(m_table.Reindex());
    EXPECT_EQ(Progress("Die Datenbank wird nun reindiziert.", {{"UPPER(NAME)", 33}}), DialogRecords());
    // The errors of choosing the order and of reindexing slot 2.
    std::vector<Record> boxes = datatest::EngineErrorBoxes("DBF-CriticalError", "TERMINE", 31, "Index not yet defined");
    const char kNoIndexToReindex[] = "Could it be that you need to define an index to be able to reindex it?";
    for (const Record& r : datatest::EngineErrorBoxes("DBF-CriticalError", "TERMINE", 43, kNoIndexToReindex))
        boxes.push_back(r);
    EXPECT_EQ(boxes, Boxes());
    EXPECT_EQ(1u, m_table.GetOrder());
    EXPECT_EQ(4u, m_table.GetRecNo());
}

TEST_F(TableIndexTest, PackKeepsRowsAndMemosAndTheIndexesAreRebuiltAfterwards)
{
    Reopen(1);
    for (unsigned recno : {2u, 4u}) {
        m_table.GoTo(recno);
        ASSERT_TRUE(m_table.DeleteRecord(FALSE));
    }

    m_log.Clear();
    EXPECT_TRUE(m_table.Pack());
    EXPECT_EQ(Progress("Die Datenbank wird nun gepackt.", {{"Fertig!", 100}}), DialogRecords());
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(m_table.IsPositionMoved());

    ASSERT_TRUE(m_table.SetOrder(0));
    ASSERT_EQ(4u, m_table.GetRecCount());
    const Row* kept[] = {&kRows[0], &kRows[2], &kRows[4], &kRows[5]};
    for (unsigned recno = 1; recno <= 4; ++recno) {
        SCOPED_TRACE(recno);
        m_table.GoTo(recno);
        EXPECT_EQ(kept[recno - 1]->name, Read("NAME"));
        EXPECT_EQ(kept[recno - 1]->nummer, Read("NUMMER"));
        EXPECT_EQ(kept[recno - 1]->notiz, Read("NOTIZ"));
    }

    ASSERT_TRUE(m_table.RebuildIndexes(TRUE));
    const struct {
        int order;
        const char* field;
        const char* value;
        unsigned recno;
    } seeks[] = {{1, "NAME", "huber", 4}, {1, "NAME", "zander", 3}, {2, "NUMMER", "3", 2}, {3, "NAME", "Meierhofer", 1}};
    for (const auto& s : seeks) {
        SCOPED_TRACE(s.value);
        EXPECT_EQ(DB_FIND_FOUND, m_table.FindInOrder(s.order, s.field, s.value));
        EXPECT_EQ(s.recno, m_table.GetRecNo());
    }
    EXPECT_EQ(DB_FIND_NOT_FOUND, m_table.FindInOrder(2, "NUMMER", "42")) << "the packed row is gone";

    // Quiet: no dialog.
    m_log.Clear();
    EXPECT_TRUE(m_table.Pack(TRUE));
    EXPECT_TRUE(DialogRecords().empty());
    EXPECT_EQ(4u, m_table.GetRecCount());
}

TEST_F(TableIndexTest, PackOfASharedTableIsRefused)
{
    m_table.GoTo(2);
    ASSERT_TRUE(m_table.DeleteRecord(FALSE));
    const std::string before = oxtest::ReadFileText(Path());

    EXPECT_FALSE(m_table.Pack(TRUE));
    EXPECT_EQ(datatest::EngineErrorBoxes("DBF-CriticalError", "TERMINE", 17,
                                         "Can't PACK with database not opened in exclusive sharing mode"),
              Boxes());
    EXPECT_EQ(before, oxtest::ReadFileText(Path()));
}
