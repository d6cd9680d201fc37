// The wait cursor, the skin guard, the status-bar progress (through a recording status bar), the
// queue of work for the user-interface thread and the window helpers.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "CMfxUiQueue.h"
#include "CMfxWaitCursor.h"
#include "CSkinHookGuard.h"
#include "CStatusProgress.h"
#include "CStatusProgressSink.h"
#include "MfxWindows.h"
#include "TestKit.h"
#include "vlCT11.h"

namespace {

HWND TopWindow(const char* title, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE)
{
    return CreateWindowExA(0, "STATIC", title, style, 30, 30, 300, 200, NULL, NULL, GetModuleHandleA(NULL), NULL);
}

TEST(CMfxWaitCursor, ShowsTheWaitCursorWhileItLives)
{
    HCURSOR wait = LoadCursorA(NULL, (LPCSTR)IDC_WAIT);
    HCURSOR cross = LoadCursorA(NULL, (LPCSTR)IDC_CROSS);
    CWinApp app("mfx_test");
    SetCursor(cross);
    {
        CMfxWaitCursor outer;
        EXPECT_EQ(wait, GetCursor());
        {
            CMfxWaitCursor inner;
            EXPECT_EQ(2, app.m_nWaitCursorCount);
        }
        EXPECT_EQ(wait, GetCursor()) << "the outer one still lives";
    }
    EXPECT_EQ(cross, GetCursor());
    EXPECT_EQ(0, app.m_nWaitCursorCount);

    // With a main window it works through that window, for the same application.
    CWnd main;
    main.Attach(TopWindow("OX"));
    app.m_pMainWnd = &main;
    {
        CMfxWaitCursor guard;
        EXPECT_EQ(1, app.m_nWaitCursorCount);
    }
    EXPECT_EQ(0, app.m_nWaitCursorCount);
}

TEST(CSkinHookGuard, SetsThreeAndPutsThePreviousFlagsBack)
{
    CtlSkinHookingProhibitionFlags(5);
    {
        CSkinHookGuard guard;
        EXPECT_EQ(3, CtlSkinHookingProhibitionFlags(3));
    }
    EXPECT_EQ(5, CtlSkinHookingProhibitionFlags(0));
}

// A status bar that writes down what it is asked to do.
class RecordingStatusBar : public CStatusProgressSink {
public:
    void SetPaneText(LPCTSTR lpszText) override
    {
        calls.push_back(std::string("text ") + lpszText);
        threads.push_back(GetCurrentThreadId());
    }
    BOOL StartProgress() override
    {
        calls.push_back("start");
        threads.push_back(GetCurrentThreadId());
        position = 0;
        return startResult;
    }
    void StopProgress() override
    {
        calls.push_back("stop");
        position = -1;
    }
    void SetProgress(int nPos) override
    {
        calls.push_back("pos " + std::to_string(nPos));
        position = nPos;
    }
    void StepProgress(int nStep) override
    {
        calls.push_back("step " + std::to_string(nStep));
        threads.push_back(GetCurrentThreadId());
        position = (position + nStep) % 100;
    }
    int GetProgressPos() override { return position; }

    std::vector<std::string> calls;
    std::vector<DWORD> threads; // of the text, start and step calls
    int position = -1;
    BOOL startResult = TRUE;
};

using oxtest::PumpMessages;

class StatusProgressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_main.Attach(TopWindow("OX"));
        m_app.m_pMainWnd = &m_main;
        CStatusProgress::AttachSink(&m_bar);
    }
    void TearDown() override { CStatusProgress::AttachSink(NULL); }

    CWinApp m_app{"mfx_test"};
    CWnd m_main;
    RecordingStatusBar m_bar;
};

TEST_F(StatusProgressTest, ProgressWithPositionsEndsWithPleaseWait)
{
    CStatusProgress progress;
    EXPECT_TRUE(progress.Begin("Termine werden geladen"));
    progress.Step(20);
    progress.SetPos(100);
    progress.End();
    EXPECT_EQ((std::vector<std::string>{"text Termine werden geladen", "start", "step 20", "pos 100",
                                        "text Moment bitte...", "stop"}),
              m_bar.calls);
}

TEST_F(StatusProgressTest, ProgressWithoutPositionEndsWithReady)
{
    {
        CStatusProgress progress(TRUE); // ends itself
        progress.Begin("Filter");
        progress.SetPos(0);
    }
    EXPECT_EQ((std::vector<std::string>{"text Filter", "start", "pos 0", "text Fertig!", "stop"}), m_bar.calls);
}

TEST_F(StatusProgressTest, BeginAnswersTheStatusBarsStart)
{
    m_bar.startResult = FALSE;
    CStatusProgress progress;
    EXPECT_FALSE(progress.Begin("x"));
}

TEST_F(StatusProgressTest, NothingHappensWithoutBarOrMainWindow)
{
    CStatusProgress::AttachSink(NULL);
    CStatusProgress progress(TRUE);
    EXPECT_TRUE(progress.Begin("x"));
    progress.Step(5);
    progress.End();

    CStatusProgress::AttachSink(&m_bar);
    m_app.m_pMainWnd = NULL;
    EXPECT_TRUE(progress.Begin("x"));
    progress.SetPos(10);
    progress.End();
    EXPECT_TRUE(m_bar.calls.empty());
}

// Only the user-interface thread touches the bar: another thread's calls wait until the
// user-interface thread runs its message loop, and come in their order.
TEST_F(StatusProgressTest, CallsOfOtherThreadsAreMadeByTheUserInterfaceThread)
{
    CMfxUiQueue::Attach();
    m_bar.startResult = FALSE;
    BOOL begun = FALSE;
    std::thread worker([&] {
        CStatusProgress progress;
        begun = progress.Begin("Termine werden geladen");
        progress.Step(10);
        progress.SetPos(100);
        progress.End();
    });
    worker.join();
    EXPECT_TRUE(begun) << "a start that has to wait answers TRUE";
    EXPECT_TRUE(m_bar.calls.empty());
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"text Termine werden geladen", "start", "step 10", "pos 100",
                                        "text Moment bitte...", "stop"}),
              m_bar.calls);
    ASSERT_FALSE(m_bar.threads.empty());
    for (DWORD thread : m_bar.threads)
        EXPECT_EQ(GetCurrentThreadId(), thread);
}

// While the user-interface thread holds a lock (a hold of the queue), its own calls wait for the
// end of the hold.
TEST_F(StatusProgressTest, CallsDuringAHoldWaitForItsEnd)
{
    CStatusProgress progress;
    CMfxUiQueue::EnterHold();
    CMfxUiQueue::EnterHold();
    progress.Step(5);
    CMfxUiQueue::LeaveHold();
    const std::vector<std::string> insideOuterHold = m_bar.calls;
    CMfxUiQueue::LeaveHold();
    EXPECT_TRUE(insideOuterHold.empty());
    EXPECT_EQ((std::vector<std::string>{"step 5"}), m_bar.calls);
}

// The queue itself: tasks of other threads run on the user-interface thread in their order; a
// task that pumps messages (a box) starts no queued task inside it; a task that throws does not
// keep the others from running.
TEST(MfxUiQueue, QueuedTasksRunInOrderAndNeverNested)
{
    CMfxUiQueue::Attach();
    std::vector<std::string> events;
    std::thread worker([&] {
        CMfxUiQueue::Run([&] {
            events.push_back("first begins");
            PumpMessages(); // as a box's message loop would
            events.push_back("first ends");
        });
        CMfxUiQueue::Run([&] {
            events.push_back("second");
            AfxThrowUserException();
        });
        CMfxUiQueue::Run([&] { events.push_back("third"); });
    });
    worker.join();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(3, CMfxUiQueue::GetPendingCount());
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"first begins", "first ends", "second", "third"}), events);
    EXPECT_EQ(0, CMfxUiQueue::GetPendingCount());

    // On the user-interface thread outside a hold a task runs at once.
    events.clear();
    EXPECT_TRUE(CMfxUiQueue::Run([&] { events.push_back("now"); }));
    EXPECT_EQ((std::vector<std::string>{"now"}), events);
}

TEST(MfxGetCtrlID, ComboBoxEditAnswersTheComboBox)
{
    CWnd frame;
    frame.Attach(TopWindow("Dialog"));
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 10, 150, 100,
                                 frame.m_hWnd, (HMENU)1234, GetModuleHandleA(NULL), NULL);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 50, 100, 20, frame.m_hWnd, (HMENU)77,
                                GetModuleHandleA(NULL), NULL);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    ASSERT_NE(nullptr, info.hwndItem);

    EXPECT_EQ(1234, MfxGetCtrlID(CWnd::FromHandle(info.hwndItem)));
    EXPECT_EQ(1234, MfxGetCtrlID(CWnd::FromHandle(combo)));
    EXPECT_EQ(77, MfxGetCtrlID(CWnd::FromHandle(edit)));
    EXPECT_EQ(0, MfxGetCtrlID(NULL));
    CWnd::DeleteTempMap();
}

TEST(MfxForceForegroundWindow, ShowsRestoresAndActivates)
{
    CWnd hidden, minimised, other;
    other.Attach(TopWindow("anderes"));
    hidden.Attach(TopWindow("versteckt", WS_OVERLAPPEDWINDOW));
    minimised.Attach(TopWindow("minimiert"));
    ShowWindow(minimised.m_hWnd, SW_MINIMIZE);
    SetForegroundWindow(other.m_hWnd);

    EXPECT_TRUE(MfxForceForegroundWindow(&hidden));
    EXPECT_TRUE(IsWindowVisible(hidden.m_hWnd));
    EXPECT_EQ(hidden.m_hWnd, GetForegroundWindow());

    EXPECT_TRUE(MfxForceForegroundWindow(&minimised));
    EXPECT_FALSE(IsIconic(minimised.m_hWnd));
    EXPECT_EQ(minimised.m_hWnd, GetForegroundWindow());

    // A disabled hidden window is not shown.
    CWnd disabled;
    disabled.Attach(TopWindow("gesperrt", WS_OVERLAPPEDWINDOW | WS_DISABLED));
    MfxForceForegroundWindow(&disabled);
    EXPECT_FALSE(IsWindowVisible(disabled.m_hWnd));
}

} // namespace
