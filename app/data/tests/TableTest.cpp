// The table class on real tables: opening, the field map, the text forms of every field type
// with OEM text in the file, writing, appending, deleting and recalling under record locks (also
// against a second station), navigation and its flags, filters and marks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CDbAreaLock.h"
#include "CDbTable.h"
#include "DataTestKit.h"
#include "PeerProcess.h"
#include "vlDB07.h"

namespace {

using datatest::DataTest;
using datatest::StoredField;
using Record = oxtest::CtlLog::Record;

const std::vector<datatest::FieldDef> kFields = {
    {"NAME", 'C', 20, 0}, {"ANZAHL", 'N', 8, 2}, {"DATUM", 'D', 8, 0}, {"AKTIV", 'L', 1, 0}, {"NOTIZ", 'M', 10, 0},
};

std::string Str(const CString& s) { return std::string((LPCTSTR)s); }

class TableTest : public DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        ASSERT_TRUE(datatest::CreateTable(Path(), kFields));
        ASSERT_TRUE(m_table.Open(Path().c_str(), "TERMINE", 0, datatest::kTableOptions));
    }

    std::string Path() const { return File("TERMINE.DBF"); }

    // Appends a row with these values, writes and unlocks it; its record number.
    unsigned Append(const char* name, const char* anzahl = "1")
    {
        EXPECT_TRUE(m_table.AppendBlank());
        m_table.SetFieldValue("NAME", name);
        m_table.SetFieldValue("ANZAHL", anzahl);
        EXPECT_TRUE(m_table.WriteRecord(TRUE));
        unsigned recno = m_table.GetRecNo();
        m_table.UnlockRecord();
        return recno;
    }

    std::string Read(const char* field)
    {
        CString value;
        EXPECT_TRUE(m_table.ReadField(field, value)) << field;
        return Str(value);
    }

    CDbTable m_table{m_session.get()};
};

TEST_F(TableTest, OpenTakesTheFirstFreeAreaAndBuildsTheFieldMap)
{
    EXPECT_TRUE(m_table.IsOpen());
    EXPECT_EQ(1, m_table.GetArea());
    EXPECT_EQ(5, m_table.GetFieldCount());
    EXPECT_STREQ("TERMINE", m_table.GetAlias());
    EXPECT_TRUE(m_table.IsEmpty());

    struct Expected {
        const char* name;
        char type;
        int length, decimals, width;
    } expected[] = {{"NAME", 'C', 20, 0, 20}, {"ANZAHL", 'N', 8, 2, 8}, {"DATUM", 'D', 8, 0, 10},
                    {"AKTIV", 'L', 1, 0, 1},  {"NOTIZ", 'M', 10, 0, 0}};
    CDbFieldMap& map = m_table.GetFieldMap();
    ASSERT_EQ(5, map.GetCount());
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(expected[i].name, map[i].m_strName);
        EXPECT_STREQ(expected[i].name, map[i].m_strAlias);
        EXPECT_EQ(expected[i].type, map[i].m_chType);
        EXPECT_EQ(expected[i].length, map[i].m_nLength);
        EXPECT_EQ(expected[i].decimals, map[i].m_nDecimals);
        EXPECT_EQ(expected[i].width, map[i].m_nDisplayWidth);
        EXPECT_EQ(expected[i].width, m_table.GetDisplayWidth(expected[i].name));
        EXPECT_EQ(i, map.Find(expected[i].name));
    }
    EXPECT_EQ(1, map.Find("anzahl")) << "names are found in any case";
    EXPECT_EQ(-1, map.Find("FEHLT"));

    // A second table takes the next area; a closed one gives its area back.
    CDbTable second(m_session.get());
    ASSERT_TRUE(second.Open(Path().c_str(), "ZWEITE", 0, datatest::kTableOptions));
    EXPECT_EQ(2, second.GetArea());
    second.Close();
    EXPECT_EQ(0, second.GetArea());
    EXPECT_STREQ("", second.GetPath());
    CDbTable third(m_session.get());
    ASSERT_TRUE(third.Open(Path().c_str(), NULL, 0, datatest::kTableOptions));
    EXPECT_EQ(2, third.GetArea());
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TableTest, OpenOfAMissingFileFails)
{
    CDbTable missing(m_session.get());
    EXPECT_FALSE(missing.Open(File("FEHLT.DBF").c_str(), "FEHLT", 0, datatest::kTableOptions));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(0, missing.GetArea());
    // Operations on a table that is not open fail without reaching the engine.
    EXPECT_FALSE(missing.AppendBlank());
    EXPECT_EQ(0, missing.GoTo(1));
    EXPECT_STREQ("", missing.GetDatabasePath());
    EXPECT_TRUE(Boxes().empty()) << "a table that cannot be opened is no error box";
}

TEST_F(TableTest, PathAndPositionDescription)
{
    CString path = m_table.GetDatabasePath();
    EXPECT_EQ(0, path.CompareNoCase(Path().c_str())) << (LPCTSTR)path;
    Append("a");
    unsigned second = Append("b");
    m_table.GoTo(second);
    CString description;
    m_table.DescribePosition(description);
    EXPECT_STREQ("Datensatz Nummer 2", description);
}

// ---- text forms of the field types ------------------------------------------------------------

TEST_F(TableTest, ValuesRoundTripInTheirTextForms)
{
    const std::string memo = "Zeile 1\r\nGrüße an Jürgen\r\n" + std::string(3000, 'm');
    ASSERT_TRUE(m_table.AppendBlank());
    m_table.SetFieldValue("NAME", "  Müller ");
    m_table.SetFieldValue("ANZAHL", " 12.5 ");
    m_table.SetFieldValue("DATUM", "24.12.2024");
    m_table.SetFieldValue("AKTIV", "T");
    m_table.SetFieldValue("NOTIZ", memo.c_str());
    EXPECT_TRUE(m_table.IsRowDirty());
    EXPECT_TRUE(m_table.IsMemoDirty());
    ASSERT_TRUE(m_table.WriteRecord());
    EXPECT_FALSE(m_table.IsRowDirty());
    EXPECT_FALSE(m_table.IsMemoDirty());
    unsigned recno = m_table.GetRecNo();
    m_table.UnlockRecord();

    // The cache kept the values; reading from the engine gives the program's forms.
    CString cached;
    m_table.ReadField("ANZAHL", cached, TRUE);
    EXPECT_STREQ("12.5", cached) << "a number is trimmed when set";
    m_table.GoTo(recno);
    EXPECT_EQ("  Müller", Read("NAME")) << "character fields keep leading blanks, lose trailing ones";
    EXPECT_EQ("12.50", Read("ANZAHL"));
    EXPECT_EQ("24.12.2024", Read("DATUM"));
    EXPECT_EQ("T", Read("AKTIV"));
    EXPECT_EQ(memo, Read("NOTIZ"));
    EXPECT_EQ((int)memo.size() + 1, m_table.GetFieldMap()[4].m_nLength) << "a memo's length is its text's + 1";

    EXPECT_EQ("   12.50", StoredField(Path(), recno, "ANZAHL"));
    EXPECT_EQ("20241224", StoredField(Path(), recno, "DATUM"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TableTest, EmptyValuesReadAsEmptyTextOrZero)
{
    // A blank row as another program appends it (the table class writes every field).
    {
        CDbAreaLock lock(m_table.GetArea());
        ASSERT_TRUE(db_blank());
        ASSERT_TRUE(db_insert());
    }
    EXPECT_EQ("        ", StoredField(Path(), 1, "ANZAHL"));
    EXPECT_EQ("        ", StoredField(Path(), 1, "DATUM"));
    m_table.GoTo(1);
    EXPECT_EQ("", Read("DATUM")) << "not \"  .  .    \"";
    EXPECT_EQ("0", Read("ANZAHL"));
    EXPECT_EQ("", Read("NAME"));
    EXPECT_EQ("", Read("NOTIZ"));

    // Written back by the table class, the empty date stays empty; the number is written as 0.
    ASSERT_TRUE(m_table.LockRecord());
    m_table.ReadAllFields();
    m_table.SetFieldValue("NAME", "x");
    ASSERT_TRUE(m_table.WriteRecord());
    m_table.UnlockRecord();
    EXPECT_EQ("        ", StoredField(Path(), 1, "DATUM"));
    EXPECT_EQ("    0.00", StoredField(Path(), 1, "ANZAHL"));
}

TEST_F(TableTest, DatesAreCompletedAndRewritten)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char thisMonth[16], thisYear[8];
    snprintf(thisMonth, sizeof thisMonth, "%02d.%04d", now.wMonth, now.wYear);
    snprintf(thisYear, sizeof thisYear, "%04d", now.wYear);
    struct Case {
        const char* text;
        std::string stored; // DD.MM.CCYY
    } cases[] = {
        {"1.2.5", "01.02.2005"},
        {"1.2.85", "01.02.1985"},
        {"1.2.79", "01.02.2079"},
        {"3.4.1850", "03.04.1850"},
        {"31-12-99", "31.12.1999"},
        {"15", std::string("15.") + thisMonth},
        {" 7.3 ", std::string("07.03.") + thisYear},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        ASSERT_TRUE(m_table.AppendBlank());
        m_table.SetFieldValue("DATUM", c.text);
        ASSERT_TRUE(m_table.WriteRecord());
        unsigned recno = m_table.GetRecNo();
        m_table.UnlockRecord();
        m_table.GoTo(recno);
        EXPECT_EQ(c.stored, Read("DATUM"));
    }
}

TEST_F(TableTest, TextIsStoredInOemAndReadInAnsi)
{
    // ANSI (1252) ä ö ü Ä Ö Ü ß are OEM (850) 84 94 81 8E 99 9A E1.
    const char ansi[] = "\xE4\xF6\xFC\xC4\xD6\xDC\xDF";
    const char oem[] = "\x84\x94\x81\x8E\x99\x9A\xE1";
    ASSERT_TRUE(m_table.AppendBlank());
    m_table.SetFieldValue("NAME", ansi);
    m_table.SetFieldValue("NOTIZ", (std::string("Notiz ") + ansi).c_str());
    ASSERT_TRUE(m_table.WriteRecord());
    m_table.UnlockRecord();
    EXPECT_EQ(std::string(oem) + std::string(13, ' '), StoredField(Path(), 1, "NAME"));
    EXPECT_NE(std::string::npos, oxtest::ReadFileText(File("TERMINE.DBT")).find(std::string("Notiz ") + oem));

    // OEM bytes written by another program read as ANSI text.
    m_table.GoTo(1);
    ASSERT_TRUE(m_table.LockRecord());
    {
        CDbAreaLock lock(m_table.GetArea());
        ASSERT_TRUE(db_replace("NAME", "M\x81ller"));
        ASSERT_TRUE(db_write());
    }
    m_table.UnlockRecord();
    m_table.GoTo(1);
    EXPECT_EQ("M\xFCller", Read("NAME"));
    EXPECT_EQ(std::string("Notiz ") + ansi, Read("NOTIZ"));
    CString cached;
    m_table.ReadField("NAME", cached, TRUE);
    EXPECT_STREQ("M\xFCller", cached) << "the cache holds ANSI text";
}

TEST_F(TableTest, FieldCharsAndValuesByName)
{
    Append("Abc");
    m_table.GoTo(1);
    EXPECT_EQ('b', m_table.GetFieldChar("NAME", 2));
    EXPECT_EQ(0, m_table.GetFieldChar("NAME", 4)) << "beyond the value";
    EXPECT_EQ(0, m_table.GetFieldChar("NAME", 0));
    EXPECT_EQ(0, m_table.GetFieldChar("FEHLT", 1));

    m_table.SetFieldValue("NAME", "1");
    EXPECT_TRUE(m_table.IsRowDirty());
    EXPECT_TRUE(m_table.SetFieldChars("NAME", 5, 'X'));
    EXPECT_STREQ("1000X", m_table.FieldValue("NAME", TRUE));
    EXPECT_TRUE(m_table.SetFieldChars("NAME", 2, 'Y'));
    EXPECT_STREQ("1Y00X", m_table.FieldValue("NAME", TRUE));
    EXPECT_FALSE(m_table.SetFieldChars("FEHLT", 1, 'Z'));

    EXPECT_STREQ("Abc", m_table.FieldValue("NAME")) << "FieldValue reads the row first";
    EXPECT_STREQ("", m_table.FieldValue("FEHLT"));
    EXPECT_FALSE(m_table.SetFieldValue("FEHLT", "x"));
}

// ---- flags, navigation and the empty table ------------------------------------------------------

TEST_F(TableTest, PositionAndRowFlags)
{
    Append("a");
    Append("b");
    m_table.GoTo(1);
    EXPECT_TRUE(m_table.IsPositionMoved());
    EXPECT_FALSE(m_table.IsRowComplete());
    EXPECT_TRUE(m_table.ReadAllFields());
    EXPECT_TRUE(m_table.IsRowComplete());
    m_table.Skip(1);
    EXPECT_EQ(2u, m_table.GetRecNo());
    EXPECT_FALSE(m_table.IsRowComplete()) << "moving clears the complete flag";
    m_table.ReadAllFields();
    EXPECT_TRUE(m_table.ReadFieldsMasked(0x0800)) << "no field has those bits: nothing is read";
    EXPECT_TRUE(m_table.IsRowComplete());
    m_table.Skip(1);
    EXPECT_TRUE(m_table.IsEof());
    EXPECT_EQ((unsigned)DB_EOF, m_table.GetRecNo());
    EXPECT_EQ(2u, m_table.GetRecCount());
}

TEST_F(TableTest, MaskedReadsReadOnlyTheirFields)
{
    Append("erste", "1");
    Append("zweite", "2");
    m_table.GetFieldMap()[1].m_wFlags = 0x0800; // ANZAHL
    m_table.GoTo(1);
    m_table.ReadAllFields();
    m_table.GoTo(2);
    EXPECT_TRUE(m_table.ReadFieldsMasked(0x0800));
    EXPECT_FALSE(m_table.IsRowComplete());
    EXPECT_STREQ("2.00", m_table.FieldValue("ANZAHL", TRUE));
    EXPECT_STREQ("erste", m_table.FieldValue("NAME", TRUE)) << "a field outside the mask keeps its cached value";
}

// A masked read of character, number and date fields takes them from the stored record at once:
// its values are exactly those of reading field by field, for every form the fields can have; a
// mask with a logical or memo field reads field by field.
TEST_F(TableTest, MaskedReadsGiveWhatFieldReadsGive)
{
    const struct {
        const char* name;
        const char* anzahl;
        const char* datum;
    } rows[] = {
        {"M\xFCller", "2.5", "24.12.2005"}, {"  vorn frei", "", ""}, {"", "-12.75", "29.02.2004"},
        {"\xC4\xD6\xDC\xDF 12345678901234", "99999.99", "01.01.1900"},
    };
    for (const auto& r : rows) {
        ASSERT_TRUE(m_table.AppendBlank());
        m_table.SetFieldValue("NAME", r.name);
        m_table.SetFieldValue("ANZAHL", r.anzahl);
        m_table.SetFieldValue("DATUM", r.datum);
        m_table.SetFieldValue("AKTIV", "T");
        m_table.SetFieldValue("NOTIZ", "Notiz");
        ASSERT_TRUE(m_table.WriteRecord(TRUE));
        m_table.UnlockRecord();
    }
    for (int i = 0; i < 5; ++i)
        m_table.GetFieldMap()[i].m_wFlags = i < 3 ? 0x1000 : 0x2000;
    for (unsigned recno = 1; recno <= 4; ++recno) {
        SCOPED_TRACE(recno);
        for (WORD mask : {0x1000, 0x3000}) {
            m_table.GoTo(recno);
            for (int i = 0; i < 5; ++i)
                m_table.GetFieldMap()[i].m_strValue = "alt";
            ASSERT_TRUE(m_table.ReadFieldsMasked(mask));
            for (const char* field : {"NAME", "ANZAHL", "DATUM"})
                EXPECT_EQ(Read(field), Str(m_table.FieldValue(field, TRUE))) << field << " mask " << mask;
            EXPECT_EQ(mask == 0x3000 ? "T" : "alt", Str(m_table.FieldValue("AKTIV", TRUE)));
            EXPECT_EQ(mask == 0x3000 ? "Notiz" : "alt", Str(m_table.FieldValue("NOTIZ", TRUE)));
        }
    }
}

TEST_F(TableTest, EmptyFlagFollowsWritesAndDeletes)
{
    EXPECT_TRUE(m_table.IsEmpty());
    ASSERT_TRUE(m_table.AppendBlank());
    m_table.SetFieldValue("NAME", "a");
    ASSERT_TRUE(m_table.WriteRecord(TRUE));
    EXPECT_FALSE(m_table.IsEmpty());
    m_table.UnlockRecord();

    m_table.GoTo(1);
    EXPECT_TRUE(m_table.DeleteRecord(TRUE));
    EXPECT_TRUE(m_table.IsEmpty()) << "the only row is hidden";
    EXPECT_EQ('*', datatest::StoredDeletedFlag(Path(), 1));

    m_table.SetDeleted(0);
    m_table.GoTo(1);
    EXPECT_TRUE(m_table.RecallRecord(TRUE));
    m_table.SetDeleted(1);
    m_table.RefreshEmptyFlag();
    EXPECT_FALSE(m_table.IsEmpty());
    EXPECT_EQ(' ', datatest::StoredDeletedFlag(Path(), 1));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(TableTest, DeleteRepositionsOffTheHiddenRow)
{
    for (const char* name : {"a", "b", "c", "d"})
        Append(name);
    // A step forward and one back: the previous visible row, or the last one at the end.
    m_table.GoTo(2);
    EXPECT_TRUE(m_table.DeleteRecord(TRUE));
    EXPECT_EQ(1u, m_table.GetRecNo());
    m_table.GoTo(4);
    EXPECT_TRUE(m_table.DeleteRecord(TRUE));
    EXPECT_EQ(3u, m_table.GetRecNo());
    // Without repositioning the position stays on the hidden row.
    m_table.GoTo(3);
    EXPECT_TRUE(m_table.DeleteRecord(FALSE));
    EXPECT_EQ(3u, m_table.GetRecNo());

    std::vector<unsigned> visible;
    for (m_table.GoTo(0); !m_table.IsEof(); m_table.Skip(1))
        visible.push_back(m_table.GetRecNo());
    EXPECT_EQ(std::vector<unsigned>{1}, visible);
}

// ---- locks against a second station ----------------------------------------------------------

TEST_F(TableTest, AppendedRowStaysLockedForTheCaller)
{
    writetest::PeerProcess peer;
    ASSERT_TRUE(peer.Started());
    ASSERT_EQ("1 0", peer.Run("use " + Path()));
    ASSERT_TRUE(m_table.AppendBlank());
    unsigned recno = m_table.GetRecNo();
    EXPECT_EQ(1u, recno);
    EXPECT_EQ(std::to_string(recno) + " 0", peer.Run("goto " + std::to_string(recno)));
    EXPECT_EQ("0", peer.Run("rlock 0").substr(0, 1)) << "the new row is locked";
    m_table.SetFieldValue("NAME", "neu");
    EXPECT_TRUE(m_table.WriteRecord());
    m_table.UnlockRecord();
    EXPECT_EQ("1 0", peer.Run("rlock 0"));
    EXPECT_EQ("1 0", peer.Run("unlock 0"));
}

TEST_F(TableTest, RowLockedByAnotherStationIsNotDeleted)
{
    Append("a");
    Append("b");
    writetest::PeerProcess peer;
    ASSERT_TRUE(peer.Started());
    ASSERT_EQ("1 0", peer.Run("use " + Path()));
    ASSERT_EQ("2 0", peer.Run("goto 2"));
    ASSERT_EQ("1 0", peer.Run("rlock 0"));

    m_log.Clear();
    m_table.GoTo(2);
    EXPECT_FALSE(m_table.DeleteRecord(TRUE));
    EXPECT_FALSE(m_table.LockRecord());
    EXPECT_EQ(' ', datatest::StoredDeletedFlag(Path(), 2));
    EXPECT_EQ((std::vector<Record>{{"MessageBox", "FEHLER",
                                    "Dieser Datensatz wird gegenw\xE4rtig von einem anderen Benutzer bearbeitet und "
                                    "kann daher nicht ge\xE4ndert werden!",
                                    "0x30", "1"}}),
              Boxes());

    ASSERT_EQ("1 0", peer.Run("unlock 0"));
    m_table.GoTo(2);
    EXPECT_TRUE(m_table.DeleteRecord(TRUE));
    EXPECT_EQ('*', datatest::StoredDeletedFlag(Path(), 2));
    EXPECT_EQ("1 0", peer.Run("rlock 0")) << "the delete gave its lock back";
}

// ---- filters and marks -------------------------------------------------------------------------

std::vector<unsigned> VisibleRows(CDbTable& table)
{
    std::vector<unsigned> rows;
    for (table.GoTo(0); !table.IsEof(); table.Skip(1))
        rows.push_back(table.GetRecNo());
    return rows;
}

std::vector<unsigned> MarkedRows(CDbTable& table)
{
    std::vector<unsigned> rows;
    for (unsigned n = 1; n <= table.GetRecCount() + 1; ++n)
        if (table.IsMarked(n))
            rows.push_back(n);
    return rows;
}

TEST_F(TableTest, FilterHidesRows)
{
    for (int i = 1; i <= 6; ++i)
        Append(("Zeile " + std::to_string(i)).c_str(), std::to_string(i).c_str());
    EXPECT_TRUE(m_table.SetFilter("ANZAHL > 4"));
    EXPECT_TRUE(m_table.IsFilterActive());
    EXPECT_EQ((std::vector<unsigned>{5, 6}), VisibleRows(m_table));
    EXPECT_EQ(0u, m_table.GetLastFilterError());

    EXPECT_FALSE(m_table.SetFilter("ANZAHL >"));
    EXPECT_EQ(18u, m_table.GetLastFilterError()) << "the expression does not compile";
    EXPECT_FALSE(m_table.SetFilter("ANZAHL + 1"));
    EXPECT_EQ(26u, m_table.GetLastFilterError()) << "not a logical expression";

    EXPECT_TRUE(m_table.SetFilter(""));
    EXPECT_FALSE(m_table.IsFilterActive());
    EXPECT_EQ(0u, m_table.GetLastFilterError());
    EXPECT_EQ(6u, VisibleRows(m_table).size());
    EXPECT_TRUE(Boxes().empty()) << "filter errors are only traced";
}

TEST_F(TableTest, MarksTellWhichRowsPassTheFilter)
{
    for (int i = 1; i <= 12; ++i)
        Append(("Zeile " + std::to_string(i)).c_str(), std::to_string(i).c_str());
    EXPECT_FALSE(m_table.IsMarked(1)) << "no marks before they are made";
    ASSERT_TRUE(m_table.AllocateMarks());
    EXPECT_EQ(12u, m_table.GetMarkedCount());

    ASSERT_TRUE(m_table.SetFilter("ANZAHL > 9 .OR. ANZAHL < 3"));
    EXPECT_EQ((std::vector<unsigned>{1, 2, 10, 11, 12}), MarkedRows(m_table));
    EXPECT_EQ(5u, m_table.GetMarkedCount());
    EXPECT_EQ(12u, VisibleRows(m_table).size()) << "with marks the filter is removed again";
    EXPECT_TRUE(m_table.IsFilterActive());

    // Rows marked deleted: their visibility changes the marks.
    m_table.GoTo(11);
    ASSERT_TRUE(m_table.DeleteRecord(FALSE));
    m_table.RebuildMarks();
    EXPECT_EQ((std::vector<unsigned>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}), MarkedRows(m_table));
    m_table.SetDeleted(0);
    EXPECT_EQ(12u, m_table.GetMarkedCount());
    m_table.SetDeleted(1);
    EXPECT_EQ(11u, m_table.GetMarkedCount());

    ASSERT_TRUE(m_table.SetFilter(NULL));
    EXPECT_FALSE(m_table.IsFilterActive());
    EXPECT_EQ(12u, MarkedRows(m_table).size()) << "a removed filter marks every row";

    m_table.SetAllMarks(0);
    EXPECT_TRUE(MarkedRows(m_table).empty());
    EXPECT_EQ(0u, m_table.GetMarkedCount());
    m_table.SetAllMarks(0x01); // whole bytes take the value, the last partial byte its bit 0
    EXPECT_EQ((std::vector<unsigned>{1, 9, 10, 11, 12}), MarkedRows(m_table));
    EXPECT_FALSE(m_table.IsMarked(0));
    EXPECT_FALSE(m_table.IsMarked(600000)) << "beyond the marks";
}

} // namespace
