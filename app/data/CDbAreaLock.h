// Scope of one engine call sequence on a work area: enters the area's lock and the engine lock
// (in that order, see DbLocks.h), selects the area, and leaves both at the end of the scope, also
// when an exception passes. No engine error is lost in between: an unexpected error that a call
// of the scope left unchecked is thrown when the scope ends (unless an exception is already on
// its way), and the error boxes of the scope's calls are shown only after the locks are left, on
// the user-interface thread (DbErrors.h).
#pragma once

class CDbAreaLock {
public:
    // nArea: 1 to 250.
    explicit CDbAreaLock(int nArea);
    ~CDbAreaLock() noexcept(false);
    CDbAreaLock(const CDbAreaLock&) = delete;
    CDbAreaLock& operator=(const CDbAreaLock&) = delete;

private:
    int m_nArea;
    int m_nUncaught;
};
