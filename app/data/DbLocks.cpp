#include "DbLocks.h"

#include "vlDB07.h"

CCriticalSection g_areaLocks[kDbAreaLockCount];
CCriticalSection g_engineLock;

BOOL DbTableInCurrentArea() { return db_fcount() != 0; }
