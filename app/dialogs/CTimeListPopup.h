// The list of the day's half hours that drops down under a time field. Modal; a click outside
// the popup (caught by a mouse hook of the thread) cancels it. A click on an entry, also on the
// one already selected, or Return chooses; Escape cancels.
#pragma once

#include <afxwin.h>

class CTimeListPopup : public CDialog {
public:
    CTimeListPopup(CWnd* pParent, int nMinute, int x, int y, int cx, int cy);

    // Removes the mouse hook, forgets the open popup, then destroys the window.
    BOOL DestroyWindow() override;

    int m_nMinute; // in: the field's time (negative: none selected); out: the chosen time
    CListBox m_list;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnListSelChange();
    afx_msg LRESULT OnTakeSelection(WPARAM, LPARAM);
    void TakeSelection();
    DECLARE_MESSAGE_MAP()

private:
    static LRESULT CALLBACK PopupMouseHook(int nCode, WPARAM wParam, LPARAM lParam);
    int m_x, m_y, m_cx, m_cy;
    static HHOOK s_hHook;
    static HWND s_hWndPopup;
    static CTimeListPopup* s_pPopup;
};
