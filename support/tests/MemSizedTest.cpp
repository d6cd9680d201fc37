// Size-prefixed blocks: the stored size, zeroed blocks, growing, NULL, and a failing allocation
// underneath (this program's nothrow operator new[] fails on request).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "MemSized.h"

namespace {

int s_failNextNew = 0;

} // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    if (s_failNextNew > 0) {
        --s_failNextNew;
        return nullptr;
    }
    return std::malloc(size ? size : 1);
}

TEST(MemSized, TheSizeStandsInFrontOfAnAlignedBlock)
{
    for (uint32_t n : {0u, 1u, 10u, 4000u, 70000u}) {
        SCOPED_TRACE(n);
        char* p = static_cast<char*>(MemAllocSized(n));
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(0u, (uintptr_t)p % 16);
        EXPECT_EQ(n, MemSizeOfSized(p));
        uint32_t stored;
        std::memcpy(&stored, p - 4, 4);
        EXPECT_EQ(n, stored);
        std::memset(p, 'x', n);
        MemFreeSized(p);
    }
    EXPECT_EQ(0u, MemSizeOfSized(nullptr));
    MemFreeSized(nullptr);
}

TEST(MemSized, ZeroedBlocksHoldZeros)
{
    char* p = static_cast<char*>(MemAllocSizedZero(300));
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(std::string(300, '\0'), std::string(p, 300));
    MemFreeSized(p);
}

TEST(MemSized, GrowKeepsLargeEnoughBlocksAndCopiesIntoNewOnes)
{
    char* p = static_cast<char*>(MemGrowSized(nullptr, 10));
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(10u, MemSizeOfSized(p));
    EXPECT_EQ(0, p[0]) << "a new block starts empty";
    EXPECT_EQ(p, MemGrowSized(p, 10));
    EXPECT_EQ(p, MemGrowSized(p, 3)) << "never shrinks";
    std::memcpy(p, "0123456789", 10);
    char* q = static_cast<char*>(MemGrowSized(p, 100));
    ASSERT_NE(nullptr, q);
    EXPECT_EQ(100u, MemSizeOfSized(q));
    EXPECT_EQ("0123456789", std::string(q, 10));
    MemFreeSized(q);

    char* empty = static_cast<char*>(MemAllocSized(0));
    char* grown = static_cast<char*>(MemGrowSized(empty, 5));
    ASSERT_NE(nullptr, grown);
    EXPECT_EQ(0, grown[0]);
    MemFreeSized(grown);
    EXPECT_EQ(nullptr, MemGrowSized(nullptr, 0)) << "NULL already holds 0 bytes";
}

TEST(MemSized, AFailedAllocationAnswersNullAndKeepsTheOldBlock)
{
    s_failNextNew = 1;
    EXPECT_EQ(nullptr, MemAllocSized(64));
    s_failNextNew = 1;
    EXPECT_EQ(nullptr, MemAllocSizedZero(64));

    char* p = static_cast<char*>(MemAllocSized(4));
    std::memcpy(p, "abcd", 4);
    s_failNextNew = 1;
    EXPECT_EQ(nullptr, MemGrowSized(p, 1000));
    EXPECT_EQ(4u, MemSizeOfSized(p));
    EXPECT_EQ("abcd", std::string(p, 4));
    MemFreeSized(p);
}
