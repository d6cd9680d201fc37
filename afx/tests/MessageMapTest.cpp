// Windows made and subclassed by the class library, in the manner of the platform's conformance
// tests: the calls that reach the objects are recorded and compared with the expected sequence.
// Covers creation and destruction, subclassing, reflection of notifications to the controls,
// command routing, the update of command UI, handle-map lifetimes and exceptions in handlers.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "afxcmn.h"
#include "MessageBoxProbe.h"

namespace {

using Log = std::vector<std::string>;

// ---- creation, destruction, subclassing ------------------------------------------------------

class CProbeWnd : public CWnd {
public:
    explicit CProbeWnd(Log& log, int nCreateResult = 0) : m_log(log), m_nCreateResult(nCreateResult) {}
    Log& m_log;
    int m_nCreateResult;
    BOOL m_bDeleteSelf = FALSE;
    BOOL* m_pbDeleted = nullptr;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        m_log.push_back("PreCreateWindow");
        return CWnd::PreCreateWindow(cs);
    }
    void PreSubclassWindow() override { m_log.push_back("PreSubclassWindow"); }
    void PostNcDestroy() override
    {
        m_log.push_back("PostNcDestroy");
        if (m_bDeleteSelf) {
            *m_pbDeleted = TRUE;
            delete this;
        }
    }

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpcs)
    {
        m_log.push_back("WM_NCCREATE");
        return CWnd::OnNcCreate(lpcs);
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_log.push_back(std::string("WM_CREATE ") + (lpcs->lpszName != NULL ? lpcs->lpszName : ""));
        return m_nCreateResult;
    }
    afx_msg void OnSize(UINT, int cx, int cy) { m_log.push_back("WM_SIZE " + std::to_string(cx) + "x" + std::to_string(cy)); }
    afx_msg void OnDestroy()
    {
        m_log.push_back("WM_DESTROY");
        CWnd::OnDestroy();
    }
    afx_msg void OnNcDestroy()
    {
        m_log.push_back("WM_NCDESTROY");
        CWnd::OnNcDestroy();
    }
    afx_msg void OnChar(UINT nChar, UINT, UINT)
    {
        m_log.push_back(std::string("WM_CHAR ") + (char)nChar);
        Default();
    }
    afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM lParam)
    {
        m_log.push_back("WM_APP");
        if (lParam == 1)
            DestroyWindow(); // from inside its own handler
        return (LRESULT)wParam + 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
ON_WM_NCCREATE()
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_DESTROY()
ON_WM_NCDESTROY()
ON_WM_CHAR()
ON_MESSAGE(WM_APP, OnProbe)
END_MESSAGE_MAP()

CRect TestRect() { return CRect(0, 0, 200, 100); }

TEST(WndCreation, CreateAndDestroyRunTheirSteps)
{
    Log log;
    {
        CProbeWnd wnd(log);
        ASSERT_TRUE(wnd.CreateEx(0, NULL, "Probe", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
        EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
        EXPECT_EQ((LONG_PTR)&AfxWndProc, GetWindowLongPtrA(wnd.m_hWnd, GWLP_WNDPROC));
        char szClass[64] = "";
        GetClassNameA(wnd.m_hWnd, szClass, sizeof(szClass));
        EXPECT_STREQ(AFX_WND_CLASS, szClass) << "the library's default class";
        EXPECT_EQ(5, wnd.SendMessage(WM_APP, 4, 0));

        HWND hWnd = wnd.m_hWnd;
        EXPECT_TRUE(wnd.DestroyWindow());
        EXPECT_EQ(nullptr, wnd.m_hWnd);
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
        EXPECT_FALSE(IsWindow(hWnd));
    }
    // The size message comes from the system between creation and destruction; what matters is the order.
    Log expected = {"PreCreateWindow", "PreSubclassWindow", "WM_NCCREATE", "WM_CREATE Probe"};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(expected, Log(log.begin(), log.begin() + 4));
    Log tail = {"WM_APP", "WM_DESTROY", "WM_NCDESTROY", "PostNcDestroy"};
    Log rest;
    for (size_t i = 4; i < log.size(); i++)
        if (log[i].rfind("WM_SIZE", 0) != 0)
            rest.push_back(log[i]);
    EXPECT_EQ(tail, rest);
}

TEST(WndCreation, RefusedCreationCleansUpAndAnswersFalse)
{
    Log log;
    CProbeWnd wnd(log, -1);
    EXPECT_FALSE(wnd.CreateEx(0, NULL, "Nein", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ("PostNcDestroy", log.back());

    // no window at all: an unknown class
    Log log2;
    CProbeWnd wnd2(log2);
    EXPECT_FALSE(wnd2.CreateEx(0, "OxNoSuchClass", "x", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ((Log{"PreCreateWindow", "PostNcDestroy"}), log2);
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_pWndInit) << "the creation hook waits for nothing any more";
}

TEST(WndCreation, SelfDeletingWindowDestroyedFromItsOwnHandler)
{
    Log log;
    BOOL bDeleted = FALSE;
    CProbeWnd* pWnd = new CProbeWnd(log);
    pWnd->m_bDeleteSelf = TRUE;
    pWnd->m_pbDeleted = &bDeleted;
    ASSERT_TRUE(pWnd->CreateEx(0, NULL, "Selbst", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    HWND hWnd = pWnd->m_hWnd;
    ::SendMessageA(hWnd, WM_APP, 0, 1);
    EXPECT_TRUE(bDeleted);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ("PostNcDestroy", log.back());
}

TEST(WndCreation, ChildWindowsOfRegisteredClasses)
{
    Log log;
    CProbeWnd parent(log);
    ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW)), "Eltern",
                                WS_POPUP, 0, 0, 300, 200, NULL, NULL));
    // the same attributes give the same class
    LPCTSTR lpszName = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
    char szClass[96] = "";
    GetClassNameA(parent.m_hWnd, szClass, sizeof(szClass));
    EXPECT_STREQ(lpszName, szClass);
    EXPECT_EQ(0, strncmp(szClass, "Afx:", 4));

    Log childLog;
    CProbeWnd child(childLog);
    ASSERT_TRUE(child.Create(NULL, "Kind", WS_VISIBLE, TestRect(), &parent, 77));
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    EXPECT_EQ(77, child.GetDlgCtrlID());
    EXPECT_EQ(&child, parent.GetDlgItem(77));
    EXPECT_EQ(&child, parent.GetDescendantWindow(77, TRUE));
    EXPECT_EQ(&parent, child.GetParent());
    EXPECT_EQ(&parent, child.GetTopLevelParent());
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, child.m_hWnd) << "destroying the parent detached the child";
    EXPECT_EQ("PostNcDestroy", childLog.back());
}

TEST(WndSubclassing, SubclassedEditGetsItsMessagesFirstAndKeepsItsBehaviour)
{
    HWND hParent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, NULL, NULL, NULL, NULL);
    HWND hEdit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, hParent, (HMENU)5, NULL, NULL);
    WNDPROC pfnEdit = (WNDPROC)GetWindowLongPtrA(hEdit, GWLP_WNDPROC);

    Log log;
    CProbeWnd edit(log);
    CWnd parent;
    ASSERT_TRUE(parent.Attach(hParent));
    ASSERT_TRUE(edit.SubclassDlgItem(5, &parent));
    EXPECT_EQ((Log{"PreSubclassWindow"}), log);
    EXPECT_EQ(pfnEdit, *edit.GetSuperWndProcAddr());

    ::SendMessageA(hEdit, WM_CHAR, 'a', 0);
    ::SendMessageA(hEdit, WM_CHAR, 'b', 0);
    EXPECT_EQ((Log{"PreSubclassWindow", "WM_CHAR a", "WM_CHAR b"}), log);
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("ab", text) << "Default passed the characters on to the edit control";

    EXPECT_EQ(hEdit, edit.UnsubclassWindow());
    EXPECT_EQ((LONG_PTR)pfnEdit, GetWindowLongPtrA(hEdit, GWLP_WNDPROC));
    ::SendMessageA(hEdit, WM_CHAR, 'c', 0);
    EXPECT_EQ(3u, log.size()) << "no messages after unsubclassing";

    // a second object cannot take a window that has one
    CWnd other;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(&edit, CWnd::FromHandlePermanent(hEdit));
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, edit.m_hWnd);
    EXPECT_FALSE(IsWindow(hEdit));
}

// ---- reflection --------------------------------------------------------------------------------

const UINT ID_BUTTON = 300;

// A control that handles its own BN_CLICKED (the parent never sees it), one that handles it and
// lets the parent have it too (ON_CONTROL_REFLECT_EX answering FALSE) or not (TRUE).
class CPlainButton : public CWnd {
public:
    explicit CPlainButton(Log& log) : m_log(log) {}
    Log& m_log;
    afx_msg void OnClicked() { m_log.push_back("control BN_CLICKED"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPlainButton, CWnd)
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CExButton : public CWnd {
public:
    CExButton(Log& log, BOOL bHandled) : m_log(log), m_bHandled(bHandled) {}
    Log& m_log;
    BOOL m_bHandled;
    HBRUSH m_hbr = NULL;
    afx_msg BOOL OnClickedEx()
    {
        m_log.push_back("control BN_CLICKED ex");
        return m_bHandled;
    }
    afx_msg void OnNotifyClick(NMHDR*, LRESULT* pResult)
    {
        m_log.push_back("control NM_CLICK");
        *pResult = 42;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        m_log.push_back("control WM_CTLCOLOR " + std::to_string(nCtlColor));
        return m_hbr;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CExButton, CWnd)
ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedEx)
ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyClick)
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CReflectParent : public CWnd {
public:
    explicit CReflectParent(Log& log) : m_log(log) {}
    Log& m_log;
    afx_msg void OnClicked() { m_log.push_back("parent BN_CLICKED"); }
    afx_msg void OnNotifyClick(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_log.push_back("parent NM_CLICK " + std::to_string(pNMHDR->idFrom));
        *pResult = 7;
    }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        HBRUSH hbr = CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
        m_log.push_back("parent WM_CTLCOLOR");
        return hbr;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectParent, CWnd)
ON_BN_CLICKED(ID_BUTTON, OnClicked)
ON_NOTIFY(NM_CLICK, ID_BUTTON, OnNotifyClick)
ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(WndReflection, ControlNotificationsGoToTheControlFirst)
{
    for (int nCase = 0; nCase < 4; nCase++) {
        Log log;
        CReflectParent parent(log);
        ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
        HWND hButton = CreateWindowExA(0, "BUTTON", "Knopf", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, parent.m_hWnd,
                                       (HMENU)(UINT_PTR)ID_BUTTON, NULL, NULL);
        CWnd plainObject;
        CPlainButton plain(log);
        CExButton exFalse(log, FALSE);
        CExButton exTrue(log, TRUE);
        CWnd* const controls[] = {&plainObject, &plain, &exFalse, &exTrue};
        const Log expected[] = {
            {"parent BN_CLICKED"}, // a control object without handlers
            {"control BN_CLICKED"},
            {"control BN_CLICKED ex", "parent BN_CLICKED"},
            {"control BN_CLICKED ex"},
        };
        ASSERT_TRUE(controls[nCase]->SubclassWindow(hButton));
        parent.SendMessage(WM_COMMAND, MAKEWPARAM(ID_BUTTON, BN_CLICKED), (LPARAM)hButton);
        EXPECT_EQ(expected[nCase], log) << "case " << nCase;
        parent.DestroyWindow();
        EXPECT_EQ(nullptr, controls[nCase]->m_hWnd);
    }
}

TEST(WndReflection, NotificationsAndColoursAreReflected)
{
    Log log;
    CReflectParent parent(log);
    ASSERT_TRUE(parent.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 200, 100, NULL, NULL));
    HWND hButton = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 50, 20, parent.m_hWnd, (HMENU)(UINT_PTR)ID_BUTTON, NULL, NULL);
    NMHDR nmhdr = {hButton, ID_BUTTON, (UINT)NM_CLICK};

    // without a control object the parent handles it
    EXPECT_EQ(7, parent.SendMessage(WM_NOTIFY, ID_BUTTON, (LPARAM)&nmhdr));
    EXPECT_EQ((Log{"parent NM_CLICK 300"}), log);

    log.clear();
    CExButton button(log, TRUE);
    ASSERT_TRUE(button.SubclassWindow(hButton));
    EXPECT_EQ(42, parent.SendMessage(WM_NOTIFY, ID_BUTTON, (LPARAM)&nmhdr));
    EXPECT_EQ((Log{"control NM_CLICK"}), log);

    // a control colour: the control's brush wins; without one the parent's default answers
    log.clear();
    HDC hDC = GetDC(parent.m_hWnd);
    button.m_hbr = (HBRUSH)GetStockObject(GRAY_BRUSH);
    EXPECT_EQ((LRESULT)button.m_hbr, parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)hButton));
    button.m_hbr = NULL;
    LRESULT lDefault = parent.SendMessage(WM_CTLCOLORBTN, (WPARAM)hDC, (LPARAM)hButton);
    EXPECT_NE((LRESULT)GetStockObject(GRAY_BRUSH), lDefault);
    ReleaseDC(parent.m_hWnd, hDC);
    std::string strType = std::to_string(CTLCOLOR_BTN);
    EXPECT_EQ((Log{"control WM_CTLCOLOR " + strType, "parent WM_CTLCOLOR", "control WM_CTLCOLOR " + strType,
                   "parent WM_CTLCOLOR"}),
              log);
    parent.DestroyWindow();
}

// ---- command routing ---------------------------------------------------------------------------

const UINT ID_VIEW_ONLY = 500, ID_DOC_AND_FRAME = 501, ID_FRAME_AND_APP = 502, ID_APP_ONLY = 503, ID_NOBODY = 504,
           ID_VIEW_PASSES = 505, ID_RANGE_FIRST = 510, ID_RANGE_LAST = 519, ID_DISABLED = 520;

class CTestApp : public CCmdTarget {
public:
    explicit CTestApp(Log& log) : m_log(log) {}
    Log& m_log;
    afx_msg void OnFrameAndApp() { m_log.push_back("app 502"); }
    afx_msg void OnAppOnly() { m_log.push_back("app 503"); }
    afx_msg void OnViewPasses() { m_log.push_back("app 505"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestApp, CCmdTarget)
ON_COMMAND(ID_FRAME_AND_APP, OnFrameAndApp)
ON_COMMAND(ID_APP_ONLY, OnAppOnly)
ON_COMMAND(ID_VIEW_PASSES, OnViewPasses)
END_MESSAGE_MAP()

class CTestDoc : public CCmdTarget {
public:
    explicit CTestDoc(Log& log) : m_log(log) {}
    Log& m_log;
    afx_msg void OnDocAndFrame() { m_log.push_back("document 501"); }
    afx_msg void OnUpdateDocAndFrame(CCmdUI* pCmdUI)
    {
        m_log.push_back("document update 501");
        pCmdUI->SetCheck(1);
        pCmdUI->ContinueRouting();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestDoc, CCmdTarget)
ON_COMMAND(ID_DOC_AND_FRAME, OnDocAndFrame)
ON_UPDATE_COMMAND_UI(ID_DOC_AND_FRAME, OnUpdateDocAndFrame)
END_MESSAGE_MAP()

// The routing of the frame and view classes: the view first, then its document; the frame after
// its view, then the application.
class CTestView : public CWnd {
public:
    CTestView(Log& log, CTestDoc& doc) : m_log(log), m_doc(doc) {}
    Log& m_log;
    CTestDoc& m_doc;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) || m_doc.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    afx_msg void OnViewOnly() { m_log.push_back("view 500"); }
    afx_msg BOOL OnViewPasses(UINT nID)
    {
        m_log.push_back("view " + std::to_string(nID) + " passes");
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestView, CWnd)
ON_COMMAND(ID_VIEW_ONLY, OnViewOnly)
ON_COMMAND_EX(ID_VIEW_PASSES, OnViewPasses)
END_MESSAGE_MAP()

class CTestFrame : public CWnd {
public:
    CTestFrame(Log& log, CTestView& view, CTestApp& app) : m_log(log), m_view(view), m_app(app) {}
    Log& m_log;
    CTestView& m_view;
    CTestApp& m_app;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        return m_view.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) || CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) ||
               m_app.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    afx_msg void OnDocAndFrame() { m_log.push_back("frame 501"); }
    afx_msg void OnFrameAndApp() { m_log.push_back("frame 502"); }
    afx_msg void OnRange(UINT nID) { m_log.push_back("frame range " + std::to_string(nID)); }
    afx_msg void OnUpdateRange(CCmdUI* pCmdUI)
    {
        m_log.push_back("frame update " + std::to_string(pCmdUI->m_nID));
        pCmdUI->Enable(pCmdUI->m_nID % 2 == 0);
    }
    afx_msg void OnUpdateDocAndFrame(CCmdUI* pCmdUI) { m_log.push_back("frame update 501"); }
    afx_msg void OnDisabled() { m_log.push_back("frame 520"); }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CWnd)
ON_COMMAND(ID_DOC_AND_FRAME, OnDocAndFrame)
ON_COMMAND(ID_FRAME_AND_APP, OnFrameAndApp)
ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
ON_UPDATE_COMMAND_UI_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnUpdateRange)
ON_UPDATE_COMMAND_UI(ID_DOC_AND_FRAME, OnUpdateDocAndFrame)
ON_COMMAND(ID_DISABLED, OnDisabled)
ON_UPDATE_COMMAND_UI(ID_DISABLED, OnUpdateDisabled)
END_MESSAGE_MAP()

class CommandRouting : public ::testing::Test {
protected:
    Log log;
    CTestApp app{log};
    CTestDoc doc{log};
    CTestView view{log, doc};
    CTestFrame frame{log, view, app};

    void SetUp() override { ASSERT_TRUE(frame.CreateEx(0, NULL, "Rahmen", WS_POPUP, 0, 0, 100, 100, NULL, NULL)); }
    void TearDown() override { frame.DestroyWindow(); }
};

TEST_F(CommandRouting, MenuCommandsGoViewDocumentFrameApplication)
{
    struct Case {
        UINT nID;
        BOOL bHandled;
        Log expected;
    } const cases[] = {
        {ID_VIEW_ONLY, TRUE, {"view 500"}},
        {ID_DOC_AND_FRAME, TRUE, {"document update 501", "frame update 501", "document 501"}},
        {ID_FRAME_AND_APP, TRUE, {"frame 502"}},
        {ID_APP_ONLY, TRUE, {"app 503"}},
        {ID_VIEW_PASSES, TRUE, {"view 505 passes", "app 505"}},
        {ID_NOBODY, FALSE, {}},
        {513, TRUE, {"frame update 513"}}, // disabled by its update handler: not executed
        {514, TRUE, {"frame update 514", "frame range 514"}},
        {ID_DISABLED, TRUE, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        // as a menu sends it: WM_COMMAND without a control
        LRESULT lResult = frame.SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, 0), 0);
        EXPECT_EQ(c.expected, log) << "command " << c.nID;
        UNUSED(lResult);
        log.clear();
        EXPECT_EQ(c.bHandled, frame.OnCmdMsg(c.nID, CN_COMMAND, NULL, NULL)) << "command " << c.nID;
    }
}

TEST_F(CommandRouting, HandlerLookupAndUpdateRouting)
{
    AFX_CMDHANDLERINFO info = {NULL, NULL};
    EXPECT_TRUE(frame.OnCmdMsg(ID_DOC_AND_FRAME, CN_COMMAND, NULL, &info));
    EXPECT_EQ(&doc, info.pTarget) << "the lookup follows the routing and calls nothing";
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(frame.OnCmdMsg(ID_NOBODY, CN_COMMAND, NULL, &info));

    // An update handler that continues the routing lets the next target update too.
    CCmdUI state;
    state.m_nID = ID_DOC_AND_FRAME;
    EXPECT_TRUE(state.DoUpdate(&frame, TRUE));
    EXPECT_EQ((Log{"document update 501", "frame update 501"}), log);
}

// ---- command UI and idle update ----------------------------------------------------------------

const UINT ID_BTN_HANDLED = 600, ID_BTN_UNHANDLED = 601, ID_CHECK_UNHANDLED = 602, ID_BTN_CHECKED = 603, ID_BTN_SELF = 604;

class CSelfButton : public CWnd {
public:
    afx_msg void OnUpdateSelf(CCmdUI* pCmdUI) { pCmdUI->SetText("selbst"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfButton, CWnd)
ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateSelf)
END_MESSAGE_MAP()

class CIdlePanel : public CWnd {
public:
    int m_nIdleUpdates = 0;
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM)
    {
        m_nIdleUpdates++;
        UpdateDialogControls(this, TRUE);
        return 0;
    }
    afx_msg void OnHandled() {}
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI)
    {
        pCmdUI->SetCheck(1);
        pCmdUI->SetText("geprüft");
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CIdlePanel, CWnd)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_COMMAND(ID_BTN_HANDLED, OnHandled)
ON_UPDATE_COMMAND_UI(ID_BTN_CHECKED, OnUpdateChecked)
END_MESSAGE_MAP()

TEST(IdleUpdate, ChildControlsFollowTheHandlersAtIdleTime)
{
    CIdlePanel panel;
    ASSERT_TRUE(panel.CreateEx(0, NULL, "Tafel", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, NULL, NULL));
    auto make = [&](const char* text, DWORD dwStyle, UINT nID) {
        return CreateWindowExA(0, "BUTTON", text, WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, 50, 20, panel.m_hWnd,
                               (HMENU)(UINT_PTR)nID, NULL, NULL);
    };
    HWND hHandled = make("a", BS_PUSHBUTTON, ID_BTN_HANDLED);
    HWND hUnhandled = make("b", BS_PUSHBUTTON, ID_BTN_UNHANDLED);
    HWND hCheck = make("c", BS_AUTOCHECKBOX, ID_CHECK_UNHANDLED);
    HWND hChecked = make("d", BS_AUTOCHECKBOX, ID_BTN_CHECKED);
    CSelfButton self;
    ASSERT_TRUE(self.SubclassWindow(make("e", BS_PUSHBUTTON, ID_BTN_SELF)));

    CWinThread thread; // an idle loop's state, not started
    thread.m_bAutoDelete = FALSE;
    thread.m_pMainWnd = &panel;
    EXPECT_TRUE(thread.OnIdle(0)) << "more idle time wanted after the update";
    EXPECT_EQ(1, panel.m_nIdleUpdates);
    EXPECT_TRUE(IsWindowEnabled(hHandled));
    EXPECT_FALSE(IsWindowEnabled(hUnhandled)) << "a push button without a handler";
    EXPECT_TRUE(IsWindowEnabled(hCheck)) << "check boxes keep their state";
    EXPECT_EQ(BST_CHECKED, SendMessageA(hChecked, BM_GETCHECK, 0, 0));
    char szText[32] = "";
    GetWindowTextA(hChecked, szText, sizeof(szText));
    EXPECT_STREQ("geprüft", szText);
    self.GetWindowText(szText, sizeof(szText));
    EXPECT_STREQ("selbst", szText) << "the control's own update handler";
    EXPECT_TRUE(self.IsWindowEnabled()) << "a control that updates itself is not disabled by its parent";

    thread.m_pMainWnd = NULL;
    panel.DestroyWindow();
}

// ---- handle maps ---------------------------------------------------------------------------------

TEST(HandleMaps, TemporaryObjectsLiveUntilIdleAndPermanentOnesStay)
{
    CWnd::DeleteTempMap();
    HWND hWndA = CreateWindowExA(0, "STATIC", "a", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HWND hWndB = CreateWindowExA(0, "STATIC", "b", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    CWnd permanent;
    ASSERT_TRUE(permanent.Attach(hWndA));
    HMENU hMenu = CreatePopupMenu();
    HDC hDC = GetDC(hWndB);

    CWnd* pTemp = CWnd::FromHandle(hWndB);
    CMenu* pMenu = CMenu::FromHandle(hMenu);
    CDC* pDC = CDC::FromHandle(hDC);
    CGdiObject* pBrush = CGdiObject::FromHandle(GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(hMenu, pMenu->m_hMenu);
    EXPECT_EQ(hDC, pDC->m_hAttribDC);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hWndB));
    EXPECT_EQ(1u, afxMapHWND()->GetTemporaryCount());
    EXPECT_EQ(1u, afxMapHWND()->GetPermanentCount());

    CWinThread thread;
    thread.m_bAutoDelete = FALSE;
    // locked maps keep their temporary objects through idle time
    AfxLockTempMaps();
    EXPECT_FALSE(thread.OnIdle(1)) << "no more idle time wanted after the clean-up";
    EXPECT_EQ(1u, afxMapHWND()->GetTemporaryCount());
    EXPECT_FALSE(AfxUnlockTempMaps(FALSE));

    thread.OnIdle(1);
    for (CHandleMap* pMap : {afxMapHWND(), afxMapHMENU(), afxMapHDC(), afxMapHGDIOBJ()})
        EXPECT_EQ(0u, pMap->GetTemporaryCount());
    EXPECT_EQ(&permanent, CWnd::FromHandle(hWndA)) << "the permanent object stays";
    EXPECT_TRUE(IsWindow(hWndB)) << "a temporary object never destroys its window";
    EXPECT_TRUE(IsMenu(hMenu));
    EXPECT_NE(nullptr, CWnd::FromHandle(hWndB));

    ReleaseDC(hWndB, hDC);
    DestroyMenu(hMenu);
    permanent.DestroyWindow();
    ::DestroyWindow(hWndB);
    CWnd::DeleteTempMap();
    UNUSED(pBrush);
}

TEST(HandleMaps, EveryThreadHasItsOwnMaps)
{
    HWND hWnd = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    CWnd* pMine = CWnd::FromHandle(hWnd);
    CWnd* pOther = nullptr;
    size_t nOtherTemps = 0;
    std::thread([&] {
        pOther = CWnd::FromHandle(hWnd);
        nOtherTemps = afxMapHWND()->GetTemporaryCount();
    }).join();
    EXPECT_EQ(1u, nOtherTemps);
    EXPECT_NE(pMine, pOther) << "the other thread made its own temporary object";
    EXPECT_EQ(pMine, CWnd::FromHandle(hWnd));
    ::DestroyWindow(hWnd);
    CWnd::DeleteTempMap();
}

// ---- exceptions in handlers ----------------------------------------------------------------------

class CThrowingWnd : public CWnd {
public:
    int m_nKind = 0;
    afx_msg int OnCreate(LPCREATESTRUCT)
    {
        if (m_nKind == 1)
            AfxThrowUserException();
        return 0;
    }
    afx_msg LRESULT OnProbe(WPARAM wParam, LPARAM)
    {
        if (wParam == 1)
            AfxThrowUserException();
        AfxThrowNotSupportedException();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
ON_WM_CREATE()
ON_MESSAGE(WM_APP, OnProbe)
END_MESSAGE_MAP()

TEST(HandlerExceptions, AreReportedOnceAndNeverLeaveTheWindowProcedure)
{
    afxtest::MessageBoxProbe probe;
    CThrowingWnd refused;
    refused.m_nKind = 1;
    EXPECT_FALSE(refused.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL)) << "WM_CREATE answered -1";
    EXPECT_EQ(0, probe.m_nCalls) << "a user exception has been reported already";

    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    EXPECT_EQ(0, wnd.SendMessage(WM_APP, 1));
    EXPECT_EQ(0, probe.m_nCalls);
    EXPECT_EQ(0, wnd.SendMessage(WM_APP, 2));
    EXPECT_EQ(1, probe.m_nCalls);
    EXPECT_EQ("Der Vorgang wird nicht unterstützt.", probe.m_lastText);
    wnd.DestroyWindow();
}

} // namespace

namespace {

// ---- owner-drawn menu items -----------------------------------------------------------------------

class COwnerMenu : public CMenu {
public:
    std::vector<std::string> m_log;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override
    {
        m_log.push_back("measure " + std::to_string(lpMIS->itemID));
        lpMIS->itemHeight = 30;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override { m_log.push_back("draw " + std::to_string(lpDIS->itemID)); }
};

TEST(OwnerDrawMenu, ItemsOfAPermanentMenuAreMeasuredAndDrawnByIt)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "Menü", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL));
    CMenu bar;
    COwnerMenu popup;
    ASSERT_TRUE(bar.CreateMenu());
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_OWNERDRAW, 700, (LPCTSTR)(UINT_PTR)1);
    bar.AppendMenu(MF_POPUP, (UINT_PTR)popup.m_hMenu, "Datei");
    ASSERT_TRUE(wnd.SetMenu(&bar));

    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 700, 0, 0, 1};
    wnd.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    EXPECT_EQ(30u, mis.itemHeight);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemID = 700;
    dis.hwndItem = (HWND)popup.m_hMenu;
    wnd.SendMessage(WM_DRAWITEM, 0, (LPARAM)&dis);
    EXPECT_EQ((std::vector<std::string>{"measure 700", "draw 700"}), popup.m_log);

    ::SetMenu(wnd.m_hWnd, NULL);
    bar.RemoveMenu(0, MF_BYPOSITION); // the popup object destroys its own menu
    wnd.DestroyWindow();
}

} // namespace

namespace {

// ---- tooltips ------------------------------------------------------------------------------------

class CTipPanel : public CWnd {
public:
    BOOL m_bOwnTools = FALSE;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override
    {
        if (!m_bOwnTools)
            return CWnd::OnToolHitTest(point, pTI);
        // two tools of its own: the left and the right half
        CRect rect;
        GetClientRect(&rect);
        int nHit = point.x < rect.Width() / 2 ? 1 : 2;
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)nHit;
        pTI->rect = rect;
        pTI->lpszText = (LPSTR)(nHit == 1 ? "links" : "rechts");
        return nHit;
    }
};

TEST(ToolTips, MouseMessagesMakeTheToolUnderTheMouseTheOnlyOne)
{
    CTipPanel panel;
    ASSERT_TRUE(panel.CreateEx(0, NULL, "Tipps", WS_POPUP | WS_VISIBLE, 50, 50, 300, 100, NULL, NULL));
    HWND hFirst = CreateWindowExA(0, "BUTTON", "a", WS_CHILD | WS_VISIBLE, 0, 0, 100, 50, panel.m_hWnd, (HMENU)11, NULL, NULL);
    HWND hSecond = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 100, 0, 100, 50, panel.m_hWnd, (HMENU)12, NULL, NULL);
    ASSERT_TRUE(panel.EnableToolTips());
    CToolTipCtrl* pTip = AfxGetThreadState()->m_pToolTip;
    ASSERT_NE(nullptr, pTip);

    // A mouse move as the loop would take it from the queue, offered to the windows' translation.
    auto move = [&](HWND hWnd, int x, int y) {
        MSG msg = {};
        msg.hwnd = hWnd;
        msg.message = WM_MOUSEMOVE;
        msg.pt = {x, y};
        ::ClientToScreen(panel.m_hWnd, &msg.pt);
        CWnd::WalkPreTranslateTree(panel.m_hWnd, &msg);
    };
    auto currentTool = [&]() -> UINT_PTR {
        TTTOOLINFOA ti = {};
        ti.cbSize = sizeof(ti);
        if (pTip->GetToolCount() != 1 || !pTip->SendMessage(TTM_ENUMTOOLSA, 0, (LPARAM)&ti))
            return 0;
        return ti.uId;
    };

    move(hFirst, 10, 10);
    EXPECT_EQ((UINT_PTR)hFirst, currentTool());
    EXPECT_EQ(11, AfxGetThreadState()->m_nLastHit);
    move(hSecond, 150, 10);
    EXPECT_EQ((UINT_PTR)hSecond, currentTool());
    move(panel.m_hWnd, 250, 80);
    EXPECT_EQ(0, pTip->GetToolCount()) << "no tool outside the controls";

    panel.m_bOwnTools = TRUE;
    move(panel.m_hWnd, 20, 80);
    EXPECT_EQ(1u, currentTool());
    move(panel.m_hWnd, 280, 80);
    EXPECT_EQ(2u, currentTool());

    panel.EnableToolTips(FALSE);
    EXPECT_EQ(0, pTip->GetToolCount());
    move(panel.m_hWnd, 20, 80);
    EXPECT_EQ(0, pTip->GetToolCount()) << "disabled: no tools";

    panel.EnableToolTips(TRUE);
    move(panel.m_hWnd, 20, 80);
    EXPECT_EQ(1, pTip->GetToolCount());
    panel.DestroyWindow();
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_pLastHit) << "the destroyed window's tool is gone";
}

} // namespace

namespace {

// ---- messages to descendants, registered messages, notification ranges, timers ----------------

const UINT kDescendantProbe = WM_APP + 1;
const UINT kRegisteredProbe = ::RegisterWindowMessageA("OxRegisteredProbe");
const UINT kOtherRegistered = ::RegisterWindowMessageA("OxOtherRegistered");

// What the plain (not subclassed) windows of a test receive.
Log* g_pPlainLog = nullptr;

LRESULT CALLBACK PlainProbeProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kDescendantProbe && g_pPlainLog != nullptr) {
        char szName[32] = "";
        ::GetWindowTextA(hWnd, szName, sizeof(szName));
        g_pPlainLog->push_back(szName);
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

const char* PlainProbeClass()
{
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PlainProbeProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "OxPlainProbe";
        return ::RegisterClassA(&wc);
    }();
    return atom != 0 ? "OxPlainProbe" : NULL;
}

class CServiceWnd : public CWnd {
public:
    explicit CServiceWnd(Log& log) : m_log(log) {}
    Log& m_log;

    std::string Name() const
    {
        CString strText;
        GetWindowText(strText);
        return (LPCTSTR)strText;
    }
    afx_msg LRESULT OnDescendantProbe(WPARAM, LPARAM)
    {
        m_log.push_back(Name());
        return 0;
    }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM lParam)
    {
        m_log.push_back(Name() + " registered " + std::to_string(wParam));
        return lParam + 1;
    }
    afx_msg void OnClickRange(UINT nID, NMHDR*, LRESULT* pResult)
    {
        m_log.push_back(Name() + " click " + std::to_string(nID));
        *pResult = (LRESULT)nID;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent)
    {
        m_log.push_back(Name() + " timer " + std::to_string(nIDEvent));
        KillTimer(nIDEvent);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CServiceWnd, CWnd)
ON_MESSAGE(kDescendantProbe, OnDescendantProbe)
ON_REGISTERED_MESSAGE(kRegisteredProbe, OnRegistered)
ON_NOTIFY_RANGE(NM_CLICK, 700, 709, OnClickRange)
ON_WM_TIMER()
END_MESSAGE_MAP()

class WindowServices : public ::testing::Test {
protected:
    // top -> a (object) -> a1 (object); top -> b (plain window) -> b1 (object)
    Log log;
    CServiceWnd top{log}, a{log}, a1{log}, b1{log};
    HWND hB = NULL;

    void SetUp() override
    {
        g_pPlainLog = &log;
        ASSERT_NE(nullptr, PlainProbeClass());
        ASSERT_TRUE(top.CreateEx(0, NULL, "top", WS_POPUP, 0, 0, 300, 200, NULL, NULL));
        ASSERT_TRUE(a.Create(NULL, "a", WS_CHILD, TestRect(), &top, 701));
        ASSERT_TRUE(a1.Create(NULL, "a1", WS_CHILD, TestRect(), &a, 702));
        hB = ::CreateWindowExA(0, PlainProbeClass(), "b", WS_CHILD, 0, 0, 50, 50, top.m_hWnd, (HMENU)(UINT_PTR)705,
                               NULL, NULL);
        ASSERT_NE(nullptr, hB);
        ASSERT_TRUE(b1.Create(NULL, "b1", WS_CHILD, TestRect(), CWnd::FromHandle(hB), 710));
    }
    void TearDown() override
    {
        top.DestroyWindow();
        g_pPlainLog = nullptr;
        CWnd::DeleteTempMap();
    }
};

TEST_F(WindowServices, SendMessageToDescendantsReachesTheChildrenItIsAskedFor)
{
    struct Case {
        BOOL bDeep;
        BOOL bOnlyPerm;
        Log expected; // sorted
    } const cases[] = {
        {TRUE, FALSE, {"a", "a1", "b", "b1"}},
        {FALSE, FALSE, {"a", "b"}},
        // windows without an object are passed over, but their children are still reached
        {TRUE, TRUE, {"a", "a1", "b1"}},
        {FALSE, TRUE, {"a"}},
    };
    for (const Case& c : cases) {
        log.clear();
        top.SendMessageToDescendants(kDescendantProbe, 0, 0, c.bDeep, c.bOnlyPerm);
        std::sort(log.begin(), log.end());
        EXPECT_EQ(c.expected, log) << "deep " << c.bDeep << ", only permanent " << c.bOnlyPerm;
    }
}

TEST_F(WindowServices, RegisteredMessagesAndNotificationRanges)
{
    // A registered message reaches the handler of its own number only.
    EXPECT_EQ(42, top.SendMessage(kRegisteredProbe, 7, 41));
    EXPECT_EQ(0, top.SendMessage(kOtherRegistered, 8, 41));
    EXPECT_EQ((Log{"top registered 7"}), log);

    // Notifications by the id of the window they come from: inside the range and outside it, and
    // another code.
    struct Case {
        HWND hWndFrom;
        UINT nCode;
        LRESULT nResult;
        Log expected;
    } const cases[] = {
        {hB, (UINT)NM_CLICK, 705, {"top click 705"}},
        {b1.m_hWnd, (UINT)NM_CLICK, 0, {}},
        {hB, (UINT)NM_DBLCLK, 0, {}},
    };
    for (const Case& c : cases) {
        log.clear();
        NMHDR hdr = {c.hWndFrom, (UINT_PTR)::GetDlgCtrlID(c.hWndFrom), c.nCode};
        EXPECT_EQ(c.nResult, top.SendMessage(WM_NOTIFY, hdr.idFrom, (LPARAM)&hdr)) << hdr.idFrom << " " << (int)c.nCode;
        EXPECT_EQ(c.expected, log) << hdr.idFrom << " " << (int)c.nCode;
    }
}

TEST_F(WindowServices, TimerMessagesReachTheHandler)
{
    ASSERT_NE(0u, top.SetTimer(3, 1, NULL));
    // The loop's work until the timer came (at most a few seconds).
    const DWORD dwStart = ::GetTickCount();
    while (log.empty() && ::GetTickCount() - dwStart < 5000) {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    EXPECT_EQ((Log{"top timer 3"}), log);
}

} // namespace
