// Index creation and rebuild: db_index_on creates a new index file for a key expression and builds
// it, db_reindex rebuilds one or every open index of the current work area.
//
// A build reads every record of the table once (in blocks of about 32 KB), evaluates the key of
// each (IndexSlots.h: the one key-text routine), sorts the keys with the external key sort
// (KeySort.h) and writes the b-tree bottom-up in one sequential pass of full pages, then the
// header. Builds of one process run one after the other.
#pragma once

#include "Area.h"

// Builds the index of a slot (0..49, in use) from the table; FALSE with the error raised.
bool _idx_build(s_Area& area, int slot);

// Rebuilds every open index of the area in slot order; the first failure ends with FALSE.
bool _idx_rebuild_all(s_Area& area);

// ---- for tests ------------------------------------------------------------------------------

// Writes the tree of a slot from the count entries of the running key sort (key size bytes of key
// and the record number each) into its file, and sets the header's root; the header itself is not
// written. Answers false with the error raised; a leftover pending item (see IndexBuild.cpp) is
// handed back in pendingKey (key size bytes) and pendingRecno (0: none).
bool _idx_write_tree(s_Area& area, int slot, int32_t count, char* pendingKey, int32_t* pendingRecno);
