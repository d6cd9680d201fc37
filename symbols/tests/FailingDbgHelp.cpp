// A stand-in of dbghelp.dll whose module enumeration fails midway: every first call (the count)
// reports the program and kernel32 and succeeds; every second call reports them again and then
// fails, as a library that breaks off after some modules would.
#include <windows.h>

// The library's callback form: module path, base, size, the caller's context.
typedef BOOL(CALLBACK* ModuleCallback)(PCSTR, DWORD64, ULONG, PVOID);

extern "C" BOOL WINAPI EnumerateLoadedModules64(HANDLE, ModuleCallback callback, PVOID context)
{
    static int calls = 0;
    const bool fail = ++calls % 2 == 0;
    HMODULE modules[] = {GetModuleHandleA(NULL), GetModuleHandleA("kernel32.dll")};
    for (HMODULE module : modules) {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(module, path, sizeof path);
        callback(path, (DWORD64)(ULONG_PTR)module, 0x1000, context);
    }
    return fail ? FALSE : TRUE;
}
