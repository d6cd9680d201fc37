// Raw file access of the engine.
#include "TableFile.h"

#include <cstring>
#include <memory>
#include <new>

#include "DbfFormat.h"
#include "EngineHooks.h"
#include "Job.h"
#include "PathHelpers.h"
#include "String.h"


namespace {

const int kReadAttempts = 100;
const DWORD kReadRetryMs = 50;

// Moves the file pointer to the offset (none: < 0). pointer, when given, is where the pointer is
// known to stand (-1: not known): at the offset already, it is not moved.
bool Seek(HANDLE file, int64_t offset, const int64_t* pointer = nullptr)
{
    if (offset < 0 || (pointer && *pointer == offset))
        return true;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

// After a transfer at the offset: the pointer stands behind the bytes moved, or is not known.
void Moved(int64_t* pointer, bool ok, int64_t offset, DWORD count)
{
    if (pointer)
        *pointer = ok && offset >= 0 ? offset + count : -1;
}

// Position and size of a file for the warning texts.
void Describe(HANDLE file, int* position, int* size)
{
    LARGE_INTEGER zero{}, pos{}, total{};
    SetFilePointerEx(file, zero, &pos, FILE_CURRENT);
    GetFileSizeEx(file, &total);
    *position = (int)pos.QuadPart;
    *size = (int)total.QuadPart;
}

// One ReadFile, at the offset when one is given (>= 0). The offset is reached by moving the file
// pointer first: under Wine a positioned ReadFile / WriteFile (an OVERLAPPED offset) costs a
// request to the Wine server besides the read or write and a seek, where moving the pointer is a
// single seek.
BOOL ReadOnce(HANDLE file, void* buffer, int64_t offset, DWORD count, DWORD* read, int64_t* pointer)
{
    *read = 0;
    const BOOL ok = Seek(file, offset, pointer) && ReadFile(file, buffer, count, read, nullptr);
    Moved(pointer, ok, offset, *read);
    return ok;
}

// The read, retried up to 100 times 50 ms apart; the warnings name the offset read from (at a
// positioned read its offset, else the file pointer's).
DWORD ReadRetried(HANDLE file, void* buffer, int64_t offset, DWORD count, int64_t* pointer = nullptr)
{
    for (int attempt = 1;; ++attempt) {
        DWORD read = 0;
        if (ReadOnce(file, buffer, offset, count, &read, pointer))
            return read;
        DWORD code = GetLastError();
        int position = 0, size = 0;
        Describe(file, &position, &size);
        if (offset >= 0)
            position = (int)offset;
        String text = String::SystemErrorText(code, 0);
        if (attempt >= kReadAttempts) {
            _db_warn("_xread(%08x, offset %d, count=%d, size=%d): GetLastError()=%s", (unsigned)(uintptr_t)file,
                     position, (int)count, size, (const char*)text);
            return 0;
        }
        _db_warn("_xread[fail, but retry](%08x, offset %d, count=%d, size=%d): GetLastError()=%s",
                 (unsigned)(uintptr_t)file, position, (int)count, size, (const char*)text);
        Sleep(kReadRetryMs);
    }
}

// One WriteFile, at the offset when one is given (>= 0).
DWORD WriteOnce(HANDLE file, const void* buffer, int64_t offset, DWORD count, int64_t* pointer = nullptr)
{
    DWORD written = 0;
    const BOOL ok = Seek(file, offset, pointer) && WriteFile(file, buffer, count, &written, nullptr);
    Moved(pointer, ok, offset, written);
    if (ok)
        return written;
    DWORD code = GetLastError();
    int position = 0, size = 0;
    Describe(file, &position, &size);
    if (offset >= 0)
        position = (int)offset;
    _db_warn("_xwrite(0x%08x, offset %d, count=%d, size=%d): GetLastError()=%s", (unsigned)(uintptr_t)file, position,
             (int)count, size, (const char*)String::SystemErrorText(code, 0));
    return 0;
}

} // namespace

DWORD _xread(HANDLE file, void* buffer, DWORD count) { return ReadRetried(file, buffer, -1, count); }

DWORD _xread_at(HANDLE file, void* buffer, int64_t offset, DWORD count, int64_t* pointer)
{
    return ReadRetried(file, buffer, offset < 0 ? 0 : offset, count, pointer);
}

DWORD _xwrite(HANDLE file, const void* buffer, DWORD count)
{
    if (count == 0) {
        SetEndOfFile(file);
        return 0;
    }
    return WriteOnce(file, buffer, -1, count);
}

DWORD _xwrite_at(HANDLE file, const void* buffer, int64_t offset, DWORD count, int64_t* pointer)
{
    if (count == 0) {
        // Cutting the file: at the offset, through the file pointer.
        const bool moved = Seek(file, offset, pointer);
        Moved(pointer, moved, offset, 0);
        if (moved)
            SetEndOfFile(file);
        return 0;
    }
    return WriteOnce(file, buffer, offset < 0 ? 0 : offset, count, pointer);
}

namespace {

// The area's own knowledge of its table file (RecordCache), made on the first read or write of an
// exclusive, not packed table while the job keeps its files open. (Files closed between calls are
// opened again for every call, and another process may have written them in between.)
RecordCache* TableCache(s_Area& area)
{
    if (!area.cache && area.exclusive && !area.packed && area.job && area.job->filesOpen > 0 &&
        area.file != INVALID_HANDLE_VALUE)
        area.cache.reset(new (std::nothrow) RecordCache(dbf::kHeaderSize));
    return area.cache.get();
}

} // namespace

DWORD _db_read_at(s_Area& area, void* buffer, int64_t offset, DWORD count)
{
    if (offset < 0) {
        _db_pointer_moved(area);
        return _xread(area.file, buffer, count);
    }
    if (area.cache)
        return area.cache->Read(area.file, buffer, offset, count);
    return _xread_at(area.file, buffer, offset, count);
}

DWORD _db_write_at(s_Area& area, const void* buffer, int64_t offset, DWORD count)
{
    if (offset < 0 || count == 0) {
        // A cut, or a write where the file pointer stands: nothing cached stays, and the header's
        // view goes before the file is cut.
        if (area.cache)
            area.cache->Clear();
        return offset < 0 ? _xwrite(area.file, buffer, count) : _xwrite_at(area.file, buffer, offset, 0);
    }
    if (RecordCache* cache = TableCache(area))
        return cache->Write(area.file, buffer, offset, count);
    return _xwrite_at(area.file, buffer, offset, count);
}

void _db_pointer_moved(s_Area& area)
{
    if (area.cache)
        area.cache->ForgetPointer();
}

DWORD _db_read_records(s_Area& area, void* buffer, int32_t n, DWORD bytes)
{
    const int64_t position = _db_record_offset(area, n);
    DWORD read;
    if (area.packed && g_EngineHooks.readPacked)
        read = g_EngineHooks.readPacked(area, position, buffer, bytes);
    else {
        // An exclusive table whose file stays open between calls keeps the records it read:
        // nobody else can change the file meanwhile.
        TableCache(area);
        read = _db_read_at(area, buffer, position, bytes);
    }
    if (read && area.IsEncrypted() && g_EngineHooks.decryptBuffer)
        g_EngineHooks.decryptBuffer(area, (int32_t)position, buffer, read);
    return read;
}

long _db_write_records(s_Area& area, const void* buffer, int32_t n, DWORD bytes)
{
    const int64_t position = _db_record_offset(area, n);
    if (!area.IsEncrypted() || !g_EngineHooks.encryptBuffer)
        return (long)_db_write_at(area, buffer, position, bytes);
    char scratch[4096];
    std::unique_ptr<char[]> large;
    char* copy = scratch;
    if (bytes > sizeof scratch) {
        large.reset(new (std::nothrow) char[bytes]);
        if (!large)
            return -1;
        copy = large.get();
    }
    std::memcpy(copy, buffer, bytes);
    g_EngineHooks.encryptBuffer(area, (int32_t)position, copy, bytes);
    return (long)_db_write_at(area, copy, position, bytes);
}

bool _db_file_name_with_ext(const char* path, const char* ext, bool replace, char* result)
{
    char drive[256], dir[256], name[256], own[256];
    SplitPath(path, drive, dir, name, own);
    const bool none = own[0] == 0 || (own[0] == '.' && own[1] == 0);
    char joined[4 * 256 + 8];
    MakePath(joined, drive, dir, name, (none || replace) ? ext : own);
    SafeStrCopy(result, joined, MAX_PATH);
    // Every part was taken whole (each holds at most 255 characters) and the result fits.
    const size_t parts = std::strlen(drive) + std::strlen(dir) + std::strlen(name) + std::strlen(own);
    return parts == std::strlen(path ? path : "") && std::strlen(joined) < MAX_PATH;
}

int64_t _db_records_held(const s_Area& area)
{
    LARGE_INTEGER size{};
    if (area.file == INVALID_HANDLE_VALUE || area.recordLength <= 0 || !GetFileSizeEx(area.file, &size))
        return -1;
    if (size.QuadPart <= area.headerLength)
        return 0;
    return (size.QuadPart - area.headerLength) / area.recordLength;
}

HANDLE _db_open_area_file(const s_Area& area, const char* name, DWORD creation, DWORD flags)
{
    const DWORD access = area.readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    return CreateFileA(name, access, area.shareMode, nullptr, creation, flags, nullptr);
}
