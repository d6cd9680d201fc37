// How engine errors and the program's database errors reach the user.
//
// DbErrorHandler is the engine's callback (installed by CDbSession). The engine calls it on the
// calling thread once per error when that thread's outermost engine call ends, while the thread
// still holds the locks of its call sequence. It sorts each code into one of five classes:
//   traced only   1, 12, 18, 21, 25, 26, 32, 40, 46: the engine's text goes to the debug output
//   critical      3-6, 9, 14, 17, 19, 20, 22-24, 27, 28, 31, 38, 41-43, 47, 48, 50-52, 54-56, 1000
//   runtime       7, 8, 10, 11, 13, 15, 16, 29, 30, 33-37, 39, 44, 45
//                 both: an error box "FEHLER BEI: DBF-CriticalError (<table>)" (or RuntimeError),
//                 then a stop box with the repair hint under the engine's text
//   database      49: an exclamation box with the engine's text
//   unexpected    every other code: the engine's text goes to the debug output, and the table layer
//                 throws a CFileException (cause = the code, OS error -4) after the engine call
//                 (DbChecked). The handler itself never throws: it runs inside the engine, which
//                 an exception must not cross.
//
// Two rules keep the reports safe with several threads:
//   - A report (box or window message) is never shown while the thread holds an area lock or the
//     engine lock, and never by a thread other than the user-interface thread: the handler and
//     ReportError hand it to CMfxUiQueue. The user-interface thread shows it as soon as it has
//     left its locks; a report of another thread waits until the user-interface thread runs its
//     queue (a message loop does). A worker that showed a box itself could wait for the
//     user-interface thread while that thread waits for the worker's engine lock.
//   - No unexpected error is lost. Every engine call runs in a scope of CDbAreaLock or
//     CDbEngineLock. DbChecked throws the error right after the call; a call of the scope that
//     was not checked has its error thrown when the scope ends (or by the next check inside it),
//     and an error left by a call outside any scope is thrown when the next outermost scope
//     begins, before it takes a lock.
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
// The scopes of engine calls (CDbAreaLock, CDbEngineLock). DbEnterScope, before the scope takes
// its locks: throws the error an engine call outside any scope left, then counts the scope and
// enters a hold of CMfxUiQueue; it answers the exceptions in flight, for DbLeaveScope. DbLeaveScope,
// after the locks are left: leaves the hold (the user-interface thread then shows the waiting
// reports), then throws the error left unchecked in the scope, or forgets it while another
// exception is on its way.
int DbEnterScope();
void DbLeaveScope(int nUncaughtAtEntry);
// The number of scopes this thread is in.
int DbScopeDepth();
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

// Shows one error box (on the user-interface thread, outside the engine's locks: see above; a box
// of severity 0 that has to wait is shown later and ReportError returns at once). nCode is a string resource of the program, formatted with the further
// values, or, when the program has no such string, an engine error code ("Fehlercode: %u\n(%s)"
// with the engine's text). The title is "FEHLER BEI: <context>", or "FEHLER" without context.
// Severity 0: exclamation box, then back to the caller. 1: stop box ending in "Die Anwendung wird
// beendet!!!", WM_CLOSE to the reporter's window (or the active window), then the program ends
// abnormally. 2: the same box, the main window is destroyed, the program ends. Any other
// severity: the fatal internal-error box (40014 with 108, 108); the program ends. A fatal report
// made on another thread is shown by the user-interface thread, and the calling thread waits for
// the end of the program; such reports are made without engine locks.
void ReportError(CErrorReporter* pReporter, UINT nCode, int nSeverity, LPCTSTR lpszContext, ...);
