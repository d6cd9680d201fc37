// A month calendar of the common controls.
// The wrapper adds no data of its own: FromHandle of a control's handle may be cast to it.
#pragma once

#include "CWnd.h"
#include "CImageList.h"

class CMonthCalCtrl : public CWnd {
    DECLARE_DYNAMIC(CMonthCalCtrl)
public:
    CMonthCalCtrl() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL GetCurSel(LPSYSTEMTIME pDateTime) const { return (BOOL)::SendMessageA(m_hWnd, MCM_GETCURSEL, 0, (LPARAM)pDateTime); }
    BOOL SetCurSel(const SYSTEMTIME* pDateTime) { return (BOOL)SendMessage(MCM_SETCURSEL, 0, (LPARAM)pDateTime); }
    BOOL GetMinReqRect(RECT* pRect) const { return (BOOL)::SendMessageA(m_hWnd, MCM_GETMINREQRECT, 0, (LPARAM)pRect); }
    BOOL SetDayState(int nMonths, LPMONTHDAYSTATE pStates) { return (BOOL)SendMessage(MCM_SETDAYSTATE, (WPARAM)nMonths, (LPARAM)pStates); }
    BOOL SetRange(const SYSTEMTIME* pRange, DWORD dwFlags) { return (BOOL)SendMessage(MCM_SETRANGE, dwFlags, (LPARAM)pRange); }
};
