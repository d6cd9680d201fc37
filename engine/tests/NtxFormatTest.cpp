// The index file's header: the sizes that follow from the key size, and the checks of an existing
// file when it is opened.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "NtxFormat.h"
#include "NtxTestKit.h"
#include "vlDB07.h"

using namespace ntxtest;
using tabletest::Get16;
using tabletest::Put16;

TEST(NtxFormat, SizesFollowFromTheKeySize)
{
    const struct {
        unsigned keySize, itemSize, maxKeys, half;
    } cases[] = {
        {10, 18, 50, 25},   // the record-id index
        {8, 16, 54, 27},    // 56 - 1 = 55 rounds down to 54
        {226, 234, 2, 1},   // the program's composite key
        {330, 338, 2, 1},   // the largest key
        {150, 158, 4, 2},
        {1, 9, 90, 45},
    };
    for (const auto& c : cases) {
        uint8_t header[ntx::kHeaderSize] = {};
        ntx::SetGeometry(header, c.keySize, 2);
        const std::string h((const char*)header, sizeof header);
        EXPECT_EQ(c.itemSize, Get16(h, 12)) << c.keySize;
        EXPECT_EQ(c.keySize, Get16(h, 14)) << c.keySize;
        EXPECT_EQ(2u, Get16(h, 16)) << c.keySize;
        EXPECT_EQ(c.maxKeys, Get16(h, 18)) << c.keySize;
        EXPECT_EQ(c.half, Get16(h, 20)) << c.keySize;
        ntx::Geometry g;
        EXPECT_TRUE(ntx::GeometryOf(header, &g)) << c.keySize;
    }
}

TEST(NtxFormat, OpenChecks)
{
    const struct {
        const char* what;
        unsigned offset, value;   // a 16-bit field changed in a good header of key size 10
        unsigned result;
        bool unique;              // a unique index
    } cases[] = {
        {"a good header", 0, 6, 0, false},
        {"signature 0x0106: a unique index", 0, 0x0106, 0, true},
        {"the unique field: a unique index", 278, 1, 0, true},
        {"another signature", 0, 3, DBE_INDEX_BAD, false},
        {"a dBase index header", 0, 1, DBE_INDEX_BAD, false},
        {"odd max keys", 18, 49, DBE_INDEX_BAD, false},
        {"item size other than key size + 8", 12, 20, DBE_INDEX_BAD, false},
        {"key size above 330", 14, 331, DBE_INDEX_BAD, false},
        {"half above 511", 20, 512, DBE_INDEX_BAD, false},
        {"more keys than a page holds", 18, 60, DBE_INDEX_BAD, false},
        {"key size 0", 14, 0, DBE_INDEX_BAD, false},
    };
    for (const auto& c : cases) {
        std::string h = HeaderImage(10);
        Put16(h, c.offset, c.value);
        if (c.offset == 18 && c.value % 2 == 0)
            Put16(h, 20, c.value / 2);
        if (c.offset == 20)
            Put16(h, 18, c.value * 2);
        if (c.offset == 14 && c.value <= 330)
            Put16(h, 12, c.value + 8);
        uint8_t header[ntx::kHeaderSize];
        std::memcpy(header, h.data(), sizeof header);
        EXPECT_EQ(c.result, _ntx_check_header(header)) << c.what;
        EXPECT_EQ(h.substr(0, sizeof header), std::string((const char*)header, sizeof header))
            << c.what << ": the header is left as the file has it";
        if (c.result == 0) {
            EXPECT_EQ(c.unique, ntx::Unique(header)) << c.what;
        }
    }
}

TEST(NtxFormat, KeyExpressionAgainstTheHeader)
{
    const struct {
        char type;
        int length;
        unsigned keySize;
        unsigned result;
    } cases[] = {
        {'C', 10, 10, 0},
        {'C', 9, 10, DBE_KEY_TYPE},       // a character key must fill the key size
        {'N', 10, 12, 0},
        {'D', 8, 8, 0},
        {'L', 1, 1, DBE_KEY_TYPE},        // logical keys are not supported
        {'C', 0, 0, DBE_KEY_TYPE},
        {'C', 400, 330, 0},               // above 329 counts as 330
        {'C', 329, 330, DBE_KEY_TYPE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, _ntx_check_key(c.type, c.length, c.keySize)) << c.type << " " << c.length << "/" << c.keySize;
}

TEST(NtxFormat, PackedMarker)
{
    std::string h = HeaderImage(10);
    EXPECT_FALSE(_ntx_is_packed((const uint8_t*)h.data())) << "bytes 280..296 of an unpacked index are zero";
    h.replace(280, 17, std::string("-@!velmar/Qiv!@-", 17));
    EXPECT_TRUE(_ntx_is_packed((const uint8_t*)h.data()));
}
