// Reports an error of a table: the last engine error with the table's path (or a given text) as
// the context of the box.
#pragma once

#include "CErrorReporter.h"

class CDbTable;

class CTableErrorReporter : public CErrorReporter {
    DECLARE_DYNAMIC(CTableErrorReporter)
public:
    explicit CTableErrorReporter(CDbTable* pTable);
    virtual ~CTableErrorReporter();

    // ReportError with the last engine error (0 without a table), the severity and as context the
    // text, or the table's full path when the text is empty.
    void Report(int nSeverity, LPCTSTR lpszText = NULL);

    CDbTable* m_pTable;
};
