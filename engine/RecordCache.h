// What an exclusive area knows of one of its files (the table file or the memo file), so that its
// reads and writes cost no system call that the work does not need. Nobody else can change a
// file opened without sharing, and every read and write of the area's file passes through here
// while the cache exists:
// - the file's bytes kept in memory, so that reading a record again (a seek landing on it, a walk
//   through the table) costs no system call; every write reaches the file first and then the
//   cache, which holds exactly the file's bytes (enciphered as on the file);
// - where the file pointer stands, so that a write or read at that place (the next record of an
//   append, the next memo block) needs no move of the pointer first. Whoever moves the pointer
//   otherwise calls ForgetPointer();
// - the file's header bytes mapped into memory (MappedHeader): a write that lies within the
//   first headerBytes (the change date and record count, the memo file's next-free block) is a
//   store into the view, durable as a write, without a system call. The view goes before anything
//   cuts or closes the file (Clear(), or the cache's end).
//
// The file is cached in blocks of kBlockSize bytes, loaded whole when first read. A block holds
// the bytes of the file from its start up to its valid length; only the block at the end of the
// file is shorter than kBlockSize. When the cache would grow beyond kMaxBytes it starts again
// empty.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "MappedHeader.h"

class RecordCache {
public:
    static const DWORD kBlockSize = 64 * 1024;
    static const size_t kMaxBytes = 64u * 1024 * 1024;

    // headerBytes: the length of the file's start that writes reach through a mapped view (0:
    // none).
    explicit RecordCache(DWORD headerBytes = 0) : m_headerBytes(headerBytes) {}

    // count bytes of the file at offset, from the cache (blocks not cached yet are read from the
    // file first). Answers the bytes copied: fewer at the end of the file, 0 after a failed read.
    DWORD Read(HANDLE file, void* buffer, int64_t offset, DWORD count);
    // Writes count bytes (count > 0) at offset to the file, then into the cached blocks. Answers
    // the bytes written; after a failed or short write nothing cached stays.
    DWORD Write(HANDLE file, const void* data, int64_t offset, DWORD count);
    // count bytes were written to the file at offset: the cached blocks take them.
    void Written(const void* data, int64_t offset, DWORD count);
    // Forgets every block and the file pointer and unmaps the header (before the file is cut or
    // written where the cache does not follow).
    void Clear();
    // The file pointer was moved outside the cache.
    void ForgetPointer() { m_pointer = -1; }

    size_t BytesHeld() const { return m_bytes; }
    bool HeaderMapped() const { return m_header.Mapped(); }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        DWORD valid = 0;
    };
    Block* Load(HANDLE file, size_t n);
    void Drop(size_t n);
    // Forgets every block.
    void DropBlocks();

    DWORD m_headerBytes;
    MappedHeader m_header;
    bool m_mapTried = false;              // Map() was tried since the last Clear()
    int64_t m_pointer = -1;               // where the file pointer stands; -1: not known
    std::vector<Block> m_blocks;  // by block number; bytes == nullptr: not cached
    size_t m_bytes = 0;
    // The cached block that ends before kBlockSize (the end of the file as read), or -1.
    int64_t m_shortBlock = -1;
};
