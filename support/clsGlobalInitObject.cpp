#include "clsGlobalInitObject.h"

#include <cstdlib>
#include <cstring>

#include "DebugOutput.h"
#include "LibHeap.h"
#include "StackWalk.h"
#include "clsGlobalMemoryPerThread.h"
#include "clsLibInfo.h"
#include "vlUT11.h"

namespace {

const uintptr_t kCrtTag = 0x43525448656170ULL;

clsGlobalInitObject* volatile s_process = nullptr;

// What is left of the module's process allocator after it ended: the address ranges of its page
// heap chunks and the addresses of its pools, so that a late release of one of their blocks is
// recognised (and ignored: the memory went back with the allocator).
char** s_oldChunks = nullptr;
size_t s_oldChunkCount = 0;
uintptr_t* s_oldPools = nullptr;
uint32_t s_oldPoolCount = 0;

// The 16 bytes in front of p can be read (they always can for a block of ours; a foreign pointer
// at the start of a page may have nothing in front of it).
bool FrontReadable(const void* p)
{
    if (((uintptr_t)p & 0xFFF) >= 16)
        return true;
    MEMORY_BASIC_INFORMATION info;
    return VirtualQuery(static_cast<const char*>(p) - 16, &info, sizeof info) == sizeof info && info.State == MEM_COMMIT &&
           !(info.Protect & (PAGE_NOACCESS | PAGE_GUARD));
}

bool InOldChunk(const void* p)
{
    uintptr_t a = (uintptr_t)p;
    for (size_t i = 0; i < s_oldChunkCount; ++i)
        if (a - (uintptr_t)s_oldChunks[i] < clsPageHeap::kChunkSize)
            return true;
    return false;
}

bool IsOldPool(uintptr_t value)
{
    for (uint32_t i = 0; i < s_oldPoolCount; ++i)
        if (s_oldPools[i] == value)
            return true;
    return false;
}

HMODULE OwnModule()
{
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery((const void*)&s_process, &info, sizeof info) != sizeof info)
        return nullptr;
    return static_cast<HMODULE>(info.AllocationBase);
}

} // namespace

clsGlobalInitObject::clsGlobalInitObject() : clsThreadBase("clsGlobalInitObjectWatch"), m_process(true)
{
    DebugChannelOpen(OwnModule());
    m_utilJob = UtilJobOpenA(g_LibInfo.LibFileName(), 0);
    m_utilHeap = UtilHeapCreate(m_utilJob, "MainHeap", 0);
    DWORD kind = ReadKind(HKEY_CURRENT_USER);
    m_kind = kind;
    s_process = this;
}

clsGlobalInitObject::clsGlobalInitObject(DWORD kind, uint32_t poolCount)
    : clsThreadBase("clsGlobalInitObjectWatch"), m_memory(poolCount)
{
    m_kind = kind;
}

clsGlobalInitObject::~clsGlobalInitObject()
{
    if (m_process) {
        s_process = nullptr;
        // Keep what a late release needs to recognise blocks of this allocator.
        s_oldChunkCount = 0;
        m_pageHeap.HandOverChunkTable(&s_oldChunks, &s_oldChunkCount);
        s_oldPoolCount = 0;
        uint32_t pools = m_memory.PoolCount();
        s_oldPools = pools ? static_cast<uintptr_t*>(LocalAlloc(LMEM_FIXED, pools * sizeof(uintptr_t))) : nullptr;
        if (s_oldPools) {
            for (uint32_t i = 0; i < pools; ++i)
                s_oldPools[i] = (uintptr_t)m_memory.Pool(i);
            s_oldPoolCount = pools;
        }
    }
    m_kind = 0;
    ThreadStop(false, 1000);
    m_pageHeap.Shutdown();
    if (m_process) {
        UtilHeapDelete(m_utilHeap);
        UtilJobClose(m_utilJob);
    }
    // The pools before the channel closes, so that their leak warnings are still written.
    m_memory.Shutdown();
    if (m_process)
        DebugChannelClose();
}

DWORD clsGlobalInitObject::ReadKind(HKEY root)
{
    DWORD kind = 2;
    HKEY software;
    if (RegOpenKeyExA(root, "Software", 0, KEY_READ, &software) != ERROR_SUCCESS)
        return kind;
    HKEY velmar;
    if (RegOpenKeyExA(software, "velmar", 0, KEY_READ, &velmar) == ERROR_SUCCESS) {
        BYTE value[4] = {};
        DWORD size = sizeof value, type = 0;
        if (RegQueryValueExA(velmar, "Allocator", nullptr, &type, value, &size) == ERROR_SUCCESS)
            std::memcpy(&kind, value, sizeof kind);
        RegCloseKey(velmar);
    }
    RegCloseKey(software);
    return kind;
}

clsGlobalInitObject* clsGlobalInitObject::Process() { return s_process; }

void* clsGlobalInitObject::CrtAllocate(size_t size)
{
    if (size > (size_t)-1 - 16)
        return nullptr;
    char* block = static_cast<char*>(std::malloc(size + 16));
    if (!block)
        return nullptr;
    char* p = block + 16;
    reinterpret_cast<uintptr_t*>(p)[-2] = size;
    reinterpret_cast<uintptr_t*>(p)[-1] = (uintptr_t)p ^ kCrtTag;
    return p;
}

bool clsGlobalInitObject::IsCrtBlock(const void* p)
{
    return reinterpret_cast<const uintptr_t*>(p)[-1] == ((uintptr_t)p ^ kCrtTag);
}

void clsGlobalInitObject::CrtFree(void* p)
{
    reinterpret_cast<uintptr_t*>(p)[-1] = 0;
    std::free(static_cast<char*>(p) - 16);
}

void* clsGlobalInitObject::Allocate(size_t size)
{
    switch (m_kind) {
    case 0:
        return CrtAllocate(size);
    case 1:
        return m_memory.GetObject(size);
    case 2:
        return m_pageHeap.Allocate(size);
    default:
        return CrtAllocate(size);
    }
}

void clsGlobalInitObject::WarnForeign(void* p, uintptr_t word)
{
    if (word == 0)
        DebugPrintf("WRN: clsGlobalMemory::ReleaseObject(0x%p): object not from me!", p);
    else
        DebugPrintf("WRN: clsGlobalMemoryPerThread::ReleaseObject(0x%p): object not allocated by me!", p);
    LogStackTraces(10);
}

bool clsGlobalInitObject::Free(void* p)
{
    if (!p)
        return false;
    if (m_pageHeap.ReleaseSmall(p))
        return true;
    if (!FrontReadable(p)) {
        WarnForeign(p, 1);
        return false;
    }
    if (IsCrtBlock(p)) {
        CrtFree(p);
        return true;
    }
    if (clsPageHeap::IsLargeBlock(p)) {
        clsPageHeap::ReleaseLarge(p);
        return true;
    }
    uintptr_t word = reinterpret_cast<const uintptr_t*>(p)[-1];
    if (m_memory.IsPool(word))
        return m_memory.ReleaseObject(p);
    WarnForeign(p, word);
    return false;
}

void* clsGlobalInitObject::ModuleAllocate(size_t size)
{
    clsGlobalInitObject* process = s_process;
    return process ? process->Allocate(size) : CrtAllocate(size);
}

void clsGlobalInitObject::ModuleFree(void* p)
{
    if (!p)
        return;
    clsGlobalInitObject* process = s_process;
    if (process) {
        process->Free(p);
        return;
    }
    // No allocator (yet or any more): run-time heap blocks, large blocks and the blocks of the
    // ended allocator. Pool pages went back with it and may be gone from the address space: a
    // block whose header cannot be read is one of theirs.
    unsigned char header[sizeof(PoolBlockHeader) + 16];
    if (InOldChunk(p) || !SafeRead(header, (uintptr_t)p - sizeof header, sizeof header))
        return;
    if (IsCrtBlock(p)) {
        CrtFree(p);
        return;
    }
    if (clsPageHeap::IsLargeBlock(p)) {
        clsPageHeap::ReleaseLarge(p);
        return;
    }
    uintptr_t word = reinterpret_cast<const uintptr_t*>(p)[-1];
    if (IsOldPool(word)) {
        PoolBlockHeader* header = reinterpret_cast<PoolBlockHeader*>(p) - 1;
        if (header->magic == clsGlobalMemoryPerThread::kMagicHeap || header->magic == clsGlobalMemoryPerThread::kMagicVirtual)
            clsGlobalMemoryPerThread::ReleaseLarge(header);
    }
}
