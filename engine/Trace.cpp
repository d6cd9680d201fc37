#include "Trace.h"

#include <windows.h>

#include <cstdarg>
#include <cstring>

#include "DebugOutput.h"
#include "PrintfFormat.h"
#include "clsCritObj.h"

namespace {

clsCrit s_traceLock;
int s_indent = 0;
int s_lineEnded = 1;
char s_line[1025];

// Describer texts: a small ring, so that two designators of one call line stay intact.
const int kDescribers = 4;
thread_local char t_describe[kDescribers][300];
thread_local int t_next = 0;

char* NextDescriber() { return t_describe[t_next++ % kDescribers]; }

bool IsRef(const char* d, intptr_t low, intptr_t high)
{
    intptr_t v = (intptr_t)d;
    return v >= low && v <= high;
}

} // namespace

void _db_trace(int level, const char* format, ...)
{
    clsCritObj lock(s_traceLock);
    const bool call = format && format[0] == '@';
    if (call && !s_lineEnded)
        DebugPrintf("%s", "\n");
    if (level < 0) {
        s_indent += level;
        if (s_indent < 0)
            s_indent = 0;
    }
    size_t n = 0;
    if (call) {
        DWORD ticks = GetTickCount();
        int indent = s_indent;
        for (int i = 0; i < indent && n < sizeof s_line - 1; ++i)
            s_line[n++] = ' ';
        s_line[n] = 0;
        int w = Format(s_line + n, sizeof s_line - n, "%08x/%08x: %02u:%02u.%03u ", GetCurrentProcessId(),
                       GetCurrentThreadId(), (unsigned)((ticks / 60000) % 60), (unsigned)((ticks / 1000) % 60),
                       (unsigned)(ticks % 1000));
        n = std::strlen(s_line);
        (void)w;
    }
    va_list ap;
    va_start(ap, format);
    VFormat(s_line + n, sizeof s_line - n, format, ap);
    va_end(ap);
    if (level < 0) {
        n = std::strlen(s_line);
        if (n + 2 < sizeof s_line) {
            s_line[n++] = '\r';
            s_line[n++] = '\n';
            s_line[n] = 0;
        }
    }
    DebugPrintf("%s", s_line);
    n = std::strlen(s_line);
    s_lineEnded = n > 0 && s_line[n - 1] == '\n';
    if (level > 0) {
        s_indent += level;
        if (s_indent > 30)
            s_indent = 30;
    }
    DebugPrintf("%s", "\n");
}

const char* _db_describe_field(const char* d)
{
    char* out = NextDescriber();
    if (!d)
        Format(out, 300, "(NULL)");
    else if (IsRef(d, -4096, -1))
        Format(out, 300, "FIELDREF(%d)", (int)((intptr_t)d & 0xFFF));
    else
        Format(out, 300, "'%s'", d);
    return out;
}

const char* _db_describe_area(const char* d)
{
    char* out = NextDescriber();
    if (!d)
        Format(out, 300, "(NULL)");
    else if (IsRef(d, -256, -1))
        Format(out, 300, "AREAREF(%d)", (int)((intptr_t)d & 0xFF));
    else
        Format(out, 300, "'%s'", d);
    return out;
}
