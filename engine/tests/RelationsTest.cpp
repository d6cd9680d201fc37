// Relations: the relations that are refused, the children's positions after every kind of parent
// move (a seek in the child's index, a record number, a chain), the order of two relations, their
// deletion, a child closed meanwhile, writing and locking children (against a second process),
// and hostile graphs: a chain through all 250 areas, cycles, and shared children whose walks would
// grow without bound.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IndexTestKit.h"
#include "Job.h"
#include "PeerProcess.h"
#include "Relations.h"
#include "vlDB07.h"

using namespace idxtest;
using tabletest::Contents;
using tabletest::DbfImage;

namespace {

// Area 1, alias ORDERS (index on CUST, slot 1, controlling only where a test says so):
//   rec  CUST  ITEM
//     1  C2       3
//     2  C9       1     no such customer
//     3  C1       7
//     4  C2       0     no item 0
//     5  C3      20     no item 20
std::string OrdersImage()
{
    return DbfImage({{"CUST", 'C', 5, 0}, {"ITEM", 'N', 3, 0}},
                    {" C2     3", " C9     1", " C1     7", " C2     0", " C3    20"});
}
// Area 2, alias CUST (index on ID): 1 C1 Berlin, 2 C2 Hamburg, 3 C3 Bonn.
std::string CustImage()
{
    return DbfImage({{"ID", 'C', 5, 0}, {"CITY", 'C', 10, 0}},
                    {" C1   Berlin    ", " C2   Hamburg   ", " C3   Bonn      "});
}
// Area 3, alias ITEMS (no index): records 1..8 named I1..I8.
std::string ItemsImage()
{
    std::vector<std::string> records;
    for (int i = 1; i <= 8; ++i)
        records.push_back(" I" + std::to_string(i));
    return DbfImage({{"NAME", 'C', 4, 0}}, records);
}
// Area 4, alias CITIES (index on CITY): 1 Bonn 0228, 2 Berlin 030, 3 Hamburg 040.
std::string CitiesImage()
{
    return DbfImage({{"CITY", 'C', 10, 0}, {"AREA", 'C', 4, 0}},
                    {" Bonn      0228", " Berlin    030 ", " Hamburg   040 "});
}

class Relations : public IndexFixture {
protected:
    // The four tables, area 1 current. flags: 0x01 exclusive, 0 shared.
    void OpenAll(unsigned flags = 0x01)
    {
        db_set_exclusive(flags & 0x01);
        ASSERT_EQ(2, db_select_area(2));
        ASSERT_TRUE(Use("cust.dbf", CustImage(), flags, "CUST"));
        ASSERT_TRUE(db_index_on(1, "ID", File("cust_id").c_str(), 0));
        ASSERT_EQ(3, db_select_area(3));
        ASSERT_TRUE(Use("items.dbf", ItemsImage(), flags, "ITEMS"));
        ASSERT_EQ(4, db_select_area(4));
        ASSERT_TRUE(Use("cities.dbf", CitiesImage(), flags, "CITIES"));
        ASSERT_TRUE(db_index_on(1, "CITY", File("cities").c_str(), 0));
        ASSERT_EQ(1, db_select_area(1));
        ASSERT_TRUE(Use("orders.dbf", OrdersImage(), flags, "ORDERS"));
        db_set_exclusive(1);
        ASSERT_EQ(std::vector<unsigned>{}, TakeErrors());
    }

    // Record number of an area (the current area stays).
    static long RecnoOf(int area)
    {
        const int previous = db_select(nullptr);
        db_select_area(area);
        const long recno = (long)db_recno();
        db_select_area(previous);
        return recno;
    }
    static std::string FieldOf(int area, const char* field)
    {
        const int previous = db_select(nullptr);
        db_select_area(area);
        const std::string text = Contents(field);
        db_select_area(previous);
        return text;
    }
    static s_Area& AreaNo(int n) { return *g_Job->areas[n - 1]; }
};

} // namespace

TEST_F(Relations, RefusedRelations)
{
    OpenAll();
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_add_relation("CITIES", "CITY"));
    ASSERT_EQ(1, db_select_area(1));
    TakeErrors();
    const struct {
        const char* what;
        int from;
        const char* child;
        const char* key;
        unsigned error;
    } cases[] = {
        {"the child is the parent", 1, nullptr, "CUST", DBE_CHILD_IS_PARENT},
        {"the child is the parent, by alias", 1, "orders", "CUST", DBE_CHILD_IS_PARENT},
        {"the child is the parent, by reference", 1, DB_AREAREF(1), "CUST", DBE_CHILD_IS_PARENT},
        {"a cycle of two", 2, "ORDERS", "ID", DBE_CHILD_IS_PARENT},
        {"a cycle of three", 4, "ORDERS", "CITY", DBE_CHILD_IS_PARENT},
        {"an unknown alias", 1, "NOPE", "CUST", DBE_NO_ALIAS},
        {"an unused area", 1, DB_AREAREF(9), "CUST", DBE_NO_ALIAS},
        {"no index and a text key", 1, "ITEMS", "CUST", DBE_RELATION},
        {"no index and a date key", 1, "ITEMS", "TODAY()", DBE_RELATION},
        {"a key that does not compile", 1, "ITEMS", "ITEM +", DBE_EXPRESSION},
        {"a key that cannot be evaluated", 1, "ITEMS", "DOW(TODAY())", DBE_FUNCTION},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.from, db_select_area(c.from));
        s_Relation* before = AreaNo(c.from).relations;
        EXPECT_FALSE(db_add_relation(c.child, c.key)) << c.what;
        EXPECT_EQ(std::vector<unsigned>{c.error}, TakeErrors()) << c.what;
        EXPECT_EQ(before, AreaNo(c.from).relations) << c.what << ": nothing added";
        EXPECT_EQ(c.from, db_select(nullptr)) << c.what << ": the parent stays current";
    }
    // Without a table in the current area: FALSE, no error.
    ASSERT_EQ(7, db_select_area(7));
    EXPECT_FALSE(db_add_relation("CUST", "CUST"));
    EXPECT_FALSE(db_delete_relations());
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(Relations, ChildrenFollowEveryMoveOfTheParent)
{
    OpenAll();
    ASSERT_TRUE(db_index_on(1, "CUST", File("orders_cust").c_str(), 0));
    ASSERT_TRUE(db_set_order(0));
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_add_relation("CITIES", "CITY"));
    ASSERT_EQ(1, db_select_area(1));
    ASSERT_EQ(1, db_goto(1));
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_TRUE(db_add_relation("ITEMS", "ITEM + 0.9"));
    // Made on record 1: C2 -> Hamburg -> CITIES 3; item 3.9 -> record 3.
    EXPECT_EQ(2, RecnoOf(2));
    EXPECT_EQ(3, RecnoOf(4));
    EXPECT_EQ(3, RecnoOf(3));

    struct Move {
        const char* what;
        bool (*move)();
        long orders, cust, items, cities;
    };
    const Move moves[] = {
        {"goto 3", [] { return db_goto(3) == 3; }, 3, 1, 7, 2},
        {"skip back", [] { return db_skip(-1) == 2; }, 2, DB_EOF, 1, DB_EOF},
        {"a missing item number", [] { return db_goto(4) == 4; }, 4, 2, DB_EOF, 3},
        {"an item number beyond the table", [] { return db_skip(1) == 5; }, 5, 3, DB_EOF, 1},
        {"go top", [] { return db_goto(0) == 1; }, 1, 2, 3, 3},
        {"go bottom", [] { return db_goto(-1) == 5; }, 5, 3, DB_EOF, 1},
        {"locate", [] { return db_locate("ITEM = 7") && db_found(); }, 3, 1, 7, 2},
        {"continue to the end of file", [] { return db_continue() && !db_found(); }, DB_EOF, DB_EOF, DB_EOF, DB_EOF},
        {"seek", [] { return db_set_order(1) && db_seek("C3   "); }, 5, 3, DB_EOF, 1},
        {"wildcard seek", [] { return db_seek_wild("C?") && db_recno() == 3; }, 3, 1, 7, 2},
        {"expression seek", [] { return db_seek_expression("'C9   '") && db_found(); }, 2, DB_EOF, 1, DB_EOF},
        {"blank", [] { return db_set_order(0) && db_blank(); }, DB_EOF, DB_EOF, DB_EOF, DB_EOF},
    };
    for (const Move& m : moves) {
        ASSERT_TRUE(m.move()) << m.what;
        EXPECT_EQ(1, db_select(nullptr)) << m.what;
        EXPECT_EQ(m.orders, (long)db_recno()) << m.what;
        EXPECT_EQ(m.cust, RecnoOf(2)) << m.what;
        EXPECT_EQ(m.items, RecnoOf(3)) << m.what;
        EXPECT_EQ(m.cities, RecnoOf(4)) << m.what;
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << m.what;
    }
    // A child without a match stands at the end of file with a blank record.
    ASSERT_EQ(2, db_goto(2));
    EXPECT_EQ(std::string("          "), FieldOf(2, "CITY"));
    EXPECT_TRUE(AreaNo(2).eof);
    EXPECT_FALSE(AreaNo(2).changed);
    EXPECT_EQ(std::string("I1  "), FieldOf(3, "NAME"));
}

TEST_F(Relations, NewestRelationIsRepositionedFirst)
{
    OpenAll();
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_TRUE(db_add_relation("CUST", "'C3   '"));
    // The newest ('C3') goes first, the oldest (CUST) decides where the child stays.
    ASSERT_EQ(3, db_goto(3));
    EXPECT_EQ(1, RecnoOf(2));
    ASSERT_TRUE(db_delete_relations());
    ASSERT_TRUE(db_add_relation("CUST", "'C3   '"));
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_EQ(1, db_goto(1));
    EXPECT_EQ(3, RecnoOf(2));
}

TEST_F(Relations, DeletingRelationsRemovesTheTreeBelow)
{
    OpenAll();
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_add_relation("CITIES", "CITY"));
    ASSERT_EQ(1, db_select_area(1));
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_TRUE(db_align_relations());
    ASSERT_TRUE(db_delete_relations());
    EXPECT_EQ(nullptr, AreaNo(1).relations);
    EXPECT_EQ(nullptr, AreaNo(2).relations) << "the child's relations went with the parent's";
    EXPECT_FALSE(db_align_relations()) << "no relations left";
    EXPECT_FALSE(db_write_relations());
    EXPECT_FALSE(db_rlock_relations(0));
    EXPECT_FALSE(db_unlock_relations());
    // The child no longer follows.
    ASSERT_EQ(2, RecnoOf(2));
    ASSERT_EQ(3, db_goto(3));
    EXPECT_EQ(2, RecnoOf(2));
    // A relation may be made again, also the other way round now.
    ASSERT_EQ(2, db_select_area(2));
    EXPECT_TRUE(db_add_relation("ORDERS", "RECNO()"));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(Relations, AClosedChildIsReportedAndAReopenedOneFollowsAgain)
{
    OpenAll();
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_close(3));
    ASSERT_EQ(1, db_select_area(1));
    EXPECT_EQ(3, db_goto(3)) << "the parent moves all the same";
    EXPECT_EQ(std::vector<unsigned>{DBE_CHILD_GONE}, TakeErrors());
    EXPECT_TRUE(db_align_relations()) << "the walk reports the error";
    EXPECT_EQ(std::vector<unsigned>{DBE_CHILD_GONE}, TakeErrors());
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_use(File("cust.dbf").c_str(), 0x01, "CUST", 0));
    ASSERT_TRUE(db_set_index_to(1, File("cust_id").c_str()));
    ASSERT_EQ(1, db_select_area(1));
    ASSERT_EQ(1, db_goto(1));
    EXPECT_EQ(2, RecnoOf(2));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    // Closing the parent frees its relations; the area reopened has none.
    ASSERT_TRUE(db_close(3));
    ASSERT_TRUE(db_use(File("orders.dbf").c_str(), 0x01, "ORDERS", 0));
    EXPECT_EQ(nullptr, AreaNo(1).relations);
}

TEST_F(Relations, WritingThroughTheRelations)
{
    OpenAll();
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    // Record 1: the parent and its child changed, written together.
    ASSERT_EQ(1, db_goto(1));
    ASSERT_TRUE(db_replace("ITEM", "4"));
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_replace("CITY", "Altona"));
    ASSERT_EQ(1, db_select_area(1));
    EXPECT_TRUE(db_write_relations());
    // Record 2: the child stands at the end of file; its new record is appended.
    ASSERT_EQ(2, db_goto(2));
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_replace("ID", "C9"));
    ASSERT_TRUE(db_replace("CITY", "Kiel"));
    ASSERT_EQ(1, db_select_area(1));
    EXPECT_TRUE(db_write_relations());
    EXPECT_EQ(4, RecnoOf(2)) << "repositioned on the new record";
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());

    // Read back from the files.
    db_close(0);
    ASSERT_TRUE(db_use(File("cust.dbf").c_str(), 0x01, nullptr, 0));
    ASSERT_TRUE(db_set_index_to(1, File("cust_id").c_str()));
    EXPECT_EQ(4u, db_reccount());
    ASSERT_TRUE(db_seek("C2   "));
    EXPECT_EQ(std::string("Altona    "), Contents("CITY"));
    ASSERT_TRUE(db_seek("C9   "));
    EXPECT_EQ(std::string("Kiel      "), Contents("CITY"));
    ASSERT_TRUE(db_close(3));
    ASSERT_TRUE(db_use(File("orders.dbf").c_str(), 0x01, nullptr, 0));
    ASSERT_EQ(1, db_goto(1));
    EXPECT_EQ(std::string("  4"), Contents("ITEM"));
}

TEST_F(Relations, AFailedChildWriteKeepsItsChanges)
{
    OpenAll();
    // The child's write fails (its table turned read-only after the change), and its changed
    // buffer stays for another try.
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_EQ(3, db_goto(3));
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_replace("CITY", "Potsdam"));
    AreaNo(2).readOnly = 1;
    ASSERT_EQ(1, db_select_area(1));
    EXPECT_FALSE(db_write_relations());
    EXPECT_EQ(std::vector<unsigned>{DBE_READ_ONLY}, TakeErrors());
    EXPECT_EQ(1, db_select(nullptr));
    EXPECT_EQ(std::string("Potsdam   "), FieldOf(2, "CITY"));
    EXPECT_TRUE(AreaNo(2).changed);
}

TEST_F(Relations, LockingThroughTheRelationsAgainstAnotherProcess)
{
    OpenAll(0x00);
    ASSERT_TRUE(db_add_relation("CUST", "CUST"));
    ASSERT_TRUE(db_add_relation("ITEMS", "ITEM"));
    const unsigned kRecordLock = DB_LOCK_CALLER_RECORD;

    // Record 1: ORDERS 1, CUST 2, ITEMS 3 locked together, and unlocked together.
    ASSERT_EQ(1, db_goto(1));
    EXPECT_TRUE(db_rlock_relations(0));
    for (int a : {1, 2, 3})
        EXPECT_EQ(kRecordLock, AreaNo(a).lockBits & kRecordLock) << "area " << a;
    EXPECT_EQ(1, db_select(nullptr));
    EXPECT_TRUE(db_unlock_relations());
    for (int a : {1, 2, 3})
        EXPECT_EQ(0u, AreaNo(a).lockBits & kRecordLock) << "area " << a;

    // Record 2: CUST at the end of file counts as locked.
    ASSERT_EQ(2, db_goto(2));
    EXPECT_TRUE(db_rlock_relations(0));
    EXPECT_EQ(0u, AreaNo(2).lockBits & kRecordLock);
    EXPECT_TRUE(db_unlock_relations());
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());

    // Another process holds the lock of ITEMS 7: on record 3 nothing stays locked.
    writetest::PeerProcess peer;
    ASSERT_TRUE(peer.Started());
    ASSERT_EQ("1 0", peer.Run("use " + File("items.dbf")));
    ASSERT_EQ("7 0", peer.Run("goto 7"));
    ASSERT_EQ("1 0", peer.Run("rlock 0"));
    ASSERT_EQ(3, db_goto(3));
    EXPECT_FALSE(db_rlock_relations(0));
    EXPECT_EQ(std::vector<unsigned>{DBE_LOCK}, TakeErrors());
    for (int a : {1, 2, 3})
        EXPECT_EQ(0u, AreaNo(a).lockBits & kRecordLock) << "area " << a;
    EXPECT_EQ(1, db_select(nullptr));
    // Once the other process lets go, the same call succeeds.
    ASSERT_EQ("1 0", peer.Run("unlock 0"));
    EXPECT_TRUE(db_rlock_relations(0));
    EXPECT_TRUE(db_unlock_relations());
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(Relations, AChainThroughEveryAreaAndTheCycleThatWouldCloseIt)
{
    // One table opened shared in all 250 areas; each area follows the one before it by record
    // number.
    const std::string path = File("chain.dbf");
    ASSERT_TRUE(oxtest::WriteFileText(path, ItemsImage()));
    db_set_exclusive(0);
    db_files_open();
    for (int a = 1; a <= DB_AREA_COUNT; ++a) {
        ASSERT_EQ(a, db_select_area(a));
        ASSERT_TRUE(db_use(path.c_str(), 0, nullptr, 0)) << a;
    }
    db_set_exclusive(1);
    for (int a = 1; a < DB_AREA_COUNT; ++a) {
        ASSERT_EQ(a, db_select_area(a));
        ASSERT_TRUE(db_add_relation(DB_AREAREF(a + 1), "RECNO()")) << a;
    }
    ASSERT_EQ(DB_AREA_COUNT, db_select_area(DB_AREA_COUNT));
    EXPECT_FALSE(db_add_relation(DB_AREAREF(1), "RECNO()"));
    EXPECT_EQ(std::vector<unsigned>{DBE_CHILD_IS_PARENT}, TakeErrors());
    ASSERT_EQ(100, db_select_area(100));
    EXPECT_FALSE(db_add_relation(DB_AREAREF(37), "RECNO()"));
    EXPECT_EQ(std::vector<unsigned>{DBE_CHILD_IS_PARENT}, TakeErrors());

    ASSERT_EQ(1, db_select_area(1));
    ASSERT_EQ(6, db_goto(6));
    for (int a : {2, 100, DB_AREA_COUNT})
        EXPECT_EQ(6, RecnoOf(a)) << a;
    ASSERT_EQ(DB_EOF, db_skip(10));
    EXPECT_EQ(DB_EOF, RecnoOf(DB_AREA_COUNT));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    // Deleting the top's relations removes the whole chain.
    ASSERT_TRUE(db_delete_relations());
    for (int a = 1; a <= DB_AREA_COUNT; ++a)
        ASSERT_EQ(nullptr, AreaNo(a).relations) << a;
}

TEST_F(Relations, SharedChildrenCannotMakeAWalkGrowWithoutBound)
{
    // Layers of two areas; each area of a layer is the parent of both areas of the next one, so a
    // walk from the top visits every area of layer k 2^k times. The relation that would make a
    // walk longer than the limit is refused.
    const std::string path = File("ladder.dbf");
    ASSERT_TRUE(oxtest::WriteFileText(path, ItemsImage()));
    db_set_exclusive(0);
    db_files_open();
    const int kLayers = 20;
    for (int a = 1; a <= 2 * kLayers; ++a) {
        ASSERT_EQ(a, db_select_area(a));
        ASSERT_TRUE(db_use(path.c_str(), 0, nullptr, 0)) << a;
    }
    db_set_exclusive(1);
    unsigned refusedAtLayer = 0;
    for (int layer = 1; layer < kLayers && !refusedAtLayer; ++layer)
        for (int from : {2 * layer - 1, 2 * layer})
            for (int to : {2 * layer + 1, 2 * layer + 2}) {
                ASSERT_EQ(from, db_select_area(from));
                if (!db_add_relation(DB_AREAREF(to), "RECNO()"))
                    refusedAtLayer = (unsigned)layer;
            }
    // Layer k is reached by 2^(k-2) ways from the top: the walk from the top repositions
    // 2 + 4 + ... + 2^12 = 8,190 children once layer 13 is reached; one relation more from there
    // adds 2,048 and passes 10,000. Every relation of that layer is refused.
    EXPECT_EQ(13u, refusedAtLayer);
    EXPECT_EQ(std::vector<unsigned>(4, DBE_RELATION), TakeErrors());
    ASSERT_EQ(1, db_select_area(1));
    ASSERT_EQ(5, db_goto(5));
    EXPECT_EQ(5, RecnoOf(2 * (int)refusedAtLayer));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(Relations, KeyTextIsShortenedForTheDump)
{
    OpenAll();
    const std::string longKey = "CUST+'" + std::string(70, 'x') + "'";
    ASSERT_TRUE(db_add_relation("CUST", longKey.c_str()));
    ASSERT_TRUE(db_add_relation("ITEMS", "ITEM"));
    const s_Relation* items = AreaNo(1).relations;
    ASSERT_NE(nullptr, items);
    EXPECT_EQ(std::string("ITEM"), items->text);
    ASSERT_NE(nullptr, items->next);
    EXPECT_EQ(longKey.substr(0, 29) + "..." + longKey.substr(longKey.size() - 26), items->next->text);
    EXPECT_EQ(2, items->next->child);
}
