// Rows of the schedule table and appointments: the row values each entry type gets, how field
// texts read into members (flags, moved record ids, empty and damaged dates), and whole entries
// written through the table and read back, checked in the bytes of the table file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CDataAppointment.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "DataTestKit.h"

namespace {

using datatest::DataTest;

class RecordRowTest : public DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        m_table.SetUserName("Anwender");
        ASSERT_EQ(DB_OPEN_CREATED, m_table.OpenMain((m_dir->Path() + "\\").c_str(), 0, 0));
        ASSERT_EQ(0, m_row.AttachFields());
    }

    std::string Value(const char* field) { return (LPCTSTR)m_row.FieldValue(field); }

    CTerminTable m_table{m_session.get(), FALSE};
    CTerminRecordBuffer m_row{&m_table};
};

// An appointment as the dialogs fill it.
CDataAppointment Entry()
{
    CDataAppointment a;
    a.m_strSubject = "Besprechung \xFC" "ber M\xE4rz";
    a.m_strParticipants = "Frau M\xFCller";
    a.m_strPlace = "Raum 1";
    a.m_strNotes = "Tagesordnung";
    a.m_bPrivate = TRUE;
    a.m_bRemind = TRUE;
    a.m_nRemindSpan = 15;
    a.m_bSeries = TRUE;
    a.m_pattern.m_nStartTime = 540;
    a.m_pattern.m_nEndTime = 600;
    a.m_pattern.m_nPatternStart = 38353; // 2005-01-03
    a.m_pattern.m_nPatternEnd = 38718;   // 2006-01-03
    a.m_pattern.m_nType = CDataSerienTermin::weekly;
    a.m_pattern.m_nWeeklyInterval = 1;
    a.m_pattern.m_bWeekdays[2] = TRUE;
    a.m_strAppId = "OXAPP";
    a.m_strDbPath = "C:\\Daten\\kunden.dbf";
    a.m_nDbRecId = 77;
    a.m_action.m_strName = "OXMAIL";
    a.m_action.m_strParameter = "anna@example.org";
    a.m_strUser = "Anna";
    a.m_strStatus = "C";
    a.m_strMovedRecordId = "1234567890";
    a.m_dtNextOccurrence = COleDateTime(2005, 1, 10, 9, 0, 0);
    return a;
}

} // namespace

TEST_F(RecordRowTest, TypeAndToDoFieldsPerEntryType)
{
    struct Case {
        const char* name;
        BOOL bTodo;
        BOOL bSeries;
        LONG nType;
        const char* type;
    };
    const Case cases[] = {
        {"single appointment", FALSE, FALSE, CDataSerienTermin::monthly, "AF"},
        {"daily series", FALSE, TRUE, CDataSerienTermin::daily, "AD"},
        {"weekly series", FALSE, TRUE, CDataSerienTermin::weekly, "AW"},
        {"monthly series", FALSE, TRUE, CDataSerienTermin::monthly, "AM"},
        {"yearly series", FALSE, TRUE, CDataSerienTermin::yearly, "AY"},
        {"to-do", TRUE, FALSE, CDataSerienTermin::weekly, "TD"},
        {"to-do with a series flag", TRUE, TRUE, CDataSerienTermin::daily, "TD"},
        {"series of an unknown pattern type", FALSE, TRUE, 4, "XX"},
    };
    for (const Case& c : cases) {
        m_row.Clear();
        // What a stored row held before: to-do fields are written for to-dos only.
        m_row.SetFieldValue("TYPE", "XX");
        m_row.SetFieldValue("PRIO", "Z");
        m_row.SetFieldValue("PERCDONE", "999");
        m_row.SetFieldValue("TODOSTAT", "X");
        CDataAppointment a;
        a.m_bTodo = c.bTodo;
        a.m_bSeries = c.bSeries;
        a.m_pattern.m_nType = c.nType;
        a.m_strPriority = "B";
        a.m_nPercentDone = 5;
        a.m_strTodoState = "E";
        m_row.PutAppointment(a);
        EXPECT_EQ(c.type, Value("TYPE")) << c.name;
        EXPECT_EQ(c.bTodo ? "B" : "Z", Value("PRIO")) << c.name;
        EXPECT_EQ(c.bTodo ? "005" : "999", Value("PERCDONE")) << c.name;
        EXPECT_EQ(c.bTodo ? "E" : "X", Value("TODOSTAT")) << c.name;
        EXPECT_EQ(c.bSeries ? "1" : "", Value("SERIE")) << c.name;

        CDataAppointment back;
        m_row.GetAppointment(back);
        EXPECT_EQ(c.bTodo, back.m_bTodo) << c.name;
        EXPECT_EQ(c.bSeries, back.m_bSeries) << c.name;
        EXPECT_EQ(c.nType, back.m_pattern.m_nType) << c.name << ": the type comes from the pattern image";
    }
}

TEST_F(RecordRowTest, ValuesWritten)
{
    CDataAppointment a = Entry();
    a.m_dtCreated = COleDateTime(2004, 12, 24, 18, 30, 0);
    a.m_strCreatedBy = "Bernd";
    m_row.PutAppointment(a);

    struct Expected {
        const char* field;
        std::string value;
    };
    CString strPattern, strAction;
    a.m_pattern.ToText(strPattern, 180);
    a.m_action.ToText(strAction, 64000);
    const Expected expected[] = {
        {"BETREFF", "Besprechung \xFC" "ber M\xE4rz"}, {"WITH", "Frau M\xFCller"}, {"ORT", "Raum 1"},
        {"NOTIZEN", "Tagesordnung"}, {"SERIE", "1"}, {"PRIVAT", "1"}, {"REMIND", "1"}, {"TYPE", "AW"},
        {"TERMIN", (LPCTSTR)strPattern}, {"T_BEGIN", "0540"}, {"T_END", "0600"}, {"T_REMSPAN", "0000015"},
        {"D_FIRST_OC", "03.01.2005"}, {"D_LAST_OC", "03.01.2006"}, {"APP_DAT1", (LPCTSTR)strAction},
        {"APP_ID", "OXAPP"}, {"DB_RECID", "0000000077"}, {"DB_PATH", "C:\\Daten\\kunden.dbf"}, {"USER", "Anna"},
        {"ERF_USER", "Bernd"}, {"ERF_DAT", "24.12.2004"}, {"L_USER", ""}, {"L_DAT", ""},
        {"D_NEXT_OC", "10.01.2005"}, {"MOVERECID", "1234567890"}, {"STATUS", "C"},
        // Left to the table's stamping write, or never written.
        {"RECORDID", ""}, {"FOOTPRINT", ""}, {"KATEGORIE", ""}, {"APP_DAT2", ""}, {"FLAGS", ""},
    };
    for (const Expected& e : expected)
        EXPECT_EQ(e.value, Value(e.field)) << e.field;
    EXPECT_EQ(160u, strPattern.GetLength());

    // No next occurrence and negative times.
    a.m_dtNextOccurrence.SetStatus(COleDateTime::null);
    a.m_pattern.m_nStartTime = -1;
    a.m_nRemindSpan = -5;
    m_row.PutAppointment(a);
    EXPECT_EQ("", Value("D_NEXT_OC"));
    EXPECT_EQ("-001", Value("T_BEGIN"));
    EXPECT_EQ("-000005", Value("T_REMSPAN"));
}

TEST_F(RecordRowTest, FieldTextsReadIntoMembers)
{
    struct Case {
        const char* field;
        const char* text;
        std::function<bool(const CDataAppointment&)> check;
    };
    auto status = [](const COleDateTime& dt, COleDateTime::DateTimeStatus s) { return dt.GetStatus() == s; };
    const Case cases[] = {
        {"SERIE", "1", [](const CDataAppointment& a) { return a.m_bSeries == TRUE; }},
        {"SERIE", "T", [](const CDataAppointment& a) { return a.m_bSeries == FALSE; }},
        {"PRIVAT", "0", [](const CDataAppointment& a) { return a.m_bPrivate == FALSE; }},
        {"REMIND", "1", [](const CDataAppointment& a) { return a.m_bRemind == TRUE; }},
        {"TYPE", "AF", [](const CDataAppointment& a) { return a.m_bTodo == FALSE; }},
        {"PERCDONE", "075", [](const CDataAppointment& a) { return a.m_nPercentDone == 75; }},
        {"T_REMSPAN", "-000030", [](const CDataAppointment& a) { return a.m_nRemindSpan == -30; }},
        {"DB_RECID", "0000000077", [](const CDataAppointment& a) { return a.m_nDbRecId == 77; }},
        {"MOVERECID", "0", [](const CDataAppointment& a) { return a.m_strMovedRecordId.IsEmpty(); }},
        {"MOVERECID", "42", [](const CDataAppointment& a) { return a.m_strMovedRecordId == "42"; }},
        {"ERF_DAT", "", [&](const CDataAppointment& a) { return status(a.m_dtCreated, COleDateTime::null); }},
        {"L_DAT", "", [&](const CDataAppointment& a) { return status(a.m_dtChanged, COleDateTime::null); }},
        {"ERF_DAT", "24.12.2004",
         [](const CDataAppointment& a) { return a.m_dtCreated == COleDateTime(2004, 12, 24, 0, 0, 0); }},
        {"L_DAT", "31.02.2005",
         [&](const CDataAppointment& a) { return status(a.m_dtChanged, COleDateTime::invalid); }},
        {"D_NEXT_OC", "", [&](const CDataAppointment& a) { return status(a.m_dtNextOccurrence, COleDateTime::null); }},
        {"D_NEXT_OC", "31.02.2005",
         [&](const CDataAppointment& a) { return status(a.m_dtNextOccurrence, COleDateTime::null); }},
        {"D_NEXT_OC", "07.03.2005",
         [](const CDataAppointment& a) { return a.m_dtNextOccurrence == COleDateTime(2005, 3, 7, 0, 0, 0); }},
        {"TERMIN", "", [](const CDataAppointment& a) { return a.m_pattern.m_nType == CDataSerienTermin::yearly; }},
        {"APP_DAT1", "", [](const CDataAppointment& a) { return a.m_action.m_strName == "KEEP"; }},
    };
    for (const Case& c : cases) {
        m_row.Clear();
        m_row.SetFieldValue(c.field, c.text);
        CDataAppointment a;
        // Values the empty image fields leave as they are.
        a.m_pattern.m_nType = CDataSerienTermin::yearly;
        a.m_action.m_strName = "KEEP";
        m_row.GetAppointment(a);
        EXPECT_TRUE(c.check(a)) << c.field << " = \"" << c.text << "\"";
    }
}

TEST_F(RecordRowTest, EmptyStampDatesStayEmptyWhenWrittenBack)
{
    // A row without creation and change dates, read and written back unchanged.
    m_row.Clear();
    m_row.SetFieldValue("ERF_DAT", "");
    m_row.SetFieldValue("L_DAT", "");
    m_row.SetFieldValue("D_NEXT_OC", "31.02.2005");
    m_row.SetFieldValue("MOVERECID", "0");
    CDataAppointment a;
    m_row.GetAppointment(a);
    m_row.PutAppointment(a);
    EXPECT_EQ("", Value("ERF_DAT"));
    EXPECT_EQ("", Value("L_DAT"));
    EXPECT_EQ("", Value("D_NEXT_OC"));
    EXPECT_EQ("", Value("MOVERECID"));

    // A damaged change date is not replaced by anything.
    m_row.SetFieldValue("L_DAT", "99.99.9999");
    m_row.GetAppointment(a);
    m_row.PutAppointment(a);
    EXPECT_EQ("99.99.9999", Value("L_DAT"));
}

TEST_F(RecordRowTest, EntryWrittenThroughTheTableReadsBackEqual)
{
    CDataAppointment a = Entry();
    a.m_action.m_bBinary = TRUE;
    a.m_action.m_strParameter.Empty(); // a binary action stores no text
    a.m_action.m_binParameter.Add(0x00);
    a.m_action.m_binParameter.Add(0xAB);
    m_row.Clear();
    m_row.PutAppointment(a);
    ASSERT_EQ(0, m_row.WriteRecord());
    const long nRecNo = m_row.GetRecNo();
    m_row.UnlockRecord();

    CTerminRecordBuffer stored(&m_table);
    ASSERT_EQ(0, stored.AttachFields());
    ASSERT_EQ(0, stored.ReadRecord(nRecNo));
    CDataAppointment back;
    stored.GetAppointment(back);

    // The stamping write gave the row its record id, creator and dates.
    EXPECT_FALSE(back.m_strRecordId.IsEmpty());
    EXPECT_STREQ("Anwender", back.m_strCreatedBy);
    EXPECT_STREQ("Anwender", back.m_strChangedBy);
    EXPECT_EQ(COleDateTime::valid, back.m_dtCreated.GetStatus());
    EXPECT_EQ(COleDateTime::valid, back.m_dtChanged.GetStatus());
    // The next occurrence keeps its day (the table stores no time).
    EXPECT_TRUE(back.m_dtNextOccurrence == COleDateTime(2005, 1, 10, 0, 0, 0));
    back.m_strRecordId = a.m_strRecordId;
    back.m_strCreatedBy = a.m_strCreatedBy;
    back.m_strChangedBy = a.m_strChangedBy;
    back.m_dtCreated = a.m_dtCreated;
    back.m_dtChanged = a.m_dtChanged;
    back.m_dtNextOccurrence = a.m_dtNextOccurrence;
    CString strBack, strSent;
    back.ToText(strBack, 0);
    a.ToText(strSent, 0);
    EXPECT_TRUE(back == a) << "a member changed on its way through the table";
    EXPECT_STREQ(strSent, strBack);
    EXPECT_TRUE(back.m_action.m_bBinary);
    ASSERT_EQ(2, back.m_action.m_binParameter.GetSize());
    EXPECT_EQ(0xAB, back.m_action.m_binParameter[1]);

    // The bytes in the table file (OEM text, dates as CCYYMMDD, numbers right-aligned).
    const std::string path = File("OX4.DBE");
    struct Stored {
        const char* field;
        std::string bytes;
    };
    CString strPattern;
    a.m_pattern.ToText(strPattern, 180);
    const Stored bytes[] = {
        {"TYPE", "AW"},       {"SERIE", "1"},         {"T_BEGIN", " 540"},
        {"T_END", " 600"},    {"T_REMSPAN", "     15"}, {"D_FIRST_OC", "20050103"},
        {"D_LAST_OC", "20060103"}, {"D_NEXT_OC", "20050110"}, {"DB_RECID", "        77"},
        {"MOVERECID", "1234567890"}, {"STATUS", "C"},
        {"TERMIN", std::string((LPCTSTR)strPattern) + std::string(20, ' ')},
        {"BETREFF", std::string("Besprechung \x81" "ber M\x84rz") + std::string(140 - 21, ' ')},
    };
    for (const Stored& s : bytes)
        EXPECT_EQ(s.bytes, datatest::StoredField(path, (unsigned)nRecNo, s.field)) << s.field;
}
