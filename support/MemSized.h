// Size-prefixed blocks of the engine's buffers. A block of n bytes is one operator new[] of
// n + 16 bytes; the byte count stands in the 4 bytes immediately in front of the caller's
// pointer, which stays 16-byte aligned.
#pragma once

#include <cstdint>

// A block of n bytes, or NULL when there is no memory (nothing is written then).
void* MemAllocSized(uint32_t n);
// The same with n zero bytes.
void* MemAllocSizedZero(uint32_t n);
// NULL is ignored.
void MemFreeSized(void* p);
// The stored byte count; 0 for NULL.
uint32_t MemSizeOfSized(const void* p);
// The same block (also NULL) when it holds n bytes or more; else a new block of n bytes with the old bytes
// copied into it (or a first byte 0 when the old block is empty or NULL), the old block freed.
// NULL (and the old block untouched) when there is no memory.
void* MemGrowSized(void* p, uint32_t n);
