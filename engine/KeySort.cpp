// The external key sort of index builds.
//
// Entries have a fixed size: the key (key size bytes) followed by the extra (4 bytes, the record
// number). They are collected into k runs of n entries; a run holds n + 1 entry places (one
// spare), so run bytes = entry size * (n + 1), and no run is larger than 65,280 bytes. A run is
// sorted in place when it is full (or, the last one, when the first entry is fetched); the runs
// are then merged: each fetch delivers the smallest current entry of all runs, and of equal
// entries the one of the earliest run. A tournament over the runs' current entries finds it with
// about log2(k) comparisons per entry instead of k.
//
// Layout: n = ceil(count / k) for the smallest k that keeps a run within 65,280 bytes, searched
// from the guess (count - 1) / (65,280 / entry size - 1), at most 65,535 runs. (A limit of 1,000
// runs would cap a build of the program's 226-character key at 282,000 records.)
//
// Memory mode: each run lives in its own global memory block (GlobalAlloc with the flags
// "ReindexAllocFlags", locked). File mode, when the profile says "ReindexTryAlloc"=0 or one of the
// blocks cannot be had: one run buffer; each full run is written to its slot of a temporary file
// "idx….tmp" in the temporary directory and read back during the merge by a run reader, through a
// buffer of up to 65,280 bytes. Reader buffers shrink by halves until all of them fit while a
// cushion of 512 KB is held, so that this much memory stays free for the rest of the program.
//
// Temporary file: k slots one after the other, slot i at offset i * (run bytes + 4):
//
//   offset  size       meaning
//   ------  ---------  ---------------------------------------------------------------------
//        0          4  count of valid entries (little-endian)
//        4  run bytes  n + 1 entry places, the first count of them valid and sorted
//
// and one byte 0x1A at offset k * (run bytes + 4), written when the file is made.
//
// Order: keys compare over the key size by the sort order of the work area that was current at
// _SORTINIT (_str_compare_n), equal keys by the record number as a signed 32-bit number. The merge
// counts entries (the remaining count, the valid entries of each run): no byte value marks an
// end, so a key that begins with 0 is sorted and delivered like any other. The byte order (ASCII)
// is compared here 8 bytes at a time, with the same result as _str_compare_n, and its runs are
// sorted through a list of entry numbers, so that only numbers move while sorting; the German
// orders go through _str_compare_n and qsort. In byte order the sort of a run and the merge first
// compare the prefixes of the keys (their first 8 bytes as a number, see KeyPrefix) and read the
// entries only when the prefixes are equal.
//
// Switches: the private profile file "VELMAR.INI" (no directory: the Windows directory), section
// "Tabstor": "ReindexTryAlloc" (default 1) and "ReindexAllocFlags" (default 0), read at _SORTINIT.
//
// Life of a sort (the function behind each step):
//   idle  --_SORTINIT-->  filling (layout made, runs allocated or the temporary file made)
//   filling  --_SORTADD-->  filling (a full run is sorted, in file mode written, when the next
//                           run opens); one entry more than announced: error 41 --> idle
//   filling  --first _SORTNEXT-->  draining (the last run sorted and written, readers primed,
//                                  the tournament played)
//   draining  --_SORTNEXT-->  draining (one entry; after the announced count the end signal)
//   draining  --runs dry early or a read error-->  failed (every _SORTNEXT answers FALSE)
//   any  --_SORTDONE (also at the start of _SORTINIT)-->  idle (memory freed, file deleted)
#include "KeySort.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>

#include "Collation.h"
#include "Job.h"
#include "vlUT11.h"

namespace {

const int kRunLimit = 65280;          // bytes of one run (entry places included)
const int kMaxRuns = 65535;
const SIZE_T kCushion = 0x80000;      // held free while the run readers are made
const int kSlotHeader = 4;            // the count in front of each slot of the temporary file
const char kDefaultProfile[] = "VELMAR.INI";

// Memory mode: one run in its global memory block.
struct RunBlock {
    HGLOBAL handle = nullptr;
    char* base = nullptr;
    int32_t count = 0;                // valid entries
    int32_t next = 0;                 // next entry to deliver
};

// File mode: reads one run's slot of the temporary file through a buffer.
struct RunReader {
    uint64_t offset = 0;              // file offset of the next unread entry
    int capacity = 0;                 // entries the buffer holds
    int32_t leftOnDisk = 0;           // entries of the run not yet read
    int32_t leftInBuffer = 0;         // entries in the buffer from current on
    char* buffer = nullptr;
    char* current = nullptr;
};

enum class Phase { Idle, Filling, Draining, Failed };

struct SortState {
    Phase phase = Phase::Idle;
    int keySize = 0;
    int extraSize = 0;
    int entrySize = 0;
    int32_t count = 0;                // announced entries
    int32_t added = 0;
    int32_t remaining = 0;            // entries still to deliver
    s_Collation collation;
    bool byteOrder = false;           // the collation compares bytes (strncmp)
    char* keyCopies = nullptr;        // two NUL-terminated key copies (German Replace)
    struct Item {
        uint64_t prefix;
        uint16_t entry;
    };
    Item* order = nullptr;            // byte order: prefixes and entry numbers of the run being sorted
    char* sorted = nullptr;           // byte order: the run's entries in sorted order
    int runs = 0;                     // k
    int32_t perRun = 0;               // n
    int runBytes = 0;
    int currentRun = -1;              // -1 before the first entry
    int32_t inRun = 0;                // entries in the current run
    char* runBase = nullptr;          // entry places of the current run
    bool fileMode = false;
    RunBlock* blocks = nullptr;       // memory mode: k runs
    char* runBuffer = nullptr;        // file mode: the run being filled
    HANDLE file = INVALID_HANDLE_VALUE;
    char fileName[MAX_PATH] = {};
    RunReader** readers = nullptr;    // file mode: k readers; NULL once a run is exhausted
    int leaves = 0;                   // the tournament's leaves: k rounded up to a power of 2
    int* winners = nullptr;           // node i > 0: the run that wins below it (-1: none); leaves from 'leaves' on
    const char** heads = nullptr;     // the current entry of each run; NULL once a run is exhausted
    uint64_t* prefixes = nullptr;     // byte order: the key prefix of each run's current entry
};

SortState g_Sort;
char g_Profile[MAX_PATH] = "VELMAR.INI";

// ---- comparison ---------------------------------------------------------------------------------

// strncmp over n bytes, 8 at a time: the sign of the first byte (unsigned) that differs, 0 when
// none does before a 0 byte both share or the end.
inline int CompareBytes(const char* a, const char* b, size_t n)
{
    const uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        // The lowest marked byte of (x - ones) & ~x & highs is the first 0 byte of x (bytes
        // behind it may be marked wrongly, and do not count).
        const uint64_t stop = (x ^ y) | ((x - kOnes) & ~x & kHighs);
        if (stop == 0)
            continue;
        const size_t at = i + (size_t)(std::countr_zero(stop) / 8);
        const unsigned char p = (unsigned char)a[at], q = (unsigned char)b[at];
        return p == q ? 0 : (p < q ? -1 : 1);
    }
    for (; i < n; ++i) {
        const unsigned char p = (unsigned char)a[i], q = (unsigned char)b[i];
        if (p != q)
            return p < q ? -1 : 1;
        if (p == 0)
            return 0;
    }
    return 0;
}

int CompareKeys(const char* a, const char* b)
{
    const SortState& s = g_Sort;
    const size_t n = (size_t)s.keySize;
    if (s.byteOrder)
        return CompareBytes(a, b, n);
    if (s.collation.sortOrder != DB_SORT_GERMAN_REPLACE)
        return _str_compare_n(s.collation, a, b, n);
    // German Replace counts the characters of the first key; the umlauts of the first key take
    // two steps each in the second, which can then run past the key size into the record number.
    // Copies that end after the key size keep the comparison within the key.
    char* copyA = s.keyCopies;
    char* copyB = s.keyCopies + n + 1;
    std::memcpy(copyA, a, n);
    std::memcpy(copyB, b, n);
    return _str_compare_n(s.collation, copyA, copyB, n);
}

int CompareEntries(const char* a, const char* b)
{
    if (!a || !b) {
        UtilDebug("error in comparison: str1=%08lx, str2=%08lx\n", (unsigned long)(uintptr_t)a,
                  (unsigned long)(uintptr_t)b);
        return 0;
    }
    const int c = CompareKeys(a, b);
    if (c != 0 || g_Sort.extraSize < 4)
        return c;
    int32_t ra, rb;
    std::memcpy(&ra, a + g_Sort.keySize, sizeof ra);
    std::memcpy(&rb, b + g_Sort.keySize, sizeof rb);
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

// The first 8 bytes of a key (fewer for a shorter key) as a big-endian number, with the bytes
// from the first 0 byte on counted as 0. Two keys whose prefixes differ compare in byte order as
// their prefixes do: the first byte that differs comes before any 0 byte of either key.
inline uint64_t KeyPrefix(const char* key)
{
    uint64_t x = 0;
    std::memcpy(&x, key, g_Sort.keySize < 8 ? (size_t)g_Sort.keySize : 8);
    const uint64_t zeros = (x - 0x0101010101010101u) & ~x & 0x8080808080808080u;
    if (zeros) {
        // Keep the bytes in front of the first 0 byte (the lowest marked one is exact).
        const int bits = std::countr_zero(zeros) & ~7;
        x &= bits == 0 ? 0 : (~(uint64_t)0 >> (64 - bits));
    }
    return __builtin_bswap64(x);
}

// CompareEntries for the byte order, which the run sorts and the merge call inline.
inline int CompareByteEntries(const char* a, const char* b)
{
    const int c = CompareBytes(a, b, (size_t)g_Sort.keySize);
    if (c != 0 || g_Sort.extraSize < 4)
        return c;
    int32_t ra, rb;
    std::memcpy(&ra, a + g_Sort.keySize, sizeof ra);
    std::memcpy(&rb, b + g_Sort.keySize, sizeof rb);
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

int __cdecl QsortCompare(const void* a, const void* b)
{
    return CompareEntries((const char*)a, (const char*)b);
}

// ---- temporary file -----------------------------------------------------------------------------

bool FileAt(uint64_t offset, void* data, DWORD size, bool write)
{
    LARGE_INTEGER to;
    to.QuadPart = (LONGLONG)offset;
    if (!SetFilePointerEx(g_Sort.file, to, nullptr, FILE_BEGIN))
        return false;
    DWORD done = 0;
    const BOOL ok = write ? WriteFile(g_Sort.file, data, size, &done, nullptr) : ReadFile(g_Sort.file, data, size, &done, nullptr);
    return ok && done == size;
}

uint64_t SlotOffset(int run) { return (uint64_t)run * (uint64_t)(g_Sort.runBytes + kSlotHeader); }

void FreeReader(int run)
{
    RunReader*& r = g_Sort.readers[run];
    if (!r)
        return;
    delete[] r->buffer;
    delete r;
    r = nullptr;
}

void FreeReaders()
{
    if (!g_Sort.readers)
        return;
    for (int i = 0; i < g_Sort.runs; ++i)
        FreeReader(i);
    delete[] g_Sort.readers;
    g_Sort.readers = nullptr;
}

// k readers with buffers of capacity entries; false (nothing left) without memory.
bool MakeReaderList(int capacity)
{
    SortState& s = g_Sort;
    s.readers = new (std::nothrow) RunReader*[(size_t)s.runs]();
    if (!s.readers)
        return false;
    for (int i = 0; i < s.runs; ++i) {
        RunReader* r = new (std::nothrow) RunReader;
        s.readers[i] = r;
        if (r)
            r->buffer = new (std::nothrow) char[(size_t)capacity * (size_t)s.entrySize];
        if (!r || !r->buffer) {
            FreeReaders();
            return false;
        }
        r->offset = SlotOffset(i);
        r->capacity = capacity;
    }
    return true;
}

bool MakeReaders()
{
    SortState& s = g_Sort;
    int capacity = std::min(kRunLimit / s.entrySize, (int)s.perRun + 1);
    HGLOBAL cushion = GlobalAlloc(GMEM_FIXED, kCushion);
    if (!cushion) {
        UtilDebug("the end...\n");
        return false;
    }
    bool made = false;
    for (;;) {
        if (MakeReaderList(capacity)) {
            made = true;
            break;
        }
        if (capacity == 1)
            break;
        capacity /= 2;
    }
    GlobalFree(cushion);
    return made;
}

void CloseRunFile()
{
    SortState& s = g_Sort;
    if (s.file != INVALID_HANDLE_VALUE)
        CloseHandle(s.file);
    s.file = INVALID_HANDLE_VALUE;
    if (s.fileName[0])
        DeleteFileA(s.fileName);
    s.fileName[0] = 0;
}

void FreeFileMode()
{
    FreeReaders();
    CloseRunFile();
    delete[] g_Sort.runBuffer;
    g_Sort.runBuffer = nullptr;
}

// The run buffer, the readers and the temporary file, extended to its full size.
bool OpenFileMode()
{
    SortState& s = g_Sort;
    s.runBuffer = new (std::nothrow) char[(size_t)s.runBytes];
    bool ok = s.runBuffer && MakeReaders();
    if (ok) {
        char dir[MAX_PATH];
        const DWORD length = GetTempPathA(sizeof dir, dir);
        ok = length > 0 && length < sizeof dir && GetTempFileNameA(dir, "idx", 0, s.fileName) != 0;
        if (!ok)
            s.fileName[0] = 0;
    }
    if (ok) {
        s.file = CreateFileA(s.fileName, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
        ok = s.file != INVALID_HANDLE_VALUE;
    }
    if (ok) {
        char mark = 0x1A;
        ok = FileAt(SlotOffset(s.runs), &mark, 1, true);
    }
    if (!ok)
        FreeFileMode();
    return ok;
}

// ---- memory mode --------------------------------------------------------------------------------

void FreeBlocks()
{
    SortState& s = g_Sort;
    if (!s.blocks)
        return;
    for (int i = 0; i < s.runs; ++i) {
        if (!s.blocks[i].handle)
            continue;
        GlobalUnlock(s.blocks[i].handle);
        GlobalFree(s.blocks[i].handle);
    }
    delete[] s.blocks;
    s.blocks = nullptr;
}

bool AllocateBlocks(UINT flags)
{
    SortState& s = g_Sort;
    s.blocks = new (std::nothrow) RunBlock[(size_t)s.runs];
    if (!s.blocks)
        return false;
    for (int i = 0; i < s.runs; ++i) {
        HGLOBAL handle = GlobalAlloc(flags, (SIZE_T)s.runBytes);
        void* base = handle ? GlobalLock(handle) : nullptr;
        if (!base) {
            if (handle)
                GlobalFree(handle);
            FreeBlocks();
            return false;
        }
        s.blocks[i].handle = handle;
        s.blocks[i].base = (char*)base;
    }
    return true;
}

// ---- layout -------------------------------------------------------------------------------------

enum class Try { TooBig, NoMemory, Success };

Try TryRuns(int k, bool tryAlloc, UINT allocFlags)
{
    SortState& s = g_Sort;
    const int64_t n = ((int64_t)s.count + k - 1) / k;
    const int64_t runBytes = (int64_t)s.entrySize * (n + 1);
    if (runBytes > kRunLimit)
        return Try::TooBig;
    s.runs = k;
    s.perRun = (int32_t)n;
    s.runBytes = (int)runBytes;
    if (tryAlloc && AllocateBlocks(allocFlags)) {
        s.fileMode = false;
        return Try::Success;
    }
    if (OpenFileMode()) {
        s.fileMode = true;
        return Try::Success;
    }
    return Try::NoMemory;
}

// ---- runs ---------------------------------------------------------------------------------------

// Sorts the entries of the current run in place. In byte order the entry numbers are sorted
// (equal entries keep their places) and the entries then copied once in that order.
void SortRun()
{
    SortState& s = g_Sort;
    if (!s.byteOrder || !s.order) {
        std::qsort(s.runBase, (size_t)s.inRun, (size_t)s.entrySize, QsortCompare);
        return;
    }
    const size_t size = (size_t)s.entrySize;
    const char* base = s.runBase;
    for (int32_t i = 0; i < s.inRun; ++i)
        s.order[i] = {KeyPrefix(base + (size_t)i * size), (uint16_t)i};
    std::sort(s.order, s.order + s.inRun, [base, size](const SortState::Item& a, const SortState::Item& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const int c = CompareByteEntries(base + a.entry * size, base + b.entry * size);
        return c != 0 ? c < 0 : a.entry < b.entry;
    });
    for (int32_t i = 0; i < s.inRun; ++i)
        std::memcpy(s.sorted + (size_t)i * size, base + s.order[i].entry * size, size);
    std::memcpy(s.runBase, s.sorted, (size_t)s.inRun * size);
}

// Sorts the current run; file mode writes it to its slot. False when the write fails.
bool FlushRun()
{
    SortState& s = g_Sort;
    SortRun();
    if (!s.fileMode) {
        s.blocks[s.currentRun].count = s.inRun;
        return true;
    }
    uint32_t count = (uint32_t)s.inRun;
    uint8_t header[kSlotHeader] = {(uint8_t)count, (uint8_t)(count >> 8), (uint8_t)(count >> 16), (uint8_t)(count >> 24)};
    const uint64_t slot = SlotOffset(s.currentRun);
    return FileAt(slot, header, sizeof header, true) && FileAt(slot + kSlotHeader, s.runBuffer, (DWORD)s.runBytes, true);
}

// Reads the reader's next buffer of entries. False when the file cannot be read.
bool Fill(RunReader& r)
{
    const int32_t m = std::min(r.leftOnDisk, (int32_t)r.capacity);
    const DWORD bytes = (DWORD)m * (DWORD)g_Sort.entrySize;
    if (!FileAt(r.offset, r.buffer, bytes, false))
        return false;
    r.offset += bytes;
    r.leftOnDisk -= m;
    r.leftInBuffer = m;
    r.current = r.buffer;
    return true;
}

// Reads each written run's count and first entries; readers of runs never written go.
bool PrimeReaders()
{
    SortState& s = g_Sort;
    for (int run = 0; run < s.runs; ++run) {
        RunReader* r = s.readers[run];
        int32_t count = 0;
        if (run <= s.currentRun) {
            uint8_t header[kSlotHeader];
            if (!FileAt(r->offset, header, sizeof header, false))
                return false;
            count = (int32_t)((uint32_t)header[0] | ((uint32_t)header[1] << 8) | ((uint32_t)header[2] << 16) |
                              ((uint32_t)header[3] << 24));
            if (count < 0 || count > s.perRun)
                return false;
            r->offset += kSlotHeader;
            r->leftOnDisk = count;
        }
        if (count == 0)
            FreeReader(run);
        else if (!Fill(*r))
            return false;
    }
    return true;
}

// The current entry of a run; NULL when the run is exhausted.
const char* CurrentEntry(int run)
{
    const SortState& s = g_Sort;
    if (s.fileMode) {
        const RunReader* r = s.readers[run];
        return r ? r->current : nullptr;
    }
    const RunBlock& b = s.blocks[run];
    return b.next < b.count ? b.base + (size_t)b.next * (size_t)s.entrySize : nullptr;
}

// Moves a run past its current entry. False when the file cannot be read.
bool AdvanceRun(int run)
{
    SortState& s = g_Sort;
    if (!s.fileMode) {
        ++s.blocks[run].next;
        return true;
    }
    RunReader* r = s.readers[run];
    --r->leftInBuffer;
    r->current += s.entrySize;
    if (r->leftInBuffer > 0)
        return true;
    if (r->leftOnDisk > 0)
        return Fill(*r);
    FreeReader(run);
    return true;
}

// ---- tournament ---------------------------------------------------------------------------------
//
// A complete binary tree over the runs: leaf 'leaves' + i stands for run i, every inner node for
// the winner of its two children: the run with the smaller current entry, of equal entries the
// earlier run, and any run before an exhausted one (-1). The root (node 1) is the run whose entry
// comes next; after that run moved on, only the nodes on its path are played again.

int Match(int a, int b)
{
    if (a < 0 || b < 0)
        return a < 0 ? b : a;
    const int first = std::min(a, b), second = std::max(a, b);
    const SortState& s = g_Sort;
    if (!s.prefixes)
        return CompareEntries(s.heads[second], s.heads[first]) < 0 ? second : first;
    if (s.prefixes[second] != s.prefixes[first])
        return s.prefixes[second] < s.prefixes[first] ? second : first;
    return CompareByteEntries(s.heads[second], s.heads[first]) < 0 ? second : first;
}

bool BuildTournament()
{
    SortState& s = g_Sort;
    s.leaves = 1;
    while (s.leaves < s.runs)
        s.leaves *= 2;
    s.winners = new (std::nothrow) int[2 * (size_t)s.leaves];
    s.heads = new (std::nothrow) const char*[(size_t)s.runs];
    if (s.byteOrder)
        s.prefixes = new (std::nothrow) uint64_t[(size_t)s.runs];
    if (!s.winners || !s.heads || (s.byteOrder && !s.prefixes))
        return false;
    for (int i = 0; i < s.runs; ++i) {
        s.heads[i] = CurrentEntry(i);
        if (s.prefixes)
            s.prefixes[i] = s.heads[i] ? KeyPrefix(s.heads[i]) : 0;
    }
    for (int i = 0; i < s.leaves; ++i)
        s.winners[s.leaves + i] = i < s.runs && s.heads[i] ? i : -1;
    for (int node = s.leaves - 1; node >= 1; --node)
        s.winners[node] = Match(s.winners[2 * node], s.winners[2 * node + 1]);
    return true;
}

void Replay(int run)
{
    SortState& s = g_Sort;
    int node = s.leaves + run;
    s.heads[run] = CurrentEntry(run);
    if (s.prefixes && s.heads[run])
        s.prefixes[run] = KeyPrefix(s.heads[run]);
    s.winners[node] = s.heads[run] ? run : -1;
    for (node /= 2; node >= 1; node /= 2)
        s.winners[node] = Match(s.winners[2 * node], s.winners[2 * node + 1]);
}

void Fail(unsigned error)
{
    if (error)
        _db_raise_error(error);
    g_Sort.phase = Phase::Failed;
}

} // namespace

BOOL _SORTINIT(int32_t count, int keySize, int extraSize)
{
    _SORTDONE();
    SortState& s = g_Sort;
    if (count < 0 || keySize < 1 || extraSize < 0 || keySize > kRunLimit - extraSize) {
        _db_raise_error(DBE_MEMORY);
        return FALSE;
    }
    s.keySize = keySize;
    s.extraSize = extraSize;
    s.entrySize = keySize + extraSize;
    s.count = count;
    s.remaining = count;
    s.collation = _db_collation_of(g_Job ? g_Job->currentArea : nullptr);
    s.byteOrder = s.collation.sortOrder != DB_SORT_GERMAN_REPLACE && s.collation.sortOrder != DB_SORT_GERMAN_TABLE &&
                  s.collation.sortOrder != DB_SORT_GERMAN_ALTERNATE;
    s.keyCopies = new (std::nothrow) char[2 * ((size_t)keySize + 1)]();
    if (!s.keyCopies) {
        _SORTDONE();
        _db_raise_error(DBE_MEMORY);
        return FALSE;
    }

    const int placesLessOne = kRunLimit / s.entrySize - 1;
    int k = count >= 1 && placesLessOne > 0 ? (int)std::min<int64_t>((count - 1) / placesLessOne, kMaxRuns + 1) : 0;
    if (k < 1)
        k = 1;
    const bool tryAlloc = GetPrivateProfileIntA("Tabstor", "ReindexTryAlloc", 1, g_Profile) != 0;
    const UINT allocFlags = GetPrivateProfileIntA("Tabstor", "ReindexAllocFlags", 0, g_Profile);
    for (; k <= kMaxRuns; ++k) {
        const Try result = TryRuns(k, tryAlloc, allocFlags);
        if (result == Try::Success) {
            // Without room for the entry list, byte order sorts with qsort as well.
            if (s.byteOrder) {
                s.order = new (std::nothrow) SortState::Item[(size_t)s.perRun + 1];
                s.sorted = new (std::nothrow) char[(size_t)s.runBytes];
                if (!s.order || !s.sorted) {
                    delete[] s.order;
                    delete[] s.sorted;
                    s.order = nullptr;
                    s.sorted = nullptr;
                }
            }
            s.phase = Phase::Filling;
            return TRUE;
        }
        if (result == Try::NoMemory)
            break;
    }
    _SORTDONE();
    _db_raise_error(DBE_MEMORY);
    return FALSE;
}

BOOL _SORTADD(const void* key, const void* extra)
{
    SortState& s = g_Sort;
    if (s.phase != Phase::Filling || !key || (!extra && s.extraSize > 0)) {
        _db_warn("_SORTADD(): no sort is filling, or no entry");
        return FALSE;
    }
    if (s.added >= s.count) {
        _db_raise_error(DBE_SORT_OVERFLOW);
        _SORTDONE();
        return FALSE;
    }
    if (s.currentRun < 0 || s.inRun >= s.perRun) {
        if (s.currentRun >= 0 && !FlushRun()) {
            _db_raise_error(DBE_WRITE_RECORD);
            _SORTDONE();
            return FALSE;
        }
        ++s.currentRun;
        s.runBase = s.fileMode ? s.runBuffer : s.blocks[s.currentRun].base;
        s.inRun = 0;
    }
    char* place = s.runBase + (size_t)s.inRun * (size_t)s.entrySize;
    std::memcpy(place, key, (size_t)s.keySize);
    if (s.extraSize > 0)
        std::memcpy(place + s.keySize, extra, (size_t)s.extraSize);
    ++s.inRun;
    ++s.added;
    return TRUE;
}

BOOL _SORTNEXT(void* out, bool* end)
{
    SortState& s = g_Sort;
    if (end)
        *end = false;
    if (out)
        *(char*)out = 0;
    if (s.phase == Phase::Failed)
        return FALSE;
    if (s.remaining <= 0) {
        if (end)
            *end = true;
        return TRUE;
    }
    --s.remaining;
    if (s.phase == Phase::Filling) {
        s.phase = Phase::Draining;
        if (s.currentRun >= 0 && !FlushRun()) {
            Fail(DBE_WRITE_RECORD);
            return FALSE;
        }
        if (s.fileMode && !PrimeReaders()) {
            Fail(DBE_READ_RECORD);
            return FALSE;
        }
        if (!BuildTournament()) {
            Fail(DBE_MEMORY);
            return FALSE;
        }
    }

    const int run = s.winners[1];
    if (run < 0) {
        Fail(0);
        return FALSE;
    }
    if (out)
        std::memcpy(out, s.heads[run], (size_t)s.entrySize);
    if (!AdvanceRun(run)) {
        Fail(DBE_READ_RECORD);
        return FALSE;
    }
    Replay(run);
    return TRUE;
}

void _SORTDONE()
{
    SortState& s = g_Sort;
    FreeBlocks();
    FreeFileMode();
    delete[] s.keyCopies;
    delete[] s.order;
    delete[] s.sorted;
    delete[] s.winners;
    delete[] s.heads;
    delete[] s.prefixes;
    s = SortState();
}

void _sort_profile_file(const char* path)
{
    const char* name = path && *path ? path : kDefaultProfile;
    std::strncpy(g_Profile, name, sizeof g_Profile - 1);
    g_Profile[sizeof g_Profile - 1] = 0;
}

s_SortLayout _sort_layout()
{
    s_SortLayout layout;
    if (g_Sort.phase == Phase::Idle)
        return layout;
    layout.runs = g_Sort.runs;
    layout.perRun = g_Sort.perRun;
    layout.fileMode = g_Sort.fileMode;
    return layout;
}
