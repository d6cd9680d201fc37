// A mutex, named for use between processes or unnamed.
#pragma once

#include "CSyncObject.h"

class CMutex : public CSyncObject {
    DECLARE_DYNAMIC(CMutex)
public:
    // Throws CResourceException when the mutex cannot be created.
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCTSTR lpszName = NULL, LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
    virtual ~CMutex();

    virtual BOOL Unlock();
    using CSyncObject::Unlock;
};
