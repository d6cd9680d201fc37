// Scope of engine calls that work on no particular area (the session's settings, the job): holds
// the process-wide engine lock (DbLocks.h) and checks the calls' errors, as CDbAreaLock does for
// the calls on one area.
#pragma once

class CDbEngineLock {
public:
    CDbEngineLock();
    // Leaves the lock; then throws the unexpected engine error that a call of the scope left
    // unchecked (see DbErrors.h), unless an exception is already on its way.
    ~CDbEngineLock() noexcept(false);
    CDbEngineLock(const CDbEngineLock&) = delete;
    CDbEngineLock& operator=(const CDbEngineLock&) = delete;

private:
    int m_nUncaught;
};
