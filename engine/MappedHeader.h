// The first bytes of a file opened for writing, mapped into memory: a header field is updated by
// storing into the view instead of moving the file pointer and writing. The view is a shared
// mapping of the file itself, so a store is in the file as far as every process sees it (a
// ReadFile of this or another process reads it) the moment it is made, and it stays there when
// this process ends, even when it is killed: it is as durable as a WriteFile without
// write-through.
//
// A file cannot be cut while a view of it exists, and a view keeps the file open (and its share
// mode in force) after its handle was closed: the holder unmaps before it cuts or closes the file.
// Unmapping flushes the view when anything was stored into it.
// The mapped length never exceeds the file's size, so that mapping never lengthens the file.
#pragma once

#include <windows.h>

#include <cstdint>

class MappedHeader {
public:
    MappedHeader() = default;
    MappedHeader(const MappedHeader&) = delete;
    MappedHeader& operator=(const MappedHeader&) = delete;
    ~MappedHeader() { Unmap(); }

    // Maps the file's first bytes (at most length, and no more than the file holds). False when
    // the file cannot be mapped; the caller then writes through the file.
    bool Map(HANDLE file, DWORD length);
    void Unmap();
    bool Mapped() const { return m_view != nullptr; }

    // Stores count bytes at offset into the view; false (nothing stored) when they do not lie
    // within it.
    bool Store(int64_t offset, const void* data, DWORD count);

private:
    HANDLE m_mapping = nullptr;
    uint8_t* m_view = nullptr;
    DWORD m_length = 0;
    bool m_stored = false;  // something was stored since the view was made
};
