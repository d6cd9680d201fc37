// A date and time picker of the common controls.
// The wrapper adds no data of its own: FromHandle of a control's handle may be cast to it.
#pragma once

#include "CWnd.h"
#include "CImageList.h"

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    CDateTimeCtrl() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    DWORD GetTime(LPSYSTEMTIME pTimeDest) const { return (DWORD)::SendMessageA(m_hWnd, DTM_GETSYSTEMTIME, 0, (LPARAM)pTimeDest); }
    BOOL SetTime(LPSYSTEMTIME pTimeNew = NULL) { return (BOOL)SendMessage(DTM_SETSYSTEMTIME, pTimeNew == NULL ? GDT_NONE : GDT_VALID, (LPARAM)pTimeNew); }
    BOOL SetFormat(LPCTSTR pstrFormat) { return (BOOL)SendMessage(DTM_SETFORMATA, 0, (LPARAM)pstrFormat); }
    BOOL SetRange(LPSYSTEMTIME pRange, DWORD dwFlags) { return (BOOL)SendMessage(DTM_SETRANGE, dwFlags, (LPARAM)pRange); }
};
