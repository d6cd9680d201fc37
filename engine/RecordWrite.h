// Writing the record buffer into the table file: the header's change date and record count, the
// buffer flush, and the flushing of the operating system's buffers of a shared table.
#pragma once

#include <cstdint>

#include "Area.h"

// Today's date (UTC) as the DBF header carries it: year - 1900, month, day.
void _db_today_date(uint8_t* date);
// Stamps today's date into the area's header copy and marks the header changed.
void _db_stamp_date(s_Area& area);

// Writes the header when it changed (under the header lock when asked), then the buffer when it
// is valid, changed and holds a record (not the blank template); the changed flag is cleared
// either way. FALSE after a short write (error 8 for the header, 30 for the record).
bool _db_flush_buffer(s_Area& area, bool underHeaderLock);

// Writes what the buffer and the header owe the table file: a changed buffer that holds a record
// through the write path of db_write under its locks (the keys of every open index but skipSlot
// first, then the record; the change date is not stamped), else a changed header date. FALSE
// with the error raised when it could not be written.
bool _db_write_pending(s_Area& area, int skipSlot);

// Flushes the operating system's buffers of the table and memo file of a shared table while the
// area's flush flag is set and no file lock is held.
void _db_flush_files(s_Area& area);

// Fills the writing members of the engine's hooks.
struct s_EngineHooks;
void _db_write_hooks(s_EngineHooks& hooks);
