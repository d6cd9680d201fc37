// Allocation speed of the allocator kinds: alloc/free pairs per second with 1 and 8 threads, each
// thread keeping 256 blocks of 16 to 512 bytes alive (every pair frees the oldest block and makes
// a new one; every 64th block is 1 to 16 KB), next to the run-time heap's malloc/free under the
// same load in the same run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "BenchClock.h"
#include "LibHeap.h"
#include "clsGlobalInitObject.h"

namespace {

const long kPairsPerThread = 2000000;
const int kLive = 256;

struct Heap {
    const char* name;
    void* (*allocate)(void* context, size_t size);
    void (*release)(void* context, void* p);
    void* context;
};

void* MallocAllocate(void*, size_t size) { return std::malloc(size); }
void MallocRelease(void*, void* p) { std::free(p); }
void* KindAllocate(void* context, size_t size) { return static_cast<clsGlobalInitObject*>(context)->Allocate(size); }
void KindRelease(void* context, void* p) { static_cast<clsGlobalInitObject*>(context)->Free(p); }

void Work(const Heap& heap, unsigned seed)
{
    void* live[kLive] = {};
    unsigned x = seed * 2654435761u + 1;
    for (long i = 0; i < kPairsPerThread; ++i) {
        x = x * 1103515245u + 12345u;
        size_t size = (i & 63) == 0 ? 1024 + (x >> 8) % 15360 : 16 + (x >> 8) % 497;
        int slot = (int)(i % kLive);
        if (live[slot])
            heap.release(heap.context, live[slot]);
        live[slot] = heap.allocate(heap.context, size);
        if (live[slot])
            static_cast<char*>(live[slot])[0] = 1;
    }
    for (void* p : live)
        if (p)
            heap.release(heap.context, p);
}

double PairsPerSecond(const Heap& heap, int threads)
{
    const double start = BenchNow();
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&heap, t] { Work(heap, (unsigned)t + 1); });
    for (std::thread& w : workers)
        w.join();
    return (double)kPairsPerThread * threads / (BenchNow() - start);
}

} // namespace

int main()
{
    LibHeapCreate();
    clsGlobalInitObject pools(1), pages(2), runTime(3);
    const Heap heaps[] = {
        {"run-time heap (malloc/free)", &MallocAllocate, &MallocRelease, nullptr},
        {"kind 1: pools", &KindAllocate, &KindRelease, &pools},
        {"kind 2: page heap", &KindAllocate, &KindRelease, &pages},
        {"kind 3: run-time heap with block tag", &KindAllocate, &KindRelease, &runTime},
    };
    std::printf("%u processors, %ld pairs per thread\n", (unsigned)std::thread::hardware_concurrency(), kPairsPerThread);
    for (int threads : {1, 8}) {
        double baseline = 0;
        for (const Heap& heap : heaps) {
            double rate = PairsPerSecond(heap, threads);
            if (!baseline)
                baseline = rate;
            std::printf("%d thread%s  %-38s %12.0f pairs/s  %5.2f x run-time heap\n", threads, threads > 1 ? "s" : " ",
                        heap.name, rate, rate / baseline);
        }
    }
    return 0;
}
