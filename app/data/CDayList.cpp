#include "CDayList.h"

CDayList::CDayList(int nBlockSize) : CBase(nBlockSize) {}

CDayList::~CDayList()
{
    CArray<CItemVersion*, CItemVersion*> keys;
    {
        CSingleLock lock(GetLock(), TRUE);
        GetSnapshot(keys);
        CBase::RemoveAll();
    }
    for (int i = 0; i < keys.GetSize(); ++i)
        if (keys[i] != NULL)
            keys[i]->Release();
}

POSITION CDayList::Add(CItemVersion* pKey)
{
    pKey->AddRef();
    return CBase::AddTail(pKey);
}

BOOL CDayList::RemoveItem(const CItemVersion* pKey)
{
    CItemVersion* pRemoved = NULL;
    {
        CSingleLock lock(GetLock(), TRUE);
        for (POSITION pos = CBase::GetHeadPosition(); pos != NULL;) {
            const POSITION posThis = pos;
            CItemVersion* pItem = CBase::GetNext(pos);
            if (pItem != NULL && pItem->GetRecordId() == pKey->GetRecordId()) {
                CBase::RemoveAt(posThis);
                pRemoved = pItem;
                break;
            }
        }
    }
    if (pRemoved == NULL)
        return FALSE;
    pRemoved->Release();
    return TRUE;
}

std::vector<CItemVersionRef> CDayList::GetKeys() const
{
    std::vector<CItemVersionRef> result;
    CSingleLock lock(GetLock(), TRUE);
    result.reserve(CBase::GetCount());
    for (POSITION pos = CBase::GetHeadPosition(); pos != NULL;)
        result.emplace_back(CBase::GetNext(pos));
    return result;
}

int CDayList::CountId(long nRecordId) const
{
    CSingleLock lock(GetLock(), TRUE);
    int nCount = 0;
    for (POSITION pos = CBase::GetHeadPosition(); pos != NULL;) {
        const CItemVersion* pItem = CBase::GetNext(pos);
        if (pItem != NULL && pItem->GetRecordId() == nRecordId)
            ++nCount;
    }
    return nCount;
}
