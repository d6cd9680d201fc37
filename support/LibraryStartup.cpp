// Attach: private heap -> run time start-up (global objects by priority, see StaticInit.h) ->
// LibraryMain: the crash handler's decision, relocation hint, self-check, the engine's attach, the
// host's stack reserve. Detach walks back: LibraryMain (the engine's detach, then the crash
// handler) -> global objects destroyed in reverse -> run time -> heap.
#include "LibraryStartup.h"

#include <float.h>

#include <cstdio>
#include <cstring>

#include "DebugOutput.h"
#include "LibMessageBox.h"
#include "StaticInit.h"
#include "clsGPFProtection.h"
#include "clsLibInfo.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;
extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE, DWORD, LPVOID);

namespace {

const uintptr_t kPreferredBase = 0x2A800000;

// The image the loader mapped must carry valid headers and the base it was linked for.
void CheckOwnImage(HMODULE module)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) {
        DebugPrintf("WRN: image of %s has no DOS header", g_LibInfo.LibFileName());
        return;
    }
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->FileHeader.NumberOfSections == 0)
        DebugPrintf("WRN: image of %s has damaged headers", g_LibInfo.LibFileName());
}

} // namespace

void CheckHostStackReserve(const char* hostPath)
{
    HMODULE host = GetModuleHandleA(hostPath);
    if (!host)
        return;
    const BYTE* base = reinterpret_cast<const BYTE*>(host);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) {
        DebugPrintf(" bad DOS signature!");
        return;
    }
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) {
        DebugPrintf(" bad NT signature!");
        return;
    }
    unsigned long long reserve;
    WORD magic = nt->OptionalHeader.Magic;
    if (magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC)
        reserve = reinterpret_cast<const IMAGE_NT_HEADERS32*>(nt)->OptionalHeader.SizeOfStackReserve;
    else if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        reserve = reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt)->OptionalHeader.SizeOfStackReserve;
    else {
        DebugPrintf(" bad OptHeader signature!");
        return;
    }
    if (reserve < 0x10000)
        DebugPrintf("WRN: reserved stack size of app '%s' is %x bytes, which is possibly too low! If you observe "
                    "strange crashes, try to increase this value.",
                    hostPath, (unsigned)reserve);
}

extern "C" BOOL WINAPI LibraryEntry(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        unsigned int x87 = _controlfp(0, 0);
        unsigned int mxcsr = __builtin_ia32_stmxcsr();
        LibHeapCreate();
        BOOL result = DllMainCRTStartup(module, reason, reserved);
        _clearfp();
        _controlfp(x87, 0xFFFFFFFF);
        __builtin_ia32_ldmxcsr(mxcsr);
        return result;
    }
    if (reason == DLL_PROCESS_DETACH) {
        BOOL result = DllMainCRTStartup(module, reason, reserved);
        LibHeapDestroy();
        return result;
    }
    return DllMainCRTStartup(module, reason, reserved);
}

extern "C" BOOL WINAPI LibraryMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH) {
        int result = _db_process_detach();
        GPFProtectionShutdown();
        return result;
    }
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;

    // The crash handler's decision, once every global object exists.
    GPFProtectionStaticInit();

    uintptr_t base = reinterpret_cast<uintptr_t>(module);
    if (base != kPreferredBase) {
        char owner[261] = "";
        MEMORY_BASIC_INFORMATION mbi;
        if (VirtualQuery(reinterpret_cast<void*>(kPreferredBase), &mbi, sizeof mbi) && mbi.State != MEM_FREE &&
            !GetModuleFileNameA(static_cast<HMODULE>(mbi.AllocationBase), owner, sizeof owner))
            owner[0] = 0;
        char hint[700];
        int n = std::snprintf(hint, sizeof hint, "HINT: %s has been relocated (loaded at: 0x%04x, default: 0x%04x).",
                              g_LibInfo.LibFileName(), (unsigned)((base >> 16) & 0xFFFF), 0x2a80u);
        if (owner[0] && n > 0 && (size_t)n < sizeof hint)
            std::snprintf(hint + n, sizeof hint - (size_t)n, " (offending module is '%s')", owner);
        DebugPrintf("%s", hint);
    }
    CheckOwnImage(module);
    int result = _db_process_attach(module);
    CheckHostStackReserve(g_LibInfo.HostPath());
    return result;
}

// The run time's start-up code calls DllMain after the global objects exist.
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    return LibraryMain(module, reason, reserved);
}
