// The locks of the engine access layer.
//
// The engine keeps one current work area for the whole process. Every engine call sequence of the
// program therefore runs under two locks, taken in this order and held from the selection of the
// area to the end of the sequence (CDbAreaLock):
//   1. g_areaLocks[n], the lock of work area n (1 to 250): one thread per table at a time;
//   2. g_engineLock, one recursive lock for the whole engine: no other thread can select another
//      area between this thread's selection and its calls.
// g_areaLocks[0] guards the error handler's look-up of the current table's name; 251 to 254 are
// never used. All locks are critical sections, so a thread may take them again while it holds
// them. A thread that holds the engine lock must not wait for another area's lock that a second
// thread may hold (that thread would wait for the engine lock in turn).
#pragma once

#include <afxmt.h>

inline constexpr int kDbFirstArea = 1;
inline constexpr int kDbLastArea = 250;
inline constexpr int kDbAreaLockCount = 255;

extern CCriticalSection g_areaLocks[kDbAreaLockCount];
extern CCriticalSection g_engineLock;

