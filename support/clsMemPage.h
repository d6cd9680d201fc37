// One page of a pool size class (allocator kind 1): a block of the library heap of at most 64 KB
// holding n objects of one size with a free list of object numbers.
//
//   offset                 size        field
//   0                      4           magic "QiVP"
//   4                      4           page size (whole block)
//   8                      4           data stride: object size + 8, rounded up to 16
//   12                     4           objects in use
//   16                     4           capacity n = 65,472 / (stride + 4)
//   20                     4           offset of object 1 (16k + 8, so the caller's bytes of every
//                                      object are 16-byte aligned)
//   24                     4 (n + 1)   free list: entry 0 the number of the first free object
//                                      (1-based; n + 1: the page is full), entry k the number of
//                                      the free object after object k, 0 for an object in use
//   objects                stride n    each a pointer back to the page followed by the object
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class clsMemPage {
public:
    // A new page for objects of the given size from the library heap, or NULL.
    static clsMemPage* Create(uint32_t objectSize);
    static void Destroy(clsMemPage* page);

    bool IsFull() const { return m_nextFree[0] == m_maxObjects + 1; }
    bool IsEmpty() const { return m_usedObjects == 0; }
    uint32_t Used() const { return m_usedObjects; }
    uint32_t Capacity() const { return m_maxObjects; }
    uint32_t Stride() const { return m_sizeOfData; }
    uint32_t PageSize() const { return m_sizeOfPage; }

    // Takes a free object and returns its bytes (behind the back-pointer); NULL when full.
    void* Take();
    // Gives an object's bytes back; false (after an assertion box) for bytes that are no object of
    // this page or that are already free.
    bool Give(void* data);
    // The page an object's bytes belong to (the back-pointer in front of them).
    static clsMemPage* OwnerOf(const void* data) { return static_cast<clsMemPage* const*>(data)[-1]; }

private:
    clsMemPage() = default;
    char* ObjectAt(uint32_t number) { return reinterpret_cast<char*>(this) + m_firstObject + (number - 1) * m_sizeOfData; }
    uint32_t NumberOf(const void* data) const;

    char m_magic[4];
    uint32_t m_sizeOfPage;
    uint32_t m_sizeOfData;
    uint32_t m_usedObjects;
    uint32_t m_maxObjects;
    uint32_t m_firstObject;
    uint32_t m_nextFree[1]; // n + 1 entries
};
