// The font-face and font-size combo boxes against the fonts the system has: faces with their
// TrueType flag, the sizes of a scalable and of a raster face, sizes given back in twips, and
// screenshots of both boxes dropped down.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <CFontComboBox.h>
#include <CSizeComboBox.h>

#include <set>
#include <string>
#include <vector>

#include "FrameTestSupport.h"
#include "TestKit.h"

namespace {

// A font box that records the entries it is asked to delete (as a format bar's box frees its own
// data).
class CRecordingFontBox : public CFontComboBox {
public:
    std::vector<std::string> m_deleted;
    void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override
    {
        const CFontDesc* pDesc = (const CFontDesc*)lpDIS->itemData;
        if (pDesc != NULL)
            m_deleted.push_back((LPCTSTR)pDesc->m_strName);
        CFontComboBox::DeleteItem(lpDIS);
    }
};

class FontComboTest : public ::testing::Test {
protected:
    CWnd m_wnd;
    CRecordingFontBox m_fonts;
    CSizeComboBox m_sizes;
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, AfxRegisterWndClass(0, NULL, (HBRUSH)(COLOR_BTNFACE + 1)), "Schriftart",
                                   WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 360, 280, NULL, NULL));
        ASSERT_TRUE(m_fonts.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT | CBS_OWNERDRAWFIXED |
                                       CBS_HASSTRINGS,
                                   CRect(10, 10, 210, 220), &m_wnd, 20));
        ASSERT_TRUE(m_sizes.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN, CRect(220, 10, 290, 220), &m_wnd, 26));
        CFont* pFont = CFont::FromHandle((HFONT)::GetStockObject(DEFAULT_GUI_FONT));
        m_fonts.SetFont(pFont);
        m_sizes.SetFont(pFont);
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        CWnd::DeleteTempMap();
    }
    int IndexOf(CComboBox& box, const char* pszText) { return box.FindStringExact(-1, pszText); }
    std::vector<int> Sizes()
    {
        std::vector<int> sizes;
        for (int i = 0; i < m_sizes.GetCount(); i++)
            sizes.push_back(m_sizes.GetTwips(i) / 20);
        return sizes;
    }
    void Shot(CComboBox& box, const char* pszName)
    {
        box.ShowDropDown(TRUE);
        framestest::RunToIdle();
        COMBOBOXINFO cbi;
        memset(&cbi, 0, sizeof(cbi));
        cbi.cbSize = sizeof(cbi);
        ASSERT_TRUE(::GetComboBoxInfo(box.m_hWnd, &cbi));
        std::string strPath = framestest::SaveWindowsShot({m_wnd.m_hWnd, cbi.hwndList}, pszName);
        box.ShowDropDown(FALSE);
        ASSERT_FALSE(strPath.empty());
        EXPECT_TRUE(framestest::CopyToShots(strPath, "afx", pszName));
    }
};

const std::vector<int> kStandardSizes = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48};

} // namespace

TEST_F(FontComboTest, FacesOfTheScreenWithTheirType)
{
    int nCount = m_fonts.FillFonts();
    ASSERT_GT(nCount, 0);
    ASSERT_EQ(nCount, m_fonts.GetCount());
    std::set<std::string> names;
    int nTrueType = -1, nRaster = -1;
    for (int i = 0; i < nCount; i++) {
        const CFontDesc* pDesc = m_fonts.GetFontDesc(i);
        ASSERT_NE(nullptr, pDesc) << i;
        CString strText;
        m_fonts.GetLBText(i, strText);
        EXPECT_STREQ(strText, pDesc->m_strName);
        EXPECT_NE('@', strText[0]) << "vertical faces are left out";
        EXPECT_TRUE(names.insert((LPCTSTR)strText).second) << "each face once: " << (LPCTSTR)strText;
        if (nTrueType < 0 && (pDesc->m_dwFontType & TRUETYPE_FONTTYPE))
            nTrueType = i;
        if (nRaster < 0 && (pDesc->m_dwFontType & RASTER_FONTTYPE))
            nRaster = i;
    }
    EXPECT_EQ(nullptr, m_fonts.GetFontDesc(nCount));
    ASSERT_GE(nTrueType, 0) << "the system has TrueType faces";

    // The type agrees with what the system says of the face.
    CString strFace = m_fonts.GetFontDesc(nTrueType)->m_strName;
    LOGFONTA lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = m_fonts.GetFontDesc(nTrueType)->m_nCharSet;
    lstrcpynA(lf.lfFaceName, strFace, LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirectA(&lf);
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hdc, &tm);
    EXPECT_TRUE(tm.tmPitchAndFamily & TMPF_TRUETYPE) << (LPCTSTR)strFace;
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(NULL, hdc);
    ::DeleteObject(hFont);

    // Selecting by name: whole names without regard to case; a part of a name is none.
    CString strLower = strFace;
    strLower.MakeLower();
    EXPECT_EQ(nTrueType, m_fonts.SelectFont(strLower));
    EXPECT_EQ(nTrueType, m_fonts.GetCurSel());
    EXPECT_EQ(CB_ERR, m_fonts.SelectFont(strFace.Left(strFace.GetLength() - 1) + "#"));
    EXPECT_EQ(nTrueType, m_fonts.GetCurSel()) << "a face the box does not have leaves the selection";

    // A second fill gives the same faces (nothing twice).
    EXPECT_EQ(nCount, m_fonts.FillFonts());
    m_fonts.SelectFont(strFace);
    m_sizes.FillSizes(strFace);
    m_sizes.SelectTwips(200);
    Shot(m_fonts, "font_combo");
}

TEST_F(FontComboTest, SizesOfScalableAndRasterFaces)
{
    // A raster face of the test's own in two sizes: 13 and 17 pixels without internal leading.
    std::string strDir = oxtest::ProgramDir() + "\\";
    ASSERT_GT(::AddFontResourceExA((strDir + "TestRaster10.fnt").c_str(), FR_PRIVATE, 0), 0);
    ASSERT_GT(::AddFontResourceExA((strDir + "TestRaster13.fnt").c_str(), FR_PRIVATE, 0), 0);
    m_fonts.FillFonts();
    int nTrueType = -1;
    for (int i = 0; i < m_fonts.GetCount() && nTrueType < 0; i++)
        if (m_fonts.GetFontDesc(i)->m_dwFontType & TRUETYPE_FONTTYPE)
            nTrueType = i;
    ASSERT_GE(nTrueType, 0);
    int nRaster = m_fonts.SelectFont("OX Testraster");
    ASSERT_GE(nRaster, 0) << "the test's raster face is one of the screen's";
    EXPECT_TRUE(m_fonts.GetFontDesc(nRaster)->m_dwFontType & RASTER_FONTTYPE);
    EXPECT_FALSE(m_fonts.GetFontDesc(nRaster)->m_dwFontType & TRUETYPE_FONTTYPE);

    EXPECT_EQ(15, m_sizes.FillSizes(m_fonts.GetFontDesc(nTrueType)->m_strName));
    EXPECT_EQ(kStandardSizes, Sizes());
    EXPECT_EQ(kStandardSizes, (m_sizes.FillSizes("Keine solche Schrift"), Sizes())) << "an unknown face is scaled";

    // The raster face: its real sizes in points (13 and 17 pixels at the screen's resolution).
    int nLogPixelsY = m_sizes.m_nLogPixelsY;
    EXPECT_EQ(2, m_sizes.FillSizes("OX Testraster"));
    EXPECT_EQ((std::vector<int>{::MulDiv(13, 72, nLogPixelsY), ::MulDiv(17, 72, nLogPixelsY)}), Sizes());
    // each offered size gives the face at that height
    HFONT hFont = ::CreateFontA(m_sizes.GetHeight(1), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "OX Testraster");
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hdc, &tm);
    EXPECT_EQ(17, tm.tmHeight - tm.tmInternalLeading);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(NULL, hdc);
    ::DeleteObject(hFont);
    m_fonts.SelectFont("OX Testraster");
    m_sizes.SelectTwips(m_sizes.GetTwips(0));
    Shot(m_sizes, "size_combo_raster");

    ::RemoveFontResourceExA((strDir + "TestRaster10.fnt").c_str(), FR_PRIVATE, 0);
    ::RemoveFontResourceExA((strDir + "TestRaster13.fnt").c_str(), FR_PRIVATE, 0);
}

TEST_F(FontComboTest, SizesInTwips)
{
    m_fonts.FillFonts();
    m_fonts.SelectFont("Tahoma");
    m_sizes.FillSizes("Tahoma");
    const struct {
        int nTwips;
        int nIndex; // CB_ERR: not in the list, shown as text
        const char* pszText;
    } cases[] = {{240, 4, "12"}, {160, 0, "8"}, {960, 14, "48"}, {210, CB_ERR, "10,5"}, {250, CB_ERR, "12,5"}, {1000, CB_ERR, "50"}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.nIndex, m_sizes.SelectTwips(c.nTwips)) << c.nTwips;
        EXPECT_EQ(c.nIndex, m_sizes.GetCurSel()) << c.nTwips;
        CString strText;
        m_sizes.GetWindowText(strText);
        EXPECT_STREQ(c.pszText, strText) << c.nTwips;
    }
    int nTwelve = IndexOf(m_sizes, "12");
    ASSERT_GE(nTwelve, 0);
    EXPECT_EQ(240, m_sizes.GetTwips(nTwelve));
    // the height converted back as a format bar does it: height x 72 / LOGPIXELSY x -20 twips
    EXPECT_EQ(240, m_sizes.GetHeight(nTwelve) * 72 / m_sizes.m_nLogPixelsY * -20);
    EXPECT_EQ(-1, m_sizes.GetTwips(99));
    EXPECT_EQ(0, m_sizes.GetHeight(99));
    EXPECT_EQ(nTwelve, m_sizes.InsertSize(12)) << "a size the list has is not added again";
    EXPECT_EQ(15, m_sizes.GetCount());
    EXPECT_EQ(5, m_sizes.InsertSize(13)) << "kept in order";
    m_sizes.SelectTwips(240);
    Shot(m_sizes, "size_combo");
}

TEST_F(FontComboTest, EntriesGoWithTheirData)
{
    m_fonts.FillFonts();
    ASSERT_GT(m_fonts.GetCount(), 1);
    CString strFirst = m_fonts.GetFontDesc(0)->m_strName;
    m_fonts.DeleteString(0);
    EXPECT_EQ((std::vector<std::string>{(LPCTSTR)strFirst}), m_fonts.m_deleted) << "the entry's data reach DeleteItem";
    EXPECT_EQ(CB_ERR, m_fonts.FindStringExact(-1, strFirst));
}
