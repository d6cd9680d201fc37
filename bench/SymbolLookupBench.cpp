// Own symbol lookups per second on the release database library (stripped, vlDB07.sym beside
// it): clsDBGHELP::GetOwnSymbolInfo through one object, which reads the module's debug data at
// its first lookup and keeps it (as one crash report does); the time of that first lookup is
// printed apart. Run by tools/symbols_bench.sh next to addr2line on the same addresses (ratio
// printed there); alone it measures the exported functions' addresses.
//   bench_symbols [image] [file of relative virtual addresses, hex, one per line]
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BenchClock.h"
#include "clsDBGHELP.h"

int main(int argc, char** argv)
{
    const char* image = argc > 1 ? argv[1] : "..\\release\\vlDB07.dll";
    HMODULE module = LoadLibraryExA(image, NULL, DONT_RESOLVE_DLL_REFERENCES);
    if (!module) {
        std::printf("cannot map %s\n", image);
        return 1;
    }
    char path[MAX_PATH];
    GetModuleFileNameA(module, path, sizeof path);
    std::vector<unsigned long long> rvas;
    if (argc > 2) {
        FILE* f = std::fopen(argv[2], "r");
        unsigned long long rva;
        while (f && std::fscanf(f, "%llx", &rva) == 1)
            rvas.push_back(rva);
        if (f)
            std::fclose(f);
    } else {
        // The exported functions.
        auto* base = reinterpret_cast<BYTE*>(module);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        auto* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
        auto* functions = reinterpret_cast<DWORD*>(base + exports->AddressOfFunctions);
        for (DWORD i = 0; i < exports->NumberOfFunctions && rvas.size() < 200; i++)
            rvas.push_back(functions[i] + 4);
    }
    clsDBGHELP help;
    int found = 0;
    // The first lookup opens the module's debug data.
    const double open = BenchNow();
    {
        String file, function;
        int line = 0;
        uint32_t displacement = 0;
        help.GetOwnSymbolInfo(path, reinterpret_cast<uintptr_t>(module) + (rvas.empty() ? 0x1000 : rvas[0]), file, line,
                              function, displacement);
    }
    std::printf("first lookup (reads the debug data): %.3f s\n", BenchNow() - open);
    const double start = BenchNow();
    for (unsigned long long rva : rvas) {
        String file, function;
        int line = 0;
        uint32_t displacement = 0;
        if (help.GetOwnSymbolInfo(path, reinterpret_cast<uintptr_t>(module) + rva, file, line, function, displacement) &&
            function.GetLength())
            found++;
    }
    const double s = BenchNow() - start;
    std::printf("own lookups: %zu addresses (%d with a function) in %.3f s: %.1f lookups/s\n", rvas.size(), found, s,
                rvas.size() / s);
    return 0;
}
