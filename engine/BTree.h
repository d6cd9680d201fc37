// The b-tree operations on an open index slot: moving to the first and last key, stepping, finding
// a key (with a record number), positioning a work area on a key, adding and deleting keys with
// page splits, the free list, and the change counter.
//
// The current position of a slot is its current page (BoxObj.h) and that page's nKeyIndex. Keys
// compare by the owning area's sort order over the search key's length, capped at the key size;
// searches stop on the leftmost equal key, and equal keys added one by one stand in ascending
// record-number order. Every index operation holds the owning work area's critical section.
//
// Splits: a full page (max keys = 2 x half) gives its median up to its parent; the new left page
// takes the lower half and the old page keeps the upper half. A split that climbs to the root
// makes a new root. Deletes merge nothing: a leaf that becomes empty leaves the tree (to the free
// list) and the separator that led to it is added again; a branch page left with only its
// right-hand item leaves the tree as well, and a root in that state gives way to its one child.
//
// Slot state: after opening (or a cache drop) the slot has no current page (level -1); the first
// operation loads the root. The header copy's change counter differs from the remembered one from
// the first change of a lock period until the unlock writes the header back (Locks.h).
#pragma once

#include <cstdint>

#include "Area.h"

// The key entry at the slot's current position (an item: child, record number, key), or NULL
// when the position is on no key.
const uint8_t* _ntx_current_key(const s_Index& slot);

// Index operations.
//
// Move to the first or last key: FALSE when the index cannot be read.
BOOL _ntx_first(s_Index& slot);
BOOL _ntx_last(s_Index& slot);
// Steps n keys: the keys moved (n, or fewer at either end), -n on failure.
long _ntx_step(s_Index& slot, long n);
// 0 found (over the key size), 1 found as a prefix, 2 not found: on the next greater key, 3 not
// found: all keys are smaller, -1 failure.
int _ntx_find(s_Index& slot, const char* key);
// The find result; the work area stands on the record of the key found (3: at end of file).
int _ntx_position(s_Area& area, s_Index& slot, const char* key);
// 0 present, 1 equal key found but not this record, 2 next greater key, 3 past the end, 4 end
// reached among equal keys, -1 failure.
int _ntx_find_recno(s_Index& slot, const char* key, int32_t recno);
// Adds a key (padded with blanks to the key size) for a record number; with the counter, the
// header's change counter becomes the remembered one + 1 first. FALSE with the error raised: 45
// for a key and record number present, 58 for a packed index, 35 for a damaged file (a split
// that cannot be made changes nothing). A duplicate key of a unique index raises 40 and is
// stored all the same.
BOOL _ntx_add(s_Index& slot, const char* key, int32_t recno);
BOOL _ntx_add_counted(s_Index& slot, const char* key, int32_t recno);
// Deletes the key of a record number (46 when absent, 58 for a packed index).
BOOL _ntx_delete(s_Index& slot, const char* key, int32_t recno);
// Closes the file of a slot in use, unlocking it by force first when it is locked (which writes
// the header and the changed pages); an exclusive table's index that is not locked is written back
// all the same. FALSE for a slot number of 50 or more, or when the header or a page could not be
// written (error raised).
BOOL _ntx_close_file(s_Area& area, int slot);

// The header copy's change counter becomes the remembered one + 1 (one step per lock period).
void _ntx_raise_counter(s_Index& slot);
// The slot's changed pages are written (FALSE when a write failed).
bool _ntx_write_pages(s_Index& slot);
// Every cached page is freed unwritten and the slot has no current page; the end-of-file offset
// is taken from the file again.
void _ntx_drop_pages(s_Index& slot);
// The slot has no current page (the cache stays).
void _ntx_reset(s_Index& slot);
// Frees the slot's page cache (unwritten); the end-of-file offset is taken from the file again.
void _ntx_free_pages(s_Index& slot);

// Fills the index members of the engine's hooks.
struct s_EngineHooks;
void _ntx_hooks(s_EngineHooks& hooks);
