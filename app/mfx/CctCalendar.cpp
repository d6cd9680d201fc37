#include "CctCalendar.h"

#include "qzcontrols.h"

IMPLEMENT_DYNCREATE(CctCalendar, CWnd)

const CLSID& CctCalendar::GetClsid() { return CLSID_QzCalendar; }

BOOL CctCalendar::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                         CCreateContext*)
{
    return CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CctCalendar::SetMonthNames(LPCTSTR lpszNames)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_CALEND_MONTHNAMES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszNames);
}

void CctCalendar::SetDayNames(LPCTSTR lpszNames)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_CALEND_DAYNAMES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszNames);
}

long CctCalendar::GetLastDay()
{
    long result = 0;
    InvokeHelper(QZ_CALEND_LASTDAY, DISPATCH_PROPERTYGET, VT_I4, &result, NULL);
    return result;
}

void CctCalendar::SetLastDay(long nDay)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_CALEND_LASTDAY, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

long CctCalendar::GetFirstDay()
{
    long result = 0;
    InvokeHelper(QZ_CALEND_FIRSTDAY, DISPATCH_PROPERTYGET, VT_I4, &result, NULL);
    return result;
}

void CctCalendar::SetFirstDay(long nDay)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_CALEND_FIRSTDAY, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

void CctCalendar::SetCurrentDay(long nDay)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_CALEND_CURRENTDAY, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

void CctCalendar::SetOption47(BOOL bValue)
{
    static const BYTE params[] = VTS_BOOL;
    InvokeHelper(QZ_CALEND_OPTION47, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, bValue);
}

void CctCalendar::SetOption51(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_OPTION51, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctCalendar::SetOption52(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_OPTION52, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctCalendar::SetOption53(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_OPTION53, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctCalendar::SetOption54(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_OPTION54, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctCalendar::SetOption55(BOOL bValue)
{
    static const BYTE params[] = VTS_BOOL;
    InvokeHelper(QZ_CALEND_OPTION55, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, bValue);
}

void CctCalendar::SetOption58(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_OPTION58, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctCalendar::SetOption59(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_OPTION59, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctCalendar::SetOption60(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_OPTION60, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctCalendar::SetMonth(short nMonth)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_MONTH, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMonth);
}

void CctCalendar::SetYear(short nYear)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_CALEND_YEAR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nYear);
}

void CctCalendar::ClearDays()
{
    InvokeHelper(QZ_CALEND_CLEARDAYS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
}

short CctCalendar::AddImage(LPDISPATCH pPicture)
{
    static const BYTE params[] = VTS_DISPATCH;
    short result = 0;
    InvokeHelper(QZ_CALEND_ADDIMAGE, DISPATCH_METHOD, VT_I2, &result, params, pPicture);
    return result;
}

BOOL CctCalendar::SelectDay(long nDay, BOOL bValue)
{
    static const BYTE params[] = VTS_I4 VTS_BOOL;
    BOOL result = 0;
    InvokeHelper(QZ_CALEND_SELECTDAY, DISPATCH_METHOD, VT_BOOL, &result, params, nDay, bValue);
    return result;
}

void CctCalendar::SetDayImage(long nDay, short nPicture)
{
    static const BYTE params[] = VTS_I4 VTS_I2;
    InvokeHelper(QZ_CALEND_DAYIMAGE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, nPicture);
}

void CctCalendar::SetDayLineColor1(long nDay, long nColor)
{
    static const BYTE params[] = VTS_I4 VTS_I4;
    InvokeHelper(QZ_CALEND_DAYLINECOLOR1, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, nColor);
}

void CctCalendar::SetDayLineColor2(long nDay, long nColor)
{
    static const BYTE params[] = VTS_I4 VTS_I4;
    InvokeHelper(QZ_CALEND_DAYLINECOLOR2, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, nColor);
}

void CctCalendar::SetDayLineColor3(long nDay, long nColor)
{
    static const BYTE params[] = VTS_I4 VTS_I4;
    InvokeHelper(QZ_CALEND_DAYLINECOLOR3, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, nColor);
}

void CctCalendar::SetDayLineText1(long nDay, LPCTSTR lpszText)
{
    static const BYTE params[] = VTS_I4 VTS_BSTR;
    InvokeHelper(QZ_CALEND_DAYLINETEXT1, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, lpszText);
}

void CctCalendar::SetDayLineText2(long nDay, LPCTSTR lpszText)
{
    static const BYTE params[] = VTS_I4 VTS_BSTR;
    InvokeHelper(QZ_CALEND_DAYLINETEXT2, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, lpszText);
}

void CctCalendar::SetDayLineText3(long nDay, LPCTSTR lpszText)
{
    static const BYTE params[] = VTS_I4 VTS_BSTR;
    InvokeHelper(QZ_CALEND_DAYLINETEXT3, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, lpszText);
}
