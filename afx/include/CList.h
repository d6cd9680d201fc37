// A doubly linked list of TYPE passed as ARG_TYPE. Nodes come from blocks of nBlockSize nodes
// (CPlex); a free node is reused before a new block is made, and when the last element goes all
// blocks are freed. A POSITION is the address of a node.
#pragma once

#include "AfxCollectionHelpers.h"
#include "CObject.h"
#include "CPlex.h"

template <class TYPE, class ARG_TYPE> class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(int nBlockSize = 10);
    virtual ~CList();

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return CheckNode(m_pNodeHead)->data; }
    TYPE GetHead() const { return CheckNode(m_pNodeHead)->data; }
    TYPE& GetTail() { return CheckNode(m_pNodeTail)->data; }
    TYPE GetTail() const { return CheckNode(m_pNodeTail)->data; }

    // The list must not be empty (CInvalidArgException).
    TYPE RemoveHead();
    TYPE RemoveTail();

    POSITION AddHead(ARG_TYPE newElement);
    POSITION AddTail(ARG_TYPE newElement);
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);

    void RemoveAll();

    POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
    POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* pNode = CheckNode((CNode*)rPosition);
        rPosition = (POSITION)pNode->pNext;
        return pNode->data;
    }
    TYPE GetNext(POSITION& rPosition) const
    {
        CNode* pNode = CheckNode((CNode*)rPosition);
        rPosition = (POSITION)pNode->pNext;
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* pNode = CheckNode((CNode*)rPosition);
        rPosition = (POSITION)pNode->pPrev;
        return pNode->data;
    }
    TYPE GetPrev(POSITION& rPosition) const
    {
        CNode* pNode = CheckNode((CNode*)rPosition);
        rPosition = (POSITION)pNode->pPrev;
        return pNode->data;
    }

    TYPE& GetAt(POSITION position) { return CheckNode((CNode*)position)->data; }
    TYPE GetAt(POSITION position) const { return CheckNode((CNode*)position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { CheckNode((CNode*)pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // A NULL position inserts at the head (InsertBefore) or the tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    // The first element equal to searchValue after startAfter (NULL: from the head), or NULL.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
    // The position of the nIndex-th element (0-based), or NULL.
    POSITION FindIndex(int nIndex) const;

    virtual void Serialize(CArchive& ar);

protected:
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    int m_nCount;
    CNode* m_pNodeFree;
    struct CPlex* m_pBlocks;
    int m_nBlockSize;

    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* pNode);
    static CNode* CheckNode(CNode* pNode)
    {
        if (pNode == NULL)
            AfxThrowInvalidArgException();
        return pNode;
    }
};

template <class TYPE, class ARG_TYPE>
CList<TYPE, ARG_TYPE>::CList(int nBlockSize)
    : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0), m_pNodeFree(NULL), m_pBlocks(NULL),
      m_nBlockSize(nBlockSize > 0 ? nBlockSize : 1)
{
}

template <class TYPE, class ARG_TYPE> CList<TYPE, ARG_TYPE>::~CList() { RemoveAll(); }

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
        DestructElements<TYPE>(&pNode->data, 1);
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = NULL;
    if (m_pBlocks != NULL)
        m_pBlocks->FreeDataChain();
    m_pBlocks = NULL;
}

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(CNode* pPrev, CNode* pNext)
{
    if (m_pNodeFree == NULL) {
        // A new block; its nodes join the free list so that they are handed out in address order.
        CPlex* pNewBlock = CPlex::Create(m_pBlocks, (UINT)m_nBlockSize, (UINT)sizeof(CNode));
        CNode* pNode = (CNode*)pNewBlock->data();
        pNode += m_nBlockSize - 1;
        for (int i = m_nBlockSize - 1; i >= 0; i--, pNode--) {
            pNode->pNext = m_pNodeFree;
            m_pNodeFree = pNode;
        }
    }
    CNode* pNode = m_pNodeFree;
    m_pNodeFree = m_pNodeFree->pNext;
    pNode->pPrev = pPrev;
    pNode->pNext = pNext;
    m_nCount++;
    ConstructElements<TYPE>(&pNode->data, 1);
    return pNode;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::FreeNode(CNode* pNode)
{
    DestructElements<TYPE>(&pNode->data, 1);
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    m_nCount--;
    // The last element gone: free the blocks too.
    if (m_nCount == 0)
        RemoveAll();
}

template <class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement)
{
    CNode* pNewNode = NewNode(NULL, m_pNodeHead);
    pNewNode->data = newElement;
    if (m_pNodeHead != NULL)
        m_pNodeHead->pPrev = pNewNode;
    else
        m_pNodeTail = pNewNode;
    m_pNodeHead = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement)
{
    CNode* pNewNode = NewNode(m_pNodeTail, NULL);
    pNewNode->data = newElement;
    if (m_pNodeTail != NULL)
        m_pNodeTail->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    m_pNodeTail = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowInvalidArgException();
    // Walking backwards from the tail keeps the other list's order; a list added to itself
    // stops at its old head.
    POSITION pos = pNewList->GetTailPosition();
    int n = pNewList->GetCount();
    while (pos != NULL && n-- > 0)
        AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowInvalidArgException();
    POSITION pos = pNewList->GetHeadPosition();
    int n = pNewList->GetCount();
    while (pos != NULL && n-- > 0)
        AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE> TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    CNode* pOldNode = CheckNode(m_pNodeHead);
    TYPE returnValue = pOldNode->data;
    m_pNodeHead = pOldNode->pNext;
    if (m_pNodeHead != NULL)
        m_pNodeHead->pPrev = NULL;
    else
        m_pNodeTail = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template <class TYPE, class ARG_TYPE> TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    CNode* pOldNode = CheckNode(m_pNodeTail);
    TYPE returnValue = pOldNode->data;
    m_pNodeTail = pOldNode->pPrev;
    if (m_pNodeTail != NULL)
        m_pNodeTail->pNext = NULL;
    else
        m_pNodeHead = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    if (position == NULL)
        return AddHead(newElement);
    CNode* pOldNode = (CNode*)position;
    CNode* pNewNode = NewNode(pOldNode->pPrev, pOldNode);
    pNewNode->data = newElement;
    if (pOldNode->pPrev != NULL)
        pOldNode->pPrev->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    pOldNode->pPrev = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    if (position == NULL)
        return AddTail(newElement);
    CNode* pOldNode = (CNode*)position;
    CNode* pNewNode = NewNode(pOldNode, pOldNode->pNext);
    pNewNode->data = newElement;
    if (pOldNode->pNext != NULL)
        pOldNode->pNext->pPrev = pNewNode;
    else
        m_pNodeTail = pNewNode;
    pOldNode->pNext = pNewNode;
    return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    CNode* pOldNode = CheckNode((CNode*)position);
    if (pOldNode == m_pNodeHead)
        m_pNodeHead = pOldNode->pNext;
    else
        pOldNode->pPrev->pNext = pOldNode->pNext;
    if (pOldNode == m_pNodeTail)
        m_pNodeTail = pOldNode->pPrev;
    else
        pOldNode->pNext->pPrev = pOldNode->pPrev;
    FreeNode(pOldNode);
}

template <class TYPE, class ARG_TYPE> POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return NULL;
    CNode* pNode = m_pNodeHead;
    while (nIndex--)
        pNode = pNode->pNext;
    return (POSITION)pNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* pNode = (CNode*)startAfter;
    pNode = pNode == NULL ? m_pNodeHead : pNode->pNext;
    for (; pNode != NULL; pNode = pNode->pNext) {
        if (CompareElements(&pNode->data, &searchValue))
            return (POSITION)pNode;
    }
    return NULL;
}

template <class TYPE, class ARG_TYPE> void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            SerializeElements<TYPE>(ar, &pNode->data, 1);
    } else {
        DWORD nNewCount = ar.ReadCount();
        ar.CheckCount(nNewCount, 1);
        while (nNewCount--) {
            TYPE newData{};
            SerializeElements<TYPE>(ar, &newData, 1);
            AddTail(newData);
        }
    }
}
