// The run-time platform the tests rely on: German locale code pages, a display, a temp folder.
#include <gtest/gtest.h>

#include "TestKit.h"

TEST(Platform, CodePagesAreGerman)
{
    EXPECT_EQ(1252u, GetACP());
    EXPECT_EQ(850u, GetOEMCP());
}

TEST(Platform, ExecutionCharsetIsCp1252)
{
    // The source is UTF-8; narrow literals must come out as single CP1252 bytes.
    const char* text = "ä";
    ASSERT_EQ(1u, strlen(text));
    EXPECT_EQ('\xE4', text[0]);
}

TEST(Platform, TempDirIsPrivateAndRemoved)
{
    std::string path;
    {
        oxtest::TempDir dir("plat");
        path = dir.Path();
        ASSERT_TRUE(oxtest::WriteFileText(dir.File("a.txt"), "abc"));
        EXPECT_EQ("abc", oxtest::ReadFileText(dir.File("a.txt")));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

TEST(Platform, WindowCanBeCreatedOnTheDisplay)
{
    HWND h = CreateWindowExA(0, "STATIC", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, h);
    ShowWindow(h, SW_SHOW);
    oxtest::PumpMessages();
    EXPECT_TRUE(IsWindowVisible(h));
    DestroyWindow(h);
}
