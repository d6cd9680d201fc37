// Stack traces under Wine: callee decoding over a fake memory, the lines of the crash report,
// symbol and line lookup (dbghelp for modules with debug information, the own readers for a
// stripped module with its .sym file), the x64 walk over a known call chain (symchain.dll) with
// its callees and home-slot parameters, the entry points and their lock, and the trace of a debug
// sink.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CallSite.h"
#include "DBGHelpEntryPoints.h"
#include "StackTraceText.h"
#include "SymTestKit.h"
#include "clsAutoRelease.h"
#include "clsDBGHELP.h"
#include "clsDebugOutput.h"
#include "clsLengthyOp.h"
#include "clsLengthyOpCond.h"
#include "clsMiniDump.h"

// ---- callee decoding --------------------------------------------------------------------------------

namespace {

// Memory of a few bytes at chosen addresses; everything else cannot be read.
class FakeMemory {
public:
    void Put(uint64_t address, std::vector<uint8_t> bytes)
    {
        for (size_t i = 0; i < bytes.size(); i++)
            m_bytes[address + i] = bytes[i];
    }
    void Put64(uint64_t address, uint64_t value)
    {
        for (int i = 0; i < 8; i++)
            m_bytes[address + (uint64_t)i] = (uint8_t)(value >> (8 * i));
    }
    MemoryReader Reader() const
    {
        return [this](uint64_t address, void* out, size_t size) {
            for (size_t i = 0; i < size; i++) {
                auto it = m_bytes.find(address + i);
                if (it == m_bytes.end())
                    return false;
                static_cast<uint8_t*>(out)[i] = it->second;
            }
            return true;
        };
    }

private:
    std::map<uint64_t, uint8_t> m_bytes;
};

} // namespace

TEST(DecodeCallee, FormsOfTheCallInFrontOfAReturnAddress)
{
    const uint64_t pc = 0x7FF612340100, rbp = 0x22FF00, callee = 0x7FF612330000;
    struct Case {
        const char* name;
        std::vector<uint8_t> code; // the bytes that end at pc
        std::map<uint64_t, uint64_t> pointers;
        bool calleeReadable;
        uint64_t expected;
    };
    const int32_t rel = (int32_t)(callee - pc);
    auto le32 = [](int32_t v) {
        return std::vector<uint8_t>{(uint8_t)v, (uint8_t)(v >> 8), (uint8_t)(v >> 16), (uint8_t)(v >> 24)};
    };
    auto join = [](std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const Case cases[] = {
        {"E8 rel32", join({0x90, 0x90, 0xE8}, le32(rel)), {}, true, callee},
        {"E8 to unreadable code", join({0x90, 0x90, 0xE8}, le32(rel)), {}, false, 0},
        {"FF 15 is relative to the return address", join({0x90, 0xFF, 0x15}, le32(0x2000)), {{pc + 0x2000, callee}}, true, callee},
        {"48 FF 15", join({0x48, 0xFF, 0x15}, le32(-0x40)), {{pc - 0x40, callee}}, true, callee},
        {"FF 15 to an unreadable callee", join({0x90, 0xFF, 0x15}, le32(0x2000)), {{pc + 0x2000, callee}}, false, 0},
        {"FF 15 with an unreadable slot", join({0x90, 0xFF, 0x15}, le32(0x3000)), {}, true, 0},
        {"FF 55 F8 reads rbp - 8", {0x90, 0x90, 0x90, 0x90, 0xFF, 0x55, 0xF8}, {{rbp - 8, callee}}, true, callee},
        {"FF 55 10 reads rbp + 16", {0x90, 0x90, 0x90, 0x90, 0xFF, 0x55, 0x10}, {{rbp + 16, callee}}, true, callee},
        {"41 FF 55 uses r13", {0x90, 0x90, 0x90, 0x41, 0xFF, 0x55, 0xF8}, {{rbp - 8, callee}}, true, 0},
        {"FF 95 disp32", join({0x90, 0xFF, 0x95}, le32(-0x120)), {{rbp - 0x120, callee}}, true, callee},
        {"register call FF D0", {0x90, 0x90, 0x90, 0x90, 0x90, 0xFF, 0xD0}, {}, true, 0},
        {"41 FF D3", {0x90, 0x90, 0x90, 0x90, 0x41, 0xFF, 0xD3}, {}, true, 0},
        {"no call", {0x90, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90}, {}, true, 0},
    };
    for (const Case& c : cases) {
        FakeMemory memory;
        memory.Put(pc - c.code.size(), c.code);
        for (auto& [slot, value] : c.pointers)
            memory.Put64(slot, value);
        if (c.calleeReadable)
            memory.Put(callee, {0x55});
        EXPECT_EQ(c.expected, DecodeCallee(pc, rbp, memory.Reader())) << c.name;
    }
    // Bytes in front of the return address that cannot be read: no callee.
    FakeMemory partial;
    partial.Put(pc - 4, le32(rel));
    partial.Put(callee, {0x55});
    EXPECT_EQ(0u, DecodeCallee(pc, rbp, partial.Reader()));
}

// ---- the lines of the report ------------------------------------------------------------------------

namespace {

DBGStackTraceItem Item(bool call, uint64_t address, const char* symbol, uint64_t displacement, const char* file, int line)
{
    DBGStackTraceItem item;
    memset(&item, 0, sizeof item);
    item.cbSize = sizeof item;
    item.bIsCall = call;
    item.qwAddress = address;
    strcpy(item.szSymbol, symbol);
    item.qwDisplacement = displacement;
    strcpy(item.szFileName, file);
    item.dwLineNumber = line;
    strcpy(item.szModuleName, "vlDB07");
    item.qwModuleBase = 0x2A800000;
    item.dwModuleBase = 0x2A800000;
    item.nParams = 4;
    return item;
}

std::string TraceLine(const DBGStackTraceItem& item)
{
    char line[4000];
    FormatTraceLine(item, line, sizeof line);
    return line;
}

std::string ArgumentLine(const DBGStackTraceItem& item)
{
    char line[400];
    FormatArgumentLine(item, line, sizeof line);
    return line;
}

} // namespace

TEST(FormatTraceLine, FramesAndCallees)
{
    struct Case {
        DBGStackTraceItem item;
        const char* line;
    };
    Case cases[] = {
        {Item(false, 0x2A801234, "_db_skip", 0x34, "Navigation.cpp", 178),
         "[0x000000002a801234] vlDB07!_db_skip + 0x34   (Navigation.cpp, line 178)"},
        {Item(false, 0x2A801234, "", 0, "", 0), "[0x000000002a801234] vlDB07!+0x1234 "},
        {Item(false, 0x2A800000, "Start", 0, "", 0), "[0x000000002a800000] vlDB07!Start + 0 "},
        {Item(true, 0x2A801200, "_db_read", 0, "", 0), "   CALL [0x000000002a801200] vlDB07!_db_read "},
        {Item(true, 0x2A801210, "_db_read", 0x10, "Read.cpp", 9),
         "   CALL [0x000000002a801210] vlDB07!_db_read + 0x10   (Read.cpp, line 9)"},
        {Item(true, 0x7FF612340000, "", 0, "", 0), "   CALL [0x00007ff612340000] vlDB07!0x00007FF612340000 "},
    };
    for (Case& c : cases)
        EXPECT_EQ(c.line, TraceLine(c.item));

    // The symbol text: the complete undecorated name, else the name only, else the raw name.
    DBGStackTraceItem item = Item(false, 0x2A801000, "raw", 0, "", 0);
    strcpy(item.szUndName, "name only");
    EXPECT_EQ("[0x000000002a801000] vlDB07!name only + 0 ", TraceLine(item));
    strcpy(item.szUndFullName, "void name(int)");
    EXPECT_EQ("[0x000000002a801000] vlDB07!void name(int) + 0 ", TraceLine(item));

    // A record of the 32-bit size has no 64-bit base: the low 32 bits give the module offset.
    DBGStackTraceItem old = Item(false, 0x2A801234, "", 0, "", 0);
    old.cbSize = offsetof(DBGStackTraceItem, qwModuleBase);
    old.qwModuleBase = 0x99;
    EXPECT_EQ("[0x000000002a801234] vlDB07!+0x1234 ", TraceLine(old));
}

TEST(FormatArgumentLine, ValuesByKind)
{
    DBGStackTraceItem item = Item(false, 0x2A801234, "f", 0, "", 0);
    item.aParams[0] = {0, 0xDEADBEEF12345678ull};
    item.aParams[1] = {1, 0x00007FF612345678ull};
    double d = 2.5;
    item.aParams[2].dwKind = 2;
    memcpy(&item.aParams[2].qwValue, &d, sizeof d);
    item.aParams[3] = {1, 0};
    EXPECT_EQ("         args(0x12345678, 0x    7ff612345678, 2.5, 0x               0)", ArgumentLine(item));
    item.nParams = 1;
    EXPECT_EQ("         args(0x12345678)", ArgumentLine(item));
    item.bIsCall = 1;
    EXPECT_EQ("", ArgumentLine(item)) << "callees have no argument line";
}

TEST(FormatModuleLine, BaseAndTexts)
{
    DBGModuleItem item = {};
    item.cbSize = sizeof item;
    strcpy(item.szModuleName, "vlDB07.dll");
    strcpy(item.szFileDescription, "Datenbank");
    strcpy(item.szFileVersion, "7.0.1.2");
    strcpy(item.szImagePath, "C:\\ox\\vlDB07.dll");
    strcpy(item.szSymType, "DWARF");
    item.qwModuleBase = 0x7FF612340000;
    item.dwModuleBase = 0x12340000;
    char line[1200];
    FormatModuleLine(item, line, sizeof line);
    EXPECT_EQ(std::string("0x00007ff612340000: vlDB07.dll           ") + "Datenbank" + std::string(36, ' ') + " 7.0.1.2" +
                  std::string(23, ' ') + " 'C:\\ox\\vlDB07.dll'  [DWARF]",
              line);
    item.cbSize = offsetof(DBGModuleItem, qwModuleBase);
    FormatModuleLine(item, line, sizeof line);
    EXPECT_EQ(0, strncmp(line, "0x0000000012340000: ", 20)) << line;
}

// ---- symbol and line lookup ------------------------------------------------------------------------

namespace {

// The chain DLL loaded from a path, its lines asked from the build with debug information.
class Chain {
public:
    explicit Chain(const std::string& path) : m_module(LoadLibraryA(path.c_str())) {}
    ~Chain()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    HMODULE Module() const { return m_module; }
    template <typename F>
    F Export(const char* name) const
    {
        return reinterpret_cast<F>(GetProcAddress(m_module, name));
    }
    int LineOf(int which) const { return Export<int (*)(int)>("ChainLineOf")(which); }

private:
    HMODULE m_module;
};

// The stripped chain DLL with its .sym file, copied under a name of its own.
std::string StrippedChain(const oxtest::TempDir& dir)
{
    std::string release = getenv("OX_RELEASE_DIR_WIN") ? getenv("OX_RELEASE_DIR_WIN") : "";
    std::string path = dir.File("symchain_stripped.dll");
    CopyFileA((release + "\\symchain.dll").c_str(), path.c_str(), FALSE);
    CopyFileA((release + "\\symchain.sym").c_str(), dir.File("symchain_stripped.sym").c_str(), FALSE);
    return path;
}

// One clsDBGHELP, initialised, with the modules loaded, and a symbol buffer.
class Reader {
public:
    Reader()
    {
        ok = help.Init(0) && help.LoadModules(help.m_process, help.m_processId);
        symbol = reinterpret_cast<IMAGEHLP_SYMBOL64*>(buffer.data());
    }
    std::unique_ptr<DBGStackTraceItem> Lookup(uint64_t address, BOOL call = FALSE)
    {
        return std::unique_ptr<DBGStackTraceItem>(help.GetStackTraceItem(call, address, symbol));
    }
    clsDBGHELP help;
    bool ok;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(sizeof(IMAGEHLP_SYMBOL64) + 1024);
    IMAGEHLP_SYMBOL64* symbol;
};

std::string FileNameOf(const char* path)
{
    const char* slash = strrchr(path, '\\');
    const char* slash2 = strrchr(path, '/');
    if (slash2 > slash)
        slash = slash2;
    return slash ? slash + 1 : path;
}

} // namespace

TEST(GetStackTraceItem, AddressZeroGivesOnlyTheRecordsFrame)
{
    clsDBGHELP help;
    std::vector<unsigned char> buffer(sizeof(IMAGEHLP_SYMBOL64) + 1024);
    std::unique_ptr<DBGStackTraceItem> item(
        help.GetStackTraceItem(TRUE, 0, reinterpret_cast<IMAGEHLP_SYMBOL64*>(buffer.data())));
    ASSERT_TRUE(item);
    DBGStackTraceItem expected;
    memset(&expected, 0, sizeof expected);
    expected.cbSize = sizeof expected;
    expected.bIsCall = 1;
    expected.nParams = 4;
    EXPECT_EQ(0, memcmp(&expected, item.get(), sizeof expected));
}

TEST(GetStackTraceItem, DebugInformationThroughDbghelpAndStrippedModulesThroughTheOwnReaders)
{
    oxtest::TempDir dir("trace");
    Chain withDebug(symtest::Dll("symchain.dll"));
    Chain stripped(StrippedChain(dir));
    ASSERT_TRUE(withDebug.Module() && stripped.Module());
    Reader r;
    ASSERT_TRUE(r.ok);
    struct Case {
        const Chain* chain;
        const char* module;
        bool ownReaders;
    };
    const Case cases[] = {{&withDebug, "symchain", false}, {&stripped, "symchain_stripped", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        // The function of the export ChainRun, a few bytes in.
        uint64_t run = reinterpret_cast<uintptr_t>(c.chain->Export<void*>("ChainRun"));
        auto item = r.Lookup(run + 4);
        ASSERT_TRUE(item);
        EXPECT_EQ(4u, item->qwDisplacement);
        EXPECT_EQ(0, strncmp(item->szSymbol, "ChainRun", 8)) << item->szSymbol;
        EXPECT_EQ("CrashChain.cpp", FileNameOf(item->szFileName));
        EXPECT_GT(item->dwLineNumber, 0u);
        EXPECT_STREQ(c.module, item->szModuleName);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(c.chain->Module()), item->qwModuleBase);
        EXPECT_EQ((DWORD)reinterpret_cast<uintptr_t>(c.chain->Module()), item->dwModuleBase);
        if (c.ownReaders) {
            // dbghelp sees only the exports: the own readers' name replaces the export's, and no
            // undecorated form is left behind.
            EXPECT_TRUE(!strcmp(item->szSymType, "<exported>") || !strcmp(item->szSymType, "<no known symbols>"))
                << item->szSymType;
            EXPECT_STREQ("", item->szUndFullName);
            EXPECT_STREQ("", item->szUndName);
        } else {
            EXPECT_STRNE("<exported>", item->szSymType);
        }

        // A function that is not exported: only the debug data names it.
        Chain* chain = const_cast<Chain*>(c.chain);
        uint64_t longName = reinterpret_cast<uintptr_t>(chain->Export<void* (*)()>("ChainLongFileNameAddress")());
        auto inLong = r.Lookup(longName + 1);
        ASSERT_TRUE(inLong);
        EXPECT_NE(nullptr, strstr(inLong->szSymbol, "ChainLongFileName")) << inLong->szSymbol;
        EXPECT_EQ(1u, inLong->qwDisplacement);
        // Its 300-character source file name is cut to 259 characters.
        EXPECT_EQ(259u, strlen(inLong->szFileName));
        EXPECT_EQ(0, strncmp(FileNameOf(inLong->szFileName).c_str(), "Chain_0123456789", 16)) << inLong->szFileName;
    }
}

TEST(DemangleOwnName, DecoratedNamesGetTheirWholeRendering)
{
    struct Case {
        const char* name;
        bool decorated;
        const char* text;
    };
    const Case cases[] = {
        {"W?foo$n(i)v", true, "void near foo( int )"},
        // Nothing of the rendering is removed, so the length query counts exactly its characters:
        // the buffer needs one more for the terminator.
        {"W?$nwn(ui)pnv", true, "void near * near operator new( int unsigned )"},
        {"W?$wvf00$", true, "__vftbl"},
        {"ChainInner", false, ""},
        {"_ZN5Chain5InnerEi", false, ""},
    };
    for (const Case& c : cases) {
        char out[1024] = "";
        EXPECT_EQ(c.decorated, DemangleOwnName(c.name, out, sizeof out)) << c.name;
        EXPECT_STREQ(c.text, out) << c.name;
    }
}

// ---- the walk -----------------------------------------------------------------------------------------

namespace {

struct WalkProbe {
    clsDBGHELP* help = nullptr;
    int frameLimit = 20;
    HRESULT result = E_UNEXPECTED;
    IDBGStackTraceList* list = nullptr;
};

void WalkHere(void* context)
{
    WalkProbe* probe = static_cast<WalkProbe*>(context);
    CONTEXT here;
    RtlCaptureContext(&here);
    probe->result = probe->help->GetStackTraceList(&here, probe->frameLimit, &probe->list);
}

std::vector<const DBGStackTraceItem*> Items(IDBGStackTraceList* list)
{
    std::vector<const DBGStackTraceItem*> items;
    list->Reset();
    DBGStackTraceItem* item = nullptr;
    while (list->Next(1, &item, nullptr) == S_OK)
        items.push_back(item);
    return items;
}

bool Names(const DBGStackTraceItem* item, const char* function)
{
    return item && (strstr(item->szSymbol, function) || strstr(item->szUndName, function));
}

size_t Find(const std::vector<const DBGStackTraceItem*>& items, const char* function, bool call, size_t from = 0)
{
    for (size_t i = from; i < items.size(); i++)
        if (!items[i]->bIsCall == !call && Names(items[i], function))
            return i;
    return std::string::npos;
}

} // namespace

TEST(GetStackTraceList, KnownChainWithCalleesLinesAndParameters)
{
    oxtest::TempDir dir("trace");
    Chain withDebug(symtest::Dll("symchain.dll"));
    Chain stripped(StrippedChain(dir));
    ASSERT_TRUE(withDebug.Module() && stripped.Module());
    const int inner = withDebug.LineOf(0), middle = withDebug.LineOf(1), outer = withDebug.LineOf(2);
    for (const Chain* chain : {&withDebug, &stripped}) {
        SCOPED_TRACE(chain == &withDebug ? "with debug information" : "stripped with .sym");
        clsDBGHELP help;
        ASSERT_TRUE(help.Init(0));
        WalkProbe probe;
        probe.help = &help;
        chain->Export<int (*)(void (*)(void*), void*)>("ChainRun")(&WalkHere, &probe);
        ASSERT_EQ(S_OK, probe.result);
        clsAutoRelease<IDBGStackTraceList> list;
        list.m_ptr = probe.list;
        const auto items = Items(list);

        // Frame 0 is the probe itself; then the chain's frames, each but the first followed by the
        // callee of its call: ChainInner calls the probe through a register (no callee).
        size_t i = Find(items, "WalkHere", false);
        ASSERT_EQ(0u, i);
        size_t in = Find(items, "ChainInner", false), mid = Find(items, "ChainMiddle", false),
               out = Find(items, "ChainOuter", false), run = Find(items, "ChainRun", false);
        ASSERT_TRUE(in == 1 && mid != std::string::npos && out != std::string::npos && run != std::string::npos)
            << in << " " << mid << " " << out << " " << run;
        EXPECT_EQ(in + 1, mid) << "no callee for a call through a register";
        EXPECT_TRUE(Names(items[mid + 1], "ChainInner") && items[mid + 1]->bIsCall) << "callee of ChainMiddle's call";
        EXPECT_EQ(0u, items[mid + 1]->qwDisplacement) << "the callee is the function's start";
        EXPECT_EQ(mid + 2, out);
        EXPECT_TRUE(Names(items[out + 1], "ChainMiddle") && items[out + 1]->bIsCall);
        EXPECT_EQ(out + 2, run);
        EXPECT_TRUE(Names(items[run + 1], "ChainOuter") && items[run + 1]->bIsCall);

        // Files and lines of the frames: the line of each call.
        const struct {
            size_t index;
            int line;
        } rows[] = {{in, inner}, {mid, middle}, {out, outer}};
        for (const auto& row : rows) {
            EXPECT_EQ("CrashChain.cpp", FileNameOf(items[row.index]->szFileName)) << items[row.index]->szSymbol;
            EXPECT_EQ((DWORD)row.line, items[row.index]->dwLineNumber) << items[row.index]->szSymbol;
        }
        // The arguments from the home slots (kept there by the unoptimised chain): 64-bit values.
        EXPECT_EQ(1u, items[mid]->aParams[0].dwKind);
        EXPECT_EQ(0x1111u, items[out]->aParams[0].qwValue) << "ChainOuter(0x1111)";
        EXPECT_EQ(0x2222u, items[mid]->aParams[0].qwValue) << "ChainMiddle(0x1111 + 0x1111)";
        EXPECT_EQ(0x3333u, items[in]->aParams[0].qwValue);
        for (const DBGStackTraceItem* item : items)
            EXPECT_EQ(4, item->nParams);

        // The walk ends at the thread's start: the last frame is not the limit's.
        EXPECT_LT(items.size(), 40u);
    }
}

TEST(GetStackTraceList, FrameLimits)
{
    clsDBGHELP* help = DBGHelpCreate();
    ASSERT_NE(nullptr, help);
    for (int limit : {0, 1, 3}) {
        CONTEXT here;
        RtlCaptureContext(&here);
        clsAutoRelease<IDBGStackTraceList> list;
        EXPECT_TRUE(DBGHelpGetStackTraceList(help, &here, limit, &list.m_ptr, nullptr)) << limit;
        ASSERT_NE(nullptr, list.m_ptr);
        const auto items = Items(list);
        size_t frames = 0;
        for (const DBGStackTraceItem* item : items)
            frames += !item->bIsCall;
        EXPECT_EQ((size_t)limit, frames) << limit;
        EXPECT_EQ(limit == 0, list->IsEmpty() != FALSE);
    }
    // The object's own result for an empty trace.
    CONTEXT here;
    RtlCaptureContext(&here);
    IDBGStackTraceList* empty = nullptr;
    EXPECT_EQ(S_FALSE, help->GetStackTraceList(&here, 0, &empty));
    ASSERT_NE(nullptr, empty);
    EXPECT_EQ(0u, empty->Release());
    DBGHelpRelease(help);
}

TEST(GetStackTraceList, ProgressStepsAndFrameTexts)
{
    oxtest::TempDir dir("trace");
    HMODULE real = LoadLibraryA("vlCT11.dll"), fake = LoadLibraryA("vlct12.dll");
    ASSERT_TRUE(real && fake);
    auto log = reinterpret_cast<const char* (*)()>(GetProcAddress(fake, "DoubleLog"));
    reinterpret_cast<void (*)(int)>(GetProcAddress(fake, "DoubleReset"))(1);
    clsDBGHELP* help = DBGHelpCreate();
    ASSERT_NE(nullptr, help);
    CONTEXT here;
    RtlCaptureContext(&here);
    DBGProgressInfo info = {1, 0, "c", "m", 1};
    clsAutoRelease<IDBGStackTraceList> list;
    EXPECT_TRUE(DBGHelpGetStackTraceList(help, &here, 2, &list.m_ptr, &info));
    DBGHelpRelease(help);
    const std::vector<std::string> lines = oxtest::SplitLines(log());
    auto at = [&](const std::string& text) {
        for (size_t i = 0; i < lines.size(); i++)
            if (lines[i] == text)
                return i;
        return std::string::npos;
    };
    // Step 1 of 2 starts at 0, the module list ends it at 50; step 2 shows its text and the frames.
    size_t start = at("SetProgress NULL 0"), loaded = at("SetProgress NULL 50"), step = at("Stack Trace: -1"),
           frame0 = at("Frame 0 -1"), frame1 = at("Frame 1 -1"), half = at("SetProgress NULL 75");
    EXPECT_TRUE(start < loaded && loaded < step && step < frame0 && frame0 < frame1 && frame1 < half)
        << start << " " << loaded << " " << step << " " << frame0 << " " << frame1 << " " << half;
    EXPECT_EQ("JobClose", lines.back());
    FreeLibrary(fake);
    FreeLibrary(real);
}

// ---- entry points and their lock ----------------------------------------------------------------------

namespace {

DWORD WINAPI CreateAndRelease(void* param)
{
    clsDBGHELP* help = DBGHelpCreate();
    *static_cast<clsDBGHELP**>(param) = help;
    DBGHelpRelease(help);
    return 0;
}

DWORD WINAPI TryLock(void* param)
{
    *static_cast<bool*>(param) = TryEnterCriticalSection(DBGHelpLock.Get()) != FALSE;
    if (*static_cast<bool*>(param))
        DBGHelpLock.Leave();
    return 0;
}

bool LockFreeForAnotherThread()
{
    bool free = false;
    HANDLE thread = CreateThread(nullptr, 0, &TryLock, &free, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return free;
}

} // namespace

TEST(DBGHelpEntryPoints, OneObjectAtATimeAndNullObjects)
{
    clsDBGHELP* first = DBGHelpCreate();
    ASSERT_NE(nullptr, first);
    EXPECT_FALSE(LockFreeForAnotherThread());
    // The same thread may enter again.
    clsDBGHELP* again = DBGHelpCreate();
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(again, DBGHelpRelease(again));

    // Another thread's create waits until the object is released.
    clsDBGHELP* other = reinterpret_cast<clsDBGHELP*>(1);
    HANDLE thread = CreateThread(nullptr, 0, &CreateAndRelease, &other, 0, nullptr);
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(thread, 300));
    EXPECT_EQ(reinterpret_cast<clsDBGHELP*>(1), other);
    EXPECT_EQ(first, DBGHelpRelease(first));
    EXPECT_EQ((DWORD)WAIT_OBJECT_0, WaitForSingleObject(thread, 30000));
    CloseHandle(thread);
    EXPECT_NE(nullptr, other);
    EXPECT_TRUE(LockFreeForAnotherThread());

    // NULL objects: FALSE everywhere, and releasing NULL leaves the lock alone.
    CONTEXT here;
    RtlCaptureContext(&here);
    IDBGStackTraceList* trace = nullptr;
    IDBGModuleList* modules = nullptr;
    char path[260] = "";
    EXPECT_FALSE(DBGHelpGetStackTraceList(nullptr, &here, 20, &trace, nullptr));
    EXPECT_FALSE(DBGHelpGetModuleList(nullptr, &modules, nullptr));
    EXPECT_FALSE(DBGHelpWriteMiniDump(nullptr, path, sizeof path, nullptr, nullptr));
    EXPECT_EQ(nullptr, trace);
    EXPECT_EQ(nullptr, modules);
    EXPECT_STREQ("", path);
    clsDBGHELP* held = DBGHelpCreate();
    EXPECT_EQ(nullptr, DBGHelpRelease(nullptr));
    EXPECT_FALSE(LockFreeForAnotherThread()) << "releasing NULL must not leave the lock";
    DBGHelpRelease(held);
    EXPECT_TRUE(LockFreeForAnotherThread());
}

TEST(DBGHelpEntryPoints, ModuleListIsACopyThatOutlivesTheObject)
{
    clsDBGHELP* help = DBGHelpCreate();
    ASSERT_NE(nullptr, help);
    clsAutoRelease<IDBGModuleList> list;
    ASSERT_TRUE(DBGHelpGetModuleList(help, &list.m_ptr, nullptr));
    const size_t count = help->m_modules.Count();
    ASSERT_GT(count, 2u);
    DBGHelpRelease(help);
    // Every record still readable after the object is gone, in the order of the bases.
    list->Reset();
    DBGModuleItem* item = nullptr;
    size_t n = 0;
    uint64_t previous = 0;
    bool self = false;
    while (list->Next(1, &item, nullptr) == S_OK) {
        EXPECT_EQ(sizeof(DBGModuleItem), item->cbSize);
        EXPECT_GE(item->qwModuleBase, previous);
        previous = item->qwModuleBase;
        self = self || item->qwModuleBase == reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
        n++;
    }
    EXPECT_EQ(count, n);
    EXPECT_TRUE(self) << "the program itself is listed";
}

// ---- the dump writer's progress callback ---------------------------------------------------------------

TEST(MyMiniDumpCallback, ModulesAndThreadsCountAndShowTheirTexts)
{
    HMODULE real = LoadLibraryA("vlCT11.dll"), fake = LoadLibraryA("vlct12.dll");
    ASSERT_TRUE(real && fake);
    auto log = reinterpret_cast<const char* (*)()>(GetProcAddress(fake, "DoubleLog"));
    clsDBGHELP help;
    {
        DBGProgressInfo info = {1, 0, "c", "m", 1};
        clsLengthyOpCond window(help, info);
        reinterpret_cast<void (*)(int)>(GetProcAddress(fake, "DoubleReset"))(1);
        MiniDumpProgress progress = {&window, 0};
        MINIDUMP_CALLBACK_INPUT input = {};
        input.CallbackType = ModuleCallback;
        wchar_t path[] = L"C:\\windows\\system32\\kernel32.dll";
        input.Module.FullPath = path;
        EXPECT_TRUE(MyMiniDumpCallback(&progress, &input, nullptr));
        input = {};
        input.CallbackType = ThreadCallback;
        input.Thread.ThreadId = 77;
        EXPECT_TRUE(MyMiniDumpCallback(&progress, &input, nullptr));
        input.CallbackType = ThreadExCallback;
        input.ThreadEx.ThreadId = 78;
        EXPECT_TRUE(MyMiniDumpCallback(&progress, &input, nullptr));
        input.CallbackType = MemoryCallback;
        EXPECT_TRUE(MyMiniDumpCallback(&progress, &input, nullptr));
        EXPECT_EQ(3, progress.count);
        // Without a window it only counts.
        MiniDumpProgress silent = {nullptr, 0};
        EXPECT_TRUE(MyMiniDumpCallback(&silent, &input, nullptr));
        input.CallbackType = ThreadCallback;
        EXPECT_TRUE(MyMiniDumpCallback(&silent, &input, nullptr));
        EXPECT_EQ(1, silent.count);
        EXPECT_EQ((std::vector<std::string>{"SetProgress kernel32.dll 1", "Refresh", "SetProgress Thread 77 2", "Refresh",
                                            "SetProgress Thread 78 3", "Refresh"}),
                  oxtest::SplitLines(log()));
    }
    FreeLibrary(fake);
    FreeLibrary(real);
}

// ---- a debug trace through a sink ------------------------------------------------------------------------

namespace {

class RecordingOutput : public clsDebugOutput {
public:
    void Output(const char* format, va_list args) override
    {
        char text[4000];
        vsnprintf(text, sizeof text, format, args);
        lines.push_back(text);
    }
    std::vector<std::string> lines;
};

struct DumpProbe {
    RecordingOutput output;
    bool written = false;
};

void DumpHere(void* context)
{
    DumpProbe* probe = static_cast<DumpProbe*>(context);
    probe->written = clsDBGHELP::DumpStackTraceEx(6, probe->output);
}

} // namespace

TEST(clsDBGHELP, DumpStackTraceExWritesTheCallersChain)
{
    Chain chain(symtest::Dll("symchain.dll"));
    ASSERT_NE(nullptr, chain.Module());
    DumpProbe probe;
    chain.Export<int (*)(void (*)(void*), void*)>("ChainRun")(&DumpHere, &probe);
    ASSERT_TRUE(probe.written);
    const std::vector<std::string>& lines = probe.output.lines;
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ("Stack Trace:", lines.front());
    EXPECT_EQ("   =========================", lines.back());
    auto index = [&](const std::string& text) {
        for (size_t i = 0; i < lines.size(); i++)
            if (lines[i].find(text) != std::string::npos && lines[i][0] == '[')
                return i;
        return std::string::npos;
    };
    size_t dump = index("DumpStackTraceEx"), inner = index("!ChainInner + "), middle = index("!ChainMiddle + ");
    EXPECT_TRUE(dump < inner && inner < middle) << dump << " " << inner << " " << middle;
    EXPECT_NE(std::string::npos, lines[middle].find("CrashChain.cpp, line " + std::to_string(chain.LineOf(1))));
    EXPECT_EQ(0u, lines[middle + 1].find("         args(0x    ")) << lines[middle + 1];
    EXPECT_EQ(0u, lines[middle + 2].find("   CALL [0x")) << lines[middle + 2];
    size_t frames = 0;
    for (const std::string& line : lines)
        frames += line[0] == '[';
    EXPECT_EQ(6u, frames) << "the depth limits the frames";
}
