// The test automation servers in processes of their own, registered for these tests and started
// by COM: calls by name across processes, errors with their information, the connection count,
// the running object table, and the server's end with its last object; the document server's
// document as the root object, one process per client.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "OleTestSupport.h"
#include "TestDocServerShared.h"
#include "TestServerShared.h"

namespace {

std::string ProgramFolder()
{
    char szPath[MAX_PATH];
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of('\\') + 1);
}

std::string g_strLog;

// Runs the server program with the arguments and waits for its end.
BOOL RunServer(const char* pszArgs, const char* pszProgram = "afx_test_server.exe")
{
    std::string strCommand = "\"" + ProgramFolder() + pszProgram + "\" " + pszArgs;
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(NULL, &strCommand[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return FALSE;
    DWORD dwWait = WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return dwWait == WAIT_OBJECT_0;
}

std::string ReadLog()
{
    std::ifstream file(g_strLog);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Waits (at most 20 s) until the process has ended.
BOOL WaitForEnd(long nPid)
{
    HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, (DWORD)nPid);
    if (hProcess == NULL)
        return TRUE; // gone already
    DWORD dwWait = WaitForSingleObject(hProcess, 20000);
    CloseHandle(hProcess);
    return dwWait == WAIT_OBJECT_0;
}

class LocalServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        g_strLog = std::string(szTemp) + "ox_test_server_" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(g_strLog.c_str());
        // the servers that COM starts for this process inherit it
        SetEnvironmentVariableA(OXTS_LOG_VARIABLE, g_strLog.c_str());
        ASSERT_TRUE(RunServer("/RegServer"));
        ASSERT_NE(std::string::npos, ReadLog().find("register 1"));
    }
    static void TearDownTestSuite()
    {
        RunServer("/UnregServer");
        DeleteFileA(g_strLog.c_str());
        SetEnvironmentVariableA(OXTS_LOG_VARIABLE, NULL);
    }
};

TEST_F(LocalServerTest, ClientsCallTheServerByNameAndTheLastReferenceEndsIt)
{
    COleDispatchDriver root;
    COleException error;
    ASSERT_TRUE(root.CreateDispatch(OXTS_PROGID, &error)) << std::hex << error.m_sc;
    long nPid = 0;
    root.InvokeHelper(afxtest::IdOf(root.m_lpDispatch, L"processid"), DISPATCH_METHOD, VT_I4, &nPid, NULL);
    EXPECT_NE(0, nPid);
    EXPECT_NE((long)GetCurrentProcessId(), nPid) << "a server process of its own";

    DISPID idAdd = afxtest::IdOf(root.m_lpDispatch, L"ADD");
    EXPECT_EQ(OXTS_ADD, idAdd) << "the position in the map";
    static const BYTE parmsAdd[] = VTS_I4 VTS_I4;
    long nSum = 0;
    root.InvokeHelper(idAdd, DISPATCH_METHOD, VT_I4, &nSum, parmsAdd, 40L, 2L);
    EXPECT_EQ(42, nSum);
    root.SetProperty(OXTS_NAME, VT_BSTR, "Grüße über Prozesse");
    CString strName;
    root.GetProperty(OXTS_NAME, VT_BSTR, &strName);
    EXPECT_EQ(CString("Grüße über Prozesse"), strName);

    static const BYTE parmsFail[] = VTS_I4;
    try {
        root.InvokeHelper(OXTS_FAIL, DISPATCH_METHOD, VT_EMPTY, NULL, parmsFail, 0L);
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        EXPECT_EQ(OXTS_FAIL_CODE, e->m_wCode);
        EXPECT_EQ(CString("Absichtlicher Fehler"), e->m_strDescription);
        e->Delete();
    }

    long nConnections = 0;
    root.GetProperty(OXTS_CONNECTIONS, VT_I4, &nConnections);
    EXPECT_EQ(1, nConnections) << "the client's connection as the stub reports it";

    // the root object is in the running object table while it lives
    IUnknown* pActive = NULL;
    ASSERT_EQ(S_OK, GetActiveObject(CLSID_OxTestServer, NULL, &pActive));
    COleDispatchDriver active;
    ASSERT_EQ(S_OK, pActive->QueryInterface(IID_IDispatch, (void**)&active.m_lpDispatch));
    pActive->Release();
    long nActivePid = 0;
    active.InvokeHelper(OXTS_PROCESSID, DISPATCH_METHOD, VT_I4, &nActivePid, NULL);
    EXPECT_EQ(nPid, nActivePid);
    active.ReleaseDispatch();

    // A child object keeps the server running after the root is gone.
    static const BYTE parmsChild[] = VTS_I4;
    LPDISPATCH lpChild = NULL;
    root.InvokeHelper(OXTS_NEWCHILD, DISPATCH_METHOD, VT_DISPATCH, &lpChild, parmsChild, 5L);
    COleDispatchDriver child(lpChild);
    long nObjects = 0;
    root.GetProperty(OXTS_OBJECTS, VT_I4, &nObjects);
    EXPECT_EQ(2, nObjects);
    root.ReleaseDispatch();
    long nIndex = 0;
    child.GetProperty(afxtest::IdOf(child.m_lpDispatch, L"Index"), VT_I4, &nIndex);
    EXPECT_EQ(5, nIndex) << "the server lives on for its child";
    EXPECT_EQ(std::string::npos, ReadLog().find("exit " + std::to_string(nPid)));

    child.ReleaseDispatch();
    EXPECT_TRUE(WaitForEnd(nPid)) << "the server ends with its last object";
    EXPECT_NE(std::string::npos, ReadLog().find("exit " + std::to_string(nPid))) << ReadLog();
    IUnknown* pGone = NULL;
    EXPECT_NE(S_OK, GetActiveObject(CLSID_OxTestServer, NULL, &pGone)) << "no longer running";
    if (pGone != NULL)
        pGone->Release();
}

TEST_F(LocalServerTest, EachClientOfTheServerHasItsOwnRootObjectInOneProcess)
{
    COleDispatchDriver first, second;
    ASSERT_TRUE(first.CreateDispatch(CLSID_OxTestServer));
    ASSERT_TRUE(second.CreateDispatch(CLSID_OxTestServer));
    long nFirstPid = 0, nSecondPid = 0;
    first.InvokeHelper(OXTS_PROCESSID, DISPATCH_METHOD, VT_I4, &nFirstPid, NULL);
    second.InvokeHelper(OXTS_PROCESSID, DISPATCH_METHOD, VT_I4, &nSecondPid, NULL);
    EXPECT_EQ(nFirstPid, nSecondPid) << "one server serves both (multiple use)";
    first.SetProperty(OXTS_NAME, VT_BSTR, "erstes");
    second.SetProperty(OXTS_NAME, VT_BSTR, "zweites");
    CString strName;
    first.GetProperty(OXTS_NAME, VT_BSTR, &strName);
    EXPECT_EQ(CString("erstes"), strName) << "two objects";
    first.ReleaseDispatch();
    long nObjects = 0;
    second.GetProperty(OXTS_OBJECTS, VT_I4, &nObjects);
    EXPECT_EQ(1, nObjects);
    second.ReleaseDispatch();
    EXPECT_TRUE(WaitForEnd(nFirstPid));
}

// ---- the document server -----------------------------------------------------------------------------

class DocServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        g_strLog = std::string(szTemp) + "ox_test_docserver_" + std::to_string(GetCurrentProcessId()) + ".log";
        DeleteFileA(g_strLog.c_str());
        SetEnvironmentVariableA(OXTS_LOG_VARIABLE, g_strLog.c_str());
        ASSERT_TRUE(RunServer("/RegServer", "afx_test_docserver.exe"));
        ASSERT_NE(std::string::npos, ReadLog().find("register 1"));
    }
    static void TearDownTestSuite()
    {
        RunServer("/UnregServer", "afx_test_docserver.exe");
        DeleteFileA(g_strLog.c_str());
        SetEnvironmentVariableA(OXTS_LOG_VARIABLE, NULL);
    }
};

TEST_F(DocServerTest, EachClientGetsTheDocumentOfAServerProcessOfItsOwn)
{
    // the registration came from the template's strings
    std::string strValue;
    EXPECT_TRUE(afxtest::ReadClassesValue(OXDS_PROGID, &strValue));
    EXPECT_EQ(OXDS_TYPENAME, strValue);

    COleDispatchDriver first, second;
    COleException error;
    ASSERT_TRUE(first.CreateDispatch(OXDS_PROGID, &error)) << std::hex << error.m_sc;
    ASSERT_TRUE(second.CreateDispatch(CLSID_OxTestDocServer, &error)) << std::hex << error.m_sc;
    long nFirstPid = 0, nSecondPid = 0;
    first.InvokeHelper(OXDS_PROCESSID, DISPATCH_METHOD, VT_I4, &nFirstPid, NULL);
    second.InvokeHelper(OXDS_PROCESSID, DISPATCH_METHOD, VT_I4, &nSecondPid, NULL);
    EXPECT_NE(0, nFirstPid);
    EXPECT_NE(nFirstPid, nSecondPid) << "a multi-instance server: one process per client";

    for (COleDispatchDriver* pDriver : {&first, &second}) {
        BOOL bVisible = TRUE, bInMainFrame = FALSE;
        long nDocuments = 0, nNew = 0;
        pDriver->GetProperty(OXDS_VISIBLE, VT_BOOL, &bVisible);
        pDriver->GetProperty(OXDS_INMAINFRAME, VT_BOOL, &bInMainFrame);
        pDriver->GetProperty(OXDS_DOCUMENTS, VT_I4, &nDocuments);
        pDriver->GetProperty(OXDS_NEWDOCUMENTS, VT_I4, &nNew);
        EXPECT_FALSE(bVisible) << "started for automation, the main window stays hidden";
        EXPECT_TRUE(bInMainFrame) << "the object is the main frame's document";
        EXPECT_EQ(1, nDocuments);
        EXPECT_EQ(2, nNew) << "the start's document, opened anew for the client";
    }
    first.SetProperty(OXDS_TEXT, VT_BSTR, "erstes Dokument");
    CString strText;
    second.GetProperty(OXDS_TEXT, VT_BSTR, &strText);
    EXPECT_EQ(CString(""), strText) << "two documents";
    long nUpdates = 0;
    first.GetProperty(OXDS_VIEWUPDATES, VT_I4, &nUpdates);
    EXPECT_EQ(1, nUpdates) << "the change reached the view";

    first.ReleaseDispatch();
    EXPECT_TRUE(WaitForEnd(nFirstPid)) << "a server ends with its client";
    EXPECT_NE(std::string::npos, ReadLog().find("exit " + std::to_string(nFirstPid))) << ReadLog();
    CString strTitle;
    second.GetProperty(OXDS_TITLE, VT_BSTR, &strTitle);
    EXPECT_EQ(CString("Serverdokument"), strTitle) << "the other server lives on";
    second.ReleaseDispatch();
    EXPECT_TRUE(WaitForEnd(nSecondPid));
}

} // namespace
