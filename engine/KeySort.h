// The external key sort of index builds: the build hands every key with its record number to the
// sort and takes the entries back in ascending key order (layout, modes and life cycle in
// KeySort.cpp).
//
//   if (!_SORTINIT(recordCount, keySize, 4))
//       return FALSE;                               // error 13 raised
//   for (each record)
//       if (!_SORTADD(key, &recno))
//           return FALSE;                           // error 41 raised, the sort is ended
//   for (;;) {
//       bool end = false;
//       if (!_SORTNEXT(entry, &end))
//           fail;                                   // fewer entries came than were announced
//       if (end)
//           break;                                  // every announced entry was delivered
//       use entry: key (keySize bytes), then the record number (4 bytes)
//   }
//   _SORTDONE();
//
// Keys are compared as fixed-size byte strings: a key may hold any byte, a 0 at its start too.
// Callers must take the end from the out flag of _SORTNEXT, not from the entry's first byte.
//
// There is one sort per process at a time (builds take turns); nothing here is guarded.
#pragma once

#include <windows.h>

#include <cstdint>

// Starts a sort of count entries of keySize + extraSize bytes (extraSize 4: the record number),
// ordered by the sort order of the current work area. FALSE with error 13 when no run layout of
// at most 65,535 runs fits, or neither memory nor the temporary file can be had.
BOOL _SORTINIT(int32_t count, int keySize, int extraSize);

// Adds one entry: keySize bytes of key and extraSize bytes of extra. FALSE with error 41 when more
// entries come than were announced (the sort is ended then); FALSE with error 30 when a run cannot
// be written to the temporary file; FALSE without an error when no sort is filling.
BOOL _SORTADD(const void* key, const void* extra);

// Writes the next entry (entry size bytes) to out and answers TRUE. After the last announced
// entry it answers TRUE with *end set and the first byte of out 0 (the first byte alone is no end
// signal: keys may begin with 0). FALSE when the runs ran dry before the announced count (fewer
// entries were added), or error 29 when the temporary file cannot be read; every later call
// answers FALSE too. end may be NULL.
BOOL _SORTNEXT(void* out, bool* end = nullptr);

// Ends the sort: frees the runs and readers, closes and deletes the temporary file.
void _SORTDONE();

// ---- for tests ------------------------------------------------------------------------------

// The profile file of the switches (NULL: "VELMAR.INI" in the Windows directory again).
void _sort_profile_file(const char* path);

// The run layout of the running sort; all 0 when no sort runs.
struct s_SortLayout {
    int runs = 0;
    int32_t perRun = 0;
    bool fileMode = false;
};
s_SortLayout _sort_layout();
