#include "CDayIndex.h"

#include <algorithm>

CDayIndex::CDayIndex(int nBlockSize, UINT nHashSize) : CBase(nBlockSize) { CBase::InitHashTable(nHashSize, FALSE); }

CDayIndex::~CDayIndex() { DeleteAllValues(); }

void CDayIndex::AddLocked(DWORD nDay, CItemVersion* pKey, std::vector<DWORD>& rDaysOfId)
{
    CDayList* pList = NULL;
    if (!CBase::Lookup(nDay, pList) || pList == NULL) {
        pList = new CDayList(10);
        CBase::SetAt(nDay, pList);
    }
    pList->Add(pKey);
    rDaysOfId.push_back(nDay);
}

int CDayIndex::Add(long nDay, CItemVersion* pKey)
{
    CSingleLock lock(GetLock(), TRUE);
    if (pKey == NULL || pKey->IsRetired())
        return 0;
    AddLocked((DWORD)nDay, pKey, m_daysOfId[pKey->GetRecordId()]);
    return 1;
}

int CDayIndex::AddDays(const CList<DWORD, DWORD>& days, POSITION& rPosition, int nMaxDays, CItemVersion* pKey)
{
    CSingleLock lock(GetLock(), TRUE);
    if (pKey == NULL || pKey->IsRetired())
        return 0;
    std::vector<DWORD>& daysOfId = m_daysOfId[pKey->GetRecordId()];
    int nAdded = 0;
    for (; rPosition != NULL && nAdded < nMaxDays; ++nAdded)
        AddLocked(days.GetNext(rPosition), pKey, daysOfId);
    return nAdded;
}

int CDayIndex::AddEach(const CDayEntries& entries)
{
    CSingleLock lock(GetLock(), TRUE);
    int nAdded = 0;
    for (const auto& entry : entries) {
        CItemVersion* pKey = entry.second.Get();
        if (pKey == NULL || pKey->IsRetired())
            continue;
        AddLocked((DWORD)entry.first, pKey, m_daysOfId[pKey->GetRecordId()]);
        ++nAdded;
    }
    return nAdded;
}

int CDayIndex::Remove(CItemVersion* pKey)
{
    CSingleLock lock(GetLock(), TRUE);
    pKey->Retire();
    const auto found = m_daysOfId.find(pKey->GetRecordId());
    if (found == m_daysOfId.end())
        return 0;
    std::vector<DWORD> days;
    days.swap(found->second);
    std::sort(days.begin(), days.end());
    int nResult = 0;
    // The days where another key of the id stays (once per key left there). Only a day the id was
    // added on more than once can keep one.
    std::vector<DWORD> kept;
    for (size_t i = 0; i < days.size();) {
        const DWORD nDay = days[i];
        size_t nAdds = 0;
        for (; i < days.size() && days[i] == nDay; ++i)
            ++nAdds;
        CDayList* pList = NULL;
        if (!CBase::Lookup(nDay, pList) || pList == NULL || pList->GetCount() == 0)
            continue;
        if (pList->RemoveItem(pKey))
            nResult = 1;
        if (nAdds > 1)
            kept.insert(kept.end(), pList->CountId(pKey->GetRecordId()), nDay);
    }
    if (kept.empty())
        m_daysOfId.erase(found);
    else
        found->second.swap(kept);
    return nResult;
}

void CDayIndex::DeleteAllValues()
{
    CArray<DWORD, DWORD> days;
    CArray<CDayList*, CDayList*> lists;
    std::unordered_map<long, std::vector<DWORD>> daysOfId;
    {
        CSingleLock lock(GetLock(), TRUE);
        GetSnapshot(days, lists);
        CBase::RemoveAll();
        daysOfId.swap(m_daysOfId);
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
