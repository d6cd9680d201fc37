// Speed of the table exports on 100,000 rows: a sequential scan (db_skip and three field reads
// per row) and random db_goto (which reads the record), on a table opened exclusively.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "vlDB07.h"
#include "BenchClock.h"
#include "BenchTable.h"

namespace {

const long kRows = 100000;

// A table of kRows records: defined by the engine, the records appended as one block.
bool MakeTable(const char* path)
{
    if (!db_define_begin(path, 1, nullptr, 0, 4) || !db_define_field("NAME", 'C', 20, 0) ||
        !db_define_field("AMOUNT", 'N', 10, 2) || !db_define_field("BORN", 'D', 8, 0) ||
        !db_define_field("TEXT", 'C', 40, 0) || !db_define_end())
        return false;
    const unsigned size = db_recsize();
    db_close(3);
    std::string data;
    data.reserve((size_t)size * kRows);
    char row[128];
    for (long i = 1; i <= kRows; ++i) {
        std::snprintf(row, sizeof row, " %-20s%10.2f%04ld%02ld%02ld%-40s", ("Name " + std::to_string(i)).c_str(),
                      i * 0.25, 1950 + i % 70, 1 + i % 12, 1 + i % 28, "some text of the row");
        data.append(row, size);
    }
    return AppendRawRows(path, data, kRows);
}

void Scan(const char* what)
{
    char a[64], b[64], c[64];
    long rows = 0;
    const double start = BenchNow();
    for (long r = db_goto(1); r != DB_EOF && r != 0; r = db_skip(1)) {
        db_get_contents("NAME", a, sizeof a);
        db_get_contents("AMOUNT", b, sizeof b);
        db_get_contents(DB_FIELDREF(3), c, sizeof c);
        ++rows;
    }
    const double s = BenchNow() - start;
    std::printf("%-44s %8.0f ns/row %10.0f rows/s  (%ld rows)\n", what, s * 1e9 / rows, rows / s, rows);
}

void RandomGoto(const char* what)
{
    std::mt19937 random(1);
    std::uniform_int_distribution<long> pick(1, kRows);
    const long n = 200000;
    long sum = 0;
    const double start = BenchNow();
    for (long i = 0; i < n; ++i)
        sum += db_goto(pick(random));
    const double s = BenchNow() - start;
    std::printf("%-44s %8.0f ns/goto %10.0f gotos/s (%ld gotos)%s\n", what, s * 1e9 / n, n / s, n, sum ? "" : " !");
}

} // namespace

int main()
{
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::snprintf(path, sizeof path, "%sbench_dbf_%lu.dbf", folder, GetCurrentProcessId());
    db_job_open();
    db_files_open();
    if (!MakeTable(path)) {
        std::printf("could not create the table (error %u)\n", db_error());
        return 1;
    }
    if (!db_use(path, 0x01, nullptr, 0))
        return 1;
    Scan("scan (skip + 3 field reads)");
    RandomGoto("random db_goto");
    db_close(0);
    db_job_close();
    DeleteFileA(path);
    return 0;
}
