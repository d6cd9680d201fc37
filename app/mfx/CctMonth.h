// Wrapper of the small month calendar control (qzmonth.dll). Every member is one automation call; a failed call throws
// COleDispatchException (the control's error) or COleException. Indexed puts take the index first.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

class CctMonth : public CWnd {
    DECLARE_DYNCREATE(CctMonth)
public:
    static const CLSID& GetClsid();
    // Creates the control by its class id (window name, style, rectangle, parent and id passed on).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;

    long GetOption1(); // second colour of the day marks
    long GetOption2(); // first colour of the day marks
    long GetDate(); // selected day serial
    void SetDate(long nDay);
    short GetDay(); // selected day of month
    short GetMonth(); // shown month 1..12
    void SetMonth(short nMonth);
    short GetYear();
    void SetYear(short nYear);
    void SetDayNames(LPCTSTR lpszNames); // day letters, Sunday first, "," between
    void SetMonthNames(LPCTSTR lpszNames); // "," between
    long GetCaptionColor();
    void SetCaptionColor(long nColor);
    void SetBackColor(long nColor);
    void SetOption55(BOOL bValue);
    void SetShowWeekNumbers(BOOL bShow);
    void SetOption67(short nValue);
    void SetOption89(short nValue);
    short GetOption90();
    void SetCellWidth(short nWidth);
    short GetCellMargin();
    short GetOption93();
    void SetOption93(short nValue);
    short GetRowSpacing();
    void SetRowSpacing(short nSpacing); // at least 2
    void SetOption95(long nValue);
    void SelectToday();
    void ClearDayMarks();
    short AddDayMark(short nDay, long nColor);
    void SetDaySelected(short nDay, BOOL bSelected);
    void SetDayBackColor(short nDay, long nColor);
    void SetDayTextColor(short nDay, long nColor);
};
