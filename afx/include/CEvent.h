// An event, auto-reset unless bManualReset, named for use between processes or unnamed.
#pragma once

#include "CSyncObject.h"

class CEvent : public CSyncObject {
    DECLARE_DYNAMIC(CEvent)
public:
    // Throws CResourceException when the event cannot be created.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCTSTR lpszName = NULL,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    virtual ~CEvent();

    BOOL SetEvent();
    BOOL PulseEvent();
    BOOL ResetEvent();
    // An event is not owned: nothing to release.
    virtual BOOL Unlock();
    using CSyncObject::Unlock;
};
