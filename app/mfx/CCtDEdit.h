// Wrapper of the date or time field control (qzdedit.dll). Every member is one automation call;
// a failed call throws COleDispatchException (the control's error) or COleException.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

class CCtDEdit : public CWnd {
    DECLARE_DYNCREATE(CCtDEdit)
public:
    static const CLSID& GetClsid();
    // Creates the control by its class id (window name, style, rectangle, parent and id passed on).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = NULL) override;

    short GetTime();            // minutes 0..1439
    void SetTime(short nMinutes);
    void SetMaxDate(long nDay); // latest allowed day serial
    long GetDate();             // day serial
    void SetDate(long nDay);
    long SetToday();            // the date becomes today; answers it
    long SetNow();              // the time becomes now; answers it
};
