// Field designators and the record buffer.
#pragma once

#include "Area.h"
#include "WorkAreas.h"

// Field "number" of the pseudo-field INDEXKEY, the current key of the controlling index.
const int DB_FIELD_INDEXKEY = -1;

// The field a designator names in the area: 1..field count, 0 none, DB_FIELD_INDEXKEY. The form
// qualified by an area is not resolved here (see _db_enter_qualified).
int _db_field_number(const s_Area& area, const char* designator);

// A designator qualified by an area ("alias.name" or "#n.name"): selects that area and answers 1
// with the field part in *rest and the area number to select again afterwards in *previous;
// 0 when the designator is not qualified; -1 (error 6) when the area does not exist.
int _db_enter_qualified(s_Job* job, const char* designator, const char** rest, int* previous);

// Runs call(field part) in the area a qualified designator names and selects the previous area
// again; *result is the call's answer, or T() when the area does not exist. Answers false when the
// designator is not qualified (nothing done).
template <typename T, typename Call>
bool _db_in_qualified_area(s_Job* job, const char* designator, Call call, T* result)
{
    const char* rest = nullptr;
    int previous = 0;
    const int q = _db_enter_qualified(job, designator, &rest, &previous);
    if (q == 0)
        return false;
    *result = T();
    if (q > 0) {
        *result = call(rest);
        _db_select_number(job, previous);
    }
    return true;
}

// Fills the buffer with the blank template (blanks, the deleted flag byte included): it holds
// the end-of-file position's record, unchanged, without before-image.
void _db_blank_buffer(s_Area& area);

// The contents of field n (1..field count, or DB_FIELD_INDEXKEY) of the current record as
// db_get_contents gives them, into buffer (size at least 1): at most size - 1 characters and NUL;
// logical fields read as "T" or "F"; INDEXKEY is the current key of the controlling index (the
// empty text in natural order). FALSE when the record or the key cannot be read (error raised).
bool _db_field_contents(s_Area& area, int n, char* buffer, unsigned size);

// The conditions under which the buffer may be changed (db_replace, and db_memo_write before it
// touches the memo file): an error code (9, 54, 22, 44) or 0.
unsigned _db_change_allowed(const s_Area& area);

// Makes the buffer hold the current record: under any lock bit or at the end-of-file position a
// valid buffer that holds the current record is used as it is, else the record is read.
bool _db_read_current(s_Area& area);
