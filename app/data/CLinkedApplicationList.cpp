#include "CLinkedApplicationList.h"

CLinkedApplicationList::CLinkedApplicationList() {}

CLinkedApplicationList::~CLinkedApplicationList() { DeleteAll(); }

void CLinkedApplicationList::DeleteAll()
{
    CSingleLock lock(GetLock(), TRUE);
    while (!IsEmpty())
        delete RemoveHead();
}

CLinkedApplication* CLinkedApplicationList::Find(LPCTSTR lpszId) const
{
    CSingleLock lock(GetLock(), TRUE);
    for (POSITION pos = GetHeadPosition(); pos != NULL;) {
        CLinkedApplication* pApplication = GetNext(pos);
        if (pApplication->m_strId == lpszId)
            return pApplication;
    }
    return NULL;
}
