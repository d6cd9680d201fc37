// The small window at the end of a flat tab row: flat left and right arrows that scroll the tabs
// and an optional close button. It takes over the tab control's own up-down control when there is
// one (so the control's arrows never show), else it is a child window of its own.
#pragma once

#include <afxcmn.h>

// Option flags.
#define TK_TABNAV_ARROWS 0x0001
#define TK_TABNAV_CLOSE 0x0002
// The command the close button sends to the tab control.
#define TK_ID_TABNAV_CLOSE 53789

// One button: its rectangle in the buttons window, its kind and state.
struct CTkTabNavButton {
    enum { kLeft = 0x2, kRight = 0x4, kClose = 0x8, kDisabled = 0x100, kPressed = 0x1000, kHot = 0x4000 };
    RECT rect;
    DWORD flags;
    CTabCtrl* pTabCtrl;

    void EnableButton(BOOL bEnable)
    {
        if (bEnable)
            flags &= ~(DWORD)kDisabled;
        else
            flags |= kDisabled;
    }
    BOOL IsEnabled() const { return (flags & kDisabled) == 0; }
};

class CTkTabNavButtons : public CWnd {
public:
    CTkTabNavButtons();
    ~CTkTabNavButtons() override;

    // The tab control whose row the buttons end.
    void Bind(CTabCtrl* pTabCtrl);
    // Takes over hWndSpin (the tab control's up-down control); without one, makes a window of its
    // own when it has none. TRUE when the buttons window changed.
    BOOL AttachSpin(HWND hWndSpin);
    void ShowButtons(BOOL bShow);
    void Layout();
    BOOL IsShown() const { return m_bShown; }

    void SetOptions(DWORD dwOptions);
    DWORD GetOptions() const { return m_dwOptions; }
    // 10 pixels, + 28 with the arrows, + 14 with the close button.
    static int WidthFor(DWORD dwOptions);
    // Where the window goes: at the right end of the tab control's row.
    BOOL GetNavRect(CRect& rect) const;
    HWND GetAttachedSpin() const { return m_hWndSpin; }

    CTkTabNavButton m_btnClose, m_btnLeft, m_btnRight;

protected:
    DWORD m_dwOptions;
    CTabCtrl* m_pTabCtrl;
    BOOL m_bShown;
    HWND m_hWndSpin; // the tab control's up-down control, taken over
    HWND m_hWndOwn;  // the window of its own

    void Release();
    void PlaceButtons(int cx, const CRect& rectRow);
    void DrawButton(CDC* pDC, const CTkTabNavButton& button);
    void UpdateHot(CPoint pt);
    void RedrawButton(const CTkTabNavButton& button);
    // Follows the mouse while the button is held; TRUE when released on it.
    BOOL TrackButton(CTkTabNavButton& button, BOOL bRepeat);
    void ScrollTabs(const CTkTabNavButton& button);

    afx_msg void OnPaint();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// A tab's rectangle, also for a tab scrolled out of sight; FALSE for an index that is not there.
BOOL TkGetTabItemRect(const CTabCtrl* pTabCtrl, int nItem, CRect& rect);
// The vertical extent of a tab control's row of tabs (the union of its items' rectangles; the
// control's answer for index -1 is not dependable). FALSE without tabs.
BOOL TkGetTabRowRect(const CTabCtrl* pTabCtrl, CRect& rect);
// The tab control's up-down control: its child with id 1, else its child of the up-down class.
HWND TkFindTabSpin(const CTabCtrl* pTabCtrl);
