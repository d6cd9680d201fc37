// Run-time binding: the four name forms in order, unbound slots, failed loads.
#include <gtest/gtest.h>

#include "CLateLoadBase.h"
#include "SymTestKit.h"

TEST(CLateLoadBase, BindsTheFirstOfTheFourNameForms)
{
    CLateLoadBase loader("symbind.dll", true);
    ASSERT_NE(nullptr, loader.m_module);
    struct Case {
        const char* name;
        int bytes;
        int answer; // 0: not found
    };
    const Case cases[] = {
        {"Plain", 0, 1},          // plain name
        {"Decorated", 8, 2},      // _Decorated@8
        {"Ansi", 4, 3},           // AnsiA
        {"DecoratedAnsi", 12, 4}, // _DecoratedAnsiA@12
        {"Both", 0, 5},           // plain name before the A form
        {"Decorated", 12, 0},     // the byte count is part of the name
        {"Missing", 0, 0},
    };
    for (const Case& c : cases) {
        LateLoadSlot slot;
        auto f = loader.Get<int (*)()>(slot, c.name, c.bytes);
        EXPECT_EQ(c.answer ? 2 : 1, slot.state) << c.name;
        EXPECT_EQ(c.answer, f ? f() : 0) << c.name;
    }
}

TEST(CLateLoadBase, ANameNotFoundIsNotLookedUpAgain)
{
    CLateLoadBase loader("symbind.dll", true);
    LateLoadSlot slot;
    EXPECT_FALSE(loader.Bind(slot, "Missing", 0));
    EXPECT_EQ(1, slot.state);
    // Even a name that would be found now stays unbound once its slot says "not found".
    EXPECT_FALSE(loader.Bind(slot, "Plain", 0));
    EXPECT_EQ(nullptr, slot.function);
}

TEST(CLateLoadBase, AFailedLoadIsRecordedAndNotRepeated)
{
    oxtest::TempDir dir("sym");
    std::string path = dir.File("late.dll");
    CLateLoadBase loader(path.c_str(), true);
    EXPECT_EQ(nullptr, loader.m_module);
    EXPECT_NE(0u, loader.m_loadError);
    // The library appears afterwards: no second load, the slot stays "not yet bound".
    ASSERT_TRUE(CopyFileA((oxtest::ProgramDir() + "\\symbind.dll").c_str(), path.c_str(), FALSE));
    LateLoadSlot slot;
    EXPECT_FALSE(loader.Bind(slot, "Plain", 0));
    EXPECT_EQ(0, slot.state);
    EXPECT_EQ(nullptr, loader.m_module);
}

TEST(CLateLoadBase, LazyLoadAtFirstUseAndFreedAtTheEnd)
{
    ASSERT_EQ(nullptr, GetModuleHandleA("symbind.dll"));
    {
        CLateLoadBase loader("symbind.dll", false);
        EXPECT_EQ(nullptr, loader.m_module);
        LateLoadSlot slot;
        EXPECT_TRUE(loader.Bind(slot, "Plain", 0));
        EXPECT_NE(nullptr, GetModuleHandleA("symbind.dll"));
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("symbind.dll"));
}
