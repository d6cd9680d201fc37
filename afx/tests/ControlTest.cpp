// The control wrappers against the real controls: a table of each wrapper's main calls, then
// owner draw and custom draw through reflection.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "afxcmn.h"

namespace {

class ControlTest : public ::testing::Test {
protected:
    CWnd m_parent;
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "Steuerelemente", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, NULL, NULL));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        CWnd::DeleteTempMap();
    }
};

struct WrapperCase {
    const char* pszName;
    std::function<void(CWnd* pParent)> fnExercise;
};

const CRect kRect(10, 10, 200, 150);

TEST_F(ControlTest, EachWrapperDrivesItsControl)
{
    const WrapperCase cases[] = {
        {"CStatic",
         [](CWnd* p) {
             CStatic ctl;
             ASSERT_TRUE(ctl.Create("Text", WS_VISIBLE | SS_ICON, kRect, p, 1));
             HICON hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
             ctl.SetIcon(hIcon);
             EXPECT_EQ(hIcon, ctl.GetIcon());
         }},
        {"CButton",
         [](CWnd* p) {
             CButton ctl;
             ASSERT_TRUE(ctl.Create("Prüfen", WS_VISIBLE | BS_AUTO3STATE, kRect, p, 2));
             ctl.SetCheck(BST_INDETERMINATE);
             EXPECT_EQ(BST_INDETERMINATE, ctl.GetCheck());
             EXPECT_EQ((UINT)BS_AUTO3STATE, ctl.GetButtonStyle() & 0x0F);
             CString text;
             ctl.GetWindowText(text);
             EXPECT_STREQ("Prüfen", text);
         }},
        {"CEdit",
         [](CWnd* p) {
             CEdit ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | ES_MULTILINE, kRect, p, 3));
             ctl.SetWindowText("eins\r\nzwei");
             EXPECT_EQ(2, ctl.GetLineCount());
             char szLine[16] = {};
             EXPECT_EQ(4, ctl.GetLine(1, szLine, sizeof(szLine) - 1));
             EXPECT_STREQ("zwei", szLine);
             ctl.SetSel(0, 4);
             int nStart = -1, nEnd = -1;
             ctl.GetSel(nStart, nEnd);
             EXPECT_EQ(0, nStart);
             EXPECT_EQ(4, nEnd);
             ctl.ReplaceSel("drei");
             CString text;
             ctl.GetWindowText(text);
             EXPECT_STREQ("drei\r\nzwei", text);
             ctl.SetLimitText(20);
             EXPECT_EQ(20u, ctl.GetLimitText());
         }},
        {"CListBox",
         [](CWnd* p) {
             CListBox ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | LBS_SORT | LBS_HASSTRINGS | LBS_NOTIFY, kRect, p, 4));
             ctl.AddString("Zeta");
             int nAlpha = ctl.AddString("Alpha");
             EXPECT_EQ(0, nAlpha);
             int dummy = 0;
             ctl.SetItemDataPtr(nAlpha, &dummy);
             EXPECT_EQ(&dummy, ctl.GetItemDataPtr(0)) << "item data holds a pointer";
             ctl.SetCurSel(1);
             CString text;
             ctl.GetText(ctl.GetCurSel(), text);
             EXPECT_STREQ("Zeta", text);
             EXPECT_EQ(1, ctl.FindStringExact(-1, "zeta"));
             ctl.GetText(7, text);
             EXPECT_STREQ("", text) << "no item: empty text";
             EXPECT_EQ(1, ctl.DeleteString(0));
             EXPECT_EQ(1, ctl.GetCount());
         }},
        {"CComboBox",
         [](CWnd* p) {
             CComboBox ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | CBS_DROPDOWNLIST, kRect, p, 5));
             EXPECT_EQ(0, ctl.AddString("Montag"));
             EXPECT_EQ(1, ctl.AddString("Dienstag"));
             ctl.SetItemData(1, (DWORD_PTR)0x123456789ABCull);
             EXPECT_EQ((DWORD_PTR)0x123456789ABCull, ctl.GetItemData(1)) << "64-bit item data";
             EXPECT_EQ(1, ctl.SelectString(-1, "Die"));
             CString text;
             ctl.GetLBText(ctl.GetCurSel(), text);
             EXPECT_STREQ("Dienstag", text);
         }},
        {"CScrollBar",
         [](CWnd* p) {
             CScrollBar ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | SBS_HORZ, kRect, p, 6));
             ctl.SetScrollRange(0, 50);
             ctl.SetScrollPos(20);
             EXPECT_EQ(20, ctl.GetScrollPos());
         }},
        {"CProgressCtrl",
         [](CWnd* p) {
             CProgressCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE, kRect, p, 7));
             ctl.SetRange32(0, 1000);
             ctl.SetPos(250);
             ctl.SetStep(10);
             ctl.StepIt();
             EXPECT_EQ(260, ctl.GetPos());
             int nLow = -1, nHigh = -1;
             ctl.GetRange(nLow, nHigh);
             EXPECT_EQ(1000, nHigh);
         }},
        {"CSpinButtonCtrl",
         [](CWnd* p) {
             CSpinButtonCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE, kRect, p, 8));
             ctl.SetRange(-5, 100000);
             ctl.SetPos(70000);
             EXPECT_EQ(70000, ctl.GetPos()) << "32-bit positions";
             int nLow = 0, nHigh = 0;
             ctl.GetRange(nLow, nHigh);
             EXPECT_EQ(-5, nLow);
         }},
        {"CTabCtrl",
         [](CWnd* p) {
             CTabCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE, kRect, p, 9));
             EXPECT_EQ(0, ctl.InsertItem(0, "Allgemein"));
             EXPECT_EQ(1, ctl.InsertItem(1, "Aktionen"));
             ctl.SetCurSel(1);
             EXPECT_EQ(1, ctl.GetCurSel());
             EXPECT_EQ(2, ctl.GetItemCount());
         }},
        {"CToolTipCtrl",
         [](CWnd* p) {
             CToolTipCtrl ctl;
             ASSERT_TRUE(ctl.CreateEx(0, TOOLTIPS_CLASSA, NULL, WS_POPUP, 0, 0, 0, 0, p->m_hWnd, NULL));
             CRect rect(0, 0, 20, 20);
             EXPECT_TRUE(ctl.AddTool(p, "Hilfe", &rect, 11));
             EXPECT_TRUE(ctl.AddTool(p, "Ganz"));
             EXPECT_EQ(2, ctl.GetToolCount());
             ctl.DelTool(p, 11);
             EXPECT_EQ(1, ctl.GetToolCount());
             ctl.DestroyWindow();
         }},
        {"CHeaderCtrl",
         [](CWnd* p) {
             CHeaderCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE, kRect, p, 10));
             HDITEMA item = {};
             item.mask = HDI_TEXT | HDI_WIDTH;
             item.pszText = (LPSTR) "Betreff";
             item.cxy = 80;
             EXPECT_EQ(0, ctl.InsertItem(0, &item));
             EXPECT_EQ(1, ctl.GetItemCount());
         }},
        {"CListCtrl",
         [](CWnd* p) {
             CListCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | LVS_REPORT, kRect, p, 11));
             EXPECT_EQ(0, ctl.InsertColumn(0, "Name", LVCFMT_LEFT, 60));
             EXPECT_EQ(1, ctl.InsertColumn(1, "Ort", LVCFMT_LEFT, 60));
             EXPECT_EQ(0, ctl.InsertItem(0, "Anna"));
             EXPECT_TRUE(ctl.SetItemText(0, 1, "Köln"));
             EXPECT_STREQ("Köln", ctl.GetItemText(0, 1));
             std::string strLong(300, 'x');
             ctl.SetItemText(0, 0, strLong.c_str());
             EXPECT_EQ(300, ctl.GetItemText(0, 0).GetLength()) << "long texts come back whole";
             ctl.SetItemData(0, (DWORD_PTR)&strLong);
             EXPECT_EQ((DWORD_PTR)&strLong, ctl.GetItemData(0));
             ctl.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
             EXPECT_EQ(0, ctl.GetNextItem(-1, LVNI_SELECTED));
             EXPECT_EQ(1u, ctl.GetSelectedCount());
         }},
        {"CTreeCtrl",
         [](CWnd* p) {
             CTreeCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | TVS_HASLINES, kRect, p, 12));
             HTREEITEM hRoot = ctl.InsertItem("Wurzel");
             HTREEITEM hChild = ctl.InsertItem("Kind", hRoot);
             EXPECT_EQ(hRoot, ctl.GetRootItem());
             EXPECT_EQ(hChild, ctl.GetChildItem(hRoot));
             EXPECT_EQ(hRoot, ctl.GetParentItem(hChild));
             EXPECT_STREQ("Kind", ctl.GetItemText(hChild));
             ctl.SetItemData(hChild, 42);
             EXPECT_EQ(42u, ctl.GetItemData(hChild));
             EXPECT_EQ(2u, ctl.GetCount());
         }},
        {"CDateTimeCtrl",
         [](CWnd* p) {
             CDateTimeCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE, kRect, p, 13));
             SYSTEMTIME st = {2026, 12, 4, 10, 9, 30, 0, 0};
             EXPECT_TRUE(ctl.SetTime(&st));
             SYSTEMTIME back = {};
             EXPECT_EQ((DWORD)GDT_VALID, ctl.GetTime(&back));
             EXPECT_EQ(2026, back.wYear);
             EXPECT_EQ(10, back.wDay);
         }},
        {"CMonthCalCtrl",
         [](CWnd* p) {
             CMonthCalCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE, kRect, p, 14));
             SYSTEMTIME st = {2026, 3, 0, 15, 0, 0, 0, 0};
             EXPECT_TRUE(ctl.SetCurSel(&st));
             SYSTEMTIME back = {};
             EXPECT_TRUE(ctl.GetCurSel(&back));
             EXPECT_EQ(3, back.wMonth);
             EXPECT_EQ(15, back.wDay);
         }},
        {"CComboBoxEx",
         [](CWnd* p) {
             CComboBoxEx ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | CBS_DROPDOWNLIST, kRect, p, 15));
             COMBOBOXEXITEMA item = {};
             item.mask = CBEIF_TEXT;
             item.iItem = 0;
             item.pszText = (LPSTR) "Rot";
             EXPECT_EQ(0, ctl.InsertItem(&item));
             EXPECT_EQ(1, ctl.GetCount());
             EXPECT_NE(nullptr, ctl.GetComboBoxCtrl());
         }},
        {"CToolBarCtrl",
         [](CWnd* p) {
             CToolBarCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, kRect, p, 16));
             ctl.SetButtonStructSize(sizeof(TBBUTTON));
             TBBUTTON buttons[2] = {};
             buttons[0].idCommand = 100;
             buttons[0].fsState = TBSTATE_ENABLED;
             buttons[0].fsStyle = BTNS_CHECK;
             buttons[1].fsStyle = BTNS_SEP;
             EXPECT_TRUE(ctl.AddButtons(2, buttons));
             EXPECT_EQ(2, ctl.GetButtonCount());
             EXPECT_TRUE(ctl.CheckButton(100));
             EXPECT_TRUE(ctl.IsButtonChecked(100));
             EXPECT_EQ(0, ctl.CommandToIndex(100));
         }},
        {"CReBarCtrl",
         [](CWnd* p) {
             CReBarCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | CCS_NOPARENTALIGN, kRect, p, 17));
             REBARBANDINFOA band = {};
             band.cbSize = sizeof(band);
             band.fMask = RBBIM_TEXT;
             band.lpText = (LPSTR) "Band";
             EXPECT_TRUE(ctl.InsertBand(0, &band));
             EXPECT_EQ(1u, ctl.GetBandCount());
         }},
        {"CRichEditCtrl",
         [](CWnd* p) {
             CRichEditCtrl ctl;
             ASSERT_TRUE(ctl.Create(WS_VISIBLE | ES_MULTILINE, kRect, p, 18));
             ctl.SetWindowText("Hallo Welt");
             ctl.SetSel(6, 10);
             EXPECT_STREQ("Welt", ctl.GetSelText());
             ctl.ReplaceSel("Bern");
             CString text;
             ctl.GetWindowText(text);
             EXPECT_STREQ("Hallo Bern", text);
             EXPECT_EQ(10, ctl.GetTextLength());
         }},
    };
    for (const WrapperCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        c.fnExercise(&m_parent);
    }
}

// ---- owner draw and custom draw ------------------------------------------------------------------

class COwnerList : public CListBox {
public:
    std::vector<std::string> m_log;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        if (lpDIS->itemID != (UINT)-1)
            m_log.push_back("draw " + std::to_string(lpDIS->itemData));
    }
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_log.push_back("measure " + std::to_string(lpMIS->itemData));
        lpMIS->itemHeight = 20;
    }
    int CompareItem(LPCOMPAREITEMSTRUCT lpCIS) override
    {
        m_log.push_back("compare");
        return lpCIS->itemData1 < lpCIS->itemData2 ? -1 : lpCIS->itemData1 > lpCIS->itemData2 ? 1 : 0;
    }
    void DeleteItem(LPDELETEITEMSTRUCT lpDIS) override { m_log.push_back("delete " + std::to_string(lpDIS->itemData)); }
};

TEST_F(ControlTest, OwnerDrawnListBoxDrawsMeasuresComparesAndDeletesItsItems)
{
    COwnerList list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_SORT, kRect, &m_parent, 20));
    list.AddString((LPCTSTR)(UINT_PTR)7);
    list.AddString((LPCTSTR)(UINT_PTR)3);
    EXPECT_EQ(3u, list.GetItemData(0)) << "sorted by CompareItem";
    EXPECT_EQ(20, list.GetItemHeight(0)) << "height from MeasureItem";
    list.m_log.erase(std::remove(list.m_log.begin(), list.m_log.end(), "compare"), list.m_log.end());
    EXPECT_EQ((std::vector<std::string>{"measure 7", "measure 3"}), list.m_log);

    list.m_log.clear();
    list.RedrawWindow();
    EXPECT_NE(list.m_log.end(), std::find(list.m_log.begin(), list.m_log.end(), "draw 3"));
    EXPECT_NE(list.m_log.end(), std::find(list.m_log.begin(), list.m_log.end(), "draw 7"));

    list.m_log.clear();
    list.DeleteString(0);
    EXPECT_EQ((std::vector<std::string>{"delete 3"}), list.m_log);
    list.DestroyWindow();
}

class CCustomList : public CListCtrl {
public:
    std::vector<DWORD> m_stages;
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
    {
        NMLVCUSTOMDRAW* pCD = (NMLVCUSTOMDRAW*)pNMHDR;
        m_stages.push_back(pCD->nmcd.dwDrawStage);
        *pResult = pCD->nmcd.dwDrawStage == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCustomList, CListCtrl)
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

TEST_F(ControlTest, CustomDrawReachesTheControlThroughReflection)
{
    CCustomList list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_LIST, kRect, &m_parent, 21));
    list.InsertItem(0, "eins");
    list.InsertItem(1, "zwei");
    list.RedrawWindow();
    ASSERT_FALSE(list.m_stages.empty());
    EXPECT_EQ((DWORD)CDDS_PREPAINT, list.m_stages.front());
    EXPECT_EQ(2, std::count(list.m_stages.begin(), list.m_stages.end(), (DWORD)CDDS_ITEMPREPAINT))
        << "the control asked for the items' notifications";
    list.DestroyWindow();
}

} // namespace
