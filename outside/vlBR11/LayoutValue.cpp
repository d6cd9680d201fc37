#include "LayoutValue.h"

#include <string.h>

#include "vlBR11.h"

namespace {

const size_t kHeaderSize = 16;
const size_t kColumnSize = 12;
const int32_t kMaxWidth = 30000;

void Put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        s += (char)(v >> (8 * i));
}

uint32_t Get32(const std::string& s, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; i--)
        v = (v << 8) | (unsigned char)s[at + i];
    return v;
}

} // namespace

std::string EncodeLayout(const LayoutValue& layout)
{
    std::string s;
    Put32(s, BRLAYOUT_MAGIC);
    Put32(s, (uint32_t)BRLAYOUT_VERSION | ((uint32_t)layout.columns.size() << 16));
    Put32(s, layout.flags);
    Put32(s, (uint32_t)layout.sortOrder);
    for (const ColumnLayout& c : layout.columns) {
        Put32(s, (uint32_t)c.width);
        Put32(s, (uint32_t)c.position);
        Put32(s, c.flags);
    }
    return s;
}

bool DecodeLayout(const std::string& bytes, int columns, LayoutValue* layout)
{
    if (bytes.size() < kHeaderSize || Get32(bytes, 0) != BRLAYOUT_MAGIC)
        return false;
    uint32_t word = Get32(bytes, 4);
    if ((word & 0xFFFF) != BRLAYOUT_VERSION || (int)(word >> 16) != columns)
        return false;
    if (bytes.size() != kHeaderSize + kColumnSize * (size_t)columns)
        return false;
    LayoutValue value;
    value.flags = Get32(bytes, 8);
    value.sortOrder = (int32_t)Get32(bytes, 12);
    std::vector<bool> seen(columns, false);
    for (int i = 0; i < columns; i++) {
        size_t at = kHeaderSize + kColumnSize * i;
        ColumnLayout c;
        c.width = (int32_t)Get32(bytes, at);
        c.position = (int32_t)Get32(bytes, at + 4);
        c.flags = Get32(bytes, at + 8);
        if (c.width < 0 || c.width > kMaxWidth || c.position < 0 || c.position >= columns || seen[c.position])
            return false;
        seen[c.position] = true;
        value.columns.push_back(c);
    }
    *layout = value;
    return true;
}
