// A map of the class library (CMap) that several threads share: it carries its own critical
// section, created on the heap by the constructor, and every operation takes it for its own run
// (through a CSingleLock, so an exception releases it too). The hash table keeps the library's
// default of 17 buckets.
//
// Walking the map. GetStartPosition and GetNextAssoc hand out positions that are addresses of
// entries; an entry that another thread removes is recycled, and when the last entry goes the hash
// table and all entry blocks are freed. A walk is therefore only safe while the walker holds the
// map's lock for the whole walk:
//
//     CSingleLock lock(map.GetLock(), TRUE);
//     for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
//         map.GetNextAssoc(pos, key, value);
//         ...
//     }
//
// The critical section is re-entrant, so the map's own operations inside the walk do not block.
// A walker that must not hold the lock while it works walks over a copy instead: GetSnapshot.
// The reference that operator[] returns stays valid only while nobody removes that key: hold the
// lock while you store through it.
//
// RemoveKeyAndDelete and DeleteAllValues are for maps whose values are owned pointers; they
// delete the values after the entries are gone and outside the lock, so a value's destructor
// never runs while the map is locked.
#pragma once

#include <afxtempl.h>

#include "CLockedCollection.h"

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CLockedMap : public CLockedCollection<CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>> {
    typedef CMap<KEY, ARG_KEY, VALUE, ARG_VALUE> CBase;
    using CLockedCollection<CBase>::m_pLock;

public:
    explicit CLockedMap(int nBlockSize = 10) : CLockedCollection<CBase>(nBlockSize) {}

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::Lookup(key, rValue);
    }
    VALUE& operator[](ARG_KEY key)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::operator[](key);
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue)
    {
        CSingleLock lock(m_pLock, TRUE);
        CBase::SetAt(key, newValue);
    }
    BOOL RemoveKey(ARG_KEY key)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::RemoveKey(key);
    }

    POSITION GetStartPosition() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetStartPosition();
    }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CSingleLock lock(m_pLock, TRUE);
        CBase::GetNextAssoc(rNextPosition, rKey, rValue);
    }

    UINT GetHashTableSize() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetHashTableSize();
    }
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        CSingleLock lock(m_pLock, TRUE);
        CBase::InitHashTable(nHashSize, bAllocNow);
    }

    // For owned pointer values: removes the key and then deletes its value; 0 when the key was
    // there, -1 (and nothing deleted) when it was not.
    int RemoveKeyAndDelete(ARG_KEY key)
    {
        VALUE value;
        {
            CSingleLock lock(m_pLock, TRUE);
            if (!CBase::Lookup(key, value))
                return -1;
            CBase::RemoveKey(key);
        }
        delete value;
        return 0;
    }

    // For owned pointer values: empties the map in one locked step, then deletes every value.
    void DeleteAllValues()
    {
        CArray<KEY, ARG_KEY> keys;
        CArray<VALUE, ARG_VALUE> values;
        {
            CSingleLock lock(m_pLock, TRUE);
            GetSnapshot(keys, values);
            CBase::RemoveAll();
        }
        for (int i = 0; i < values.GetSize(); i++)
            delete values[i];
    }

    // Copies of the keys and their values (same index), taken in one locked step.
    void GetSnapshot(CArray<KEY, ARG_KEY>& keys, CArray<VALUE, ARG_VALUE>& values) const
    {
        CSingleLock lock(m_pLock, TRUE);
        const int nCount = CBase::GetCount();
        keys.SetSize(nCount);
        values.SetSize(nCount);
        int i = 0;
        for (POSITION pos = CBase::GetStartPosition(); pos != NULL; i++)
            CBase::GetNextAssoc(pos, keys.ElementAt(i), values.ElementAt(i));
    }
};
