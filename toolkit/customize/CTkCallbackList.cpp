#include "CTkCallbackList.h"

void CTkCallbackList::Register(const TK_CALLBACK& cb)
{
    if (m_front.pfn != NULL && !Contains(m_front))
        InsertAt(0, m_front);
    Add(cb);
}

void CTkCallbackList::RemoveObject(void* pObject)
{
    for (int i = GetSize() - 1; i >= 0; i--) {
        if (GetData()[i].pObject == pObject)
            RemoveAt(i);
    }
    if (GetSize() == 0)
        RemoveAll();
}

BOOL CTkCallbackList::Contains(const TK_CALLBACK& cb) const
{
    for (int i = 0; i < GetSize(); i++) {
        if (GetData()[i] == cb)
            return TRUE;
    }
    return FALSE;
}
