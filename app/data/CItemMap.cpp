#include "CItemMap.h"

CItemMap::CItemMap(int nBlockSize, UINT nHashSize) : CBase(nBlockSize) { CBase::InitHashTable(nHashSize, FALSE); }

CItemMap::~CItemMap() { DeleteAllValues(); }

void CItemMap::Add(CItemVersion* pKey)
{
    CItemVersion* pOld = NULL;
    {
        CSingleLock lock(GetLock(), TRUE);
        if (!CBase::Lookup((DWORD)pKey->GetRecordId(), pOld))
            pOld = NULL;
        CBase::SetAt((DWORD)pKey->GetRecordId(), pKey);
    }
    if (pOld != NULL && pOld != pKey) {
        pOld->Retire();
        pOld->Release();
    }
}

CItemVersionRef CItemMap::Find(long nRecordId) const
{
    CSingleLock lock(GetLock(), TRUE);
    CItemVersion* pKey = NULL;
    if (!CBase::Lookup((DWORD)nRecordId, pKey))
        return CItemVersionRef();
    return CItemVersionRef(pKey);
}

int CItemMap::RemoveKeyAndDelete(DWORD nRecordId)
{
    CItemVersion* pKey = NULL;
    {
        CSingleLock lock(GetLock(), TRUE);
        if (!CBase::Lookup(nRecordId, pKey))
            return -1;
        CBase::RemoveKey(nRecordId);
    }
    if (pKey != NULL) {
        pKey->Retire();
        pKey->Release();
    }
    return 0;
}

void CItemMap::DeleteAllValues()
{
    CArray<DWORD, DWORD> ids;
    CArray<CItemVersion*, CItemVersion*> keys;
    {
        CSingleLock lock(GetLock(), TRUE);
        GetSnapshot(ids, keys);
        CBase::RemoveAll();
    }
    for (int i = 0; i < keys.GetSize(); ++i)
        if (keys[i] != NULL) {
            keys[i]->Retire();
            keys[i]->Release();
        }
}

std::vector<CItemVersionRef> CItemMap::GetKeys() const
{
    std::vector<CItemVersionRef> result;
    CSingleLock lock(GetLock(), TRUE);
    result.reserve(CBase::GetCount());
    DWORD nId;
    CItemVersion* pKey;
    for (POSITION pos = CBase::GetStartPosition(); pos != NULL;) {
        CBase::GetNextAssoc(pos, nId, pKey);
        result.emplace_back(pKey);
    }
    return result;
}
