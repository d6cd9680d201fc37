// The appointment dialog as the data controller opens it, on a schedule table of the test's own:
// a new appointment saved and read back from the table, an edit saved field-wise, delete through
// the dialog's button, every check of OK refusing with its German message and storing nothing,
// long texts held to the fields' limits, the users page with a resource, the lead-time and time
// rules, the notes as RTF. The test acts from a timer while the dialog runs its modal loop; the
// controls library's unattended mode answers the boxes and logs them.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <afxdisp.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "AppointmentResource.h"
#include "CAppointmentDialog.h"
#include "CCtDEdit.h"
#include "CDataController.h"
#include "CHintRecorder.h"
#include "CProgramDialogs.h"
#include "CRecordingTimerLibrary.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "CTestDataApp.h"
#include "ControllerTestKit.h"
#include "DataTestKit.h"
#include "DaySerials.h"
#include "OleTestSupport.h"
#include "RtfToText.h"
#include "TestKit.h"
#include "qzcontrols.h"
#include "vlCT11.h"

namespace {

using datatest::Day;

const char kUser[] = "Anna";

class CServedLibrary {
public:
    bool Serve(const char* pszDll, const CLSID& clsid)
    {
        m_hModule = LoadLibraryA(pszDll);
        auto pfnGet = m_hModule != NULL
                          ? (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))GetProcAddress(m_hModule, "DllGetClassObject")
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

// The document of the tests: the hints, and the count of the dialogs open on it.
class CCountingDocument : public CHintRecorder {
public:
    volatile LONG* GetOpenDialogCounter() override { return &m_nOpenDialogs; }
    volatile LONG m_nOpenDialogs = 0;
};

// The application of the tests: the program's dialogs, the data controller as the user source
// once it exists, and the help requests instead of a help window.
class CDialogTestApp : public CTestDataApp {
public:
    CDataDocument* GetDocument() override { return &m_countingDocument; }
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override { m_helpCalls.emplace_back(dwData, nCmd); }
    CCountingDocument m_countingDocument;
    std::vector<std::pair<DWORD_PTR, UINT>> m_helpCalls;

    CDataUserSource* GetUserSource() override
    {
        return m_pController != NULL ? (CDataUserSource*)m_pController : (CDataUserSource*)&m_users;
    }
    CDataDialogs* GetDialogs() override { return &m_programDialogs; }

    CDataController* m_pController = NULL;
    CProgramDialogs m_programDialogs;
};

// What the test does while the dialog is open (run once from a timer of the modal loop); a dialog
// still open long after is cancelled, so a failing test never hangs.
std::function<void(CAppointmentDialog&)> g_step;
int g_nTicks = 0;
bool g_bStepRan = false;

CAppointmentDialog* FindDialog()
{
    struct Find {
        CAppointmentDialog* pFound = NULL;
        static BOOL CALLBACK Each(HWND hWnd, LPARAM lParam)
        {
            CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
            if (pWnd != NULL && IsWindowVisible(hWnd) && pWnd->IsKindOf(RUNTIME_CLASS(CAppointmentDialog))) {
                ((Find*)lParam)->pFound = (CAppointmentDialog*)pWnd;
                return FALSE;
            }
            return TRUE;
        }
    } find;
    EnumThreadWindows(GetCurrentThreadId(), &Find::Each, (LPARAM)&find);
    return find.pFound;
}

// What the test does once a drop-down popup of the dialog is open (run once from the timer).
std::function<void(HWND)> g_popupStep;

HWND FindPopup(HWND hOwner)
{
    struct Find {
        HWND hOwner;
        HWND hFound = NULL;
        static BOOL CALLBACK Each(HWND hWnd, LPARAM lParam)
        {
            Find* p = (Find*)lParam;
            if (IsWindowVisible(hWnd) && GetWindow(hWnd, GW_OWNER) == p->hOwner) {
                p->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        }
    } find{hOwner};
    EnumThreadWindows(GetCurrentThreadId(), &Find::Each, (LPARAM)&find);
    return find.hFound;
}

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
{
    CAppointmentDialog* pDialog = FindDialog();
    if (pDialog != NULL && g_popupStep) {
        if (HWND hPopup = FindPopup(pDialog->m_hWnd)) {
            auto step = std::move(g_popupStep);
            g_popupStep = nullptr;
            step(hPopup);
        }
        return;
    }
    if (pDialog == NULL)
        return;
    if (g_step) {
        auto step = std::move(g_step);
        g_step = nullptr;
        g_bStepRan = true;
        step(*pDialog);
    } else if (++g_nTicks > 300) {
        pDialog->EndDialog(IDCANCEL);
    }
}

// ---- driving the controls --------------------------------------------------------------------------

void Click(CAppointmentDialog& d, int nId)
{
    d.SendMessage(WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), (LPARAM)d.GetDlgItem(nId)->m_hWnd);
}

void SetText(CAppointmentDialog& d, int nId, const char* pszText) { d.SetDlgItemText(nId, pszText); }

std::string Text(CAppointmentDialog& d, int nId)
{
    CString s;
    d.GetDlgItemText(nId, s);
    return (LPCTSTR)s;
}

CCtDEdit& Field(CAppointmentDialog& d, int nId) { return *(CCtDEdit*)d.GetDlgItem(nId); }

// Types the characters into the combo's edit field, as the keyboard does.
void Type(CAppointmentDialog& d, int nComboId, const std::string& text)
{
    HWND hEdit = ::GetWindow(d.GetDlgItem(nComboId)->m_hWnd, GW_CHILD);
    for (char c : text)
        ::SendMessageA(hEdit, WM_CHAR, (BYTE)c, 1);
}

void SelectTab(CAppointmentDialog& d, int nPage)
{
    HWND hTabs = d.GetDlgItem(IDC_APPT_TABS)->m_hWnd;
    ::SendMessageA(hTabs, TCM_SETCURSEL, nPage, 0);
    NMHDR nm = {hTabs, IDC_APPT_TABS, (UINT)TCN_SELCHANGE};
    d.SendMessage(WM_NOTIFY, IDC_APPT_TABS, (LPARAM)&nm);
}

// The rows of the users page: text and check mark, read from the browse control.
std::vector<std::pair<std::string, bool>> UserRows(CAppointmentDialog& d)
{
    std::vector<std::pair<std::string, bool>> rows;
    CBrowserCheckList list(d.GetDlgItem(IDC_APPT_USERS)->m_hWnd, d.m_hWnd, NULL, TRUE);
    for (int i = 0; i < list.GetEntryCount(); ++i) {
        CString s;
        list.GetEntryText(i, s);
        rows.emplace_back((LPCTSTR)s, list.IsChecked(i) != FALSE);
    }
    return rows;
}

std::string Shot(CAppointmentDialog& d, const std::string& name)
{
    d.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    oxtest::PumpMessages();
    CRect rect;
    d.GetWindowRect(rect);
    HDC hdc = ::GetDC(NULL);
    std::string path = oxtest::SaveShot(hdc, rect.left, rect.top, rect.Width(), rect.Height(), "appointment-dialog", name);
    ::ReleaseDC(NULL, hdc);
    return path;
}

class AppointmentDialogTest : public datatest::DataTest {
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        ASSERT_TRUE(m_dedit.Serve(QZ_DEDIT_DLL, CLSID_QzDEdit));
        ASSERT_TRUE(m_qzmonth.Serve(QZ_MONTH_DLL, CLSID_QzMonth));
        CtlJobOpen();
        m_app.m_users.m_strCurrentUser = kUser;
        CAppSettings& settings = m_app.CreateSettings();
        settings.m_bDefRemind = FALSE;
        m_strPath = m_dir->Path() + "\\";
        {
            CTerminTable table(m_session.get(), FALSE);
            table.SetUserName(kUser);
            ASSERT_NE(DB_OPEN_FAILED, table.OpenMain(m_strPath.c_str(), 0, 0));
        }
        m_controller = std::make_unique<CDataController>(m_strPath.c_str(), kUser, &m_timers, &m_timings);
        ASSERT_TRUE(m_controller->IsOpen());
        m_app.m_pController = m_controller.get();
        m_nTimer = SetTimer(NULL, 0, 30, &OnTick);
        m_log.Clear();
    }
    void TearDown() override
    {
        KillTimer(NULL, m_nTimer);
        g_step = nullptr;
        m_app.m_pController = NULL;
        m_controller.reset();
        CtlJobClose();
        m_dedit.Revoke();
        m_qzmonth.Revoke();
    }

    // Runs the step once the dialog is open; every dialog is kept open for the step to drive.
    void While(std::function<void(CAppointmentDialog&)> step)
    {
        m_log.SetDialogAnswers("KEEP");
        g_step = std::move(step);
        g_nTicks = 0;
        g_bStepRan = false;
    }

    // A new appointment on 10.03.2026 at 10:00 through the controller; its result.
    BOOL NewAt10(std::function<void(CAppointmentDialog&)> step)
    {
        While(std::move(step));
        const BOOL bResult = m_controller->NewAppointment(Day("2026-03-10"), 600);
        EXPECT_TRUE(g_bStepRan);
        return bResult;
    }

    int Edit(long nId, std::function<void(CAppointmentDialog&)> step)
    {
        While(std::move(step));
        const int nResult = m_controller->EditAppointment(controllertest::IdText(nId).c_str());
        EXPECT_TRUE(g_bStepRan);
        return nResult;
    }

    // The stored rows (record id and record), in record order.
    std::vector<std::pair<long, CDataAppointment>> Rows()
    {
        std::vector<std::pair<long, CDataAppointment>> rows;
        CTerminTable table(m_session.get(), FALSE);
        if (table.OpenMain(m_strPath.c_str(), 0, 0) == DB_OPEN_FAILED)
            return rows;
        table.SetOrder(0);
        CTerminRecordBuffer row(&table);
        row.AttachFields();
        for (table.GoTo(0); !table.IsEof(); table.Skip(1))
            if (row.ReadRecord((long)table.GetRecNo()) == 0) {
                CDataAppointment a;
                row.GetAppointment(a);
                rows.emplace_back(atol(row.FieldValue("RECORDID")), a);
            }
        return rows;
    }

    // The texts of the plain boxes shown so far.
    std::vector<std::string> BoxTexts()
    {
        std::vector<std::string> texts;
        for (const auto& box : m_log.Records("MessageBox"))
            texts.push_back(box.size() > 2 ? box[2] : "");
        return texts;
    }

    // A new entry "Besprechung" 10:00-11:00 by the dialog; its record id.
    long MakeEntry()
    {
        EXPECT_TRUE(NewAt10([](CAppointmentDialog& d) {
            SetText(d, IDC_APPT_SUBJECT, "Besprechung");
            SetText(d, IDC_APPT_PLACE, "Raum 4");
            Field(d, IDC_APPT_END).SetTime(660);
            Click(d, IDOK);
        }));
        auto rows = Rows();
        EXPECT_EQ(1u, rows.size());
        m_log.Clear();
        return rows.empty() ? 0 : rows.back().first;
    }

    CDialogTestApp m_app;
    CServedLibrary m_dedit, m_qzmonth;
    CRecordingTimerLibrary m_timers;
    CControllerTimings m_timings = controllertest::TestTimings();
    std::string m_strPath;
    std::unique_ptr<CDataController> m_controller;
    UINT_PTR m_nTimer = 0;
};

TEST_F(AppointmentDialogTest, ANewAppointmentIsStoredAndReadBackFromTheTable)
{
    std::string strShot;
    ASSERT_TRUE(NewAt10([&](CAppointmentDialog& d) {
        CString strCaption;
        d.GetWindowText(strCaption);
        EXPECT_STREQ("Termin", strCaption);
        EXPECT_FALSE(d.GetDlgItem(IDC_APPT_DELETE)->IsWindowVisible());
        Type(d, IDC_APPT_SUBJECT, "Zahnarzt M\xFCller");
        Type(d, IDC_APPT_PLACE, "Praxis Dr. M\xFCller");
        Field(d, IDC_APPT_END).SetTime(675);
        d.CheckDlgButton(IDC_APPT_REMIND, BST_CHECKED);
        SetText(d, IDC_APPT_LEAD, "2");
        d.SendDlgItemMessage(IDC_APPT_LEAD_UNIT, CB_SETCURSEL, 1);
        strShot = Shot(d, "new-termin");
        SelectTab(d, 1);
        Shot(d, "new-aktionen");
        SelectTab(d, 2);
        Shot(d, "new-benutzer");
        Click(d, IDOK);
    }));
    EXPECT_FALSE(strShot.empty());
    auto rows = Rows();
    ASSERT_EQ(1u, rows.size());
    const CDataAppointment& a = rows[0].second;
    EXPECT_STREQ("Zahnarzt M\xFCller", a.m_strSubject);
    EXPECT_STREQ("Praxis Dr. M\xFCller", a.m_strPlace);
    EXPECT_EQ(Day("2026-03-10"), a.m_pattern.m_nPatternStart);
    EXPECT_EQ(600, a.m_pattern.m_nStartTime);
    EXPECT_EQ(675, a.m_pattern.m_nEndTime);
    EXPECT_TRUE(a.m_bRemind);
    EXPECT_EQ(120, a.m_nRemindSpan);
    EXPECT_STREQ(kUser, a.m_strUser);
    EXPECT_STREQ(kUser, a.m_strChangedBy);
    EXPECT_STREQ(kUser, a.m_strCreatedBy);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    EXPECT_EQ(now.GetYear(), a.m_dtChanged.GetYear());
    EXPECT_EQ(now.GetDayOfYear(), a.m_dtChanged.GetDayOfYear());
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(AppointmentDialogTest, LongTextsAreHeldToTheFieldLimits)
{
    const std::string text200(200, 'x');
    ASSERT_TRUE(NewAt10([&](CAppointmentDialog& d) {
        Type(d, IDC_APPT_SUBJECT, text200);
        Type(d, IDC_APPT_PLACE, text200);
        Type(d, IDC_APPT_PARTNER, text200);
        Field(d, IDC_APPT_END).SetTime(660);
        Click(d, IDOK);
    }));
    auto rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(std::string(140, 'x'), (LPCTSTR)rows[0].second.m_strSubject);
    EXPECT_EQ(std::string(100, 'x'), (LPCTSTR)rows[0].second.m_strPlace);
    EXPECT_EQ(std::string(100, 'x'), (LPCTSTR)rows[0].second.m_strParticipants);
}

// Each refusal shows its text, leaves the dialog open (Cancel then ends it) and stores nothing.
TEST_F(AppointmentDialogTest, EveryCheckOfANewEntryRefusesWithItsMessageAndStoresNothing)
{
    CStringList resources;
    resources.AddTail("Raum 1");
    m_controller->SetResourceList(resources);
    struct Case {
        const char* name;
        std::function<void(CAppointmentDialog&)> edit;
        UINT nText;
        int nFocus;
    } cases[] = {
        {"no user", [](CAppointmentDialog& d) { Click(d, IDC_APPT_UNCHECK_ALL); }, IDS_NO_USER_CHOSEN, 0},
        {"end at the start",
         [](CAppointmentDialog& d) {
             Field(d, IDC_APPT_START).SetTime(600);
             Field(d, IDC_APPT_END).SetTime(600);
         },
         IDS_END_BEFORE_START, IDC_APPT_END},
        {"end before the start",
         [](CAppointmentDialog& d) {
             Field(d, IDC_APPT_START).SetTime(700);
             Field(d, IDC_APPT_END).SetTime(600);
         },
         IDS_END_BEFORE_START, IDC_APPT_END},
        {"an action for two users",
         [](CAppointmentDialog& d) {
             Click(d, IDC_APPT_CHECK_ALL);
             d.SendDlgItemMessage(IDC_APPT_ACTION, CB_SETCURSEL, 1);
         },
         IDS_NO_RIGHT_FOR_ACTIONS, 0},
    };
    for (const Case& c : cases) {
        m_log.Clear();
        bool bStillOpen = false;
        HWND hFocus = NULL, hExpected = NULL;
        EXPECT_FALSE(NewAt10([&](CAppointmentDialog& d) {
            SetText(d, IDC_APPT_SUBJECT, "Abgelehnt");
            c.edit(d);
            Click(d, IDOK);
            bStillOpen = ::IsWindow(d.m_hWnd) && d.IsWindowVisible();
            hFocus = ::GetFocus();
            hExpected = c.nFocus != 0 ? d.GetDlgItem(c.nFocus)->m_hWnd : NULL;
            d.EndDialog(IDCANCEL);
        })) << c.name;
        EXPECT_TRUE(bStillOpen) << c.name;
        EXPECT_EQ(std::vector<std::string>{controllertest::ResourceText(c.nText)}, BoxTexts()) << c.name;
        if (hExpected != NULL)
            EXPECT_TRUE(hFocus == hExpected || ::IsChild(hExpected, hFocus)) << c.name;
        EXPECT_TRUE(Rows().empty()) << c.name;
    }
}

TEST_F(AppointmentDialogTest, AnActionForTheCurrentUserAloneIsAccepted)
{
    ASSERT_TRUE(NewAt10([](CAppointmentDialog& d) {
        SetText(d, IDC_APPT_SUBJECT, "Mit Aktion");
        Field(d, IDC_APPT_END).SetTime(660);
        d.SendDlgItemMessage(IDC_APPT_ACTION, CB_SETCURSEL, 1);
        Click(d, IDOK);
    }));
    auto rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_FALSE(rows[0].second.m_action.m_strName.IsEmpty());
    EXPECT_TRUE(BoxTexts().empty());
}

// A refused OK and then Cancel leave the caller's record as it was.
TEST_F(AppointmentDialogTest, ARefusedOkThenCancelLeavesTheCallersRecordUnchanged)
{
    CDataAppointment record;
    record.m_strSubject = "Vorher";
    record.m_strUser = kUser;
    record.m_pattern.m_nPatternStart = record.m_pattern.m_nPatternEnd = Day("2026-03-10");
    record.m_pattern.m_nStartTime = 600;
    record.m_pattern.m_nEndTime = 660;
    const CDataAppointment before = record;
    CStringList users;
    While([](CAppointmentDialog& d) {
        SetText(d, IDC_APPT_SUBJECT, "Nachher");
        Field(d, IDC_APPT_END).SetTime(500);
        Click(d, IDOK);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_app.m_programDialogs.EditAppointment(record, FALSE, users));
    EXPECT_EQ(std::vector<std::string>{controllertest::ResourceText(IDS_END_BEFORE_START)}, BoxTexts());
    EXPECT_TRUE(record == before);
}

// A series whose end date is not after its start is refused unless it has no end or ends in ten
// years.
TEST_F(AppointmentDialogTest, ASeriesEndingOnItsStartIsRefusedUnlessItHasNoFixedEnd)
{
    struct Case {
        BOOL bNoEnd, bTenYears;
        bool bRefused;
    } cases[] = {{FALSE, FALSE, true}, {TRUE, FALSE, false}, {FALSE, TRUE, false}};
    for (const Case& c : cases) {
        m_log.Clear();
        CDataAppointment record;
        record.m_strUser = kUser;
        record.m_strSubject = "Serie";
        record.m_bSeries = TRUE;
        record.m_pattern.m_nType = CDataSerienTermin::daily;
        record.m_pattern.m_nDailyInterval = 1;
        record.m_pattern.m_nPatternStart = record.m_pattern.m_nPatternEnd = Day("2026-03-10");
        record.m_pattern.m_bNoEnd = c.bNoEnd;
        record.m_pattern.m_bDefaultEnd = c.bTenYears;
        record.m_pattern.m_nStartTime = 600;
        record.m_pattern.m_nEndTime = 660;
        const CDataAppointment before = record;
        CStringList users;
        bool bStillOpen = false;
        While([&](CAppointmentDialog& d) {
            Click(d, IDOK);
            bStillOpen = ::IsWindow(d.m_hWnd) && d.IsWindowVisible();
            if (bStillOpen)
                d.EndDialog(IDCANCEL);
        });
        const int nResult = m_app.m_programDialogs.EditAppointment(record, FALSE, users);
        EXPECT_EQ(c.bRefused ? IDCANCEL : IDOK, nResult) << c.bNoEnd << c.bTenYears;
        EXPECT_EQ(c.bRefused, bStillOpen);
        EXPECT_EQ(c.bRefused ? std::vector<std::string>{controllertest::ResourceText(IDS_SERIES_END_BEFORE_START)}
                             : std::vector<std::string>{},
                  BoxTexts());
        if (c.bRefused)
            EXPECT_TRUE(record == before);
    }
}

// The conflict check reports the first other entry in time, or that there is none; an entry never
// collides with itself.
TEST_F(AppointmentDialogTest, TheConflictCheckReportsTheFirstOtherEntryOnly)
{
    const long nId = MakeEntry();
    ASSERT_NE(0, nId);
    EXPECT_FALSE(NewAt10([](CAppointmentDialog& d) {
        Field(d, IDC_APPT_START).SetTime(630);
        Field(d, IDC_APPT_END).SetTime(690);
        Click(d, IDC_APPT_CONFLICTS);
        Field(d, IDC_APPT_START).SetTime(660);
        Field(d, IDC_APPT_END).SetTime(720);
        Click(d, IDC_APPT_CONFLICTS);
        d.EndDialog(IDCANCEL);
    }));
    CString strFormat, strReport;
    strFormat.LoadString(IDS_CONFLICT_FOUND);
    strReport.Format(strFormat, "Uhrzeit: 10:00 - 11:00 Uhr\nBetreff: Besprechung\nOrt: Raum 4\nBenutzer: Anna\n");
    strReport.Replace("\n", "\\n");
    EXPECT_EQ((std::vector<std::string>{(LPCTSTR)strReport, controllertest::ResourceText(IDS_NO_CONFLICTS)}), BoxTexts());

    m_log.Clear();
    Edit(nId, [](CAppointmentDialog& d) {
        Click(d, IDC_APPT_CONFLICTS);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(std::vector<std::string>{controllertest::ResourceText(IDS_NO_CONFLICTS)}, BoxTexts());

    // The views show another user's entries: the check cannot answer for the checked user.
    m_controller->SetFilterUser("SCHULZ");
    m_log.Clear();
    EXPECT_FALSE(NewAt10([](CAppointmentDialog& d) {
        Click(d, IDC_APPT_CONFLICTS);
        d.EndDialog(IDCANCEL);
    }));
    EXPECT_EQ(std::vector<std::string>{controllertest::ResourceText(IDS_CONFLICT_FILTER_USER)}, BoxTexts());
}

// The spin buttons of the time fields: the start never goes below 0 and pushes the end, the end
// pushes the start back by one time unit.
TEST_F(AppointmentDialogTest, SpinningTheTimesKeepsStartBeforeEnd)
{
    const int nUnit = m_app.GetSettings()->GetTimeUnitMinutes();
    struct Case {
        int nField;
        short nDirection; // 0 up, 1 down
        int nStart, nEnd;
        int nNewStart, nNewEnd;
    } cases[] = {
        {IDC_APPT_START, 1, 0, 60, 0, 60},
        {IDC_APPT_START, 1, 1, 60, 0, 60},
        {IDC_APPT_START, 0, 600, 601, 601, 601 + nUnit},
        {IDC_APPT_START, 0, 1430, 1431, 1431, 1439},
        {IDC_APPT_END, 1, 600, 601, 600 - nUnit, 600},
        {IDC_APPT_END, 1, 5, 6, 0, 5},
        {IDC_APPT_END, 0, 600, 700, 600, 701},
    };
    EXPECT_FALSE(NewAt10([&](CAppointmentDialog& d) {
        for (const Case& c : cases) {
            Field(d, IDC_APPT_START).SetTime((short)c.nStart);
            Field(d, IDC_APPT_END).SetTime((short)c.nEnd);
            static const BYTE params[] = VTS_I2 VTS_I2;
            short nSinks = 0;
            Field(d, c.nField).InvokeHelper(QZ_TEST_FIRE, DISPATCH_METHOD, VT_I2, &nSinks, params, (short)2, c.nDirection);
            EXPECT_EQ(1, nSinks);
            EXPECT_EQ(c.nNewStart, Field(d, IDC_APPT_START).GetTime()) << c.nField << " " << c.nStart << "-" << c.nEnd;
            EXPECT_EQ(c.nNewEnd, Field(d, IDC_APPT_END).GetTime()) << c.nField << " " << c.nStart << "-" << c.nEnd;
        }
        d.EndDialog(IDCANCEL);
    }));
}

// The start time's drop-down lists the half hours; the time chosen there moves the end by the end
// rule.
TEST_F(AppointmentDialogTest, TheStartTimeDropDownTakesTheChosenTime)
{
    std::string strShot;
    While([&](CAppointmentDialog& d) {
        Field(d, IDC_APPT_END).SetTime(660);
        g_popupStep = [&](HWND hPopup) {
            HWND hList = ::GetDlgItem(hPopup, 1025);
            ASSERT_TRUE(hList != NULL);
            // 15:00 is the 31st half hour.
            ::SendMessageA(hList, LB_SETCURSEL, 30, 0);
            strShot = Shot(d, "time-list-open");
            ::SendMessageA(hPopup, WM_COMMAND, IDOK, 0);
        };
        static const BYTE params[] = VTS_I2;
        short nSinks = 0;
        Field(d, IDC_APPT_START).InvokeHelper(QZ_TEST_FIRE, DISPATCH_METHOD, VT_I2, &nSinks, params, (short)1);
        EXPECT_EQ(1, nSinks);
        EXPECT_EQ(900, Field(d, IDC_APPT_START).GetTime());
        EXPECT_EQ(900 + m_app.GetSettings()->GetTimeUnitMinutes(), Field(d, IDC_APPT_END).GetTime());
        d.EndDialog(IDCANCEL);
    });
    // The popup is kept open for the test as well.
    m_log.SetDialogAnswers("KEEP|KEEP");
    EXPECT_FALSE(m_controller->NewAppointment(Day("2026-03-10"), 600));
    EXPECT_FALSE(strShot.empty());
}

TEST_F(AppointmentDialogTest, AnEditIsSavedFieldWise)
{
    const long nId = MakeEntry();
    ASSERT_NE(0, nId);
    EXPECT_EQ(1, Edit(nId, [](CAppointmentDialog& d) {
        EXPECT_EQ("Besprechung", Text(d, IDC_APPT_SUBJECT));
        EXPECT_TRUE(d.GetDlgItem(IDC_APPT_DELETE)->IsWindowVisible());
        SetText(d, IDC_APPT_PLACE, "Raum 7");
        Click(d, IDOK);
    }));
    auto rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(nId, rows[0].first);
    EXPECT_STREQ("Besprechung", rows[0].second.m_strSubject);
    EXPECT_STREQ("Raum 7", rows[0].second.m_strPlace);
    EXPECT_EQ(600, rows[0].second.m_pattern.m_nStartTime);
    EXPECT_EQ(660, rows[0].second.m_pattern.m_nEndTime);
}

TEST_F(AppointmentDialogTest, TheDeleteButtonAsksAndTheEntryGoes)
{
    const long nId = MakeEntry();
    ASSERT_NE(0, nId);
    // "Nein" keeps the dialog and the entry.
    m_log.SetAnswers("IDNO");
    EXPECT_EQ(1, Edit(nId, [](CAppointmentDialog& d) {
        Click(d, IDC_APPT_DELETE);
        d.EndDialog(IDCANCEL);
    }));
    EXPECT_EQ(1u, Rows().size());
    m_log.SetAnswers("IDYES");
    Edit(nId, [](CAppointmentDialog& d) { Click(d, IDC_APPT_DELETE); });
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(controllertest::ResourceText(41003), BoxTexts().back());
}

TEST_F(AppointmentDialogTest, TheReminderWarningOfAnExistingEntryIsRememberedAndDoesNotStop)
{
    const long nId = MakeEntry();
    m_app.GetSettings()->m_bDefRemind = TRUE;
    HKEY hKey;
    m_log.SetAnswers("IDOK*");
    EXPECT_EQ(1, Edit(nId, [](CAppointmentDialog& d) {
        d.CheckDlgButton(IDC_APPT_REMIND, BST_UNCHECKED);
        Click(d, IDOK);
    }));
    EXPECT_EQ(1, Edit(nId, [](CAppointmentDialog& d) {
        d.CheckDlgButton(IDC_APPT_REMIND, BST_UNCHECKED);
        Click(d, IDOK);
    }));
    auto autos = m_log.Records("MessageBoxAuto");
    ASSERT_EQ(2u, autos.size());
    EXPECT_EQ(controllertest::ResourceText(IDS_REMINDER_OFF_WARNING), autos[0][2]);
    EXPECT_EQ("WRNREMIND", autos[0][4]);
    EXPECT_EQ("stored", autos[0][6]);
    EXPECT_EQ("remembered", autos[1][6]);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\velmar\\vlCT11\\Answers", 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
        RegDeleteValueA(hKey, "WRNREMIND");
        RegCloseKey(hKey);
    }
    ASSERT_EQ(1u, Rows().size());
    EXPECT_FALSE(Rows()[0].second.m_bRemind);
}

TEST_F(AppointmentDialogTest, TheUsersPageListsResourcesAndStoresThemAsPlainNames)
{
    CStringList resources;
    resources.AddTail("Raum 1");
    m_controller->SetResourceList(resources);
    const std::string strRaum = std::string("[\xAERaum 1]");
    ASSERT_TRUE(NewAt10([&](CAppointmentDialog& d) {
        SelectTab(d, 2);
        auto rows = UserRows(d);
        ASSERT_EQ(2u, rows.size());
        EXPECT_EQ(std::make_pair(std::string(kUser), true), rows[0]);
        EXPECT_EQ(std::make_pair(strRaum, false), rows[1]);
        EXPECT_TRUE(d.GetDlgItem(IDC_APPT_USERS)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(IDC_APPT_INFO)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(IDC_APPT_START)->IsWindowVisible());
        // Only the room.
        Click(d, IDC_APPT_UNCHECK_ALL);
        CBrowserCheckList list(d.GetDlgItem(IDC_APPT_USERS)->m_hWnd, d.m_hWnd, NULL, TRUE);
        list.CheckAll();
        SetText(d, IDC_APPT_SUBJECT, "Raumbelegung");
        Field(d, IDC_APPT_END).SetTime(660);
        Click(d, IDOK);
    }));
    auto rows = Rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_STREQ(kUser, rows[0].second.m_strUser);
    EXPECT_STREQ("Raum 1", rows[1].second.m_strUser);
    // Reopened: the room's row is checked, the users page shows who made the entry.
    Edit(rows[1].first, [&](CAppointmentDialog& d) {
        auto users = UserRows(d);
        ASSERT_EQ(2u, users.size());
        EXPECT_EQ(std::make_pair(strRaum, true), users[1]);
        EXPECT_EQ(std::make_pair(std::string(kUser), false), users[0]);
        SelectTab(d, 2);
        EXPECT_FALSE(d.GetDlgItem(IDC_APPT_USERS)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(IDC_APPT_INFO)->IsWindowVisible());
        const std::string info = Text(d, IDC_APPT_INFO);
        EXPECT_NE(std::string::npos, info.find("Benutzer:  Raum 1\xB6" "Erstellt von  Anna  am  ")) << info;
        EXPECT_EQ(std::string::npos, info.find("Veknüpft")) << info;
        Shot(d, "existing-benutzer");
        d.EndDialog(IDCANCEL);
    });
}

// The users of the linked applications: each listed once; without rights bit 2 only the current
// user (and the resources); with "MarkFilterUser" the filter user is preselected.
TEST_F(AppointmentDialogTest, TheUsersPageFollowsTheRightsAndTheFilterUser)
{
    const CString strApps = m_app.GetRegistryPath() + "\\Apps\\";
    for (const char* pszKey : {"APP1\\Users\\MEIER", "APP1\\Users\\SCHULZ", "APP2\\Users\\MEIER"}) {
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, strApps + pszKey, &hKey));
        RegCloseKey(hKey);
    }
    m_controller->LoadLinkedApplications();
    using Rows = std::vector<std::pair<std::string, bool>>;
    Rows rows;
    auto look = [&] {
        rows.clear();
        EXPECT_FALSE(NewAt10([&](CAppointmentDialog& d) {
            rows = UserRows(d);
            d.EndDialog(IDCANCEL);
        }));
    };
    look();
    EXPECT_EQ((Rows{{kUser, true}}), rows);
    m_controller->SetRights("....T");
    look();
    EXPECT_EQ((Rows{{kUser, true}, {"MEIER", false}, {"SCHULZ", false}}), rows);
    m_app.GetSettings()->m_bMarkFilterUser = TRUE;
    m_controller->SetFilterUser("SCHULZ");
    look();
    EXPECT_EQ((Rows{{kUser, false}, {"MEIER", false}, {"SCHULZ", true}}), rows);
}

// The actions page: every action of the linked applications with its picture (a damaged picture
// number gets the default one and no image list that large), its parameter field when it has a
// label, and what OK stores of it.
TEST_F(AppointmentDialogTest, TheActionsPageOffersTheLinkedActionsAndStoresTheChosenOne)
{
    const CString strActions = m_app.GetRegistryPath() + "\\Apps\\APP1\\Actions\\";
    auto setDword = [](const CString& strKey, const char* pszName, DWORD dw) {
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, strKey, &hKey));
        RegSetValueExA(hKey, pszName, 0, REG_DWORD, (const BYTE*)&dw, sizeof dw);
        RegCloseKey(hKey);
    };
    auto setText = [](const CString& strKey, const char* pszName, const char* pszText) {
        HKEY hKey;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, strKey, &hKey));
        RegSetValueExA(hKey, pszName, 0, REG_SZ, (const BYTE*)pszText, (DWORD)strlen(pszText) + 1);
        RegCloseKey(hKey);
    };
    setText(strActions + "BROKEN", "Title", "Kaputt");
    setDword(strActions + "BROKEN", "CtlPicID", 99999);
    setText(strActions + "NOTE", "Title", "Notiz anlegen");
    setDword(strActions + "NOTE", "CtlPicID", 3);
    setText(strActions + "NOTE\\Field", "Label", "Datei:");
    setDword(strActions + "NOTE\\Field", "UseSelectButton", 1);
    m_controller->LoadLinkedApplications();

    ASSERT_TRUE(NewAt10([](CAppointmentDialog& d) {
        CComboBoxEx* pActions = (CComboBoxEx*)d.GetDlgItem(IDC_APPT_ACTION);
        HIMAGELIST hImages = (HIMAGELIST)pActions->SendMessage(CBEM_GETIMAGELIST);
        // As many pictures as the highest sound picture number asks for (the built-in actions
        // have theirs), not the damaged one's 100,000.
        EXPECT_GE(ImageList_GetImageCount(hImages), 113);
        EXPECT_LE(ImageList_GetImageCount(hImages), 10001);
        int nBroken = -1, nNote = -1;
        for (int i = 0; i < pActions->GetCount(); ++i) {
            char szText[64] = {};
            COMBOBOXEXITEMA item = {};
            item.mask = CBEIF_TEXT | CBEIF_IMAGE;
            item.iItem = i;
            item.pszText = szText;
            item.cchTextMax = sizeof szText;
            pActions->GetItem(&item);
            if (strcmp(szText, "Kaputt") == 0) {
                nBroken = i;
                EXPECT_EQ(112, item.iImage);
            }
            if (strcmp(szText, "Notiz anlegen") == 0) {
                nNote = i;
                EXPECT_EQ(3, item.iImage);
            }
        }
        ASSERT_NE(-1, nBroken);
        ASSERT_NE(-1, nNote);
        SelectTab(d, 1);
        EXPECT_FALSE(d.GetDlgItem(IDC_APPT_PARAM)->IsWindowVisible());
        pActions->SetCurSel(nNote);
        d.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_APPT_ACTION, CBN_SELCHANGE), (LPARAM)pActions->m_hWnd);
        EXPECT_TRUE(d.GetDlgItem(IDC_APPT_PARAM)->IsWindowVisible());
        EXPECT_TRUE(d.GetDlgItem(IDC_APPT_BROWSE)->IsWindowVisible());
        EXPECT_EQ("Datei:", Text(d, IDC_APPT_PARAM_LABEL));
        Shot(d, "aktionen-parameter");
        SetText(d, IDC_APPT_PARAM, "C:\\Briefe\\Zahnarzt.txt");
        SetText(d, IDC_APPT_SUBJECT, "Mit Notiz");
        Field(d, IDC_APPT_END).SetTime(660);
        Click(d, IDOK);
    }));
    auto rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_STREQ("NOTE", rows[0].second.m_action.m_strName);
    EXPECT_STREQ("C:\\Briefe\\Zahnarzt.txt", rows[0].second.m_action.m_strParameter);
}

// What a stored entry shows: the lead time in the largest unit that divides it, times brought into
// the day, all day checked for 0-1439.
TEST_F(AppointmentDialogTest, StoredValuesOpenWithTheirLeadUnitAndTimes)
{
    const int nUnit = m_app.GetSettings()->GetTimeUnitMinutes();
    struct Case {
        long nSpan;
        int nStart, nEnd;
        const char* lead;
        const char* unit;
        int nShownStart, nShownEnd;
        bool bAllDay;
    } cases[] = {
        {120, 600, 660, "2", "Stunde(n)", 600, 660, false},
        {90, 600, 660, "90", "Minute(n)", 600, 660, false},
        {2880, 600, 660, "2", "Tage(n)", 600, 660, false},
        {0, 600, 660, "0", "Tage(n)", 600, 660, false},
        {-15, 600, 660, "0", "Tage(n)", 600, 660, false},
        {15, 1430, -1, "15", "Minute(n)", 1430, 1439, false},
        {15, 600, 500, "15", "Minute(n)", 600, 600 + nUnit, false},
        {15, 600, 3000, "15", "Minute(n)", 600, 1439, false},
        {15, 0, 1439, "15", "Minute(n)", 0, 1439, true},
    };
    for (const Case& c : cases) {
        CDataAppointment record;
        record.m_strUser = kUser;
        record.m_nRemindSpan = c.nSpan;
        record.m_pattern.m_nPatternStart = record.m_pattern.m_nPatternEnd = Day("2026-03-10");
        record.m_pattern.m_nStartTime = (short)c.nStart;
        record.m_pattern.m_nEndTime = (short)c.nEnd;
        CStringList users;
        While([&](CAppointmentDialog& d) {
            EXPECT_EQ(c.lead, Text(d, IDC_APPT_LEAD)) << c.nSpan;
            EXPECT_EQ(c.unit, Text(d, IDC_APPT_LEAD_UNIT)) << c.nSpan;
            EXPECT_EQ(c.nShownStart, Field(d, IDC_APPT_START).GetTime()) << c.nStart;
            EXPECT_EQ(c.nShownEnd, Field(d, IDC_APPT_END).GetTime()) << c.nStart << "-" << c.nEnd;
            EXPECT_EQ(c.bAllDay, d.IsDlgButtonChecked(IDC_APPT_ALL_DAY) == BST_CHECKED) << c.nStart;
            EXPECT_EQ(!c.bAllDay, d.GetDlgItem(IDC_APPT_START)->IsWindowEnabled() != FALSE) << c.nStart;
            d.EndDialog(IDCANCEL);
        });
        EXPECT_EQ(IDCANCEL, m_app.m_programDialogs.EditAppointment(record, FALSE, users));
    }
}

TEST_F(AppointmentDialogTest, AllDaySetsTheWholeDayAndDisablesTheTimes)
{
    ASSERT_TRUE(NewAt10([](CAppointmentDialog& d) {
        SetText(d, IDC_APPT_SUBJECT, "Urlaub");
        d.CheckDlgButton(IDC_APPT_ALL_DAY, BST_CHECKED);
        Click(d, IDC_APPT_ALL_DAY);
        EXPECT_FALSE(d.GetDlgItem(IDC_APPT_START)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(IDC_APPT_END)->IsWindowEnabled());
        Click(d, IDOK);
    }));
    auto rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(0, rows[0].second.m_pattern.m_nStartTime);
    EXPECT_EQ(1439, rows[0].second.m_pattern.m_nEndTime);
}

TEST_F(AppointmentDialogTest, PlainNotesOpenAsTextAndAreSavedAsRtfHeldTo50000Characters)
{
    CDataAppointment record;
    record.m_strUser = kUser;
    record.m_strSubject = "Notizen";
    record.m_strNotes = "Hallo Welt";
    record.m_pattern.m_nPatternStart = record.m_pattern.m_nPatternEnd = Day("2026-03-10");
    record.m_pattern.m_nStartTime = 600;
    record.m_pattern.m_nEndTime = 660;
    CStringList users;
    While([](CAppointmentDialog& d) {
        CRichEditCtrl* pNotes = (CRichEditCtrl*)d.GetDlgItem(IDC_APPT_NOTES);
        EXPECT_EQ("Hallo Welt", Text(d, IDC_APPT_NOTES));
        pNotes->SetSel(-1, -1);
        Click(d, IDOK);
    });
    ASSERT_EQ(IDOK, m_app.m_programDialogs.EditAppointment(record, FALSE, users));
    EXPECT_EQ(0, strncmp(record.m_strNotes, "{\\rtf", 5)) << (LPCTSTR)record.m_strNotes;
    CString strText;
    RtfToText(record.m_strNotes, strText);
    strText.TrimRight("\r\n");
    EXPECT_STREQ("Hallo Welt", strText);

    // Pasted text beyond the limit is not stored (Wine's rich edit pastes past the limit).
    While([](CAppointmentDialog& d) {
        CRichEditCtrl* pNotes = (CRichEditCtrl*)d.GetDlgItem(IDC_APPT_NOTES);
        EXPECT_EQ(CAppointmentDialog::kNotesLimit, pNotes->GetLimitText());
        pNotes->SetSel(0, -1);
        // Pasted from the clipboard.
        ASSERT_TRUE(OpenClipboard(d.m_hWnd));
        EmptyClipboard();
        HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, 60001);
        char* pText = (char*)GlobalLock(hText);
        memset(pText, 'a', 60000);
        pText[60000] = 0;
        GlobalUnlock(hText);
        SetClipboardData(CF_TEXT, hText);
        CloseClipboard();
        pNotes->SendMessage(WM_PASTE);
        oxtest::PumpMessages();
        Click(d, IDOK);
    });
    ASSERT_EQ(IDOK, m_app.m_programDialogs.EditAppointment(record, FALSE, users));
    RtfToText(record.m_strNotes, strText);
    strText.TrimRight("\r\n");
    EXPECT_EQ(CAppointmentDialog::kNotesLimit, strText.GetLength());
    EXPECT_EQ(strText.GetLength(), strText.SpanIncluding("a").GetLength());
}

TEST_F(AppointmentDialogTest, TheFontListsHoldTheScreensFacesAndTheirSizes)
{
    ASSERT_FALSE(NewAt10([](CAppointmentDialog& d) {
        CFontComboBox* pFonts = (CFontComboBox*)d.GetDlgItem(IDC_APPT_FONT_NAME);
        CComboBox* pSizes = (CComboBox*)d.GetDlgItem(IDC_APPT_FONT_SIZE);
        EXPECT_GT(pFonts->GetCount(), 0);
        // The editor's face is selected when the screen has it, else the first face.
        CHARFORMATA cf = {};
        ((CRichEditCtrl*)d.GetDlgItem(IDC_APPT_NOTES))->GetSelectionCharFormat(cf);
        const int nFace = pFonts->FindStringExact(-1, cf.szFaceName);
        EXPECT_EQ(nFace != CB_ERR ? nFace : 0, pFonts->GetCurSel()) << cf.szFaceName;
        EXPECT_EQ(15, pSizes->GetCount());
        d.EndDialog(IDCANCEL);
    }));
}

// The dialog grown by 200 x 150 pixels: the controls follow their anchors.
TEST_F(AppointmentDialogTest, GrownTheControlsFollowTheirAnchors)
{
    EXPECT_FALSE(NewAt10([](CAppointmentDialog& d) {
        auto rectOf = [&](int nId) {
            CRect r;
            d.GetDlgItem(nId)->GetWindowRect(r);
            d.ScreenToClient(r);
            return r;
        };
        const CRect subject = rectOf(IDC_APPT_SUBJECT), notes = rectOf(IDC_APPT_NOTES), ok = rectOf(IDOK),
                    privat = rectOf(IDC_APPT_PRIVATE), date = rectOf(IDC_APPT_DATE), help = rectOf(IDC_APPT_HELP);
        CRect window;
        d.GetWindowRect(window);
        d.SetWindowPos(NULL, 0, 0, window.Width() + 200, window.Height() + 150, SWP_NOMOVE | SWP_NOZORDER);
        oxtest::PumpMessages();
        EXPECT_EQ(subject.Width() + 200, rectOf(IDC_APPT_SUBJECT).Width());
        EXPECT_EQ(notes.Width() + 200, rectOf(IDC_APPT_NOTES).Width());
        EXPECT_EQ(notes.Height() + 150, rectOf(IDC_APPT_NOTES).Height());
        EXPECT_EQ(ok.TopLeft() + CSize(200, 150), rectOf(IDOK).TopLeft());
        EXPECT_EQ(privat.TopLeft() + CSize(200, 0), rectOf(IDC_APPT_PRIVATE).TopLeft());
        EXPECT_EQ(date, rectOf(IDC_APPT_DATE));
        EXPECT_EQ(help.TopLeft() + CSize(0, 150), rectOf(IDC_APPT_HELP).TopLeft());
        Shot(d, "grown");
        d.EndDialog(IDCANCEL);
    }));
}

// Closed grown by 200 x 150 pixels, the dialog opens again at that size, its controls laid out
// for it; the placement is the 48-byte record under "Window PositionWndPosAppointment".
TEST_F(AppointmentDialogTest, TheDialogOpensAgainAtTheSizeItWasClosedWith)
{
    CSize grown, notesGrown;
    EXPECT_FALSE(NewAt10([&](CAppointmentDialog& d) {
        CRect window;
        d.GetWindowRect(window);
        d.SetWindowPos(NULL, 0, 0, window.Width() + 200, window.Height() + 150, SWP_NOMOVE | SWP_NOZORDER);
        oxtest::PumpMessages();
        d.GetWindowRect(window);
        grown = window.Size();
        CRect notes;
        d.GetDlgItem(IDC_APPT_NOTES)->GetWindowRect(notes);
        notesGrown = notes.Size();
        d.EndDialog(IDCANCEL);
    }));

    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER, m_app.GetRegistryPath() + "\\Settings", 0, KEY_READ, &hKey));
    BYTE bytes[64] = {};
    DWORD nBytes = sizeof(bytes), nType = 0;
    const LONG nResult = RegQueryValueExA(hKey, "Window PositionWndPosAppointment", NULL, &nType, bytes, &nBytes);
    RegCloseKey(hKey);
    ASSERT_EQ(ERROR_SUCCESS, nResult);
    EXPECT_EQ((DWORD)REG_BINARY, nType);
    ASSERT_EQ(48u, nBytes);
    DWORD nReserved = 1;
    WINDOWPLACEMENT wp;
    memcpy(&nReserved, bytes, 4);
    memcpy(&wp, bytes + 4, sizeof(wp));
    EXPECT_EQ(0u, nReserved);
    EXPECT_EQ(48u, wp.length);
    EXPECT_EQ((UINT)SW_SHOWNORMAL, wp.showCmd);
    EXPECT_EQ(grown.cx, wp.rcNormalPosition.right - wp.rcNormalPosition.left);
    EXPECT_EQ(grown.cy, wp.rcNormalPosition.bottom - wp.rcNormalPosition.top);

    CSize reopened, notesReopened;
    bool bVisible = false;
    EXPECT_FALSE(NewAt10([&](CAppointmentDialog& d) {
        CRect window, notes;
        d.GetWindowRect(window);
        reopened = window.Size();
        d.GetDlgItem(IDC_APPT_NOTES)->GetWindowRect(notes);
        notesReopened = notes.Size();
        bVisible = d.IsWindowVisible() != FALSE;
        Shot(d, "reopened-grown");
        d.EndDialog(IDCANCEL);
    }));
    EXPECT_EQ(grown, reopened);
    EXPECT_EQ(notesGrown, notesReopened) << "the controls follow the restored size";
    EXPECT_TRUE(bVisible);
}

// The help button asks the application for the dialog's help; the document counts the dialog while
// it is open, and no longer once it is closed.
TEST_F(AppointmentDialogTest, TheHelpButtonAsksForItsHelpAndTheDocumentCountsTheOpenDialog)
{
    LONG nWhileOpen = -1;
    EXPECT_FALSE(NewAt10([&](CAppointmentDialog& d) {
        nWhileOpen = m_app.m_countingDocument.m_nOpenDialogs;
        Click(d, IDC_APPT_HELP);
        d.EndDialog(IDCANCEL);
    }));
    EXPECT_EQ(1, nWhileOpen);
    EXPECT_EQ(0, m_app.m_countingDocument.m_nOpenDialogs);
    ASSERT_EQ(1u, m_app.m_helpCalls.size());
    EXPECT_EQ(153u, m_app.m_helpCalls[0].first);
    EXPECT_EQ((UINT)HELP_CONTEXT, m_app.m_helpCalls[0].second);
}

// A row another handle holds locked: the edit is refused with 40011 before any dialog opens, and
// the row stays as it was.
TEST_F(AppointmentDialogTest, ARowHeldElsewhereOpensNoDialog)
{
    const long nId = MakeEntry();
    ASSERT_NE(0, nId);
    CTerminTable other(m_session.get(), FALSE);
    other.SetUserName("Bernd");
    ASSERT_NE(DB_OPEN_FAILED, other.OpenMain(m_strPath.c_str(), 0, 0));
    const long nRecNo = other.FindRecordById(controllertest::IdText(nId).c_str());
    ASSERT_GT(nRecNo, 0);
    CTerminRecordBuffer held(&other);
    held.AttachFields();
    ASSERT_EQ(0, held.LockAndRead(nRecNo));

    While([](CAppointmentDialog& d) {
        ADD_FAILURE() << "no dialog opens for a held row";
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(0, m_controller->EditAppointment(controllertest::IdText(nId).c_str()));
    EXPECT_FALSE(g_bStepRan);
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_EQ(1u, boxes.size());
    CString strInUse;
    strInUse.LoadString(40011);
    EXPECT_EQ(std::string((LPCTSTR)strInUse), boxes[0]);
    held.UnlockRecord();
    auto rows = Rows();
    ASSERT_EQ(1u, rows.size());
    EXPECT_STREQ("Besprechung", rows[0].second.m_strSubject);
}

} // namespace
