// Work areas: lookup, selection, allocation and freeing, and the files-open count.
#pragma once

#include "Area.h"
#include "Job.h"

// Area number 1..250 for an area reference or an alias; 0 (error 6) when none.
int _db_area_by_designator(s_Job* job, const char* designator);
// The area at an index (low 15 bits); flag 0x8000: an unused area is no error.
s_Area* _db_area_by_index(s_Job* job, int indexWithFlag);
// Makes area n (1..250) current: closes the files of a close-on-select area left, reopens the
// files of the new one while the files-open count is not 0. Answers n.
int _db_select_number(s_Job* job, int n);
// A new, empty area in the job's current slot (made current); NULL without memory.
s_Area* _db_alloc_area(s_Job* job);
// Closes and frees the area at the index; the slot and the current area pointer become NULL.
// FALSE when something the area still owed its files could not be written (error raised).
bool _db_free_area(s_Job* job, int index);
// Close or reopen the files of the current area, keeping its state. _db_close_files sets the
// files-open count to 0 (callers restore it where they must).
BOOL _db_close_files(s_Job* job);
BOOL _db_reopen_files(s_Job* job);
// Closes the table, memo and index files of an area, keeping its state. First everything the
// files are owed is written: a changed record buffer with its keys, the header date, and each
// index's header and changed pages; then the area's locks are given up (closing a file would
// release them anyway) and the files closed. FALSE when something could not be written (error
// raised); the files are closed all the same.
bool _db_close_area_files(s_Area& area);

// Shared tables keep their record count unknown between calls: the count of a shared table taken
// during an engine call is noted for the calling thread, and the end of the thread's outermost
// call sets it back to unknown (-1). The next call takes the count, and the record, from the file
// again and so sees what other stations and other areas wrote meanwhile.
void _db_note_count(const s_Area& area);
void _db_forget_counts(s_Job* job);
// The table of the current area; NULL (no error) when the area is unused.
inline s_Area* _db_current_table(s_Job* job) { return job ? job->currentArea : nullptr; }
// The open table of an export: NULL without an area (no error), or with the table file closed
// (error 9).
s_Area* _db_open_table(s_Job* job);

// True for the designators of the current area (0 or the reference of area 0).
inline bool _db_is_current_designator(const char* d) { return (intptr_t)d == 0 || (intptr_t)d == -256; }
// True for an area reference (sign-extended 0xFFFFFF00 | n).
inline bool _db_is_area_ref(const char* d)
{
    intptr_t v = (intptr_t)d;
    return v >= -256 && v < 0;
}
