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
#include "vlDB07.h"

namespace {

const uint32_t kRows = 1000000;
const int kNameLength = 20;
// Patterns that match no key: the walk passes every key. Names are made of the letters A to P.
const char* const kPatterns[] = {"*XYZ*", "?A*Z?", "*A*B*C*D*E*F*G*H*Z"};

void Put16(char* p, unsigned v)
{
    p[0] = (char)(v & 0xFF);
    p[1] = (char)(v >> 8);
}

void Put32(char* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = (char)(v >> (8 * i));
}

// Name n: 6 to 16 letters of A..P, then blanks.
void Name(std::mt19937& rng, char* out)
{
    std::memset(out, ' ', kNameLength);
    const unsigned length = 6 + rng() % 11;
    for (unsigned i = 0; i < length; ++i)
        out[i] = (char)('A' + rng() % 16);
}

bool MakeTable(const std::string& path)
{
    const int recordLength = 1 + kNameLength;
    const int headerLength = 32 * 2 + 2;
    std::vector<char> header((size_t)headerLength, 0);
    header[0] = 0x03;
    header[1] = 124;
    header[2] = 5;
    header[3] = 17;
    Put32(&header[4], kRows);
    Put16(&header[8], (unsigned)headerLength);
    Put16(&header[10], (unsigned)recordLength);
    header[29] = 0x02;
    std::memcpy(&header[32], "NAME", 4);
    header[32 + 11] = 'C';
    header[32 + 16] = (char)kNameLength;
    header[(size_t)headerLength - 2] = 0x0D;
    header[(size_t)headerLength - 1] = 0x1A;

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, header.data(), (DWORD)header.size(), &written, nullptr) != 0;
    std::mt19937 rng(kRows);
    std::vector<char> records((size_t)recordLength * kRows);
    for (uint32_t r = 0; r < kRows; ++r) {
        char* at = &records[(size_t)r * recordLength];
        at[0] = ' ';
        Name(rng, at + 1);
    }
    ok = ok && WriteFile(file, records.data(), (DWORD)records.size(), &written, nullptr) != 0;
    CloseHandle(file);
    return ok;
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

void Walks(const char* label)
{
    for (const char* pattern : kPatterns) {
        const double start = BenchNow();
        const BOOL found = db_seek_wild(pattern);
        const double seconds = BenchNow() - start;
        if (found || !db_eof())
            std::printf("  %s %s: unexpected match at record %u\n", label, pattern, db_recno());
        std::printf("  %-26s %-20s %10.0f keys/s (%.2f s)\n", label, pattern, kRows / seconds, seconds);
        std::printf("walk %s %s %u %.6f\n", label, pattern, kRows, seconds);
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder;
    if (argc > 1)
        folder = argv[1];
    else {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "ox_wildcard_bench";
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string table = folder + "\\wild_1m.dbf";
    if (!FileExists(table) && !MakeTable(table)) {
        std::printf("cannot write %s\n", table.c_str());
        return 1;
    }
    db_job_open();
    db_files_open();
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
