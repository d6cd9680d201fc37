// One cached page of an index slot (the page layout: NtxFormat.h).
#pragma once

#include <cstdint>

#include "NtxFormat.h"

struct IBuffer {
    IBuffer* next = nullptr;      // next cached page of the slot (the newest first)
    IBuffer* hashNext = nullptr;  // next page in the same bucket of the cache's offset table
    uint32_t dirty = 0;           // changed since it was read or written
    uint32_t lFileOffset = 0;     // file offset of the page
    int16_t nKeyIndex = 0;        // current position: offset-list entry 0 .. nNumKeys
    uint8_t page[ntx::kPageSize] = {};

    unsigned nNumKeys() const { return dbf::Get16(page); }
    void SetNumKeys(unsigned n) { dbf::Put16(page, (uint16_t)n); }
    // Entry i of the offset list (0 .. max keys).
    unsigned OffsetAt(unsigned entry) const { return dbf::Get16(page + 2 + 2 * entry); }
    void SetOffsetAt(unsigned entry, unsigned offset) { dbf::Put16(page + 2 + 2 * entry, (uint16_t)offset); }
    // The item of entry i; valid for the entries of a page that passed ntx::PageValid.
    uint8_t* Item(unsigned entry) { return page + OffsetAt(entry); }
    const uint8_t* Item(unsigned entry) const { return page + OffsetAt(entry); }
};
