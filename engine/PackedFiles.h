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

// Replaces the unpacked index file of a slot by its packed form: header page, packed data header,
// block table and the blocks (each read from the index and compressed on its own) are written into
// a new file in the index's folder, which takes the index's name (a rename) only once it is
// complete; the slot's file is then opened again. The slot then reads through its packed reader.
// FALSE with the error raised (34 for a failed write, 60 without the library); the unpacked index
// then stays as it was.
bool _pk_pack_index(s_Area& area, int slot);

// Test seam: asked before each write of the packed form (the blocks 0, 1, ..., then the front with
// the number of blocks); false makes that write fail. NULL removes it.
typedef bool (*PackIndexWriteProbe)(uint32_t block);
void _pk_set_index_write_probe(PackIndexWriteProbe probe);

void _pk_hooks(s_EngineHooks& hooks);
