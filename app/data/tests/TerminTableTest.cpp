// The schedule table: its creation through OpenMain with the second instance, the stamping write
// (creator, changer, dates, record id, change counter), record ids that never loop, look-ups by
// record id that leave order, filter and row alone, and the filter expressions of the views.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CTerminTable.h"
#include "DataTestKit.h"

namespace {

using datatest::DataTest;

class TerminTableTest : public DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        m_table.SetUserName("Anwender");
        ASSERT_EQ(DB_OPEN_CREATED, m_table.OpenMain((m_dir->Path() + "\\").c_str(), 0, 0));
    }
    void TearDown() override { CTerminTable::SetRecordIdRange(1, 2147483647L); }

    // Appends a row with the values (NAME=value pairs) through the stamping write, as a new row
    // (which gets a new record id) or as a stored one; its record number.
    unsigned Append(const std::vector<std::pair<const char*, const char*>>& values, BOOL bNewRow = TRUE)
    {
        EXPECT_TRUE(m_table.AppendBlank());
        for (const auto& v : values)
            m_table.SetFieldValue(v.first, v.second);
        EXPECT_TRUE(m_table.WriteRecord(bNewRow, 0));
        const unsigned recno = m_table.GetRecNo();
        m_table.UnlockRecord(0);
        return recno;
    }

    std::string Read(unsigned recno, const char* field)
    {
        m_table.GoTo((long)recno);
        CString value;
        m_table.ReadField(field, value);
        return (LPCTSTR)value;
    }

    CTerminTable m_table{m_session.get(), TRUE};
};

TEST_F(TerminTableTest, OpenMainCreatesTheTableWithBothIndexesAndASecondInstance)
{
    for (const char* name : {"OX4.DBE", "OX4.DBT", "OX4.nt0", "OX4.nt1"})
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File(name).c_str())) << name;
    EXPECT_EQ(CTerminTable::kFieldCount, m_table.GetFieldCount());
    ASSERT_NE(nullptr, m_table.GetSecondInstance());
    EXPECT_TRUE(m_table.GetSecondInstance()->IsOpen());
    EXPECT_NE(m_table.GetArea(), m_table.GetSecondInstance()->GetArea());
    EXPECT_EQ(CString(CTerminTable::s_indexDefinitions[1].szKeyExpression), m_table.GetIndexKey(2));
    EXPECT_EQ(0x3800, m_table.GetFieldMap().Lookup("MOVERECID")->m_wFlags);
    EXPECT_EQ(0, m_table.GetFieldMap().Lookup("NOTIZEN")->m_wFlags);
    EXPECT_TRUE(Boxes().empty());
    // Aliases are off: no side file is written.
    m_table.Close();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(File("OX4.DBA").c_str()));
    EXPECT_EQ(nullptr, m_table.GetSecondInstance());

    // Without the flag there is no second instance and nothing to look ids up in.
    CTerminTable single(m_session.get(), FALSE);
    EXPECT_EQ(DB_OPEN_OPENED, single.OpenMain((m_dir->Path() + "\\").c_str(), 0, 0));
    EXPECT_EQ(nullptr, single.GetSecondInstance());
    EXPECT_EQ(-1, single.FindInOrder(1, "RECORDID", "0000000001"));
}

TEST_F(TerminTableTest, TheWriteStampsCreatorChangerRecordIdAndChangeCounter)
{
    const CString today = COleDateTime::GetCurrentTime().Format("%d.%m.%Y");
    const unsigned row = Append({{"BETREFF", "Besprechung"}});
    EXPECT_EQ("Anwender", Read(row, "ERF_USER"));
    EXPECT_EQ("Anwender", Read(row, "L_USER"));
    EXPECT_EQ((LPCTSTR)today, Read(row, "ERF_DAT"));
    EXPECT_EQ((LPCTSTR)today, Read(row, "L_DAT"));
    EXPECT_EQ("0", Read(row, "FOOTPRINT"));
    const std::string id = Read(row, "RECORDID");
    EXPECT_NE("0", id);
    EXPECT_LE(id.size(), 10u);

    struct Step {
        const char* what;
        std::function<void()> change;
        const char* footprint;
        const char* creator;
        const char* changer;
    };
    const Step steps[] = {
        {"a change counts up", [] {}, "1", "Anwender", "Anwender"},
        {"9998 is followed by 0000", [this] { m_table.SetFieldValue("FOOTPRINT", "9998"); }, "0", "Anwender", "Anwender"},
        {"an empty creator is stamped on a stored row",
         [this] {
             m_table.SetFieldValue("ERF_USER", "");
             m_table.SetFieldValue("L_USER", "Kollege");
         },
         "1", "Anwender", "Kollege"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        m_table.GoTo((long)row);
        ASSERT_TRUE(m_table.ReadAllFields());
        ASSERT_TRUE(m_table.LockRecord());
        s.change();
        m_table.SetFieldValue("ORT", "Bonn"); // something to write
        ASSERT_TRUE(m_table.WriteRecord(FALSE, 0));
        m_table.UnlockRecord(0);
        EXPECT_EQ(s.footprint, Read(row, "FOOTPRINT"));
        EXPECT_EQ(s.creator, Read(row, "ERF_USER"));
        EXPECT_EQ(s.changer, Read(row, "L_USER"));
        EXPECT_EQ(id, Read(row, "RECORDID")); // a stored row keeps its id
    }
}

TEST_F(TerminTableTest, NewRecordIdsAreUnusedAndTheSearchAlwaysEnds)
{
    // A range of five ids with four taken: whatever the draws (a step of 0 included), the one
    // free id is found, also after wrapping past the end of the range.
    CTerminTable::SetRecordIdRange(1, 6);
    for (const char* taken : {"1", "2", "4", "5", "6"})
        Append({{"RECORDID", taken}}, FALSE);
    for (int n = 0; n < 30; ++n) {
        EXPECT_EQ(CString("0000000003"), m_table.NewRecordId());
        Sleep(3); // other draws
    }
    // With every id taken the search still ends (and the write's own check has the last word).
    Append({{"RECORDID", "3"}}, FALSE);
    EXPECT_EQ(10, m_table.NewRecordId().GetLength());

    // Ten-digit ids of the full range, all different.
    CTerminTable::SetRecordIdRange(1, 2147483647L);
    std::set<std::string> ids;
    for (int n = 0; n < 40; ++n) {
        const unsigned row = Append({{"BETREFF", "x"}});
        ids.insert(Read(row, "RECORDID"));
    }
    EXPECT_EQ(40u, ids.size());
}

TEST_F(TerminTableTest, ARecordIdTakenMeanwhileIsReplacedWhenTheRowIsWritten)
{
    // Another station's row holds 7 (written as a stored row); this station cannot look ids up
    // before writing (its second instance is closed), so only the write can tell that a drawn 7
    // is taken.
    CTerminTable::SetRecordIdRange(7, 8);
    Append({{"RECORDID", "7"}}, FALSE);
    m_table.GetSecondInstance()->Close();
    for (int n = 0; n < 5; ++n) {
        const unsigned row = Append({{"BETREFF", "y"}});
        EXPECT_EQ("8", Read(row, "RECORDID"));
        // Free 8 again for the next round.
        m_table.GoTo((long)row);
        ASSERT_TRUE(m_table.LockRecord());
        m_table.SetFieldValue("RECORDID", "99");
        ASSERT_TRUE(m_table.WriteRecord(FALSE, 0));
        m_table.UnlockRecord(0);
    }
}

TEST_F(TerminTableTest, FindRecordByIdLeavesOrderAndRowButRemovesTheFilter)
{
    std::vector<std::string> ids;
    for (const char* user : {"ANNA", "BERND", "CARLA"}) {
        const unsigned row = Append({{"USER", user}});
        ids.push_back(Read(row, "RECORDID"));
    }
    ASSERT_TRUE(m_table.SetOrder(2));
    ASSERT_TRUE(m_table.SetFilter("SUBSTR(UPPER(INDEXKEY),1,4)=\"ANNA\""));
    m_table.GoTo(1);
    EXPECT_EQ(3, m_table.FindRecordById(ids[2].c_str()));
    EXPECT_EQ(-1, m_table.FindRecordById("1234"));
    EXPECT_EQ(2u, m_table.GetOrder());
    EXPECT_EQ(1u, m_table.GetRecNo());
    EXPECT_FALSE(m_table.IsFilterActive());
    // Look-ups through the second instance leave this one where it is.
    EXPECT_EQ(DB_FIND_FOUND, m_table.FindInOrder(1, "RECORDID", ids[1].c_str()));
    EXPECT_EQ(1u, m_table.GetRecNo());
}

// The filter expressions of the views: one clause per given value, in the fixed order.
TEST_F(TerminTableTest, BuildFilterComparesTheKeysPartsWithTheGivenValues)
{
    COleDateTime unset;
    unset.SetStatus(COleDateTime::null);
    auto F = [&](const char* user, const char* type, const char* pf, const char* pt, const char* app, const char* path,
                 long rec, COleDateTime ff, COleDateTime ft, COleDateTime lf, COleDateTime lt, const char* todo,
                 BOOL notTodo, const char* priv, const char* status, const char* series, BOOL notStatus,
                 const char* subject, const char* with, const char* remind) {
        return CTerminTable::FilterExpression(user, type, pf, pt, app, path, rec, ff, ft, lf, lt, todo, notTodo, priv,
                                              status, series, notStatus, subject, with, remind);
    };
    const COleDateTime d1(2024, 3, 5, 0, 0, 0), d2(2024, 12, 31, 0, 0, 0);
    const std::pair<CString, const char*> cases[] = {
        {F("", "", "", "", "", "", 0, unset, unset, unset, unset, "", 0, "", "", "", 0, NULL, NULL, ""), ""},
        {F("ab", "", "", "", "", "", 0, unset, unset, unset, unset, "", 0, "", "", "", 0, NULL, NULL, ""),
         "SUBSTR(UPPER(INDEXKEY),1,20)=UPPER(\"ab                  \")"},
        {F("", "A", "", "", "", "", 0, unset, unset, unset, unset, "", 0, "", "", "", 0, NULL, NULL, ""),
         "SUBSTR(UPPER(INDEXKEY),33,1)=UPPER(\"A\")"},
        {F("", "TDX", "2", "3x", "", "", 0, unset, unset, unset, unset, "", 0, "", "", "", 0, NULL, NULL, ""),
         "SUBSTR(UPPER(INDEXKEY),33,2)=UPPER(\"TD\").AND.SUBSTR(UPPER(INDEXKEY),35,1)>=UPPER(\"2\").AND."
         "SUBSTR(UPPER(INDEXKEY),35,1)<=UPPER(\"3\")"},
        {F("", "", "", "", "OUTLOOK99", "", 42, d1, d2, unset, unset, "", 0, "", "", "", 0, NULL, NULL, ""),
         "SUBSTR(UPPER(INDEXKEY),21,8)>=UPPER(\"20240305\").AND.SUBSTR(UPPER(INDEXKEY),21,8)<=UPPER(\"20241231\").AND."
         "SUBSTR(UPPER(INDEXKEY),36,8)=UPPER(\"OUTLOOK9\").AND.SUBSTR(UPPER(INDEXKEY),44,10)=UPPER(STR(42,10,0))"},
        {F("", "", "", "", "", "", 0, unset, unset, d1, d2, "E", 1, "", "N", "", 0, NULL, NULL, ""),
         "SUBSTR(UPPER(INDEXKEY),54,1)#UPPER(\"E\").AND.SUBSTR(UPPER(INDEXKEY),55,1)=UPPER(\"N\").AND."
         "SUBSTR(UPPER(INDEXKEY),56,8)>=UPPER(\"20240305\").AND.SUBSTR(UPPER(INDEXKEY),56,8)<=UPPER(\"20241231\")"},
        {F("", "", "", "", "", "", 0, unset, unset, unset, unset, "E", 0, "1", "C", "0", 1, NULL, NULL, "1"),
         "SUBSTR(UPPER(INDEXKEY),54,1)=UPPER(\"E\").AND.SUBSTR(UPPER(INDEXKEY),55,1)#UPPER(\"C\").AND."
         "SUBSTR(UPPER(INDEXKEY),64,1)=UPPER(\"1\").AND.SUBSTR(UPPER(INDEXKEY),65,1)#UPPER(\"1\").AND."
         "SUBSTR(UPPER(INDEXKEY),126,1)=UPPER(\"1\")"},
        {F("", "", "", "", "", "C:\\Daten", 0, unset, unset, unset, unset, "", 0, "0", "", "", 0, "Bespr", "", "x"),
         "SUBSTR(UPPER(INDEXKEY),64,1)#UPPER(\"1\").AND.SUBSTR(UPPER(INDEXKEY),66,30)=UPPER(\"Bespr\").AND."
         "SUBSTR(UPPER(INDEXKEY),96,30)=UPPER(\"\").AND.SUBSTR(UPPER(INDEXKEY),126,1)#UPPER(\"1\").AND."
         "SUBSTR(UPPER(INDEXKEY),127,100)=UPPER(\"C:\\Daten\")"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.second, (LPCTSTR)c.first);
}

TEST_F(TerminTableTest, AFilterSelectsTheRowsWhoseKeyPartsMatch)
{
    struct Row {
        const char* user;
        const char* type;
        const char* privat;
        const char* subject;
        const char* first;
    };
    const Row rows[] = {
        {"Anna", "AF", "1", "Besprechung Projekt", "05.03.2024"},
        {"anna", "TD", "", "Bericht", "06.03.2024"},
        {"Bernd", "AW", "0", "M\xfcller anrufen", "07.03.2024"},
        {"Anna", "AD", "", "besprechung", "31.12.2024"},
        {"M\xfcller", "AF", "1", "", ""},
    };
    for (const Row& r : rows)
        Append({{"USER", r.user}, {"TYPE", r.type}, {"PRIVAT", r.privat}, {"BETREFF", r.subject}, {"D_FIRST_OC", r.first}});
    COleDateTime unset;
    unset.SetStatus(COleDateTime::null);
    const COleDateTime from(2024, 3, 6, 0, 0, 0);
    struct Case {
        const char* what;
        const char* user;
        const char* type;
        const char* privat;
        const char* subject;
        COleDateTime firstFrom;
        std::vector<unsigned> expected;
    };
    const Case cases[] = {
        {"user, any case", "ANNA", "", "", NULL, unset, {1, 2, 4}},
        {"one letter of the type", "", "A", "", NULL, unset, {1, 3, 4, 5}},
        {"not private", "", "", "0", NULL, unset, {2, 3, 4}},
        {"subject prefix, umlaut", "", "", "", "M\xfcller", unset, {3}},
        {"subject prefix, any case", "anna", "", "", "BESPR", unset, {1, 4}},
        {"first day from (an empty date sorts last)", "", "", "", NULL, from, {2, 3, 4, 5}},
        {"user with umlaut", "m\xfcller", "", "", NULL, unset, {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(m_table.BuildFilter(c.user, c.type, "", "", "", "", 0, c.firstFrom, unset, unset, unset, "", 0,
                                        c.privat, "", "", 0, c.subject, NULL, ""));
        EXPECT_EQ(2u, m_table.GetOrder());
        std::vector<unsigned> found;
        for (m_table.GoTo(0); !m_table.IsEof(); m_table.Skip(1))
            found.push_back(m_table.GetRecNo());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(c.expected, found);
    }
}

} // namespace
