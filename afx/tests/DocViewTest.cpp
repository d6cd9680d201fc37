// A small document/view program: a single-document template whose frame holds placeholder
// control bars and a static splitter with two views of one document. It shows the frame's layout
// of bars and panes, the routing of commands and of their user-interface updates through view,
// document, template, frame and application, the views' updates, the document's file through an
// archive (also damaged files and failed saves), closing with the save prompt, the status line
// and the help commands.
#include <gtest/gtest.h>

#include <afxcoll.h>
#include <afxext.h>

#include "FrameTestSupport.h"
#include "FramesTestResource.h"
#include "MessageBoxProbe.h"
#include "TestKit.h"

using framestest::CPlaceholderBar;
using framestest::CProbeApp;
using framestest::Log;
using framestest::RunToIdle;
using framestest::TheLog;

namespace {

// ---- the program's classes -------------------------------------------------------------------------

class CProbeDoc : public CDocument {
    DECLARE_DYNCREATE(CProbeDoc)
public:
    CString m_strName;
    int m_nCount = 0;
    BOOL m_bFailSave = FALSE; // Serialize throws after the first value
    static int s_nAlive;

    CProbeDoc() { s_nAlive++; }
    ~CProbeDoc() override
    {
        s_nAlive--;
        TheLog().push_back("~doc");
    }
    void DeleteContents() override
    {
        m_strName.Empty();
        m_nCount = 0;
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_strName;
            if (m_bFailSave)
                AfxThrowFileException(CFileException::diskFull, -1, GetPathName());
            ar << (LONG)m_nCount;
        } else {
            LONG nCount = 0;
            ar >> m_strName >> nCount;
            m_nCount = (int)nCount;
        }
    }

    afx_msg void OnProbeDoc() { TheLog().push_back("doc"); }
    afx_msg void OnRoute() { TheLog().push_back("doc"); }
    afx_msg BOOL OnRouteChain(UINT)
    {
        TheLog().push_back("doc");
        return FALSE;
    }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeDoc, CDocument)
int CProbeDoc::s_nAlive = 0;
BEGIN_MESSAGE_MAP(CProbeDoc, CDocument)
ON_COMMAND(ID_PROBE_DOC, OnProbeDoc)
ON_COMMAND(ID_ROUTE_DOC_FRAME_APP, OnRoute)
ON_COMMAND(ID_ROUTE_ALL, OnRoute)
ON_COMMAND_EX(ID_ROUTE_CHAIN, OnRouteChain)
ON_UPDATE_COMMAND_UI(ID_PROBE_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

// The two views differ in their name and colour; each logs what reaches it.
class CProbeView : public CView {
    DECLARE_DYNCREATE(CProbeView)
public:
    virtual const char* Name() const { return "A"; }
    virtual COLORREF Colour() const { return RGB(0xE8, 0xF0, 0xFF); }
    CProbeDoc* GetProbeDoc() const { return (CProbeDoc*)GetDocument(); }

    void OnDraw(CDC* pDC) override
    {
        CRect rect;
        GetClientRect(&rect);
        pDC->FillSolidRect(&rect, Colour());
        pDC->SetBkMode(TRANSPARENT);
        CString strText;
        strText.Format("Ansicht %s: %s (%d)", Name(), GetProbeDoc() != NULL ? (LPCTSTR)GetProbeDoc()->m_strName : "",
                       GetProbeDoc() != NULL ? GetProbeDoc()->m_nCount : 0);
        pDC->DrawText(strText, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    void OnInitialUpdate() override
    {
        TheLog().push_back(std::string(Name()) + " initial update");
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override
    {
        if (lHint != 0)
            TheLog().push_back(std::string(Name()) + " update " + std::to_string(lHint) + (pHint != NULL ? " with object" : ""));
        CView::OnUpdate(pSender, lHint, pHint);
    }
    afx_msg void OnProbeView() { TheLog().push_back(Name()); }
    afx_msg void OnRoute() { TheLog().push_back(std::string("view ") + Name()); }
    afx_msg BOOL OnRouteChain(UINT)
    {
        TheLog().push_back(std::string("view ") + Name());
        return FALSE;
    }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeView, CView)
BEGIN_MESSAGE_MAP(CProbeView, CView)
ON_COMMAND(ID_PROBE_VIEW, OnProbeView)
ON_COMMAND(ID_ROUTE_ALL, OnRoute)
ON_COMMAND_EX(ID_ROUTE_CHAIN, OnRouteChain)
ON_UPDATE_COMMAND_UI(ID_PROBE_CHECKED, OnUpdateChecked)
END_MESSAGE_MAP()

class CProbeView2 : public CProbeView {
    DECLARE_DYNCREATE(CProbeView2)
public:
    const char* Name() const override { return "B"; }
    COLORREF Colour() const override { return RGB(0xFF, 0xF4, 0xE0); }
};
IMPLEMENT_DYNCREATE(CProbeView2, CProbeView)

class CProbeTemplate : public CSingleDocTemplate {
public:
    CProbeTemplate()
        : CSingleDocTemplate(IDR_PROBEFRAME, RUNTIME_CLASS(CProbeDoc), RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CProbeView))
    {
    }
    afx_msg void OnRoute() { TheLog().push_back("template"); }
    afx_msg BOOL OnRouteChain(UINT)
    {
        TheLog().push_back("template");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CProbeTemplate, CSingleDocTemplate)
ON_COMMAND(ID_ROUTE_TEMPLATE_FRAME_APP, OnRoute)
ON_COMMAND(ID_PROBE_TEMPLATE, OnRoute)
ON_COMMAND_EX(ID_ROUTE_CHAIN, OnRouteChain)
END_MESSAGE_MAP()

// The frame: a tool bar, a bar on the left and a status line around a splitter with view A on
// the left and view B on the right.
class CProbeFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CProbeFrame)
public:
    CPlaceholderBar m_wndToolBar{CPlaceholderBar::top, 24, RGB(0xD4, 0xD0, 0xC8), "Symbolleiste"};
    CPlaceholderBar m_wndSideBar{CPlaceholderBar::left, 40, RGB(0xC0, 0xD0, 0xC0), "Seite"};
    CPlaceholderBar m_wndStatusBar{CPlaceholderBar::bottom, 20, RGB(0xE0, 0xE0, 0xE0), ""};
    CSplitterWnd m_wndSplitter;

    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        if (!m_wndSplitter.CreateStatic(this, 1, 2))
            return FALSE;
        if (!m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CProbeView), CSize(150, 0), pContext) ||
            !m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CProbeView2), CSize(0, 0), pContext))
            return FALSE;
        m_wndSplitter.SetColumnInfo(1, 0, 50);
        return TRUE;
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        // the bars take their room in the order of their windows (the order of creation)
        if (!m_wndToolBar.Create(this, AFX_IDW_TOOLBAR) || !m_wndStatusBar.Create(this, AFX_IDW_STATUS_BAR) ||
            !m_wndSideBar.Create(this, AFX_IDW_CONTROLBAR_FIRST + 10))
            return -1;
        return 0;
    }
    afx_msg void OnProbeFrame() { TheLog().push_back("frame"); }
    afx_msg void OnRoute() { TheLog().push_back("frame"); }
    afx_msg BOOL OnRouteChain(UINT)
    {
        TheLog().push_back("frame");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(CProbeFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_PROBE_FRAME, OnProbeFrame)
ON_COMMAND(ID_ROUTE_ALL, OnRoute)
ON_COMMAND(ID_ROUTE_DOC_FRAME_APP, OnRoute)
ON_COMMAND(ID_ROUTE_TEMPLATE_FRAME_APP, OnRoute)
ON_COMMAND(ID_ROUTE_FRAME_APP, OnRoute)
ON_COMMAND_EX(ID_ROUTE_CHAIN, OnRouteChain)
ON_COMMAND(ID_HELP, CFrameWnd::OnHelp)
ON_COMMAND(ID_HELP_FINDER, CFrameWnd::OnHelpFinder)
ON_COMMAND(ID_DEFAULT_HELP, CFrameWnd::OnHelpFinder)
ON_COMMAND(ID_CONTEXT_HELP, CFrameWnd::OnContextHelp)
END_MESSAGE_MAP()

// The program started with a new document.
class DocViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        TheLog().clear();
        m_pTemplate = new CProbeTemplate;
        m_pTemplate->m_pFrameClass = RUNTIME_CLASS(CProbeFrame);
        m_app.AddDocTemplate(m_pTemplate);
        CCommandLineInfo cmdInfo;
        ASSERT_TRUE(m_app.ProcessShellCommand(cmdInfo));
        m_pFrame = (CProbeFrame*)m_app.m_pMainWnd;
        ASSERT_NE(nullptr, m_pFrame);
        ASSERT_TRUE(m_pFrame->IsKindOf(RUNTIME_CLASS(CProbeFrame)));
        m_pFrame->SetWindowPos(NULL, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_pDoc = (CProbeDoc*)m_pFrame->GetActiveDocument();
        ASSERT_NE(nullptr, m_pDoc);
        m_pViewA = (CProbeView*)m_pFrame->m_wndSplitter.GetPane(0, 0);
        m_pViewB = (CProbeView*)m_pFrame->m_wndSplitter.GetPane(0, 1);
        RunToIdle();
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != NULL)
            m_app.m_pMainWnd->DestroyWindow();
        framestest::TakeQuitMessage();
        EXPECT_EQ(0, CProbeDoc::s_nAlive) << "the document goes with its views";
    }

    CProbeApp m_app;
    CProbeTemplate* m_pTemplate = nullptr;
    CProbeFrame* m_pFrame = nullptr;
    CProbeDoc* m_pDoc = nullptr;
    CProbeView* m_pViewA = nullptr;
    CProbeView* m_pViewB = nullptr;
};

} // namespace

// ---- start-up and layout ---------------------------------------------------------------------------

TEST_F(DocViewTest, NewFileMakesTheDocumentItsFrameAndBothViews)
{
    EXPECT_TRUE(m_pFrame->IsWindowVisible());
    EXPECT_EQ(m_pViewA, m_pFrame->GetActiveView()) << "the first pane becomes the active view";
    EXPECT_EQ(m_pDoc, m_pViewA->GetDocument());
    EXPECT_EQ(m_pDoc, m_pViewB->GetDocument());
    EXPECT_EQ(m_pTemplate, m_pDoc->GetDocTemplate());
    POSITION pos = m_pDoc->GetFirstViewPosition();
    EXPECT_EQ(m_pViewA, m_pDoc->GetNextView(pos));
    EXPECT_EQ(m_pViewB, m_pDoc->GetNextView(pos));
    EXPECT_EQ(nullptr, pos);
    // every view gets its first update once, after the frame is complete
    EXPECT_EQ((Log{"A initial update", "B initial update"}), TheLog());
    // the new document's title is the template's document name, before the frame's title
    EXPECT_STREQ("Probe", m_pDoc->GetTitle());
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ("Probe - Rahmentest", strTitle);
    EXPECT_EQ(m_pFrame, m_pViewB->GetParentFrame());
    EXPECT_EQ(m_pFrame, m_pViewB->GetTopLevelFrame());
    EXPECT_EQ(&m_pFrame->m_wndSplitter, CView::GetParentSplitter(m_pViewB, TRUE));
    EXPECT_EQ(1, m_app.GetOpenDocumentCount());

    // A second new file reuses document and frame (single-document program).
    TheLog().clear();
    m_app.OnFileNew();
    EXPECT_EQ(m_pFrame, m_app.m_pMainWnd);
    EXPECT_EQ(m_pDoc, m_pFrame->GetActiveDocument());
    EXPECT_EQ((Log{"A initial update", "B initial update"}), TheLog());
}

TEST_F(DocViewTest, RecalcLayoutPlacesBarsAndPanes)
{
    // Tool bar 24 high at the top, status line 20 high at the bottom, side bar 40 wide on the
    // left between them (the bars in the order of their windows); the splitter takes the rest. Its panes lie inside a 2-pixel border, 7 pixels
    // apart; column 0 wants 150 pixels, column 1 at least 50.
    struct Case {
        SIZE client;
        BOOL bSideBar;
        RECT toolBar, sideBar, statusBar, splitter, paneA, paneB;
    } const cases[] = {
        {{600, 400}, TRUE, {0, 0, 600, 24}, {0, 24, 40, 380}, {0, 380, 600, 400}, {40, 24, 600, 380}, {2, 2, 152, 354},
         {159, 2, 558, 354}},
        {{300, 200}, TRUE, {0, 0, 300, 24}, {0, 24, 40, 180}, {0, 180, 300, 200}, {40, 24, 300, 180}, {2, 2, 152, 154},
         {159, 2, 258, 154}},
        // the side bar hidden: the splitter takes its room
        {{300, 200}, FALSE, {0, 0, 300, 24}, {0, 0, 0, 0}, {0, 180, 300, 200}, {0, 24, 300, 180}, {2, 2, 152, 154},
         {159, 2, 298, 154}},
        // too little room for column 1's minimum: column 0 takes the room that is left
        {{220, 120}, TRUE, {0, 0, 220, 24}, {0, 24, 40, 100}, {0, 100, 220, 120}, {40, 24, 220, 100}, {2, 2, 173, 74},
         {180, 2, 180, 74}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.client.cx << "x" << c.client.cy << (c.bSideBar ? "" : " without side bar"));
        m_pFrame->m_wndSideBar.ShowWindow(c.bSideBar ? SW_SHOWNA : SW_HIDE);
        m_pFrame->m_wndSplitter.SetColumnInfo(0, 150, 10);
        framestest::SetClientSize(m_pFrame, c.client.cx, c.client.cy);
        m_pFrame->RecalcLayout();
        CRect rectClient;
        m_pFrame->GetClientRect(&rectClient);
        ASSERT_EQ(CSize(c.client), rectClient.Size());
        EXPECT_EQ(CRect(c.toolBar), framestest::ChildRect(&m_pFrame->m_wndToolBar));
        if (c.bSideBar) {
            EXPECT_EQ(CRect(c.sideBar), framestest::ChildRect(&m_pFrame->m_wndSideBar));
        }
        EXPECT_EQ(CRect(c.statusBar), framestest::ChildRect(&m_pFrame->m_wndStatusBar));
        EXPECT_EQ(CRect(c.splitter), framestest::ChildRect(&m_pFrame->m_wndSplitter));
        EXPECT_EQ(CRect(c.paneA), framestest::ChildRect(m_pViewA));
        EXPECT_EQ(CRect(c.paneB), framestest::ChildRect(m_pViewB));
        int cxCur = 0;
        int cxMin = 0;
        m_pFrame->m_wndSplitter.GetColumnInfo(0, cxCur, cxMin);
        EXPECT_EQ(c.paneA.right - c.paneA.left, cxCur);
        EXPECT_EQ(10, cxMin);
    }
    m_pFrame->m_wndSideBar.ShowWindow(SW_SHOWNA);

    // Room kept free around the pane (an in-place frame's border).
    framestest::SetClientSize(m_pFrame, 600, 400);
    m_pFrame->m_rectBorder = CRect(5, 6, 7, 8);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(CRect(45, 30, 593, 372), framestest::ChildRect(&m_pFrame->m_wndSplitter));
    m_pFrame->m_rectBorder = CRect(0, 0, 0, 0);

    // Asking for the room the bars need moves nothing.
    CRect rectQuery(0, 0, 1000, 1000);
    int nCalls = m_pFrame->m_wndToolBar.m_nSizeParentCalls;
    CRect rectBefore = framestest::ChildRect(&m_pFrame->m_wndToolBar);
    m_pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &rectQuery, &rectQuery, FALSE);
    EXPECT_EQ(CRect(0, 0, 40, 44), rectQuery) << "side bar's width, tool bar's and status line's heights";
    EXPECT_EQ(nCalls + 1, m_pFrame->m_wndToolBar.m_nSizeParentCalls);
    EXPECT_EQ(rectBefore, framestest::ChildRect(&m_pFrame->m_wndToolBar));
    framestest::SaveScreenshot(m_pFrame, "frames_docview");
}

TEST_F(DocViewTest, DelayedLayoutHappensAtIdleTime)
{
    framestest::SetClientSize(m_pFrame, 400, 300);
    m_pFrame->RecalcLayout();
    CRect rectSplitter = framestest::ChildRect(&m_pFrame->m_wndSplitter);
    EXPECT_EQ(40, rectSplitter.left);
    // a bar hidden with a delayed layout: nothing moves until the thread is idle
    m_pFrame->m_wndSideBar.ShowWindow(SW_HIDE);
    m_pFrame->DelayRecalcLayout();
    EXPECT_TRUE(m_pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_EQ(rectSplitter, framestest::ChildRect(&m_pFrame->m_wndSplitter));
    RunToIdle();
    EXPECT_EQ(0u, m_pFrame->m_nIdleFlags);
    EXPECT_EQ(0, framestest::ChildRect(&m_pFrame->m_wndSplitter).left);
    m_pFrame->m_wndSideBar.ShowWindow(SW_SHOWNA);
}

// ---- commands ----------------------------------------------------------------------------------

TEST_F(DocViewTest, CommandsGoThroughViewDocumentTemplateFrameAndApplication)
{
    struct Case {
        UINT nID;
        Log handled; // the first target that has a handler takes the command
    } const cases[] = {
        {ID_ROUTE_ALL, {"view A"}},
        {ID_ROUTE_DOC_FRAME_APP, {"doc"}},
        {ID_ROUTE_TEMPLATE_FRAME_APP, {"template"}},
        {ID_ROUTE_FRAME_APP, {"frame"}},
        {ID_ROUTE_APP, {"app"}},
        {ID_ROUTE_NONE, {}},
        // handlers that pass the command on show the whole order
        {ID_ROUTE_CHAIN, {"view A", "doc", "template", "frame", "app"}},
    };
    for (const Case& c : cases) {
        TheLog().clear();
        m_pFrame->SendMessage(WM_COMMAND, c.nID);
        EXPECT_EQ(c.handled, TheLog()) << c.nID;
    }
    // the active view decides which view is asked
    m_pFrame->SetActiveView(m_pViewB);
    TheLog().clear();
    m_pFrame->SendMessage(WM_COMMAND, ID_ROUTE_ALL);
    EXPECT_EQ((Log{"view B"}), TheLog());
    // without an active view the document is not reached either
    m_pFrame->SetActiveView(NULL);
    TheLog().clear();
    m_pFrame->SendMessage(WM_COMMAND, ID_ROUTE_DOC_FRAME_APP);
    EXPECT_EQ((Log{"frame"}), TheLog());

    // An accelerator of the frame's resource reaches the frame from the focused view.
    m_pFrame->SetActiveView(m_pViewA);
    m_pViewA->SetFocus();
    TheLog().clear();
    m_pViewA->PostMessage(WM_KEYDOWN, VK_F5, 0x003F0001);
    RunToIdle();
    EXPECT_EQ((Log{"frame"}), TheLog());
}

TEST_F(DocViewTest, MenuItemsTakeTheirStateFromTheUpdateHandlers)
{
    CMenu* pPopup = m_pFrame->GetMenu()->GetSubMenu(1);
    ASSERT_NE(nullptr, pPopup);
    struct Case {
        BOOL bAutoMenuEnable;
        UINT nPos;
        UINT nExpected; // MF_GRAYED / MF_CHECKED bits
    } const cases[] = {
        {TRUE, 0, 0},            // the view's command
        {TRUE, 1, 0},            // the document's
        {TRUE, 2, 0},            // the frame's
        {TRUE, 3, 0},            // the application's
        {TRUE, 4, MF_GRAYED},    // nobody handles it
        {FALSE, 4, 0},           // ... which disables it only with m_bAutoMenuEnable
        {TRUE, 5, MF_GRAYED},    // the document's update handler disables it
        {TRUE, 6, MF_GRAYED | MF_CHECKED}, // checked by the view's update handler, without a command handler
        {TRUE, 8, 0},            // a popup whose first command the template handles
        {TRUE, 9, 0},            // popups are never disabled for want of a handler
    };
    for (const Case& c : cases) {
        m_pFrame->m_bAutoMenuEnable = c.bAutoMenuEnable;
        // every item enabled and unchecked before the popup opens
        for (UINT i = 0; i < pPopup->GetMenuItemCount(); i++)
            pPopup->EnableMenuItem(i, MF_BYPOSITION | MF_ENABLED);
        pPopup->CheckMenuItem(6, MF_BYPOSITION | MF_UNCHECKED);
        m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)pPopup->m_hMenu, MAKELPARAM(1, FALSE));
        UINT nState = pPopup->GetMenuState(c.nPos, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED);
        EXPECT_EQ(c.nExpected, nState) << "item " << c.nPos << (c.bAutoMenuEnable ? "" : " without auto enable");
    }
    m_pFrame->m_bAutoMenuEnable = TRUE;
}

TEST_F(DocViewTest, UpdateAllViewsReachesEveryViewButTheSender)
{
    CStringList hint;
    TheLog().clear();
    m_pDoc->UpdateAllViews(NULL, 7, &hint);
    EXPECT_EQ((Log{"A update 7 with object", "B update 7 with object"}), TheLog());
    TheLog().clear();
    m_pDoc->UpdateAllViews(m_pViewA, 8);
    EXPECT_EQ((Log{"B update 8"}), TheLog());
}

// ---- the document's file -----------------------------------------------------------------------------

TEST_F(DocViewTest, DocumentIsSavedAndReadBackThroughAnArchive)
{
    oxtest::TempDir dir("frames");
    std::string strPath = dir.File("termin.prb");
    m_pDoc->m_strName = "Termin";
    m_pDoc->m_nCount = 3;
    m_pDoc->SetModifiedFlag();
    ASSERT_TRUE(m_pDoc->OnSaveDocument(strPath.c_str()));
    EXPECT_FALSE(m_pDoc->IsModified());
    // the archive's bytes: the string with its one-byte length, then the 4-byte count
    EXPECT_EQ(std::string("\x06Termin\x03\x00\x00\x00", 11), oxtest::ReadFileText(strPath));

    m_pDoc->m_strName = "anders";
    m_pDoc->m_nCount = 9;
    ASSERT_TRUE(m_pDoc->OnOpenDocument(strPath.c_str()));
    EXPECT_STREQ("Termin", m_pDoc->m_strName);
    EXPECT_EQ(3, m_pDoc->m_nCount);
    EXPECT_FALSE(m_pDoc->IsModified());

    // Opened through the application: the path and the title come from the file.
    TheLog().clear();
    m_pDoc->m_strName.Empty();
    ASSERT_EQ(m_pDoc, m_app.OpenDocumentFile(strPath.c_str()));
    EXPECT_STREQ("Termin", m_pDoc->m_strName);
    EXPECT_STREQ("termin.prb", m_pDoc->GetTitle());
    EXPECT_EQ(0, lstrcmpiA(strPath.c_str(), m_pDoc->GetPathName()));
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ("termin.prb - Rahmentest", strTitle);
    // an open document of the same path is only activated
    TheLog().clear();
    EXPECT_EQ(m_pDoc, m_app.OpenDocumentFile(strPath.c_str()));
    EXPECT_EQ(Log{}, TheLog()) << "not read again";
}

TEST_F(DocViewTest, FilesThatCannotBeReadAreReportedAndLeaveNothingHalfRead)
{
    oxtest::TempDir dir("frames");
    struct Case {
        const char* pszName;
        const char* pszBytes; // NULL: no file
        size_t nBytes;
        const char* pszPrompt;
    } const cases[] = {
        {"kurz.prb", "\x06Ter", 4, "Es wurde versucht, über das Ende von %s hinaus zu lesen."},
        {"rest.prb", "\x06Termin\x03", 8, "Es wurde versucht, über das Ende von %s hinaus zu lesen."},
        {"fehlt.prb", NULL, 0, "%s wurde nicht gefunden."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::string strPath = dir.File(c.pszName);
        if (c.pszBytes != NULL) {
            ASSERT_TRUE(oxtest::WriteFileText(strPath, std::string(c.pszBytes, c.nBytes)));
        }
        m_pDoc->m_strName = "bisher";
        m_pDoc->m_nCount = 5;
        afxtest::MessageBoxProbe probe;
        EXPECT_FALSE(m_pDoc->OnOpenDocument(strPath.c_str()));
        char szPrompt[512];
        snprintf(szPrompt, sizeof(szPrompt), c.pszPrompt, strPath.c_str());
        EXPECT_EQ((std::vector<std::string>{szPrompt}), probe.m_texts);
        if (c.pszBytes != NULL) {
            // what was read is not kept
            EXPECT_STREQ("", m_pDoc->m_strName);
            EXPECT_EQ(0, m_pDoc->m_nCount);
        } else {
            EXPECT_STREQ("bisher", m_pDoc->m_strName) << "a file that is not there changes nothing";
        }
    }
}

TEST_F(DocViewTest, AFailedSaveKeepsThePreviousFile)
{
    oxtest::TempDir dir("frames");
    std::string strPath = dir.File("termin.prb");
    m_pDoc->m_strName = "Alt";
    m_pDoc->m_nCount = 1;
    ASSERT_TRUE(m_pDoc->OnSaveDocument(strPath.c_str()));
    std::string strOld = oxtest::ReadFileText(strPath);

    m_pDoc->m_strName = "Neu";
    m_pDoc->m_bFailSave = TRUE;
    m_pDoc->SetModifiedFlag();
    {
        afxtest::MessageBoxProbe probe;
        EXPECT_FALSE(m_pDoc->OnSaveDocument(strPath.c_str()));
        ASSERT_EQ(1, probe.m_nCalls);
        EXPECT_EQ("Beim Schreiben von " + strPath + " ist der Datenträger voll.", probe.m_lastText);
    }
    EXPECT_EQ(strOld, oxtest::ReadFileText(strPath)) << "the file is as it was";
    EXPECT_TRUE(m_pDoc->IsModified()) << "the changes are still unsaved";
    // no temporary file is left beside it
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA(dir.File("*").c_str(), &fd);
    int nFiles = 0;
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                nFiles++;
        } while (FindNextFileA(hFind, &fd));
        FindClose(hFind);
    }
    EXPECT_EQ(1, nFiles);

    // a folder that does not exist
    afxtest::MessageBoxProbe probe;
    m_pDoc->m_bFailSave = FALSE;
    EXPECT_FALSE(m_pDoc->OnSaveDocument(dir.File("fehlt\\termin.prb").c_str()));
    EXPECT_EQ(1, probe.m_nCalls);
}

// ---- closing -----------------------------------------------------------------------------------

TEST_F(DocViewTest, ClosingTheMainFrameAsksToSaveAndEndsTheProgram)
{
    m_pDoc->SetModifiedFlag();
    {
        // Cancel keeps everything
        afxtest::MessageBoxProbe probe(IDCANCEL);
        m_pFrame->SendMessage(WM_CLOSE);
        EXPECT_EQ((std::vector<std::string>{"Änderungen in Probe speichern?"}), probe.m_texts);
        EXPECT_TRUE(probe.m_lastType & MB_YESNOCANCEL);
        EXPECT_EQ(m_pFrame, m_app.m_pMainWnd);
        EXPECT_TRUE(m_pFrame->IsWindowVisible());
        EXPECT_EQ(1, CProbeDoc::s_nAlive);
        EXPECT_FALSE(framestest::TakeQuitMessage());
    }
    // No drops the changes: frame and document go, and so does the message loop
    afxtest::MessageBoxProbe probe(IDNO);
    TheLog().clear();
    HWND hWnd = m_pFrame->m_hWnd;
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(1, probe.m_nCalls);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, m_app.m_pMainWnd);
    EXPECT_EQ(0, CProbeDoc::s_nAlive);
    EXPECT_EQ((Log{"~doc"}), TheLog());
    EXPECT_TRUE(framestest::TakeQuitMessage());
    EXPECT_EQ(0, m_app.GetOpenDocumentCount());
}

TEST_F(DocViewTest, ObjectsInUseKeepTheProgramWhenItsWindowCloses)
{
    // Something outside still uses the program's objects: closing the main window closes the
    // document (and with it this frame), but the message loop goes on.
    AfxGetModuleState()->m_nObjectCount = 1;
    HWND hWnd = m_pFrame->m_hWnd;
    m_pFrame->SendMessage(WM_CLOSE);
    AfxGetModuleState()->m_nObjectCount = 0;
    EXPECT_FALSE(AfxGetModuleState()->m_bUserCtrl) << "the last object's release ends the program";
    AfxGetModuleState()->m_bUserCtrl = TRUE;
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, m_app.m_pMainWnd);
    EXPECT_EQ(0, CProbeDoc::s_nAlive) << "the document is closed";
    EXPECT_FALSE(framestest::TakeQuitMessage());
}

// ---- status line and help --------------------------------------------------------------------------

TEST_F(DocViewTest, StatusLineFollowsTheMenuSelection)
{
    auto statusText = [this] {
        CString str;
        m_pFrame->m_wndStatusBar.GetWindowText(str);
        return std::string(str);
    };
    EXPECT_EQ("Bereit", statusText()) << "the idle prompt after start";
    HMENU hMenu = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 1);
    // a selected item shows its prompt at idle time (or in the menu's idle time)
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_PROBE_VIEW, MF_STRING), (LPARAM)hMenu);
    EXPECT_TRUE(m_pFrame->IsTracking());
    RunToIdle();
    EXPECT_EQ("Prüft die Ansicht", statusText());
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_PROBE_FRAME, MF_STRING), (LPARAM)hMenu);
    m_pFrame->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
    EXPECT_EQ("Prüft den Rahmen", statusText());
    // a bar's prompt does not replace the tracked item's
    m_pFrame->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ("Prüft den Rahmen", statusText());
    // separators and popups show nothing
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_SEPARATOR), (LPARAM)hMenu);
    RunToIdle();
    EXPECT_EQ("", statusText());
    // the menu closes: the idle prompt at once
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("Bereit", statusText());
    EXPECT_FALSE(m_pFrame->IsTracking());
    m_pFrame->SetMessageText("Eigener Text");
    EXPECT_EQ("Eigener Text", statusText());
}

TEST_F(DocViewTest, HelpCommandsAskForTheFramesAndCommandsContexts)
{
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP_FINDER);
    m_pFrame->SendMessage(WM_COMMAND, ID_HELP);
    ASSERT_EQ(2u, m_app.m_helpCalls.size());
    EXPECT_EQ((std::pair<DWORD_PTR, UINT>(0, HELP_FINDER)), m_app.m_helpCalls[0]);
    // F1: nothing more specific knows a context: the frame's resource
    EXPECT_EQ((std::pair<DWORD_PTR, UINT>(HID_BASE_RESOURCE + IDR_PROBEFRAME, HELP_CONTEXT)), m_app.m_helpCalls[1]);

    // Context help mode: the next click picks the object, a command shows its own help,
    // Escape ends the mode without help.
    struct Case {
        const char* pszWhat;
        std::function<void()> post;
        size_t nCalls;
        DWORD_PTR dwContext;
    } const cases[] = {
        {"click into a view",
         [this] {
             CRect rect;
             m_pViewB->GetWindowRect(&rect);
             CPoint pt = rect.CenterPoint();
             m_pFrame->ScreenToClient(&pt);
             m_pFrame->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
         },
         1, HID_BASE_RESOURCE + IDR_PROBEFRAME},
        {"menu command", [this] { m_pFrame->PostMessage(WM_COMMAND, ID_PROBE_VIEW); }, 1, HID_BASE_COMMAND + ID_PROBE_VIEW},
        {"escape", [this] { m_pFrame->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0); }, 0, 0},
    };
    // on top of the windows of other programs, as the click has to find the view
    ::SetWindowPos(m_pFrame->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_pFrame->ActivateFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_app.m_helpCalls.clear();
        TheLog().clear();
        RunToIdle();
        c.post();
        m_pFrame->SendMessage(WM_COMMAND, ID_CONTEXT_HELP);
        EXPECT_FALSE(m_pFrame->m_bHelpMode);
        ASSERT_EQ(c.nCalls, m_app.m_helpCalls.size());
        if (c.nCalls != 0) {
            EXPECT_EQ(c.dwContext, m_app.m_helpCalls[0].first);
        }
        EXPECT_EQ(Log{}, TheLog()) << "a command in help mode does not run";
    }
}
