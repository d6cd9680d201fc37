#include "AfxWindowLayer.h"

CHandleMap::CHandleMap(PFN_NEW pfnNew, PFN_SET_HANDLE pfnSetHandle) : m_pfnNew(pfnNew), m_pfnSetHandle(pfnSetHandle) {}

CHandleMap::~CHandleMap() { DeleteTemp(); }

CObject* CHandleMap::LookupPermanent(HANDLE h) const
{
    auto it = m_permanent.find(h);
    return it != m_permanent.end() ? it->second : NULL;
}

CObject* CHandleMap::LookupTemporary(HANDLE h) const
{
    auto it = m_temporary.find(h);
    return it != m_temporary.end() ? it->second : NULL;
}

CObject* CHandleMap::FromHandle(HANDLE h)
{
    if (h == NULL)
        return NULL;
    CObject* pObject = LookupPermanent(h);
    if (pObject == NULL)
        pObject = LookupTemporary(h);
    if (pObject != NULL)
        return pObject;
    pObject = (*m_pfnNew)();
    (*m_pfnSetHandle)(pObject, h);
    m_temporaries.push_back(pObject);
    m_temporary[h] = pObject;
    return pObject;
}

void CHandleMap::SetPermanent(HANDLE h, CObject* pObject)
{
    // A temporary object of the handle no longer answers for it (it stays listed for deletion).
    m_temporary.erase(h);
    m_permanent[h] = pObject;
}

void CHandleMap::RemoveHandle(HANDLE h, const CObject* pObject)
{
    auto it = m_permanent.find(h);
    if (it != m_permanent.end() && it->second == pObject)
        m_permanent.erase(it);
    it = m_temporary.find(h);
    if (it != m_temporary.end() && it->second == pObject)
        m_temporary.erase(it);
}

void CHandleMap::DeleteTemp()
{
    m_temporary.clear();
    std::vector<CObject*> objects;
    objects.swap(m_temporaries);
    for (CObject* pObject : objects) {
        (*m_pfnSetHandle)(pObject, NULL); // the handle is not the object's to free
        delete pObject;
    }
}
