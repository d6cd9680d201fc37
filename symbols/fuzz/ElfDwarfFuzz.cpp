// libFuzzer harness of the container and DWARF readers (built natively by run_fuzz.sh): the
// input is a file as it would lie beside a module. It is located as ELF data (at 0 or behind a
// PE image's last section), loaded, and looked up at addresses taken from its own address ranges
// and from its last bytes, each through one index kept over all addresses and through a fresh
// one: the two must answer alike (what one lookup decoded must not change the next one's answer).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "DwarfIndex.h"
#include "DwarfLookup.h"
#include "ElfCursor.h"
#include "clsElfImage.h"

namespace {

std::vector<uint64_t> Addresses(const clsElfImage& image, const uint8_t* data, size_t size)
{
    std::vector<uint64_t> out = {0, 0x40, 0x1004};
    const uint8_t *begin = nullptr, *end = nullptr;
    if (image.Bytes(".debug_aranges", begin, end)) {
        ElfCursor c(begin, end);
        for (int set = 0; set < 4 && !c.Overrun(); set++) {
            const uint8_t* start = c.pos;
            uint32_t length = ReadU32(c);
            c.Skip(6);
            uint8_t addressSize = ReadU8(c);
            ElfCursor t(start + (addressSize == 8 ? 16 : 12), end);
            uint64_t low = ReadUnsigned(t, addressSize == 8 ? 8 : 4);
            uint64_t len = ReadUnsigned(t, addressSize == 8 ? 8 : 4);
            out.push_back(low);
            out.push_back(low + len / 2);
            c = ElfCursor(start, end);
            c.Skip(4 + (uint64_t)length);
        }
    }
    uint64_t tail = 0;
    for (size_t i = 0; i < 8 && i < size; i++)
        tail = tail << 8 | data[size - 1 - i];
    out.push_back(tail);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb")) {
        clsElfImage::LocateElfData(f);
        fclose(f);
    }
    clsElfImage image;
    if (!image.Load(std::vector<uint8_t>(data, data + size)))
        return 0;
    DwarfIndex index(image);
    for (uint64_t a : Addresses(image, data, size)) {
        std::string name, file, keptName, keptFile;
        uint32_t displacement = 0, keptDisplacement = 0;
        int line = 0, keptLine = 0;
        bool function = DwarfFindFunction(image, DwarfQuery::Same(a), name, displacement);
        bool row = DwarfFindLine(image, DwarfQuery::Same(a), file, line);
        bool keptFunction = index.FindFunction(DwarfQuery::Same(a), keptName, keptDisplacement);
        bool keptRow = index.FindLine(DwarfQuery::Same(a), keptFile, keptLine);
        if (function != keptFunction || (function && (name != keptName || displacement != keptDisplacement)))
            abort();
        if (row != keptRow || (row && (file != keptFile || line != keptLine)))
            abort();
    }
    DwarfPubnamesAccepted(image);
    return 0;
}
