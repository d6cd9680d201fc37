// The static definition records of a table class: the table, its fields and its indexes
// (DbIndexDef.h). From them CDbTable creates a missing table with its index files, checks an
// existing table's structure when it opens it, and upgrades a table whose structure differs
// (CDbTable::OpenChecked).
#pragma once

#include "DbIndexDef.h"

// Bits of a field definition's flag word. The flag test of an optional field reads the low byte;
// the read-mask bits are copied into the open table's field entries (CDbTable::ReadFieldsMasked).
inline constexpr int kDbFieldOptional = 0x0010; // may be absent from an existing table
inline constexpr int kDbFieldMaskVersion = 0x0800;
inline constexpr int kDbFieldMaskReload = 0x1000;
inline constexpr int kDbFieldMaskRow = 0x2000;

struct DbTableDef {
    char szFileName[260]; // e.g. "OX4.DBE"
    int nOpenMode;        // db_use/db_define_begin: 0 shared, 1 exclusive, 16 read-only
    char szAlias[260];    // e.g. "TERMIN"
    unsigned nOptions;    // db_use/db_define_begin options: 4 = Clipper 5 table
    int nFieldCount;
};

struct DbFieldDef {
    char szName[11];          // at most 10 characters
    char szDefaultAlias[21];  // display name written to the side file when it has none
    int nType;                // 'C', 'N', 'D', 'L' or 'M'
    int nLength;
    int nDecimals;
    int nFlags;               // kDbField... bits
};
