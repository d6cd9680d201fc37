#include "clsMemPage.h"

#include <cstring>

#include "AllocatorAssert.h"
#include "LibHeap.h"

// Checks an invariant of the page; a broken one shows the assertion box with the given text.
#define PAGE_ASSERT(condition, text)                                                                                   \
    ((condition) ? true : (AllocatorAssert(ALLOCATOR_SOURCE, __LINE__, "Assertion " text " failed"), false))

namespace {

const uint32_t kPageBudget = 65472;

} // namespace

clsMemPage* clsMemPage::Create(uint32_t objectSize)
{
    uint32_t stride = (objectSize + 8 + 15) & ~15u;
    uint32_t n = kPageBudget / (stride + 4);
    if (n == 0)
        return nullptr;
    uint32_t first = (uint32_t)offsetof(clsMemPage, m_nextFree) + (n + 1) * 4;
    first = ((first + 7) & ~15u) + 8; // the first offset of the form 16k + 8 behind the free list
    uint32_t size = first + n * stride;
    void* block = LibHeapAlloc(size);
    if (!block)
        return nullptr;
    clsMemPage* page = static_cast<clsMemPage*>(block);
    std::memcpy(page->m_magic, "QiVP", 4);
    page->m_sizeOfPage = size;
    page->m_sizeOfData = stride;
    page->m_usedObjects = 0;
    page->m_maxObjects = n;
    page->m_firstObject = first;
    for (uint32_t k = 0; k <= n; ++k)
        page->m_nextFree[k] = k + 1;
    // The first and the last object carry the back-pointer from the start, and both lie inside
    // the page.
    *reinterpret_cast<clsMemPage**>(page->ObjectAt(1)) = page;
    *reinterpret_cast<clsMemPage**>(page->ObjectAt(n)) = page;
    PAGE_ASSERT(page->ObjectAt(1) >= reinterpret_cast<char*>(&page->m_nextFree[n + 1]),
                "(BYTE*)(pObject(0))-sizeof(UINT) >= pObjectBase()");
    PAGE_ASSERT(page->ObjectAt(n) + stride <= reinterpret_cast<char*>(page) + size,
                "(BYTE*)(pObject(_nMaxObjects-1))-sizeof(UINT) + _nSizeOfData <= (BYTE*)this + _nSizeOfPage");
    return page;
}

void clsMemPage::Destroy(clsMemPage* page) { LibHeapFree(page); }

uint32_t clsMemPage::NumberOf(const void* data) const
{
    uintptr_t offset = (uintptr_t)data - 8 - (uintptr_t)this;
    if ((uintptr_t)data < (uintptr_t)this + m_firstObject + 8)
        return 0;
    return (uint32_t)((offset - m_firstObject) / m_sizeOfData) + 1;
}

void* clsMemPage::Take()
{
    if (!PAGE_ASSERT(!IsFull(), "!IsFull()") || !PAGE_ASSERT(m_usedObjects < m_maxObjects, "_nUsedObjects < _nMaxObjects"))
        return nullptr;
    uint32_t number = m_nextFree[0];
    if (!PAGE_ASSERT(number <= m_maxObjects && number > 0, "nFreeObject <= _nMaxObjects && nFreeObject > 0"))
        return nullptr;
    uint32_t next = m_nextFree[number];
    if (!PAGE_ASSERT(next <= m_maxObjects + 1, "_nNextFreeObject[0] <= _nMaxObjects+1"))
        return nullptr;
    m_nextFree[0] = next;
    m_nextFree[number] = 0;
    ++m_usedObjects;
    char* object = ObjectAt(number);
    *reinterpret_cast<clsMemPage**>(object) = this;
    return object + 8;
}

bool clsMemPage::Give(void* data)
{
    if (!PAGE_ASSERT(m_usedObjects > 0, "_nUsedObjects > 0"))
        return false;
    uint32_t number = NumberOf(data);
    if (!PAGE_ASSERT(number > 0 && number <= m_maxObjects, "nFreeObject <= _nMaxObjects"))
        return false;
    if (!PAGE_ASSERT(ObjectAt(number) + 8 == data, "pObject(nObject(pObj)) == pObj"))
        return false;
    if (!PAGE_ASSERT(OwnerOf(data) == this, "*pData == this"))
        return false;
    if (!PAGE_ASSERT(m_nextFree[number] == 0, "_nNextFreeObject[nFreeObject] == 0"))
        return false; // already free
    m_nextFree[number] = m_nextFree[0];
    m_nextFree[0] = number;
    --m_usedObjects;
    return true;
}
