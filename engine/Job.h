// The engine's process-wide job: settings, the 250 work areas with the current one, the error
// state and the caller's callbacks.
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>

#include "clsCrit.h"
#include "vlDB07.h"

struct s_Area;

const int DB_AREA_COUNT = 250;
const int DB_VERSION_MAJOR = 7;
const int DB_VERSION_MINOR = 14;
const int DB_ERROR_DETAIL_SIZE = 104;

// One queued error. Errors are delivered to the thread that raised them, at the end of that
// thread's outermost engine call, in the order in which they were raised.
struct clsErrorInfo {
    unsigned code;
    DWORD threadId;
};

struct s_Job {
    int exclusive = 1;
    int deleted = 0;
    int exact = 1;
    int filesOpen = 0;
    int decimals = 0;
    s_Area* areas[DB_AREA_COUNT] = {};
    s_Area* currentArea = nullptr;
    int currentIndex = -1;
    unsigned currentError = 0;
    DbErrorCallback errorCallback = nullptr;
    DbPositionCallback positionCallback = nullptr;
    unsigned* errorVariable = nullptr;
    int dateFormat = 0;
    char errorDetail[DB_ERROR_DETAIL_SIZE] = {};
    int fieldNameCompatibility = 1;
    int refCount = 1;
    int collationCompatibility = 0;

    // Pending errors of all threads; the lock guards only this list. pendingCount is the list's
    // length, changed under the lock: a thread that reads 0 has none of its own errors waiting
    // (it raised them itself, before), so it can leave without taking the lock.
    clsCrit pendingLock;
    std::deque<clsErrorInfo> pending;
    std::atomic<long> pendingCount{0};
};

// Process-wide engine words.
extern s_Job* g_Job;
extern volatile LONG g_TraceCount;
extern HMODULE g_EngineModule;

// Job lookup at the start of a framed export: clears the current error and the error variable;
// without a job raises error 5 and answers NULL.
s_Job* _db_get_job();
// Raises an error: current error, error variable, queued for the raising thread.
void _db_raise_error(unsigned code);
// Hands the calling thread's queued errors to the error callback (or drops them without one).
void _db_deliver_errors(s_Job* job);

// The warning sink of the engine's diagnostics: a printf-style function that keeps nothing.
void _db_warn(const char* format, ...);

extern "C" int _db_process_attach(HMODULE module);
extern "C" int _db_process_detach();

inline bool _db_tracing() { return g_TraceCount != 0; }
