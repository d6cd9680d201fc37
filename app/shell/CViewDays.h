// The day and week view. Until the calendar controls are hosted it is an empty view in the
// window colour.
#pragma once

#include <afxwin.h>

class CViewDays : public CView {
    DECLARE_DYNCREATE(CViewDays)
public:
    void OnDraw(CDC* pDC) override;
    // Update hints received (for tests of the document's channel).
    long GetUpdates() const { return m_nUpdates; }

protected:
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    long m_nUpdates = 0;
};
