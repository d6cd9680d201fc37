// Two threads, two tables, thousands of engine call sequences at the same time: no call may land
// on the other thread's table. The engine has one current work area for the whole process, so
// without the engine lock a selection of one thread redirects the other's calls: reads see the
// other table's rows, counts and appends go wrong (this test fails then in every run).
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "CDbTable.h"
#include "DataTestKit.h"

namespace {

using datatest::DataTest;

const int kRowsBefore = 40;
const int kIterations = 3000;
const int kAppendEvery = 25;

struct Worker {
    CDbTable* table;
    std::string tag;
    int mismatches = 0;       // reads that saw the other table's rows
    int countErrors = 0;      // row counts that were not this table's
    int failedWrites = 0;
    std::string firstProblem;

    void Note(int& counter, const std::string& what)
    {
        if (counter++ == 0 && firstProblem.empty())
            firstProblem = what;
    }

    void Run()
    {
        unsigned rows = kRowsBefore;
        unsigned seed = tag == "A" ? 17u : 4711u;
        for (int i = 0; i < kIterations; ++i) {
            seed = seed * 1103515245u + 12345u;
            const long recno = 1 + (long)((seed >> 8) % rows);
            table->GoTo(recno);
            CString value;
            table->ReadField("TAG", value);
            if (value != tag.c_str())
                Note(mismatches, "row " + std::to_string(recno) + " read \"" + (LPCTSTR)value + "\"");
            const unsigned count = table->GetRecCount();
            if (count != rows)
                Note(countErrors, "count " + std::to_string(count) + " for " + std::to_string(rows));
            if (i % kAppendEvery == 0) {
                if (table->AppendBlank()) {
                    table->SetFieldValue("TAG", tag.c_str());
                    table->SetFieldValue("SEQ", std::to_string(i).c_str());
                    if (!table->WriteRecord())
                        Note(failedWrites, "write " + std::to_string(i));
                    table->UnlockRecord();
                    ++rows;
                } else
                    Note(failedWrites, "append " + std::to_string(i));
            }
        }
    }
};

class ThreadTest : public DataTest {
protected:
    // A table of kRowsBefore rows tagged with its name, opened exclusively.
    void Prepare(CDbTable& table, const std::string& tag)
    {
        const std::string path = File("T" + tag + ".DBF");
        ASSERT_TRUE(datatest::CreateTable(path, {{"TAG", 'C', 1, 0}, {"SEQ", 'N', 6, 0}}));
        ASSERT_TRUE(table.Open(path.c_str(), ("T" + tag).c_str(), 1, datatest::kTableOptions));
        for (int i = 0; i < kRowsBefore; ++i) {
            ASSERT_TRUE(table.AppendBlank());
            table.SetFieldValue("TAG", tag.c_str());
            ASSERT_TRUE(table.WriteRecord());
            table.UnlockRecord();
        }
    }

    // Every row of the table, checked from the start.
    static int RowsWithTag(CDbTable& table, const std::string& tag)
    {
        int count = 0;
        for (table.GoTo(0); !table.IsEof(); table.Skip(1)) {
            CString value;
            table.ReadField("TAG", value);
            if (value == tag.c_str())
                ++count;
        }
        return count;
    }
};

TEST_F(ThreadTest, CallsNeverLandOnTheOtherThreadsTable)
{
    CDbTable tableA(m_session.get()), tableB(m_session.get());
    Prepare(tableA, "A");
    Prepare(tableB, "B");
    ASSERT_NE(tableA.GetArea(), tableB.GetArea());

    Worker a{&tableA, "A"}, b{&tableB, "B"};
    std::atomic<bool> go{false};
    std::thread first([&] {
        while (!go)
            std::this_thread::yield();
        a.Run();
    });
    std::thread second([&] {
        while (!go)
            std::this_thread::yield();
        b.Run();
    });
    go = true;
    first.join();
    second.join();

    for (Worker* w : {&a, &b}) {
        SCOPED_TRACE("table " + w->tag + (w->firstProblem.empty() ? "" : ", first problem: " + w->firstProblem));
        EXPECT_EQ(0, w->mismatches);
        EXPECT_EQ(0, w->countErrors);
        EXPECT_EQ(0, w->failedWrites);
    }
    const int appended = (kIterations + kAppendEvery - 1) / kAppendEvery;
    EXPECT_EQ((unsigned)(kRowsBefore + appended), tableA.GetRecCount());
    EXPECT_EQ((unsigned)(kRowsBefore + appended), tableB.GetRecCount());
    EXPECT_EQ(kRowsBefore + appended, RowsWithTag(tableA, "A"));
    EXPECT_EQ(kRowsBefore + appended, RowsWithTag(tableB, "B"));
    EXPECT_TRUE(Boxes().empty()) << "no error box and no warning of the engine's area guard";
}

} // namespace
