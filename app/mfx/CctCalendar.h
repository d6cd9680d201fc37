// Wrapper of the month grid control (qzCalend.dll). Every member is one automation call; a failed call throws
// COleDispatchException (the control's error) or COleException. Indexed puts take the index first.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

class CctCalendar : public CWnd {
    DECLARE_DYNCREATE(CctCalendar)
public:
    static const CLSID& GetClsid();
    // Creates the control by its class id (window name, style, rectangle, parent and id passed on).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;

    void SetMonthNames(LPCTSTR lpszNames); // "," between
    void SetDayNames(LPCTSTR lpszNames); // Sunday first, "," between
    long GetLastDay(); // last shown day serial
    void SetLastDay(long nDay);
    long GetFirstDay(); // first shown day serial
    void SetFirstDay(long nDay);
    void SetCurrentDay(long nDay);
    void SetOption47(BOOL bValue);
    void SetOption51(short nValue);
    void SetOption52(short nValue);
    void SetOption53(short nValue);
    void SetOption54(short nValue);
    void SetOption55(BOOL bValue);
    void SetOption58(short nValue);
    void SetOption59(short nValue);
    void SetOption60(short nValue);
    void SetMonth(short nMonth);
    void SetYear(short nYear);
    void ClearDays();
    short AddImage(LPDISPATCH pPicture); // pictures numbered from 1
    BOOL SelectDay(long nDay, BOOL bValue);
    void SetDayImage(long nDay, short nPicture); // 0 = none
    void SetDayLineColor1(long nDay, long nColor);
    void SetDayLineColor2(long nDay, long nColor);
    void SetDayLineColor3(long nDay, long nColor);
    void SetDayLineText1(long nDay, LPCTSTR lpszText);
    void SetDayLineText2(long nDay, LPCTSTR lpszText);
    void SetDayLineText3(long nDay, LPCTSTR lpszText);
};
