#include "EdgeFixture.h"

ByteWriter& ByteWriter::Uleb(uint64_t v)
{
    do {
        uint8_t b = v & 0x7F;
        v >>= 7;
        m_b.push_back(v ? (b | 0x80) : b);
    } while (v);
    return *this;
}

ByteWriter& ByteWriter::Sleb(int64_t v)
{
    for (;;) {
        uint8_t b = v & 0x7F;
        v >>= 7;
        bool done = (v == 0 && !(b & 0x40)) || (v == -1 && (b & 0x40));
        m_b.push_back(done ? b : (b | 0x80));
        if (done)
            return *this;
    }
}

Bytes BuildElf(const std::vector<ElfSectionSpec>& sections, bool is64)
{
    ByteWriter names;
    names.U8(0);
    std::vector<uint32_t> nameOffsets;
    for (const auto& s : sections) {
        nameOffsets.push_back((uint32_t)names.Size());
        names.Str(s.name.c_str());
    }
    uint32_t shstrName = (uint32_t)names.Size();
    names.Str(".shstrtab");

    const size_t header = is64 ? 64 : 52;
    ByteWriter body;
    std::vector<uint64_t> offsets;
    for (const auto& s : sections) {
        offsets.push_back(header + body.Size());
        body.Raw(s.bytes);
    }
    uint64_t shstrOffset = header + body.Size();
    body.Raw(names.Get());
    uint64_t shoff = header + body.Size();
    uint16_t shnum = (uint16_t)(sections.size() + 2);

    ByteWriter f;
    f.U8(0x7F).U8('E').U8('L').U8('F').U8(is64 ? 2 : 1).U8(1).U8(1).U8(0);
    f.U64(0);                       // padding of e_ident
    f.U16(1).U16(is64 ? 62 : 3).U32(1); // type, machine, version
    if (is64)
        f.U64(0).U64(0).U64(shoff); // entry, phoff, shoff
    else
        f.U32(0).U32(0).U32((uint32_t)shoff);
    f.U32(0).U16(header).U16(0).U16(0).U16(is64 ? 64 : 40).U16(shnum).U16(shnum - 1);
    f.Raw(body.Get());
    auto sectionHeader = [&](uint32_t name, uint32_t type, uint64_t offset, uint64_t size) {
        if (is64)
            f.U32(name).U32(type).U64(0).U64(0).U64(offset).U64(size).U32(0).U32(0).U64(1).U64(0);
        else
            f.U32(name).U32(type).U32(0).U32(0).U32((uint32_t)offset).U32((uint32_t)size).U32(0).U32(0).U32(1).U32(0);
    };
    sectionHeader(0, 0, 0, 0);
    for (size_t i = 0; i < sections.size(); i++)
        sectionHeader(nameOffsets[i], sections[i].type, offsets[i], sections[i].bytes.size());
    sectionHeader(shstrName, 3, shstrOffset, names.Size());
    return f.Get();
}

namespace {

enum { TagCompileUnit = 0x11, TagSubprogram = 0x2e, TagClass = 0x02, TagLabel = 0x0a };

// Abbreviations of the edge fixture (one table at offset 0 for every unit).
Bytes Abbrevs()
{
    ByteWriter a;
    a.Uleb(1).Uleb(TagCompileUnit).U8(1).Uleb(0x03).Uleb(0x08).Uleb(0x11).Uleb(0x01).Uleb(0x12).Uleb(0x01).Uleb(0x10).Uleb(0x06).Uleb(0).Uleb(0);
    a.Uleb(2).Uleb(TagSubprogram).U8(0).Uleb(0x03).Uleb(0x08).Uleb(0x11).Uleb(0x01).Uleb(0x12).Uleb(0x01).Uleb(0).Uleb(0);
    a.Uleb(3).Uleb(TagSubprogram).U8(0).Uleb(0x03).Uleb(0x08).Uleb(0x11).Uleb(0x01).Uleb(0x12).Uleb(0x01).Uleb(0x1d).Uleb(0x13).Uleb(0).Uleb(0);
    a.Uleb(4).Uleb(TagClass).U8(0).Uleb(0x03).Uleb(0x08).Uleb(0x1d).Uleb(0x13).Uleb(0).Uleb(0);
    a.Uleb(5).Uleb(TagClass).U8(0).Uleb(0x03).Uleb(0x08).Uleb(0).Uleb(0);
    a.Uleb(6).Uleb(TagLabel).U8(0).Uleb(0x03).Uleb(0x08).Uleb(0x11).Uleb(0x01).Uleb(0).Uleb(0);
    a.Uleb(7).Uleb(0x34).U8(0).Uleb(0x03).Uleb(0x02).Uleb(0).Uleb(0); // a variable with form 0x02
    a.Uleb(0);
    return a.Get();
}

void UnitHeader(ByteWriter& w, size_t& at, int version)
{
    at = w.Size();
    w.U32(0).U16(version).U32(0).U8(4);
}

void Subprogram(ByteWriter& w, const char* name, uint32_t low, uint32_t high)
{
    w.Uleb(2).Str(name).U32(low).U32(high);
}

} // namespace

Bytes BuildEdgeFixture()
{
    ByteWriter info;
    size_t at;
    // Unit 0.
    size_t unit0 = info.Size();
    UnitHeader(info, at, 2);
    info.Uleb(1).Str("edge.c").U32(0).U32(0x300).U32(0);
    size_t space = info.Size() - unit0;
    info.Uleb(5).Str("Space");
    size_t outer = info.Size() - unit0;
    info.Uleb(4).Str("Outer").U32((uint32_t)space);
    info.Uleb(3).Str("Run").U32(0x200).U32(0x240).U32((uint32_t)outer);
    Subprogram(info, "Plain", 0x40, 0x80);
    info.Uleb(6).Str("L180").U32(0x180); // labels out of order: the reader sorts them
    info.Uleb(6).Str("L100").U32(0x100);
    info.Uleb(0);
    info.PatchLength(at);
    // Unit 1: DWARF 5 (its header differs; the reader steps over it by its length).
    size_t unit1 = info.Size();
    at = info.Size();
    info.U32(0).U16(5).U8(1).U8(4).U32(0).Uleb(2).Str("FiveFunc").U32(0x300).U32(0x400).Uleb(0);
    info.PatchLength(at);
    // Unit 2.
    size_t unit2 = info.Size();
    UnitHeader(info, at, 2);
    info.Uleb(1).Str("after.c").U32(0x400).U32(0x500).U32(0);
    Subprogram(info, "AfterFive", 0x400, 0x480);
    info.Uleb(0);
    info.PatchLength(at);
    // Unit 3: an unknown form ends the walk.
    size_t unit3 = info.Size();
    UnitHeader(info, at, 2);
    info.Uleb(1).Str("form.c").U32(0x500).U32(0x600).U32(0);
    Subprogram(info, "Before", 0x500, 0x540);
    info.Uleb(7).Str("strange");
    Subprogram(info, "Hidden", 0x540, 0x580);
    info.Uleb(0);
    info.PatchLength(at);

    ByteWriter ar;
    // A set of an unknown version first.
    at = ar.Size();
    ar.U32(0).U16(3).U32(0).U8(4).U8(0).U32(0).U32(0x10000).U32(0).U32(0);
    ar.PatchLength(at);
    auto set = [&](size_t unit, uint32_t start, uint32_t length) {
        size_t a = ar.Size();
        ar.U32(0).U16(2).U32((uint32_t)unit).U8(4).U8(0).U32(start).U32(length).U32(0).U32(0);
        ar.PatchLength(a);
    };
    set(unit0, 0, 0x300);
    set(unit1, 0x300, 0x100);
    set(unit2, 0x400, 0x100);
    set(unit3, 0x500, 0x100);

    ByteWriter line;
    // A version-5 unit: stepped over by its length.
    at = line.Size();
    line.U32(0).U16(5).U8(8).U8(0).U32(0).U8(1).U8(1).U8(0xFB).U8(14).U8(13);
    line.PatchLength(at);
    // The version-2 unit.
    at = line.Size();
    line.U32(0).U16(2);
    size_t headerAt = line.Size();
    line.U32(0).U8(1).U8(1).U8((uint8_t)-5).U8(14).U8(10);
    line.U8(0).U8(1).U8(1).U8(1).U8(1).U8(0).U8(0).U8(0).U8(1);
    line.U8(0);                                  // no include directories
    line.Str("a.c").Uleb(0).Uleb(0).Uleb(0).U8(0); // file 1
    {
        // header_length: from after the field to the program.
        Bytes b = line.Get();
        uint32_t n = (uint32_t)(b.size() - headerAt - 4);
        ByteWriter patched;
        for (size_t i = 0; i < b.size(); i++)
            patched.U8(i >= headerAt && i < headerAt + 4 ? (n >> (8 * (i - headerAt))) & 0xFF : b[i]);
        line = patched;
    }
    auto setAddress = [&](uint32_t a) { line.U8(0).Uleb(5).U8(2).U32(a); };
    auto endSequence = [&]() { line.U8(0).Uleb(1).U8(1); };
    setAddress(0x1000);
    line.U8(3).Sleb(9).U8(1);          // line 10, copy
    line.U8(10 + 8 * 14 + (1 + 5));    // +8 bytes, +1 line
    line.U8(0).Uleb(1 + 4 + 3).U8(3).Str("b.c").Uleb(0).Uleb(0).Uleb(0); // define_file
    line.U8(10 + 4 * 14 + (1 + 5));    // +4 bytes, +1 line
    line.U8(2).Uleb(4);
    endSequence();
    setAddress(0);
    line.U8(3).Sleb(4).U8(1).U8(2).Uleb(0x10);
    endSequence();
    setAddress(0x2000);
    line.U8(3).Sleb(19).U8(1);         // line 20 at 0x2000
    line.U8(3).Sleb(10);               // line 30 before the address moves
    line.U8(2).Uleb(0x10).U8(1);       // row 0x2010 line 30
    line.U8(2).Uleb(8);
    endSequence();
    line.PatchLength(at);

    return BuildElf({{".text", Bytes(0x10, 0x90)},
                     {".debug_info", info.Get()},
                     {".debug_abbrev", Abbrevs()},
                     {".debug_aranges", ar.Get()},
                     {".debug_line", line.Get()}});
}

Bytes BuildPubnamesFixture(int version)
{
    ByteWriter info;
    size_t at;
    UnitHeader(info, at, 2);
    info.Uleb(1).Str("pub.c").U32(0).U32(0x100).U32(0);
    Subprogram(info, "Pub", 0x10, 0x20);
    info.Uleb(0);
    info.PatchLength(at);
    ByteWriter ar;
    at = ar.Size();
    ar.U32(0).U16(2).U32(0).U8(4).U8(0).U32(0).U32(0x100).U32(0).U32(0);
    ar.PatchLength(at);
    ByteWriter pub;
    at = pub.Size();
    pub.U32(0).U16(version).U32(0).U32((uint32_t)info.Size()).U32(0);
    pub.PatchLength(at);
    return BuildElf({{".debug_info", info.Get()},
                     {".debug_abbrev", Abbrevs()},
                     {".debug_aranges", ar.Get()},
                     {".debug_pubnames", pub.Get()}});
}
