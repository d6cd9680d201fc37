// Function and line lookup on the hand-made edge fixture (see EdgeFixture.h for its tables) and
// the pubnames version check. Every table is looked up once with the one-off functions and once
// through a single index kept over all its rows, asked in reverse order (its tables are then
// built by other addresses than the one asked). Lookups of real producers' files are compared with independent
// readers in SymbolPeerTest.py.
#include <gtest/gtest.h>

#include "DwarfIndex.h"
#include "DwarfLookup.h"
#include "SymTestKit.h"
#include "clsElfImage.h"

namespace {

struct Found {
    bool function = false;
    std::string name = "-";
    uint32_t displacement = 0;
    bool line = false;
    std::string file = "-";
    int number = 0;
};

// One lookup: through the kept index when given, else with the one-off functions.
Found Lookup(const clsElfImage& image, DwarfIndex* kept, uint64_t address)
{
    Found f;
    const DwarfQuery q = DwarfQuery::Same(address);
    f.function = kept ? kept->FindFunction(q, f.name, f.displacement) : DwarfFindFunction(image, q, f.name, f.displacement);
    f.line = kept ? kept->FindLine(q, f.file, f.number) : DwarfFindLine(image, q, f.file, f.number);
    return f;
}

// The cases of a table, in order for the one-off lookups and in reverse through one kept index.
template <typename Case, size_t N, typename Check>
void ForEachWay(const clsElfImage& image, const Case (&cases)[N], Check check)
{
    for (size_t i = 0; i < N; i++)
        check(cases[i], Lookup(image, nullptr, cases[i].address));
    DwarfIndex index(image);
    for (size_t i = N; i-- > 0;) {
        SCOPED_TRACE("kept index");
        check(cases[i], Lookup(image, &index, cases[i].address));
    }
}

} // namespace

TEST(DwarfFindFunction, EdgeFixture)
{
    clsElfImage image;
    ASSERT_TRUE(image.Load(BuildEdgeFixture()));
    struct Case {
        uint64_t address;
        bool found;
        const char* name;
        uint32_t displacement;
    };
    const Case cases[] = {
        {0x40, true, "Plain", 0},                  // a subprogram without containing_type
        {0x7F, true, "Plain", 0x3F},
        {0x200, true, "Space::Outer::Run", 0},     // containing_type chain of classes
        {0x23F, true, "Space::Outer::Run", 0x3F},
        {0x17F, true, "L100", 0x7F},               // between functions: the label below
        {0x180, true, "L180", 0},
        {0x80, true, "", 0x80},                    // no label below: empty name, found all the same
        {0x310, false, "-", 0},                    // the DWARF 5 unit is stepped over ...
        {0x400, true, "AfterFive", 0},             // ... and the units behind it are still read
        {0x47F, true, "AfterFive", 0x7F},
        {0x510, true, "Before", 0x10},             // before the entry with an unknown form
        {0x550, false, "-", 0},                    // behind it: the walk of that unit ended
        {0x600, false, "-", 0},                    // outside every range
    };
    ForEachWay(image, cases, [](const Case& c, const Found& f) {
        EXPECT_EQ(c.found, f.function) << std::hex << c.address;
        EXPECT_EQ(c.name, f.name) << std::hex << c.address;
        if (c.found) {
            EXPECT_EQ(c.displacement, f.displacement) << std::hex << c.address;
        }
    });
}

TEST(DwarfFindLine, EdgeFixture)
{
    clsElfImage image;
    ASSERT_TRUE(image.Load(BuildEdgeFixture()));
    struct Case {
        uint64_t address;
        bool found;
        const char* file;
        int line;
    };
    const Case cases[] = {
        {0x1000, true, "a.c", 10},
        {0x1004, true, "a.c", 10}, // special opcode 0x1000 -> 0x1008, line 10 -> 11
        {0x1008, true, "a.c", 11},
        {0x100C, true, "b.c", 12}, // define_file makes the new file current
        {0x100F, true, "b.c", 12},
        {0x1010, false, "-", 0},   // end of the sequence
        {0x0, true, "a.c", 5},     // a sequence that starts at address 0
        {0xF, true, "a.c", 5},
        {0x2004, true, "a.c", 20}, // the row keeps its line when the line changes before the move
        {0x2014, true, "a.c", 30},
        {0x2018, false, "-", 0},
    };
    ForEachWay(image, cases, [](const Case& c, const Found& f) {
        EXPECT_EQ(c.found, f.line) << std::hex << c.address;
        EXPECT_EQ(c.file, f.file) << std::hex << c.address;
        EXPECT_EQ(c.line, f.number) << std::hex << c.address;
    });
}

TEST(DwarfFindFunction, KeyByAddressSize)
{
    // The legacy key serves 4-byte units; the other key is not looked at for them.
    clsElfImage image;
    ASSERT_TRUE(image.Load(BuildEdgeFixture()));
    std::string name;
    uint32_t displacement = 0;
    EXPECT_TRUE(DwarfFindFunction(image, DwarfQuery{0x40, 0x140000040ull}, name, displacement));
    EXPECT_EQ("Plain", name);
    name.clear();
    EXPECT_FALSE(DwarfFindFunction(image, DwarfQuery{0x140000040ull, 0x40}, name, displacement));
}

TEST(DwarfPubnamesAccepted, OnlyVersion2)
{
    for (int version : {2, 3}) {
        clsElfImage image;
        ASSERT_TRUE(image.Load(BuildPubnamesFixture(version)));
        std::string name;
        uint32_t displacement = 0;
        EXPECT_TRUE(DwarfFindFunction(image, DwarfQuery::Same(0x10), name, displacement));
        EXPECT_EQ("Pub", name);
        EXPECT_EQ(version == 2, DwarfPubnamesAccepted(image)) << version;
    }
    clsElfImage none;
    ASSERT_TRUE(none.Load(BuildEdgeFixture()));
    EXPECT_TRUE(DwarfPubnamesAccepted(none));
}
