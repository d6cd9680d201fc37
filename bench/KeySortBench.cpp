// Entries per second of the external key sort of index builds: 100,000 and 1,000,000 entries of
// key size 10 (a numeric key) and 226 (the schedule table's composite key), with the runs in
// memory and in the temporary file. Keys are random letters and digits, record numbers ascend as
// in a table scan. Figures: the whole sort (start, adding, merging, end) and its two halves.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "KeySort.h"

namespace {

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

// The switches in a profile file of the benchmark's own.
void SetMode(const std::string& profile, bool fileMode)
{
    WritePrivateProfileStringA("Tabstor", "ReindexTryAlloc", fileMode ? "0" : "1", profile.c_str());
    _sort_profile_file(profile.c_str());
}

void Run(const std::string& profile, int32_t count, int keySize, bool fileMode)
{
    char what[80];
    std::snprintf(what, sizeof what, "%8ld entries, key size %3d, %-6s", (long)count, keySize, fileMode ? "file" : "memory");
    SetMode(profile, fileMode);

    // Keys are made before the clock runs; a layout the sort refuses needs none.
    if (!_SORTINIT(count, keySize, 4)) {
        std::printf("%s  refused: no layout of at most 1,000 runs (error 13)\n", what);
        return;
    }
    const s_SortLayout layout = _sort_layout();
    _SORTDONE();
    std::mt19937 random(42);
    const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::vector<char> keys((size_t)count * (size_t)keySize);
    for (char& c : keys)
        c = alphabet[random() % 36];

    std::vector<char> entry((size_t)keySize + 4);
    const double start = Now();
    if (!_SORTINIT(count, keySize, 4)) {
        std::printf("%s  _SORTINIT failed\n", what);
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t recno = i + 1;
        if (!_SORTADD(&keys[(size_t)i * (size_t)keySize], &recno)) {
            std::printf("%s  _SORTADD failed\n", what);
            _SORTDONE();
            return;
        }
    }
    const double added = Now();
    int32_t delivered = 0;
    bool end = false;
    while (_SORTNEXT(entry.data(), &end) && !end)
        ++delivered;
    _SORTDONE();
    const double done = Now();
    if (!end || delivered != count) {
        std::printf("%s  delivered %ld entries\n", what, (long)delivered);
        return;
    }
    std::printf("%s  %4d runs of %5ld  %6.2f s  %9.0f entries/s  (adding %.2f s, merging %.2f s)\n", what, layout.runs,
                (long)layout.perRun, done - start, count / (done - start), added - start, done - added);
}

} // namespace

int main()
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    const std::string profile = std::string(dir) + "ox_keysort_bench_" + std::to_string(GetCurrentProcessId()) + ".ini";
    for (int32_t count : {100000, 1000000})
        for (int keySize : {10, 226})
            for (bool fileMode : {false, true})
                Run(profile, count, keySize, fileMode);
    _sort_profile_file(nullptr);
    DeleteFileA(profile.c_str());
    return 0;
}
