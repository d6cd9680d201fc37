// How engine errors and the program's database errors reach the user.
//
// DbErrorHandler is the engine's error callback (installed by CDbSession). The engine calls it on
// the calling thread once per error when that thread's outermost engine call ends. It sorts each
// code into one of five classes:
//   traced only   1, 12, 18, 21, 25, 26, 32, 40, 46: the engine's text goes to the debug output
//   critical      3-6, 9, 14, 17, 19, 20, 22-24, 27, 28, 31, 38, 41-43, 47, 48, 50-52, 54-56, 1000
//   runtime       7, 8, 10, 11, 13, 15, 16, 29, 30, 33-37, 39, 44, 45
//                 both: an error box "FEHLER BEI: DBF-CriticalError (<table>)" (or RuntimeError),
//                 then a stop box with the repair hint under the engine's text
//   database      49: an exclamation box with the engine's text
//   unexpected    every other code: the engine's text goes to the debug output, and the table layer
//                 throws a CFileException (cause = the code, OS error -4) right after the engine
//                 call returns (DbChecked). The handler itself never throws: it runs inside the
//                 engine, which an exception must not cross.
#pragma once

#include <afx.h>

#include <atomic>

#include "vlDB07.h"

class CErrorReporter;

// The code of the last engine error that reached the handler (any thread); 0 after a session
// opens.
extern std::atomic<unsigned> g_lastDbError;

void DB_CALL DbErrorHandler(unsigned nCode);

// The five classes of engine errors.
enum DbErrorClass { DBERR_TRACED, DBERR_CRITICAL, DBERR_RUNTIME, DBERR_DATABASE, DBERR_UNEXPECTED };
DbErrorClass DbClassifyError(unsigned nCode);

// The engine's text of an error code.
CString DbErrorText(unsigned nCode);

// Throws the CFileException of an unexpected engine error that reached the handler on this thread
// since the last check, and forgets it.
void DbThrowPendingError();
// Forgets such an error without throwing.
void DbClearPendingError();
// An engine call's result, after the check: DbChecked(db_goto(n)).
template <typename T>
inline T DbChecked(T result)
{
    DbThrowPendingError();
    return result;
}

// The code of the last engine error that reached the handler on this thread since
// DbClearThreadError (0: none). The engine's own db_error is no help there: the handler's calls
// into the engine reset it.
unsigned DbThreadError();
void DbClearThreadError();

// Shows one error box. nCode is a string resource of the program, formatted with the further
// values, or, when the program has no such string, an engine error code ("Fehlercode: %u\n(%s)"
// with the engine's text). The title is "FEHLER BEI: <context>", or "FEHLER" without context.
// Severity 0: exclamation box, then back to the caller. 1: stop box ending in "Die Anwendung wird
// beendet!!!", WM_CLOSE to the reporter's window (or the active window), then the program ends
// abnormally. 2: the same box, the main window is destroyed, the program ends. Any other
// severity: the fatal internal-error box (40014 with 108, 108); the program ends.
void ReportError(CErrorReporter* pReporter, UINT nCode, int nSeverity, LPCTSTR lpszContext, ...);
