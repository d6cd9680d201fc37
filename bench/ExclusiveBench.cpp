// The engine next to SQLite in one run, on the same rows, both built by the same compiler (SQLite
// from its amalgamation, fetched by tools/sqlite-source.sh when this program is built):
//
//   exclusive table (opened exclusively, option 0x4000: no flushing) against SQLite holding its
//   file alone (locking_mode EXCLUSIVE), 200,000 rows of six fields, a memo on every third row:
//   - load: db_blank, five db_replace, db_insert, and on every third row db_memo_write and
//     db_write; SQLite: the same rows inserted in one transaction (the note in the row);
//   - index build: db_index_on UPPER(NAME); SQLite: CREATE INDEX on upper(name);
//   - seeks: 200,000 db_seek of upper-case names of random rows, each with one field of the
//     found row read; SQLite: the same lookups through the index, reading the same column;
//   - scan: db_skip through the table with three field reads a row; SQLite: the same three
//     columns of every row;
//   shared table (the program's own mode) against SQLite in its normal locking:
//   - durable single-row appends (write-through, the header lock and the flush per append);
//     SQLite: one transaction per insert;
//   - keyed reads on the shared table (the index lock around each seek); SQLite: the lookups
//     with a shared lock per statement.
// Printed: the time or rate of each side and the ratio engine / SQLite (times: below 1.0 the
// engine is faster). After the load, the time of its durable writes alone: the same record and
// memo writes, in the same sizes and order, as plain WriteFile calls without any table work;
// every insert must have its record in the file before it returns, so the engine's load can
// never take less than this (SQLite, inside its one transaction, writes at the commit only).
//
//   bench_exclusive [folder]
//   bench_exclusive count load|seek N [folder]
//
// The second form runs the engine alone: the exclusive load of N rows, or a load of 20,000 rows,
// the index and N seeks; bench/bench_exclusive.py runs it under strace to count the system calls
// per appended row and per seek.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchTable.h"
#include "sqlite3.h"
#include "vlDB07.h"

namespace {

const long kRows = 200000;
const long kSeeks = 200000;
const long kSharedAppends = 2000;
const long kSharedSeeks = 20000;
const unsigned kClipper5 = 4;
const unsigned kNoFlush = 0x4000;
const size_t kNameLength = 30;

// One row of the benchmark, as texts (the engine's input) and typed values (SQLite's).
struct Row {
    char name[40];
    char city[24];
    char amount[24];
    char born[12];
    char active[2];
    bool note;
};

const char* const kFirstNames[] = {"Anna",  "Bernd", "Clara", "Dieter", "Emma",  "Fritz", "Greta", "Hans",
                                   "Ilse",  "Jonas", "Karla", "Lukas",  "Marta", "Nils",  "Olga",  "Paul"};
const char* const kCities[] = {"Berlin",  "Hamburg",   "Muenchen", "Koeln",    "Frankfurt", "Stuttgart",
                               "Leipzig", "Dortmund",  "Essen",    "Bremen",   "Dresden",   "Hannover"};

std::string NoteText(long i)
{
    std::string text = "Notiz zu Zeile " + std::to_string(i) + ": ";
    while (text.size() < 220)
        text += "Termin vereinbart, Unterlagen folgen. ";
    return text;
}

// Row i (0-based): a unique mixed-case name in scattered order, so that index inserts and seeks
// land all over the tree.
Row MakeRow(long i)
{
    Row r{};
    const uint32_t scattered = (uint32_t)(((uint64_t)(i + 1) * 2654435761u) & 0x7FFFFFFF);
    std::snprintf(r.name, sizeof r.name, "%s Kunde %010u", kFirstNames[i % 16], scattered);
    std::snprintf(r.city, sizeof r.city, "%s", kCities[i % 12]);
    std::snprintf(r.amount, sizeof r.amount, "%.2f", (double)(i % 100000) * 0.37);
    std::snprintf(r.born, sizeof r.born, "%04ld%02ld%02ld", 1940 + i % 60, 1 + i % 12, 1 + i % 28);
    r.active[0] = i % 2 ? 'T' : 'F';
    r.note = i % 3 == 0;
    return r;
}

std::string Upper(const char* text)
{
    std::string s = text;
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
    return s;
}

void Fail(const char* what)
{
    std::printf("%s failed (engine error %u)\n", what, db_error());
    std::exit(1);
}

void SqlFail(sqlite3* db, const char* what)
{
    std::printf("%s failed (SQLite: %s)\n", what, db ? sqlite3_errmsg(db) : "no connection");
    std::exit(1);
}

void Exec(sqlite3* db, const char* sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        SqlFail(db, sql);
}

sqlite3_stmt* Prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        SqlFail(db, sql);
    return statement;
}

// ---- engine side ----------------------------------------------------------------------------

// The memo file beside a table file (".dbf" replaced by ".dbt").
std::string MemoPath(const std::string& table) { return table.substr(0, table.size() - 4) + ".dbt"; }

void DefineTable(const std::string& path)
{
    DeleteFileA(path.c_str());
    DeleteFileA(MemoPath(path).c_str());
    if (!db_define_begin(path.c_str(), 1, nullptr, kClipper5, 6) || !db_define_field("NAME", 'C', kNameLength, 0) ||
        !db_define_field("CITY", 'C', 20, 0) || !db_define_field("AMOUNT", 'N', 12, 2) ||
        !db_define_field("BORN", 'D', 8, 0) || !db_define_field("ACTIVE", 'L', 1, 0) ||
        !db_define_field("NOTE", 'M', 10, 0) || !db_define_end())
        Fail("defining the table");
    db_close(3);
}

// Appends rows first..first+count-1 to the table open in the current area; notes: with the memo
// of every third row (written after the insert, as the program does).
void AppendRows(long first, long count, bool notes)
{
    for (long i = first; i < first + count; ++i) {
        const Row r = MakeRow(i);
        if (!db_blank() || !db_replace("NAME", r.name) || !db_replace("CITY", r.city) ||
            !db_replace("AMOUNT", r.amount) || !db_replace("BORN", r.born) || !db_replace("ACTIVE", r.active) ||
            !db_insert())
            Fail("appending a row");
        if (notes && r.note && (!db_memo_write("NOTE", NoteText(i).c_str()) || !db_write()))
            Fail("writing a memo");
    }
}

double EngineLoad(const std::string& path, long rows)
{
    DefineTable(path);
    const double start = BenchNow();
    if (!db_use(path.c_str(), 0x01, nullptr, kClipper5 | kNoFlush))
        Fail("opening the table");
    AppendRows(0, rows, true);
    if (!db_close(3))
        Fail("closing the table");
    return BenchNow() - start;
}

// The load's durable writes without the engine: per row the record appended to one file, and on
// every row with a note the memo's bytes appended to a second file, then a move back and the
// record written again (with its memo reference). Sizes are those of the files the engine's load
// left (the record length from the table's header, the memo bytes per note from the memo file's
// size); the header count and date are stores into a mapped view and cost no call.
double DurableWritesAlone(const std::string& folder, const std::string& table, long rows)
{
    const std::string memo = MemoPath(table);
    unsigned char header[12] = {};
    DWORD done = 0;
    HANDLE file = CreateFileA(table.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE || !ReadFile(file, header, sizeof header, &done, nullptr) ||
        done != sizeof header)
        Fail("reading the loaded table's header");
    CloseHandle(file);
    const DWORD recordLength = header[10] | (header[11] << 8);
    WIN32_FILE_ATTRIBUTE_DATA memoData;
    if (!GetFileAttributesExA(memo.c_str(), GetFileExInfoStandard, &memoData))
        Fail("reading the memo file's size");
    std::vector<char> noted((size_t)rows);
    long notes = 0;
    for (long i = 0; i < rows; ++i)
        notes += (noted[(size_t)i] = MakeRow(i).note) ? 1 : 0;
    const DWORD memoBytes = notes ? (DWORD)((memoData.nFileSizeLow - 512) / notes) : 0;

    const std::string a = folder + "\\alone.dat", b = folder + "\\alone.dbt";
    HANDLE records = CreateFileA(a.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    HANDLE blocks = CreateFileA(b.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (records == INVALID_HANDLE_VALUE || blocks == INVALID_HANDLE_VALUE)
        Fail("creating the files of the durable writes");
    std::vector<char> record(recordLength, ' '), block(memoBytes ? memoBytes : 1, 'x');
    bool ok = true;
    const double start = BenchNow();
    LONGLONG at = 0;
    for (long i = 0; i < rows && ok; ++i) {
        ok = WriteFile(records, record.data(), recordLength, &done, nullptr) && done == recordLength;
        if (ok && memoBytes && noted[(size_t)i]) {
            LARGE_INTEGER position;
            position.QuadPart = at;
            ok = WriteFile(blocks, block.data(), memoBytes, &done, nullptr) && done == memoBytes &&
                 SetFilePointerEx(records, position, nullptr, FILE_BEGIN) &&
                 WriteFile(records, record.data(), recordLength, &done, nullptr) && done == recordLength;
        }
        at += recordLength;
    }
    const double seconds = BenchNow() - start;
    CloseHandle(records);
    CloseHandle(blocks);
    DeleteFileA(a.c_str());
    DeleteFileA(b.c_str());
    if (!ok)
        Fail("writing the durable writes alone");
    return seconds;
}

void OpenExclusive(const std::string& path)
{
    if (!db_use(path.c_str(), 0x01, nullptr, kClipper5 | kNoFlush))
        Fail("opening the table");
}

double EngineIndex(const std::string& path, const std::string& index)
{
    OpenExclusive(path);
    DeleteFileA(index.c_str());
    const double start = BenchNow();
    if (!db_index_on(1, "UPPER(NAME)", index.c_str(), 0))
        Fail("building the index");
    const double seconds = BenchNow() - start;
    db_close(3);
    return seconds;
}

double EngineSeeks(const std::vector<std::string>& keys, long* found)
{
    char city[32];
    *found = 0;
    const double start = BenchNow();
    for (const std::string& key : keys)
        if (db_seek(key.c_str()) && db_get_contents("CITY", city, sizeof city) && city[0])
            ++*found;
    return BenchNow() - start;
}

double EngineScan(long* rows)
{
    char a[64], b[64], c[64];
    *rows = 0;
    const double start = BenchNow();
    for (long r = db_goto(1); r != DB_EOF && r != 0; r = db_skip(1)) {
        db_get_contents("NAME", a, sizeof a);
        db_get_contents("CITY", b, sizeof b);
        db_get_contents("AMOUNT", c, sizeof c);
        ++*rows;
    }
    return BenchNow() - start;
}

// ---- SQLite side ----------------------------------------------------------------------------

sqlite3* OpenSqlite(const std::string& path, bool exclusive)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK)
        SqlFail(db, "opening the SQLite file");
    // The engine keeps an exclusive table's records and index pages in memory: SQLite gets a page
    // cache that holds its whole file too.
    if (exclusive)
        Exec(db, "PRAGMA locking_mode = EXCLUSIVE; PRAGMA cache_size = -262144");
    return db;
}

void BindRow(sqlite3* db, sqlite3_stmt* insert, long i)
{
    const Row r = MakeRow(i);
    sqlite3_bind_text(insert, 1, r.name, -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, r.city, -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(insert, 3, std::atof(r.amount));
    sqlite3_bind_text(insert, 4, r.born, -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 5, r.active[0] == 'T');
    if (r.note) {
        const std::string note = NoteText(i);
        sqlite3_bind_text(insert, 6, note.c_str(), (int)note.size(), SQLITE_TRANSIENT);
    } else
        sqlite3_bind_null(insert, 6);
    if (sqlite3_step(insert) != SQLITE_DONE)
        SqlFail(db, "inserting a row");
    sqlite3_reset(insert);
}

const char kCreate[] = "CREATE TABLE t (name TEXT, city TEXT, amount REAL, born TEXT, active INTEGER, note TEXT)";
const char kInsert[] = "INSERT INTO t VALUES (?, ?, ?, ?, ?, ?)";

double SqliteLoad(const std::string& path, long rows)
{
    DeleteFileA(path.c_str());
    const double start = BenchNow();
    sqlite3* db = OpenSqlite(path, true);
    Exec(db, kCreate);
    Exec(db, "BEGIN");
    sqlite3_stmt* insert = Prepare(db, kInsert);
    for (long i = 0; i < rows; ++i)
        BindRow(db, insert, i);
    sqlite3_finalize(insert);
    Exec(db, "COMMIT");
    sqlite3_close(db);
    return BenchNow() - start;
}

double SqliteIndex(sqlite3* db)
{
    const double start = BenchNow();
    Exec(db, "CREATE INDEX ix_name ON t (upper(name))");
    return BenchNow() - start;
}

double SqliteSeeks(sqlite3* db, const std::vector<std::string>& keys, long* found)
{
    sqlite3_stmt* select = Prepare(db, "SELECT city FROM t WHERE upper(name) = ?");
    *found = 0;
    const double start = BenchNow();
    for (const std::string& key : keys) {
        sqlite3_bind_text(select, 1, key.c_str(), (int)key.size(), SQLITE_STATIC);
        if (sqlite3_step(select) == SQLITE_ROW) {
            const unsigned char* city = sqlite3_column_text(select, 0);
            if (city && city[0])
                ++*found;
        }
        sqlite3_reset(select);
    }
    const double seconds = BenchNow() - start;
    sqlite3_finalize(select);
    return seconds;
}

double SqliteScan(sqlite3* db, long* rows)
{
    sqlite3_stmt* select = Prepare(db, "SELECT name, city, amount FROM t");
    char a[64], b[64], c[64];
    *rows = 0;
    const double start = BenchNow();
    while (sqlite3_step(select) == SQLITE_ROW) {
        std::snprintf(a, sizeof a, "%s", (const char*)sqlite3_column_text(select, 0));
        std::snprintf(b, sizeof b, "%s", (const char*)sqlite3_column_text(select, 1));
        std::snprintf(c, sizeof c, "%s", (const char*)sqlite3_column_text(select, 2));
        ++*rows;
    }
    const double seconds = BenchNow() - start;
    sqlite3_finalize(select);
    return seconds;
}

// ---- the comparison ---------------------------------------------------------------------------

// The upper-case names of n random rows; padded: with blanks to the field's width, as the
// engine's keys are stored (SQLite compares the names as they were inserted).
std::vector<std::string> SeekKeys(long rows, long n, bool padded)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<long> pick(0, rows - 1);
    std::vector<std::string> keys;
    keys.reserve((size_t)n);
    for (long i = 0; i < n; ++i) {
        std::string key = Upper(MakeRow(pick(random)).name);
        if (padded)
            key.resize(kNameLength, ' ');
        keys.push_back(key);
    }
    return keys;
}

void Times(const char* what, double ours, double theirs)
{
    std::printf("%-46s engine %8.3f s   SQLite %8.3f s   ratio %5.2f\n", what, ours, theirs, ours / theirs);
}

void Rates(const char* what, long n, double ours, double theirs, const char* unit)
{
    std::printf("%-46s engine %10.0f %s/s   SQLite %10.0f %s/s   time ratio %5.2f\n", what, n / ours, unit,
                n / theirs, unit, ours / theirs);
}

int Compare(const std::string& folder)
{
    const std::string table = folder + "\\excl.dbf", index = folder + "\\excl_name.ntx";
    const std::string shared = folder + "\\shared.dbf", sharedIndex = folder + "\\shared_name.ntx";
    const std::string sqliteFile = folder + "\\excl.sqlite", sqliteShared = folder + "\\shared.sqlite";
    std::printf("SQLite %s built from its amalgamation with the same compiler; %ld rows\n", sqlite3_libversion(),
                kRows);

    // Exclusive load, index, seeks, scan.
    const double engineLoad = EngineLoad(table, kRows);
    const double sqliteLoad = SqliteLoad(sqliteFile, kRows);
    Times("exclusive load (memo on every third row)", engineLoad, sqliteLoad);
    const double writesAlone = DurableWritesAlone(folder, table, kRows);
    std::printf("%-46s         %8.3f s   of SQLite's load %5.2f\n", "  its durable writes alone (plain WriteFile)",
                writesAlone, writesAlone / sqliteLoad);

    const double engineIndex = EngineIndex(table, index);
    sqlite3* db = OpenSqlite(sqliteFile, true);
    const double sqliteIndex = SqliteIndex(db);
    Times("index build UPPER(NAME)", engineIndex, sqliteIndex);

    const std::vector<std::string> keys = SeekKeys(kRows, kSeeks, true), sqlKeys = SeekKeys(kRows, kSeeks, false);
    OpenExclusive(table);
    if (!db_set_index_to(1, index.c_str()))
        Fail("opening the index");
    long engineFound = 0, sqliteFound = 0;
    const double engineSeeks = EngineSeeks(keys, &engineFound);
    const double sqliteSeeks = SqliteSeeks(db, sqlKeys, &sqliteFound);
    Times("exclusive seeks with a field read", engineSeeks, sqliteSeeks);
    if (engineFound != kSeeks || sqliteFound != kSeeks)
        std::printf("  found: engine %ld, SQLite %ld of %ld\n", engineFound, sqliteFound, kSeeks);

    db_set_order(0);
    long engineRows = 0, sqliteRows = 0;
    const double engineScan = EngineScan(&engineRows);
    const double sqliteScan = SqliteScan(db, &sqliteRows);
    Rates("exclusive scan (skip, three field reads)", engineRows, engineScan, sqliteScan, "rows");
    if (engineRows != kRows || sqliteRows != kRows)
        std::printf("  rows: engine %ld, SQLite %ld of %ld\n", engineRows, sqliteRows, kRows);
    db_close(3);
    sqlite3_close(db);

    // Shared tables: durable single-row appends, then keyed reads under the index lock.
    DefineTable(shared);
    if (!db_use(shared.c_str(), 0, nullptr, kClipper5))
        Fail("opening the shared table");
    double start = BenchNow();
    AppendRows(0, kSharedAppends, false);
    const double engineAppends = BenchNow() - start;
    DeleteFileA(sharedIndex.c_str());
    if (!db_index_on(1, "UPPER(NAME)", sharedIndex.c_str(), 0))
        Fail("building the shared index");

    DeleteFileA(sqliteShared.c_str());
    db = OpenSqlite(sqliteShared, false);
    Exec(db, kCreate);
    Exec(db, "CREATE INDEX ix_name ON t (upper(name))");
    sqlite3_stmt* insert = Prepare(db, kInsert);
    start = BenchNow();
    for (long i = 0; i < kSharedAppends; ++i)
        BindRow(db, insert, i);
    const double sqliteAppends = BenchNow() - start;
    sqlite3_finalize(insert);
    Rates("shared durable appends (one row each)", kSharedAppends, engineAppends, sqliteAppends, "rows");

    const std::vector<std::string> sharedKeys = SeekKeys(kSharedAppends, kSharedSeeks, true);
    const std::vector<std::string> sharedSqlKeys = SeekKeys(kSharedAppends, kSharedSeeks, false);
    const double engineShared = EngineSeeks(sharedKeys, &engineFound);
    const double sqliteShared2 = SqliteSeeks(db, sharedSqlKeys, &sqliteFound);
    Rates("shared keyed reads with a field read", kSharedSeeks, engineShared, sqliteShared2, "seeks");
    if (engineFound != kSharedSeeks || sqliteFound != kSharedSeeks)
        std::printf("  found: engine %ld, SQLite %ld of %ld\n", engineFound, sqliteFound, kSharedSeeks);
    db_close(3);
    sqlite3_close(db);
    return 0;
}

// The engine alone, for counting its system calls.
int Count(const std::string& folder, const char* what, long n)
{
    const std::string table = folder + "\\count.dbf", index = folder + "\\count_name.ntx";
    if (std::strcmp(what, "load") == 0) {
        EngineLoad(table, n);
        return 0;
    }
    const long rows = 20000;
    EngineLoad(table, rows);
    EngineIndex(table, index);
    const std::vector<std::string> keys = SeekKeys(rows, n, true);
    OpenExclusive(table);
    if (!db_set_index_to(1, index.c_str()))
        Fail("opening the index");
    long found = 0;
    // The marker lets the counting script tell the seeks from what came before.
    GetFileAttributesA((folder + "\\seeks-begin").c_str());
    EngineSeeks(keys, &found);
    GetFileAttributesA((folder + "\\seeks-end").c_str());
    db_close(3);
    return found == n ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    db_job_open();
    db_files_open();
    db_set_exclusive(0);
    int result;
    if (argc >= 4 && std::strcmp(argv[1], "count") == 0) {
        const std::string folder = argc > 4 ? argv[4] : BenchFolder(1, argv, "ox_exclusive_bench");
        CreateDirectoryA(folder.c_str(), nullptr);
        result = Count(folder, argv[2], std::atol(argv[3]));
    } else {
        const std::string folder = BenchFolder(argc, argv, "ox_exclusive_bench");
        CreateDirectoryA(folder.c_str(), nullptr);
        result = Compare(folder);
    }
    db_close(0);
    db_job_close();
    return result;
}
