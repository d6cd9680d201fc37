#include "CctMonth.h"

#include "qzcontrols.h"

IMPLEMENT_DYNCREATE(CctMonth, CWnd)

const CLSID& CctMonth::GetClsid() { return CLSID_QzMonth; }

BOOL CctMonth::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      CCreateContext*)
{
    return CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

long CctMonth::GetOption1()
{
    long result = 0;
    InvokeHelper(QZ_MONTH_MARKCOLORB, DISPATCH_PROPERTYGET, VT_I4, &result, NULL);
    return result;
}

long CctMonth::GetOption2()
{
    long result = 0;
    InvokeHelper(QZ_MONTH_MARKCOLORA, DISPATCH_PROPERTYGET, VT_I4, &result, NULL);
    return result;
}

long CctMonth::GetDate()
{
    long result = 0;
    InvokeHelper(QZ_MONTH_DATE, DISPATCH_PROPERTYGET, VT_I4, &result, NULL);
    return result;
}

void CctMonth::SetDate(long nDay)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MONTH_DATE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

short CctMonth::GetDay()
{
    short result = 0;
    InvokeHelper(QZ_MONTH_DAY, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

short CctMonth::GetMonth()
{
    short result = 0;
    InvokeHelper(QZ_MONTH_MONTH, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

void CctMonth::SetMonth(short nMonth)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MONTH_MONTH, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMonth);
}

short CctMonth::GetYear()
{
    short result = 0;
    InvokeHelper(QZ_MONTH_YEAR, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

void CctMonth::SetYear(short nYear)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MONTH_YEAR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nYear);
}

void CctMonth::SetDayNames(LPCTSTR lpszNames)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_MONTH_DAYNAMES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszNames);
}

void CctMonth::SetMonthNames(LPCTSTR lpszNames)
{
    static const BYTE params[] = VTS_BSTR;
    InvokeHelper(QZ_MONTH_MONTHNAMES, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, lpszNames);
}

long CctMonth::GetCaptionColor()
{
    long result = 0;
    InvokeHelper(QZ_MONTH_CAPTIONCOLOR, DISPATCH_PROPERTYGET, VT_I4, &result, NULL);
    return result;
}

void CctMonth::SetCaptionColor(long nColor)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MONTH_CAPTIONCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nColor);
}

void CctMonth::SetBackColor(long nColor)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MONTH_BACKCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nColor);
}

void CctMonth::SetOption55(BOOL bValue)
{
    static const BYTE params[] = VTS_BOOL;
    InvokeHelper(QZ_MONTH_OPTION55, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, bValue);
}

void CctMonth::SetShowWeekNumbers(BOOL bShow)
{
    static const BYTE params[] = VTS_BOOL;
    InvokeHelper(QZ_MONTH_SHOWWEEKNUMBERS, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, bShow);
}

void CctMonth::SetOption67(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MONTH_OPTION67, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctMonth::SetOption89(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MONTH_OPTION89, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

short CctMonth::GetOption90()
{
    short result = 0;
    InvokeHelper(QZ_MONTH_OPTION90, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

void CctMonth::SetCellWidth(short nWidth)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MONTH_CELLWIDTH, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nWidth);
}

short CctMonth::GetCellMargin()
{
    short result = 0;
    InvokeHelper(QZ_MONTH_CELLMARGIN, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

short CctMonth::GetOption93()
{
    short result = 0;
    InvokeHelper(QZ_MONTH_OPTION93, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

void CctMonth::SetOption93(short nValue)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MONTH_OPTION93, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

short CctMonth::GetRowSpacing()
{
    short result = 0;
    InvokeHelper(QZ_MONTH_ROWSPACING, DISPATCH_PROPERTYGET, VT_I2, &result, NULL);
    return result;
}

void CctMonth::SetRowSpacing(short nSpacing)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_MONTH_ROWSPACING, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nSpacing);
}

void CctMonth::SetOption95(long nValue)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_MONTH_OPTION95, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nValue);
}

void CctMonth::SelectToday()
{
    InvokeHelper(QZ_MONTH_SELECTTODAY, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
}

void CctMonth::ClearDayMarks()
{
    InvokeHelper(QZ_MONTH_CLEARDAYMARKS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
}

short CctMonth::AddDayMark(short nDay, long nColor)
{
    static const BYTE params[] = VTS_I2 VTS_I4;
    short result = 0;
    InvokeHelper(QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, VT_I2, &result, params, nDay, nColor);
    return result;
}

void CctMonth::SetDaySelected(short nDay, BOOL bSelected)
{
    static const BYTE params[] = VTS_I2 VTS_BOOL;
    InvokeHelper(QZ_MONTH_DAYSELECTED, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, bSelected);
}

void CctMonth::SetDayBackColor(short nDay, long nColor)
{
    static const BYTE params[] = VTS_I2 VTS_I4;
    InvokeHelper(QZ_MONTH_DAYBACKCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, nColor);
}

void CctMonth::SetDayTextColor(short nDay, long nColor)
{
    static const BYTE params[] = VTS_I2 VTS_I4;
    InvokeHelper(QZ_MONTH_DAYTEXTCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay, nColor);
}
