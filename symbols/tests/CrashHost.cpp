// Host process of the end-to-end crash reports: loads a database library and the call-chain DLL
// by their paths (a build with debug information, or the stripped release form with .sym files),
// opens a one-record table and skips from its record with the chain's position callback
// installed, so that the fault happens three calls deep inside the engine's db_skip. The engine's crash
// frame writes the report; the fault then reaches this program's last handler, which ends the
// process with 42.
//   symcrash_host <database library> <chain DLL> <folder for the table>
// Other exit codes: 2 a library did not load, 3 an export is missing, 4 the table could not be
// written, 6 no job or its files not open, 7 the table did not open (the engine's error on stderr), 5 the fault did not
// happen.
// With a fourth argument "overflow" the callback overflows the stack instead, the program writes
// the id of the calling thread into "thread.txt" in the folder first, and a vectored handler of
// its own (asked after the library's) ends the process with 44 for the stack overflow.
#include <windows.h>

#include <cstdio>
#include <string>

#include "vlDB07.h"

namespace {

LONG WINAPI LastHandler(EXCEPTION_POINTERS* info)
{
    ExitProcess(info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION ? 42 : 43);
}

// After a stack overflow the little stack that is left does not carry the search through the
// frames' handlers: the program's own vectored handler, asked after the library's, ends the
// process at once.
LONG CALLBACK OverflowHandler(EXCEPTION_POINTERS* info)
{
    if (info->ExceptionRecord->ExceptionCode == EXCEPTION_STACK_OVERFLOW)
        TerminateProcess(GetCurrentProcess(), 44);
    return EXCEPTION_CONTINUE_SEARCH;
}

// A dBase III table with one character field NAME (10) and one record.
bool WriteTable(const std::string& path)
{
    unsigned char header[32] = {0x03, 124, 1, 1, 1, 0, 0, 0, 65, 0, 11, 0};
    unsigned char field[32] = {'N', 'A', 'M', 'E'};
    field[11] = 'C';
    field[16] = 10;
    const char rest[] = "\r CHAIN     \x1a";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(header, 1, sizeof header, f) == sizeof header && std::fwrite(field, 1, sizeof field, f) == sizeof field &&
              std::fwrite(rest, 1, sizeof rest - 1, f) == sizeof rest - 1;
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 1;
    SetUnhandledExceptionFilter(LastHandler);
    HMODULE db = LoadLibraryA(argv[1]);
    HMODULE chain = LoadLibraryA(argv[2]);
    if (!db || !chain)
        return 2;
    auto jobOpen = reinterpret_cast<decltype(&db_job_open)>(GetProcAddress(db, "db_job_open"));
    auto filesOpen = reinterpret_cast<decltype(&db_files_open)>(GetProcAddress(db, "db_files_open"));
    auto use = reinterpret_cast<decltype(&db_use)>(GetProcAddress(db, "db_use"));
    auto setCallback = reinterpret_cast<decltype(&db_set_positioncallback)>(GetProcAddress(db, "db_set_positioncallback"));
    auto skip = reinterpret_cast<decltype(&db_skip)>(GetProcAddress(db, "db_skip"));
    auto error = reinterpret_cast<decltype(&db_error)>(GetProcAddress(db, "db_error"));
    const bool overflow = argc > 4 && std::string(argv[4]) == "overflow";
    auto callback = reinterpret_cast<DbPositionCallback>(
        GetProcAddress(chain, overflow ? "ChainOverflowCallback" : "ChainPositionCallback"));
    if (!jobOpen || !filesOpen || !use || !setCallback || !skip || !error || !callback)
        return 3;
    std::string table = std::string(argv[3]) + "\\chain.dbf";
    if (!WriteTable(table))
        return 4;
    if (jobOpen() != 0 || !filesOpen())
        return 6;
    if (!use(table.c_str(), 0x01, "CHAIN", 0)) {
        std::fprintf(stderr, "db_use: error %u\n", error());
        return 7;
    }
    if (overflow) {
        AddVectoredExceptionHandler(0, &OverflowHandler);
        FILE* f = std::fopen((std::string(argv[3]) + "\\thread.txt").c_str(), "w");
        if (!f)
            return 4;
        std::fprintf(f, "%lu", GetCurrentThreadId());
        std::fclose(f);
    }
    setCallback(callback);
    long reached = skip(1);
    std::fprintf(stderr, "db_skip answered %ld (error %u)\n", reached, error());
    return 5;
}
