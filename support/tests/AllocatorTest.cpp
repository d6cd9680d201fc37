// The allocator kinds: where blocks of each size land, reuse and return of pages and pool pages,
// chains of full size classes, release by the kind that made a block, foreign pointers, the
// registry value, exhausted memory and many threads at once. Each test makes allocators of its
// own (the program has no process allocator).
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "AllocatorAssert.h"
#include "ChannelLines.h"
#include "CtlLog.h"
#include "DebugCapture.h"
#include "LibHeap.h"
#include "clsGlobalInitObject.h"
#include "clsGlobalMemory.h"
#include "clsGlobalMemoryPerThread.h"
#include "clsMemPage.h"
#include "clsPageHeap.h"

namespace {

bool Aligned16(const void* p) { return ((uintptr_t)p & 15) == 0; }

const PoolBlockHeader* HeaderOf(const void* p) { return static_cast<const PoolBlockHeader*>(p) - 1; }

const clsMemPage* PoolPageOf(const void* p) { return clsMemPage::OwnerOf(HeaderOf(p)); }

// The run-time heap is intact (a release of one of our blocks into it would break it).
bool CrtHeapValid() { return HeapValidate((HANDLE)_get_heap_handle(), 0, nullptr) != FALSE; }

// Replaces the library heap by one of a fixed size for the length of a test.
class SmallLibraryHeap {
public:
    explicit SmallLibraryHeap(size_t size)
    {
        LibHeapDestroy();
        LibHeapCreate(size);
    }
    ~SmallLibraryHeap()
    {
        LibHeapDestroy();
        LibHeapCreate();
    }
};

bool AnyLineContains(const std::vector<std::string>& lines, const std::string& text)
{
    return !oxtest::LinesContaining(lines, text).empty();
}

// Pages, chunks and pools come from the library heap, which the library's entry point would make.
const bool s_heapMade = LibHeapCreate();

} // namespace

// ---- page heap (kind 2) ---------------------------------------------------------------------------

TEST(clsPageHeap, EachSizeLandsInItsBucketOrInALargeBlock)
{
    struct Case {
        size_t request;
        size_t rounded;
        bool large;
    };
    const Case cases[] = {
        {0, 16, false},     {1, 16, false},      {16, 16, false},    {17, 32, false},
        {4032, 4032, false}, {4033, 4048, true},  {4048, 4048, true}, {100000, 100000, true},
    };
    clsPageHeap heap;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        void* p = heap.Allocate(c.request);
        ASSERT_NE(nullptr, p);
        EXPECT_TRUE(Aligned16(p));
        EXPECT_EQ(c.large, clsPageHeap::IsLargeBlock(p));
        const clsPageHeap::PageHeader* page = clsPageHeap::PageOf(p);
        if (c.large) {
            EXPECT_EQ(0u, page->objectSize);
            EXPECT_EQ(c.rounded + 4144, HeapSize(LibHeapHandle(), 0, page->bump)) << "whole allocation";
            std::memset(p, 0xAB, c.request);
            clsPageHeap::ReleaseLarge(p);
        } else {
            EXPECT_EQ(c.rounded, page->objectSize);
            EXPECT_EQ(0u, ((uintptr_t)p - (uintptr_t)page - clsPageHeap::kHeaderSize) % c.rounded);
            std::memset(p, 0xAB, c.request);
            EXPECT_TRUE(heap.ReleaseSmall(p));
        }
    }
}

TEST(clsPageHeap, BlocksAbove32MBComeFromVirtualMemory)
{
    void* p = clsPageHeap().Allocate(0x2000001);
    ASSERT_NE(nullptr, p);
    EXPECT_TRUE(clsPageHeap::IsLargeBlock(p));
    EXPECT_EQ(0xFFFFFFFFu, clsPageHeap::PageOf(p)->objectSize);
    void* start = clsPageHeap::PageOf(p)->bump;
    clsPageHeap::ReleaseLarge(p);
    MEMORY_BASIC_INFORMATION info;
    ASSERT_EQ(sizeof info, VirtualQuery(start, &info, sizeof info));
    EXPECT_EQ((DWORD)MEM_FREE, info.State);
}

TEST(clsPageHeap, SizesNearTheLargestAreRefused)
{
    const size_t most = (size_t)-1;
    clsPageHeap heap;
    // Sizes whose block with its header page would need more than the address width counts, and
    // one that merely cannot be had: NULL for each, never a small block.
    for (size_t size : {most, most - 15, most - 16, most - 4096, most - 4096 - 47, most - 4096 - 48 - 16, most / 2}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(nullptr, heap.Allocate(size));
    }
    // Every allocator kind answers NULL as well.
    for (DWORD kind : {1u, 2u, 3u}) {
        SCOPED_TRACE(kind);
        clsGlobalInitObject allocator(kind, 1);
        for (size_t size : {most, most - 4096, most - 4096 - 48 - 16})
            EXPECT_EQ(nullptr, allocator.Allocate(size)) << size;
    }
}

TEST(clsPageHeap, ReleasedObjectsAndPagesAreUsedAgain)
{
    clsPageHeap heap;
    // 4,048 / 64 = 63 objects fill a page.
    std::vector<void*> first;
    for (int i = 0; i < 63; ++i)
        first.push_back(heap.Allocate(64));
    const clsPageHeap::PageHeader* page = clsPageHeap::PageOf(first[0]);
    for (void* p : first)
        EXPECT_EQ(page, clsPageHeap::PageOf(p));
    size_t freePages = heap.FreePageCount();

    void* second = heap.Allocate(64); // the full page left its bucket: a new page
    EXPECT_NE(page, clsPageHeap::PageOf(second));
    EXPECT_EQ(freePages - 1, heap.FreePageCount());

    // A released object of the full page brings the page back to the bucket's end, where the next
    // request is served.
    ASSERT_TRUE(heap.ReleaseSmall(first[10]));
    EXPECT_EQ(first[10], heap.Allocate(64));

    // A page whose last object goes back returns to the free pages.
    ASSERT_TRUE(heap.ReleaseSmall(second));
    EXPECT_EQ(freePages, heap.FreePageCount());
    for (void* p : first)
        ASSERT_TRUE(heap.ReleaseSmall(p));
    EXPECT_EQ(freePages + 1, heap.FreePageCount());
    EXPECT_EQ(1u, heap.ChunkCount());
}

TEST(clsPageHeap, ReleaseTellsItsObjectsFromOtherPointers)
{
    clsPageHeap heap;
    void* object = heap.Allocate(32);
    void* other = heap.Allocate(32);
    char* foreign = static_cast<char*>(std::malloc(64));
    EXPECT_FALSE(heap.ReleaseSmall(foreign)) << "not in a chunk";
    // Inside a chunk but no object start: ignored, the page keeps its count.
    uint32_t used = clsPageHeap::PageOf(object)->used;
    EXPECT_TRUE(heap.ReleaseSmall(static_cast<char*>(object) + 8));
    EXPECT_EQ(used, clsPageHeap::PageOf(object)->used);
    EXPECT_TRUE(heap.ReleaseSmall(object));
    EXPECT_TRUE(heap.ReleaseSmall(other));
    std::free(foreign);

    // After the chunks went back, a release of one of their objects does nothing.
    void* late = heap.Allocate(48);
    heap.Shutdown();
    EXPECT_TRUE(heap.ReleaseSmall(late));
    EXPECT_EQ(0u, heap.ChunkCount());
    EXPECT_EQ(nullptr, heap.Allocate(48));
}

TEST(clsPageHeap, ExhaustedLibraryHeapAnswersNull)
{
    oxtest::CtlLog boxes;
    SmallLibraryHeap small(3 * 1024 * 1024);
    clsPageHeap heap;
    std::vector<void*> large;
    void* p;
    while (large.size() < 100000 && (p = heap.Allocate(10000)) != nullptr)
        large.push_back(p);
    EXPECT_LT(large.size(), 100000u) << "large blocks end with NULL";
    EXPECT_EQ(nullptr, heap.Allocate(100)) << "no room for a chunk of pages either";
    EXPECT_FALSE(boxes.Records("MessageBox").empty()) << "the library heap's error box";
    for (void* b : large)
        clsPageHeap::ReleaseLarge(b);
    EXPECT_NE(nullptr, heap.Allocate(10000)) << "released memory serves again";
}

// ---- pools (kind 1) -------------------------------------------------------------------------------

TEST(clsGlobalMemoryPerThread, SizeClassesAreFoundByArithmetic)
{
    struct Case {
        size_t s;
        int index;
        uint32_t classSize;
    };
    const Case cases[] = {
        {8, 1, 16}, {15, 1, 16}, {16, 2, 24}, {511, 63, 512}, {512, 64, 1024}, {1023, 64, 1024},
        {1024, 65, 1536}, {32767, 126, 32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.s);
        EXPECT_EQ(c.index, clsGlobalMemoryPerThread::ClassOf(c.s));
        EXPECT_EQ(c.classSize, clsGlobalMemoryPerThread::ClassSize(c.index));
        EXPECT_GT(c.classSize, c.s);
    }
}

TEST(clsGlobalMemory, BlocksCarryTheirHeaderAndAreAligned)
{
    struct Case {
        size_t request;
        uint32_t magic;
        int sizeClass; // pooled blocks
    };
    const Case cases[] = {
        {0, clsGlobalMemoryPerThread::kMagicPooled, 4},
        {100, clsGlobalMemoryPerThread::kMagicPooled, 16},
        {32735, clsGlobalMemoryPerThread::kMagicPooled, 126}, // the largest pooled request
        {32736, clsGlobalMemoryPerThread::kMagicHeap, -1},
        {0x2000000, clsGlobalMemoryPerThread::kMagicVirtual, -1},
    };
    clsGlobalMemory memory(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request);
        char* p = static_cast<char*>(memory.GetObject(c.request));
        ASSERT_NE(nullptr, p);
        EXPECT_TRUE(Aligned16(p));
        const PoolBlockHeader* header = HeaderOf(p);
        EXPECT_EQ(c.magic, header->magic);
        EXPECT_EQ(c.request + 32, header->size);
        EXPECT_TRUE(memory.IsPool((uintptr_t)header->pool));
        if (c.sizeClass >= 0) {
            EXPECT_EQ(c.sizeClass, clsGlobalMemoryPerThread::ClassOf(header->size));
            EXPECT_EQ(&header->pool->Class(c.sizeClass), header->collection);
        }
        std::memset(p, 0xCD, c.request);
        EXPECT_TRUE(memory.ReleaseObject(p));
    }
}

TEST(clsGlobalMemory, NeighboursSurviveWritesToTheWholeBlock)
{
    clsGlobalMemory memory(1);
    std::vector<char*> blocks;
    for (int i = 0; i < 50; ++i) {
        char* p = static_cast<char*>(memory.GetObject(40));
        std::memset(p, i, 40);
        blocks.push_back(p);
    }
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(clsGlobalMemoryPerThread::kMagicPooled, HeaderOf(blocks[i])->magic);
        EXPECT_EQ(std::string(40, (char)i), std::string(blocks[i], 40));
    }
    for (char* p : blocks)
        EXPECT_TRUE(memory.ReleaseObject(p));
}

TEST(clsMemPageCollection, FullSlotsContinueInAChainAndReleasesComeBack)
{
    // Requests of 32,500 bytes live in the 32,768-byte class, one object per page.
    clsGlobalMemory memory(1);
    const clsMemPageCollection& collection = memory.Pool(0)->Class(126);
    std::vector<void*> blocks;
    for (int i = 0; i < 14; ++i)
        blocks.push_back(memory.GetObject(32500));
    EXPECT_EQ(14, collection.PageCount());
    EXPECT_EQ(nullptr, collection.Chain());

    void* chained = memory.GetObject(32500);
    ASSERT_NE(nullptr, chained);
    ASSERT_NE(nullptr, collection.Chain());
    EXPECT_EQ(collection.Chain(), HeaderOf(chained)->collection);
    EXPECT_EQ(-2, collection.Current()) << "exhausted: requests go to the chain";

    // A release into one of its own pages makes the collection serve again; the emptied page is
    // kept and handed out next.
    EXPECT_TRUE(memory.ReleaseObject(blocks[3]));
    EXPECT_EQ(3, collection.Kept());
    void* again = memory.GetObject(32500);
    EXPECT_EQ(blocks[3], again);
    EXPECT_EQ(-1, collection.Kept());
    blocks[3] = again;

    EXPECT_TRUE(memory.ReleaseObject(chained));
    for (void* p : blocks)
        EXPECT_TRUE(memory.ReleaseObject(p));
    EXPECT_EQ(1, collection.PageCount()) << "only the kept empty page stays";
}

TEST(clsMemPageCollection, ASecondReleaseShowsTheAssertionAndChangesNothing)
{
    oxtest::CtlLog boxes;
    boxes.SetAnswers("IDIGNORE");
    clsGlobalMemory memory(1);
    void* a = memory.GetObject(64);
    void* b = memory.GetObject(64);
    const clsMemPage* page = PoolPageOf(a);
    ASSERT_EQ(page, PoolPageOf(b));
    ASSERT_TRUE(memory.ReleaseObject(a));
    uint32_t used = page->Used();
    memory.ReleaseObject(a);
    EXPECT_EQ(used, page->Used());
    auto shown = boxes.Records("MessageBox");
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(0u, shown[0][1].find("file '\\dev\\h\\qivalloc', line ")) << shown[0][1];
    EXPECT_EQ("Assertion _nNextFreeObject[nFreeObject] == 0 failed\\n(Retry to break)", shown[0][2]);
    EXPECT_EQ("0x12012", shown[0][3]);
    // The free list is intact: the next two requests are two different objects.
    void* c = memory.GetObject(64);
    void* d = memory.GetObject(64);
    EXPECT_NE(c, d);
    for (void* p : {b, c, d})
        EXPECT_TRUE(memory.ReleaseObject(p));
}

TEST(clsGlobalMemory, ExhaustedPoolsAnswerNullInsteadOfLooping)
{
    oxtest::CtlLog boxes;
    SmallLibraryHeap small(2 * 1024 * 1024);
    clsGlobalMemory memory(2);
    ASSERT_NE(nullptr, memory.Pool(0));
    ASSERT_NE(nullptr, memory.Pool(1));
    std::vector<void*> blocks;
    void* p;
    while (blocks.size() < 100000 && (p = memory.GetObject(3000)) != nullptr)
        blocks.push_back(p);
    EXPECT_LT(blocks.size(), 100000u) << "the request that finds no memory in any pool answers NULL";
    ASSERT_FALSE(blocks.empty());
    EXPECT_TRUE(memory.ReleaseObject(blocks.back()));
    blocks.pop_back();
    p = memory.GetObject(3000);
    EXPECT_NE(nullptr, p) << "a released object serves again";
    if (p)
        blocks.push_back(p);
    for (void* b : blocks)
        EXPECT_TRUE(memory.ReleaseObject(b));
}

// ---- the allocator object -------------------------------------------------------------------------

TEST(clsGlobalInitObject, ABlockIsReleasedByTheKindThatMadeItWhateverKindServes)
{
    for (DWORD kind : {1u, 2u, 3u}) {
        SCOPED_TRACE(kind);
        clsGlobalInitObject allocator(kind, 1);
        void* crt = clsGlobalInitObject::CrtAllocate(200);
        void* small = allocator.PageHeap().Allocate(200);
        void* large = allocator.PageHeap().Allocate(20000);
        void* pooled = allocator.Memory().GetObject(200);
        void* served = allocator.Allocate(200);
        const clsPageHeap::PageHeader* page = clsPageHeap::PageOf(small);
        const clsMemPage* poolPage = PoolPageOf(pooled);
        uint32_t pageUsed = page->used, poolUsed = poolPage->Used();

        EXPECT_TRUE(allocator.Free(crt));
        EXPECT_TRUE(CrtHeapValid());
        EXPECT_TRUE(allocator.Free(small));
        EXPECT_EQ(pageUsed - 1, page->used);
        EXPECT_TRUE(allocator.Free(large));
        EXPECT_TRUE(allocator.Free(pooled));
        EXPECT_EQ(poolUsed - 1, poolPage->Used());
        EXPECT_TRUE(allocator.Free(served));
        EXPECT_TRUE(CrtHeapValid());
        EXPECT_FALSE(allocator.Free(nullptr));
    }
}

TEST(clsGlobalInitObject, EveryBlockIsAlignedUnderEveryKind)
{
    std::mt19937 random(29);
    for (DWORD kind : {1u, 2u, 3u}) {
        SCOPED_TRACE(kind);
        clsGlobalInitObject allocator(kind, 2);
        std::vector<std::pair<char*, size_t>> blocks;
        for (int i = 0; i < 3000; ++i) {
            size_t size = i % 50 == 0 ? random() % 70000 : random() % 600;
            char* p = static_cast<char*>(allocator.Allocate(size));
            ASSERT_NE(nullptr, p);
            ASSERT_TRUE(Aligned16(p)) << size;
            std::memset(p, (int)(i & 0x7F), size);
            blocks.emplace_back(p, size);
        }
        for (size_t i = 0; i < blocks.size(); ++i) {
            ASSERT_EQ(std::string(blocks[i].second, (char)(i & 0x7F)), std::string(blocks[i].first, blocks[i].second));
            ASSERT_TRUE(allocator.Free(blocks[i].first));
        }
    }
}

TEST(clsGlobalInitObject, ForeignPointersGetAWarningAndAreLeftAlone)
{
    supporttest::TakeDebugLines();
    clsGlobalInitObject allocator(1, 1);

    // A block whose front says nothing known.
    alignas(16) uintptr_t buffer[8] = {1, 2, 3, 4, 0x1234, 6, 7, 8};
    uintptr_t copy[8];
    std::memcpy(copy, buffer, sizeof buffer);
    EXPECT_FALSE(allocator.Free(&buffer[6]));
    EXPECT_EQ(0, std::memcmp(copy, buffer, sizeof buffer));
    auto lines = supporttest::TakeDebugLines();
    EXPECT_TRUE(AnyLineContains(lines, "clsGlobalMemoryPerThread::ReleaseObject(0x")) << lines.size();
    EXPECT_TRUE(AnyLineContains(lines, "): object not allocated by me!"));
    EXPECT_TRUE(AnyLineContains(lines, " traces")) << "a stack trace follows";

    // Nothing at all in front of it.
    buffer[4] = 0;
    EXPECT_FALSE(allocator.Free(&buffer[5]));
    EXPECT_TRUE(AnyLineContains(supporttest::TakeDebugLines(), "): object not from me!"));

    // A pool in front of it, but a magic that is none of the pool's.
    char* p = static_cast<char*>(allocator.Memory().GetObject(64));
    PoolBlockHeader* header = const_cast<PoolBlockHeader*>(HeaderOf(p));
    uint32_t magic = header->magic;
    header->magic = 0x12345678;
    EXPECT_FALSE(allocator.Free(p));
    lines = supporttest::TakeDebugLines();
    EXPECT_TRUE(AnyLineContains(lines, "object not allocated by me!"));
    EXPECT_TRUE(AnyLineContains(lines, " traces"));
    header->magic = magic;
    EXPECT_TRUE(allocator.Free(p));

    // The first bytes of a page whose front cannot be read.
    char* page = static_cast<char*>(VirtualAlloc(nullptr, 65536, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(nullptr, page);
    EXPECT_FALSE(allocator.Free(page));
    VirtualFree(page, 0, MEM_RELEASE);
}

TEST(clsGlobalInitObject, ReadsTheKindFromTheRegistry)
{
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data; // empty: no value
        DWORD kind;
    };
    const Case cases[] = {
        {"no value", REG_DWORD, {}, 2},
        {"pools", REG_DWORD, {1, 0, 0, 0}, 1},
        {"page heap", REG_DWORD, {2, 0, 0, 0}, 2},
        {"zero: run time", REG_DWORD, {0, 0, 0, 0}, 0},
        {"three: run time", REG_DWORD, {3, 0, 0, 0}, 3},
        {"any type counts", REG_BINARY, {1, 0, 0, 0}, 1},
        {"text bytes", REG_SZ, {'1', 0}, '1'},
        {"too long for 4 bytes", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0}, 2},
    };
    const char* root = "Software\\OXTest\\AllocatorKind";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteTreeA(HKEY_CURRENT_USER, root);
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, root, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        HKEY velmar;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key, "Software\\velmar", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &velmar, nullptr));
        if (!c.data.empty())
            RegSetValueExA(velmar, "Allocator", 0, c.type, c.data.data(), (DWORD)c.data.size());
        RegCloseKey(velmar);
        EXPECT_EQ(c.kind, clsGlobalInitObject::ReadKind(key));
        RegCloseKey(key);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, root);
    HKEY missing;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, root, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &missing, nullptr));
    EXPECT_EQ(2u, clsGlobalInitObject::ReadKind(missing)) << "no velmar key";
    RegCloseKey(missing);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OXTest\\AllocatorKind");
}

TEST(clsGlobalInitObject, ManyThreadsAllocateAndReleaseWithoutLeaksOrAssertions)
{
    oxtest::CtlLog boxes;
    supporttest::TakeDebugLines();
    for (DWORD kind : {1u, 2u}) {
        SCOPED_TRACE(kind);
        {
            clsGlobalInitObject allocator(kind, 4);
            std::vector<std::thread> threads;
            std::atomic<int> failures{0};
            for (int t = 0; t < 8; ++t)
                threads.emplace_back([&, t] {
                    std::mt19937 random(t);
                    std::vector<std::pair<unsigned char*, size_t>> live;
                    for (int i = 0; i < 40000; ++i) {
                        if (live.size() < 200 && (live.empty() || random() % 3 != 0)) {
                            size_t size = random() % 5 == 0 ? random() % 40000 : random() % 256;
                            unsigned char* p = static_cast<unsigned char*>(allocator.Allocate(size));
                            if (!p) {
                                ++failures;
                                continue;
                            }
                            if (size)
                                p[0] = p[size - 1] = (unsigned char)t;
                            live.emplace_back(p, size);
                        } else {
                            size_t at = random() % live.size();
                            auto [p, size] = live[at];
                            if (size && (p[0] != (unsigned char)t || p[size - 1] != (unsigned char)t))
                                ++failures;
                            if (!allocator.Free(p))
                                ++failures;
                            live[at] = live.back();
                            live.pop_back();
                        }
                    }
                    for (auto [p, size] : live)
                        if (!allocator.Free(p))
                            ++failures;
                });
            for (std::thread& t : threads)
                t.join();
            EXPECT_EQ(0, failures.load());
        }
        EXPECT_TRUE(oxtest::LinesContaining(supporttest::TakeDebugLines(), "objects still allocated").empty());
    }
    EXPECT_TRUE(boxes.Records("MessageBox").empty());
}

TEST(clsGlobalInitObject, LeftoverPoolObjectsAreReportedAtTheEnd)
{
    supporttest::TakeDebugLines();
    {
        clsGlobalInitObject allocator(1, 1);
        allocator.Allocate(100);
        allocator.Allocate(100);
    }
    auto lines = oxtest::LinesContaining(supporttest::TakeDebugLines(), "objects still allocated");
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::string::npos, lines[0].find(": 2 objects still allocated (size=")) << lines[0];
}

// ---- assertion box ----------------------------------------------------------------------------------

TEST(AllocatorAssert, ShowsTheBoxAndKeepsAWaitingQuit)
{
    oxtest::CtlLog boxes;
    boxes.SetAnswers("IDIGNORE");
    PostQuitMessage(17);
    AllocatorAssert(ALLOCATOR_SOURCE, 123, "Assertion _nUsedObjects > 0 failed");
    auto shown = boxes.Records("MessageBox");
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("file '\\dev\\h\\qivalloc', line 123", shown[0][1]);
    EXPECT_EQ("Assertion _nUsedObjects > 0 failed\\n(Retry to break)", shown[0][2]);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(17u, msg.wParam);
}
