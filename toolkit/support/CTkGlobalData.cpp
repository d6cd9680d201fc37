#include "CTkGlobalData.h"

#include "TkMessageBox.h"
#include "../ToolkitResource.h"

#include <shlwapi.h>
#include <stddef.h>

namespace {

LPCTSTR g_lpszComCtlLibrary = "COMCTL32.DLL";

// The Windows version, read once for the process.
const OSVERSIONINFOA& OsVersion()
{
    static OSVERSIONINFOA s_version = [] {
        OSVERSIONINFOA v;
        memset(&v, 0, sizeof(v));
        v.dwOSVersionInfoSize = sizeof(v);
        ::GetVersionExA(&v);
        return v;
    }();
    return s_version;
}

int CALLBACK FindFaceProc(const LOGFONTA* plf, const TEXTMETRICA*, DWORD, LPARAM lParam)
{
    // 0 ends the enumeration at the first match
    return lstrcmpiA(plf->lfFaceName, (LPCSTR)lParam) == 0 ? 0 : 1;
}

} // namespace

void TkSetComCtlLibraryName(LPCTSTR lpszLibrary) { g_lpszComCtlLibrary = lpszLibrary != NULL ? lpszLibrary : "COMCTL32.DLL"; }

CTkGlobalData* TkAfxGetData()
{
    static CTkGlobalData s_data;
    return &s_data;
}

CTkGlobalData::CTkGlobalData()
{
    clr3DFace = clr3DShadow = clr3DDkShadow = clr3DHilight = clr3DFaceLight = 0;
    clrBtnText = clrGrayText = clrHighlight = clrHighlightText = clrMenu = clrMenuText = 0;
    clrWindow = clrWindowFrame = clrWindowText = 0;
    clrActiveCaption = clrInactiveCaption = clrGradActiveCapt = clrGradInactiveCapt = 0;
    clrActiveCaptText = clrInactiveCaptText = 0;
    memset(clrToolkit, 0, sizeof(clrToolkit));
    hcurDragCopy = hcurDragMove = hcurDragNone = hcurHand = hcurSpare = hcurColSplit = hcurRowSplit = hcurMove = NULL;
    cxSmIcon = cySmIcon = cxHThumb = cyMenu = 0;
    nComCtlVersion = -1;
    hInstance = NULL;
    bComCtlVersionFailed = FALSE;

    m_osVersion = OsVersion();
    const DWORD dwMajor = m_osVersion.dwMajorVersion, dwMinor = m_osVersion.dwMinorVersion;
    const BOOL bNT = m_osVersion.dwPlatformId == VER_PLATFORM_WIN32_NT;
    const BOOL b9x = m_osVersion.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    bWin95 = b9x && dwMajor == 4 && dwMinor < 10;
    bWin98 = b9x && dwMajor == 4 && dwMinor == 10;
    bWinNT4 = bNT && dwMajor == 4 && dwMinor == 0;
    bWin2K = bNT && dwMajor == 5 && dwMinor == 0;
    bWinXP = bNT && dwMajor == 5 && dwMinor == 1;

    bCoolMenusInstalled = FALSE;
    bFlatLook = FALSE;
    bMenuShadows = TRUE;
    bFullWindowDrag = TRUE;
    bBarMenus = TRUE;
    bDockBarMenus = TRUE;
    bRecentlyUsedFirst = TRUE;
    bFullMenusAfterDelay = TRUE;
    bToolBarTips = TRUE;
    bToolBarAccelTips = FALSE;
    bFullColorIcons = FALSE;
    bNoSimulatedShadows = FALSE;
    bTahomaFont = FALSE;

    InitResources(NULL);
}

CTkGlobalData::~CTkGlobalData() { FreeCursors(); }

BOOL CTkGlobalData::IsWinXPOrLater() const
{
    return m_osVersion.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           (m_osVersion.dwMajorVersion > 5 || (m_osVersion.dwMajorVersion == 5 && m_osVersion.dwMinorVersion >= 1));
}

void CTkGlobalData::InitResources(HINSTANCE hInst)
{
    hInstance = hInst != NULL ? hInst : ::GetModuleHandleA(NULL);
    UpdateSysColors();
    UpdateMetrics();
    UpdateFonts();
    LoadCursors();
    GetComCtlVersion();

    // The toolkit needs features of common controls 4.72. An older (or unknown) library is
    // reported once; the failure is kept so that toolkit frames refuse to be created and the
    // program ends through its own failure path, closing what it opened.
    if (!IsComCtlVersionSufficient(nComCtlVersion) && !bComCtlVersionFailed) {
        bComCtlVersionFailed = TRUE;
        char szText[256] = "";
        ::LoadStringA(hInstance, IDS_TK_COMCTL_VERSION, szText, sizeof(szText));
        TkMessageBox(NULL, szText, "Comctl32.dll", MB_ICONERROR);
    }
}

void CTkGlobalData::UpdateSysColors()
{
    TkUpdateColorTable();
    clr3DFace = TkGetSysColor(COLOR_BTNFACE);
    clr3DShadow = TkGetSysColor(COLOR_BTNSHADOW);
    clr3DDkShadow = TkGetSysColor(COLOR_3DDKSHADOW);
    clr3DHilight = TkGetSysColor(COLOR_BTNHIGHLIGHT);
    clrBtnText = TkGetSysColor(COLOR_BTNTEXT);
    clrGrayText = TkGetSysColor(COLOR_GRAYTEXT);
    clrHighlight = TkGetSysColor(COLOR_HIGHLIGHT);
    clrHighlightText = TkGetSysColor(COLOR_HIGHLIGHTTEXT);
    clrMenu = TkGetSysColor(COLOR_MENU);
    clrMenuText = TkGetSysColor(COLOR_MENUTEXT);
    clrWindow = TkGetSysColor(COLOR_WINDOW);
    clrWindowFrame = TkGetSysColor(COLOR_WINDOWFRAME);
    clrWindowText = TkGetSysColor(COLOR_WINDOWTEXT);
    clrActiveCaption = TkGetSysColor(COLOR_ACTIVECAPTION);
    clrInactiveCaption = TkGetSysColor(COLOR_INACTIVECAPTION);
    clrGradActiveCapt = TkGetSysColor(COLOR_GRADIENTACTIVECAPTION);
    clrGradInactiveCapt = TkGetSysColor(COLOR_GRADIENTINACTIVECAPTION);
    clrActiveCaptText = TkGetSysColor(COLOR_CAPTIONTEXT);
    clrInactiveCaptText = TkGetSysColor(COLOR_INACTIVECAPTIONTEXT);
    clr3DFaceLight = TkAddGrey(clr3DFace, 15);
    for (int i = 0; i < 20; i++)
        clrToolkit[i] = TkGetSysColor(30 + i);
}

void CTkGlobalData::UpdateMetrics()
{
    cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
    cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
    cxHThumb = ::GetSystemMetrics(SM_CXHTHUMB);
    cyMenu = ::GetSystemMetrics(SM_CYMENU);
}

void CTkGlobalData::ChooseMenuFonts(const LOGFONT& lfMenu, BYTE nCharSet, BOOL bTahomaExists, BOOL bArialExists,
                                    BOOL& bTahomaFontInUse, LOGFONT alf[tkMenuFontCount])
{
    LOGFONT lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = nCharSet;
    lf.lfHeight = lfMenu.lfHeight;
    lf.lfWeight = lfMenu.lfWeight;
    lf.lfItalic = lfMenu.lfItalic;
    lstrcpynA(lf.lfFaceName, lfMenu.lfFaceName, LF_FACESIZE);
    // the menu fonts are never smaller than 11 pixels of character height
    if (lf.lfHeight < 0 && lf.lfHeight > -11)
        lf.lfHeight = -11;

    const BOOL bMenuTahoma = lstrcmpiA(lf.lfFaceName, "Tahoma") == 0;
    if (bMenuTahoma)
        bTahomaFontInUse = TRUE;
    const BOOL bPlainCharSet = lf.lfCharSet <= SYMBOL_CHARSET;
    if (bPlainCharSet && !bMenuTahoma && bTahomaFontInUse && bTahomaExists)
        lstrcpynA(lf.lfFaceName, "Tahoma", LF_FACESIZE);

    auto variant = [&](LOGFONT& out, LONG nWeight, BYTE bUnderline, LONG nAngle) {
        out = lf;
        if (nWeight != -1)
            out.lfWeight = nWeight;
        if (bUnderline != 255)
            out.lfUnderline = bUnderline;
        if (nAngle != -1)
            out.lfOrientation = out.lfEscapement = nAngle;
    };
    variant(alf[tkFontMenuBold], FW_BOLD, 255, -1);
    variant(alf[tkFontMenu], -1, 255, -1);
    variant(alf[tkFontMenuULine], -1, 1, -1);
    variant(alf[tkFontMenuPlain], -1, 255, -1);

    // vertical text needs a TrueType face; a Tahoma menu face is kept
    if (bPlainCharSet && lstrcmpiA(lf.lfFaceName, "Tahoma") != 0 && !bTahomaFontInUse && bArialExists)
        lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
    variant(alf[tkFontVert], -1, 255, 900);
    variant(alf[tkFontVertBold], FW_BOLD, 255, 900);
    variant(alf[tkFontVertDown], -1, 255, 2700);
    variant(alf[tkFontVertDownBold], FW_BOLD, 255, 2700);
}

void CTkGlobalData::UpdateFonts()
{
    CFont* apFonts[tkMenuFontCount] = {&fontMenu, &fontMenuBold, &fontMenuULine, &fontMenuPlain,
                                       &fontVert, &fontVertBold, &fontVertDown, &fontVertDownBold};
    for (CFont* pFont : apFonts)
        pFont->DeleteObject();

    BYTE nCharSet = DEFAULT_CHARSET;
    HDC hdc = ::GetDC(NULL);
    if (hdc != NULL) {
        nCharSet = (BYTE)::GetTextCharsetInfo(hdc, NULL, 0);
        ::ReleaseDC(NULL, hdc);
    }
    // the structure without the border padding that later systems added: every system takes it
    NONCLIENTMETRICSA ncm;
    memset(&ncm, 0, sizeof(ncm));
    ncm.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(ncm.lfMessageFont);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0);

    const BOOL bTahoma = FontExists("Tahoma");
    const BOOL bArial = FontExists("Arial");
    LOGFONT alf[tkMenuFontCount];
    ChooseMenuFonts(ncm.lfMenuFont, nCharSet, bTahoma, bArial, bTahomaFont, alf);
    for (int i = 0; i < tkMenuFontCount; i++)
        CreateFontVariant(&alf[i], apFonts[i], -1, 255, -1, -1);
}

BOOL CTkGlobalData::FontExists(const CString& strFaceName)
{
    HDC hdc = ::GetDC(NULL);
    if (hdc == NULL)
        return FALSE;
    LOGFONTA lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    int nResult = ::EnumFontFamiliesExA(hdc, &lf, FindFaceProc, (LPARAM)(LPCSTR)strFaceName, 0);
    ::ReleaseDC(NULL, hdc);
    return nResult == 0;
}

BOOL CTkGlobalData::CreateFontVariant(const LOGFONT* plf, CFont* pFont, LONG nWeight, BYTE bUnderline,
                                      LONG nOrientation, LONG nEscapement)
{
    LOGFONT lf = *plf;
    if (nWeight != -1)
        lf.lfWeight = nWeight;
    if (nOrientation != -1)
        lf.lfOrientation = nOrientation;
    if (nEscapement != -1)
        lf.lfEscapement = nEscapement;
    if (bUnderline != 255)
        lf.lfUnderline = bUnderline;
    pFont->DeleteObject();
    return pFont->CreateFontIndirect(&lf);
}

void CTkGlobalData::LoadCursors()
{
    FreeCursors();
    hcurDragCopy = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_TK_DRAGCOPY));
    hcurDragMove = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_TK_DRAGMOVE));
    hcurDragNone = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_TK_DRAGNONE));
    hcurHand = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_TK_HAND));
    hcurSpare = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_TK_SPARE));
    hcurColSplit = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_TK_COLSPLIT));
    hcurRowSplit = ::LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_TK_ROWSPLIT));
    hcurMove = ::LoadCursorA(NULL, IDC_SIZEALL);
}

void CTkGlobalData::FreeCursors()
{
    HCURSOR* aphcur[] = {&hcurDragCopy, &hcurDragMove, &hcurDragNone, &hcurHand,
                         &hcurSpare,    &hcurColSplit, &hcurRowSplit};
    for (HCURSOR* phcur : aphcur) {
        if (*phcur != NULL)
            ::DestroyCursor(*phcur);
        *phcur = NULL;
    }
}

int CTkGlobalData::ReadComCtlVersion(LPCTSTR lpszLibrary)
{
    HMODULE hModule = ::LoadLibraryA(lpszLibrary);
    if (hModule == NULL)
        return -1;
    int nVersion = -1;
    DLLGETVERSIONPROC pfnGetVersion = reinterpret_cast<DLLGETVERSIONPROC>(::GetProcAddress(hModule, "DllGetVersion"));
    if (pfnGetVersion != NULL) {
        DLLVERSIONINFO dvi;
        memset(&dvi, 0, sizeof(dvi));
        dvi.cbSize = sizeof(dvi);
        if (SUCCEEDED(pfnGetVersion(&dvi)))
            nVersion = (int)(((dvi.dwMajorVersion & 0xFFFF) << 16) | (dvi.dwMinorVersion & 0xFFFF));
    }
    ::FreeLibrary(hModule);
    return nVersion;
}

int CTkGlobalData::GetComCtlVersion()
{
    if (nComCtlVersion == -1)
        nComCtlVersion = ReadComCtlVersion(g_lpszComCtlLibrary);
    return nComCtlVersion == -1 ? 0 : nComCtlVersion;
}
