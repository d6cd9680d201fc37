#include "CTableErrorReporter.h"

#include "CDbTable.h"
#include "DbErrors.h"

IMPLEMENT_DYNAMIC(CTableErrorReporter, CErrorReporter)

CTableErrorReporter::CTableErrorReporter(CDbTable* pTable) : m_pTable(pTable) {}

CTableErrorReporter::~CTableErrorReporter() {}

void CTableErrorReporter::Report(int nSeverity, LPCTSTR lpszText)
{
    CString strContext = lpszText;
    if (strContext.IsEmpty() && m_pTable != NULL)
        strContext = m_pTable->GetDatabasePath();
    UINT nCode = m_pTable != NULL ? g_lastDbError.load() : 0;
    ::ReportError(this, nCode, nSeverity, strContext);
}
