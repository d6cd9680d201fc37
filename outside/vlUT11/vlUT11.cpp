#include "vlUT11.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "DebugOutput.h"
#include "PrintfFormat.h"
#include "StackWalk.h"
#include "clsLibInfo.h"

namespace {

std::mutex s_lock;
// Index + 1 is the handle; a job's heaps record their job, a closed entry is 0.
std::vector<long> s_jobs;
std::vector<long> s_heaps;

long Add(std::vector<long>& table, long value)
{
    std::lock_guard<std::mutex> g(s_lock);
    table.push_back(value);
    return (long)table.size();
}

int Remove(std::vector<long>& table, long handle)
{
    std::lock_guard<std::mutex> g(s_lock);
    if (handle <= 0 || handle > (long)table.size() || table[(size_t)handle - 1] == 0)
        return 0;
    table[(size_t)handle - 1] = 0;
    return 1;
}

void WriteLine(const char* format, va_list args)
{
    if (!DebugChannelHasTarget())
        return;
    char line[1025];
    VFormat(line, sizeof line, format, args);
    g_LibInfo.WriteText(line);
}

} // namespace

long WINAPI UtilJobOpenA(const char* moduleFileName, int flags) { return Add(s_jobs, 1); }

int WINAPI UtilJobClose(long job) { return Remove(s_jobs, job); }

long WINAPI UtilHeapCreate(long job, const char* name, int flags) { return Add(s_heaps, job > 0 ? job : -1); }

int WINAPI UtilHeapDelete(long heap) { return Remove(s_heaps, heap); }

void __cdecl UtilDebug(const char* format, ...)
{
    va_list ap;
    va_start(ap, format);
    WriteLine(format, ap);
    va_end(ap);
}

void __cdecl Debug(int flags, const char* format, ...)
{
    va_list ap;
    va_start(ap, format);
    WriteLine(format, ap);
    va_end(ap);
}

int __cdecl UtilSafeSprintf(char* buffer, int size, const char* format, ...)
{
    if (!buffer || size <= 0)
        return 0;
    va_list ap;
    va_start(ap, format);
    int n = VFormat(buffer, (size_t)size, format, ap);
    va_end(ap);
    return n < size ? n : size - 1;
}

int WINAPI UtilStackTrace(int reserved1, int reserved2)
{
    LogStackTraces(32);
    return 0;
}

char* WINAPI UtilStrcpy(char* dest, const char* src) { return std::strcpy(dest, src ? src : ""); }

char* WINAPI UtilStrncpy(char* dest, const char* src, int count)
{
    if (!dest || count <= 0)
        return dest;
    if (!src)
        src = "";
    size_t n = std::strlen(src);
    if (n > (size_t)count - 1)
        n = (size_t)count - 1;
    std::memcpy(dest, src, n);
    dest[n] = 0;
    return dest;
}

void* WINAPI UtilMemset(void* dest, int value, int count)
{
    return count > 0 ? std::memset(dest, value, (size_t)count) : dest;
}

int WINAPI UtilStricmp(const char* a, const char* b) { return _stricmp(a ? a : "", b ? b : ""); }

int WINAPI UtilStrlen(const char* text) { return text ? (int)std::strlen(text) : 0; }

int WINAPI UtilStrnicmp(const char* a, const char* b, int count)
{
    if (count <= 0)
        return 0;
    return _strnicmp(a ? a : "", b ? b : "", (size_t)count);
}

char* WINAPI UtilAtrim(char* text)
{
    if (!text)
        return text;
    char* start = text;
    while (*start == ' ')
        ++start;
    size_t n = std::strlen(start);
    while (n > 0 && start[n - 1] == ' ')
        --n;
    std::memmove(text, start, n);
    text[n] = 0;
    return text;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        DebugChannelOpen(instance);
    else if (reason == DLL_PROCESS_DETACH)
        DebugChannelClose();
    return TRUE;
}
