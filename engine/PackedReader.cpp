#include "PackedReader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "DbfFormat.h"
#include "PackLibrary.h"
#include "TableFile.h"

namespace {

const size_t kEntries = sizeof(s_PackedReader::entries) / sizeof(s_PackedReader::entries[0]);

bool SeekTo(HANDLE file, int64_t offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    LARGE_INTEGER at{};
    return SetFilePointerEx(file, to, &at, FILE_BEGIN) && at.QuadPart == offset;
}

// Expands block b into the entry; false when it cannot be read.
bool Fill(s_PackedReader& reader, HANDLE file, s_PackedCacheEntry& entry, uint32_t b)
{
    if (b >= reader.blocks || b + 1 >= reader.table.size())
        return false;
    const uint32_t start = reader.table[b];
    const uint32_t end = reader.table[b + 1] & ~DB_PACKED_END_BIT;
    if (end <= start || end - start > reader.bufferSize)
        return false;
    const uint32_t size = end - start;
    entry.valid = false;
    if (!SeekTo(file, start) || _xread(file, entry.compressed.get(), size) != size)
        return false;
    const s_PackLibrary& lib = g_PackLibrary;
    if (!lib.expandEnh && !lib.expand)
        return false;
    if (lib.setMode)
        lib.setMode(reader.mode);
    // A block that does not expand leaves zeros rather than the bytes of another block.
    std::memset(entry.expanded.get(), 0, reader.bufferSize);
    const uint64_t before = (uint64_t)reader.blockSize * b;
    const uint32_t expected =
        b + 1 == reader.blocks && reader.unpackedSize > before ? (uint32_t)(reader.unpackedSize - before) : reader.blockSize;
    if (lib.expandEnh)
        lib.expandEnh(entry.expanded.get(), entry.compressed.get(), size, expected);
    else
        lib.expand(entry.expanded.get(), entry.compressed.get(), size);
    entry.first = b * reader.unitsPerBlock + 1;
    entry.last = (b + 1) * reader.unitsPerBlock;
    entry.valid = true;
    ++reader.expansions;
    return true;
}

bool Holds(const s_PackedCacheEntry& entry, uint32_t unit) { return entry.valid && unit >= entry.first && unit <= entry.last; }

} // namespace

void _pk_set_mode(s_PackedReader& reader, uint16_t mode)
{
    reader.mode = mode;
    if (g_PackLibrary.setMode)
        g_PackLibrary.setMode(mode);
}

bool _pk_set_block_size(s_PackedReader& reader, uint16_t blockSize)
{
    if (blockSize == 0)
        return false;
    reader.blockSize = blockSize;
    // Room for the largest block the library writes, whatever the file's block size says.
    reader.bufferSize = std::max<uint32_t>(blockSize, VLPA05_MAX_BLOCK) + 1;
    for (s_PackedCacheEntry& entry : reader.entries) {
        entry.expanded.reset(new (std::nothrow) uint8_t[reader.bufferSize]);
        entry.compressed.reset(new (std::nothrow) uint8_t[reader.bufferSize]);
        entry.valid = false;
        if (!entry.expanded || !entry.compressed)
            return false;
    }
    reader.lastUsed = 0;
    reader.nextFill = 0;
    return true;
}

bool _pk_set_table(s_PackedReader& reader, const uint32_t* entries, uint32_t count)
{
    // The table is the reader's only growing allocation: a failure is an answer, not an exception.
    try {
        reader.table.assign(entries, entries + count);
    } catch (const std::bad_alloc&) {
        reader.table.clear();
        reader.blocks = 0;
        return false;
    }
    if (!reader.table.empty())
        reader.table.back() &= ~DB_PACKED_END_BIT;
    reader.blocks = count ? count - 1 : 0;
    return true;
}

bool _pk_load_table(s_PackedReader& reader, HANDLE file, int64_t offset)
{
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[DB_PACKED_TABLE_LIMIT]);
    if (!bytes || !SeekTo(file, offset))
        return false;
    const DWORD read = _xread(file, bytes.get(), DB_PACKED_TABLE_LIMIT);
    std::unique_ptr<uint32_t[]> entries(new (std::nothrow) uint32_t[DB_PACKED_TABLE_LIMIT / 4]);
    if (!entries)
        return false;
    uint32_t count = 0;
    for (DWORD at = 0; at + 4 <= read; at += 4) {
        entries[count++] = dbf::Get32(bytes.get() + at);
        if (entries[count - 1] & DB_PACKED_END_BIT)
            return _pk_set_table(reader, entries.get(), count);
    }
    return false;
}

int _pk_read_unit(s_PackedReader& reader, HANDLE file, uint32_t unit, uint32_t unitSize, void* destination)
{
    if (unit == 0)
        return SeekTo(file, 0) && _xread(file, destination, unitSize) == unitSize ? 0 : -1;
    if (reader.table.empty() || reader.unitsPerBlock == 0 || unitSize == 0 ||
        (uint64_t)reader.unitsPerBlock * unitSize > reader.bufferSize)
        return -1;
    int found = -1;
    if (Holds(reader.entries[reader.lastUsed], unit))
        found = reader.lastUsed;
    for (int i = 0; found < 0 && i < (int)kEntries; ++i)
        if (Holds(reader.entries[i], unit))
            found = i;
    if (found < 0) {
        found = reader.nextFill;
        reader.nextFill = (reader.nextFill + 1) % (int)kEntries;
        if (!Fill(reader, file, reader.entries[found], (unit - 1) / reader.unitsPerBlock))
            return -1;
    }
    reader.lastUsed = found;
    const s_PackedCacheEntry& entry = reader.entries[found];
    std::memcpy(destination, entry.expanded.get() + (size_t)(unit - entry.first) * unitSize, unitSize);
    return 0;
}
