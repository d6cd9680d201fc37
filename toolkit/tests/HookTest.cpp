// Window hooks: the chain of hooks per window (newest first), unhooking in any order, destruction
// of a hooked window, somebody else's subclass over the hooks, and the current message seen from
// inside a hook.
#include <gtest/gtest.h>

#include "CTkWindowMap.h"
#include "CTkWndHook.h"
#include "ToolkitTestSupport.h"

#include <AfxThreadState.h>

#include <string>
#include <vector>

namespace {

const UINT WM_PROBE = WM_APP + 1;

std::vector<std::string>& TheLog()
{
    static std::vector<std::string> s_log;
    return s_log;
}

using Log = std::vector<std::string>;

LRESULT CALLBACK OwnWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PROBE)
        TheLog().push_back("own");
    else if (message == WM_NCDESTROY)
        TheLog().push_back("own ncdestroy");
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

class CRecordingHook : public CTkWndHook {
public:
    explicit CRecordingHook(const char* pszName) : m_strName(pszName) {}

    BOOL HookWindow(HWND hWnd) override
    {
        if (hWnd == NULL && m_hWnd != NULL)
            TheLog().push_back("unhook " + m_strName);
        return CTkWndHook::HookWindow(hWnd);
    }
    using CTkWndHook::HookWindow;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PROBE) {
            TheLog().push_back(m_strName);
            const MSG* pMsg = CWnd::GetCurrentMessage();
            m_seen = *pMsg;
        }
        return CTkWndHook::WindowProc(message, wParam, lParam);
    }

    std::string m_strName;
    MSG m_seen = {};
};

// A library window object over the test window, put there after the hooks.
class CRecordingWnd : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PROBE)
            TheLog().push_back("cwnd");
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class HookTest : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnWndProc;
        wc.hInstance = ::GetModuleHandleA(NULL);
        wc.lpszClassName = "OxToolkitHookTest";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(0, "OxToolkitHookTest", "hooked", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL,
                                   ::GetModuleHandleA(NULL), NULL);
        ASSERT_NE(nullptr, m_hWnd);
        TheLog().clear();
    }

    void TearDown() override
    {
        if (::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }

    Log Probe()
    {
        TheLog().clear();
        ::SendMessageA(m_hWnd, WM_PROBE, 0, 0);
        return TheLog();
    }

    WNDPROC Proc() const { return (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC); }

    tktest::CTestApp m_app;
    HWND m_hWnd = NULL;
};

} // namespace

TEST_F(HookTest, NewestHookFirstAndUnhookingInAnyOrder)
{
    CRecordingHook a("A"), b("B");
    EXPECT_TRUE(a.HookWindow(m_hWnd));
    EXPECT_TRUE(b.HookWindow(CWnd::FromHandle(m_hWnd)));
    EXPECT_EQ(TkHookWndProc, Proc());
    EXPECT_EQ(&b, TkGetWindowMap().Lookup(m_hWnd));
    EXPECT_EQ((Log{"B", "A", "own"}), Probe());

    EXPECT_TRUE(a.HookWindow((HWND)NULL));
    EXPECT_FALSE(a.IsWindowHooked());
    EXPECT_EQ(TkHookWndProc, Proc()) << "B still watches the window";
    EXPECT_EQ((Log{"B", "own"}), Probe());

    EXPECT_TRUE(b.HookWindow((HWND)NULL));
    EXPECT_EQ(OwnWndProc, Proc());
    EXPECT_EQ(nullptr, TkGetWindowMap().Lookup(m_hWnd));
    EXPECT_EQ((Log{"own"}), Probe());

    // unhooking an unhooked hook does nothing
    TheLog().clear();
    EXPECT_TRUE(b.HookWindow((HWND)NULL));
    EXPECT_TRUE(TheLog().empty());

    // hooks join again after leaving; the middle one of three can leave first
    CRecordingHook c("C");
    a.HookWindow(m_hWnd);
    b.HookWindow(m_hWnd);
    c.HookWindow(m_hWnd);
    TheLog().clear();
    b.HookWindow((HWND)NULL);
    EXPECT_EQ((Log{"unhook B"}), TheLog());
    EXPECT_EQ((Log{"C", "A", "own"}), Probe());
    c.HookWindow((HWND)NULL);
    a.HookWindow((HWND)NULL);
    EXPECT_EQ(OwnWndProc, Proc());

    // hooking a hooked hook again leaves its place in the chain first instead of linking it twice
    a.HookWindow(m_hWnd);
    b.HookWindow(m_hWnd);
    a.HookWindow(m_hWnd);
    EXPECT_EQ((Log{"A", "B", "own"}), Probe());
    a.HookWindow((HWND)NULL);
    b.HookWindow((HWND)NULL);
    EXPECT_EQ(OwnWndProc, Proc());
}

TEST_F(HookTest, DestroyingTheWindowUnhooksEveryHookNewestFirst)
{
    CRecordingHook a("A"), b("B"), c("C");
    a.HookWindow(m_hWnd);
    b.HookWindow(m_hWnd);
    c.HookWindow(m_hWnd);
    TheLog().clear();
    ::DestroyWindow(m_hWnd);
    EXPECT_EQ((Log{"unhook C", "unhook B", "unhook A", "own ncdestroy"}), TheLog());
    EXPECT_EQ(nullptr, TkGetWindowMap().Lookup(m_hWnd));
    EXPECT_FALSE(a.IsWindowHooked());
    EXPECT_FALSE(b.IsWindowHooked());
    EXPECT_FALSE(c.IsWindowHooked());
}

TEST_F(HookTest, HookDestructorUnhooks)
{
    {
        CRecordingHook a("A");
        a.HookWindow(m_hWnd);
    }
    EXPECT_EQ(OwnWndProc, Proc());
    EXPECT_EQ((Log{"own"}), Probe());
}

// Somebody subclasses the window after its first hook: the last hook going must not cut that
// subclass out, and the window keeps working with and without hooks until it is destroyed.
TEST_F(HookTest, SubclassOverTheHooksStaysInPlace)
{
    CRecordingHook a("A");
    a.HookWindow(m_hWnd);
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
    const WNDPROC pfnLibrary = Proc();
    ASSERT_NE(TkHookWndProc, pfnLibrary);
    EXPECT_EQ((Log{"cwnd", "A", "own"}), Probe());

    a.HookWindow((HWND)NULL);
    EXPECT_EQ(pfnLibrary, Proc()) << "the library's subclass stays";
    EXPECT_EQ((Log{"cwnd", "own"}), Probe());
    EXPECT_NE(nullptr, TkGetWindowMap().LookupPassThrough(m_hWnd));

    // the library gives the window back: the toolkit's procedure passes everything on
    wnd.UnsubclassWindow();
    EXPECT_EQ(TkHookWndProc, Proc());
    EXPECT_EQ((Log{"own"}), Probe());

    // a new hook takes up the old procedure again, and its leaving restores it
    CRecordingHook b("B");
    b.HookWindow(m_hWnd);
    EXPECT_EQ(nullptr, TkGetWindowMap().LookupPassThrough(m_hWnd));
    EXPECT_EQ((Log{"B", "own"}), Probe());
    b.HookWindow((HWND)NULL);
    EXPECT_EQ(OwnWndProc, Proc());
    EXPECT_EQ((Log{"own"}), Probe());
}

TEST_F(HookTest, PassThroughEntryGoesWithTheWindow)
{
    CRecordingHook a("A");
    a.HookWindow(m_hWnd);
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_hWnd));
    a.HookWindow((HWND)NULL);
    ASSERT_NE(nullptr, TkGetWindowMap().LookupPassThrough(m_hWnd));
    TheLog().clear();
    ::DestroyWindow(m_hWnd);
    EXPECT_EQ((Log{"own ncdestroy"}), TheLog());
    EXPECT_EQ(nullptr, TkGetWindowMap().LookupPassThrough(m_hWnd));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
}

TEST_F(HookTest, HookSeesTheHookedMessageAsCurrent)
{
    CRecordingHook a("A");
    a.HookWindow(m_hWnd);
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    pState->m_lastSentMsg.message = WM_NULL;
    pState->m_lastSentMsg.hwnd = NULL;
    pState->m_lastSentMsg.wParam = 5;
    ::SendMessageA(m_hWnd, WM_PROBE, 77, 88);
    EXPECT_EQ(m_hWnd, a.m_seen.hwnd);
    EXPECT_EQ(WM_PROBE, a.m_seen.message);
    EXPECT_EQ(77u, a.m_seen.wParam);
    EXPECT_EQ(88, a.m_seen.lParam);
    // the record is given back afterwards
    EXPECT_EQ((UINT)WM_NULL, pState->m_lastSentMsg.message);
    EXPECT_EQ(nullptr, pState->m_lastSentMsg.hwnd);
    EXPECT_EQ(5u, pState->m_lastSentMsg.wParam);
}
