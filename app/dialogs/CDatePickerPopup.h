// The month calendar that drops down under a date field. Modal; a click outside the popup
// (caught by a mouse hook of the thread) cancels it; a clicked day or a key chooses the date.
// When the calendar control cannot be made, DoModal answers -1 after a box that names its file.
#pragma once

#include <afxwin.h>
#include <afxdisp.h>

#include "CctMonth.h"

class CDatePickerPopup : public CDialog {
public:
    // nDay: the day serial to show, 0 for today.
    CDatePickerPopup(CWnd* pParent, long nDay, int x, int y);

    INT_PTR DoModal() override;
    // Removes the mouse hook, forgets the open popup, then destroys the window.
    BOOL DestroyWindow() override;

    long m_nDay; // in: the date to show (0: today); out: the chosen date
    CctMonth m_month;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnMonthKeyPress(short* pKey);
    void OnMonthDayClick(short* pDay);
    void OnMonthKeyDown(short* pKey, short nShift);
    DECLARE_EVENTSINK_MAP()

private:
    static LRESULT CALLBACK PopupMouseHook(int nCode, WPARAM wParam, LPARAM lParam);
    int m_x, m_y;
    static HHOOK s_hHook;
    static HWND s_hWndPopup;
    static CDatePickerPopup* s_pPopup;
};
