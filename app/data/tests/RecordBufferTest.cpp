// Record buffers on a real shared table: read, lock, change, write, unlock, also against a second
// station that holds locks; new rows and the buffer's ownership of their lock; clearing,
// copying and cloning; the schedule buffer's change stamp.
#include <gtest/gtest.h>

#include <afxdisp.h>

#include <memory>
#include <string>

#include "CDbRecordBuffer.h"
#include "CDbTable.h"
#include "CTerminRecordBuffer.h"
#include "DataTestKit.h"
#include "PeerProcess.h"
#include "vlDB07.h"

namespace {

using datatest::DataTest;
using datatest::StoredField;

class RecordBufferTest : public DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        ASSERT_TRUE(datatest::CreateTable(Path(), {{"SUBJECT", 'C', 30, 0},
                                                   {"ANZAHL", 'N', 5, 0},
                                                   {"L_USER", 'C', 10, 0},
                                                   {"L_DAT", 'D', 8, 0},
                                                   {"NOTES", 'M', 10, 0}}));
        ASSERT_TRUE(m_table.Open(Path().c_str(), "TERMIN", 0, datatest::kTableOptions));
        for (const char* subject : {"Besprechung", "Zahnarzt", "Geburtstag"}) {
            CDbRecordBuffer row(&m_table);
            ASSERT_EQ(0, row.AttachFields());
            row.SetFieldValue("SUBJECT", subject);
            row.SetFieldValue("ANZAHL", "1");
            ASSERT_EQ(0, row.WriteRecord());
        }
    }

    std::string Path() const { return File("OX4.DBE"); }

    // A second station with the table open.
    std::unique_ptr<writetest::PeerProcess> Peer()
    {
        auto peer = std::make_unique<writetest::PeerProcess>();
        EXPECT_TRUE(peer->Started());
        EXPECT_EQ("1 0", peer->Run("use " + Path()));
        return peer;
    }

    static std::string Value(CDbRecordBuffer& row, const char* field) { return (LPCTSTR)row.FieldValue(field); }

    CDbTable m_table{m_session.get()};
};

TEST_F(RecordBufferTest, ReadLockChangeWriteUnlock)
{
    CDbRecordBuffer row(&m_table);
    ASSERT_EQ(0, row.AttachFields());
    EXPECT_TRUE(row.IsNew());
    ASSERT_EQ(0, row.ReadRecord(2));
    EXPECT_EQ("Zahnarzt", Value(row, "SUBJECT"));
    EXPECT_EQ(2, row.GetRecNo());
    EXPECT_TRUE(row.IsValid());
    EXPECT_FALSE(row.IsNew());
    EXPECT_FALSE(row.IsModified());
    EXPECT_FALSE(row.IsLocked());

    ASSERT_EQ(0, row.LockRecord());
    EXPECT_TRUE(row.IsLocked());
    row.SetFieldValue("SUBJECT", "Zahnarzt Dr. M\xFCller");
    row.SetFieldValue("NOTES", "Kontrolle");
    EXPECT_TRUE(row.IsModified());
    ASSERT_EQ(0, row.WriteRecord());
    EXPECT_FALSE(row.IsModified());
    EXPECT_EQ(2, row.GetRecNo());
    ASSERT_EQ(0, row.UnlockRecord());
    EXPECT_FALSE(row.IsLocked());

    EXPECT_EQ("Zahnarzt Dr. M\x81ller" + std::string(11, ' '), StoredField(Path(), 2, "SUBJECT"));
    EXPECT_EQ("Besprechung" + std::string(19, ' '), StoredField(Path(), 1, "SUBJECT")) << "other rows untouched";
    CDbRecordBuffer again(&m_table);
    again.AttachFields();
    ASSERT_EQ(0, again.ReadRecord(2));
    EXPECT_EQ("Zahnarzt Dr. M\xFCller", Value(again, "SUBJECT"));
    EXPECT_EQ("Kontrolle", Value(again, "NOTES"));
    EXPECT_EQ("1", Value(again, "ANZAHL"));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordBufferTest, RowLockedByAnotherStation)
{
    auto peer = Peer();
    ASSERT_EQ("2 0", peer->Run("goto 2"));
    ASSERT_EQ("1 0", peer->Run("rlock 0"));

    CDbRecordBuffer row(&m_table);
    row.AttachFields();
    EXPECT_EQ(0, row.ReadRecord(2)) << "reading needs no lock";
    EXPECT_EQ(-1, row.LockRecord());
    EXPECT_FALSE(row.IsLocked());

    ASSERT_EQ("1 0", peer->Run("unlock 0"));
    ASSERT_EQ(0, row.LockRecord());
    EXPECT_EQ("0", peer->Run("rlock 0").substr(0, 1)) << "now this station holds it";
    row.SetFieldValue("ANZAHL", "7");
    ASSERT_EQ(0, row.WriteRecord());
    ASSERT_EQ(0, row.UnlockRecord());
    EXPECT_EQ("1 0", peer->Run("rlock 0"));
    EXPECT_EQ("    7", StoredField(Path(), 2, "ANZAHL"));
}

TEST_F(RecordBufferTest, NewRowStaysLockedUntilTheBufferEnds)
{
    auto peer = Peer();
    long recno;
    {
        CDbRecordBuffer row(&m_table);
        row.AttachFields();
        row.SetFieldValue("SUBJECT", "Neu");
        ASSERT_EQ(0, row.WriteRecord());
        recno = row.GetRecNo();
        EXPECT_EQ(4, recno);
        EXPECT_TRUE(row.IsLocked());
        EXPECT_EQ(std::to_string(recno) + " 0", peer->Run("goto " + std::to_string(recno)));
        EXPECT_EQ("0", peer->Run("rlock 0").substr(0, 1)) << "the buffer holds the new row's lock";
    }
    EXPECT_EQ("1 0", peer->Run("rlock 0")) << "the buffer's end released it";
    EXPECT_EQ("Neu" + std::string(27, ' '), StoredField(Path(), 4, "SUBJECT"));
}

TEST_F(RecordBufferTest, ReadingRecordZeroOrEndOfFileClears)
{
    for (long recno : {0L, (long)DB_EOF}) {
        SCOPED_TRACE(recno);
        CDbRecordBuffer row(&m_table);
        row.AttachFields();
        ASSERT_EQ(0, row.ReadRecord(1));
        row.SetFieldValue("ANZAHL", "9");
        EXPECT_EQ(0, row.ReadRecord(recno));
        EXPECT_EQ("", Value(row, "SUBJECT"));
        EXPECT_EQ(0, row.GetRecNo());
        EXPECT_TRUE(row.IsNew());
        EXPECT_FALSE(row.IsValid());
        EXPECT_FALSE(row.IsModified());
    }
}

TEST_F(RecordBufferTest, CopiesNeverHoldTheLockAndClonesAreNewRows)
{
    CDbRecordBuffer row(&m_table);
    row.AttachFields();
    ASSERT_EQ(0, row.ReadRecord(3));
    ASSERT_EQ(0, row.LockRecord());

    CDbRecordBuffer copy(row);
    EXPECT_EQ(3, copy.GetRecNo());
    EXPECT_EQ("Geburtstag", Value(copy, "SUBJECT"));
    EXPECT_FALSE(copy.IsLocked());

    std::unique_ptr<CDbRecordBuffer> clone(row.Clone());
    EXPECT_EQ(0, clone->GetRecNo());
    EXPECT_FALSE(clone->IsLocked());
    EXPECT_EQ("Geburtstag", Value(*clone, "SUBJECT"));
    row.UnlockRecord();

    ASSERT_EQ(0, clone->WriteRecord()) << "a clone appends a new row";
    EXPECT_EQ(4, clone->GetRecNo());
    EXPECT_EQ(4u, m_table.GetRecCount());
    EXPECT_EQ("Geburtstag" + std::string(20, ' '), StoredField(Path(), 4, "SUBJECT"));
    CString text;
    clone->Describe(text);
    EXPECT_STREQ("RECNO 4", text);
}

TEST_F(RecordBufferTest, FieldCharsPadWithBlanks)
{
    CDbRecordBuffer row(&m_table);
    row.AttachFields();
    ASSERT_EQ(0, row.ReadRecord(1));
    EXPECT_EQ('e', row.GetFieldChar("SUBJECT", 2));
    EXPECT_EQ(' ', row.GetFieldChar("SUBJECT", 40)) << "beyond the value: a blank (the table answers 0)";
    EXPECT_EQ(' ', row.GetFieldChar("FEHLT", 1));
    EXPECT_EQ(0, row.SetFieldChars("FEHLT", 1, 'x'));
    EXPECT_FALSE(row.IsModified());
    row.SetFieldValue("L_USER", "1");
    EXPECT_NE(0, row.SetFieldChars("L_USER", 5, 'X'));
    EXPECT_EQ("1   X", Value(row, "L_USER")) << "padded with blanks (the table pads with '0')";
    EXPECT_TRUE(row.IsModified());
    row.SetFieldValue("FEHLT", "x");
    EXPECT_EQ("", Value(row, "FEHLT"));
}

TEST_F(RecordBufferTest, MaskedReadTakesTheTablesCache)
{
    m_table.GetFieldMap()[1].m_wFlags = 0x2000; // ANZAHL
    CDbRecordBuffer row(&m_table);
    ASSERT_EQ(0, row.AttachFields());
    ASSERT_EQ(0, row.ReadRecord(1));
    m_table.GoTo(3);
    m_table.SetFieldValue("ANZAHL", "5"); // the cache only, nothing written
    CDbRecordBuffer masked(&m_table);
    masked.AttachFields();
    ASSERT_EQ(0, masked.ReadRecordFields(2, 0x2000));
    EXPECT_EQ(2, masked.GetRecNo());
    EXPECT_EQ("1", Value(masked, "ANZAHL")) << "the masked field is read";
    EXPECT_EQ("Besprechung", Value(masked, "SUBJECT")) << "the others are the table's cached values";
}

TEST_F(RecordBufferTest, AttachFieldsBuildsItsOwnMapWhenTheTableHasNone)
{
    CDbRecordBuffer none(NULL);
    EXPECT_EQ(-1, none.AttachFields());
    m_table.GetFieldMap().RemoveAll();
    CDbRecordBuffer row(&m_table);
    ASSERT_EQ(0, row.AttachFields());
    EXPECT_EQ(5, row.GetFieldMap().GetCount());
    EXPECT_EQ('M', row.GetFieldMap()[4].m_chType);
}

TEST_F(RecordBufferTest, ChangeStampOfTheScheduleBuffer)
{
    CTerminRecordBuffer row(&m_table);
    row.AttachFields();
    ASSERT_EQ(0, row.ReadRecord(1));
    row.StampChange("MEIER");
    EXPECT_TRUE(row.IsModified());
    EXPECT_EQ("MEIER", Value(row, "L_USER"));
    const std::string today = (LPCTSTR)COleDateTime::GetCurrentTime().Format("%d.%m.%Y");
    EXPECT_EQ(today, Value(row, "L_DAT"));
    ASSERT_EQ(0, row.LockRecord());
    ASSERT_EQ(0, row.WriteRecord());
    row.UnlockRecord();
    EXPECT_EQ(today.substr(6, 4) + today.substr(3, 2) + today.substr(0, 2), StoredField(Path(), 1, "L_DAT"));
}

} // namespace
