// Wrapper of the day and week grid control (qzmday2.dll). Every member is one automation call; a failed call throws
// COleDispatchException (the control's error) or COleException. Indexed puts take the index first.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

class CMultiDay : public CWnd {
    DECLARE_DYNCREATE(CMultiDay)
public:
    static const CLSID& GetClsid();
    // Creates the control by its class id (window name, style, rectangle, parent and id passed on).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;

    void SetTimeUnits(long nUnits); // grid unit code
    void SetDayStartMinute(short nMinute);
    void SetDayEndMinute(short nMinute);
    void SetWorkDayStart(short nMinute);
    void SetWorkDayEnd(short nMinute);
    void SetWorkTimeColor(long nColor);
    void SetBackColor(long nColor);
    void SetOption24(short nValue);
    void SetTopMinute(short nMinute); // first visible minute
    void SetDayCount(short nDays);
    long GetStartDate(); // first shown day serial
    void SetStartDate(long nDay);
    void SetStartDay(short nDay);
    void SetStartMonth(short nMonth);
    void SetStartYear(short nYear);
    void SetDayNames(LPCTSTR lpszNames); // seven names, Sunday first, ";" between
    void SetMonthNames(LPCTSTR lpszNames); // twelve names, "," between
    void SetHeaderFormat(LPCTSTR lpszFormat);
    short GetSelectedItem(); // 0 or less = none
    void SetSelectedItem(short nItem);
    void SetWeekCaption(LPCTSTR lpszCaption);
    void SetOption91(BOOL bValue);
    void SetOption96(BOOL bValue);
    void SetOption128(short nValue);
    void ClearItems();
    short AddItem(short nStart, short nEnd, long nDay, LPCTSTR lpszText, LPCTSTR lpszKey); // answers the item (> 0)
    long GetColumnDate(short nColumn); // column from 1 -> day serial
    short AddImage(LPDISPATCH pPicture);
    short HitTest(short x, short y); // item under the point; 0 or less = none
    void SetItemBackColor(short nItem, long nColor);
    void SetItemTextColor(short nItem, long nColor);
    void SetItemStart(short nItem, short nMinute);
    void SetItemEnd(short nItem, short nMinute);
    void SetItemColor(short nItem, long nColor);
    void SetItemHasLocation(short nItem, BOOL bValue);
    void SetItemPrivate(short nItem, BOOL bValue);
    void SetItemReminder(short nItem, BOOL bValue);
    void SetItemLocation(short nItem, LPCTSTR lpszLocation);
    void SetItemOption188(short nItem, BOOL bValue);
    void SetItemOption189(short nItem, BOOL bValue);
    CString GetItemKey(short nItem); // the key given to AddItem
    void SetItemDate(short nItem, long nDay);
    void SetItemOption196(short nItem, BOOL bValue);
    void SetItemSeries(short nItem, short nValue);
    BOOL IsItemAllDay(short nItem);
    void SetItemAllDay(short nItem, BOOL bValue);
};
