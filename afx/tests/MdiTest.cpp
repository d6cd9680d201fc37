// MDI frames: children made through the MDI client with their own views and documents, the active
// child taking the commands first and bringing its menu, the window commands, the titles, and a
// child that closes its document.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "FrameTestSupport.h"
#include "FramesTestResource.h"

using framestest::Log;
using framestest::RunToIdle;
using framestest::TheLog;

namespace {

// A view that names its document when it gets the probe command.
class CChildView : public CView {
    DECLARE_DYNCREATE(CChildView)
public:
    void OnDraw(CDC* pDC) override
    {
        CRect rect;
        GetClientRect(&rect);
        pDC->FillSolidRect(&rect, RGB(0xF8, 0xF8, 0xE8));
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(GetDocument()->GetTitle(), &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    afx_msg void OnProbeView() { TheLog().push_back("view " + std::string(GetDocument()->GetTitle())); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CChildView, CView)
BEGIN_MESSAGE_MAP(CChildView, CView)
ON_COMMAND(ID_PROBE_VIEW, OnProbeView)
END_MESSAGE_MAP()

class MdiTest : public testing::Test {
protected:
    void SetUp() override
    {
        TheLog().clear();
        m_pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_pFrame->LoadFrame(IDR_PROBEMDI));
        m_app.m_pMainWnd = m_pFrame;
        m_pFrame->SetWindowPos(NULL, 30, 30, 640, 480, SWP_NOZORDER);
        m_pFrame->ShowWindow(SW_SHOWNORMAL);
        ASSERT_NE((HWND)NULL, m_pFrame->m_hWndMDIClient);
        m_pChild1 = NewChild("Eins");
        m_pChild2 = NewChild("Zwei");
        RunToIdle();
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != NULL)
            m_app.m_pMainWnd->DestroyWindow();
        framestest::TakeQuitMessage();
    }
    CMDIChildWnd* NewChild(LPCTSTR lpszTitle)
    {
        CDocument* pDoc = new CDocument;
        pDoc->SetTitle(lpszTitle);
        CCreateContext context;
        context.m_pCurrentDoc = pDoc;
        context.m_pNewViewClass = RUNTIME_CLASS(CChildView);
        CMDIChildWnd* pChild = new CMDIChildWnd;
        if (!pChild->LoadFrame(IDR_PROBECHILD, WS_CHILD | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, m_pFrame, &context)) {
            delete pDoc;
            return NULL;
        }
        pChild->InitialUpdateFrame(pDoc, TRUE);
        return pChild;
    }
    int MenuCount() { return ::GetMenuItemCount(::GetMenu(m_pFrame->m_hWnd)); }

    framestest::CProbeApp m_app;
    CMDIFrameWnd* m_pFrame = nullptr;
    CMDIChildWnd* m_pChild1 = nullptr;
    CMDIChildWnd* m_pChild2 = nullptr;
};

} // namespace

TEST_F(MdiTest, ActiveChildTakesCommandsAndBringsItsMenu)
{
    ASSERT_NE(nullptr, m_pChild1);
    ASSERT_NE(nullptr, m_pChild2);
    EXPECT_EQ(m_pFrame, m_pChild2->GetMDIFrame());
    EXPECT_EQ(m_pChild2, m_pFrame->MDIGetActive());
    EXPECT_EQ(m_pChild2, m_pFrame->GetActiveFrame());
    EXPECT_STREQ("Zwei", m_pFrame->GetActiveFrame()->GetActiveDocument()->GetTitle());
    EXPECT_EQ(3, MenuCount()) << "the child's menu while a child is active";
    CString strTitle;
    m_pChild2->GetWindowText(strTitle);
    EXPECT_STREQ("Zwei", strTitle);
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ("MDI-Test - Zwei", strTitle);
    EXPECT_EQ(m_pFrame->GetMessageBar(), m_pChild2->GetMessageBar()) << "the children share the frame's status line";

    m_pFrame->SendMessage(WM_COMMAND, ID_PROBE_VIEW);
    m_pFrame->MDIActivate(m_pChild1);
    EXPECT_EQ(m_pChild1, m_pFrame->MDIGetActive());
    m_pFrame->SendMessage(WM_COMMAND, ID_PROBE_VIEW);
    EXPECT_EQ((Log{"view Zwei", "view Eins"}), TheLog());
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ("MDI-Test - Eins", strTitle);

    // the window commands are enabled while there are children, and arrange them
    m_pFrame->SendMessage(WM_COMMAND, ID_WINDOW_TILE_VERT);
    CRect rect1 = framestest::ChildRect(m_pChild1);
    CRect rect2 = framestest::ChildRect(m_pChild2);
    CRect rectClient;
    ::GetClientRect(m_pFrame->m_hWndMDIClient, &rectClient);
    EXPECT_EQ(rectClient.Height(), rect1.Height());
    EXPECT_EQ(rectClient.Height(), rect2.Height());
    EXPECT_TRUE(rect1.right <= rect2.left || rect2.right <= rect1.left) << "side by side";
    framestest::SaveScreenshot(m_pFrame, "frames_mdi");
}

TEST_F(MdiTest, ClosingAChildClosesItsDocument)
{
    HWND hWnd2 = m_pChild2->m_hWnd;
    m_pChild2->SendMessage(WM_CLOSE);
    EXPECT_FALSE(IsWindow(hWnd2));
    EXPECT_EQ(m_pChild1, m_pFrame->MDIGetActive());
    CString strTitle;
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ("MDI-Test - Eins", strTitle);
    m_pChild1->SendMessage(WM_CLOSE);
    EXPECT_EQ(nullptr, m_pFrame->MDIGetActive());
    EXPECT_EQ(2, MenuCount()) << "the frame's own menu without children";
    m_pFrame->GetWindowText(strTitle);
    EXPECT_STREQ("MDI-Test", strTitle);
    // the window commands have nothing to arrange
    CCmdUI state;
    state.m_nID = ID_WINDOW_CASCADE;
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_WINDOW_CASCADE, "x");
    state.m_pMenu = &menu;
    state.m_nIndexMax = 1;
    state.DoUpdate(m_pFrame, TRUE);
    EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_FALSE(framestest::TakeQuitMessage()) << "the program goes on without children";
}
