// A critical section: re-entrant on its owning thread, not waitable with CMultiLock. Lock
// ignores its timeout.
#pragma once

#include "CSyncObject.h"

class CCriticalSection : public CSyncObject {
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    virtual ~CCriticalSection();

    operator CRITICAL_SECTION*() { return &m_sect; }
    CRITICAL_SECTION m_sect;

    BOOL Lock();
    virtual BOOL Lock(DWORD dwTimeout);
    virtual BOOL Unlock();
    using CSyncObject::Unlock;
};
