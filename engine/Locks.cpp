// Record, file and index locks: the lock bits of a work area, the waiting scheme with its abort
// dialog, the nested index locks with their change counter, and the exports db_rlock,
// db_fake_rlock, db_flock and db_unlock.
//
// Lock bits of an area (lockBits, DB_LOCK_* in Area.h): the engine's short locks around one
// operation (0x01 header, 0x02 record, 0x04 file) and the caller's locks (0x10, 0x20, 0x40)
// share one byte range per pair:
//
//   pair clear  --LockArea (first bit of the pair)-->  LockRange, the bit set
//   one bit     --LockArea (the other owner)------->  the other bit set, no further LockRange
//   both bits   --UnlockArea (one owner)----------->  one bit left, the range stays locked
//   one bit     --UnlockArea (its owner)----------->  UnlockRange, pair clear
//
// Header and record requests while a file lock is held succeed without a bit of their own. A
// request for another record first releases the record lock held (engine bit, then caller bit).
// 0x08 marks db_fake_rlock (no byte range behind it); 0x80 marks an area that does not lock
// (opened exclusively): every request succeeds at once. When the caller's last lock goes, the
// record buffer and the record count are taken from the file again at the next access.
//
// Index locks (one byte at LOCK_START of the index file) nest per slot:
//
//   count 0  --LockIndex-->    LockRange, header read; counter moved: cached pages dropped
//   count n  --LockIndex-->    count n + 1
//   count n  --UnlockIndex-->  count n - 1
//   count 1  --UnlockIndex-->  changed header and pages written, UnlockRange (kept while the
//                              file lock holds the indexes: index-lock word 2)
#include "Locks.h"

#include <cstring>
#include <string>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "PathHelpers.h"
#include "WorkAreas.h"
#include "vlCT11.h"
#include "vlUT11.h"

namespace {

const UINT IDS_LOCK_CAPTION = 113;   // "Datensatz ist gesperrt"
const UINT IDS_LOCK_WAITING = 114;   // "Warte auf Freigabe ... (in %1!d! Sekunden ...)"
const int kAbortDialogMode = 5;
const unsigned kIndexCounterAt = 2;
// Any record number: UnlockArea finds the record it locked itself.
const int32_t kAnyRecord = 1;

s_LockClock s_clock;

DWORD Ticks() { return s_clock.ticks ? s_clock.ticks() : GetTickCount(); }
void Pause(DWORD ms)
{
    if (s_clock.sleep)
        s_clock.sleep(ms);
    else
        Sleep(ms);
}

BOOL TryLock(HANDLE file, uint64_t offset, uint64_t length)
{
    return LockFile(file, (DWORD)offset, (DWORD)(offset >> 32), (DWORD)length, (DWORD)(length >> 32));
}

// The abort dialog of a long wait: shown after the dialog delay, its text counts the seconds
// down, and the user may give the wait up.
class WaitDialog {
public:
    ~WaitDialog()
    {
        if (m_handle >= 0 && CtlAbortDlgEnd(m_handle) < 0)
            DebugPrintf("CtlAbortDlgEnd() returned bad value!");
        if (m_jobOpen)
            CtlJobClose();
    }
    // One step of the wait loop after the dialog delay; FALSE when the user aborted.
    bool Step(DWORD now, DWORD elapsed)
    {
        const int seconds = (int)((s_clock.giveUpMs - elapsed) / 1000);
        if (!m_started) {
            m_started = true;
            m_jobOpen = true;
            CtlJobOpen();
            m_handle = CtlAbortDlgStartA(GetActiveWindow(), Caption().c_str(), Text(seconds).c_str(), kAbortDialogMode);
            m_refreshed = now;
            return true;
        }
        if (m_handle < 0)
            return true;
        if (now - m_refreshed > s_clock.refreshMs) {
            CtlAbortDlgSetTextA(m_handle, Text(seconds).c_str(), 0);
            m_refreshed = now;
        }
        return CtlAbortDlgCheckAbort(m_handle) == 0;
    }

private:
    static std::string Resource(UINT id)
    {
        char text[512];
        const int n = LoadStringA(g_EngineModule, id, text, sizeof text);
        return n > 0 ? std::string(text, (size_t)n) : std::string();
    }
    // The host program's name without extension, ": " and the caption text.
    static std::string Caption()
    {
        char path[MAX_PATH] = {}, name[256] = {};
        GetModuleFileNameA(nullptr, path, sizeof path);
        SplitPath(path, nullptr, nullptr, name, nullptr);
        return std::string(name) + ": " + Resource(IDS_LOCK_CAPTION);
    }
    static std::string Text(int seconds)
    {
        const std::string pattern = Resource(IDS_LOCK_WAITING);
        DWORD_PTR args[1] = {(DWORD_PTR)(intptr_t)seconds};
        char text[1024] = {};
        if (!FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, pattern.c_str(), 0, 0, text,
                            sizeof text, (va_list*)args))
            return pattern;
        return text;
    }

    bool m_started = false;
    bool m_jobOpen = false;
    int m_handle = -1;
    DWORD m_refreshed = 0;
};

unsigned Pair(int32_t what)
{
    if (what > 0)
        return DB_LOCK_RECORD | DB_LOCK_CALLER_RECORD;
    return what == DB_LOCK_FILE_WHAT ? DB_LOCK_FILE | DB_LOCK_CALLER_FILE : DB_LOCK_HEADER | DB_LOCK_CALLER_HEADER;
}

// The owner's bit of the pair.
unsigned OwnerBit(int32_t what, int owner)
{
    const unsigned pair = Pair(what);
    return owner == DB_OWNER_CALLER ? pair & 0x70 : pair & 0x07;
}

const unsigned kFileLocks = DB_LOCK_FILE | DB_LOCK_CALLER_FILE;

// The nesting count must never stay negative: a lock taken afterwards would then count as free.
void WarnUnbalanced(s_Index& index)
{
    DebugPrintf("--------------------------------- oops: unlocking an index that is not locked...");
    index.lockCount = 0;
}

BOOL LockOneIndex(s_Area& area, int slot, BOOL wait, BOOL nested)
{
    if (!_db_index_open(area, slot))
        return FALSE;
    s_Index& index = area.indexes[slot];
    if (index.lockCount++ > 0)
        return TRUE;
    if (!LockRange(index.file, LOCK_START, 1, wait)) {
        --index.lockCount;
        _db_raise_error(DBE_LOCK);
        return FALSE;
    }
    uint8_t header[DB_INDEX_HEADER_SIZE];
    LARGE_INTEGER zero{};
    DWORD read = 0;
    if (!SetFilePointerEx(index.file, zero, nullptr, FILE_BEGIN) ||
        !ReadFile(index.file, header, sizeof header, &read, nullptr) || read != sizeof header) {
        // Nothing of the lock stays behind when the header cannot be read.
        --index.lockCount;
        UnlockRange(index.file, LOCK_START, 1);
        _db_raise_error(DBE_INDEX_READ);
        return FALSE;
    }
    std::memcpy(index.header, header, sizeof header);
    const uint32_t counter = dbf::Get16(header + kIndexCounterAt);
    if (counter != index.changeCounter) {
        index.changeCounter = counter;
        if (g_EngineHooks.indexChanged)
            g_EngineHooks.indexChanged(area, slot, !nested && slot == area.order);
    }
    return TRUE;
}

BOOL UnlockOneIndex(s_Area& area, int slot, BOOL force)
{
    if (!_db_index_open(area, slot))
        return FALSE;
    s_Index& index = area.indexes[slot];
    if (index.lockCount < 0) {
        DebugPrintf("LOCK error");
        return FALSE;
    }
    if (force)
        index.lockCount = 0;
    else if (--index.lockCount > 0)
        return TRUE;
    else if (index.lockCount < 0) {
        WarnUnbalanced(index);
        return TRUE;
    }
    BOOL result = WriteIndexBack(area, slot);
    if (area.indexLockWord != 0)
        return result;
    // The byte is given up even when the write failed: other stations must not wait for ever.
    if (!UnlockRange(index.file, LOCK_START, 1))
        result = FALSE;
    return result;
}

} // namespace

void _db_set_lock_clock(const s_LockClock* clock) { s_clock = clock ? *clock : s_LockClock{}; }

BOOL WriteIndexBack(s_Area& area, int slot)
{
    if (!_db_index_open(area, slot))
        return FALSE;
    s_Index& index = area.indexes[slot];
    const uint32_t counter = dbf::Get16(index.header + kIndexCounterAt);
    if (counter == index.changeCounter)
        return TRUE;
    LARGE_INTEGER zero{};
    DWORD written = 0;
    if (!SetFilePointerEx(index.file, zero, nullptr, FILE_BEGIN) ||
        !WriteFile(index.file, index.header, DB_INDEX_HEADER_SIZE, &written, nullptr) ||
        written != DB_INDEX_HEADER_SIZE) {
        _db_raise_error(DBE_INDEX_WRITE);
        return FALSE;
    }
    BOOL result = TRUE;
    if (g_EngineHooks.writeIndexPages && !g_EngineHooks.writeIndexPages(area, slot))
        result = FALSE;
    if (area.flush && !area.exclusive)
        FlushFileBuffers(index.file);
    if (result)
        index.changeCounter = counter;
    return result;
}

BOOL LockRange(HANDLE file, uint64_t offset, uint64_t length, BOOL wait)
{
    if (TryLock(file, offset, length))
        return TRUE;
    if (!wait)
        return FALSE;
    // Elapsed times are compared, so the wait survives the wrap of the tick counter.
    const DWORD start = Ticks();
    WaitDialog dialog;
    for (;;) {
        const DWORD now = Ticks();
        const DWORD elapsed = now - start;
        if (elapsed >= s_clock.giveUpMs)
            return FALSE;
        Pause(s_clock.retryMs);
        if (TryLock(file, offset, length))
            return TRUE;
        if (elapsed <= s_clock.dialogDelayMs)
            continue;
        if (!dialog.Step(now, elapsed))
            return FALSE;
    }
}

BOOL UnlockRange(HANDLE file, uint64_t offset, uint64_t length)
{
    return UnlockFile(file, (DWORD)offset, (DWORD)(offset >> 32), (DWORD)length, (DWORD)(length >> 32));
}

bool _db_index_open(const s_Area& area, int slot)
{
    return slot >= 0 && slot < DB_INDEX_SLOTS && area.indexes[slot].name[0] &&
           area.indexes[slot].file != INVALID_HANDLE_VALUE;
}

BOOL LockArea(s_Area& area, int32_t what, BOOL wait, int owner)
{
    if (area.lockBits & DB_LOCK_EXCLUSIVE)
        return TRUE;
    const unsigned bit = OwnerBit(what, owner);
    const unsigned held = area.lockBits;
    if (what > 0) {
        if (what == DB_EOF_RECNO)
            return TRUE;
        if (held & Pair(what)) {
            if (area.lockedRecord == what) {
                area.lockBits |= bit;
                return TRUE;
            }
            if (held & DB_LOCK_RECORD)
                UnlockArea(area, area.lockedRecord, DB_OWNER_ENGINE);
            if (held & DB_LOCK_CALLER_RECORD)
                UnlockArea(area, area.lockedRecord, DB_OWNER_CALLER);
        }
    }
    if (what == DB_LOCK_HEADER_WHAT && (held & Pair(what))) {
        area.lockBits |= bit;
        return TRUE;
    }
    BOOL locked;
    if (what == DB_LOCK_FILE_WHAT) {
        if (held & kFileLocks) {
            area.lockBits |= bit;
            return TRUE;
        }
        locked = LockRange(area.file, LOCK_START, DB_FILE_LOCK_LENGTH, wait);
    } else {
        if (area.lockBits & kFileLocks)
            return TRUE;
        locked = LockRange(area.file, LOCK_START + (uint64_t)what, 1, wait);
        if (locked && what > 0)
            area.lockedRecord = what;
    }
    if (!locked) {
        _db_raise_error(DBE_LOCK);
        return FALSE;
    }
    area.lockBits |= bit;
    return TRUE;
}

BOOL UnlockArea(s_Area& area, int32_t what, int owner)
{
    const unsigned pair = Pair(what);
    const unsigned bit = OwnerBit(what, owner);
    const bool held = (area.lockBits & bit) != 0;
    area.lockBits &= ~bit;
    BOOL result = TRUE;
    if (held && !(area.lockBits & pair)) {
        // A closed file has given its ranges up with its handle.
        const bool open = area.file != INVALID_HANDLE_VALUE;
        if (what == DB_LOCK_FILE_WHAT) {
            if (open && !UnlockRange(area.file, LOCK_START, DB_FILE_LOCK_LENGTH)) {
                DebugPrintf("_Unlocking(LOCK_START,LOCK_START) failed");
                result = FALSE;
            }
        } else if (what == DB_LOCK_HEADER_WHAT) {
            if (open && !UnlockRange(area.file, LOCK_START, 1)) {
                DebugPrintf("_Unlocking(LOCK_START,1) failed");
                result = FALSE;
            }
        } else {
            if (open && !UnlockRange(area.file, LOCK_START + (uint64_t)area.lockedRecord, 1)) {
                DebugPrintf("_Unlocking(LOCK_START+%d,1) of record %d failed", (int)area.lockedRecord,
                            (int)area.lockedRecord);
                result = FALSE;
            }
            area.lockedRecord = 0;
        }
    }
    if (owner == DB_OWNER_CALLER && area.lockBits == 0) {
        area.bufferValid = 0;
        area.changed = 0;
        area.recordCount = -1;
    }
    return result;
}

void UnlockAreaAll(s_Area& area)
{
    static const struct {
        unsigned bit;
        int32_t what;
        int owner;
    } kOrder[] = {
        {DB_LOCK_HEADER, DB_LOCK_HEADER_WHAT, DB_OWNER_ENGINE},
        {DB_LOCK_RECORD, kAnyRecord, DB_OWNER_ENGINE},
        {DB_LOCK_FILE, DB_LOCK_FILE_WHAT, DB_OWNER_ENGINE},
        {DB_LOCK_CALLER_HEADER, DB_LOCK_HEADER_WHAT, DB_OWNER_CALLER},
        {DB_LOCK_CALLER_RECORD, kAnyRecord, DB_OWNER_CALLER},
        {DB_LOCK_CALLER_FILE, DB_LOCK_FILE_WHAT, DB_OWNER_CALLER},
    };
    for (const auto& step : kOrder)
        if (area.lockBits & step.bit)
            UnlockArea(area, step.what, step.owner);
    area.lockBits &= ~(unsigned)DB_LOCK_FAKE;
    area.recordCount = -1;
}

BOOL ReleaseCallerLocks(s_Area& area)
{
    area.lockBits &= ~(unsigned)DB_LOCK_FAKE;
    BOOL result = TRUE;
    if (!UnlockArea(area, DB_LOCK_HEADER_WHAT, DB_OWNER_CALLER))
        result = FALSE;
    if (!UnlockArea(area, kAnyRecord, DB_OWNER_CALLER))
        result = FALSE;
    if (!UnlockArea(area, DB_LOCK_FILE_WHAT, DB_OWNER_CALLER))
        result = FALSE;
    if (area.indexLockWord != 0 && !(area.lockBits & kFileLocks)) {
        area.indexLockWord &= ~DB_INDEXES_FOR_FILE_LOCK;
        if (area.indexLockWord == 0)
            UnlockIndex(area, DB_ALL_INDEXES, FALSE);
    }
    return result;
}

BOOL LockIndex(s_Area& area, int slot, BOOL wait, BOOL nested, uint64_t* lockedSlots)
{
    if (slot != DB_ALL_INDEXES)
        return LockOneIndex(area, slot, wait, nested);
    BOOL result = TRUE;
    uint64_t locked = 0;
    for (int s = 0; s < DB_INDEX_SLOTS; ++s) {
        if (!_db_index_open(area, s))
            continue;
        if (LockOneIndex(area, s, wait, TRUE)) {
            locked |= (uint64_t)1 << s;
            continue;
        }
        result = FALSE;
        for (int before = 0; before < s; ++before)
            if (locked & ((uint64_t)1 << before))
                UnlockOneIndex(area, before, FALSE);
        locked = 0;
    }
    if (lockedSlots)
        *lockedSlots = locked;
    return result;
}

BOOL UnlockIndex(s_Area& area, int slot, BOOL force)
{
    if (slot != DB_ALL_INDEXES)
        return UnlockOneIndex(area, slot, force);
    BOOL result = TRUE;
    for (int s = 0; s < DB_INDEX_SLOTS; ++s)
        if (_db_index_open(area, s) && area.indexes[s].lockCount != 0 && !UnlockOneIndex(area, s, force))
            result = FALSE;
    return result;
}

void _db_lock_hooks(s_EngineHooks& hooks)
{
    hooks.unlockAreaAll = UnlockAreaAll;
    hooks.lockIndex = [](s_Area& area, int slot) { return LockIndex(area, slot, TRUE, FALSE) != FALSE; };
    hooks.unlockIndex = [](s_Area& area, int slot) { UnlockIndex(area, slot, FALSE); };
    hooks.keepIndexLocked = [](s_Area& area, int slot) {
        if (area.indexes[slot].lockCount == 0)
            LockIndex(area, slot, TRUE, TRUE);
    };
}

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_rlock(int wait)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbRlock(%d)", wait);
    s_Area* area = _db_open_table(f.Job());
    if (!area)
        return f(FALSE);
    if (area->recno == 0 || area->recno == DB_EOF_RECNO) {
        if (area->recno == 0)
            UtilStackTrace(0, 0);
        return f(TRUE);
    }
    area->bufferValid = 0;
    return f(LockArea(*area, area->recno, wait, DB_OWNER_CALLER));
}

extern "C" BOOL DB_CALL db_fake_rlock(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbFakeRlock()");
    s_Area* area = _db_open_table(f.Job());
    if (!area)
        return f(FALSE);
    if (area->recno != DB_EOF_RECNO) {
        area->bufferValid = 0;
        area->lockBits |= DB_LOCK_FAKE;
    }
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_flock(int wait)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbFlock(%d)", wait);
    s_Area* area = _db_open_table(f.Job());
    if (!area)
        return f(FALSE);
    area->bufferValid = 0;
    const BOOL locked = LockArea(*area, DB_LOCK_FILE_WHAT, wait, DB_OWNER_CALLER);
    // The count is read once more now; then it holds until the lock goes.
    if (locked)
        area->recordCount = -1;
    if (locked && area->indexLockWord == 0) {
        LockIndex(*area, DB_ALL_INDEXES, wait, TRUE);
        area->indexLockWord = DB_INDEXES_FOR_FILE_LOCK;
    }
    return f(locked);
}

extern "C" BOOL DB_CALL db_unlock(int all)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbUnlock(%d)", all);
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    if (all == 0) {
        s_Area* area = _db_open_table(job);
        return f(area ? ReleaseCallerLocks(*area) : FALSE);
    }
    BOOL result = TRUE;
    for (int i = 0; i < DB_AREA_COUNT; ++i) {
        s_Area* area = job->areas[i];
        if (!area || area->defining)
            continue;
        if (area->file == INVALID_HANDLE_VALUE) {
            _db_raise_error(DBE_FILES_CLOSED);
            return f(FALSE);
        }
        if (!ReleaseCallerLocks(*area))
            result = FALSE;
    }
    return f(result);
}
