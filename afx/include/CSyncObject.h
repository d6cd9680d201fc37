// Base of the synchronisation objects: a waitable kernel handle (NULL for a critical section).
#pragma once

#include "CObject.h"

class CSyncObject : public CObject {
    DECLARE_DYNAMIC(CSyncObject)
public:
    explicit CSyncObject(LPCTSTR pstrName);
    virtual ~CSyncObject();

    HANDLE m_hObject;
    operator HANDLE() const { return m_hObject; }

    // TRUE when the object was acquired within dwTimeout milliseconds (an abandoned mutex is
    // acquired too).
    virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    virtual BOOL Unlock() = 0;
    virtual BOOL Unlock(LONG lCount, LPLONG lpPrevCount = NULL);
};
