// The view classes: a form view from a dialog template with its data exchange and scrolling, a
// scroll view's positions, pages and lines, and scaling to fit, and a control view whose control
// reflects its notifications back to it.
#include <gtest/gtest.h>

#include <afxcmn.h>
#include <afxext.h>

#include "FrameTestSupport.h"
#include "FramesTestResource.h"

using framestest::Log;
using framestest::RunToIdle;
using framestest::TheLog;

namespace {

class CProbeForm : public CFormView {
    DECLARE_DYNCREATE(CProbeForm)
public:
    CProbeForm() : CFormView(IDD_PROBE_FORM) {}
    CString m_strName = "Clara";
    int m_nCount = 4;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_FORM_NAME, m_strName);
        DDX_Text(pDX, IDC_FORM_COUNT, m_nCount);
    }
};
IMPLEMENT_DYNCREATE(CProbeForm, CFormView)

class CProbeScroll : public CScrollView {
    DECLARE_DYNCREATE(CProbeScroll)
public:
    void OnDraw(CDC* pDC) override
    {
        // a grid over the contents, to see where they scroll
        for (int x = 0; x < m_totalLog.cx; x += 100)
            for (int y = 0; y < m_totalLog.cy; y += 100)
                pDC->FillSolidRect(x, y, 98, 98, ((x + y) / 100) % 2 ? RGB(0xD0, 0xE0, 0xFF) : RGB(0xFF, 0xFF, 0xFF));
    }
    // where the contents' origin lies in the window
    CPoint Origin()
    {
        CClientDC dc(this);
        OnPrepareDC(&dc);
        CPoint pt(0, 0);
        dc.LPtoDP(&pt);
        return pt;
    }
};
IMPLEMENT_DYNCREATE(CProbeScroll, CScrollView)

class CProbeList : public CCtrlView {
    DECLARE_DYNCREATE(CProbeList)
public:
    CProbeList() : CCtrlView(WC_LISTVIEWA, AFX_WS_DEFAULT_VIEW | LVS_REPORT) {}
    afx_msg void OnInsertItem(NMHDR*, LRESULT*) { TheLog().push_back("reflected insert"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeList, CCtrlView)
BEGIN_MESSAGE_MAP(CProbeList, CCtrlView)
ON_NOTIFY_REFLECT(LVN_INSERTITEM, OnInsertItem)
END_MESSAGE_MAP()

// A frame with one view of the class on a document, 300 x 200 client pixels.
class ViewTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (m_pFrame != nullptr && m_pFrame->m_hWnd != NULL)
            m_pFrame->DestroyWindow();
    }
    CView* MakeView(CRuntimeClass* pViewClass)
    {
        TheLog().clear();
        m_pDoc = new CDocument;
        CCreateContext context;
        context.m_pCurrentDoc = m_pDoc;
        context.m_pNewViewClass = pViewClass;
        m_pFrame = new CFrameWnd;
        if (!m_pFrame->Create(NULL, "Ansichten", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 450, 350), NULL, NULL, 0, &context))
            return nullptr;
        framestest::SetClientSize(m_pFrame, 300, 200);
        m_pFrame->InitialUpdateFrame(m_pDoc, TRUE);
        RunToIdle();
        return m_pFrame->GetActiveView();
    }
    framestest::CProbeApp m_app;
    CFrameWnd* m_pFrame = nullptr;
    CDocument* m_pDoc = nullptr;
};

} // namespace

TEST_F(ViewTest, FormViewShowsItsTemplateAndExchangesItsData)
{
    CProbeForm* pForm = (CProbeForm*)MakeView(RUNTIME_CLASS(CProbeForm));
    ASSERT_NE(nullptr, pForm);
    EXPECT_TRUE(pForm->IsKindOf(RUNTIME_CLASS(CProbeForm)));
    EXPECT_EQ(AFX_IDW_PANE_FIRST, pForm->GetDlgCtrlID());
    EXPECT_EQ(m_pDoc, pForm->GetDocument());
    EXPECT_TRUE(pForm->GetStyle() & WS_CHILD);
    EXPECT_EQ(0u, pForm->GetStyle() & WS_CAPTION);
    // the first update filled the controls from the members
    CString strText;
    pForm->GetDlgItemText(IDC_FORM_NAME, strText);
    EXPECT_STREQ("Clara", strText);
    EXPECT_EQ(4u, pForm->GetDlgItemInt(IDC_FORM_COUNT));
    pForm->SetDlgItemText(IDC_FORM_NAME, "Dora");
    pForm->SetDlgItemText(IDC_FORM_COUNT, "12");
    EXPECT_TRUE(pForm->UpdateData(TRUE));
    EXPECT_STREQ("Dora", pForm->m_strName);
    EXPECT_EQ(12, pForm->m_nCount);
    framestest::SaveScreenshot(m_pFrame, "frames_form_view");

    // the template's size is what scrolls: a window smaller than it gets scroll bars
    CSize sizeTemplate = pForm->GetTotalSize();
    EXPECT_GT(sizeTemplate.cx, 150);
    framestest::SetClientSize(m_pFrame, 150, 60);
    RunToIdle();
    EXPECT_TRUE(pForm->GetStyle() & WS_HSCROLL);
    framestest::SetClientSize(m_pFrame, 400, 300);
    RunToIdle();
    EXPECT_EQ(0u, pForm->GetStyle() & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(ViewTest, ScrollViewScrollsByLinesPagesAndPositions)
{
    CProbeScroll* pView = (CProbeScroll*)MakeView(RUNTIME_CLASS(CProbeScroll));
    ASSERT_NE(nullptr, pView);
    pView->SetScrollSizes(MM_TEXT, CSize(1000, 800), CSize(100, 80), CSize(10, 8));
    RunToIdle();
    EXPECT_TRUE(pView->GetStyle() & WS_HSCROLL);
    EXPECT_TRUE(pView->GetStyle() & WS_VSCROLL);
    CRect rect;
    pView->GetClientRect(&rect);
    // the largest positions: the contents less the window
    CPoint ptMax(1000 - rect.Width(), 800 - rect.Height());

    struct Case {
        UINT nScrollCode; // LOBYTE horizontal, HIBYTE vertical (0xFF: none)
        POINT ptExpected;
    } const cases[] = {
        {MAKEWORD(SB_LINEDOWN, 0xFF), {10, 0}},
        {MAKEWORD(0xFF, SB_LINEDOWN), {10, 8}},
        {MAKEWORD(SB_PAGEDOWN, SB_PAGEDOWN), {110, 88}},
        {MAKEWORD(SB_PAGEUP, 0xFF), {10, 88}},
        {MAKEWORD(SB_PAGEUP, 0xFF), {0, 88}}, // not before the start
        {MAKEWORD(SB_BOTTOM, SB_BOTTOM), {ptMax.x, ptMax.y}},
        {MAKEWORD(SB_LINEDOWN, SB_LINEDOWN), {ptMax.x, ptMax.y}}, // not after the end
        {MAKEWORD(SB_TOP, 0xFF), {0, ptMax.y}},
    };
    for (const Case& c : cases) {
        pView->OnScroll(c.nScrollCode, 0);
        EXPECT_EQ(CPoint(c.ptExpected), pView->GetScrollPosition()) << std::hex << c.nScrollCode;
        EXPECT_EQ(CPoint(-c.ptExpected.x, -c.ptExpected.y), pView->Origin()) << "drawing follows the position";
    }
    // the scroll bar's own messages
    pView->ScrollToPosition(CPoint(0, 0));
    pView->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(CPoint(0, 8), pView->GetScrollPosition());
    pView->ScrollToPosition(CPoint(300, 5000));
    EXPECT_EQ(CPoint(300, ptMax.y), pView->GetScrollPosition()) << "clamped to the range";
    framestest::SaveScreenshot(m_pFrame, "frames_scroll_view");

    // a window larger than the contents: no bars, back at the origin
    pView->SetScrollSizes(MM_TEXT, CSize(100, 80));
    RunToIdle();
    EXPECT_EQ(0u, pView->GetStyle() & (WS_HSCROLL | WS_VSCROLL));
    EXPECT_EQ(CPoint(0, 0), pView->GetScrollPosition());

    // scaled to fit: the contents' corner lies at the window's corner
    pView->SetScaleToFitSize(CSize(2000, 1000));
    CClientDC dc(pView);
    pView->OnPrepareDC(&dc);
    CPoint ptCorner(2000, 1000);
    dc.LPtoDP(&ptCorner);
    pView->GetClientRect(&rect);
    EXPECT_EQ(rect.BottomRight(), ptCorner);
}

TEST_F(ViewTest, ControlViewIsTheControlAndGetsItsNotifications)
{
    CProbeList* pView = (CProbeList*)MakeView(RUNTIME_CLASS(CProbeList));
    ASSERT_NE(nullptr, pView);
    char szClass[32] = "";
    GetClassNameA(pView->m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ(WC_LISTVIEWA, szClass);
    EXPECT_TRUE((pView->GetStyle() & LVS_TYPEMASK) == LVS_REPORT);
    EXPECT_EQ(m_pDoc, pView->GetDocument());
    LVITEMA item;
    memset(&item, 0, sizeof(item));
    item.mask = LVIF_TEXT;
    item.pszText = (LPSTR) "Eintrag";
    EXPECT_EQ(0, (int)pView->SendMessage(LVM_INSERTITEMA, 0, (LPARAM)&item));
    EXPECT_EQ(1, (int)pView->SendMessage(LVM_GETITEMCOUNT));
    EXPECT_EQ((Log{"reflected insert"}), TheLog());
}
