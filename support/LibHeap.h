// The library's private heap. The library's entry point creates it before the run time starts and
// destroys it after the run time has ended; a program that links the library's objects directly
// gets it when its allocator starts. Pages, chunks, pools and large blocks of the allocator come
// from it.
#pragma once

#include <windows.h>

#include <cstddef>

// Creates the heap when it does not exist yet (growable; a maximum size other than 0 makes a heap
// of that fixed size, which tests use to run out of memory); false when it cannot be created.
bool LibHeapCreate(size_t maximumSize = 0);
// Destroys the heap (everything in it is gone).
void LibHeapDestroy();
// A block of the heap; NULL (after the library heap's error box) when the heap is exhausted.
void* LibHeapAlloc(size_t size);
// Frees a block; NULL and calls without a heap are ignored.
void LibHeapFree(void* block);
HANDLE LibHeapHandle();
