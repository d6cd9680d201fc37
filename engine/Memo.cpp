// Memo files: reading and writing the texts of memo fields, in the two memo styles of the DBT
// file, and the exports db_memo_exist, db_memo_read_buffer, db_memo_read and db_memo_write.
//
// The DBT file is a sequence of blocks of the block size (the 16-bit word at offset 20 of the
// header; 512 in every file the engine writes), numbered from 0. Block 0 holds the 24-byte header
// (DbfFormat.h); memo data start at block 1. The memo field holds the number of the memo's first
// block as 10 characters: "%010lu" on dBase 4 tables (database type 1), "%10lu" on the others, 10
// blanks for no memo.
//
// dBase 4 tables (type 1) store a memo behind a block header and keep a chain of free runs:
//
//   offset  size  meaning
//   ------  ----  -----------------------------------------------------------------------------
//        0     2  0xFFFF
//        2     2  8, the length of this header
//        4     4  total length: text length + 8
//        8     L  the text, without terminator; filler bytes up to the end of its last block
//
//   The memo takes N = ceil((L + 8) / block size) blocks. A free run starts with the record
//   {u32 block of the next free run, u32 length of this run in blocks}; the header's first 8
//   bytes are the chain's head (its length is 0, so it never receives a memo). The chain runs
//   in block order and ends with the open run at the end of the file (a read past the end of
//   the file): it has no length limit and its record is never written.
//
// All other tables store the text followed by 0x1A and a NUL byte, then filler bytes up to the
// end of its last block: ceil((L + 1) / block size) blocks, appended at the header's next-free
// block unless the memo's old place is large enough. Replaced space is not reused otherwise.
//
// Filler: byte i of an n-byte stretch is the low byte of (GetTickCount() - n + i).
//
// Writers lock the whole memo file (0..0x7FFFFFFF), readers the memo's first block, so that a
// memo is never read while another station is allocating or writing.
#include "Memo.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "CallFrame.h"
#include "DbfFormat.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "FieldAccess.h"
#include "Locks.h"
#include "PathHelpers.h"
#include "PrintfFormat.h"
#include "TableFile.h"
#include "WorkAreas.h"
#include "clsCritObj.h"
#include "clsMaxMemoBlock.h"

namespace {

const unsigned kReferenceLength = 10;
const char kBlankReference[] = "          ";
const uint8_t kTerminator = 0x1A;
const unsigned kBlockHeaderSize = 8;
const uint32_t kOpenRunLength = 0x0FFFFFFF;
const int kDbase4 = 1;
// Block sizes below the memo's block header cannot hold a memo; such a header word (usually 0 in
// files of other programs) stands for the common 512.
const unsigned kSmallestBlockSize = kBlockHeaderSize;
// Memo texts are read with the transfer block's size as the limit.
const unsigned kTransferSize = (unsigned)clsMaxMemoBlock::kSize;

unsigned BlockSize(const s_Area& area)
{
    const unsigned size = area.MemoBlockSize();
    return size < kSmallestBlockSize ? dbf::kMemoBlockSize : size;
}

// The area's own knowledge of its memo file (RecordCache.h): its bytes, its file pointer and its
// header's next-free block through a mapped view, kept while an exclusive table's files stay open.
RecordCache* MemoCache(s_Area& area)
{
    if (!area.memoCache && area.exclusive && !area.packed && area.job && area.job->filesOpen > 0 &&
        area.memoFile != INVALID_HANDLE_VALUE)
        area.memoCache.reset(new (std::nothrow) RecordCache(dbf::kMemoHeaderSize));
    return area.memoCache.get();
}

DWORD ReadAt(s_Area& area, uint64_t offset, void* buffer, DWORD count)
{
    if (RecordCache* cache = MemoCache(area))
        return cache->Read(area.memoFile, buffer, (int64_t)offset, count);
    return _xread_at(area.memoFile, buffer, (int64_t)offset, count);
}

bool WriteAt(s_Area& area, uint64_t offset, const void* buffer, DWORD count)
{
    if (RecordCache* cache = MemoCache(area))
        return cache->Write(area.memoFile, buffer, (int64_t)offset, count) == count;
    return _xwrite_at(area.memoFile, buffer, (int64_t)offset, count) == count;
}

uint64_t FileBlocks(s_Area& area, unsigned blockSize)
{
    LARGE_INTEGER size{};
    GetFileSizeEx(area.memoFile, &size);
    return ((uint64_t)size.QuadPart + blockSize - 1) / blockSize;
}

void Decipher(s_Area& area, uint64_t offset, void* buffer, unsigned length)
{
    if (length && area.IsEncrypted() && g_EngineHooks.decryptBuffer)
        g_EngineHooks.decryptBuffer(area, (int32_t)offset, buffer, length);
}

void Encipher(s_Area& area, uint64_t offset, void* buffer, unsigned length)
{
    if (length && area.IsEncrypted() && g_EngineHooks.encryptBuffer)
        g_EngineHooks.encryptBuffer(area, (int32_t)offset, buffer, length);
}

void Filler(char* buffer, unsigned n)
{
    const DWORD ticks = GetTickCount();
    for (unsigned i = 0; i < n; ++i)
        buffer[i] = (char)(uint8_t)(ticks - n + i);
}

// A byte-range lock of the memo file, released when the holder ends. An area that does not lock
// (opened exclusively) takes none.
class MemoLock {
public:
    MemoLock(s_Area& area, uint64_t offset, uint64_t length) : m_area(area), m_offset(offset), m_length(length) {}
    ~MemoLock()
    {
        if (m_locked)
            UnlockRange(m_area.memoFile, m_offset, m_length);
    }
    bool Take()
    {
        if (m_area.lockBits & DB_LOCK_EXCLUSIVE)
            return true;
        m_locked = LockRange(m_area.memoFile, m_offset, m_length, TRUE) != FALSE;
        if (!m_locked)
            _db_raise_error(DBE_LOCK);
        return m_locked;
    }

private:
    s_Area& m_area;
    uint64_t m_offset, m_length;
    bool m_locked = false;
};

// ---- reading ----------------------------------------------------------------------------------

// Reads the memo at a block; text may be NULL to measure only. Answers an error code (0: read).
unsigned ReadMemo(s_Area& area, uint32_t block, char* text, unsigned size, unsigned* length)
{
    *length = 0;
    if (text && size)
        text[0] = 0;
    const unsigned blockSize = BlockSize(area);
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[blockSize]);
    if (!buffer) {
        DebugPrintf("ERR_NO_MEM requesting %d bytes", (int)blockSize);
        return DBE_MEMORY;
    }
    uint64_t offset = (uint64_t)block * blockSize;
    DWORD n = ReadAt(area, offset, buffer.get(), blockSize);
    Decipher(area, offset, buffer.get(), n);
    if (n < kBlockHeaderSize)
        return DBE_MEMO_READ;
    const unsigned limit = size ? size - 1 : 0;
    const uint8_t* bytes = (const uint8_t*)buffer.get();
    const bool blockHeader = bytes[0] == 0xFF && bytes[1] == 0xFF;
    if (blockHeader != (area.databaseType == kDbase4))
        _db_raise_error(DBE_BAD_TYPE_WARNING);

    unsigned copied = 0;
    if (blockHeader) {
        const uint32_t total = dbf::Get32(bytes + 4);
        const uint32_t textLength = total >= kBlockHeaderSize ? total - kBlockHeaderSize : 0;
        const unsigned wanted = textLength < limit ? textLength : limit;
        unsigned pos = kBlockHeaderSize;
        while (copied < wanted) {
            if (pos >= n) {
                offset += blockSize;
                n = ReadAt(area, offset, buffer.get(), blockSize);
                Decipher(area, offset, buffer.get(), n);
                pos = 0;
                if (n == 0)
                    return DBE_MEMO_READ;
            }
            const unsigned take = n - pos < wanted - copied ? n - pos : wanted - copied;
            if (text)
                std::memcpy(text + copied, buffer.get() + pos, take);
            copied += take;
            pos += take;
        }
    } else {
        unsigned pos = 0;
        while (copied < limit) {
            if (pos >= n) {
                if (n < blockSize)
                    break; // the end of the file ends the text
                offset += blockSize;
                n = ReadAt(area, offset, buffer.get(), blockSize);
                Decipher(area, offset, buffer.get(), n);
                pos = 0;
                if (n == 0)
                    break;
            }
            const char c = buffer[pos++];
            if ((uint8_t)c == kTerminator)
                break;
            if (text)
                text[copied] = c;
            ++copied;
        }
    }
    if (text && size)
        text[copied] = 0;
    *length = copied;
    return 0;
}

// Reads a memo under the lock of its first block.
bool ReadLocked(s_Area& area, uint32_t block, char* text, unsigned size, unsigned* length)
{
    const unsigned blockSize = BlockSize(area);
    MemoLock lock(area, (uint64_t)block * blockSize, blockSize);
    return lock.Take() && _db_memo_read(area, block, text, size, length);
}

// Reads a memo through the transfer block and hands the text to take (which answers the result);
// without the transfer block through a block of its own.
template <typename F>
bool ReadThroughTransferBlock(s_Area& area, uint32_t block, F take)
{
    clsMaxMemoBlock& shared = g_MaxMemoBlock;
    unsigned length = 0;
    if (shared.Block()) {
        clsCritObj guard(shared.Lock());
        char* text = (char*)GlobalLock(shared.Block());
        if (text) {
            const bool ok = ReadLocked(area, block, text, kTransferSize, &length) && take(text, length);
            GlobalUnlock(shared.Block());
            return ok;
        }
    }
    std::unique_ptr<char[]> own(new (std::nothrow) char[kTransferSize]);
    if (!own) {
        DebugPrintf("ERR_NO_MEM requesting %d bytes", (int)kTransferSize);
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    return ReadLocked(area, block, own.get(), kTransferSize, &length) && take(own.get(), length);
}

// ---- writing ----------------------------------------------------------------------------------

// One record of the free-run chain.
struct Run {
    uint32_t own = 0;       // its block
    uint32_t next = 0;      // block of the next free run
    uint32_t length = 0;    // in blocks
    bool open = false;      // the open run at the end of the file (never written)
    bool changed = false;
    bool used = false;      // taken whole by the new memo: no longer a run
};

void ReadRun(s_Area& area, uint32_t block, unsigned blockSize, Run& run)
{
    run = Run{};
    run.own = block;
    uint8_t bytes[8];
    const DWORD n = ReadAt(area, (uint64_t)block * blockSize, bytes, sizeof bytes);
    if (n < sizeof bytes) {
        run.open = true;
        run.length = kOpenRunLength;
        return;
    }
    run.next = dbf::Get32(bytes);
    run.length = dbf::Get32(bytes + 4);
}

bool WriteRun(s_Area& area, Run& run, unsigned blockSize)
{
    if (!run.changed || run.open || run.used)
        return true;
    uint8_t bytes[8];
    dbf::Put32(bytes, run.next);
    dbf::Put32(bytes + 4, run.length);
    if (!WriteAt(area, (uint64_t)run.own * blockSize, bytes, sizeof bytes))
        return false;
    if (run.own == 0)
        std::memcpy(area.memoHeader, bytes, sizeof bytes);
    run.changed = false;
    return true;
}

// The run of blocks an old dBase 4 memo takes, when its block header can be trusted; 0 otherwise
// (nothing is given back then).
uint32_t OldRunLength(s_Area& area, uint32_t block, unsigned blockSize, uint64_t fileBlocks)
{
    // The whole first block, deciphered as the reads of the text decipher it.
    std::unique_ptr<uint8_t[]> first(new (std::nothrow) uint8_t[blockSize]);
    if (!first)
        return 0;
    const DWORD n = ReadAt(area, (uint64_t)block * blockSize, first.get(), blockSize);
    if (n < kBlockHeaderSize)
        return 0;
    Decipher(area, (uint64_t)block * blockSize, first.get(), n);
    const uint8_t* header = first.get();
    const uint32_t total = dbf::Get32(header + 4);
    if (header[0] != 0xFF || header[1] != 0xFF || total < kBlockHeaderSize)
        return 0;
    const uint64_t blocks = ((uint64_t)total + blockSize - 1) / blockSize;
    return block + blocks <= fileBlocks ? (uint32_t)blocks : 0;
}

// Writes the memo's blocks: header (dBase 4 style) or terminator, text and filler, enciphered
// block by block with each block's offset, as the reads decipher them (the older scrambler's
// bytes depend on the piece they are enciphered in; Blowfish gives the same bytes either way).
bool WriteMemoBlocks(s_Area& area, uint32_t block, const char* text, uint32_t length, unsigned blocks,
                     unsigned blockSize, bool blockHeader)
{
    const size_t size = (size_t)blocks * blockSize;
    std::unique_ptr<char[]> data(new (std::nothrow) char[size]);
    if (!data) {
        DebugPrintf("ERR_NO_MEM requesting %d bytes", (int)size);
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    Filler(data.get(), (unsigned)size);
    const uint64_t offset = (uint64_t)block * blockSize;
    if (blockHeader) {
        uint8_t* header = (uint8_t*)data.get();
        dbf::Put16(header, 0xFFFF);
        dbf::Put16(header + 2, kBlockHeaderSize);
        dbf::Put32(header + 4, length + kBlockHeaderSize);
        std::memcpy(data.get() + kBlockHeaderSize, text, length);
    } else {
        // The NUL behind the terminator is written only where it stays inside the memo's blocks.
        std::memcpy(data.get(), text, length);
        data[length] = (char)kTerminator;
        if (length + 1 < size)
            data[length + 1] = 0;
    }
    for (unsigned b = 0; b < blocks; ++b)
        Encipher(area, offset + (uint64_t)b * blockSize, data.get() + (size_t)b * blockSize, blockSize);
    if (!WriteAt(area, offset, data.get(), (DWORD)size)) {
        _db_raise_error(DBE_MEMO_WRITE);
        return false;
    }
    return true;
}

// dBase 4 style: gives the old memo's run back to the free chain (in block order) and places the
// new memo in the first run, in block order, that is large enough (the old run included). Answers
// the new memo's first block, 0 for an empty text, -1 on error. The walk is bounded by the file's
// size: a damaged chain cannot hold the writer (and the whole-file lock) for ever.
//
// Two records are in hand: the previous one (chained; at first the header) and the current one,
// the run its next pointer names. A step links the old run in before the current run when that
// lies behind it, places the memo in the current run when it fits, writes back what changed and
// moves on.
int64_t WriteDbase4(s_Area& area, const char* text, uint32_t length, uint32_t oldBlock)
{
    const unsigned blockSize = BlockSize(area);
    const uint64_t fileBlocks = FileBlocks(area, blockSize);
    const uint32_t needed = length ? (uint32_t)(((uint64_t)length + kBlockHeaderSize + blockSize - 1) / blockSize) : 0;
    const uint32_t oldLength = oldBlock ? OldRunLength(area, oldBlock, blockSize, fileBlocks) : 0;
    bool returned = oldLength == 0;
    bool placed = needed == 0;
    uint32_t result = 0;

    Run previous, current;
    ReadRun(area, 0, blockSize, previous);
    if (previous.open) {
        _db_raise_error(DBE_MEMO_READ);
        return -1;
    }
    previous.length = 0;
    ReadRun(area, previous.next, blockSize, current);

    const uint64_t maxSteps = fileBlocks + 2;
    for (uint64_t steps = 0;; ++steps) {
        if (steps > maxSteps) {
            _db_raise_error(DBE_MEMO_WRITE);
            return -1;
        }
        // Giving back: the old run goes between the previous run and the current one.
        if (!returned && current.own > oldBlock) {
            Run old;
            old.own = oldBlock;
            old.next = current.own;
            old.length = oldLength;
            old.changed = true;
            previous.next = oldBlock;
            previous.changed = true;
            current = old;
            returned = true;
        }
        // Placing: an exact fit unlinks the run, a longer run keeps its remainder.
        if (!placed && current.own != 0 && current.length >= needed) {
            result = current.own;
            if (current.length == needed && !current.open) {
                previous.next = current.next;
                current.used = true;
            } else {
                Run rest;
                rest.own = current.own + needed;
                rest.next = current.next;
                rest.length = current.open ? kOpenRunLength : current.length - needed;
                rest.open = current.open;
                rest.changed = !current.open;
                previous.next = rest.own;
                current = rest;
            }
            previous.changed = true;
            placed = true;
        }
        if (!WriteRun(area, previous, blockSize) || !WriteRun(area, current, blockSize)) {
            _db_raise_error(DBE_MEMO_WRITE);
            return -1;
        }
        if (placed && (returned || current.open))
            break;
        if (!current.used)
            previous = current;
        ReadRun(area, previous.next, blockSize, current);
    }
    if (needed && !WriteMemoBlocks(area, result, text, length, needed, blockSize, true))
        return -1;
    return result;
}

// Terminator style: the old place when the text fits there, else appended at the next-free block.
// Answers the memo's first block or -1.
int64_t WriteTerminated(s_Area& area, const char* text, uint32_t length, uint32_t oldBlock)
{
    const unsigned blockSize = BlockSize(area);
    const uint32_t needed = (uint32_t)(((uint64_t)length + 1 + blockSize - 1) / blockSize);
    uint32_t block = 0;
    if (oldBlock) {
        unsigned oldLength = 0;
        if (needed == 1)
            block = oldBlock;
        else if (ReadMemo(area, oldBlock, nullptr, kTransferSize, &oldLength) == 0 &&
                 (oldLength + blockSize - 1) / blockSize >= needed)
            block = oldBlock;
    }
    if (!block) {
        // The next-free block: an exclusive table's memo file changes only through this area, so
        // the copy of its header is the file's once read or written here.
        uint8_t next[4];
        if (area.exclusive && area.memoHeaderKnown)
            std::memcpy(next, area.memoHeader, sizeof next);
        else if (ReadAt(area, 0, next, sizeof next) != sizeof next) {
            _db_raise_error(DBE_MEMO_READ);
            return -1;
        }
        block = dbf::Get32(next);
        // A next-free block of 0 would put the memo over the header: append at the file's end.
        if (block == 0) {
            const uint64_t end = FileBlocks(area, blockSize);
            block = end < 1 ? 1 : (uint32_t)end;
        }
        dbf::Put32(next, block + needed);
        if (!WriteAt(area, 0, next, sizeof next)) {
            _db_raise_error(DBE_MEMO_WRITE);
            return -1;
        }
        std::memcpy(area.memoHeader, next, sizeof next);
        area.memoHeaderKnown = 1;
    }
    return WriteMemoBlocks(area, block, text, length, needed, blockSize, false) ? (int64_t)block : -1;
}

// Writes a memo text in the table's style under the whole-file memo lock; the old block is the
// field's present reference (0: none). Answers the reference to store (0: none) or -1.
int64_t StoreMemo(s_Area& area, const char* text, uint32_t length, uint32_t oldBlock)
{
    if (area.databaseType != kDbase4 && length == 0)
        return 0;
    MemoLock lock(area, 0, DB_MEMO_WRITE_LOCK_LENGTH);
    if (!lock.Take())
        return -1;
    return area.databaseType == kDbase4 ? WriteDbase4(area, text, length, oldBlock)
                                        : WriteTerminated(area, text, length, oldBlock);
}

// The reference text of a block in the table's style.
std::string ReferenceText(const s_Area& area, uint32_t block)
{
    if (block == 0)
        return kBlankReference;
    char text[32];
    Format(text, sizeof text, area.databaseType == kDbase4 ? "%010lu" : "%10lu", (unsigned long)block);
    return text;
}

// ---- exports' common steps --------------------------------------------------------------------

// The memo field a designator names: its number, or 0 with error 14 (no field) or 28 (not a memo
// field).
int MemoField(const s_Area& area, const char* designator)
{
    const int n = _db_field_number(area, designator);
    if (n <= 0) {
        _db_raise_error(DBE_NO_FIELD);
        return 0;
    }
    if (area.fields[n - 1].type != 'M') {
        _db_raise_error(DBE_NOT_MEMO);
        return 0;
    }
    return n;
}

// The table's memo file must be open (error 12).
bool MemoOpen(const s_Area& area)
{
    if (area.memoFile != INVALID_HANDLE_VALUE)
        return true;
    _db_raise_error(DBE_MEMO_OPEN);
    return false;
}

bool TableOpen(const s_Area& area)
{
    if (area.file != INVALID_HANDLE_VALUE)
        return true;
    _db_raise_error(DBE_FILES_CLOSED);
    return false;
}

// A movable block of the given size: the previous one re-allocated, or (when that fails, or
// without one) a new one.
HGLOBAL Allocate(HGLOBAL previous, SIZE_T bytes)
{
    HGLOBAL h = previous ? GlobalReAlloc(previous, bytes, GMEM_MOVEABLE) : nullptr;
    if (!h) {
        if (previous)
            GlobalFree(previous);
        h = GlobalAlloc(GMEM_MOVEABLE, bytes);
    }
    if (!h) {
        DebugPrintf("ERR_NO_MEM requesting %d bytes (pre=%08x)", (int)bytes, (unsigned)(uintptr_t)previous);
        _db_raise_error(DBE_MEMORY);
    }
    return h;
}

// Flushes a shared table's memo file as its table file would be (RecordWrite).
void FlushMemo(s_Area& area)
{
    if (!area.exclusive && area.flush && !(area.lockBits & (DB_LOCK_FILE | DB_LOCK_CALLER_FILE)))
        FlushFileBuffers(area.memoFile);
}

bool ReadMemoHook(s_Area& area, int field, std::string& text)
{
    text.clear();
    if (field < 1 || field > area.fieldCount) {
        _db_raise_error(DBE_NO_FIELD);
        return false;
    }
    if (area.fields[field - 1].type != 'M') {
        _db_raise_error(DBE_NOT_MEMO);
        return false;
    }
    if (!_db_read_current(area))
        return false;
    const uint32_t block = _db_memo_reference(area, field);
    if (block == 0)
        return true;
    if (!MemoOpen(area))
        return false;
    return ReadThroughTransferBlock(area, block, [&text](const char* t, unsigned length) {
        text.assign(t, length);
        return true;
    });
}

} // namespace

void _db_new_memo_header(const char* memoPath, uint8_t* header)
{
    std::memset(header, 0, dbf::kMemoHeaderSize);
    dbf::Put32(header + dbf::kMemoNextFree, 1);
    // A short form that does not fit leaves the buffer as it was: the name as given serves then.
    char shortPath[MAX_PATH];
    const DWORD n = GetShortPathNameA(memoPath, shortPath, sizeof shortPath);
    if (n == 0 || n >= sizeof shortPath)
        SafeStrCopy(shortPath, memoPath, sizeof shortPath);
    char name[256];
    SplitPath(shortPath, nullptr, nullptr, name, nullptr);
    SafeStrCopy((char*)header + dbf::kMemoName, name, dbf::kMemoNameChars + 1);
    dbf::Put16(header + dbf::kMemoMark, dbf::kMemoMarkValue);
    dbf::Put16(header + dbf::kMemoBlockSizeAt, dbf::kMemoBlockSize);
}

bool _db_memo_empty(s_Area& area)
{
    uint8_t header[dbf::kMemoHeaderSize];
    _db_new_memo_header(area.memoName, header);
    if (!WriteAt(area, 0, header, sizeof header)) {
        _db_raise_error(DBE_MEMO_WRITE);
        return false;
    }
    // The header's view goes before the file is cut.
    if (area.memoCache)
        area.memoCache->Clear();
    _xwrite_at(area.memoFile, "", sizeof header, 0);
    std::memcpy(area.memoHeader, header, sizeof header);
    area.memoHeaderKnown = 1;
    return true;
}

uint32_t _db_memo_reference(const s_Area& area, int field)
{
    const s_Field& d = area.fields[field - 1];
    const char* text = area.record.get() + 1 + d.offset;
    unsigned i = 0;
    while (i < d.length && text[i] == ' ')
        ++i;
    uint64_t block = 0;
    for (; i < d.length && text[i] >= '0' && text[i] <= '9'; ++i) {
        block = block * 10 + (unsigned)(text[i] - '0');
        if (block > 0xFFFFFFFFu)
            return 0;
    }
    return (uint32_t)block;
}

bool _db_memo_read(s_Area& area, uint32_t block, char* text, unsigned size, unsigned* length)
{
    const unsigned code = ReadMemo(area, block, text, size, length);
    if (code)
        _db_raise_error(code);
    return code == 0;
}

bool _db_memo_copy(s_Area& source, int sourceField, s_Area& target, int targetField)
{
    const uint32_t block = _db_memo_reference(source, sourceField);
    if (block == 0)
        return db_replace(DB_FIELDREF(targetField), kBlankReference) != FALSE;
    if (!MemoOpen(source) || !MemoOpen(target))
        return false;
    std::unique_ptr<char[]> text(new (std::nothrow) char[kTransferSize]);
    if (!text) {
        DebugPrintf("ERR_NO_MEM requesting %d bytes", (int)kTransferSize);
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    unsigned length = 0;
    if (!ReadLocked(source, block, text.get(), kTransferSize, &length))
        return false;
    // Exactly one of the two tables holds ANSI text.
    const bool sourceAnsi = source.charset == 0x20, targetAnsi = target.charset == 0x20;
    if (sourceAnsi && !targetAnsi)
        CharToOemBuffA(text.get(), text.get(), length);
    else if (targetAnsi && !sourceAnsi)
        OemToCharBuffA(text.get(), text.get(), length);
    const int64_t stored = StoreMemo(target, text.get(), length, 0);
    if (stored < 0)
        return false;
    return db_replace(DB_FIELDREF(targetField), ReferenceText(target, (uint32_t)stored).c_str()) != FALSE;
}

void _db_memo_hooks(s_EngineHooks& hooks) { hooks.readMemo = ReadMemoHook; }

// ---- exports ----------------------------------------------------------------------------------

extern "C" BOOL DB_CALL db_memo_exist(const char* field)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbMemoExist(%s)", TraceField{field});
    s_Area* area = _db_current_table(f.Job());
    if (!area || !TableOpen(*area))
        return f(FALSE);
    const int n = MemoField(*area, field);
    if (!n || !_db_read_current(*area))
        return f(FALSE);
    return f(_db_memo_reference(*area, n) != 0);
}

extern "C" BOOL DB_CALL db_memo_read_buffer(const char* field, char* buf, unsigned size)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbMemoReadBuffer(%s,0x%08lx,%u)", TraceField{field}, TraceBuf{buf}, size);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(FALSE);
    // A buffer of size 0 takes nothing, not even the terminating NUL.
    if (!buf || size == 0) {
        _db_raise_error(DBE_BUFFER);
        return f(FALSE);
    }
    buf[0] = 0;
    BOOL forwarded;
    const auto inArea = [&](const char* rest) { return db_memo_read_buffer(rest, buf, size); };
    if (_db_in_qualified_area(job, field, inArea, &forwarded))
        return f(forwarded);
    if (!TableOpen(*area))
        return f(FALSE);
    const int n = MemoField(*area, field);
    if (!n || !_db_read_current(*area))
        return f(FALSE);
    const uint32_t block = _db_memo_reference(*area, n);
    if (block == 0)
        return f(TRUE);
    unsigned length = 0;
    if (!MemoOpen(*area) || !ReadLocked(*area, block, buf, size, &length))
        return f(FALSE);
    if (_db_tracing())
        _db_trace(0, "->'%s'", buf);
    return f(TRUE);
}

extern "C" HGLOBAL DB_CALL db_memo_read(const char* field, HGLOBAL previous)
{
    DbFrame<HGLOBAL, RF_HEX> f(DBF_NONE, "@DbMemoRead(%s,0x04%x)", TraceField{field},
                               (unsigned)(uintptr_t)previous);
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(nullptr);
    HGLOBAL forwarded;
    const auto inArea = [&](const char* rest) { return db_memo_read(rest, previous); };
    if (_db_in_qualified_area(job, field, inArea, &forwarded))
        return f(forwarded);
    if (!TableOpen(*area))
        return f(nullptr);
    const int n = MemoField(*area, field);
    if (!n)
        return f(nullptr);
    // The read has raised its own error (29, or 9 for closed files).
    if (!_db_read_current(*area))
        return f(nullptr);
    const uint32_t block = _db_memo_reference(*area, n);
    if (block == 0) {
        HGLOBAL empty = Allocate(previous, 1);
        if (char* p = empty ? (char*)GlobalLock(empty) : nullptr) {
            p[0] = 0;
            GlobalUnlock(empty);
        }
        return f(empty);
    }
    if (!MemoOpen(*area))
        return f(nullptr);
    HGLOBAL result = nullptr;
    if (g_MaxMemoBlock.Block()) {
        ReadThroughTransferBlock(*area, block, [&](const char* text, unsigned length) {
            result = Allocate(previous, (SIZE_T)length + 1);
            char* p = result ? (char*)GlobalLock(result) : nullptr;
            if (!p)
                return false;
            std::memcpy(p, text, (size_t)length + 1);
            GlobalUnlock(result);
            return true;
        });
        return f(result);
    }
    // Without the transfer block the memo is read straight into the result.
    const SIZE_T bytes = kTransferSize + 1;
    if (previous && GlobalSize(previous) >= bytes && (GlobalFlags(previous) & GMEM_DISCARDABLE))
        result = previous;
    else
        result = Allocate(previous, bytes);
    char* p = result ? (char*)GlobalLock(result) : nullptr;
    if (!p)
        return f(nullptr);
    unsigned length = 0;
    const bool read = ReadLocked(*area, block, p, (unsigned)bytes, &length);
    GlobalUnlock(result);
    if (!read) {
        if (result != previous)
            GlobalFree(result);
        return f(nullptr);
    }
    return f(result);
}

extern "C" BOOL DB_CALL db_memo_write(const char* field, const char* text)
{
    DbFrame<BOOL, RF_INT> f(DBF_NONE, "@DbMemoWrite(%s,0x%08lx)", TraceField{field}, TraceBuf{text});
    s_Job* job = f.Job();
    s_Area* area = _db_current_table(job);
    if (!area)
        return f(FALSE);
    BOOL forwarded;
    const auto inArea = [&](const char* rest) { return db_memo_write(rest, text); };
    if (_db_in_qualified_area(job, field, inArea, &forwarded))
        return f(forwarded);
    if (!TableOpen(*area))
        return f(FALSE);
    if (area->readOnly) {
        _db_raise_error(DBE_READ_ONLY);
        return f(FALSE);
    }
    const int n = MemoField(*area, field);
    if (!n || !_db_read_current(*area))
        return f(FALSE);
    // The reference is stored with db_replace: its conditions are checked before the memo file is
    // touched, so that no memo is written (or given back) for a field that keeps its reference.
    if (const unsigned code = _db_change_allowed(*area)) {
        _db_raise_error(code);
        return f(FALSE);
    }
    if (!MemoOpen(*area))
        return f(FALSE);
    const uint32_t oldBlock = _db_memo_reference(*area, n);
    const uint32_t length = text ? (uint32_t)std::strlen(text) : 0;
    const int64_t block = StoreMemo(*area, text ? text : "", length, oldBlock);
    if (block < 0)
        return f(FALSE);
    BOOL result = TRUE;
    if ((uint32_t)block != oldBlock)
        result = db_replace(DB_FIELDREF(n), ReferenceText(*area, (uint32_t)block).c_str());
    if (area->databaseType != kDbase4)
        FlushMemo(*area);
    return f(result);
}
