// Helper process of the support tests.
//
//   support_probe hold <file> <ready event> <release event>
//       opens the file exclusively, sets the ready event and keeps the file until the release
//       event is set (a second process holding a file).
//   support_probe gpf <scenario>
//       runs one scenario inside a crash protection frame of this program (frames decided as the
//       library does at start-up). The program's own last handler (the unhandled-exception filter)
//       ends the process with 42 for an access violation that reached it, 43 for any other code.
//         av        write to address 16 (kReport)
//         memcpy    copy to address 16 inside the run time (a fault in a system module)
//         ask       write to address 16 with questions allowed (kReport | kAsk)
//         int3      a breakpoint instruction; exit 0 when execution continued behind it
//         cxx       a C++ exception thrown through the frame and caught outside: exit 7
//         isbad     IsBadReadPtr of address 16: exit 5 when it answered TRUE
//         lstrlen   lstrlenA of address 16: exit 0 when it answered 0
//   support_probe export-av
//       calls the database library's db_get_record with the buffer address 16 (its export frame
//       reports the fault, the program's filter gets it).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "DebugOutput.h"
#include "clsGPFProtection.h"
#include "vlDB07.h"

namespace {

LONG WINAPI LastHandler(EXCEPTION_POINTERS* info)
{
    ExitProcess(info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION ? 42 : 43);
}

volatile size_t s_count = 100;
volatile int* volatile s_bad = reinterpret_cast<int*>(16);

__attribute__((noinline)) int Scenario(const char* name)
{
    if (!std::strcmp(name, "av")) {
        clsGPFProtection frame(clsGPFProtection::kReport);
        *s_bad = 1;
        return 0;
    }
    if (!std::strcmp(name, "ask")) {
        clsGPFProtection frame(clsGPFProtection::kReport | clsGPFProtection::kAsk);
        *s_bad = 1;
        return 0;
    }
    if (!std::strcmp(name, "memcpy")) {
        clsGPFProtection frame(clsGPFProtection::kReport);
        char source[128] = {};
        std::memcpy((void*)s_bad, source, s_count);
        return 0;
    }
    if (!std::strcmp(name, "int3")) {
        clsGPFProtection frame(clsGPFProtection::kReport);
        __asm__ volatile("int3");
        return 0;
    }
    if (!std::strcmp(name, "cxx")) {
        try {
            clsGPFProtection frame(clsGPFProtection::kReport);
            throw 7;
        } catch (int value) {
            return value;
        }
    }
    if (!std::strcmp(name, "isbad")) {
        clsGPFProtection frame(clsGPFProtection::kReport);
        return IsBadReadPtr((const void*)s_bad, 4) ? 5 : 6;
    }
    if (!std::strcmp(name, "lstrlen")) {
        clsGPFProtection frame(clsGPFProtection::kReport);
        return lstrlenA((const char*)s_bad);
    }
    return 99;
}

int Hold(const char* file, const char* ready, const char* release)
{
    HANDLE h = CreateFileA(file, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE readyEvent = OpenEventA(EVENT_MODIFY_STATE, FALSE, ready);
    HANDLE releaseEvent = OpenEventA(SYNCHRONIZE, FALSE, release);
    if (h == INVALID_HANDLE_VALUE || !readyEvent || !releaseEvent)
        return 2;
    SetEvent(readyEvent);
    WaitForSingleObject(releaseEvent, 60000);
    CloseHandle(h);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    if (argc == 5 && !std::strcmp(argv[1], "hold"))
        return Hold(argv[2], argv[3], argv[4]);
    SetUnhandledExceptionFilter(&LastHandler);
    if (argc == 3 && !std::strcmp(argv[1], "gpf")) {
        DebugChannelOpen(GetModuleHandleA(nullptr));
        GPFProtectionStaticInit();
        return Scenario(argv[2]);
    }
    if (argc == 2 && !std::strcmp(argv[1], "export-av"))
        return db_get_record(const_cast<char*>((const char*)s_bad), 100) ? 0 : 1;
    return 99;
}
