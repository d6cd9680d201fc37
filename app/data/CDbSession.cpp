#include "CDbSession.h"

#include <afxmt.h>

#include "CErrorReporter.h"
#include "DataStrings.h"
#include "DbErrors.h"
#include "DbLocks.h"

namespace {

// Day.month.year with four-digit years.
const int kDateFormatDayMonthYear = 3;
const int kDecimals = 2;

} // namespace

CDbSession::CDbSession() : m_pfnCallback(NULL), m_bOpen(FALSE) { Open(); }

CDbSession::~CDbSession()
{
    if (!m_bOpen)
        return;
    try {
        Close();
    } catch (CException* e) {
        e->Delete();
    }
}

void CDbSession::Open()
{
    CSingleLock engine(&g_engineLock, TRUE);
    m_pfnCallback = NULL;
    g_lastDbError = 0;
    if (DbChecked(db_job_open()) < 0) {
        CErrorReporter reporter;
        ReportError(&reporter, IDS_DB_NO_JOB, 1, NULL);
    }
    m_bOpen = TRUE;
    SetErrorCallback(NULL);
    DbChecked(db_files_open());
    DbChecked(db_set_exclusive(0));
    DbChecked(db_set_exact(0));
    DbChecked(db_set_dateformat(kDateFormatDayMonthYear));
    DbChecked(db_set_decimals(kDecimals));
    DbChecked(db_set_deleted(1));
}

void CDbSession::Close()
{
    CSingleLock engine(&g_engineLock, TRUE);
    m_bOpen = FALSE;
    RemoveErrorCallback();
    DbChecked(db_files_close());
    db_job_close();
}

void CDbSession::SetErrorCallback(DbErrorCallback pfnCallback)
{
    CSingleLock engine(&g_engineLock, TRUE);
    if (pfnCallback == NULL)
        pfnCallback = DbErrorHandler;
    if (m_pfnCallback != NULL)
        RemoveErrorCallback();
    DbChecked(db_set_errorcallback(pfnCallback));
    m_pfnCallback = pfnCallback;
}

intptr_t CDbSession::RemoveErrorCallback()
{
    CSingleLock engine(&g_engineLock, TRUE);
    intptr_t nResult = DbChecked(db_set_errorcallback(NULL));
    m_pfnCallback = NULL;
    return nResult;
}
