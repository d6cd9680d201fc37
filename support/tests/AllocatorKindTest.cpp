// The process allocator of a program that links the library's allocator: the kind the registry of
// the prefix chose (OX_ALLOCATOR_KIND names the expected kind; unset: the default 2), a block made
// before the allocator started, and a block released after it ended.
#include <gtest/gtest.h>

#include <cstdlib>

#include "StaticInit.h"
#include "clsGlobalInitObject.h"
#include "clsGlobalMemoryPerThread.h"
#include "clsPageHeap.h"

namespace {

// Made before the allocator (the support library's start-up priority) and destroyed after it.
struct EarlyObject {
    EarlyObject() : early(new char[40]) {}
    ~EarlyObject() { delete[] late; }
    char* early;
    char* late = nullptr;
};

VL_INIT_SUPPORT EarlyObject s_early;

DWORD ExpectedKind()
{
    const char* value = std::getenv("OX_ALLOCATOR_KIND");
    return value && *value ? (DWORD)std::atoi(value) : 2;
}

} // namespace

TEST(ProcessAllocator, TheRegistryChoseTheKind)
{
    clsGlobalInitObject* allocator = clsGlobalInitObject::Process();
    ASSERT_NE(nullptr, allocator);
    const DWORD kind = ExpectedKind();
    EXPECT_EQ(kind, allocator->Kind());

    char* block = new char[100];
    switch (kind) {
    case 1:
        EXPECT_EQ(clsGlobalMemoryPerThread::kMagicPooled, (reinterpret_cast<const PoolBlockHeader*>(block) - 1)->magic);
        break;
    case 2:
        EXPECT_EQ(112u, clsPageHeap::PageOf(block)->objectSize);
        break;
    default:
        EXPECT_TRUE(clsGlobalInitObject::IsCrtBlock(block));
        break;
    }
    delete[] block;
}

TEST(ProcessAllocator, BlocksFromBeforeTheStartAndAfterTheEndGoToTheirOwnKind)
{
    ASSERT_TRUE(clsGlobalInitObject::IsCrtBlock(s_early.early)) << "made by the run-time heap before the allocator";
    delete[] s_early.early; // released by the run-time heap whatever kind serves now
    s_early.early = nullptr;
    // Released after the allocator ended (the program's end fails if that goes wrong).
    s_early.late = new char[64];
    EXPECT_EQ(ExpectedKind() == 1 || ExpectedKind() == 2, !clsGlobalInitObject::IsCrtBlock(s_early.late));
}
