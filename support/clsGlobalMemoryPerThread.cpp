#include "clsGlobalMemoryPerThread.h"

#include <cstring>
#include <new>

#include "DebugOutput.h"
#include "LibHeap.h"
#include "StackWalk.h"
#include "clsCritObj.h"

static_assert(64 + 63 == clsGlobalMemoryPerThread::kClassCount, "QIVALLOC_MEM_PAGECOLLECTIONCOUNT");

clsGlobalMemoryPerThread* clsGlobalMemoryPerThread::Create()
{
    void* block = LibHeapAlloc(sizeof(clsGlobalMemoryPerThread));
    if (!block)
        return nullptr;
    clsGlobalMemoryPerThread* pool = new (block) clsGlobalMemoryPerThread();
    std::memcpy(pool->m_magic, "QiVT", 4);
    for (int i = 0; i < kClassCount; ++i)
        pool->m_classes[i].Init(ClassSize(i));
    return pool;
}

void clsGlobalMemoryPerThread::Destroy(clsGlobalMemoryPerThread* pool)
{
    if (!pool)
        return;
    for (clsMemPageCollection& c : pool->m_classes)
        c.Destroy();
    pool->~clsGlobalMemoryPerThread();
    LibHeapFree(pool);
}

void* clsGlobalMemoryPerThread::GetObject(size_t m, bool tryOnly)
{
    size_t s = m + kHeaderBeforePool;
    if (s < m)
        return nullptr;
    if (s >= kLargeSize) {
        PoolBlockHeader* header;
        uint32_t magic;
        if (s < kVirtualSize) {
            header = static_cast<PoolBlockHeader*>(LibHeapAlloc(s));
            magic = kMagicHeap;
            if (!header) {
                DebugPrintf("WRN: clsGlobalMemoryPerThread::GetObject(%Id bytes): out of memory!", m);
                return nullptr;
            }
        } else {
            header = static_cast<PoolBlockHeader*>(VirtualAlloc(nullptr, s, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
            magic = kMagicVirtual;
            if (!header) {
                DebugPrintf("WRN: clsGlobalMemoryPerThread::GetObject(%Iu bytes): out of (virtual/committed) memory: %d!",
                            m, (int)GetLastError());
                return nullptr;
            }
        }
        header->slot = 0;
        header->unused = 0;
        header->collection = nullptr;
        header->magic = magic;
        header->size = s <= 0xFFFFFFFFu ? (uint32_t)s : 0xFFFFFFFFu;
        return header;
    }

    if (tryOnly) {
        if (!m_lock.TryEnter())
            return nullptr;
    } else {
        m_lock.Enter();
    }
    void* data = m_classes[ClassOf(s)].GetObject(true, false);
    if (!data) {
        m_lock.Leave();
        DebugPrintf("WRN: clsGlobalMemoryPerThread::GetObject(%Id bytes): out of memory!", m);
        return nullptr;
    }
    PoolBlockHeader* header = static_cast<PoolBlockHeader*>(data);
    header->magic = kMagicPooled;
    header->size = (uint32_t)s;
    m_lock.Leave();
    return header;
}

bool clsGlobalMemoryPerThread::ReleaseObject(void* block, const void* userAddress)
{
    PoolBlockHeader* header = static_cast<PoolBlockHeader*>(block);
    switch (header->magic) {
    case kMagicPooled: {
        if (header->size >= kLargeSize) {
            DebugPrintf("WRN: clsGlobalMemoryPerThread::ReleaseObject(0x%p, %d bytes): object cannot be deleted!",
                        userAddress, (int)header->size - (int)kHeaderBeforePool);
            LogStackTraces(10);
            return false;
        }
        bool released;
        {
            clsCritObj lock(m_lock);
            released = m_classes[ClassOf(header->size)].ReleaseObject(block);
        }
        if (!released) {
            DebugPrintf("WRN: clsGlobalMemoryPerThread::ReleaseObject(0x%p, %d bytes): object cannot be deleted!",
                        userAddress, (int)header->size - (int)kHeaderBeforePool);
            LogStackTraces(10);
        }
        return released;
    }
    case kMagicHeap:
    case kMagicVirtual:
        return ReleaseLarge(header);
    default:
        DebugPrintf("WRN: clsGlobalMemoryPerThread::ReleaseObject(0x%p): object not allocated by me!", userAddress);
        LogStackTraces(10);
        return false;
    }
}

bool clsGlobalMemoryPerThread::ReleaseLarge(void* block)
{
    PoolBlockHeader* header = static_cast<PoolBlockHeader*>(block);
    uint32_t magic = header->magic;
    header->magic = 0;
    if (magic == kMagicVirtual)
        VirtualFree(header, 0, MEM_RELEASE);
    else
        LibHeapFree(header);
    return true;
}
