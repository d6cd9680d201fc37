// The stored form of a column layout (the registry value written by BRM_SAVELAYOUT); the byte
// layout is described in vlBR11.h beside BRLAYOUT_MAGIC.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct ColumnLayout {
    int32_t width = 0;
    int32_t position = 0;
    uint32_t flags = 0;
};

struct LayoutValue {
    uint32_t flags = 0;
    int32_t sortOrder = 0;
    std::vector<ColumnLayout> columns;
};

std::string EncodeLayout(const LayoutValue& layout);
// False for a value of another size, magic or version, for one whose column count differs from
// `columns`, and for positions that are not each column's once or widths out of range.
bool DecodeLayout(const std::string& bytes, int columns, LayoutValue* layout);
