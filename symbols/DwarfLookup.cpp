// One-off lookups (each decodes what it needs afresh) and the check of ".debug_pubnames".
#include "DwarfLookup.h"

#include "DwarfIndex.h"
#include "ElfCursor.h"
#include "clsElfImage.h"

bool DwarfFindFunction(const clsElfImage& image, const DwarfQuery& query, std::string& name, uint32_t& displacement)
{
    DwarfIndex index(image);
    return index.FindFunction(query, name, displacement);
}

bool DwarfFindLine(const clsElfImage& image, const DwarfQuery& query, std::string& file, int& line)
{
    DwarfIndex index(image);
    return index.FindLine(query, file, line);
}

bool DwarfPubnamesAccepted(const clsElfImage& image)
{
    const uint8_t *begin = nullptr, *end = nullptr;
    if (!image.Bytes(".debug_pubnames", begin, end))
        return true;
    ElfCursor c(begin, end);
    c.Skip(4);
    uint16_t version = ReadU16(c);
    return !c.Overrun() && version == 2;
}
