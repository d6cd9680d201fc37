// Records the library's start-up and shut-down steps into the file named by STARTUP_PROBE_LOG.
#include <windows.h>

#include <cstdio>
#include <string>

#include "LibraryStartup.h"
#include "StaticInit.h"
#include "clsLibInfo.h"

namespace {

void Record(const char* step, bool withChannel = true)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("STARTUP_PROBE_LOG", path, sizeof path))
        return;
    std::string line = std::string(step) + (LibHeapHandle() ? " heap" : " noheap") +
                       (withChannel ? (g_LibInfo.Module() ? " channel" : " nochannel") : "") + "\n";
    HANDLE f = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, line.data(), (DWORD)line.size(), &written, nullptr);
    CloseHandle(f);
}

// Objects of the allocator's priority are ordered among themselves by link order: whether the
// channel is open yet is not recorded for them.
struct Recorder {
    const char* name;
    bool withChannel;
    Recorder(const char* n, bool channel = true) : name(n), withChannel(channel)
    {
        Record((std::string("ctor ") + n).c_str(), withChannel);
    }
    ~Recorder() { Record((std::string("dtor ") + name).c_str(), withChannel); }
};

// Declared in an order opposite to the priorities: the run time must still sort them.
Recorder s_objects("objects");
VL_INIT_ALLOCATOR Recorder s_allocator("allocator", false);
VL_INIT_SUPPORT Recorder s_support("support");

} // namespace

extern "C" int _db_process_attach(HMODULE)
{
    Record("engine attach");
    return 1;
}

extern "C" int _db_process_detach()
{
    Record("engine detach");
    return 1;
}
