// Creation of a new table: db_define_begin announces the file and the number of fields,
// db_define_field describes one field after the other, db_define_end writes the DBF file (and
// the DBT file when the table has memo fields) and leaves the new, empty table open in the
// current area. The file layouts are described in DbfFormat.h.
#include <windows.h>

#include <cstring>
#include <new>
#include <vector>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "EngineHooks.h"
#include "FieldAccess.h"
#include "Memo.h"
#include "PathHelpers.h"
#include "RecordWrite.h"
#include "TableFile.h"
#include "TableOpen.h"
#include "WorkAreas.h"

namespace {

const unsigned kOptionProtected = 0x2000;
const unsigned kMaxFieldLength = 255;
const unsigned kMaxNumericLength = 19;
// The most fields whose descriptors and terminator a 16-bit header length can describe.
const unsigned kMaxFields = (dbf::kMaxLength - 2) / dbf::kDescriptorSize - 1;

// The end mark behind the announced descriptors.
const char kEndMark = (char)0xFF;

// Upper case of one character as the system's character tables have it.
char UpperChar(char c)
{
    char text[2] = {c, 0};
    CharUpperA(text);
    return text[0];
}

// Length and decimals of a field as the definition stores them.
void FieldSize(char type, unsigned length, unsigned decimals, uint8_t* storedLength, uint8_t* storedDecimals)
{
    switch (type) {
    case 'D': *storedLength = 8; *storedDecimals = 0; return;
    case 'L': *storedLength = 1; *storedDecimals = 0; return;
    case 'M': *storedLength = 10; *storedDecimals = 0; return;
    case 'N':
    case 'F': {
        unsigned n = length < 1 ? 1 : (length > kMaxNumericLength ? kMaxNumericLength : length);
        long long most = (long long)n - 2;
        *storedLength = (uint8_t)n;
        *storedDecimals = (uint8_t)((long long)decimals <= most ? decimals : (most < 0 ? 0 : most));
        return;
    }
    default:
        *storedLength = (uint8_t)(length > kMaxFieldLength ? kMaxFieldLength : length);
        *storedDecimals = 0;
        return;
    }
}

// The field types the engine reads and writes.
bool KnownType(char type)
{
    return type == 'C' || type == 'N' || type == 'F' || type == 'D' || type == 'L' || type == 'M';
}

// A field name every reader takes: a letter, then letters, digits and underscores.
bool NameAccepted(const char* name)
{
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!letter(name[0]))
        return false;
    for (const char* p = name + 1; *p; ++p)
        if (!letter(*p) && !(*p >= '0' && *p <= '9') && *p != '_')
            return false;
    return true;
}

uint8_t CharsetMark(int charset)
{
    switch (charset) {
    case 0x00: return dbf::kMarkInternational;
    case 0x10: return dbf::kMarkUsAscii;
    case 0x20: return dbf::kMarkAnsi;
    default: return 0;
    }
}

// Flushes a file of a shared table when the area asks for it.
void FlushShared(const s_Area& area, HANDLE file)
{
    if (area.flush && !area.exclusive)
        FlushFileBuffers(file);
}

// Ends a failed definition: the area is freed, the slot emptied, the error raised.
BOOL Fail(s_Job* job, s_Area* area, HANDLE table, unsigned code)
{
    if (table != INVALID_HANDLE_VALUE)
        CloseHandle(table);
    _db_free_area(job, area->index);
    _db_raise_error(code);
    return FALSE;
}

// Creates the memo file of a new table and writes its header; the handle stays in the area.
unsigned CreateMemo(s_Job* job, s_Area* area)
{
    if (!_db_file_name_with_ext(area->databaseName, "dbt", true, area->memoName)) {
        area->memoName[0] = 0;
        return DBE_MEMO_OPEN;
    }
    const DWORD flags = area->exclusive ? DB_FILE_FLAGS_EXCLUSIVE : DB_FILE_FLAGS;
    HANDLE memo = CreateFileA(area->memoName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, flags, nullptr);
    if (memo == INVALID_HANDLE_VALUE)
        return DBE_MEMO_OPEN;
    std::vector<uint8_t> block0(dbf::kMemoBlockSize, 0);
    _db_new_memo_header(area->memoName, block0.data());
    DWORD written = _xwrite(memo, block0.data(), (DWORD)block0.size());
    if (written != block0.size()) {
        CloseHandle(memo);
        return DBE_MEMO_WRITE;
    }
    std::memcpy(area->memoHeader, block0.data(), dbf::kMemoHeaderSize);
    FlushShared(*area, memo);
    if (job->filesOpen == 0)
        CloseHandle(memo);
    else
        area->memoFile = memo;
    return 0;
}

} // namespace

extern "C" BOOL DB_CALL db_define_begin(const char* file, int exclusive, const char* alias, unsigned options,
                                        unsigned fieldCount)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbDefineBegin('%s',%d,'%s',%d,0x%04x)", file, exclusive, alias, options,
                            fieldCount);
    s_Job* job = f.Job();
    if (!job)
        return f(FALSE);
    if (fieldCount > kMaxFields) {
        _db_raise_error(DBE_TOO_MANY_FIELDS);
        return f(FALSE);
    }
    if (job->currentArea)
        db_close(3);
    s_Area* area = _db_alloc_area(job);
    if (!area)
        return f(FALSE);

    area->countSource = 1;
    area->sortOrder = 0;
    area->flush = !(options & 0x4000);
    area->closeOnSelect = (options & 0x8000) != 0;
    area->charset = (int)(options & 0x70);
    area->protectedTable = (options & kOptionProtected) != 0;
    if (!_db_name_area(*area, file, alias)) {
        _db_free_area(job, area->index);
        _db_raise_error(DBE_OPEN);
        return f(FALSE);
    }
    const bool exclusiveTable = exclusive || job->exclusive;
    area->shareMode = exclusiveTable ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    area->exclusive = exclusiveTable;
    area->databaseType = (int)(options & 0x0F);
    area->packed = 0;

    area->fieldCount = (int)fieldCount;
    area->fields.reset(new (std::nothrow) s_Field[(size_t)fieldCount + 1]);
    if (!area->fields) {
        _db_free_area(job, area->index);
        return f(FALSE);
    }
    for (size_t i = 0; i <= fieldCount; ++i)
        area->fields[i] = s_Field{{}, 'C', 0, 0, 0};
    area->fields[fieldCount].name[0] = kEndMark;
    area->defining = 1;
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_define_field(const char* name, char type, unsigned length, unsigned decimals)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbDefineField('%s','%c',%u,%u)", name, type, length, decimals);
    s_Job* job = f.Job();
    if (!job || !job->currentArea)
        return f(FALSE);
    s_Area* area = job->currentArea;
    if (!area->defining) {
        // An open table takes no further fields.
        _db_raise_error(DBE_TOO_MANY_FIELDS);
        return f(FALSE);
    }
    int i = 0;
    unsigned sum = 0;
    for (; i < area->fieldCount && area->fields[i].name[0]; ++i)
        sum += area->fields[i].length;
    if (i == area->fieldCount) {
        area->recordLength = (int)(1 + sum);
        _db_raise_error(DBE_TOO_MANY_FIELDS);
        return f(FALSE);
    }
    // What neither this engine nor other readers could use is refused; the place stays free.
    s_Field candidate{};
    SafeStrCopy(candidate.name, name ? name : "", sizeof candidate.name);
    CharUpperA(candidate.name);
    candidate.type = UpperChar(type);
    FieldSize(candidate.type, length, decimals, &candidate.length, &candidate.decimals);
    bool accepted = NameAccepted(candidate.name) && KnownType(candidate.type) && candidate.length > 0;
    for (int j = 0; accepted && j < i; ++j)
        accepted = StrCompareNoCase(area->fields[j].name, candidate.name) != 0;
    if (!accepted) {
        _db_raise_error(DBE_FORMAT);
        return f(FALSE);
    }
    s_Field& field = area->fields[i];
    field = candidate;
    field.offset = (uint16_t)sum;
    area->recordLength = (int)(1 + sum + field.length);
    return f(TRUE);
}

extern "C" BOOL DB_CALL db_define_end(void)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbDefineEnd()");
    s_Job* job = f.Job();
    if (!job || !job->currentArea)
        return f(FALSE);
    s_Area* area = job->currentArea;
    if (!area->defining) {
        // The area holds an open table: creating its file anew would destroy it.
        _db_raise_error(DBE_INTERNAL);
        return f(FALSE);
    }

    // The descriptors: all announced ones defined, memo fields, record length.
    bool memo = false;
    unsigned recordLength = 1;
    for (int i = 0; i < area->fieldCount; ++i) {
        if (!area->fields[i].name[0])
            return f(Fail(job, area, INVALID_HANDLE_VALUE, DBE_TOO_FEW_FIELDS));
        memo = memo || area->fields[i].type == 'M';
        recordLength += area->fields[i].length;
    }
    const unsigned headerLength = dbf::kHeaderSize * ((unsigned)area->fieldCount + 1) + 2;
    // Both lengths are 16-bit header fields: a larger table cannot be described.
    if (recordLength > dbf::kMaxLength || headerLength > dbf::kMaxLength)
        return f(Fail(job, area, INVALID_HANDLE_VALUE, DBE_INTERNAL));
    area->recordLength = (int)recordLength;
    area->headerLength = (int)headerLength;
    area->record.reset(new (std::nothrow) char[recordLength]);
    area->beforeImage.reset(new (std::nothrow) char[recordLength]);
    if (!area->record || !area->beforeImage)
        return f(Fail(job, area, INVALID_HANDLE_VALUE, DBE_MEMORY));

    // A table whose memo file could not be named is not created at all.
    char memoName[MAX_PATH];
    if (memo && !_db_file_name_with_ext(area->databaseName, "dbt", true, memoName))
        return f(Fail(job, area, INVALID_HANDLE_VALUE, DBE_MEMO_OPEN));

    HANDLE table = CreateFileA(area->databaseName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               DB_FILE_FLAGS, nullptr);
    if (table == INVALID_HANDLE_VALUE)
        return f(Fail(job, area, INVALID_HANDLE_VALUE, DBE_OPEN));

    std::vector<uint8_t> header(headerLength, 0);
    area->header[0] = (uint8_t)(dbf::kVersionDbase3 | (memo ? dbf::kMemoBit : 0) |
                                (area->protectedTable ? dbf::kProtectedBit : 0));
    _db_today_date(area->header + 1);
    header[dbf::kVersion] = area->header[0];
    std::memcpy(&header[dbf::kDate], area->header + 1, 3);
    dbf::Put32(&header[dbf::kRecordCount], 0);
    dbf::Put16(&header[dbf::kHeaderLength], (uint16_t)headerLength);
    dbf::Put16(&header[dbf::kRecordLength], (uint16_t)recordLength);
    header[dbf::kCharsetMark] = CharsetMark(area->charset);

    if (area->protectedTable) {
        // The password creation sets the table's key; a cancelled creation (or an engine without
        // table encryption) leaves no table behind.
        uint8_t check[dbf::kCheckBlockSize];
        if (!g_EngineHooks.createTablePassword || !g_EngineHooks.createTablePassword(*area, check)) {
            CloseHandle(table);
            DeleteFileA(area->databaseName);
            return f(Fail(job, area, INVALID_HANDLE_VALUE, DBE_OPEN));
        }
        std::memcpy(&header[dbf::kCheckBlock], check, sizeof check);
    }

    area->fieldNames.clear();
    for (int i = 0; i < area->fieldCount; ++i) {
        const s_Field& field = area->fields[i];
        uint8_t* d = &header[dbf::kHeaderSize + dbf::kDescriptorSize * (unsigned)i];
        std::memcpy(d + dbf::kFieldName, field.name, sizeof field.name);
        d[dbf::kFieldType] = (uint8_t)field.type;
        d[dbf::kFieldLength] = field.length;
        d[dbf::kFieldDecimals] = field.decimals;
        area->fieldNames.emplace(field.name, i + 1);
    }
    std::memcpy(&header[headerLength - 2], dbf::kTerminator, 2);

    if (_xwrite(table, header.data(), headerLength) != headerLength)
        return f(Fail(job, area, table, DBE_WRITE));
    FlushShared(*area, table);
    CloseHandle(table);

    area->defining = 0;
    area->bufferValid = 0;
    area->bof = area->eof = 1;
    area->found = 0;
    area->filterProc = nullptr;
    area->recno = DB_EOF_RECNO;
    area->recordCount = -1;
    _db_blank_buffer(*area);
    area->bufferValid = 0;
    area->lockBits = 0;
    area->lockedRecord = -1;
    area->order = -1;

    if (memo) {
        unsigned code = CreateMemo(job, area);
        if (code)
            return f(Fail(job, area, INVALID_HANDLE_VALUE, code));
    }
    if (job->filesOpen > 0) {
        area->file = _db_open_area_file(*area, area->databaseName, OPEN_EXISTING,
                                        area->exclusive ? DB_FILE_FLAGS_EXCLUSIVE : DB_FILE_FLAGS);
        if (area->file == INVALID_HANDLE_VALUE)
            return f(Fail(job, area, INVALID_HANDLE_VALUE, DBE_OPEN));
    }
    return f(TRUE);
}
