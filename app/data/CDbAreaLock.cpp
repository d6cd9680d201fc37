#include "CDbAreaLock.h"

#include "DbErrors.h"
#include "DbLocks.h"
#include "vlDB07.h"

CDbAreaLock::CDbAreaLock(int nArea) : m_nArea(nArea)
{
    ASSERT(nArea >= kDbFirstArea && nArea <= kDbLastArea);
    g_areaLocks[m_nArea].Lock();
    g_engineLock.Lock();
    DbClearPendingError();
    db_select_area(m_nArea);
}

CDbAreaLock::~CDbAreaLock()
{
    g_engineLock.Unlock();
    g_areaLocks[m_nArea].Unlock();
}
