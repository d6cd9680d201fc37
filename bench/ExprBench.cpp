// Speed of expressions on 100,000 rows of a schedule-like table: the composite index key of the
// schedule table evaluated per row, and the program's typical filters over that key
// (SUBSTR(UPPER(INDEXKEY),...)=UPPER("...") .AND. ...) evaluated per row and applied to a full
// filtered scan. INDEXKEY is the current key of a real index on the composite key, so the
// per-row figures include positioning that index.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Area.h"
#include "Expression.h"
#include "Job.h"
#include "vlDB07.h"
#include "BenchClock.h"
#include "BenchTable.h"

namespace {

const long kRows = 100000;
const char kCompositeKey[] =
    "UPPER(USER+DTOORD(D_FIRST_OC)+STR(T_BEGIN,4,0)+TYPE+PRIO+APP_ID+STR(DB_RECID,10,0)+TODOSTAT+STATUS+"
    "DTOORD(D_LAST_OC)+PRIVAT+SERIE+LEFT(BETREFF,30)+LEFT(WITH,30)+REMIND+RIGHT(RTRIM(DB_PATH),100))";

struct Filter {
    const char* what;
    const char* text;
};
const Filter kFilters[] = {
    {"user and first-day range (3 clauses)",
     "SUBSTR(UPPER(INDEXKEY),1,20)=UPPER(\"USER07              \") .AND. "
     "SUBSTR(UPPER(INDEXKEY),21,8)>=UPPER(\"20240101\") .AND. SUBSTR(UPPER(INDEXKEY),21,8)<=UPPER(\"20241231\")"},
    {"user, range, type, status, private (6 clauses)",
     "SUBSTR(UPPER(INDEXKEY),1,20)=UPPER(\"USER07              \") .AND. "
     "SUBSTR(UPPER(INDEXKEY),21,8)>=UPPER(\"20240101\") .AND. SUBSTR(UPPER(INDEXKEY),21,8)<=UPPER(\"20241231\") .AND. "
     "SUBSTR(UPPER(INDEXKEY),33,1)=UPPER(\"A\") .AND. SUBSTR(UPPER(INDEXKEY),55,1)#UPPER(\"N\") .AND. "
     "SUBSTR(UPPER(INDEXKEY),64,1)#UPPER(\"1\")"},
};

bool MakeTable(const char* path)
{
    struct Def {
        const char* name;
        char type;
        unsigned length;
    };
    const Def defs[] = {{"USER", 'C', 20},    {"D_FIRST_OC", 'D', 8}, {"T_BEGIN", 'N', 4},  {"TYPE", 'C', 2},
                        {"PRIO", 'C', 1},     {"APP_ID", 'C', 8},     {"DB_RECID", 'N', 10}, {"TODOSTAT", 'C', 1},
                        {"STATUS", 'C', 1},   {"D_LAST_OC", 'D', 8},  {"PRIVAT", 'C', 1},   {"SERIE", 'C', 1},
                        {"BETREFF", 'C', 140}, {"WITH", 'C', 100},    {"REMIND", 'C', 1},   {"DB_PATH", 'C', 255}};
    if (!db_define_begin(path, 1, nullptr, 0, sizeof defs / sizeof defs[0]))
        return false;
    for (const Def& d : defs)
        if (!db_define_field(d.name, d.type, d.length, 0))
            return false;
    if (!db_define_end())
        return false;
    const unsigned size = db_recsize();
    db_close(3);
    std::string data;
    data.reserve((size_t)size * kRows);
    char row[1024];
    for (long i = 1; i <= kRows; ++i) {
        char user[32];
        std::snprintf(user, sizeof user, "user%02ld", i % 40);
        std::snprintf(row, sizeof row, " %-20s%04ld%02ld%02ld%4ld%-2s%-1s%-8s%10ld%-1s%-1s%-8s%-1s%-1s%-140s%-100s%-1s%-255s",
                      user, 2023 + (i / 40) % 3, 1 + i % 12, 1 + i % 28, (i * 15) % 1440,
                      i % 3 ? "AF" : "TD", "2", "OXAPP", i, " ", i % 5 ? "C" : "N", i % 7 ? "20261231" : "        ",
                      i * 37 % 11 < 5 ? "1" : "0", "0", ("Besprechung Nummer " + std::to_string(i)).c_str(), "Herr Meier, Frau Huber",
                      "1", "C:\\Daten\\Akten\\Kunde\\akte.doc");
        data.append(row, size);
    }
    return AppendRawRows(path, data, kRows);
}

void Report(const char* what, double seconds, long n, const char* unit)
{
    std::printf("%-64s %8.0f ns/%s %10.0f %ss/s\n", what, seconds * 1e9 / n, unit, n / seconds, unit);
}

// Computes every row's composite key (the index build's work per record).
bool BuildKeys()
{
    s_Index slot;
    slot.keyExpression = _expr_compile(kCompositeKey);
    if (!slot.keyExpression)
        return false;
    char key[331];
    char type;
    int width, decimals;
    const double start = BenchNow();
    for (long r = 1; r <= kRows; ++r) {
        db_goto(r);
        if (!_expr_key_text(&slot, key, 330, &type, &width, &decimals, 0))
            return false;
    }
    Report("composite key of the schedule table (goto + key text)", BenchNow() - start, kRows, "key");
    _expr_free(slot.keyExpression);
    return true;
}

// The composite index over the table, controlling: INDEXKEY is its current key.
bool IndexOnCompositeKey(const char* table)
{
    std::string index(table);
    index.replace(index.size() - 3, 3, "ntx");
    const double start = BenchNow();
    if (!db_index_on(1, kCompositeKey, index.c_str(), 0))
        return false;
    Report("building the composite index", BenchNow() - start, kRows, "row");
    return true;
}

void EvaluatePerRow(const Filter& filter)
{
    s_Expression* e = _expr_compile(filter.text);
    if (!e) {
        std::printf("%s: does not compile\n", filter.what);
        return;
    }
    s_Area& area = *g_Job->currentArea;
    long hits = 0;
    const double start = BenchNow();
    for (long r = 1; r <= kRows; ++r) {
        db_goto(r);
        hits += _expr_condition(area, e) == 1;
    }
    const double s = BenchNow() - start;
    char what[160];
    std::snprintf(what, sizeof what, "evaluate: %s", filter.what);
    Report(what, s, kRows, "eval");
    std::printf("%-64s %ld of %ld rows\n", "", hits, kRows);
    _expr_free(e);
}

void FilteredScan(const Filter& filter)
{
    if (!db_set_filter_to(filter.text)) {
        std::printf("%s: filter refused (error %u)\n", filter.what, db_error());
        return;
    }
    long visible = 0;
    const double start = BenchNow();
    for (long r = db_goto(0); r != 0 && r != DB_EOF && !db_eof(); r = db_skip(1))
        ++visible;
    const double s = BenchNow() - start;
    char what[160];
    std::snprintf(what, sizeof what, "filtered scan: %s", filter.what);
    Report(what, s, kRows, "row");
    std::printf("%-64s %ld visible\n", "", visible);
    db_set_filter_to(nullptr);
}

} // namespace

int main()
{
    _db_process_attach(GetModuleHandleA(nullptr));
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::snprintf(path, sizeof path, "%sbench_expr_%lu.dbf", folder, GetCurrentProcessId());
    db_job_open();
    db_files_open();
    db_set_exact(0);
    if (!MakeTable(path) || !db_use(path, 0x01, nullptr, 0)) {
        std::printf("could not create the table (error %u)\n", db_error());
        return 1;
    }
    if (!BuildKeys()) {
        std::printf("the composite key failed (error %u: %s)\n", db_error(), g_Job->errorDetail);
        return 1;
    }
    if (!IndexOnCompositeKey(path)) {
        std::printf("the composite index failed (error %u)\n", db_error());
        return 1;
    }
    for (const Filter& f : kFilters)
        EvaluatePerRow(f);
    for (const Filter& f : kFilters)
        FilteredScan(f);
    db_close(0);
    db_job_close();
    DeleteFileA(path);
    std::string index(path);
    DeleteFileA(index.replace(index.size() - 3, 3, "ntx").c_str());
    return 0;
}
