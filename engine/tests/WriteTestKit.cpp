#include "WriteTestKit.h"

#include "Job.h"
#include "WriteCommands.h"

namespace writetest {

using tabletest::Put16;
using tabletest::Put32;

std::string MemoImage(unsigned nextFree, const std::string& blocks)
{
    std::string image(512, '\0');
    Put32(image, 0, nextFree);
    image.replace(8, 6, "SHARED");
    Put16(image, 18, 0x0102);
    Put16(image, 20, 512);
    return image + blocks;
}

std::string IndexImage(unsigned counter, unsigned keySize)
{
    std::string image(1024, '\0');
    Put16(image, 0, 6);
    Put16(image, 2, counter);
    Put32(image, 4, 1024);
    Put16(image, 12, keySize + 8);
    Put16(image, 14, keySize);
    return image;
}

std::string SharedTableImage()
{
    std::vector<std::string> rows;
    for (int i = 1; i <= 10; ++i) {
        std::string row = " Row " + std::to_string(i);
        row.resize(11, ' ');
        rows.push_back(row + "          ");
    }
    return tabletest::DbfImage({{"NAME", 'C', 10, 0}, {"NOTE", 'M', 10, 0}}, rows, 0x83);
}

void SharedTable::SetUp()
{
    TableTest::SetUp();
    m_savedHooks = g_EngineHooks;
    g_Job->exclusive = 0;
    m_table = File("shared.dbf");
    m_index = File("shared.ntx");
    ASSERT_TRUE(oxtest::WriteFileText(File("shared.dbt"), MemoImage(1)));
    ASSERT_TRUE(oxtest::WriteFileText(m_index, IndexImage(5, 10)));
    ASSERT_TRUE(Use("shared.dbf", SharedTableImage(), 0));
    m_peer.reset(new PeerProcess);
    ASSERT_TRUE(m_peer->Started());
    Play({{'T', "slot 0 " + m_index, "1 0"}, {'P', "use " + m_table, "1 0"}, {'P', "slot 0 " + m_index, "1 0"}});
}

void SharedTable::TearDown()
{
    m_peer.reset();
    _db_set_lock_clock(nullptr);
    TableTest::TearDown();
    g_EngineHooks = m_savedHooks;
}

void SharedTable::Play(const std::vector<Step>& steps)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        const std::string answer = s.who == 'T' ? RunCommand(s.command) : m_peer->Run(s.command);
        EXPECT_EQ(s.answer, answer) << "step " << i + 1 << ": " << s.who << " " << s.command;
    }
}

void SharedTable::ShortWaits()
{
    s_LockClock clock;
    clock.giveUpMs = 300;
    clock.dialogDelayMs = 60000;
    clock.retryMs = 20;
    _db_set_lock_clock(&clock);
}

} // namespace writetest
