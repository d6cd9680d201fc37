// The toolkit's base controls: where the button puts its image and text, clicks and colours of a
// real button, its deferred set-up, the states of the edit's context menu and where it opens, and
// a row of button looks.
#include <gtest/gtest.h>

#include <afxres.h>

#include "CTkButton.h"
#include "CTkEdit.h"
#include "CTkGlobalData.h"
#include "TkColors.h"
#include "ToolkitTestSupport.h"

#include <vector>

namespace {

// A parent that counts the clicks of its buttons.
class CClickParent : public CWnd {
public:
    int m_nClicks = 0;
    int m_nDoubleClicks = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == BN_CLICKED)
            m_nClicks++;
        else if (HIWORD(wParam) == BN_DOUBLECLICKED)
            m_nDoubleClicks++;
        return CWnd::OnCommand(wParam, lParam);
    }
};

void MakeParent(CWnd& parent, int cx, int cy)
{
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorA(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                                "Schaltflächen", WS_POPUP | WS_CAPTION | WS_VISIBLE, 30, 30, cx, cy, NULL, NULL));
}

// A button that counts the fonts set on it.
class CCountingButton : public CTkButton {
public:
    int m_nSetFont = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETFONT)
            m_nSetFont++;
        return CTkButton::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(ButtonLayoutTest, ImageAndTextPositions)
{
    // client 100 x 30, content rectangle inside a one-pixel frame, image 16 x 16, text 40 x 13
    struct Case {
        const char* name;
        DWORD dwXStyle, dwAlign;
        bool bText, bPressed, bPushedIcon;
        CPoint ptImage, ptText;
    };
    const Case cases[] = {
        {"no text, exactly BS_CENTER: centred", 1, BS_CENTER, false, false, false, {41, 7}, {0, 0}},
        {"no text, no alignment: border gap", 1, 0, false, false, false, {4, 7}, {0, 0}},
        {"no text, BS_LEFT", 1, BS_LEFT, false, false, false, {4, 7}, {0, 0}},
        {"no text, BS_RIGHT: stays at the border gap", 1, BS_RIGHT, false, false, false, {4, 7}, {0, 0}},
        {"no text, BS_CENTER | BS_VCENTER", 1, BS_CENTER | BS_VCENTER, false, false, false, {41, 6}, {0, 0}},
        {"text, no alignment: text centred after the image", 1, 0, true, false, false, {4, 7}, {37, 8}},
        {"text, BS_LEFT: text after image and gap", 1, BS_LEFT, true, false, false, {4, 7}, {28, 8}},
        {"text, BS_RIGHT", 1, BS_RIGHT, true, false, false, {4, 7}, {55, 8}},
        {"image on top, centred", 0x04, 0, true, false, false, {42, -3}, {29, 20}},
        {"image on top, BS_LEFT", 0x04, BS_LEFT, true, false, false, {4, -3}, {4, 20}},
        {"image on top, BS_RIGHT", 0x04, BS_RIGHT, true, false, false, {79, -3}, {55, 20}},
        {"pressed: both move by one", 1, BS_LEFT, true, true, false, {5, 8}, {29, 9}},
        {"pressed hot look: the text stays", 0x40, BS_LEFT, true, true, false, {5, 8}, {28, 8}},
        {"pressed with a pushed icon: the icon stays", 1, BS_LEFT, true, true, true, {4, 7}, {29, 9}},
    };
    for (const Case& c : cases) {
        CTkButton::Layout l;
        l.dwXStyle = c.dwXStyle;
        l.dwBsAlign = c.dwAlign;
        l.sizeClient = CSize(100, 30);
        l.rcItem = CRect(1, 1, 99, 29);
        l.sizeImage = CSize(16, 16);
        l.sizeText = c.bText ? CSize(40, 13) : CSize(0, 0);
        l.nBorderGap = 4;
        l.nImageGap = 8;
        l.bPressed = c.bPressed;
        EXPECT_EQ(c.ptImage, CTkButton::ImagePos(l, c.bPushedIcon)) << c.name;
        if (c.bText) {
            EXPECT_EQ(c.ptText, CTkButton::TextPos(l)) << c.name;
        }
    }
}

TEST(ButtonTest, DoubleClickGivesTwoClicks)
{
    tktest::CTestApp app;
    CClickParent parent;
    MakeParent(parent, 200, 100);
    CTkButton button;
    ASSERT_TRUE(button.Create("&Weiter", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 110, 40), &parent, 100));
    tktest::RunToIdle();
    ASSERT_TRUE((button.GetStyle() & 0x0F) == BS_OWNERDRAW) << "owner-drawn after the deferred set-up";
    LPARAM lp = MAKELPARAM(50, 15);
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lp);
    button.SendMessage(WM_LBUTTONUP, 0, lp);
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, lp);
    button.SendMessage(WM_LBUTTONUP, 0, lp);
    tktest::RunToIdle();
    EXPECT_EQ(2, parent.m_nClicks);
    EXPECT_FALSE(button.m_bMouseDown);
    parent.DestroyWindow();
}

TEST(ButtonTest, CallerColoursSurviveASystemColourChange)
{
    tktest::CTestApp app;
    CClickParent parent;
    MakeParent(parent, 200, 100);
    CTkButton button;
    ASSERT_TRUE(button.Create("Farbe", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 40), &parent, 100));

    // before SetColors the colours follow the system
    button.SetColorFace(RGB(1, 2, 3));
    button.SetTextColor(RGB(4, 5, 6));
    button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), button.GetColorFace());
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), button.m_clrText);

    button.SetColors(RGB(10, 20, 30), RGB(40, 50, 60), RGB(70, 80, 90), RGB(100, 110, 120));
    button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(RGB(10, 20, 30), button.GetColorFace());
    EXPECT_EQ(RGB(40, 50, 60), button.m_clrHilite);
    EXPECT_EQ(RGB(70, 80, 90), button.m_clrShadow);
    EXPECT_EQ(RGB(100, 110, 120), button.m_clrText);
    parent.DestroyWindow();
}

TEST(ButtonTest, TwoQuickSubclassingsSetItUpOnce)
{
    tktest::CTestApp app;
    CClickParent parent;
    MakeParent(parent, 200, 100);
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "Zweimal", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 100, 30,
                                     parent.m_hWnd, (HMENU)100, AfxGetInstanceHandle(), NULL);
    ASSERT_NE((HWND)NULL, hButton);
    CCountingButton button;
    ASSERT_TRUE(button.SubclassWindow(hButton));
    button.UnsubclassWindow();
    ASSERT_TRUE(button.SubclassWindow(hButton));
    EXPECT_EQ(3, button.m_nInitSequence) << "each subclassing posts a newer number";
    tktest::RunToIdle();
    EXPECT_EQ(0, button.m_nInitSequence);
    EXPECT_EQ(1, button.m_nSetFont) << "only the latest posted number sets the button up";
    EXPECT_EQ((DWORD)BS_OWNERDRAW, button.GetStyle() & 0x0F);
    EXPECT_EQ(tkAfxData.fontMenu.GetSafeHandle(), (HFONT)button.SendMessage(WM_GETFONT));

    // a new window of the same object is set up again
    button.DestroyWindow();
    EXPECT_EQ(1, button.m_nInitSequence);
    parent.DestroyWindow();
}

namespace {

// An edit that reads its context menu when it opens and closes it again.
class CProbeEdit : public CTkEdit {
public:
    std::vector<UINT> m_states; // undo, cut, copy, paste, delete, select all
    CRect m_rcPopup;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lResult = CTkEdit::WindowProc(message, wParam, lParam);
        if (message == WM_INITMENUPOPUP) {
            const UINT ids[] = {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_EDIT_SELECT_ALL};
            m_states.clear();
            for (UINT id : ids)
                m_states.push_back(::GetMenuState((HMENU)wParam, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
        } else if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            ::GetWindowRect((HWND)lParam, &m_rcPopup);
            ::EndMenu();
        }
        return lResult;
    }
};

void SetClipboardText(CWnd* pOwner, const char* pszText)
{
    ASSERT_TRUE(::OpenClipboard(pOwner->m_hWnd));
    ::EmptyClipboard();
    if (pszText != NULL) {
        size_t n = strlen(pszText) + 1;
        HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n);
        memcpy(::GlobalLock(h), pszText, n);
        ::GlobalUnlock(h);
        ::SetClipboardData(CF_TEXT, h);
    }
    ::CloseClipboard();
}

} // namespace

TEST(EditTest, ContextMenuStatesAndPlace)
{
    tktest::CTestApp app;
    CClickParent parent;
    MakeParent(parent, 300, 120);
    CProbeEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(20, 20, 220, 44), &parent, 101));
    EXPECT_EQ(tkAfxData.fontMenu.GetSafeHandle(), (HFONT)edit.SendMessage(WM_GETFONT));
    const UINT off = MF_GRAYED | MF_DISABLED;
    struct Case {
        const char* name;
        const char* pszText;
        bool bSelectAll;
        const char* pszClipboard;
        std::vector<UINT> states; // undo, cut, copy, paste, delete, select all
    };
    const Case cases[] = {
        {"empty edit, no text on the clipboard", "", false, NULL, {off, off, off, off, off, off}},
        {"text without selection, text on the clipboard", "Termin", false, "x", {off, off, off, 0, off, 0}},
        {"all selected", "Termin", true, NULL, {off, 0, 0, off, 0, 0}},
    };
    for (const Case& c : cases) {
        edit.SetWindowText(c.pszText);
        edit.SendMessage(EM_EMPTYUNDOBUFFER);
        edit.SetSel(c.bSelectAll ? 0 : 0, c.bSelectAll ? -1 : 0);
        SetClipboardText(&parent, c.pszClipboard);
        edit.m_states.clear();
        edit.SendMessage(WM_CONTEXTMENU, (WPARAM)edit.m_hWnd, MAKELPARAM(-1, -1));
        EXPECT_EQ(c.states, edit.m_states) << c.name;
    }
    // from the keyboard the menu opens 5 pixels inside the edit's top-left corner
    CRect rcClient;
    edit.GetClientRect(&rcClient);
    edit.ClientToScreen(&rcClient);
    EXPECT_EQ(CPoint(rcClient.left + 5, rcClient.top + 5), edit.m_rcPopup.TopLeft());

    // an edit that only gets subclassed sets itself up as well
    HWND hEdit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 20, 60, 100, 20, parent.m_hWnd, (HMENU)102,
                                   AfxGetInstanceHandle(), NULL);
    CTkEdit sub;
    ASSERT_TRUE(sub.SubclassWindow(hEdit));
    EXPECT_EQ(tkAfxData.fontMenu.GetSafeHandle(), (HFONT)sub.SendMessage(WM_GETFONT));
    CTkEdit none;
    EXPECT_FALSE(none.InitControl());
    parent.DestroyWindow();
}

TEST(ControlsShotTest, ButtonLooks)
{
    tktest::CTestApp app;
    CClickParent parent;
    MakeParent(parent, 560, 110);
    struct Look {
        const char* text;
        DWORD dwXStyle;
        bool bHot, bPressed;
    };
    const Look looks[] = {
        {"Flach, heiß", 0x01, true, false}, {"Dünn", 0x02, false, false}, {"Hell, heiß", 0x40, true, false},
        {"Hell, gedrückt", 0x40, false, true}, {"Doppelt", 0x00, false, false},
    };
    CTkButton buttons[5];
    for (int i = 0; i < 5; i++) {
        ASSERT_TRUE(buttons[i].Create(looks[i].text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                      CRect(8 + i * 108, 20, 108 + i * 108, 50), &parent, 200 + i));
        buttons[i].SetXButtonStyle(looks[i].dwXStyle, FALSE);
        buttons[i].SetIconHandles(16, 16, (HICON)::LoadImage(NULL, IDI_INFORMATION, IMAGE_ICON, 16, 16, LR_SHARED), NULL, FALSE);
    }
    tktest::RunToIdle();
    for (int i = 0; i < 5; i++) {
        buttons[i].m_bHot = looks[i].bHot;
        if (looks[i].bPressed)
            buttons[i].SendMessage(BM_SETSTATE, TRUE);
    }
    EXPECT_FALSE(tktest::SaveWindowShot(parent.m_hWnd, "buttons", "view-bar").empty());
    // the hot look fills the button in the toolkit's hot colour; the double frame's outer edge is dark
    CClientDC dc(&buttons[2]);
    EXPECT_EQ(TkGetSysColor(31), dc.GetPixel(3, 3));
    CClientDC dc4(&buttons[4]);
    EXPECT_EQ(tkAfxData.clr3DDkShadow, dc4.GetPixel(99, 29));
    for (CTkButton& b : buttons)
        b.m_hIcon = NULL; // the shared system icon is not the button's to destroy
    parent.DestroyWindow();
}
