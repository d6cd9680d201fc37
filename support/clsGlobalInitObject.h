// The process allocator of the library: every operator new and delete of the library's module
// comes here and is served by one of three kinds, chosen once from the registry value
// HKEY_CURRENT_USER\Software\velmar "Allocator" (any type, its first 4 bytes):
//   1          pools, one per processor (clsGlobalMemory)
//   2          page heap (clsPageHeap), also when the value is missing
//   any other  the C run-time heap
//
// Every block is 16-byte aligned. A block is released by the kind that made it, whatever kind
// serves new requests: page heap objects are found by their chunk, every other block carries a
// check word in the 8 bytes in front of it (the owning pool for kind 1, a tag that depends on the
// block's address for run-time heap blocks and page heap large blocks). Run-time heap blocks have
// a 16-byte prefix for it. So blocks made before the allocator started (the run-time heap serves
// them) and blocks released after it ended are handled correctly; a pointer that is no block of
// the module gets a warning and is left alone.
//
// Construction (the allocator's start-up priority): the never started thread part
// "clsGlobalInitObjectWatch", the pools, the debug-output channel of the module, the utility
// library's job with its heap "MainHeap", then the kind. Destruction: the page heap's chunks, the
// utility library's heap and job, the pools (with leak warnings), then the channel closes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "clsGlobalMemory.h"
#include "clsPageHeap.h"
#include "clsThreadBase.h"

class clsGlobalInitObject : public clsThreadBase {
public:
    // The process allocator (one per module).
    clsGlobalInitObject();
    // A private allocator of the given kind for tests and benchmarks: no registry, no channel,
    // no job; poolCount 0 means one pool per processor.
    explicit clsGlobalInitObject(DWORD kind, uint32_t poolCount = 0);
    ~clsGlobalInitObject() override;

    void* Allocate(size_t size);
    bool Free(void* p);
    DWORD Kind() const { return m_kind; }

    long UtilJob() const { return m_utilJob; }
    long UtilHeap() const { return m_utilHeap; }
    clsPageHeap& PageHeap() { return m_pageHeap; }
    clsGlobalMemory& Memory() { return m_memory; }

    // The module's process allocator while it exists, else NULL.
    static clsGlobalInitObject* Process();
    // What the module's operators do: the process allocator, or the run-time heap before it
    // started and after it ended (a release then still finds the kind that made the block).
    static void* ModuleAllocate(size_t size);
    static void ModuleFree(void* p);

    // The kind the registry below root asks for (key "Software", subkey "velmar", value
    // "Allocator"); 2 when there is none.
    static DWORD ReadKind(HKEY root);

    // Run-time heap blocks with their prefix.
    static void* CrtAllocate(size_t size);
    static bool IsCrtBlock(const void* p);
    static void CrtFree(void* p);

private:
    static void WarnForeign(void* p, uintptr_t word);

    DWORD m_kind = 0;
    bool m_process = false;
    clsGlobalMemory m_memory;
    clsPageHeap m_pageHeap;
    long m_utilJob = 0;
    long m_utilHeap = 0;
};
