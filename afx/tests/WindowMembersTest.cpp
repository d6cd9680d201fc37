// Members of the window layer against the real windows and controls: menu radio items and item
// bitmaps, the shared system data, run-time downcasts, the tab control's tooltips and rows, the
// rich edit control's formats and streams, the colour dialog, dialog creation handing on the
// OLE controls of the template, and the list-box string exchange.
#include <afxwin.h>
#include <afxcmn.h>
#include <afxdlgs.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxTestResource.h"

namespace {

MENUITEMINFOA ItemInfo(HMENU hMenu, UINT nPos)
{
    MENUITEMINFOA mii;
    memset(&mii, 0, sizeof(mii));
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE | MIIM_CHECKMARKS;
    EXPECT_TRUE(::GetMenuItemInfoA(hMenu, nPos, TRUE, &mii));
    return mii;
}

} // namespace

TEST(MenuItems, RadioItemsShowTheDotAndCanBeToldFromCheckedItems)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 101, "&Tag");
    menu.AppendMenu(MF_STRING, 102, "&Woche");
    menu.AppendMenu(MF_STRING, 103, "&Fett");
    ASSERT_NE((HBITMAP)NULL, afxData.hbmMenuDot);

    CCmdUI state;
    state.m_pMenu = &menu;
    state.m_nIndexMax = 3;
    state.m_nIndex = 0;
    state.SetRadio(TRUE);
    state.m_nIndex = 1;
    state.SetRadio(FALSE);
    state.m_nIndex = 2;
    state.SetCheck(1);

    MENUITEMINFOA on = ItemInfo(menu.m_hMenu, 0), off = ItemInfo(menu.m_hMenu, 1), check = ItemInfo(menu.m_hMenu, 2);
    EXPECT_TRUE(on.fState & MFS_CHECKED);
    EXPECT_EQ(afxData.hbmMenuDot, on.hbmpChecked) << "an owner-drawn menu recognises the radio item by its bitmap";
    EXPECT_FALSE(off.fState & MFS_CHECKED);
    EXPECT_EQ(afxData.hbmMenuDot, off.hbmpChecked);
    EXPECT_TRUE(check.fState & MFS_CHECKED);
    EXPECT_EQ((HBITMAP)NULL, check.hbmpChecked) << "a checked item keeps the system's check mark";

    // The dot: the check-mark size, black in the middle, white in the corners.
    BITMAP bm;
    ASSERT_NE(0, ::GetObjectA(afxData.hbmMenuDot, sizeof(bm), &bm));
    EXPECT_EQ(::GetSystemMetrics(SM_CXMENUCHECK), bm.bmWidth);
    EXPECT_EQ(::GetSystemMetrics(SM_CYMENUCHECK), bm.bmHeight);
    EXPECT_EQ(1, bm.bmBitsPixel);
    HDC hdc = ::CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, afxData.hbmMenuDot);
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(hdc, bm.bmWidth / 2, bm.bmHeight / 2));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(hdc, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(hdc, bm.bmWidth - 1, bm.bmHeight - 1));
    ::SelectObject(hdc, hOld);
    ::DeleteDC(hdc);

    // Bitmaps of the program's own, and back to the system's marks.
    CBitmap bmpOff, bmpOn;
    ASSERT_TRUE(bmpOff.CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, NULL));
    ASSERT_TRUE(bmpOn.CreateBitmap(bm.bmWidth, bm.bmHeight, 1, 1, NULL));
    EXPECT_TRUE(menu.SetMenuItemBitmaps(103, MF_BYCOMMAND, &bmpOff, &bmpOn));
    MENUITEMINFOA own = ItemInfo(menu.m_hMenu, 2);
    EXPECT_EQ((HBITMAP)bmpOff.m_hObject, own.hbmpUnchecked);
    EXPECT_EQ((HBITMAP)bmpOn.m_hObject, own.hbmpChecked);
    EXPECT_TRUE(menu.SetMenuItemBitmaps(2, MF_BYPOSITION, NULL, NULL));
    MENUITEMINFOA plain = ItemInfo(menu.m_hMenu, 2);
    EXPECT_EQ((HBITMAP)NULL, plain.hbmpUnchecked);
    EXPECT_EQ((HBITMAP)NULL, plain.hbmpChecked);
    EXPECT_FALSE(menu.SetMenuItemBitmaps(999, MF_BYCOMMAND, NULL, NULL)) << "no such item";
}

TEST(SystemData, MetricsColoursAndBrushesAreTheSystems)
{
    EXPECT_EQ(2 * ::GetSystemMetrics(SM_CXBORDER), afxData.cxBorder2);
    EXPECT_EQ(2 * ::GetSystemMetrics(SM_CYBORDER), afxData.cyBorder2);
    afxData.UpdateSysColors();
    const struct {
        COLORREF clr;
        int nIndex;
    } colours[] = {{afxData.clrBtnFace, COLOR_BTNFACE},       {afxData.clrBtnShadow, COLOR_BTNSHADOW},
                   {afxData.clrBtnHilite, COLOR_BTNHIGHLIGHT}, {afxData.clrBtnText, COLOR_BTNTEXT},
                   {afxData.clrWindowFrame, COLOR_WINDOWFRAME}};
    for (const auto& c : colours)
        EXPECT_EQ(::GetSysColor(c.nIndex), c.clr) << "colour " << c.nIndex;
    LOGBRUSH lb;
    ASSERT_NE(0, ::GetObjectA(afxData.hbrBtnFace, sizeof(lb), &lb));
    EXPECT_EQ(afxData.clrBtnFace, lb.lbColor);
    ASSERT_NE(0, ::GetObjectA(afxData.hbrWindowFrame, sizeof(lb), &lb));
    EXPECT_EQ(afxData.clrWindowFrame, lb.lbColor);

    // The metrics read again keep the menu dot that menus may show (its size did not change).
    HBITMAP hbmDot = afxData.hbmMenuDot;
    afxData.UpdateSysMetrics();
    EXPECT_EQ(hbmDot, afxData.hbmMenuDot);
}

TEST(RunTimeClass, DowncastsAnswerTheObjectOnlyForItsClassTree)
{
    CDialog dlg;
    CEdit edit;
    CObject* pDialog = &dlg;
    CObject* pEdit = &edit;
    EXPECT_EQ(&dlg, DYNAMIC_DOWNCAST(CDialog, pDialog));
    EXPECT_EQ(static_cast<CWnd*>(&dlg), DYNAMIC_DOWNCAST(CWnd, pDialog)) << "a base class";
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CDialog, pEdit));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CFrameWnd, pDialog));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CDialog, (CObject*)NULL));
    EXPECT_EQ(&edit, STATIC_DOWNCAST(CEdit, pEdit));
    EXPECT_EQ(nullptr, STATIC_DOWNCAST(CEdit, (CObject*)NULL));
}

// A dialog's help id starts as the number of its template (none for a named one); SetHelpID
// replaces it.
TEST(DialogHelp, TheHelpIdIsTheTemplateNumberUntilSetHelpIdReplacesIt)
{
    CDialog byNumber(153u);
    EXPECT_EQ(153u, byNumber.m_nIDHelp);
    byNumber.SetHelpID(4711);
    EXPECT_EQ(4711u, byNumber.m_nIDHelp);
    CDialog byName("ANY_DIALOG");
    EXPECT_EQ(0u, byName.m_nIDHelp);
    byName.SetHelpID(153);
    EXPECT_EQ(153u, byName.m_nIDHelp);
}

namespace {

class WindowMembersTest : public ::testing::Test {
protected:
    CWnd m_parent;
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "Mitglieder", WS_POPUP | WS_VISIBLE, 0, 0, 500, 400, NULL, NULL));
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        CWnd::DeleteTempMap();
    }
};

} // namespace

TEST_F(WindowMembersTest, DrawingOnTheScreenIsNoPrinting)
{
    CClientDC dc(&m_parent);
    EXPECT_FALSE(dc.IsPrinting());
    CDC dcPrinter;
    dcPrinter.m_bPrinting = TRUE; // as the print loop marks its context
    EXPECT_TRUE(dcPrinter.IsPrinting());
}

TEST_F(WindowMembersTest, TabControlRowsImageListAndTooltips)
{
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE | TCS_MULTILINE | TCS_TOOLTIPS, CRect(10, 10, 170, 200), &m_parent, 1));
    const char* names[] = {"Termine", "Aufgaben", "Adressen", "Notizen", "Kalender", "Ressourcen"};
    for (int i = 0; i < 6; i++)
        tab.InsertItem(i, names[i]);
    EXPECT_GT(tab.GetRowCount(), 1) << "six tabs do not fit into one row of 160 pixels";

    CToolTipCtrl* pTips = tab.GetToolTips();
    ASSERT_NE(nullptr, pTips) << "TCS_TOOLTIPS makes the control's own tooltip control";
    char szClass[64];
    ::GetClassNameA(pTips->m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ(TOOLTIPS_CLASSA, szClass);
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&m_parent));
    tab.SetToolTips(&tips);
    EXPECT_EQ(tips.m_hWnd, tab.GetToolTips()->GetSafeHwnd());

    EXPECT_EQ(nullptr, tab.GetImageList());
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    tab.SetImageList(&images);
    ASSERT_NE(nullptr, tab.GetImageList());
    EXPECT_EQ(images.m_hImageList, tab.GetImageList()->m_hImageList);
    tab.SetImageList(NULL);
    tips.DestroyWindow();
}

namespace {

DWORD CALLBACK CollectStream(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    ((std::string*)dwCookie)->append((const char*)pbBuff, (size_t)cb);
    *pcb = cb;
    return 0;
}

DWORD CALLBACK HandOutStream(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb)
{
    std::string* pText = (std::string*)dwCookie;
    LONG n = (LONG)pText->size() < cb ? (LONG)pText->size() : cb;
    memcpy(pbBuff, pText->data(), (size_t)n);
    pText->erase(0, (size_t)n);
    *pcb = n;
    return 0;
}

} // namespace

TEST_F(WindowMembersTest, RichEditFormatsSelectionAndStreams)
{
    CRichEditCtrl edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(10, 10, 300, 150), &m_parent, 1));
    edit.LimitText(50000);
    EXPECT_EQ(50000, edit.GetLimitText());
    edit.SetEventMask(ENM_LINK | ENM_SELCHANGE);
    EXPECT_EQ((DWORD)(ENM_LINK | ENM_SELCHANGE), edit.GetEventMask());
    edit.SetOptions(ECOOP_OR, ECO_SAVESEL);
    EXPECT_TRUE(edit.GetOptions() & ECO_SAVESEL);

    // a plain default format (the control starts with the system's font, which may be bold)
    CHARFORMATA cfDefault;
    memset(&cfDefault, 0, sizeof(cfDefault));
    cfDefault.dwMask = CFM_BOLD | CFM_FACE | CFM_SIZE;
    cfDefault.yHeight = 200;
    lstrcpynA(cfDefault.szFaceName, "Tahoma", LF_FACESIZE);
    EXPECT_TRUE(edit.SetDefaultCharFormat(cfDefault));
    memset(&cfDefault, 0, sizeof(cfDefault));
    edit.GetDefaultCharFormat(cfDefault);
    EXPECT_FALSE(cfDefault.dwEffects & CFE_BOLD);
    EXPECT_EQ(200, cfDefault.yHeight);
    EXPECT_STREQ("Tahoma", cfDefault.szFaceName);

    edit.SetWindowText("Hallo Welt");
    edit.SetSel(0, 5);
    EXPECT_STREQ("Hallo", edit.GetSelText());
    CHARFORMATA cf;
    memset(&cf, 0, sizeof(cf));
    cf.dwMask = CFM_BOLD | CFM_SIZE;
    cf.dwEffects = CFE_BOLD;
    cf.yHeight = 240; // 12 points
    EXPECT_TRUE(edit.SetSelectionCharFormat(cf));
    PARAFORMAT pf;
    memset(&pf, 0, sizeof(pf));
    pf.dwMask = PFM_ALIGNMENT;
    pf.wAlignment = PFA_CENTER;
    EXPECT_TRUE(edit.SetParaFormat(pf));

    edit.SetSel(6, 10);
    EXPECT_STREQ("Welt", edit.GetSelText());
    memset(&cf, 0, sizeof(cf));
    DWORD dwMask = edit.GetSelectionCharFormat(cf);
    EXPECT_TRUE(dwMask & CFM_BOLD);
    EXPECT_FALSE(cf.dwEffects & CFE_BOLD);
    edit.SetSel(0, 10);
    memset(&cf, 0, sizeof(cf));
    dwMask = edit.GetSelectionCharFormat(cf);
    EXPECT_FALSE(dwMask & CFM_BOLD) << "the selection is partly bold";
    memset(&pf, 0, sizeof(pf));
    edit.GetParaFormat(pf);
    EXPECT_EQ(PFA_CENTER, pf.wAlignment);
    EXPECT_STREQ("Welt", edit.GetTextRange(6, -1));
    EXPECT_STREQ("", edit.GetTextRange(8, 3));

    // Out as RTF, into a second control: text and formats arrive.
    std::string strRtf;
    EDITSTREAM es = {(DWORD_PTR)&strRtf, 0, &CollectStream};
    EXPECT_GT(edit.StreamOut(SF_RTF, es), 0);
    ASSERT_EQ(0u, strRtf.find("{\\rtf")) << strRtf;
    CRichEditCtrl copy;
    ASSERT_TRUE(copy.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(10, 160, 300, 300), &m_parent, 2));
    std::string strIn = strRtf;
    EDITSTREAM esIn = {(DWORD_PTR)&strIn, 0, &HandOutStream};
    EXPECT_EQ(10, copy.StreamIn(SF_RTF, esIn));
    EXPECT_STREQ("Hallo Welt", copy.GetTextRange(0, -1));
    copy.SetSel(1, 3);
    memset(&cf, 0, sizeof(cf));
    copy.GetSelectionCharFormat(cf);
    EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
    EXPECT_EQ(240, cf.yHeight);
    memset(&pf, 0, sizeof(pf));
    copy.GetParaFormat(pf);
    EXPECT_EQ(PFA_CENTER, pf.wAlignment);
}

namespace {

HWND g_hWndColourOwner = NULL;

UINT_PTR CALLBACK AcceptColour(HWND hDlg, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        g_hWndColourOwner = ::GetWindow(hDlg, GW_OWNER);
        ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
    }
    return 0;
}

} // namespace

TEST_F(WindowMembersTest, ColourDialogStartsOnItsColourAndKeepsTheCustomColours)
{
    COLORREF* pCustom = CColorDialog::GetSavedCustomColors();
    ASSERT_NE(nullptr, pCustom);
    pCustom[3] = RGB(1, 2, 3);
    CColorDialog dlg(RGB(200, 30, 40), CC_FULLOPEN, &m_parent);
    EXPECT_EQ(pCustom, dlg.m_cc.lpCustColors);
    EXPECT_TRUE(dlg.m_cc.Flags & CC_RGBINIT);
    dlg.m_cc.Flags |= CC_ENABLEHOOK;
    dlg.m_cc.lpfnHook = &AcceptColour;
    g_hWndColourOwner = NULL;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(m_parent.m_hWnd, g_hWndColourOwner);
    EXPECT_EQ(RGB(200, 30, 40), dlg.GetColor());
    EXPECT_EQ(RGB(1, 2, 3), CColorDialog::GetSavedCustomColors()[3]);

    CColorDialog dlgBlack; // black is no start colour of its own
    EXPECT_FALSE(dlgBlack.m_cc.Flags & CC_RGBINIT);
    dlgBlack.SetCurrentColor(RGB(0, 0, 0));
    EXPECT_TRUE(dlgBlack.m_cc.Flags & CC_RGBINIT);
}

namespace {

// A dialog that records when it is handed the OLE controls of its template.
class COccRecordingDialog : public CDialog {
public:
    COccRecordingDialog() : CDialog(IDD_TEST_DATA) {}
    std::vector<std::string> m_log;
    BOOL SetOccDialogInfo(_AFX_OCC_DIALOG_INFO* pOccDialogInfo) override
    {
        m_log.push_back(std::string("occ ") + (m_hWnd == NULL ? "before" : "after") + (pOccDialogInfo == NULL ? " none" : " some"));
        return CDialog::SetOccDialogInfo(pOccDialogInfo);
    }
    BOOL OnInitDialog() override
    {
        m_log.push_back("init");
        return CDialog::OnInitDialog();
    }
};

} // namespace

TEST_F(WindowMembersTest, DialogCreationHandsTheTemplatesControlsThroughTheVirtual)
{
    COccRecordingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_DATA, &m_parent));
    EXPECT_EQ((std::vector<std::string>{"occ before none", "init", "occ after none"}), dlg.m_log);
    dlg.DestroyWindow();
}

TEST_F(WindowMembersTest, ListBoxStringExchangeSelectsByPrefixOrNothing)
{
    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS | LBS_NOTIFY, CRect(10, 10, 200, 200), &m_parent, IDC_TEST_LIST));
    for (const char* psz : {"Anna", "Bernd", "Berta", "Zoe"})
        list.AddString(psz);
    const struct {
        const char* pszValue;
        int nSelected;
    } cases[] = {
        {"Bernd", 1}, {"ber", 1}, {"BERT", 2}, {"zoe", 3},
        {"Carla", -1}, // no entry begins with it: the earlier selection goes
        {"Anna", 0},   {"Annabell", -1},
    };
    for (const auto& c : cases) {
        CString value = c.pszValue;
        CDataExchange dxIn(&m_parent, FALSE);
        DDX_LBString(&dxIn, IDC_TEST_LIST, value);
        EXPECT_EQ(c.nSelected, list.GetCurSel()) << c.pszValue;
        CString back = "alt";
        CDataExchange dxOut(&m_parent, TRUE);
        DDX_LBString(&dxOut, IDC_TEST_LIST, back);
        CString expected;
        if (c.nSelected >= 0)
            list.GetText(c.nSelected, expected);
        EXPECT_STREQ(expected, back) << c.pszValue;
    }
}

namespace {

const UINT kCustomNotify = 0x0077;

// A control of a registered class of its own: on WM_APP it tells its parent (WM_COMMAND with its
// own notification code).
LRESULT CALLBACK CustomControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        ::SendMessageA(::GetParent(hWnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hWnd), kCustomNotify), (LPARAM)hWnd);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void RegisterTestClasses()
{
    WNDCLASSA wc;
    memset(&wc, 0, sizeof(wc));
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.hCursor = ::LoadCursorA(NULL, IDC_ARROW);
    if (!::GetClassInfoA(wc.hInstance, "OxTestCustomControl", &wc)) {
        wc.lpfnWndProc = &CustomControlProc;
        wc.lpszClassName = "OxTestCustomControl";
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        ASSERT_NE(0, ::RegisterClassA(&wc));
    }
    // a dialog class: the dialog manager's procedure and its extra bytes
    WNDCLASSA wcDlg;
    if (!::GetClassInfoA(wc.hInstance, "OxTestDialogClass", &wcDlg)) {
        ASSERT_TRUE(::GetClassInfoA(NULL, MAKEINTRESOURCEA(0x8002), &wcDlg));
        wcDlg.hInstance = wc.hInstance;
        wcDlg.lpszClassName = "OxTestDialogClass";
        ASSERT_NE(0, ::RegisterClassA(&wcDlg));
    }
}

class CClassDialog : public CDialog {
public:
    CClassDialog() : CDialog(IDD_TEST_CLASS_DIALOG) {}
    std::vector<std::string> m_log;
    afx_msg void OnCustom() { m_log.push_back("custom " + std::to_string(GetCurrentMessage()->message)); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CClassDialog, CDialog)
ON_CONTROL(kCustomNotify, IDC_TEST_CUSTOM, OnCustom)
END_MESSAGE_MAP()

} // namespace

TEST_F(WindowMembersTest, DialogOfARegisteredClassRoutesItsCustomControlsNotifications)
{
    RegisterTestClasses();
    CClassDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_CLASS_DIALOG, &m_parent));
    char szClass[64];
    ::GetClassNameA(dlg.m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ("OxTestDialogClass", szClass);
    CWnd* pCustom = dlg.GetDlgItem(IDC_TEST_CUSTOM);
    ASSERT_NE(nullptr, pCustom);
    ::GetClassNameA(pCustom->m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ("OxTestCustomControl", szClass);
    pCustom->SendMessage(WM_APP);
    EXPECT_EQ((std::vector<std::string>{"custom " + std::to_string(WM_COMMAND)}), dlg.m_log);
    dlg.DestroyWindow();
}

namespace {

// A window that looks at the thread's state while its popup menu is tracked, then ends the menu.
class CMenuOwnerWnd : public CWnd {
public:
    HMENU m_hMenuSeen = NULL;
    HWND m_hWndSeen = NULL;
    UINT m_nMessageSeen = 0;
    WPARAM m_wParamSeen = 0;
    UINT m_nPostedSeen = 0;
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL)
    {
        _AFX_THREAD_STATE* pState = AfxGetThreadState();
        m_hMenuSeen = pState->m_hTrackingMenu;
        m_hWndSeen = pState->m_hTrackingWindow;
        m_nMessageSeen = pState->m_lastSentMsg.message;
        m_wParamSeen = pState->m_lastSentMsg.wParam;
        EXPECT_EQ((WPARAM)pPopupMenu->m_hMenu, m_wParamSeen);
        PostMessage(WM_APP);
    }
    afx_msg LRESULT OnEndTracking(WPARAM, LPARAM)
    {
        // (dispatched by the menu's own loop)
        m_nPostedSeen = GetCurrentMessage()->message;
        ::EndMenu();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuOwnerWnd, CWnd)
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_APP, OnEndTracking)
END_MESSAGE_MAP()

} // namespace

TEST(MenuTracking, TheTrackedMenuAndTheMessageAreSeenFromInsideTheLoop)
{
    CMenuOwnerWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "Menü", WS_POPUP | WS_VISIBLE, 50, 50, 200, 150, NULL, NULL));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 201, "&Öffnen");
    menu.AppendMenu(MF_STRING, 202, "&Schließen");
    wnd.SetForegroundWindow();
    // should the menu not come to the handlers, it is ended after a while (the test fails then)
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); });
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 60, 60, &wnd);
    ::KillTimer(NULL, nTimer);
    EXPECT_EQ(menu.m_hMenu, wnd.m_hMenuSeen);
    EXPECT_EQ(wnd.m_hWnd, wnd.m_hWndSeen);
    EXPECT_EQ((UINT)WM_INITMENUPOPUP, wnd.m_nMessageSeen);
    EXPECT_EQ((UINT)WM_APP, wnd.m_nPostedSeen);
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_hTrackingMenu) << "the tracking ended";
    wnd.DestroyWindow();
}
