// Start-up and shut-down order of the database library and the diagnostics of its attach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugCapture.h"
#include "TestKit.h"

TEST(LibraryStartup, InitialisersRunByPriorityInsideThePrivateHeap)
{
    oxtest::TempDir dir("startup");
    std::string log = dir.File("probe.log");
    SetEnvironmentVariableA("STARTUP_PROBE_LOG", log.c_str());
    HMODULE probe = LoadLibraryA("startup_probe.dll");
    ASSERT_NE(nullptr, probe);
    FreeLibrary(probe);
    SetEnvironmentVariableA("STARTUP_PROBE_LOG", nullptr);

    const std::vector<std::string> expected = {
        // priority 32 runs before the allocator object opened the channel; everything runs with
        // the library's heap in place
        "ctor support heap nochannel",
        "ctor allocator heap",
        "ctor objects heap channel",
        "engine attach heap channel",
        "engine detach heap channel",
        "dtor objects heap channel",
        "dtor allocator heap",
        "dtor support heap nochannel",
    };
    EXPECT_EQ(expected, oxtest::SplitLines(oxtest::ReadFileText(log)));
}

namespace {

std::vector<std::string> RunHost(const char* exe)
{
    oxtest::MailslotCapture capture;
    EXPECT_TRUE(capture.IsOpen());
    std::string cmd = oxtest::ProgramDir() + "\\" + exe;
    EXPECT_EQ(0, oxtest::RunProcess(cmd));
    return capture.Take();
}

} // namespace

TEST(LibraryStartup, HostStackReserveBelow64KGetsAWarning)
{
    auto at64k = oxtest::LinesContaining(RunHost("startup_host_0x10000.exe"), "reserved stack size");
    EXPECT_TRUE(at64k.empty()) << at64k.front();

    auto below = oxtest::LinesContaining(RunHost("startup_host_0xFFFF.exe"), "reserved stack size");
    ASSERT_EQ(1u, below.size());
    EXPECT_NE(std::string::npos, below[0].find("vlDB07:WRN: reserved stack size of app '")) << below[0];
    EXPECT_NE(std::string::npos, below[0].find("startup_host_0xFFFF.exe' is ffff bytes, which is possibly too low! "
                                               "If you observe strange crashes, try to increase this value."))
        << below[0];
}

TEST(LibraryStartup, RelocationHintNamesTheModuleInTheWay)
{
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    // The probe occupies the preferred base, so the database library must load elsewhere.
    HMODULE probe = LoadLibraryA("startup_probe.dll");
    ASSERT_EQ((HMODULE)0x2A800000, probe);
    HMODULE db = LoadLibraryA("vlDB07.dll");
    ASSERT_NE(nullptr, db);
    ASSERT_NE((HMODULE)0x2A800000, db);
    auto hints = oxtest::LinesContaining(capture.Take(), "HINT:");
    FreeLibrary(db);
    FreeLibrary(probe);
    ASSERT_EQ(1u, hints.size());
    char expected[200];
    snprintf(expected, sizeof expected, "vlDB07:HINT: vlDB07.dll has been relocated (loaded at: 0x%04x, default: 0x2a80).",
             (unsigned)(((uintptr_t)db >> 16) & 0xFFFF));
    EXPECT_EQ(0u, hints[0].find(expected)) << hints[0];
    EXPECT_NE(std::string::npos, hints[0].find(" (offending module is '")) << hints[0];
    EXPECT_NE(std::string::npos, hints[0].find("startup_probe.dll')")) << hints[0];
}

TEST(LibraryStartup, AtThePreferredBaseNoHint)
{
    auto hints = oxtest::LinesContaining(RunHost("startup_host_0x10000.exe"), "HINT:");
    EXPECT_TRUE(hints.empty());
}
