// Trace of the exported calls: a call line (level +1, the indentation grows after it), a result
// line (level -1, it shrinks before it) and notes (level 0), written to the debug-output channel
// while tracing is on (db_set_debug). Callers test _db_tracing() first, so nothing is formatted
// while tracing is off.
#pragma once

#include <cstdint>
#include <type_traits>

// Writes one trace text (see Trace.cpp for the line layout).
void _db_trace(int level, const char* format, ...);

// Describers for designators in call lines: "FIELDREF(%d)", "AREAREF(%d)", "'%s'" or "(NULL)".
const char* _db_describe_field(const char* designator);
const char* _db_describe_area(const char* designator);

// Argument wrappers of call lines, converted only when the line is written.
struct TraceBuf {       // a caller's buffer: "0x%08lx"
    const void* p;
};
struct TraceField {     // a field designator: "%s"
    const char* p;
};
struct TraceArea {      // an area designator: "%s"
    const char* p;
};

inline const char* TraceValue(const char* text) { return text ? text : "(NULL)"; }
inline const char* TraceValue(char* text) { return text ? text : "(NULL)"; }
inline unsigned long TraceValue(TraceBuf b) { return (unsigned long)(uintptr_t)b.p; }
inline const char* TraceValue(TraceField f) { return _db_describe_field(f.p); }
inline const char* TraceValue(TraceArea a) { return _db_describe_area(a.p); }
template <typename T>
inline T TraceValue(T v)
{
    static_assert(std::is_arithmetic_v<T> || std::is_enum_v<T>, "wrap pointer arguments of trace lines");
    return v;
}

template <typename... A>
inline void _db_trace_call(int level, const char* format, A... args)
{
    _db_trace(level, format, TraceValue(args)...);
}
