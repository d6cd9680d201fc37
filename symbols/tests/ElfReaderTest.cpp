// The container side: primitive readers, locating ELF data at 0 or behind a PE image's last
// section (PE32 and PE32+), header checks and the section table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "ElfCursor.h"
#include "SymTestKit.h"
#include "clsElfImage.h"

using symtest::WriteBytes;

TEST(ElfCursor, Leb128ReadsOfTheOldProducer)
{
    struct Case {
        Bytes bytes;
        uint32_t unsignedValue;
        int32_t signedValue;
        size_t consumed;
    };
    const Case cases[] = {
        {{0x02}, 2, 2, 1},
        {{0x7F}, 127, -1, 1},
        {{0x80, 0x01}, 128, 128, 2},
        {{0xE5, 0x8E, 0x26}, 624485, 624485, 3},
        {{0xC0, 0xBB, 0x78}, 0x1E1DC0, -123456, 3},
        // The fifth byte ends the number even with bit 7 set; bits beyond 31 are lost.
        {{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}, 0xFFFFFFFF, -1, 5},
        {{0x80, 0x80, 0x80, 0x80, 0x7F}, 0xF0000000, (int32_t)0xF0000000, 5},
    };
    for (const Case& c : cases) {
        ElfCursor u(c.bytes.data(), c.bytes.data() + c.bytes.size());
        EXPECT_EQ(c.unsignedValue, ReadULEB128(u));
        EXPECT_EQ(c.consumed, (size_t)(u.pos - c.bytes.data()));
        ElfCursor s(c.bytes.data(), c.bytes.data() + c.bytes.size());
        EXPECT_EQ(c.signedValue, ReadSLEB128(s));
        EXPECT_FALSE(s.Overrun());
    }
}

TEST(ElfCursor, ReadsPastTheEndGiveZeroAndMarkTheCursor)
{
    const uint8_t bytes[] = {0x11, 0x22, 0x33, 0x80, 'a', 'b'};
    ElfCursor c(bytes, bytes + 3);
    EXPECT_EQ(0x2211u, ReadU16(c));
    EXPECT_EQ(0u, ReadU16(c)); // one byte left
    EXPECT_TRUE(c.Overrun());
    EXPECT_EQ(0u, ReadU8(c));

    ElfCursor leb(bytes + 3, bytes + 4); // continuation bit on the last byte of the block
    ReadULEB128Wide(leb);
    EXPECT_TRUE(leb.Overrun());

    ElfCursor text(bytes + 4, bytes + 6); // no terminator inside the block
    EXPECT_STREQ("", ReadString(text));
    EXPECT_TRUE(text.Overrun());
}

namespace {

struct PeSection {
    uint32_t raw;
    uint32_t size;
};

// A PE image of the given form with the sections' raw data filled with 0xCC.
Bytes MakePe(bool plus, const std::vector<PeSection>& sections, size_t fileSize)
{
    Bytes b(std::max<size_t>(fileSize, 0x1000), 0);
    auto put16 = [&](size_t at, uint32_t v) { b[at] = (uint8_t)v; b[at + 1] = (uint8_t)(v >> 8); };
    auto put32 = [&](size_t at, uint32_t v) { for (int i = 0; i < 4; i++) b[at + i] = (uint8_t)(v >> (8 * i)); };
    put16(0, 0x5A4D);
    const size_t nt = 0x80;
    put32(0x3C, nt);
    put32(nt, 0x00004550);
    put16(nt + 4, plus ? 0x8664 : 0x14C);
    put16(nt + 6, (uint32_t)sections.size());
    const uint32_t optional = plus ? 240 : 224;
    put16(nt + 20, optional);
    put16(nt + 24, plus ? 0x20B : 0x10B);
    size_t table = nt + 24 + optional;
    for (size_t i = 0; i < sections.size(); i++) {
        size_t h = table + 40 * i;
        memcpy(&b[h], ".sect", 5);
        put32(h + 16, sections[i].size);
        put32(h + 20, sections[i].raw);
        for (uint32_t k = 0; k < sections[i].size && sections[i].raw + k < fileSize; k++)
            b[sections[i].raw + k] = 0xCC;
    }
    b.resize(fileSize);
    return b;
}

Bytes With(Bytes image, size_t at, const Bytes& elf)
{
    if (image.size() < at + elf.size())
        image.resize(at + elf.size());
    memcpy(&image[at], elf.data(), elf.size());
    return image;
}

} // namespace

TEST(ReadElfData, FindsTheDataAtTheStartOrBehindTheLastSection)
{
    oxtest::TempDir dir("sym");
    const Bytes elf = BuildEdgeFixture();
    struct Case {
        const char* what;
        Bytes file;
        bool found;
    };
    const std::vector<PeSection> two = {{0x400, 0x200}, {0x600, 0x100}};
    const std::vector<PeSection> notFarthest = {{0x800, 0x200}, {0x400, 0x100}};
    Case cases[] = {
        {"ELF at offset 0", elf, true},
        {"PE32 with appended data", With(MakePe(false, two, 0x700), 0x700, elf), true},
        {"PE32+ with appended data", With(MakePe(true, two, 0x700), 0x700, elf), true},
        {"PE32+ without appended data", MakePe(true, two, 0x700), false},
        {"data behind the last table entry, not the farthest section", With(MakePe(true, notFarthest, 0xA00), 0x500, elf), true},
        {"data behind the farthest section only", With(MakePe(true, notFarthest, 0xA00), 0xA00, elf), false},
        {"section table beyond the file", MakePe(true, {{0x400, 0x200}, {0x600, 0x100}}, 0x190), false},
        {"neither ELF nor PE", Bytes(100, 0x41), false},
        {"empty file", Bytes(), false},
    };
    for (Case& c : cases) {
        std::string path = dir.File("case.bin");
        ASSERT_TRUE(WriteBytes(path, c.file));
        std::vector<uint8_t> data;
        EXPECT_EQ(c.found, clsElfImage::ReadElfData(path.c_str(), nullptr)) << c.what;
        EXPECT_EQ(c.found, clsElfImage::ReadElfData(path.c_str(), &data)) << c.what;
        if (c.found) // the data runs from the ELF header to the end of the file
            EXPECT_EQ(elf, Bytes(data.begin(), data.begin() + std::min(data.size(), elf.size()))) << c.what;
        else
            EXPECT_TRUE(data.empty()) << c.what;
    }
    EXPECT_FALSE(clsElfImage::ReadElfData(dir.File("missing.dll").c_str(), nullptr));
}

TEST(ReadElfData, ModuleDataFallsBackToTheSymFileBesideTheImage)
{
    oxtest::TempDir dir("sym");
    const Bytes elf = BuildEdgeFixture();
    ASSERT_TRUE(WriteBytes(dir.File("mod.dll"), MakePe(true, {{0x400, 0x200}}, 0x600)));
    clsElfImage image;
    EXPECT_FALSE(image.Open(dir.File("mod.dll").c_str()));
    ASSERT_TRUE(WriteBytes(dir.File("mod.sym"), elf));
    EXPECT_TRUE(image.Open(dir.File("mod.dll").c_str()));
    EXPECT_NE(nullptr, image.Find(".debug_info"));
    EXPECT_EQ(dir.File("x.y\\mod.sym"), clsElfImage::ChangeExtension(dir.File("x.y\\mod").c_str(), ".sym"));
}

TEST(clsElfImage, HeaderChecks)
{
    const Bytes elf32 = BuildEdgeFixture();
    const Bytes elf64 = BuildElf({{".debug_info", Bytes(4, 0)}}, true);
    struct Case {
        const char* what;
        Bytes bytes;
        bool accepted;
    };
    auto patched = [](Bytes b, size_t at, uint8_t v) { b[at] = v; return b; };
    Case cases[] = {
        {"32-bit little-endian", elf32, true},
        {"64-bit little-endian", elf64, true},
        {"big-endian", patched(elf32, 5, 2), false},
        {"class 3", patched(elf32, 4, 3), false},
        {"header size 53", patched(elf32, 40, 53), false},
        {"64-bit with the 32-bit header size", patched(elf64, 52, 52), false},
        {"32-bit with the 64-bit header size", patched(elf32, 40, 64), false},
        {"cut inside the header", Bytes(elf32.begin(), elf32.begin() + 40), false},
    };
    for (Case& c : cases) {
        clsElfImage image;
        EXPECT_EQ(c.accepted, image.Load(c.bytes)) << c.what;
    }
    clsElfImage image;
    ASSERT_TRUE(image.Load(elf64));
    EXPECT_TRUE(image.Is64());
    EXPECT_NE(nullptr, image.Find(".debug_info"));
}

TEST(clsElfImage, SectionTableOutsideTheBlockOrWithoutStringTable)
{
    Bytes elf = BuildEdgeFixture();
    {
        Bytes b = elf;
        b[50] = 0; // e_shstrndx
        b[51] = 0;
        clsElfImage image;
        ASSERT_TRUE(image.Load(b));
        EXPECT_EQ("no SHTAB", image.SectionName(1));
        EXPECT_EQ(nullptr, image.Find(".debug_info"));
    }
    {
        // The string table's type is not SHT_STRTAB.
        clsElfImage probe;
        ASSERT_TRUE(probe.Load(elf));
        uint32_t shoff = elf[32] | elf[33] << 8 | elf[34] << 16 | (uint32_t)elf[35] << 24;
        uint32_t shnum = elf[48] | elf[49] << 8;
        Bytes b = elf;
        b[shoff + 40 * (shnum - 1) + 4] = 1;
        clsElfImage image;
        ASSERT_TRUE(image.Load(b));
        EXPECT_EQ("SHTAB is not SHTAB...", image.SectionName(1));
        EXPECT_EQ(nullptr, image.Find(".debug_info"));
    }
    {
        // Section headers beyond the block, a count far too high, sections running past the end.
        Bytes b = elf;
        b[49] = 0x7F; // e_shnum high byte
        clsElfImage image;
        EXPECT_TRUE(image.Load(b));
        Bytes cut(elf.begin(), elf.begin() + elf.size() / 2);
        clsElfImage half;
        half.Load(cut);
        EXPECT_EQ(nullptr, half.Find(".debug_line"));
    }
}
