// The application's side of an automation server: the object count and how it ends a server
// that a client started, the message filter's answers to COM, the class factory and the
// registration below HKEY_CLASSES_ROOT.
#include <gtest/gtest.h>

#include <thread>

#include "MessageBoxProbe.h"
#include "OleTestSupport.h"

namespace {

// ---- the object count ------------------------------------------------------------------------------

class CQuitProbe : public CWnd {
public:
    BOOL m_bDestroyed = FALSE;
    void PostNcDestroy() override { m_bDestroyed = TRUE; }
};

using afxtest::QuitPosted;

TEST(OleApp, TheLastObjectEndsAServerThatTheUserDoesNotControl)
{
    struct Case {
        const char* pszWhat;
        BOOL bUserCtrl;
        BOOL bMainWindow;
        BOOL bDisabled;
        BOOL bWindowGone; // the main window was destroyed
        BOOL bQuit;       // WM_QUIT came
    };
    const Case cases[] = {
        {"a user's program goes on", TRUE, TRUE, FALSE, FALSE, FALSE},
        {"a server's main window goes, and with it the loop", FALSE, TRUE, FALSE, TRUE, TRUE},
        {"a modal dialog keeps the window", FALSE, TRUE, TRUE, FALSE, FALSE},
        {"a server without a window ends its loop", FALSE, FALSE, FALSE, FALSE, TRUE},
        {"a user's program without a window goes on", TRUE, FALSE, FALSE, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        CWinApp app("OX Zähler");
        CQuitProbe* pMain = new CQuitProbe;
        ASSERT_TRUE(pMain->CreateEx(0, NULL, "Hauptfenster", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
        if (c.bMainWindow)
            app.m_pMainWnd = pMain;
        if (c.bDisabled)
            pMain->EnableWindow(FALSE);
        AfxOleSetUserCtrl(c.bUserCtrl);
        QuitPosted();

        AfxOleLockApp();
        AfxOleLockApp();
        EXPECT_FALSE(AfxOleCanExitApp()) << c.pszWhat;
        AfxOleUnlockApp();
        EXPECT_FALSE(QuitPosted()) << c.pszWhat << ": an object is left";
        EXPECT_FALSE(pMain->m_bDestroyed) << c.pszWhat;
        AfxOleUnlockApp();
        EXPECT_TRUE(AfxOleCanExitApp()) << c.pszWhat;

        EXPECT_EQ(c.bWindowGone, pMain->m_bDestroyed) << c.pszWhat;
        EXPECT_EQ(c.bQuit, QuitPosted()) << c.pszWhat;
        // the loop goes on until WM_QUIT: messages of other windows still pass the translation
        CWnd other;
        ASSERT_TRUE(other.CreateEx(0, NULL, "Anderes", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
        MSG msg = {other.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
        EXPECT_FALSE(app.PreTranslateMessage(&msg)) << c.pszWhat;
        other.DestroyWindow();
        if (!c.bUserCtrl && !c.bDisabled) {
            EXPECT_TRUE(AfxOleGetUserCtrl()) << c.pszWhat << ": the end is taken once";
        }
        if (!pMain->m_bDestroyed)
            pMain->DestroyWindow();
        delete pMain;
        app.m_pMainWnd = NULL;
        AfxOleSetUserCtrl(TRUE);
        QuitPosted();
    }
}

TEST(OleApp, TheLastObjectReleasedOnAnotherThreadEndsTheWindowsThreadsLoop)
{
    CWinApp app("OX Zähler");
    CQuitProbe* pMain = new CQuitProbe;
    ASSERT_TRUE(pMain->CreateEx(0, NULL, "Hauptfenster", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
    app.m_pMainWnd = pMain;
    AfxOleSetUserCtrl(FALSE);
    QuitPosted();
    AfxOleLockApp();
    std::thread([] { AfxOleUnlockApp(); }).join();
    EXPECT_FALSE(pMain->m_bDestroyed) << "a window is destroyed only by its own thread";
    EXPECT_TRUE(QuitPosted());
    pMain->DestroyWindow();
    delete pMain;
    app.m_pMainWnd = NULL;
    AfxOleSetUserCtrl(TRUE);
    QuitPosted();
}

TEST(OleApp, AMainWindowThatGoesWhileObjectsAreInUseLeavesTheEndToTheLastObject)
{
    struct Case {
        const char* pszWhat;
        BOOL bClose;         // closed by the user (WM_CLOSE), else destroyed
        BOOL bWindowStays;   // the window is still there, hidden, until the last object goes
    };
    const Case cases[] = {
        {"the user closes the main frame", TRUE, TRUE},
        {"the main window is destroyed", FALSE, FALSE},
    };
    for (const Case& c : cases) {
        CWinApp app("OX Zähler");
        CFrameWnd* pFrame = new CFrameWnd;
        ASSERT_TRUE(pFrame->Create(NULL, "Hauptrahmen"));
        pFrame->ShowWindow(SW_SHOW);
        app.m_pMainWnd = pFrame;
        HWND hWnd = pFrame->m_hWnd;
        AfxOleSetUserCtrl(TRUE);
        QuitPosted();

        AfxOleLockApp();
        if (c.bClose)
            pFrame->SendMessage(WM_CLOSE);
        else
            pFrame->DestroyWindow();
        EXPECT_FALSE(QuitPosted()) << c.pszWhat << ": an object is in use";
        EXPECT_EQ(c.bWindowStays, ::IsWindow(hWnd)) << c.pszWhat;
        EXPECT_FALSE(::IsWindowVisible(hWnd)) << c.pszWhat;
        EXPECT_FALSE(AfxOleGetUserCtrl()) << c.pszWhat << ": the user can no longer end the program";

        AfxOleUnlockApp();
        EXPECT_TRUE(QuitPosted()) << c.pszWhat << ": the last object ends the program";
        EXPECT_FALSE(::IsWindow(hWnd)) << c.pszWhat;
        EXPECT_EQ(nullptr, app.m_pMainWnd) << c.pszWhat;
        AfxOleSetUserCtrl(TRUE);
    }
}

// ---- the message filter ----------------------------------------------------------------------------

TEST(OleMessageFilter, AnswersIncomingCallsByItsBusyState)
{
    COleMessageFilter filter;
    IMessageFilter* pFilter = (IMessageFilter*)filter.GetInterface(&IID_IMessageFilter);
    ASSERT_NE(nullptr, pFilter);
    EXPECT_EQ((DWORD)SERVERCALL_ISHANDLED, pFilter->HandleInComingCall(CALLTYPE_TOPLEVEL, NULL, 0, NULL));
    filter.BeginBusyState();
    filter.BeginBusyState();
    EXPECT_EQ((DWORD)SERVERCALL_RETRYLATER, pFilter->HandleInComingCall(CALLTYPE_TOPLEVEL, NULL, 0, NULL));
    filter.SetBusyReply(SERVERCALL_REJECTED);
    filter.EndBusyState();
    EXPECT_EQ((DWORD)SERVERCALL_REJECTED, pFilter->HandleInComingCall(CALLTYPE_TOPLEVEL, NULL, 0, NULL));
    filter.EndBusyState();
    filter.EndBusyState(); // one too many changes nothing
    EXPECT_EQ((DWORD)SERVERCALL_ISHANDLED, pFilter->HandleInComingCall(CALLTYPE_TOPLEVEL, NULL, 0, NULL));
    filter.BeginBusyState();
    EXPECT_EQ((DWORD)SERVERCALL_REJECTED, pFilter->HandleInComingCall(CALLTYPE_TOPLEVEL, NULL, 0, NULL))
        << "the count stays at 0 below";
}

TEST(OleMessageFilter, RetriesABusyCallUntilTheDelayThenAsksTheUser)
{
    struct Step {
        DWORD dwTick;
        DWORD dwRejectType;
        int nAnswer;   // the box's answer, 0 when no box may come
        DWORD dwReply; // what COM is told
    };
    struct Case {
        const char* pszWhat;
        BOOL bEnableBusy;
        std::vector<Step> steps;
    };
    const DWORD RETRY = 250;
    const Case cases[] = {
        {"retried within the delay", TRUE, {{0, SERVERCALL_RETRYLATER, 0, RETRY}, {999, SERVERCALL_RETRYLATER, 0, RETRY}}},
        {"a rejected call is cancelled at once", TRUE, {{0, SERVERCALL_REJECTED, 0, (DWORD)-1}}},
        {"after the delay the user cancels",
         TRUE,
         {{500, SERVERCALL_RETRYLATER, 0, RETRY}, {1000, SERVERCALL_RETRYLATER, IDCANCEL, (DWORD)-1}}},
        {"the user retries: another delay before the next box",
         TRUE,
         {{1000, SERVERCALL_RETRYLATER, IDRETRY, RETRY},
          {1500, SERVERCALL_RETRYLATER, 0, RETRY},
          {2000, SERVERCALL_RETRYLATER, IDCANCEL, (DWORD)-1}}},
        {"without the box: retried for ever", FALSE, {{5000, SERVERCALL_RETRYLATER, 0, RETRY}}},
    };
    for (const Case& c : cases) {
        COleMessageFilter filter;
        filter.SetMessagePendingDelay(1000);
        filter.SetRetryReply(RETRY);
        filter.EnableBusyDialog(c.bEnableBusy);
        IMessageFilter* pFilter = (IMessageFilter*)filter.GetInterface(&IID_IMessageFilter);
        for (const Step& step : c.steps) {
            afxtest::MessageBoxProbe boxes(step.nAnswer);
            EXPECT_EQ(step.dwReply, pFilter->RetryRejectedCall(NULL, step.dwTick, step.dwRejectType))
                << c.pszWhat << " at " << step.dwTick;
            EXPECT_EQ(step.nAnswer != 0 ? 1 : 0, boxes.m_nCalls) << c.pszWhat << " at " << step.dwTick;
            if (boxes.m_nCalls != 0) {
                EXPECT_NE(std::string::npos, boxes.m_lastText.find("beschäftigt"));
                EXPECT_EQ((UINT)(MB_RETRYCANCEL | MB_ICONEXCLAMATION), boxes.m_lastType & (MB_TYPEMASK | MB_ICONMASK));
            }
        }
    }
}

TEST(OleMessageFilter, AsksWhetherToWaitOnWhenTheUserPressesAKeyDuringALongCall)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "Warten", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, NULL, NULL));
    struct Case {
        DWORD dwTick;
        BOOL bKey;
        BOOL bEnable;
        int nAnswer;
        DWORD dwResult;
    };
    const Case cases[] = {
        {500, TRUE, TRUE, 0, PENDINGMSG_WAITDEFPROCESS},             // not long yet
        {2000, FALSE, TRUE, 0, PENDINGMSG_WAITDEFPROCESS},           // long, but no input
        {2000, TRUE, TRUE, IDCANCEL, PENDINGMSG_CANCELCALL},
        {2000, TRUE, TRUE, IDRETRY, PENDINGMSG_WAITDEFPROCESS},
        {2000, TRUE, FALSE, 0, PENDINGMSG_WAITDEFPROCESS},           // the box is off
    };
    for (const Case& c : cases) {
        afxtest::PumpMessages();
        COleMessageFilter filter;
        filter.SetMessagePendingDelay(1000);
        filter.EnableNotRespondingDialog(c.bEnable);
        IMessageFilter* pFilter = (IMessageFilter*)filter.GetInterface(&IID_IMessageFilter);
        if (c.bKey)
            PostMessageA(wnd.m_hWnd, WM_KEYDOWN, 'A', 0);
        afxtest::MessageBoxProbe boxes(c.nAnswer);
        EXPECT_EQ(c.dwResult, pFilter->MessagePending(NULL, c.dwTick, PENDINGTYPE_TOPLEVEL)) << c.dwTick << c.bKey;
        EXPECT_EQ(c.nAnswer != 0 ? 1 : 0, boxes.m_nCalls) << c.dwTick << c.bKey;
        if (c.nAnswer == IDRETRY) {
            // the key that raised the box does not raise it again
            EXPECT_EQ(c.dwResult, pFilter->MessagePending(NULL, c.dwTick + 100, PENDINGTYPE_TOPLEVEL));
            EXPECT_EQ(1, boxes.m_nCalls);
        }
    }
    wnd.DestroyWindow();
}

TEST(OleMessageFilter, AfxOleInitRegistersTheApplicationsFilter)
{
    // the program's OLE environment called AfxOleInit
    COleMessageFilter* pFilter = AfxOleGetMessageFilter();
    ASSERT_NE(nullptr, pFilter);
    LPMESSAGEFILTER lpOld = NULL;
    ASSERT_EQ(S_OK, CoRegisterMessageFilter(NULL, &lpOld));
    EXPECT_EQ(pFilter->GetMessageFilter(), lpOld) << "COM holds the application's filter";
    LPMESSAGEFILTER lpNone = NULL;
    CoRegisterMessageFilter(lpOld, &lpNone);
    if (lpOld != NULL)
        lpOld->Release();
}

// ---- the class factory and registration ----------------------------------------------------------

int g_nMade = 0;

class CMade : public CCmdTarget {
    DECLARE_DYNCREATE(CMade)
public:
    CMade()
    {
        EnableAutomation();
        g_nMade++;
    }
    ~CMade() { g_nMade--; }
    long m_nValue = 5;
    DECLARE_DISPATCH_MAP()
};

IMPLEMENT_DYNCREATE(CMade, CCmdTarget)

BEGIN_DISPATCH_MAP(CMade, CCmdTarget)
DISP_PROPERTY(CMade, "Value", m_nValue, VT_I4)
END_DISPATCH_MAP()

// A class that is no command target.
class CNotTarget : public CObject {
    DECLARE_DYNCREATE(CNotTarget)
};

IMPLEMENT_DYNCREATE(CNotTarget, CObject)

// {A3E0C5B1-6D2F-4E8A-B7C9-1F2E3D4C5B01}
const CLSID CLSID_Made = {0xa3e0c5b1, 0x6d2f, 0x4e8a, {0xb7, 0xc9, 0x1f, 0x2e, 0x3d, 0x4c, 0x5b, 0x01}};
const char kMadeProgID[] = "OX.Test.Made";
const char kMadeClsid[] = "{A3E0C5B1-6D2F-4E8A-B7C9-1F2E3D4C5B01}";

TEST(OleObjectFactory, CreatesObjectsWhoseOnlyReferenceIsTheClients)
{
    COleObjectFactory factory(CLSID_Made, RUNTIME_CLASS(CMade), FALSE, kMadeProgID);
    IClassFactory* pFactory = factory.GetClassFactory();

    IDispatch* pDispatch = NULL;
    ASSERT_EQ(S_OK, pFactory->CreateInstance(NULL, IID_IDispatch, (void**)&pDispatch));
    EXPECT_EQ(1, g_nMade);
    EXPECT_EQ(1, CCmdTarget::FromIDispatch(pDispatch)->m_dwRef);
    afxtest::CallResult r;
    afxtest::Call(r, pDispatch, 1, DISPATCH_PROPERTYGET);
    EXPECT_EQ(5, r.result.v.lVal);
    pDispatch->Release();
    EXPECT_EQ(0, g_nMade);

    void* pObject = &factory;
    EXPECT_EQ(E_NOINTERFACE, pFactory->CreateInstance(NULL, IID_IClassFactory, &pObject));
    EXPECT_EQ(nullptr, pObject);
    EXPECT_EQ(0, g_nMade) << "an object without the interface is gone again";
    EXPECT_EQ(CLASS_E_NOAGGREGATION, pFactory->CreateInstance(pFactory, IID_IUnknown, &pObject));

    COleObjectFactory notTarget(CLSID_Made, RUNTIME_CLASS(CNotTarget), FALSE, NULL);
    EXPECT_EQ(E_OUTOFMEMORY, notTarget.GetClassFactory()->CreateInstance(NULL, IID_IUnknown, &pObject));

    EXPECT_TRUE(AfxOleCanExitApp());
    pFactory->LockServer(TRUE);
    EXPECT_FALSE(AfxOleCanExitApp()) << "a locked factory keeps the server";
    pFactory->LockServer(FALSE);
    EXPECT_TRUE(AfxOleCanExitApp());

    // The module's factories are kept in one list.
    int nFound = 0;
    for (COleObjectFactory* p = COleObjectFactory::GetFirstFactory(); p != NULL; p = p->m_pNextFactory)
        nFound += (p == &factory || p == &notTarget) ? 1 : 0;
    EXPECT_EQ(2, nFound);
}

TEST(OleObjectFactory, RegisteredFactoriesServeCreationRequests)
{
    COleObjectFactory factory(CLSID_Made, RUNTIME_CLASS(CMade), FALSE, kMadeProgID);
    EXPECT_FALSE(factory.IsRegistered());
    ASSERT_TRUE(factory.Register());
    EXPECT_TRUE(factory.IsRegistered());
    IDispatch* pDispatch = NULL;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_Made, NULL, CLSCTX_LOCAL_SERVER, IID_IDispatch, (void**)&pDispatch));
    EXPECT_EQ(1, g_nMade);
    pDispatch->Release();
    factory.Revoke();
    EXPECT_FALSE(factory.IsRegistered());
    EXPECT_NE(S_OK, CoCreateInstance(CLSID_Made, NULL, CLSCTX_LOCAL_SERVER, IID_IDispatch, (void**)&pDispatch))
        << "a revoked factory serves nobody";
    EXPECT_EQ(0, g_nMade);
}

TEST(OleRegistration, WritesAnAutomationServersKeysAndRemovesThem)
{
    char szPath[MAX_PATH];
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    AfxOleUnregisterClass(CLSID_Made, kMadeProgID);

    COleObjectFactory factory(CLSID_Made, RUNTIME_CLASS(CMade), FALSE, kMadeProgID);
    ASSERT_TRUE(factory.UpdateRegistry(TRUE));
    std::string strValue;
    struct Key {
        std::string strKey;
        std::string strValue;
    };
    const Key keys[] = {
        {kMadeProgID, kMadeProgID},
        {std::string(kMadeProgID) + "\\CLSID", kMadeClsid},
        {std::string("CLSID\\") + kMadeClsid, kMadeProgID},
        {std::string("CLSID\\") + kMadeClsid + "\\ProgID", kMadeProgID},
        {std::string("CLSID\\") + kMadeClsid + "\\LocalServer32", std::string(szPath) + " /Automation"},
    };
    for (const Key& key : keys) {
        EXPECT_TRUE(afxtest::ReadClassesValue(key.strKey, &strValue)) << key.strKey;
        EXPECT_EQ(key.strValue, strValue) << key.strKey;
    }
    CLSID clsid;
    ASSERT_EQ(S_OK, AfxGetClassIDFromString(kMadeProgID, &clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_Made, clsid)) << "COM finds the class by its ProgID";

    ASSERT_TRUE(factory.UpdateRegistry(FALSE));
    for (const Key& key : keys)
        EXPECT_FALSE(afxtest::ReadClassesValue(key.strKey, &strValue)) << key.strKey << " is gone";
    EXPECT_TRUE(AfxOleUnregisterClass(CLSID_Made, kMadeProgID)) << "removing what is not there is no error";
}

TEST(OleRegistration, AddsEntriesWithPlaceholdersAndKeepsValuesOnlyWhereAsked)
{
    AfxOleUnregisterClass(CLSID_Made, kMadeProgID);
    // a value that exists already
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueA(HKEY_CLASSES_ROOT, (std::string(kMadeProgID) + "\\Vorhanden").c_str(),
                                          REG_SZ, "alt", 3));
    LPCTSTR rglpszRegister[] = {"%2\\Vorhanden\0neu", "%2\\Neu\0%1 %4", NULL};
    LPCTSTR rglpszOverwrite[] = {"%2\\Immer\0%5", NULL};
    ASSERT_TRUE(AfxOleRegisterServerClass(CLSID_Made, kMadeProgID, "Kurz", "Ein langer Name", OAT_DISPATCH_OBJECT,
                                          rglpszRegister, rglpszOverwrite));
    std::string strValue;
    EXPECT_TRUE(afxtest::ReadClassesValue(std::string(kMadeProgID) + "\\Vorhanden", &strValue));
    EXPECT_EQ("alt", strValue) << "a registration entry keeps an existing value";
    EXPECT_TRUE(afxtest::ReadClassesValue(std::string(kMadeProgID) + "\\Neu", &strValue));
    EXPECT_EQ(std::string(kMadeClsid) + " Kurz", strValue);
    EXPECT_TRUE(afxtest::ReadClassesValue(std::string(kMadeProgID) + "\\Immer", &strValue));
    EXPECT_EQ("Ein langer Name", strValue);
    EXPECT_TRUE(afxtest::ReadClassesValue(kMadeProgID, &strValue));
    EXPECT_EQ("Ein langer Name", strValue) << "the long type name";
    EXPECT_TRUE(AfxOleUnregisterClass(CLSID_Made, kMadeProgID));
    EXPECT_FALSE(afxtest::ReadClassesValue(std::string(kMadeProgID) + "\\Immer", &strValue));

    // Other kinds of servers are refused and write nothing.
    EXPECT_FALSE(AfxOleRegisterServerClass(CLSID_Made, kMadeProgID, "Kurz", "Lang", OAT_INPLACE_SERVER));
    EXPECT_FALSE(afxtest::ReadClassesValue(kMadeProgID, &strValue));
    EXPECT_FALSE(AfxOleRegisterServerClass(CLSID_Made, NULL, "Kurz", "Lang", OAT_DISPATCH_OBJECT));
}

} // namespace
