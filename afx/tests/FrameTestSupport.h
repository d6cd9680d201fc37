// Helpers of the frame layer's tests: the application object of a test, the message loop's idle
// time, stand-ins of control bars, and screenshots of windows as PNG files.
#pragma once

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include <ostream>

// Rectangles in the tests' failure messages.
inline void PrintTo(const CRect& rect, std::ostream* os)
{
    *os << "(" << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom << ")";
}
inline void PrintTo(const CSize& size, std::ostream* os) { *os << size.cx << "x" << size.cy; }

namespace framestest {

using Log = std::vector<std::string>;

// What the probes of a test recorded, in order.
Log& TheLog();

// The application of a test, set up as a program start sets it up. It handles the commands
// that the routing tests give to the application and records help calls (WinHelp) and the
// modal state (EnableModeless) instead of acting on them.
class CProbeApp : public CWinApp {
public:
    CProbeApp();
    ~CProbeApp() override;

    std::vector<std::pair<DWORD_PTR, UINT>> m_helpCalls;
    std::vector<BOOL> m_modeless;

    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;
    void EnableModeless(BOOL bEnable) override;

    afx_msg void OnProbeApp();
    afx_msg void OnRouteApp();
    afx_msg BOOL OnRouteChain(UINT nID);
    DECLARE_MESSAGE_MAP()
};

// Dispatches the waiting messages through the thread's loop (with PreTranslateMessage), and
// gives the thread its idle time as its message loop would, until nothing is left. A WM_QUIT
// stays in the queue.
void RunToIdle();
// Pumps messages until pred() holds or timeoutMs have passed; answers pred().
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);
// Takes a WM_QUIT (left by a main window that went) out of the queue; TRUE when there was one.
bool TakeQuitMessage();

// A stand-in of a control bar: it takes a strip of the given thickness at one side of what its
// frame's layout leaves (WM_SIZEPARENT), as the docking layer's bars do, and paints itself.
class CPlaceholderBar : public CWnd {
public:
    enum Side { top, bottom, left, right };
    CPlaceholderBar(Side side, int nThickness, COLORREF clr, LPCTSTR lpszText);

    BOOL Create(CWnd* pParent, UINT nID);

    Side m_side;
    int m_nThickness;
    COLORREF m_clr;
    CString m_strText;
    int m_nSizeParentCalls = 0;

    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

// A view that paints itself in a colour of its own and names its pane; it logs its first update
// ("initial update <pane id>") and the document it shows.
class CPaneView : public CView {
    DECLARE_DYNCREATE(CPaneView)
public:
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
};

// Gives the window a client area of cx x cy pixels.
void SetClientSize(CWnd* pWnd, int cx, int cy);

// The window's rectangle in its parent's client coordinates.
CRect ChildRect(const CWnd* pWnd);

// Paints the window and writes it (with its frame) as the screen shows it into
// <program folder>\screenshots\<name>.png; answers the file's path, empty when it failed.
std::string SaveScreenshot(CWnd* pWnd, const char* pszName);
// The same for a rectangle of the screen (windows and popups as they overlap there).
std::string SaveScreenArea(const RECT& rect, const char* pszName);
// Windows drawn where they are on the screen, each from its own window surface (so that other
// windows and other processes' windows do not cover them), the later ones over the earlier ones,
// on grey around them.
std::string SaveWindowsShot(const std::vector<HWND>& windows, const char* pszName);
// Copies a screenshot into the build's review folder <build>\shots\<area>\<name>.png.
bool CopyToShots(const std::string& strPath, const char* pszArea, const char* pszName);

} // namespace framestest
