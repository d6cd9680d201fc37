// Crash protection and crash reports: the decision whether frames are used, the frame list, the
// exception names, call decoding, code bytes, the stack walk, the report in each mode with its
// questions, and real faults in a helper process (its own frames and the database library's export
// frame) that must write the report and then reach the program's own handler.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "ChannelLines.h"
#include "CrashReport.h"
#include "CrashSymbolReader.h"
#include "CtlLog.h"
#include "DebugCapture.h"
#include "PrintfFormat.h"
#include "StackWalk.h"
#include "TestKit.h"
#include "clsGPFProtection.h"

namespace {

// A frame that keeps the lines of its report instead of writing them.
class RecordingFrame : public clsGPFProtection {
public:
    explicit RecordingFrame(DWORD flags) : clsGPFProtection(flags) {}
    void Log(DWORD targets, const char* format, ...) override
    {
        char text[4097];
        va_list args;
        va_start(args, format);
        VFormat(text, sizeof text, format, args);
        va_end(args);
        lines.push_back(text);
        this->targets.push_back(targets);
    }
    size_t IndexOf(const std::string& start, size_t from = 0) const
    {
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i].compare(0, start.size(), start) == 0)
                return i;
        return std::string::npos;
    }
    bool Has(const std::string& start) const { return IndexOf(start) != std::string::npos; }

    std::vector<std::string> lines;
    std::vector<DWORD> targets;
};

// The crash handler's registry switches below HKEY_CURRENT_USER\SOFTWARE\velmar for one test.
class CrashSwitches {
public:
    CrashSwitches(const char* generate, const char* allow)
    {
        Set("GenerateFullGPFInfo", generate);
        Set("AllowFullGPFInfo", allow);
    }
    ~CrashSwitches()
    {
        Set("GenerateFullGPFInfo", nullptr);
        Set("AllowFullGPFInfo", nullptr);
    }

private:
    static void Set(const char* name, const char* value)
    {
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\velmar", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        if (value)
            RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), (DWORD)std::strlen(value) + 1);
        else
            RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
};

// A symbol reader that records what the report asked of it.
struct ReaderCalls {
    int dumps = 0, moduleLists = 0, stackTraces = 0;
    DWORD dumpThread = 0;
    bool symbolicTrace = false;
};
ReaderCalls s_readerCalls;

class FakeSymbolReader : public clsCrashSymbolReader {
public:
    bool WriteMiniDump(char* path, size_t size, EXCEPTION_POINTERS*, DWORD threadId) override
    {
        ++s_readerCalls.dumps;
        s_readerCalls.dumpThread = threadId;
        std::strncpy(path, "C:\\temp\\Mem0001.dmp", size);
        return true;
    }
    void LogModuleList(clsGPFProtection& frame) override
    {
        ++s_readerCalls.moduleLists;
        frame.Log(frame.GetLogTargets(), "List of Modules:");
    }
    bool LogStackTrace(clsGPFProtection& frame, CONTEXT*) override
    {
        ++s_readerCalls.stackTraces;
        if (s_readerCalls.symbolicTrace)
            frame.Log(frame.GetLogTargets(), "Stack Trace:");
        return s_readerCalls.symbolicTrace;
    }
};

clsCrashSymbolReader* MakeFakeReader() { return new FakeSymbolReader; }

class ReaderInstalled {
public:
    explicit ReaderInstalled(bool symbolicTrace)
    {
        s_readerCalls = ReaderCalls();
        s_readerCalls.symbolicTrace = symbolicTrace;
        SetCrashSymbolReaderFactory(&MakeFakeReader);
    }
    ~ReaderInstalled() { SetCrashSymbolReaderFactory(nullptr); }
};

// A report of an exception (a division by zero unless told) at the caller's place.
__attribute__((noinline)) void Report(RecordingFrame& frame, DWORD code = EXCEPTION_INT_DIVIDE_BY_ZERO)
{
    CONTEXT context;
    RtlCaptureContext(&context);
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = code;
    record.ExceptionAddress = (void*)context.Rip;
    WriteCrashReport(frame, &record, &context);
}

std::string FileTail(const std::string& path, size_t from)
{
    std::string text = oxtest::ReadFileText(path);
    return text.size() > from ? text.substr(from) : std::string();
}

bool AnyLineContains(const std::vector<std::string>& lines, const std::string& text)
{
    return !oxtest::LinesContaining(lines, text).empty();
}

// Runs support_probe with the arguments; the crash log's new lines go to *log.
int RunProbe(const std::string& arguments, std::vector<std::string>* log)
{
    std::string path = GetCrashLogPath();
    size_t before = oxtest::ReadFileText(path).size();
    int code = oxtest::RunProcess("\"" + oxtest::ProgramDir() + "\\support_probe.exe\" " + arguments);
    *log = oxtest::SplitLines(FileTail(path, before));
    return code;
}

} // namespace

// ---- the decision ---------------------------------------------------------------------------------

TEST(GPFProtectionStaticInit, RegistryAndDebuggerDecideWhetherFramesAreUsed)
{
    struct Case {
        const char* force; // NULL: no value
        const char* use;
        bool debugger;
        bool used;
    };
    const Case cases[] = {
        {nullptr, nullptr, false, true},  {nullptr, nullptr, true, false},  {"0", nullptr, false, false},
        {"F", nullptr, false, false},     {"False", nullptr, true, false},  {"1", nullptr, true, true},
        {"T", "0", true, true},           {"", nullptr, false, true},       {nullptr, "0", false, false},
        {nullptr, "F", false, false},     {nullptr, "1", false, true},      {nullptr, "0", true, false},
        {nullptr, "Yes", true, false},    {"0", "1", false, false},
    };
    const char* root = "Software\\OXTest\\GPFDecision";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("force=") + (c.force ? c.force : "-") + " use=" + (c.use ? c.use : "-") +
                     " debugger=" + (c.debugger ? "yes" : "no"));
        RegDeleteTreeA(HKEY_CURRENT_USER, root);
        HKEY key, velmar;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, root, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key, "SOFTWARE\\velmar", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &velmar, nullptr));
        if (c.force)
            RegSetValueExA(velmar, "ForceUseGPFHandler", 0, REG_SZ, (const BYTE*)c.force, (DWORD)std::strlen(c.force) + 1);
        if (c.use)
            RegSetValueExA(velmar, "UseGPFHandler", 0, REG_SZ, (const BYTE*)c.use, (DWORD)std::strlen(c.use) + 1);
        RegCloseKey(velmar);
        EXPECT_EQ(c.used, GPFHandlerWanted(key, c.debugger));
        RegCloseKey(key);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OXTest\\GPFDecision");
}

// ---- frames ---------------------------------------------------------------------------------------

TEST(clsGPFProtection, FramesNestWithTheCallStack)
{
    ASSERT_TRUE(GPFProtectionStaticInit());
    EXPECT_EQ(nullptr, clsGPFProtection::Innermost());
    {
        clsGPFProtection outer(clsGPFProtection::kReport);
        EXPECT_TRUE(outer.IsInstalled());
        EXPECT_EQ(&outer, clsGPFProtection::Innermost());
        {
            clsGPFProtection inner(0);
            EXPECT_EQ(&inner, clsGPFProtection::Innermost());
            EXPECT_EQ(&outer, inner.Outer());
        }
        EXPECT_EQ(&outer, clsGPFProtection::Innermost());
    }
    EXPECT_EQ(nullptr, clsGPFProtection::Innermost());
}

namespace {

// Opens a frame one call deeper, closes the caller's frame first, then its own.
__attribute__((noinline)) void CloseOuterFirst(std::optional<clsGPFProtection>& outer)
{
    std::optional<clsGPFProtection> inner;
    inner.emplace(clsGPFProtection::kReport);
    outer.reset();
    EXPECT_EQ(nullptr, clsGPFProtection::Innermost()) << "the frames opened inside the closed one went with it";
    EXPECT_TRUE(AnyLineContains(supporttest::TakeDebugLines(), "an exception handler sneaked in here"));
    inner.reset();
    EXPECT_EQ(nullptr, clsGPFProtection::Innermost()) << "a frame no longer listed leaves the list alone";
}

} // namespace

TEST(clsGPFProtection, AFrameClosedOutOfOrderRepairsTheList)
{
    ASSERT_TRUE(GPFProtectionStaticInit());
    supporttest::TakeDebugLines();
    std::optional<clsGPFProtection> outer;
    outer.emplace(clsGPFProtection::kReport);
    CloseOuterFirst(outer);
    clsGPFProtection later(clsGPFProtection::kReport);
    EXPECT_EQ(nullptr, later.Outer());
}

TEST(clsGPFProtection, OnlySystemCodesAreHandledAndBreakpointsAreSteppedOver)
{
    struct Case {
        DWORD code;
        DWORD flags;
        EXCEPTION_DISPOSITION result;
        bool reported;
    };
    const Case cases[] = {
        {0x20474343, 0, ExceptionContinueSearch, false},               // g++ exception
        {0xE06D7363, 0, ExceptionContinueSearch, false},               // another compiler's exception
        {0x406D1388, 0, ExceptionContinueSearch, false},               // thread naming
        {EXCEPTION_ACCESS_VIOLATION, EXCEPTION_UNWINDING, ExceptionContinueSearch, false},
        {EXCEPTION_ACCESS_VIOLATION, 0, ExceptionContinueSearch, true},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, 0, ExceptionContinueSearch, true},
        {0x80000003, 0, ExceptionContinueSearch, false},               // a raised breakpoint: no int3 to step over
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        RecordingFrame frame(clsGPFProtection::kReport);
        CONTEXT context;
        RtlCaptureContext(&context);
        EXCEPTION_RECORD record = {};
        record.ExceptionCode = c.code;
        record.ExceptionFlags = c.flags;
        record.ExceptionAddress = (void*)context.Rip;
        context.Rip = (DWORD64)&Report; // no int3 there
        EXPECT_EQ(c.result, clsGPFProtection::StaticExceptionHandler(&record, &frame, &context, nullptr));
        EXPECT_EQ(c.reported, frame.Has(">>>=========================")) << frame.lines.size();
    }

    // An int3 byte at the instruction pointer is stepped over.
    static const unsigned char code[] = {0x90, 0xCC, 0x90};
    RecordingFrame frame(clsGPFProtection::kReport);
    CONTEXT context = {};
    context.Rip = (DWORD64)&code[1];
    EXCEPTION_RECORD record = {};
    record.ExceptionCode = 0x80000003;
    EXPECT_EQ(ExceptionContinueExecution, clsGPFProtection::StaticExceptionHandler(&record, &frame, &context, nullptr));
    EXPECT_EQ((DWORD64)&code[2], context.Rip);
    EXPECT_TRUE(frame.lines.empty());
}

// ---- report parts ---------------------------------------------------------------------------------

TEST(GetExceptionName, TableNamesAndSystemTexts)
{
    struct Case {
        DWORD code;
        const char* name;
    };
    const Case cases[] = {
        {0x80000002, "Misalignment"},
        {0x80000003, "Breakpoint"},
        {0xC0000005, "Access Violation"},
        {0xC000008E, "Float: Division by Zero"},
        {0xC0000094, "Integer Division by Zero"},
        {0xC00000FD, "Stack Overflow"},
    };
    char buffer[96];
    for (const Case& c : cases)
        EXPECT_STREQ(c.name, GetExceptionName(c.code, buffer, sizeof buffer));
    // Other codes: the system's text (at most 80 characters), never a crash.
    GetExceptionName(0xC0000017, buffer, sizeof buffer);
    EXPECT_LE(std::strlen(buffer), 80u);
}

TEST(DecodeCallTarget, DirectIndirectAndRegisterCalls)
{
    unsigned char* code = static_cast<unsigned char*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
    ASSERT_NE(nullptr, code);
    std::memset(code, 0x90, 4096);
    auto put32 = [&](size_t at, int32_t value) { std::memcpy(code + at, &value, 4); };
    // E8 rel32 at 100: returns to 105, target 105 + 0x200.
    code[100] = 0xE8;
    put32(101, 0x200);
    // FF 15 disp32 at 200: returns to 206, the target is the address stored at 206 + 0x100.
    code[200] = 0xFF;
    code[201] = 0x15;
    put32(202, 0x100);
    uintptr_t stored = (uintptr_t)code + 0x700;
    std::memcpy(code + 206 + 0x100, &stored, 8);
    // 48 FF 15 disp32 at 400 (returns to 407).
    code[400] = 0x48;
    code[401] = 0xFF;
    code[402] = 0x15;
    put32(403, 0x80);
    std::memcpy(code + 407 + 0x80, &stored, 8);
    // FF D0 (call rax) at 600 and 41 FF D3 (call r11) at 700; E8 whose target is no code at 800.
    code[600] = 0xFF;
    code[601] = 0xD0;
    code[700] = 0x41;
    code[701] = 0xFF;
    code[702] = 0xD3;
    code[800] = 0xE8;
    put32(801, 0x40000000);

    struct Case {
        size_t returnOffset;
        uintptr_t target; // 0: none (the return address comes back)
        int length;
    };
    const uintptr_t base = (uintptr_t)code;
    const Case cases[] = {
        {105, base + 105 + 0x200, 5}, {206, stored, 6}, {407, stored, 7},
        {602, 0, 2},                  {703, 0, 3},      {805, 0, 0},
        {50, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.returnOffset);
        int length = -1;
        uintptr_t r = base + c.returnOffset;
        EXPECT_EQ(c.target ? c.target : r, DecodeCallTarget(r, &length));
        EXPECT_EQ(c.length, length);
    }
    int length = -1;
    EXPECT_EQ((uintptr_t)0x10005, DecodeCallTarget(0x10005, &length)) << "unreadable bytes";
    EXPECT_EQ(0, length);
    VirtualFree(code, 0, MEM_RELEASE);
}

TEST(CodeEnvironmentDump, SixteenBytesALineAroundTheAddress)
{
    RecordingFrame frame(0);
    CodeEnvironmentDump(frame, 0x1005);
    ASSERT_EQ(8u, frame.lines.size()) << "0x0FC0 up to 0x1040";
    std::string unreadable;
    for (int i = 0; i < 16; ++i)
        unreadable += "-- ";
    EXPECT_EQ(" 0x0000000000000fc0 " + unreadable, frame.lines.front());
    EXPECT_EQ(" 0x0000000000001030 " + unreadable, frame.lines.back());

    static const unsigned char bytes[256] = {0x12, 0x34};
    RecordingFrame readable(0);
    uintptr_t at = ((uintptr_t)&bytes[64 + 15]) & ~(uintptr_t)15;
    CodeEnvironmentDump(readable, at + 5);
    ASSERT_EQ(8u, readable.lines.size());
    char line[100];
    Format(line, sizeof line, " 0x%016I64x %02x %02x ", (unsigned long long)(at - 64), *(unsigned char*)(at - 64),
           *(unsigned char*)(at - 63));
    EXPECT_EQ(0u, readable.lines[0].find(line)) << readable.lines[0];
}

namespace {

uintptr_t s_innerAddress;

__attribute__((noinline)) int InnerWalk(StackWalkItem* items, int maximum)
{
    CONTEXT context;
    RtlCaptureContext(&context);
    s_innerAddress = (uintptr_t)&InnerWalk;
    return WalkStackFrames(context, items, maximum);
}

__attribute__((noinline)) int OuterWalk(StackWalkItem* items, int maximum)
{
    int n = InnerWalk(items, maximum);
    __asm__ volatile("" ::: "memory");
    return n;
}

} // namespace

TEST(WalkStackFrames, FollowsTheCallersWithTheirCalls)
{
    StackWalkItem items[32];
    int n = OuterWalk(items, 32);
    ASSERT_GE(n, 3);
    EXPECT_EQ(s_innerAddress, items[0].callTarget) << "the first caller called the walking function";
    for (int i = 0; i < n; ++i) {
        EXPECT_TRUE(IsCodeAddress(items[i].callAddress)) << i;
        if (i)
            EXPECT_GT(items[i].frame, items[i - 1].frame) << i;
    }
    EXPECT_EQ(2, OuterWalk(nullptr, 2)) << "counting stops at the maximum";

    char location[400], call[400];
    FormatStackFrame(items[0], call, location, sizeof location, sizeof call);
    EXPECT_NE(std::string::npos, std::string(location).find("support_crash_test [")) << location;
    EXPECT_EQ(0u, std::string(call).find("  CALL support_crash_test [")) << call;
}

namespace {

// Captures the registers inside a function with a frame of several hundred bytes.
__attribute__((noinline)) void CaptureInLargeFrame(CONTEXT* context)
{
    volatile char large[600];
    large[0] = 1;
    RtlCaptureContext(context);
    large[599] = large[0];
}

} // namespace

TEST(WalkStackFrames, ReadsNothingBeyondTheStackRange)
{
    CONTEXT captured;
    CaptureInLargeFrame(&captured);
    // A stack range of one page followed by a page that cannot be read: the function's frame put
    // near the range's end has its saved words and return address beyond it.
    char* region = static_cast<char*>(VirtualAlloc(nullptr, 2 * 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(nullptr, region);
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(region + 4096, 4096, PAGE_NOACCESS, &old));
    const uintptr_t low = (uintptr_t)region, high = low + 4096;
    for (uintptr_t room : {8u, 64u, 512u}) {
        SCOPED_TRACE(room);
        CONTEXT context = captured;
        context.Rsp = context.Rbp = high - room;
        StackWalkItem items[8];
        uintptr_t bad = 0;
        EXPECT_EQ(0, WalkStackFrames(context, items, 8, &bad, low, high));
        EXPECT_GE(bad, high - room) << "the walk names where it stopped";

        context = captured;
        context.Rsp = context.Rbp = high - room;
        EXPECT_FALSE(UnwindStackFrame(context, low, high, UNW_FLAG_EHANDLER, nullptr, &bad));
        EXPECT_EQ(captured.Rip, context.Rip) << "the context stays as it was";
    }
    // Below the range nothing is read either.
    CONTEXT context = captured;
    context.Rsp = low - 8;
    uintptr_t bad = 0;
    EXPECT_FALSE(UnwindStackFrame(context, low, high, UNW_FLAG_NHANDLER, nullptr, &bad));
    EXPECT_EQ(low - 8, bad);
    VirtualFree(region, 0, MEM_RELEASE);

    // On the real stack the same frame unwinds to its caller.
    context = captured;
    ASSERT_TRUE(UnwindStackFrame(context, 0, (uintptr_t)-1, UNW_FLAG_NHANDLER, nullptr, &bad));
    EXPECT_GT(context.Rsp, captured.Rsp + 600);
    EXPECT_TRUE(IsCodeAddress(context.Rip));
}

TEST(GetAddressText, ModuleSectionAndOffsetOrWhyNot)
{
    char text[400];
    GetAddressText((uintptr_t)&InnerWalk, text, sizeof text);
    EXPECT_EQ(0u, std::string(text).find("support_crash_test [0x")) << text;
    EXPECT_NE(std::string::npos, std::string(text).find("=0x01:0x")) << "the code section is the first" << text;

    void* freePage = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    VirtualFree(freePage, 0, MEM_RELEASE);
    GetAddressText((uintptr_t)freePage, text, sizeof text);
    EXPECT_NE(std::string::npos, std::string(text).find(" (free)")) << text;
    void* data = VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    GetAddressText((uintptr_t)data, text, sizeof text);
    EXPECT_NE(std::string::npos, std::string(text).find(" (2)")) << "no module there: " << text;
    VirtualFree(data, 0, MEM_RELEASE);
}

TEST(FindMapSymbol, BothMapLayouts)
{
    oxtest::TempDir dir("map");
    std::string segments = dir.File("a.map");
    oxtest::WriteFileText(segments, " Start         Length     Name                   Class\n"
                                    " 0001:00000000 00001000H .text                   CODE\n"
                                    "\n"
                                    "  Address         Publics by Value              Rva+Base     Lib:Object\n"
                                    "\n"
                                    " 0001:00000010       _first                     00401010 f   a.obj\n"
                                    " 0001:00000100       _second                    00401100 f   a.obj\n"
                                    " 0002:00000000       _data                      00402000     a.obj\n");
    std::string watcom = dir.File("w.map");
    oxtest::WriteFileText(watcom, "WATCOM Linker Version 11.0\n"
                                  "Address        Symbol\n"
                                  "=======        ======\n"
                                  "0001:00000020* _start\n"
                                  "0001:00000080  _main\n");
    struct Case {
        const std::string* file;
        unsigned section;
        uintptr_t offset;
        const char* symbol; // NULL: none
    };
    const Case cases[] = {
        {&segments, 1, 0x10, "_first"},     {&segments, 1, 0x20, "_first + 0x10"}, {&segments, 1, 0x100, "_second"},
        {&segments, 1, 0x8, nullptr},       {&segments, 2, 0x0, "_data"},          {&watcom, 1, 0x20, "_start"},
        {&watcom, 1, 0x30, "_start + 0x10"}, {&watcom, 1, 0x90, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(*c.file + " " + std::to_string(c.offset));
        char symbol[100];
        EXPECT_EQ(c.symbol != nullptr, FindMapSymbol(c.file->c_str(), c.section, c.offset, symbol, sizeof symbol));
        if (c.symbol)
            EXPECT_STREQ(c.symbol, symbol);
    }
    char symbol[100];
    EXPECT_FALSE(FindMapSymbol(dir.File("missing.map").c_str(), 1, 0x10, symbol, sizeof symbol));
}

// ---- the report -----------------------------------------------------------------------------------

TEST(WriteCrashReport, SmallReportWithoutSymbolReader)
{
    oxtest::CtlLog boxes;
    RecordingFrame frame(clsGPFProtection::kReport);
    Report(frame);
    const std::vector<std::string>& l = frame.lines;
    ASSERT_GE(l.size(), 20u);
    EXPECT_EQ(0u, l.front().find(">>>========================= "));
    EXPECT_EQ("Exception code: 0xc0000094 (Integer Division by Zero)", l[1]);
    EXPECT_EQ("Registers:", l[2]);
    EXPECT_EQ(0u, l[3].find("RIP: 0x"));
    EXPECT_NE(std::string::npos, frame.lines[5].find("(Stack Range: 0x"));
    size_t code = frame.IndexOf("Code environment:");
    ASSERT_NE(std::string::npos, code);
    EXPECT_EQ(0u, l[code + 1].find(" 0x"));
    size_t trace = frame.IndexOf("Stack Trace:", code);
    ASSERT_NE(std::string::npos, trace);
    EXPECT_NE(std::string::npos, l[trace + 1].find("=support_crash_test [")) << l[trace + 1];
    EXPECT_EQ("---------------------------------------------------------", l[trace + 2]);
    size_t result = frame.IndexOf(GermanUser() ? "Ergebnis:" : "Result:", trace);
    ASSERT_NE(std::string::npos, result);
    EXPECT_EQ("", l[result - 1]);
    EXPECT_NE(std::string::npos, l[result].find(GetCrashLogPath()));
    EXPECT_EQ(0u, l.back().find("<<<========================= "));
    for (DWORD targets : frame.targets)
        EXPECT_EQ(3u, targets) << "every line to the channel and the crash log";
    EXPECT_TRUE(boxes.Records("MessageBox").empty()) << "the frame allows no questions";
}

TEST(WriteCrashReport, AStackOverflowIsReportedByAHelperForTheThread)
{
    CrashSwitches switches("T", nullptr);
    ReaderInstalled reader(false);
    oxtest::CtlLog boxes;
    RecordingFrame frame(clsGPFProtection::kReport);
    Report(frame, EXCEPTION_STACK_OVERFLOW);
    // The report is complete when the call returns, and it is about this thread: the dump names
    // it and the stack range is its own.
    ASSERT_FALSE(frame.lines.empty());
    EXPECT_EQ("Exception code: 0xc00000fd (Stack Overflow)", frame.lines[1]);
    EXPECT_EQ(0u, frame.lines.back().find("<<<========================= "));
    EXPECT_EQ(1, s_readerCalls.dumps);
    EXPECT_EQ(GetCurrentThreadId(), s_readerCalls.dumpThread);
    NT_TIB* tib = reinterpret_cast<NT_TIB*>(NtCurrentTeb());
    char range[100];
    Format(range, sizeof range, "(Stack Range: 0x%016I64x..0x%016I64x)", (unsigned long long)(uintptr_t)tib->StackLimit,
           (unsigned long long)(uintptr_t)tib->StackBase);
    EXPECT_NE(std::string::npos, frame.lines[5].find(range)) << frame.lines[5];

    // Work handed to a helper sees the thread that handed it over.
    struct Seen {
        DWORD self, subject;
    } seen = {};
    ASSERT_TRUE(RunForThisThread(
        [](void* p) -> DWORD {
            Seen& s = *static_cast<Seen*>(p);
            s.self = GetCurrentThreadId();
            s.subject = GetCrashSubject().threadId;
            return 0;
        },
        &seen));
    EXPECT_NE(GetCurrentThreadId(), seen.self);
    EXPECT_EQ(GetCurrentThreadId(), seen.subject);
}

TEST(WriteCrashReport, ModesOfTheFullReport)
{
    struct Case {
        const char* name;
        const char* generate; // NULL: no value
        const char* allow;
        DWORD flags;
        const char* answers;
        bool symbolicTrace;
        bool asked;
        int mode;
        int finalQuestions;
    };
    const bool interactive = IsInteractiveSession();
    const Case cases[] = {
        {"no switches: small", nullptr, nullptr, clsGPFProtection::kReport | clsGPFProtection::kAsk, "IDNO", false, false, 1, 1},
        {"full by the registry", "T", nullptr, clsGPFProtection::kReport, "", false, false, 2, 0},
        {"full with a symbolic trace", "1", nullptr, clsGPFProtection::kReport, "", true, false, 2, 0},
        {"none by the registry", "F", nullptr, clsGPFProtection::kReport, "", false, false, 0, 0},
        {"asked: yes", "0", "T", clsGPFProtection::kReport | clsGPFProtection::kAsk, "IDYES,IDNO", false, true, 2, 1},
        {"asked: no", "T", "1", clsGPFProtection::kReport | clsGPFProtection::kAsk, "IDNO,IDNO", false, true, 1, 1},
        {"asked: cancel", "T", "T", clsGPFProtection::kReport | clsGPFProtection::kAsk, "IDCANCEL", false, true, 0, 0},
        {"allowed, frame asks nothing", "F", "T", clsGPFProtection::kReport, "", false, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CrashSwitches switches(c.generate, c.allow);
        ReaderInstalled reader(c.symbolicTrace);
        oxtest::CtlLog boxes;
        boxes.SetAnswers(c.answers);
        RecordingFrame frame(c.flags);
        Report(frame);

        auto shown = boxes.Records("MessageBox");
        size_t expectedBoxes = interactive ? (c.asked ? 1 : 0) + c.finalQuestions : 0;
        ASSERT_EQ(expectedBoxes, shown.size());
        if (interactive && c.asked) {
            EXPECT_EQ("Integer Division by Zero", shown[0][1]);
            EXPECT_EQ("0x42023", shown[0][3]);
        }
        if (interactive && c.finalQuestions)
            EXPECT_EQ("0x42014", shown.back()[3]);
        int mode = interactive || !c.asked ? c.mode : (c.generate && (c.generate[0] == 'F' || c.generate[0] == '0') ? 0 : 2);

        EXPECT_TRUE(frame.Has(">>>=========================") && frame.Has("Code environment:"));
        EXPECT_EQ(mode == 2 ? 1 : 0, s_readerCalls.dumps);
        EXPECT_EQ(mode == 2, frame.Has("List of Modules:"));
        EXPECT_EQ(mode >= 1, frame.Has("Stack Trace:"));
        EXPECT_EQ(mode == 1 || (mode == 2 && !c.symbolicTrace),
                  frame.Has("---------------------------------------------------------"))
            << "the own walk, also after a missing symbolic trace";
        EXPECT_EQ(mode >= 1, frame.Has(GermanUser() ? "Ergebnis:" : "Result:"));
        if (mode == 2) {
            size_t result = frame.IndexOf(GermanUser() ? "Ergebnis:" : "Result:");
            EXPECT_NE(std::string::npos, frame.lines[result].find("C:\\temp\\Mem0001.dmp"));
        }
        EXPECT_EQ("", frame.lines[frame.lines.size() - (mode >= 1 ? 3 : 2)]) << "the empty line before the end";
    }
}

// ---- real faults ----------------------------------------------------------------------------------

TEST(CrashProtection, AFaultInsideAFrameIsReportedAndReachesTheProgramsHandler)
{
    struct Case {
        const char* arguments;
        int exitCode;
        const char* module; // of the crash log lines
    };
    const Case cases[] = {
        {"gpf av", 42, "support_probe.exe"},
        {"gpf memcpy", 42, "support_probe.exe"},
        {"export-av", 42, "vlDB07.dll"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::vector<std::string> log;
        ASSERT_EQ(c.exitCode, RunProbe(c.arguments, &log));
        ASSERT_FALSE(log.empty());
        // Every line begins "2024-03-05, 14:07.09.123 <module> "; the result text's own line breaks
        // continue its line.
        const std::string prefix = std::string(" ") + c.module + " ";
        auto stamped = [&](const std::string& line) {
            return line.size() > 24 + prefix.size() && line[4] == '-' && line[10] == ',' && line[14] == ':' &&
                   line[17] == '.' && line[20] == '.';
        };
        ASSERT_TRUE(stamped(log.front())) << log.front();
        for (const std::string& line : log)
            if (stamped(line))
                EXPECT_EQ(prefix, line.substr(24, prefix.size())) << line;
        auto texts = [&](const std::string& start) {
            size_t n = 0;
            for (const std::string& line : log)
                n += stamped(line) && line.compare(24 + prefix.size(), start.size(), start) == 0;
            return n;
        };
        EXPECT_EQ(1u, texts(">>>========================= "));
        EXPECT_EQ(1u, texts("Exception code: 0xc0000005 (Access Violation)"));
        EXPECT_EQ(1u, texts("Registers:"));
        EXPECT_EQ(1u, texts("Code environment:"));
        EXPECT_EQ(1u, texts("Stack Trace:"));
        EXPECT_EQ(1u, texts("<<<========================= "));
    }
}

TEST(CrashProtection, BreakpointsLanguageExceptionsAndSystemProbesPassWithoutReport)
{
    struct Case {
        const char* scenario;
        int exitCode;
    };
    const Case cases[] = {
        {"int3", 0},   // stepped over
        {"cxx", 7},    // caught by the program outside the frame
        {"isbad", 5},  // the probe answers TRUE
        {"lstrlen", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        std::vector<std::string> log;
        EXPECT_EQ(c.exitCode, RunProbe(std::string("gpf ") + c.scenario, &log));
        EXPECT_TRUE(log.empty()) << log.front();
    }
}

TEST(CrashProtection, YesToTheFinalQuestionEndsTheProgram)
{
    if (!IsInteractiveSession())
        GTEST_SKIP() << "questions are asked only in an interactive session";
    struct Case {
        const char* answers;
        int exitCode;
    };
    const Case cases[] = {{"IDYES", 127}, {"IDNO", 42}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answers);
        oxtest::CtlLog boxes;
        boxes.SetAnswers(c.answers);
        std::vector<std::string> log;
        EXPECT_EQ(c.exitCode, RunProbe("gpf ask", &log));
        auto shown = boxes.Records("MessageBox");
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ("Access Violation", shown[0][1]);
        EXPECT_EQ("0x42014", shown[0][3]);
        EXPECT_FALSE(log.empty());
    }
}
