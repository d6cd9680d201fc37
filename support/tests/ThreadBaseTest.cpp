// clsThreadBase: start, restart, suspend and resume, stop with and without cooperation.
#include <gtest/gtest.h>

#include <atomic>

#include "DebugCapture.h"
#include "DebugOutput.h"
#include "clsThreadBase.h"

namespace {

// A thread that counts its runs and ends when asked (or never, when stubborn).
class Worker : public clsThreadBase {
public:
    explicit Worker(bool stubborn = false, DWORD result = 7) : clsThreadBase("worker"), m_stubborn(stubborn), m_result(result) {}
    ~Worker() override
    {
        ThreadStop(false, 1000);
        CloseHandle(entered);
    }
    // Set when a run of the body has begun.
    HANDLE entered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> runs{0};
    std::atomic<bool> finish{false};
    std::atomic<bool> sawStop{false};

protected:
    DWORD ThreadMain() override
    {
        ++runs;
        SetEvent(entered);
        while (!finish) {
            if (!WaitForStop(10)) {
                sawStop = true;
                if (!m_stubborn)
                    break;
            }
        }
        return m_result;
    }

private:
    bool m_stubborn;
    DWORD m_result;
};

// Waits until the thread reached the state (it ends on its own after finish).
bool WaitForState(clsThreadBase& t, int state)
{
    for (int i = 0; i < 500; ++i) {
        if (t.GetState() == state)
            return true;
        WaitForSingleObject(t.ThreadHandle(), 10);
    }
    return false;
}

} // namespace

TEST(clsThreadBase, StartRunsTheThreadBeforeReturning)
{
    Worker w;
    EXPECT_EQ(0, w.GetState());
    w.ThreadStart();
    EXPECT_EQ(1, w.GetState());
    EXPECT_NE(0u, w.ThreadId());
    w.ThreadStop(false, 5000);
    EXPECT_TRUE(w.sawStop);
    EXPECT_EQ(0, w.GetState());
    EXPECT_EQ(nullptr, w.ThreadHandle());
}

TEST(clsThreadBase, AnEndedThreadIsRestartedWithANewThread)
{
    Worker w;
    w.finish = true;
    w.ThreadStart();
    ASSERT_TRUE(WaitForState(w, 3));
    DWORD code = 0;
    EXPECT_TRUE(w.GetExitCode(&code));
    EXPECT_EQ(7u, code);
    HANDLE first = nullptr;
    DuplicateHandle(GetCurrentProcess(), w.ThreadHandle(), GetCurrentProcess(), &first, 0, FALSE, DUPLICATE_SAME_ACCESS);
    w.ThreadStart();
    EXPECT_NE(first, w.ThreadHandle());
    ASSERT_TRUE(WaitForState(w, 3)) << "the new thread runs its body again and ends";
    EXPECT_EQ(2, w.runs.load());
    CloseHandle(first);
    w.ThreadStop(false, 5000);
}

TEST(clsThreadBase, StartOnASuspendedThreadOnlyResumesIt)
{
    Worker w;
    w.ThreadStart();
    WaitForSingleObject(w.entered, INFINITE);
    DWORD id = w.ThreadId();
    SuspendThread(w.ThreadHandle());
    EXPECT_EQ(2, w.GetState());
    w.ThreadStart();
    EXPECT_EQ(1, w.GetState());
    EXPECT_EQ(id, w.ThreadId());
    EXPECT_EQ(1, w.runs.load());
    w.ThreadStop(false, 5000);
}

TEST(clsThreadBase, StopTerminatesAThreadThatIgnoresItsStopEvent)
{
    Worker w(true);
    w.ThreadStart();
    HANDLE dup = nullptr;
    DuplicateHandle(GetCurrentProcess(), w.ThreadHandle(), GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS);
    w.ThreadStop(false, 1000);
    EXPECT_EQ(nullptr, w.ThreadHandle());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dup, 5000));
    DWORD code = 99;
    GetExitCodeThread(dup, &code);
    EXPECT_EQ(0u, code) << "a terminated thread ends with exit code 0, not its own result";
    EXPECT_TRUE(w.sawStop);
    CloseHandle(dup);
}

TEST(clsThreadBase, StopWithTheFlagTerminatesASuspendedThreadAtOnce)
{
    Worker w;
    w.ThreadStart();
    HANDLE dup = nullptr;
    DuplicateHandle(GetCurrentProcess(), w.ThreadHandle(), GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS);
    SuspendThread(w.ThreadHandle());
    w.ThreadStop(true, INFINITE);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dup, 5000));
    DWORD code = 99;
    GetExitCodeThread(dup, &code);
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(w.sawStop) << "a suspended thread never ran again";
    CloseHandle(dup);
}

TEST(clsThreadBase, WaitForStopAnswersTrueOnTimeOut)
{
    class Probe : public clsThreadBase {
    public:
        bool first = false, second = true;
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ~Probe() override
        {
            ThreadStop(false, 5000);
            CloseHandle(ready);
        }

    protected:
        DWORD ThreadMain() override
        {
            first = WaitForStop(1);
            SetEvent(ready);
            second = WaitForStop(INFINITE);
            return 0;
        }
    } p;
    p.ThreadStart();
    WaitForSingleObject(p.ready, INFINITE);
    p.ThreadStop(false, 5000);
    EXPECT_TRUE(p.first);
    EXPECT_FALSE(p.second);
}

TEST(clsThreadBase, DestructorStopsALeftOverThreadWithAWarning)
{
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    class Careless : public clsThreadBase {
    protected:
        DWORD ThreadMain() override
        {
            WaitForStop(INFINITE);
            return 0;
        }
    };
    {
        Careless c;
        c.ThreadStart();
    }
    DebugChannelClose();
    auto lines = oxtest::LinesContaining(capture.Take(), "derived class does not end thread");
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("support_thread_test:WRN: derived class does not end thread. I do it here - cross your fingers that "
              "the derived class does not access any members in the thread function!!!",
              lines[0]);
}
