#include "RecordCache.h"

#include <cstring>
#include <new>

#include "TableFile.h"

RecordCache::Block* RecordCache::Load(HANDLE file, size_t n)
{
    if (n < m_blocks.size() && m_blocks[n].bytes)
        return &m_blocks[n];
    // Full: the blocks start again empty; the pointer and the header's view stay.
    if (m_bytes + kBlockSize > kMaxBytes)
        DropBlocks();
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[kBlockSize]);
    if (!bytes)
        return nullptr;
    const DWORD read = _xread_at(file, bytes.get(), (int64_t)n * kBlockSize, kBlockSize, &m_pointer);
    // Past the end of the file there is nothing to keep.
    if (read == 0)
        return nullptr;
    if (n >= m_blocks.size())
        m_blocks.resize(n + 1);
    Block& block = m_blocks[n];
    block.bytes = std::move(bytes);
    block.valid = read;
    m_bytes += kBlockSize;
    if (read < kBlockSize)
        m_shortBlock = (int64_t)n;
    return &block;
}

void RecordCache::Drop(size_t n)
{
    if (n >= m_blocks.size() || !m_blocks[n].bytes)
        return;
    m_blocks[n].bytes.reset();
    m_blocks[n].valid = 0;
    m_bytes -= kBlockSize;
    if (m_shortBlock == (int64_t)n)
        m_shortBlock = -1;
}

DWORD RecordCache::Read(HANDLE file, void* buffer, int64_t offset, DWORD count)
{
    if (offset < 0)
        return 0;
    char* out = (char*)buffer;
    DWORD copied = 0;
    while (copied < count) {
        const uint64_t at = (uint64_t)offset + copied;
        const Block* block = Load(file, (size_t)(at / kBlockSize));
        if (!block) {
            // Past the end of the file, or no memory for the block: the file answers directly.
            return copied + _xread_at(file, out + copied, (int64_t)at, count - copied, &m_pointer);
        }
        const DWORD within = (DWORD)(at % kBlockSize);
        if (within >= block->valid)
            break;
        DWORD take = block->valid - within;
        if (take > count - copied)
            take = count - copied;
        std::memcpy(out + copied, block->bytes.get() + within, take);
        copied += take;
        if (block->valid < kBlockSize)
            break;
    }
    return copied;
}

DWORD RecordCache::Write(HANDLE file, const void* data, int64_t offset, DWORD count)
{
    if (offset >= 0 && count > 0 && (uint64_t)offset + count <= m_headerBytes) {
        if (!m_mapTried) {
            m_mapTried = true;
            m_header.Map(file, m_headerBytes);
        }
        if (m_header.Store(offset, data, count)) {
            Written(data, offset, count);
            return count;
        }
    }
    const DWORD written = _xwrite_at(file, data, offset, count, &m_pointer);
    if (written != count)
        Clear();
    else
        Written(data, offset, count);
    return written;
}

void RecordCache::Written(const void* data, int64_t offset, DWORD count)
{
    if (offset < 0 || count == 0)
        return;
    const char* in = (const char*)data;
    const uint64_t first = (uint64_t)offset / kBlockSize, last = ((uint64_t)offset + count - 1) / kBlockSize;
    // The file now reaches beyond a block that ended short before the written blocks: the bytes
    // between may have changed (a gap is filled with zeros), so that block is read again.
    if (m_shortBlock >= 0 && (uint64_t)m_shortBlock < first)
        Drop((size_t)m_shortBlock);
    for (uint64_t n = first; n <= last && n < m_blocks.size(); ++n) {
        Block& block = m_blocks[(size_t)n];
        if (!block.bytes)
            continue;
        const uint64_t blockStart = n * kBlockSize;
        const DWORD from = (DWORD)((uint64_t)offset > blockStart ? (uint64_t)offset - blockStart : 0);
        const uint64_t end = (uint64_t)offset + count;
        const DWORD to = (DWORD)(end - blockStart < kBlockSize ? end - blockStart : kBlockSize);
        if (from > block.valid) {
            Drop((size_t)n);
            continue;
        }
        std::memcpy(block.bytes.get() + from, in + (blockStart + from - (uint64_t)offset), to - from);
        if (to > block.valid) {
            block.valid = to;
            if (to == kBlockSize && m_shortBlock == (int64_t)n)
                m_shortBlock = -1;
        }
    }
}

void RecordCache::Clear()
{
    m_header.Unmap();
    m_mapTried = false;
    m_pointer = -1;
    DropBlocks();
}

void RecordCache::DropBlocks()
{
    m_blocks.clear();
    m_bytes = 0;
    m_shortBlock = -1;
}
