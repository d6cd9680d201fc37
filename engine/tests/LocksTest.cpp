// Record, file, header, index and memo locks against a second station (another process on the
// same table), the waiting scheme with its abort dialog, and the lock exports' answers without a
// table. Wine does not enforce byte-range locks on reads and writes, so the locks are tested
// through the answers of the lock requests of both stations.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "Area.h"
#include "CtlLog.h"
#include "Job.h"
#include "WriteCommands.h"
#include "WriteTestKit.h"

using namespace writetest;

namespace {

const std::string kEofAnswer = "2147483647 0";

s_Area& Current() { return *g_Job->currentArea; }

} // namespace

TEST_F(SharedTable, RecordLocks)
{
    Play({
        {'P', "goto 5", "5 0"},    {'P', "rlock 0", "1 0"},
        {'T', "goto 5", "5 0"},    {'T', "rlock 0", "0 21"},  // one attempt: refused at once
        {'T', "goto 4", "4 0"},    {'T', "rlock 0", "1 0"},   // another record's byte
        {'P', "goto 4", "4 0"},    {'P', "rlock 0", "0 21"},  // this request gave record 5 up first
        {'T', "goto 5", "5 0"},    {'T', "rlock 0", "1 0"},   // and this one releases record 4
        {'P', "rlock 0", "1 0"},
        {'T', "unlock 0", "1 0"},
        {'P', "goto 5", "5 0"},    {'P', "rlock 0", "1 0"},
        {'T', "goto 99", kEofAnswer}, {'T', "rlock 0", "1 0"}, // the end-of-file position locks nothing
    });
    EXPECT_EQ(0u, Current().lockBits);
}

TEST_F(SharedTable, NestedRecordLocks)
{
    Play({
        {'T', "goto 3", "3 0"},     {'T', "rlock 0", "1 0"}, {'T', "rlock 0", "1 0"},
        {'P', "goto 3", "3 0"},     {'P', "rlock 0", "0 21"},
        {'T', "unlock 0", "1 0"},   // two requests, one byte range: one release frees it
        {'P', "rlock 0", "1 0"},    {'P', "unlock 0", "1 0"},
        {'T', "rlock 0", "1 0"},    {'T', "replace Neu", "1 0"}, // db_write adds and drops the engine's bit
        {'P', "rlock 0", "0 21"},   // the caller's lock outlives db_write
        {'T', "unlock 0", "1 0"},   {'P', "rlock 0", "1 0"},
    });
}

TEST_F(SharedTable, HeaderLockOrdersAppends)
{
    ShortWaits();
    Play({
        {'P', "header", "1 0"},
        {'T', "append Neu", "0 21"},                       // db_insert waits for the header lock
        {'T', "goto 2", "2 0"},     {'T', "rlock 0", "1 0"}, // records have bytes of their own
        {'T', "unlock 0", "1 0"},
        {'P', "unheader", "1 0"},
        {'T', "append Neu", "11 0"}, {'P', "append Peer", "12 0"}, {'T', "append Neu", "13 0"},
    });
}

TEST_F(SharedTable, FileLock)
{
    Play({
        {'T', "goto 3", "3 0"},   {'T', "rlock 0", "1 0"},
        {'P', "flock 0", "0 21"},  // the file range covers the record locked here
        {'T', "unlock 0", "1 0"},
        {'P', "flock 0", "1 0"},
        {'T', "rlock 0", "0 21"}, {'T', "flock 0", "0 21"}, {'T', "header", "0 21"},
        {'T', "ilock 0", "0 21"},  // db_flock locked the open indexes as well
        {'P', "header", "1 0"},   {'P', "goto 7", "7 0"}, {'P', "rlock 0", "1 0"}, // inside its own file lock
        {'P', "unlock 0", "1 0"},
        {'T', "flock 0", "1 0"},  {'T', "header", "1 0"}, {'T', "rlock 0", "1 0"},
    });
    // Header and record requests inside the file lock take no byte range and no bit of their own.
    EXPECT_EQ((unsigned)DB_LOCK_CALLER_FILE, Current().lockBits);
    EXPECT_EQ(2, Current().indexLockWord);
    Play({{'T', "unlock 0", "1 0"}, {'P', "rlock 0", "1 0"}});
    EXPECT_EQ(0u, Current().lockBits);
    EXPECT_EQ(0, Current().indexLockWord);
}

TEST_F(SharedTable, IndexLocksAndTheChangeCounter)
{
    Play({
        {'P', "ilock 0", "1 0"},    {'T', "ilock 0", "0 21"},
        {'P', "ilock 0", "1 0"},    {'P', "iunlock 0", "1 0"}, // nested: still held once
        {'T', "ilock 0", "0 21"},
        {'P', "iunlock 0", "1 0"},  {'T', "ilock 0", "1 0"},
        {'T', "changes", "1 0"},    // the first lock found the file's counter (5) new
        {'T', "ichange 0", "1 0"},  {'T', "iunlock 0", "1 0"}, // writes the header with counter 6
        {'P', "ilock 0", "1 0"},    {'P', "changes", "2 0"},   // the peer sees the index changed
        {'P', "iunlock 0", "1 0"},
        {'T', "ilock 0", "1 0"},    {'T', "changes", "1 0"},   // its own change is no news here
        {'T', "iunlock 0", "1 0"},
    });
    const std::string header = oxtest::ReadFileText(m_index);
    EXPECT_EQ(6u, tabletest::Get16(header, 2));
    EXPECT_EQ(0, Current().indexes[0].lockCount);
}

TEST_F(SharedTable, FileLockHoldsTheIndexes)
{
    Play({
        {'T', "flock 0", "1 0"},    {'P', "ilock 0", "0 21"},
        {'T', "ilock 0", "1 0"},    {'T', "iunlock 0", "1 0"}, // index operations nest inside
        {'P', "ilock 0", "0 21"},   // the byte stays locked until the file lock goes
        {'T', "unlock 0", "1 0"},   {'P', "ilock 0", "1 0"},
    });
    EXPECT_EQ(0, Current().indexes[0].lockCount);
}

TEST_F(SharedTable, CloseReleasesEveryLock)
{
    Play({
        {'T', "goto 2", "2 0"},  {'T', "rlock 0", "1 0"}, {'T', "header", "1 0"}, {'T', "ilock 0", "1 0"},
        {'T', "close", "1 0"},
        {'P', "goto 2", "2 0"},  {'P', "rlock 0", "1 0"}, {'P', "header", "1 0"}, {'P', "ilock 0", "1 0"},
        {'P', "unlock 0", "1 0"}, {'P', "flock 0", "1 0"},
    });
}

TEST_F(SharedTable, MemoLocks)
{
    ShortWaits();
    Play({
        {'T', "goto 2", "2 0"},        {'T', "rlock 0", "1 0"},
        {'P', "memolock", "1 0"},
        {'T', "memo Gesperrt", "0 21"}, // a memo write waits for the whole memo file
    });
    EXPECT_EQ("          ", tabletest::Contents("NOTE")) << "nothing was stored";
    Play({
        {'P', "memounlock", "1 0"},
        {'T', "memo Frei", "1 0"},     {'P', "memolock", "1 0"},
    });
    char text[32] = "x";
    EXPECT_FALSE(db_memo_read_buffer("NOTE", text, sizeof text)) << "a memo read waits for its first block";
    EXPECT_EQ((unsigned)DBE_LOCK, m_error);
    Play({{'P', "memounlock", "1 0"}});
    EXPECT_TRUE(db_memo_read_buffer("NOTE", text, sizeof text));
    EXPECT_STREQ("Frei", text);
}

TEST_F(SharedTable, FiletimeSeesAnotherStationsWrite)
{
    // A known last-write time: 2 January 2020, 10:20:30 (UTC, no conversion to local time).
    SYSTEMTIME known{2020, 1, 4, 2, 10, 20, 30, 0};
    FILETIME time;
    SystemTimeToFileTime(&known, &time);
    ASSERT_TRUE(SetFileTime(Current().file, nullptr, nullptr, &time));
    const unsigned dos = ((unsigned)((2020 - 1980) << 9 | 1 << 5 | 2) << 16) | (10 << 11 | 20 << 5 | 15);
    EXPECT_EQ(dos, db_filetime());
    Play({{'P', "append Peer", "11 0"}});
    EXPECT_NE(dos, db_filetime());
}

TEST_F(SharedTable, FakeLockUsesTheBufferButAllowsNoChange)
{
    db_goto(4);
    EXPECT_TRUE(db_fake_rlock());
    EXPECT_EQ((unsigned)DB_LOCK_FAKE, Current().lockBits);
    EXPECT_EQ("Row 4     ", tabletest::Contents("NAME"));
    Play({{'P', "goto 4", "4 0"}, {'P', "rlock 0", "1 0"}, {'P', "replace Anders", "1 0"}, {'P', "unlock 0", "1 0"}});
    EXPECT_EQ("Row 4     ", tabletest::Contents("NAME")) << "field reads take the buffer";
    EXPECT_FALSE(db_replace("NAME", "X"));
    EXPECT_EQ((unsigned)DBE_UNLOCKED, m_error);
    EXPECT_TRUE(db_unlock(0));
    EXPECT_EQ(0u, Current().lockBits);
    EXPECT_EQ("Anders    ", tabletest::Contents("NAME")) << "without locks the record is read again";
}

// ---- the waiting scheme -------------------------------------------------------------------------

namespace {

// A clock that the waiting scheme drives itself: every pause moves it on.
DWORD s_now = 0;
int s_pauses = 0;
std::function<void(int)> s_onPause;

DWORD FakeTicks() { return s_now; }
void FakePause(DWORD ms)
{
    s_now += ms;
    ++s_pauses;
    if (s_onPause)
        s_onPause(s_pauses);
}

// The remaining seconds in a text of the wait dialog.
int Seconds(const std::string& text)
{
    const size_t at = text.find("(in ");
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + 4);
}

class LockWait : public SharedTable {
protected:
    void SetUp() override
    {
        SharedTable::SetUp();
        // The default times on a clock that starts 20 seconds before the tick counter wraps: a
        // deadline computed as start + 300 s would lie before the start.
        s_LockClock clock;
        clock.ticks = FakeTicks;
        clock.sleep = FakePause;
        _db_set_lock_clock(&clock);
        s_now = 0xFFFFFFFFu - 20000;
        s_pauses = 0;
        s_onPause = nullptr;
        Play({{'P', "goto 5", "5 0"}, {'P', "rlock 0", "1 0"}, {'T', "goto 5", "5 0"}});
    }
    void TearDown() override
    {
        s_onPause = nullptr;
        SharedTable::TearDown();
    }
};

const char kCaption[] = "engine_write_test: Datensatz ist gesperrt";
const char kText284[] = "Warte auf Freigabe des Datensatzes oder der Datenbank. Bitte haben Sie etwas Geduld\\n"
                        "(in 284 Sekunden wird automatisch abgebrochen)";

} // namespace

TEST_F(LockWait, GivesUpAfter300SecondsWithTheDialogCountingDown)
{
    oxtest::CtlLog log;
    EXPECT_FALSE(db_rlock(1));
    EXPECT_EQ((unsigned)DBE_LOCK, m_error);
    EXPECT_EQ(3000, s_pauses) << "300 seconds in pauses of 100 ms, across the counter's wrap";

    const auto starts = log.Records("AbortDlgStart");
    ASSERT_EQ(1u, starts.size());
    ASSERT_EQ(5u, starts[0].size());
    EXPECT_EQ(kCaption, starts[0][1]);
    EXPECT_EQ(kText284, starts[0][2]) << "shown once 15 seconds have passed";
    EXPECT_EQ("5", starts[0][3]);
    const auto texts = log.Records("AbortDlgSetText");
    ASSERT_GE(texts.size(), 250u) << "about one new text a second";
    int last = Seconds(starts[0][2]);
    for (const auto& t : texts) {
        ASSERT_EQ(4u, t.size());
        EXPECT_EQ(starts[0][4], t[1]);
        EXPECT_LT(Seconds(t[2]), last) << t[2];
        EXPECT_GE(Seconds(t[2]), last - 2) << t[2];
        last = Seconds(t[2]);
    }
    EXPECT_LE(last, 1);
    const auto ends = log.Records("AbortDlgEnd");
    ASSERT_EQ(1u, ends.size());
    EXPECT_EQ((oxtest::CtlLog::Record{"AbortDlgEnd", starts[0][4], "0"}), ends[0]);
}

TEST_F(LockWait, EndsWhenTheUserAborts)
{
    oxtest::CtlLog log;
    log.SetAbortAfter(3);
    EXPECT_FALSE(db_rlock(1));
    EXPECT_EQ((unsigned)DBE_LOCK, m_error);
    EXPECT_EQ(155, s_pauses) << "the dialog starts after 15.1 s and is asked three times";
    ASSERT_EQ(1u, log.Records("AbortDlgCheckAbort").size());
    EXPECT_EQ(1u, log.Records("AbortDlgEnd").size());
}

TEST_F(LockWait, SucceedsOnceTheOtherStationLetsGo)
{
    oxtest::CtlLog log;
    s_onPause = [this](int pause) {
        if (pause == 50) {
            EXPECT_EQ("1 0", m_peer->Run("unlock 0"));
        }
    };
    EXPECT_TRUE(db_rlock(1));
    EXPECT_EQ(0u, m_error);
    EXPECT_EQ(50, s_pauses);
    EXPECT_TRUE(log.Records().empty()) << "no dialog within the first 15 seconds";
    Play({{'P', "rlock 0", "0 21"}});
}

// ---- the exports without a table ----------------------------------------------------------------

TEST_F(SharedTable, ExportsOnAClosedOrMissingTable)
{
    ASSERT_TRUE(db_files_close());
    ASSERT_EQ(INVALID_HANDLE_VALUE, Current().file);
    const struct {
        const char* what;
        std::function<BOOL()> call;
    } closed[] = {
        {"db_rlock", [] { return db_rlock(0); }},
        {"db_fake_rlock", [] { return db_fake_rlock(); }},
        {"db_flock", [] { return db_flock(0); }},
        {"db_unlock 0", [] { return db_unlock(0); }},
        {"db_unlock 1", [] { return db_unlock(1); }},
    };
    for (const auto& c : closed) {
        m_error = 0;
        EXPECT_EQ(FALSE, c.call()) << c.what << " on a closed table file";
        EXPECT_EQ((unsigned)DBE_FILES_CLOSED, m_error) << c.what;
    }
    db_close(0);
    m_error = 0;
    EXPECT_EQ(TRUE, db_unlock(1)) << "no table open anywhere";
    EXPECT_EQ(FALSE, db_rlock(0)) << "no table in the current area";
    EXPECT_EQ(FALSE, db_flock(0));
    EXPECT_EQ(0u, m_error);
}

TEST_F(SharedTable, ExclusiveAreaDoesNotLock)
{
    db_close(3);
    ASSERT_TRUE(db_use(m_table.c_str(), 0x01, nullptr, 0) == FALSE) << "the peer has the table open";
    Play({{'P', "close", "1 0"}});
    ASSERT_TRUE(db_use(m_table.c_str(), 0x01, nullptr, 0));
    db_goto(3);
    EXPECT_TRUE(db_rlock(0));
    EXPECT_TRUE(db_flock(0));
    EXPECT_EQ((unsigned)DB_LOCK_EXCLUSIVE, Current().lockBits) << "every request succeeds without a lock";
    EXPECT_TRUE(db_unlock(0));
}
