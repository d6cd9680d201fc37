// The lines of the symbol reader's results in a crash report or a debug trace:
//
//   List of Modules:
//   0x<base, 16 digits>: <name> <description> <file version> '<path>'  [<kind of symbols>]
//
//   Stack Trace:
//   [0x<address>] <module>!<symbol> + <displacement>   (<file>, line <n>)     a frame
//            args(0x<home slot 1>, ...)
//      CALL [0x<address>] <module>!<symbol>   (<file>, line <n>)             its callee
//   [0x<address>] <module>!+<offset from the module's base>                  a frame without symbol
//      =========================
//
// The symbol text is the complete undecorated name when there is one, else the name-only form,
// else the raw symbol name. Argument words print by kind: 32-bit in 8 hexadecimal digits, 64-bit
// in 16, floating point with %g.
#pragma once

#include <cstddef>

#include "DBGHelp.h"

class clsDebugOutput;

// "List of Modules:" and a line per record, in the list's order.
void WriteModuleList(IDBGModuleList* list, clsDebugOutput& out);
// "Stack Trace:", the lines of every record and the closing line.
void WriteStackTrace(IDBGStackTraceList* list, clsDebugOutput& out);

// One module line; one trace line of a record (a frame or a callee) and the argument line of a
// frame (empty for a callee).
void FormatModuleLine(const DBGModuleItem& item, char* line, size_t size);
void FormatTraceLine(const DBGStackTraceItem& item, char* line, size_t size);
void FormatArgumentLine(const DBGStackTraceItem& item, char* line, size_t size);
