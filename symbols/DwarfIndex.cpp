// Reading of ".debug_aranges", ".debug_info", ".debug_abbrev", ".debug_ranges" and ".debug_line".
//
// Address-range set (".debug_aranges"):
//   0  unit_length (4)   4  version (2, must be 2)   6  debug_info_offset (4)
//   10 address_size (1)  11 segment_size (1, must be 0)
//   then (start, length) pairs of address_size bytes each up to the pair (0, 0). The old producer
//   writes the pairs right behind the 12-byte header; standard producers pad the header to a
//   multiple of twice the address size. A set whose length leaves a whole number of 4-byte pairs
//   behind offset 12 is the unpadded form; every other set, and every set with 8-byte addresses,
//   starts its pairs at offset 16.
// Compilation unit header (".debug_info", versions 2 to 4):
//   0 unit_length (4)  4 version (2)  6 abbrev_offset (4)  10 address_size (1)  11 first entry
// Line program header (".debug_line", versions 2 to 4):
//   0 unit_length (4)  4 version (2)  6 header_length (4)  10 minimum_instruction_length (1)
//   [version 4: maximum_operations_per_instruction (1)]  default_is_stmt (1)  line_base (1,
//   signed)  line_range (1)  opcode_base (1)  standard_opcode_lengths (opcode_base - 1 bytes)
//   include_directories (texts up to an empty one)  file_names (text, 3 ULEB128, up to an empty
//   text), then the program.
// A unit (or set) of another version, or with a length marking the 64-bit format, is stepped
// over; a unit whose entries use a form this reader does not know ends the walk of that unit.
#include "DwarfIndex.h"

#include <algorithm>
#include <new>
#include <map>
#include <vector>

#include "ElfCursor.h"
#include "clsElfImage.h"

namespace {

enum : uint32_t {
    TAG_class_type = 0x02,
    TAG_label = 0x0a,
    TAG_compile_unit = 0x11,
    TAG_structure_type = 0x13,
    TAG_union_type = 0x17,
    TAG_subprogram = 0x2e,
    TAG_namespace = 0x39,
    AT_name = 0x03,
    AT_low_pc = 0x11,
    AT_high_pc = 0x12,
    AT_containing_type = 0x1d,
    AT_abstract_origin = 0x31,
    AT_declaration_of = 0x47, // an out-of-line definition names its declaration
    AT_ranges = 0x55,
    FORM_addr = 0x01,
};

const uint64_t kNone = ~0ull;

struct Bytes {
    const uint8_t* begin = nullptr;
    const uint8_t* end = nullptr;
    size_t Size() const { return (size_t)(end - begin); }
};

struct Sections {
    Bytes info, abbrev, aranges, line, str, ranges;
    bool hasInfo = false, hasAbbrev = false, hasAranges = false, hasLine = false, hasStr = false, hasRanges = false;

    explicit Sections(const clsElfImage& image)
    {
        hasInfo = image.Bytes(".debug_info", info.begin, info.end);
        hasAbbrev = image.Bytes(".debug_abbrev", abbrev.begin, abbrev.end);
        hasAranges = image.Bytes(".debug_aranges", aranges.begin, aranges.end);
        hasLine = image.Bytes(".debug_line", line.begin, line.end);
        hasStr = image.Bytes(".debug_str", str.begin, str.end);
        hasRanges = image.Bytes(".debug_ranges", ranges.begin, ranges.end);
    }
};

// Reads the unit's length and tells where the next unit starts; false for the 64-bit format or
// a unit that does not fit its section.
bool UnitBounds(const Bytes& section, uint64_t offset, uint64_t& length, uint64_t& next)
{
    if (offset > section.Size() || section.Size() - offset < 4)
        return false;
    ElfCursor c(section.begin + offset, section.end);
    length = ReadU32(c);
    if (length >= 0xFFFFFFF0u)
        return false;
    next = offset + 4 + length;
    return true;
}

struct AttrSpec {
    uint32_t attr;
    uint32_t form;
};

struct Abbrev {
    uint32_t tag = 0;
    bool children = false;
    std::vector<AttrSpec> specs;
};

using AbbrevTable = std::map<uint64_t, Abbrev>;

// The abbreviation table that starts at offset, up to its terminating code 0.
void ReadAbbrevTable(const Bytes& section, uint64_t offset, AbbrevTable& table)
{
    if (offset >= section.Size())
        return;
    ElfCursor c(section.begin + offset, section.end);
    for (;;) {
        uint64_t code = ReadULEB128Wide(c);
        if (c.Overrun() || code == 0)
            return;
        Abbrev a;
        a.tag = (uint32_t)ReadULEB128Wide(c);
        a.children = ReadU8(c) == 1;
        for (;;) {
            uint32_t attr = (uint32_t)ReadULEB128Wide(c);
            uint32_t form = (uint32_t)ReadULEB128Wide(c);
            if (c.Overrun())
                return;
            if (attr == 0 && form == 0)
                break;
            a.specs.push_back({attr, form});
        }
        table.emplace(code, std::move(a));
    }
}

struct Unit {
    uint64_t offset = 0; // of its header in .debug_info
    uint16_t version = 0;
    uint8_t addressSize = 0;
    bool legacy = false; // DWARF 2 with 4-byte addresses: the old producer's readers
    const uint8_t* entries = nullptr;
    const uint8_t* end = nullptr;
};

struct Value {
    uint32_t form = 0;
    uint64_t u = 0;
    const char* text = nullptr;
    uint64_t ref = kNone; // absolute .debug_info offset of a reference
};

class UnitReader {
public:
    UnitReader(const Sections& s, const Unit& u) : m_s(s), m_u(u) {}

    // Reads one value of the given form; false for a form this reader does not know.
    bool ReadForm(ElfCursor& c, uint32_t form, Value& v, int depth = 0)
    {
        v.form = form;
        switch (form) {
        case 0x01: v.u = ReadUnsigned(c, m_u.addressSize); break;                // addr
        case 0x03: c.Skip(ReadU16(c)); break;                                     // block2
        case 0x04: c.Skip(ReadU32(c)); break;                                     // block4
        case 0x05: v.u = ReadU16(c); break;                                       // data2
        case 0x06: v.u = ReadU32(c); break;                                       // data4
        case 0x07: v.u = ReadU64(c); break;                                       // data8
        case 0x08: v.text = ReadString(c); break;                                 // string
        case 0x09: c.Skip(Uleb(c)); break;                                        // block
        case 0x0a: c.Skip(ReadU8(c)); break;                                      // block1
        case 0x0b: v.u = ReadU8(c); break;                                        // data1
        case 0x0c: v.u = ReadU8(c) != 0; break;                                   // flag
        case 0x0d: v.u = (uint64_t)(m_u.legacy ? ReadSLEB128(c) : ReadSLEB128Wide(c)); break; // sdata
        case 0x0e: v.text = StrAt(ReadU32(c)); break;                             // strp
        case 0x0f: v.u = Uleb(c); break;                                          // udata
        case 0x10:                                                                // ref_addr
            v.u = ReadUnsigned(c, m_u.version == 2 ? m_u.addressSize : 4);
            v.ref = v.u;
            break;
        case 0x11: v.u = ReadU8(c); v.ref = m_u.offset + v.u; break;              // ref1
        case 0x12: v.u = ReadU16(c); v.ref = m_u.offset + v.u; break;             // ref2
        case 0x13: v.u = ReadU32(c); v.ref = m_u.offset + v.u; break;             // ref4
        case 0x14: v.u = ReadU64(c); v.ref = m_u.offset + v.u; break;             // ref8
        case 0x15: v.u = Uleb(c); v.ref = m_u.offset + v.u; break;                // ref_udata
        case 0x16:                                                                // indirect
            if (depth > 4)
                return false;
            return ReadForm(c, (uint32_t)Uleb(c), v, depth + 1);
        case 0x17: v.u = ReadU32(c); break;                                       // sec_offset
        case 0x18: c.Skip(Uleb(c)); break;                                        // exprloc
        case 0x19: v.u = 1; break;                                                // flag_present
        case 0x20: v.u = ReadU64(c); break;                                       // ref_sig8
        default: return false;
        }
        return !c.Overrun();
    }

private:
    uint64_t Uleb(ElfCursor& c) { return m_u.legacy ? ReadULEB128(c) : ReadULEB128Wide(c); }

    const char* StrAt(uint32_t offset)
    {
        if (!m_s.hasStr || offset >= m_s.str.Size())
            return "";
        ElfCursor c(m_s.str.begin + offset, m_s.str.end);
        return ReadString(c);
    }

    const Sections& m_s;
    const Unit& m_u;
};

struct Die {
    uint64_t offset = 0;
    int parent = -1;
    uint32_t tag = 0;
    const char* name = nullptr;
    uint64_t low = 0, high = 0;
    bool hasLow = false, hasHigh = false, highIsOffset = false;
    uint64_t ranges = kNone;
    uint64_t declaration = kNone, origin = kNone, containingType = kNone;
};

bool ReadUnitHeader(const Sections& s, uint64_t offset, Unit& u, uint64_t& abbrevOffset)
{
    uint64_t length = 0, next = 0;
    if (!UnitBounds(s.info, offset, length, next))
        return false;
    ElfCursor c(s.info.begin + offset + 4, s.info.end);
    u.offset = offset;
    u.version = ReadU16(c);
    abbrevOffset = ReadU32(c);
    u.addressSize = ReadU8(c);
    if (c.Overrun() || u.version < 2 || u.version > 4 || (u.addressSize != 4 && u.addressSize != 8))
        return false;
    u.legacy = u.version == 2 && u.addressSize == 4;
    u.entries = c.pos;
    u.end = next <= s.info.Size() ? s.info.begin + next : s.info.end;
    return true;
}

// Every entry of the unit in order, each with the index of its parent.
void WalkUnit(const Sections& s, const Unit& u, const AbbrevTable& abbrevs, std::vector<Die>& dies)
{
    UnitReader reader(s, u);
    ElfCursor c(u.entries, u.end);
    std::vector<int> parents;
    while (c.pos < c.end && !c.Overrun()) {
        uint64_t offset = (uint64_t)(c.pos - s.info.begin);
        uint64_t code = u.legacy ? ReadULEB128(c) : ReadULEB128Wide(c);
        if (c.Overrun())
            break;
        if (code == 0) {
            if (!parents.empty())
                parents.pop_back();
            continue;
        }
        auto it = abbrevs.find(code);
        if (it == abbrevs.end())
            break;
        const Abbrev& a = it->second;
        Die d;
        d.offset = offset;
        d.parent = parents.empty() ? -1 : parents.back();
        d.tag = a.tag;
        bool ok = true;
        for (const AttrSpec& spec : a.specs) {
            Value v;
            if (!reader.ReadForm(c, spec.form, v)) {
                ok = false;
                break;
            }
            switch (spec.attr) {
            case AT_name: d.name = v.text; break;
            case AT_low_pc: d.low = v.u; d.hasLow = true; break;
            case AT_high_pc:
                d.high = v.u;
                d.hasHigh = true;
                // DWARF 4 gives the end as a length when the form is a constant.
                d.highIsOffset = spec.form != FORM_addr && u.version >= 4;
                break;
            case AT_ranges: d.ranges = v.u; break;
            case AT_declaration_of: d.declaration = v.ref; break;
            case AT_abstract_origin: d.origin = v.ref; break;
            case AT_containing_type: d.containingType = v.ref != kNone ? v.ref : v.u; break;
            }
        }
        if (!ok)
            break;
        dies.push_back(d);
        if (a.children)
            parents.push_back((int)dies.size() - 1);
    }
}

int FindDie(const std::vector<Die>& dies, uint64_t offset)
{
    auto it = std::lower_bound(dies.begin(), dies.end(), offset,
                               [](const Die& d, uint64_t o) { return d.offset < o; });
    if (it == dies.end() || it->offset != offset)
        return -1;
    return (int)(it - dies.begin());
}

// True when key lies in the entry's code; start receives the entry's first address.
bool Contains(const Sections& s, const Unit& u, uint64_t cuBase, const Die& d, uint64_t key, uint64_t& start)
{
    if (d.hasLow && d.hasHigh) {
        uint64_t end = d.highIsOffset ? d.low + d.high : d.high;
        start = d.low;
        return d.low <= key && key < end;
    }
    if (d.ranges == kNone || !s.hasRanges || d.ranges >= s.ranges.Size())
        return false;
    ElfCursor c(s.ranges.begin + d.ranges, s.ranges.end);
    uint64_t base = cuBase;
    uint64_t maxAddress = u.addressSize == 8 ? ~0ull : 0xFFFFFFFFull;
    bool first = true;
    while (!c.Overrun()) {
        uint64_t a = ReadUnsigned(c, u.addressSize);
        uint64_t b = ReadUnsigned(c, u.addressSize);
        if (c.Overrun() || (a == 0 && b == 0))
            break;
        if (a == maxAddress) {
            base = b;
            continue;
        }
        if (first) {
            start = d.hasLow ? d.low : base + a;
            first = false;
        }
        if (base + a <= key && key < base + b) {
            if (!d.hasLow)
                start = base + a;
            return true;
        }
    }
    return false;
}

bool IsScope(uint32_t tag)
{
    return tag == TAG_class_type || tag == TAG_structure_type || tag == TAG_union_type || tag == TAG_namespace;
}

std::string QualifiedName(const std::vector<Die>& dies, int index)
{
    const Die& d = dies[index];
    std::string name = d.name ? d.name : "";
    if (d.containingType != kNone) {
        // The old producer names member functions through containing_type chains of classes.
        uint64_t ref = d.containingType;
        for (int depth = 0; depth < 64 && ref != 0 && ref != kNone; depth++) {
            int cls = FindDie(dies, ref);
            if (cls < 0 || dies[cls].tag != TAG_class_type)
                break;
            name = std::string(dies[cls].name ? dies[cls].name : "") + "::" + name;
            ref = dies[cls].containingType;
        }
        return name;
    }
    // Standard producers: the name comes from the declaration the entry refers to, and the
    // classes and namespaces around that declaration qualify it.
    int source = index;
    for (int depth = 0; depth < 16 && !dies[source].name; depth++) {
        uint64_t ref = dies[source].declaration != kNone ? dies[source].declaration : dies[source].origin;
        int next = ref == kNone ? -1 : FindDie(dies, ref);
        if (next < 0)
            break;
        source = next;
    }
    name = dies[source].name ? dies[source].name : "";
    int depth = 0;
    for (int p = dies[source].parent; p >= 0 && depth < 256; p = dies[p].parent, depth++) {
        if (!IsScope(dies[p].tag))
            continue;
        const char* scope = dies[p].name;
        if (!scope && dies[p].tag != TAG_namespace)
            continue;
        name = std::string(scope ? scope : "(anonymous namespace)") + "::" + name;
    }
    return name;
}

struct Label {
    uint64_t address;
    std::string name;
};

// A function of a unit that has code: its entry (for the range test) and its qualified name.
struct FunctionEntry {
    Die die;
    std::string name;
};

// What a lookup needs of one unit, taken from one walk of its entries.
struct UnitTable {
    bool ok = false; // header accepted
    Unit unit;
    uint64_t cuBase = 0;
    std::vector<FunctionEntry> functions; // in entry order
    std::vector<Label> labels;            // by address (entry order among equal addresses)
};

void BuildUnitTable(const Sections& s, uint64_t infoOffset, UnitTable& t)
{
    uint64_t abbrevOffset = 0;
    if (!ReadUnitHeader(s, infoOffset, t.unit, abbrevOffset))
        return;
    t.ok = true;
    AbbrevTable abbrevs;
    ReadAbbrevTable(s.abbrev, abbrevOffset, abbrevs);
    std::vector<Die> dies;
    WalkUnit(s, t.unit, abbrevs, dies);
    if (!dies.empty() && dies[0].tag == TAG_compile_unit && dies[0].hasLow)
        t.cuBase = dies[0].low;
    for (size_t i = 0; i < dies.size(); i++) {
        const Die& d = dies[i];
        if (d.tag == TAG_label && d.hasLow)
            t.labels.push_back({d.low, d.name ? d.name : ""});
        else if (d.tag == TAG_subprogram && ((d.hasLow && d.hasHigh) || d.ranges != kNone))
            t.functions.push_back({d, QualifiedName(dies, (int)i)}); // entries without code never match
    }
    std::stable_sort(t.labels.begin(), t.labels.end(),
                     [](const Label& a, const Label& b) { return a.address < b.address; });
}

// The function of the unit at the key: the first whose code holds it, else the nearest label
// below it (when the unit has labels at all).
bool FindInUnit(const Sections& s, const UnitTable& t, const DwarfQuery& q, std::string& name, uint32_t& displacement)
{
    if (!t.ok)
        return false;
    uint64_t key = t.unit.addressSize == 4 ? q.legacy : q.va;
    for (const FunctionEntry& f : t.functions) {
        uint64_t start = 0;
        if (Contains(s, t.unit, t.cuBase, f.die, key, start)) {
            name = f.name;
            displacement = (uint32_t)(key - start);
            return true;
        }
    }
    if (t.labels.empty())
        return false;
    auto after = std::upper_bound(t.labels.begin(), t.labels.end(), key,
                                  [](uint64_t k, const Label& l) { return k < l.address; });
    const Label* best = after == t.labels.begin() ? nullptr : &*(after - 1);
    name = best ? best->name : std::string();
    displacement = (uint32_t)(best ? key - best->address : key);
    return true;
}

// One range of a set in ".debug_aranges", with its unit.
struct Arange {
    uint64_t start;
    uint64_t size;
    uint32_t infoOffset;
    bool wide; // 8-byte addresses: matched with the query's va key
};

void ReadAranges(const Sections& s, std::vector<Arange>& out)
{
    uint64_t offset = 0;
    while (offset < s.aranges.Size()) {
        uint64_t length = 0, next = 0;
        if (!UnitBounds(s.aranges, offset, length, next))
            break;
        ElfCursor c(s.aranges.begin + offset + 4, s.aranges.end);
        uint16_t version = ReadU16(c);
        uint32_t infoOffset = ReadU32(c);
        uint8_t addressSize = ReadU8(c);
        uint8_t segmentSize = ReadU8(c);
        if (!c.Overrun() && version == 2 && (addressSize == 4 || addressSize == 8) && segmentSize == 0 && length >= 8) {
            uint64_t tuples = addressSize == 4 && (length + 4 - 12) % 8 == 0 ? 12 : 16;
            const uint8_t* setEnd = next <= s.aranges.Size() ? s.aranges.begin + next : s.aranges.end;
            ElfCursor t(s.aranges.begin + std::min<uint64_t>(offset + tuples, s.aranges.Size()), setEnd);
            for (;;) {
                uint64_t start = ReadUnsigned(t, addressSize);
                uint64_t size = ReadUnsigned(t, addressSize);
                if (t.Overrun() || (start == 0 && size == 0))
                    break;
                if (size)
                    out.push_back({start, size, infoOffset, addressSize == 8});
            }
        }
        offset = next;
    }
}

// A line row with the addresses it covers (from its own up to the next row's), numbered in
// program order.
struct LineRange {
    uint64_t low;
    uint64_t high;
    uint32_t order;
    int32_t file; // index into the file names, -1: none
    int line;
};

// The rows of one key kind, sorted by low address, with the highest end of every prefix (a
// search walks back from the key only while some earlier row can still reach it).
struct LineTable {
    std::vector<LineRange> rows;
    std::vector<uint64_t> reach;

    void Finish()
    {
        std::sort(rows.begin(), rows.end(), [](const LineRange& a, const LineRange& b) {
            return a.low != b.low ? a.low < b.low : a.order < b.order;
        });
        reach.resize(rows.size());
        uint64_t highest = 0;
        for (size_t i = 0; i < rows.size(); i++)
            reach[i] = highest = std::max(highest, rows[i].high);
    }

    const LineRange* Find(uint64_t key) const
    {
        auto it = std::upper_bound(rows.begin(), rows.end(), key,
                                   [](uint64_t k, const LineRange& r) { return k < r.low; });
        const LineRange* best = nullptr;
        for (size_t i = (size_t)(it - rows.begin()); i-- > 0 && reach[i] > key;) {
            const LineRange& r = rows[i];
            if (key < r.high && (!best || r.order < best->order))
                best = &r;
        }
        return best;
    }
};

struct LineTables {
    std::vector<std::string> files; // the file names of every unit, one after the other
    LineTable legacy, wide;
};

// Runs every line program of ".debug_line" and records its rows.
void ReadLinePrograms(const Sections& s, LineTables& out)
{
    uint32_t order = 0;
    uint64_t offset = 0;
    while (offset < s.line.Size()) {
        uint64_t length = 0, next = 0;
        if (!UnitBounds(s.line, offset, length, next))
            break;
        const uint8_t* unitEnd = next <= s.line.Size() ? s.line.begin + next : s.line.end;
        ElfCursor c(s.line.begin + offset + 4, unitEnd);
        offset = next;
        uint16_t version = ReadU16(c);
        if (version < 2 || version > 4)
            continue;
        bool legacy = version == 2;
        ReadU32(c); // header_length
        unsigned minInst = ReadU8(c);
        if (version >= 4)
            ReadU8(c); // maximum_operations_per_instruction
        ReadU8(c);     // default_is_stmt
        int lineBase = (int8_t)ReadU8(c);
        unsigned lineRange = ReadU8(c);
        unsigned opcodeBase = ReadU8(c);
        std::vector<uint8_t> opLengths(opcodeBase > 0 ? opcodeBase : 1, 0);
        for (unsigned i = 1; i < opcodeBase; i++)
            opLengths[i] = ReadU8(c);
        while (!c.Overrun() && *ReadString(c))
            ;
        const size_t firstFile = out.files.size();
        for (;;) {
            const char* name = ReadString(c);
            if (c.Overrun() || !*name)
                break;
            out.files.emplace_back(name);
            ReadULEB128Wide(c);
            ReadULEB128Wide(c);
            ReadULEB128Wide(c);
        }
        if (c.Overrun() || lineRange == 0 || opcodeBase == 0) {
            out.files.resize(firstFile);
            continue;
        }
        auto uleb = [&](ElfCursor& cur) { return legacy ? (uint64_t)ReadULEB128(cur) : ReadULEB128Wide(cur); };
        auto sleb = [&](ElfCursor& cur) { return legacy ? (int64_t)ReadSLEB128(cur) : ReadSLEB128Wide(cur); };

        // Row state: a row covers the addresses from its address up to the next row's, and is
        // matched with the key of the address size of the latest set_address.
        uint64_t address = 0;
        bool wideKey = false;
        int64_t fileNo = 1, lineNo = 1;
        bool haveRow = false;
        uint64_t rowAddress = 0;
        int64_t rowFile = 1, rowLine = 1;
        auto row = [&]() {
            if (haveRow && rowAddress < address) {
                size_t unitFiles = out.files.size() - firstFile;
                int32_t file = rowFile >= 1 && (uint64_t)rowFile <= unitFiles ? (int32_t)(firstFile + rowFile - 1) : -1;
                (wideKey ? out.wide : out.legacy).rows.push_back({rowAddress, address, order++, file, (int)rowLine});
            }
            haveRow = true;
            rowAddress = address;
            rowFile = fileNo;
            rowLine = lineNo;
        };
        auto reset = [&]() {
            address = 0;
            wideKey = false;
            fileNo = 1;
            lineNo = 1;
            haveRow = false;
        };
        while (c.pos < c.end && !c.Overrun()) {
            unsigned op = ReadU8(c);
            if (op >= opcodeBase) {
                unsigned adjusted = op - opcodeBase;
                address += (adjusted / lineRange) * minInst;
                lineNo += lineBase + (int)(adjusted % lineRange);
                row();
                continue;
            }
            switch (op) {
            case 0: {
                uint64_t len = ReadULEB128Wide(c);
                if (len == 0 || len > c.Left())
                    break;
                ElfCursor ext(c.pos, c.pos + len);
                c.Skip(len);
                unsigned sub = ReadU8(ext);
                if (sub == 1) { // end_sequence
                    row();
                    reset();
                } else if (sub == 2) { // set_address
                    unsigned size = (unsigned)ext.Left();
                    if (size == 4 || size == 8) {
                        address = ReadUnsigned(ext, size);
                        wideKey = size == 8;
                    }
                } else if (sub == 3) { // define_file: also becomes the current file
                    out.files.emplace_back(ReadString(ext));
                    fileNo = (int64_t)(out.files.size() - firstFile);
                }
                break;
            }
            case 1: row(); break;                                              // copy
            case 2: address += uleb(c) * minInst; break;                      // advance_pc
            case 3: lineNo += sleb(c); break;                                  // advance_line
            case 4: fileNo = (int64_t)uleb(c); break;                          // set_file
            case 5: uleb(c); break;                                            // set_column
            case 6: case 7: break;                                             // negate_stmt, set_basic_block
            case 8: address += ((255 - opcodeBase) / lineRange) * minInst; break; // const_add_pc
            case 9: address += ReadU16(c); break;                              // fixed_advance_pc
            default:
                for (unsigned i = 0; i < opLengths[op]; i++)
                    uleb(c);
                break;
            }
        }
    }
    out.legacy.Finish();
    out.wide.Finish();
}

} // namespace

struct DwarfIndex::Tables {
    explicit Tables(const clsElfImage& image) : sections(image) {}

    Sections sections;
    bool arangesRead = false;
    std::vector<Arange> aranges;
    std::map<uint64_t, std::unique_ptr<UnitTable>> units;
    std::unique_ptr<LineTables> lines;

    const UnitTable& Unit(uint64_t infoOffset)
    {
        std::unique_ptr<UnitTable>& t = units[infoOffset];
        if (!t) {
            std::unique_ptr<UnitTable> table(new UnitTable);
            BuildUnitTable(sections, infoOffset, *table);
            t = std::move(table);
        }
        return *t;
    }
};

DwarfIndex::DwarfIndex(const clsElfImage& image) : m_tables(new Tables(image)) {}

DwarfIndex::~DwarfIndex() = default;

bool DwarfIndex::FindFunction(const DwarfQuery& q, std::string& name, uint32_t& displacement)
{
    Tables& t = *m_tables;
    const Sections& s = t.sections;
    if (!s.hasAranges || !s.hasInfo || !s.hasAbbrev)
        return false;
    try {
        if (!t.arangesRead) {
            ReadAranges(s, t.aranges);
            t.arangesRead = true;
        }
        std::vector<uint32_t> examined; // a unit is searched once per lookup, however many ranges name it
        for (const Arange& a : t.aranges) {
            uint64_t key = a.wide ? q.va : q.legacy;
            if (a.start > key || key - a.start >= a.size ||
                std::find(examined.begin(), examined.end(), a.infoOffset) != examined.end())
                continue;
            examined.push_back(a.infoOffset);
            if (FindInUnit(s, t.Unit(a.infoOffset), q, name, displacement))
                return true;
        }
    } catch (const std::bad_alloc&) {
        t.arangesRead = false;
        t.aranges.clear();
        t.units.clear();
    }
    return false;
}

bool DwarfIndex::FindLine(const DwarfQuery& q, std::string& file, int& line)
{
    Tables& t = *m_tables;
    if (!t.sections.hasLine)
        return false;
    try {
        if (!t.lines) {
            std::unique_ptr<LineTables> tables(new LineTables);
            ReadLinePrograms(t.sections, *tables);
            t.lines = std::move(tables);
        }
        const LineRange* legacy = t.lines->legacy.Find(q.legacy);
        const LineRange* wide = t.lines->wide.Find(q.va);
        const LineRange* r = legacy && (!wide || legacy->order < wide->order) ? legacy : wide;
        if (!r)
            return false;
        line = r->line;
        file = r->file >= 0 ? t.lines->files[(size_t)r->file] : std::string();
        return true;
    } catch (const std::bad_alloc&) {
        t.lines.reset();
        return false;
    }
}
