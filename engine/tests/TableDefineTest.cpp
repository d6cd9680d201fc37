// Creating tables: the bytes of the header and the descriptors, the rules for field lengths,
// the memo file, and the refused definitions.
#include <gtest/gtest.h>

#include <cstring>

#include "Job.h"
#include "TableTestKit.h"

using namespace tabletest;

namespace {

class TableDefine : public TableTest {
protected:
    // Defines a table with the given fields; answers db_define_end's result.
    BOOL Define(const std::string& name, const std::vector<FieldDef>& fields, unsigned options = 0)
    {
        if (!db_define_begin(File(name).c_str(), 1, "DEF", options, (unsigned)fields.size()))
            return FALSE;
        for (const auto& f : fields)
            db_define_field(f.name.c_str(), f.type, (unsigned)f.length, (unsigned)f.decimals);
        return db_define_end();
    }
    bool Exists(const std::string& name) { return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES; }
};

// The date bytes a table created now carries (year - 1900, month, day; UTC).
std::string Today()
{
    SYSTEMTIME t;
    GetSystemTime(&t);
    return std::string{(char)(t.wYear - 1900), (char)t.wMonth, (char)t.wDay};
}

} // namespace

TEST_F(TableDefine, ExampleTableHeaderBytes)
{
    const std::string before = Today();
    ASSERT_TRUE(Define("example.dbf", {{"name", 'C', 10, 0}, {"amount", 'N', 8, 2}, {"born", 'D', 8, 0}}));
    const std::string after = Today();
    const std::string image = oxtest::ReadFileText(File("example.dbf"));
    ASSERT_EQ(130u, image.size()) << "header only: the first record would start at offset 130";
    EXPECT_EQ(0x03, (unsigned char)image[0]);
    const std::string date = image.substr(1, 3);
    EXPECT_TRUE(date == before || date == after) << "date bytes " << (int)date[0] << "-" << (int)date[1] << "-" << (int)date[2];
    EXPECT_EQ(0u, Get32(image, 4)) << "record count";
    EXPECT_EQ(130u, Get16(image, 8)) << "header length 32 x 4 + 2";
    EXPECT_EQ(27u, Get16(image, 10)) << "record length 1 + 10 + 8 + 8";
    EXPECT_EQ(std::string(19, '\0'), image.substr(12, 19)) << "bytes 12..30";
    EXPECT_EQ(2, image[31]) << "charset mark of International";
    const struct {
        const char* name;
        char type;
        int length, decimals;
    } expected[] = {{"NAME", 'C', 10, 0}, {"AMOUNT", 'N', 8, 2}, {"BORN", 'D', 8, 0}};
    for (int i = 0; i < 3; ++i) {
        std::string d = image.substr(32 + 32 * i, 32);
        std::string name(expected[i].name);
        EXPECT_EQ(name + std::string(11 - name.size(), '\0'), d.substr(0, 11)) << "descriptor " << i;
        EXPECT_EQ(expected[i].type, d[11]) << "descriptor " << i;
        EXPECT_EQ(std::string(4, '\0'), d.substr(12, 4)) << "descriptor " << i;
        EXPECT_EQ(expected[i].length, (unsigned char)d[16]) << "descriptor " << i;
        EXPECT_EQ(expected[i].decimals, (unsigned char)d[17]) << "descriptor " << i;
        EXPECT_EQ(std::string(14, '\0'), d.substr(18)) << "descriptor " << i;
    }
    EXPECT_EQ(0x0D, image[128]);
    EXPECT_EQ(0x1A, image[129]);

    // The new table is open at the end-of-file position.
    EXPECT_EQ(3u, db_fcount());
    EXPECT_EQ(27u, db_recsize());
    EXPECT_EQ(130u, db_header());
    EXPECT_EQ((unsigned)DB_EOF, db_recno());
    EXPECT_TRUE(db_eof());
    EXPECT_TRUE(db_bof());
    db_files_open();
    EXPECT_EQ(0u, db_reccount());
}

TEST_F(TableDefine, FieldLengthsAndDecimals)
{
    const struct {
        FieldDef given;
        const char* name;
        char type;
        unsigned length;
        int decimals;
    } cases[] = {
        {{"amount", 'n', 25, 30}, "AMOUNT", 'N', 19, 17},
        {{"born", 'D', 3, 0}, "BORN", 'D', 8, 0},
        {{"text", 'C', 300, 5}, "TEXT", 'C', 255, 0},
        {{"flag", 'l', 5, 2}, "FLAG", 'L', 1, 0},
        {{"note", 'm', 50, 3}, "NOTE", 'M', 10, 0},
        {{"tiny", 'N', 1, 5}, "TINY", 'N', 1, 0},
        {{"zero", 'N', 0, 0}, "ZERO", 'N', 1, 0},
        {{"two", 'F', 2, 1}, "TWO", 'F', 2, 0},
        {{"five", 'N', 5, 3}, "FIVE", 'N', 5, 3},
        {{"five4", 'N', 5, 4}, "FIVE4", 'N', 5, 3},
        {{"elevenchars", 'C', 4, 0}, "ELEVENCHAR", 'C', 4, 0},
    };
    std::vector<FieldDef> fields;
    for (const auto& c : cases)
        fields.push_back(c.given);
    ASSERT_TRUE(Define("lengths.dbf", fields));
    const std::string image = oxtest::ReadFileText(File("lengths.dbf"));
    for (unsigned i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const auto& c = cases[i];
        char name[16];
        ASSERT_TRUE(db_get_fieldname(i + 1, name, 10)) << c.name;
        EXPECT_STREQ(c.name, name);
        EXPECT_EQ((unsigned)c.type, db_get_type(name)) << c.name;
        EXPECT_EQ(c.length, db_get_length(name)) << c.name;
        EXPECT_EQ(c.decimals, db_get_decimals(name)) << c.name;
        EXPECT_EQ(c.length, (unsigned char)image[32 + 32 * i + 16]) << c.name << " in the file";
        EXPECT_EQ(c.decimals, image[32 + 32 * i + 17]) << c.name << " in the file";
    }
}

TEST_F(TableDefine, CharsetMarks)
{
    const struct {
        unsigned options;
        int mark;
    } cases[] = {{0x00, 2}, {0x10, 1}, {0x20, 3}, {0x30, 0}, {0x4014, 1}};
    for (const auto& c : cases) {
        std::string name = "charset" + std::to_string(c.options) + ".dbf";
        ASSERT_TRUE(Define(name, {{"A", 'C', 1, 0}}, c.options)) << c.options;
        EXPECT_EQ((int)(c.options & 0x70), db_get_charset()) << c.options;
        EXPECT_EQ(c.mark, oxtest::ReadFileText(File(name))[31]) << "options " << c.options;
    }
}

TEST_F(TableDefine, MemoFieldCreatesTheMemoFile)
{
    ASSERT_TRUE(Define("schedule_items.dbf", {{"TEXT", 'C', 20, 0}, {"NOTE", 'M', 10, 0}}));
    EXPECT_EQ(0x83, (unsigned char)oxtest::ReadFileText(File("schedule_items.dbf"))[0]);
    const std::string memo = oxtest::ReadFileText(File("schedule_items.dbt"));
    ASSERT_EQ(512u, memo.size());
    EXPECT_EQ(1u, Get32(memo, 0)) << "next free block";
    EXPECT_EQ(0u, Get32(memo, 4));
    char shortPath[MAX_PATH];
    ASSERT_NE(0u, GetShortPathNameA(File("schedule_items.dbt").c_str(), shortPath, sizeof shortPath));
    std::string shortName = strrchr(shortPath, '\\') + 1;
    shortName = shortName.substr(0, shortName.find('.')).substr(0, 8);
    EXPECT_EQ(shortName, std::string(memo.c_str() + 8)) << "the short name without extension";
    EXPECT_EQ(0x0102u, Get16(memo, 18));
    EXPECT_EQ(512u, Get16(memo, 20)) << "block size";
    EXPECT_EQ(std::string(512 - 22, '\0'), memo.substr(22)) << "the rest of block 0";
}

TEST_F(TableDefine, RefusedDefinitions)
{
    // More fields than announced: the extra field is ignored and the definition goes on.
    ASSERT_TRUE(db_define_begin(File("one.dbf").c_str(), 1, nullptr, 0, 1));
    EXPECT_TRUE(db_define_field("A", 'C', 5, 0));
    EXPECT_FALSE(db_define_field("B", 'C', 5, 0));
    EXPECT_EQ(19u, m_error);
    EXPECT_TRUE(db_define_end());
    EXPECT_EQ(1u, db_fcount());

    // Fewer fields than announced.
    ASSERT_TRUE(db_define_begin(File("few.dbf").c_str(), 1, nullptr, 0, 3));
    db_define_field("A", 'C', 5, 0);
    db_define_field("", 'C', 5, 0); // an empty name leaves the descriptor free
    db_define_field("B", 'C', 5, 0);
    EXPECT_FALSE(db_define_end());
    EXPECT_EQ(20u, m_error);
    EXPECT_EQ(0u, db_fcount()) << "the area is empty afterwards";
    EXPECT_FALSE(Exists("few.dbf"));

    // A record longer than the 16-bit record length can describe: refused before any file exists.
    ASSERT_TRUE(db_define_begin(File("wide.dbf").c_str(), 1, nullptr, 0, 258));
    for (int i = 0; i < 258; ++i)
        db_define_field(("F" + std::to_string(i)).c_str(), 'C', 255, 0);
    EXPECT_FALSE(db_define_end());
    EXPECT_EQ(23u, m_error);
    EXPECT_FALSE(Exists("wide.dbf"));
    EXPECT_EQ(0u, db_fcount());

    // The file cannot be created.
    ASSERT_TRUE(db_define_begin(File("missing\\dir.dbf").c_str(), 1, nullptr, 0, 1));
    db_define_field("A", 'C', 5, 0);
    EXPECT_FALSE(db_define_end());
    EXPECT_EQ(1u, m_error);
    EXPECT_EQ(0u, db_fcount());

    // A protected table whose password creation is cancelled (unattended, the dialog is
    // cancelled): no table.
    ASSERT_TRUE(db_define_begin(File("secret.dbf").c_str(), 1, nullptr, 0x2000, 1));
    db_define_field("A", 'C', 5, 0);
    EXPECT_FALSE(db_define_end());
    EXPECT_EQ(1u, m_error);
    EXPECT_FALSE(Exists("secret.dbf"));

    // No definition in the current area.
    EXPECT_FALSE(db_define_end());
}

TEST_F(TableDefine, FieldsThatNoReaderCouldUseAreRefused)
{
    const struct {
        const char* what;
        FieldDef field;
    } cases[] = {
        {"a character field of length 0", {"EMPTY", 'C', 0, 0}},
        {"type X", {"OTHER", 'x', 12, 4}},
        {"type blank", {"BLANK", ' ', 5, 0}},
        {"type I", {"INTEGER", 'I', 4, 0}},
        {"an empty name", {"", 'C', 5, 0}},
        {"a name starting with a digit", {"1ST", 'C', 5, 0}},
        {"a name starting with an underscore", {"_HIDDEN", 'C', 5, 0}},
        {"a blank in the name", {"MY NAME", 'C', 5, 0}},
        {"a hyphen in the name", {"NAME-2", 'C', 5, 0}},
        {"an umlaut in the name", {"GR\xd6SSE", 'N', 5, 0}},
        {"the name of the first field again, in lower case", {"name_of_ro", 'N', 5, 0}},
        {"a name that becomes the first field's name when cut to 10 characters", {"NAME_OF_ROW", 'C', 5, 0}},
    };
    for (const auto& c : cases) {
        const std::string file = "refused.dbf";
        ASSERT_TRUE(db_define_begin(File(file).c_str(), 1, nullptr, 0, 2)) << c.what;
        ASSERT_TRUE(db_define_field("NAME_OF_RO", 'C', 10, 0)) << c.what;
        m_error = 0;
        EXPECT_FALSE(db_define_field(c.field.name.c_str(), c.field.type, (unsigned)c.field.length,
                                     (unsigned)c.field.decimals))
            << c.what;
        EXPECT_EQ((unsigned)DBE_FORMAT, m_error) << c.what;
        // The refused field leaves its place free: the definition fails at its end, no file made.
        EXPECT_FALSE(db_define_end()) << c.what;
        EXPECT_EQ((unsigned)DBE_TOO_FEW_FIELDS, m_error) << c.what;
        EXPECT_FALSE(Exists(file)) << c.what;
    }
    // A refused field does not end the definition: a good one takes its place.
    ASSERT_TRUE(db_define_begin(File("kept.dbf").c_str(), 1, nullptr, 0, 2));
    ASSERT_TRUE(db_define_field("NAME", 'C', 10, 0));
    EXPECT_FALSE(db_define_field("NAME", 'C', 10, 0));
    ASSERT_TRUE(db_define_field("CITY_2", 'c', 20, 0));
    ASSERT_TRUE(db_define_end());
    char name[16];
    ASSERT_TRUE(db_get_fieldname(2, name, 10));
    EXPECT_STREQ("CITY_2", name);

    // More fields than a header can describe (at most 2,046).
    for (unsigned count : {2047u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        m_error = 0;
        EXPECT_FALSE(db_define_begin(File("many.dbf").c_str(), 1, nullptr, 0, count)) << count;
        EXPECT_EQ((unsigned)DBE_TOO_MANY_FIELDS, m_error) << count;
        EXPECT_EQ(2u, db_fcount()) << count << ": the table open in the area stays";
        EXPECT_FALSE(db_define_field("A", 'C', 1, 0)) << count << ": no definition is going on";
    }
    ASSERT_TRUE(db_define_begin(File("most.dbf").c_str(), 1, nullptr, 0, 2046));
    for (int i = 0; i < 2046; ++i)
        ASSERT_TRUE(db_define_field(("F" + std::to_string(i)).c_str(), 'L', 1, 0));
    EXPECT_TRUE(db_define_end());
    EXPECT_EQ(2046u, db_fcount());
}

TEST_F(TableDefine, DefineEndDoesNotRecreateAnOpenTable)
{
    const std::string image = DbfImage({{"NAME", 'C', 4, 0}}, {" abcd"});
    ASSERT_TRUE(Use("kept.dbf", image));
    EXPECT_FALSE(db_define_field("MORE", 'C', 2, 0));
    EXPECT_FALSE(db_define_end());
    EXPECT_EQ(23u, m_error);
    EXPECT_EQ(1u, db_fcount()) << "the table stays open";
    db_close(3);
    EXPECT_EQ(image, oxtest::ReadFileText(File("kept.dbf")));
}

TEST_F(TableDefine, FilesOfTheNewTableFollowTheFilesOpenCount)
{
    auto lockedByEngine = [&](const std::string& name) {
        HANDLE h = CreateFileA(File(name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return true;
        CloseHandle(h);
        return false;
    };
    ASSERT_TRUE(Define("closed.dbf", {{"A", 'C', 1, 0}, {"M", 'M', 10, 0}}));
    EXPECT_FALSE(lockedByEngine("closed.dbf")) << "files-open count 0: the table file is closed";
    EXPECT_FALSE(lockedByEngine("closed.dbt"));
    ASSERT_TRUE(db_files_open());
    EXPECT_TRUE(lockedByEngine("closed.dbf")) << "db_files_open reopens it";

    ASSERT_TRUE(Define("open.dbf", {{"A", 'C', 1, 0}, {"M", 'M', 10, 0}}));
    EXPECT_TRUE(lockedByEngine("open.dbf")) << "files-open count 1: the table file stays open";
    EXPECT_TRUE(lockedByEngine("open.dbt"));
    EXPECT_FALSE(lockedByEngine("closed.dbf")) << "the table defined before in this area was closed";
}
