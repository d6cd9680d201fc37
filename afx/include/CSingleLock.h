// Holds one synchronisation object for the lifetime of the lock (or until Unlock): the object is
// released when the CSingleLock is destroyed, also when an exception leaves the scope. A second
// Lock on a lock that already holds its object does not acquire it again.
#pragma once

#include "CSyncObject.h"

class CSingleLock {
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD dwTimeOut = INFINITE);
    // TRUE when the object is no longer held.
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
    BOOL IsLocked() { return m_bAcquired; }

protected:
    CSyncObject* m_pObject;
    HANDLE m_hObject;
    BOOL m_bAcquired;
};
