#include "afxcoll.h"

IMPLEMENT_SERIAL(CObList, CObject, 0)

CObList::CObList(int nBlockSize) : CList<CObject*, CObject*>(nBlockSize) {}

CObList::~CObList() {}

void CObList::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            ar << pNode->data;
    } else {
        DWORD nNewCount = ar.ReadCount();
        ar.CheckCount(nNewCount, 2);
        while (nNewCount--) {
            CObject* newData = NULL;
            ar >> newData;
            AddTail(newData);
        }
    }
}
