// Packed index files through the compression library stand-in: the build of an index on a packed
// table (packing included), expansion in MB/s of unpacked data (every page in order, each block
// expanded once per pass), random page reads per second through the block reader against reads
// of the same pages from the unpacked index file, and seeks on both.
//
//   bench_packed [records]        (default 200,000; VLPA05.DLL from the folder VLPA05 beside it)
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "EngineHooks.h"
#include "Job.h"
#include "VLPA05.h"
#include "vlDB07.h"

namespace {

const unsigned kRecordLength = 1 + 20 + 8;
const unsigned kHeaderLength = 32 * 3 + 2;

std::string Name(uint32_t n)
{
    char text[32];
    std::snprintf(text, sizeof text, "Name %08u Zeile ", (n * 2654435761u) % 100000000u);
    return text; // the field's 20 characters
}

std::string PlainTable(uint32_t records)
{
    std::string image(kHeaderLength, '\0');
    image[0] = 3;
    image[1] = 124, image[2] = 5, image[3] = 17;
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            image[at + i] = (char)(v >> (8 * i));
    };
    put(4, records, 4);
    put(8, kHeaderLength, 2);
    put(10, kRecordLength, 2);
    image.replace(32, 4, "NAME");
    image[32 + 11] = 'C';
    image[32 + 16] = 20;
    image.replace(64, 3, "NUM");
    image[64 + 11] = 'N';
    image[64 + 16] = 8;
    image[96] = 0x0D, image[97] = 0x1A;
    image.reserve(kHeaderLength + (size_t)records * kRecordLength);
    for (uint32_t n = 1; n <= records; ++n) {
        char record[64];
        std::snprintf(record, sizeof record, " %-20s%8u", Name(n).c_str(), n);
        image.append(record, kRecordLength);
    }
    return image;
}

std::string PackedTable(const std::string& plain, uint32_t records, PFN_PackCompressBuffer compress)
{
    const uint32_t perBlock = 8192 / kRecordLength;
    const uint32_t blocks = (records + perBlock - 1) / perBlock;
    std::string out = plain.substr(0, kHeaderLength);
    out[0] = 0x43;
    std::string front(8 + 4 * (blocks + 1), '\0');
    auto put = [&](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            front[at + i] = (char)(v >> (8 * i));
    };
    put(2, kHeaderLength + records * kRecordLength, 4);
    put(6, 8192, 2);
    std::string data;
    uint32_t at = kHeaderLength + (uint32_t)front.size();
    char packed[VLPA05_MAX_BLOCK];
    for (uint32_t b = 0; b < blocks; ++b) {
        put(8 + 4 * b, at, 4);
        const uint32_t first = b * perBlock;
        const uint32_t count = std::min(perBlock, records - first);
        const unsigned long n =
            compress(packed, plain.data() + kHeaderLength + (size_t)first * kRecordLength, count * kRecordLength);
        data.append(packed, n);
        at += n;
    }
    put(8 + 4 * blocks, at | 0x80000000u, 4);
    return out + front + data;
}

bool WriteAll(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) &&
                    written == bytes.size();
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return ok;
}

uint64_t FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return ((uint64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

} // namespace

int main(int argc, char** argv)
{
    const uint32_t records = argc > 1 ? (uint32_t)std::strtoul(argv[1], nullptr, 10) : 200000u;
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dir = exe;
    dir.erase(dir.find_last_of('\\'));
    SetDllDirectoryA((dir + "\\VLPA05").c_str());
    HMODULE lib = LoadLibraryA("VLPA05.DLL");
    if (!lib) {
        std::printf("VLPA05.DLL not found beside the program\n");
        return 1;
    }
    auto compress = (PFN_PackCompressBuffer)GetProcAddress(lib, "_PackCompressBuffer@12");

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "ox_packed_bench";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string plainPath = folder + "\\plain.dbf", packedPath = folder + "\\packed.dbf";
    const std::string plain = PlainTable(records);
    WriteAll(plainPath, plain);
    WriteAll(packedPath, PackedTable(plain, records, compress));

    _db_process_attach(GetModuleHandleA(nullptr));
    db_job_open();
    db_files_open();
    db_select_area(1);
    db_use(plainPath.c_str(), 0x01, nullptr, 0);
    double start = BenchNow();
    if (!db_index_on(1, "NAME", (folder + "\\plain.ntx").c_str(), 0)) {
        std::printf("index not built (error %u)\n", db_error());
        return 1;
    }
    const double plainBuild = BenchNow() - start;
    db_select_area(2);
    db_use(packedPath.c_str(), 0x01, nullptr, 0);
    start = BenchNow();
    if (!db_index_on(1, "NAME", (folder + "\\packed.ntx").c_str(), 0)) {
        std::printf("packed index not built (error %u)\n", db_error());
        return 1;
    }
    const double packedBuild = BenchNow() - start;
    const uint64_t unpackedSize = FileSize(folder + "\\plain.ntx");
    std::printf("%u records; index %.1f MB unpacked, %.1f MB packed\n", records, unpackedSize / 1e6,
                FileSize(folder + "\\packed.ntx") / 1e6);
    std::printf("index build: unpacked table %.2f s, packed table (packing included) %.2f s\n", plainBuild,
                packedBuild);

    s_Area& area = *g_Job->currentArea;
    const uint32_t pages = (uint32_t)(unpackedSize / 1024) - 1;
    uint8_t page[1024];
    const int passes = 5;
    start = BenchNow();
    for (int p = 0; p < passes; ++p)
        for (uint32_t u = 1; u <= pages; ++u)
            g_EngineHooks.readPackedIndexPage(area, 0, u, page);
    const double expansion = (double)pages * 1024 * passes / (BenchNow() - start) / 1e6;
    std::printf("expansion (every page in order): %.1f MB/s of unpacked pages\n", expansion);

    std::mt19937 rnd(28);
    const int reads = 200000;
    std::vector<uint32_t> units(reads);
    for (uint32_t& u : units)
        u = 1 + rnd() % pages;
    start = BenchNow();
    for (uint32_t u : units)
        g_EngineHooks.readPackedIndexPage(area, 0, u, page);
    const double packedReads = reads / (BenchNow() - start);
    HANDLE file = CreateFileA((folder + "\\plain.ntx").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    start = BenchNow();
    for (uint32_t u : units) {
        LARGE_INTEGER at;
        at.QuadPart = (LONGLONG)u * 1024;
        DWORD read = 0;
        SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
        ReadFile(file, page, sizeof page, &read, nullptr);
    }
    const double plainReads = reads / (BenchNow() - start);
    CloseHandle(file);
    std::printf("random page reads: packed %.0f /s, unpacked file %.0f /s (ratio %.2f)\n", packedReads, plainReads,
                packedReads / plainReads);

    const int seeks = 20000;
    for (int table : {1, 2}) {
        db_select_area(table);
        start = BenchNow();
        int found = 0;
        for (int i = 0; i < seeks; ++i)
            found += db_seek(Name(1 + rnd() % records).c_str()) ? 1 : 0;
        std::printf("seeks on the %s index: %.0f /s (%d found)\n", table == 1 ? "unpacked" : "packed",
                    seeks / (BenchNow() - start), found);
    }
    db_close(0);
    db_job_close();
    FreeLibrary(lib);
    return 0;
}
