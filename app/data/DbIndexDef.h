// One index of a table class's definition. A table class describes its indexes in a static array
// of these, ended by an entry with order 0 (CDbTable::GetIndexDefinitions).
#pragma once

struct DbIndexDef {
    int nOrder;                 // the index slot, 1 upward; 0 ends the array
    char szStem[256];           // the index file's extension: "nt0" puts the index of X.DBE in X.nt0
    char szKeyExpression[256];
    int bUnique;                // 1: unique keys
    char szDescription[52];     // key type letter and a short description; not read by the table layer
};
