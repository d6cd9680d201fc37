// Speed of the index b-tree at 100,000 keys, for key size 10 (the record-id index, 50 keys a page)
// and key size 226 (the program's composite key, 2 keys a page): adds per second in one lock
// period and with a lock period each (as a shared table's writes take it); finds per second with
// the cache warm, with the cache dropped once, and with the cache dropped before every find (as
// when another station changes the index between two finds); pages read per find. Keys are added
// in random order and once more in ascending order (which leaves every page half full). Built
// from the engine's objects.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BTree.h"
#include "BoxObj.h"
#include "EngineHooks.h"
#include "Job.h"
#include "Locks.h"
#include "NtxFormat.h"
#include "vlDB07.h"
#include "BenchClock.h"

namespace {

void Report(const char* what, long n, double seconds, const char* unit)
{
    std::printf("  %-58s %8.1f us/%s %9.0f %ss/s  (%ld)\n", what, seconds * 1e6 / n, unit, n / seconds, unit, n);
}

std::string Padded(std::string text, unsigned size)
{
    text.resize(size, ' ');
    return text;
}

// A record-id key (10 digits), or a composite key: user, date, time, text and path.
std::string MakeKey(std::mt19937& rng, unsigned keySize, long i, bool ascending)
{
    char text[64];
    const unsigned long n = ascending ? (unsigned long)i : (unsigned long)(rng() % 1000000000u);
    if (keySize <= 10)
        return Padded(std::to_string(1000000000u + n).substr(0, keySize), keySize);
    std::snprintf(text, sizeof text, "USER%02lu    %08lu%04lu", n % 7, 20240000 + (n / 10000) % 10000, n % 10000);
    return Padded(Padded(text, 120) + "C:\\DATA\\TERMINE\\" + std::to_string(n), keySize);
}

// An empty index file (header page and empty root leaf) plugged into slot 0 of the area.
bool MakeIndex(s_Area& area, const std::string& path, unsigned keySize)
{
    uint8_t header[ntx::kPageSize] = {};
    dbf::Put16(header, ntx::kSignature);
    dbf::Put32(header + ntx::kRootAt, ntx::kPageSize);
    ntx::SetGeometry(header, keySize, 0);
    ntx::Geometry g;
    ntx::GeometryOf(header, &g);
    uint8_t leaf[ntx::kPageSize];
    ntx::InitPage(leaf, g);
    s_Index& index = area.indexes[0];
    index.file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (index.file == INVALID_HANDLE_VALUE || !WriteFile(index.file, header, sizeof header, &written, nullptr) ||
        !WriteFile(index.file, leaf, sizeof leaf, &written, nullptr))
        return false;
    std::snprintf(index.name, sizeof index.name, "%s", path.c_str());
    index.area = &area;
    index.changeCounter = 0;
    std::memcpy(index.header, header, sizeof index.header);
    return true;
}

void Run(unsigned keySize, bool ascending, const std::string& folder)
{
    const long n = 100000;
    const long shared = 10000;
    static s_Area area;
    area.job = g_Job;
    area.exclusive = 1;
    const std::string path = folder + "bench.ntx";
    if (!MakeIndex(area, path, keySize)) {
        std::printf("cannot make %s\n", path.c_str());
        return;
    }
    s_Index& index = area.indexes[0];
    std::mt19937 rng(keySize);
    std::vector<std::string> keys;
    for (long i = 0; i < n; ++i)
        keys.push_back(MakeKey(rng, keySize, i, ascending));
    std::printf("key size %u, keys in %s order:\n", keySize, ascending ? "ascending" : "random");

    LockIndex(area, 0, TRUE, FALSE);
    double start = BenchNow();
    for (long i = 0; i < n; ++i)
        if (!_ntx_add_counted(index, keys[(size_t)i].c_str(), (int32_t)i + 1)) {
            std::printf("add failed (error %u)\n", g_Job->currentError);
            return;
        }
    Report("add, one lock period", n, BenchNow() - start, "add");
    const size_t pages = index.pages->PageCount();
    start = BenchNow();
    UnlockIndex(area, 0, FALSE);
    std::printf("  %-58s %8.1f ms (%zu pages, %.0f keys a page)\n", "unlock: header and every page written",
                (BenchNow() - start) * 1e3, pages, (double)n / (double)pages);

    LockIndex(area, 0, TRUE, FALSE);
    std::vector<long> order((size_t)n);
    for (long i = 0; i < n; ++i)
        order[(size_t)i] = (long)(rng() % (unsigned)n);
    auto finds = [&](const char* what, bool dropEach) {
        const unsigned long read = index.pages->PagesRead();
        const double begin = BenchNow();
        for (long i = 0; i < n; ++i) {
            if (dropEach)
                _ntx_drop_pages(index);
            if (_ntx_find(index, keys[(size_t)order[(size_t)i]].c_str()) != 0) {
                std::printf("find failed\n");
                return;
            }
        }
        const double seconds = BenchNow() - begin;
        Report(what, n, seconds, "find");
        std::printf("  %-58s %8.2f\n", "  pages read per find", double(index.pages->PagesRead() - read) / n);
    };
    _ntx_drop_pages(index);
    finds("find, cache dropped once before", false);
    finds("find, cache warm", false);
    finds("find, cache dropped before every find", true);
    UnlockIndex(area, 0, FALSE);

    // Adds as a shared table's writes make them: a lock period each (header read, header and
    // changed pages written, file flushed).
    area.exclusive = 0;
    start = BenchNow();
    for (long i = 0; i < shared; ++i) {
        LockIndex(area, 0, TRUE, FALSE);
        const bool added = _ntx_add_counted(index, MakeKey(rng, keySize, n + i, ascending).c_str(), (int32_t)(n + i + 1));
        UnlockIndex(area, 0, FALSE);
        if (!added) {
            std::printf("add failed (error %u)\n", g_Job->currentError);
            break;
        }
    }
    Report("add, a lock period each (shared)", shared, BenchNow() - start, "add");
    g_EngineHooks.releaseIndexSlot(area, 0);
    DeleteFileA(path.c_str());
}

} // namespace

int main()
{
    _db_process_attach(GetModuleHandleA(nullptr));
    db_job_open();
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    for (unsigned keySize : {10u, 226u})
        for (bool ascending : {false, true})
            Run(keySize, ascending, folder);
    db_job_close();
    return 0;
}
