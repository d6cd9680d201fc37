// The toolkit's global data: font rules, the common-controls version check and the program's way
// out when the library is too old, cursors, the icon holder, the menu-item record and the
// module-state saver.
#include <gtest/gtest.h>

#include "CTkGlobalData.h"
#include "CTkIconHolder.h"
#include "CTkMenuItemInfo.h"
#include "CTkModuleStateSaverPtr.h"
#include "TestKit.h"
#include "ToolkitResource.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <string.h>

namespace {

LOGFONT MenuFont(LONG nHeight, LPCSTR lpszFace)
{
    LOGFONT lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfHeight = nHeight;
    lf.lfWeight = FW_NORMAL;
    lstrcpynA(lf.lfFaceName, lpszFace, LF_FACESIZE);
    return lf;
}

// An icon of cx x cy pixels (a colour square on a transparent border).
HICON MakeIcon(int cx, int cy)
{
    HDC hdc = ::GetDC(NULL);
    HBITMAP hbmColor = ::CreateCompatibleBitmap(hdc, cx, cy);
    HBITMAP hbmMask = ::CreateBitmap(cx, cy, 1, 1, NULL);
    HDC hdcMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hbmColor);
    RECT rc = {0, 0, cx, cy};
    HBRUSH hbr = ::CreateSolidBrush(RGB(200, 30, 30));
    ::FillRect(hdcMem, &rc, hbr);
    ::DeleteObject(hbr);
    ::SelectObject(hdcMem, hbmMask);
    ::PatBlt(hdcMem, 0, 0, cx, cy, BLACKNESS);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(NULL, hdc);
    ICONINFO ii = {TRUE, 0, 0, hbmMask, hbmColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hbmColor);
    ::DeleteObject(hbmMask);
    return hIcon;
}

bool IconAlive(HICON hIcon)
{
    ICONINFO ii;
    if (!::GetIconInfo(hIcon, &ii))
        return false;
    ::DeleteObject(ii.hbmColor);
    ::DeleteObject(ii.hbmMask);
    return true;
}

} // namespace

TEST(FontRulesTest, HeightsAreAtLeastElevenPixels)
{
    static const struct {
        LONG nIn, nOut;
    } s_cases[] = {{-9, -11}, {-1, -11}, {-10, -11}, {-11, -11}, {-14, -14}, {12, 12}, {0, 0}};
    for (const auto& c : s_cases) {
        LOGFONT alf[tkMenuFontCount];
        BOOL bTahoma = FALSE;
        CTkGlobalData::ChooseMenuFonts(MenuFont(c.nIn, "MS Sans Serif"), ANSI_CHARSET, TRUE, TRUE, bTahoma, alf);
        for (int i = 0; i < tkMenuFontCount; i++)
            EXPECT_EQ(c.nOut, alf[i].lfHeight) << "height " << c.nIn << ", font " << i;
    }
}

TEST(FontRulesTest, FacesVariantsAndCharsets)
{
    static const char* const s_names[] = {"menu", "bold", "underline", "plain", "vert", "vert bold", "down", "down bold"};
    static const struct {
        const char* pszWhat;
        const char* pszFace;
        BYTE nCharSet;
        BOOL bTahomaExists, bArialExists;
        const char* pszHorizontal;
        const char* pszVertical;
    } s_cases[] = {
        {"system face with Arial", "MS Sans Serif", ANSI_CHARSET, TRUE, TRUE, "MS Sans Serif", "Arial"},
        {"system face without Arial", "MS Sans Serif", ANSI_CHARSET, TRUE, FALSE, "MS Sans Serif", "MS Sans Serif"},
        {"Tahoma menu face", "Tahoma", ANSI_CHARSET, TRUE, TRUE, "Tahoma", "Tahoma"},
        {"Greek charset", "MS Sans Serif", GREEK_CHARSET, TRUE, TRUE, "MS Sans Serif", "MS Sans Serif"},
        {"symbol charset", "MS Sans Serif", SYMBOL_CHARSET, TRUE, TRUE, "MS Sans Serif", "Arial"},
    };
    for (const auto& c : s_cases) {
        LOGFONT alf[tkMenuFontCount];
        BOOL bTahoma = FALSE;
        CTkGlobalData::ChooseMenuFonts(MenuFont(-11, c.pszFace), c.nCharSet, c.bTahomaExists, c.bArialExists,
                                       bTahoma, alf);
        for (int i = 0; i < tkMenuFontCount; i++) {
            EXPECT_STREQ(i < tkFontVert ? c.pszHorizontal : c.pszVertical, alf[i].lfFaceName)
                << c.pszWhat << ", " << s_names[i];
            EXPECT_EQ(c.nCharSet, alf[i].lfCharSet) << c.pszWhat << ", " << s_names[i];
        }
        EXPECT_EQ(lstrcmpiA(c.pszFace, "Tahoma") == 0, bTahoma != FALSE) << c.pszWhat;
    }

    // the variants
    LOGFONT alf[tkMenuFontCount];
    BOOL bTahoma = FALSE;
    CTkGlobalData::ChooseMenuFonts(MenuFont(-11, "Tahoma"), ANSI_CHARSET, TRUE, TRUE, bTahoma, alf);
    static const struct {
        LONG nWeight;
        BYTE bUnderline;
        LONG nAngle;
    } s_variants[tkMenuFontCount] = {{FW_NORMAL, 0, 0},   {FW_BOLD, 0, 0},     {FW_NORMAL, 1, 0},    {FW_NORMAL, 0, 0},
                                     {FW_NORMAL, 0, 900}, {FW_BOLD, 0, 900},   {FW_NORMAL, 0, 2700}, {FW_BOLD, 0, 2700}};
    for (int i = 0; i < tkMenuFontCount; i++) {
        EXPECT_EQ(s_variants[i].nWeight, alf[i].lfWeight) << s_names[i];
        EXPECT_EQ(s_variants[i].bUnderline, alf[i].lfUnderline) << s_names[i];
        EXPECT_EQ(s_variants[i].nAngle, alf[i].lfEscapement) << s_names[i];
        EXPECT_EQ(s_variants[i].nAngle, alf[i].lfOrientation) << s_names[i];
    }

    // once Tahoma was the menu face, a later other face becomes Tahoma too
    CTkGlobalData::ChooseMenuFonts(MenuFont(-11, "MS Sans Serif"), ANSI_CHARSET, TRUE, TRUE, bTahoma, alf);
    EXPECT_STREQ("Tahoma", alf[tkFontMenu].lfFaceName);
    EXPECT_STREQ("Tahoma", alf[tkFontVert].lfFaceName);
}

TEST(GlobalDataTest, FontsCursorsAndVersionOfThisSystem)
{
    CTkGlobalData* pData = TkAfxGetData();
    EXPECT_EQ(pData, TkAfxGetData());
    EXPECT_EQ(::GetModuleHandleA(NULL), pData->hInstance);

    CFont* apFonts[] = {&pData->fontMenu,     &pData->fontMenuBold, &pData->fontMenuULine, &pData->fontMenuPlain,
                        &pData->fontVert,     &pData->fontVertBold, &pData->fontVertDown,  &pData->fontVertDownBold};
    for (CFont* pFont : apFonts) {
        LOGFONT lf;
        ASSERT_NE(nullptr, pFont->m_hObject);
        ASSERT_EQ((int)sizeof(lf), pFont->GetLogFont(&lf));
        EXPECT_TRUE(lf.lfHeight >= 0 || lf.lfHeight <= -11) << lf.lfHeight;
    }
    // the menu fonts follow the system's menu font
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    LOGFONT lfMenu;
    pData->fontMenu.GetLogFont(&lfMenu);
    EXPECT_NE('\0', lfMenu.lfFaceName[0]);
    EXPECT_EQ(ncm.lfMenuFont.lfWeight, lfMenu.lfWeight);
    if (lstrcmpiA(ncm.lfMenuFont.lfFaceName, "Tahoma") != 0 && !pData->bTahomaFont)
        EXPECT_STREQ(ncm.lfMenuFont.lfFaceName, lfMenu.lfFaceName);
    EXPECT_TRUE(pData->FontExists("tahoma")) << "the test prefix has Tahoma";
    EXPECT_FALSE(pData->FontExists("No Such Face 123"));

    // the seven cursors of the toolkit's resources and the system's move cursor
    HCURSOR ahCursors[] = {pData->hcurDragCopy, pData->hcurDragMove, pData->hcurDragNone, pData->hcurHand,
                           pData->hcurSpare,    pData->hcurColSplit, pData->hcurRowSplit, pData->hcurMove};
    for (HCURSOR hCursor : ahCursors)
        EXPECT_NE(nullptr, hCursor);
    ICONINFO ii;
    ASSERT_TRUE(::GetIconInfo(pData->hcurHand, &ii));
    EXPECT_FALSE(ii.fIcon);
    ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor != NULL)
        ::DeleteObject(ii.hbmColor);

    EXPECT_GE(pData->GetComCtlVersion(), TK_COMCTL_VERSION_REQUIRED);
    EXPECT_FALSE(pData->bComCtlVersionFailed);
    EXPECT_GT(pData->cyMenu, 0);
    EXPECT_GT(pData->cxSmIcon, 0);
    // the exact-version flags name old systems only; "XP or later" is asked apart
    OSVERSIONINFOA v = {sizeof(v)};
    ::GetVersionExA(&v);
    EXPECT_EQ(v.dwMajorVersion == 5 && v.dwMinorVersion == 1, pData->bWinXP != FALSE);
    EXPECT_EQ(v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1), pData->IsWinXPOrLater() != FALSE);
}

TEST(GlobalDataTest, ComCtlVersionCheck)
{
    static const struct {
        const char* pszLibrary;
        int nVersion;
        BOOL bSufficient;
    } s_cases[] = {
        {"toolkit_fake_comctl472.dll", 0x40048, TRUE},
        {"toolkit_fake_comctl471.dll", 0x40047, FALSE},
        {"toolkit_fake_comctlnone.dll", -1, FALSE},
        {"no_such_library.dll", -1, FALSE},
    };
    for (const auto& c : s_cases) {
        int nVersion = CTkGlobalData::ReadComCtlVersion(c.pszLibrary);
        EXPECT_EQ(c.nVersion, nVersion) << c.pszLibrary;
        EXPECT_EQ(c.bSufficient, CTkGlobalData::IsComCtlVersionSufficient(nVersion)) << c.pszLibrary;
    }
    EXPECT_TRUE(CTkGlobalData::IsComCtlVersionSufficient(CTkGlobalData::ReadComCtlVersion("COMCTL32.DLL")));
}

// A program whose common-controls library is too old shows message 4548 through the toolkit's box
// function, fails to create its frame and leaves through its own failure path with exit code 1.
TEST(GlobalDataTest, ProgramWithOldComCtlShowsTheWarningAndEnds)
{
    char szWarning[256] = "";
    ASSERT_GT(::LoadStringA(::GetModuleHandleA(NULL), IDS_TK_COMCTL_VERSION, szWarning, sizeof(szWarning)), 0);
    EXPECT_STREQ("Warnung: Dieses Programm ben\xF6tigt comctl32.dll Version 4.72 oder h\xF6her.", szWarning);

    static const struct {
        const char* pszLibrary;
        int nExitCode;
        bool bBox;
    } s_cases[] = {
        {"toolkit_fake_comctl471.dll", 1, true},
        {"toolkit_fake_comctlnone.dll", 1, true},
        {"toolkit_fake_comctl472.dll", 0, false},
    };
    for (const auto& c : s_cases) {
        oxtest::TempDir dir("tkcomctl");
        std::string strLog = dir.File("log.txt");
        std::string strCommand =
            "\"" + oxtest::ProgramDir() + "\\toolkit_comctl_probe.exe\" \"" + strLog + "\" " + c.pszLibrary;
        EXPECT_EQ(c.nExitCode, oxtest::RunProcess(strCommand)) << c.pszLibrary;
        std::vector<std::string> lines = oxtest::SplitLines(oxtest::ReadFileText(strLog));
        std::vector<std::string> expected;
        if (c.bBox)
            expected.push_back(std::string("box|Comctl32.dll|") + std::to_string(MB_ICONERROR) + "|" + szWarning);
        expected.push_back(c.bBox ? "frame failed" : "frame created");
        expected.push_back("clean-up");
        EXPECT_EQ(expected, lines) << c.pszLibrary;
    }
}

TEST(IconHolderTest, ExtentAndScaling)
{
    CTkIconHolder holder(MakeIcon(32, 32));
    EXPECT_EQ(CSize(32, 32), holder.GetExtent());

    static const struct {
        CSize into, result;
    } s_cases[] = {{{32, 16}, {16, 16}}, {{16, 32}, {16, 16}}, {{48, 48}, {48, 48}}, {{20, 10}, {10, 10}}};
    for (const auto& c : s_cases) {
        CTkIconHolder scaled(holder.ScaleToFit(c.into));
        ASSERT_NE(nullptr, (HICON)scaled) << c.into.cx << "x" << c.into.cy;
        EXPECT_EQ(c.result, scaled.GetExtent()) << c.into.cx << "x" << c.into.cy;
    }
    EXPECT_EQ(nullptr, holder.ScaleToFit(CSize(0, 0)));
    CTkIconHolder empty;
    EXPECT_EQ(CSize(0, 0), empty.GetExtent());
    EXPECT_EQ(nullptr, empty.ScaleToFit(CSize(16, 16)));
}

TEST(IconHolderTest, AssignmentDestroysTheOldIconOnce)
{
    HICON hFirst = MakeIcon(16, 16), hSecond = MakeIcon(16, 16);
    {
        CTkIconHolder holder(hFirst);
        holder = hFirst; // the same icon again: kept
        EXPECT_TRUE(IconAlive(hFirst));
        holder = hSecond;
        EXPECT_FALSE(IconAlive(hFirst));
        EXPECT_TRUE(IconAlive(hSecond));
        EXPECT_EQ(hSecond, (HICON)holder);
    }
    EXPECT_FALSE(IconAlive(hSecond));
}

TEST(MenuItemInfoTest, RecordWorksWithThisSystemsMenuCalls)
{
    CTkMenuItemInfo info;
    EXPECT_EQ(sizeof(MENUITEMINFOA), info.cbSize);
    EXPECT_EQ(0u, info.fMask);
    EXPECT_EQ(nullptr, info.hSubMenu);

    HMENU hMenu = ::LoadMenuA(::GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(nullptr, hMenu);
    char szText[64] = "";
    info.fMask = MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = szText;
    info.cch = sizeof(szText);
    ASSERT_TRUE(::GetMenuItemInfoA(hMenu, 3, TRUE, &info)) << ::GetLastError();
    EXPECT_STREQ("Ans&icht", szText);
    EXPECT_NE(nullptr, info.hSubMenu);
    ::DestroyMenu(hMenu);
}

TEST(ModuleStateSaverTest, ActiveSaverRestoresTheHandles)
{
    tktest::CTestApp app;
    AFX_MODULE_STATE* pState = AfxGetModuleState();
    const HINSTANCE hResource = pState->m_hCurrentResourceHandle, hInstance = pState->m_hCurrentInstanceHandle;
    {
        CTkModuleStateSaverPtr ptr;
        EXPECT_EQ(nullptr, (CTkModuleStateSaver*)ptr);
        CTkModuleStateSaver* pSaver = new CTkModuleStateSaver;
        pSaver->Save();
        ptr = pSaver;
        pState->m_hCurrentResourceHandle = (HINSTANCE)0x1234;
        pState->m_hCurrentInstanceHandle = (HINSTANCE)0x5678;
    }
    EXPECT_EQ(hResource, pState->m_hCurrentResourceHandle);
    EXPECT_EQ(hInstance, pState->m_hCurrentInstanceHandle);
    {
        CTkModuleStateSaverPtr ptr;
        ptr = new CTkModuleStateSaver; // never saved: not active
        pState->m_hCurrentResourceHandle = (HINSTANCE)0x1234;
    }
    EXPECT_EQ((HINSTANCE)0x1234, pState->m_hCurrentResourceHandle);
    pState->m_hCurrentResourceHandle = hResource;
}
