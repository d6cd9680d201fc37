#include "clsIndexLock.h"

#include "Locks.h"

clsIndexLock::~clsIndexLock() { Unlock(); }

BOOL clsIndexLock::Lock(BOOL wait, BOOL nested)
{
    if (m_locked)
        return TRUE;
    m_locked = LockIndex(m_area, m_slot, wait, nested) != FALSE;
    return m_locked;
}

BOOL clsIndexLock::Unlock()
{
    if (!m_locked)
        return TRUE;
    m_locked = false;
    return UnlockIndex(m_area, m_slot, FALSE);
}
