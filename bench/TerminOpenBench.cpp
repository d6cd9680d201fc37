// Opening the schedule table when nothing needs upgrading: check, open, indexes, order 1
// (CTerminTable::OpenMain), at 10,000 and 100,000 rows; alone and with the second instance the
// data controller keeps for look-ups by record id. Goal: under 50 ms at 100,000 rows.
#include <afx.h>

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchScheduleRows.h"
#include "BenchTable.h"
#include "CDbSession.h"
#include "CTerminTable.h"

namespace {

const int kRuns = 9;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Measure(long rows)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string dir = std::string(temp) + "ox_bench_termin_" + std::to_string(rows) + "\\";
    CreateDirectoryA(dir.c_str(), NULL);
    for (const char* name : {"OX4.DBE", "OX4.DBT", "OX4.nt0", "OX4.nt1"})
        DeleteFileA((dir + name).c_str());

    CDbSession session;
    {
        CTerminTable table(&session, FALSE);
        if (table.OpenMain(dir.c_str(), 0, 0) != DB_OPEN_CREATED) {
            printf("cannot create the table in %s\n", dir.c_str());
            return;
        }
        table.Close();
        const std::string path = dir + "OX4.DBE";
        if (!AppendRawRows(path.c_str(), MakeScheduleRows(path, rows), rows)) {
            printf("cannot fill %s\n", path.c_str());
            return;
        }
        table.OpenMain(dir.c_str(), 0, 0);
        table.RebuildIndexes(TRUE);
        printf("%ld rows: %u in the table\n", rows, table.GetRecCount());
    }
    for (BOOL second : {FALSE, TRUE}) {
        std::vector<double> times;
        for (int run = 0; run < kRuns; ++run) {
            CTerminTable table(&session, second);
            const double start = BenchNow();
            const int result = table.OpenMain(dir.c_str(), 0, 0);
            times.push_back((BenchNow() - start) * 1000.0);
            if (result != DB_OPEN_OPENED)
                printf("  unexpected result %d\n", result);
        }
        printf("  open %s: median %.2f ms, best %.2f ms (%d runs)\n", second ? "with the second instance" : "alone",
               Median(times), *std::min_element(times.begin(), times.end()), kRuns);
    }
}

} // namespace

int main()
{
    printf("opening the schedule table (check, open, indexes, order 1); goal: < 50 ms at 100,000 rows\n");
    Measure(10000);
    Measure(100000);
    return 0;
}
