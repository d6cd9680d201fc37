// The common frame of every exported engine function.
//
// Entry, in this order: the calling thread's nesting depth grows; the crash frame (when the
// export has one); the area guard (when the export is guarded and a job exists); the call trace
// line; the job lookup. Exit, in this order: guard exit; crash frame; the depth shrinks and, when
// the thread's outermost call ends, its queued errors go to the error callback; the result trace.
//
//   unsigned DB_CALL db_recno()
//   {
//       DbFrame<unsigned, RF_UINT> f(DBF_NONE, "@DbRecno()");
//       if (!f.Job())
//           return f(0);
//       ...
//       return f(number);
//   }
//
// Exports without a nesting count (selections, simple setters, string functions) pass
// DBF_NO_NESTING: they write their call line and look the job up, but deliver no errors and
// write no result line.
#pragma once

#include <optional>

#include "Job.h"
#include "Trace.h"
#include "clsAreaList.h"
#include "clsGPFProtection.h"

enum DbFrameFlags : unsigned {
    DBF_NONE = 0,
    DBF_GUARD = 1,          // area guard
    DBF_CRASH_REPORT = 2,   // crash frame writing the report
    DBF_CRASH_ASK = 4,      // crash frame writing the report and asking an interactive user
    DBF_NO_LOOKUP = 8,      // no job lookup (the current error stays)
    DBF_NO_NESTING = 16,    // no nesting count (errors wait for the next framed call) and no result trace
    DBF_CALL_LEVEL0 = 32,   // the call line is written at level 0 (the indentation does not grow)
};

// Result trace formats.
enum DbResultFormat { RF_CHAR, RF_INT, RF_UINT, RF_HEX, RF_PTR };

// Nesting depth of engine calls on the calling thread.
void _db_call_enter();
// Ends one level; at depth 0 the thread's queued errors are delivered.
void _db_call_leave();
int _db_call_depth();
// A shared table's record count was noted on the calling thread (WorkAreas); the take answers
// whether one was and clears the mark.
void _db_mark_count_noted();
bool _db_take_count_noted();

void _db_trace_result(DbResultFormat format, long long value);
void _db_trace_result_ptr(DbResultFormat format, const void* value);

template <typename T, DbResultFormat F>
class DbFrame {
public:
    template <typename... A>
    DbFrame(unsigned flags, const char* callFormat, A... args)
    {
        m_nesting = !(flags & DBF_NO_NESTING);
        if (m_nesting)
            _db_call_enter();
        if (flags & (DBF_CRASH_REPORT | DBF_CRASH_ASK))
            m_crash.emplace((flags & DBF_CRASH_ASK) ? clsGPFProtection::kReport | clsGPFProtection::kAsk
                                                    : clsGPFProtection::kReport);
        if ((flags & DBF_GUARD) && g_Job && g_Job->currentIndex >= 0) {
            m_guardIndex = g_Job->currentIndex;
            g_AreaList.Enter(m_guardIndex);
        }
        if (_db_tracing())
            _db_trace_call((flags & DBF_CALL_LEVEL0) ? 0 : 1, callFormat, args...);
        m_job = (flags & DBF_NO_LOOKUP) ? g_Job : _db_get_job();
    }

    ~DbFrame()
    {
        if (m_guardIndex >= 0)
            g_AreaList.Leave(m_guardIndex);
        m_crash.reset();
        if (!m_nesting)
            return;
        _db_call_leave();
        if (_db_tracing()) {
            if constexpr (std::is_pointer_v<T>)
                _db_trace_result_ptr(F, (const void*)m_value);
            else
                _db_trace_result(F, (long long)m_value);
        }
    }

    DbFrame(const DbFrame&) = delete;
    DbFrame& operator=(const DbFrame&) = delete;

    s_Job* Job() const { return m_job; }
    // Keeps the result for the result trace and hands it on.
    T operator()(T value)
    {
        m_value = value;
        return value;
    }

private:
    s_Job* m_job = nullptr;
    bool m_nesting = true;
    int m_guardIndex = -1;
    std::optional<clsGPFProtection> m_crash;
    T m_value{};
};
