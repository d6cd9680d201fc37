// End to end under Wine: a fault three calls deep inside the engine's db_skip (in the chain DLL's
// position callback) writes a full crash report into the crash log: the module list with 64-bit
// bases, the symbolic stack naming ChainInner, ChainMiddle and ChainOuter with their source file
// and line, and a minidump whose exception, threads and modules a small reader checks against the
// report. Once for the database library and the chain built with debug information (dbghelp
// reads them), once for their stripped forms with .sym files beside them (the own readers). Each
// case takes a minute or more under load, so CTest runs them as two tests (one filter each). A
// stack overflow inside the engine call is reported as well (with debug information): by a helper
// thread, for the overflowing thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "MiniDumpFile.h"
#include "TestKit.h"
#include "clsGPFProtection.h"

namespace {

// The crash handler's switch for a full report, below HKEY_CURRENT_USER\SOFTWARE\velmar.
class FullReports {
public:
    FullReports() { Set("T"); }
    ~FullReports() { Set(nullptr); }

private:
    static void Set(const char* value)
    {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\velmar", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (value)
            RegSetValueExA(key, "GenerateFullGPFInfo", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), 2);
        else
            RegDeleteValueA(key, "GenerateFullGPFInfo");
        RegCloseKey(key);
    }
};

// The texts of the report's lines ("<date>, <time> vlDB07.dll <text>").
std::vector<std::string> ReportTexts(const std::string& log)
{
    std::vector<std::string> texts;
    const std::string marker = " vlDB07.dll ";
    for (const std::string& line : oxtest::SplitLines(log)) {
        size_t at = line.find(marker);
        if (line.size() > 24 && line[4] == '-' && line[10] == ',' && at == 24)
            texts.push_back(line.substr(24 + marker.size()));
        else
            texts.push_back(line); // a continuation of the result text
    }
    return texts;
}

size_t IndexOf(const std::vector<std::string>& lines, const std::string& start, size_t from = 0)
{
    for (size_t i = from; i < lines.size(); i++)
        if (lines[i].compare(0, start.size(), start) == 0)
            return i;
    return std::string::npos;
}

// The frame line of a function: "[0x<address>] <module>!<function> + ..." (dbghelp may give the
// module's name in another case).
size_t FrameOf(const std::vector<std::string>& lines, const std::string& module, const std::string& function, size_t from)
{
    const std::string start = "] " + module + "!" + function + " + ";
    for (size_t i = from; i < lines.size(); i++)
        if (lines[i].compare(0, 3, "[0x") == 0 && lines[i].size() > 19 + start.size() &&
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, lines[i].c_str() + 19, (int)start.size(), start.c_str(),
                           (int)start.size()) == CSTR_EQUAL)
            return i;
    return std::string::npos;
}

uint64_t Hex(const std::string& text) { return std::strtoull(text.c_str(), nullptr, 16); }

struct Case {
    std::string library;
    std::string chain;
    const char* chainModule;
};

// Runs the host with the case's library and chain and checks the report it leaves.
void CheckReport(const Case& c)
{
    const std::string bin = oxtest::ProgramDir();

    // The lines the trace must name, from the chain built with debug information.
    HMODULE chain = LoadLibraryA((bin + "\\symchain.dll").c_str());
    ASSERT_NE(nullptr, chain);
    auto lineOf = reinterpret_cast<int (*)(int)>(GetProcAddress(chain, "ChainLineOf"));
    const int lines[3] = {lineOf(0), lineOf(1), lineOf(2)};
    FreeLibrary(chain);

    FullReports full;
    oxtest::TempDir dir("crash");
    const std::string logPath = GetCrashLogPath();
    const size_t before = oxtest::ReadFileText(logPath).size();
    int code = oxtest::RunProcess("\"" + bin + "\\symcrash_host.exe\" \"" + c.library + "\" \"" + c.chain + "\" \"" +
                                      dir.Path() + "\"",
                                  180000);
    ASSERT_EQ(42, code) << "the fault reached the program's handler after the report";
    std::string log = oxtest::ReadFileText(logPath);
    ASSERT_GT(log.size(), before);
    const std::vector<std::string> report = ReportTexts(log.substr(before));

    // The module list: 16-digit bases, the library and the chain among the modules.
    size_t modules = IndexOf(report, "List of Modules:");
    size_t trace = IndexOf(report, "Stack Trace:", modules);
    ASSERT_TRUE(modules != std::string::npos && trace != std::string::npos);
    uint64_t libraryBase = 0;
    for (size_t i = modules + 1; i < trace; i++) {
        ASSERT_EQ(0u, report[i].find("0x")) << report[i];
        ASSERT_EQ(": ", report[i].substr(18, 2)) << report[i];
        if (report[i].find("'" + c.library + "'") != std::string::npos)
            libraryBase = Hex(report[i].substr(2, 16));
    }
    ASSERT_NE(0u, libraryBase) << "the database library in the module list";

    // The symbolic stack: the three functions in order, each with its file and line.
    size_t inner = FrameOf(report, c.chainModule, "ChainInner", trace);
    size_t middle = FrameOf(report, c.chainModule, "ChainMiddle", trace);
    size_t outer = FrameOf(report, c.chainModule, "ChainOuter", trace);
    ASSERT_TRUE(inner != std::string::npos && inner < middle && middle < outer && outer != std::string::npos)
        << inner << " " << middle << " " << outer;
    EXPECT_EQ(trace + 1, inner) << "the faulting function is the first frame";
    const size_t frames[3] = {inner, middle, outer};
    for (int k = 0; k < 3; k++) {
        const std::string& line = report[frames[k]];
        EXPECT_NE(std::string::npos, line.find("CrashChain.cpp, line " + std::to_string(lines[k]) + ")")) << line;
    }
    // Each caller's line is followed by its arguments and the callee of its call.
    EXPECT_EQ(0u, report[middle + 1].find("         args(0x    ")) << report[middle + 1];
    EXPECT_EQ(0u, report[middle + 2].find("   CALL [0x")) << report[middle + 2];
    EXPECT_NE(std::string::npos, report[middle + 2].find("!ChainInner")) << report[middle + 2];
    // The engine's export that called back, and the end of the trace.
    EXPECT_NE(std::string::npos, FrameOf(report, "vlDB07", "db_skip", outer)) << "the engine call in the trace";
    EXPECT_NE(std::string::npos, IndexOf(report, "   =========================", outer));

    // The minidump named in the result text.
    std::string dumpText = "- Der Speicherauszug befindet sich in der Datei '";
    size_t result = IndexOf(report, dumpText);
    if (result == std::string::npos) {
        dumpText = "- The memory dump has been stored into the file '";
        result = IndexOf(report, dumpText);
    }
    ASSERT_NE(std::string::npos, result);
    std::string dumpPath = report[result].substr(dumpText.size());
    dumpPath = dumpPath.substr(0, dumpPath.find('\''));
    MiniDumpFile dump;
    ASSERT_TRUE(dump.Load(dumpPath)) << dumpPath;
    MiniDumpFile::Exception exception;
    ASSERT_TRUE(dump.GetException(exception));
    EXPECT_EQ(0xC0000005u, exception.code);
    EXPECT_EQ(Hex(report[inner].substr(3, 16)), exception.address) << "the fault at the first frame's address";
    const std::vector<uint32_t> threads = dump.ThreadIds();
    EXPECT_NE(threads.end(), std::find(threads.begin(), threads.end(), exception.threadId));
    bool libraryInDump = false;
    for (const MiniDumpFile::Module& m : dump.Modules())
        libraryInDump = libraryInDump || (m.base == libraryBase && lstrcmpiA(m.name.c_str(), c.library.c_str()) == 0);
    EXPECT_TRUE(libraryInDump) << "the library at the base the report names";
    DeleteFileA(dumpPath.c_str());
}

// Runs the host with the library and chain built with debug information so that the chain's
// callback overflows the stack inside the engine call, and checks the report: written for the
// overflowing thread (its stack range, its frames) although a helper thread wrote it, with a
// minidump whose exception names that thread.
void CheckOverflowReport(const Case& c)
{
    const std::string bin = oxtest::ProgramDir();
    FullReports full;
    oxtest::TempDir dir("overflow");
    const std::string logPath = GetCrashLogPath();
    const size_t before = oxtest::ReadFileText(logPath).size();
    int code = oxtest::RunProcess("\"" + bin + "\\symcrash_host.exe\" \"" + c.library + "\" \"" + c.chain + "\" \"" +
                                      dir.Path() + "\" overflow",
                                  180000);
    ASSERT_EQ(44, code) << "the overflow reached the program's handler after the report";
    const uint32_t faulting = (uint32_t)std::strtoul(oxtest::ReadFileText(dir.File("thread.txt")).c_str(), nullptr, 10);
    ASSERT_NE(0u, faulting);
    std::string log = oxtest::ReadFileText(logPath);
    ASSERT_GT(log.size(), before);
    const std::vector<std::string> report = ReportTexts(log.substr(before));

    ASSERT_NE(std::string::npos, IndexOf(report, "Exception code: 0xc00000fd (Stack Overflow)"));
    // The stack range is the overflowing thread's: its stack pointer lies inside.
    const size_t registers = IndexOf(report, "RSI: ");
    ASSERT_NE(std::string::npos, registers);
    const std::string& line = report[registers];
    const size_t rsp = line.find("RSP: 0x"), range = line.find("(Stack Range: 0x");
    ASSERT_TRUE(rsp != std::string::npos && range != std::string::npos) << line;
    const uint64_t stackPointer = Hex(line.substr(rsp + 7, 16));
    const uint64_t low = Hex(line.substr(range + 16, 16)), high = Hex(line.substr(range + 16 + 16 + 4, 16));
    EXPECT_TRUE(low <= stackPointer && stackPointer < high) << line;

    // The symbolic stack begins in the recursing function.
    const size_t trace = IndexOf(report, "Stack Trace:");
    ASSERT_NE(std::string::npos, trace);
    const size_t deep = FrameOf(report, c.chainModule, "ChainDeep", trace);
    ASSERT_NE(std::string::npos, deep);
    EXPECT_EQ(trace + 1, deep) << "the overflowing function is the first frame";
    EXPECT_NE(std::string::npos, report[deep].find("CrashChain.cpp, line ")) << report[deep];

    std::string dumpText = "- Der Speicherauszug befindet sich in der Datei '";
    size_t result = IndexOf(report, dumpText);
    if (result == std::string::npos) {
        dumpText = "- The memory dump has been stored into the file '";
        result = IndexOf(report, dumpText);
    }
    ASSERT_NE(std::string::npos, result);
    std::string dumpPath = report[result].substr(dumpText.size());
    dumpPath = dumpPath.substr(0, dumpPath.find('\''));
    MiniDumpFile dump;
    ASSERT_TRUE(dump.Load(dumpPath)) << dumpPath;
    MiniDumpFile::Exception exception;
    ASSERT_TRUE(dump.GetException(exception));
    EXPECT_EQ(0xC00000FDu, exception.code);
    EXPECT_EQ(faulting, exception.threadId) << "the dump names the overflowing thread, not the report's helper";
    const std::vector<uint32_t> threads = dump.ThreadIds();
    EXPECT_NE(threads.end(), std::find(threads.begin(), threads.end(), faulting));
    DeleteFileA(dumpPath.c_str());
}

} // namespace

// The database library and the chain built with debug information: dbghelp reads them.
TEST(CrashReport, AFaultThreeCallsDeepWithDebugInformation)
{
    const std::string bin = oxtest::ProgramDir();
    CheckReport({bin + "\\vlDB07.dll", bin + "\\symchain.dll", "symchain"});
}

// Their stripped forms with .sym files beside them: the own readers.
TEST(CrashReport, AFaultThreeCallsDeepStrippedWithSymFiles)
{
    const char* releaseDir = getenv("OX_RELEASE_DIR_WIN");
    ASSERT_NE(nullptr, releaseDir);
    const std::string release = releaseDir;
    CheckReport({release + "\\vlDB07.dll", release + "\\symchain.dll", "symchain"});
}

// A stack overflow inside an engine call: the report is written by a helper thread for the
// overflowing one.
TEST(CrashReport, AStackOverflowInsideAnEngineCallWithDebugInformation)
{
    const std::string bin = oxtest::ProgramDir();
    CheckOverflowReport({bin + "\\vlDB07.dll", bin + "\\symchain.dll", "symchain"});
}
