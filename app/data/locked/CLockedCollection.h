// What the locked collections (CLockedList, CLockedMap) share: a collection class of the class
// library with its own critical section, created on the heap by the constructor; the operations
// here take it for their own run (through a CSingleLock, so an exception releases it too).
#pragma once

#include <afxmt.h>

template <class BASE> class CLockedCollection : public BASE {
public:
    explicit CLockedCollection(int nBlockSize) : BASE(nBlockSize), m_pLock(new CCriticalSection) {}

    // Waits for the lock without limit, removes every element, then deletes the lock.
    virtual ~CLockedCollection()
    {
        {
            CSingleLock lock(m_pLock, TRUE);
            BASE::RemoveAll();
        }
        delete m_pLock;
        m_pLock = NULL;
    }

    CLockedCollection(const CLockedCollection&) = delete;
    CLockedCollection& operator=(const CLockedCollection&) = delete;

    // The collection's lock, for callers that walk it or keep a reference to an element.
    CCriticalSection* GetLock() const { return m_pLock; }

    int GetCount() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return BASE::GetCount();
    }
    BOOL IsEmpty() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return BASE::IsEmpty();
    }
    void RemoveAll()
    {
        CSingleLock lock(m_pLock, TRUE);
        BASE::RemoveAll();
    }

    virtual void Serialize(CArchive& ar)
    {
        CSingleLock lock(m_pLock, TRUE);
        BASE::Serialize(ar);
    }

protected:
    CCriticalSection* m_pLock;
};
