#include "CDayIndex.h"

#include <algorithm>

CDayIndex::CDayIndex(int nBlockSize, UINT nHashSize) : CBase(nBlockSize) { CBase::InitHashTable(nHashSize, FALSE); }

CDayIndex::~CDayIndex() { DeleteAllValues(); }

void CDayIndex::AddLocked(DWORD nDay, CItemVersion* pKey)
{
    CDayList* pList = NULL;
    if (!CBase::Lookup(nDay, pList) || pList == NULL) {
        pList = new CDayList(10);
        CBase::SetAt(nDay, pList);
    }
    pList->Add(pKey);
}

int CDayIndex::Add(long nDay, CItemVersion* pKey)
{
    CSingleLock lock(GetLock(), TRUE);
    if (pKey == NULL || pKey->IsRetired())
        return 0;
    AddLocked((DWORD)nDay, pKey);
    return 1;
}

int CDayIndex::AddDays(const CList<DWORD, DWORD>& days, POSITION& rPosition, int nMaxDays, CItemVersion* pKey)
{
    CSingleLock lock(GetLock(), TRUE);
    if (pKey == NULL || pKey->IsRetired())
        return 0;
    int nAdded = 0;
    for (; rPosition != NULL && nAdded < nMaxDays; ++nAdded)
        AddLocked(days.GetNext(rPosition), pKey);
    return nAdded;
}

int CDayIndex::Remove(CItemVersion* pKey)
{
    CSingleLock lock(GetLock(), TRUE);
    pKey->Retire();
    int nResult = 0;
    DWORD nDay;
    CDayList* pList;
    for (POSITION pos = CBase::GetStartPosition(); pos != NULL;) {
        CBase::GetNextAssoc(pos, nDay, pList);
        if (pList != NULL && pList->GetCount() > 0 && pList->RemoveItem(pKey))
            nResult = 1;
    }
    return nResult;
}

void CDayIndex::DeleteAllValues()
{
    CArray<DWORD, DWORD> days;
    CArray<CDayList*, CDayList*> lists;
    {
        CSingleLock lock(GetLock(), TRUE);
        GetSnapshot(days, lists);
        CBase::RemoveAll();
    }
    for (int i = 0; i < lists.GetSize(); ++i)
        delete lists[i];
}

int CDayIndex::GetDayCount(long nDay) const
{
    CSingleLock lock(GetLock(), TRUE);
    CDayList* pList = NULL;
    if (!CBase::Lookup((DWORD)nDay, pList) || pList == NULL)
        return 0;
    return pList->GetCount();
}

std::vector<CItemVersionRef> CDayIndex::GetDayKeys(long nDay) const
{
    CSingleLock lock(GetLock(), TRUE);
    CDayList* pList = NULL;
    if (!CBase::Lookup((DWORD)nDay, pList) || pList == NULL)
        return std::vector<CItemVersionRef>();
    return pList->GetKeys();
}

std::vector<long> CDayIndex::GetDaysOf(long nRecordId) const
{
    std::vector<long> days;
    CSingleLock lock(GetLock(), TRUE);
    DWORD nDay;
    CDayList* pList;
    for (POSITION pos = CBase::GetStartPosition(); pos != NULL;) {
        CBase::GetNextAssoc(pos, nDay, pList);
        if (pList != NULL)
            days.insert(days.end(), pList->CountId(nRecordId), (long)nDay);
    }
    std::sort(days.begin(), days.end());
    return days;
}
