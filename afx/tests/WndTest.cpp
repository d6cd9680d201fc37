// CWnd over real windows: the handle maps, text, messages, focus and destruction; the main
// window of threads; the application's wait cursor; AfxAbort.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "afxwin.h"

namespace {

const UINT WM_PROBE = WM_APP + 1;
const char kClassName[] = "OxAfxWndTest";

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PROBE)
        return (LRESULT)(wParam * 1000 + lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class WndTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
    }

    void TearDown() override
    {
        CWnd::DeleteTempMap();
        for (HWND hwnd : m_windows)
            if (IsWindow(hwnd))
                ::DestroyWindow(hwnd);
    }

    // A top-level window of the probe class, or an edit control inside parent.
    HWND Make(const char* text, HWND parent = NULL)
    {
        HWND hwnd = parent == NULL ? CreateWindowExA(0, kClassName, text, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                                                     200, NULL, NULL, GetModuleHandleA(NULL), NULL)
                                   : CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, parent,
                                                     NULL, GetModuleHandleA(NULL), NULL);
        EXPECT_NE(nullptr, hwnd);
        m_windows.push_back(hwnd);
        return hwnd;
    }

    std::vector<HWND> m_windows;
};

TEST_F(WndTest, FromHandleAnswersThePermanentObjectElseATemporaryOne)
{
    HWND first = Make("eins");
    HWND second = Make("zwei");
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(first));

    EXPECT_EQ(&wnd, CWnd::FromHandle(first));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(first));
    EXPECT_EQ(nullptr, CWnd::FromHandle(NULL));

    CWnd* pTemp = CWnd::FromHandle(second);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(second, pTemp->m_hWnd);
    EXPECT_EQ(pTemp, CWnd::FromHandle(second)) << "one temporary object per handle";
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(second));
    EXPECT_TRUE(pTemp->IsKindOf(RUNTIME_CLASS(CWnd)));

    // The maps belong to the thread: another thread gets its own temporary object.
    CWnd* pOther = nullptr;
    std::thread([&] { pOther = CWnd::FromHandlePermanent(first); }).join();
    EXPECT_EQ(nullptr, pOther);

    EXPECT_EQ(first, wnd.Detach());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(first));
    EXPECT_TRUE(IsWindow(first)) << "Detach leaves the window";
}

TEST_F(WndTest, AttachRefusesNullAndASecondWindow)
{
    CWnd wnd;
    EXPECT_FALSE(wnd.Attach(NULL));
    HWND first = Make("eins");
    EXPECT_TRUE(wnd.Attach(first));
    EXPECT_FALSE(wnd.Attach(Make("zwei")));
    EXPECT_EQ(first, wnd.m_hWnd);
    wnd.Detach();
}

TEST_F(WndTest, GetSafeHwndOfNoObjectIsNull)
{
    CWnd* volatile pNone = nullptr;
    EXPECT_EQ(nullptr, pNone->GetSafeHwnd());
    CWnd wnd;
    HWND hwnd = Make("eins");
    wnd.Attach(hwnd);
    EXPECT_EQ(hwnd, wnd.GetSafeHwnd());
    EXPECT_EQ(hwnd, (HWND)wnd);
    wnd.Detach();
}

TEST_F(WndTest, TextAndMessagesReachTheWindow)
{
    CWnd* pWnd = CWnd::FromHandle(Make("Grüße aus OX"));

    CString text;
    pWnd->GetWindowText(text);
    EXPECT_STREQ("Grüße aus OX", text);

    char buffer[5] = "xxxx";
    EXPECT_EQ(4, pWnd->GetWindowText(buffer, sizeof buffer));
    EXPECT_STREQ("Grüß", buffer);

    EXPECT_EQ(7003, pWnd->SendMessage(WM_PROBE, 7, 3));

    ASSERT_TRUE(pWnd->PostMessage(WM_PROBE, 1, 2));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, pWnd->m_hWnd, WM_PROBE, WM_PROBE, PM_REMOVE));
    EXPECT_EQ(1u, msg.wParam);
    EXPECT_EQ(2, msg.lParam);
}

TEST_F(WndTest, FocusMovesBetweenWindows)
{
    HWND frame = Make("Rahmen");
    SetForegroundWindow(frame);
    CWnd* pFirst = CWnd::FromHandle(Make("a", frame));
    CWnd* pSecond = CWnd::FromHandle(Make("b", frame));

    pFirst->SetFocus();
    EXPECT_EQ(pFirst, CWnd::GetFocus());
    CWnd* pBefore = pSecond->SetFocus();
    ASSERT_NE(nullptr, pBefore);
    EXPECT_EQ(pFirst->m_hWnd, pBefore->m_hWnd);
    EXPECT_EQ(pSecond->m_hWnd, ::GetFocus());
}

TEST_F(WndTest, IsWindowEnabledFollowsTheWindow)
{
    CWnd* pWnd = CWnd::FromHandle(Make("eins"));
    EXPECT_TRUE(pWnd->IsWindowEnabled());
    EnableWindow(pWnd->m_hWnd, FALSE);
    EXPECT_FALSE(pWnd->IsWindowEnabled());
}

TEST_F(WndTest, DestroyWindowDestroysAndDetaches)
{
    HWND permanent = Make("eins");
    CWnd wnd;
    wnd.Attach(permanent);
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(IsWindow(permanent));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(permanent));
    EXPECT_FALSE(wnd.DestroyWindow()) << "no window left";

    HWND temporary = Make("zwei");
    CWnd* pTemp = CWnd::FromHandle(temporary);
    EXPECT_TRUE(pTemp->DestroyWindow());
    EXPECT_FALSE(IsWindow(temporary));
    EXPECT_EQ(nullptr, pTemp->m_hWnd);
}

TEST_F(WndTest, DestructorDestroysTheAttachedWindow)
{
    HWND attached = Make("eins");
    HWND detached = Make("zwei");
    {
        CWnd first, second;
        first.Attach(attached);
        second.Attach(detached);
        second.Detach();
    }
    EXPECT_FALSE(IsWindow(attached));
    EXPECT_TRUE(IsWindow(detached));
}

TEST_F(WndTest, DeleteTempMapLeavesTheWindows)
{
    HWND hwnd = Make("eins");
    CWnd::FromHandle(hwnd);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(hwnd));
    CWnd* pAgain = CWnd::FromHandle(hwnd);
    ASSERT_NE(nullptr, pAgain);
    EXPECT_EQ(hwnd, pAgain->m_hWnd);
}

TEST_F(WndTest, MainWindowOfTheThreadElseOfTheApplication)
{
    EXPECT_EQ(nullptr, AfxGetMainWnd());
    CWinApp app;
    CWnd main;
    main.Attach(Make("Hauptfenster"));
    app.m_pMainWnd = &main;
    EXPECT_EQ(&main, AfxGetMainWnd());

    // A worker thread without a main window of its own answers the application's; one with its
    // own answers that.
    CWnd own;
    own.Attach(Make("eigenes"));
    CWnd* pSeen[2] = {nullptr, nullptr};
    struct Param {
        CWnd** pSeen;
        CWnd* pOwn;
    } param{pSeen, &own};
    auto proc = [](LPVOID p) -> UINT {
        Param* pParam = (Param*)p;
        pParam->pSeen[0] = AfxGetMainWnd();
        AfxGetThread()->m_pMainWnd = pParam->pOwn;
        pParam->pSeen[1] = AfxGetMainWnd();
        return 0;
    };
    CWinThread* pThread = AfxBeginThread(proc, &param, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    WaitForSingleObject(pThread->m_hThread, INFINITE);
    delete pThread;
    EXPECT_EQ(&main, pSeen[0]);
    EXPECT_EQ(&own, pSeen[1]);
    own.Detach();

    app.m_pMainWnd = NULL;
    EXPECT_EQ(nullptr, AfxGetMainWnd());
}

TEST(WaitCursor, CountsBeginsAndEnds)
{
    HCURSOR wait = LoadCursorA(NULL, (LPCSTR)IDC_WAIT);
    HCURSOR cross = LoadCursorA(NULL, (LPCSTR)IDC_CROSS);
    HCURSOR arrow = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);

    // Without an application object nothing happens.
    SetCursor(cross);
    CCmdTarget target;
    target.BeginWaitCursor();
    EXPECT_EQ(cross, GetCursor());
    target.EndWaitCursor();

    CWinApp app;
    app.BeginWaitCursor();
    EXPECT_EQ(wait, GetCursor());
    target.BeginWaitCursor(); // any command target works for the application
    EXPECT_EQ(2, app.m_nWaitCursorCount);

    SetCursor(arrow);
    app.RestoreWaitCursor();
    EXPECT_EQ(wait, GetCursor());

    target.EndWaitCursor();
    EXPECT_EQ(wait, GetCursor()) << "one showing is still open";
    app.EndWaitCursor();
    EXPECT_EQ(cross, GetCursor()) << "the cursor from before the first showing comes back";

    app.EndWaitCursor();
    EXPECT_EQ(0, app.m_nWaitCursorCount) << "an end too many does not count below 0";
    app.RestoreWaitCursor();
    EXPECT_EQ(cross, GetCursor());
}

TEST(AfxAbortDeathTest, EndsTheProgramWithExitCode3)
{
    EXPECT_EXIT(AfxAbort(), ::testing::ExitedWithCode(3), "");
}

} // namespace
