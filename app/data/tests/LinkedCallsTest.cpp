// The automation side of linked applications, against fake_linked_app.exe (registered by the
// suite below HKEY_CLASSES_ROOT, logging every call with what it read from the entry object):
// the start of the application from the ".EXE" of its ".OVL" registration (once; afterwards it is
// found running), the jump to an entry's linked record with its messages, the four calls with
// their arguments in order, the actions of a linked application, and the action thread, which
// calls on a connection of its own while the user-interface thread keeps its one.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ActionJob.h"
#include "CLinkedApplication.h"
#include "CRegistryKey.h"
#include "CTestEntryObjects.h"
#include "ControllerTestKit.h"
#include "DataStrings.h"
#include "FakeLinkedAppShared.h"
#include "TestKit.h"

namespace {

using namespace controllertest;

const char kBareWindowClass[] = "OXFakeLinkedBareWindow";
const char kNoSuchProgId[] = "OX.NoSuchLinkedApp";

std::string g_strLog;

// A message text as the controls library logs it (line breaks as the two characters "\n").
std::string LoggedText(UINT nId)
{
    std::string text = ResourceText(nId);
    for (size_t i = 0; (i = text.find('\n', i)) != std::string::npos; i += 2)
        text.replace(i, 1, "\\n");
    return text;
}

std::vector<std::string> LogLines() { return oxtest::SplitLines(oxtest::ReadFileText(g_strLog)); }

bool SetClassKey(const std::string& key, const std::string& value)
{
    return RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), (DWORD)value.size()) == ERROR_SUCCESS;
}

void RegisterClassKeys(const char* pszProgId, REFCLSID clsid, const std::string& server)
{
    LPOLESTR pszClsid = NULL;
    ASSERT_EQ(S_OK, StringFromCLSID(clsid, &pszClsid));
    const std::string strClsid = (LPCTSTR)CString(pszClsid);
    CoTaskMemFree(pszClsid);
    ASSERT_TRUE(SetClassKey(std::string(pszProgId) + "\\CLSID", strClsid));
    ASSERT_TRUE(SetClassKey("CLSID\\" + strClsid + "\\ProgID", pszProgId));
    ASSERT_TRUE(SetClassKey("CLSID\\" + strClsid + "\\LocalServer32", server));
}

void RemoveClassKeys(const char* pszProgId, REFCLSID clsid)
{
    LPOLESTR pszClsid = NULL;
    if (FAILED(StringFromCLSID(clsid, &pszClsid)))
        return;
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + std::string((LPCTSTR)CString(pszClsid))).c_str());
    CoTaskMemFree(pszClsid);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, pszProgId);
}

// Ends a running fake application through its Quit and waits (at most 20 s) for its process.
void QuitRunningApplication()
{
    IUnknown* pUnknown = NULL;
    if (FAILED(GetActiveObject(CLSID_FakeLinkedApp, NULL, &pUnknown)) || pUnknown == NULL)
        return;
    DWORD dwPid = 0;
    for (const std::string& line : LogLines())
        if (line.rfind("start ", 0) == 0 && line.find(" user") != std::string::npos)
            dwPid = strtoul(line.c_str() + 6, NULL, 10);
    HANDLE hProcess = dwPid != 0 ? OpenProcess(SYNCHRONIZE, FALSE, dwPid) : NULL;
    LPDISPATCH pDispatch = NULL;
    if (SUCCEEDED(pUnknown->QueryInterface(IID_IDispatch, (void**)&pDispatch))) {
        COleDispatchDriver app(pDispatch);
        DISPID dispid;
        LPOLESTR pszQuit = const_cast<LPOLESTR>(L"Quit");
        if (SUCCEEDED(pDispatch->GetIDsOfNames(IID_NULL, &pszQuit, 1, LOCALE_SYSTEM_DEFAULT, &dispid)))
            app.InvokeHelper(dispid, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    }
    pUnknown->Release();
    if (hProcess != NULL) {
        WaitForSingleObject(hProcess, 20000);
        CloseHandle(hProcess);
    }
}

// Runs the function on a thread of its own with COM initialised there; its result.
template <typename T>
T OnComThread(std::function<T()> function)
{
    T result{};
    std::thread thread([&] {
        CoInitialize(NULL);
        result = function();
        CoUninitialize();
    });
    thread.join();
    return result;
}

// Dispatches the thread's messages until the condition holds or 20 s have passed.
bool PumpUntil(const std::function<bool()>& condition)
{
    const DWORD dwStart = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - dwStart > 20000)
            return false;
        oxtest::PumpMessages();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Runs the job as the program does, on a worker thread of its own, and waits for its end while
// the messages of this thread are dispatched.
void RunJob(ActionJob* pJob)
{
    CWinThread* pThread = AfxBeginThread(RunActionThread, pJob, THREAD_PRIORITY_BELOW_NORMAL, 512, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    EXPECT_TRUE(PumpUntil([&] { return WaitForSingleObject(pThread->m_hThread, 0) == WAIT_OBJECT_0; }));
    delete pThread;
}

class LinkedCallsTest : public ControllerTest {
protected:
    static void SetUpTestSuite()
    {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        g_strLog = std::string(szTemp) + "ox_fake_linked_" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(g_strLog.c_str());
        // the application started by the tests inherits it
        SetEnvironmentVariableA(FLA_LOG_VARIABLE, g_strLog.c_str());
        // The application object's server is registered as a ".ovl" file, which does not exist:
        // only its ".EXE" can be started. The object without the methods is made by COM.
        RegisterClassKeys(FLA_PROGID, CLSID_FakeLinkedApp, oxtest::ProgramDir() + "\\fake_linked_app.ovl");
        RegisterClassKeys(FLA_BARE_PROGID, CLSID_FakeLinkedBare, oxtest::ProgramDir() + "\\fake_linked_app.exe");

        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = kBareWindowClass;
        RegisterClassA(&wc);
    }

    static void TearDownTestSuite()
    {
        CoInitialize(NULL);
        QuitRunningApplication();
        CoUninitialize();
        RemoveClassKeys(FLA_PROGID, CLSID_FakeLinkedApp);
        RemoveClassKeys(FLA_BARE_PROGID, CLSID_FakeLinkedBare);
        SetEnvironmentVariableA(FLA_LOG_VARIABLE, NULL);
        DeleteFileA(g_strLog.c_str());
    }

    void SetUp() override
    {
        ControllerTest::SetUp();
        CoInitialize(NULL);
        m_app.m_frame.MakeWindow();
        m_app.m_pEntryObjects = &m_objects;
        // "FAKE" offers the action "FAKEACT"; "BARE" has a main window (the test's) but no
        // running object; "NOPROG" names a class that is not registered.
        SetString("FAKE", "Title", "Kundendatei");
        SetString("FAKE", "ProgID", FLA_PROGID);
        SetString("FAKE\\Actions\\FAKEACT", "Title", "Vorgang anlegen");
        SetString("BARE", "ProgID", FLA_BARE_PROGID);
        SetString("BARE", "ClassName", kBareWindowClass);
        SetString("NOPROG", "ProgID", kNoSuchProgId);
        m_hBareWindow = CreateWindowA(kBareWindowClass, "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, GetModuleHandleA(NULL),
                                      NULL);
        ASSERT_NE(nullptr, m_hBareWindow);
    }

    void TearDown() override
    {
        ControllerTest::TearDown();
        if (m_hBareWindow != NULL)
            DestroyWindow(m_hBareWindow);
        CoUninitialize();
    }

    void SetString(const std::string& path, const char* name, const char* text)
    {
        const std::string key = std::string((LPCTSTR)m_app.GetRegistryPath()) + "\\Apps\\" + path;
        ASSERT_TRUE(CRegistryKey(HKEY_CURRENT_USER).WriteString(key.c_str(), name, text));
    }

    // The log's lines written after the first n.
    static std::vector<std::string> LinesAfter(size_t n)
    {
        std::vector<std::string> lines = LogLines();
        return std::vector<std::string>(lines.begin() + (ptrdiff_t)std::min(n, lines.size()), lines.end());
    }

    // Calls only: the log's lines after the first n without the starts.
    static std::vector<std::string> CallsAfter(size_t n)
    {
        std::vector<std::string> calls;
        for (const std::string& line : LinesAfter(n))
            if (line.rfind("start ", 0) != 0)
                calls.push_back(line);
        return calls;
    }

    // Every entry object was released (the application's references come back through COM).
    bool EntryObjectsReleased() { return PumpUntil([] { return CTestEntryObject::Alive() == 0; }); }

    CTestEntryObjects m_objects;
    HWND m_hBareWindow = NULL;
};

// First of the suite: the application is not running yet, so the first call starts it.
TEST_F(LinkedCallsTest, TheFirstJumpStartsTheApplicationFromTheExeOfItsOvlRegistration)
{
    Write({Entry{.subject = "Besprechung", .dbPath = "C:\\Daten\\kunden.dbf", .dbRecId = 123, .appId = "FAKE"}});
    CDataController& c = Start();
    const size_t nBefore = LogLines().size();

    EXPECT_EQ(1, c.GoToLinkedRecord(IdText(Id("Besprechung")).c_str()));

    EXPECT_TRUE(BoxTexts().empty());
    std::vector<std::string> lines = LinesAfter(nBefore);
    ASSERT_EQ(2u, lines.size());
    // started as a program (by the shell, not by COM), then called with the entry's object
    EXPECT_EQ(0u, lines[0].find("start ")) << lines[0];
    EXPECT_NE(std::string::npos, lines[0].find(" user")) << lines[0];
    EXPECT_EQ("OXJumpToRec|C:\\Daten\\kunden.dbf|123|Termin:Besprechung", lines[1]);
    CLinkedApplication* pApplication = c.FindLinkedApplication("FAKE");
    ASSERT_NE(nullptr, pApplication);
    EXPECT_EQ(1, pApplication->m_bStarted);
    EXPECT_NE(nullptr, pApplication->m_pDispatch);
    EXPECT_NE(nullptr, pApplication->m_pUnknown);
    EXPECT_TRUE(EntryObjectsReleased());
    EXPECT_EQ(0, *c.GetBusyCounter());

    // The connection is kept; Disconnect lets it go.
    pApplication->Disconnect();
    EXPECT_EQ(nullptr, pApplication->m_pDispatch);
    EXPECT_EQ(nullptr, pApplication->m_pUnknown);
    EXPECT_EQ(0, pApplication->m_bStarted);
}

TEST_F(LinkedCallsTest, JumpToLinkedRecord)
{
    const char kPath[] = "D:\\crm\\vorgang.dbf";
    const struct Case {
        const char* subject;
        const char* appId;
        const char* dbPath;
        long recId;
        bool todo;
        bool objects; // the application has automation objects of entries
        int result;
        UINT box;     // 0: none
        const char* call;
    } cases[] = {
        {"Aufgabe verknüpft", "FAKE", kPath, 77, true, true, 1, 0, "OXJumpToRec|D:\\crm\\vorgang.dbf|77|Aufgabe:Aufgabe verknüpft"},
        {"große Nummer", "FAKE", kPath, 2147483647, false, true, 1, 0,
         "OXJumpToRec|D:\\crm\\vorgang.dbf|2147483647|Termin:große Nummer"},
        {"ohne Datensatznummer", "FAKE", kPath, 0, false, true, 0, IDS_NOT_LINKED, nullptr},
        {"ohne Anwendung", "", kPath, 5, false, true, 0, IDS_NOT_LINKED, nullptr},
        {"ohne Datenbankpfad", "FAKE", "", 5, false, true, 0, IDS_NOT_LINKED, nullptr},
        {"unbekannte ProgID", "NOPROG", kPath, 5, false, true, 0, IDS_LINKED_JUMP_FAILED, nullptr},
        {"Anwendung ohne die Methode", "BARE", kPath, 5, false, true, 0, IDS_LINKED_JUMP_FAILED, nullptr},
        {"Anwendung nicht in der Liste", "GONE", kPath, 5, false, true, 0, IDS_LINKED_JUMP_FAILED, nullptr},
        {"ohne Automationsobjekte", "FAKE", kPath, 5, false, false, 0, IDS_LINKED_JUMP_FAILED, nullptr},
    };
    std::vector<Entry> entries;
    for (const Case& k : cases)
        entries.push_back(
            Entry{.subject = k.subject, .todo = k.todo, .dbPath = k.dbPath, .dbRecId = k.recId, .appId = k.appId});
    Write(entries);
    CDataController& c = Start();
    const size_t nFirst = LogLines().size();

    for (const Case& k : cases) {
        SCOPED_TRACE(k.subject);
        m_app.m_pEntryObjects = k.objects ? &m_objects : NULL;
        m_log.Clear();
        const size_t nBefore = LogLines().size();

        EXPECT_EQ(k.result, c.GoToLinkedRecord(IdText(Id(k.subject)).c_str()));

        EXPECT_EQ(k.box != 0 ? std::vector<std::string>{LoggedText(k.box)} : std::vector<std::string>{}, BoxTexts());
        EXPECT_EQ(k.call != nullptr ? std::vector<std::string>{k.call} : std::vector<std::string>{}, CallsAfter(nBefore));
        EXPECT_TRUE(EntryObjectsReleased());
        EXPECT_EQ(0, *c.GetBusyCounter());
    }

    // The application whose main window exists was not started but made by COM.
    CLinkedApplication* pBare = c.FindLinkedApplication("BARE");
    ASSERT_NE(nullptr, pBare);
    EXPECT_NE(nullptr, pBare->m_pDispatch);
    EXPECT_EQ(0, pBare->m_bStarted);
    // Nothing was started as a program: the running application was found.
    for (const std::string& line : LinesAfter(nFirst))
        EXPECT_EQ(std::string::npos, line.find(" user")) << line;

    // An id of no entry: nothing happens.
    m_log.Clear();
    const size_t nBefore = LogLines().size();
    EXPECT_EQ(0, c.GoToLinkedRecord(IdText(999999).c_str()));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(CallsAfter(nBefore).empty());
}

TEST_F(LinkedCallsTest, TheFourCallsPassTheirArgumentsInOrder)
{
    CLinkedApplication fake("FAKE");
    fake.m_strProgId = FLA_PROGID;
    CLinkedApplication bare("BARE");
    bare.m_strProgId = FLA_BARE_PROGID;
    bare.m_strWindowClass = kBareWindowClass;
    CLinkedApplication unknown("NOPROG");
    unknown.m_strProgId = kNoSuchProgId;
    CLinkedApplication noProgId("NONE");

    LPDISPATCH pEntry = m_objects.CreateEntryObject(Record(Entry{"Angebot"}));
    const struct Call {
        const char* name;
        std::function<int(CLinkedApplication&, VARIANT&)> call;
        COleVariant in;
        const char* logged;
        const char* answered; // the variant after the call to the fake application
    } calls[] = {
        {"AddContToRec", [&](CLinkedApplication& a, VARIANT&) { return a.AddContToRec("42", "D:\\db\\adr.dbf", pEntry); },
         {}, "OXAddContToRec|D:\\db\\adr.dbf|42|Termin:Angebot", nullptr},
        {"JumpToRec", [&](CLinkedApplication& a, VARIANT&) { return a.JumpToRec("43", "D:\\db\\adr.dbf", pEntry); }, {},
         "OXJumpToRec|D:\\db\\adr.dbf|43|Termin:Angebot", nullptr},
        {"ExecuteAction",
         [&](CLinkedApplication& a, VARIANT& v) { return a.ExecuteAction("AKTION", v, pEntry, 4711); },
         COleVariant("Parameter"), "OXExecuteAction|AKTION|Termin:Angebot|4711|8:Parameter", nullptr},
        {"GetActionData", [&](CLinkedApplication& a, VARIANT& v) { return a.GetActionData("DATEN", v, pEntry, -1); },
         COleVariant(5L), "OXGetActionData|DATEN|3:5|Termin:Angebot|-1", "vom Server"},
    };
    for (const Call& k : calls) {
        SCOPED_TRACE(k.name);
        // Only the application with the methods is called; without them, or without a class, 0.
        for (CLinkedApplication* pApplication : {&fake, &bare, &unknown, &noProgId}) {
            SCOPED_TRACE((LPCTSTR)pApplication->m_strId);
            const bool bFake = pApplication == &fake;
            COleVariant var(k.in);
            const size_t nBefore = LogLines().size();
            EXPECT_EQ(bFake ? 1 : 0, k.call(*pApplication, var));
            EXPECT_EQ(bFake ? std::vector<std::string>{k.logged} : std::vector<std::string>{}, CallsAfter(nBefore));
            const COleVariant expected = bFake && k.answered != nullptr ? COleVariant(k.answered) : k.in;
            EXPECT_TRUE(VarCmp(&var, const_cast<COleVariant*>(&expected), LOCALE_USER_DEFAULT, 0) == VARCMP_EQ ||
                        (var.vt == VT_EMPTY && expected.vt == VT_EMPTY));
        }
    }
    pEntry->Release();
    EXPECT_TRUE(EntryObjectsReleased());
    EXPECT_EQ(1, fake.m_bStarted);
    EXPECT_EQ(0, bare.m_bStarted);
}

TEST_F(LinkedCallsTest, ActionOfALinkedApplication)
{
    CDataController& c = Start();
    CLinkedApplication* pApplication = c.FindLinkedApplication("FAKE");
    ASSERT_NE(nullptr, pApplication);
    CLinkedAction* pAction = pApplication->FindAction("FAKEACT");
    ASSERT_NE(nullptr, pAction);
    CString strWindow;
    strWindow.Format("%ld", (long)(ULONG)(ULONG_PTR)m_hBareWindow);

    const struct Case {
        const char* subject;
        bool todo;
        bool binary;
        const char* text;
        std::vector<BYTE> bytes;
        HWND hOwner;
        bool objects;
        int result;
        std::string logged;
    } cases[] = {
        {"Text", false, false, "Kundennummer 4711", {}, m_hBareWindow, true, 1,
         "OXExecuteAction|FAKEACT|Termin:Text|" + std::string((LPCTSTR)strWindow) + "|8:Kundennummer 4711"},
        {"Bytes", true, true, "", {0x01, 0x02, 0xFF}, NULL, true, 1, "OXExecuteAction|FAKEACT|Aufgabe:Bytes|0|8209:01 02 FF"},
        {"ohne Automationsobjekte", false, false, "x", {}, NULL, false, 0, ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.subject);
        CDataAppointment entry = Record(Entry{.subject = k.subject, .todo = k.todo});
        entry.m_action.m_strName = "FAKEACT";
        entry.m_action.m_bBinary = k.binary;
        entry.m_action.m_strParameter = k.text;
        for (BYTE b : k.bytes)
            entry.m_action.m_binParameter.Add(b);
        m_app.m_pEntryObjects = k.objects ? &m_objects : NULL;
        const size_t nBefore = LogLines().size();

        EXPECT_EQ(k.result, pAction->Execute(k.hOwner, pApplication, entry));

        EXPECT_EQ(k.logged.empty() ? std::vector<std::string>{} : std::vector<std::string>{k.logged},
                  CallsAfter(nBefore));
        EXPECT_TRUE(EntryObjectsReleased());
    }
}

TEST_F(LinkedCallsTest, TheActionThreadCallsOnAConnectionOfItsOwn)
{
    CDataController& c = Start();
    CLinkedApplication* pApplication = c.FindLinkedApplication("FAKE");
    ASSERT_NE(nullptr, pApplication);
    ASSERT_TRUE(pApplication->Connect());
    LPDISPATCH pHeld = pApplication->m_pDispatch;

    // The user-interface thread's interface pointer is no good on another thread: COM refuses it
    // there (this is what the action thread would run into with a shared connection).
    EXPECT_EQ(RPC_E_WRONG_THREAD, OnComThread<HRESULT>([&] {
                  DISPID dispid;
                  LPOLESTR pszName = const_cast<LPOLESTR>(L"OXExecuteAction");
                  return pHeld->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_SYSTEM_DEFAULT, &dispid);
              }));
    // Connect on another thread leaves the held connection alone.
    EXPECT_FALSE(OnComThread<BOOL>([&] { return pApplication->Connect(); }));
    EXPECT_EQ(pHeld, pApplication->m_pDispatch);

    const struct Case {
        const char* subject;
        const char* action;
        bool withApplication;
        const char* logged;
    } cases[] = {
        {"im Thread", "FAKEACT", true, "OXExecuteAction|FAKEACT|Termin:im Thread|0|8:aus dem Thread"},
        {"unbekannte Aktion", "NOSUCH", true, nullptr},
        {"ohne Anwendung", "FAKEACT", false, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.subject);
        CDataAppointment entry = Record(Entry{k.subject});
        entry.m_action.m_strName = k.action;
        entry.m_action.m_strParameter = "aus dem Thread";
        const size_t nBefore = LogLines().size();

        RunJob(new ActionJob(&c, entry, k.withApplication ? pApplication : NULL));

        EXPECT_EQ(k.logged != nullptr ? std::vector<std::string>{k.logged} : std::vector<std::string>{},
                  CallsAfter(nBefore));
        EXPECT_EQ(0, CTestEntryObject::Alive()) << "the thread's objects end with it";
    }

    // The user-interface thread's connection is the same and still works.
    EXPECT_EQ(pHeld, pApplication->m_pDispatch);
    LPDISPATCH pEntry = m_objects.CreateEntryObject(Record(Entry{"danach"}));
    const size_t nBefore = LogLines().size();
    EXPECT_EQ(1, pApplication->JumpToRec("9", "E:\\x.dbf", pEntry));
    pEntry->Release();
    EXPECT_EQ(std::vector<std::string>{"OXJumpToRec|E:\\x.dbf|9|Termin:danach"}, CallsAfter(nBefore));
    EXPECT_TRUE(EntryObjectsReleased());
}

} // namespace
