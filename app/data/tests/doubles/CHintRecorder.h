// Test double of the document: a reminder switch and a selected day set by the test, and a record
// of every notice to the views (the hint, and the record ids of a CStringList hint object).
#pragma once

#include <string>
#include <vector>

#include "CDataDocument.h"

class CHintRecorder : public CDataDocument {
public:
    struct Notice {
        LPARAM lHint;
        bool bSenderNull;
        bool bHasObject;
        std::vector<std::string> recordIds;
    };

    BOOL IsReminderOn() const override { return m_bReminderOn; }
    void GetSelectedDay(int& nYear, int& nMonth, int& nDay) const override;
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL) override;

    // The hints in the order they came.
    std::vector<LPARAM> Hints() const;

    BOOL m_bReminderOn = TRUE;
    int m_nYear = 2005, m_nMonth = 1, m_nDay = 1;
    std::vector<Notice> m_notices;
};
