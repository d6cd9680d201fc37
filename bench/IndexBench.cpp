// Index builds and keyed seeks over tables of 100,000 and 1,000,000 rows, with the two keys of the
// program's schedule table: the record id (a numeric key of 10 characters, 50 keys a page) and the
// 226-character composite key (2 keys a page). Builds run with the key sort in memory and in its
// temporary file; the figures are the whole db_index_on (reading the table, evaluating the key,
// sorting, writing the tree and the header). Seeks are db_seek of keys present in the table, on an
// exclusive table and on a shared one (an index lock around each seek).
//
//   bench_index [folder [only]]
//
// only: run just the builds whose label contains it ("1000000 rows, 226-character key, file"),
// and no seeks; for profiling one build.
//
// The tables (index_100k.dbf, index_1m.dbf) are made in the folder (default: the temporary
// directory's "ox_index_bench") when they are not there yet, and kept for bench/index_bench_sqlite.py,
// which runs the same work on the same rows with SQLite.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchTable.h"
#include "KeySort.h"
#include "vlDB07.h"

extern "C" int _db_process_attach(HMODULE module);

namespace {

const char kRecordIdKey[] = "RECORDID";
const char kCompositeKey[] =
    "UPPER(USER+DTOORD(D_FIRST_OC)+STR(T_BEGIN,4,0)+TYPE+PRIO+APP_ID+STR(DB_RECID,10,0)+TODOSTAT+STATUS+"
    "DTOORD(D_LAST_OC)+PRIVAT+SERIE+LEFT(BETREFF,30)+LEFT(WITH,30)+REMIND+RIGHT(RTRIM(DB_PATH),100))";

// The fields of the two keys, at their widths in the schedule table.
struct Field {
    const char* name;
    char type;
    int length;
};
const Field kFields[] = {
    {"RECORDID", 'N', 10}, {"USER", 'C', 20},     {"D_FIRST_OC", 'D', 8}, {"T_BEGIN", 'N', 4},  {"TYPE", 'C', 2},
    {"PRIO", 'C', 1},      {"APP_ID", 'C', 8},    {"DB_RECID", 'N', 10},  {"TODOSTAT", 'C', 1}, {"STATUS", 'C', 1},
    {"D_LAST_OC", 'D', 8}, {"PRIVAT", 'C', 1},    {"SERIE", 'C', 1},      {"BETREFF", 'C', 140}, {"WITH", 'C', 100},
    {"REMIND", 'C', 1},    {"DB_PATH", 'C', 255},
};

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

// The record id of row n: distinct for every row (an odd multiplier modulo 2^31).
uint32_t RecordId(uint32_t n) { return (uint32_t)(((uint64_t)n * 2654435761u) & 0x7FFFFFFF); }

// A field's text, blank-padded or right-aligned to its width.
void PutText(char*& at, const std::string& text, int length)
{
    std::memset(at, ' ', (size_t)length);
    std::memcpy(at, text.data(), text.size() < (size_t)length ? text.size() : (size_t)length);
    at += length;
}

void PutNumber(char*& at, long long value, int length)
{
    char text[32];
    std::snprintf(text, sizeof text, "%*lld", length, value);
    std::memcpy(at, text, (size_t)length);
    at += length;
}

std::string Date(std::mt19937& rng, unsigned emptyPercent)
{
    if (rng() % 100 < emptyPercent)
        return "";
    char text[16];
    std::snprintf(text, sizeof text, "%04u%02u%02u", 2018 + rng() % 9, 1 + rng() % 12, 1 + rng() % 28);
    return text;
}

// Writes a DBF table of count generated rows (the same rows for the same count).
bool MakeTable(const std::string& path, uint32_t count)
{
    static const char* const kUsers[] = {"MEIER", "M\x81ller", "huber", "Schmidt", "\x99zt\x81rk", "weber", "", "Bauer"};
    static const char* const kWords[] = {"Termin", "Besprechung", "\x84rztliche", "Kontrolle", "Projekt",
                                         "Abnahme", "Urlaub", "r\x81""ckruf", "Kunde", "M\x81nchen"};
    static const char* const kTypes[] = {"AF", "AD", "AW", "AM", "AY", "TD"};
    const int fields = (int)(sizeof kFields / sizeof kFields[0]);
    int recordLength = 1;
    for (const Field& f : kFields)
        recordLength += f.length;
    const int headerLength = 32 * (fields + 1) + 2;
    std::vector<char> header((size_t)headerLength, 0);
    header[0] = 0x03;
    header[1] = 124;
    header[2] = 5;
    header[3] = 17;
    Put32(&header[4], count);
    Put16(&header[8], (unsigned)headerLength);
    Put16(&header[10], (unsigned)recordLength);
    header[29] = 0x02;
    for (int i = 0; i < fields; ++i) {
        char* d = &header[32 + 32 * (size_t)i];
        std::memcpy(d, kFields[i].name, std::strlen(kFields[i].name));
        d[11] = kFields[i].type;
        d[16] = (char)kFields[i].length;
    }
    header[(size_t)headerLength - 2] = 0x0D;
    header[(size_t)headerLength - 1] = 0x1A;

    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, header.data(), (DWORD)header.size(), &written, nullptr) != 0;
    std::mt19937 rng(count);
    const uint32_t perBlock = 1000;
    std::vector<char> block((size_t)recordLength * perBlock);
    for (uint32_t first = 1; ok && first <= count; first += perBlock) {
        const uint32_t rows = count - first + 1 < perBlock ? count - first + 1 : perBlock;
        for (uint32_t r = 0; r < rows; ++r) {
            char* at = &block[(size_t)r * (size_t)recordLength];
            *at++ = ' ';
            std::string subject, with, path;
            for (unsigned w = rng() % 10; w > 0; --w)
                subject += std::string(kWords[rng() % 10]) + " ";
            for (unsigned w = rng() % 3; w > 0; --w)
                with += std::string(kWords[rng() % 10]) + " ";
            for (unsigned p = rng() % 8; p > 0; --p)
                path += std::string("C:\\Daten\\") + kWords[rng() % 10] + "\\Akte" + std::to_string(rng() % 100000);
            PutNumber(at, RecordId(first + r), 10);
            PutText(at, kUsers[rng() % 8], 20);
            PutText(at, Date(rng, 5), 8);
            PutNumber(at, (long long)(rng() % 1441) - 1, 4);
            PutText(at, kTypes[rng() % 6], 2);
            PutText(at, std::to_string(rng() % 4), 1);
            PutText(at, rng() % 3 ? "" : "crm01", 8);
            PutNumber(at, rng() % 2 ? 0 : (long long)(rng() % 1000000000), 10);
            PutText(at, std::to_string(rng() % 2), 1);
            PutText(at, rng() % 2 ? "" : "C", 1);
            PutText(at, Date(rng, 30), 8);
            PutText(at, std::to_string(rng() % 2), 1);
            PutText(at, std::to_string(rng() % 2), 1);
            PutText(at, subject, 140);
            PutText(at, with, 100);
            PutText(at, std::to_string(rng() % 2), 1);
            PutText(at, path, 255);
        }
        ok = WriteFile(file, block.data(), (DWORD)((size_t)rows * (size_t)recordLength), &written, nullptr) != 0;
    }
    CloseHandle(file);
    return ok;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Pages on the left-most path from the root to a leaf: the depth of a tree built bottom-up.
int Depth(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    auto read = [&](uint32_t offset, unsigned char* page) {
        LARGE_INTEGER to;
        to.QuadPart = offset;
        DWORD got = 0;
        return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) && ReadFile(file, page, 1024, &got, nullptr) && got == 1024;
    };
    unsigned char page[1024];
    int depth = 0;
    if (read(0, page)) {
        uint32_t offset = page[4] | (page[5] << 8) | (page[6] << 16) | ((uint32_t)page[7] << 24);
        while (offset && depth < 40 && read(offset, page)) {
            ++depth;
            const unsigned item = page[2] | (page[3] << 8);
            offset = page[item] | (page[item + 1] << 8) | (page[item + 2] << 16) | ((uint32_t)page[item + 3] << 24);
        }
    }
    CloseHandle(file);
    return depth;
}

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

void SetSortMode(const std::string& profile, bool fileMode)
{
    WritePrivateProfileStringA("Tabstor", "ReindexTryAlloc", fileMode ? "0" : "1", profile.c_str());
    _sort_profile_file(profile.c_str());
}

bool OpenTable(const std::string& table, int exclusive)
{
    db_close(3);
    db_set_exclusive(exclusive);
    return db_use(table.c_str(), 0, nullptr, 0) != FALSE;
}

std::string g_Only;

void Builds(const std::string& folder, const std::string& table, uint32_t rows)
{
    const std::string profile = folder + "\\bench.ini";
    for (int key = 0; key < 2; ++key) {
        for (bool fileMode : {false, true}) {
            char label[128];
            std::snprintf(label, sizeof label, "%lu rows, %s key, %s", (unsigned long)rows,
                          key ? "226-character" : "record-id", fileMode ? "file" : "memory");
            if (!g_Only.empty() && !std::strstr(label, g_Only.c_str()))
                continue;
            if (!OpenTable(table, 1)) {
                std::printf("cannot open %s (error %u)\n", table.c_str(), db_error());
                return;
            }
            SetSortMode(profile, fileMode);
            const std::string index = folder + (key ? "\\composite.ntx" : "\\recordid.ntx");
            // The index of an earlier build (up to 488 MB) would be cut to nothing on the clock.
            DeleteFileA(index.c_str());
            const double start = BenchNow();
            const BOOL built = db_index_on(1, key ? kCompositeKey : kRecordIdKey, index.c_str(), key ? 0 : 1);
            const double seconds = BenchNow() - start;
            db_close(3);
            if (!built) {
                std::printf("build failed (error %u)\n", db_error());
                return;
            }
            std::printf("  build %8lu rows, %-13s key, %-6s sort: %7.2f s %10.0f rows/s  depth %2d, %6.1f MB\n",
                        (unsigned long)rows, key ? "226-character" : "record-id", fileMode ? "file" : "memory", seconds,
                        rows / seconds, Depth(index), FileSize(index) / 1048576.0);
        }
    }
    _sort_profile_file(nullptr);
}

void Seeks(const std::string& folder, const std::string& table, uint32_t rows)
{
    const std::string recordIds = folder + "\\recordid.ntx", composite = folder + "\\composite.ntx";
    const long n = 200000;
    std::mt19937 rng(7);
    for (int exclusive : {1, 0}) {
        if (!OpenTable(table, exclusive) || !db_set_index_to(1, recordIds.c_str()) ||
            !db_set_index_to(2, composite.c_str())) {
            std::printf("cannot open the indexes (error %u)\n", db_error());
            return;
        }
        // The composite keys of sample records, taken before the clock runs.
        std::vector<std::string> keys;
        char key[340];
        for (long i = 0; i < 20000; ++i) {
            db_goto((long)(1 + rng() % rows));
            if (db_indexvalue(2, key, sizeof key))
                keys.push_back(key);
        }
        std::vector<std::string> ids;
        for (long i = 0; i < n; ++i)
            ids.push_back(std::to_string(RecordId(1 + rng() % rows)));
        const char* kind = exclusive ? "exclusive" : "shared";
        db_set_order(1);
        double start = BenchNow();
        long found = 0;
        for (const std::string& id : ids)
            found += db_seek(id.c_str()) != FALSE;
        double seconds = BenchNow() - start;
        std::printf("  seek %8lu rows, record-id key, %-9s: %9.0f seeks/s (%ld of %ld found)\n", (unsigned long)rows,
                    kind, n / seconds, found, n);
        db_set_order(2);
        start = BenchNow();
        found = 0;
        for (long i = 0; i < n; ++i)
            found += db_seek(keys[(size_t)i % keys.size()].c_str()) != FALSE;
        seconds = BenchNow() - start;
        std::printf("  seek %8lu rows, 226-character key, %-9s: %9.0f seeks/s (%ld of %ld found)\n", (unsigned long)rows,
                    kind, n / seconds, found, n);
        db_close(3);
    }
}

} // namespace

int main(int argc, char** argv)
{
    _db_process_attach(GetModuleHandleA(nullptr));
    if (db_job_open() < 0)
        return 1;
    db_files_open();
    const std::string folder = BenchFolder(argc, argv, "ox_index_bench");
    if (argc > 2)
        g_Only = argv[2];
    CreateDirectoryA(folder.c_str(), nullptr);
    for (uint32_t rows : {100000u, 1000000u}) {
        const std::string table = folder + (rows == 100000u ? "\\index_100k.dbf" : "\\index_1m.dbf");
        if (!FileExists(table)) {
            const double start = BenchNow();
            if (!MakeTable(table, rows)) {
                std::printf("cannot make %s\n", table.c_str());
                return 1;
            }
            std::printf("  made %s in %.1f s\n", table.c_str(), BenchNow() - start);
        }
        Builds(folder, table, rows);
        if (rows == 1000000u && g_Only.empty())
            Seeks(folder, table, rows);
    }
    db_close(0);
    db_job_close();
    return 0;
}
