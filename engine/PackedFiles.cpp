#include "PackedFiles.h"

#include <cstring>
#include <memory>
#include <new>

#include "BTree.h"
#include "DbfFormat.h"
#include "Job.h"
#include "Locks.h"
#include "NtxFormat.h"
#include "PackLibrary.h"
#include "PackedReader.h"
#include "PathHelpers.h"
#include "TableFile.h"

namespace {

const unsigned kPackedHeaderSize = 8;  // mode 2, unpacked size 4, block size 2
const uint16_t kIndexBlockSize = 8192;
const uint16_t kIndexMode = 0;

// A reader that counts as a user of the compression library; NULL (nothing held) when the
// library cannot be bound or no memory is left. *code receives the error.
s_PackedReader* NewReader(unsigned* code)
{
    if (LoadPackLibrary() != 0) {
        *code = DBE_PACK_UNAVAILABLE;
        return nullptr;
    }
    if (!g_PackLibrary.getVersion) {
        FreePackLibrary();
        *code = DBE_PACK_UNAVAILABLE;
        return nullptr;
    }
    s_PackedReader* reader = new (std::nothrow) s_PackedReader;
    if (!reader) {
        FreePackLibrary();
        *code = DBE_MEMORY;
        return nullptr;
    }
    reader->holdsLibrary = true;
    return reader;
}

void DeleteReader(s_PackedReader*& reader)
{
    if (!reader)
        return;
    if (reader->holdsLibrary)
        FreePackLibrary();
    delete reader;
    reader = nullptr;
}

bool ReadAt(HANDLE file, int64_t offset, void* buffer, DWORD count)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) && _xread(file, buffer, count) == count;
}

bool WriteAt(HANDLE file, int64_t offset, const void* buffer, DWORD count)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) && _xwrite(file, buffer, count) == count;
}

// Mode, unpacked size and block size at an offset, then the block table behind them.
unsigned ReadPackedHeader(s_PackedReader& reader, HANDLE file, int64_t offset)
{
    uint8_t header[kPackedHeaderSize];
    if (!ReadAt(file, offset, header, sizeof header))
        return DBE_FORMAT;
    _pk_set_mode(reader, dbf::Get16(header));
    reader.unpackedSize = dbf::Get32(header + 2);
    if (!_pk_set_block_size(reader, dbf::Get16(header + 6)))
        return DBE_FORMAT;
    if (!_pk_load_table(reader, file, offset + kPackedHeaderSize))
        return DBE_FORMAT;
    return 0;
}

// ---- tables -----------------------------------------------------------------------------------

unsigned OpenPacked(s_Area& area)
{
    unsigned code = 0;
    s_PackedReader* reader = NewReader(&code);
    if (!reader)
        return code;
    area.packedReader = reader;
    if ((code = ReadPackedHeader(*reader, area.file, area.headerLength)))
        return code;
    if (area.recordLength <= 0 || reader->blockSize < area.recordLength ||
        reader->unpackedSize < (uint32_t)area.headerLength)
        return DBE_FORMAT;
    reader->unitsPerBlock = reader->blockSize / (uint32_t)area.recordLength;
    const uint32_t records = (reader->unpackedSize - (uint32_t)area.headerLength) / (uint32_t)area.recordLength;
    if ((records + reader->unitsPerBlock - 1) / reader->unitsPerBlock > reader->blocks)
        return DBE_FORMAT;
    // Nothing may be written into the compressed data: the table is read-only from now on.
    area.readOnly = 1;
    area.cache.reset();
    area.memoCache.reset();
    CloseHandle(area.file);
    area.file = _db_open_area_file(area, area.databaseName, OPEN_EXISTING,
                                   area.exclusive ? DB_FILE_FLAGS_EXCLUSIVE : DB_FILE_FLAGS);
    return area.file == INVALID_HANDLE_VALUE ? (unsigned)DBE_OPEN : 0u;
}

unsigned ReadPacked(s_Area& area, int64_t offset, void* buffer, unsigned count)
{
    s_PackedReader* reader = area.packedReader;
    if (!reader || area.file == INVALID_HANDLE_VALUE || area.recordLength <= 0 || offset < area.headerLength)
        return 0;
    const unsigned length = (unsigned)area.recordLength;
    const int64_t relative = offset - area.headerLength;
    if (relative % length)
        return 0;
    uint32_t unit = (uint32_t)(relative / length) + 1;
    unsigned done = 0;
    for (; done + length <= count; done += length, ++unit)
        if (_pk_read_unit(*reader, area.file, unit, length, (uint8_t*)buffer + done) != 0)
            break;
    return done;
}

int64_t PackedSize(s_Area& area) { return area.packedReader ? (int64_t)area.packedReader->unpackedSize : 0; }

int PackedMethod(const s_PackedReader* reader) { return reader ? reader->mode : 0; }

void ReleasePacked(s_Area& area) { DeleteReader(area.packedReader); }

// ---- index files ------------------------------------------------------------------------------

bool OpenPackedIndex(s_Index& slot)
{
    unsigned code = 0;
    s_PackedReader* reader = NewReader(&code);
    if (!reader) {
        _db_raise_error(code);
        return false;
    }
    code = ReadPackedHeader(*reader, slot.file, ntx::kPageSize);
    if (!code && reader->blockSize < ntx::kPageSize)
        code = DBE_INDEX_BAD;
    if (code) {
        DeleteReader(reader);
        _db_raise_error(code == DBE_FORMAT ? (unsigned)DBE_INDEX_BAD : code);
        return false;
    }
    const uint32_t front = ntx::kPageSize + kPackedHeaderSize + 4 * (uint32_t)reader->table.size();
    reader->unpackedSize = reader->unpackedSize > front ? reader->unpackedSize - front : 0;
    reader->unitsPerBlock = reader->blockSize / ntx::kPageSize;
    slot.packedReader = reader;
    slot.packed = 1;
    return true;
}

void ReleasePackedIndex(s_Index& slot)
{
    DeleteReader(slot.packedReader);
    slot.packed = 0;
}

bool ReadPackedIndexPage(s_Area& area, int slot, uint32_t n, uint8_t* page)
{
    s_Index& index = area.indexes[slot];
    return index.packedReader && index.file != INVALID_HANDLE_VALUE &&
           _pk_read_unit(*index.packedReader, index.file, n, ntx::kPageSize, page) == 0;
}

} // namespace

namespace {

PackIndexWriteProbe s_indexWriteProbe = nullptr;

// The packed file being written beside the index: a temporary file in the index's folder (so that
// it can take the index's place by a rename), deleted unless it took that place.
class PackedFileBeside {
public:
    PackedFileBeside() = default;
    ~PackedFileBeside()
    {
        Close();
        if (m_name[0])
            DeleteFileA(m_name);
    }
    PackedFileBeside(const PackedFileBeside&) = delete;
    PackedFileBeside& operator=(const PackedFileBeside&) = delete;

    bool Create(const char* indexName)
    {
        char drive[256], dir[256];
        SplitPath(indexName, drive, dir, nullptr, nullptr);
        char folder[4 * 256 + 8];
        MakePath(folder, drive, dir, "", "");
        if (!folder[0])
            SafeStrCopy(folder, ".", sizeof folder);
        if (!GetTempFileNameA(folder, "ntp", 0, m_name)) {
            m_name[0] = 0;
            return false;
        }
        m_file = CreateFileA(m_name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        return m_file != INVALID_HANDLE_VALUE;
    }
    HANDLE Handle() const { return m_file; }
    // Makes the written file permanent and gives it the index's name; false (the old file stays)
    // when it cannot take the place.
    bool Replace(const char* indexName)
    {
        const bool flushed = FlushFileBuffers(m_file) != FALSE;
        Close();
        if (!flushed || !MoveFileExA(m_name, indexName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        m_name[0] = 0;
        return true;
    }

private:
    void Close()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
    }
    HANDLE m_file = INVALID_HANDLE_VALUE;
    char m_name[MAX_PATH] = {};
};

bool WriteAllowed(uint32_t block) { return !s_indexWriteProbe || s_indexWriteProbe(block); }

// Writes the packed form of the index file into `out`: header page (with the packed marker), packed
// data header, block table and the blocks, each block read from the index and compressed on its
// own (the buffers are the reader's). The table receives the entries. 0 or the error.
unsigned WritePackedIndex(s_Index& index, s_PackedReader& reader, uint32_t unpacked, HANDLE out, uint32_t* table,
                          uint32_t entries, uint32_t blockCount)
{
    const s_PackLibrary& lib = g_PackLibrary;
    uint8_t* plain = reader.entries[0].expanded.get();
    uint8_t* packed = reader.entries[0].compressed.get();
    reader.entries[0].valid = false;
    const uint32_t front = ntx::kPageSize + kPackedHeaderSize + 4 * entries;
    uint32_t at = front;
    for (uint32_t k = 0; k < blockCount; ++k) {
        const uint32_t from = ntx::kPageSize + k * kIndexBlockSize;
        const uint32_t length = unpacked - from < kIndexBlockSize ? unpacked - from : kIndexBlockSize;
        if (!ReadAt(index.file, from, plain, length))
            return DBE_INDEX_READ;
        if (lib.setMode)
            lib.setMode(kIndexMode);
        const uint32_t compressed = (uint16_t)lib.compress(packed, plain, length);
        if (compressed == 0 || compressed > VLPA05_MAX_BLOCK)
            return DBE_INDEX_WRITE;
        if (!WriteAllowed(k) || !WriteAt(out, at, packed, compressed))
            return DBE_INDEX_WRITE;
        table[k] = at;
        at += compressed;
    }
    table[blockCount] = at | DB_PACKED_END_BIT;

    std::unique_ptr<uint8_t[]> head(new (std::nothrow) uint8_t[front]);
    if (!head)
        return DBE_MEMORY;
    if (!ReadAt(index.file, 0, head.get(), ntx::kPageSize))
        return DBE_INDEX_READ;
    std::memcpy(head.get() + ntx::kPackedMarkerAt, ntx::kPackedMarker, ntx::kPackedMarkerSize);
    dbf::Put16(head.get() + ntx::kPageSize, kIndexMode);
    dbf::Put32(head.get() + ntx::kPageSize + 2, unpacked);
    dbf::Put16(head.get() + ntx::kPageSize + 6, kIndexBlockSize);
    for (uint32_t k = 0; k < entries; ++k)
        dbf::Put32(head.get() + ntx::kPageSize + kPackedHeaderSize + 4 * k, table[k]);
    if (!WriteAllowed(blockCount) || !WriteAt(out, 0, head.get(), front))
        return DBE_INDEX_WRITE;
    return 0;
}

// Opens the slot's file again after it was replaced (or not), with the table's access and
// sharing, and takes back an index lock the slot held.
bool ReopenIndex(s_Area& area, s_Index& index)
{
    index.file = _db_open_area_file(area, index.name, OPEN_EXISTING,
                                    area.exclusive ? DB_FILE_FLAGS_EXCLUSIVE : DB_FILE_FLAGS);
    if (index.file == INVALID_HANDLE_VALUE)
        return false;
    if (index.lockCount > 0 && area.indexLockWord == 0)
        LockRange(index.file, LOCK_START, 1, TRUE);
    return true;
}

} // namespace

void _pk_set_index_write_probe(PackIndexWriteProbe probe) { s_indexWriteProbe = probe; }

bool _pk_pack_index(s_Area& area, int slot)
{
    s_Index& index = area.indexes[slot];
    unsigned code = 0;
    s_PackedReader* reader = NewReader(&code);
    if (!reader) {
        _db_raise_error(code);
        return false;
    }
    auto fail = [&](unsigned error) {
        DeleteReader(reader);
        _db_raise_error(error);
        return false;
    };
    const s_PackLibrary& lib = g_PackLibrary;
    if (!_pk_set_block_size(*reader, kIndexBlockSize))
        return fail(DBE_MEMORY);
    LARGE_INTEGER size{};
    if (!lib.compress)
        return fail(DBE_PACK_UNAVAILABLE);
    if (index.file == INVALID_HANDLE_VALUE || !index.name[0] || !_ntx_write_pages(index) ||
        !GetFileSizeEx(index.file, &size) || size.QuadPart < (LONGLONG)ntx::kPageSize || size.QuadPart > 0x7FFFFFFFLL)
        return fail(DBE_INDEX_WRITE);
    const uint32_t unpacked = (uint32_t)size.QuadPart;
    const uint32_t entries = (unpacked + kIndexBlockSize - 1) / kIndexBlockSize + 1;
    const uint32_t blockCount = (unpacked - ntx::kPageSize + kIndexBlockSize - 1) / kIndexBlockSize;
    std::unique_ptr<uint32_t[]> table(new (std::nothrow) uint32_t[entries]());
    if (!table)
        return fail(DBE_MEMORY);

    // The packed file is written beside the index and takes its place only when it is complete:
    // a failure on the way leaves the unpacked index as the build wrote it.
    {
        PackedFileBeside beside;
        if (!beside.Create(index.name))
            return fail(DBE_INDEX_WRITE);
        if ((code = WritePackedIndex(index, *reader, unpacked, beside.Handle(), table.get(), entries, blockCount)))
            return fail(code);
        CloseHandle(index.file);
        index.file = INVALID_HANDLE_VALUE;
        const bool replaced = beside.Replace(index.name);
        if (!ReopenIndex(area, index))
            return fail(DBE_INDEX_OPEN);
        if (!replaced)
            return fail(DBE_INDEX_WRITE);
    }

    std::memcpy(index.header + ntx::kPackedMarkerAt, ntx::kPackedMarker, ntx::kPackedMarkerSize);
    _pk_set_mode(*reader, kIndexMode);
    reader->unpackedSize = unpacked;
    if (!_pk_set_table(*reader, table.get(), blockCount + 1))
        return fail(DBE_MEMORY);
    reader->unitsPerBlock = kIndexBlockSize / ntx::kPageSize;
    DeleteReader(index.packedReader);
    index.packedReader = reader;
    index.packed = 1;
    _ntx_drop_pages(index);
    return true;
}

void _pk_hooks(s_EngineHooks& hooks)
{
    hooks.openPacked = OpenPacked;
    hooks.readPacked = ReadPacked;
    hooks.packedSize = PackedSize;
    hooks.packedMethod = PackedMethod;
    hooks.readPackedIndexPage = ReadPackedIndexPage;
    hooks.releasePacked = ReleasePacked;
    hooks.openPackedIndex = OpenPackedIndex;
    hooks.releasePackedIndex = ReleasePackedIndex;
    hooks.packIndex = _pk_pack_index;
}
