// The keys of the appointments of one day (an entry of the day index): a locked list that holds
// one reference to each key it lists. It does not check for duplicates.
#pragma once

#include <vector>

#include "CItemVersion.h"
#include "CLockedList.h"

class CDayList : public CLockedList<CItemVersion*, CItemVersion*> {
    typedef CLockedList<CItemVersion*, CItemVersion*> CBase;

public:
    explicit CDayList(int nBlockSize = 10);
    // Drops the reference of every key.
    virtual ~CDayList();

    // Appends the key and takes a reference to it.
    POSITION Add(CItemVersion* pKey);
    // Removes the first key with the same record id as pKey (the pointers need not be equal) and
    // drops its reference; TRUE when one was removed.
    BOOL RemoveItem(const CItemVersion* pKey);
    // Every key with a reference each, in list order, taken in one locked step.
    std::vector<CItemVersionRef> GetKeys() const;
    // The number of keys with that record id.
    int CountId(long nRecordId) const;

private:
    // Keys enter and leave only through Add and RemoveItem, which keep the references right.
    using CBase::AddHead;
    using CBase::AddTail;
    using CBase::InsertBefore;
    using CBase::InsertAfter;
    using CBase::SetAt;
    using CBase::RemoveAt;
    using CBase::RemoveHead;
    using CBase::RemoveTail;
    using CBase::RemoveValue;
    using CBase::RemoveAll;
};
