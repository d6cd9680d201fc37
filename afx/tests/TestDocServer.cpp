// A document/view automation server built from the class library the way the program is one:
// a single-document template whose document is the automation root, served by a
// COleTemplateServer connected to the template (multi-instance: every client gets a process of
// its own) and registered from the template's strings. Driven by cscript clients
// (afx_ole_scripts) and by COleDispatchDriver (afx_ole_test).
//
//   afx_test_docserver /RegServer     registers the document type "OX.TestDocServer" and ends
//   afx_test_docserver /UnregServer   removes it and ends
//   afx_test_docserver /Automation    (-Embedding too, as COM starts it) makes its document and
//                                     its main window hidden, hands the document to the client
//                                     and ends when the client lets it go
// It appends "start <pid>", "register <0|1>", "unregister <0|1>" and "exit <pid>" lines to the
// file named by OX_TEST_SERVER_LOG.
#include <afxdisp.h>

#include "TestDocServerShared.h"
#include "TestServerProgram.h"

#define IDR_DOCSERVER 128

namespace {

using testserver::HasSwitch;
using testserver::Log;

LONG g_nDocuments = 0;

class CServerView : public CView {
    DECLARE_DYNCREATE(CServerView)
public:
    long m_nUpdates = 0;
    void OnDraw(CDC*) override {}
    void OnUpdate(CView*, LPARAM, CObject*) override { m_nUpdates++; }
    void OnInitialUpdate() override {} // the first update is not counted
};

IMPLEMENT_DYNCREATE(CServerView, CView)

// The program's document and, at the same time, its automation root.
class CServerDoc : public CDocument {
    DECLARE_DYNCREATE(CServerDoc)
public:
    CServerDoc()
    {
        EnableAutomation();
        AfxOleLockApp();
        InterlockedIncrement(&g_nDocuments);
    }
    ~CServerDoc() override
    {
        InterlockedDecrement(&g_nDocuments);
        AfxOleUnlockApp();
    }
    BOOL OnNewDocument() override
    {
        if (!CDocument::OnNewDocument())
            return FALSE;
        m_nNewDocuments++;
        m_strText.Empty();
        return TRUE;
    }

    CString m_strText;
    long m_nNewDocuments = 0;

protected:
    void OnTextChanged() { UpdateAllViews(NULL); }
    BOOL GetVisible()
    {
        CWnd* pMainWnd = AfxGetMainWnd();
        return pMainWnd != NULL && pMainWnd->IsWindowVisible();
    }
    BOOL GetInMainFrame()
    {
        CWnd* pMainWnd = AfxGetMainWnd();
        return pMainWnd != NULL && pMainWnd->IsFrameWnd() && ((CFrameWnd*)pMainWnd)->GetActiveDocument() == this;
    }
    long GetDocuments() { return g_nDocuments; }
    long GetNewDocuments() { return m_nNewDocuments; }
    long GetViewUpdates()
    {
        POSITION pos = GetFirstViewPosition();
        CView* pView = pos != NULL ? GetNextView(pos) : NULL;
        return pView != NULL ? ((CServerView*)pView)->m_nUpdates : -1;
    }
    BSTR GetTitleText() { return GetTitle().AllocSysString(); }
    long ProcessId() { return (long)GetCurrentProcessId(); }
    void SetReadOnly(long) {}
    void SetReadOnlyFlag(BOOL) {}
    void SetReadOnlyText(LPCTSTR) {}

    DECLARE_DISPATCH_MAP()
};

IMPLEMENT_DYNCREATE(CServerDoc, CDocument)

BEGIN_DISPATCH_MAP(CServerDoc, CDocument)
DISP_PROPERTY_NOTIFY(CServerDoc, "Text", m_strText, OnTextChanged, VT_BSTR)
DISP_PROPERTY_EX(CServerDoc, "Visible", GetVisible, SetReadOnlyFlag, VT_BOOL)
DISP_PROPERTY_EX(CServerDoc, "InMainFrame", GetInMainFrame, SetReadOnlyFlag, VT_BOOL)
DISP_PROPERTY_EX(CServerDoc, "Documents", GetDocuments, SetReadOnly, VT_I4)
DISP_PROPERTY_EX(CServerDoc, "NewDocuments", GetNewDocuments, SetReadOnly, VT_I4)
DISP_PROPERTY_EX(CServerDoc, "ViewUpdates", GetViewUpdates, SetReadOnly, VT_I4)
DISP_PROPERTY_EX(CServerDoc, "Title", GetTitleText, SetReadOnlyText, VT_BSTR)
DISP_FUNCTION(CServerDoc, "ProcessId", ProcessId, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

class CDocServerApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        Log("start %ld", (long)GetCurrentProcessId());
        if (!AfxOleInit())
            return FALSE;
        CSingleDocTemplate* pTemplate = new CSingleDocTemplate(IDR_DOCSERVER, RUNTIME_CLASS(CServerDoc),
                                                               RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CServerView));
        AddDocTemplate(pTemplate);
        m_server.ConnectTemplate(CLSID_OxTestDocServer, pTemplate, TRUE);

        // Registration is the whole task.
        if (HasSwitch(m_lpCmdLine, "RegServer")) {
            m_server.UpdateRegistry(OAT_DISPATCH_OBJECT);
            Log("register %ld", COleObjectFactory::UpdateRegistryAll() ? 1 : 0);
            return FALSE;
        }
        if (HasSwitch(m_lpCmdLine, "UnregServer")) {
            Log("unregister %ld", m_server.Unregister() ? 1 : 0);
            return FALSE;
        }

        CCommandLineInfo cmdInfo;
        ParseCommandLine(cmdInfo);
        if (!cmdInfo.m_bRunEmbedded && !cmdInfo.m_bRunAutomated)
            return FALSE; // nothing to do for a user
        // Started for a client: the factory runs, the window stays hidden, and the document that
        // the start makes is the one the client gets.
        if (!COleTemplateServer::RegisterAll())
            return FALSE;
        m_nCmdShow = SW_HIDE;
        return ProcessShellCommand(cmdInfo);
    }
    int ExitInstance() override
    {
        Log("exit %ld", (long)GetCurrentProcessId());
        return CWinApp::ExitInstance();
    }

    COleTemplateServer m_server;
};

CDocServerApp theApp;

} // namespace

// The library's WinMain is not taken from it here: the run time's start code, which asks for
// WinMain, comes after the library on the link line.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
