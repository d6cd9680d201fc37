// Hand-made debug-data fixtures, written byte by byte (portable: the fuzz run builds them
// natively as seeds).
//
// ElfBuilder writes an ELF file (32- or 64-bit, little-endian) with the given sections. The edge
// fixture holds DWARF 2 tables with 4-byte addresses as the old producer wrote them:
//   .debug_aranges  a set of an unknown version (stepped over); unpadded sets for unit 0
//                   [0, 0x300), unit 1 (DWARF 5, stepped over) [0x300, 0x400), unit 2
//                   [0x400, 0x500), unit 3 [0x500, 0x600)
//   unit 0          classes Space and Outer (Outer's containing_type is Space), Run [0x200,
//                   0x240) with containing_type Outer, Plain [0x40, 0x80), labels L100 at 0x100
//                   and L180 at 0x180
//   unit 1          version 5 (not read)
//   unit 2          AfterFive [0x400, 0x480)
//   unit 3          Before [0x500, 0x540), then an entry with an unknown form, then Hidden
//                   [0x540, 0x580) (never reached)
//   .debug_line     a version-5 unit (stepped over), then a version-2 unit with: a.c; rows
//                   0x1000 line 10, special opcode to 0x1008 line 11, define_file b.c, special
//                   opcode to 0x100C line 12, end 0x1010; a sequence at 0 (line 5 up to 0x10);
//                   a sequence at 0x2000 line 20 with the line set to 30 before the address
//                   moves to 0x2010 (row line 30), end 0x2018
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Bytes = std::vector<uint8_t>;

class ByteWriter {
public:
    ByteWriter& U8(uint64_t v) { m_b.push_back((uint8_t)v); return *this; }
    ByteWriter& U16(uint64_t v) { return Le(v, 2); }
    ByteWriter& U32(uint64_t v) { return Le(v, 4); }
    ByteWriter& U64(uint64_t v) { return Le(v, 8); }
    ByteWriter& Le(uint64_t v, int n)
    {
        for (int i = 0; i < n; i++)
            m_b.push_back((uint8_t)(v >> (8 * i)));
        return *this;
    }
    ByteWriter& Uleb(uint64_t v);
    ByteWriter& Sleb(int64_t v);
    ByteWriter& Str(const char* s)
    {
        while (*s)
            m_b.push_back((uint8_t)*s++);
        m_b.push_back(0);
        return *this;
    }
    ByteWriter& Raw(const Bytes& b)
    {
        m_b.insert(m_b.end(), b.begin(), b.end());
        return *this;
    }
    // Writes the 4-byte length of everything from offset 'at' + 4 to the end at 'at'.
    void PatchLength(size_t at)
    {
        uint32_t n = (uint32_t)(m_b.size() - at - 4);
        for (int i = 0; i < 4; i++)
            m_b[at + i] = (uint8_t)(n >> (8 * i));
    }
    size_t Size() const { return m_b.size(); }
    const Bytes& Get() const { return m_b; }

private:
    Bytes m_b;
};

struct ElfSectionSpec {
    std::string name;
    Bytes bytes;
    uint32_t type = 1; // SHT_PROGBITS
};

Bytes BuildElf(const std::vector<ElfSectionSpec>& sections, bool is64 = false);
Bytes BuildEdgeFixture();
// An ELF file with one function Pub [0x10, 0x20) and a ".debug_pubnames" of the given version.
Bytes BuildPubnamesFixture(int version);
