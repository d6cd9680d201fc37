// Work-area lookup and selection.
#pragma once

#include "Area.h"
#include "Job.h"

// Area number 1..250 for an area reference or an alias; 0 (error 6) when none.
int _db_area_by_designator(s_Job* job, const char* designator);
// The area at an index (low 15 bits); flag 0x8000: an unused area is no error.
s_Area* _db_area_by_index(s_Job* job, int indexWithFlag);
// Closes and frees the area at the index.
void _db_free_area(s_Job* job, int index);

// True for the designators of the current area (0 or the reference of area 0).
inline bool _db_is_current_designator(const char* d) { return (intptr_t)d == 0 || (intptr_t)d == -256; }
// True for an area reference (sign-extended 0xFFFFFF00 | n).
inline bool _db_is_area_ref(const char* d)
{
    intptr_t v = (intptr_t)d;
    return v >= -256 && v < 0;
}
