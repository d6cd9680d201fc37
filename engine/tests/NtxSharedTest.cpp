// An index shared with other stations (engine_ntx_probe, other processes): the change counter
// tells this station at its next lock that its cached pages are stale, and stations that add keys
// at the same time, each under the index lock, leave one consistent tree with all their keys.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "BTree.h"
#include "BoxObj.h"
#include "Job.h"
#include "Locks.h"
#include "NtxTestKit.h"

using namespace ntxtest;

namespace {

// A station started with the probe's command line; the answer is its exit code.
class Station {
public:
    explicit Station(const std::string& arguments)
    {
        std::string command = "\"" + oxtest::ProgramDir() + "\\engine_ntx_probe.exe\" " + arguments;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            CloseHandle(pi.hThread);
            m_process = pi.hProcess;
        }
    }
    ~Station()
    {
        if (m_process) {
            if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0)
                TerminateProcess(m_process, 99);
            CloseHandle(m_process);
        }
    }
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    int Finish()
    {
        DWORD code = 98;
        if (!m_process || WaitForSingleObject(m_process, 120000) != WAIT_OBJECT_0 || !GetExitCodeProcess(m_process, &code))
            return -1;
        return (int)code;
    }

private:
    HANDLE m_process = nullptr;
};

class SharedIndex : public IndexTest {
protected:
    std::vector<Entry> Walk()
    {
        std::vector<Entry> walk;
        const unsigned keySize = ntx::KeySize(Slot().header);
        if (!_ntx_first(Slot()))
            return walk;
        for (const uint8_t* e = _ntx_current_key(Slot()); e; e = _ntx_current_key(Slot())) {
            walk.push_back({std::string((const char*)e + 8, keySize), tabletest::Get32(std::string((const char*)e, 8), 4)});
            if (_ntx_step(Slot(), 1) != 1)
                break;
        }
        return walk;
    }
    void AddUnderLock(const std::string& prefix, int first, int count)
    {
        for (int n = first; n < first + count; ++n) {
            ASSERT_TRUE(LockIndex(Area(), 0, TRUE, FALSE)) << n;
            EXPECT_TRUE(_ntx_add_counted(Slot(), (prefix + std::to_string(n)).c_str(), n)) << n;
            ASSERT_TRUE(UnlockIndex(Area(), 0, FALSE)) << n;
        }
    }
    static std::vector<Entry> Keys(unsigned keySize, const std::vector<std::pair<std::string, std::pair<int, int>>>& runs)
    {
        std::set<Entry> keys;
        for (const auto& run : runs)
            for (int n = run.second.first; n < run.second.first + run.second.second; ++n)
                keys.insert({Padded(run.first + std::to_string(n), keySize), (uint32_t)n});
        return std::vector<Entry>(keys.begin(), keys.end());
    }
};

} // namespace

TEST_F(SharedIndex, TheNextLockSeesAnotherStationsKeys)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    UnlockIndex(Area(), 0, FALSE);
    AddUnderLock("A", 1, 60);
    ASSERT_TRUE(LockIndex(Area(), 0, FALSE, FALSE));
    EXPECT_EQ(60u, Walk().size());
    const size_t cached = Slot().pages->PageCount();
    EXPECT_LT(1u, cached);
    ASSERT_TRUE(UnlockIndex(Area(), 0, FALSE));

    // A lock period of this station's own without change elsewhere keeps the cache.
    ASSERT_TRUE(LockIndex(Area(), 0, FALSE, FALSE));
    EXPECT_EQ(cached, Slot().pages->PageCount());
    ASSERT_TRUE(UnlockIndex(Area(), 0, FALSE));

    ASSERT_EQ(0, Station("add \"" + m_path + "\" B 100 80").Finish());
    ASSERT_TRUE(LockIndex(Area(), 0, FALSE, FALSE));
    EXPECT_EQ(0u, Slot().pages->PageCount()) << "the counter moved: the cache is dropped";
    EXPECT_EQ(60u + 80u, ntx::Counter(Slot().header)) << "one step for each of the other station's lock periods";
    EXPECT_EQ(Keys(10, {{"A", {1, 60}}, {"B", {100, 80}}}), Walk());
    ASSERT_TRUE(UnlockIndex(Area(), 0, FALSE));

    // New pages go behind the other station's pages.
    AddUnderLock("C", 200, 100);
    const Scan scan = ScanIndex(oxtest::ReadFileText(m_path));
    EXPECT_EQ("", scan.error);
    EXPECT_EQ(Keys(10, {{"A", {1, 60}}, {"B", {100, 80}}, {"C", {200, 100}}}), scan.entries);
}

TEST_F(SharedIndex, StationsAddingAtTheSameTimeLeaveOneTree)
{
    ASSERT_TRUE(Open(EmptyIndex(226)));
    UnlockIndex(Area(), 0, FALSE);
    const std::string event = "ntx-start-" + std::to_string(GetCurrentProcessId());
    HANDLE start = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    // Stations waiting for the lock try again at once, so that their lock periods interleave.
    s_LockClock clock;
    clock.retryMs = 1;
    _db_set_lock_clock(&clock);
    Station one("add \"" + m_path + "\" P 1000 250 " + event);
    Station two("add \"" + m_path + "\" Q 2000 250 " + event);
    SetEvent(start);
    AddUnderLock("T", 3000, 250);
    EXPECT_EQ(0, one.Finish());
    EXPECT_EQ(0, two.Finish());
    CloseHandle(start);
    _db_set_lock_clock(nullptr);

    ASSERT_TRUE(LockIndex(Area(), 0, FALSE, TRUE));
    const Scan scan = ScanIndex(oxtest::ReadFileText(m_path));
    EXPECT_EQ("", scan.error);
    const std::vector<Entry> expected = Keys(226, {{"P", {1000, 250}}, {"Q", {2000, 250}}, {"T", {3000, 250}}});
    EXPECT_EQ(expected, scan.entries);
    EXPECT_EQ(750u, scan.counter);
    EXPECT_EQ(expected, Walk());
}
