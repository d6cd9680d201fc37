#include "clsMemPageCollection.h"

#include <cstring>

#include "AllocatorAssert.h"
#include "DebugOutput.h"
#include "LibHeap.h"
#include "clsMemPage.h"

namespace {

struct ObjectStart {
    uint32_t slot;
    uint32_t unused;
    clsMemPageCollection* collection;
};

} // namespace

void clsMemPageCollection::Init(uint32_t objectSize)
{
    std::memset(m_slots, 0, sizeof m_slots);
    m_objectSize = objectSize;
    m_chain = nullptr;
    m_current = -1;
    m_kept = -1;
    m_releases = 0;
}

int clsMemPageCollection::PageCount() const
{
    int n = 0;
    for (const clsMemPageState& s : m_slots)
        n += s.page != nullptr;
    return n;
}

bool clsMemPageCollection::HasRoom(int slot) const
{
    const clsMemPage* page = m_slots[slot].page;
    return page && m_slots[slot].state != 1 && !page->IsFull();
}

void* clsMemPageCollection::Take(int slot)
{
    clsMemPage* page = m_slots[slot].page;
    void* data = page->Take();
    if (!data)
        return nullptr;
    m_slots[slot].state = page->IsFull() ? 1 : 2;
    if (m_kept == slot)
        m_kept = -1;
    m_current = slot;
    ObjectStart* start = static_cast<ObjectStart*>(data);
    start->slot = (uint32_t)slot;
    start->unused = 0;
    start->collection = this;
    return data;
}

void clsMemPageCollection::ReleasePage(int slot)
{
    clsMemPage* page = m_slots[slot].page;
    if (!page)
        return;
    if (!page->IsEmpty())
        DebugPrintf("WRN: 0x%p: %d objects still allocated (size=%d bytes)", page, (int)page->Used(),
                    (int)page->Stride() - 8);
    clsMemPage::Destroy(page);
    m_slots[slot].page = nullptr;
    m_slots[slot].state = 0;
    if (m_current == slot)
        m_current = -1;
}

void* clsMemPageCollection::GetObject(bool bFirst, bool bForce)
{
    if (bFirst && bForce)
        AllocatorAssert(ALLOCATOR_SOURCE, __LINE__, "Assertion !bFirst || !bForce failed");

    if (m_current == -1 && m_kept >= 0)
        m_current = m_kept;

    if (!bForce) {
        if (m_current != -2) {
            if (m_current >= 0 && HasRoom(m_current))
                return Take(m_current);
            for (int slot = 0; slot < kSlots; ++slot)
                if (HasRoom(slot))
                    return Take(slot);
        }
        if (m_chain) {
            // The chain only serves from pages it already has.
            void* data = m_chain->GetObject(false, false);
            if (data) {
                m_current = -2;
                return data;
            }
        }
    }
    if (!bFirst && !bForce)
        return nullptr;

    if (m_current != -2) {
        for (int slot = 0; slot < kSlots; ++slot) {
            if (!m_slots[slot].page) {
                clsMemPage* page = clsMemPage::Create(m_objectSize);
                if (!page)
                    return nullptr; // out of memory: a chain would not fare better
                m_slots[slot].page = page;
                m_slots[slot].state = 0;
                return Take(slot);
            }
            if (bForce && HasRoom(slot))
                return Take(slot);
        }
    }

    // Every slot holds a full page: continue in the chain, which may create pages.
    if (!m_chain) {
        clsMemPageCollection* chain = static_cast<clsMemPageCollection*>(LibHeapAlloc(sizeof(clsMemPageCollection)));
        if (!chain) {
            DebugPrintf("WRN: out of memory");
            return nullptr;
        }
        chain->Init(m_objectSize);
        m_chain = chain;
    }
    m_current = -2;
    return m_chain->GetObject(false, true);
}

bool clsMemPageCollection::ReleaseObject(void* data)
{
    const ObjectStart* start = static_cast<const ObjectStart*>(data);
    if (start->collection != this) {
        if (!m_chain) {
            DebugPrintf("object 0x%#p not from our allocation routines!!!", data);
            return false;
        }
        bool released = m_chain->ReleaseObject(data);
        if (released && m_kept >= 0 && ++m_releases == 0)
            PruneChains();
        return released;
    }

    if (m_kept >= 0) {
        ReleasePage(m_kept);
        m_kept = -1;
    }

    uint32_t slot = start->slot;
    if (slot >= (uint32_t)kSlots) {
        DebugPrintf("clsMemPageCollection::ReleaseObject(): internal error");
        return true;
    }
    clsMemPage* page = m_slots[slot].page;
    if (!page) {
        AllocatorAssert(ALLOCATOR_SOURCE, __LINE__, "Assertion _pPage != NULL failed");
        return true;
    }
    if (clsMemPage::OwnerOf(data) != page) {
        DebugPrintf("clsMemPageCollection::ReleaseObject(): internal error");
        return true;
    }
    if (!page->Give(data))
        return true;
    if (!page->IsEmpty()) {
        m_slots[slot].state = 2;
        m_current = (int32_t)slot;
    } else {
        m_slots[slot].state = 0;
        m_kept = (int32_t)slot;
        if (m_current == -2)
            m_current = -1;
    }
    return true;
}

void clsMemPageCollection::PruneChains()
{
    clsMemPageCollection* previous = this;
    clsMemPageCollection* chain = m_chain;
    while (chain) {
        clsMemPageCollection* next = chain->m_chain;
        if (chain->PageCount() == 0) {
            previous->m_chain = next;
            LibHeapFree(chain);
        } else {
            previous = chain;
        }
        chain = next;
    }
}

void clsMemPageCollection::Destroy()
{
    for (int slot = 0; slot < kSlots; ++slot)
        ReleasePage(slot);
    m_kept = -1;
    m_current = -1;
    if (m_chain) {
        m_chain->Destroy();
        LibHeapFree(m_chain);
        m_chain = nullptr;
    }
}
