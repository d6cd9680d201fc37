#include "PackedFiles.h"

#include <cstring>
#include <new>
#include <vector>

#include "BTree.h"
#include "DbfFormat.h"
#include "Job.h"
#include "NtxFormat.h"
#include "PackLibrary.h"
#include "PackedReader.h"
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

bool _pk_pack_index(s_Area& area, int slot)
{
    s_Index& index = area.indexes[slot];
    unsigned code = 0;
    s_PackedReader* reader = NewReader(&code);
    if (!reader) {
        _db_raise_error(code);
        return false;
    }
    const s_PackLibrary& lib = g_PackLibrary;
    if (!_pk_set_block_size(*reader, kIndexBlockSize)) {
        DeleteReader(reader);
        _db_raise_error(DBE_MEMORY);
        return false;
    }
    LARGE_INTEGER size{};
    if (!lib.compress || index.file == INVALID_HANDLE_VALUE || !_ntx_write_pages(index) ||
        !GetFileSizeEx(index.file, &size) || size.QuadPart < (LONGLONG)ntx::kPageSize ||
        size.QuadPart > 0x7FFFFFFFLL) {
        DeleteReader(reader);
        _db_raise_error(lib.compress ? (unsigned)DBE_INDEX_WRITE : (unsigned)DBE_PACK_UNAVAILABLE);
        return false;
    }
    const uint32_t unpacked = (uint32_t)size.QuadPart;
    std::vector<uint8_t> file(unpacked);
    if (!ReadAt(index.file, 0, file.data(), unpacked)) {
        DeleteReader(reader);
        _db_raise_error(DBE_INDEX_READ);
        return false;
    }
    std::memcpy(file.data() + ntx::kPackedMarkerAt, ntx::kPackedMarker, ntx::kPackedMarkerSize);

    // Every block is compressed before anything is written: the file is rewritten in place, and
    // data that do not compress well would otherwise overtake the blocks still to be read.
    const uint32_t entries = (unpacked + kIndexBlockSize - 1) / kIndexBlockSize + 1;
    const uint32_t blockCount = (unpacked - ntx::kPageSize + kIndexBlockSize - 1) / kIndexBlockSize;
    std::vector<uint32_t> table(entries, 0);
    std::vector<uint8_t> blocks;
    uint32_t at = ntx::kPageSize + kPackedHeaderSize + 4 * entries;
    uint8_t packed[VLPA05_MAX_BLOCK];
    for (uint32_t k = 0; k < blockCount; ++k) {
        const uint32_t from = ntx::kPageSize + k * kIndexBlockSize;
        const uint32_t length = unpacked - from < kIndexBlockSize ? unpacked - from : kIndexBlockSize;
        if (lib.setMode)
            lib.setMode(kIndexMode);
        const uint32_t compressed = (uint16_t)lib.compress(packed, file.data() + from, length);
        if (compressed == 0 || compressed > VLPA05_MAX_BLOCK) {
            DeleteReader(reader);
            _db_raise_error(DBE_INDEX_WRITE);
            return false;
        }
        table[k] = at;
        blocks.insert(blocks.end(), packed, packed + compressed);
        at += compressed;
    }
    table[blockCount] = at | DB_PACKED_END_BIT;

    std::vector<uint8_t> front(ntx::kPageSize + kPackedHeaderSize + 4 * entries);
    std::memcpy(front.data(), file.data(), ntx::kPageSize);
    dbf::Put16(front.data() + ntx::kPageSize, kIndexMode);
    dbf::Put32(front.data() + ntx::kPageSize + 2, unpacked);
    dbf::Put16(front.data() + ntx::kPageSize + 6, kIndexBlockSize);
    for (uint32_t k = 0; k < entries; ++k)
        dbf::Put32(front.data() + ntx::kPageSize + kPackedHeaderSize + 4 * k, table[k]);
    if (!WriteAt(index.file, 0, front.data(), (DWORD)front.size()) ||
        (!blocks.empty() && _xwrite(index.file, blocks.data(), (DWORD)blocks.size()) != blocks.size())) {
        DeleteReader(reader);
        _db_raise_error(DBE_INDEX_WRITE);
        return false;
    }
    _xwrite(index.file, nullptr, 0);
    if (area.flush && !area.exclusive)
        FlushFileBuffers(index.file);

    std::memcpy(index.header + ntx::kPackedMarkerAt, ntx::kPackedMarker, ntx::kPackedMarkerSize);
    _pk_set_mode(*reader, kIndexMode);
    reader->unpackedSize = unpacked;
    _pk_set_table(*reader, table.data(), blockCount + 1);
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
