#include "CMultiDay.h"

#include "qzcontrols.h"

IMPLEMENT_DYNCREATE(CMultiDay, CWnd)

const CLSID& CMultiDay::GetClsid() { return CLSID_QzMultiDay; }

BOOL CMultiDay::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext*)
{
    return CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CMultiDay::SetTimeUnits(long nUnits)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MDAY_TIMEUNITS, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nUnits);
}

void CMultiDay::SetDayStartMinute(short nMinute)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_DAYSTARTMINUTE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMinute);
}

void CMultiDay::SetDayEndMinute(short nMinute)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_DAYENDMINUTE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMinute);
}

void CMultiDay::SetWorkDayStart(short nMinute)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_WORKDAYSTART, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMinute);
}

void CMultiDay::SetWorkDayEnd(short nMinute)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_WORKDAYEND, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMinute);
}

void CMultiDay::SetWorkTimeColor(long nColor)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MDAY_WORKTIMECOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nColor);
}

void CMultiDay::SetBackColor(long nColor)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MDAY_BACKCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nColor);
}

void CMultiDay::SetOption24(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_OPTION24, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CMultiDay::SetTopMinute(short nMinute)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_TOPMINUTE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMinute);
}

void CMultiDay::SetDayCount(short nDays)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_DAYCOUNT, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDays);
}

long CMultiDay::GetStartDate()
{
    long result = 0;
    InvokeHelper(QZ_MDAY_STARTDATE, DISPATCH_PROPERTYGET, VT_I4, &result, NULL);
    return result;
}

void CMultiDay::SetStartDate(long nDay)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MDAY_STARTDATE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

void CMultiDay::SetStartDay(short nDay)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_STARTDAY, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

void CMultiDay::SetStartMonth(short nMonth)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_STARTMONTH, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMonth);
}

void CMultiDay::SetStartYear(short nYear)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_STARTYEAR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nYear);
}

void CMultiDay::SetDayNames(LPCTSTR lpszNames)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_MDAY_DAYNAMES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszNames);
}

void CMultiDay::SetMonthNames(LPCTSTR lpszNames)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_MDAY_MONTHNAMES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszNames);
}

void CMultiDay::SetHeaderFormat(LPCTSTR lpszFormat)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_MDAY_HEADERFORMAT, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszFormat);
}

short CMultiDay::GetSelectedItem()
{
    short result = 0;
    InvokeHelper(QZ_MDAY_SELECTEDITEM, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

void CMultiDay::SetSelectedItem(short nItem)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_SELECTEDITEM, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem);
}

void CMultiDay::SetWeekCaption(LPCTSTR lpszCaption)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_MDAY_WEEKCAPTION, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszCaption);
}

void CMultiDay::SetOption91(BOOL bValue)
{
    static const BYTE params[] = VTS_BOOL;
    InvokeHelper(QZ_MDAY_OPTION91, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, bValue);
}

void CMultiDay::SetOption96(BOOL bValue)
{
    static const BYTE params[] = VTS_BOOL;
    InvokeHelper(QZ_MDAY_OPTION96, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, bValue);
}

void CMultiDay::SetOption128(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MDAY_OPTION128, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CMultiDay::ClearItems()
{
    InvokeHelper(QZ_MDAY_CLEARITEMS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
}

short CMultiDay::AddItem(short nStart, short nEnd, long nDay, LPCTSTR lpszText, LPCTSTR lpszKey)
{
    static const BYTE params[] = VTS_I2 VTS_I2 VTS_I4 VTS_BSTR VTS_BSTR;
    short result = 0;
    InvokeHelper(QZ_MDAY_ADDITEM, DISPATCH_METHOD, VT_I2, &result, params, nStart, nEnd, nDay, lpszText, lpszKey);
    return result;
}

long CMultiDay::GetColumnDate(short nColumn)
{
    static const BYTE params[] = VTS_I2;
    long result = 0;
    InvokeHelper(QZ_MDAY_GETCOLUMNDATE, DISPATCH_METHOD, VT_I4, &result, params, nColumn);
    return result;
}

short CMultiDay::AddImage(LPDISPATCH pPicture)
{
    static const BYTE params[] = VTS_DISPATCH;
    short result = 0;
    InvokeHelper(QZ_MDAY_ADDIMAGE, DISPATCH_METHOD, VT_I2, &result, params, pPicture);
    return result;
}

short CMultiDay::HitTest(short x, short y)
{
    static const BYTE params[] = VTS_I2 VTS_I2;
    short result = 0;
    InvokeHelper(QZ_MDAY_HITTEST, DISPATCH_METHOD, VT_I2, &result, params, x, y);
    return result;
}

void CMultiDay::SetItemBackColor(short nItem, long nColor)
{
    static const BYTE params[] = VTS_I2 VTS_I4;
    InvokeHelper(QZ_MDAY_ITEMBACKCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, nColor);
}

void CMultiDay::SetItemTextColor(short nItem, long nColor)
{
    static const BYTE params[] = VTS_I2 VTS_I4;
    InvokeHelper(QZ_MDAY_ITEMTEXTCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, nColor);
}

void CMultiDay::SetItemStart(short nItem, short nMinute)
{
    static const BYTE params[] = VTS_I2 VTS_I2;
    InvokeHelper(QZ_MDAY_ITEMSTART, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, nMinute);
}

void CMultiDay::SetItemEnd(short nItem, short nMinute)
{
    static const BYTE params[] = VTS_I2 VTS_I2;
    InvokeHelper(QZ_MDAY_ITEMEND, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, nMinute);
}

void CMultiDay::SetItemColor(short nItem, long nColor)
{
    static const BYTE params[] = VTS_I2 VTS_I4;
    InvokeHelper(QZ_MDAY_ITEMCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, nColor);
}

void CMultiDay::SetItemHasLocation(short nItem, BOOL bValue)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MDAY_ITEMHASLOCATION, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, bValue);
}

void CMultiDay::SetItemPrivate(short nItem, BOOL bValue)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MDAY_ITEMPRIVATE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, bValue);
}

void CMultiDay::SetItemReminder(short nItem, BOOL bValue)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MDAY_ITEMREMINDER, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, bValue);
}

void CMultiDay::SetItemLocation(short nItem, LPCTSTR lpszLocation)
{
    static const BYTE params[] = VTS_I2 VTS_BSTR;
    InvokeHelper(QZ_MDAY_ITEMLOCATION, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, lpszLocation);
}

void CMultiDay::SetItemOption188(short nItem, BOOL bValue)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MDAY_ITEMOPTION188, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, bValue);
}

void CMultiDay::SetItemOption189(short nItem, BOOL bValue)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MDAY_ITEMOPTION189, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, bValue);
}

CString CMultiDay::GetItemKey(short nItem)
{
    static const BYTE params[] = VTS_I2;
    CString result;
    InvokeHelper(QZ_MDAY_ITEMKEY, DISPATCH_PROPERTYGET, VT_BSTR, &result, params, nItem);
    return result;
}

void CMultiDay::SetItemDate(short nItem, long nDay)
{
    static const BYTE params[] = VTS_I2 VTS_I4;
    InvokeHelper(QZ_MDAY_ITEMDATE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, nDay);
}

void CMultiDay::SetItemOption196(short nItem, BOOL bValue)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MDAY_ITEMOPTION196, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, bValue);
}

void CMultiDay::SetItemSeries(short nItem, short nValue)
{
    static const BYTE params[] = VTS_I2 VTS_I2;
    InvokeHelper(QZ_MDAY_ITEMSERIES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, nValue);
}

BOOL CMultiDay::IsItemAllDay(short nItem)
{
    static const BYTE params[] = VTS_I2;
    BOOL result = 0;
    InvokeHelper(QZ_MDAY_ITEMALLDAY, DISPATCH_PROPERTYGET, VT_BOOL, &result, params, nItem);
    return result;
}

void CMultiDay::SetItemAllDay(short nItem, BOOL bValue)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MDAY_ITEMALLDAY, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nItem, bValue);
}
