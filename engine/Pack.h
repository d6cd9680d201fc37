// Packing a table (db_pack): the records marked deleted are removed for good. See Pack.cpp.
#pragma once

#include <cstdint>

// The two places a pack writes to: the temporary file that collects the moved records, and the
// table file when they are copied back.
enum PackWriteTarget { PACK_WRITE_TEMPORARY, PACK_WRITE_TABLE };

// A test seam: asked before every record write of a pack with the place and the 1-based number of
// the record written there; answering false makes that write fail as a short write does. NULL
// (the default) lets every write go ahead.
typedef bool (*PackWriteProbe)(PackWriteTarget target, int32_t recno);
void _db_set_pack_write_probe(PackWriteProbe probe);
