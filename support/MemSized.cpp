#include "MemSized.h"

#include <cstring>
#include <new>

namespace {

const size_t kPrefix = 16;

} // namespace

void* MemAllocSized(uint32_t n)
{
    char* block = static_cast<char*>(::operator new[](n + kPrefix, std::nothrow));
    if (!block)
        return nullptr;
    char* p = block + kPrefix;
    std::memcpy(p - sizeof(uint32_t), &n, sizeof n);
    return p;
}

void* MemAllocSizedZero(uint32_t n)
{
    void* p = MemAllocSized(n);
    if (p)
        std::memset(p, 0, n);
    return p;
}

void MemFreeSized(void* p)
{
    if (p)
        ::operator delete[](static_cast<char*>(p) - kPrefix);
}

uint32_t MemSizeOfSized(const void* p)
{
    if (!p)
        return 0;
    uint32_t n;
    std::memcpy(&n, static_cast<const char*>(p) - sizeof(uint32_t), sizeof n);
    return n;
}

void* MemGrowSized(void* p, uint32_t n)
{
    uint32_t old = MemSizeOfSized(p);
    if (old >= n)
        return p;
    char* grown = static_cast<char*>(MemAllocSized(n));
    if (!grown)
        return nullptr;
    if (old > 0)
        std::memcpy(grown, p, old);
    else if (n > 0)
        grown[0] = 0;
    MemFreeSized(p);
    return grown;
}
