#include "clsPageHeap.h"

#include <cstring>

#include "DebugOutput.h"
#include "LibHeap.h"
#include "clsCritObj.h"

clsPageHeap::clsPageHeap()
{
    std::memset(m_buckets, 0, sizeof m_buckets);
    std::memset(m_bucketsReady, 0, sizeof m_bucketsReady);
}

clsPageHeap::~clsPageHeap()
{
    Shutdown();
    if (!m_tableHandedOver)
        LibHeapFree(m_chunks);
}

void clsPageHeap::Unlink(PageHeader* page)
{
    page->prev->next = page->next;
    page->next->prev = page->prev;
    page->next = page->prev = nullptr;
}

void clsPageHeap::LinkTail(PageHeader* sentinel, PageHeader* page)
{
    page->next = sentinel;
    page->prev = sentinel->prev;
    sentinel->prev->next = page;
    sentinel->prev = page;
}

long clsPageHeap::FindChunk(uintptr_t p) const
{
    size_t low = 0, high = m_chunkCount;
    while (low < high) {
        size_t mid = (low + high) / 2;
        if ((uintptr_t)m_chunks[mid] <= p)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == 0)
        return -1;
    uintptr_t start = (uintptr_t)m_chunks[low - 1];
    return p - start < kChunkSize ? (long)(low - 1) : -1;
}

bool clsPageHeap::TakeChunk()
{
    char* chunk = static_cast<char*>(LibHeapAlloc(kChunkSize));
    if (!chunk)
        return false;
    if (m_chunkCount == m_chunkCapacity) {
        size_t capacity = m_chunkCapacity ? m_chunkCapacity * 2 : 16;
        char** table = static_cast<char**>(LibHeapAlloc(capacity * sizeof(char*)));
        if (!table) {
            LibHeapFree(chunk);
            return false;
        }
        std::memset(table, 0, capacity * sizeof(char*));
        if (m_chunks)
            std::memcpy(table, m_chunks, m_chunkCount * sizeof(char*));
        LibHeapFree(m_chunks);
        m_chunks = table;
        m_chunkCapacity = capacity;
    }
    size_t at = m_chunkCount;
    while (at > 0 && m_chunks[at - 1] > chunk) {
        m_chunks[at] = m_chunks[at - 1];
        --at;
    }
    m_chunks[at] = chunk;
    ++m_chunkCount;
    m_hasChunks.store(true, std::memory_order_release);

    // 256 pages when the chunk starts on a page boundary, else 255.
    uintptr_t end = (uintptr_t)chunk + kChunkSize;
    for (uintptr_t page = ((uintptr_t)chunk + kPageSize - 1) & ~(uintptr_t)(kPageSize - 1); page + kPageSize <= end;
         page += kPageSize) {
        PageHeader* header = reinterpret_cast<PageHeader*>(page);
        header->next = m_freePages;
        m_freePages = header;
    }
    return true;
}

void* clsPageHeap::AllocateLarge(size_t rounded)
{
    // The block's header page and slack come on top: a size whose total cannot be counted is
    // refused (the sum would wrap round to a tiny block).
    if (rounded > (size_t)-1 - kPageSize - kHeaderSize) {
        DebugPrintf("SMARTHEAP WARNING: allocation of %Iu bytes failed", rounded);
        return nullptr;
    }
    size_t total = rounded + kPageSize + kHeaderSize;
    bool fromVirtual = rounded > kVirtualThreshold;
    char* start;
    if (fromVirtual) {
        start = static_cast<char*>(VirtualAlloc(nullptr, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        if (!start) {
            DebugPrintf("SMARTHEAP WARNING: allocation of %Id bytes failed (VirtualAlloc()->%d)", total,
                        (int)GetLastError());
            return nullptr;
        }
    } else {
        start = static_cast<char*>(LibHeapAlloc(total));
        if (!start) {
            DebugPrintf("SMARTHEAP WARNING: allocation of %Id bytes failed", total);
            return nullptr;
        }
    }
    uintptr_t boundary = ((uintptr_t)start + kPageSize - 1) & ~(uintptr_t)(kPageSize - 1);
    PageHeader* header = reinterpret_cast<PageHeader*>(boundary);
    char* user = reinterpret_cast<char*>(boundary + kHeaderSize);
    header->next = header->prev = nullptr;
    header->objectSize = fromVirtual ? 0xFFFFFFFFu : 0;
    header->used = 1;
    header->freeList = nullptr;
    header->bump = start;
    header->check = (uintptr_t)user ^ kLargeTag;
    return user;
}

bool clsPageHeap::IsLargeBlock(const void* p)
{
    uintptr_t user = (uintptr_t)p;
    if ((user & (kPageSize - 1)) != kHeaderSize)
        return false;
    const PageHeader* header = PageOf(p);
    return header->check == (user ^ kLargeTag) && (header->objectSize == 0 || header->objectSize == 0xFFFFFFFFu);
}

void clsPageHeap::ReleaseLarge(void* p)
{
    PageHeader* header = const_cast<PageHeader*>(PageOf(p));
    header->check = 0;
    if (header->objectSize == 0xFFFFFFFFu)
        VirtualFree(header->bump, 0, MEM_RELEASE);
    else
        LibHeapFree(header->bump);
}

void* clsPageHeap::Allocate(size_t size)
{
    size_t rounded = RoundedSize(size);
    if (rounded >= kLargeThreshold || rounded < size)
        return rounded < size ? nullptr : AllocateLarge(rounded);

    clsCritObj lock(m_lock);
    if (m_retired)
        return nullptr;
    size_t index = rounded / 16;
    PageHeader* sentinel = &m_buckets[index];
    if (!m_bucketsReady[index]) {
        sentinel->next = sentinel->prev = sentinel;
        m_bucketsReady[index] = true;
    }
    if (sentinel->next == sentinel) {
        if (!m_freePages && !TakeChunk())
            return nullptr;
        PageHeader* page = m_freePages;
        m_freePages = page->next;
        page->objectSize = (uint32_t)rounded;
        page->used = 0;
        page->freeList = nullptr;
        page->bump = reinterpret_cast<char*>(page) + kHeaderSize;
        page->check = 0;
        LinkTail(sentinel, page);
    }

    PageHeader* page = sentinel->prev;
    ++page->used;
    void* object;
    if (page->freeList) {
        object = page->freeList;
        page->freeList = *static_cast<void**>(object);
    } else {
        object = page->bump;
        char* next = page->bump + rounded;
        page->bump = next + rounded <= reinterpret_cast<char*>(page) + kPageSize ? next : nullptr;
    }
    if (!page->freeList && !page->bump)
        Unlink(page); // full
    return object;
}

bool clsPageHeap::ReleaseSmall(void* p)
{
    if (!m_hasChunks.load(std::memory_order_acquire))
        return false;
    clsCritObj lock(m_lock);
    if (FindChunk((uintptr_t)p) < 0)
        return false;
    if (m_retired)
        return true;

    PageHeader* page = const_cast<PageHeader*>(PageOf(p));
    size_t offset = (uintptr_t)p - (uintptr_t)page;
    if (page->objectSize == 0 || offset < kHeaderSize || (offset - kHeaderSize) % page->objectSize != 0 ||
        page->used == 0) {
        DebugPrintf("WRN: clsPageHeap::ReleaseSmall(0x%p): no object in use at this address", p);
        return true;
    }

    --page->used;
    bool wasFull = page->next == nullptr;
    *static_cast<void**>(p) = page->freeList;
    page->freeList = p;
    if (page->used == 0) {
        if (!wasFull)
            Unlink(page);
        page->next = m_freePages;
        m_freePages = page;
    } else if (wasFull) {
        LinkTail(&m_buckets[page->objectSize / 16], page);
    }
    return true;
}

void clsPageHeap::Shutdown()
{
    clsCritObj lock(m_lock);
    if (m_retired)
        return;
    // The chunk table stays (without its chunks): later releases of objects that lay in them
    // are recognised and ignored.
    m_freePages = nullptr;
    for (size_t i = 0; i < m_chunkCount; ++i)
        LibHeapFree(m_chunks[i]);
    m_retired = true;
}

size_t clsPageHeap::ChunkCount()
{
    clsCritObj lock(m_lock);
    return m_retired ? 0 : m_chunkCount;
}

size_t clsPageHeap::FreePageCount()
{
    clsCritObj lock(m_lock);
    size_t n = 0;
    for (PageHeader* page = m_freePages; page; page = page->next)
        ++n;
    return n;
}
