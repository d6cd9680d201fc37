// Record navigation: db_skip and db_goto in natural order or in the order of the controlling
// index, with the visibility of records (filter procedure, filter expression, deleted setting).
//
// Position state of an area: the record number (1-based; DB_EOF_RECNO is the end-of-file
// position, where the buffer holds the blank template), the BOF and EOF flags, and the buffer's
// valid flag, which every skip and goto clears so that a record is read only when one of its
// fields is used.
#include "Navigation.h"

#include <windows.h>

#include <climits>
#include <cstring>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "EngineHooks.h"
#include "FieldAccess.h"
#include "TableFile.h"
#include "WorkAreas.h"

namespace {

// Index traversals of shared tables give the index lock up for a moment this often.
const DWORD kIndexLockHoldMs = 2500;
const DWORD kIndexLockPauseMs = 100;
const size_t kKeyBufferSize = 331;

bool ErrorRaised(const s_Area& area) { return area.job->currentError != 0; }

void Report(const s_Area& area, int32_t position, int direction)
{
    if (area.job->positionCallback)
        area.job->positionCallback(area.index + 1, position, direction);
}

bool Filtering(const s_Area& area)
{
    return area.job->deleted || area.filterProc || area.filterExpression;
}

// The controlling slot when index order is in force and the index module is present, else -1.
int IndexSlot(const s_Area& area)
{
    const s_EngineHooks& h = g_EngineHooks;
    if (area.order < 0 || area.order >= DB_INDEX_SLOTS || !area.indexes[area.order].name[0])
        return -1;
    if (!h.firstKey || !h.lastKey || !h.stepKeys || !h.currentKey)
        return -1;
    return area.order;
}

// The index lock of a shared table's controlling slot for one traversal, given up for a moment
// every 2.5 seconds so that other processes can update the index.
class IndexTraversalLock {
public:
    IndexTraversalLock(s_Area& area, int slot) : m_area(area), m_slot(slot) {}
    ~IndexTraversalLock() { Release(); }
    bool Take()
    {
        if (m_slot < 0 || m_area.exclusive || !g_EngineHooks.lockIndex)
            return true;
        if (!g_EngineHooks.lockIndex(m_area, m_slot))
            return false;
        m_held = true;
        m_start = GetTickCount();
        return true;
    }
    // Gives the lock up for 100 ms when it was held for 2.5 seconds; FALSE when it is lost.
    bool Breathe()
    {
        if (!m_held || GetTickCount() - m_start < kIndexLockHoldMs)
            return true;
        Release();
        Sleep(kIndexLockPauseMs);
        return Take();
    }
    void Release()
    {
        if (m_held && g_EngineHooks.unlockIndex)
            g_EngineHooks.unlockIndex(m_area, m_slot);
        m_held = false;
    }

private:
    s_Area& m_area;
    int m_slot;
    bool m_held = false;
    DWORD m_start = 0;
};

bool CurrentKeyRecord(s_Area& area, int slot)
{
    int32_t recno = 0;
    const char* key = nullptr;
    unsigned length = 0;
    if (!g_EngineHooks.currentKey(area, slot, &recno, &key, &length))
        return false;
    return _db_index_record(area, recno);
}

int32_t IndexTop(s_Area& area, int slot)
{
    IndexTraversalLock lock(area, slot);
    if (!lock.Take())
        return 0;
    g_EngineHooks.firstKey(area, slot);
    while (!ErrorRaised(area)) {
        if (!CurrentKeyRecord(area, slot))
            return 0;
        if (_db_visible(area) != 0 || area.stopFlag)
            break;
        if (!lock.Breathe())
            return 0;
        if (g_EngineHooks.stepKeys(area, slot, 1) != 1) {
            area.eof = 1;
            _db_set_eof_position(area);
            break;
        }
    }
    return area.recno;
}

int32_t IndexBottom(s_Area& area, int slot)
{
    IndexTraversalLock lock(area, slot);
    if (!lock.Take())
        return 0;
    g_EngineHooks.lastKey(area, slot);
    while (!ErrorRaised(area)) {
        if (!CurrentKeyRecord(area, slot)) {
            if (!ErrorRaised(area))
                _db_raise_error(DBE_INDEX_BAD);
            return 0;
        }
        if (_db_visible(area) != 0 || area.stopFlag)
            break;
        if (!lock.Breathe())
            return 0;
        if (g_EngineHooks.stepKeys(area, slot, -1) != -1) {
            area.bof = area.eof = 1;
            _db_set_eof_position(area);
            break;
        }
    }
    return area.recno;
}

int32_t SkipNatural(s_Area& area, long n)
{
    const int32_t count = area.recordCount;
    if (count <= 0) {
        area.recordCount = 0;
        area.bof = area.eof = 1;
        _db_set_eof_position(area);
        return DB_EOF_RECNO;
    }
    if (area.recno == DB_EOF_RECNO && n >= 0) {
        area.eof = 1;
        return DB_EOF_RECNO;
    }
    if (n == 0)
        return area.recno;

    if (!Filtering(area)) {
        area.bof = area.eof = 0;
        const int64_t from = area.recno == DB_EOF_RECNO ? (int64_t)count + 1 : area.recno;
        int64_t target = from + n;
        if (target < 1) {
            target = 1;
            area.bof = 1;
        }
        if (target > count) {
            target = DB_EOF_RECNO;
            area.eof = 1;
        }
        area.recno = (int32_t)target;
        area.bufferValid = 0;
        Report(area, area.recno, n > 0 ? 1 : -1);
    } else if (n > 0) {
        const int32_t start = area.recno;
        area.eof = 0;
        for (long i = 0; i < n && !ErrorRaised(area);) {
            Report(area, (int32_t)i, 1);
            if (++area.recno > count) {
                Report(area, (int32_t)i, 1);
                area.recno = DB_EOF_RECNO;
                area.eof = 1;
                break;
            }
            const int visible = _db_visible(area);
            if (visible < 0)
                return 0;
            if (visible)
                ++i;
            if (area.stopFlag)
                break;
        }
        if (area.recno != start)
            area.bof = 0;
    } else {
        const int32_t start = area.recno;
        area.bof = 0;
        if (area.recno == 1) {
            area.bof = 1;
            return 1;
        }
        int32_t lastVisible = area.recno;
        for (long i = 0; i > n && !ErrorRaised(area);) {
            if (area.recno == DB_EOF_RECNO)
                area.recno = count + 1;
            Report(area, (int32_t)i, -1);
            if (--area.recno < 1) {
                area.bof = 1;
                area.recno = lastVisible;
                Report(area, (int32_t)i, -1);
                if (_db_visible(area) != 1)
                    _db_go_top(area);
                break;
            }
            const int visible = _db_visible(area);
            if (visible < 0)
                return 0;
            if (visible) {
                lastVisible = area.recno;
                --i;
            }
            if (area.stopFlag)
                break;
        }
        if (area.recno != start)
            area.eof = 0;
    }
    if (area.recno == DB_EOF_RECNO)
        _db_blank_buffer(area);
    return area.recno;
}

int32_t SkipIndex(s_Area& area, int slot, long n)
{
    if (n == 0)
        return 1;
    if (area.eof) {
        if (n >= 0) {
            db_blank();
            return 0;
        }
        area.eof = 0;
        const int32_t bottom = _db_go_bottom(area);
        if (bottom == 0)
            return 0;
        if (++n == 0)
            return bottom;
    }
    IndexTraversalLock lock(area, slot);
    if (!lock.Take())
        return 0;
    area.bof = area.eof = 0;
    area.bufferValid = 0;
    const int direction = n > 0 ? 1 : -1;
    long moved = 0;
    bool reached;
    if (!Filtering(area)) {
        moved = g_EngineHooks.stepKeys(area, slot, n);
        reached = moved == n;
    } else {
        long toGo = n > 0 ? n : -n;
        bool stopped = false;
        while (toGo > 0 && !ErrorRaised(area)) {
            if (g_EngineHooks.stepKeys(area, slot, direction) != direction)
                break;
            moved += direction;
            if (!CurrentKeyRecord(area, slot))
                return 0;
            const int visible = _db_visible(area);
            if (visible < 0)
                return 0;
            if (visible)
                --toGo;
            if (area.stopFlag) {
                stopped = true;
                break;
            }
            if (!lock.Breathe())
                return 0;
        }
        // The stop flag ends the skip at the record reached.
        reached = toGo == 0 || stopped;
    }
    lock.Release();

    if (reached) {
        if (!CurrentKeyRecord(area, slot))
            return 0;
        Report(area, area.recno, direction);
        if (area.bufferValid && !_db_read_record(area, area.recno))
            return 0;
        return area.recno;
    }
    if (moved != 0 && (moved > 0) != (n > 0))
        return 0;
    if (n > 0) {
        area.eof = 1;
        _db_set_eof_position(area);
        if (moved != 0)
            Report(area, DB_EOF_RECNO, 1);
        return DB_EOF_RECNO;
    }
    _db_go_top(area);
    area.bof = 1;
    Report(area, area.recno, -1);
    if (area.bufferValid && !_db_read_record(area, area.recno))
        return 0;
    return area.recno;
}

} // namespace

void _db_follow_relations(s_Job* job, s_Area& area)
{
    if (area.relations && g_EngineHooks.repositionRelations) {
        g_EngineHooks.repositionRelations(area);
        _db_select_number(job, area.index + 1);
    }
}

bool _db_refresh_count(s_Area& area)
{
    if (area.file == INVALID_HANDLE_VALUE) {
        _db_raise_error(DBE_FILES_CLOSED);
        return false;
    }
    // An exclusive table's count changes only through this area, and no other station can append
    // to a shared table while this area holds its file lock: once known it is not read again.
    if ((area.exclusive || (area.lockBits & (DB_LOCK_FILE | DB_LOCK_CALLER_FILE))) && area.recordCount >= 0)
        return true;
    int64_t count;
    if (area.packed && g_EngineHooks.packedSize)
        count = (g_EngineHooks.packedSize(area) - area.headerLength) / area.recordLength;
    else if (area.countSource == 1) {
        uint8_t bytes[4];
        if (_db_read_at(area, bytes, dbf::kRecordCount, sizeof bytes) != sizeof bytes) {
            _db_raise_error(DBE_READ);
            return false;
        }
        count = dbf::Get32(bytes);
        // A shared table's header damaged after the table was opened: only the records that are
        // there count, so that every walk ends. The file is measured again only when the count
        // grew beyond what it held last time (an exclusive table's header was checked when it
        // was opened and changes only through this area).
        if (!area.exclusive && count > area.recordsHeld) {
            area.recordsHeld = _db_records_held(area);
            if (area.recordsHeld >= 0 && count > area.recordsHeld)
                count = area.recordsHeld;
        }
    } else {
        LARGE_INTEGER size{};
        GetFileSizeEx(area.file, &size);
        count = size.QuadPart > INT32_MAX ? -1 : (size.QuadPart - area.headerLength) / area.recordLength;
        if (count < -1)
            count = 0;
    }
    area.recordCount = count > INT32_MAX ? -1 : (int32_t)count;
    _db_note_count(area);
    return true;
}

bool _db_read_record(s_Area& area, int32_t n)
{
    if (n <= 0) {
        _db_blank_buffer(area);
        return true;
    }
    // The record is read once after each positioning and lock (they mark the buffer unread);
    // reads in between use the buffer, whatever other stations wrote meanwhile.
    if (area.bufferValid && area.bufferRecno == n)
        return true;
    // The count is taken again only for a record beyond the one known: records are never taken
    // away from a table that other stations share.
    if ((area.recordCount < 0 || n > area.recordCount) && !_db_refresh_count(area))
        return false;
    if (n > area.recordCount) {
        _db_set_eof_position(area);
        area.eof = 1;
        return true;
    }
    if (area.file == INVALID_HANDLE_VALUE && !area.packed) {
        _db_raise_error(DBE_FILES_CLOSED);
        return false;
    }
    const DWORD read = _db_read_records(area, area.record.get(), n, (DWORD)area.recordLength);
    area.bufferRecno = n;
    area.changed = 0;
    area.beforeImageValid = 0;
    area.deleted = read > 0 && area.record[0] != ' ' && area.record[0] != 0;
    area.bufferValid = read == (DWORD)area.recordLength;
    if (!area.bufferValid) {
        _db_raise_error(DBE_READ_RECORD);
        return false;
    }
    return true;
}

int _db_visible(s_Area& area)
{
    if (area.filterProc && area.filterProc() == 0)
        return 0;
    if (area.filterExpression && area.indexFilter && g_EngineHooks.evaluateCondition) {
        const int result = g_EngineHooks.evaluateCondition(area, area.filterExpression);
        if (result <= 0)
            return result;
    }
    if (area.job->deleted) {
        if (!_db_read_record(area, area.recno))
            return -1;
        if (area.recno != DB_EOF_RECNO && area.deleted)
            return 0;
    }
    if (area.filterExpression && !area.indexFilter && g_EngineHooks.evaluateCondition) {
        const int result = g_EngineHooks.evaluateCondition(area, area.filterExpression);
        if (result <= 0)
            return result;
    }
    return 1;
}

int32_t _db_go_top(s_Area& area)
{
    if (!_db_refresh_count(area))
        return 0;
    if (area.recordCount <= 0) {
        area.recno = DB_EOF_RECNO;
        return DB_EOF_RECNO;
    }
    area.bof = area.eof = 0;
    const int slot = IndexSlot(area);
    if (slot >= 0)
        return IndexTop(area, slot);
    area.recno = 1;
    while (area.recno <= area.recordCount && !ErrorRaised(area)) {
        if (_db_visible(area) != 0 || area.stopFlag)
            break;
        ++area.recno;
    }
    if (area.recno > area.recordCount) {
        area.eof = 1;
        _db_set_eof_position(area);
    }
    return area.recno;
}

int32_t _db_go_bottom(s_Area& area)
{
    if (!_db_refresh_count(area))
        return 0;
    if (area.recordCount <= 0) {
        area.bof = area.eof = 1;
        area.recno = DB_EOF_RECNO;
        return DB_EOF_RECNO;
    }
    area.bof = area.eof = 0;
    const int slot = IndexSlot(area);
    if (slot >= 0)
        return IndexBottom(area, slot);
    area.recno = area.recordCount;
    while (area.recno >= 1 && !ErrorRaised(area)) {
        if (_db_visible(area) != 0 || area.stopFlag)
            break;
        --area.recno;
    }
    if (area.recno < 1) {
        area.bof = area.eof = 1;
        _db_set_eof_position(area);
    }
    return area.recno;
}

bool _db_index_record(s_Area& area, int32_t recno)
{
    if (recno >= 1 && recno != DB_EOF_RECNO) {
        // Another station may have appended the record since the count was taken.
        if ((area.recordCount < 0 || recno > area.recordCount) && !_db_refresh_count(area))
            return false;
        if (recno <= area.recordCount) {
            area.recno = recno;
            return true;
        }
    }
    _db_raise_error(DBE_INDEX_READ);
    return false;
}

void _db_set_eof_position(s_Area& area)
{
    area.recno = DB_EOF_RECNO;
    _db_blank_buffer(area);
}

void _db_resync_index(s_Area& area)
{
    const int slot = IndexSlot(area);
    if (slot < 0 || area.recno == DB_EOF_RECNO || !g_EngineHooks.evaluateKey || !g_EngineHooks.seekKey)
        return;
    if (!_db_read_record(area, area.recno))
        return;
    // Field reads of the key expression take the buffer as it is.
    const unsigned locks = area.lockBits;
    area.lockBits |= DB_LOCK_FAKE;
    char key[kKeyBufferSize] = {};
    const bool evaluated = g_EngineHooks.evaluateKey(area, slot, key);
    area.lockBits = locks;
    if (!evaluated)
        return;
    IndexTraversalLock lock(area, slot);
    if (!lock.Take())
        return;
    g_EngineHooks.seekKey(area, slot, key, area.recno);
}

extern "C" long DB_CALL db_skip(long n)
{
    DbFrame<long, RF_UINT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbSkip(%ld)", n);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(0);
    area->stopFlag = 0;
    if (!_db_refresh_count(*area))
        return f(0);
    area->bufferValid = 0;
    const int slot = IndexSlot(*area);
    const int32_t result = slot >= 0 ? SkipIndex(*area, slot, n) : SkipNatural(*area, n);
    if (result != 0)
        _db_follow_relations(job, *area);
    return f(result);
}

extern "C" long DB_CALL db_goto(long recno)
{
    DbFrame<long, RF_UINT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbGoto(%ld)", recno);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(0);
    area->stopFlag = 0;
    if (!_db_refresh_count(*area))
        return f(0);
    if (recno == area->recno)
        return f(recno);
    area->bof = area->eof = 0;
    area->bufferValid = 0;

    int32_t reached;
    if (recno == 0 || recno == -1) {
        reached = recno == 0 ? _db_go_top(*area) : _db_go_bottom(*area);
        if (reached == 0 || ErrorRaised(*area)) {
            // A failed move (an error raised on the way included) leaves the area on record 1
            // with a blank buffer.
            area->recno = 1;
            _db_blank_buffer(*area);
            return f(0);
        }
        if (recno == 0) {
            if (reached > area->recordCount || area->recordCount <= 0) {
                area->bof = area->eof = 1;
                _db_set_eof_position(*area);
            }
        } else if (reached == DB_EOF_RECNO) {
            area->bof = area->eof = 1;
        } else
            area->eof = 0;
    } else {
        if (recno > area->recordCount) {
            area->eof = 1;
            _db_set_eof_position(*area);
            return f(DB_EOF_RECNO);
        }
        int32_t target = (int32_t)recno;
        if (target < 1) {
            target = 1;
            area->bof = 1;
        }
        if (!_db_read_record(*area, target))
            return f(0);
        if (area->recno != DB_EOF_RECNO || target <= area->recordCount)
            area->recno = target;
        _db_resync_index(*area);
    }
    Report(*area, area->recno, 1);
    _db_follow_relations(job, *area);
    return f(area->recno);
}

extern "C" long DB_CALL db_read_rows(long max, long* recnos, char* rows, unsigned rowSize)
{
    DbFrame<long, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbReadRows(%ld,0x%08lx,0x%08lx,%u)", max,
                            TraceBuf{recnos}, TraceBuf{rows}, rowSize);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(-1);
    if (max < 0 || (max > 0 && (!recnos || !rows || rowSize < (unsigned)area->recordLength))) {
        _db_raise_error(DBE_BUFFER);
        return f(-1);
    }
    area->stopFlag = 0;
    if (!_db_refresh_count(*area))
        return f(-1);
    // One index lock for the whole run: the skips below only nest in it, so the index header is
    // read, and the lock taken and given up, once per call instead of once per row.
    const int slot = IndexSlot(*area);
    IndexTraversalLock lock(*area, slot);
    if (!lock.Take())
        return f(-1);
    long n = 0;
    while (n < max && area->recno != DB_EOF_RECNO && !area->eof) {
        if (!_db_read_record(*area, area->recno))
            return f(-1);
        // A record beyond the count (a damaged index) ends the run at the end of the table.
        if (area->recno == DB_EOF_RECNO)
            break;
        recnos[n] = area->recno;
        std::memcpy(rows + (size_t)n * rowSize, area->record.get(), (size_t)area->recordLength);
        ++n;
        area->bufferValid = 0;
        const int32_t reached = slot >= 0 ? SkipIndex(*area, slot, 1) : SkipNatural(*area, 1);
        if (reached == 0 || ErrorRaised(*area))
            return f(-1);
        if (!lock.Breathe())
            return f(-1);
        if (area->stopFlag)
            break;
    }
    lock.Release();
    _db_follow_relations(job, *area);
    return f(n);
}
