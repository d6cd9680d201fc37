// The page heap (allocator kind 2): 4,096-byte pages carved out of 1 MB chunks of the library heap,
// one list of pages with room per object size, and large blocks of their own.
//
// Page (4,096 bytes, at a 4,096-byte boundary):
//   offset  size  field
//   0       8     next page of the bucket (NULL while the page is in no bucket)
//   8       8     previous page of the bucket
//   16      4     object size (a multiple of 16); 0 library-heap large block, 0xFFFFFFFF
//                 VirtualAlloc large block
//   20      4     objects in use
//   24      8     first free object (each free object's first word holds the next one)
//   32      8     next never-used object, NULL when no further object fits; a large block keeps
//                 the start of its allocation here
//   40      8     large blocks: check word (address of the caller's bytes ^ kLargeTag)
//   48      ...   objects, 16-byte aligned
//
// Sizes are rounded up to 16 (size 0 counts as 1), so every object is 16-byte aligned. A
// rounded size of 4,048 (4,096 - header) or more is a large block: one allocation of
// size + 4,144 bytes whose first 4,096-byte boundary holds a header of the page form; the
// caller's bytes follow it. Above 32 MB the allocation comes from VirtualAlloc, else from the
// library heap. Chunks are kept sorted by address, so a release can tell a page heap object from
// any other block by a binary search; chunks go back to the library heap only when the allocator
// ends (Shutdown), and a release of an object inside a returned chunk then does nothing.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "clsCrit.h"

class clsPageHeap {
public:
    static constexpr size_t kPageSize = 4096;
    static constexpr size_t kHeaderSize = 48;
    static constexpr size_t kLargeThreshold = kPageSize - kHeaderSize; // 4,048
    static constexpr size_t kBucketCount = kLargeThreshold / 16;         // 253, index 0 unused
    static constexpr size_t kChunkSize = 1048576;
    static constexpr size_t kVirtualThreshold = 0x2000000;
    static constexpr uintptr_t kLargeTag = 0x5A4C6172676542ULL;

    struct PageHeader {
        PageHeader* next;
        PageHeader* prev;
        uint32_t objectSize;
        uint32_t used;
        void* freeList;
        char* bump;
        uintptr_t check;
    };
    static_assert(sizeof(PageHeader) == kHeaderSize, "page header layout");

    clsPageHeap();
    ~clsPageHeap();
    clsPageHeap(const clsPageHeap&) = delete;
    clsPageHeap& operator=(const clsPageHeap&) = delete;

    void* Allocate(size_t size);
    // Releases an object of a page (true); false when the pointer lies in no chunk of this heap.
    // Objects of chunks already returned are ignored (true).
    bool ReleaseSmall(void* p);
    // True when p is the caller's address of a large block of this heap.
    static bool IsLargeBlock(const void* p);
    static void ReleaseLarge(void* p);
    // Returns the free pages and the chunks to the library heap; allocation is over after this.
    void Shutdown();

    // Inspection for tests and benchmarks.
    static const PageHeader* PageOf(const void* p)
    {
        return reinterpret_cast<const PageHeader*>(reinterpret_cast<uintptr_t>(p) & ~(uintptr_t)(kPageSize - 1));
    }
    size_t ChunkCount();
    // Hands the chunk table over: it outlives this object (without its chunks).
    void HandOverChunkTable(char*** table, size_t* count)
    {
        *table = m_chunks;
        *count = m_chunkCount;
        m_tableHandedOver = true;
    }
    size_t FreePageCount();
    static size_t RoundedSize(size_t size) { return ((size ? size : 1) + 15) & ~(size_t)15; }

private:
    void* AllocateLarge(size_t rounded);
    bool TakeChunk();
    // Index of the chunk holding p, or -1.
    long FindChunk(uintptr_t p) const;
    static void Unlink(PageHeader* page);
    static void LinkTail(PageHeader* sentinel, PageHeader* page);

    clsCrit m_lock;
    PageHeader m_buckets[kBucketCount];
    bool m_bucketsReady[kBucketCount];
    PageHeader* m_freePages = nullptr;
    char** m_chunks = nullptr; // sorted by address
    size_t m_chunkCount = 0;
    size_t m_chunkCapacity = 0;
    std::atomic<bool> m_hasChunks{false}; // read without the lock: no chunk, no page object
    bool m_retired = false; // the chunks went back to the library heap
    bool m_tableHandedOver = false;
};
