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

// Flushes the operating system's buffers of the table and memo file of a shared table while the
// area's flush flag is set and no file lock is held.
void _db_flush_files(s_Area& area);

// Fills the writing members of the engine's hooks.
struct s_EngineHooks;
void _db_write_hooks(s_EngineHooks& hooks);
