// A small automation server built from the class library, driven by real clients in the tests
// (JScript and VBScript through Wine's cscript, the library's own COleDispatchDriver).
//
//   afx_test_server /RegServer     registers the root object "OX.TestServer" and ends (exit code 0)
//   afx_test_server /UnregServer   removes it and ends (exit code 0)
//   afx_test_server /Automation    (or -Embedding, as COM starts it) serves the root object until
//                                  its last object is released
// It appends "start <pid>", "register <0|1>", "unregister <0|1>" and "exit <pid>" lines to the
// file named by OX_TEST_SERVER_LOG.
#include <afxdisp.h>

#include <stdio.h>

#include <set>

#include "TestServerProgram.h"
#include "TestServerShared.h"

namespace {

using testserver::HasSwitch;
using testserver::Log;

// The number of live objects of the server.
LONG g_nObjects = 0;

// Posted to the server's thread when a root object lost its last client connection.
const UINT WM_LAST_CONNECTION = WM_APP + 1;
DWORD g_dwServerThread = 0;

// A connection count as COM's stub manager reports it (the root object answers it through
// GetInterfaceHook; it counts its own references).
class CConnectionCounter : public IExternalConnection {
public:
    virtual ~CConnectionCounter() = default;
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IExternalConnection)) {
            *ppvObject = static_cast<IExternalConnection*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = NULL;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return (ULONG)InterlockedIncrement(&m_nRef); }
    STDMETHOD_(ULONG, Release)() override
    {
        LONG n = InterlockedDecrement(&m_nRef);
        if (n == 0)
            delete this;
        return (ULONG)n;
    }
    STDMETHOD_(DWORD, AddConnection)(DWORD extconn, DWORD) override
    {
        return extconn & EXTCONN_STRONG ? (DWORD)++m_nConnections : (DWORD)m_nConnections;
    }
    STDMETHOD_(DWORD, ReleaseConnection)(DWORD extconn, DWORD, BOOL bLastReleaseCloses) override
    {
        if (!(extconn & EXTCONN_STRONG))
            return (DWORD)m_nConnections;
        // The running object table holds the object only weakly, through a stub of its own: the
        // object gives up that registration when its last client goes (not from inside COM's
        // release, but from the message loop).
        if (--m_nConnections == 0 && bLastReleaseCloses)
            PostThreadMessageA(g_dwServerThread, WM_LAST_CONNECTION, 0, 0);
        return (DWORD)m_nConnections;
    }
    LONG m_nRef = 1;
    LONG m_nConnections = 0;
};

class CTestChild : public CCmdTarget {
    DECLARE_DYNCREATE(CTestChild)
public:
    CTestChild()
    {
        EnableAutomation();
        AfxOleLockApp();
        InterlockedIncrement(&g_nObjects);
    }
    ~CTestChild()
    {
        InterlockedDecrement(&g_nObjects);
        AfxOleUnlockApp();
    }
    long m_nIndex = 0;

protected:
    DECLARE_DISPATCH_MAP()
};

IMPLEMENT_DYNCREATE(CTestChild, CCmdTarget)

BEGIN_DISPATCH_MAP(CTestChild, CCmdTarget)
DISP_PROPERTY(CTestChild, "Index", m_nIndex, VT_I4)
END_DISPATCH_MAP()

class CTestRoot;
std::set<CTestRoot*> g_roots;

class CTestRoot : public CCmdTarget {
    DECLARE_DYNCREATE(CTestRoot)
    DECLARE_OLECREATE(CTestRoot)
public:
    CTestRoot()
    {
        EnableAutomation();
        AfxOleLockApp();
        InterlockedIncrement(&g_nObjects);
        g_roots.insert(this);
        m_pConnections = new CConnectionCounter;
        // weakly in the running object table, as a document root is
        ::RegisterActiveObject(GetControllingUnknown(), CLSID_OxTestServer, ACTIVEOBJECT_WEAK, &m_dwActive);
    }
    ~CTestRoot()
    {
        g_roots.erase(this);
        m_pConnections->Release();
        InterlockedDecrement(&g_nObjects);
        AfxOleUnlockApp();
    }
    // Gives up the running object table's hold when no client is connected any more.
    static void RevokeUnconnected()
    {
        std::set<CTestRoot*> roots = g_roots;
        for (CTestRoot* pRoot : roots) {
            if (g_roots.count(pRoot) != 0 && pRoot->m_pConnections->m_nConnections == 0 && pRoot->m_dwActive != 0) {
                DWORD dwActive = pRoot->m_dwActive;
                pRoot->m_dwActive = 0;
                ::RevokeActiveObject(dwActive, NULL); // may release the object's last reference
            }
        }
    }

    CString m_strName;
    long m_nCount = 0;
    long m_nChanges = 0;
    BOOL m_bFlag = FALSE;
    DATE m_dtWhen = 0;
    long m_rgSlots[10] = {};
    DWORD m_dwActive = 0;
    CConnectionCounter* m_pConnections;

protected:
    virtual void OnFinalRelease()
    {
        if (m_dwActive != 0)
            ::RevokeActiveObject(m_dwActive, NULL);
        m_dwActive = 0;
        CCmdTarget::OnFinalRelease();
    }
    virtual LPUNKNOWN GetInterfaceHook(const void* piid)
    {
        return IsEqualIID(*(const IID*)piid, IID_IExternalConnection) ? m_pConnections : NULL;
    }

    void OnCountChanged() { m_nChanges++; }
    BOOL GetFlag() { return m_bFlag; }
    void SetFlag(BOOL bFlag) { m_bFlag = bFlag; }
    DATE GetWhen() { return m_dtWhen; }
    void SetWhen(DATE dt) { m_dtWhen = dt; }
    long GetSlot(short nIndex)
    {
        if (nIndex < 0 || nIndex >= 10)
            AfxThrowOleDispatchException(1001, "Fach außerhalb des Bereichs");
        return m_rgSlots[nIndex];
    }
    void SetSlot(short nIndex, long nValue)
    {
        if (nIndex < 0 || nIndex >= 10)
            AfxThrowOleDispatchException(1001, "Fach außerhalb des Bereichs");
        m_rgSlots[nIndex] = nValue;
    }
    long Add(long a, long b) { return a + b; }
    BSTR Concat(LPCTSTR a, LPCTSTR b)
    {
        // a null string is not an empty one
        CString strResult = CString(a != NULL ? a : "<null>") + (b != NULL ? b : "<null>");
        return strResult.AllocSysString();
    }
    void Fail(long nCode) { AfxThrowOleDispatchException((WORD)(nCode != 0 ? nCode : OXTS_FAIL_CODE), "Absichtlicher Fehler"); }
    LPDISPATCH NewChild(long nIndex)
    {
        CTestChild* pChild = new CTestChild;
        pChild->m_nIndex = nIndex;
        return pChild->GetIDispatch(FALSE); // the creation reference goes to the caller
    }
    long GetChanges() { return m_nChanges; }
    void SetChanges(long) {}
    long ProcessId() { return (long)GetCurrentProcessId(); }
    long GetConnections() { return m_pConnections->m_nConnections; }
    void SetConnections(long) {}
    BSTR Describe(const VARIANT& var)
    {
        COleVariant varText;
        CString strText;
        if (SUCCEEDED(VariantChangeType(&varText, const_cast<VARIANT*>(&var), 0, VT_BSTR)))
            strText = varText.bstrVal;
        CString strResult;
        strResult.Format("%u:%s", (unsigned)var.vt, (LPCTSTR)strText);
        return strResult.AllocSysString();
    }
    void Twice(long* pnValue) { *pnValue *= 2; }
    long GetObjects() { return g_nObjects; }
    void SetObjects(long) {}

    DECLARE_DISPATCH_MAP()
    DECLARE_INTERFACE_MAP()
};

IMPLEMENT_DYNCREATE(CTestRoot, CCmdTarget)
IMPLEMENT_OLECREATE(CTestRoot, OXTS_PROGID, 0x5b4f1e61, 0x7c2a, 0x4e0b, 0x9e, 0x5d, 0x3a, 0x1f, 0x6c, 0x2b, 0x8d, 0x01)

BEGIN_DISPATCH_MAP(CTestRoot, CCmdTarget)
DISP_PROPERTY(CTestRoot, "Name", m_strName, VT_BSTR)
DISP_PROPERTY_NOTIFY(CTestRoot, "Count", m_nCount, OnCountChanged, VT_I4)
DISP_PROPERTY_EX(CTestRoot, "Flag", GetFlag, SetFlag, VT_BOOL)
DISP_PROPERTY_EX(CTestRoot, "When", GetWhen, SetWhen, VT_DATE)
DISP_PROPERTY_PARAM(CTestRoot, "Slot", GetSlot, SetSlot, VT_I4, VTS_I2)
DISP_FUNCTION(CTestRoot, "Add", Add, VT_I4, VTS_I4 VTS_I4)
DISP_FUNCTION(CTestRoot, "Concat", Concat, VT_BSTR, VTS_BSTR VTS_BSTR)
DISP_FUNCTION(CTestRoot, "Fail", Fail, VT_EMPTY, VTS_I4)
DISP_FUNCTION(CTestRoot, "NewChild", NewChild, VT_DISPATCH, VTS_I4)
DISP_PROPERTY_EX(CTestRoot, "Changes", GetChanges, SetChanges, VT_I4)
DISP_FUNCTION(CTestRoot, "ProcessId", ProcessId, VT_I4, VTS_NONE)
DISP_PROPERTY_EX(CTestRoot, "Connections", GetConnections, SetConnections, VT_I4)
DISP_FUNCTION(CTestRoot, "Describe", Describe, VT_BSTR, VTS_VARIANT)
DISP_FUNCTION(CTestRoot, "Twice", Twice, VT_EMPTY, VTS_PI4)
DISP_PROPERTY_EX(CTestRoot, "Objects", GetObjects, SetObjects, VT_I4)
DISP_DEFVALUE(CTestRoot, "Name")
END_DISPATCH_MAP()

BEGIN_INTERFACE_MAP(CTestRoot, CCmdTarget)
INTERFACE_PART(CTestRoot, IID_IOxTestServer, Dispatch)
END_INTERFACE_MAP()

class CServerApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        Log("start %ld", (long)GetCurrentProcessId());
        if (!AfxOleInit())
            return FALSE;
        // Registration is the whole task: the loop ends at once (without a main window) with
        // exit code 0, or the start fails.
        if (HasSwitch(m_lpCmdLine, "RegServer")) {
            BOOL bDone = COleObjectFactory::UpdateRegistryAll(TRUE);
            Log("register %ld", bDone ? 1 : 0);
            return bDone;
        }
        if (HasSwitch(m_lpCmdLine, "UnregServer")) {
            BOOL bDone = COleObjectFactory::UpdateRegistryAll(FALSE);
            Log("unregister %ld", bDone ? 1 : 0);
            return bDone;
        }
        if (!HasSwitch(m_lpCmdLine, "Automation") && !HasSwitch(m_lpCmdLine, "Embedding"))
            return FALSE; // nothing to do for a user
        // Started for a client: the last object's release ends the program.
        AfxOleSetUserCtrl(FALSE);
        if (!COleObjectFactory::RegisterAll())
            return FALSE;
        CWnd* pMainWnd = new CMainWindow;
        if (!pMainWnd->CreateEx(0, NULL, "OX Testserver", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL)) {
            delete pMainWnd;
            return FALSE;
        }
        m_pMainWnd = pMainWnd;
        g_dwServerThread = GetCurrentThreadId();
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_LAST_CONNECTION && pMsg->hwnd == NULL) {
            CTestRoot::RevokeUnconnected();
            return TRUE;
        }
        return CWinApp::PreTranslateMessage(pMsg);
    }
    int ExitInstance() override
    {
        Log("exit %ld", (long)GetCurrentProcessId());
        return CWinApp::ExitInstance();
    }

private:
    class CMainWindow : public CWnd {
    protected:
        void PostNcDestroy() override { delete this; }
    };
};

CServerApp theApp;

} // namespace

// The library's WinMain is not taken from it here: the run time's start code, which asks for
// WinMain, comes after the library on the link line.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
