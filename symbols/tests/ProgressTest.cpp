// The progress window against a test double of the controls library ("vlct12.dll", found before
// the real "vlct11.dll" that the process has loaded as well).
#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "SymTestKit.h"
#include "clsDBGHELP.h"
#include "clsLengthyOp.h"
#include "clsLengthyOpCond.h"

namespace {

class Double {
public:
    Double() : m_real(LoadLibraryA("vlCT11.dll")), m_module(LoadLibraryA("vlct12.dll"))
    {
        m_log = reinterpret_cast<const char* (*)()>(GetProcAddress(m_module, "DoubleLog"));
        m_reset = reinterpret_cast<void (*)(int)>(GetProcAddress(m_module, "DoubleReset"));
        m_reset(1);
    }
    ~Double()
    {
        FreeLibrary(m_module);
        FreeLibrary(m_real);
    }
    std::vector<std::string> Log() const { return oxtest::SplitLines(m_log()); }
    void Reset(bool create) { m_reset(create); }
    HMODULE Module() const { return m_module; }

private:
    HMODULE m_real;
    HMODULE m_module;
    const char* (*m_log)();
    void (*m_reset)(int);
};

using Lines = std::vector<std::string>;

} // namespace

TEST(clsLengthyOpCond, DialogCallsInOrderWithGermanDefaults)
{
    Double ctl;
    ASSERT_NE(nullptr, GetModuleHandleA("vlct11.dll"));
    clsDBGHELP help;
    {
        DBGProgressInfo info = {1, 0, nullptr, nullptr, 1};
        clsLengthyOpCond window(help, info);
        EXPECT_EQ(&window, help.m_progress);
        ASSERT_TRUE(window.HasDialog());
        EXPECT_EQ(ctl.Module(), window.m_dialog->Library());
        window.m_steps = 2;
        window.ReportPosition(50);
        window.ReportPosition(-1);
        window.m_step = 2;
        window.ReportPosition(100);
        window.ShowText("kernel32.dll");
    }
    EXPECT_EQ(nullptr, help.m_progress);
    // A message's line break splits it over two log lines.
    EXPECT_EQ((Lines{"JobOpen", "Create lengthy", "SetOption 0 vt=3 1",
                     "Start 0 0 Bitte warten Sie...|Modul-Information wird eingelesen: 3", "SetProgress NULL 25", "Refresh",
                     "SetProgress NULL 100", "Refresh", "SetProgress Modul-Information wird eingelesen:", "kernel32.dll -1",
                     "Refresh", "Finish", "Release", "JobClose"}),
              ctl.Log());
}

TEST(clsLengthyOpCond, CallerTextsAndNoDialogObject)
{
    Double ctl;
    clsDBGHELP help;
    {
        DBGProgressInfo info = {1, 5, "Titel", "Text", 7};
        clsLengthyOpCond window(help, info);
    }
    EXPECT_EQ((Lines{"JobOpen", "Create lengthy", "SetOption 0 vt=3 7", "Start 5 0 Titel|Text 3", "Finish", "Release",
                     "JobClose"}),
              ctl.Log());

    ctl.Reset(false);
    {
        DBGProgressInfo info = {1, 0, nullptr, nullptr, 1};
        clsLengthyOpCond window(help, info);
        ASSERT_TRUE(window.HasDialog());
        window.ReportPosition(50);
        window.ShowText("x");
    }
    EXPECT_EQ((Lines{"JobOpen", "Create lengthy", "JobClose"}), ctl.Log());
}

TEST(clsLengthyOpCond, HiddenWindowStaysRegisteredAndSilent)
{
    Double ctl;
    clsDBGHELP help;
    DBGProgressInfo info = {0, 0, nullptr, nullptr, 1};
    clsLengthyOpCond window(help, info);
    EXPECT_EQ(&window, help.m_progress);
    EXPECT_FALSE(window.HasDialog());
    window.ReportPosition(10);
    IMAGEHLP_DEFERRED_SYMBOL_LOAD64 load = {};
    strcpy(load.FileName, "C:\\windows\\system32\\kernel32.dll");
    help.SymbolCallback(CBA_DEFERRED_SYMBOL_LOAD_START, reinterpret_cast<uintptr_t>(&load));
    EXPECT_STREQ("kernel32.dll", help.m_currentModule);
    EXPECT_TRUE(ctl.Log().empty());
}

TEST(clsLengthyOpCond, PositionOfStepAndPercentage)
{
    clsDBGHELP help;
    DBGProgressInfo info = {0, 0, nullptr, nullptr, 1};
    clsLengthyOpCond window(help, info);
    struct Case {
        int steps, step, p, position;
    };
    const Case cases[] = {{1, 1, 33, 33}, {2, 1, 50, 25}, {2, 2, 100, 100}, {3, 3, 100, 99}, {3, 2, 0, 33}};
    for (const Case& c : cases) {
        window.m_steps = c.steps;
        window.m_step = c.step;
        EXPECT_EQ(c.position, window.Position(c.p)) << c.steps << " " << c.step << " " << c.p;
    }
}

TEST(clsDBGHELP, SymbolCallbackTexts)
{
    Double ctl;
    clsDBGHELP help;
    DBGProgressInfo info = {1, 0, nullptr, "P", 1};
    clsLengthyOpCond window(help, info);
    ctl.Reset(true);
    IMAGEHLP_DEFERRED_SYMBOL_LOAD64 load = {};
    strcpy(load.FileName, "C:\\windows\\system32\\kernel32.dll");
    EXPECT_FALSE(help.SymbolCallback(CBA_DEFERRED_SYMBOL_LOAD_START, reinterpret_cast<uintptr_t>(&load)));
    EXPECT_FALSE(help.SymbolCallback(CBA_DEBUG_INFO, reinterpret_cast<uintptr_t>("reading")));
    EXPECT_FALSE(help.SymbolCallback(CBA_DEFERRED_SYMBOL_LOAD_COMPLETE, 0));
    EXPECT_FALSE(help.SymbolCallback(CBA_DEBUG_INFO, reinterpret_cast<uintptr_t>("done")));
    EXPECT_FALSE(help.SymbolCallback(CBA_READ_MEMORY, 0));
    EXPECT_EQ((Lines{"SetProgress P", "kernel32.dll -1", "Refresh", "SetProgress P", "kernel32.dll:", "reading -1", "Refresh",
                     "SetProgress P", " -1", "Refresh", "SetProgress P", "done -1", "Refresh"}),
              ctl.Log());
}

TEST(clsDBGHELP, ModuleListProgressPerMethod)
{
    // dbghelp and tool help report after each module (1/n ... 100), psapi before counting it
    // (0 ... (n-1)/n).
    Double ctl;
    HMODULE psapi = LoadLibraryA("psapi.dll");
    for (int method = 0; method < 3; method++) {
        clsDBGHELP help;
        ASSERT_TRUE(help.Init(0));
        DBGProgressInfo info = {1, 0, nullptr, nullptr, 1};
        clsLengthyOpCond window(help, info);
        ctl.Reset(true);
        ASSERT_TRUE(method == 0   ? help.GetModuleListDBGHelp(help.m_process, help.m_processId)
                    : method == 1 ? help.GetModuleListTH32(help.m_process, help.m_processId)
                                  : help.GetModuleListPSAPI(help.m_process, help.m_processId));
        std::vector<int> positions;
        for (const std::string& line : ctl.Log())
            if (line.rfind("SetProgress NULL ", 0) == 0)
                positions.push_back(atoi(line.c_str() + 17));
        int n = (int)help.m_modules.Count();
        ASSERT_EQ((size_t)n, positions.size()) << method;
        ASSERT_GT(n, 2);
        if (method < 2) {
            EXPECT_EQ(MulDiv(100, 1, n), positions.front()) << method;
            EXPECT_EQ(100, positions.back()) << method;
        } else {
            EXPECT_EQ(0, positions.front());
            EXPECT_EQ(MulDiv(100, n - 1, n), positions.back());
        }
        EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end())) << method;
    }
    FreeLibrary(psapi);
}

TEST(clsDBGHELP, ModulesAboveFourGigabytesAndAnObjectAboveThem)
{
    // The object lives above 4 GiB: the symbol callback's context carries the whole address.
    void* memory = nullptr;
    for (uintptr_t at = 0x500000000ull; !memory && at < 0x50000000000ull; at += 0x100000000ull)
        memory = VirtualAlloc(reinterpret_cast<void*>(at), sizeof(clsDBGHELP), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    ASSERT_NE(nullptr, memory);
    ASSERT_GT(reinterpret_cast<uintptr_t>(memory), 0xFFFFFFFFull);
    clsDBGHELP* help = new (memory) clsDBGHELP;
    ASSERT_TRUE(help->Init(0));
    Double ctl;
    DBGProgressInfo info = {1, 0, nullptr, "P", 1};
    clsLengthyOpCond* window = new clsLengthyOpCond(*help, info);
    HMODULE probe = LoadLibraryA(symtest::Fixture("probe.dll").c_str());
    ASSERT_NE(nullptr, probe);
    ASSERT_TRUE(help->LoadModules(help->m_process, help->m_processId));
    const DBGModuleItem* item = symtest::FindModule(help->m_modules, "probe.dll");
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(probe), item->qwModuleBase);
    EXPECT_EQ((DWORD)reinterpret_cast<uintptr_t>(probe), item->dwModuleBase);
    // dbghelp called the symbol callback of this object while it loaded the probe's symbols.
    Lines log = ctl.Log();
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "probe.dll -1"));
    delete window;
    help->~clsDBGHELP();
    VirtualFree(memory, 0, MEM_RELEASE);
    FreeLibrary(probe);
}
