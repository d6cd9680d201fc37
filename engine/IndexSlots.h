// The 50 index slots of a work area and the controlling order: opening an existing index into a
// slot (db_set_index_to), choosing the controlling order (db_set_order, db_set_order_no_adjust),
// asking for it (db_indexord) and for a slot's file and key (db_get_index, db_get_indexpath,
// db_indexkey, db_indexvalue), and the one routine that makes the key text of a slot.
//
// Life of a slot (the function behind each step):
//   not in use  --db_set_index_to / db_index_on-->  open: file, checked header, compiled key,
//                                                    level -1 (no current page)
//   open        --db_set_order (slot)-->            controlling (area.order = slot - 1)
//   open        --db_set_index_to (NULL) / db_close / closing the table-->  not in use
//               (_idx_release_slot: unlocked by force, file closed, cache, key freed)
// While the job's files-open count is 0 an open slot keeps its state with its file closed.
//
// Key text: the slot's key expression evaluated for the record in the buffer, padded with blanks
// to the key size. A date key whose first character is a blank (the empty date) begins with the
// byte 0xFF instead, so that empty dates sort after all others. Builds, record writing (old and
// new keys), seeks of date keys and the re-synchronisation of the controlling order all take
// their keys from here, so the keys a build stores and the keys later writes look for agree.
#pragma once

#include "Area.h"

// Bytes of a key buffer: the longest key and a NUL.
const unsigned DB_KEY_BUFFER = 331;

// The key size of a slot's header (0 when the header gives none in 1..330).
unsigned _idx_key_size(const s_Index& slot);

// The key text of the slot for the record in the buffer (field reads take the buffer as it is):
// key-size bytes and a NUL into key (DB_KEY_BUFFER bytes). FALSE when the evaluation fails.
bool _idx_key_text(s_Area& area, int slot, char* key);

// A date index: the empty-date form of a search text (a first blank becomes 0xFF).
void _idx_date_search_form(const s_Index& slot, char* key);

// The slot (0..49) of the area is open.
inline bool _idx_in_use(const s_Area& area, int slot)
{
    return slot >= 0 && slot < DB_INDEX_SLOTS && area.indexes[slot].name[0] != 0;
}

// Closes a slot: an index lock is given up by force (which writes the header and the changed
// pages), the file is closed, the page cache and the compiled key freed, and the slot is empty
// again. When it was the controlling index, the area returns to natural order.
void _idx_release_slot(s_Area& area, int slot);

// The file name of a slot: file with ".ntx" added when it has no extension, upper case, into name
// (MAX_PATH bytes). FALSE when that name is longer than a path may be.
bool _idx_file_name(const char* file, char* name);

// The slot (0..49) whose file name is name, or -1.
int _idx_slot_of(const s_Area& area, const char* name);

// The controlling order: slot 1..50, 0 natural order. With adjust the controlling index is found
// again on the current record; without it the index has no current page until the next
// positioning (and choosing the controlling slot again still drops its cache). FALSE with error
// 24 (slot above 50) or 31 (slot not in use).
bool _idx_set_order(s_Area& area, int slot, bool adjust);

// Fills the index-slot members of the engine's hooks (key text, positioning on a key and record
// number, rebuilding every open index, closing a slot).
struct s_EngineHooks;
void _idx_hooks(s_EngineHooks& hooks);
