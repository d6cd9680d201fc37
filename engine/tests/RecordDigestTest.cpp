// db_calc_md5 in the engine: the record's bytes as the file holds them, memo texts, no table.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "Md5TestKit.h"
#include "TableTestKit.h"
#include "TestKit.h"

using namespace tabletest;

namespace {

std::string CalcMd5()
{
    char digest[40];
    std::memset(digest, 'x', sizeof digest);
    if (!db_calc_md5(digest))
        return std::string(digest, 33) == std::string(33, '\0') ? "<false>" : "<false, buffer not emptied>";
    return digest;
}

using RecordDigest = TableTest;

} // namespace

TEST_F(RecordDigest, RecordBytesAsTheFileHoldsThem)
{
    EXPECT_EQ("<false>", CalcMd5()) << "no table in the current area";
    const std::vector<FieldDef> fields = {{"NAME", 'C', 10, 0}, {"WERT", 'N', 6, 2}};
    const std::string image = DbfImage(fields, {" Meier      12.50", "*Huber      -3.00"});
    ASSERT_TRUE(Use("md5.dbf", image));
    const unsigned header = 32 * 3 + 2, length = 17;
    for (int n : {1, 2}) {
        ASSERT_EQ(n, db_goto(n));
        EXPECT_EQ(Md5Hex(image.substr(header + (n - 1) * length, length)), CalcMd5()) << n;
    }
    db_goto(-1);
    db_skip(1);
    ASSERT_TRUE(db_eof());
    EXPECT_EQ(Md5Hex(" " + std::string(16, ' ')), CalcMd5()) << "the blank record at the end";
}

TEST_F(RecordDigest, MemoTextsCount)
{
    db_files_open();
    ASSERT_TRUE(db_define_begin(File("memo.dbf").c_str(), 1, nullptr, 0, 2));
    db_define_field("NAME", 'C', 10, 0);
    db_define_field("NOTIZ", 'M', 10, 0);
    ASSERT_TRUE(db_define_end());
    ASSERT_TRUE(db_blank());
    ASSERT_TRUE(db_replace("NAME", "Meier"));
    ASSERT_TRUE(db_insert());
    db_close(3);
    ASSERT_TRUE(db_use(File("memo.dbf").c_str(), 0x01, nullptr, 0));
    ASSERT_EQ(1, db_goto(1));
    const std::string without = CalcMd5();
    ASSERT_EQ(32u, without.size());
    std::string digests[3];
    const char* const texts[] = {"eins", "zwei", "eins"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(db_memo_write("NOTIZ", texts[i]));
        ASSERT_TRUE(db_write());
        digests[i] = CalcMd5();
    }
    EXPECT_NE(without, digests[0]);
    EXPECT_NE(digests[0], digests[1]);
    EXPECT_EQ(digests[0], digests[2]) << "the same texts, the same digest";
    ASSERT_TRUE(db_delete());
    EXPECT_NE(digests[2], CalcMd5()) << "the deleted flag counts";
}
