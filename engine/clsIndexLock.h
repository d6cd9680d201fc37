// Scoped index lock of one slot of a work area (see LockIndex), released (not forced) when the
// holder ends if it was taken.
#pragma once

#include <windows.h>

#include "Area.h"

class clsIndexLock {
public:
    clsIndexLock(s_Area& area, int slot) : m_area(area), m_slot(slot) {}
    virtual ~clsIndexLock();
    clsIndexLock(const clsIndexLock&) = delete;
    clsIndexLock& operator=(const clsIndexLock&) = delete;

    // LockIndex; FALSE (error raised) when not obtained.
    BOOL Lock(BOOL wait, BOOL nested);
    // Releases the lock now when it was taken; the answer of UnlockIndex (TRUE when not taken).
    BOOL Unlock();
    bool Locked() const { return m_locked; }

private:
    s_Area& m_area;
    int m_slot;
    bool m_locked = false;
};
