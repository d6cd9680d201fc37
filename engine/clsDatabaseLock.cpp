#include "clsDatabaseLock.h"

#include "Locks.h"

clsDatabaseLock::~clsDatabaseLock() { Unlock(); }

BOOL clsDatabaseLock::Lock(BOOL wait)
{
    if (m_locked)
        return TRUE;
    m_locked = LockArea(m_area, m_what, wait, m_owner) != FALSE;
    return m_locked;
}

BOOL clsDatabaseLock::Unlock()
{
    if (!m_locked)
        return TRUE;
    m_locked = false;
    return UnlockArea(m_area, m_what, m_owner);
}
