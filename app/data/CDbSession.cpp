#include "CDbSession.h"

#include "CDbEngineLock.h"
#include "CErrorReporter.h"
#include "CMfxUiQueue.h"
#include "DataStrings.h"
#include "DbErrors.h"

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
    // The session is opened by the user-interface thread: reports of other threads reach it
    // through the queue's window from now on.
    CMfxUiQueue::Attach();
    int nJob;
    {
        CDbEngineLock engine;
        m_pfnCallback = NULL;
        g_lastDbError = 0;
        nJob = DbChecked(db_job_open());
    }
    if (nJob < 0) {
        CErrorReporter reporter;
        ReportError(&reporter, IDS_DB_NO_JOB, 1, NULL);
    }
    CDbEngineLock engine;
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
    CDbEngineLock engine;
    m_bOpen = FALSE;
    RemoveErrorCallback();
    DbChecked(db_files_close());
    db_job_close(); // its errors are checked when the scope ends
}

void CDbSession::SetErrorCallback(DbErrorCallback pfnCallback)
{
    CDbEngineLock engine;
    if (pfnCallback == NULL)
        pfnCallback = DbErrorHandler;
    if (m_pfnCallback != NULL)
        RemoveErrorCallback();
    DbChecked(db_set_errorcallback(pfnCallback));
    m_pfnCallback = pfnCallback;
}

intptr_t CDbSession::RemoveErrorCallback()
{
    CDbEngineLock engine;
    intptr_t nResult = DbChecked(db_set_errorcallback(NULL));
    m_pfnCallback = NULL;
    return nResult;
}
