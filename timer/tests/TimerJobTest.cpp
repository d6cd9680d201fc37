// The job's registry seen from inside: deleting an id's timers stops at the first missing
// sub-index, and a duplicate key registers nothing.
#include <gtest/gtest.h>

#include "CTimerJob.h"
#include "CTimerRuleFixed.h"
#include "TimerTestDates.h"

using timertest::At;

namespace {

CTimerRule* FixedWithSubIndex(long lId, int nSubIndex, int nDay)
{
    CTimerRule* pRule = new CTimerRuleFixed(lId, At(2030, 1, nDay, 12, 0), 0);
    pRule->m_strKey = CTimerRule::MakeKey(lId, nSubIndex);
    return pRule;
}

} // namespace

TEST(CTimerJob, DeletionStopsAtTheFirstMissingSubIndex)
{
    CTimerJob job;
    ASSERT_EQ(0, job.AddTimer(FixedWithSubIndex(4711, 0, 1)));
    ASSERT_EQ(0, job.AddTimer(FixedWithSubIndex(4711, 1, 2)));
    ASSERT_EQ(0, job.AddTimer(FixedWithSubIndex(4711, 3, 3)));
    ASSERT_EQ(0, job.AddTimer(FixedWithSubIndex(815, 0, 4)));
    EXPECT_EQ(3, job.CountTimersOfId(4711));

    EXPECT_EQ(0, job.DeleteTimers(4711));
    EXPECT_EQ(1, job.CountTimersOfId(4711)) << "sub-index 3 stays: 2 is missing";
    CString strDump;
    job.Dump(strDump);
    EXPECT_EQ("4711;03.01.2030;12:00\n815;04.01.2030;12:00\n", std::string((LPCTSTR)strDump))
        << "the dues of the deleted timers go with them";

    EXPECT_EQ(-3, job.DeleteTimers(4711)) << "sub-index 0 is gone, so the id has no timer";
    EXPECT_EQ(-3, job.DeleteTimers(999));
    EXPECT_EQ(2, job.GetTimerCount());
}

TEST(CTimerJob, DuplicateKeyRegistersNothing)
{
    CTimerJob job;
    EXPECT_EQ(0, job.AddTimer(FixedWithSubIndex(1, 0, 5)));
    EXPECT_EQ(-2, job.AddTimer(FixedWithSubIndex(1, 0, 6)));
    EXPECT_EQ(1, job.GetTimerCount());
    CString strDump;
    job.Dump(strDump);
    EXPECT_EQ("1;05.01.2030;12:00\n", std::string((LPCTSTR)strDump));
}
