#include "DebugOutput.h"

#include "PrintfFormat.h"
#include "StaticInit.h"
#include "clsCritObj.h"
#include "clsLibInfo.h"

namespace {

// One byte: 1 while the library's global objects exist. Its storage is 0 before its
// construction and after its destruction, which silences all output then.
struct clsGlobalObjectsInitialized {
    volatile unsigned char value;
    clsGlobalObjectsInitialized() { value = 1; }
    ~clsGlobalObjectsInitialized() { value = 0; }
};

} // namespace

// The support library's first objects; destroyed in reverse order at shut-down.
VL_INIT_SUPPORT clsCrit g_DebugLock;
VL_INIT_SUPPORT static clsGlobalObjectsInitialized g_GlobalObjectsInitialized;
VL_INIT_SUPPORT clsLibInfo g_LibInfo;

namespace {
const int kPrintBuffer = 1025;
char s_printBuffer[kPrintBuffer];
char s_timedBuffer[kPrintBuffer];
int s_indent = 0;
LARGE_INTEGER s_frequency = {};
LARGE_INTEGER s_start = {};

bool Active() { return g_GlobalObjectsInitialized.value && g_LibInfo.HasTarget(); }
} // namespace

void DebugChannelOpen(HMODULE module) { g_LibInfo.Init(module); }

void DebugChannelClose() { g_LibInfo.Close(); }

bool DebugChannelHasTarget() { return Active(); }

void DebugPrintf(const char* format, ...)
{
    if (!Active())
        return;
    clsCritObj lock(g_DebugLock);
    va_list ap;
    va_start(ap, format);
    VFormat(s_printBuffer, sizeof s_printBuffer, format, ap);
    va_end(ap);
    g_LibInfo.WriteText(s_printBuffer);
}

void DebugPrintfTimed(int indentDelta, const char* format, ...)
{
    va_list ap;
    va_start(ap, format);
    DebugVPrintfTimed(indentDelta, format, ap);
    va_end(ap);
}

void DebugVPrintfTimed(int indentDelta, const char* format, va_list args)
{
    if (!Active())
        return;
    clsCritObj lock(g_DebugLock);
    if (!format) {
        s_indent += indentDelta;
        if (s_indent < 0)
            s_indent = 0;
        return;
    }
    if (s_frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&s_frequency);
        QueryPerformanceCounter(&s_start);
    }
    if (indentDelta < 0) {
        s_indent += indentDelta;
        if (s_indent < 0)
            s_indent = 0;
    }
    unsigned long long ms;
    LARGE_INTEGER now;
    if (s_frequency.QuadPart && QueryPerformanceCounter(&now))
        ms = (unsigned long long)(now.QuadPart - s_start.QuadPart) * 1000ull / (unsigned long long)s_frequency.QuadPart;
    else
        ms = GetTickCount();
    unsigned minutes = (unsigned)((ms / 60000) % 60), seconds = (unsigned)((ms / 1000) % 60),
             millis = (unsigned)(ms % 1000);
    int level = s_indent < 30 ? s_indent : 30;
    int n = Format(s_timedBuffer, sizeof s_timedBuffer, "%02u:%02u.%03u%*s %08x ", minutes, seconds, millis, level + 1,
                   "", GetCurrentThreadId());
    if (n < kPrintBuffer - 1)
        VFormat(s_timedBuffer + n, sizeof s_timedBuffer - (size_t)n, format, args);
    g_LibInfo.WriteText(s_timedBuffer);
    if (indentDelta > 0)
        s_indent += indentDelta;
}
