// One size class of a pool (allocator kind 1): up to 14 pages of objects of one size, one empty
// page kept for reuse, and a chain of further collections of the same size once all 14 pages are
// full.
//
// An object handed out starts with {slot index (4 bytes), 4 bytes unused, owning collection
// (8 bytes)}; the pool writes the rest of the block header behind it.
//
// States of a slot: 0 no page or an empty page, 1 page full, 2 page with room.
// Current slot: -1 none, -2 while the collection is exhausted and its requests go to the chain
// (cleared by the next release into one of its own pages).
#pragma once

#include <windows.h>

#include <cstdint>

class clsMemPage;

struct clsMemPageState {
    int32_t state;
    clsMemPage* page;
};

class clsMemPageCollection {
public:
    static constexpr int kSlots = 14;

    // Placement in pool memory: no constructor runs; Init sets everything.
    void Init(uint32_t objectSize);
    // Releases every page (with a leak warning for pages that still count objects in use) and
    // the chained collections.
    void Destroy();

    // bFirst: pages may be created; bForce (the chain's own pass): a slot whose page has room is
    // taken as well. Both at once is an assertion.
    void* GetObject(bool bFirst, bool bForce);
    bool ReleaseObject(void* data);

    uint32_t ObjectSize() const { return m_objectSize; }
    // Inspection for tests.
    int Current() const { return m_current; }
    int Kept() const { return m_kept; }
    const clsMemPageCollection* Chain() const { return m_chain; }
    int PageCount() const;

private:
    bool HasRoom(int slot) const;
    void* Take(int slot);
    void ReleasePage(int slot);
    void PruneChains();

    clsMemPageState m_slots[kSlots];
    uint32_t m_objectSize;
    clsMemPageCollection* m_chain;
    int32_t m_current;
    int32_t m_kept;
    uint8_t m_releases;
};
