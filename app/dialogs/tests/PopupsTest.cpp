// The date and time drop-downs under a real date and time field: what they show, what real
// clicks choose, that a click outside cancels, that no mouse hook outlives a popup, and what
// happens when the calendar control cannot be made. The test acts from a timer while the popup
// runs its modal loop.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <afxdisp.h>

#include <functional>
#include <string>
#include <vector>

#include "CDatePickerPopup.h"
#include "CTimeListPopup.h"
#include "DialogsResource.h"
#include "FieldDropDown.h"
#include "OleTestSupport.h"
#include "QzRecorderApi.h"
#include "TestKit.h"
#include "qzcontrols.h"

namespace {

class CServedLibrary {
public:
    bool Serve(const char* pszDll, const CLSID& clsid)
    {
        m_hModule = LoadLibraryA(pszDll);
        auto pfnGet = m_hModule != NULL ? (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))GetProcAddress(m_hModule, "DllGetClassObject")
                                        : NULL;
        IUnknown* pFactory = NULL;
        if (pfnGet == NULL || FAILED(pfnGet(clsid, IID_IClassFactory, (void**)&pFactory)))
            return false;
        HRESULT hr = CoRegisterClassObject(clsid, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_dwCookie);
        pFactory->Release();
        return SUCCEEDED(hr);
    }
    void Revoke()
    {
        if (m_dwCookie != 0)
            CoRevokeClassObject(m_dwCookie);
        m_dwCookie = 0;
    }
    HMODULE m_hModule = NULL;
    DWORD m_dwCookie = 0;
};

// Today as a day serial (0 = 01.01.1900).
long TodaySerial()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
    double d = 0;
    SystemTimeToVariantTime(&st, &d);
    return (long)d - 2;
}

void ClickScreen(POINT pt)
{
    SetCursorPos(pt.x, pt.y);
    INPUT in[2] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = pt.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        i.mi.dy = pt.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(2, in, sizeof(INPUT));
}

void PressKey(WORD vk)
{
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

// The open popup of this thread (a dialog owned by the host), NULL when none.
HWND g_hWndHost = NULL;
HWND FindPopup()
{
    struct Find {
        HWND hFound = NULL;
        static BOOL CALLBACK Each(HWND hWnd, LPARAM lParam)
        {
            char szClass[32] = {};
            GetClassNameA(hWnd, szClass, sizeof(szClass));
            if (IsWindowVisible(hWnd) && strcmp(szClass, "#32770") == 0 && GetWindow(hWnd, GW_OWNER) == g_hWndHost) {
                ((Find*)lParam)->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        }
    } find;
    EnumThreadWindows(GetCurrentThreadId(), &Find::Each, (LPARAM)&find);
    return find.hFound;
}

// Runs the action once the popup is open (from a timer of the modal loop); a second timer
// cancels a popup that is still open long after, so a failing test never hangs.
std::function<void(HWND)> g_action;
int g_nTicks = 0;
void CALLBACK OnTick(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    HWND hPopup = FindPopup();
    if (hPopup == NULL)
        return;
    if (g_action) {
        auto action = g_action;
        g_action = nullptr;
        action(hPopup);
    } else if (++g_nTicks > 200) {
        PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0);
    }
}

// The texts of the last box closed by the box timer.
std::string s_strBoxText;

class CHostWnd : public CWnd {
public:
    BOOL Make()
    {
        if (!CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                      "Termin bearbeiten", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, CRect(300, 150, 700, 450),
                      NULL, 0))
            return FALSE;
        SendMessage(WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT));
        return TRUE;
    }
};

class PopupsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dedit.Serve(QZ_DEDIT_DLL, CLSID_QzDEdit));
        ASSERT_TRUE(m_qzmonth.Serve(QZ_MONTH_DLL, CLSID_QzMonth));
        ASSERT_TRUE(m_host.Make());
        g_hWndHost = m_host.m_hWnd;
        ASSERT_TRUE(m_date.Create(NULL, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 20, 160, 42), &m_host, 1013));
        ASSERT_TRUE(m_time.Create(NULL, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(20, 60, 100, 82), &m_host, 1014));
        m_time.SetProperty(QZ_DEDIT_MODE, VT_I2, (short)QZ_DEDIT_MODE_TIME);
        m_host.SetForegroundWindow();
        afxtest::PumpMessages();
        m_nTimer = SetTimer(NULL, 0, 30, &OnTick);
        g_nTicks = 0;
    }
    void TearDown() override
    {
        KillTimer(NULL, m_nTimer);
        g_action = nullptr;
        m_host.DestroyWindow();
        afxtest::PumpMessages();
        m_dedit.Revoke();
        m_qzmonth.Revoke();
    }
    // Screen centre of a list entry (scrolled into view first).
    static POINT EntryPoint(HWND hList, int nIndex)
    {
        SendMessageA(hList, LB_SETTOPINDEX, nIndex, 0);
        RECT rc;
        SendMessageA(hList, LB_GETITEMRECT, nIndex, (LPARAM)&rc);
        POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        ClientToScreen(hList, &pt);
        return pt;
    }
    static std::string EntryText(HWND hList, int nIndex)
    {
        char sz[32] = {};
        if (nIndex >= 0)
            SendMessageA(hList, LB_GETTEXT, nIndex, (LPARAM)sz);
        return sz;
    }
    // A point of the month calendar's day cell (the grid fills the control: 8 rows, 7 columns from
    // Monday; row 2 is the first week).
    static POINT DayPoint(HWND hMonth, int nColumn, int nWeek)
    {
        RECT rc;
        GetClientRect(hMonth, &rc);
        double cx = (rc.right - 4) / 7.0, cy = (rc.bottom - 4) / 8.0;
        POINT pt = {2 + (int)(cx * (nColumn + 0.5)), 2 + (int)(cy * (nWeek + 2 + 0.5))};
        ClientToScreen(hMonth, &pt);
        return pt;
    }

    CServedLibrary m_dedit, m_qzmonth;
    CHostWnd m_host;
    CCtDEdit m_date, m_time;
    UINT_PTR m_nTimer = 0;
};

TEST_F(PopupsTest, TheTimeListSelectsTheHalfHourAtOrBeforeTheFieldsTime)
{
    struct Case {
        int nMinute;
        const char* pszSelected;
    } cases[] = {{615, "10:00"}, {1439, "23:30"}, {0, "00:00"}, {30, "00:30"}, {-1, ""}};
    for (const Case& c : cases) {
        int nCount = 0;
        bool bDataRight = true;
        std::string strSelected = "?";
        g_action = [&](HWND hPopup) {
            HWND hList = GetDlgItem(hPopup, IDC_POPUP_TIMES);
            nCount = (int)SendMessageA(hList, LB_GETCOUNT, 0, 0);
            for (int i = 0; i < nCount; i++)
                bDataRight = bDataRight && SendMessageA(hList, LB_GETITEMDATA, i, 0) == i * 30 &&
                             EntryText(hList, i) == (i / 2 < 10 ? "0" : "") + std::to_string(i / 2) + (i % 2 ? ":30" : ":00");
            strSelected = EntryText(hList, (int)SendMessageA(hList, LB_GETCURSEL, 0, 0));
            PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0);
        };
        CTimeListPopup popup(&m_host, c.nMinute, 320, 250, 80, 88);
        EXPECT_EQ(IDCANCEL, popup.DoModal()) << c.nMinute;
        EXPECT_EQ(48, nCount);
        EXPECT_TRUE(bDataRight);
        EXPECT_EQ(c.pszSelected, strSelected) << c.nMinute;
    }
}

TEST_F(PopupsTest, ClicksOnTheTimeListChooseAndClicksOutsideCancel)
{
    m_time.SetTime(615);
    CRect rcField;
    m_time.GetWindowRect(&rcField);
    CRect rcPopup;
    std::string strShot;
    // 14:30 clicked; the popup lies under the field, as wide and four times as high
    g_action = [&](HWND hPopup) {
        GetWindowRect(hPopup, &rcPopup);
        HWND hList = GetDlgItem(hPopup, IDC_POPUP_TIMES);
        HDC hdc = GetDC(NULL);
        strShot = oxtest::SaveShot(hdc, rcField.left - 20, rcField.top - 20, rcPopup.Width() + 120, rcPopup.bottom - rcField.top + 40,
                                   "dropdowns", "time-list-at-1015");
        ReleaseDC(NULL, hdc);
        ClickScreen(EntryPoint(hList, 29));
    };
    EXPECT_EQ(IDOK, DropDownUnderField(&m_host, m_time, true));
    EXPECT_EQ(870, m_time.GetTime());
    EXPECT_EQ(rcField.left, rcPopup.left);
    EXPECT_EQ(rcField.bottom, rcPopup.top);
    EXPECT_EQ(rcField.Width(), rcPopup.Width());
    EXPECT_EQ(rcField.Height() * 4, rcPopup.Height());
    EXPECT_FALSE(strShot.empty());

    // the selected entry clicked: chosen although the selection does not change
    m_time.SetTime(615);
    g_action = [&](HWND hPopup) {
        HWND hList = GetDlgItem(hPopup, IDC_POPUP_TIMES);
        ClickScreen(EntryPoint(hList, (int)SendMessageA(hList, LB_GETCURSEL, 0, 0)));
    };
    EXPECT_EQ(IDOK, DropDownUnderField(&m_host, m_time, true));
    EXPECT_EQ(600, m_time.GetTime());

    // the owner's title bar, the owner's client area, another window: cancelled, field unchanged
    CWnd other;
    ASSERT_TRUE(other.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0), "Anderes Fenster", WS_POPUP | WS_VISIBLE | WS_BORDER,
                               CRect(800, 500, 950, 600), NULL, 0));
    CRect rcHost, rcClient;
    m_host.GetWindowRect(&rcHost);
    const POINT outside[] = {
        {rcHost.left + 150, rcHost.top + GetSystemMetrics(SM_CYCAPTION) / 2 + GetSystemMetrics(SM_CYFRAME)},
        {rcHost.right - 40, rcHost.bottom - 40},
        {875, 550},
    };
    for (const POINT& pt : outside) {
        m_time.SetTime(615);
        g_action = [&](HWND) { ClickScreen(pt); };
        EXPECT_EQ(IDCANCEL, DropDownUnderField(&m_host, m_time, true)) << pt.x << "," << pt.y;
        EXPECT_EQ(615, m_time.GetTime());
        afxtest::PumpMessages();
    }
    other.DestroyWindow();

    // keys: Return takes the selection, Escape cancels
    g_action = [&](HWND) { PressKey(VK_RETURN); };
    EXPECT_EQ(IDOK, DropDownUnderField(&m_host, m_time, true));
    EXPECT_EQ(600, m_time.GetTime());
    g_action = [&](HWND) { PressKey(VK_ESCAPE); };
    EXPECT_EQ(IDCANCEL, DropDownUnderField(&m_host, m_time, true));
    EXPECT_EQ(600, m_time.GetTime());
}

TEST_F(PopupsTest, NoHookOutlivesAPopup)
{
    // popups of both kinds, one after the other: each installs its hook and removes it
    for (int i = 0; i < 2; i++) {
        g_action = [&](HWND hPopup) { PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0); };
        CTimeListPopup times(&m_host, 600, 320, 250, 80, 88);
        EXPECT_EQ(IDCANCEL, times.DoModal());
        g_action = [&](HWND hPopup) { PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0); };
        CDatePickerPopup date(&m_host, 39452, 320, 250);
        EXPECT_EQ(IDCANCEL, date.DoModal());
    }
    // the popup after them behaves as the first: its own entry clicked chooses
    g_action = [&](HWND hPopup) { ClickScreen(EntryPoint(GetDlgItem(hPopup, IDC_POPUP_TIMES), 3)); };
    CTimeListPopup times(&m_host, 600, 320, 250, 80, 88);
    EXPECT_EQ(IDOK, times.DoModal());
    EXPECT_EQ(90, times.m_nMinute);
}

TEST_F(PopupsTest, TheDatePickerShowsTheDateAndAClickedDayChoosesIt)
{
    long nShown = -1;
    bool bForeground = false;
    g_action = [&](HWND hPopup) {
        CctMonth* pMonth = (CctMonth*)CWnd::FromHandlePermanent(GetDlgItem(hPopup, IDC_POPUP_MONTH));
        nShown = pMonth != NULL ? pMonth->GetDate() : -2;
        PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0);
    };
    CDatePickerPopup today(&m_host, 0, 320, 250);
    EXPECT_EQ(IDCANCEL, today.DoModal());
    EXPECT_EQ(TodaySerial(), nShown);

    // January 2008 under the field, in front; 15.01.2008 (a Tuesday of the third week) clicked
    m_date.SetDate(39452);
    CRect rcField, rcPopup;
    m_date.GetWindowRect(&rcField);
    short nMonth = 0, nYear = 0;
    g_action = [&](HWND hPopup) {
        bForeground = GetForegroundWindow() == hPopup;
        GetWindowRect(hPopup, &rcPopup);
        HWND hMonth = GetDlgItem(hPopup, IDC_POPUP_MONTH);
        CctMonth* pMonth = (CctMonth*)CWnd::FromHandlePermanent(hMonth);
        nMonth = pMonth->GetMonth();
        nYear = pMonth->GetYear();
        // the first tick can come before the calendar painted: paint everything now
        RedrawWindow(hPopup, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        HDC hdc = GetDC(NULL);
        oxtest::SaveShot(hdc, rcField.left - 20, rcField.top - 20, rcPopup.Width() + 60, rcPopup.bottom - rcField.top + 40,
                         "dropdowns", "date-picker-january-2008");
        ReleaseDC(NULL, hdc);
        ClickScreen(DayPoint(hMonth, 1, 2));
    };
    EXPECT_EQ(IDOK, DropDownUnderField(&m_host, m_date, false));
    EXPECT_TRUE(bForeground);
    EXPECT_EQ(1, nMonth);
    EXPECT_EQ(2008, nYear);
    EXPECT_EQ(rcField.left, rcPopup.left);
    EXPECT_EQ(rcField.bottom, rcPopup.top);
    EXPECT_EQ(39452 + 8, m_date.GetDate());

    // a click outside cancels and leaves the field
    g_action = [&](HWND) {
        CRect rcHost;
        m_host.GetWindowRect(&rcHost);
        ClickScreen(CPoint(rcHost.right - 30, rcHost.bottom - 30));
    };
    EXPECT_EQ(IDCANCEL, DropDownUnderField(&m_host, m_date, false));
    EXPECT_EQ(39460, m_date.GetDate());
}

TEST_F(PopupsTest, TheDatePickerClampsDatesOutsideTheCalendar)
{
    struct Case {
        long nIn, nShown;
    } cases[] = {{-5, 0}, {200000, QZ_DEDIT_DEFAULT_MAXDATE}, {39804, 39804}};
    for (const Case& c : cases) {
        long nShown = -1;
        g_action = [&](HWND hPopup) {
            nShown = ((CctMonth*)CWnd::FromHandlePermanent(GetDlgItem(hPopup, IDC_POPUP_MONTH)))->GetDate();
            PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0);
        };
        CDatePickerPopup popup(&m_host, c.nIn, 320, 250);
        EXPECT_EQ(IDCANCEL, popup.DoModal());
        EXPECT_EQ(c.nShown, nShown) << c.nIn;
    }
}

TEST_F(PopupsTest, TheDatePickerGivesTheCalendarItsGermanNamesAndOptions)
{
    m_qzmonth.Revoke();
    CServedLibrary recorder;
    ASSERT_TRUE(recorder.Serve("qzrecorder.dll", CLSID_QzMonth));
    auto pfnCount = (PFN_QzRecorderCount)GetProcAddress(recorder.m_hModule, "QzRecorderCount");
    auto pfnLine = (PFN_QzRecorderLine)GetProcAddress(recorder.m_hModule, "QzRecorderLine");
    auto pfnReset = (PFN_QzRecorderReset)GetProcAddress(recorder.m_hModule, "QzRecorderReset");
    pfnReset();
    g_action = [&](HWND hPopup) { PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0); };
    CDatePickerPopup popup(&m_host, 39452, 320, 250);
    EXPECT_EQ(IDCANCEL, popup.DoModal());
    std::vector<std::wstring> lines;
    for (int i = 0; i < pfnCount(); i++)
        lines.push_back(pfnLine(i));
    recorder.Revoke();
    const std::vector<std::wstring> expected = {
        L"10 put I4=39452",
        L"55 put BOOL=FALSE",
        L"67 put I2=4",
        L"16 put BSTR=Jan,Feb,Mrz,Apr,Mai,Juni,Juli,Aug,Sep,Okt,Nov,Dez",
        L"15 put BSTR=S,M,D,M,D,F,S",
    };
    EXPECT_EQ(expected, lines);
}

TEST_F(PopupsTest, AMissingCalendarControlGivesAGermanBoxAndLeavesTheField)
{
    m_qzmonth.Revoke(); // qzmonth.dll not there: nothing answers the class id
    m_date.SetDate(39452);
    g_action = nullptr;
    UINT_PTR nBoxTimer = SetTimer(NULL, 0, 30, [](HWND, UINT, UINT_PTR, DWORD) {
        // the box: the thread's visible dialog that is not a popup of ours
        struct Find {
            static BOOL CALLBACK Each(HWND hWnd, LPARAM lParam)
            {
                char szClass[32] = {};
                GetClassNameA(hWnd, szClass, sizeof(szClass));
                if (!IsWindowVisible(hWnd) || hWnd == g_hWndHost || strcmp(szClass, "#32770") != 0)
                    return TRUE;
                EnumChildWindows(
                    hWnd,
                    [](HWND hChild, LPARAM l) {
                        char sz[512] = {};
                        GetWindowTextA(hChild, sz, sizeof(sz));
                        *(std::string*)l += std::string(sz) + "|";
                        return TRUE;
                    },
                    lParam);
                PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
                return FALSE;
            }
        };
        EnumThreadWindows(GetCurrentThreadId(), &Find::Each, (LPARAM)&s_strBoxText);
    });
    s_strBoxText.clear();
    EXPECT_EQ(-1, DropDownUnderField(&m_host, m_date, false));
    KillTimer(NULL, nBoxTimer);
    EXPECT_NE(std::string::npos, s_strBoxText.find("Das Steuerelement qzmonth.dll konnte nicht geladen werden. Bitte pr\xFC"
                                                   "fen Sie die Installation."))
        << s_strBoxText;
    EXPECT_EQ(39452, m_date.GetDate());
    // and the next popup works once the control is back
    ASSERT_TRUE(m_qzmonth.Serve(QZ_MONTH_DLL, CLSID_QzMonth));
    g_action = [&](HWND hPopup) { PostMessageA(hPopup, WM_COMMAND, IDCANCEL, 0); };
    EXPECT_EQ(IDCANCEL, DropDownUnderField(&m_host, m_date, false));
}

} // namespace
