// Looks addresses up with the symbol library and prints one line per address, for the
// comparisons with the independent readers (SymbolPeerTest.py) and the fuzz seeds:
//   symlookup file <elf-or-image> < addresses
//       the DWARF readers on the ELF data of a file (a .sym file, an ELF file, or a PE image with
//       appended data); addresses are the keys of the units (code offsets for 4-byte units,
//       virtual addresses for 8-byte units)
//   symlookup module <image> < relative virtual addresses                      (Windows only)
//       maps the image (without running it), then asks clsDBGHELP::GetOwnSymbolInfo for
//       load address + rva
//   symlookup dbghelp <image> < relative virtual addresses                     (Windows only)
//       the platform's debug-help library on the same addresses (SymGetSymFromAddr64 and
//       SymGetLineFromAddr64 of the image loaded into dbghelp only)
// Output: address (hex, as read), function, displacement (hex), file (without directory), line;
// "-" for a value that was not found. Exit code 0, or 2 for a usage error.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DwarfIndex.h"
#include "DwarfLookup.h"
#include "clsElfImage.h"

#ifdef _WIN32
#include <windows.h>
#include <dbghelp.h>

#include "clsDBGHELP.h"
#endif

namespace {

std::string BaseName(const std::string& path)
{
    size_t sep = path.find_last_of("\\/");
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

void Print(unsigned long long address, bool haveFunction, const std::string& function, unsigned long long disp,
           bool haveLine, const std::string& file, int line)
{
    printf("%llx\t%s\t", address, haveFunction ? function.c_str() : "-");
    if (haveFunction)
        printf("%llx", disp);
    else
        printf("-");
    if (haveLine)
        printf("\t%s\t%d\n", BaseName(file).c_str(), line);
    else
        printf("\t-\t-\n");
}

int FileMode(const char* path)
{
    clsElfImage image;
    std::vector<uint8_t> data;
    if (!clsElfImage::ReadElfData(path, &data) || !image.Load(std::move(data))) {
        fprintf(stderr, "no ELF data in %s\n", path);
        return 1;
    }
    DwarfIndex index(image);
    unsigned long long address;
    while (scanf("%llx", &address) == 1) {
        std::string function, file;
        uint32_t disp = 0;
        int line = 0;
        bool f = index.FindFunction(DwarfQuery::Same(address), function, disp);
        bool l = index.FindLine(DwarfQuery::Same(address), file, line);
        Print(address, f, function, disp, l, file, line);
    }
    return 0;
}

#ifdef _WIN32
int ModuleMode(const char* path)
{
    HMODULE module = LoadLibraryExA(path, NULL, DONT_RESOLVE_DLL_REFERENCES);
    if (!module) {
        fprintf(stderr, "cannot map %s (%lu)\n", path, GetLastError());
        return 1;
    }
    clsDBGHELP help;
    unsigned long long rva;
    while (scanf("%llx", &rva) == 1) {
        String file, function;
        int line = 0;
        uint32_t disp = 0;
        bool ok = help.GetOwnSymbolInfo(path, (uint64_t)(uintptr_t)module + rva, file, line, function, disp);
        Print(rva, ok && function.GetLength(), (const char*)function, disp, ok && line, (const char*)file, line);
    }
    return 0;
}

int DbghelpMode(const char* path)
{
    HANDLE process = GetCurrentProcess();
    SymSetOptions(SymGetOptions() | SYMOPT_LOAD_LINES);
    if (!SymInitialize(process, NULL, FALSE)) {
        fprintf(stderr, "SymInitialize failed (%lu)\n", GetLastError());
        return 1;
    }
    const DWORD64 base = 0x100000000ull;
    if (!SymLoadModule64(process, NULL, path, NULL, base, 0)) {
        fprintf(stderr, "SymLoadModule64 failed (%lu)\n", GetLastError());
        return 1;
    }
    unsigned long long rva;
    while (scanf("%llx", &rva) == 1) {
        union {
            IMAGEHLP_SYMBOL64 symbol;
            char space[sizeof(IMAGEHLP_SYMBOL64) + 1024];
        } s = {};
        s.symbol.SizeOfStruct = sizeof(IMAGEHLP_SYMBOL64);
        s.symbol.MaxNameLength = 1000;
        DWORD64 disp = 0;
        bool f = SymGetSymFromAddr64(process, base + rva, &disp, &s.symbol);
        IMAGEHLP_LINE64 line = {};
        line.SizeOfStruct = sizeof line;
        DWORD lineDisp = 0;
        bool l = SymGetLineFromAddr64(process, base + rva, &lineDisp, &line);
        Print(rva, f, f ? s.symbol.Name : "", disp, l, l && line.FileName ? line.FileName : "", l ? (int)line.LineNumber : 0);
    }
    SymCleanup(process);
    return 0;
}
#endif

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: symlookup file|module|dbghelp <path> < addresses\n");
        return 2;
    }
    if (!strcmp(argv[1], "file"))
        return FileMode(argv[2]);
#ifdef _WIN32
    if (!strcmp(argv[1], "module"))
        return ModuleMode(argv[2]);
    if (!strcmp(argv[1], "dbghelp"))
        return DbghelpMode(argv[2]);
#endif
    return 2;
}
