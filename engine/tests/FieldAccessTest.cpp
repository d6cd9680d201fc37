// Field access: designators, db_get_contents and db_get_record, db_replace with its
// conversions and preconditions, db_replace_record, db_blank and db_get_reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "Area.h"
#include "Job.h"
#include "TableTestKit.h"

using namespace tabletest;

namespace {

const std::vector<FieldDef> kFields = {{"NAME", 'C', 10, 0}, {"AMOUNT", 'N', 6, 2}, {"COUNT", 'N', 5, 0},
                                        {"SMALL", 'N', 5, 1}, {"BORN", 'D', 8, 0},   {"FLAG", 'L', 1, 0},
                                        {"NOTE", 'M', 10, 0}};
// Offsets of the fields in the record (the deleted flag at 0).
enum { NAME = 1, AMOUNT = 11, COUNT = 17, SMALL = 22, BORN = 27, FLAG = 35, NOTE = 36, LENGTH = 46 };

std::string Row(const char* name, const char* flag, const char* born = "20240517")
{
    char row[LENGTH + 1];
    snprintf(row, sizeof row, " %-10s%6s%5s%5s%-8s%s%10s", name, "3.14", "42", "12.5", born, flag, "1");
    return row;
}

class FieldAccess : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        oxtest::WriteFileText(File("other.dbf"), DbfImage({{"NAME", 'C', 10, 0}}, {" Zweiter"}));
        db_select_area(2);
        ASSERT_TRUE(Use("other.dbf", oxtest::ReadFileText(File("other.dbf")), 0x01, "OTHER"));
        db_select_area(1);
        ASSERT_TRUE(Use("fields.dbf",
                        DbfImage(kFields, {Row("Meier", "T"), Row("Huber", "Y", "        "), Row("Kurz", "1"),
                                           Row("Lang", "t"), Row("Leer", " ")}),
                        0x01, "T1"));
    }
};

} // namespace

TEST_F(FieldAccess, Designators)
{
    const struct {
        const char* what;
        const char* designator;
        const char* contents; // nullptr: the call fails
        unsigned error;
    } cases[] = {
        {"name", "NAME", "Meier     ", 0},
        {"name in lower case", "name", "Meier     ", 0},
        {"#n", "#3", "   42", 0},
        {"field reference", DB_FIELDREF(2), "  3.14", 0},
        {"reference beyond the fields", DB_FIELDREF(99), nullptr, 14},
        {"#0", "#0", nullptr, 14},
        {"#8", "#8", nullptr, 14},
        {"# without digits", "#x", nullptr, 14},
        {"unknown name", "NOSUCH", nullptr, 14},
        {"INDEXKEY without an index", "indexkey", "", 0},
        {"INDEXKEY reference", DB_INDEXKEY, "", 0},
        {"own alias", "t1.NAME", "Meier     ", 0},
        {"own area number", "#1.NAME", "Meier     ", 0},
        {"another area's alias", "OTHER.NAME", "Zweiter   ", 0},
        {"another area's number", "#2.name", "Zweiter   ", 0},
        {"unknown alias", "NOWHERE.NAME", nullptr, 6},
        {"area number beyond 250", "#300.NAME", nullptr, 6},
        {"unknown field of another area", "OTHER.AMOUNT", nullptr, 14},
    };
    for (const auto& c : cases) {
        m_error = 0;
        EXPECT_EQ(c.contents ? c.contents : "<failed>", Contents(c.designator)) << c.what;
        EXPECT_EQ(c.error, m_error) << c.what;
        EXPECT_EQ(1, db_select(nullptr)) << c.what << ": the current area is selected again";
    }

    const struct {
        const char* designator;
        unsigned reference, type, length;
        int decimals;
    } refs[] = {
        {"NAME", 1, 'C', 10, 0},
        {"#2", 2, 'N', 6, 2},
        {DB_FIELDREF(4), 4, 'N', 5, 1},
        {DB_FIELDREF(99), 99, 0, 0, 0}, // a reference answers its number unchecked
        {"indexkey", 0xFFFFFFFF, 0, 0, 0},
        {DB_INDEXKEY, 0xFFFFFFFF, 0, 0, 0},
        {"missing", 0, 0, 0, 0},
        {"OTHER.NAME", 0, 'C', 10, 0}, // qualified forms are for the getters, not for references
    };
    for (const auto& r : refs) {
        EXPECT_EQ(r.reference, db_get_reference(r.designator)) << r.reference;
        EXPECT_EQ(r.type, db_get_type(r.designator)) << r.reference;
        EXPECT_EQ(r.length, db_get_length(r.designator)) << r.reference;
        EXPECT_EQ(r.decimals, db_get_decimals(r.designator)) << r.reference;
    }
    EXPECT_EQ(1, db_select(nullptr));
}

TEST_F(FieldAccess, ContentsAsStored)
{
    const struct {
        long recno;
        const char* field;
        unsigned size;
        const char* expected;
    } cases[] = {
        {1, "FLAG", 10, "T"},   {2, "FLAG", 10, "F"},       {3, "FLAG", 10, "T"},
        {4, "FLAG", 10, "F"},   {5, "FLAG", 10, "F"},       {1, "BORN", 10, "20240517"},
        {2, "BORN", 10, "        "}, {1, "NOTE", 20, "         1"}, {1, "AMOUNT", 10, "  3.14"},
        {1, "NAME", 5, "Meie"}, {1, "NAME", 1, ""},          {1, "FLAG", 1, ""},
    };
    for (const auto& c : cases) {
        db_goto(c.recno);
        char buffer[32];
        memset(buffer, 'x', sizeof buffer);
        EXPECT_TRUE(db_get_contents(c.field, buffer, c.size)) << c.field << " of " << c.recno;
        EXPECT_STREQ(c.expected, buffer) << c.field << " of record " << c.recno << ", size " << c.size;
    }
    // A buffer of size 0 takes nothing.
    char untouched[4] = "abc";
    m_error = 0;
    EXPECT_FALSE(db_get_contents("NAME", untouched, 0));
    EXPECT_STREQ("abc", untouched);
    EXPECT_EQ(22u, m_error);
}

TEST_F(FieldAccess, WholeRecords)
{
    db_goto(2);
    char buffer[64];
    memset(buffer, 'x', sizeof buffer);
    ASSERT_TRUE(db_get_record(buffer, sizeof buffer));
    EXPECT_EQ(Row("Huber", "Y", "        "), std::string(buffer, LENGTH));
    EXPECT_EQ(std::string(sizeof buffer - LENGTH, '\0'), std::string(buffer + LENGTH, sizeof buffer - LENGTH));
    ASSERT_TRUE(db_get_record(buffer, 6));
    EXPECT_EQ(" Huber", std::string(buffer, 6));

    db_goto(99);
    memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(db_get_record(buffer, sizeof buffer)) << "at end of file";
    EXPECT_EQ(std::string(sizeof buffer, '\0'), std::string(buffer, sizeof buffer));

    EXPECT_TRUE(db_blank());
    EXPECT_EQ((unsigned)DB_EOF, db_recno());
    EXPECT_EQ(std::string(10, ' '), Contents("NAME"));
    db_goto(1);
    std::string record = Row("Neu", "F");
    record[0] = '*';
    ASSERT_TRUE(db_replace_record(record.c_str()));
    EXPECT_EQ(record, Record());
    EXPECT_TRUE(g_Job->currentArea->deleted) << "byte 0 is not a blank";
    EXPECT_TRUE(g_Job->currentArea->changed);
}

TEST_F(FieldAccess, ReplaceConversions)
{
    const std::string raw = std::string("\x01" "AB\0CD", 6) + std::string(5, '\0');
    const struct {
        const char* field;
        std::string value;
        int offset;
        std::string stored; // empty: refused
        unsigned error;
    } cases[] = {
        {"AMOUNT", "3.14159", AMOUNT, "  3.14", 0},
        {"AMOUNT", "2.5", AMOUNT, "  2.50", 0},
        {"AMOUNT", "1e2", AMOUNT, "100.00", 0},
        {"AMOUNT", "-7.126", AMOUNT, " -7.13", 0},
        {"AMOUNT", "  -7.126", AMOUNT, " -7.10", 0}, // the first six characters: "  -7.1"
        {"COUNT", "12345678", COUNT, "12345", 0}, // only the first five characters are read
        {"COUNT", "-99999", COUNT, "-9999", 0},
        {"COUNT", "abc", COUNT, "    0", 0},
        {"COUNT", "inf", COUNT, "    0", 0},
        {"COUNT", "0x1F", COUNT, "    0", 0},
        {"COUNT", "\t12", COUNT, "    0", 0}, // only blanks may stand before the number
        {"SMALL", "123456", SMALL, "**** ", 0}, // 12345.0 does not fit five characters
        {"FLAG", "t", FLAG, "F", 0},
        {"FLAG", "1", FLAG, "T", 0},
        {"FLAG", "True", FLAG, "T", 0},
        {"FLAG", "", FLAG, "F", 0},
        {"NAME", "Schmidt", NAME, "Schmidt   ", 0},
        {"NAME", "A very long name", NAME, "A very lon", 0},
        {"NAME", raw, NAME, raw.substr(1, 10), 0},
        {"BORN", "20240229", BORN, "20240229", 0},
        {"NOTE", "0000000012", NOTE, "0000000012", 0},
        {"NOTE", "12", NOTE, "", 47},
        {"INDEXKEY", "x", NAME, "", 14},
        {"NOSUCH", "x", NAME, "", 14},
    };
    for (const auto& c : cases) {
        db_goto(1);
        const std::string before = Record();
        m_error = 0;
        const std::string what = std::string(c.field) + " <- '" + c.value.c_str() + "'";
        EXPECT_EQ(c.error == 0, (bool)db_replace(c.field, c.value.c_str())) << what;
        EXPECT_EQ(c.error, m_error) << what;
        const std::string after = Record();
        if (c.error == 0)
            EXPECT_EQ(c.stored, after.substr((size_t)c.offset, c.stored.size())) << what;
        else
            EXPECT_EQ(before, after) << what << ": a refused value leaves the buffer";
        db_goto(2); // drops the buffer: the next case starts from the stored record
    }
}

// Numbers in their plain form (blanks, a sign, digits, a point, decimals) are stored as the run
// time prints the number they read as; so are those that take the general way (more decimals
// than the field has, too many digits to print back exactly, a negative zero, a text too wide).
TEST_F(FieldAccess, ReplaceNumbersAsTheRunTimePrintsThem)
{
    db_select_area(3);
    ASSERT_TRUE(Use("wide.dbf",
                    DbfImage({{"BIG", 'N', 20, 4}, {"WHOLE", 'N', 20, 0}, {"FINE", 'N', 19, 15}},
                             {std::string(61, ' ')}),
                    0x01, "W"));
    const struct {
        const char* field;
        int area, offset, width, decimals;
    } fields[] = {
        {"AMOUNT", 1, AMOUNT, 6, 2}, {"COUNT", 1, COUNT, 5, 0}, {"SMALL", 1, SMALL, 5, 1},
        {"BIG", 3, 1, 20, 4},        {"WHOLE", 3, 21, 20, 0},   {"FINE", 3, 41, 19, 15},
    };
    const char* values[] = {"0",     "00",    "-0",    "-0.0",  "-0.00", "0.5",   "-0.5",  ".5",    "5.",
                            "007.5", "1.25",  "12.3",  "12.345", "99.99", "999.99", "-99.9", "100",   " 42",
                            "  -3",  "1.0",   "0.1",   "123.1", "-0.05", "12345678901", "123456789012",
                            "12345678901.2345", "999999999999999", "1234567890123456", "0.000000000000001"};
    for (const auto& f : fields)
        for (const char* value : values) {
            db_select_area(f.area);
            db_goto(1);
            Record(); // reads the buffer
            const std::string what = std::string(f.field) + " <- '" + value + "'";
            ASSERT_TRUE(db_replace(f.field, value)) << what << ": error " << m_error;
            const int precision = std::max(0, std::min({f.decimals, f.width - 1, 15}));
            char printed[128];
            const int n = snprintf(printed, sizeof printed, "%*.*f", f.width, precision,
                                   strtod(std::string(value).substr(0, (size_t)f.width).c_str(), nullptr));
            std::string expected = n > f.width ? std::string((size_t)(f.width - 1), '*') : std::string(printed);
            expected.resize((size_t)f.width, ' ');
            EXPECT_EQ(expected, Record().substr((size_t)f.offset, (size_t)f.width)) << what;
            db_goto(2); // drops the buffer
        }
    db_select_area(1);
}

TEST_F(FieldAccess, ReplacePreconditions)
{
    s_Area* area = nullptr;
    const struct {
        const char* what;
        unsigned useFlags;
        std::function<void()> setup;
        unsigned error;
    } cases[] = {
        {"exclusive table", 0x01, [] { Contents("NAME"); }, 0},
        {"shared table, new record after db_blank", 0x00, [] { db_blank(); }, 0},
        {"shared table without a lock", 0x00, [] { Contents("NAME"); }, 44},
        {"caller's record lock", 0x00, [&] { Contents("NAME"); area->lockBits = 0x20; }, 0},
        {"caller's file lock", 0x00, [&] { Contents("NAME"); area->lockBits = 0x40; }, 0},
        {"engine's record lock", 0x00, [&] { Contents("NAME"); area->lockBits = 0x02; }, 0},
        {"fake record lock", 0x00, [&] { Contents("NAME"); area->lockBits = 0x08; }, 44},
        {"header lock", 0x00, [&] { Contents("NAME"); area->lockBits = 0x11; }, 44},
        {"read-only table", 0x11, [] { Contents("NAME"); }, 54},
        {"buffer not read since the table was opened", 0x01, [] {}, 22},
        {"buffer not read after a skip", 0x01, [] { db_skip(1); }, 22},
        {"table file closed", 0x01, [] { Contents("NAME"); db_files_close(); }, 9},
    };
    g_Job->exclusive = 0;
    for (const auto& c : cases) {
        ASSERT_TRUE(db_files_checkopen() || db_files_open());
        ASSERT_TRUE(db_use(File("fields.dbf").c_str(), c.useFlags, nullptr, 0)) << c.what;
        area = g_Job->currentArea;
        c.setup();
        m_error = 0;
        EXPECT_EQ(c.error == 0, (bool)db_replace("NAME", "Neu")) << c.what;
        EXPECT_EQ(c.error, m_error) << c.what;
        const std::string record = std::string(" ") + Row("Neu", "F").substr(1);
        m_error = 0;
        EXPECT_EQ(c.error == 0, (bool)db_replace_record(record.c_str())) << c.what;
        EXPECT_EQ(c.error, m_error) << c.what;
        area->lockBits = 0;
    }
    g_Job->exclusive = 1;
}

TEST_F(FieldAccess, BeforeImageIsTakenByTheFirstChange)
{
    db_goto(1);
    const std::string stored = Record();
    s_Area* area = g_Job->currentArea;
    EXPECT_FALSE(area->beforeImageValid);
    ASSERT_TRUE(db_replace("NAME", "Erste"));
    ASSERT_TRUE(db_replace("NAME", "Zweite"));
    EXPECT_TRUE(area->beforeImageValid);
    EXPECT_EQ(stored, std::string(area->beforeImage.get(), LENGTH)) << "the image of the record as read";
    EXPECT_TRUE(area->changed);
    db_goto(2);
    EXPECT_EQ("Huber     ", Contents("NAME"));
    EXPECT_FALSE(area->beforeImageValid) << "reading a record drops the image";
    EXPECT_FALSE(area->changed);
}

TEST_F(FieldAccess, WithoutTable)
{
    db_select_area(3);
    m_error = 0;
    char buffer[8] = "x";
    EXPECT_FALSE(db_get_contents("NAME", buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    EXPECT_FALSE(db_get_record(buffer, sizeof buffer));
    EXPECT_FALSE(db_replace("NAME", "x"));
    EXPECT_FALSE(db_replace_record(buffer));
    EXPECT_FALSE(db_blank());
    EXPECT_EQ(0u, db_get_reference("NAME"));
    EXPECT_EQ(0u, db_recsize());
    EXPECT_EQ(0u, db_header());
    EXPECT_EQ(0u, m_error) << "no table: no error";
}
