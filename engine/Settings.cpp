// The job's switches.
#include "DebugOutput.h"
#include "Job.h"
#include "Trace.h"
#include "vlUT11.h"

extern "C" intptr_t DB_CALL db_set_errorcallback(DbErrorCallback callback)
{
    if (_db_tracing())
        Debug(0, "@DbSetErrorcallback(0x%08lx)", (unsigned long)(uintptr_t)callback);
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    job->errorCallback = callback;
    return (intptr_t)job;
}

extern "C" intptr_t DB_CALL db_set_positioncallback(DbPositionCallback callback)
{
    if (_db_tracing())
        Debug(0, "@DbSetPositioncallback(0x%08lx)", (unsigned long)(uintptr_t)callback);
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    job->positionCallback = callback;
    return (intptr_t)job;
}

extern "C" intptr_t DB_CALL db_set_errorvariable(unsigned* variable)
{
    if (_db_tracing())
        Debug(0, "@DbSetErrorvariable(0x%08lx)", (unsigned long)(uintptr_t)variable);
    s_Job* job = _db_get_job();
    if (!job)
        return 0;
    job->errorVariable = variable;
    return (intptr_t)job;
}
