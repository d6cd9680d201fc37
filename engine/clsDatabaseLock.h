// Scoped table lock: a record (number > 0), the header (0) or the file (-1) of a work area for the
// engine (owner 0) or the caller (owner 1), released when the holder ends if it was taken.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Area.h"

class clsDatabaseLock {
public:
    clsDatabaseLock(s_Area& area, int32_t what, int owner) : m_area(area), m_what(what), m_owner(owner) {}
    virtual ~clsDatabaseLock();
    clsDatabaseLock(const clsDatabaseLock&) = delete;
    clsDatabaseLock& operator=(const clsDatabaseLock&) = delete;

    // LockArea; FALSE (error 21 raised) when not obtained.
    BOOL Lock(BOOL wait);
    // Releases the lock now when it was taken; the answer of UnlockArea (TRUE when not taken).
    BOOL Unlock();
    bool Locked() const { return m_locked; }

private:
    s_Area& m_area;
    int32_t m_what;
    int m_owner;
    bool m_locked = false;
};
