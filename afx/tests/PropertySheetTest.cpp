// Property sheets with three pages, driven by a script of posted messages: page changes with the
// pages' data exchange (a refused value keeps its page), OK applying every page that was shown,
// Cancel resetting them, the owner and the application's modeless windows disabled while the
// sheet runs modally, a modeless sheet without the standard buttons, and a modeless sheet run in
// a modal loop of its own.
#include <gtest/gtest.h>

#include <afxcmn.h>
#include <afxdlgs.h>

#include <functional>
#include <vector>

#include "FrameTestSupport.h"
#include "FramesTestResource.h"
#include "MessageBoxProbe.h"

using framestest::Log;
using framestest::RunToIdle;
using framestest::TheLog;

namespace {

const UINT WM_SCRIPT = WM_APP + 1;

// A page that logs the sheet's notifications under its name.
class CLoggingPage : public CPropertyPage {
public:
    CLoggingPage(UINT nIDTemplate, UINT nIDCaption, const char* pszName) : CPropertyPage(nIDTemplate, nIDCaption), m_pszName(pszName) {}
    const char* m_pszName;

    BOOL OnSetActive() override
    {
        TheLog().push_back(std::string(m_pszName) + " active");
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        BOOL bOK = CPropertyPage::OnKillActive();
        TheLog().push_back(std::string(m_pszName) + (bOK ? " left" : " kept"));
        return bOK;
    }
    BOOL OnApply() override
    {
        TheLog().push_back(std::string(m_pszName) + " apply");
        return CPropertyPage::OnApply();
    }
    void OnReset() override { TheLog().push_back(std::string(m_pszName) + " reset"); }
};

class CNamePage : public CLoggingPage {
public:
    CNamePage() : CLoggingPage(IDD_PAGE_NAME, IDS_PAGE_NAME, "name") {}
    CString m_strName = "Otto";
    int m_nActive = 1;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_PAGE_EDIT, m_strName);
        DDV_MaxChars(pDX, m_strName, 10);
        DDX_Check(pDX, IDC_PAGE_CHECK, m_nActive);
    }
};

class CNumberPage : public CLoggingPage {
public:
    CNumberPage() : CLoggingPage(IDD_PAGE_NUMBER, IDS_PAGE_NUMBER, "number") {}
    int m_nNumber = 5;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_PAGE_EDIT, m_nNumber);
        DDV_MinMaxInt(pDX, m_nNumber, 1, 10);
    }
};

class CNotePage : public CLoggingPage {
public:
    CNotePage() : CLoggingPage(IDD_PAGE_NOTE, IDS_PAGE_NOTE, "note") {}
    CString m_strNote;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_PAGE_EDIT, m_strNote); }
};

// A sheet that runs a script once it is up: one step per posted message, so that every step
// comes through the sheet's message loop.
class CScriptSheet : public CPropertySheet {
public:
    CScriptSheet(CWnd* pParent) : CPropertySheet(IDS_SHEET_CAPTION, pParent)
    {
        AddPage(&m_pageName);
        AddPage(&m_pageNumber);
        AddPage(&m_pageNote);
    }
    CNamePage m_pageName;
    CNumberPage m_pageNumber;
    CNotePage m_pageNote;
    std::vector<std::function<void(CScriptSheet*)>> m_script;
    size_t m_nStep = 0;

    BOOL OnInitDialog() override
    {
        BOOL bResult = CPropertySheet::OnInitDialog();
        PostMessage(WM_SCRIPT);
        return bResult;
    }
    afx_msg LRESULT OnScript(WPARAM, LPARAM)
    {
        if (m_nStep < m_script.size()) {
            // the next step comes after this one's consequences
            PostMessage(WM_SCRIPT);
            m_script[m_nStep++](this);
        }
        return 0;
    }
    void Type(CPropertyPage* pPage, LPCTSTR lpszText) { pPage->SetDlgItemText(IDC_PAGE_EDIT, lpszText); }
    void Click(int nID)
    {
        HWND hButton = ::GetDlgItem(m_hWnd, nID);
        ASSERT_NE((HWND)NULL, hButton);
        ::SendMessageA(hButton, BM_CLICK, 0, 0);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CScriptSheet, CPropertySheet)
ON_MESSAGE(WM_SCRIPT, OnScript)
END_MESSAGE_MAP()

// The program's main frame, owner of the sheets.
class PropertySheetTest : public testing::Test {
protected:
    void SetUp() override
    {
        TheLog().clear();
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Besitzer", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 600, 500)));
        m_app.m_pMainWnd = m_pFrame;
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != NULL)
            m_app.m_pMainWnd->DestroyWindow();
        framestest::TakeQuitMessage();
    }
    framestest::CProbeApp m_app;
    CFrameWnd* m_pFrame = nullptr;
};

} // namespace

TEST_F(PropertySheetTest, ModalSheetTakesThePagesDataOnOK)
{
    afxtest::MessageBoxProbe probe;
    CScriptSheet sheet(m_pFrame);
    BOOL bOwnerEnabled = TRUE;
    int nPagesSeen = 0;
    sheet.m_script = {
        [&](CScriptSheet* p) {
            bOwnerEnabled = m_pFrame->IsWindowEnabled();
            nPagesSeen = p->GetPageCount();
            EXPECT_EQ(0, p->GetActiveIndex());
            EXPECT_EQ(&p->m_pageName, p->GetActivePage());
            EXPECT_NE(nullptr, p->GetTabControl());
            p->Type(&p->m_pageName, "Anna");
            p->m_pageName.CheckDlgButton(IDC_PAGE_CHECK, BST_UNCHECKED);
        },
        [](CScriptSheet* p) { p->SendMessage(PSM_SETCURSEL, 1); },
        [](CScriptSheet* p) { p->Type(&p->m_pageNumber, "42"); },
        // a refused value keeps its page
        [](CScriptSheet* p) { p->SendMessage(PSM_SETCURSEL, 2); },
        [](CScriptSheet* p) {
            EXPECT_EQ(1, p->GetActiveIndex());
            p->Type(&p->m_pageNumber, "7");
            framestest::SaveScreenshot(p, "frames_property_sheet");
        },
        [](CScriptSheet* p) { p->SetActivePage(2); },
        [](CScriptSheet* p) {
            EXPECT_EQ(&p->m_pageNote, p->GetActivePage());
            p->Type(&p->m_pageNote, "Notiz");
            p->Click(IDOK);
        },
    };
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(7u, sheet.m_nStep) << "the whole script ran";
    EXPECT_FALSE(bOwnerEnabled) << "the owner is disabled while the sheet runs";
    EXPECT_TRUE(m_pFrame->IsWindowEnabled());
    EXPECT_EQ(3, nPagesSeen);
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE}), m_app.m_modeless);
    EXPECT_STREQ("Anna", sheet.m_pageName.m_strName);
    EXPECT_EQ(0, sheet.m_pageName.m_nActive);
    EXPECT_EQ(7, sheet.m_pageNumber.m_nNumber);
    EXPECT_STREQ("Notiz", sheet.m_pageNote.m_strNote);
    EXPECT_EQ((std::vector<std::string>{"Geben Sie bitte eine ganze Zahl zwischen 1 und 10 ein."}), probe.m_texts);
    EXPECT_EQ((Log{"name active", "name left", "number active", "number kept", "number left", "note active", "note left",
                   "name apply", "number apply", "note apply"}),
              TheLog());
}

TEST_F(PropertySheetTest, CancelResetsThePagesAndKeepsTheData)
{
    CScriptSheet sheet(m_pFrame);
    sheet.SetActivePage(1); // the sheet starts on the second page
    sheet.m_script = {
        [](CScriptSheet* p) {
            EXPECT_EQ(&p->m_pageNumber, p->GetActivePage());
            p->Type(&p->m_pageNumber, "9");
        },
        [](CScriptSheet* p) { p->Click(IDCANCEL); },
    };
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(5, sheet.m_pageNumber.m_nNumber) << "nothing was taken";
    EXPECT_EQ(nullptr, sheet.m_pageName.m_hWnd);
    EXPECT_EQ((Log{"number active", "number reset"}), TheLog()) << "only the page that was shown";
}

TEST_F(PropertySheetTest, AQuitMessageEndsTheSheetAndStaysForTheLoopOutside)
{
    CScriptSheet sheet(m_pFrame);
    sheet.m_script = {[](CScriptSheet*) { ::PostQuitMessage(3); }};
    EXPECT_EQ(-1, sheet.DoModal());
    EXPECT_TRUE(m_pFrame->IsWindowEnabled());
    EXPECT_TRUE(framestest::TakeQuitMessage());
}

TEST_F(PropertySheetTest, ModelessSheetHasNoStandardButtonsAndTakesPagesWhileItRuns)
{
    CScriptSheet sheet(m_pFrame);
    ASSERT_TRUE(sheet.Create(m_pFrame));
    RunToIdle();
    EXPECT_TRUE(sheet.IsWindowVisible());
    EXPECT_TRUE(m_pFrame->IsWindowEnabled()) << "a modeless sheet disables nothing";
    for (int nID : {IDOK, IDCANCEL}) {
        HWND hButton = ::GetDlgItem(sheet.m_hWnd, nID);
        EXPECT_TRUE(hButton == NULL || !::IsWindowVisible(hButton)) << nID;
    }
    CString strCaption;
    sheet.GetWindowText(strCaption);
    EXPECT_STREQ("Einstellungen", strCaption);

    // a page added to the living sheet gets a tab and can be shown
    CNotePage extra;
    sheet.AddPage(&extra);
    EXPECT_EQ(4, sheet.GetPageCount());
    EXPECT_EQ(4, (int)sheet.GetTabControl()->SendMessage(TCM_GETITEMCOUNT));
    EXPECT_TRUE(sheet.SetActivePage(&extra));
    RunToIdle();
    EXPECT_EQ(3, sheet.GetActiveIndex());
    EXPECT_NE(nullptr, extra.m_hWnd);
    sheet.SetActivePage(0);
    sheet.RemovePage(&extra);
    EXPECT_EQ(3, sheet.GetPageCount());
    EXPECT_EQ(3, (int)sheet.GetTabControl()->SendMessage(TCM_GETITEMCOUNT));

    // the sheet's own modal loop (as a program runs a modeless sheet modally): ended by
    // EndDialog, which destroys a modeless sheet
    sheet.m_script = {
        [](CScriptSheet* p) { p->Type(&p->m_pageName, "Berta"); },
        [](CScriptSheet* p) { p->SetActivePage(1); },
        [](CScriptSheet* p) { p->EndDialog(IDOK); },
    };
    sheet.PostMessage(WM_SCRIPT);
    EXPECT_EQ(IDOK, sheet.RunModalLoop(MLF_SHOWONIDLE));
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_STREQ("Berta", sheet.m_pageName.m_strName) << "taken when its page was left";
}

namespace {

// A sheet that sees its pages' activations first (as a resizing sheet lays its pages out then)
// and lets the pages handle them too.
class CWatchingSheet : public CScriptSheet {
public:
    using CScriptSheet::CScriptSheet;
    int m_nActivations = 0;
    afx_msg BOOL OnPageActive(NMHDR*, LRESULT*)
    {
        m_nActivations++;
        TheLog().push_back("sheet sees active");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CWatchingSheet, CScriptSheet)
ON_NOTIFY_REFLECT_EX(PSN_SETACTIVE, OnPageActive)
END_MESSAGE_MAP()

} // namespace

TEST_F(PropertySheetTest, SheetSeesThePagesActivationsBeforeThePages)
{
    CWatchingSheet sheet(m_pFrame);
    sheet.m_script = {
        [](CScriptSheet* p) { p->SetActivePage(2); },
        [](CScriptSheet* p) { p->Click(IDCANCEL); },
    };
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ(2, sheet.m_nActivations);
    EXPECT_EQ((Log{"sheet sees active", "name active", "name left", "sheet sees active", "note active", "name reset", "note reset"}),
              TheLog());
}
