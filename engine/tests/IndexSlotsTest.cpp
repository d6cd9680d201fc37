// Index slots and the controlling order: opening existing index files (and refusing damaged
// ones), choosing the order, the getters of a slot's file and key, and the index locks of
// exclusive and shared tables.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "BoxObj.h"
#include "IndexTestKit.h"
#include "Job.h"
#include "NtxFormat.h"
#include "vlDB07.h"

using namespace idxtest;
using tabletest::Put16;

namespace {

std::vector<Row> Names()
{
    return {{"Row 3", 1, "20240101"}, {"Row 1", 2, ""},  {"Row 5", 3, "19990101"},
            {"Row 2", 4, "20000101"}, {"Row 4", 5, ""},  {"Row 0", 6, "20240101"}};
}

// Record numbers in NAME order.
const std::vector<long> kNameOrder = {6, 2, 4, 1, 5, 3};
const std::vector<long> kNaturalOrder = {1, 2, 3, 4, 5, 6};

std::string Text(BOOL (*getter)(unsigned, char*, unsigned), unsigned slot)
{
    char buffer[MAX_PATH] = "garbage";
    if (!getter(slot, buffer, sizeof buffer))
        return "<failed>";
    return buffer;
}

std::string Upper(std::string text)
{
    CharUpperBuffA(text.data(), (DWORD)text.size());
    return text;
}

class IndexSlots : public IndexFixture {
protected:
    // The table with an index on NAME in orders.ntx, its slot closed again.
    void SetUpOrders(unsigned flags)
    {
        ASSERT_TRUE(Open(Names(), flags));
        ASSERT_TRUE(db_index_on(1, "NAME", File("orders").c_str(), 0));
        ASSERT_TRUE(db_set_index_to(1, nullptr));
        ASSERT_EQ(0u, db_indexord());
    }
};

} // namespace

TEST_F(IndexSlots, OpeningMakesTheIndexControlling)
{
    SetUpOrders(0x01);
    ASSERT_EQ(4, db_goto(4));
    EXPECT_TRUE(db_set_index_to(2, File("orders").c_str()));
    EXPECT_EQ(2u, db_indexord());
    EXPECT_EQ("ORDERS", Text(db_get_index, 2));
    EXPECT_EQ(Upper(File("orders.ntx")), Text(db_get_indexpath, 2));
    EXPECT_EQ(4u, db_recno()) << "the area stays on its record";
    EXPECT_EQ(1, db_skip(1)) << "and goes on from it in key order";
    EXPECT_EQ(kNameOrder, Walk());

    EXPECT_TRUE(db_set_index_to(3, File("Orders.NTX").c_str())) << "the same file again";
    EXPECT_EQ("", Text(db_get_indexpath, 3)) << "slot 3 stays empty";
    EXPECT_EQ(2u, db_indexord());

    EXPECT_TRUE(db_set_order(0));
    EXPECT_EQ(0u, db_indexord());
    EXPECT_EQ(kNaturalOrder, Walk());
    EXPECT_TRUE(db_set_order(2));
    EXPECT_EQ(kNameOrder, Walk());

    EXPECT_TRUE(db_set_index_to(2, nullptr));
    EXPECT_EQ(0u, db_indexord()) << "closing the controlling index: natural order";
    EXPECT_EQ("", Text(db_get_index, 2));
    EXPECT_TRUE(DeleteFileA(File("orders.ntx").c_str())) << "the file is closed";
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexSlots, RefusesSlotNumbersAndSlotsNotInUse)
{
    SetUpOrders(0x01);
    ASSERT_TRUE(db_set_index_to(2, File("orders").c_str()));
    const struct {
        const char* what;
        std::function<BOOL()> call;
        unsigned error;
    } cases[] = {
        {"db_set_order of a slot not in use", [] { return db_set_order(4); }, DBE_NO_INDEX},
        {"db_set_order(51)", [] { return db_set_order(51); }, DBE_BAD_ORDER},
        {"db_set_order(-1)", [] { return db_set_order(-1); }, DBE_BAD_ORDER},
        {"db_set_order_no_adjust of a slot not in use", [] { return db_set_order_no_adjust(5); }, DBE_NO_INDEX},
        {"db_set_index_to(0)", [this] { return db_set_index_to(0, File("orders").c_str()); }, DBE_BAD_ORDER},
        {"db_set_index_to(51)", [this] { return db_set_index_to(51, File("orders").c_str()); }, DBE_BAD_ORDER},
        {"db_get_index(0)", [] { char b[8]; return db_get_index(0, b, sizeof b); }, DBE_BAD_ORDER},
        {"db_get_indexpath(51)", [] { char b[8]; return db_get_indexpath(51, b, sizeof b); }, DBE_BAD_ORDER},
        {"db_indexkey(0)", [] { char b[8]; return db_indexkey(0, b, sizeof b); }, 0},
        {"db_indexvalue(51)", [] { char b[8]; return db_indexvalue(51, b, sizeof b); }, 0},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call()) << c.what;
        EXPECT_EQ(c.error ? std::vector<unsigned>{c.error} : std::vector<unsigned>{}, TakeErrors()) << c.what;
        EXPECT_EQ(2u, db_indexord()) << c.what << ": the order stays";
    }
    EXPECT_EQ(kNameOrder, Walk());
}

TEST_F(IndexSlots, RefusesFilesThatAreNoUsableIndex)
{
    ASSERT_TRUE(Open(Names()));
    const std::string good = ntxtest::EmptyIndex(10);
    auto patched = [&](size_t at, unsigned value) {
        std::string image = good;
        Put16(image, at, value);
        return image;
    };
    auto expression = [&](const std::string& text) {
        std::string image = good;
        image.replace(22, 256, std::string(256, '\0'));
        image.replace(22, text.size(), text);
        return image;
    };
    const struct {
        const char* what;
        std::string image;   // empty: no file
        unsigned error;
    } cases[] = {
        {"no file", "", DBE_INDEX_OPEN},
        {"a header shorter than 297 bytes", good.substr(0, 296), DBE_INDEX_READ},
        {"an index header of another format", std::string("\x01\x00\x00\x00\x02\x00\x00\x00", 8) + std::string(1016, 'x'), DBE_INDEX_BAD},
        {"an odd max keys", patched(18, 49), DBE_INDEX_BAD},
        {"an item size other than key size + 8", patched(12, 20), DBE_INDEX_BAD},
        {"a key expression that does not compile", expression("NAME +"), DBE_EXPRESSION},
        {"a logical key", expression("AMOUNT > 2"), DBE_KEY_TYPE},
        {"a character key of another length", expression("NAME+NAME"), DBE_KEY_TYPE},
    };
    for (const auto& c : cases) {
        const std::string path = File("bad.ntx");
        DeleteFileA(path.c_str());
        if (!c.image.empty()) {
            ASSERT_TRUE(oxtest::WriteFileText(path, c.image));
        }
        EXPECT_FALSE(db_set_index_to(1, path.c_str())) << c.what;
        EXPECT_EQ(std::vector<unsigned>{c.error}, TakeErrors()) << c.what;
        EXPECT_EQ("", Text(db_get_indexpath, 1)) << c.what;
        EXPECT_EQ(0u, db_indexord()) << c.what;
        if (!c.image.empty()) {
            EXPECT_TRUE(DeleteFileA(path.c_str())) << c.what << ": the file is closed again";
        }
    }
    // A unique signature makes a unique index whatever its unique field says.
    ASSERT_TRUE(oxtest::WriteFileText(File("uniq.ntx"), ntxtest::EmptyIndex(10, 0, 0x0106)));
    ASSERT_TRUE(db_set_index_to(1, File("uniq.ntx").c_str()));
    EXPECT_TRUE(ntx::Unique(Area().indexes[0].header));
}

TEST_F(IndexSlots, OrderWithoutAdjustingLeavesTheIndexUnpositioned)
{
    SetUpOrders(0);
    ASSERT_TRUE(db_set_index_to(1, File("orders").c_str()));
    ASSERT_EQ(4, db_goto(4));
    s_Index& slot = Area().indexes[0];
    ASSERT_TRUE(slot.currentPage) << "db_goto found the record in the index";
    EXPECT_TRUE(db_set_order_no_adjust(1)) << "the controlling slot again";
    EXPECT_EQ(nullptr, slot.currentPage);
    EXPECT_EQ(-1, slot.level);
    EXPECT_TRUE(slot.pages == nullptr || slot.pages->PageCount() == 0) << "a shared table's cache is dropped";
    EXPECT_TRUE(db_set_order(0));
    EXPECT_TRUE(db_set_order(1));
    EXPECT_TRUE(slot.currentPage) << "db_set_order finds the record again";
    EXPECT_EQ(1, db_skip(1));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexSlots, ExclusiveTablesKeepTheirIndexesLocked)
{
    for (unsigned flags : {0x01u, 0x00u}) {
        SetUpOrders(flags);
        ASSERT_TRUE(db_set_index_to(1, File("orders").c_str()));
        EXPECT_EQ(flags ? 1 : 0, Area().indexes[0].lockCount) << "flags " << flags;
        ASSERT_TRUE(db_close(3));
        EXPECT_TRUE(DeleteFileA(File("orders.ntx").c_str())) << "flags " << flags;
    }
}

TEST_F(IndexSlots, IndexesOpenedWhileTheFilesAreClosedKeepTheirWrites)
{
    for (unsigned flags : {0x01u, 0x00u}) {
        SCOPED_TRACE(flags ? "exclusive" : "shared");
        SetUpOrders(flags);
        ASSERT_TRUE(db_files_close());
        ASSERT_TRUE(db_set_index_to(1, File("orders").c_str()));
        EXPECT_EQ(0, Area().indexes[0].lockCount) << "no file, no lock";
        ASSERT_TRUE(db_files_open());
        // An exclusive table keeps its indexes locked from the moment their files are open.
        EXPECT_EQ(flags ? 1 : 0, Area().indexes[0].lockCount);
        std::vector<Row> rows = Names();
        for (const char* name : {"Row 9", "Row 7", "Row 8"}) {
            rows.push_back({name, 0, ""});
            ASSERT_TRUE(db_blank());
            ASSERT_TRUE(db_replace("NAME", name));
            ASSERT_TRUE(db_insert());
        }
        ASSERT_TRUE(db_close(3));
        EXPECT_EQ(Expected(rows, NameField), ScanFile("ORDERS.NTX").entries);
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    }
}

TEST_F(IndexSlots, AUniqueSignatureIsKeptWhenTheIndexIsWritten)
{
    for (unsigned flags : {0x01u, 0x00u}) {
        for (bool filesClosed : {false, true}) {
            SCOPED_TRACE(std::string(flags ? "exclusive" : "shared") + (filesClosed ? ", opened with the files closed" : ""));
            SetUpOrders(flags);
            std::string image = Image("ORDERS.NTX");
            Put16(image, 0, 0x0106);
            ASSERT_TRUE(oxtest::WriteFileText(File("ORDERS.NTX"), image));
            if (filesClosed) {
                ASSERT_TRUE(db_files_close());
            }
            ASSERT_TRUE(db_set_index_to(1, File("orders").c_str()));
            if (filesClosed) {
                ASSERT_TRUE(db_files_open());
            }
            EXPECT_TRUE(ntx::Unique(Area().indexes[0].header)) << "the signature makes a unique index";
            ASSERT_TRUE(db_blank());
            ASSERT_TRUE(db_replace("NAME", "Row 9"));
            ASSERT_TRUE(db_insert());
            ASSERT_TRUE(db_close(3));
            image = Image("ORDERS.NTX");
            EXPECT_EQ(0x0106u, tabletest::Get16(image, 0)) << "the signature stays";
            EXPECT_EQ(0u, tabletest::Get16(image, 278)) << "the unique field stays as the file had it";
            EXPECT_EQ(Names().size() + 1, ScanFile("ORDERS.NTX").entries.size()) << "the new key is written";
        }
    }
}

TEST_F(IndexSlots, ClosedFilesAreOpenedWithTheTable)
{
    SetUpOrders(0);
    ASSERT_TRUE(db_files_close());
    EXPECT_TRUE(db_set_index_to(1, File("orders").c_str()));
    EXPECT_EQ(INVALID_HANDLE_VALUE, Area().indexes[0].file);
    ASSERT_TRUE(db_files_open());
    EXPECT_NE(INVALID_HANDLE_VALUE, Area().indexes[0].file);
    EXPECT_EQ(kNameOrder, Walk());
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexSlots, KeyExpressionAndKeyValueOfASlot)
{
    ASSERT_TRUE(Open(Names()));
    ASSERT_TRUE(db_index_on(1, "upper(name)", File("name").c_str(), 0));
    ASSERT_TRUE(db_index_on(2, "BORN", File("born").c_str(), 0));
    EXPECT_EQ("UPPER(NAME)", Text(db_indexkey, 1));
    EXPECT_EQ("", Text(db_indexkey, 7)) << "a slot not in use";
    ASSERT_EQ(2, db_goto(2));
    EXPECT_EQ("ROW 1     ", Text(db_indexvalue, 1));
    EXPECT_EQ("\xFF       ", Text(db_indexvalue, 2)) << "the stored form of the empty date";
    // An unsaved change is dropped: the key is the stored one.
    ASSERT_TRUE(db_replace("NAME", "Changed"));
    EXPECT_EQ("ROW 1     ", Text(db_indexvalue, 1));
    EXPECT_EQ("Row 1     ", tabletest::Contents("NAME"));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    ASSERT_TRUE(db_files_close());
    EXPECT_EQ("<failed>", Text(db_indexkey, 1));
    EXPECT_EQ(std::vector<unsigned>{DBE_FILES_CLOSED}, TakeErrors());
    ASSERT_TRUE(db_files_open());
}
