// Speed of shared writing: appends per second on a shared table (write-through, the header lock
// and FlushFileBuffers per append), on a shared table opened with option 0x4000 (no flushing),
// and on an exclusive table; record lock and unlock pairs per second; memo writes of 2 KB texts
// per second in both memo styles. Built from the engine's objects (the job's exclusive setting is
// switched off directly).
#include <windows.h>

#include <cstdio>
#include <string>

#include "Job.h"
#include "vlDB07.h"
#include "BenchClock.h"

namespace {

std::string Folder()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return folder;
}

// A new table (NAME C 20, AMOUNT N 10.2, NOTE M) of the database type, left closed.
bool MakeTable(const std::string& path, unsigned type)
{
    const bool made = db_define_begin(path.c_str(), 1, nullptr, type, 3) && db_define_field("NAME", 'C', 20, 0) &&
                      db_define_field("AMOUNT", 'N', 10, 2) && db_define_field("NOTE", 'M', 10, 0) && db_define_end();
    db_close(3);
    return made;
}

void Report(const char* what, long n, double seconds, const char* unit)
{
    std::printf("%-52s %8.1f us/%s %9.0f %ss/s  (%ld)\n", what, seconds * 1e6 / n, unit, n / seconds, unit, n);
}

void Appends(const char* what, const std::string& path, unsigned flags, unsigned options, long n)
{
    if (!MakeTable(path, 0) || !db_use(path.c_str(), flags, nullptr, options)) {
        std::printf("%s: could not open the table (error %u)\n", what, db_error());
        return;
    }
    const double start = BenchNow();
    for (long i = 0; i < n; ++i)
        if (!db_blank() || !db_replace("NAME", "Appended row") || !db_replace("AMOUNT", "12.5") || !db_insert()) {
            std::printf("%s: append failed (error %u)\n", what, db_error());
            break;
        }
    Report(what, n, BenchNow() - start, "append");
    db_close(3);
}

void LockPairs(const std::string& path, long n)
{
    if (!db_use(path.c_str(), 0, nullptr, 0) || db_goto(1) != 1)
        return;
    const double start = BenchNow();
    for (long i = 0; i < n; ++i) {
        db_goto(1 + i % 100);
        if (!db_rlock(0) || !db_unlock(0)) {
            std::printf("lock failed (error %u)\n", db_error());
            break;
        }
    }
    Report("db_goto + db_rlock + db_unlock, shared", n, BenchNow() - start, "pair");
    db_close(3);
}

void MemoWrites(const char* what, const std::string& path, unsigned type, long n)
{
    if (!MakeTable(path, type) || !db_use(path.c_str(), 0, nullptr, type)) {
        std::printf("%s: could not open the table (error %u)\n", what, db_error());
        return;
    }
    for (long i = 0; i < 100; ++i) {
        db_blank();
        db_insert();
    }
    std::string text(2048, 'm');
    const double start = BenchNow();
    for (long i = 0; i < n; ++i) {
        text[0] = (char)('a' + i % 26);
        // Texts of changing length: some fit the old place, some do not.
        text.resize(1500 + (size_t)(i * 37) % 1100, 'm');
        db_goto(1 + i % 100);
        if (!db_rlock(0) || !db_memo_write("NOTE", text.c_str()) || !db_write() || !db_unlock(0)) {
            std::printf("%s: memo write failed (error %u)\n", what, db_error());
            break;
        }
    }
    Report(what, n, BenchNow() - start, "memo");
    db_close(3);
}

} // namespace

int main()
{
    _db_process_attach(GetModuleHandleA(nullptr));
    db_job_open();
    db_files_open();
    g_Job->exclusive = 0;
    const std::string base = Folder() + "bench_write_" + std::to_string(GetCurrentProcessId());
    const std::string table = base + ".dbf", memo = base + ".dbt";

    Appends("db_insert, shared (flushed)", table, 0, 0, 2000);
    Appends("db_insert, shared, option 0x4000 (not flushed)", table, 0, 0x4000, 5000);
    Appends("db_insert, exclusive", table, 0x01, 0, 20000);
    LockPairs(table, 20000);
    MemoWrites("db_memo_write of ~2 KB + db_write, terminator memos", table, 0, 2000);
    MemoWrites("db_memo_write of ~2 KB + db_write, dBase 4 memos", table, 1, 2000);

    db_close(0);
    db_job_close();
    DeleteFileA(table.c_str());
    DeleteFileA(memo.c_str());
    return 0;
}
