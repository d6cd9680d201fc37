// The NTX index file: one key expression of a table in a b-tree of 1,024-byte pages.
//
// All integers are little-endian and unsigned. Every value read from a file is checked before it
// is used: the header by _ntx_check_header when the file is opened and by the page operations
// before each use (ntx::GeometryOf), every page when it is taken into the path (ntx::PageValid).
//
// File layout:
//
//   offset        size   content
//   ------------  -----  ------------------------------------------------------------------------
//   0             1,024  header page: the 297-byte header below, then zero bytes to offset 1,023
//   1,024 x k     1,024  b-tree page or free page (k >= 1)
//
// A page is addressed by its file offset; the root, the free list and every child reference are
// positive multiples of 1,024.
//
// Header (the first 297 bytes; the engine reads and writes exactly these):
//
//   offset  size  meaning
//   ------  ----  -----------------------------------------------------------------------------
//        0     2  signature: 6; 0x0106 marks a unique index (accepted when a file is opened)
//        2     2  change counter: one more for every lock period that changed the index (wraps)
//        4     4  file offset of the root page
//        8     4  file offset of the first free page; 0 when none
//       12     2  item size: key size + 8
//       14     2  key size: length of every stored key, 1..330
//       16     2  decimals of a numeric key, else 0
//       18     2  max keys: keys per page, (floor(1,022 / (item size + 2)) - 1) rounded down to
//                 an even number
//       20     2  half: max keys / 2
//       22   256  key expression, NUL-terminated, upper case, OEM code page
//      278     2  unique: non-zero marks a unique index
//      280    17  packed marker "-@!velmar/Qiv!@-" and its NUL in a packed file; else zeros
//
// Page (1,024 bytes):
//
//   offset                      size                       meaning
//   --------------------------  -------------------------  -------------------------------------
//   0                           2                          nNumKeys: the number of keys n
//   2                           2 x (max keys + 1)         item offsets: the page offset of item
//                                                          slot 0, 1, ... in key order
//   2 + 2 x (max keys + 1)      item size x (max keys + 1) the item slots, in any order
//
// Entries 0 .. n - 1 of the offset list are the keys in ascending order; entry n is the page's
// right-hand item, of which only the child counts; entries n + 1 .. max keys are free slots. A new
// page has its offsets in slot order. The engine writes 0 as the record number of a right-hand
// item.
//
// Item (item size bytes):
//
//   offset  size      meaning
//   ------  --------  ---------------------------------------------------------------------------
//        0         4  child page: the keys that sort before this one (0 in a leaf)
//        4         4  record number
//        8  key size  key, no terminator
//
// In a branch page the child of the right-hand item leads to the keys after the last key. A leaf
// has child 0 in all its items. Leaves need not all lie at the same depth.
//
// Free page: its first 4 bytes hold the offset of the next free page (0 at the end of the list).
#pragma once

#include <cstdint>

#include "DbfFormat.h"

namespace ntx {

const unsigned kPageSize = 1024;
const unsigned kHeaderSize = 297;
const unsigned kMaxKeySize = 330;
const unsigned kMaxHalf = 511;
const uint16_t kSignature = 6;
const uint16_t kSignatureUnique = 0x0106;

// Header fields.
const unsigned kSignatureAt = 0;
const unsigned kCounterAt = 2;
const unsigned kRootAt = 4;
const unsigned kFreeListAt = 8;
const unsigned kItemSizeAt = 12;
const unsigned kKeySizeAt = 14;
const unsigned kDecimalsAt = 16;
const unsigned kMaxKeysAt = 18;
const unsigned kHalfAt = 20;
const unsigned kExpressionAt = 22;
const unsigned kExpressionSize = 256;
const unsigned kUniqueAt = 278;
const unsigned kPackedMarkerAt = 280;
const unsigned kPackedMarkerSize = 17;
extern const char kPackedMarker[kPackedMarkerSize];

// Item fields.
const unsigned kItemChildAt = 0;
const unsigned kItemRecnoAt = 4;
const unsigned kItemKeyAt = 8;
const unsigned kItemOverhead = 8;
const unsigned kMaxItemSize = kMaxKeySize + kItemOverhead;

// The sizes of the pages of one index, from its header.
struct Geometry {
    unsigned keySize = 0;
    unsigned itemSize = 0;
    unsigned maxKeys = 0;
    unsigned half = 0;

    // Page offset of the first item slot (behind the offset list).
    unsigned SlotsAt() const { return 2 + 2 * (maxKeys + 1); }
    // Page offset of item slot i in a new page.
    unsigned SlotOffset(unsigned i) const { return SlotsAt() + i * itemSize; }
    bool operator==(const Geometry&) const = default;
};

// Keys per page for a key size.
unsigned MaxKeysFor(unsigned keySize);
// The geometry of a header; false when the header's sizes are inconsistent (key size outside
// 1..330, item size other than key size + 8, max keys not twice half or 0, or pages that would
// not hold max keys + 1 items).
bool GeometryOf(const uint8_t* header, Geometry* geometry);
// Writes key size, decimals, item size, max keys and half into a header.
void SetGeometry(uint8_t* header, unsigned keySize, unsigned decimals);
// A page as read from the file can be used: at most max keys keys, and every item offset lies
// behind the offset list with its whole item inside the page.
bool PageValid(const uint8_t* page, const Geometry& geometry);
// Lays a new empty page out: zero bytes, offsets in slot order, no key.
void InitPage(uint8_t* page, const Geometry& geometry);

// A child, root or free-list reference that names a page: a positive multiple of 1,024 (as a
// signed 32-bit number).
inline bool PageOffset(uint32_t offset) { return offset != 0 && offset % kPageSize == 0 && offset <= 0x7FFFFC00u; }

inline uint16_t Signature(const uint8_t* header) { return dbf::Get16(header + kSignatureAt); }
inline uint16_t Counter(const uint8_t* header) { return dbf::Get16(header + kCounterAt); }
inline void SetCounter(uint8_t* header, uint32_t counter) { dbf::Put16(header + kCounterAt, (uint16_t)counter); }
inline uint32_t Root(const uint8_t* header) { return dbf::Get32(header + kRootAt); }
inline void SetRoot(uint8_t* header, uint32_t offset) { dbf::Put32(header + kRootAt, offset); }
inline uint32_t FreeList(const uint8_t* header) { return dbf::Get32(header + kFreeListAt); }
inline void SetFreeList(uint8_t* header, uint32_t offset) { dbf::Put32(header + kFreeListAt, offset); }
inline unsigned KeySize(const uint8_t* header) { return dbf::Get16(header + kKeySizeAt); }
inline bool Unique(const uint8_t* header)
{
    return Signature(header) == kSignatureUnique || dbf::Get16(header + kUniqueAt) != 0;
}

inline uint32_t ItemChild(const uint8_t* item) { return dbf::Get32(item + kItemChildAt); }
inline void SetItemChild(uint8_t* item, uint32_t offset) { dbf::Put32(item + kItemChildAt, offset); }
inline uint32_t ItemRecno(const uint8_t* item) { return dbf::Get32(item + kItemRecnoAt); }
inline void SetItemRecno(uint8_t* item, uint32_t recno) { dbf::Put32(item + kItemRecnoAt, recno); }

} // namespace ntx

// ---- checks of an existing file when it is opened --------------------------------------------------

// The header fields (after its 297 bytes were read): 0 when usable, else DBE_INDEX_BAD (35). The
// header is left as the file has it: a signature of 0x0106 makes a unique index through Unique(),
// and the file's unique field is written back as it was.
unsigned _ntx_check_header(const uint8_t* header);
// The evaluated key expression against the header: its type letter and length (a length above
// 329 counts as 330). 0 when it fits, else DBE_KEY_TYPE (37): length 0, a logical key, or a
// character key whose length is not the key size.
unsigned _ntx_check_key(char type, int length, unsigned keySize);
// The header marks a packed index.
bool _ntx_is_packed(const uint8_t* header);
