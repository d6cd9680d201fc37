#include "CDbAreaLock.h"

#include "DbErrors.h"
#include "DbLocks.h"
#include "vlDB07.h"

CDbAreaLock::CDbAreaLock(int nArea) : m_nArea(nArea), m_nUncaught(DbEnterScope())
{
    ASSERT(nArea >= kDbFirstArea && nArea <= kDbLastArea);
    g_areaLocks[m_nArea].Lock();
    g_engineLock.Lock();
    db_select_area(m_nArea);
}

CDbAreaLock::~CDbAreaLock() noexcept(false)
{
    g_engineLock.Unlock();
    g_areaLocks[m_nArea].Unlock();
    DbLeaveScope(m_nUncaught);
}
