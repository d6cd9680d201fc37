// A list of the class library (CList) that several threads share: it carries its own critical
// section, created on the heap by the constructor, and every operation takes it for its own run
// (through a CSingleLock, so an exception releases it too).
//
// Walking the list. A POSITION is the address of a node; a node that another thread removes is
// recycled, and when the last element goes all node blocks are freed. A walk over positions
// (GetHeadPosition, then GetNext until NULL) is therefore only safe while the walker holds the
// list's lock for the whole walk:
//
//     CSingleLock lock(list.GetLock(), TRUE);
//     for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
//         Use(list.GetNext(pos));
//
// The critical section is re-entrant, so the list's own operations inside the walk do not block.
// A walker that must not hold the lock while it works (it waits for other threads, reads tables,
// calls out) walks over a copy instead: GetSnapshot. References that GetNext, GetAt, GetHead and
// GetTail return stay valid only as long as nobody removes that element: hold the lock while you
// use them.
//
// The list never deletes what its elements point to; an owner that needs that deletes them itself.
#pragma once

#include <afxtempl.h>

#include "CLockedCollection.h"

template <class TYPE, class ARG_TYPE> class CLockedList : public CLockedCollection<CList<TYPE, ARG_TYPE>> {
    typedef CList<TYPE, ARG_TYPE> CBase;
    using CLockedCollection<CBase>::m_pLock;

public:
    explicit CLockedList(int nBlockSize = 10) : CLockedCollection<CBase>(nBlockSize) {}

    TYPE& GetHead()
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetHead();
    }
    TYPE GetHead() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetHead();
    }
    TYPE& GetTail()
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetTail();
    }
    TYPE GetTail() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetTail();
    }
    TYPE RemoveHead()
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::RemoveHead();
    }
    TYPE RemoveTail()
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::RemoveTail();
    }

    POSITION AddHead(ARG_TYPE newElement)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::AddHead(newElement);
    }
    POSITION AddTail(ARG_TYPE newElement)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::AddTail(newElement);
    }

    POSITION GetHeadPosition() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetHeadPosition();
    }
    POSITION GetTailPosition() const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetTailPosition();
    }
    TYPE& GetNext(POSITION& rPosition)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetNext(rPosition);
    }
    TYPE GetNext(POSITION& rPosition) const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetNext(rPosition);
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetPrev(rPosition);
    }
    TYPE GetPrev(POSITION& rPosition) const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetPrev(rPosition);
    }
    TYPE& GetAt(POSITION position)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetAt(position);
    }
    TYPE GetAt(POSITION position) const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::GetAt(position);
    }
    void SetAt(POSITION position, ARG_TYPE newElement)
    {
        CSingleLock lock(m_pLock, TRUE);
        CBase::SetAt(position, newElement);
    }
    void RemoveAt(POSITION position)
    {
        CSingleLock lock(m_pLock, TRUE);
        CBase::RemoveAt(position);
    }
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::InsertBefore(position, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::InsertAfter(position, newElement);
    }
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::Find(searchValue, startAfter);
    }
    POSITION FindIndex(int nIndex) const
    {
        CSingleLock lock(m_pLock, TRUE);
        return CBase::FindIndex(nIndex);
    }

    // Removes the first element equal to value; TRUE when one was removed.
    BOOL RemoveValue(ARG_TYPE value)
    {
        CSingleLock lock(m_pLock, TRUE);
        POSITION pos = CBase::Find(value);
        if (pos == NULL)
            return FALSE;
        CBase::RemoveAt(pos);
        return TRUE;
    }

    // A copy of the elements in list order, taken in one locked step.
    void GetSnapshot(CArray<TYPE, ARG_TYPE>& elements) const
    {
        CSingleLock lock(m_pLock, TRUE);
        elements.SetSize(CBase::GetCount());
        int i = 0;
        for (POSITION pos = CBase::GetHeadPosition(); pos != NULL;)
            elements.ElementAt(i++) = CBase::GetNext(pos);
    }
};
