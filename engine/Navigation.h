// Record navigation: the record count, reading record n, the visibility of records, moving to
// the first and last visible record, and the re-synchronisation of the controlling index.
// Natural order (record numbers) is complete here; index order goes through the index hooks of
// EngineHooks.h.
#pragma once

#include "Area.h"

// Recomputes the record count from its source (the header's count, or the file size); FALSE
// with error 9 when the table file is closed, with error 7 when the header cannot be read. A
// header count beyond the records the file holds counts those records.
bool _db_refresh_count(s_Area& area);
// Reads record n into the buffer: n <= 0 only blanks the buffer; n beyond the record count moves
// the area to the end-of-file position; otherwise the record is read unless the buffer holds it
// (a buffer held from an earlier call is read again, unless it was changed or the caller's locks
// keep it). FALSE on a failed read (error 29) or a closed table file (error 9).
bool _db_read_record(s_Area& area, int32_t n);
// The record number of an index entry becomes the area's record number. A number the table
// does not hold (0, or beyond the count even when taken afresh) is a damaged index: FALSE with
// error 33.
bool _db_index_record(s_Area& area, int32_t recno);
// The current record's visibility: 1 visible, 0 hidden, -1 evaluation failed.
int _db_visible(s_Area& area);
// Move to the first / last visible record of the current order; answer the record number
// (DB_EOF_RECNO when none) or 0 on failure.
int32_t _db_go_top(s_Area& area);
int32_t _db_go_bottom(s_Area& area);
// The end-of-file position: record number DB_EOF_RECNO and the blank template (flags unchanged).
void _db_set_eof_position(s_Area& area);
// Positions the controlling index on the current record.
void _db_resync_index(s_Area& area);
// After a successful positioning: the children of the area's relations follow, and the area is
// the current one again.
void _db_follow_relations(s_Job* job, s_Area& area);
