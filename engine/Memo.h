// Memo files: the texts of memo (M) fields in the DBT file beside the table (layout in Memo.cpp
// and DbfFormat.h).
#pragma once

#include <cstdint>

#include "Area.h"

// The longest memo text a read returns (the transfer block holds it and a NUL).
const unsigned DB_MEMO_MAX_TEXT = 0x100000 - 1;

// The DBT header (24 bytes) of a new or emptied memo file: next free block 1, the short name of
// the file without extension, block size 512.
void _db_new_memo_header(const char* memoPath, uint8_t* header);
// Empties the area's open memo file: the new header alone. FALSE with error 11.
bool _db_memo_empty(s_Area& area);

// The block reference held by a memo field (1-based) of the record buffer; 0: no memo.
uint32_t _db_memo_reference(const s_Area& area, int field);
// Reads the memo at a block into text (at most size - 1 characters and a NUL); length receives
// the characters read. FALSE with the error raised (10, 13).
bool _db_memo_read(s_Area& area, uint32_t block, char* text, unsigned size, unsigned* length);

// db_append_from: copies the memo of a source field (1-based) of the source area's record buffer
// into the target's memo file and stores the new reference in the target field (the target is
// the current area). FALSE with the error raised.
bool _db_memo_copy(s_Area& source, int sourceField, s_Area& target, int targetField);

// Fills the memo members of the engine's hooks.
struct s_EngineHooks;
void _db_memo_hooks(s_EngineHooks& hooks);
