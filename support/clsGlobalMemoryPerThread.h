// One pool of allocator kind 1 (one per processor): 127 size classes under one lock.
//
// Class i holds objects of (i + 1) x 8 bytes for i = 0..63 (8 to 512) and (i - 64) x 512 + 1,024
// bytes for i = 64..126 (1,024 to 32,768). A block of m bytes (the caller's request plus the
// pool pointer) needs s = m + 24 bytes with its header; its class is s / 8 below 512, else
// (s - 512) / 512 + 64. From s = 32,768 on (a request of 32,736 bytes) the block is a large block
// of its own: from the library heap below 32 MB, else from VirtualAlloc.
//
// Block header, 32 bytes in front of the caller's bytes (16-byte aligned):
//   -32  4  slot index of the page (pooled blocks)
//   -28  4  unused
//   -24  8  owning clsMemPageCollection (pooled) or NULL
//   -16  4  magic: 0x6A55A443 pooled, 0x6A55A44E library heap, 0x6A55A44F VirtualAlloc
//   -12  4  recorded size s (request + 32)
//   -8   8  owning pool (written by clsGlobalMemory)
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "clsCrit.h"
#include "clsMemPageCollection.h"

class clsGlobalMemoryPerThread {
public:
    static constexpr int kClassCount = 127;
    static constexpr uint32_t kMagicPooled = 0x6A55A443;
    static constexpr uint32_t kMagicHeap = 0x6A55A44E;
    static constexpr uint32_t kMagicVirtual = 0x6A55A44F;
    static constexpr size_t kHeaderBeforePool = 24; // slot, collection, magic, size
    static constexpr size_t kLargeSize = 32768;
    static constexpr size_t kVirtualSize = 0x2000000;

    // A pool in a block of the library heap, or NULL.
    static clsGlobalMemoryPerThread* Create();
    static void Destroy(clsGlobalMemoryPerThread* pool);

    // A block of m bytes; returns the address of its header. With tryOnly a pool that another
    // thread holds answers NULL at once.
    void* GetObject(size_t m, bool tryOnly);
    // Releases the block whose header starts at block; userAddress is only for messages.
    bool ReleaseObject(void* block, const void* userAddress);
    // Releases a block of its own allocation (library heap or VirtualAlloc); needs no pool.
    static bool ReleaseLarge(void* block);

    static int ClassOf(size_t s) { return s < 512 ? (int)(s / 8) : (int)((s - 512) / 512 + 64); }
    static uint32_t ClassSize(int index) { return index < 64 ? (index + 1) * 8 : (index - 64) * 512 + 1024; }
    // Inspection for tests.
    const clsMemPageCollection& Class(int index) const { return m_classes[index]; }

private:
    clsGlobalMemoryPerThread() = default;

    char m_magic[4];
    clsMemPageCollection m_classes[kClassCount];
    clsCrit m_lock;
};

// The header in front of a kind-1 block's bytes.
struct PoolBlockHeader {
    uint32_t slot;
    uint32_t unused;
    clsMemPageCollection* collection;
    uint32_t magic;
    uint32_t size;
    clsGlobalMemoryPerThread* pool;
};
static_assert(sizeof(PoolBlockHeader) == 32, "pool block header");
