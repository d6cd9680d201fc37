// Writing, deleting and appending records: db_write rewrites the current record, db_insert appends
// the buffer as a new record, db_delete and db_recall set and clear the deleted mark, db_deleted
// reports it, db_zap empties a table, db_lupdate and db_filetime report the header's change date
// and the file's last-write time. The open indexes follow every written key.
//
// On a shared table every write and append holds the header lock, which orders the writers of
// all stations: the record count read under it is the one every other appender has written.
// Index pages change under the index locks, and the files are flushed to disk before the locks
// go, so that the station that takes them next reads the new data. Exclusive tables do without.
#include "RecordWrite.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "CallFrame.h"
#include "Conversions.h"
#include "DbfFormat.h"
#include "EngineHooks.h"
#include "FieldAccess.h"
#include "Locks.h"
#include "Memo.h"
#include "Navigation.h"
#include "PrintfFormat.h"
#include "TableFile.h"
#include "WorkAreas.h"
#include "clsDatabaseLock.h"
#include "clsKeepError.h"

namespace {

const size_t kKeyBufferSize = 331;
const unsigned kMaxKeySize = 330;
const unsigned kKeySizeAt = 14;

// The locks of one write or append on a shared table: the header lock (waiting), the lock of one
// record and the locks of every open index (waiting). The record lock does not wait: its holder
// may itself be waiting for the header lock held here.
class WriteLocks {
public:
    WriteLocks(s_Area& area, int32_t record)
        : m_area(area), m_header(area, DB_LOCK_HEADER_WHAT, DB_OWNER_ENGINE),
          m_record(area, record, DB_OWNER_ENGINE), m_takeRecord(record > 0 && record != DB_EOF_RECNO)
    {
    }
    ~WriteLocks() { Release(); }

    bool Take()
    {
        if (m_area.exclusive)
            return true;
        if (!m_header.Lock(TRUE) || (m_takeRecord && !m_record.Lock(FALSE)))
            return Release(), false;
        if (!LockIndex(m_area, DB_ALL_INDEXES, TRUE, TRUE, &m_indexes))
            return Release(), false;
        return true;
    }
    // Flushes the files to disk, then releases the index locks, the record lock and the header
    // lock.
    void Release()
    {
        if (m_area.exclusive)
            return;
        if (m_header.Locked())
            _db_flush_files(m_area);
        for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot)
            if (m_indexes & ((uint64_t)1 << slot))
                UnlockIndex(m_area, slot, FALSE);
        m_indexes = 0;
        m_record.Unlock();
        m_header.Unlock();
    }

private:
    s_Area& m_area;
    clsDatabaseLock m_header;
    clsDatabaseLock m_record;
    bool m_takeRecord;
    uint64_t m_indexes = 0;
};

bool IndexInUse(const s_Area& area, int slot) { return area.indexes[slot].name[0] != 0; }

// The length over which two keys of the slot are compared: the key size of its header.
unsigned KeySize(const s_Index& index)
{
    const unsigned size = dbf::Get16(index.header + kKeySizeAt);
    return size >= 1 && size <= kMaxKeySize ? size : kMaxKeySize;
}

// The slot's key for the record buffer, or with beforeImage for the before-image buffer. Field
// reads of the key expression take the buffer as it is.
bool SlotKey(s_Area& area, int slot, bool beforeImage, char* key)
{
    std::memset(key, 0, kKeyBufferSize);
    if (beforeImage)
        area.record.swap(area.beforeImage);
    const unsigned locks = area.lockBits;
    area.lockBits |= DB_LOCK_FAKE;
    const bool evaluated = g_EngineHooks.evaluateKey(area, slot, key);
    area.lockBits = locks;
    if (beforeImage)
        area.record.swap(area.beforeImage);
    return evaluated;
}

bool KeyHooks()
{
    return g_EngineHooks.evaluateKey && g_EngineHooks.addKey && g_EngineHooks.deleteKey;
}

// The key changes of one record write: every open index whose key of the record changed gets
// the new key instead of the old one. They are made before the record is written, so that a
// failure leaves the row and every index as they were.
class KeyChanges {
public:
    KeyChanges(s_Area& area, int32_t recno, int skipSlot) : m_area(area), m_recno(recno), m_skip(skipSlot) {}

    // Visits the open indexes (but the skipped one) in slot order: the old key (of the
    // before-image) deleted, the new one added. A failure puts back what was changed and answers
    // false; its error stays the current one.
    bool Apply()
    {
        if (!KeyHooks())
            return true;
        for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot) {
            if (slot == m_skip || !IndexInUse(m_area, slot))
                continue;
            Change change;
            change.slot = slot;
            if (!SlotKey(m_area, slot, true, change.oldKey) || !SlotKey(m_area, slot, false, change.newKey))
                return Undo(), false;
            if (std::memcmp(change.oldKey, change.newKey, KeySize(m_area.indexes[slot])) == 0)
                continue;
            if (!g_EngineHooks.deleteKey(m_area, slot, change.oldKey, m_recno))
                return Undo(), false;
            if (!g_EngineHooks.addKey(m_area, slot, change.newKey, m_recno)) {
                clsKeepError keep;
                g_EngineHooks.addKey(m_area, slot, change.oldKey, m_recno);
                return Undo(), false;
            }
            m_done.push_back(change);
        }
        return true;
    }
    // Puts the old keys back, the last change first.
    void Undo()
    {
        clsKeepError keep;
        for (auto it = m_done.rbegin(); it != m_done.rend(); ++it)
            if (g_EngineHooks.deleteKey(m_area, it->slot, it->newKey, m_recno))
                g_EngineHooks.addKey(m_area, it->slot, it->oldKey, m_recno);
        m_done.clear();
    }
    // The controlling index follows the record to its new key.
    void Reposition()
    {
        for (const Change& change : m_done)
            if (change.slot == m_area.order && g_EngineHooks.seekKey)
                g_EngineHooks.seekKey(m_area, change.slot, change.newKey, m_recno);
    }

private:
    struct Change {
        int slot = 0;
        char oldKey[kKeyBufferSize];
        char newKey[kKeyBufferSize];
    };
    s_Area& m_area;
    int32_t m_recno;
    int m_skip;
    std::vector<Change> m_done;
};

// db_insert: every index gets the key of the new record; the first failure ends the visit (its
// error stays queued).
void AddKeys(s_Area& area)
{
    if (!KeyHooks())
        return;
    char key[kKeyBufferSize];
    for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot) {
        if (!IndexInUse(area, slot))
            continue;
        if (!SlotKey(area, slot, false, key) || !g_EngineHooks.addKey(area, slot, key, area.recno))
            return;
    }
}

// The change date and, when known, the record count: one write, as they lie side by side. An
// exclusive table leaves out a write of the bytes it wrote last (nobody else writes its file).
bool WriteHeader(s_Area& area)
{
    static_assert(dbf::kRecordCount == dbf::kDate + 3, "the count follows the date");
    uint8_t bytes[7];
    std::memcpy(bytes, area.header + 1, 3);
    DWORD length = 3;
    if (area.recordCount >= 0) {
        dbf::Put32(bytes + 3, (uint32_t)area.recordCount);
        length = 7;
    }
    bool ok = true;
    const bool known = area.exclusive && area.headerWrittenKnown && length == 7 &&
                       std::memcmp(area.headerWritten, bytes, sizeof bytes) == 0;
    if (!known) {
        ok = _db_write_at(area, bytes, dbf::kDate, length) == length;
        area.headerWrittenKnown = ok && length == 7;
        if (area.headerWrittenKnown)
            std::memcpy(area.headerWritten, bytes, sizeof bytes);
    }
    area.headerDirty = 0;
    if (!ok)
        _db_raise_error(DBE_WRITE);
    return ok;
}

// db_delete and db_recall: the deleted flag byte of the current record, written with db_write
// while the indexes are left alone.
BOOL WriteDeletedMark(s_Area& area, bool deleted)
{
    area.record[0] = deleted ? dbf::kDeletedMark : ' ';
    area.changed = 1;
    area.deleted = deleted;
    area.deleteMark = 1;
    const BOOL result = db_write();
    area.deleteMark = 0;
    return result;
}

// The write of a changed buffer that holds a record, under the write locks: the key changes
// (but the skipped slot's), then, with the change date stamped when asked, the header and the
// record. A failure of the keys writes nothing and leaves the buffer to be read again; a failed
// record write puts the old keys back.
bool WriteRecord(s_Area& area, bool stamp, int skipSlot)
{
    KeyChanges keys(area, area.bufferRecno, skipSlot);
    if (!area.deleteMark && area.beforeImageValid && !keys.Apply()) {
        area.changed = 0;
        area.beforeImageValid = 0;
        area.bufferValid = 0;
        return false;
    }
    if (stamp)
        _db_stamp_date(area);
    if (!_db_flush_buffer(area, false)) {
        keys.Undo();
        area.beforeImageValid = 0;
        return false;
    }
    keys.Reposition();
    area.beforeImageValid = 0;
    return true;
}

// An appended record: the record first, then the header with the new count, so that the count
// never names a record the file does not hold yet. The changed flag is cleared either way.
bool FlushAppended(s_Area& area)
{
    area.changed = 0;
    if (_db_write_records(area, area.record.get(), area.bufferRecno, (DWORD)area.recordLength) != area.recordLength) {
        _db_raise_error(DBE_WRITE_RECORD);
        return false;
    }
    return WriteHeader(area);
}

bool FlushArea(s_Area& area) { return _db_write_pending(area, -1); }

} // namespace

bool _db_write_pending(s_Area& area, int skipSlot)
{
    if (area.defining || area.file == INVALID_HANDLE_VALUE || !area.record)
        return true;
    const bool record = area.bufferValid && area.changed && area.bufferRecno > 0 && area.bufferRecno != DB_EOF_RECNO;
    if (!record)
        return area.headerDirty ? _db_flush_buffer(area, true) : true;
    WriteLocks locks(area, area.bufferRecno);
    if (!locks.Take())
        return false;
    return WriteRecord(area, false, skipSlot);
}

void _db_today_date(uint8_t* date)
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    date[0] = (uint8_t)(now.wYear - 1900);
    date[1] = (uint8_t)now.wMonth;
    date[2] = (uint8_t)now.wDay;
}

void _db_stamp_date(s_Area& area)
{
    _db_today_date(area.header + 1);
    area.headerDirty = 1;
}

bool _db_flush_buffer(s_Area& area, bool underHeaderLock)
{
    bool ok = true;
    if (area.headerDirty) {
        clsDatabaseLock lock(area, DB_LOCK_HEADER_WHAT, DB_OWNER_ENGINE);
        if (underHeaderLock && !area.exclusive && !lock.Lock(TRUE))
            ok = false;
        else
            ok = WriteHeader(area);
    }
    if (ok && area.bufferValid && area.changed && area.bufferRecno > 0 && area.bufferRecno != DB_EOF_RECNO) {
        const long written = _db_write_records(area, area.record.get(), area.bufferRecno, (DWORD)area.recordLength);
        if (written != area.recordLength) {
            _db_raise_error(DBE_WRITE_RECORD);
            ok = false;
        }
    }
    area.changed = 0;
    return ok;
}

void _db_flush_files(s_Area& area)
{
    if (area.exclusive || !area.flush || (area.lockBits & (DB_LOCK_FILE | DB_LOCK_CALLER_FILE)))
        return;
    if (area.file != INVALID_HANDLE_VALUE)
        FlushFileBuffers(area.file);
    if (area.memoFile != INVALID_HANDLE_VALUE)
        FlushFileBuffers(area.memoFile);
}

void _db_write_hooks(s_EngineHooks& hooks) { hooks.flushArea = FlushArea; }

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_write(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbWrite()");
    s_Area* area = _db_current_table(f.Job());
    if (!area || !_db_refresh_count(*area))
        return f(FALSE);
    if (area->readOnly) {
        _db_raise_error(DBE_READ_ONLY);
        return f(FALSE);
    }
    if (area->bufferRecno != area->recno) {
        _db_raise_error(DBE_OTHER_RECORD);
        return f(FALSE);
    }
    if (area->eof || area->bufferRecno == DB_EOF_RECNO) {
        _db_raise_error(DBE_WRITE_AT_EOF);
        return f(FALSE);
    }
    if (!area->bufferValid || !area->changed)
        return f(TRUE);

    WriteLocks locks(*area, area->recno);
    if (!locks.Take())
        return f(FALSE);
    if (!_db_refresh_count(*area))
        return f(FALSE);
    const bool ok = WriteRecord(*area, true, -1);
    locks.Release();
    area->eof = area->bof = 0;
    return f(ok);
}

extern "C" BOOL DB_CALL db_insert(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbInsert()");
    s_Area* area = _db_open_table(f.Job());
    if (!area)
        return f(FALSE);
    if (area->readOnly) {
        _db_raise_error(DBE_READ_ONLY);
        return f(FALSE);
    }
    if (!area->bufferValid || !area->changed)
        return f(TRUE);

    WriteLocks locks(*area, area->recno);
    if (!locks.Take() || !_db_refresh_count(*area))
        return f(FALSE);
    const int32_t recno = area->recordCount + 1;
    area->recordCount = area->recno = area->bufferRecno = recno;
    area->eof = area->bof = 0;
    _db_stamp_date(*area);
    const bool ok = FlushAppended(*area);
    if (ok)
        AddKeys(*area);
    else
        area->recordCount = -1;
    locks.Release();
    area->beforeImageValid = 0;
    return f(ok);
}

extern "C" BOOL DB_CALL db_delete(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_REPORT, "@DbDelete()");
    s_Area* area = _db_current_table(f.Job());
    if (!area || !_db_refresh_count(*area))
        return f(FALSE);
    if (area->recno == DB_EOF_RECNO || area->eof || !_db_read_current(*area))
        return f(FALSE);
    if (area->deleted)
        return f(TRUE);
    if (area->readOnly) {
        _db_raise_error(DBE_READ_ONLY);
        return f(FALSE);
    }
    return f(WriteDeletedMark(*area, true));
}

extern "C" BOOL DB_CALL db_recall(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbRecall()");
    s_Area* area = _db_open_table(f.Job());
    if (!area || area->recno == DB_EOF_RECNO)
        return f(FALSE);
    if (area->readOnly) {
        _db_raise_error(DBE_READ_ONLY);
        return f(FALSE);
    }
    if (area->eof || !_db_read_current(*area))
        return f(FALSE);
    if (!area->deleted)
        return f(TRUE);
    return f(WriteDeletedMark(*area, false));
}

extern "C" BOOL DB_CALL db_deleted(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbDeleted()");
    s_Area* area = _db_open_table(f.Job());
    if (!area || !_db_read_current(*area))
        return f(FALSE);
    return f(area->recno != DB_EOF_RECNO && area->deleted);
}

extern "C" BOOL DB_CALL db_zap(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbZap()");
    s_Area* area = _db_current_table(f.Job());
    if (!area || !_db_refresh_count(*area))
        return f(FALSE);
    area->stopFlag = 0;
    if (area->readOnly) {
        _db_raise_error(DBE_READ_ONLY);
        return f(FALSE);
    }
    clsDatabaseLock fileLock(*area, DB_LOCK_FILE_WHAT, DB_OWNER_ENGINE);
    if (!fileLock.Lock(TRUE))
        return f(FALSE);
    area->recordCount = 0;
    _db_stamp_date(*area);
    // Nothing of the emptied table is written back: a changed buffer would put a record behind
    // the header again. The count goes first, so that it never names records the file has lost.
    area->changed = 0;
    if (_db_flush_buffer(*area, true)) {
        _db_write_at(*area, "", area->headerLength, 0);
        if ((area->Version() & dbf::kMemoBit) && area->memoFile != INVALID_HANDLE_VALUE)
            _db_memo_empty(*area);
        if (g_EngineHooks.rebuildIndexes)
            g_EngineHooks.rebuildIndexes(*area);
        FlushFileBuffers(area->file);
        if (area->memoFile != INVALID_HANDLE_VALUE)
            FlushFileBuffers(area->memoFile);
        for (const s_Index& index : area->indexes)
            if (index.name[0] && index.file != INVALID_HANDLE_VALUE)
                FlushFileBuffers(index.file);
        area->eof = area->bof = 1;
    }
    area->bufferValid = 0;
    db_blank();
    fileLock.Unlock();
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_lupdate(char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbLupdate(0x%08lx,%u)", TraceBuf{buf}, size);
    s_Job* job = f.Job();
    s_Area* area = _db_open_table(job);
    if (!area)
        return f(FALSE);
    // A buffer of size 0 takes nothing, not even the terminating NUL.
    if (!buf || size == 0) {
        _db_raise_error(DBE_BUFFER);
        return f(FALSE);
    }
    char date[16];
    Format(date, sizeof date, "%04d%02d%02d", area->header[1] + 1900, area->header[2], area->header[3]);
    char pattern[64];
    _date_pattern(_date_format(job), pattern, sizeof pattern);
    _date_to_pattern(date, size, pattern, buf);
    if (_db_tracing())
        _db_trace(0, "->'%s'", buf);
    return f(TRUE);
}

extern "C" unsigned DB_CALL db_filetime(void)
{
    DbFrame<unsigned, RF_HEX> f(DBF_NONE, "@DbFiletime()");
    s_Area* area = _db_open_table(f.Job());
    if (!area)
        return f(0);
    BY_HANDLE_FILE_INFORMATION info{};
    FILETIME written{};
    if (GetFileInformationByHandle(area->file, &info))
        written = info.ftLastWriteTime;
    if (written.dwLowDateTime == 0 && written.dwHighDateTime == 0 &&
        !GetFileTime(area->file, nullptr, nullptr, &written))
        return f(0);
    WORD dosDate = 0, dosTime = 0;
    if (!FileTimeToDosDateTime(&written, &dosDate, &dosTime))
        return f(0);
    return f(((unsigned)dosDate << 16) | dosTime);
}
