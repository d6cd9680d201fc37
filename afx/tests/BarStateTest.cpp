// The saved layout of a frame's bars: the registry values SaveBarState writes (read back with the
// registry functions, not the library's), a floating bar's layout loaded into a new frame,
// positions saved on another screen scaled to this one (and an unknown screen size scaling
// nothing), bars the frame no longer has left out, damaged counts that read no further than the
// saved sections, and the archive form (version 2, version 1 read, damaged images refused).
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>

#include "DockingTestSupport.h"
#include "DockingTestResource.h"

using docktest::BarIds;
using docktest::CDockFrame;
using docktest::DockBar;
using docktest::RegDword;
using docktest::RegKeyExists;
using docktest::RegValueNames;
using framestest::RunToIdle;

namespace {

class BarStateTest : public docktest::DockingTest {
protected:
    void SetUp() override
    {
        m_pFrame = MakeFrame();
        ASSERT_NE(nullptr, m_pFrame);
    }
    CString Section(LPCTSTR lpszSection) { return m_app.SectionPath(lpszSection); }
    // Writes a REG_DWORD through the registry functions (a saved state made by hand).
    void Put(LPCTSTR lpszSection, LPCTSTR lpszValue, DWORD dwValue)
    {
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, Section(lpszSection), 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL));
        ::RegSetValueExA(hKey, lpszValue, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof(dwValue));
        ::RegCloseKey(hKey);
    }
    std::vector<std::string> SortedNames(LPCTSTR lpszSection)
    {
        std::vector<std::string> names = RegValueNames(Section(lpszSection));
        std::sort(names.begin(), names.end());
        return names;
    }

    // Writes the dock bar entries ("Bars", "Bar#0", ...) of a saved state made by hand.
    void PutEntries(LPCTSTR lpszSection, std::initializer_list<DWORD> entries)
    {
        Put(lpszSection, "Bars", (DWORD)entries.size());
        int i = 0;
        for (DWORD dwEntry : entries) {
            CString strValue;
            strValue.Format("Bar#%d", i++);
            Put(lpszSection, strValue, dwEntry);
        }
    }

    CDockFrame* m_pFrame = nullptr;
    CDockFrame* m_pFrame2 = nullptr;
};

} // namespace

TEST_F(BarStateTest, SavedValuesAreWrittenOnlyWhereTheyDifferFromTheirDefaults)
{
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, FALSE, FALSE);
    // an earlier, longer save left a section behind: it stays, "Bars" limits what is read
    Put("Leisten-Bar9", "BarID", 0xE8AA);
    m_pFrame->SaveBarState("Leisten");

    // The bars in the order of the frame's list: the toolbars, the dialog bar, the status bar,
    // then the dock bars; the empty ones (bottom, left, right) write no section.
    EXPECT_EQ(5u, RegDword(Section("Leisten-Summary"), "Bars"));
    EXPECT_EQ((DWORD)::GetSystemMetrics(SM_CXSCREEN), RegDword(Section("Leisten-Summary"), "ScreenCX"));
    EXPECT_EQ((DWORD)::GetSystemMetrics(SM_CYSCREEN), RegDword(Section("Leisten-Summary"), "ScreenCY"));
    const UINT ids[] = {AFX_IDW_TOOLBAR, IDW_SECOND_TOOLBAR, AFX_IDW_DIALOGBAR, AFX_IDW_STATUS_BAR, AFX_IDW_DOCKBAR_TOP};
    for (int i = 0; i < 5; i++) {
        CString strSection;
        strSection.Format("Leisten-Bar%d", i);
        EXPECT_EQ((DWORD)ids[i], RegDword(Section(strSection), "BarID")) << i;
    }
    EXPECT_FALSE(RegKeyExists(Section("Leisten-Bar5")));
    EXPECT_EQ(0xE8AAu, RegDword(Section("Leisten-Bar9"), "BarID"));

    // A docked toolbar: its place in the dock bar and its docking context's remembered places.
    const std::vector<std::string> dockedNames = {"BarID",           "Docking",          "MRUDockBottomPos", "MRUDockID",
                                                  "MRUDockLeftPos",  "MRUDockRightPos",  "MRUDockTopPos",    "MRUFloatStyle",
                                                  "MRUFloatXPos",    "MRUFloatYPos",     "XPos",             "YPos"};
    EXPECT_EQ(dockedNames, SortedNames("Leisten-Bar0"));
    CRect rectTool = docktest::RectIn(&m_pFrame->m_wndToolBar, DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP));
    struct Case {
        const char* pszValue;
        DWORD dwValue;
    } const cases[] = {
        {"XPos", (DWORD)rectTool.left},
        {"YPos", (DWORD)rectTool.top},
        {"Docking", 1},
        {"MRUDockID", 0}, // never docked by the mouse
        {"MRUDockLeftPos", (DWORD)rectTool.left},
        {"MRUDockTopPos", (DWORD)rectTool.top},
        {"MRUDockRightPos", (DWORD)rectTool.right},
        {"MRUDockBottomPos", (DWORD)rectTool.bottom},
        {"MRUFloatStyle", CBRS_ALIGN_TOP},
        {"MRUFloatXPos", (DWORD)CW_USEDEFAULT}, // never floated
        {"MRUFloatYPos", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.dwValue, RegDword(Section("Leisten-Bar0"), c.pszValue)) << c.pszValue;

    // The hidden status bar (never docked): its id and that it is hidden.
    EXPECT_EQ((std::vector<std::string>{"BarID", "Visible"}), SortedNames("Leisten-Bar3"));
    EXPECT_EQ(0u, RegDword(Section("Leisten-Bar3"), "Visible"));

    // The top dock bar: its rows as ids, each row ending with 0.
    EXPECT_EQ((std::vector<std::string>{"Bar#0", "Bar#1", "Bar#2", "Bar#3", "Bar#4", "Bar#5", "Bar#6", "BarID", "Bars"}),
              SortedNames("Leisten-Bar4"));
    EXPECT_EQ(7u, RegDword(Section("Leisten-Bar4"), "Bars"));
    const DWORD rows[] = {0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0};
    for (int i = 0; i < 7; i++) {
        CString strValue;
        strValue.Format("Bar#%d", i);
        EXPECT_EQ(rows[i], RegDword(Section("Leisten-Bar4"), strValue)) << i;
    }

    // Saved again with the status bar shown: its section no longer says "Visible".
    m_pFrame->ShowControlBar(&m_pFrame->m_wndStatusBar, TRUE, FALSE);
    m_pFrame->SaveBarState("Leisten");
    EXPECT_EQ((std::vector<std::string>{"BarID"}), SortedNames("Leisten-Bar3"));
}

TEST_F(BarStateTest, AFloatingBarAndAHiddenBarComeBackInANewFrame)
{
    m_pFrame->FloatControlBar(&m_pFrame->m_wndToolBar2, CPoint(700, 300));
    m_pFrame->ShowControlBar(&m_pFrame->m_wndDialogBar, FALSE, FALSE);
    RunToIdle();
    CFrameWnd* pFloating = m_pFrame->m_wndToolBar2.GetParentFrame();
    ASSERT_NE(m_pFrame, pFloating);
    CRect rectFloating = docktest::ScreenRect(pFloating);
    m_pFrame->SaveBarState("Schwebend");

    // The floating dock bar's section: floating, horizontal, where its inside is on the screen,
    // its bar.
    CString strFloat;
    for (int i = 0; i < 8 && strFloat.IsEmpty(); i++) {
        CString strSection;
        strSection.Format("Schwebend-Bar%d", i);
        if (RegDword(Section(strSection), "BarID") == AFX_IDW_DOCKBAR_FLOAT)
            strFloat = strSection;
    }
    ASSERT_FALSE(strFloat.IsEmpty());
    EXPECT_EQ(1u, RegDword(Section(strFloat), "Floating"));
    EXPECT_EQ(1u, RegDword(Section(strFloat), "Horz"));
    CRect rectInside = docktest::ScreenRect(&((CMiniDockFrameWnd*)pFloating)->m_wndDockBar);
    EXPECT_EQ((DWORD)rectInside.left, RegDword(Section(strFloat), "XPos"));
    EXPECT_EQ((DWORD)rectInside.top, RegDword(Section(strFloat), "YPos"));
    EXPECT_EQ(3u, RegDword(Section(strFloat), "Bars"));
    EXPECT_EQ((DWORD)IDW_SECOND_TOOLBAR, RegDword(Section(strFloat), "Bar#1"));

    m_pFrame2 = MakeFrame(docktest::FrameSetup(), 40, 40);
    ASSERT_NE(nullptr, m_pFrame2);
    m_pFrame2->LoadBarState("Schwebend");
    RunToIdle();
    CFrameWnd* pFloating2 = m_pFrame2->m_wndToolBar2.GetParentFrame();
    ASSERT_NE(nullptr, pFloating2);
    ASSERT_TRUE(pFloating2->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    EXPECT_NE(pFloating, pFloating2);
    EXPECT_EQ(m_pFrame2->m_hWnd, ::GetWindow(pFloating2->m_hWnd, GW_OWNER));
    EXPECT_EQ(rectFloating, docktest::ScreenRect(pFloating2)) << "the same place and size on the screen";
    EXPECT_TRUE(pFloating2->IsWindowVisible());
    EXPECT_FALSE(m_pFrame2->m_wndDialogBar.IsWindowVisible());
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR | 0x10000, 0, AFX_IDW_DIALOGBAR, 0}),
              BarIds(DockBar(m_pFrame2, AFX_IDW_DOCKBAR_TOP)));
    docktest::SaveFrameShot(m_pFrame2, "docking_state_floating_loaded");

    // The frame's end takes the floating frame made by the load along.
    HWND hWndFloating2 = pFloating2->m_hWnd;
    m_pFrame2->DestroyWindow();
    EXPECT_FALSE(::IsWindow(hWndFloating2));
}

TEST_F(BarStateTest, PositionsSavedOnAnotherScreenAreScaled)
{
    // a floating dock bar saved at (640, 512) with a remembered dock rectangle, read on a
    // screen of 1024 x 768 (the clip rectangle ends an icon's size before its edges)
    Put("Skala-Bar0", "BarID", AFX_IDW_DOCKBAR_FLOAT);
    Put("Skala-Bar0", "Floating", 1);
    Put("Skala-Bar0", "XPos", 640);
    Put("Skala-Bar0", "YPos", 512);
    Put("Skala-Bar0", "Docking", 1);
    Put("Skala-Bar0", "MRUDockLeftPos", 1200);
    Put("Skala-Bar0", "MRUDockTopPos", 100);
    Put("Skala-Bar0", "MRUDockRightPos", 1400);
    Put("Skala-Bar0", "MRUDockBottomPos", 126);
    struct Case {
        int cxSaved;
        int cySaved;
        CPoint ptPos;
        CRect rectDock;
    } const cases[] = {
        {1280, 1024, CPoint(512, 384), CRect(960, 75, 1160, 101)},
        {1024, 768, CPoint(640, 512), CRect(992, 100, 1192, 126)},  // the same screen: clipped only
        {0, 0, CPoint(640, 512), CRect(992, 100, 1192, 126)},        // unknown: nothing scaled
        {-1280, 1024, CPoint(640, 512), CRect(992, 100, 1192, 126)}, // damaged: nothing scaled
        {640, 512, CPoint(992, 736), CRect(992, 150, 1192, 176)},    // twice as far, clipped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "saved on " << c.cxSaved << " x " << c.cySaved);
        Put("Skala-Summary", "Bars", 1);
        Put("Skala-Summary", "ScreenCX", (DWORD)c.cxSaved);
        Put("Skala-Summary", "ScreenCY", (DWORD)c.cySaved);
        CDockState state;
        state.m_rectDevice.SetRect(0, 0, 1024, 768);
        state.m_rectClip.SetRect(0, 0, 1024 - 32, 768 - 32);
        state.LoadState("Skala");
        ASSERT_EQ(1, state.m_arrBarInfo.GetSize());
        CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[0];
        EXPECT_EQ(c.ptPos, pInfo->m_pointPos);
        EXPECT_EQ(c.rectDock, pInfo->m_rectMRUDockPos);
        EXPECT_TRUE(pInfo->m_bFloating);
        EXPECT_TRUE(pInfo->m_bVisible) << "the default";
        EXPECT_TRUE(pInfo->m_bHorz) << "the default";
    }
}

TEST_F(BarStateTest, BarsTheFrameNoLongerHasAreLeftOut)
{
    // A state whose top dock bar lists a bar that is gone (between the toolbars, and as a
    // placeholder), a floating frame that held only that bar, and a section of that bar.
    Put("Alt-Summary", "Bars", 3);
    Put("Alt-Bar0", "BarID", 0xE8AA);
    Put("Alt-Bar1", "BarID", AFX_IDW_DOCKBAR_TOP);
    PutEntries("Alt-Bar1", {0, IDW_SECOND_TOOLBAR, 0xE8AA, 0, 0x1E8AB, 0, AFX_IDW_TOOLBAR, 0});
    Put("Alt-Bar2", "BarID", AFX_IDW_DOCKBAR_FLOAT);
    Put("Alt-Bar2", "Floating", 1);
    Put("Alt-Bar2", "XPos", 300);
    Put("Alt-Bar2", "YPos", 300);
    PutEntries("Alt-Bar2", {0, 0xE8AA, 0});
    m_pFrame->LoadBarState("Alt");
    RunToIdle();
    EXPECT_EQ((std::vector<UINT>{0, IDW_SECOND_TOOLBAR, 0, AFX_IDW_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}),
              BarIds(DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP)))
        << "the dialog bar, not in the saved rows, keeps a row after them";
    // no floating frame stays behind
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        EXPECT_FALSE(pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    }
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsFloating());
}

TEST_F(BarStateTest, DamagedCountsReadNoFurtherThanTheSavedSections)
{
    m_pFrame->SaveBarState("Zahl");
    // the summary claims a million bars, the top dock bar a million entries
    Put("Zahl-Summary", "Bars", 1000000);
    Put("Zahl-Bar4", "Bars", 1000000);
    DWORD dwStart = ::GetTickCount();
    CDockState state;
    state.LoadState("Zahl");
    EXPECT_EQ(5, state.m_arrBarInfo.GetSize()) << "the sections that were written";
    CControlBarInfo* pTop = (CControlBarInfo*)state.m_arrBarInfo[4];
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_TOP, pTop->m_nBarID);
    EXPECT_LE(pTop->m_arrBarID.GetSize(), 513) << "at most what a dock bar can list";
    EXPECT_EQ((void*)(UINT_PTR)AFX_IDW_TOOLBAR, pTop->m_arrBarID[1]);
    m_pFrame->SetDockState(state);
    RunToIdle();
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}),
              BarIds(DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP)))
        << "the rows of zeros behind the saved ones add no empty rows";
    EXPECT_LT(::GetTickCount() - dwStart, 20000u);
}

TEST_F(BarStateTest, TheArchiveFormIsVersion2)
{
    CDockState state;
    state.m_rectDevice.SetRect(0, 0, 1024, 768);
    CControlBarInfo* pInfo = new CControlBarInfo;
    pInfo->m_nBarID = AFX_IDW_DOCKBAR_TOP;
    pInfo->m_bVisible = TRUE;
    pInfo->m_bFloating = FALSE;
    pInfo->m_bHorz = TRUE;
    pInfo->m_pointPos = CPoint(-1, -1);
    pInfo->m_nMRUWidth = 32767;
    pInfo->m_bDocking = TRUE;
    pInfo->m_uMRUDockID = AFX_IDW_DOCKBAR_LEFT;
    pInfo->m_rectMRUDockPos = CRect(1, 2, 3, 4);
    pInfo->m_dwMRUFloatStyle = CBRS_ALIGN_TOP;
    pInfo->m_ptMRUFloatPos = CPoint(5, 6);
    pInfo->m_arrBarID.Add(NULL);
    pInfo->m_arrBarID.Add(CControlBarInfo::IdToEntry(AFX_IDW_TOOLBAR));
    pInfo->m_arrBarID.Add(CControlBarInfo::IdToEntry(0x1E807));
    state.m_arrBarInfo.Add(pInfo);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        state.Serialize(ar);
    }
    // version, screen size, count; then the bar: id, visible, floating, horizontal, position,
    // MRU width, docking, MRU dock id, rectangle, float style, float position, ids as DWORDs
    const BYTE expected[] = {
        2, 0, 0, 0, 0x00, 0x04, 0, 0, 0x00, 0x03, 0, 0, 1, 0,                           // 2, 1024, 768, 1 bar
        0x1B, 0xE8, 0, 0, 1, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, // bar, TRUE, FALSE, TRUE, -1, -1
        0xFF, 0x7F, 1, 0, 0x1C, 0xE8, 0, 0,                                              // 32767, TRUE, left dock bar
        1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0, 0x00, 0x20, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0,
        3, 0, 0, 0, 0, 0, 0x00, 0xE8, 0, 0, 0x07, 0xE8, 1, 0,                            // 3 ids
    };
    ASSERT_EQ(sizeof(expected), (size_t)file.GetLength());
    file.SeekToBegin();
    BYTE bytes[sizeof(expected)];
    file.Read(bytes, sizeof(bytes));
    EXPECT_EQ(0, memcmp(expected, bytes, sizeof(expected)));

    // read back (on this screen of the same size: nothing scaled)
    file.SeekToBegin();
    CDockState read;
    read.m_rectDevice.SetRect(0, 0, 1024, 768);
    read.m_rectClip.SetRect(0, 0, 1000, 700);
    {
        CArchive ar(&file, CArchive::load);
        read.Serialize(ar);
    }
    ASSERT_EQ(1, read.m_arrBarInfo.GetSize());
    CControlBarInfo* pRead = (CControlBarInfo*)read.m_arrBarInfo[0];
    EXPECT_EQ(pInfo->m_nBarID, pRead->m_nBarID);
    EXPECT_EQ(pInfo->m_uMRUDockID, pRead->m_uMRUDockID);
    EXPECT_EQ(pInfo->m_rectMRUDockPos, pRead->m_rectMRUDockPos);
    EXPECT_EQ(pInfo->m_ptMRUFloatPos, pRead->m_ptMRUFloatPos);
    ASSERT_EQ(3, pRead->m_arrBarID.GetSize());
    EXPECT_EQ(0x1E807u, CControlBarInfo::EntryToId(pRead->m_arrBarID[2]));
    EXPECT_EQ(2u, read.GetVersion());

    // Version 1 has neither the screen size nor the remembered places.
    const BYTE version1[] = {1, 0, 0, 0, 1, 0, 0x00, 0xE8, 0, 0, 1, 0, 0, 0, 1, 0, 7, 0, 0, 0, 9, 0, 0, 0, 0, 0};
    CMemFile file1((BYTE*)version1, sizeof(version1));
    CDockState read1;
    {
        CArchive ar(&file1, CArchive::load);
        read1.Serialize(ar);
    }
    ASSERT_EQ(1, read1.m_arrBarInfo.GetSize());
    EXPECT_EQ((UINT)AFX_IDW_TOOLBAR, ((CControlBarInfo*)read1.m_arrBarInfo[0])->m_nBarID);
    EXPECT_EQ(CPoint(7, 9), ((CControlBarInfo*)read1.m_arrBarInfo[0])->m_pointPos);
    EXPECT_FALSE(((CControlBarInfo*)read1.m_arrBarInfo[0])->m_bDocking);
    EXPECT_EQ(2u, read1.GetVersion()) << "kept in the current form";

    // an unknown version and a cut image are refused with an archive exception
    struct Case {
        std::vector<BYTE> bytes;
        int nCause;
    } const cases[] = {
        {{3, 0, 0, 0, 0, 0}, CArchiveException::badSchema},
        {std::vector<BYTE>(expected, expected + 30), CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        CMemFile fileBad((BYTE*)c.bytes.data(), (UINT)c.bytes.size());
        CDockState bad;
        int nCause = -1;
        try {
            CArchive ar(&fileBad, CArchive::load);
            bad.Serialize(ar);
        } catch (CArchiveException* e) {
            nCause = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(c.nCause, nCause);
    }
}
