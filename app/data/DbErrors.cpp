#include "DbErrors.h"

#include <afxwin.h>

#include <exception>

#include "CErrorReporter.h"
#include "CMfxString.h"
#include "CMfxUiQueue.h"
#include "DataStrings.h"
#include "DbLocks.h"
#include "MfxMessageBox.h"
#include "vlUT11.h"

std::atomic<unsigned> g_lastDbError{0};

namespace {

const char kRepairHint[] = "Achtung, die Datenbank ist in einem instabilen Zustand! Versuchen Sie "
                           "Datei>Reparatur>Reindex, beenden das Programm und starten es erneut!";
// The operating-system error of the file exception of an unexpected engine error.
const LONG kUnexpectedOsError = -4;
// The module and line the fatal box names for an unknown severity.
const UINT kReportModule = 108;
const UINT kReportLine = 108;

// Per thread: the first unexpected error not yet thrown, the last error that reached the handler,
// how deep the handler is nested (its own engine calls may raise errors in turn), and how many
// scopes of engine calls the thread is in.
struct ThreadErrors {
    unsigned pending = 0;
    unsigned last = 0;
    int depth = 0;
    int scopes = 0;
};
thread_local ThreadErrors t_errors;

// The base name of the table in the current area, read under element 0 of the area locks.
CString CurrentTableName()
{
    CSingleLock lock(&g_areaLocks[0], TRUE);
    char szName[15] = "";
    db_get_database((unsigned)db_select_area(0), szName, sizeof szName);
    return szName;
}

// The two boxes of a critical or runtime error; run on the user-interface thread.
void ShowEngineErrorBoxes(unsigned nCode, const CString& strKind, const CString& strTable)
{
    CErrorReporter reporter;
    CString strContext;
    strContext.Format("%s (%s)", (LPCTSTR)strKind, (LPCTSTR)strTable);
    ReportError(&reporter, nCode, 0, strContext);
    MfxMessageBox(reporter.m_pWnd, kRepairHint, DbErrorText(nCode), MB_ICONHAND);
}

// The box of a database error; run on the user-interface thread.
void ShowDatabaseErrorBox(const CString& strText, const CString& strTable)
{
    CErrorReporter reporter;
    CString strTitle;
    strTitle.Format("Datenbank-Fehler aufgetreten (%s)", (LPCTSTR)strTable);
    MfxMessageBox(reporter.m_pWnd, strText, strTitle, MB_ICONEXCLAMATION);
}

// The owner window of a report, when the reporter names one that still exists.
CWnd* OwnerWindow(HWND hOwner) { return hOwner != NULL && ::IsWindow(hOwner) ? CWnd::FromHandle(hOwner) : NULL; }

void ShowReport(HWND hOwner, const CString& strText, const CString& strTitle, int nSeverity)
{
    CWnd* pOwner = OwnerWindow(hOwner);
    switch (nSeverity) {
    case 0:
        MessageBeep(MB_ICONEXCLAMATION);
        MfxMessageBox(pOwner, strText, strTitle, MB_ICONEXCLAMATION);
        return;
    case 1:
    case 2: {
        MessageBeep(MB_ICONHAND);
        MfxMessageBox(pOwner, strText + "\n\nDie Anwendung wird beendet!!!", strTitle, MB_ICONHAND);
        if (nSeverity == 1) {
            HWND hWnd = pOwner != NULL ? pOwner->m_hWnd : ::GetActiveWindow();
            if (hWnd != NULL)
                ::SendMessageA(hWnd, WM_CLOSE, 0, 0);
        } else if (CWnd* pMain = AfxGetMainWnd())
            pMain->DestroyWindow();
        AfxAbort();
    }
    default:
        MfxFatalErrorBox(IDS_INTERNAL_ERROR, kReportModule, kReportLine);
    }
}

} // namespace

DbErrorClass DbClassifyError(unsigned nCode)
{
    switch (nCode) {
    case 1: case 12: case 18: case 21: case 25: case 26: case 32: case 40: case 46:
        return DBERR_TRACED;
    case 3: case 4: case 5: case 6: case 9: case 14: case 17: case 19: case 20: case 22: case 23: case 24:
    case 27: case 28: case 31: case 38: case 41: case 42: case 43: case 47: case 48: case 50: case 51:
    case 52: case 54: case 55: case 56: case 1000:
        return DBERR_CRITICAL;
    case 7: case 8: case 10: case 11: case 13: case 15: case 16: case 29: case 30: case 33: case 34:
    case 35: case 36: case 37: case 39: case 44: case 45:
        return DBERR_RUNTIME;
    case 49:
        return DBERR_DATABASE;
    default:
        return DBERR_UNEXPECTED;
    }
}

CString DbErrorText(unsigned nCode)
{
    char szText[256] = "";
    db_get_errortext(nCode, szText, sizeof szText);
    return szText;
}

void DB_CALL DbErrorHandler(unsigned nCode)
{
    g_lastDbError = nCode;
    if (t_errors.depth == 0)
        t_errors.last = nCode;
    ++t_errors.depth;

    // Code 3 says there is no table to name.
    CString strTable;
    if (nCode != DBE_NO_TABLE && db_used())
        strTable = CurrentTableName();

    switch (DbClassifyError(nCode)) {
    case DBERR_TRACED:
        UtilDebug("Error (OX): %s\n", (LPCTSTR)DbErrorText(nCode));
        break;
    case DBERR_CRITICAL:
    case DBERR_RUNTIME: {
        const CString strKind = DbClassifyError(nCode) == DBERR_CRITICAL ? "DBF-CriticalError" : "DBF-RuntimeError";
        CMfxUiQueue::Run([nCode, strKind, strTable]() { ShowEngineErrorBoxes(nCode, strKind, strTable); });
        break;
    }
    case DBERR_DATABASE: {
        const CString strText = DbErrorText(nCode);
        CMfxUiQueue::Run([strText, strTable]() { ShowDatabaseErrorBox(strText, strTable); });
        break;
    }
    case DBERR_UNEXPECTED:
        UtilDebug("UnexpectedError: %s\n", (LPCTSTR)DbErrorText(nCode));
        if (t_errors.pending == 0)
            t_errors.pending = nCode;
        break;
    }
    --t_errors.depth;
}

void DbThrowPendingError()
{
    unsigned nCode = t_errors.pending;
    if (nCode == 0)
        return;
    t_errors.pending = 0;
    AfxThrowFileException((int)nCode, kUnexpectedOsError);
}

void DbClearPendingError() { t_errors.pending = 0; }

int DbEnterScope()
{
    if (t_errors.scopes == 0)
        DbThrowPendingError();
    ++t_errors.scopes;
    CMfxUiQueue::EnterHold();
    return std::uncaught_exceptions();
}

void DbLeaveScope(int nUncaughtAtEntry)
{
    --t_errors.scopes;
    CMfxUiQueue::LeaveHold();
    if (std::uncaught_exceptions() > nUncaughtAtEntry)
        DbClearPendingError();
    else
        DbThrowPendingError();
}

int DbScopeDepth() { return t_errors.scopes; }

unsigned DbThreadError() { return t_errors.last; }

void DbClearThreadError() { t_errors.last = 0; }

void ReportError(CErrorReporter* pReporter, UINT nCode, int nSeverity, LPCTSTR lpszContext, ...)
{
    CMfxString strText;
    CString strFormat;
    if (strFormat.LoadString(nCode)) {
        va_list args;
        va_start(args, lpszContext);
        strText.FormatV(strFormat, args);
        va_end(args);
    } else
        strText.Format("Fehlercode: %u\n(%s)", nCode, (LPCTSTR)DbErrorText(nCode));
    CString strTitle = "FEHLER";
    if (lpszContext != NULL && *lpszContext != '\0')
        strTitle = CString("FEHLER BEI: ") + lpszContext;
    const HWND hOwner = pReporter != NULL && pReporter->m_pWnd != NULL ? pReporter->m_pWnd->m_hWnd : NULL;
    const CString strShown = strText;

    if (nSeverity == 0) {
        CMfxUiQueue::Run([hOwner, strShown, strTitle]() { ShowReport(hOwner, strShown, strTitle, 0); });
        return;
    }
    // The reports that end the program never return.
    ASSERT(DbScopeDepth() == 0);
    if (CMfxUiQueue::IsUiThread())
        ShowReport(hOwner, strShown, strTitle, nSeverity);
    CMfxUiQueue::Run([hOwner, strShown, strTitle, nSeverity]() { ShowReport(hOwner, strShown, strTitle, nSeverity); });
    for (;;)
        ::Sleep(INFINITE);
}
