// One map from Windows handles to the library's objects, used for windows, menus, device
// contexts, GDI objects and image lists. Each thread has its own maps (in its thread state).
//
// A permanent object is one that its owner attached to the handle (Attach, Create, subclassing);
// the map only points at it. A temporary object is made by FromHandle for a handle without a
// permanent object; the map owns it and deletes it in DeleteTemp (at idle time, or when the thread
// ends), after clearing its handle so that the object's destructor leaves the handle alone.
#pragma once

#include "AfxBase.h"

#include <unordered_map>
#include <vector>

class CObject;

class CHandleMap {
public:
    // pfnNew makes an empty object of the map's class; pfnSetHandle stores a handle into such an
    // object (NULL clears it before a temporary object is deleted).
    typedef CObject*(PASCAL* PFN_NEW)();
    typedef void(PASCAL* PFN_SET_HANDLE)(CObject* pObject, HANDLE h);

    CHandleMap(PFN_NEW pfnNew, PFN_SET_HANDLE pfnSetHandle);
    ~CHandleMap();
    CHandleMap(const CHandleMap&) = delete;
    CHandleMap& operator=(const CHandleMap&) = delete;

    // The permanent object of h, else its temporary object (made when there is none); NULL for
    // NULL.
    CObject* FromHandle(HANDLE h);
    CObject* LookupPermanent(HANDLE h) const;
    CObject* LookupTemporary(HANDLE h) const;

    void SetPermanent(HANDLE h, CObject* pObject);
    // Removes h from both maps when it names pObject there (a temporary object stays listed
    // for deletion: its caller may still hold the pointer).
    void RemoveHandle(HANDLE h, const CObject* pObject);

    // Deletes all temporary objects.
    void DeleteTemp();

    size_t GetPermanentCount() const { return m_permanent.size(); }
    size_t GetTemporaryCount() const { return m_temporaries.size(); }

private:
    PFN_NEW m_pfnNew;
    PFN_SET_HANDLE m_pfnSetHandle;
    std::unordered_map<HANDLE, CObject*> m_permanent;
    std::unordered_map<HANDLE, CObject*> m_temporary;
    std::vector<CObject*> m_temporaries;
};
