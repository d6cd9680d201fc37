// db_debuginfo: readable dumps of the global settings, of work areas and of the relation tree,
// written line by line through the utility library's debug output.
#include <windows.h>

#include <cstring>

#include "Area.h"
#include "DbfFormat.h"
#include "EngineHooks.h"
#include "Job.h"
#include "TableFile.h"
#include "vlUT11.h"

namespace {

// String resources 10020 + n: the text of date format n.
const UINT kDateFormatText = 10020;
const int kDateFormatChars = 60;
// Texts of 57 characters or more are shown as their first 30, "..." and their last 27.
const size_t kShortenFrom = 57;
const size_t kShortHead = 30;
const size_t kShortTail = 27;

const char* Bool(int v) { return v ? "TRUE" : "FALSE"; }

// The dump's form of a long name or expression (into out, 61 bytes).
const char* Shortened(const char* text, char* out)
{
    const size_t n = std::strlen(text);
    if (n < kShortenFrom)
        return text;
    std::memcpy(out, text, kShortHead);
    std::memcpy(out + kShortHead, "...", 3);
    std::memcpy(out + kShortHead + 3, text + n - kShortTail, kShortTail);
    out[kShortHead + 3 + kShortTail] = 0;
    return out;
}

const char* TypeName(int type)
{
    switch (type) {
    case 0: return "dBase 3+";
    case 1: return "dBase 4";
    case 3: return "Clipper Summer '87";
    case 4: return "Clipper 5";
    default: return "unknown";
    }
}

const char* CharsetName(int charset)
{
    switch (charset) {
    case 0x00: return "International";
    case 0x10: return "US ASCII";
    case 0x20: return "ANSI";
    default: return "unknown";
    }
}

const char* SortOrderName(int order)
{
    switch (order) {
    case 0: return "ASCII";
    case 1: return "German Replace";
    case 2: return "German Table";
    case 3: return "German Alternate Table";
    default: return "unknown";
    }
}

const char* PackedName(int packed, const s_PackedReader* reader)
{
    if (!packed)
        return "no";
    const int method = g_EngineHooks.packedMethod ? g_EngineHooks.packedMethod(reader) : 0;
    return method ? "Mode 1" : "Mode 0";
}

// The record count from its source without raising errors (the dump runs outside any call).
long CountOf(s_Area& area)
{
    if (area.file == INVALID_HANDLE_VALUE)
        return area.recordCount;
    if (area.countSource == 1) {
        uint8_t bytes[4];
        DWORD read = 0;
        LARGE_INTEGER at;
        at.QuadPart = dbf::kRecordCount;
        const bool ok = SetFilePointerEx(area.file, at, nullptr, FILE_BEGIN) &&
                        ReadFile(area.file, bytes, 4, &read, nullptr) && read == 4;
        _db_pointer_moved(area);
        if (ok)
            return (long)dbf::Get32(bytes);
        return area.recordCount;
    }
    LARGE_INTEGER size{};
    GetFileSizeEx(area.file, &size);
    return (long)((size.QuadPart - area.headerLength) / (area.recordLength ? area.recordLength : 1));
}

void DumpIndex(const s_Index& index, int slot)
{
    char s[64];
    const uint16_t signature = dbf::Get16(index.header);
    const bool unique = signature == 0x0106 || dbf::Get16(index.header + 278) != 0;
    char expression[257] = {};
    std::memcpy(expression, index.header + 22, 256);
    UtilDebug(" -Index %2d    = %s\n", slot + 1, Shortened(index.name, s));
    UtilDebug("  Type         = %c\n", index.keyType ? index.keyType : ' ');
    UtilDebug("  Packed       = %s\n", PackedName(index.packed, index.packedReader));
    UtilDebug("  Pagesize     = %d Bytes\n", index.pageSize);
    UtilDebug("  Expression   = %s\n", Shortened(expression, s));
    UtilDebug("  Unique       = %s\n", Bool(unique));
    UtilDebug("  LockedCount  = %d\n", index.lockCount);
    UtilDebug("  Phonetic     = %s\n", Bool(index.phonetic));
}

void DumpArea(s_Area& area)
{
    char s[64];
    UtilDebug(" Area           = %d\n", area.index + 1);
    UtilDebug(" Alias          = %s\n", area.alias);
    UtilDebug(" Database       = %s\n", Shortened(area.databaseName, s));
    UtilDebug(" DatabaseType   = %s\n", TypeName(area.databaseType));
    UtilDebug(" Packed         = %s\n", PackedName(area.packed, area.packedReader));
    UtilDebug(" Charset        = %s\n", CharsetName(area.charset));
    UtilDebug(" SortOrder      = %s\n", SortOrderName(area.sortOrder));
    UtilDebug(" CloseOnSelect  = %s\n", Bool(area.closeOnSelect));
    UtilDebug(" ShareMode      = %s\n",
              area.shareMode == 0 ? "Exclusive" : (area.shareMode == (FILE_SHARE_READ | FILE_SHARE_WRITE) ? "Shared" : "unknown"));
    UtilDebug(" ReadOnly       = %s\n", Bool(area.readOnly));
    UtilDebug(" DateOfChange   = %02d-%02d-%04d\n", area.header[2], area.header[3], 1900 + area.header[1]);
    UtilDebug(" PasswordExists = %s\n", Bool(area.scramblerKey[0] != 0));
    UtilDebug(area.relations ? " Relations      = Defined\n" : " Relations      = None\n");
    if (area.recno == DB_EOF_RECNO)
        UtilDebug(" CurrentRecord  = EOF\n");
    else
        UtilDebug(" CurrentRecord  = %lu\n", (unsigned long)area.recno);
    UtilDebug(" NrOfRecords    = %lu\n", (unsigned long)CountOf(area));
    UtilDebug(" EOF            = %s\n", Bool(area.eof));
    UtilDebug(" BOF            = %s\n", Bool(area.bof));
    UtilDebug(" BufferValid    = %s\n", Bool(area.bufferValid));
    if (area.bufferValid)
        UtilDebug(" BufferRecord   = %lu\n", (unsigned long)area.recno);
    UtilDebug(" BufferCopyValid= %s\n", Bool(area.beforeImageValid));
    UtilDebug(" BufferChanged  = %s\n", Bool(area.changed));
    UtilDebug(" RecordDeleted  = %s\n", Bool(area.deleted));
    if (area.memoName[0]) {
        UtilDebug(" -Memofile      = %s\n", Shortened(area.memoName, s));
        UtilDebug("  BlockSize     = %d Bytes\n", (int)area.MemoBlockSize());
    } else
        UtilDebug(" -Memofile      = None\n");
    if (area.order < 0)
        UtilDebug(" -CurrentIndex  = None\n");
    else
        UtilDebug(" -CurrentIndex  = %d\n", area.order + 1);
    for (int slot = 0; slot < DB_INDEX_SLOTS; ++slot)
        if (area.indexes[slot].name[0])
            DumpIndex(area.indexes[slot], slot);
}

void DumpCurrentArea(s_Job* job)
{
    UtilDebug("Local settings of area #%d\n", job ? job->currentIndex + 1 : 0);
    UtilDebug("--------------\n");
    if (!job || !job->currentArea)
        UtilDebug(" -- no valid area --\n");
    else
        DumpArea(*job->currentArea);
}

void DumpGlobal(s_Job* job)
{
    char dateFormat[kDateFormatChars + 1] = {};
    // The texts of the date formats belong to the value conversions; without them the line stays empty.
    if (LoadStringA(g_EngineModule, kDateFormatText + (UINT)job->dateFormat, dateFormat, sizeof dateFormat) <= 0)
        dateFormat[0] = 0;
    UtilDebug("Global settings:\n");
    UtilDebug("----------------\n");
    UtilDebug(" TABSTOR Version %d.%03d\n", DB_VERSION_MAJOR, DB_VERSION_MINOR);
    UtilDebug(" Exclusive      = %s\n", Bool(job->exclusive));
    UtilDebug(" DateFormat     = %s\n", dateFormat);
    UtilDebug(" Enable Deleted = %s\n", Bool(job->deleted));
    UtilDebug(" Exact          = %s\n", Bool(job->exact));
    UtilDebug(" FilesOpen      = %s\n", Bool(job->filesOpen > 0));
    UtilDebug(" Decimals       = %d\n", job->decimals);
    UtilDebug(" CurrentError   = %d\n", (int)job->currentError);
    if (job->errorCallback)
        UtilDebug(" ErrorCallback  = 0x%08lx\n", (unsigned long)(uintptr_t)job->errorCallback);
    else
        UtilDebug(" ErrorCallback  = None\n");
    if (job->positionCallback)
        UtilDebug(" Pos.Callback   = 0x%08lx\n", (unsigned long)(uintptr_t)job->positionCallback);
    else
        UtilDebug(" Pos.Callback   = None\n");
    if (job->errorVariable)
        UtilDebug(" ErrorVariable  = 0x%08lx\n", (unsigned long)(uintptr_t)job->errorVariable);
    else
        UtilDebug(" ErrorVariable  = None\n");
}

} // namespace

extern "C" void DB_CALL db_debuginfo(int what)
{
    UtilDebug("\n");
    UtilDebug("-------------------------------------------------------------------------------\n");
    switch (what) {
    case 0: {
        s_Job* job = _db_get_job();
        if (!job)
            return;
        DumpGlobal(job);
        DumpCurrentArea(job);
        return;
    }
    case 1:
        DumpCurrentArea(g_Job);
        return;
    case 2:
        if (!g_Job)
            return;
        for (s_Area* area : g_Job->areas)
            if (area) {
                DumpArea(*area);
                UtilDebug("-----------------\n");
            }
        return;
    case 3: {
        UtilDebug("Relation tree:\n");
        UtilDebug("--------------\n");
        s_Area* area = g_Job ? g_Job->currentArea : nullptr;
        if (!area)
            UtilDebug(" -- no valid area --\n");
        else if (!area->relations || !g_EngineHooks.dumpRelations)
            UtilDebug("No relation(s) defined\n");
        else
            g_EngineHooks.dumpRelations(*area);
        return;
    }
    default:
        return;
    }
}
