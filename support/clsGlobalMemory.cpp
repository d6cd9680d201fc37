#include "clsGlobalMemory.h"

#include "DebugOutput.h"
#include "clsCritObj.h"
#include "clsGlobalMemoryPerThread.h"

clsGlobalMemory::clsGlobalMemory(uint32_t poolCount)
{
    if (!poolCount) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        poolCount = info.dwNumberOfProcessors ? info.dwNumberOfProcessors : 1;
    }
    m_pools = static_cast<clsGlobalMemoryPerThread**>(LocalAlloc(LMEM_FIXED, poolCount * sizeof(clsGlobalMemoryPerThread*)));
    if (!m_pools)
        return;
    m_poolCount = poolCount;
    for (uint32_t i = 0; i < poolCount; ++i)
        m_pools[i] = clsGlobalMemoryPerThread::Create();
}

clsGlobalMemory::~clsGlobalMemory()
{
    Shutdown();
    if (m_pools)
        LocalFree(m_pools);
}

void clsGlobalMemory::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    for (uint32_t i = 0; i < m_poolCount; ++i)
        clsGlobalMemoryPerThread::Destroy(m_pools[i]);
}

bool clsGlobalMemory::IsPool(uintptr_t value) const
{
    if (!value)
        return false;
    for (uint32_t i = 0; i < m_poolCount; ++i)
        if ((uintptr_t)m_pools[i] == value)
            return true;
    return false;
}

void* clsGlobalMemory::GetObject(size_t size)
{
    size_t m = size + sizeof(void*);
    if (m < size || m_shutDown || !m_poolCount)
        return nullptr;
    void* block = nullptr;
    uint32_t index = 0;
    if (m_poolCount == 1) {
        if (m_pools[0])
            block = m_pools[0]->GetObject(m, false);
    } else {
        clsCritObj lock(m_chooser);
        DWORD thread = GetCurrentThreadId();
        uint32_t start = m_lastIndex;
        if (thread != m_lastThread)
            start = (start + 1) % m_poolCount;
        index = start;
        for (uint32_t asked = 0; asked < m_poolCount && !block; ++asked) {
            index = (start + asked) % m_poolCount;
            if (m_pools[index])
                block = m_pools[index]->GetObject(m, true);
        }
        if (!block) {
            // Every pool was busy or out of memory: wait for the first one once.
            for (uint32_t asked = 0; asked < m_poolCount; ++asked) {
                index = (start + asked) % m_poolCount;
                if (m_pools[index]) {
                    block = m_pools[index]->GetObject(m, false);
                    break;
                }
            }
        }
        if (block && index != m_lastIndex) {
            m_lastIndex = index;
            m_lastThread = thread;
        }
    }
    if (!block)
        return nullptr;
    PoolBlockHeader* header = static_cast<PoolBlockHeader*>(block);
    header->pool = m_pools[index];
    return header + 1;
}

bool clsGlobalMemory::ReleaseObject(void* p)
{
    PoolBlockHeader* header = static_cast<PoolBlockHeader*>(p) - 1;
    clsGlobalMemoryPerThread* pool = header->pool;
    if (!pool) {
        DebugPrintf("WRN: clsGlobalMemory::ReleaseObject(0x%p): object not from me!", p);
        return false;
    }
    if (m_shutDown) {
        // The pools are gone; blocks of their own allocation are still released.
        if (header->magic == clsGlobalMemoryPerThread::kMagicHeap || header->magic == clsGlobalMemoryPerThread::kMagicVirtual)
            return clsGlobalMemoryPerThread::ReleaseLarge(header);
        return true;
    }
    return pool->ReleaseObject(header, p);
}
