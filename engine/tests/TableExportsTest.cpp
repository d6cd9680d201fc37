// The small table exports: the compatibility switches, the full path of a table, and the exports
// that keep their place in the interface without doing any work.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "IndexTestKit.h"
#include "Job.h"
#include "vlDB07.h"

using namespace idxtest;

namespace {

const std::vector<Row> kRows = {{"ONE", 1, ""}, {"TWO", 2, ""}, {"THREE", 3, ""}};

class TableExports : public IndexFixture {};

std::string Lower(std::string s)
{
    CharLowerBuffA(s.data(), (DWORD)s.size());
    return s;
}

std::string Path(unsigned area, unsigned size = 300)
{
    char buffer[300] = "untouched";
    if (!db_get_databaseUNC(area, buffer, size))
        return std::string("<failed:") + buffer + ">";
    return buffer;
}

} // namespace

TEST_F(TableExports, CountSourceFollowsTheHeaderOrTheFileSize)
{
    ASSERT_TRUE(Open(kRows));
    // Two more records in the file than the header counts (an interrupted append).
    const std::string path = File("table.dbf");
    ASSERT_TRUE(db_close(3));
    std::string image = oxtest::ReadFileText(path);
    const unsigned recordLength = tabletest::Get16(image, 10);
    image += image.substr(image.size() - 2 * recordLength);
    ASSERT_TRUE(oxtest::WriteFileText(path, image));
    ASSERT_TRUE(db_use(path.c_str(), 0x01, nullptr, 0));

    EXPECT_EQ(3u, db_reccount());
    EXPECT_EQ(1, db_set_compatibility(0, 0)) << "the previous source: the header";
    EXPECT_EQ(5u, db_reccount());
    EXPECT_EQ(DB_EOF, db_goto(6));
    EXPECT_EQ(5, db_goto(5));
    EXPECT_EQ(0, db_set_compatibility(0, 1));
    EXPECT_EQ(3u, db_reccount());
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(TableExports, CompatibilitySwitchesOfTheJob)
{
    ASSERT_TRUE(Open(kRows));
    // Field-name buffer: with the switch on, the size counts the name without its NUL.
    char name[16];
    EXPECT_EQ(1, db_set_compatibility(1, 0));
    ASSERT_TRUE(db_get_fieldname(1, name, 4));
    EXPECT_EQ(std::string("NAM"), name);
    EXPECT_EQ(0, db_set_compatibility(1, 1));
    ASSERT_TRUE(db_get_fieldname(1, name, 4));
    EXPECT_EQ(std::string("NAME"), name);

    // Phonetic variant: 0 the German sound code, 1 the other code, any other value none.
    const char* const kThomas = "TRIM(PHONETIC('Thomas')) = '%s'";
    auto codeIs = [&](const char* code) {
        char condition[64];
        std::snprintf(condition, sizeof condition, kThomas, code);
        return db_matches_condition(condition) != FALSE;
    };
    EXPECT_EQ(0, db_set_compatibility(2, 1));
    EXPECT_TRUE(codeIs("OMS"));
    EXPECT_EQ(1, db_set_compatibility(2, 7));
    EXPECT_TRUE(codeIs("THOMAS")) << "only upper-cased";
    EXPECT_EQ(7, db_set_compatibility(2, 0));
    EXPECT_FALSE(codeIs("THOMAS"));
    EXPECT_FALSE(codeIs("OMS"));

    // Other modes change nothing.
    EXPECT_EQ(0, db_set_compatibility(3, 5));
    EXPECT_EQ(0, db_set_compatibility(-1, 5));
    EXPECT_EQ(1, g_Job->fieldNameCompatibility);
    EXPECT_EQ(0, g_Job->collationCompatibility);
    EXPECT_EQ(1, Area().countSource);

    // Without a table nothing changes.
    ASSERT_TRUE(db_close(3));
    EXPECT_EQ(0, db_set_compatibility(1, 0));
    EXPECT_EQ(1, g_Job->fieldNameCompatibility);
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(TableExports, FullPathOfATable)
{
    // Opened by a name relative to the current directory.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(sizeof cwd, cwd);
    ASSERT_TRUE(SetCurrentDirectoryA(File("").c_str()));
    ASSERT_TRUE(oxtest::WriteFileText(File("Mixed.DBF"), TableImage(kRows)));
    ASSERT_EQ(3, db_select_area(3));
    db_files_open();
    const BOOL opened = db_use("Mixed.DBF", 0x01, "MIX", 0);
    SetCurrentDirectoryA(cwd);
    ASSERT_TRUE(opened);
    char full[MAX_PATH];
    GetFullPathNameA(File("Mixed.DBF").c_str(), sizeof full, full, nullptr);
    EXPECT_EQ(Lower(full), Path(3));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());

    // Bounded by the buffer.
    EXPECT_EQ(Lower(full).substr(0, 9), Path(3, 10));

    // Errors: area 0 or above 250 (4), an unused area (3); the buffer is emptied.
    const struct {
        unsigned area;
        unsigned error;
    } errors[] = {{0, DBE_BAD_AREA}, {251, DBE_BAD_AREA}, {1, DBE_NO_TABLE}, {250, DBE_NO_TABLE}};
    for (const auto& e : errors) {
        EXPECT_EQ("<failed:>", Path(e.area)) << e.area;
        EXPECT_EQ(std::vector<unsigned>{e.error}, TakeErrors()) << e.area;
    }
}

TEST_F(TableExports, ExportsWithoutWork)
{
    // Error 61 has no text.
    char text[200];
    db_get_errortext(DBE_NOT_AVAILABLE, text, sizeof text);
    char unknown[200];
    db_get_errortext(9876, unknown, sizeof unknown);
    EXPECT_EQ(std::string(unknown).substr(0, 10), std::string(text).substr(0, 10));

    EXPECT_EQ(0, db_trigger_usernotification("Hallo"));
    EXPECT_EQ(std::vector<unsigned>{DBE_NOT_AVAILABLE}, TakeErrors());
    EXPECT_EQ(0, db_broadcast(0x1234, 2));
    EXPECT_EQ(std::vector<unsigned>{DBE_NOT_AVAILABLE}, TakeErrors());
    EXPECT_TRUE(db_set_user("Meier"));
    EXPECT_EQ(0, db_set_option(1, 2));
    EXPECT_EQ(0, db_get_option(1, 2));
    EXPECT_EQ(0, db_set_optionstr(1, (intptr_t)"x"));
    EXPECT_EQ(0, db_get_optionstr(1, (intptr_t)text, sizeof text));
    db_set_mailslotcallback(&unknown);
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());

    // Without a job: 0, and no error 61.
    db_set_errorcallback(nullptr);
    db_job_close();
    EXPECT_EQ(0, db_trigger_usernotification("Hallo"));
    EXPECT_EQ(0, db_broadcast(1, 1));
    EXPECT_FALSE(db_set_user("Meier"));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(TableExports, UsedFollowsTheCurrentArea)
{
    EXPECT_FALSE(db_used());
    ASSERT_TRUE(Open(kRows));
    EXPECT_TRUE(db_used());
    ASSERT_EQ(2, db_select_area(2));
    EXPECT_FALSE(db_used());
    ASSERT_EQ(1, db_select_area(1));
    ASSERT_TRUE(db_close(3));
    EXPECT_FALSE(db_used());
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}
