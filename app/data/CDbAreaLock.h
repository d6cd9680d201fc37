// Scope of one engine call sequence on a work area: enters the area's lock and the engine lock
// (in that order, see DbLocks.h), selects the area, and leaves both at the end of the scope, also
// when an exception passes. An unexpected engine error left unthrown by an earlier call is
// dropped at the start.
#pragma once

class CDbAreaLock {
public:
    // nArea: 1 to 250.
    explicit CDbAreaLock(int nArea);
    ~CDbAreaLock();
    CDbAreaLock(const CDbAreaLock&) = delete;
    CDbAreaLock& operator=(const CDbAreaLock&) = delete;

private:
    int m_nArea;
};
