// Allocator kind 1: one clsGlobalMemoryPerThread pool per processor and the chooser that spreads
// requests over them.
//
// With several pools a request holds the chooser lock while it asks the pools in turn, each
// without waiting for its lock: from the pool of the previous request, or from the next one when
// another thread made that request. After one round without an answer it waits for the lock of
// the first pool it asked; when that pool has no memory either, the request fails (NULL).
// Releases go straight to the pool recorded in front of the block and never take the chooser
// lock.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "clsCrit.h"

class clsGlobalMemoryPerThread;

class clsGlobalMemory {
public:
    static constexpr uint32_t kMagic = 0x765FA54F;

    // poolCount 0: one pool per processor (GetSystemInfo).
    explicit clsGlobalMemory(uint32_t poolCount = 0);
    ~clsGlobalMemory();
    clsGlobalMemory(const clsGlobalMemory&) = delete;
    clsGlobalMemory& operator=(const clsGlobalMemory&) = delete;

    void* GetObject(size_t size);
    bool ReleaseObject(void* p);
    // True when value is the address of one of the pools, also after Shutdown.
    bool IsPool(uintptr_t value) const;
    // Destroys the pools (leak warnings for pages still in use). The list of their addresses
    // stays, so that a later release of one of their blocks can be recognised.
    void Shutdown();
    bool IsShutDown() const { return m_shutDown; }

    uint32_t PoolCount() const { return m_poolCount; }
    clsGlobalMemoryPerThread* Pool(uint32_t index) const { return index < m_poolCount ? m_pools[index] : nullptr; }

private:
    uint32_t m_magic = kMagic;
    clsCrit m_chooser;
    uint8_t m_ready = 1;
    uint32_t m_poolCount = 0;
    clsGlobalMemoryPerThread** m_pools = nullptr;
    DWORD m_lastThread = 0;
    uint32_t m_lastIndex = 0;
    bool m_shutDown = false;
};
