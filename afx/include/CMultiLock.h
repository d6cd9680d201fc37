// Waits for several waitable synchronisation objects at once (not critical sections) and
// releases those it acquired when it is destroyed.
#pragma once

#include "CSyncObject.h"

class CMultiLock {
public:
    // Throws CInvalidArgException for more than MAXIMUM_WAIT_OBJECTS objects or an object
    // without a handle (a critical section).
    CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock = FALSE);
    ~CMultiLock();
    CMultiLock(const CMultiLock&) = delete;
    CMultiLock& operator=(const CMultiLock&) = delete;

    // The WaitForMultipleObjects result (MsgWaitForMultipleObjects with a wake mask).
    DWORD Lock(DWORD dwTimeOut = INFINITE, BOOL bWaitForAll = TRUE, DWORD dwWakeMask = 0);
    BOOL Unlock();
    BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
    BOOL IsLocked(DWORD dwItem);

protected:
    HANDLE m_hPreallocated[8];
    BOOL m_bPreallocated[8];
    CSyncObject* const* m_ppObjectArray;
    HANDLE* m_pHandleArray;
    BOOL* m_bLockedArray;
    DWORD m_dwCount;
};
