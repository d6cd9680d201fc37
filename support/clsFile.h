// A Windows file handle with the library's small open codes, the reason of a failed open (a
// coarse class and the system's text), size, position and reading, a list of locked byte ranges
// that the object releases itself, and deletion on close.
//
// States: closed --Open succeeds--> open and owned --Close/destruction--> closed.
//         A handle wrapped by clsFile(HANDLE) is open but not owned: closing only forgets it.
//         Open on an open object closes it first.
//
// Codes of Open:
//   access       0 read, 1 write, 2 read and write, other: no access
//   disposition  0 open an existing file, 1 open or create, 2 create or truncate, other: 0 passed
//   share        0 and 1 exclusive, 2 read, 3 read and write, other: 0 passed
//   flags        0x1 write-through, 0x2 sequential scan, 0x4 delete on close (Close also deletes
//                the file by name), 0x8 random access, 0x100 normal, 0x200 hidden, 0x400 read-only,
//                0x800 temporary
#pragma once

#include <windows.h>

#include "String.h"

class clsFile {
public:
    enum ErrorClass { kNoError = 0, kPathNotFound = 1, kInUse = 2, kAlreadyExists = 3, kAccessDenied = 4, kOther = 5 };
    enum OpenFlags : DWORD {
        kWriteThrough = 0x1,
        kSequentialScan = 0x2,
        kDeleteOnClose = 0x4,
        kRandomAccess = 0x8,
        kNormal = 0x100,
        kHidden = 0x200,
        kReadOnly = 0x400,
        kTemporary = 0x800,
    };
    // A locked byte range.
    struct Region {
        DWORD offset;
        DWORD length;
        Region* next;
        Region* prev;
    };

    clsFile();
    clsFile(const char* name, int access, int disposition, int share, DWORD flags);
    // Wraps a handle the object does not own (it never closes it).
    explicit clsFile(HANDLE handle);
    virtual ~clsFile();
    clsFile(const clsFile&) = delete;
    clsFile& operator=(const clsFile&) = delete;

    // 0 on success; -1 with the error class and text set.
    int Open(const char* name, int access, int disposition, int share, DWORD flags);
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Close();

    // Size (low 32 bits), new position from the start, current position: (DWORD)-1 on failure or
    // without a file.
    DWORD GetSize();
    DWORD Seek(DWORD offset);
    DWORD Tell();
    // Bytes read, -1 on failure or without a file.
    long Read(void* buffer, DWORD count);

    // Locks a byte range and keeps it in the list; NULL when the lock fails.
    Region* Lock(DWORD offset, DWORD length);
    // Releases one locked range and forgets it; NULL does nothing.
    void Unlock(Region* region);
    // One line "File '<name>': <text>" on the debug-output channel.
    void ReportError(const char* text);

    int GetErrorClass() const { return m_errorClass; }
    const String& GetErrorText() const { return m_errorText; }
    const String& GetName() const { return m_name; }
    HANDLE GetHandle() const { return m_handle; }
    bool OwnsHandle() const { return m_ownsHandle; }
    int LockedRegionCount() const;

    // The error class of a system error code.
    static int ErrorClassOf(DWORD code);
    // The CreateFileA flags and attributes of the library's flags word.
    static DWORD CreateFlagsOf(DWORD flags);

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    String m_name;
    DWORD m_flags = 0;
    int m_errorClass = kNoError;
    String m_errorText;
    bool m_ownsHandle = false;
    Region* m_head = nullptr;
    Region* m_tail = nullptr;
};
