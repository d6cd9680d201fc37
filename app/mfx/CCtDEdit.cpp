#include "CCtDEdit.h"

#include "qzcontrols.h"

IMPLEMENT_DYNCREATE(CCtDEdit, CWnd)

const CLSID& CCtDEdit::GetClsid() { return CLSID_QzDEdit; }

BOOL CCtDEdit::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      CCreateContext*)
{
    return CreateControl(GetClsid(), lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

short CCtDEdit::GetTime()
{
    short n = 0;
    InvokeHelper(QZ_DEDIT_TIME, DISPATCH_PROPERTYGET, VT_I2, &n, NULL);
    return n;
}

void CCtDEdit::SetTime(short nMinutes)
{
    static const BYTE params[] = VTS_I2;
    InvokeHelper(QZ_DEDIT_TIME, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nMinutes);
}

void CCtDEdit::SetMaxDate(long nDay)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_DEDIT_MAXDATE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

long CCtDEdit::GetDate()
{
    long n = 0;
    InvokeHelper(QZ_DEDIT_DATE, DISPATCH_PROPERTYGET, VT_I4, &n, NULL);
    return n;
}

void CCtDEdit::SetDate(long nDay)
{
    static const BYTE params[] = VTS_I4;
    InvokeHelper(QZ_DEDIT_DATE, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, params, nDay);
}

long CCtDEdit::SetToday()
{
    long n = 0;
    InvokeHelper(QZ_DEDIT_SETTODAY, DISPATCH_METHOD, VT_I4, &n, NULL);
    return n;
}

long CCtDEdit::SetNow()
{
    long n = 0;
    InvokeHelper(QZ_DEDIT_SETNOW, DISPATCH_METHOD, VT_I4, &n, NULL);
    return n;
}
