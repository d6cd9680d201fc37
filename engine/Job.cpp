// The job, error raising, queueing and delivery, and the job exports.
#include <windows.h>

#include <new>

#include "CallFrame.h"
#include "DebugOutput.h"
#include "Job.h"
#include "PathHelpers.h"
#include "StackWalk.h"
#include "WorkAreas.h"
#include "clsCritObj.h"

s_Job* g_Job = nullptr;
volatile LONG g_TraceCount = 0;
HMODULE g_EngineModule = nullptr;

namespace {

// The calling thread's call state in one pointer-sized value: the nesting depth of engine calls
// (an int) in the low 32 bits, and a mark that a shared table's record count was noted during
// them. It lives in a thread-local slot of the system, read and written on every call: the
// compiler's thread-local variables cost a library lookup under a lock on every access here.
static_assert(sizeof(uintptr_t) == 8, "the depth and the mark share one slot value");
const uintptr_t kDepthMask = 0xFFFFFFFFu;
const uintptr_t kCountNoted = (uintptr_t)1 << 32;

int DepthOf(uintptr_t state) { return (int)(uint32_t)(state & kDepthMask); }
uintptr_t WithDepth(uintptr_t state, int depth) { return (state & ~kDepthMask) | (uint32_t)depth; }

DWORD StateSlot()
{
    static const DWORD slot = TlsAlloc();
    return slot;
}

uintptr_t& FallbackState()
{
    thread_local uintptr_t state = 0;
    return state;
}

uintptr_t LoadState()
{
    const DWORD slot = StateSlot();
    if (slot == TLS_OUT_OF_INDEXES)
        return FallbackState();
    // TlsGetValue clears the last error; the caller's is kept.
    const DWORD error = GetLastError();
    const uintptr_t state = (uintptr_t)TlsGetValue(slot);
    SetLastError(error);
    return state;
}

void StoreState(uintptr_t state)
{
    const DWORD slot = StateSlot();
    if (slot == TLS_OUT_OF_INDEXES)
        FallbackState() = state;
    else
        TlsSetValue(slot, (void*)state);
}

} // namespace

// ---- call frame -------------------------------------------------------------------------------

void _db_call_enter()
{
    const uintptr_t state = LoadState();
    StoreState(WithDepth(state, DepthOf(state) + 1));
}

void _db_call_leave()
{
    const uintptr_t state = LoadState();
    const int depth = DepthOf(state) - 1;
    StoreState(WithDepth(state, depth));
    if (depth == 0 && g_Job) {
        _db_forget_counts(g_Job);
        _db_deliver_errors(g_Job);
    }
}

int _db_call_depth() { return DepthOf(LoadState()); }

void _db_mark_count_noted() { StoreState(LoadState() | kCountNoted); }

bool _db_take_count_noted()
{
    const uintptr_t state = LoadState();
    if (!(state & kCountNoted))
        return false;
    StoreState(state & ~kCountNoted);
    return true;
}

void _db_trace_result(DbResultFormat format, long long value)
{
    switch (format) {
    case RF_CHAR: _db_trace(-1, "='%c'", (int)(char)value); break;
    case RF_INT: _db_trace(-1, "=%d", (int)value); break;
    case RF_UINT: _db_trace(-1, "=%u", (unsigned)value); break;
    case RF_HEX: _db_trace(-1, "=0x%x", (unsigned)value); break;
    case RF_PTR: _db_trace(-1, "=0x%p", (void*)(intptr_t)value); break;
    }
}

void _db_trace_result_ptr(DbResultFormat format, const void* value)
{
    if (format == RF_PTR)
        _db_trace(-1, "=0x%p", value);
    else
        _db_trace(-1, "=0x%x", (unsigned)(uintptr_t)value);
}

void _db_warn(const char*, ...) {}

// ---- errors -----------------------------------------------------------------------------------

s_Job* _db_get_job()
{
    s_Job* job = g_Job;
    if (!job) {
        _db_raise_error(DBE_NO_JOB);
        if (_db_tracing())
            _db_trace(0, "[fatal error: unknown job]");
        return nullptr;
    }
    if (job->errorVariable)
        *job->errorVariable = 0;
    job->currentError = 0;
    return job;
}

void _db_raise_error(unsigned code)
{
    if (code == 0)
        return;
    if (code == DBE_INTERNAL)
        LogStackTraces(50);
    if (_db_tracing())
        _db_trace(0, "[error: code %u]", code);
    s_Job* job = g_Job;
    if (!job)
        return;
    job->currentError = code;
    if (job->errorVariable)
        *job->errorVariable = code;
    clsCritObj lock(job->pendingLock);
    job->pending.push_back(clsErrorInfo{code, GetCurrentThreadId()});
    job->pendingCount.fetch_add(1);
}

void _db_deliver_errors(s_Job* job)
{
    if (!job || job->pendingCount.load() == 0)
        return;
    const DWORD self = GetCurrentThreadId();
    for (;;) {
        unsigned code = 0;
        {
            clsCritObj lock(job->pendingLock);
            auto it = job->pending.begin();
            while (it != job->pending.end() && it->threadId != self)
                ++it;
            if (it == job->pending.end())
                return;
            code = it->code;
            job->pending.erase(it);
            job->pendingCount.fetch_sub(1);
        }
        // The callback may call the engine: its calls are outermost calls of their own.
        if (job->errorCallback)
            job->errorCallback(code);
    }
}

// ---- library attach and detach ----------------------------------------------------------------

extern "C" int _db_process_attach(HMODULE module)
{
    g_EngineModule = module;
    g_TraceCount = 0;
    g_Job = nullptr;
    return 1;
}

extern "C" int _db_process_detach() { return 1; }

// ---- exports ----------------------------------------------------------------------------------

extern "C" int DB_CALL db_job_open(void)
{
    DbFrame<int, RF_INT> f(DBF_NO_LOOKUP, "@DbJobOpen()");
    if (g_Job) {
        ++g_Job->refCount;
        return f(0);
    }
    s_Job* job = new (std::nothrow) s_Job;
    if (!job)
        return f(-1);
    g_Job = job;
    db_select(DB_AREAREF(1));
    SetHandleCount(250);
    return f(0);
}

extern "C" void DB_CALL db_job_close(void)
{
    if (_db_tracing())
        _db_trace(0, "@DbJobClose()");
    s_Job* job = g_Job;
    if (!job)
        return;
    if (--job->refCount > 0)
        return;
    for (int i = 0; i < DB_AREA_COUNT; ++i)
        _db_free_area(job, i);
    // What the tables could not write at their close reaches the caller before the job ends.
    if (_db_call_depth() == 0)
        _db_deliver_errors(job);
    g_Job = nullptr;
    delete job;
}

extern "C" unsigned DB_CALL db_error(void)
{
    DbFrame<unsigned, RF_UINT> f(DBF_NO_LOOKUP, "@DbGetError()");
    return f(g_Job ? g_Job->currentError : (unsigned)DBE_NO_JOB);
}

extern "C" void DB_CALL db_get_errortext(unsigned code, char* buffer, unsigned size)
{
    if (_db_tracing())
        _db_trace_call(0, "@DbGetErrortext(%u,0x%08lx,%u)", code, TraceBuf{buffer}, size);
    s_Job* job = _db_get_job();
    if (!job || !buffer)
        return;
    char text[256];
    int n = LoadStringA(g_EngineModule, code, text, 255);
    if (n <= 0)
        SafeStrCopy(buffer, "<unknown error code>", size);
    else if (text[0] == '#')
        SafeStrCopy(buffer, job->errorDetail, size);
    else
        SafeStrCopy(buffer, text, size);
    if (_db_tracing() && size > 0)
        _db_trace(0, "->'%s'", buffer);
}

extern "C" void DB_CALL db_set_debug(int on)
{
    if (_db_tracing() || on)
        _db_trace(0, "@DbSetDebug(%d) --- Version %d.%03d of %s, %s", on, DB_VERSION_MAJOR, DB_VERSION_MINOR,
                  __DATE__, __TIME__);
    if (on)
        InterlockedIncrement(&g_TraceCount);
    else if (g_TraceCount > 0)
        InterlockedDecrement(&g_TraceCount);
}

extern "C" unsigned DB_CALL db_get_version(int selector)
{
    DbFrame<unsigned, RF_HEX> f(DBF_NO_LOOKUP, "@DbGetVersion(%d)", selector);
    switch (selector) {
    case 0: return f((DB_VERSION_MAJOR << 8) + DB_VERSION_MINOR);
    case 1: return f(0xFFFFFFFFu);
    case 3: return f(DB_VERSION_MAJOR);
    case 4: return f(DB_VERSION_MINOR);
    default: return f(0);
    }
}
