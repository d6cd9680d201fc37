// The message loop of threads and the application (idle counts, thread messages, the end through
// the main window), dialogs driven through posted messages with their data exchange and German
// validation prompts, and the library's message boxes and prompt formatting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"
#include "AfxTestResource.h"
#include "MessageBoxProbe.h"

namespace {

using Log = std::vector<std::string>;

// ---- user-interface threads ----------------------------------------------------------------------

const UINT WM_PROBE_THREAD = WM_APP + 10;

class CProbeThread : public CWinThread {
    DECLARE_DYNCREATE(CProbeThread)
public:
    static Log s_log;
    static HANDLE s_hReady;
    CWnd m_wndMain;

    BOOL InitInstance() override
    {
        s_log.push_back("InitInstance");
        if (!m_wndMain.CreateEx(0, NULL, "Faden", WS_POPUP, 0, 0, 10, 10, NULL, NULL))
            return FALSE;
        m_pMainWnd = &m_wndMain;
        SetEvent(s_hReady); // the thread has its queue and window now
        return TRUE;
    }
    BOOL OnIdle(LONG lCount) override
    {
        BOOL bMore = CWinThread::OnIdle(lCount);
        s_log.push_back("OnIdle " + std::to_string(lCount) + (bMore ? " more" : ""));
        return bMore;
    }
    int ExitInstance() override
    {
        s_log.push_back("ExitInstance " + std::to_string(AfxGetThreadState()->m_msgCur.wParam));
        return 17;
    }
    afx_msg void OnProbe(WPARAM wParam, LPARAM)
    {
        s_log.push_back("thread message " + std::to_string(wParam));
        if (wParam == 2)
            m_wndMain.PostMessage(WM_CLOSE); // the main window's end ends the loop
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CProbeThread, CWinThread)
BEGIN_MESSAGE_MAP(CProbeThread, CWinThread)
ON_THREAD_MESSAGE(WM_PROBE_THREAD, OnProbe)
END_MESSAGE_MAP()
Log CProbeThread::s_log;
HANDLE CProbeThread::s_hReady = NULL;

TEST(UserInterfaceThread, RunsItsLoopUntilItsMainWindowIsGone)
{
    CProbeThread::s_log.clear();
    CProbeThread::s_hReady = CreateEventA(NULL, TRUE, FALSE, NULL);
    CWinThread* pThread = AfxBeginThread(RUNTIME_CLASS(CProbeThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(CProbeThread::s_hReady, 10000));
    // Both arrive before the loop first looks at the queue, or between its idle rounds.
    EXPECT_TRUE(pThread->PostThreadMessage(WM_PROBE_THREAD, 1, 0));
    EXPECT_TRUE(pThread->PostThreadMessage(WM_PROBE_THREAD, 2, 0));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pThread->m_hThread, 10000));
    DWORD dwExit = 0;
    GetExitCodeThread(pThread->m_hThread, &dwExit);
    EXPECT_EQ(17u, dwExit) << "Run answers ExitInstance's code";

    // The log without the idle rounds between the messages.
    const Log& log = CProbeThread::s_log;
    Log messages;
    for (const std::string& s : log)
        if (s.rfind("OnIdle", 0) != 0)
            messages.push_back(s);
    EXPECT_EQ((Log{"InitInstance", "thread message 1", "thread message 2", "ExitInstance 0"}), messages);
    // Every idle phase counts from 0 and ends when OnIdle wants no more time.
    for (size_t i = 0; i < log.size(); i++) {
        if (log[i] == "OnIdle 1") {
            ASSERT_GT(i, 0u);
            EXPECT_EQ("OnIdle 0 more", log[i - 1]);
        }
        EXPECT_NE("OnIdle 2", log[i]) << "no idle time after OnIdle answered FALSE";
    }
    delete pThread;
    CloseHandle(CProbeThread::s_hReady);
}

// ---- the modal loop and dialogs ------------------------------------------------------------------

struct Step {
    const char* pszNumber;
    const char* pszUnsigned;
};

// A dialog that acts on its own script: after WM_INITDIALOG it types the values, presses OK, and
// then presses Cancel (which only arrives when OK was refused).
class CDataDialog : public CDialog {
public:
    CDataDialog() : CDialog(IDD_TEST_DATA) {}
    int m_nNumber = 3;
    UINT m_nUnsigned = 8;
    int m_nCheck = 1;
    CString m_strName = "Anna";
    Step m_step = {NULL, NULL};
    BOOL m_bQuit = FALSE;
    BOOL m_bCancelAfterOk = TRUE; // FALSE: whoever answers the box presses Cancel
    Log m_log;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEST_NUMBER, m_nNumber);
        DDV_MinMaxInt(pDX, m_nNumber, 1, 10);
        DDX_Text(pDX, IDC_TEST_UNSIGNED, m_nUnsigned);
        DDX_Check(pDX, IDC_TEST_CHECK, m_nCheck);
        DDX_Text(pDX, IDC_TEST_NAME, m_strName);
        DDV_MaxChars(pDX, m_strName, 5);
    }
    HWND m_hWndSeen = NULL; // the dialog's window while it was up
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_hWndSeen = m_hWnd;
        char szText[64];
        GetDlgItemText(IDC_TEST_NUMBER, szText, sizeof(szText));
        m_log.push_back(std::string("init ") + szText + (IsDlgButtonChecked(IDC_TEST_CHECK) ? " checked" : ""));
        PostMessage(WM_APP);
        return TRUE;
    }
    afx_msg LRESULT OnScript(WPARAM, LPARAM)
    {
        if (m_bQuit) {
            PostQuitMessage(7);
            return 0;
        }
        if (m_step.pszNumber != NULL)
            SetDlgItemText(IDC_TEST_NUMBER, m_step.pszNumber);
        if (m_step.pszUnsigned != NULL)
            SetDlgItemText(IDC_TEST_UNSIGNED, m_step.pszUnsigned);
        CheckDlgButton(IDC_TEST_CHECK, BST_UNCHECKED);
        PostMessage(WM_COMMAND, IDOK);
        if (m_bCancelAfterOk)
            PostMessage(WM_COMMAND, IDCANCEL);
        return 0;
    }
    void OnCancel() override
    {
        CWnd* pFocus = GetFocus();
        m_log.push_back(std::string("cancel") + (pFocus != NULL ? " focus " + std::to_string(pFocus->GetDlgCtrlID()) : ""));
        CDialog::OnCancel();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDataDialog, CDialog)
ON_MESSAGE(WM_APP, OnScript)
END_MESSAGE_MAP()

TEST(ModalDialog, DataExchangeTable)
{
    struct Case {
        Step step;
        INT_PTR nResult;
        int nNumber;
        UINT nUnsigned;
        const char* pszPrompt; // NULL: no box
    } const cases[] = {
        {{"5", "12"}, IDOK, 5, 12, NULL},
        {{" 10 ", "0"}, IDOK, 10, 0, NULL},
        {{"abc", "1"}, IDCANCEL, 3, 8, "Geben Sie bitte eine ganze Zahl ein."},
        {{"", "1"}, IDCANCEL, 3, 8, "Geben Sie bitte eine ganze Zahl ein."},
        // A value that was read is kept in its member even when a later check refuses it.
        {{"42", "1"}, IDCANCEL, 42, 8, "Geben Sie bitte eine ganze Zahl zwischen 1 und 10 ein."},
        {{"0", "1"}, IDCANCEL, 0, 8, "Geben Sie bitte eine ganze Zahl zwischen 1 und 10 ein."},
        {{"4", "-1"}, IDCANCEL, 4, 8, "Geben Sie bitte eine positive ganze Zahl ein."},
        {{"4", "4294967296"}, IDCANCEL, 4, 8, "Geben Sie bitte eine positive ganze Zahl ein."},
        {{"4", "x1"}, IDCANCEL, 4, 8, "Geben Sie bitte eine positive ganze Zahl ein."},
    };
    for (const Case& c : cases) {
        afxtest::MessageBoxProbe probe;
        CDataDialog dlg;
        dlg.m_step = c.step;
        EXPECT_EQ(c.nResult, dlg.DoModal()) << c.step.pszNumber << " / " << c.step.pszUnsigned;
        EXPECT_EQ(c.nNumber, dlg.m_nNumber) << c.step.pszNumber;
        EXPECT_EQ(c.nUnsigned, dlg.m_nUnsigned) << c.step.pszUnsigned;
        EXPECT_EQ(nullptr, dlg.m_hWnd) << "DoModal destroys the dialog";
        if (c.pszPrompt == NULL) {
            EXPECT_EQ(0, probe.m_nCalls);
            EXPECT_EQ(0, dlg.m_nCheck) << "the check box was read";
            EXPECT_EQ((Log{"init 3 checked"}), dlg.m_log);
        } else {
            EXPECT_EQ((std::vector<std::string>{c.pszPrompt}), probe.m_texts);
            EXPECT_TRUE(probe.m_lastType & MB_ICONEXCLAMATION);
            EXPECT_EQ(dlg.m_hWndSeen, probe.m_hWndLastOwner) << "the prompt belongs to the dialog being validated";
            // the refused value's control has the focus when the user goes on
            int nFocusID = c.step.pszNumber[0] != '\0' && strspn(c.step.pszNumber, "0123456789 ") == strlen(c.step.pszNumber) &&
                                   atoi(c.step.pszNumber) >= 1 && atoi(c.step.pszNumber) <= 10
                               ? IDC_TEST_UNSIGNED
                               : IDC_TEST_NUMBER;
            EXPECT_EQ((Log{"init 3 checked", "cancel focus " + std::to_string(nFocusID)}), dlg.m_log);
        }
    }
}

namespace {

// Answers the first message box of the thread that is not hWndDialog (found by a thread timer,
// which runs in the box's own loop), then presses Cancel of the dialog.
struct BoxAnswer {
    HWND hWndDialog = NULL;
    HWND hWndBox = NULL;
    HWND hWndOwner = NULL;
    BOOL bOwnerDisabled = FALSE;
    int nTicks = 0;
};
BoxAnswer g_boxAnswer;

BOOL CALLBACK FindBox(HWND hWnd, LPARAM)
{
    char szClass[16];
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (strcmp(szClass, "#32770") == 0 && hWnd != g_boxAnswer.hWndDialog && ::IsWindowVisible(hWnd)) {
        g_boxAnswer.hWndBox = hWnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, 0);
    if (g_boxAnswer.hWndBox == NULL) {
        // no box after a few seconds: the dialog is ended so that the test fails instead of hanging
        if (++g_boxAnswer.nTicks == 250 && g_boxAnswer.hWndDialog != NULL)
            ::PostMessageA(g_boxAnswer.hWndDialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    ::KillTimer(NULL, nIDEvent);
    g_boxAnswer.hWndOwner = ::GetWindow(g_boxAnswer.hWndBox, GW_OWNER);
    g_boxAnswer.bOwnerDisabled = g_boxAnswer.hWndOwner != NULL && !::IsWindowEnabled(g_boxAnswer.hWndOwner);
    ::PostMessageA(g_boxAnswer.hWndBox, WM_COMMAND, IDOK, 0);
    ::PostMessageA(g_boxAnswer.hWndDialog, WM_COMMAND, IDCANCEL, 0);
}

class CRealBoxDialog : public CDataDialog {
public:
    BOOL OnInitDialog() override
    {
        g_boxAnswer.hWndDialog = m_hWnd;
        return CDataDialog::OnInitDialog();
    }
};

} // namespace

TEST(ModalDialog, RefusedValuesBoxBelongsToTheDialogAndTheFocusGoesBack)
{
    // The system's own box: owned by the dialog (disabled meanwhile), and after it the refused
    // control has the focus.
    g_boxAnswer = BoxAnswer();
    CRealBoxDialog dlg;
    dlg.m_step = {"77", "1"};
    dlg.m_bCancelAfterOk = FALSE;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 20, &AnswerBox);
    ASSERT_NE(0u, nTimer);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ::KillTimer(NULL, nTimer);
    ASSERT_NE((HWND)NULL, g_boxAnswer.hWndBox) << "no box was shown";
    EXPECT_EQ(g_boxAnswer.hWndDialog, g_boxAnswer.hWndOwner);
    EXPECT_TRUE(g_boxAnswer.bOwnerDisabled);
    EXPECT_EQ(77, dlg.m_nNumber);
    EXPECT_EQ((Log{"init 3 checked", "cancel focus " + std::to_string(IDC_TEST_NUMBER)}), dlg.m_log);
}

TEST(ModalDialog, TooLongTextIsRefusedWithItsLimit)
{
    afxtest::MessageBoxProbe probe;
    CDataDialog dlg;
    dlg.m_strName = "Maximilian"; // longer than 5: refused on the way back
    dlg.m_step = {"5", "5"};
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ((std::vector<std::string>{"Geben Sie bitte nicht mehr als 5 Zeichen ein."}), probe.m_texts);
}

TEST(ModalDialog, QuitMessageEndsTheDialogAndStaysForTheOuterLoop)
{
    CDataDialog dlg;
    dlg.m_bQuit = TRUE;
    EXPECT_EQ(-1, dlg.DoModal());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

// Destroys itself from a handler instead of ending the dialog.
class CSelfDestroyingDialog : public CDataDialog {
public:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        PostMessage(WM_APP + 1);
        return TRUE;
    }
    afx_msg LRESULT OnDestroyNow(WPARAM, LPARAM)
    {
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfDestroyingDialog, CDataDialog)
ON_MESSAGE(WM_APP + 1, OnDestroyNow)
END_MESSAGE_MAP()

TEST(ModalDialog, DialogDestroyedInsideItsLoopEndsTheLoop)
{
    CSelfDestroyingDialog dlg;
    EXPECT_EQ(-1, dlg.DoModal()) << "the loop ends instead of waiting for an EndDialog";
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(ModalDialog, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfterwards)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "Besitzer", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, NULL, NULL));
    class COwnedDialog : public CDataDialog {
    public:
        CWnd* m_pOwner = nullptr;
        BOOL m_bOwnerEnabled = TRUE;
        HWND m_hOwnerSeen = NULL;
        BOOL OnInitDialog() override
        {
            m_bOwnerEnabled = m_pOwner->IsWindowEnabled();
            m_hOwnerSeen = ::GetWindow(m_hWnd, GW_OWNER);
            return CDataDialog::OnInitDialog();
        }
    } dlg;
    dlg.m_pParentWnd = &owner;
    dlg.m_pOwner = &owner;
    dlg.m_step = {"2", "2"};
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_FALSE(dlg.m_bOwnerEnabled);
    EXPECT_EQ(owner.m_hWnd, dlg.m_hOwnerSeen);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST(ModelessDialog, LivesUntilDestroyed)
{
    CDataDialog dlg;
    dlg.m_step = {"99", "1"}; // refused: stays open until the script's Cancel
    ASSERT_TRUE(dlg.Create(IDD_TEST_DATA));
    ASSERT_NE(nullptr, dlg.m_hWnd);
    EXPECT_EQ((Log{"init 3 checked"}), dlg.m_log);
    char szText[16] = "";
    dlg.GetDlgItemText(IDC_TEST_UNSIGNED, szText, sizeof(szText));
    EXPECT_STREQ("8", szText);
    CRect rect(0, 0, 4, 8);
    dlg.MapDialogRect(&rect);
    EXPECT_GT(rect.Width(), 0) << "dialog units become pixels";
    EXPECT_TRUE(dlg.DestroyWindow());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) // the script's posted message is dropped
        DispatchMessageA(&msg);
}

// ---- boxes and prompts -----------------------------------------------------------------------

TEST(AfxMessageBoxTest, GoesThroughTheBoxFunctionWithAnIconForItsButtons)
{
    struct Case {
        UINT nType;
        UINT nExpected;
    } const cases[] = {
        {MB_OK, MB_OK | MB_ICONEXCLAMATION},
        {MB_YESNO, MB_YESNO | MB_ICONQUESTION},
        {MB_YESNOCANCEL, MB_YESNOCANCEL | MB_ICONQUESTION},
        {MB_OK | MB_ICONSTOP, MB_OK | MB_ICONSTOP},
        {MB_RETRYCANCEL, MB_RETRYCANCEL},
    };
    for (const Case& c : cases) {
        afxtest::MessageBoxProbe probe(IDYES);
        EXPECT_EQ(IDYES, AfxMessageBox("Frage", c.nType));
        EXPECT_EQ(c.nExpected, probe.m_lastType);
        EXPECT_EQ("Frage", probe.m_lastText);
    }
    afxtest::MessageBoxProbe probe;
    AfxMessageBox(IDS_TEST_MESSAGE);
    EXPECT_EQ("Meldung aus der Ressource", probe.m_lastText);
    AfxMessageBox(AFX_IDP_PARSE_BYTE);
    EXPECT_EQ("Geben Sie bitte eine ganze Zahl zwischen 0 und 255 ein.", probe.m_lastText) << "the library's own prompt";
}

TEST(AfxFormatStringTest, ReplacesNumberedPlaces)
{
    CString str;
    AfxFormatString2(str, IDS_TEST_TWO_PLACES, "Montag", "Freitag");
    EXPECT_STREQ("Von Montag bis Freitag (%3 bleibt, 100%)", str);
    AfxFormatString1(str, IDS_TEST_TWO_PLACES, "Montag");
    EXPECT_STREQ("Von Montag bis %2 (%3 bleibt, 100%)", str);
    AfxFormatString2(str, AFX_IDP_PARSE_INT_RANGE, "-5", "5");
    EXPECT_STREQ("Geben Sie bitte eine ganze Zahl zwischen -5 und 5 ein.", str);
    LPCTSTR args[3] = {"a", NULL, "%1"};
    AfxFormatStrings(str, "%3%2%1%4", args, 3);
    EXPECT_STREQ("%1a%4", str) << "arguments are not formatted again";
}

} // namespace

namespace {

// ---- the application's start and end ---------------------------------------------------------------

class CProbeApp : public CWinApp {
public:
    Log m_log;
    BOOL m_bInitResult = TRUE;
    CWnd m_wndMain;

    BOOL InitApplication() override
    {
        m_log.push_back("InitApplication");
        return TRUE;
    }
    BOOL InitInstance() override
    {
        m_log.push_back("InitInstance");
        if (!m_wndMain.CreateEx(0, NULL, "Anwendung", WS_POPUP, 0, 0, 10, 10, NULL, NULL))
            return FALSE;
        m_pMainWnd = &m_wndMain;
        if (m_bInitResult)
            m_wndMain.PostMessage(WM_CLOSE); // the user closes the main window
        return m_bInitResult;
    }
    BOOL OnIdle(LONG lCount) override
    {
        if (lCount == 0)
            m_log.push_back("OnIdle 0");
        return CWinApp::OnIdle(lCount);
    }
    int ExitInstance() override
    {
        m_log.push_back("ExitInstance");
        CWinApp::ExitInstance();
        return 5;
    }
};

TEST(ApplicationRun, AfxWinMainRunsTheApplicationUntilItsMainWindowCloses)
{
    CProbeApp app;
    EXPECT_EQ(5, AfxWinMain(GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_HIDE));
    ASSERT_GE(app.m_log.size(), 3u);
    EXPECT_EQ("InitApplication", app.m_log[0]);
    EXPECT_EQ("InitInstance", app.m_log[1]);
    EXPECT_EQ("ExitInstance", app.m_log.back());
    EXPECT_EQ(nullptr, app.m_pMainWnd) << "the destroyed main window is no longer the application's";
    EXPECT_EQ(nullptr, app.m_wndMain.m_hWnd);
    EXPECT_EQ(&app, AfxGetApp());
}

TEST(ApplicationRun, FailedInitInstanceDestroysTheMainWindowAndEnds)
{
    CProbeApp app;
    app.m_bInitResult = FALSE;
    EXPECT_EQ(5, AfxWinMain(GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_HIDE));
    EXPECT_EQ((Log{"InitApplication", "InitInstance", "ExitInstance"}), app.m_log);
    EXPECT_EQ(nullptr, app.m_wndMain.m_hWnd);
    // the destroyed main window posted the end of the loop that never ran
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
}

} // namespace
