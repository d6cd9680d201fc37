// The call frame and the job's error delivery, tested through framed functions of the same shape
// as the engine's exports (the engine's objects are linked into this program).
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "CallFrame.h"
#include "CtlLog.h"
#include "DebugCapture.h"
#include "DebugOutput.h"
#include "Job.h"
#include "TestKit.h"
#include "vlDB07.h"

namespace {

// A framed function that raises the given errors.
int TestRaise(std::initializer_list<unsigned> codes)
{
    DbFrame<int, RF_INT> f(DBF_NONE, "@DbTestRaise()");
    if (!f.Job())
        return f(FALSE);
    for (unsigned c : codes)
        _db_raise_error(c);
    return f(FALSE);
}

struct Delivery {
    unsigned code;
    DWORD thread;
    int depth;
    bool operator==(const Delivery& o) const { return code == o.code && thread == o.thread && depth == o.depth; }
};
std::vector<Delivery> s_log;
std::vector<unsigned> Codes()
{
    std::vector<unsigned> c;
    for (auto& d : s_log)
        c.push_back(d.code);
    return c;
}

void DB_CALL Record(unsigned code) { s_log.push_back({code, GetCurrentThreadId(), _db_call_depth()}); }

class CallFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        _db_process_attach(GetModuleHandleA(nullptr));
        ASSERT_EQ(0, db_job_open());
        s_log.clear();
        db_set_errorcallback(&Record);
    }
    void TearDown() override
    {
        db_set_errorcallback(nullptr);
        while (g_Job)
            db_job_close();
    }
};

} // namespace

TEST_F(CallFrame, ErrorsReachTheCallbackInRaisingOrderBeforeTheCallReturns)
{
    unsigned variable = 0;
    db_set_errorvariable(&variable);
    EXPECT_EQ(FALSE, TestRaise({35, 24}));
    EXPECT_EQ((std::vector<unsigned>{35, 24}), Codes());
    EXPECT_EQ(0, s_log[0].depth) << "the callback runs after the outermost call has ended";
    EXPECT_EQ(24u, variable);
    EXPECT_EQ(24u, db_error());
    db_set_errorvariable(nullptr);
}

TEST_F(CallFrame, DbErrorIsZeroAfterASuccessfulCall)
{
    TestRaise({35});
    TestRaise({});
    EXPECT_EQ(0u, db_error());
}

TEST_F(CallFrame, WithoutCallbackPendingErrorsAreDropped)
{
    db_set_errorcallback(nullptr);
    TestRaise({35});
    db_set_errorcallback(&Record);
    TestRaise({});
    EXPECT_TRUE(s_log.empty()) << "dropped at the first delivery without a callback";
}

TEST_F(CallFrame, InnerCallsDeliverAtTheOutermostExit)
{
    struct Outer {
        static int Run()
        {
            DbFrame<int, RF_INT> f(DBF_NONE, "@DbOuter()");
            TestRaise({7});
            TestRaise({8});
            EXPECT_TRUE(s_log.empty()) << "no delivery while the outer call runs";
            return f(TRUE);
        }
    };
    Outer::Run();
    EXPECT_EQ((std::vector<unsigned>{7, 8}), Codes());
}

TEST_F(CallFrame, ACallbackThatCallsTheEngineKeepsTheRaisingOrder)
{
    static bool nested = false;
    nested = false;
    db_set_errorcallback([](unsigned code) {
        s_log.push_back({code, GetCurrentThreadId(), _db_call_depth()});
        if (code == 35 && !nested) {
            nested = true;
            TestRaise({9});
        }
    });
    TestRaise({35, 24});
    EXPECT_EQ((std::vector<unsigned>{35, 24, 9}), Codes());
}

TEST_F(CallFrame, EachThreadReceivesItsOwnErrors)
{
    // Thread B raises while thread A is inside a framed call: B gets its error at B's exit, on B.
    struct Shared {
        HANDLE inside, release;
        DWORD threadA;
    } shared{CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr), 0};
    HANDLE a = CreateThread(
        nullptr, 0,
        [](LPVOID p) -> DWORD {
            auto* s = (Shared*)p;
            s->threadA = GetCurrentThreadId();
            DbFrame<int, RF_INT> f(DBF_NONE, "@DbHold()");
            _db_raise_error(11);
            SetEvent(s->inside);
            WaitForSingleObject(s->release, INFINITE);
            return (DWORD)f(0);
        },
        &shared, 0, nullptr);
    WaitForSingleObject(shared.inside, INFINITE);
    TestRaise({35});
    ASSERT_EQ(1u, s_log.size());
    EXPECT_EQ((Delivery{35, GetCurrentThreadId(), 0}), s_log[0]);
    SetEvent(shared.release);
    WaitForSingleObject(a, INFINITE);
    ASSERT_EQ(2u, s_log.size());
    EXPECT_EQ((Delivery{11, shared.threadA, 0}), s_log[1]);
    CloseHandle(a);
    CloseHandle(shared.inside);
    CloseHandle(shared.release);
}

TEST_F(CallFrame, WithoutJobTheCallFailsAndNothingIsDelivered)
{
    db_set_errorcallback(nullptr);
    while (g_Job)
        db_job_close();
    EXPECT_EQ(FALSE, TestRaise({35}));
    EXPECT_EQ(5u, db_error());
    ASSERT_EQ(0, db_job_open());
    db_set_errorcallback(&Record);
    TestRaise({});
    EXPECT_TRUE(s_log.empty()) << "error 5 reaches no callback";
}

TEST_F(CallFrame, SetDebugCallsNest)
{
    db_set_debug(1);
    db_set_debug(1);
    db_set_debug(0);
    EXPECT_TRUE(_db_tracing());
    db_set_debug(0);
    EXPECT_FALSE(_db_tracing());
    db_set_debug(0);
    EXPECT_EQ(0, g_TraceCount) << "never below zero";
}

namespace {

// Strips "prefix:" and the "pid/tid: mm:ss.mmm " part of trace lines of this process.
std::vector<std::string> TraceLinesOfThisProcess(const std::vector<std::string>& lines)
{
    char pid[16];
    snprintf(pid, sizeof pid, "%08lx/", GetCurrentProcessId());
    std::vector<std::string> out;
    for (std::string l : lines) {
        size_t colon = l.find(':');
        if (colon == std::string::npos || l.compare(0, colon, "engine_frame_test") != 0)
            continue;
        l.erase(0, colon + 1);
        size_t p = l.find(pid);
        if (p != std::string::npos) {
            // blanks of the indentation, then "pid/tid: mm:ss.mmm "
            l = l.substr(0, p) + l.substr(p + 29);
        }
        out.push_back(l);
    }
    return out;
}

} // namespace

TEST_F(CallFrame, TraceLinesShowCallsNestingErrorsAndResults)
{
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    capture.Take();

    struct Outer {
        static int Run()
        {
            DbFrame<int, RF_INT> f(DBF_NONE, "@DbOuter(%d,'%s',%s)", 3, (const char*)nullptr, TraceField{DB_FIELDREF(2)});
            TestRaise({35});
            return f(1);
        }
    };
    db_set_debug(1);
    Outer::Run();
    db_get_version(0);
    db_set_debug(0);
    DebugChannelClose();

    std::vector<std::string> lines = TraceLinesOfThisProcess(capture.Take());
    ASSERT_GE(lines.size(), 8u);
    EXPECT_EQ(0u, lines[0].find("@DbSetDebug(1) --- Version 7.014 of ")) << lines[0];
    const std::vector<std::string> expected = {
        "@DbOuter(3,'(NULL)',FIELDREF(2))",
        " @DbTestRaise()",
        "[error: code 35]",
        "=0",
        "=1",
        "@DbGetVersion(0)",
        "=0x70e",
    };
    EXPECT_EQ(expected, std::vector<std::string>(lines.begin() + 1, lines.begin() + 8));
}

namespace {

// Guarded framed function that waits on an event while it is inside.
struct HoldArgs {
    HANDLE inside, release;
};
DWORD WINAPI HoldGuarded(LPVOID p)
{
    auto* a = (HoldArgs*)p;
    DbFrame<int, RF_INT> f(DBF_GUARD, "@DbHold()");
    SetEvent(a->inside);
    WaitForSingleObject(a->release, INFINITE);
    return (DWORD)f(0);
}

int Guarded(int depth)
{
    DbFrame<int, RF_INT> f(DBF_GUARD, "@DbGuarded()");
    if (depth > 0)
        Guarded(depth - 1);
    return f(1);
}

} // namespace

TEST_F(CallFrame, GuardWarnsWhenASecondThreadEntersTheSameArea)
{
    oxtest::CtlLog log;
    Guarded(5);
    EXPECT_TRUE(log.Records("MessageBox").empty()) << "one thread nests guarded calls without a warning";

    HoldArgs args{CreateEventA(nullptr, TRUE, FALSE, nullptr), CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE t = CreateThread(nullptr, 0, &HoldGuarded, &args, 0, nullptr);
    WaitForSingleObject(args.inside, INFINITE);
    EXPECT_EQ(1, g_AreaList.Depth(0));
    EXPECT_EQ(1, Guarded(0)) << "the warned call still runs";
    EXPECT_EQ(1, g_AreaList.Depth(0)) << "the second thread left its entry";
    SetEvent(args.release);
    WaitForSingleObject(t, INFINITE);
    EXPECT_EQ(0, g_AreaList.Depth(0));

    // Another area is not guarded by the first one's entries.
    db_select_area(2);
    Guarded(0);

    auto boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ((oxtest::CtlLog::Record{"MessageBox", "Wichtig", "Bitte QIV anrufen!!!", "0x30", "1"}), boxes[0]);
    CloseHandle(t);
    CloseHandle(args.inside);
    CloseHandle(args.release);
}
