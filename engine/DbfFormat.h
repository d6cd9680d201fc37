// The DBF table file and the DBT memo file header as the engine writes and reads them.
//
// All integers are little-endian and unsigned. Every value read from a file is checked before it
// is used (see the header checks of db_use).
//
// DBF header, 32 bytes at offset 0:
//
//   offset  size  meaning
//   ------  ----  -----------------------------------------------------------------------------
//        0     1  version byte: low 5 bits 3; 0x80 the table has memo fields and a DBT file;
//                 0x20 protected (Blowfish); 0x40 the record data are packed. The engine creates
//                 0x03, adding 0x80 and 0x20 as needed.
//        1     3  date of the last change (UTC): year - 1900 (modulo 256), month 1..12, day 1..31
//        4     4  record count
//        8     2  header length: 32 x (field count + 1) + 2 in tables the engine creates
//       10     2  record length: 1 (the deleted flag) + the sum of the field lengths
//       12     4  0
//       16     8  check block of a protected table ("$QiVQiV$" enciphered); else 0
//       24     7  0
//       31     1  charset mark: 1 US ASCII, 2 International, 3 ANSI, 0 none
//
// Field descriptors, 32 bytes each from offset 32, in field order:
//
//   offset  size  meaning
//   ------  ----  -----------------------------------------------------------------------------
//        0    11  field name, upper case, NUL-padded (at most 10 characters)
//       11     1  type letter: 'C' character, 'N' numeric, 'F' float, 'D' date, 'L' logical,
//                 'M' memo
//       12     4  0
//       16     1  field length
//       17     1  decimals
//       18    14  0
//
// Terminator: 0x0D 0x1A at offset 32 x (field count + 1), inside the header length.
//
// Records: record n (1-based) starts at header length + (n - 1) x record length. Byte 0 is the
// deleted flag (' ' in use, '*' marked deleted; a NUL also counts as not deleted); the fields
// follow in descriptor order as fixed-length text. No end-of-file byte follows the last record.
//
// DBT header (the first 24 bytes of block 0; block 0 is 512 bytes in files the engine creates):
//
//   offset  size  meaning
//   ------  ----  -----------------------------------------------------------------------------
//        0     4  next free block (1 in a new file)
//        4     4  0
//        8     9  the table's name without extension, at most 8 characters of its short (8.3)
//                 name, NUL-terminated
//       17     1  0
//       18     2  0x0102
//       20     2  block size (512)
//       22     2  0
#pragma once

#include <cstdint>

namespace dbf {

const unsigned kHeaderSize = 32;
const unsigned kDescriptorSize = 32;

// DBF header offsets.
const unsigned kVersion = 0;
const unsigned kDate = 1;
const unsigned kRecordCount = 4;
const unsigned kHeaderLength = 8;
const unsigned kRecordLength = 10;
const unsigned kCheckBlock = 16;
const unsigned kCheckBlockSize = 8;
const unsigned kCharsetMark = 31;

// Field descriptor offsets.
const unsigned kFieldName = 0;
const unsigned kFieldNameSize = 11;
const unsigned kFieldType = 11;
const unsigned kFieldLength = 16;
const unsigned kFieldDecimals = 17;

// Version byte bits.
const uint8_t kVersionMask = 0x1F;
const uint8_t kVersionDbase3 = 0x03;
const uint8_t kMemoBit = 0x80;
const uint8_t kProtectedBit = 0x20;
const uint8_t kPackedBit = 0x40;

const uint8_t kTerminator[2] = {0x0D, 0x1A};
const char kDeletedMark = '*';

// Charset marks.
const uint8_t kMarkUsAscii = 1;
const uint8_t kMarkInternational = 2;
const uint8_t kMarkAnsi = 3;

// DBT header.
const unsigned kMemoHeaderSize = 24;
const unsigned kMemoBlockSize = 512;
const unsigned kMemoNextFree = 0;
const unsigned kMemoName = 8;
const unsigned kMemoNameChars = 8;
const unsigned kMemoMark = 18;
const uint16_t kMemoMarkValue = 0x0102;
const unsigned kMemoBlockSizeAt = 20;

// The largest values the 16-bit header fields can carry.
const unsigned kMaxLength = 0xFFFF;

inline uint16_t Get16(const uint8_t* p) { return (uint16_t)(p[0] | (p[1] << 8)); }
inline uint32_t Get32(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}
inline void Put16(uint8_t* p, uint16_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}
inline void Put32(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = (uint8_t)(v >> (8 * i));
}

} // namespace dbf
