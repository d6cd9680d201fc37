// A speech-balloon popup: a rounded rectangle with a tail whose tip points at an anchor on the
// screen, a bold title, an optional icon and close button, and a word-wrapped body in the
// tooltip colours. It fades in and out where layered windows exist and closes on a time-out,
// clicks or mouse movement as its options say; a click can open its URL through the shell. The
// launchers make balloons that delete themselves.
#pragma once

#include <afxwin.h>

class CBalloonTip : public CWnd {
public:
    enum Options : unsigned {
        kCloseOnLButtonUp = 0x01,
        kCloseOnRButtonUp = 0x02,
        kCloseOnMouseMove = 0x04,
        kDeleteThisOnClose = 0x08,
        kShowCloseButton = 0x10,
        kShadowFrame = 0x20,
    };
    enum Timers : UINT_PTR { kFadeInTimer = 3333, kFadeOutTimer = 3334, kTimeoutTimer = 3335, kMouseTimer = 3336 };

    CBalloonTip();
    ~CBalloonTip() override;

    // Makes and shows the balloon; pParent NULL: the thread's main window (FALSE without one).
    BOOL Create(LPCTSTR lpszTitle, LPCTSTR lpszBody, POINT ptAnchor, unsigned nOptions, CWnd* pParent = NULL,
                LPCTSTR lpszUrl = "", int nTimeoutMs = 0, HICON hIcon = NULL);
    // A self-deleting balloon with a 16 x 16 system icon (resource id, e.g. 32516) or a caller's
    // icon; an object whose window cannot be made is deleted at once.
    static void LaunchBalloon(LPCTSTR lpszTitle, LPCTSTR lpszBody, POINT ptAnchor, UINT nIconId, unsigned nOptions,
                              CWnd* pParent = NULL, LPCTSTR lpszUrl = "", int nTimeoutMs = 0);
    static void LaunchBalloonWithIcon(LPCTSTR lpszTitle, LPCTSTR lpszBody, POINT ptAnchor, HICON hIcon,
                                      unsigned nOptions, CWnd* pParent = NULL, LPCTSTR lpszUrl = "",
                                      int nTimeoutMs = 0);
    static ATOM RegisterWindowClass();

    // Quadrant of an anchor on the desktop: bit 0 left half, bit 1 lower half.
    static int GetBalloonQuadrant(POINT ptAnchor);
    CSize GetContentSize();
    CSize GetWindowSize();
    void PositionWindow();

    // Opens a URL (the shell; tests replace it).
    static HINSTANCE(WINAPI* s_pfnOpenUrl)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    // Balloon objects alive in the process.
    static int LiveObjects();

    int m_nAlpha;

protected:
    void PostNcDestroy() override;
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void StartClose(int nAlpha);
    void SetAlpha(int nAlpha);
    CRect CloseButtonRect();
    typedef BOOL(WINAPI* PFN_SetLayered)(HWND, COLORREF, BYTE, DWORD);
    PFN_SetLayered m_pfnSetLayered;
    unsigned m_nOptions;
    int m_nTimeout;
    CString m_strUrl;
    CPoint m_ptAnchor;
    HICON m_hIcon;
    CString m_strBody;
    HFONT m_hTitleFont;
    HFONT m_hBodyFont;
    HRGN m_hRgn;
    CPoint m_ptMouseStart;
    UINT m_nCloseState;
    bool m_bClosePressed;
    static ATOM s_atom;
    static LONG s_nLive;
};
