// Packing a table: db_pack removes the records marked deleted ('*' in the deleted flag byte; any
// other byte keeps the record) from the current area's table, which must be open exclusively and
// hold no other lock.
//
// The kept records stay in their natural order. The table file is not changed before the packed
// records are complete:
//   1. the records are read in batches of up to 100; those before the first deleted record stay
//      where they are; from the first deleted record on, every kept record is written into a
//      temporary file in the table's directory (enciphered for the position it will take, when the
//      table has a cipher);
//   2. only when every record was read and written, the temporary file's records are copied over
//      the table's data part, the header gets the new count and today's date, and then the file
//      is cut after the last kept record (so the count never names records the file lost).
// A failed read (error 15) or write (error 16) in step 1 leaves the table as it was; the
// temporary file is removed when it is closed, whatever happens. Copying back overwrites bytes the
// table file already holds, so it needs no room on the disk: a full disk shows in step 1.
//
// Afterwards every memo reference is checked: one whose memo cannot be read (error 10) is emptied.
// Index files are not touched; their record numbers no longer match, and the caller rebuilds them.
#include "Pack.h"

#include <windows.h>

#include <memory>
#include <new>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "EngineHooks.h"
#include "Navigation.h"
#include "PathHelpers.h"
#include "RecordWrite.h"
#include "TableFile.h"
#include "WorkAreas.h"

namespace {

const int kBatchRecords = 100;
// db_memo_read_buffer's buffer of the memo check: it only asks whether the memo can be read.
const unsigned kMemoCheckBuffer = 513;
const char kBlankMemoReference[] = "          ";

PackWriteProbe s_writeProbe = nullptr;

bool WriteAllowed(PackWriteTarget target, int32_t recno) { return !s_writeProbe || s_writeProbe(target, recno); }

// The temporary file of the moved records: in the table's directory, removed when it is closed.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Create(const s_Area& area)
    {
        char drive[256], dir[256];
        SplitPath(area.fullPath, drive, dir, nullptr, nullptr);
        char folder[4 * 256 + 8];
        MakePath(folder, drive, dir, "", "");
        char name[MAX_PATH];
        if (!GetTempFileNameA(folder, "dbp", 0, name))
            return false;
        m_file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (m_file == INVALID_HANDLE_VALUE) {
            DeleteFileA(name);
            return false;
        }
        return true;
    }
    bool Rewind()
    {
        LARGE_INTEGER zero{};
        return SetFilePointerEx(m_file, zero, nullptr, FILE_BEGIN) != 0;
    }
    HANDLE Handle() const { return m_file; }

private:
    HANDLE m_file = INVALID_HANDLE_VALUE;
};

// The batch: up to 100 record buffers, as many as could be allocated.
class Batch {
public:
    explicit Batch(DWORD recordLength)
    {
        m_places.reset(new (std::nothrow) std::unique_ptr<char[]>[kBatchRecords]);
        if (!m_places)
            return;
        while (m_size < kBatchRecords) {
            m_places[m_size].reset(new (std::nothrow) char[recordLength]);
            if (!m_places[m_size])
                break;
            ++m_size;
        }
    }
    int Size() const { return m_size; }
    char* operator[](int i) const { return m_places[i].get(); }

private:
    std::unique_ptr<std::unique_ptr<char[]>[]> m_places;
    int m_size = 0;
};

// Copies the moved records (table records first + 1 to kept) from the temporary file over the
// table's data part.
bool CopyBack(s_Area& area, TemporaryFile& temporary, char* buffer, int32_t first, int32_t kept)
{
    const DWORD length = (DWORD)area.recordLength;
    if (!temporary.Rewind()) {
        _db_raise_error(DBE_PACK_READ);
        return false;
    }
    for (int32_t n = first + 1; n <= kept; ++n) {
        if (_xread(temporary.Handle(), buffer, length) != length) {
            _db_raise_error(DBE_PACK_READ);
            return false;
        }
        if (!WriteAllowed(PACK_WRITE_TABLE, n) || _db_write_at(area, buffer, _db_record_offset(area, n), length) != length) {
            _db_raise_error(DBE_PACK_WRITE);
            return false;
        }
    }
    return true;
}

// The pack worker: true when the kept records are in place (the area's record count is the new
// one; the file is cut behind them once the header holds it);
// false with nothing changed, with error 13, 15 or 16 raised, or without an error for a table
// without records.
bool PackRecords(s_Area& area)
{
    const int32_t count = area.recordCount;
    if (count <= 0)
        return false;
    const DWORD length = (DWORD)area.recordLength;
    Batch batch(length);
    if (batch.Size() == 0) {
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    const bool encipher = area.IsEncrypted() && g_EngineHooks.encryptBuffer;

    TemporaryFile temporary;
    int32_t read = 0, kept = 0;
    int32_t firstMoved = -1; // kept records before the first deleted one; -1 until one is seen
    while (read < count) {
        int filled = 0;
        for (; filled < batch.Size() && read < count; ++filled, ++read)
            if (_db_read_records(area, batch[filled], read + 1, length) != length) {
                _db_raise_error(DBE_PACK_READ);
                return false;
            }
        for (int i = 0; i < filled; ++i) {
            char* record = batch[i];
            if (record[0] == dbf::kDeletedMark) {
                if (firstMoved < 0) {
                    firstMoved = kept;
                    if (!temporary.Create(area)) {
                        _db_raise_error(DBE_PACK_WRITE);
                        return false;
                    }
                }
                continue;
            }
            ++kept;
            if (firstMoved < 0)
                continue;
            if (encipher)
                g_EngineHooks.encryptBuffer(area, (int32_t)_db_record_offset(area, kept), record, length);
            if (!WriteAllowed(PACK_WRITE_TEMPORARY, kept) || _xwrite(temporary.Handle(), record, length) != length) {
                _db_raise_error(DBE_PACK_WRITE);
                return false;
            }
        }
    }

    if (firstMoved >= 0 && !CopyBack(area, temporary, batch[0], firstMoved, kept))
        return false;
    area.recordCount = kept;
    return true;
}

// A change of the buffer not yet written belongs to the record the buffer holds; it is written
// there before the records move (afterwards that record number may name another record).
bool WritePendingChange(s_Area& area)
{
    if (!area.bufferValid || !area.changed || area.bufferRecno <= 0 || area.bufferRecno == DB_EOF_RECNO)
        return true;
    return _db_flush_buffer(area, false);
}

// Empties every memo reference whose memo cannot be read (error 10); other failures leave the
// record as it is.
void CheckMemoReferences(s_Area& area, long count)
{
    for (long n = 1; n <= count; ++n) {
        db_goto(n);
        for (int field = 1; field <= area.fieldCount; ++field) {
            if (area.fields[field - 1].type != 'M')
                continue;
            char text[kMemoCheckBuffer];
            if (!db_memo_read_buffer(DB_FIELDREF(field), text, sizeof text) && db_error() == DBE_MEMO_READ) {
                db_replace(DB_FIELDREF(field), kBlankMemoReference);
                db_write();
            }
        }
    }
}

} // namespace

void _db_set_pack_write_probe(PackWriteProbe probe) { s_writeProbe = probe; }

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_pack(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbPack()");
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area || !_db_refresh_count(*area))
        return f(FALSE);
    area->stopFlag = 0;
    // Exclusive, and no lock besides that: a table just defined (no lock bits) is refused too.
    if (area->lockBits != DB_LOCK_EXCLUSIVE) {
        _db_raise_error(DBE_PACK_SHARED);
        return f(FALSE);
    }
    db_set_order(0);

    bool packed = WritePendingChange(*area) && PackRecords(*area);
    if (packed) {
        // The buffer's record number no longer names the record it holds.
        area->bufferValid = 0;
        area->changed = 0;
        area->beforeImageValid = 0;
        _db_stamp_date(*area);
        // The new count goes to the header before the file is cut behind the kept records, so
        // that the count never names records the file no longer holds.
        packed = _db_flush_buffer(*area, false);
        if (packed)
            _db_write_at(*area, "", _db_record_offset(*area, area->recordCount + 1), 0);
    }

    // The memo check's calls reset the current error and would reset the caller's error
    // variable: db_error and the variable report the pack's own errors afterwards. The check's
    // errors still reach the error callback when db_pack returns.
    const unsigned packError = job->currentError;
    unsigned* variable = job->errorVariable;
    job->errorVariable = nullptr;
    const long count = (long)db_reccount();
    if (count > 0)
        CheckMemoReferences(*area, count);
    db_goto(0);
    job->errorVariable = variable;
    job->currentError = packError;
    if (variable)
        *variable = packError;
    return f(packed);
}
