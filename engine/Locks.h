// Record, file and index locks of shared tables: byte-range locks in a region far beyond the end
// of every data file, so that a lock never keeps another station from reading the data.
//
// Lock layout (offsets into the locked file):
//
//   lock           file         offset                 length
//   -------------  -----------  ---------------------  ----------------------
//   header lock    table file   LOCK_START             1 byte
//   record n       table file   LOCK_START + n         1 byte
//   file lock      table file   LOCK_START             1,000,000,000 bytes
//   index lock     index file   LOCK_START             1 byte
//   memo locks     memo file    the memo's first block (reading), 0..0x7FFFFFFF (writing)
//
// The header lock and the file lock overlap at LOCK_START, and the file lock covers every record
// lock: a station holding the file lock excludes the header and record locks of all others.
#pragma once

#include <windows.h>

#include <cstdint>

#include "Area.h"

const uint64_t LOCK_START = 1000000000;
const uint64_t DB_FILE_LOCK_LENGTH = 1000000000;
// The byte range of a memo write: the whole memo file.
const uint64_t DB_MEMO_WRITE_LOCK_LENGTH = 0x7FFFFFFF;

// What LockArea and UnlockArea lock besides a record number (> 0).
const int32_t DB_LOCK_HEADER_WHAT = 0;
const int32_t DB_LOCK_FILE_WHAT = -1;
// Owners of an area lock.
const int DB_OWNER_ENGINE = 0;
const int DB_OWNER_CALLER = 1;
// LockIndex and UnlockIndex: every open slot.
const int DB_ALL_INDEXES = 0xFFFF;
// Index-lock word of an area: every open index is locked on behalf of the file lock.
const int DB_INDEXES_FOR_FILE_LOCK = 2;

// The clock of the waiting scheme. The defaults: give up after 300 s, show the abort dialog after
// 15 s, try again every 100 ms, refresh the dialog's text every second, the system's tick count
// and Sleep. Tests shorten the times or drive the clock themselves.
struct s_LockClock {
    DWORD giveUpMs = 300000;
    DWORD dialogDelayMs = 15000;
    DWORD retryMs = 100;
    DWORD refreshMs = 1000;
    DWORD (*ticks)() = nullptr;     // NULL: GetTickCount
    void (*sleep)(DWORD ms) = nullptr; // NULL: Sleep
};
// Replaces the clock of the waiting scheme; NULL restores the defaults.
void _db_set_lock_clock(const s_LockClock* clock);

// One lock attempt, or with wait the waiting scheme (retries, abort dialog, give-up time).
BOOL LockRange(HANDLE file, uint64_t offset, uint64_t length, BOOL wait);
// Non-zero on success.
BOOL UnlockRange(HANDLE file, uint64_t offset, uint64_t length);

// Locks a record (what > 0), the header (0) or the file (-1) of the area for the engine (owner 0)
// or the caller (owner 1). A failure raises error 21.
BOOL LockArea(s_Area& area, int32_t what, BOOL wait, int owner);
// Releases the owner's part of a lock: 0 when the unlock failed, else non-zero (1 also when
// nothing had to be unlocked).
BOOL UnlockArea(s_Area& area, int32_t what, int owner);
// Releases every lock of the area, the engine's and the caller's (the table is being closed).
void UnlockAreaAll(s_Area& area);
// Releases the fake record lock and the caller's header, record and file locks and, once the
// file lock is gone, the index locks taken for it.
BOOL ReleaseCallerLocks(s_Area& area);

// Locks an index slot (or every open slot with DB_ALL_INDEXES); the locks nest. The first lock
// of a slot reads the index header; when its change counter moved, the slot's cached pages are
// dropped (and, unless nested, the controlling order is positioned again). A failure raises
// error 21 (33 when the header cannot be read). With DB_ALL_INDEXES, lockedSlots (when given)
// receives the slots this call locked, one bit per slot.
BOOL LockIndex(s_Area& area, int slot, BOOL wait, BOOL nested, uint64_t* lockedSlots = nullptr);
// Releases one nesting level (force: all of them); the last one writes a changed header and the
// slot's changed pages and frees the byte, unless the file lock holds the indexes.
BOOL UnlockIndex(s_Area& area, int slot, BOOL force);
// Writes the slot's header when its change counter moved since the slot was last locked or
// written, then its changed pages. FALSE when a write failed (error raised).
BOOL WriteIndexBack(s_Area& area, int slot);

// The index slots of the area that are open (a name and a file).
bool _db_index_open(const s_Area& area, int slot);

// Fills the lock members of the engine's hooks.
struct s_EngineHooks;
void _db_lock_hooks(s_EngineHooks& hooks);
