// Wildcard seeks over an index of 1,000,000 keys: db_seek_wild walks the controlling index key by
// key from its first key, so a pattern that matches no key measures a walk over all of them. The
// figure is keys per second, on an exclusive table and on a shared one (one index lock for the
// whole walk), in ASCII order and in German Replace order (every key is brought into its
// spelled-out comparison form).
//
//   bench_wildcard [folder]
//
// The table (wild_1m.dbf: NAME C 20, 1,000,000 generated names) and its indexes are made in the
// folder (default: the temporary directory's "ox_wildcard_bench") when they are not there yet.
// bench/bench_wildcard.py runs this program and the same patterns as GLOB and LIKE in SQLite on the
// same rows, and prints the ratio. Each walk prints a line "walk <label> <pattern> <keys> <seconds>"
// for it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchTable.h"
#include "vlDB07.h"

namespace {

const uint32_t kRows = 1000000;
const int kNameLength = 20;
// Patterns that match no key: the walk passes every key. Names are made of the letters A to P.
const char* const kPatterns[] = {"*XYZ*", "?A*Z?", "*A*B*C*D*E*F*G*H*Z"};

// Name n: 6 to 16 letters of A..P, then blanks.
void Name(std::mt19937& rng, char* out)
{
    std::memset(out, ' ', kNameLength);
    const unsigned length = 6 + rng() % 11;
    for (unsigned i = 0; i < length; ++i)
        out[i] = (char)('A' + rng() % 16);
}

// The table is defined by the library, its rows appended raw.
bool MakeTable(const std::string& path)
{
    if (!db_define_begin(path.c_str(), 1, nullptr, 0, 1) || !db_define_field("NAME", 'C', kNameLength, 0) ||
        !db_define_end())
        return false;
    db_close(3);
    std::mt19937 rng(kRows);
    std::string rows;
    rows.reserve((size_t)(1 + kNameLength) * kRows);
    char name[kNameLength];
    for (uint32_t r = 0; r < kRows; ++r) {
        Name(rng, name);
        rows += ' ';
        rows.append(name, kNameLength);
    }
    return AppendRawRows(path.c_str(), rows, (long)kRows);
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Opens the table in area 1 with the index of the sort order (made when missing).
bool Open(const std::string& table, const std::string& index, unsigned flags, int sortOrder)
{
    db_set_exclusive(flags & 0x01);
    if (!db_use(table.c_str(), flags, "WILD", 0))
        return false;
    db_set_sortorder(sortOrder);
    if (FileExists(index))
        return db_set_index_to(1, index.c_str()) != FALSE;
    const double start = BenchNow();
    const bool built = db_index_on(1, "NAME", index.c_str(), 0) != FALSE;
    std::printf("  (index %s built in %.1f s)\n", index.c_str(), BenchNow() - start);
    return built;
}

double Walk(const char* label, const char* pattern)
{
    const double start = BenchNow();
    const BOOL found = db_seek_wild(pattern);
    const double seconds = BenchNow() - start;
    if (found || !db_eof())
        std::printf("  %s %s: unexpected match at record %u\n", label, pattern, db_recno());
    return seconds;
}

void Walks(const char* label)
{
    // The first walk reads the index pages from the file into the slot's page cache.
    const double first = Walk(label, kPatterns[0]);
    std::printf("  %-26s %-20s %10.0f keys/s (%.2f s, first walk: pages read from the file)\n", label, kPatterns[0],
                kRows / first, first);
    for (const char* pattern : kPatterns) {
        const double seconds = Walk(label, pattern);
        std::printf("  %-26s %-20s %10.0f keys/s (%.2f s)\n", label, pattern, kRows / seconds, seconds);
        std::printf("walk %s %s %u %.6f\n", label, pattern, kRows, seconds);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = BenchFolder(argc, argv, "ox_wildcard_bench");
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string table = folder + "\\wild_1m.dbf";
    db_job_open();
    db_files_open();
    if (!FileExists(table) && !MakeTable(table)) {
        std::printf("cannot write %s\n", table.c_str());
        return 1;
    }
    std::printf("db_seek_wild over %u keys (NAME C 20), patterns without a match:\n", kRows);
    const struct {
        const char* label;
        unsigned flags;
        int sortOrder;
        const char* index;
    } runs[] = {
        {"ascii,exclusive", 0x01, 0, "\\wild_ascii.ntx"},
        {"ascii,shared", 0x00, 0, "\\wild_ascii.ntx"},
        {"german-replace,exclusive", 0x01, 1, "\\wild_replace.ntx"},
    };
    for (const auto& run : runs) {
        if (!Open(table, folder + run.index, run.flags, run.sortOrder)) {
            std::printf("cannot open %s (error %u)\n", table.c_str(), db_error());
            return 1;
        }
        Walks(run.label);
        db_close(3);
    }
    db_job_close();
    return 0;
}
