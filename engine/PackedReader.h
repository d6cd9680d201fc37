// The block reader of packed files (packed tables and packed index files).
//
// A packed file holds its data compressed in blocks by the compression library; a block table
// gives each block's file offset, and the entry after the last block holds the end of the
// compressed data with bit 31 set. The reader hands out fixed-size units numbered from 1 (records
// of a table, 1,024-byte pages of an index): unit u lies in block (u - 1) / units per block.
// Expanded blocks are kept in four cache entries, refilled in turn; the entry used last is asked
// first. Unit 0 (the header page of an index) is read from offset 0 without expansion.
//
// Packed index file (unpacked size = the size of the unpacked index file):
//
//   offset       size   content
//   ----------   -----  -----------------------------------------------------------------------
//            0   1,024  the header page; bytes 280..296 hold "-@!velmar/Qiv!@-" and its NUL
//        1,024       2  compression mode (this engine writes 0)
//        1,026       4  unpacked size
//        1,030       2  block size: 8,192
//        1,032   4 x E  block table, E = (unpacked size + 8,191) / 8,192 + 1 entries
//   1,032 + 4E       .  the compressed blocks; block k holds the unpacked bytes from
//                       1,024 + 8,192 x k on (the last one fewer)
//
// Packed table: the DBF header (version byte bit 0x40) of header length bytes, then at the header
// length the mode (2 bytes), the unpacked size (4: header length + records x record length), the
// block size (2) and the block table, then the blocks; each block holds block size / record length
// whole records (the last one fewer).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

struct s_PackedCacheEntry {
    std::unique_ptr<uint8_t[]> expanded;
    std::unique_ptr<uint8_t[]> compressed;
    uint32_t first = 0; // units held, first to last
    uint32_t last = 0;
    bool valid = false;
};

struct s_PackedReader {
    uint16_t mode = 0;
    s_PackedCacheEntry entries[4];
    uint32_t bufferSize = 0;      // bytes of each entry's buffers
    uint16_t blockSize = 0;
    uint32_t unpackedSize = 0;
    std::vector<uint32_t> table;  // block offsets and the end of the data (bit 31 cleared)
    uint32_t unitsPerBlock = 0;
    int lastUsed = 0;
    int nextFill = 0;
    uint32_t blocks = 0;
    bool holdsLibrary = false;    // the reader counts as a user of the compression library
    uint32_t expansions = 0;      // blocks expanded so far
};

const unsigned DB_PACKED_TABLE_LIMIT = 64000;  // bytes of block table read at most
const uint32_t DB_PACKED_END_BIT = 0x80000000u;

// Stores the mode and hands it to the library.
void _pk_set_mode(s_PackedReader& reader, uint16_t mode);
// Allocates the entries' buffers (all empty); false without memory or for a block size of 0.
bool _pk_set_block_size(s_PackedReader& reader, uint16_t blockSize);
// Reads the block table at an offset: the entries up to the first with bit 31 set. False when the
// table cannot be read or has no end entry.
bool _pk_load_table(s_PackedReader& reader, HANDLE file, int64_t offset);
// Takes a table over (count entries, the last one the end of the data); false without memory.
bool _pk_set_table(s_PackedReader& reader, const uint32_t* entries, uint32_t count);
// One unit into destination: 0, or -1 when it cannot be read.
int _pk_read_unit(s_PackedReader& reader, HANDLE file, uint32_t unit, uint32_t unitSize, void* destination);
