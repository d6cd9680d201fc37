// Services of other engine modules that the table code calls: locks, writing, index order,
// expressions, relations, encryption and packed tables. Each module fills its members when the
// library starts; a member left NULL means the module is not part of the engine (yet), and the
// table code then does without it or refuses, as each member says.
#pragma once

#include <cstdint>
#include <string>

#include "Area.h"

struct s_EngineHooks {
    // ---- locks ----
    // Releases every lock of the area (engine's and caller's); the table is being closed.
    void (*unlockAreaAll)(s_Area& area) = nullptr;

    // ---- writing ----
    // Writes what the area's buffer and header still owe the table file: a changed record buffer
    // through the write path of db_write (the keys of every open index first, then the record;
    // the change date is not stamped), else a changed header date; the table's files are being
    // closed (a table being defined, a failed open or closed files have nothing to write). FALSE
    // with the error raised when it could not be written. Without it nothing is written.
    bool (*flushArea)(s_Area& area) = nullptr;

    // ---- index slots and order ----
    // Closes the file of a slot in use (unlocking it first, which writes its header and changed
    // pages) and releases its page cache, packed reader and key expression; empties its name.
    // Without it the slot's file is closed.
    void (*releaseIndexSlot)(s_Area& area, int slot) = nullptr;
    // Closes the file of a slot in use and keeps the slot: a locked index is unlocked by force,
    // an exclusive table's index written back, so that its header and changed pages are in the
    // file; FALSE with the error raised when they could not be written. Without it the file is
    // closed.
    bool (*closeIndexFile)(s_Area& area, int slot) = nullptr;
    // The file of an exclusive table's index was opened again: its index lock is taken for good
    // (until the file is closed), as when the index was opened. Without it nothing is locked.
    void (*keepIndexLocked)(s_Area& area, int slot) = nullptr;
    // Index lock of a slot of a shared table (waiting scheme); FALSE when not obtained.
    bool (*lockIndex)(s_Area& area, int slot) = nullptr;
    void (*unlockIndex)(s_Area& area, int slot) = nullptr;
    // Positions the slot on its first or last key; FALSE when the index is empty or unreadable.
    bool (*firstKey)(s_Area& area, int slot) = nullptr;
    bool (*lastKey)(s_Area& area, int slot) = nullptr;
    // Steps n keys (negative: backwards); answers the keys moved, with the sign of the direction
    // moved (an opposite sign reports an error of the step).
    long (*stepKeys)(s_Area& area, int slot, long n) = nullptr;
    // The current key entry: its record number and key text (keyLength bytes); FALSE when none.
    bool (*currentKey)(s_Area& area, int slot, int32_t* recno, const char** key, unsigned* keyLength) = nullptr;
    // The slot's key for the record in the buffer, into key (330 bytes and a NUL).
    bool (*evaluateKey)(s_Area& area, int slot, char* key) = nullptr;
    // Positions the slot on a key and record number (under its index lock).
    bool (*seekKey)(s_Area& area, int slot, const char* key, int32_t recno) = nullptr;
    // Record writing: adds a key (key-size bytes, padded with blanks) for a record number, raising
    // the header's change counter for the lock period; deletes the key of a record number. Both
    // run under the slot's index lock and answer FALSE with the error raised. Without them the
    // indexes of written records are left as they are.
    bool (*addKey)(s_Area& area, int slot, const char* key, int32_t recno) = nullptr;
    bool (*deleteKey)(s_Area& area, int slot, const char* key, int32_t recno) = nullptr;
    // Rebuilds every open index of the area (the table was emptied by db_zap); FALSE with the
    // error raised. Without it the indexes are left as they are.
    bool (*rebuildIndexes)(s_Area& area) = nullptr;
    // The index lock found that another station changed the index file since the slot was last
    // locked (the change counter moved; the new header is in the slot): drop the slot's cached
    // pages and, with reposition, find the position of the controlling order again.
    void (*indexChanged)(s_Area& area, int slot, bool reposition) = nullptr;
    // The last index unlock of a changed slot: writes its changed pages back after the header;
    // FALSE with the error raised.
    bool (*writeIndexPages)(s_Area& area, int slot) = nullptr;

    // ---- expressions ----
    // A logical expression for the current record: 1 true, 0 false, -1 evaluation failed (the
    // error is raised).
    int (*evaluateCondition)(s_Area& area, s_Expression* expression) = nullptr;
    void (*freeExpression)(s_Expression* expression) = nullptr;

    // ---- memo files ----
    // The memo text of a memo field (1-based field number) of the area's current record, at most
    // 1,048,575 characters; FALSE with the error raised when the memo cannot be read.
    bool (*readMemo)(s_Area& area, int field, std::string& text) = nullptr;

    // ---- relations ----
    // Repositions the child areas after the parent was positioned (the parent stays current).
    void (*repositionRelations)(s_Area& area) = nullptr;
    void (*freeRelations)(s_Area& area) = nullptr;
    // Writes the relation tree of the area to the dump (starting at level 1).
    void (*dumpRelations)(s_Area& area) = nullptr;

    // ---- encryption ----
    // Obtains and verifies the password of a protected table when it is opened; FALSE: refused
    // (error 1 raised by the caller). Without it protected tables cannot be opened.
    bool (*verifyTablePassword)(s_Area& area) = nullptr;
    // Runs the password creation of a protected table being defined and answers its enciphered
    // check block; FALSE: cancelled. Without it protected tables cannot be defined.
    bool (*createTablePassword)(s_Area& area, uint8_t checkBlock[8]) = nullptr;
    // In place, by the area's cipher state; position is the buffer's file offset.
    void (*encryptBuffer)(s_Area& area, int32_t position, void* buffer, unsigned length) = nullptr;
    void (*decryptBuffer)(s_Area& area, int32_t position, void* buffer, unsigned length) = nullptr;
    void (*releaseCipher)(s_Area& area) = nullptr;

    // ---- packed tables ----
    // Binds the compression library and reads the packed data header at the header length;
    // answers 0, or the error the open fails with (60: the library is not available, 2: a damaged
    // packed header). Without it packed tables cannot be opened.
    unsigned (*openPacked)(s_Area& area) = nullptr;
    // Reads unpacked bytes at an offset of the unpacked file; answers the bytes read.
    unsigned (*readPacked)(s_Area& area, int64_t offset, void* buffer, unsigned count) = nullptr;
    // Size of the unpacked file (for the record count).
    int64_t (*packedSize)(s_Area& area) = nullptr;
    // Compression method of a packed reader (the dumps show "Mode 0" or "Mode 1").
    int (*packedMethod)(const s_PackedReader* reader) = nullptr;
    // Page n (file offset / 1,024) of a packed index file, unpacked into page (1,024 bytes);
    // FALSE when it cannot be read. Without it packed index files cannot be read (error 29).
    bool (*readPackedIndexPage)(s_Area& area, int slot, uint32_t n, uint8_t* page) = nullptr;
    void (*releasePacked)(s_Area& area) = nullptr;
    // A slot whose header holds the packed marker: sets up its packed reader; FALSE with the error
    // raised (60 without the compression library, 35 for a damaged packed header). Without it
    // packed index files cannot be opened.
    bool (*openPackedIndex)(s_Index& slot) = nullptr;
    // Releases the packed reader of a slot (it reads as an unpacked index afterwards).
    void (*releasePackedIndex)(s_Index& slot) = nullptr;
    // Packs the index file of a slot just built for a packed table; FALSE with the error raised.
    bool (*packIndex)(s_Area& area, int slot) = nullptr;
};

extern s_EngineHooks g_EngineHooks;
