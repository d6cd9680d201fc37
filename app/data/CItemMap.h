// The appointment map and the to-do map of the data controller: record id to the entry's key
// (CItemVersion). The map holds one reference to each key; removing an entry or emptying the map
// retires the key and drops the reference (after the entry is gone and outside the map's lock), so
// a key that a reader or a day list still holds lives on until they let it go, and an occurrence
// thread that spreads it stops. Every operation takes the map's lock.
#pragma once

#include <vector>

#include "CItemVersion.h"
#include "CLockedMap.h"

class CItemMap : public CLockedMap<DWORD, DWORD, CItemVersion*, CItemVersion*> {
    typedef CLockedMap<DWORD, DWORD, CItemVersion*, CItemVersion*> CBase;

public:
    // nBlockSize: entries allocated at a time; nHashSize: buckets of the hash table.
    explicit CItemMap(int nBlockSize = 1000, UINT nHashSize = 4099);
    ~CItemMap() override;

    // Enters the key under its record id, taking over the caller's reference; a key that was
    // there under that id is replaced and its reference dropped.
    void Add(CItemVersion* pKey);
    // The key of the id with a reference for the caller; an empty holder when the id is absent.
    CItemVersionRef Find(long nRecordId) const;
    // Removes the id's key and drops the map's reference: 0, or -1 when the id was absent.
    int RemoveKeyAndDelete(DWORD nRecordId);
    // Empties the map in one locked step, then drops every reference.
    void DeleteAllValues();
    // Every key with a reference each, taken in one locked step (in the map's order).
    std::vector<CItemVersionRef> GetKeys() const;

private:
    // Look-up, set and removal go through Find, Add and RemoveKeyAndDelete, which keep the
    // references right.
    using CBase::Lookup;
    using CBase::SetAt;
    using CBase::operator[];
    using CBase::RemoveKey;
    using CBase::RemoveAll;
};
