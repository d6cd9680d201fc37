#include "CDbEngineLock.h"

#include "DbErrors.h"
#include "DbLocks.h"

CDbEngineLock::CDbEngineLock() : m_nUncaught(DbEnterScope()) { g_engineLock.Lock(); }

CDbEngineLock::~CDbEngineLock() noexcept(false)
{
    g_engineLock.Unlock();
    DbLeaveScope(m_nUncaught);
}
