// The bytes of an exclusive table's file kept in memory, so that reading a record again (a seek
// landing on it, a walk through the table) costs no system call. Nobody else can change a file
// opened without sharing, and every write of the area passes through Written() after it reached
// the file: the cache holds exactly the file's bytes (enciphered as on the file).
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

class RecordCache {
public:
    static const DWORD kBlockSize = 64 * 1024;
    static const size_t kMaxBytes = 64u * 1024 * 1024;

    // count bytes of the file at offset, from the cache (blocks not cached yet are read from the
    // file first). Answers the bytes copied: fewer at the end of the file, 0 after a failed read.
    DWORD Read(HANDLE file, void* buffer, int64_t offset, DWORD count);
    // count bytes were written to the file at offset: the cached blocks take them.
    void Written(const void* data, int64_t offset, DWORD count);
    // Forgets every block (the file was cut, closed, or written where the cache does not follow).
    void Clear();

    size_t BytesHeld() const { return m_bytes; }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        DWORD valid = 0;
    };
    Block* Load(HANDLE file, size_t n);
    void Drop(size_t n);

    std::vector<Block> m_blocks;  // by block number; bytes == nullptr: not cached
    size_t m_bytes = 0;
    // The cached block that ends before kBlockSize (the end of the file as read), or -1.
    int64_t m_shortBlock = -1;
};
