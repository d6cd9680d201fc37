#include "CHintRecorder.h"

#include <afxcoll.h>

void CHintRecorder::GetSelectedDay(int& nYear, int& nMonth, int& nDay) const
{
    nYear = m_nYear;
    nMonth = m_nMonth;
    nDay = m_nDay;
}

void CHintRecorder::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    Notice notice{lHint, pSender == NULL, pHint != NULL, {}};
    CStringList* pIds = dynamic_cast<CStringList*>(pHint);
    if (pIds != NULL) {
        for (POSITION pos = pIds->GetHeadPosition(); pos != NULL;)
            notice.recordIds.push_back((LPCTSTR)pIds->GetNext(pos));
    }
    m_notices.push_back(notice);
}

std::vector<LPARAM> CHintRecorder::Hints() const
{
    std::vector<LPARAM> hints;
    for (const Notice& notice : m_notices)
        hints.push_back(notice.lHint);
    return hints;
}
