// Painting with the toolkit's helpers: the memory device context, embossed images and the dither,
// and a window that shows the 53 colours of the colour table and a command picture in each of its
// variants (screenshot build/shots/toolkit-foundation/colors-and-icons.png, for people to look at).
#include <gtest/gtest.h>

#include "CTkGlobalData.h"
#include "CTkImageManager.h"
#include "CTkMemDC.h"
#include "TkDCSavers.h"
#include "TkDrawing.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <stdio.h>

namespace {

// A memory bitmap of cx x cy as a drawing target, filled white.
struct CTargetDC {
    CTargetDC(int cx, int cy)
    {
        HDC hdcScreen = ::GetDC(NULL);
        m_dc.Attach(::CreateCompatibleDC(hdcScreen));
        m_hbm = ::CreateCompatibleBitmap(hdcScreen, cx, cy);
        ::ReleaseDC(NULL, hdcScreen);
        m_hOld = ::SelectObject(m_dc.m_hDC, m_hbm);
        ::PatBlt(m_dc.m_hDC, 0, 0, cx, cy, WHITENESS);
    }
    ~CTargetDC()
    {
        ::SelectObject(m_dc.m_hDC, m_hOld);
        ::DeleteObject(m_hbm);
        ::DeleteDC(m_dc.Detach());
    }
    CDC m_dc;
    HBITMAP m_hbm;
    HGDIOBJ m_hOld;
};

const char* const s_pszVariants[] = {"normal", "verblasst", "Schatten", "deaktiviert", "gepr\xE4gt"};

class CFoundationWnd : public CWnd {
public:
    CImageList m_images;

    afx_msg void OnPaint()
    {
        CPaintDC dcPaint(this);
        CRect rcClient;
        GetClientRect(&rcClient);
        CTkMemDC dc(&dcPaint, rcClient, tkAfxData.clr3DFace);
        CTkDCFontSaver font(&dc, &tkAfxData.fontMenu);
        CTkDCBkModeSaver mode(&dc, TRANSPARENT);

        // the colour table, 9 entries a row
        dc.TextOut(8, 6, "Farbtabelle des Toolkits (Eintr\xE4ge 0 bis 52)");
        for (int i = 0; i < TK_COLOR_COUNT; i++) {
            CRect rc(8 + (i % 9) * 62, 28 + (i / 9) * 40, 8 + (i % 9) * 62 + 56, 28 + (i / 9) * 40 + 34);
            dc.FillSolidRect(rc.left, rc.top, rc.Width(), 20, TkGetSysColor(i));
            dc.Draw3dRect(rc.left, rc.top, rc.Width(), 20, tkAfxData.clr3DShadow, tkAfxData.clr3DShadow);
            char szLabel[32];
            sprintf(szLabel, "%d", i);
            dc.TextOut(rc.left, rc.top + 20, szLabel);
        }

        // one command picture in its variants
        int y = 28 + 6 * 40 + 8;
        dc.TextOut(8, y, "Befehlssymbol \"Neuer Termin\" (32775)");
        CTkIconRecord* pRecord = TkGetImageManager().Lookup(ID_NEW_APPOINTMENT, TRUE);
        y += 22;
        for (int k = 0; k < 5; k++) {
            int x = 8 + k * 100;
            if (pRecord != NULL) {
                if (k == 0)
                    ::DrawIconEx(dc.m_hDC, x + 30, y, pRecord->hNormal, 0, 0, 0, NULL, DI_NORMAL);
                else if (k == 1)
                    ::DrawIconEx(dc.m_hDC, x + 30, y, pRecord->hFaded, 0, 0, 0, NULL, DI_NORMAL);
                else if (k == 2)
                    ::DrawIconEx(dc.m_hDC, x + 30, y, pRecord->hShadow, 0, 0, 0, NULL, DI_NORMAL);
                else if (k == 3)
                    ::DrawStateA(dc.m_hDC, NULL, NULL, (LPARAM)pRecord->hNormal, 0, x + 30, y, 0, 0,
                                 DST_ICON | DSS_DISABLED);
            }
            if (k == 4)
                TkDrawEmbossed(&dc, &m_images, 0, CPoint(x + 30, y), TRUE);
            dc.TextOut(x + 8, y + 24, s_pszVariants[k]);
        }

        // the checked-button dither and the vertical menu font
        y += 50;
        TkFillDitherRect(&dc, CRect(8, y, 120, y + 24));
        dc.TextOut(130, y + 4, "Hintergrund gedrückter Schaltflächen");
        CTkDCFontSaver vert(&dc, &tkAfxData.fontVert);
        dc.TextOut(rcClient.right - 20, rcClient.bottom - 10, "Senkrecht \xFC\xE4\xF6");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFoundationWnd, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

} // namespace

TEST(MemDCTest, DrawsIntoItsRectangleOnly)
{
    CTargetDC target(40, 40);
    {
        CTkMemDC dc(&target.m_dc, CRect(10, 10, 20, 20), RGB(255, 0, 0));
        ASSERT_TRUE(dc.IsValid());
        EXPECT_EQ(CRect(10, 10, 20, 20), dc.m_rect);
        // (0,0) of the memory DC is the rectangle's corner
        dc.SetPixel(0, 0, RGB(0, 0, 255));
        EXPECT_EQ(RGB(255, 255, 255), target.m_dc.GetPixel(15, 15)) << "nothing copied before the end";
    }
    EXPECT_EQ(RGB(0, 0, 255), target.m_dc.GetPixel(10, 10));
    EXPECT_EQ(RGB(255, 0, 0), target.m_dc.GetPixel(19, 19));
    EXPECT_EQ(RGB(255, 255, 255), target.m_dc.GetPixel(9, 9));
    EXPECT_EQ(RGB(255, 255, 255), target.m_dc.GetPixel(20, 20));
    {
        // an empty rectangle stands for the clip box
        CRgn rgn;
        rgn.CreateRectRgn(5, 6, 30, 31);
        target.m_dc.SelectClipRgn(&rgn);
        CTkMemDC dc(&target.m_dc, CRect(0, 0, 0, 0), RGB(0, 255, 0));
        EXPECT_EQ(CRect(5, 6, 30, 31), dc.m_rect);
    }
    EXPECT_EQ(RGB(0, 255, 0), target.m_dc.GetPixel(5, 6));
    EXPECT_EQ(RGB(0, 255, 0), target.m_dc.GetPixel(29, 30));
}

TEST(DrawingTest, EmbossedImageAndDither)
{
    CTargetDC target(40, 40);
    CImageList list;
    ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24 | ILC_MASK, 1, 1));
    // a 4 x 4 image: the left half opaque red, the right half transparent
    HDC hdcScreen = ::GetDC(NULL);
    CBitmap bitmap;
    bitmap.Attach(::CreateCompatibleBitmap(hdcScreen, 4, 4));
    ::ReleaseDC(NULL, hdcScreen);
    {
        CDC dc;
        dc.Attach(::CreateCompatibleDC(NULL));
        CBitmap* pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 4, 4, RGB(0xC0, 0xC0, 0xC0));
        dc.FillSolidRect(0, 0, 2, 4, RGB(255, 0, 0));
        dc.SelectObject(pOld);
        ::DeleteDC(dc.Detach());
    }
    list.Add(&bitmap, RGB(0xC0, 0xC0, 0xC0));
    TkDrawEmbossed(&target.m_dc, &list, 0, CPoint(10, 10), TRUE);
    EXPECT_EQ(tkAfxData.clr3DShadow, target.m_dc.GetPixel(10, 10));
    EXPECT_EQ(tkAfxData.clr3DShadow, target.m_dc.GetPixel(11, 13));
    EXPECT_EQ(tkAfxData.clr3DHilight, target.m_dc.GetPixel(12, 11)) << "the highlight one pixel right and down";
    EXPECT_EQ(RGB(255, 255, 255), target.m_dc.GetPixel(13, 10)) << "transparent part";

    TkFillDitherRect(&target.m_dc, CRect(0, 30, 8, 32));
    COLORREF clrA = target.m_dc.GetPixel(0, 30), clrB = target.m_dc.GetPixel(1, 30);
    EXPECT_NE(clrA, clrB);
    EXPECT_TRUE((clrA == tkAfxData.clr3DFace && clrB == tkAfxData.clr3DHilight) ||
                (clrB == tkAfxData.clr3DFace && clrA == tkAfxData.clr3DHilight));
    EXPECT_EQ(clrA, target.m_dc.GetPixel(1, 31)) << "the next row is shifted";
}

TEST(FoundationShotTest, ColourTableAndCommandPicture)
{
    tktest::CTestApp app;
    CTkImageManager& manager = TkGetImageManager();
    ASSERT_TRUE(manager.LoadToolbarImages(MAKEINTRESOURCEA(IDR_MAINFRAME), TRUE, TRUE));
    ASSERT_NE(nullptr, manager.Lookup(ID_NEW_APPOINTMENT, TRUE));

    CFoundationWnd wnd;
    ASSERT_TRUE(wnd.m_images.Create(IDR_MAINFRAME, 16, 1, RGB(0xC0, 0xC0, 0xC0)));
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, IDC_ARROW)),
                             "Toolkit: Farben und Symbole", WS_POPUP | WS_CAPTION | WS_VISIBLE, 40, 40, 590, 440,
                             NULL, NULL));
    tktest::RunToIdle();
    std::string strPath = tktest::SaveWindowShot(wnd.m_hWnd, "colors-and-icons");
    EXPECT_FALSE(strPath.empty());

    // the window shows the table's colours where the swatches are
    CClientDC dc(&wnd);
    EXPECT_EQ(TkGetSysColor(30), dc.GetPixel(8 + 3 * 62 + 10, 28 + 3 * 40 + 10)) << "entry 30";
    EXPECT_EQ(TkGetSysColor(52), dc.GetPixel(8 + 7 * 62 + 10, 28 + 5 * 40 + 10)) << "entry 52";
    wnd.DestroyWindow();
    manager.RemoveAll();
}

TEST(DrawingTest, DeviceContextSaversRestoreTheirSetting)
{
    CTargetDC target(4, 4);
    CDC& dc = target.m_dc;
    CFont font;
    font.CreatePointFont(90, "Tahoma");
    dc.SetTextColor(RGB(1, 2, 3));
    dc.SetBkColor(RGB(4, 5, 6));
    dc.SetBkMode(OPAQUE);
    HGDIOBJ hFontBefore = ::GetCurrentObject(dc.m_hDC, OBJ_FONT);
    {
        CTkDCTextColorSaver text(&dc, RGB(10, 20, 30));
        CTkDCBkColorSaver bk(&dc, RGB(40, 50, 60));
        CTkDCBkModeSaver mode(&dc, TRANSPARENT);
        CTkDCFontSaver fontSaver(&dc, &font);
        EXPECT_EQ(RGB(10, 20, 30), dc.GetTextColor());
        EXPECT_EQ(RGB(40, 50, 60), dc.GetBkColor());
        EXPECT_EQ(TRANSPARENT, dc.GetBkMode());
        EXPECT_EQ((HGDIOBJ)font.m_hObject, ::GetCurrentObject(dc.m_hDC, OBJ_FONT));
        {
            // a saver without a value gives back the colour found at its start
            CTkDCTextColorSaver keep(&dc);
            dc.SetTextColor(RGB(99, 99, 99));
        }
        EXPECT_EQ(RGB(10, 20, 30), dc.GetTextColor());
    }
    EXPECT_EQ(RGB(1, 2, 3), dc.GetTextColor());
    EXPECT_EQ(RGB(4, 5, 6), dc.GetBkColor());
    EXPECT_EQ(OPAQUE, dc.GetBkMode());
    EXPECT_EQ(hFontBefore, ::GetCurrentObject(dc.m_hDC, OBJ_FONT));
}
