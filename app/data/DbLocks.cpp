#include "DbLocks.h"

CCriticalSection g_areaLocks[kDbAreaLockCount];
CCriticalSection g_engineLock;

