// OLE control containment with a real control (afx_test_control.dll, registered for the tests):
// CreateControl, the control's properties and methods through its CWnd, its events (by-reference
// arguments included) through the event sink maps and the command routing, ambient properties,
// controls in dialog and form templates with their initial data, and their end with their
// windows.
#include <gtest/gtest.h>

#include <afxext.h>

#include "MessageBoxProbe.h"
#include "OleTestResource.h"
#include "OleTestSupport.h"
#include "TestControlShared.h"

namespace {

HMODULE g_hControlDll = NULL;

LONG LiveControls()
{
    OXTC_OBJECTCOUNT pfnCount = reinterpret_cast<OXTC_OBJECTCOUNT>(GetProcAddress(g_hControlDll, "OxTestControlObjects"));
    return pfnCount != NULL ? pfnCount() : -1;
}

const RECT kRect = {10, 20, 130, 50};

// A window that receives the events of its controls 1 and 2.
class CHost : public CWnd {
public:
    std::vector<std::string> m_events;
    short m_nCorrectDay = 0; // written into DateChanged's day
    int m_nThrow = 0;        // 1: CUserException, 2: a dispatch exception from the handlers
    long m_nBackColor = -1;  // the ambient back colour answered, when not -1

    BOOL Make()
    {
        return CreateEx(0, NULL, "Behälter", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 300, NULL, NULL);
    }
    void Record(const std::string& strEvent)
    {
        m_events.push_back(strEvent);
        if (m_nThrow == 1)
            AfxThrowUserException();
        if (m_nThrow == 2)
            AfxThrowOleDispatchException(5, "Fehler im Ereignis");
    }
    void OnChanged() { Record("changed"); }
    void OnSpin(short nDirection) { Record("spin " + std::to_string(nDirection)); }
    void OnDateChanged(short* pUnused, short* pDay, short* pMonth, short* pYear)
    {
        Record("date " + std::to_string(*pUnused) + " " + std::to_string(*pDay) + "." + std::to_string(*pMonth) + "." +
               std::to_string(*pYear));
        if (m_nCorrectDay != 0)
            *pDay = m_nCorrectDay;
        *pYear += 1;
    }
    void OnItemChanged(short nItem, LPCTSTR lpszKey, long x)
    {
        Record("item " + std::to_string(nItem) + " " + lpszKey + " " + std::to_string(x));
    }
    void OnOtherSpin(short nDirection) { Record("other spin " + std::to_string(nDirection)); }
    BOOL OnAmbientProperty(COleControlSite* pSite, DISPID dispid, VARIANT* pvar) override
    {
        if (dispid == DISPID_AMBIENT_BACKCOLOR && m_nBackColor != -1) {
            pvar->vt = VT_I4;
            pvar->lVal = m_nBackColor;
            return TRUE;
        }
        return CWnd::OnAmbientProperty(pSite, dispid, pvar);
    }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CHost, CWnd)
ON_EVENT(CHost, 1, OXTC_EVENT_CHANGED, OnChanged, VTS_NONE)
ON_EVENT(CHost, 1, OXTC_EVENT_SPIN, OnSpin, VTS_I2)
ON_EVENT(CHost, 1, OXTC_EVENT_DATECHANGED, OnDateChanged, VTS_PI2 VTS_PI2 VTS_PI2 VTS_PI2)
ON_EVENT(CHost, 1, OXTC_EVENT_ITEMCHANGED, OnItemChanged, VTS_I2 VTS_BSTR VTS_I4)
ON_EVENT(CHost, 2, OXTC_EVENT_SPIN, OnOtherSpin, VTS_I2)
END_EVENTSINK_MAP()

// A derived window keeps its base class's entries and adds its own.
class CDerivedHost : public CHost {
public:
    void OnSecondChanged() { Record("second changed"); }
    // answered FALSE: not handled
    BOOL OnSecondItem(short, LPCTSTR, long)
    {
        Record("second item");
        return FALSE;
    }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CDerivedHost, CHost)
ON_EVENT(CDerivedHost, 2, OXTC_EVENT_CHANGED, OnSecondChanged, VTS_NONE)
ON_EVENT(CDerivedHost, 2, OXTC_EVENT_ITEMCHANGED, OnSecondItem, VTS_I2 VTS_BSTR VTS_I4)
END_EVENTSINK_MAP()

// Events reach another command target when the window routes its commands there.
class CEventTarget : public CCmdTarget {
public:
    std::vector<std::string> m_events;
    void OnSpin(short nDirection) { m_events.push_back("target spin " + std::to_string(nDirection)); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CEventTarget, CCmdTarget)
ON_EVENT(CEventTarget, 1, OXTC_EVENT_SPIN, OnSpin, VTS_I2)
END_EVENTSINK_MAP()

class CRoutingHost : public CWnd {
public:
    CCmdTarget* m_pTarget = nullptr;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (m_pTarget != nullptr && m_pTarget->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
};

class ControlContainerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        g_hControlDll = LoadLibraryA(OXTC_DLL);
        ASSERT_NE(nullptr, g_hControlDll);
        auto pfnRegister = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(g_hControlDll, "DllRegisterServer"));
        ASSERT_NE(nullptr, pfnRegister);
        ASSERT_EQ(S_OK, pfnRegister());
    }
    static void TearDownTestSuite()
    {
        auto pfnUnregister = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(g_hControlDll, "DllUnregisterServer"));
        if (pfnUnregister != NULL)
            pfnUnregister();
    }
    void TearDown() override
    {
        afxtest::PumpMessages();
        CWnd::DeleteTempMap();
        EXPECT_EQ(0, LiveControls()) << "every control is released with its window";
    }

    // Fires an event of the control and answers what the sink told it.
    static HRESULT Fire(CWnd& ctl, short nEvent, short nArg)
    {
        static const BYTE parms[] = VTS_I2 VTS_I2;
        ctl.InvokeHelper(OXTC_FIRE, DISPATCH_METHOD, VT_EMPTY, NULL, parms, nEvent, nArg);
        long nResult = 0;
        ctl.GetProperty(OXTC_LASTRESULT, VT_I4, &nResult);
        return (HRESULT)nResult;
    }
};

TEST_F(ControlContainerTest, CreateControlMakesTheControlAChildWindowOfItsParent)
{
    CHost host;
    ASSERT_TRUE(host.Make());
    struct Case {
        const char* pszWhat;
        int nHow; // 0 CLSID, 1 ProgID, 2 "{...}" text
        DWORD dwStyle;
    };
    const Case cases[] = {
        {"by class id", 0, WS_VISIBLE | WS_TABSTOP},
        {"by ProgID", 1, WS_VISIBLE},
        {"by class id text", 2, WS_TABSTOP | WS_DISABLED},
    };
    for (const Case& c : cases) {
        CWnd ctl;
        BOOL bCreated = c.nHow == 0   ? ctl.CreateControl(CLSID_OxTestControl, "Probe", c.dwStyle, kRect, &host, 1)
                        : c.nHow == 1 ? ctl.CreateControl(OXTC_PROGID, "Probe", c.dwStyle, kRect, &host, 1)
                                      : ctl.CreateControl("{8E21C6A1-3B7D-4F52-A0C4-6D1E9B7F2A11}", "Probe", c.dwStyle,
                                                          kRect, &host, 1);
        ASSERT_TRUE(bCreated) << c.pszWhat;
        EXPECT_EQ(1, LiveControls());
        ASSERT_NE(nullptr, ctl.m_hWnd);
        EXPECT_EQ(host.m_hWnd, ::GetParent(ctl.m_hWnd)) << c.pszWhat;
        EXPECT_EQ(1, ::GetDlgCtrlID(ctl.m_hWnd));
        EXPECT_EQ(&ctl, CWnd::FromHandlePermanent(ctl.m_hWnd));
        DWORD dwStyle = (DWORD)::GetWindowLongA(ctl.m_hWnd, GWL_STYLE);
        EXPECT_EQ(c.dwStyle & (WS_VISIBLE | WS_TABSTOP | WS_DISABLED), dwStyle & (WS_VISIBLE | WS_TABSTOP | WS_DISABLED))
            << c.pszWhat;
        CRect rect;
        ctl.GetWindowRect(&rect);
        host.ScreenToClient(&rect);
        EXPECT_EQ(CRect(kRect), rect) << c.pszWhat;

        IOleObject* pObject = NULL;
        ASSERT_NE(nullptr, ctl.GetControlUnknown());
        ASSERT_EQ(S_OK, ctl.GetControlUnknown()->QueryInterface(IID_IOleObject, (void**)&pObject));
        CLSID clsid;
        pObject->GetUserClassID(&clsid);
        EXPECT_TRUE(IsEqualCLSID(CLSID_OxTestControl, clsid));
        pObject->Release();
        EXPECT_EQ(nullptr, host.GetControlUnknown()) << "the container is no control";

        EXPECT_TRUE(ctl.DestroyWindow());
        EXPECT_EQ(nullptr, ctl.m_hWnd);
        EXPECT_EQ(nullptr, ctl.m_pCtrlSite);
        EXPECT_EQ(0, LiveControls()) << c.pszWhat << ": the control goes with its window";
        EXPECT_EQ(nullptr, ::GetWindow(host.m_hWnd, GW_CHILD));
    }
    host.DestroyWindow();
}

TEST_F(ControlContainerTest, AControlThatCannotBeMadeLeavesNothingBehind)
{
    CHost host;
    ASSERT_TRUE(host.Make());
    CWnd ctl;
    EXPECT_FALSE(ctl.CreateControl(CLSID_OxNoSuchControl, "", WS_VISIBLE, kRect, &host, 1));
    EXPECT_FALSE(ctl.CreateControl("OX.Gibt.Es.Nicht", "", WS_VISIBLE, kRect, &host, 1));
    EXPECT_FALSE(ctl.CreateControl("{kein Klassenbezeichner}", "", WS_VISIBLE, kRect, &host, 1));
    EXPECT_FALSE(ctl.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, kRect, NULL, 1)) << "no parent";
    EXPECT_EQ(nullptr, ctl.m_hWnd);
    EXPECT_EQ(nullptr, ::GetWindow(host.m_hWnd, GW_CHILD));
    ASSERT_NE(nullptr, host.m_pCtrlCont);
    EXPECT_TRUE(host.m_pCtrlCont->m_listSites.IsEmpty()) << "no site is left";

    // Without control containment there are no controls.
    COccManager* pOccManager = AfxGetOccManager();
    AfxSetOccManager(NULL);
    CHost plain;
    ASSERT_TRUE(plain.Make());
    EXPECT_FALSE(ctl.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, kRect, &plain, 1));
    EXPECT_EQ(nullptr, plain.m_pCtrlCont);
    plain.DestroyWindow();
    AfxSetOccManager(pOccManager);
    host.DestroyWindow();
}

TEST_F(ControlContainerTest, PropertiesAndMethodsReachTheControl)
{
    CHost host;
    ASSERT_TRUE(host.Make());
    CWnd ctl;
    ASSERT_TRUE(ctl.CreateControl(CLSID_OxTestControl, "Probe", WS_VISIBLE, kRect, &host, 1));

    ctl.SetProperty(OXTC_VALUE, VT_I2, 1439);
    short nValue = 0;
    ctl.GetProperty(OXTC_VALUE, VT_I2, &nValue);
    EXPECT_EQ(1439, nValue);
    ctl.SetProperty(OXTC_CAPTION, VT_BSTR, "Wochenübersicht");
    CString strCaption;
    ctl.GetProperty(OXTC_CAPTION, VT_BSTR, &strCaption);
    EXPECT_EQ(CString("Wochenübersicht"), strCaption);
    char szText[64] = "";
    ::GetWindowTextA(ctl.m_hWnd, szText, sizeof(szText));
    EXPECT_STREQ("Wochenübersicht", szText) << "the control shows what it was given";
    ctl.SetProperty(OXTC_DAY, VT_I4, 45356L);
    long nDay = 0;
    ctl.GetProperty(OXTC_DAY, VT_I4, &nDay);
    EXPECT_EQ(45356, nDay);
    ctl.SetProperty(OXTC_FLAG, VT_BOOL, TRUE);
    BOOL bFlag = FALSE;
    ctl.GetProperty(OXTC_FLAG, VT_BOOL, &bFlag);
    EXPECT_EQ(TRUE, bFlag);

    // methods and indexed properties
    static const BYTE parmsAdd[] = VTS_I2 VTS_BSTR;
    short nItem = 0;
    ctl.InvokeHelper(OXTC_ADDITEM, DISPATCH_METHOD, VT_I2, &nItem, parmsAdd, (short)600, "0000004711");
    EXPECT_EQ(1, nItem);
    ctl.InvokeHelper(OXTC_ADDITEM, DISPATCH_METHOD, VT_I2, &nItem, parmsAdd, (short)660, "0000004712");
    EXPECT_EQ(2, nItem);
    static const BYTE parmsIndex[] = VTS_I2;
    CString strKey;
    ctl.InvokeHelper(OXTC_ITEMKEY, DISPATCH_PROPERTYGET, VT_BSTR, &strKey, parmsIndex, (short)2);
    EXPECT_EQ(CString("0000004712"), strKey);
    static const BYTE parmsPut[] = VTS_I2 VTS_BSTR;
    ctl.InvokeHelper(OXTC_ITEMKEY, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parmsPut, (short)1, "neu");
    ctl.InvokeHelper(OXTC_ITEMKEY, DISPATCH_PROPERTYGET, VT_BSTR, &strKey, parmsIndex, (short)1);
    EXPECT_EQ(CString("neu"), strKey);

    // the control's errors
    try {
        ctl.InvokeHelper(OXTC_RAISE, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        EXPECT_EQ(OXTC_RAISE_CODE, e->m_wCode);
        EXPECT_EQ(CString("Steuerelementfehler"), e->m_strDescription);
        EXPECT_EQ(CString("OxTestControl"), e->m_strSource);
        e->Delete();
    }
    try {
        ctl.InvokeHelper(OXTC_ITEMKEY, DISPATCH_PROPERTYGET, VT_BSTR, &strKey, parmsIndex, (short)9);
        ADD_FAILURE() << "no exception";
    } catch (COleException* e) {
        EXPECT_EQ(DISP_E_BADINDEX, e->m_sc);
        e->Delete();
    }

    // A temporary CWnd of the control's window reaches it too; a window that is no control
    // does not.
    short nTemp = 0;
    host.GetDlgItem(1)->GetProperty(OXTC_VALUE, VT_I2, &nTemp);
    EXPECT_EQ(1439, nTemp);
    try {
        host.GetProperty(OXTC_VALUE, VT_I2, &nTemp);
        ADD_FAILURE() << "the container is no control";
    } catch (COleException* e) {
        EXPECT_EQ(CO_E_OBJNOTCONNECTED, e->m_sc);
        e->Delete();
    }
    host.DestroyWindow();
    EXPECT_EQ(nullptr, ctl.m_hWnd) << "the container's end takes its controls";
    EXPECT_EQ(nullptr, ctl.m_pCtrlSite);
}

TEST_F(ControlContainerTest, EventsReachTheSinkMapOfTheirControlsParent)
{
    CHost host;
    ASSERT_TRUE(host.Make());
    CWnd controlOne, controlTwo;
    ASSERT_TRUE(controlOne.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, kRect, &host, 1));
    ASSERT_TRUE(controlTwo.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, CRect(10, 60, 130, 90), &host, 2));

    struct Case {
        CWnd* pCtl;
        short nEvent;
        short nArg;
        const char* pszRecorded; // NULL: no handler ran
        HRESULT hr;
    };
    const Case cases[] = {
        {&controlOne, OXTC_EVENT_CHANGED, 0, "changed", S_OK},
        {&controlOne, OXTC_EVENT_SPIN, -1, "spin -1", S_OK},
        {&controlOne, OXTC_EVENT_ITEMCHANGED, 3, "item 3 K3 3000", S_OK},
        {&controlTwo, OXTC_EVENT_SPIN, 1, "other spin 1", S_OK},  // the entry of control 2
        {&controlTwo, OXTC_EVENT_CHANGED, 0, NULL, S_OK},         // no entry: no error for the control
    };
    for (const Case& c : cases) {
        host.m_events.clear();
        EXPECT_EQ(c.hr, Fire(*c.pCtl, c.nEvent, c.nArg)) << c.nEvent;
        if (c.pszRecorded != NULL) {
            ASSERT_EQ(1u, host.m_events.size()) << c.pszRecorded;
            EXPECT_EQ(std::string(c.pszRecorded), host.m_events[0]);
        } else {
            EXPECT_TRUE(host.m_events.empty());
        }
    }

    // By-reference arguments: the handler sees the control's values and corrects them.
    host.m_events.clear();
    host.m_nCorrectDay = 28;
    EXPECT_EQ(S_OK, Fire(controlOne, OXTC_EVENT_DATECHANGED, 31));
    ASSERT_EQ(1u, host.m_events.size());
    EXPECT_EQ("date 0 31.5.2024", host.m_events[0]);
    short nDay = 0, nMonth = 0, nYear = 0;
    controlOne.GetProperty(OXTC_LASTDAY, VT_I2, &nDay);
    controlOne.GetProperty(OXTC_LASTMONTH, VT_I2, &nMonth);
    controlOne.GetProperty(OXTC_LASTYEAR, VT_I2, &nYear);
    EXPECT_EQ(28, nDay) << "the corrected day reaches the control";
    EXPECT_EQ(5, nMonth);
    EXPECT_EQ(2025, nYear);

    // Handlers that fail: the control hears of it; the user is told unless it is a user exception
    // (which the handler has reported itself).
    struct Throw {
        int nThrow;
        int nBoxes;
    };
    for (const Throw& t : {Throw{1, 0}, Throw{2, 1}}) {
        afxtest::MessageBoxProbe boxes;
        host.m_nThrow = t.nThrow;
        EXPECT_EQ(DISP_E_EXCEPTION, Fire(controlOne, OXTC_EVENT_SPIN, 0)) << t.nThrow;
        EXPECT_EQ(t.nBoxes, boxes.m_nCalls) << t.nThrow;
        if (t.nBoxes != 0) {
            EXPECT_EQ("Fehler im Ereignis", boxes.m_lastText);
        }
    }
    host.m_nThrow = 0;
    host.DestroyWindow();
}

TEST_F(ControlContainerTest, DerivedClassesAndCommandRoutingReachTheirEntries)
{
    CDerivedHost host;
    ASSERT_TRUE(host.Make());
    CWnd controlOne, controlTwo;
    ASSERT_TRUE(controlOne.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, kRect, &host, 1));
    ASSERT_TRUE(controlTwo.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, CRect(10, 60, 130, 90), &host, 2));
    Fire(controlOne, OXTC_EVENT_SPIN, 4); // the base class's entry
    Fire(controlTwo, OXTC_EVENT_CHANGED, 0);
    Fire(controlTwo, OXTC_EVENT_ITEMCHANGED, 1); // a handler that answers FALSE
    EXPECT_EQ((std::vector<std::string>{"spin 4", "second changed", "second item"}), host.m_events);
    host.DestroyWindow();

    CRoutingHost routing;
    CEventTarget target;
    routing.m_pTarget = &target;
    ASSERT_TRUE(routing.CreateEx(0, NULL, "Umleitung", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL));
    CWnd ctl;
    ASSERT_TRUE(ctl.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, kRect, &routing, 1));
    EXPECT_EQ(S_OK, Fire(ctl, OXTC_EVENT_SPIN, 7));
    EXPECT_EQ((std::vector<std::string>{"target spin 7"}), target.m_events);
    routing.DestroyWindow();
}

TEST_F(ControlContainerTest, ControlsAskTheirContainerForAmbientProperties)
{
    for (long nBackColor : {-1L, 0x123456L}) {
        CHost host;
        host.m_nBackColor = nBackColor;
        ASSERT_TRUE(host.Make());
        CWnd ctl;
        ASSERT_TRUE(ctl.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, kRect, &host, 1));
        BOOL bUserMode = FALSE;
        ctl.GetProperty(OXTC_USERMODE, VT_BOOL, &bUserMode);
        EXPECT_EQ(TRUE, bUserMode) << "controls run, they are not designed";
        long nColor = 0;
        ctl.GetProperty(OXTC_BACKCOLOR, VT_I4, &nColor);
        EXPECT_EQ(nBackColor != -1 ? nBackColor : (long)GetSysColor(COLOR_BTNFACE), nColor);
        host.DestroyWindow();
    }
}

// ---- dialog templates ------------------------------------------------------------------------------

class CTemplateDialog : public CDialog {
public:
    explicit CTemplateDialog(UINT nID = IDD_OLE_CONTROLS) : CDialog(nID) {}
    CWnd m_ctl1;
    std::vector<std::string> m_events;
    BOOL m_bEndAtOnce = FALSE;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_bEndAtOnce) {
            short nValue = 0;
            m_ctl1.GetProperty(OXTC_VALUE, VT_I2, &nValue);
            EndDialog(100 + nValue);
        }
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (m_nIDHelp == IDD_OLE_CONTROLS)
            DDX_Control(pDX, IDC_OLE_CTL1, m_ctl1);
    }
    void OnSpin(short nDirection) { m_events.push_back("spin " + std::to_string(nDirection)); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CTemplateDialog, CDialog)
ON_EVENT(CTemplateDialog, IDC_OLE_CTL1, OXTC_EVENT_SPIN, OnSpin, VTS_I2)
END_EVENTSINK_MAP()

// The ids of a window's children in Z order.
std::vector<int> ChildIds(HWND hWnd)
{
    std::vector<int> ids;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT))
        ids.push_back(::GetDlgCtrlID(hChild));
    return ids;
}

TEST_F(ControlContainerTest, TemplatesGetTheirControlsInPlaceWithTheirInitialData)
{
    CTemplateDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_OLE_CONTROLS));
    EXPECT_EQ(2, LiveControls());
    EXPECT_EQ((std::vector<int>{IDC_OLE_EDIT1, IDC_OLE_CTL1, IDC_OLE_EDIT2, IDC_OLE_CTL2, IDC_OLE_LIST, IDC_OLE_COMBO}),
              ChildIds(dlg.m_hWnd))
        << "the template's order is the tab order";

    // the first control: its place, its state from the initialisation data, its CWnd
    CRect rectExpected(10, 30, 110, 50);
    dlg.MapDialogRect(&rectExpected);
    CRect rect;
    ::GetWindowRect(dlg.GetDlgItem(IDC_OLE_CTL1)->m_hWnd, &rect);
    dlg.ScreenToClient(&rect);
    EXPECT_EQ(rectExpected, rect);
    ASSERT_EQ(dlg.GetDlgItem(IDC_OLE_CTL1)->m_hWnd, dlg.m_ctl1.m_hWnd) << "DDX_Control attached the control";
    EXPECT_NE(nullptr, dlg.m_ctl1.GetControlUnknown());
    short nValue = 0;
    dlg.m_ctl1.GetProperty(OXTC_VALUE, VT_I2, &nValue);
    EXPECT_EQ(7, nValue);
    CString strCaption;
    dlg.m_ctl1.GetProperty(OXTC_CAPTION, VT_BSTR, &strCaption);
    EXPECT_EQ(CString("Aus Vorlage"), strCaption);
    BOOL bLoaded = FALSE;
    dlg.m_ctl1.GetProperty(OXTC_LOADED, VT_BOOL, &bLoaded);
    EXPECT_TRUE(bLoaded);
    EXPECT_TRUE(::IsWindowEnabled(dlg.m_ctl1.m_hWnd));
    EXPECT_TRUE(::GetWindowLongA(dlg.m_ctl1.m_hWnd, GWL_STYLE) & WS_TABSTOP);

    // the second control: without data it starts empty; it is disabled as its template says
    CWnd* pCtl2 = dlg.GetDlgItem(IDC_OLE_CTL2);
    pCtl2->GetProperty(OXTC_LOADED, VT_BOOL, &bLoaded);
    EXPECT_FALSE(bLoaded);
    EXPECT_FALSE(::IsWindowEnabled(pCtl2->m_hWnd));

    // the list and combo box strings of the same data
    EXPECT_EQ(2, dlg.SendDlgItemMessage(IDC_OLE_LIST, LB_GETCOUNT));
    char szText[32] = "";
    dlg.SendDlgItemMessage(IDC_OLE_LIST, LB_GETTEXT, 1, (LPARAM)szText);
    EXPECT_STREQ("Zwei", szText);
    EXPECT_EQ(1, dlg.SendDlgItemMessage(IDC_OLE_COMBO, CB_GETCOUNT));
    dlg.SendDlgItemMessage(IDC_OLE_COMBO, CB_GETLBTEXT, 0, (LPARAM)szText);
    EXPECT_STREQ("Drei", szText);

    // events of a template control reach the dialog's map
    EXPECT_EQ(S_OK, Fire(dlg.m_ctl1, OXTC_EVENT_SPIN, 0));
    EXPECT_EQ((std::vector<std::string>{"spin 0"}), dlg.m_events);

    dlg.DestroyWindow();
    EXPECT_EQ(0, LiveControls());
    EXPECT_EQ(nullptr, dlg.m_ctl1.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_ctl1.GetControlUnknown());
}

TEST_F(ControlContainerTest, ModalDialogsAndOldTemplatesHaveTheirControlsBeforeOnInitDialog)
{
    CTemplateDialog dlg;
    dlg.m_bEndAtOnce = TRUE;
    EXPECT_EQ(107, dlg.DoModal()) << "OnInitDialog read the control's value 7";
    EXPECT_EQ(0, LiveControls());

    CTemplateDialog plain(IDD_OLE_PLAIN);
    ASSERT_TRUE(plain.Create(IDD_OLE_PLAIN));
    EXPECT_EQ((std::vector<int>{IDC_OLE_CTL3, IDC_OLE_EDIT1}), ChildIds(plain.m_hWnd));
    BOOL bLoaded = TRUE;
    plain.GetDlgItem(IDC_OLE_CTL3)->GetProperty(OXTC_LOADED, VT_BOOL, &bLoaded);
    EXPECT_FALSE(bLoaded);
    plain.DestroyWindow();
}

TEST_F(ControlContainerTest, ADialogWhoseControlCannotBeMadeFails)
{
    CTemplateDialog modal(IDD_OLE_MISSING);
    EXPECT_EQ(-1, modal.DoModal());
    EXPECT_EQ(nullptr, modal.m_hWnd);
    CTemplateDialog modeless(IDD_OLE_MISSING);
    EXPECT_FALSE(modeless.Create(IDD_OLE_MISSING));
    EXPECT_EQ(nullptr, modeless.m_hWnd);
    EXPECT_EQ(nullptr, ::FindWindowA(NULL, "Fehlt")) << "no dialog window is left";
}

// ---- form views ------------------------------------------------------------------------------------

// A form with an OLE control in its template; it attaches the control and receives its events.
class CControlForm : public CFormView {
    DECLARE_DYNCREATE(CControlForm)
public:
    CControlForm() : CFormView(IDD_OLE_FORM) {}
    CWnd m_ctl;
    std::vector<std::string> m_events;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_OLE_CTL1, m_ctl); }
    void OnSpin(short nDirection) { m_events.push_back("form spin " + std::to_string(nDirection)); }
    DECLARE_EVENTSINK_MAP()
};

IMPLEMENT_DYNCREATE(CControlForm, CFormView)

BEGIN_EVENTSINK_MAP(CControlForm, CFormView)
ON_EVENT(CControlForm, IDC_OLE_CTL1, OXTC_EVENT_SPIN, OnSpin, VTS_I2)
END_EVENTSINK_MAP()

// Forms that cannot be made: one whose template names a control that nobody serves, one
// without a template.
int g_nFailingForms = 0;

class CMissingControlForm : public CFormView {
    DECLARE_DYNCREATE(CMissingControlForm)
public:
    CMissingControlForm() : CFormView(IDD_OLE_FORM_MISSING) { g_nFailingForms++; }
    ~CMissingControlForm() override { g_nFailingForms--; }
};

IMPLEMENT_DYNCREATE(CMissingControlForm, CFormView)

class CMissingTemplateForm : public CFormView {
    DECLARE_DYNCREATE(CMissingTemplateForm)
public:
    CMissingTemplateForm() : CFormView(IDD_OLE_FORM_NONE) { g_nFailingForms++; }
    ~CMissingTemplateForm() override { g_nFailingForms--; }
};

IMPLEMENT_DYNCREATE(CMissingTemplateForm, CFormView)

// A frame whose pane is a view of the class; NULL when the frame could not be made.
CFrameWnd* MakeFormFrame(CRuntimeClass* pViewClass, LPCTSTR lpszTitle)
{
    CCreateContext context;
    context.m_pNewViewClass = pViewClass;
    CFrameWnd* pFrame = new CFrameWnd;
    if (!pFrame->Create(NULL, lpszTitle, WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), NULL, NULL, 0, &context))
        return NULL; // the frame has deleted itself
    pFrame->InitialUpdateFrame(NULL, TRUE);
    return pFrame;
}

TEST_F(ControlContainerTest, FormViewsGetTheControlsOfTheirTemplateAsDialogsDo)
{
    CFrameWnd* pFrame = MakeFormFrame(RUNTIME_CLASS(CControlForm), "Formular");
    ASSERT_NE(nullptr, pFrame);
    CWnd* pPane = pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    ASSERT_NE(nullptr, pPane);
    ASSERT_TRUE(pPane->IsKindOf(RUNTIME_CLASS(CControlForm)));
    CControlForm* pForm = (CControlForm*)pPane;
    EXPECT_EQ(1, LiveControls());
    EXPECT_EQ((std::vector<int>{IDC_OLE_EDIT1, IDC_OLE_CTL1, IDC_OLE_LIST}), ChildIds(pForm->m_hWnd))
        << "the control in its template order";

    CRect rectExpected(10, 30, 110, 50);
    ::MapDialogRect(pForm->m_hWnd, &rectExpected);
    CRect rect;
    ::GetWindowRect(pForm->GetDlgItem(IDC_OLE_CTL1)->m_hWnd, &rect);
    pForm->ScreenToClient(&rect);
    EXPECT_EQ(rectExpected, rect);
    ASSERT_EQ(pForm->GetDlgItem(IDC_OLE_CTL1)->m_hWnd, pForm->m_ctl.m_hWnd) << "DDX_Control attached the control";
    short nValue = 0;
    pForm->m_ctl.GetProperty(OXTC_VALUE, VT_I2, &nValue);
    EXPECT_EQ(12, nValue) << "the state of the initialisation data";
    CString strCaption;
    pForm->m_ctl.GetProperty(OXTC_CAPTION, VT_BSTR, &strCaption);
    EXPECT_EQ(CString("Formular"), strCaption);
    EXPECT_EQ(1, pForm->SendDlgItemMessage(IDC_OLE_LIST, LB_GETCOUNT)) << "the list's string of the same data";

    // the control's events reach the form's map
    EXPECT_EQ(S_OK, Fire(pForm->m_ctl, OXTC_EVENT_SPIN, 3));
    EXPECT_EQ((std::vector<std::string>{"form spin 3"}), pForm->m_events);

    pFrame->DestroyWindow();
    EXPECT_EQ(0, LiveControls()) << "the control goes with its form";
}

TEST_F(ControlContainerTest, AFormThatCannotBeMadeFailsItsViewAndFrame)
{
    struct Case {
        const char* pszWhat;
        CRuntimeClass* pViewClass;
    };
    const Case cases[] = {
        {"a control nobody serves", RUNTIME_CLASS(CMissingControlForm)},
        {"no template", RUNTIME_CLASS(CMissingTemplateForm)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nullptr, MakeFormFrame(c.pViewClass, "Formular, das fehlschlägt")) << c.pszWhat;
        EXPECT_EQ(0, g_nFailingForms) << c.pszWhat << ": the view has gone";
        EXPECT_EQ(nullptr, ::FindWindowA(NULL, "Formular, das fehlschlägt")) << c.pszWhat << ": no frame is left";
    }
}

// ---- the class object through the program's import -------------------------------------------------

typedef HRESULT(WINAPI* PFN_COGETCLASSOBJECT)(REFCLSID, DWORD, LPVOID, REFIID, LPVOID*);
PFN_COGETCLASSOBJECT g_pfnRealCoGetClassObject = NULL;
int g_nHookCalls = 0;

// Serves the control that is registered nowhere straight from its library, as a program may.
HRESULT WINAPI HookedCoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pServerInfo, REFIID riid, LPVOID* ppv)
{
    g_nHookCalls++;
    if (IsEqualCLSID(rclsid, CLSID_OxTestControlPrivate)) {
        auto pfn = reinterpret_cast<LPFNGETCLASSOBJECT>(GetProcAddress(g_hControlDll, "DllGetClassObject"));
        return pfn(rclsid, riid, ppv);
    }
    return g_pfnRealCoGetClassObject(rclsid, dwClsContext, pServerInfo, riid, ppv);
}

// Replaces every import slot of the program that holds pfnOld; answers how many it replaced.
int PatchImports(PFN_COGETCLASSOBJECT pfnOld, PFN_COGETCLASSOBJECT pfnNew)
{
    BYTE* pBase = (BYTE*)GetModuleHandleA(NULL);
    IMAGE_NT_HEADERS* pNt = (IMAGE_NT_HEADERS*)(pBase + ((IMAGE_DOS_HEADER*)pBase)->e_lfanew);
    IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int nPatched = 0;
    for (IMAGE_IMPORT_DESCRIPTOR* pDesc = (IMAGE_IMPORT_DESCRIPTOR*)(pBase + dir.VirtualAddress); pDesc->Name != 0;
         pDesc++) {
        for (IMAGE_THUNK_DATA* pThunk = (IMAGE_THUNK_DATA*)(pBase + pDesc->FirstThunk); pThunk->u1.Function != 0;
             pThunk++) {
            if (pThunk->u1.Function != reinterpret_cast<ULONG_PTR>(pfnOld))
                continue;
            DWORD dwOld;
            VirtualProtect(&pThunk->u1.Function, sizeof(pThunk->u1.Function), PAGE_READWRITE, &dwOld);
            pThunk->u1.Function = reinterpret_cast<ULONG_PTR>(pfnNew);
            VirtualProtect(&pThunk->u1.Function, sizeof(pThunk->u1.Function), dwOld, &dwOld);
            nPatched++;
        }
    }
    return nPatched;
}

TEST_F(ControlContainerTest, TheControlsClassObjectIsAskedForThroughTheProgramsImport)
{
    CHost host;
    ASSERT_TRUE(host.Make());
    CWnd ctl;
    EXPECT_FALSE(ctl.CreateControl(CLSID_OxTestControlPrivate, "", WS_VISIBLE, kRect, &host, 1))
        << "registered nowhere";

    g_pfnRealCoGetClassObject = &CoGetClassObject;
    ASSERT_EQ(1, PatchImports(g_pfnRealCoGetClassObject, &HookedCoGetClassObject));
    g_nHookCalls = 0;
    BOOL bCreated = ctl.CreateControl(CLSID_OxTestControlPrivate, "", WS_VISIBLE, kRect, &host, 1);
    CWnd registered;
    BOOL bRegistered = registered.CreateControl(CLSID_OxTestControl, "", WS_VISIBLE, CRect(0, 60, 50, 90), &host, 2);
    PatchImports(&HookedCoGetClassObject, g_pfnRealCoGetClassObject);

    EXPECT_TRUE(bCreated) << "the program's own class object served it";
    EXPECT_TRUE(bRegistered) << "other classes pass on to the system";
    EXPECT_EQ(2, g_nHookCalls);
    EXPECT_EQ(2, LiveControls());
    host.DestroyWindow();
}

} // namespace
