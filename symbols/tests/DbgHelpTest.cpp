// clsDBGHELP under Wine: finding dbghelp.dll, the symbol path, Init, the module list by each
// method, the module records with the own-module probe, GetModuleInfo and the own lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <new>
#include <set>

#include "SymTestKit.h"
#include "clsDBGHELP.h"

namespace {

std::vector<uint64_t> Bases(const clsModuleList& list)
{
    std::vector<uint64_t> bases;
    for (size_t i = 0; i < list.Count(); i++)
        bases.push_back(list.At(i)->qwModuleBase);
    return bases;
}

// A copy of a DLL cut at the end of its last section (dropping the symbol table behind it).
Bytes CutAtLastSection(const Bytes& image)
{
    auto le = [&](size_t at, int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; i++)
            v |= (uint32_t)image[at + i] << (8 * i);
        return v;
    };
    uint32_t nt = le(0x3C, 4);
    uint32_t sections = le(nt + 6, 2);
    uint32_t table = nt + 24 + le(nt + 20, 2);
    uint32_t last = table + 40 * (sections - 1);
    uint32_t end = le(last + 20, 4) + le(last + 16, 4);
    return Bytes(image.begin(), image.begin() + std::min<size_t>(end, image.size()));
}

} // namespace

TEST(clsDBGHELP, LibrarySearchOrder)
{
    oxtest::TempDir dir("sym");
    symtest::EnvScope env;
    std::string program = dir.File("prog.exe");
    std::string pf = dir.File("pf");
    std::string dir64 = pf + "\\Debugging Tools for Windows 64-Bit";
    std::string dir32 = pf + "\\Debugging Tools for Windows";
    CreateDirectoryA(pf.c_str(), nullptr);

    struct Step {
        const char* what;
        bool local, programFiles, in64, in32;
        std::string tried;
    };
    const Step steps[] = {
        {"ProgramFiles unset", false, false, false, false, "dbghelp.dll;"},
        {"no Debugging Tools", false, true, false, false, "dbghelp.dll;"},
        {"32-bit tools only", false, true, false, true, dir32 + "\\dbghelp.dll;"},
        {"64-bit before 32-bit", false, true, true, true, dir64 + "\\dbghelp.dll;"},
        {".local beside the program", true, true, true, true, "dbghelp.dll;"},
    };
    for (const Step& s : steps) {
        if (s.local)
            oxtest::WriteFileText(program + ".local", "");
        env.Set("ProgramFiles", s.programFiles ? pf.c_str() : nullptr);
        if (s.in64) {
            CreateDirectoryA(dir64.c_str(), nullptr);
            CopyFileA(symtest::Dll("symbind.dll").c_str(), (dir64 + "\\dbghelp.dll").c_str(), FALSE);
        }
        if (s.in32) {
            CreateDirectoryA(dir32.c_str(), nullptr);
            CopyFileA(symtest::Dll("symbind.dll").c_str(), (dir32 + "\\dbghelp.dll").c_str(), FALSE);
        }
        std::string tried;
        HMODULE module = clsDBGHELP::LoadDbgHelp(program.c_str(), &tried);
        EXPECT_NE(nullptr, module) << s.what;
        EXPECT_EQ(s.tried, tried) << s.what;
        if (module)
            FreeLibrary(module);
    }
    std::string tried;
    HMODULE module = clsDBGHELP::LoadDbgHelp(nullptr, &tried); // program path unknown
    EXPECT_EQ("dbghelp.dll;", tried);
    FreeLibrary(module);
}

TEST(clsDBGHELP, ComposedSymbolPath)
{
    symtest::EnvScope env;
    for (const char* name : {"_NT_SYMBOL_PATH", "_NT_ALTERNATE_SYMBOL_PATH", "SYSTEMROOT", "TEMP"})
        env.Set(name, nullptr);
    char cwd[1024];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    EXPECT_EQ(std::string(".;") + cwd + ";" + oxtest::ProgramDir() + ";", clsDBGHELP::ComposeSymbolPath());

    env.Set("_NT_SYMBOL_PATH", "A");
    env.Set("_NT_ALTERNATE_SYMBOL_PATH", "B");
    env.Set("SYSTEMROOT", "C:\\win");
    env.Set("TEMP", "C:\\tmp");
    EXPECT_EQ(std::string(".;") + cwd + ";" + oxtest::ProgramDir() +
                  ";A;B;C:\\win;C:\\win\\system32;SRV*C:\\tmp\\websymbols*https://msdl.microsoft.com/download/symbols;",
              clsDBGHELP::ComposeSymbolPath());
    // A value longer than the 1,024-byte buffer is left out.
    env.Set("_NT_SYMBOL_PATH", std::string(1500, 'x').c_str());
    EXPECT_EQ(std::string::npos, clsDBGHELP::ComposeSymbolPath().find("xxx"));
}

TEST(clsDBGHELP, InitOnceAndOptions)
{
    clsDBGHELP help;
    ASSERT_TRUE(help.Init(0));
    EXPECT_TRUE(help.m_initialised);
    HMODULE module = help.m_module;
    EXPECT_TRUE(help.Init(1));
    EXPECT_EQ(module, help.m_module);
    auto getOptions = help.Fn<DWORD(WINAPI*)()>(DbgHelpFn::SymGetOptions);
    ASSERT_NE(nullptr, getOptions);
    EXPECT_EQ(0x290u, getOptions() & 0x290u);
}

TEST(clsDBGHELP, EveryMethodListsTheSameModulesSortedWithoutDuplicates)
{
    // The process-status method loads psapi.dll itself: loaded beforehand, every method sees it.
    HMODULE psapi = LoadLibraryA("psapi.dll");
    std::vector<std::vector<uint64_t>> results;
    for (int method = 0; method < 3; method++) {
        clsDBGHELP help;
        ASSERT_TRUE(help.Init(0));
        bool ok = method == 0   ? help.GetModuleListDBGHelp(help.m_process, help.m_processId)
                  : method == 1 ? help.GetModuleListTH32(help.m_process, help.m_processId)
                                : help.GetModuleListPSAPI(help.m_process, help.m_processId);
        ASSERT_TRUE(ok) << method;
        std::vector<uint64_t> bases = Bases(help.m_modules);
        EXPECT_TRUE(std::is_sorted(bases.begin(), bases.end())) << method;
        EXPECT_EQ(bases.size(), std::set<uint64_t>(bases.begin(), bases.end()).size()) << method;
        const DBGModuleItem* exe = symtest::FindModule(help.m_modules, "symbols_test.exe");
        ASSERT_NE(nullptr, exe) << method;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)), exe->qwModuleBase);
        EXPECT_EQ((DWORD)exe->qwModuleBase, exe->dwModuleBase);
        EXPECT_EQ(sizeof(DBGModuleItem), exe->cbSize);
        results.push_back(bases);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], results[2]);

    clsDBGHELP help;
    ASSERT_TRUE(help.Init(0));
    ASSERT_TRUE(help.LoadModules(help.m_process, help.m_processId));
    size_t count = help.m_modules.Count();
    EXPECT_EQ(results[0].size(), count);
    EXPECT_TRUE(help.LoadModules(help.m_process, help.m_processId)); // loaded once per object
    EXPECT_EQ(count, help.m_modules.Count());
    FreeLibrary(psapi);
}

// A method that fails after it reported modules leaves none of them behind: the next method's
// list is the only one.
TEST(clsDBGHELP, AMethodThatFailsMidwayLeavesNoRecordsForTheNext)
{
    HMODULE failing = LoadLibraryA(symtest::Dll("symfaildbghelp.dll").c_str());
    ASSERT_NE(nullptr, failing);
    clsDBGHELP help;
    help.Attach(failing); // freed by the object
    ASSERT_TRUE(help.LoadModules(help.m_process, help.m_processId));

    clsDBGHELP toolhelp;
    ASSERT_TRUE(toolhelp.GetModuleListTH32(toolhelp.m_process, toolhelp.m_processId));
    std::vector<uint64_t> bases = Bases(help.m_modules);
    EXPECT_EQ(bases.size(), std::set<uint64_t>(bases.begin(), bases.end()).size()) << "no module twice";
    EXPECT_EQ(Bases(toolhelp.m_modules), bases);
}

TEST(clsModuleList, EnumerationRules)
{
    clsModuleList* list = new clsModuleList;
    list->AddRef();
    auto item = [](uint64_t base, const char* name) {
        DBGModuleItem* i = new DBGModuleItem{};
        i->qwModuleBase = base;
        strcpy(i->szModuleName, name);
        return i;
    };
    list->Insert(item(0x20, "b1"));
    list->Insert(item(0x20, "b2")); // equal bases keep their order of arrival
    list->Insert(item(0x10, "a"));
    EXPECT_FALSE(list->IsEmpty());

    DBGModuleItem* got[3] = {};
    ULONG fetched = 99;
    EXPECT_EQ(S_OK, list->Skip(0));
    EXPECT_EQ(S_OK, list->Next(1, got, &fetched));
    EXPECT_EQ(1u, fetched);
    EXPECT_STREQ("a", got[0]->szModuleName);
    EXPECT_EQ(S_FALSE, list->Next(3, got, &fetched));
    EXPECT_EQ(2u, fetched);
    EXPECT_STREQ("b1", got[0]->szModuleName);
    EXPECT_STREQ("b2", got[1]->szModuleName);
    EXPECT_EQ(S_FALSE, list->Next(3, got, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_FALSE, list->Skip(1));
    EXPECT_EQ(S_OK, list->Reset());
    EXPECT_EQ(S_OK, list->Next(1, got, nullptr));
    EXPECT_STREQ("a", got[0]->szModuleName);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, list->QueryInterface(IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);

    // A clone shares the records; each is freed once, by the last list.
    IDBGModuleList* clone = nullptr;
    ASSERT_EQ(S_OK, list->Clone(&clone));
    EXPECT_EQ(0u, list->Release());
    ASSERT_EQ(S_OK, clone->Next(3, got, &fetched));
    EXPECT_STREQ("b2", got[2]->szModuleName);
    EXPECT_EQ(0u, clone->Release());

    clsModuleList empty;
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(clsDBGHELP, OwnModuleProbeAndRecord)
{
    oxtest::TempDir dir("sym");
    const Bytes image = symtest::ReadBytes(symtest::Dll("symbind.dll"));
    ASSERT_FALSE(image.empty());
    std::string plain = dir.File("plain.dll"), withSym = dir.File("withsym.dll"), appended = dir.File("appended.dll");
    ASSERT_TRUE(symtest::WriteBytes(plain, image));
    ASSERT_TRUE(symtest::WriteBytes(withSym, image));
    ASSERT_TRUE(symtest::WriteBytes(dir.File("withsym.sym"), BuildEdgeFixture()));
    Bytes joined = CutAtLastSection(image);
    const Bytes elf = BuildEdgeFixture();
    joined.insert(joined.end(), elf.begin(), elf.end());
    ASSERT_TRUE(symtest::WriteBytes(appended, joined));

    clsDBGHELP help;
    help.LoadModule(help.m_process, plain.c_str(), "plain.dll", 0x300000000ull, 0x1000);
    help.LoadModule(help.m_process, withSym.c_str(), "withsym.dll", 0x200000000ull, 0x1000);
    help.LoadModule(help.m_process, appended.c_str(), std::string(300, 'n').c_str(), 0x100000000ull, 0x1000);
    ASSERT_EQ(3u, help.m_modules.Count());
    const DBGModuleItem* a = help.m_modules.At(0);
    const DBGModuleItem* s = help.m_modules.At(1);
    const DBGModuleItem* p = help.m_modules.At(2);
    EXPECT_STREQ("DWARF", a->szSymType);
    EXPECT_EQ(259u, strlen(a->szModuleName));
    EXPECT_STREQ("DWARF", s->szSymType);
    EXPECT_STREQ("-unknown-", p->szSymType); // no debug data; dbghelp not bound
    EXPECT_STREQ("velmar Software GmbH", p->szCompanyName);
    EXPECT_STREQ("1.2.3.4 77", p->szFileVersion);
    EXPECT_STREQ("Symbol reader test module", p->szFileDescription);
    EXPECT_EQ(0x300000000ull, p->qwModuleBase);
    EXPECT_EQ(0u, p->dwModuleBase);
    EXPECT_STREQ(plain.c_str(), p->szImagePath);

    // Another maker's module is not probed, even with a .sym file beside it.
    std::string other = dir.File("other.dll");
    CopyFileA(symtest::Dll("vlct12.dll").c_str(), other.c_str(), FALSE);
    symtest::WriteBytes(dir.File("other.sym"), elf);
    help.LoadModule(help.m_process, other.c_str(), "other.dll", 0x400000000ull, 0x1000);
    EXPECT_STREQ("-unknown-", help.m_modules.At(3)->szSymType);

    // Only a company name that begins with "velmar " exactly starts the probe: the same image with
    // its own ELF data, the version resource's company name changed in place.
    struct Case {
        const char* company;
        const char* kind;
    } const cases[] = {
        {"velmar Software GmbH", "DWARF"},
        {"Velmar Software GmbH", "-unknown-"},
        {"velmar_Software GmbH", "-unknown-"},
        {"VELMAR Software GmbH", "-unknown-"},
    };
    auto utf16 = [](const char* text) {
        Bytes bytes;
        for (const char* c = text; *c; c++) {
            bytes.push_back((uint8_t)*c);
            bytes.push_back(0);
        }
        return bytes;
    };
    const Bytes original = utf16("velmar Software GmbH");
    auto at = std::search(joined.begin(), joined.end(), original.begin(), original.end());
    ASSERT_NE(joined.end(), at) << "the company name in the test module's version resource";
    uint64_t base = 0x500000000ull;
    for (const Case& c : cases) {
        Bytes changed = joined;
        const Bytes company = utf16(c.company);
        std::copy(company.begin(), company.end(), changed.begin() + (at - joined.begin()));
        std::string path = dir.File("company" + std::to_string(base >> 32) + ".dll");
        ASSERT_TRUE(symtest::WriteBytes(path, changed));
        clsDBGHELP probe;
        probe.LoadModule(probe.m_process, path.c_str(), "company.dll", base, 0x1000);
        ASSERT_EQ(1u, probe.m_modules.Count());
        EXPECT_STREQ(c.company, probe.m_modules.At(0)->szCompanyName);
        EXPECT_STREQ(c.kind, probe.m_modules.At(0)->szSymType) << c.company;
        base += 0x100000000ull;
    }
}

TEST(clsDBGHELP, GetModuleInfoFallsBackToTheProcessModules)
{
    clsDBGHELP help; // dbghelp not attached: the process's own module table answers
    IMAGEHLP_MODULE64 info;
    uint64_t inside = reinterpret_cast<uintptr_t>(&Bases) + 0x10;
    ASSERT_TRUE(help.GetModuleInfo(help.m_process, inside, &info));
    EXPECT_STREQ("symbols_test", info.ModuleName);
    EXPECT_EQ(0, (int)info.SymType);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)), info.BaseOfImage);
    EXPECT_EQ(584u, info.SizeOfStruct);

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(help.GetModuleInfo(help.m_process, 0x10, &info));
    EXPECT_EQ(1114u, GetLastError());

    clsDBGHELP bound;
    ASSERT_TRUE(bound.Init(0));
    ASSERT_TRUE(bound.LoadModules(bound.m_process, bound.m_processId));
    ASSERT_TRUE(bound.GetModuleInfo(bound.m_process, inside, &info));
    EXPECT_STREQ("symbols_test", info.ModuleName);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr)), info.BaseOfImage);
}

TEST(clsDBGHELP, OwnLookupInALoadedModule)
{
    std::string path = symtest::Fixture("probe.dll");
    clsDBGHELP help;
    String file, function;
    int line = 0;
    uint32_t displacement = 0;
    EXPECT_FALSE(help.GetOwnSymbolInfo(path.c_str(), 0x1000, file, line, function, displacement)); // not loaded

    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(nullptr, module);
    uint64_t run = reinterpret_cast<uintptr_t>(GetProcAddress(module, "ProbeRun"));
    ASSERT_TRUE(help.GetOwnSymbolInfo(path.c_str(), run + 2, file, line, function, displacement));
    EXPECT_STREQ("ProbeRun", function);
    EXPECT_EQ(2u, displacement);
    EXPECT_STREQ("probe.cpp", file);
    EXPECT_EQ(40, line);

    String noFile, noFunction;
    int noLine = 0;
    uint32_t noDisplacement = 0;
    EXPECT_TRUE(help.GetOwnSymbolInfo(path.c_str(), reinterpret_cast<uintptr_t>(module) + 0x10, noFile, noLine, noFunction,
                                      noDisplacement));
    EXPECT_STREQ("", noFunction); // the headers: no function, no line
    EXPECT_EQ(0, noLine);
    FreeLibrary(module);
}

TEST(clsDBGHELP, OwnLookupOfTheOldContainer)
{
    // A module whose .sym file (or appended data) holds the old producer's tables: addresses are
    // offsets from the code at 0x1000 above the load address.
    oxtest::TempDir dir("sym");
    const Bytes image = symtest::ReadBytes(symtest::Dll("symbind.dll"));
    const Bytes legacy = symtest::ReadBytes(symtest::Fixture("legacy.elf"));
    ASSERT_FALSE(legacy.empty());
    Bytes appended = CutAtLastSection(image);
    appended.insert(appended.end(), legacy.begin(), legacy.end());
    struct Case {
        const char* file;
        Bytes bytes;
        const char* sym;
        Bytes symBytes;
        bool accepted;
    };
    const Case cases[] = {
        {"old1.dll", image, "old1.sym", legacy, true},
        {"old2.dll", appended, nullptr, {}, true},
        {"old3.dll", image, "old3.sym", BuildPubnamesFixture(3), false}, // pubnames version 3
    };
    for (const Case& c : cases) {
        std::string path = dir.File(c.file);
        ASSERT_TRUE(symtest::WriteBytes(path, c.bytes));
        if (c.sym) {
            ASSERT_TRUE(symtest::WriteBytes(dir.File(c.sym), c.symBytes));
        }
        HMODULE module = LoadLibraryA(path.c_str());
        ASSERT_NE(nullptr, module) << c.file;
        uint64_t base = reinterpret_cast<uintptr_t>(module);
        clsDBGHELP help;
        String file, function;
        int line = 0;
        uint32_t displacement = 0;
        EXPECT_EQ(c.accepted, help.GetOwnSymbolInfo(path.c_str(), base + 0x1000 + 0x4, file, line, function, displacement))
            << c.file;
        if (c.accepted) {
            EXPECT_STREQ("Space::Outer::Run", function) << c.file;
            EXPECT_EQ(4u, displacement) << c.file;
            EXPECT_TRUE(std::string(file).ends_with("legacy.cpp")) << c.file << ": " << (const char*)file; // as the table names it
            EXPECT_EQ(10, line) << c.file;
        }
        // Below the code start no range holds the address.
        String noFunction;
        uint32_t noDisplacement = 0;
        help.GetOwnSymbolInfo(path.c_str(), base + 0x10, file, line, noFunction, noDisplacement);
        EXPECT_STREQ("", noFunction) << c.file;
        FreeLibrary(module);
    }
}
