#include "LibHeap.h"

#include "LibMessageBox.h"

namespace {

HANDLE s_heap = nullptr;

} // namespace

bool LibHeapCreate(size_t maximumSize)
{
    if (!s_heap)
        s_heap = HeapCreate(0, 1024, maximumSize);
    return s_heap != nullptr;
}

void LibHeapDestroy()
{
    if (s_heap)
        HeapDestroy(s_heap);
    s_heap = nullptr;
}

void* LibHeapAlloc(size_t size)
{
    void* p = s_heap ? HeapAlloc(s_heap, 0, size) : nullptr;
    if (!p)
        LibMessageBox(nullptr, "out of memory\nor\nheap corrupted", "VLDB07", MB_TASKMODAL | MB_ICONERROR);
    return p;
}

void LibHeapFree(void* block)
{
    if (block && s_heap)
        HeapFree(s_heap, 0, block);
}

HANDLE LibHeapHandle() { return s_heap; }
