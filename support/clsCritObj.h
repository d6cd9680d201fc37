// Holds a critical section for the length of a scope.
#pragma once

#include "clsCrit.h"

class clsCritObj {
public:
    explicit clsCritObj(CRITICAL_SECTION* cs) : m_cs(cs) { EnterCriticalSection(m_cs); }
    explicit clsCritObj(clsCrit& crit) : m_cs(crit.Get()) { EnterCriticalSection(m_cs); }
    ~clsCritObj() { LeaveCriticalSection(m_cs); }
    clsCritObj(const clsCritObj&) = delete;
    clsCritObj& operator=(const clsCritObj&) = delete;

private:
    CRITICAL_SECTION* m_cs;
};
