// Opening an existing table into the current work area (db_use), closing tables (db_close) and
// the questions about an open table that need no record.
#include "TableOpen.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "FieldAccess.h"
#include "Navigation.h"
#include "PathHelpers.h"
#include "TableFile.h"
#include "WorkAreas.h"

namespace {

// db_use flags.
const unsigned kUseExclusive = 0x01;
const unsigned kUseReadOnly = 0x10;
const unsigned kUseNoMemo = 0x20;
const unsigned kUseNoPassword = 0x40;
const unsigned kUseRefusePacked = 0x80;

// The first header check: a dBase III version byte, or else a plausible month; always a valid
// month and day.
bool DateAndVersionAccepted(const uint8_t* header)
{
    const unsigned month = header[2], day = header[3];
    return ((header[0] & dbf::kVersionMask) == dbf::kVersionDbase3 || month >= 1) && month <= 12 && day >= 1 &&
           day <= 31;
}

// Reads the field descriptors. A header that cannot hold its descriptors and the terminator, a
// field of length 0, or fields longer than the record are refused: the record buffer must hold
// every field.
unsigned ReadFields(s_Area& area)
{
    if (area.headerLength < (int)(dbf::kHeaderSize + 1))
        return DBE_FORMAT;
    const int count = (area.headerLength - (int)dbf::kHeaderSize) / (int)dbf::kDescriptorSize;
    if (area.headerLength < (int)dbf::kDescriptorSize * (count + 1) + 1)
        return DBE_FORMAT;
    std::unique_ptr<uint8_t[]> header(new (std::nothrow) uint8_t[(size_t)area.headerLength]);
    area.fields.reset(new (std::nothrow) s_Field[(size_t)count + 1]);
    if (!header || !area.fields)
        return DBE_MEMORY;
    if (_db_read_at(area, header.get(), 0, (DWORD)area.headerLength) != (DWORD)area.headerLength)
        return DBE_FORMAT;
    area.fieldCount = count;
    area.fieldNames.clear();
    unsigned offset = 0;
    for (int i = 0; i < count; ++i) {
        const uint8_t* d = header.get() + dbf::kHeaderSize + dbf::kDescriptorSize * (unsigned)i;
        s_Field& field = area.fields[i];
        field = s_Field{};
        for (unsigned j = 0; j < dbf::kFieldNameSize - 1 && d[dbf::kFieldName + j]; ++j)
            field.name[j] = (char)d[dbf::kFieldName + j];
        field.type = (char)d[dbf::kFieldType];
        field.length = d[dbf::kFieldLength];
        field.decimals = d[dbf::kFieldDecimals];
        field.offset = (uint16_t)offset;
        if (field.length == 0)
            return DBE_FORMAT;
        offset += field.length;
        area.fieldNames.emplace(field.name, i + 1);
    }
    if (1 + offset > (unsigned)area.recordLength)
        return DBE_FORMAT;
    return 0;
}

// Opens the memo file of a table with memo fields and keeps a copy of its header.
unsigned OpenMemo(s_Job* job, s_Area& area, DWORD fileFlags)
{
    // A memo name cut short would name another file.
    if (!_db_file_name_with_ext(area.databaseName, ".DBT", true, area.memoName)) {
        area.memoName[0] = 0;
        return DBE_MEMO_OPEN;
    }
    area.memoFile = _db_open_area_file(area, area.memoName, OPEN_EXISTING, fileFlags);
    if (area.memoFile == INVALID_HANDLE_VALUE)
        return DBE_MEMO_OPEN;
    LARGE_INTEGER start{};
    SetFilePointerEx(area.memoFile, start, nullptr, FILE_BEGIN);
    if (_xread(area.memoFile, area.memoHeader, dbf::kMemoHeaderSize) != dbf::kMemoHeaderSize)
        return DBE_MEMO_OPEN;
    if (area.databaseType == 0 || area.databaseType == 3 || area.databaseType == 4)
        dbf::Put16(area.memoHeader + dbf::kMemoBlockSizeAt, dbf::kMemoBlockSize);
    if (job->filesOpen == 0) {
        CloseHandle(area.memoFile);
        area.memoFile = INVALID_HANDLE_VALUE;
    }
    return 0;
}

// The work of db_use on the new area; answers an error code (0: the table is open).
unsigned OpenTable(s_Job* job, s_Area& area, const char* file, unsigned flags, const char* alias, unsigned options)
{
    area.flush = !(options & 0x4000);
    area.closeOnSelect = (options & 0x8000) != 0;
    area.charset = (int)(options & 0x70);
    area.databaseType = (int)(options & ~(0x70u | 0x4000u | 0x8000u));
    if (!_db_name_area(area, file, alias))
        return DBE_OPEN;
    if ((flags & kUseExclusive) || job->exclusive) {
        area.shareMode = 0;
        area.exclusive = 1;
        area.lockBits = DB_LOCK_EXCLUSIVE;
    } else {
        area.shareMode = FILE_SHARE_READ | FILE_SHARE_WRITE;
        area.exclusive = 0;
        area.lockBits = 0;
    }
    area.readOnly = (flags & kUseReadOnly) != 0;
    const DWORD fileFlags = area.exclusive ? DB_FILE_FLAGS_EXCLUSIVE : DB_FILE_FLAGS;

    area.file = _db_open_area_file(area, area.databaseName, OPEN_EXISTING, fileFlags);
    if (area.file == INVALID_HANDLE_VALUE)
        return DBE_OPEN;

    uint8_t header[dbf::kHeaderSize];
    if (_db_read_at(area, header, 0, sizeof header) != sizeof header)
        return DBE_FORMAT;
    std::memcpy(area.header, header, 4);
    if (area.header[0] & dbf::kProtectedBit) {
        area.protectedTable = 1;
        area.header[0] &= (uint8_t)~dbf::kProtectedBit;
    }
    if (!DateAndVersionAccepted(header))
        return DBE_FORMAT;
    if (area.protectedTable) {
        // Protected tables need the table encryption to be read at all.
        if (!g_EngineHooks.decryptBuffer)
            return DBE_OPEN;
        if (!(flags & kUseNoPassword) && (!g_EngineHooks.verifyTablePassword || !g_EngineHooks.verifyTablePassword(area)))
            return DBE_OPEN;
    }

    area.recordCount = (int32_t)dbf::Get32(header + dbf::kRecordCount);
    area.headerLength = dbf::Get16(header + dbf::kHeaderLength);
    area.recordLength = dbf::Get16(header + dbf::kRecordLength);
    area.headerDirty = 0;
    switch (header[dbf::kCharsetMark]) {
    case dbf::kMarkUsAscii: area.charset = 0x10; break;
    case dbf::kMarkInternational: area.charset = 0x00; break;
    case dbf::kMarkAnsi: area.charset = 0x20; break;
    default: break;
    }

    if (area.header[0] & dbf::kPackedBit) {
        area.packed = 1;
        if (flags & kUseRefusePacked)
            return DBE_OPEN;
        if (!g_EngineHooks.openPacked)
            return DBE_PACK_UNAVAILABLE;
        if (unsigned code = g_EngineHooks.openPacked(area))
            return code;
        area.header[0] &= (uint8_t)~dbf::kPackedBit;
    }

    if (unsigned code = ReadFields(area))
        return code;
    // A count that names records the file does not hold is a damaged header: this engine writes
    // an appended record before the count that names it, and a smaller count before it cuts the
    // file.
    if (!area.packed) {
        const int64_t held = _db_records_held(area);
        if (held >= 0 && (int64_t)dbf::Get32(header + dbf::kRecordCount) > held)
            return DBE_FORMAT;
    }

    area.record.reset(new (std::nothrow) char[(size_t)area.recordLength]);
    area.beforeImage.reset(new (std::nothrow) char[(size_t)area.recordLength]);
    if (!area.record || !area.beforeImage)
        return DBE_MEMORY;

    _db_blank_buffer(area);
    area.bof = 1;
    area.filterProc = nullptr;
    area.order = -1;

    if (area.recordCount > 0) {
        if (job->deleted) {
            if (_db_go_top(area) == 0)
                return job->currentError ? job->currentError : (unsigned)DBE_READ_RECORD;
        } else
            area.recno = 1;
        area.eof = area.recno > area.recordCount;
    } else {
        area.recno = DB_EOF_RECNO;
        area.eof = 1;
        _db_blank_buffer(area);
    }

    if (!(flags & kUseNoMemo) && (area.header[0] & dbf::kMemoBit))
        if (unsigned code = OpenMemo(job, area, fileFlags))
            return code;

    area.lockedRecord = 0;
    area.bufferValid = 0;
    if (!area.exclusive)
        area.recordCount = -1;
    return 0;
}

// The area of an export that takes an area number (1..250).
s_Area* AreaByNumber(s_Job* job, unsigned number)
{
    if (number == 0 || number > (unsigned)DB_AREA_COUNT) {
        if (_db_tracing())
            _db_trace(0, "[error: undefined area]");
        _db_raise_error(DBE_BAD_AREA);
        return nullptr;
    }
    return _db_area_by_index(job, (int)number - 1);
}

// The area name getters: empty the buffer, look the area up, copy the text.
template <typename F>
BOOL CopyAreaText(s_Job* job, unsigned number, char* buffer, unsigned size, F text)
{
    if (buffer && size)
        buffer[0] = 0;
    if (!job)
        return FALSE;
    s_Area* area = AreaByNumber(job, number);
    if (!area)
        return FALSE;
    // A buffer of size 0 takes nothing, not even the terminating NUL.
    if (!buffer || !size) {
        _db_raise_error(DBE_BUFFER);
        return FALSE;
    }
    SafeStrCopy(buffer, text(*area), size);
    if (_db_tracing())
        _db_trace(0, "->'%s'", buffer);
    return TRUE;
}

// A field's descriptor for the getters of type, length and decimals (NULL: no such field).
const s_Field* FieldOf(s_Job* job, const char* designator)
{
    s_Area* area = _db_current_table(job);
    if (!area || !area->fields)
        return nullptr;
    const int n = _db_field_number(*area, designator);
    return n >= 1 && n <= area->fieldCount ? &area->fields[n - 1] : nullptr;
}

} // namespace

bool _db_name_area(s_Area& area, const char* file, const char* alias)
{
    SafeStrCopy(area.alias, alias ? alias : "", sizeof area.alias);
    area.databaseName = file ? file : "";
    area.fullPath = "";
    // No name: nothing to resolve (opening or creating it fails on its own).
    if (!file || !file[0])
        return true;
    // The system answers the size it needs when the path does not fit, and 0 when it cannot
    // resolve the name (a path beyond its limit): in neither case does the buffer hold the path.
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(file, sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full) {
        DebugPrintf("WRN: db: the full path of '%s' cannot be used (%lu characters, error %lu)", file,
                    (unsigned long)length, (unsigned long)GetLastError());
        return false;
    }
    CharLowerA(full);
    area.fullPath = full;
    return true;
}

extern "C" BOOL DB_CALL db_use(const char* file, unsigned flags, const char* alias, unsigned options)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbUse('%s',0x%04x,'%s',0x%04x)", file, flags, alias, options);
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    if (!file)
        return f(job->currentArea ? db_close(3) : TRUE);
    if (job->currentArea)
        db_close(3);
    s_Area* area = _db_alloc_area(job);
    if (!area) {
        _db_raise_error(DBE_MEMORY);
        return f(FALSE);
    }
    // The area guard is entered once the new area exists.
    const int guarded = area->index;
    g_AreaList.Enter(guarded);
    const unsigned code = OpenTable(job, *area, file, flags, alias, options);
    g_AreaList.Leave(guarded);
    if (code) {
        area->cache.reset();
        area->memoCache.reset();
        if (area->file != INVALID_HANDLE_VALUE) {
            CloseHandle(area->file);
            area->file = INVALID_HANDLE_VALUE;
        }
        _db_free_area(job, area->index);
        _db_raise_error(code);
        return f(FALSE);
    }
    if (job->filesOpen == 0) {
        area->cache.reset();
        CloseHandle(area->file);
        area->file = INVALID_HANDLE_VALUE;
    }
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_close(int mode)
{
    DbFrame<BOOL, RF_INT> f(DBF_GUARD | DBF_CRASH_ASK, "@DbClose(%d)", mode);
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    switch (mode) {
    case 0:
    case 1: {
        bool written = true;
        for (int i = 0; i < DB_AREA_COUNT; ++i)
            if (!_db_free_area(job, i))
                written = false;
        job->currentIndex = 0;
        job->currentArea = job->areas[0];
        return f(written);
    }
    case 2:
    case 3: {
        s_Area* area = job->currentArea;
        if (!area) {
            _db_raise_error(DBE_NO_TABLE);
            return f(FALSE);
        }
        if (mode == 3)
            return f(_db_free_area(job, job->currentIndex));
        area->order = -1;
        for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot) {
            s_Index& index = area->indexes[slot];
            if (index.name[0] && g_EngineHooks.releaseIndexSlot)
                g_EngineHooks.releaseIndexSlot(*area, slot);
            if (index.file != INVALID_HANDLE_VALUE)
                CloseHandle(index.file);
            index.file = INVALID_HANDLE_VALUE;
            index.name[0] = 0;
        }
        return f(TRUE);
    }
    default:
        return f(TRUE);
    }
}

extern "C" int DB_CALL db_get_charset(void)
{
    DbFrame<int, RF_INT> f(DBF_NONE, "@DbGetCharset()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? area->charset : -1);
}

extern "C" unsigned DB_CALL db_reccount(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbReccount()");
    s_Area* area = _db_current_table(f.Job());
    if (!area || !_db_refresh_count(*area))
        return f(0xFFFFFFFFu);
    return f((unsigned)area->recordCount);
}

extern "C" unsigned DB_CALL db_lastrec(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbLastrec()");
    if (!f.Job())
        return f(0xFFFFFFFFu);
    return f(db_reccount());
}

extern "C" unsigned DB_CALL db_recno(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbRecno()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? (unsigned)area->recno : 0u);
}

extern "C" unsigned DB_CALL db_fcount(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbFcount()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? (unsigned)area->fieldCount : 0u);
}

extern "C" BOOL DB_CALL db_bof(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbBof()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? (area->bof != 0) : TRUE);
}

extern "C" BOOL DB_CALL db_eof(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbEof()");
    s_Area* area = _db_current_table(f.Job());
    return f(area ? (area->eof != 0) : TRUE);
}

extern "C" BOOL DB_CALL db_get_fieldname(unsigned n, char* buffer, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbGetFieldname(%u,0x%08lx,%u)", n, TraceBuf{buffer}, size);
    s_Job* job = f.Job();
    // With the compatibility on, size counts the characters without the terminating NUL.
    unsigned bound = size;
    if (job && job->fieldNameCompatibility)
        bound = size + 1 > (unsigned)DB_FIELD_NAME_SIZE ? (unsigned)DB_FIELD_NAME_SIZE : size + 1;
    if (!buffer)
        bound = 0;
    if (bound)
        buffer[0] = 0;
    else if (job) {
        _db_raise_error(DBE_BUFFER);
        return f(FALSE);
    }
    s_Area* area = _db_current_table(job);
    BOOL result = FALSE;
    if (area && area->fields && n >= 1 && n <= (unsigned)area->fieldCount && bound) {
        SafeStrCopy(buffer, area->fields[n - 1].name, bound);
        result = buffer[0] != 0;
    }
    if (_db_tracing() && bound)
        _db_trace(0, "->'%s'", buffer);
    return f(result);
}

extern "C" unsigned DB_CALL db_get_type(const char* field)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbGetType(%s)", TraceField{field});
    s_Job* job = f.Job();
    unsigned result = 0;
    if (!job || _db_in_qualified_area(job, field, db_get_type, &result))
        return f(result);
    const s_Field* d = FieldOf(job, field);
    return f(d ? (unsigned)(unsigned char)d->type : 0u);
}

extern "C" unsigned DB_CALL db_get_length(const char* field)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbGetLength(%s)", TraceField{field});
    s_Job* job = f.Job();
    unsigned result = 0;
    if (!job || _db_in_qualified_area(job, field, db_get_length, &result))
        return f(result);
    const s_Field* d = FieldOf(job, field);
    return f(d ? (unsigned)d->length : 0u);
}

extern "C" int DB_CALL db_get_decimals(const char* field)
{
    DbFrame<int, RF_INT> f(DBF_NONE, "@DbGetDecimals(%s)", TraceField{field});
    s_Job* job = f.Job();
    int result = 0;
    if (!job || _db_in_qualified_area(job, field, db_get_decimals, &result))
        return f(result);
    const s_Field* d = FieldOf(job, field);
    return f(d ? (int)d->decimals : 0);
}

extern "C" BOOL DB_CALL db_get_database(unsigned area, char* buffer, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbGetDatabase(%u,0x%08lx,%u)", area, TraceBuf{buffer}, size);
    char name[256];
    return f(CopyAreaText(f.Job(), area, buffer, size, [&name](const s_Area& a) {
        SplitPath(a.databaseName, nullptr, nullptr, name, nullptr);
        return (const char*)name;
    }));
}

extern "C" BOOL DB_CALL db_get_databasepath(unsigned area, char* buffer, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbGetDatabasepath(%u,0x%08lx,%u)", area, TraceBuf{buffer}, size);
    return f(CopyAreaText(f.Job(), area, buffer, size, [](const s_Area& a) { return (const char*)a.databaseName; }));
}

extern "C" BOOL DB_CALL db_get_alias(unsigned area, char* buffer, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbGetAlias(%u,0x%08lx,%u)", area, TraceBuf{buffer}, size);
    return f(CopyAreaText(f.Job(), area, buffer, size, [](const s_Area& a) { return (const char*)a.alias; }));
}

// The area's full path in lower case (computed when the table was opened or defined). The call
// line names it as db_get_databasepath does.
extern "C" BOOL DB_CALL db_get_databaseUNC(unsigned area, char* buffer, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbGetDatabasepath(%u,0x%08lx,%u)", area, TraceBuf{buffer}, size);
    return f(CopyAreaText(f.Job(), area, buffer, size, [](const s_Area& a) { return (const char*)a.fullPath; }));
}
