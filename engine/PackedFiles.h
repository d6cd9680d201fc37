// Packed tables and packed index files through the compression library: opening (the packed data
// header and block table), reading records and index pages, packing an index after it was built
// for a packed table, and releasing readers and library references. Layouts: PackedReader.h.
//
// A packed table is read-only: its data are compressed, so no record can be written in place (the
// table file is opened for reading only, and writes are refused with error 54). A packed index
// takes no keys (error 58). A packed index of a table that is not packed binds the compression
// library for its slot; without the library it is refused with error 60.
#pragma once

#include "Area.h"
#include "EngineHooks.h"

// Rewrites the unpacked index file of a slot as a packed index: every block is compressed before
// anything is written, then header page, packed data header, block table and blocks are written
// and the file is cut after them. The slot then reads through its packed reader. FALSE with the
// error raised (34 for a failed write, 60 without the library).
bool _pk_pack_index(s_Area& area, int slot);

void _pk_hooks(s_EngineHooks& hooks);
