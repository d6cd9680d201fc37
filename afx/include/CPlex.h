// A chain of memory blocks for the nodes of CList and CMap: each block holds a fixed number of
// elements and stays where it is until the whole chain is freed, so node addresses never move.
#pragma once

#include "AfxBase.h"

struct alignas(16) CPlex {
    CPlex* pNext;

    void* data() { return this + 1; }

    // Allocates a block of nMax elements of cbElement bytes and puts it at the head of the
    // chain; throws CMemoryException when there is no memory.
    static CPlex* PASCAL Create(CPlex*& head, UINT nMax, UINT cbElement);
    // Frees this block and all blocks after it.
    void FreeDataChain();
};
