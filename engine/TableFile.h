// The engine's raw file access: the retried read, the write that cuts the file on a zero count,
// reads and writes at an offset of the table file, record reads and writes (through the cipher of
// protected tables) and the opening of table and memo files.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Area.h"

// Open flags of table and memo files: write-through, random access, normal attributes. Exclusive
// tables are opened without write-through.
const DWORD DB_FILE_FLAGS = 0x90000080;
const DWORD DB_FILE_FLAGS_EXCLUSIVE = DB_FILE_FLAGS & ~(DWORD)FILE_FLAG_WRITE_THROUGH;

// ReadFile, retried up to 100 times 50 ms apart; answers the bytes read (0 after the last failure).
DWORD _xread(HANDLE file, void* buffer, DWORD count);
// One WriteFile; a count of 0 cuts the file at the current position. Answers the bytes written.
DWORD _xwrite(HANDLE file, const void* buffer, DWORD count);
// The same at an offset of the file (a count of 0 cuts the file at the offset). A read at or past
// the end of the file answers 0. pointer, when given, holds where the file pointer stands (-1: not
// known): the pointer is moved only when it stands elsewhere, and afterwards pointer holds where
// it stands then.
DWORD _xread_at(HANDLE file, void* buffer, int64_t offset, DWORD count, int64_t* pointer = nullptr);
DWORD _xwrite_at(HANDLE file, const void* buffer, int64_t offset, DWORD count, int64_t* pointer = nullptr);

// At an offset of the table file (-1: the current position); answer the bytes moved. An
// exclusive table whose files stay open answers its reads from its record cache and writes to the
// file (its header bytes through a mapped view) and then into the cache (RecordCache.h).
DWORD _db_read_at(s_Area& area, void* buffer, int64_t offset, DWORD count);
DWORD _db_write_at(s_Area& area, const void* buffer, int64_t offset, DWORD count);
// Code that moves the table file's pointer by other means than these calls says so.
void _db_pointer_moved(s_Area& area);

// The whole records the table file holds behind its header; -1 when its size is not known.
int64_t _db_records_held(const s_Area& area);

// File offset of record n.
inline int64_t _db_record_offset(const s_Area& area, int32_t n)
{
    return (int64_t)area.headerLength + (int64_t)(n - 1) * area.recordLength;
}
// Records from record n on: read (deciphered) or written (enciphered, the caller's bytes are left
// as they are). Answer the bytes moved; a write answers -1 when its scratch copy cannot be made.
DWORD _db_read_records(s_Area& area, void* buffer, int32_t n, DWORD bytes);
long _db_write_records(s_Area& area, const void* buffer, int32_t n, DWORD bytes);

// The path with an extension: the given one when the path has none (or a lone dot) or replace is
// set, else the path's own. result holds MAX_PATH bytes. FALSE when the name did not fit and
// result holds a shortened one.
bool _db_file_name_with_ext(const char* path, const char* ext, bool replace, char* result);

// Opens a table or memo file with the area's access (read-only or read/write) and share mode.
HANDLE _db_open_area_file(const s_Area& area, const char* name, DWORD creation, DWORD flags);
