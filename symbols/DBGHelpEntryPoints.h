// The five entry points through which the crash handler uses the symbol reader, in this order
// within one report:
//
//   DBGHelpCreate                 enters DBGHelpLock, makes and initialises a clsDBGHELP
//   DBGHelpGetModuleList          }
//   DBGHelpWriteMiniDump          } as the report needs them, each with its progress window
//   DBGHelpGetStackTraceList      }
//   DBGHelpRelease                destroys the object and leaves DBGHelpLock
//
// The lock spans the life of one clsDBGHELP, so at most one exists in the process at a time (the
// thread that holds it may enter again). Lists cross as reference-counted enumerations; the caller
// receives one reference and releases it.
#pragma once

#include <windows.h>

#include "DBGHelp.h"
#include "clsCrit.h"

class clsDBGHELP;

extern clsCrit DBGHelpLock;

// The object with the lock held; NULL (lock left) when dbghelp cannot be initialised or there is
// no memory.
clsDBGHELP* DBGHelpCreate();
// Destroys the object and leaves the lock; NULL does nothing. Returns its argument.
clsDBGHELP* DBGHelpRelease(clsDBGHELP* help);
// The stack of the context, at most frameLimit frames. TRUE also for an empty trace; FALSE for a
// NULL object or without a list.
BOOL DBGHelpGetStackTraceList(clsDBGHELP* help, CONTEXT* context, int frameLimit, IDBGStackTraceList** list,
                              const DBGProgressInfo* progress);
// A copy of the module list. FALSE for a NULL object or without a list.
BOOL DBGHelpGetModuleList(clsDBGHELP* help, IDBGModuleList** list, const DBGProgressInfo* progress);
// A minidump (with the handles' data) of the process. An empty path lets the reader reserve a
// new "Mem.dmp" / "MemXXXX.dmp" in the temporary directory and copies its name into path (also
// when writing fails). A reserved name longer than pathSize - 1 is deleted and gives FALSE.
// TRUE when the dump was written. The dump's exception names exceptionThread (0: the thread that
// created the object).
BOOL DBGHelpWriteMiniDump(clsDBGHELP* help, char* path, int pathSize, EXCEPTION_POINTERS* exception,
                          const DBGProgressInfo* progress, DWORD exceptionThread = 0);
