// Start-up order of the library's global objects.
//
// The run time constructs global objects by priority before the library's attach processing:
//   32  the support library's first objects (debug-output lock, flag object, library record)
//   63  the allocator object, which opens the debug-output channel and the utility library's job
//   64  every other global object of the engine and the support library (no attribute needed:
//       objects without a priority are constructed after all prioritised ones)
//   65  the crash handler's decision, taken at the start of the attach processing, after all
//       global objects exist
// Destruction runs in the reverse order of construction.
#pragma once

#define VL_INIT_SUPPORT __attribute__((init_priority(132)))
#define VL_INIT_ALLOCATOR __attribute__((init_priority(163)))
