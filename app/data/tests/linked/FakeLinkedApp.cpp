// A linked application for the tests, built from the class library: an automation server whose
// application object offers "OXAddContToRec", "OXJumpToRec", "OXExecuteAction" and
// "OXGetActionData" with their arguments in the linked applications' order and types, and logs
// each call with what it read back from the entry object it got ("Kind" and "Subject").
//
//   fake_linked_app                started as a program: makes its application object and
//                                  registers it as running, until Quit is called
//   fake_linked_app -Embedding     started by COM (for the object without the methods); ends with
//                                  its last object
// Both serve the object without the methods (FLA_BARE_PROGID) to COM.
#include <afxdisp.h>

#include <stdio.h>

#include "FakeLinkedAppShared.h"

namespace {

void LogLine(const CString& strLine)
{
    char szPath[MAX_PATH];
    if (GetEnvironmentVariableA(FLA_LOG_VARIABLE, szPath, MAX_PATH) == 0)
        return;
    FILE* pFile = fopen(szPath, "a");
    if (pFile == NULL)
        return;
    fprintf(pFile, "%s\n", (LPCTSTR)strLine);
    fclose(pFile);
}

// "<vt>:<text>"; a byte array as hexadecimal bytes.
CString DescribeVariant(const VARIANT& var)
{
    CString strText;
    if (var.vt == (VT_ARRAY | VT_UI1) && var.parray != NULL) {
        BYTE* pBytes = NULL;
        const LONG nCount = (LONG)var.parray->rgsabound[0].cElements;
        if (SUCCEEDED(SafeArrayAccessData(var.parray, (void**)&pBytes))) {
            for (LONG i = 0; i < nCount; ++i) {
                CString strByte;
                strByte.Format(i == 0 ? "%02X" : " %02X", pBytes[i]);
                strText += strByte;
            }
            SafeArrayUnaccessData(var.parray);
        }
    } else {
        VARIANT text;
        VariantInit(&text);
        if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&var), 0, VT_BSTR)))
            strText = text.bstrVal;
        VariantClear(&text);
    }
    CString strResult;
    strResult.Format("%u:%s", (unsigned)var.vt, (LPCTSTR)strText);
    return strResult;
}

// A property of the entry object read through its IDispatch, "<none>" when it has none.
CString ReadProperty(LPDISPATCH pEntry, LPCOLESTR lpszName)
{
    if (pEntry == NULL)
        return "<none>";
    DISPID dispid;
    LPOLESTR pszName = const_cast<LPOLESTR>(lpszName);
    if (FAILED(pEntry->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_SYSTEM_DEFAULT, &dispid)))
        return "<none>";
    COleDispatchDriver entry(pEntry, FALSE);
    CString strValue;
    try {
        entry.GetProperty(dispid, VT_BSTR, &strValue);
    } catch (CException* e) {
        e->Delete();
        strValue = "<error>";
    }
    entry.DetachDispatch();
    return strValue;
}

// "<Kind>:<Subject>" of the entry object.
CString DescribeEntry(LPDISPATCH pEntry)
{
    return ReadProperty(pEntry, L"Kind") + ":" + ReadProperty(pEntry, L"Subject");
}

class CFakeLinkedApp : public CCmdTarget {
public:
    CFakeLinkedApp()
    {
        EnableAutomation();
        AfxOleLockApp();
    }
    ~CFakeLinkedApp() { AfxOleUnlockApp(); }

protected:
    void AddContToRec(LPCTSTR lpszDbPath, LPCTSTR lpszRecord, LPDISPATCH pEntry)
    {
        LogLine(CString("OXAddContToRec|") + lpszDbPath + "|" + lpszRecord + "|" + DescribeEntry(pEntry));
    }
    void JumpToRec(LPCTSTR lpszDbPath, LPCTSTR lpszRecord, LPDISPATCH pEntry)
    {
        LogLine(CString("OXJumpToRec|") + lpszDbPath + "|" + lpszRecord + "|" + DescribeEntry(pEntry));
    }
    void ExecuteAction(LPCTSTR lpszAction, LPDISPATCH pEntry, long nNumber, const VARIANT& data)
    {
        CString strNumber;
        strNumber.Format("%ld", nNumber);
        LogLine(CString("OXExecuteAction|") + lpszAction + "|" + DescribeEntry(pEntry) + "|" + strNumber + "|" +
                DescribeVariant(data));
    }
    // Logs the variant as it came and answers the text "vom Server" in it.
    void GetActionData(LPCTSTR lpszAction, VARIANT* pData, LPDISPATCH pEntry, long nNumber)
    {
        CString strNumber;
        strNumber.Format("%ld", nNumber);
        LogLine(CString("OXGetActionData|") + lpszAction + "|" + DescribeVariant(*pData) + "|" + DescribeEntry(pEntry) +
                "|" + strNumber);
        VariantClear(pData);
        pData->vt = VT_BSTR;
        pData->bstrVal = SysAllocString(L"vom Server");
    }
    // Ends the program (after this call has returned).
    void Quit() { PostQuitMessage(0); }

    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CFakeLinkedApp, CCmdTarget)
DISP_FUNCTION(CFakeLinkedApp, "OXAddContToRec", AddContToRec, VT_EMPTY, VTS_BSTR VTS_BSTR VTS_DISPATCH)
DISP_FUNCTION(CFakeLinkedApp, "OXJumpToRec", JumpToRec, VT_EMPTY, VTS_BSTR VTS_BSTR VTS_DISPATCH)
DISP_FUNCTION(CFakeLinkedApp, "OXExecuteAction", ExecuteAction, VT_EMPTY, VTS_BSTR VTS_DISPATCH VTS_I4 VTS_VARIANT)
DISP_FUNCTION(CFakeLinkedApp, "OXGetActionData", GetActionData, VT_EMPTY, VTS_BSTR VTS_PVARIANT VTS_DISPATCH VTS_I4)
DISP_FUNCTION(CFakeLinkedApp, "Quit", Quit, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

class CFakeBareObject : public CCmdTarget {
    DECLARE_DYNCREATE(CFakeBareObject)
    DECLARE_OLECREATE(CFakeBareObject)
public:
    CFakeBareObject()
    {
        EnableAutomation();
        AfxOleLockApp();
    }
    ~CFakeBareObject() { AfxOleUnlockApp(); }
    CString m_strName = "ohne Methoden";

protected:
    DECLARE_DISPATCH_MAP()
};

IMPLEMENT_DYNCREATE(CFakeBareObject, CCmdTarget)
IMPLEMENT_OLECREATE(CFakeBareObject, FLA_BARE_PROGID, 0x7c3d2a52, 0x4e8b, 0x4f1c, 0x9a, 0x6d, 0x2b, 0x5e, 0x8f, 0x0c, 0x1d,
                    0x71)

BEGIN_DISPATCH_MAP(CFakeBareObject, CCmdTarget)
DISP_PROPERTY(CFakeBareObject, "Name", m_strName, VT_BSTR)
END_DISPATCH_MAP()

class CFakeLinkedProgram : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CString strLine = m_lpCmdLine;
        strLine.MakeLower();
        const BOOL bForCom = strLine.Find("embedding") >= 0 || strLine.Find("automation") >= 0;
        CString strStart;
        strStart.Format("start %lu %s", GetCurrentProcessId(), bForCom ? "com" : "user");
        LogLine(strStart);
        if (!AfxOleInit() || !COleObjectFactory::RegisterAll())
            return FALSE;
        if (bForCom) {
            AfxOleSetUserCtrl(FALSE);
        } else {
            // A running application: its object is in the running object table until Quit.
            m_pApplication = new CFakeLinkedApp;
            if (FAILED(::RegisterActiveObject(m_pApplication->GetIDispatch(FALSE), CLSID_FakeLinkedApp,
                                              ACTIVEOBJECT_STRONG, &m_dwActive)))
                return FALSE;
        }
        CWnd* pMainWnd = new CMainWindow;
        if (!pMainWnd->CreateEx(0, NULL, "OX Fake Linked App", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL)) {
            delete pMainWnd;
            return FALSE;
        }
        m_pMainWnd = pMainWnd;
        return TRUE;
    }
    int ExitInstance() override
    {
        if (m_dwActive != 0)
            ::RevokeActiveObject(m_dwActive, NULL);
        if (m_pApplication != NULL)
            m_pApplication->ExternalRelease();
        COleObjectFactory::RevokeAll();
        return CWinApp::ExitInstance();
    }

private:
    class CMainWindow : public CWnd {
    protected:
        void PostNcDestroy() override { delete this; }
    };
    CFakeLinkedApp* m_pApplication = NULL;
    DWORD m_dwActive = 0;
};

CFakeLinkedProgram theApp;

} // namespace

// The run time's start code asks for WinMain after the library on the link line.
extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
