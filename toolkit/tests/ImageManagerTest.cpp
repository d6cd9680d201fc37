// CRC-32, bitmaps loaded in the system colours, the image manager and the command icon map.
#include <gtest/gtest.h>

#include "CTkCommandIconMap.h"
#include "CTkCrc32.h"
#include "CTkImageManager.h"
#include "TkColors.h"
#include "TkSysColorBitmap.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <afxwin.h>

#include <string.h>

namespace {

DWORD Crc(const void* p, UINT n)
{
    CTkCrc32 crc;
    crc.Update(p, n);
    return crc.GetValue();
}

bool IconAlive(HICON hIcon)
{
    ICONINFO ii;
    if (hIcon == NULL || !::GetIconInfo(hIcon, &ii))
        return false;
    ::DeleteObject(ii.hbmColor);
    ::DeleteObject(ii.hbmMask);
    return true;
}

// The colour of an opaque pixel of the icon, found by its mask (the first one in reading order).
COLORREF FirstOpaquePixel(HICON hIcon)
{
    ICONINFO ii;
    if (!::GetIconInfo(hIcon, &ii))
        return CLR_INVALID;
    BITMAP bm;
    ::GetObjectA(ii.hbmColor, sizeof(bm), &bm);
    HDC hdc = ::GetDC(NULL);
    HDC hdcColor = ::CreateCompatibleDC(hdc), hdcMask = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOldColor = ::SelectObject(hdcColor, ii.hbmColor), hOldMask = ::SelectObject(hdcMask, ii.hbmMask);
    COLORREF clr = CLR_INVALID;
    for (int y = 0; y < bm.bmHeight && clr == CLR_INVALID; y++) {
        for (int x = 0; x < bm.bmWidth; x++) {
            if (::GetPixel(hdcMask, x, y) == 0) {
                clr = ::GetPixel(hdcColor, x, y);
                break;
            }
        }
    }
    ::SelectObject(hdcColor, hOldColor);
    ::SelectObject(hdcMask, hOldMask);
    ::DeleteDC(hdcColor);
    ::DeleteDC(hdcMask);
    ::ReleaseDC(NULL, hdc);
    ::DeleteObject(ii.hbmColor);
    ::DeleteObject(ii.hbmMask);
    return clr;
}

HICON MakeIcon(COLORREF clr)
{
    HDC hdc = ::GetDC(NULL);
    HBITMAP hbmColor = ::CreateCompatibleBitmap(hdc, 16, 16);
    HBITMAP hbmMask = ::CreateBitmap(16, 16, 1, 1, NULL);
    HDC hdcMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hbmColor);
    RECT rc = {0, 0, 16, 16};
    HBRUSH hbr = ::CreateSolidBrush(clr);
    ::FillRect(hdcMem, &rc, hbr);
    ::DeleteObject(hbr);
    ::SelectObject(hdcMem, hbmMask);
    ::PatBlt(hdcMem, 0, 0, 16, 16, BLACKNESS);
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(NULL, hdc);
    ICONINFO ii = {TRUE, 0, 0, hbmMask, hbmColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hbmColor);
    ::DeleteObject(hbmMask);
    return hIcon;
}

class ImageManagerTest : public testing::Test {
protected:
    void SetUp() override { TkGetImageManager().RemoveAll(); }
    void TearDown() override { TkGetImageManager().RemoveAll(); }
    tktest::CTestApp m_app;
};

} // namespace

TEST(Crc32Test, StandardValues)
{
    EXPECT_EQ(0xCBF43926u, Crc("123456789", 9));
    EXPECT_EQ(0u, Crc("", 0));
    CTkCrc32 split;
    split.Update("12345", 5);
    split.Update("6789", 4);
    EXPECT_EQ(0xCBF43926u, split.GetValue());
}

TEST(SysColorBitmapTest, StandardGreysBecomeTheTargetColours)
{
    const COLORREF aclrTargets[4] = {RGB(0x10, 0x20, 0x30), RGB(0x40, 0x50, 0x60), RGB(0x70, 0x80, 0x90),
                                     RGB(0xA0, 0xB0, 0xC0)};
    // pixels: black, 0x808080, 0xC0C0C0, white, 0xC0C0C1, 0x123456
    const COLORREF aclrColour[6] = {aclrTargets[0], aclrTargets[1], aclrTargets[2], aclrTargets[3],
                                    RGB(0xC0, 0xC0, 0xC1), RGB(0x12, 0x34, 0x56)};
    const COLORREF aclrMono[6] = {0, RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0xC0, 0xC0, 0xC1),
                                  RGB(0x12, 0x34, 0x56)};
    HINSTANCE hInst = ::GetModuleHandleA(NULL);
    HDC hdc = ::CreateCompatibleDC(NULL);
    for (UINT nID : {IDB_SYSCOLOR4, IDB_SYSCOLOR8, IDB_SYSCOLOR24}) {
        for (BOOL bMono : {FALSE, TRUE}) {
            HRSRC hRsrc = ::FindResourceA(hInst, MAKEINTRESOURCEA(nID), (LPCSTR)RT_BITMAP);
            HBITMAP hbm = TkLoadSysColorBitmap(hInst, hRsrc, bMono, aclrTargets);
            ASSERT_NE(nullptr, hbm) << nID;
            HGDIOBJ hOld = ::SelectObject(hdc, hbm);
            for (int x = 0; x < 6; x++)
                EXPECT_EQ((bMono ? aclrMono : aclrColour)[x], ::GetPixel(hdc, x, 0))
                    << "bitmap " << nID << (bMono ? " mono" : "") << ", pixel " << x;
            ::SelectObject(hdc, hOld);
            ::DeleteObject(hbm);
        }
    }
    ::DeleteDC(hdc);
    EXPECT_EQ(nullptr, TkLoadSysColorBitmap(hInst, NULL, FALSE));
}

TEST_F(ImageManagerTest, ToolbarPicturesPerCommand)
{
    CTkImageManager& manager = TkGetImageManager();
    ASSERT_TRUE(manager.LoadToolbarImages(MAKEINTRESOURCEA(IDR_MAINFRAME), TRUE, TRUE));
    static const UINT s_anIDs[] = {ID_NEW_APPOINTMENT, ID_NEW_TASK,          ID_EDIT_ENTRY, ID_DELETE_ENTRY,
                                   ID_VIEW_DAY,        ID_VIEW_WEEK,         ID_VIEW_MONTH, ID_VIEW_APPOINTMENTS,
                                   ID_VIEW_TASKS,      ID_GOTO_TODAY,        ID_REFRESH};
    for (UINT nID : s_anIDs) {
        EXPECT_TRUE(manager.Contains(nID, TRUE)) << nID;
        EXPECT_FALSE(manager.Contains(nID, FALSE)) << nID;
        CTkIconRecord* pRecord = manager.Lookup(nID, TRUE);
        ASSERT_NE(nullptr, pRecord) << nID;
        EXPECT_TRUE(IconAlive(pRecord->hNormal)) << nID;
        EXPECT_TRUE(IconAlive(pRecord->hFaded)) << nID;
        EXPECT_TRUE(IconAlive(pRecord->hShadow)) << nID;
        EXPECT_EQ(nullptr, pRecord->hDisabled) << nID;
    }
    EXPECT_FALSE(manager.Contains(0, TRUE)) << "separators have no picture";

    // the delete command is drawn in pure red: faded 70% red + 30% white, the shadow in entry 34
    CTkIconRecord* pDelete = manager.Lookup(ID_DELETE_ENTRY, TRUE);
    EXPECT_EQ(RGB(255, 0, 0), FirstOpaquePixel(pDelete->hNormal));
    EXPECT_EQ(RGB(255, 76, 76), FirstOpaquePixel(pDelete->hFaded));
    EXPECT_EQ(TkGetSysColor(34), FirstOpaquePixel(pDelete->hShadow));

    // a second load replaces the records and destroys the first icons
    HICON hFirst = pDelete->hNormal, hFirstFaded = pDelete->hFaded;
    ASSERT_TRUE(manager.LoadToolbarImages(MAKEINTRESOURCEA(IDR_MAINFRAME), TRUE, TRUE));
    EXPECT_FALSE(IconAlive(hFirst));
    EXPECT_FALSE(IconAlive(hFirstFaded));
    EXPECT_TRUE(IconAlive(manager.Lookup(ID_DELETE_ENTRY, TRUE)->hNormal));

    // a load without bReplace gives existing records their disabled icon, once
    ASSERT_TRUE(manager.LoadToolbarImages(MAKEINTRESOURCEA(IDR_MAINFRAME), FALSE, TRUE));
    HICON hDisabled = manager.Lookup(ID_DELETE_ENTRY, TRUE)->hDisabled;
    EXPECT_TRUE(IconAlive(hDisabled));
    ASSERT_TRUE(manager.LoadToolbarImages(MAKEINTRESOURCEA(IDR_MAINFRAME), FALSE, TRUE));
    EXPECT_EQ(hDisabled, manager.Lookup(ID_DELETE_ENTRY, TRUE)->hDisabled);
}

TEST_F(ImageManagerTest, BadToolbarResources)
{
    CTkImageManager& manager = TkGetImageManager();
    EXPECT_FALSE(manager.LoadToolbarImages(MAKEINTRESOURCEA(IDR_TOOLBAR_TRUNCATED), TRUE, TRUE));
    EXPECT_FALSE(manager.Contains(ID_NEW_APPOINTMENT, TRUE));
    EXPECT_FALSE(manager.LoadToolbarImages(MAKEINTRESOURCEA(4711), TRUE, TRUE));
    EXPECT_FALSE(manager.AddToolbarImageList(NULL, NULL, TRUE));
}

TEST_F(ImageManagerTest, AddingAndLookingUpInBothMaps)
{
    CTkImageManager& manager = TkGetImageManager();
    // without bReplace an unknown id is ignored
    HICON hRed = MakeIcon(RGB(255, 0, 0)), hBlue = MakeIcon(RGB(0, 0, 255));
    EXPECT_TRUE(manager.AddIcon(100, hRed, 16, 16, FALSE, TRUE));
    EXPECT_FALSE(manager.Contains(100, TRUE));
    EXPECT_EQ(nullptr, manager.Lookup(100, TRUE));

    EXPECT_TRUE(manager.AddIcon(100, hRed, 16, 16, TRUE, TRUE));
    EXPECT_TRUE(manager.AddIcon(200, hBlue, 16, 16, TRUE, FALSE));
    // each id is found from either preference
    EXPECT_EQ(manager.Lookup(100, TRUE), manager.Lookup(100, FALSE));
    EXPECT_EQ(manager.Lookup(200, FALSE), manager.Lookup(200, TRUE));
    EXPECT_EQ(RGB(0, 0, 255), FirstOpaquePixel(manager.Lookup(200, TRUE)->hNormal));
    // with both maps holding an id the preferred one answers
    EXPECT_TRUE(manager.AddIcon(100, hBlue, 16, 16, TRUE, FALSE));
    EXPECT_EQ(RGB(255, 0, 0), FirstOpaquePixel(manager.Lookup(100, TRUE)->hNormal));
    EXPECT_EQ(RGB(0, 0, 255), FirstOpaquePixel(manager.Lookup(100, FALSE)->hNormal));
    EXPECT_EQ(nullptr, manager.Lookup(300, TRUE));
    ::DestroyIcon(hRed);
    ::DestroyIcon(hBlue);
}

TEST_F(ImageManagerTest, PicturesOfAToolbarsButtons)
{
    HWND hBar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_POPUP, 0, 0, 200, 30, NULL, NULL,
                                  ::GetModuleHandleA(NULL), NULL);
    ASSERT_NE(nullptr, hBar);
    ::SendMessageA(hBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    HIMAGELIST hList = ::ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1);
    HICON hRed = MakeIcon(RGB(255, 0, 0)), hBlue = MakeIcon(RGB(0, 0, 255));
    ::ImageList_ReplaceIcon(hList, -1, hRed);
    ::ImageList_ReplaceIcon(hList, -1, hBlue);
    TBBUTTON buttons[3] = {};
    buttons[0].iBitmap = 1;
    buttons[0].idCommand = 500;
    buttons[1].iBitmap = 0;
    buttons[1].idCommand = 0; // no command
    buttons[1].fsStyle = TBSTYLE_SEP;
    buttons[2].iBitmap = 0;
    buttons[2].idCommand = 501;
    ::SendMessageA(hBar, TB_ADDBUTTONS, 3, (LPARAM)buttons);
    CWnd* pBar = CWnd::FromHandle(hBar);

    CTkImageManager& manager = TkGetImageManager();
    EXPECT_TRUE(manager.AddToolbarImageList(pBar, hList, TRUE));
    EXPECT_EQ(RGB(0, 0, 255), FirstOpaquePixel(manager.Lookup(500, TRUE)->hNormal));
    EXPECT_EQ(RGB(255, 0, 0), FirstOpaquePixel(manager.Lookup(501, TRUE)->hNormal));
    EXPECT_FALSE(manager.Contains(0, TRUE));
    EXPECT_FALSE(manager.Contains(500, FALSE));

    ::DestroyWindow(hBar);
    ::ImageList_Destroy(hList);
    ::DestroyIcon(hRed);
    ::DestroyIcon(hBlue);
}

TEST(CommandIconMapTest, OwnsItsIconsAndMovesThemThroughAnArchive)
{
    HICON h1 = MakeIcon(RGB(1, 2, 3)), h2 = MakeIcon(RGB(4, 5, 6)), h3 = MakeIcon(RGB(7, 8, 9));
    HICON h4 = MakeIcon(RGB(10, 11, 12));
    CMemFile file;
    {
        CTkCommandIconMap map;
        map.SetAt(32775, h1, h2, NULL);
        map.SetAt(32775, h3, h2, NULL); // h1 goes, h2 is kept
        EXPECT_FALSE(IconAlive(h1));
        EXPECT_TRUE(IconAlive(h2));
        HICON hNormal, hDisabled, hHot;
        ASSERT_TRUE(map.Lookup(32775, &hNormal, &hDisabled, &hHot));
        EXPECT_EQ(h3, hNormal);
        EXPECT_EQ(h2, hDisabled);
        EXPECT_EQ(nullptr, hHot);
        EXPECT_FALSE(map.Lookup(1, &hNormal, &hDisabled, &hHot));

        CArchive ar(&file, CArchive::store);
        map.Serialize(ar);
        ar.Close();
        // count (2 bytes), id (4 bytes) and three handles
        EXPECT_EQ(2u + 4u + 3u * sizeof(HICON), (UINT)file.GetLength());
        // the icons move to another map: this one lets go of them
        map.m_map.RemoveAll();
    }
    EXPECT_TRUE(IconAlive(h3));
    file.SeekToBegin();
    {
        CTkCommandIconMap other;
        other.SetAt(32775, h4, NULL, NULL);
        CArchive ar(&file, CArchive::load);
        other.Serialize(ar);
        EXPECT_FALSE(IconAlive(h4)) << "replaced by the loaded entry";
        HICON hNormal = NULL, hDisabled = NULL;
        ASSERT_TRUE(other.Lookup(32775, &hNormal, &hDisabled, NULL));
        EXPECT_EQ(h3, hNormal);
        EXPECT_EQ(h2, hDisabled);
    }
    EXPECT_FALSE(IconAlive(h3));
    EXPECT_FALSE(IconAlive(h2));
}
