// The crash report of a crash protection frame, written line by line through the frame's Log
// (the crash log and the debug-output channel):
//
//   >>>========================= <date>, <time>
//   Exception code: 0x<code> (<name>)
//   Registers:
//   RIP: ..., the general registers, the stack range, the segment registers, the flags
//   Code environment:
//    <16 bytes a line from 64 bytes before to 64 bytes behind the instruction pointer>
//   [full form: the minidump, "List of Modules:" ..., the symbol reader's stack trace]
//   Stack Trace:             (small form, or the full form without a symbolic trace)
//   <instruction pointer>=<location text>
//   ---------------------------------------------------------
//    <frame>:<location of the call>
//     CALL <target> <home slots>
//   ...
//   <empty line>
//   Ergebnis: ... / Result: ... (the crash log's path, the minidump's path)
//   <<<========================= <date>, <time>
//
// Report modes: 0 none (header, exception, registers, code environment, empty line and footer
// only), 1 small, 2 full. Without a symbol reader the mode is 1 and nothing is asked; with one the
// registry switches "GenerateFullGPFInfo" (absent: 1; 'F'/'0': 0; else 2) and "AllowFullGPFInfo"
// ('T'/'1' allows the question) decide, and an interactive user may be asked (frame flag kAsk).
// When the user answers Yes to the final question the process ends with exit code 127.
//
// A report is about the thread of GetCrashSubject: its stack range, its own stack walk and the
// thread the minidump names. After a stack overflow the report is written on a helper thread for
// the overflowing thread, which waits for its end (RunForThisThread).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class clsGPFProtection;

void WriteCrashReport(clsGPFProtection& frame, EXCEPTION_RECORD* record, CONTEXT* context);
// The code bytes around address: lines of 16 from (address - 64) rounded down to 16 up to, not
// including, (address + 65) rounded down to 16; "--" for a byte that cannot be read.
void CodeEnvironmentDump(clsGPFProtection& frame, uintptr_t address);
// The report mode (asks the first question when allowed).
int ChooseReportMode(clsGPFProtection& frame, const char* exceptionName, bool symbolReader);

// The name of an exception code from the library's table, else the system's message text of
// the code from NTDLL.DLL (at most 80 characters).
const char* GetExceptionName(DWORD code, char* buffer, size_t size);

// Session kinds: 1 interactive, 3 service (or no interactive group), 4 the system or web server
// accounts; 1 and 2 count as interactive.
int GetSessionKind();
bool IsInteractiveSession();
// True when the user's default language is German (the texts of questions and results).
bool GermanUser();
