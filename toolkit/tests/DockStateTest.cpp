// The arrangement of a frame's bars kept in the registry (read back with the system's registry
// tool), restored into a fresh frame, scaled to another screen and loaded from damaged values;
// and the placement of dialogs.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxpriv.h>

#include "CTkDockState.h"
#include "CTkFrameWnd.h"
#include "CTkMiniDockFrameWnd.h"
#include "CTkRegistryHelper.h"
#include "CTkToolBar.h"
#include "CTkWindowPosition.h"
#include "TestKit.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const DWORD kMenuBarStyle = 0x50402834;
const DWORD kToolBarStyle = 0x52402834;
const UINT kFilterBarID = 59397;
const char kProfile[] = "BarStates3";

// A frame built as the program builds its main frame: menu bar, toolbar, filter bar (a toolbar
// with the dialog bar's id stands in for it) docked at the top in three rows, and a status bar.
struct ProgramFrame {
    CTkFrameWnd* pFrame = NULL;
    CTkToolBar toolBar;
    CTkToolBar filterBar;
    CStatusBar statusBar;

    void Create(bool bWithFilterBar = true)
    {
        pFrame = new CTkFrameWnd;
        ASSERT_TRUE(pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1024, 768), NULL,
                                   MAKEINTRESOURCE(IDR_MAINFRAME)));
        CTkMenuBar& menuBar = pFrame->m_menuBar;
        ASSERT_TRUE(menuBar.CreateEx(pFrame, TBSTYLE_FLAT, kMenuBarStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
        ASSERT_TRUE(menuBar.LoadMenuBar(IDR_MAINFRAME));
        ASSERT_TRUE(toolBar.CreateEx(pFrame, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR));
        ASSERT_TRUE(toolBar.LoadToolBar(IDR_MAINFRAME));
        if (bWithFilterBar) {
            ASSERT_TRUE(filterBar.CreateEx(pFrame, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), kFilterBarID));
            ASSERT_TRUE(filterBar.LoadToolBar(IDR_MAINFRAME));
        }
        static const UINT indicators[] = {0, ID_INDICATOR_CAPS, ID_INDICATOR_NUM};
        ASSERT_TRUE(statusBar.Create(pFrame));
        statusBar.SetIndicators(indicators, 3);
        menuBar.EnableDocking(0xA000, 0x306B);
        toolBar.EnableDocking(CBRS_ALIGN_ANY);
        if (bWithFilterBar)
            filterBar.EnableDocking(CBRS_ALIGN_ANY);
        pFrame->EnableDocking(0xA000);
        pFrame->DockControlBar(&menuBar, 0, NULL);
        pFrame->DockControlBar(&toolBar, 0, NULL);
        if (bWithFilterBar)
            pFrame->DockControlBar(&filterBar, 0, NULL);
        pFrame->ShowWindow(SW_SHOW);
        pFrame->RecalcLayout();
        tktest::RunToIdle();
    }
    void Destroy()
    {
        if (pFrame != NULL && pFrame->m_hWnd != NULL)
            pFrame->DestroyWindow();
        pFrame = NULL;
        tktest::RunToIdle();
    }
    ~ProgramFrame() { Destroy(); }

    CDockBar* DockBar(UINT nID) { return (CDockBar*)pFrame->GetControlBar(nID); }
};

// A dock bar's entries as ids: 0 for a row end, id | 0x10000 for a placeholder.
std::vector<DWORD> Entries(CDockBar* pDockBar)
{
    std::vector<DWORD> ids;
    for (int i = 0; pDockBar != NULL && i < pDockBar->m_arrBars.GetSize(); i++) {
        void* p = pDockBar->m_arrBars[i];
        if (p == NULL)
            ids.push_back(0);
        else if ((UINT_PTR)p <= 0xFFFF)
            ids.push_back((DWORD)(UINT_PTR)p | 0x10000);
        else
            ids.push_back((DWORD)((CControlBar*)p)->GetDlgCtrlID());
    }
    return ids;
}

// The floating frames of the frame's bars, by the ids they hold.
CMiniDockFrameWnd* FloatingFrameOf(CControlBar* pBar)
{
    if (pBar->m_pDockBar == NULL || !pBar->m_pDockBar->m_bFloating)
        return NULL;
    return (CMiniDockFrameWnd*)pBar->m_pDockBar->GetParentFrame();
}

// What a restart must bring back: the rows of both dock bars, the floating frame of the filter
// bar and the visibility of the bars, one line each.
std::string Describe(ProgramFrame& frame)
{
    std::string text;
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM}) {
        text += nID == AFX_IDW_DOCKBAR_TOP ? "top:" : "bottom:";
        for (DWORD id : Entries(frame.DockBar(nID)))
            text += " " + std::to_string(id);
        text += "\n";
    }
    CMiniDockFrameWnd* pFloat = frame.filterBar.m_hWnd != NULL ? FloatingFrameOf(&frame.filterBar) : NULL;
    if (pFloat != NULL) {
        CRect rect;
        pFloat->GetWindowRect(&rect);
        text += "float: " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right) +
                " " + std::to_string(rect.bottom) + (pFloat->IsWindowVisible() ? " visible" : " hidden") + "\n";
    }
    text += std::string("toolbar ") + (frame.toolBar.IsWindowVisible() ? "visible" : "hidden") + ", status bar " +
            (frame.statusBar.IsWindowVisible() ? "visible" : "hidden") + "\n";
    return text;
}

// The application of the second program of a restart, on the first one's registry key.
struct CKeyApp : public tktest::CTestApp {
    void UseKey(LPCTSTR lpszKey) { SetRegistryKey(lpszKey); }
};

struct RegValue {
    std::string type;
    std::string data;
};
typedef std::map<std::string, RegValue> RegSection;

class DockStateTest : public testing::Test {
protected:
    void SetUp() override { m_app.UseTestRegistryKey(); }

    std::string KeyOf(const std::string& section)
    {
        return "HKCU\\Software\\" + std::string(m_app.m_strKey) + "\\" + m_app.m_pszProfileName + "\\" + section;
    }
    // The values of a section as the system's registry tool lists them; exists = FALSE when the
    // tool finds no such key.
    RegSection Query(const std::string& section, bool* pbExists = NULL)
    {
        // a run of the tool that reports nothing is asked again (it rarely comes back empty)
        RegSection values;
        int nExit = 0;
        for (int nTry = 0; nTry < 3 && values.empty(); nTry++) {
            std::string out = tktest::RunAndCapture("reg query \"" + KeyOf(section) + "\"", &nExit);
            std::istringstream lines(out);
            std::string line;
            while (std::getline(lines, line)) {
                size_t nType = line.find("REG_");
                if (nType == std::string::npos || line.compare(0, 4, "    ") != 0)
                    continue;
                std::string name = line.substr(4, nType - 4);
                while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
                    name.pop_back();
                std::istringstream rest(line.substr(nType));
                RegValue value;
                rest >> value.type >> value.data;
                values[name] = value;
            }
        }
        if (pbExists != NULL)
            *pbExists = nExit == 0;
        return values;
    }
    static long Int(const RegSection& section, const std::string& name)
    {
        auto it = section.find(name);
        return it == section.end() ? -12345 : (long)std::stoul(it->second.data, nullptr, 16);
    }
    void Add(const std::string& section, const char* pszName, const char* pszType, const std::string& data)
    {
        int nExit = 0;
        std::string out = tktest::RunAndCapture("reg add \"" + KeyOf(section) + "\" /v \"" + pszName + "\" /t " + pszType +
                                                    " /d \"" + data + "\" /f",
                                                &nExit);
        ASSERT_EQ(0, nExit) << out;
    }
    // The number of a section whose "BarID" is nID, -1 when none; all sections below Bars.
    int SectionOf(UINT nID, int nBars)
    {
        CTkRegistryHelper reg(HKEY_CURRENT_USER);
        for (int i = 0; i < nBars; i++) {
            CString strSection;
            strSection.Format("%s-Bar%d", kProfile, i);
            if (reg.GetProfileInt(strSection, "BarID", 0) == nID)
                return i;
        }
        return -1;
    }
    std::string Section(int n) { return std::string(kProfile) + "-Bar" + std::to_string(n); }
    // Every value of the summary and the bar sections, as one text (read through the registry
    // functions: many runs of the registry tool would only make the test slow).
    std::string Dump()
    {
        std::string text;
        CTkRegistryHelper reg(HKEY_CURRENT_USER);
        int nBars = (int)reg.GetProfileInt(CString(kProfile) + "-Summary", "Bars", 0);
        for (int i = -1; i < nBars; i++) {
            std::string section = i < 0 ? std::string(kProfile) + "-Summary" : Section(i);
            HKEY hKey = reg.GetSectionKey(section.c_str());
            if (hKey == NULL) {
                text += section + " missing\n";
                continue;
            }
            char szName[64];
            DWORD cchName = sizeof(szName), dwType = 0, dwValue = 0, cbValue = sizeof(dwValue);
            for (DWORD n = 0; ::RegEnumValueA(hKey, n, szName, &cchName, NULL, &dwType, (BYTE*)&dwValue, &cbValue) == ERROR_SUCCESS;
                 n++) {
                text += section + " " + szName + "=" + std::to_string(dwType) + ":" + std::to_string((long)dwValue) + "\n";
                cchName = sizeof(szName);
                cbValue = sizeof(dwValue);
            }
            ::RegCloseKey(hKey);
        }
        return text;
    }

    tktest::CTestApp m_app;
};

} // namespace

TEST_F(DockStateTest, SavedValuesOfAProgramLikeFrame)
{
    ProgramFrame frame;
    ASSERT_NO_FATAL_FAILURE(frame.Create());
    frame.pFrame->SaveBarState(kProfile);

    RegSection summary = Query(std::string(kProfile) + "-Summary");
    int nBars = (int)Int(summary, "Bars");
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), Int(summary, "ScreenCX"));
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), Int(summary, "ScreenCY"));
    EXPECT_EQ(1280, Int(summary, "ScreenCX"));
    EXPECT_EQ(1024, Int(summary, "ScreenCY"));
    // menu bar, toolbar, filter bar, status bar and the top dock bar; the empty bottom dock bar
    // writes nothing and the next section takes its number
    EXPECT_EQ(5, nBars);
    EXPECT_EQ(-1, SectionOf(AFX_IDW_DOCKBAR_BOTTOM, nBars));
    bool bExists = true;
    Query(Section(nBars), &bExists);
    EXPECT_FALSE(bExists);
    for (int i = 0; i < nBars; i++)
        for (auto& v : Query(Section(i)))
            EXPECT_EQ("REG_DWORD", v.second.type) << Section(i) << " " << v.first;
    for (auto& v : summary)
        EXPECT_EQ("REG_DWORD", v.second.type) << v.first;

    int nTop = SectionOf(AFX_IDW_DOCKBAR_TOP, nBars);
    ASSERT_GE(nTop, 0);
    RegSection top = Query(Section(nTop));
    EXPECT_EQ(7, Int(top, "Bars"));
    const long expected[] = {0, 59480, 0, 59392, 0, 59397, 0};
    for (int i = 0; i < 7; i++)
        EXPECT_EQ(expected[i], Int(top, "Bar#" + std::to_string(i))) << i;
    for (const char* pszAbsent : {"Visible", "XPos", "YPos", "MRUWidth", "Docking", "Floating", "Horz"})
        EXPECT_EQ(0u, top.count(pszAbsent)) << pszAbsent;

    int nToolBar = SectionOf(AFX_IDW_TOOLBAR, nBars);
    ASSERT_GE(nToolBar, 0);
    RegSection toolBar = Query(Section(nToolBar));
    CRect rect;
    frame.toolBar.GetWindowRect(&rect);
    frame.DockBar(AFX_IDW_DOCKBAR_TOP)->ScreenToClient(&rect);
    EXPECT_EQ(rect.left, Int(toolBar, "XPos"));
    EXPECT_EQ(rect.top, Int(toolBar, "YPos"));
    EXPECT_EQ(1, Int(toolBar, "Docking"));
    for (const char* pszMRU : {"MRUDockID", "MRUDockLeftPos", "MRUDockTopPos", "MRUDockRightPos", "MRUDockBottomPos",
                               "MRUFloatStyle", "MRUFloatXPos", "MRUFloatYPos"})
        EXPECT_EQ(1u, toolBar.count(pszMRU)) << pszMRU;
    EXPECT_EQ(0u, toolBar.count("Visible"));
    EXPECT_EQ(0u, toolBar.count("Floating"));

    int nStatus = SectionOf(AFX_IDW_STATUS_BAR, nBars);
    ASSERT_GE(nStatus, 0);
    RegSection status = Query(Section(nStatus));
    EXPECT_EQ(1u, status.size());
    EXPECT_EQ(59393, Int(status, "BarID"));

    frame.pFrame->ShowControlBar(&frame.statusBar, FALSE, FALSE);
    frame.pFrame->SaveBarState(kProfile);
    status = Query(Section(SectionOf(AFX_IDW_STATUS_BAR, nBars)));
    EXPECT_EQ(2u, status.size());
    EXPECT_EQ(0, Int(status, "Visible"));
}

// The second program of a restart (started by ArrangementComesBackInAFreshFrame): builds the
// frame, loads the saved arrangement, prints what it sees and saves again.
TEST(DockStateRestart, SecondProgram)
{
    const char* pszKey = std::getenv("OX_DOCK_STATE_KEY");
    if (pszKey == NULL)
        GTEST_SKIP() << "runs only as the second program of a restart";
    CKeyApp app;
    app.UseKey(pszKey);
    ProgramFrame frame;
    ASSERT_NO_FATAL_FAILURE(frame.Create());
    frame.pFrame->LoadBarState(kProfile);
    frame.pFrame->RecalcLayout();
    tktest::RunToIdle();
    std::printf("<<<\n%s>>>\n", Describe(frame).c_str());
    std::fflush(stdout);
    frame.pFrame->SaveBarState(kProfile);
}

TEST_F(DockStateTest, ArrangementComesBackInAFreshFrame)
{
    std::string before, saved;
    {
        ProgramFrame frame;
        ASSERT_NO_FATAL_FAILURE(frame.Create());
        frame.pFrame->DockControlBar(&frame.toolBar, AFX_IDW_DOCKBAR_BOTTOM, NULL);
        frame.pFrame->FloatControlBar(&frame.filterBar, CPoint(300, 200), CBRS_ALIGN_TOP);
        frame.pFrame->ShowControlBar(&frame.statusBar, FALSE, FALSE);
        frame.pFrame->RecalcLayout();
        tktest::RunToIdle();
        CMiniDockFrameWnd* pFloat = FloatingFrameOf(&frame.filterBar);
        ASSERT_NE(nullptr, pFloat);
        EXPECT_TRUE(pFloat->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
        CRect rectFloat;
        pFloat->GetWindowRect(&rectFloat);
        EXPECT_EQ(CPoint(300, 200), rectFloat.TopLeft());
        before = Describe(frame);
        frame.pFrame->SaveBarState(kProfile);
        saved = Dump();
    }
    EXPECT_NE(std::string::npos, before.find("bottom: 0 59392 0\n")) << before;
    EXPECT_NE(std::string::npos, before.find("status bar hidden")) << before;

    // another program on the same settings
    char szExe[MAX_PATH];
    ::GetModuleFileNameA(NULL, szExe, MAX_PATH);
    int nExit = -1;
    std::string out = tktest::RunAndCapture("set \"OX_DOCK_STATE_KEY=" + std::string(m_app.m_strKey) + "\" && \"" + szExe +
                                                "\" --gtest_filter=DockStateRestart.SecondProgram",
                                            &nExit);
    EXPECT_EQ(0, nExit) << out;
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    size_t nBegin = out.find("<<<\n"), nEnd = out.find(">>>");
    ASSERT_TRUE(nBegin != std::string::npos && nEnd != std::string::npos) << out;
    std::string after = out.substr(nBegin + 4, nEnd - nBegin - 4);
    EXPECT_EQ(before, after);
    // saving again writes the same values
    EXPECT_EQ(saved, Dump());

    // in this program too, and a screenshot of it
    ProgramFrame frame;
    ASSERT_NO_FATAL_FAILURE(frame.Create());
    frame.pFrame->LoadBarState(kProfile);
    frame.pFrame->RecalcLayout();
    tktest::RunToIdle();
    EXPECT_EQ(before, Describe(frame));
    ::RedrawWindow(NULL, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    tktest::RunToIdle();
    HDC hdc = ::GetDC(NULL);
    oxtest::SaveShot(hdc, 0, 0, 1024, 768, "docking", "restored-after-restart");
    ::ReleaseDC(NULL, hdc);
    frame.Destroy();

    // a program without the filter bar drops it from the rows and makes no floating frame for it
    ProgramFrame without;
    ASSERT_NO_FATAL_FAILURE(without.Create(false));
    without.pFrame->LoadBarState(kProfile);
    without.pFrame->RecalcLayout();
    tktest::RunToIdle();
    EXPECT_EQ("top: 0 59480 0\nbottom: 0 59392 0\ntoolbar visible, status bar hidden\n", Describe(without));
    int nFloating = 0;
    for (POSITION pos = without.pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = (CControlBar*)without.pFrame->m_listControlBars.GetNext(pos);
        if (pBar->IsDockBar() && ((CDockBar*)pBar)->m_bFloating && pBar->m_hWnd != NULL && pBar->GetParentFrame()->IsWindowVisible())
            nFloating++;
    }
    EXPECT_EQ(0, nFloating);
}

TEST_F(DockStateTest, PositionsScaledToThisScreen)
{
    const int cx = ::GetSystemMetrics(SM_CXSCREEN);
    const int cy = ::GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        int nScreenCX, nScreenCY, x, y;
        int xExpected, yExpected;
    } cases[] = {
        {1600, 1280, 800, 640, ::MulDiv(800, cx, 1600), ::MulDiv(640, cy, 1280)},
        {0, 0, 800, 640, 800, 640},       // size unknown: no scaling
        {-5, 1280, 800, 640, 800, 640},   // damaged: no scaling
        {cx, cy, 100, 50, 100, 50},       // same screen
        {cx, cy, 99999, 99999, cx - ::GetSystemMetrics(SM_CXICON), cy - ::GetSystemMetrics(SM_CYICON)},
        {cx, cy, -30000, -30000, 0, 0},   // a floating frame never starts off the screen's top left
    };
    for (const Case& c : cases) {
        CTkRegistryHelper reg(HKEY_CURRENT_USER);
        reg.WriteProfileInt("P-Summary", "Bars", 1);
        reg.WriteProfileInt("P-Summary", "ScreenCX", c.nScreenCX);
        reg.WriteProfileInt("P-Summary", "ScreenCY", c.nScreenCY);
        reg.WriteProfileInt("P-Bar0", "BarID", AFX_IDW_DOCKBAR_FLOAT);
        reg.WriteProfileInt("P-Bar0", "Floating", 1);
        reg.WriteProfileInt("P-Bar0", "XPos", c.x);
        reg.WriteProfileInt("P-Bar0", "YPos", c.y);
        reg.WriteProfileInt("P-Bar0", "Docking", 1);
        reg.WriteProfileInt("P-Bar0", "MRUFloatXPos", c.x);
        reg.WriteProfileInt("P-Bar0", "MRUFloatYPos", c.y);
        CTkDockState state;
        state.LoadState("P");
        ASSERT_EQ(1, state.m_arrBarInfo.GetSize());
        CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[0];
        EXPECT_EQ(CPoint(c.xExpected, c.yExpected), pInfo->m_pointPos) << c.nScreenCX << "x" << c.nScreenCY << " " << c.x;
        if (c.x >= 0)
            EXPECT_EQ(CPoint(c.xExpected, c.yExpected), pInfo->m_ptMRUFloatPos) << c.nScreenCX << "x" << c.nScreenCY;
    }
}

TEST_F(DockStateTest, DamagedValuesLoadWhatExists)
{
    ProgramFrame frame;
    ASSERT_NO_FATAL_FAILURE(frame.Create());
    frame.pFrame->SaveBarState(kProfile);
    int nBars = 5;
    int nTop = SectionOf(AFX_IDW_DOCKBAR_TOP, nBars);
    ASSERT_GE(nTop, 0);
    std::string summary = std::string(kProfile) + "-Summary";

    // counts far beyond what exists; an unknown id in a row; a DWORD stored as text
    ASSERT_NO_FATAL_FAILURE(Add(summary, "Bars", "REG_DWORD", "0x7FFFFFFF"));
    ASSERT_NO_FATAL_FAILURE(Add(Section(nTop), "Bars", "REG_DWORD", "0x7FFFFFFF"));
    ASSERT_NO_FATAL_FAILURE(Add(Section(nTop), "Bar#3", "REG_DWORD", "61234"));
    CTkDockState state;
    state.LoadState(kProfile);
    EXPECT_EQ(nBars, state.m_arrBarInfo.GetSize());
    CControlBarInfo* pTop = NULL;
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++)
        if (((CControlBarInfo*)state.m_arrBarInfo[i])->m_nBarID == AFX_IDW_DOCKBAR_TOP)
            pTop = (CControlBarInfo*)state.m_arrBarInfo[i];
    ASSERT_NE(nullptr, pTop);
    EXPECT_EQ(7, pTop->m_arrBarID.GetSize());

    frame.pFrame->LoadBarState(kProfile);
    frame.pFrame->RecalcLayout();
    tktest::RunToIdle();
    std::vector<DWORD> entries = Entries(frame.DockBar(AFX_IDW_DOCKBAR_TOP));
    // the unknown id is dropped, the toolbar it replaced stays docked in a row after the others
    EXPECT_EQ(0u, std::count(entries.begin(), entries.end(), 61234u));
    EXPECT_EQ(1u, std::count(entries.begin(), entries.end(), 59392u));
    EXPECT_TRUE(frame.toolBar.IsWindowVisible());

    // a section whose id is text ends the load there
    ASSERT_NO_FATAL_FAILURE(Add(Section(0), "BarID", "REG_SZ", "59419"));
    state.LoadState(kProfile);
    EXPECT_EQ(0, state.m_arrBarInfo.GetSize());
    frame.pFrame->LoadBarState(kProfile);
    frame.pFrame->RecalcLayout();
    tktest::RunToIdle();
    EXPECT_TRUE(::IsWindow(frame.pFrame->m_hWnd));
    entries = Entries(frame.DockBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_EQ(1u, std::count(entries.begin(), entries.end(), 59480u));
    EXPECT_EQ(1u, std::count(entries.begin(), entries.end(), 59392u));

    // a floating frame stored far off the screen comes up where it can be reached
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Summary", "Bars", "REG_DWORD", "0x7FFFFFFF"));
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Bar0", "BarID", "REG_DWORD", "59423"));
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Bar0", "Floating", "REG_DWORD", "1"));
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Bar0", "XPos", "REG_DWORD", "0xFFFF8AD0")); // -30000
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Bar0", "YPos", "REG_DWORD", "99999"));
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Bar0", "Bars", "REG_DWORD", "2"));
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Bar0", "Bar#0", "REG_DWORD", "0"));
    ASSERT_NO_FATAL_FAILURE(Add("Kaputt-Bar0", "Bar#1", "REG_DWORD", "59392"));
    frame.pFrame->LoadBarState("Kaputt");
    frame.pFrame->RecalcLayout();
    tktest::RunToIdle();
    ASSERT_TRUE(frame.toolBar.IsFloating());
    CRect rectFloat;
    FloatingFrameOf(&frame.toolBar)->GetWindowRect(&rectFloat);
    EXPECT_GE(rectFloat.left, -::GetSystemMetrics(SM_CXFRAME) - 2);
    EXPECT_LT(rectFloat.top, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(frame.toolBar.IsWindowVisible());
}

TEST_F(DockStateTest, WindowPositionRecord)
{
    CFrameWnd* pWnd = new CFrameWnd;
    ASSERT_TRUE(pWnd->Create(NULL, "Aufgabe", WS_OVERLAPPEDWINDOW, CRect(100, 80, 500, 380)));
    pWnd->ShowWindow(SW_SHOWNORMAL);
    tktest::RunToIdle();

    struct Case {
        int nShow;
        const char* pszSuffix;
        const char* pszValue;
        UINT nStoredShow;
    } cases[] = {
        {SW_SHOWNORMAL, "WndPosAppointment", "Window PositionWndPosAppointment", SW_SHOWNORMAL},
        {SW_SHOWMAXIMIZED, "WndPosTodo", "Window PositionWndPosTodo", SW_SHOWMAXIMIZED},
        {SW_SHOWMAXIMIZED, NULL, "Window Position", SW_SHOWMAXIMIZED},
        {SW_SHOWMINIMIZED, NULL, "Window Position", SW_SHOWNORMAL},
        {SW_SHOWMINIMIZED, "WndPosReminder", "Window PositionWndPosReminder", SW_SHOWMINIMIZED},
    };
    for (const Case& c : cases) {
        pWnd->ShowWindow(c.nShow);
        tktest::RunToIdle();
        CTkWindowPosition pos;
        ASSERT_TRUE(pos.SaveWindowPos(pWnd, c.pszSuffix)) << c.pszValue;
        RegSection settings = Query("Settings");
        ASSERT_EQ(1u, settings.count(c.pszValue)) << c.pszValue;
        EXPECT_EQ("REG_BINARY", settings[c.pszValue].type);
        const std::string& hex = settings[c.pszValue].data;
        ASSERT_EQ(96u, hex.size()) << hex;
        EXPECT_EQ("00000000", hex.substr(0, 8));
        EXPECT_EQ("30000000", hex.substr(8, 8)); // length 48
        char szShow[9];
        std::snprintf(szShow, sizeof(szShow), "%02X000000", c.nStoredShow);
        EXPECT_EQ(szShow, hex.substr(24, 8)) << c.pszValue;

        CTkWindowPosition loaded;
        ASSERT_TRUE(loaded.LoadWindowPos(c.pszSuffix));
        EXPECT_EQ(0, std::memcmp(&pos, &loaded, CTkWindowPosition::nRecordSize));
    }

    // missing and short values leave the record as it was
    CTkWindowPosition missing;
    EXPECT_FALSE(missing.LoadWindowPos("WndPosNirgends"));
    EXPECT_EQ(48u, missing.m_wp.length);
    EXPECT_EQ((UINT)SW_SHOW, missing.m_wp.showCmd);
    ASSERT_NO_FATAL_FAILURE(Add("Settings", "Window PositionKurz", "REG_BINARY", std::string(80, 'A')));
    CTkWindowPosition shortValue;
    EXPECT_FALSE(shortValue.LoadWindowPos("Kurz"));
    EXPECT_EQ(48u, shortValue.m_wp.length);
    EXPECT_EQ((UINT)SW_SHOW, shortValue.m_wp.showCmd);
    EXPECT_EQ(0u, shortValue.m_dwReserved);

    // a loaded record puts the window back (a minimised window restores to maximised first)
    pWnd->ShowWindow(SW_SHOWNORMAL);
    pWnd->ShowWindow(SW_SHOWNORMAL);
    pWnd->MoveWindow(120, 90, 420, 330);
    tktest::RunToIdle();
    CTkWindowPosition saved;
    ASSERT_TRUE(saved.SaveWindowPos(pWnd, "WndPosTodo"));
    pWnd->MoveWindow(10, 10, 200, 150);
    pWnd->ShowWindow(SW_SHOWMINIMIZED);
    CTkWindowPosition restored;
    ASSERT_TRUE(restored.LoadWindowPos("WndPosTodo"));
    EXPECT_TRUE(restored.Apply(pWnd));
    tktest::RunToIdle();
    CRect rect;
    pWnd->GetWindowRect(&rect);
    EXPECT_TRUE(rect == CRect(120, 90, 540, 420)) << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom
                                                  << " show " << restored.m_wp.showCmd;
    EXPECT_FALSE(pWnd->IsIconic());
    EXPECT_EQ(48u, restored.m_wp.length);
    pWnd->DestroyWindow();
    tktest::RunToIdle();

    CTkWindowPosition none;
    EXPECT_FALSE(none.SaveWindowPos(NULL, "WndPosTodo"));
    EXPECT_FALSE(none.Apply(NULL));
}
