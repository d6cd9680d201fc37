// The colour table (the full derivation is compared with an independent script by
// toolkit_color_reference), HSL conversions, the colour fields of the global data and mnemonic
// stripping.
#include <gtest/gtest.h>

#include "CTkGlobalData.h"
#include "TkColors.h"
#include "TkDrawing.h"

#include <math.h>
#include <string.h>

namespace {

// The classic Windows grey scheme.
void ClassicScheme(COLORREF sys[TK_SYSCOLOR_LAST + 1])
{
    for (int i = 0; i <= TK_SYSCOLOR_LAST; i++)
        sys[i] = RGB(0xC0, 0xC0, 0xC0);
    sys[0] = 0;
    sys[COLOR_WINDOW] = RGB(255, 255, 255);
    sys[COLOR_HIGHLIGHT] = RGB(0, 0, 0x80);
    sys[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
    sys[COLOR_BTNSHADOW] = sys[COLOR_GRAYTEXT] = RGB(0x80, 0x80, 0x80);
    sys[COLOR_BTNTEXT] = sys[COLOR_WINDOWTEXT] = sys[COLOR_MENUTEXT] = 0;
    sys[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
}

double ChannelDistance(COLORREF a, COLORREF b)
{
    double dr = GetRValue(a) - GetRValue(b), dg = GetGValue(a) - GetGValue(b), db = GetBValue(a) - GetBValue(b);
    return sqrt(dr * dr + dg * dg + db * db);
}

} // namespace

TEST(ColorTableTest, ClassicSchemeGivesASoftFaceAndAPaleHighlight)
{
    COLORREF sys[TK_SYSCOLOR_LAST + 1], table[TK_COLOR_COUNT];
    ClassicScheme(sys);
    memset(table, 0, sizeof(table));
    TkComputeColorTable(sys, 24, table);

    const COLORREF clrFace = sys[COLOR_BTNFACE], clrWhite = RGB(255, 255, 255);
    // entry 30 lies between face and white, close to the face
    EXPECT_GE(GetRValue(table[30]), GetRValue(clrFace));
    EXPECT_LT(GetRValue(table[30]), 255);
    EXPECT_LT(ChannelDistance(table[30], clrFace), ChannelDistance(table[30], clrWhite)) << std::hex << table[30];
    // entry 31 is a pale blue
    EXPECT_GT(GetBValue(table[31]), GetRValue(table[31])) << std::hex << table[31];
    EXPECT_EQ(GetRValue(table[31]), GetGValue(table[31])) << std::hex << table[31];
    EXPECT_GT(GetRValue(table[31]), 0x80) << std::hex << table[31];
    // entry 34 is three quarters of entry 31; the Windows colours are copied; 29 and 50 stay 0
    EXPECT_EQ(RGB(GetRValue(table[31]) * 3 / 4, GetGValue(table[31]) * 3 / 4, GetBValue(table[31]) * 3 / 4), table[34]);
    for (int i = 1; i <= TK_SYSCOLOR_LAST; i++)
        EXPECT_EQ(sys[i], table[i]) << "entry " << i;
    EXPECT_EQ(0u, table[0]);
    EXPECT_EQ(0u, table[29]);
    EXPECT_EQ(0u, table[50]);
}

TEST(ColorTableTest, AtMostEightBitsPerPixelKeepsTheWindowsColours)
{
    COLORREF sys[TK_SYSCOLOR_LAST + 1], table[TK_COLOR_COUNT];
    ClassicScheme(sys);
    memset(table, 0, sizeof(table));
    TkComputeColorTable(sys, 24, table);
    const COLORREF clr34 = table[34];
    ASSERT_NE(0u, clr34);

    for (int nBits : {8, 4, 1}) {
        TkComputeColorTable(sys, nBits, table);
        EXPECT_EQ(sys[COLOR_BTNFACE], table[30]) << nBits << " bpp";
        EXPECT_EQ(sys[COLOR_WINDOW], table[31]) << nBits << " bpp";
        EXPECT_EQ(sys[COLOR_HIGHLIGHT], table[32]) << nBits << " bpp";
        EXPECT_EQ(sys[COLOR_GRAYTEXT], table[35]) << nBits << " bpp";
        EXPECT_EQ(sys[COLOR_BTNSHADOW], table[52]) << nBits << " bpp";
        EXPECT_EQ(clr34, table[34]) << "entry 34 keeps its last value at " << nBits << " bpp";
    }
    memset(table, 0, sizeof(table));
    TkComputeColorTable(sys, 8, table);
    EXPECT_EQ(0u, table[34]) << "no earlier computation";
}

TEST(ColorTableTest, HslOfPureRedAndBack)
{
    double h = -1, s = -1, l = -1;
    TkRGBtoHSL(RGB(255, 0, 0), &h, &s, &l);
    EXPECT_DOUBLE_EQ(0.0, h);
    EXPECT_DOUBLE_EQ(1.0, s);
    EXPECT_DOUBLE_EQ(0.5, l);
    EXPECT_EQ(0x0000FFu, TkHSLtoRGB(0.0, 1.0, 0.5));

    // grey has no hue or saturation; other colours come back within rounding
    TkRGBtoHSL(RGB(0x80, 0x80, 0x80), &h, &s, &l);
    EXPECT_DOUBLE_EQ(0.0, s);
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), TkHSLtoRGB(h, s, l));
    for (COLORREF clr : {RGB(0x33, 0x66, 0x99), RGB(0, 0, 0x80), RGB(0xFF, 0xFF, 0), RGB(0x12, 0xAB, 0x40)}) {
        TkRGBtoHSL(clr, &h, &s, &l);
        EXPECT_GE(h, 0.0);
        EXPECT_LT(h, 1.0);
        COLORREF back = TkHSLtoRGB(h, s, l);
        EXPECT_LE(abs(GetRValue(back) - GetRValue(clr)), 1) << std::hex << clr << " -> " << back;
        EXPECT_LE(abs(GetGValue(back) - GetGValue(clr)), 1) << std::hex << clr << " -> " << back;
        EXPECT_LE(abs(GetBValue(back) - GetBValue(clr)), 1) << std::hex << clr << " -> " << back;
    }
}

TEST(ColorTableTest, GlobalDataTakesItsColoursFromTheTable)
{
    CTkGlobalData* pData = TkAfxGetData();
    pData->UpdateSysColors();
    EXPECT_EQ(TkGetSysColor(COLOR_BTNFACE), pData->clr3DFace);
    EXPECT_EQ(TkGetSysColor(COLOR_BTNSHADOW), pData->clr3DShadow);
    EXPECT_EQ(TkGetSysColor(COLOR_HIGHLIGHT), pData->clrHighlight);
    EXPECT_EQ(TkGetSysColor(COLOR_INACTIVECAPTIONTEXT), pData->clrInactiveCaptText);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), pData->clr3DFace);
    for (int i = 0; i < 20; i++)
        EXPECT_EQ(TkGetSysColor(30 + i), pData->clrToolkit[i]) << "entry " << 30 + i;
    EXPECT_EQ(TkAddGrey(pData->clr3DFace, 15), pData->clr3DFaceLight);
}

TEST(ColorTableTest, AddingGreySaturates)
{
    EXPECT_EQ(RGB(0xCF, 0xCF, 0xCF), TkAddGrey(RGB(0xC0, 0xC0, 0xC0), 15));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0x0F), TkAddGrey(RGB(0xF5, 0xFF, 0x00), 15));
}

TEST(DrawingTest, StripMnemonics)
{
    static const struct {
        const char* pszIn;
        const char* pszOut;
    } s_cases[] = {{"&Datei", "Datei"}, {"A&&B", "A&&B"},  {"&&&X", "&&X"},
                   {"Ende&", "Ende"},   {"", ""},          {"Ans&icht", "Ansicht"}};
    for (const auto& c : s_cases) {
        CString str = c.pszIn;
        TkStripMnemonics(str);
        EXPECT_STREQ(c.pszOut, str) << "from " << c.pszIn;
    }
}
