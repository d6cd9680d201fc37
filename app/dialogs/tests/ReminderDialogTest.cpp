// The single reminder window on the shared desktop: its caption, panel, buttons and unit list for
// appointments and to-dos, the result codes its buttons send (to a recording window standing in
// for the main frame), the span check, and a receiver that deletes the window from inside the
// message the window sent. Screenshots go to build/shots/reminders.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <functional>
#include <string>
#include <vector>

#include "CReminderDialog.h"
#include "CTestDataApp.h"
#include "CDateValue.h"
#include "CtlLog.h"
#include "ReminderPanelText.h"
#include "ReminderResource.h"
#include "TestKit.h"
#include "vlCT11.h"

namespace {

const char kShots[] = "reminders";

CTestDataApp& App()
{
    static CTestDataApp* pApp = [] {
        CTestDataApp* p = new CTestDataApp;
        p->CreateSettings();
        return p;
    }();
    return *pApp;
}

// Stands in for the main frame: records every result (code and id) and runs the test's reaction.
class CRecordingFrame : public CWnd {
public:
    struct Result {
        int nCode;
        DWORD nId;
    };
    BOOL CreateHidden()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "Hauptfenster", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL);
    }
    std::vector<Result> m_results;
    std::function<void(int)> m_react;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_REMINDER_RESULT) {
            m_results.push_back({(int)wParam, *(const DWORD*)lParam});
            if (m_react)
                m_react((int)wParam);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// 05.03.2024 as a day serial.
long Day(int nYear, int nMonth, int nDay) { return CDateValue(COleDateTime(nYear, nMonth, nDay, 0, 0, 0)).GetDaySerial(); }

CDataAppointment Appointment()
{
    CDataAppointment entry;
    entry.m_strRecordId = "0000000042";
    entry.m_strSubject = "Besprechung Jahresabschluss";
    entry.m_strParticipants = "Frau Kowalski";
    entry.m_strPlace = "Raum 3.14";
    entry.m_bPrivate = TRUE;
    entry.m_bRemind = TRUE;
    entry.m_pattern.m_nPatternStart = entry.m_pattern.m_nPatternEnd = Day(2024, 3, 5);
    entry.m_pattern.m_nStartTime = 14 * 60 + 30;
    entry.m_pattern.m_nEndTime = 15 * 60 + 45;
    return entry;
}

CDataAppointment Todo()
{
    CDataAppointment entry = Appointment();
    entry.m_bTodo = TRUE;
    entry.m_bPrivate = FALSE;
    entry.m_strParticipants.Empty();
    entry.m_strPlace.Empty();
    entry.m_strSubject = "Steuererklärung abgeben";
    entry.m_pattern.m_nPatternEnd = Day(2024, 3, 8);
    entry.m_pattern.m_nStartTime = 9 * 60;
    return entry;
}

class ReminderDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        App();
        ASSERT_GE(CtlJobOpen(), 1);
        m_log.SetDialogAnswers("KEEP");
        ASSERT_TRUE(m_frame.CreateHidden());
        CAppSettings* pSettings = App().GetSettings();
        pSettings->m_nDefMoveSpan = 15;
        pSettings->m_nDefMoveUnit = 0;
    }
    void TearDown() override
    {
        delete m_pDialog;
        m_pDialog = NULL;
        m_frame.DestroyWindow();
        oxtest::PumpMessages();
        CtlJobClose();
    }
    CReminderDialog* Open(const CDataAppointment& entry, int x = 40, int y = 40)
    {
        m_pDialog = new CReminderDialog(entry, &m_frame, CWnd::GetDesktopWindow());
        EXPECT_TRUE(m_pDialog->Create());
        EXPECT_FALSE(m_pDialog->IsWindowVisible()) << "the main frame shows the window";
        m_pDialog->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        oxtest::PumpMessages();
        return m_pDialog;
    }
    void Click(int nId)
    {
        m_pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), (LPARAM)m_pDialog->GetDlgItem(nId)->m_hWnd);
        oxtest::PumpMessages();
    }
    std::string Text(int nId)
    {
        CString str;
        m_pDialog->GetDlgItemText(nId, str);
        return (LPCTSTR)str;
    }
    bool Visible(int nId) { return (m_pDialog->GetDlgItem(nId)->GetStyle() & WS_VISIBLE) != 0; }
    void Shot(const char* name)
    {
        HWND h = m_pDialog->m_hWnd;
        ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        oxtest::PumpMessages();
        RECT r;
        ::GetWindowRect(h, &r);
        HDC screen = ::GetDC(NULL);
        EXPECT_FALSE(oxtest::SaveShot(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, kShots, name).empty());
        ::ReleaseDC(NULL, screen);
    }
    std::vector<oxtest::CtlLog::Record> Boxes() { return m_log.Records("MessageBox"); }

    oxtest::CtlLog m_log;
    CRecordingFrame m_frame;
    CReminderDialog* m_pDialog = NULL;
};

TEST_F(ReminderDialog, AppointmentShowsCaptionPanelAndUnits)
{
    Open(Appointment());
    CString strCaption;
    m_pDialog->GetWindowText(strCaption);
    EXPECT_STREQ("Erinnerung - Termin", strCaption);
    const CString strDay = CDateValue(Day(2024, 3, 5), 0).Format("%d.%m.%y %a");
    const std::string expected =
        ".f,0~.w:4~.f,1~.w:22~.b:IDB_PRIV_I~.f,2~.w:22~.b:~.l~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Am:~.f,2~.tf(Arial,8):" +
        std::string(strDay) +
        "  um  14:30 - 15:45 Uhr~.l"
        "~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Mit:~.f,2~.tf(Arial,8):Frau Kowalski~.l"
        "~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Ort:~.f,2~.tf(Arial,8):Raum 3.14~.l"
        "~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Betreff:~.f,2~.tf(Arial,8):Besprechung Jahresabschluss~.xif";
    EXPECT_EQ(expected, Text(IDC_REMINDER_INFO));
    EXPECT_EQ("15", Text(IDC_REMINDER_COUNT));
    CComboBox* pUnit = (CComboBox*)m_pDialog->GetDlgItem(IDC_REMINDER_UNIT);
    ASSERT_EQ(3, pUnit->GetCount());
    const char* units[] = {"Minute(n)", "Stunde(n)", "Tage(n)"};
    const DWORD minutes[] = {1, 60, 1440};
    for (int i = 0; i < 3; i++) {
        CString str;
        pUnit->GetLBText(i, str);
        EXPECT_STREQ(units[i], str);
        EXPECT_EQ(minutes[i], (DWORD)pUnit->GetItemData(i));
    }
    EXPECT_EQ(0, pUnit->GetCurSel());
    EXPECT_FALSE(Visible(IDC_REMINDER_GOTO)) << "no linked record";
    EXPECT_FALSE(Visible(IDC_REMINDER_NOTES));
    EXPECT_FALSE(Visible(IDC_REMINDER_RUN)) << "no action";
    RECT rcPanel, rcRun;
    m_pDialog->GetDlgItem(IDC_REMINDER_INFO)->GetWindowRect(&rcPanel);
    m_pDialog->GetDlgItem(IDC_REMINDER_RUN)->GetWindowRect(&rcRun);
    EXPECT_EQ(rcRun.bottom, rcPanel.bottom) << "the panel reaches down to the action row's bottom";
    CMenu* pMenu = m_pDialog->GetSystemMenu(FALSE);
    EXPECT_EQ((UINT)-1, pMenu->GetMenuState(SC_CLOSE, MF_BYCOMMAND));
    Shot("appointment");
}

TEST_F(ReminderDialog, TodoShowsDueDayAndLinkButtons)
{
    CDataAppointment entry = Todo();
    entry.m_strAppId = "ADRION";
    entry.m_strDbPath = "C:\\Daten\\adressen";
    entry.m_nDbRecId = 17;
    entry.m_bSeries = FALSE;
    Open(entry, 60, 60);
    CString strCaption;
    m_pDialog->GetWindowText(strCaption);
    EXPECT_STREQ("Erinnerung - Aufgabe", strCaption);
    const std::string panel = Text(IDC_REMINDER_INFO);
    const CString strDue = CDateValue(Day(2024, 3, 8), 0).Format("%d.%m.%y %a");
    EXPECT_NE(std::string::npos, panel.find("b:Frist:~.f,2~.tf(Arial,8):" + std::string(strDue) + "  um  09:00 Uhr~.l")) << panel;
    EXPECT_EQ(std::string::npos, panel.find("Mit:")) << "an empty field gives no line";
    EXPECT_EQ(0u, panel.find(".f,0~.w:4~.f,1~.w:22~.b:~.f,2~.w:22~.b:~.l")) << "neither private nor a series";
    EXPECT_TRUE(Visible(IDC_REMINDER_GOTO));
    EXPECT_TRUE(Visible(IDC_REMINDER_NOTES));
    EXPECT_TRUE(m_pDialog->GetDlgItem(IDC_REMINDER_MOVE)->IsWindowEnabled());
    Shot("todo");
}

TEST_F(ReminderDialog, MoveIsOfferedForSingleTimedEntriesOnly)
{
    struct Case {
        const char* name;
        BOOL bTodo, bSeries;
        short nStart, nEnd;
        bool bEnabled;
    } cases[] = {
        {"single", FALSE, FALSE, 600, 660, true},
        {"series", FALSE, TRUE, 600, 660, false},
        {"all day", FALSE, FALSE, 0, 1439, false},
        {"to-do 0-1439", TRUE, FALSE, 0, 1439, true},
    };
    for (const Case& c : cases) {
        CDataAppointment entry = Appointment();
        entry.m_bTodo = c.bTodo;
        entry.m_bSeries = c.bSeries;
        entry.m_pattern.m_nStartTime = c.nStart;
        entry.m_pattern.m_nEndTime = c.nEnd;
        Open(entry);
        EXPECT_EQ(c.bEnabled, m_pDialog->GetDlgItem(IDC_REMINDER_MOVE)->IsWindowEnabled() != FALSE) << c.name;
        delete m_pDialog;
        m_pDialog = NULL;
    }
}

TEST_F(ReminderDialog, SpanMustBePositiveBeforePostponeOrMoveIsSent)
{
    Open(Appointment());
    for (const char* count : {"0", ""}) {
        for (int nButton : {IDC_REMINDER_POSTPONE, IDC_REMINDER_MOVE}) {
            m_log.Clear();
            m_pDialog->SetDlgItemText(IDC_REMINDER_COUNT, count);
            Click(nButton);
            auto boxes = Boxes();
            ASSERT_EQ(1u, boxes.size()) << count;
            EXPECT_EQ("Der vorn Ihnen eingegebene Zeitraum ist fehlerhaft. Bitte korrigieren Sie Ihre Eingabe.", boxes[0][2]);
            EXPECT_EQ("0x30", boxes[0][3]);
            EXPECT_EQ(m_pDialog->GetDlgItem(IDC_REMINDER_COUNT)->m_hWnd, ::GetFocus());
        }
    }
    EXPECT_TRUE(m_frame.m_results.empty()) << "nothing is sent for a bad span";

    m_pDialog->SetDlgItemText(IDC_REMINDER_COUNT, "2");
    ((CComboBox*)m_pDialog->GetDlgItem(IDC_REMINDER_UNIT))->SetCurSel(1);
    COleDateTimeSpan span;
    m_frame.m_react = [&](int) { span = m_pDialog->GetSpan(); };
    Click(IDC_REMINDER_POSTPONE);
    ASSERT_EQ(1u, m_frame.m_results.size());
    EXPECT_EQ(REMINDER_POSTPONE, m_frame.m_results[0].nCode);
    EXPECT_EQ(42u, m_frame.m_results[0].nId);
    EXPECT_EQ(120.0, span.GetTotalMinutes());
    Click(IDC_REMINDER_MOVE);
    ASSERT_EQ(2u, m_frame.m_results.size());
    EXPECT_EQ(REMINDER_MOVE, m_frame.m_results[1].nCode);
}

TEST_F(ReminderDialog, UnitSettingOutsideTheListTakesMinutes)
{
    App().GetSettings()->m_nDefMoveUnit = 7;
    App().GetSettings()->m_nDefMoveSpan = 5;
    Open(Appointment());
    EXPECT_EQ(0, ((CComboBox*)m_pDialog->GetDlgItem(IDC_REMINDER_UNIT))->GetCurSel());
    EXPECT_EQ(5.0, m_pDialog->GetSpan().GetTotalMinutes());
}

TEST_F(ReminderDialog, ButtonsSendTheirCodesAndDeleteAsksFirst)
{
    Open(Appointment());
    m_log.SetAnswers("IDNO,IDYES");
    Click(IDC_REMINDER_DELETE);
    EXPECT_TRUE(m_frame.m_results.empty()) << "No sends nothing";
    Click(IDC_REMINDER_DELETE);
    Click(IDC_REMINDER_EDIT);
    Click(IDOK);
    ASSERT_EQ(3u, m_frame.m_results.size());
    EXPECT_EQ(REMINDER_DELETE, m_frame.m_results[0].nCode);
    EXPECT_EQ(REMINDER_EDIT, m_frame.m_results[1].nCode);
    EXPECT_EQ(REMINDER_CLOSE, m_frame.m_results[2].nCode);
    auto boxes = Boxes();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ("Wollen Sie diesen Eintrag wirklich löschen?", boxes[0][2]);
    EXPECT_EQ("0x24", boxes[0][3]);
}

TEST_F(ReminderDialog, EscapeAndEnterLeaveTheWindowAsItIs)
{
    Open(Appointment());
    m_pDialog->GetDlgItem(IDC_REMINDER_COUNT)->SetFocus();
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        MSG msg = {m_pDialog->GetDlgItem(IDC_REMINDER_COUNT)->m_hWnd, WM_KEYDOWN, key, 0};
        if (!m_pDialog->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
        oxtest::PumpMessages();
    }
    EXPECT_TRUE(::IsWindow(m_pDialog->m_hWnd));
    EXPECT_TRUE(m_pDialog->IsWindowVisible());
    EXPECT_TRUE(m_frame.m_results.empty());
}

TEST_F(ReminderDialog, ReceiverMayDeleteTheWindowInsideTheMessage)
{
    Open(Appointment());
    m_frame.m_react = [&](int) {
        delete m_pDialog;
        m_pDialog = NULL;
    };
    const HWND hWnd = m_pDialog->m_hWnd;
    m_pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(hWnd, IDOK));
    oxtest::PumpMessages();
    EXPECT_EQ(nullptr, m_pDialog);
    EXPECT_FALSE(::IsWindow(hWnd));
    ASSERT_EQ(1u, m_frame.m_results.size());
}

// The attended box 40071: a real window over the reminder window, photographed from a timer of
// its modal loop and then closed.
HWND g_hReminder = NULL;
HWND g_hBox = NULL;

BOOL CALLBACK FindBox(HWND hWnd, LPARAM)
{
    if (hWnd != g_hReminder && ::IsWindowVisible(hWnd) && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CAPTION) != 0) {
        g_hBox = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ShootBox(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    g_hBox = NULL;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, 0);
    if (g_hBox == NULL)
        return;
    ::KillTimer(NULL, idEvent);
    RECT r, box;
    ::GetWindowRect(g_hReminder, &r);
    ::GetWindowRect(g_hBox, &box);
    ::UnionRect(&r, &r, &box);
    ::RedrawWindow(g_hBox, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HDC screen = ::GetDC(NULL);
    oxtest::SaveShot(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, kShots, "span_invalid_40071");
    ::ReleaseDC(NULL, screen);
    ::PostMessageA(g_hBox, WM_CLOSE, 0, 0);
}

TEST_F(ReminderDialog, AttendedSpanMessageOverTheWindow)
{
    Open(Appointment());
    g_hReminder = m_pDialog->m_hWnd;
    m_pDialog->SetDlgItemText(IDC_REMINDER_COUNT, "0");
    ::SetEnvironmentVariableA("VLCT11_UNATTENDED", "0");
    const UINT_PTR timer = ::SetTimer(NULL, 0, 200, ShootBox);
    Click(IDC_REMINDER_POSTPONE);
    ::KillTimer(NULL, timer);
    ::SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    EXPECT_NE(nullptr, g_hBox) << "the box was shown as a window";
    EXPECT_TRUE(m_frame.m_results.empty());
    EXPECT_TRUE(::IsWindow(g_hReminder));
}

TEST(ReminderPanel, SeriesShowsItsNextOccurrenceOrItsFirst)
{
    App();
    CDataAppointment entry = Appointment();
    entry.m_bSeries = TRUE;
    entry.m_pattern.m_nType = CDataSerienTermin::daily;
    entry.m_pattern.m_nDailyInterval = 1;
    entry.m_pattern.m_nPatternStart = Day(2024, 3, 5);
    entry.m_nRemindSpan = 30;
    // Reminded at 23:45 on the 9th with 30 minutes lead: the occurrence is on the 10th.
    entry.m_dtNextOccurrence = COleDateTime(2024, 3, 9, 23, 45, 0);
    EXPECT_EQ(Day(2024, 3, 10), GetReminderPanelDay(entry));
    entry.m_dtNextOccurrence.SetStatus(COleDateTime::null);
    EXPECT_EQ(Day(2024, 3, 5), GetReminderPanelDay(entry)) << "without a next occurrence: the first";
    EXPECT_NE(std::string::npos, std::string(BuildReminderPanelText(entry)).find("~.b:IDB_REPEAT_I~.l"));
}

} // namespace
