// The toolkit's process-wide data: system and toolkit colours, cursors, metrics, the menu fonts
// and their variants, the versions of the common-controls library and of Windows, and the look
// and behaviour options. One object exists, made on first use by TkAfxGetData.
#pragma once

#include <afxwin.h>

#include "TkColors.h"

// Common-controls version 4.72, packed as major * 65536 + minor.
#define TK_COMCTL_VERSION_REQUIRED 0x00040048

// The eight menu fonts, in the order in which the font rules produce them.
enum TkMenuFontIndex {
    tkFontMenu,
    tkFontMenuBold,
    tkFontMenuULine,
    tkFontMenuPlain,
    tkFontVert,
    tkFontVertBold,
    tkFontVertDown,
    tkFontVertDownBold,
    tkMenuFontCount
};

class CTkGlobalData {
public:
    CTkGlobalData();
    virtual ~CTkGlobalData();

    COLORREF clr3DFace;
    COLORREF clr3DShadow;
    COLORREF clr3DDkShadow;
    COLORREF clr3DHilight;
    COLORREF clr3DFaceLight; // clr3DFace with 15 added to each channel
    COLORREF clrBtnText;
    COLORREF clrGrayText;
    COLORREF clrHighlight;
    COLORREF clrHighlightText;
    COLORREF clrMenu;
    COLORREF clrMenuText;
    COLORREF clrWindow;
    COLORREF clrWindowFrame;
    COLORREF clrWindowText;
    COLORREF clrActiveCaption;
    COLORREF clrInactiveCaption;
    COLORREF clrGradActiveCapt;
    COLORREF clrGradInactiveCapt;
    COLORREF clrActiveCaptText;
    COLORREF clrInactiveCaptText;
    COLORREF clrToolkit[20]; // entries 30-49 of the colour table

    HCURSOR hcurDragCopy;
    HCURSOR hcurDragMove;
    HCURSOR hcurDragNone;
    HCURSOR hcurHand;
    HCURSOR hcurSpare;
    HCURSOR hcurColSplit;
    HCURSOR hcurRowSplit;
    HCURSOR hcurMove; // the system's IDC_SIZEALL

    int cxSmIcon, cySmIcon;
    int cxHThumb;
    int cyMenu;

    CFont fontMenu;
    CFont fontMenuBold;
    CFont fontMenuULine;
    CFont fontMenuPlain;
    CFont fontVert;         // text running upwards
    CFont fontVertBold;
    CFont fontVertDown;     // text running downwards
    CFont fontVertDownBold;

    int nComCtlVersion; // major * 65536 + minor; -1 while unknown

    // Exact versions of Windows (all 0 on later versions; "or later" is asked apart).
    BOOL bWin95;
    BOOL bWin98;
    BOOL bWinNT4;
    BOOL bWin2K;
    BOOL bWinXP;

    BOOL bCoolMenusInstalled;
    BOOL bFlatLook;
    BOOL bMenuShadows;
    BOOL bFullWindowDrag;
    BOOL bBarMenus;
    BOOL bDockBarMenus;
    BOOL bRecentlyUsedFirst;
    BOOL bFullMenusAfterDelay;
    BOOL bToolBarTips;
    BOOL bToolBarAccelTips;
    BOOL bFullColorIcons;
    BOOL bNoSimulatedShadows;
    BOOL bTahomaFont;

    CString strINIFileName; // private profile file of the registry helper; empty: the registry
    HINSTANCE hInstance;    // module of the toolkit's resources

    // Set when the common-controls library turned out too old (message 4548 was shown): toolkit
    // frames refuse to be created, so the program leaves through its normal failure path.
    BOOL bComCtlVersionFailed;

    void InitResources(HINSTANCE hInst);
    void UpdateSysColors();
    void UpdateMetrics();
    void UpdateFonts();
    void LoadCursors();
    void FreeCursors();
    BOOL FontExists(const CString& strFaceName);
    BOOL CreateFontVariant(const LOGFONT* plf, CFont* pFont, LONG nWeight, BYTE bUnderline, LONG nOrientation,
                           LONG nEscapement);
    int GetComCtlVersion();

    // Windows NT 5.1 or a later NT version (the exact-version flags above do not say this).
    BOOL IsWinXPOrLater() const;

    // The font rules as a pure function: lfMenu is the system's menu font, nCharSet the screen's
    // character set; the eight fonts' LOGFONTs come back in TkMenuFontIndex order. bTahomaFont is
    // set when the menu face is Tahoma and never reset.
    static void ChooseMenuFonts(const LOGFONT& lfMenu, BYTE nCharSet, BOOL bTahomaExists, BOOL bArialExists,
                                BOOL& bTahomaFont, LOGFONT alf[tkMenuFontCount]);
    // The version of a common-controls library from its DllGetVersion, packed; -1 when the library
    // or the function is missing or the call fails.
    static int ReadComCtlVersion(LPCTSTR lpszLibrary);
    // Whether a packed version (-1 unknown) is recent enough for the toolkit.
    static BOOL IsComCtlVersionSufficient(int nVersion) { return nVersion >= TK_COMCTL_VERSION_REQUIRED; }

private:
    OSVERSIONINFOA m_osVersion;
    CTkGlobalData(const CTkGlobalData&) = delete;
    CTkGlobalData& operator=(const CTkGlobalData&) = delete;
};

// The toolkit's data; the first call makes it.
CTkGlobalData* TkAfxGetData();
#define tkAfxData (*TkAfxGetData())

// The library whose version the toolkit checks ("COMCTL32.DLL"); a test names another one before
// the first TkAfxGetData call. NULL restores the default.
void TkSetComCtlLibraryName(LPCTSTR lpszLibrary);
