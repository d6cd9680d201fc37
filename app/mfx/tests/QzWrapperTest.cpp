// The typed wrappers of the qz controls: every member reaches its control as one automation
// call with the DISPID, kind and argument types the call sites rely on. A recorder control
// (qzrecorder.dll) logs the calls; the expected lines are written out here by hand, so a wrong
// number or type in the contract header shows. The real date field and month calendar answer
// through the same wrappers.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <afxdisp.h>

#include <functional>
#include <string>
#include <vector>

#include "CCtDEdit.h"
#include "CMultiDay.h"
#include "CctCalendar.h"
#include "CctMonth.h"
#include "OleTestSupport.h"
#include "QzRecorderApi.h"
#include "qzcontrols.h"

namespace {

// Serves one library's class objects inside the process (as the program's activation hook
// does: nothing in the registry).
class CServedLibrary {
public:
    bool Serve(const char* pszDll, const std::vector<const CLSID*>& clsids)
    {
        m_hModule = LoadLibraryA(pszDll);
        if (m_hModule == NULL)
            return false;
        auto pfnGet = (HRESULT(WINAPI*)(REFCLSID, REFIID, void**))GetProcAddress(m_hModule, "DllGetClassObject");
        for (const CLSID* pClsid : clsids) {
            IUnknown* pFactory = NULL;
            if (pfnGet == NULL || FAILED(pfnGet(*pClsid, IID_IClassFactory, (void**)&pFactory)))
                return false;
            DWORD dwCookie = 0;
            HRESULT hr = CoRegisterClassObject(*pClsid, pFactory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &dwCookie);
            pFactory->Release();
            if (FAILED(hr))
                return false;
            m_cookies.push_back(dwCookie);
        }
        return true;
    }
    void Revoke()
    {
        for (DWORD dwCookie : m_cookies)
            CoRevokeClassObject(dwCookie);
        m_cookies.clear();
    }
    HMODULE m_hModule = NULL;

private:
    std::vector<DWORD> m_cookies;
};

// A hidden top-level window that contains the controls.
class CHostWnd : public CWnd {
public:
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "Steuerelemente", WS_POPUP | WS_CLIPCHILDREN, CRect(0, 0, 400, 300),
                        NULL, 0);
    }
};

class QzWrapperTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(s_recorder.Serve("qzrecorder.dll",
                                     {&CLSID_QzDEdit, &CLSID_QzMultiDay, &CLSID_QzMonth, &CLSID_QzCalendar}));
        s_pfnCount = (PFN_QzRecorderCount)GetProcAddress(s_recorder.m_hModule, "QzRecorderCount");
        s_pfnLine = (PFN_QzRecorderLine)GetProcAddress(s_recorder.m_hModule, "QzRecorderLine");
        s_pfnReset = (PFN_QzRecorderReset)GetProcAddress(s_recorder.m_hModule, "QzRecorderReset");
        s_pfnAnswer = (PFN_QzRecorderAnswer)GetProcAddress(s_recorder.m_hModule, "QzRecorderAnswer");
        s_pfnFail = (PFN_QzRecorderFail)GetProcAddress(s_recorder.m_hModule, "QzRecorderFail");
        ASSERT_TRUE(s_pfnCount && s_pfnLine && s_pfnReset && s_pfnAnswer && s_pfnFail);
    }
    static void TearDownTestSuite() { s_recorder.Revoke(); }
    void SetUp() override
    {
        ASSERT_TRUE(m_host.Make());
        const CRect rect(0, 0, 200, 100);
        ASSERT_TRUE(m_edit.Create(NULL, "", WS_CHILD | WS_VISIBLE, rect, &m_host, 1013));
        ASSERT_TRUE(m_day.Create(NULL, "", WS_CHILD | WS_VISIBLE, rect, &m_host, 1000));
        ASSERT_TRUE(m_month.Create(NULL, "", WS_CHILD | WS_VISIBLE, rect, &m_host, 1006));
        ASSERT_TRUE(m_calendar.Create(NULL, "", WS_CHILD | WS_VISIBLE, rect, &m_host, 1002));
        s_pfnReset();
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        afxtest::PumpMessages();
        s_pfnReset();
    }
    static std::vector<std::wstring> Lines()
    {
        std::vector<std::wstring> lines;
        for (int i = 0; i < s_pfnCount(); i++)
            lines.push_back(s_pfnLine(i));
        return lines;
    }
    static void Answer(DISPID dispid, const VARIANT& v) { s_pfnAnswer(dispid, &v); }

    struct Row {
        const char* pszMember;
        std::function<void()> call;
        const wchar_t* pszExpected;
    };
    static void Check(const std::vector<Row>& rows)
    {
        for (const Row& row : rows) {
            s_pfnReset();
            row.call();
            std::vector<std::wstring> expected = {row.pszExpected};
            EXPECT_EQ(expected, Lines()) << row.pszMember;
        }
    }

    static CServedLibrary s_recorder;
    static PFN_QzRecorderCount s_pfnCount;
    static PFN_QzRecorderLine s_pfnLine;
    static PFN_QzRecorderReset s_pfnReset;
    static PFN_QzRecorderAnswer s_pfnAnswer;
    static PFN_QzRecorderFail s_pfnFail;

    CHostWnd m_host;
    CCtDEdit m_edit;
    CMultiDay m_day;
    CctMonth m_month;
    CctCalendar m_calendar;
};

CServedLibrary QzWrapperTest::s_recorder;
PFN_QzRecorderCount QzWrapperTest::s_pfnCount;
PFN_QzRecorderLine QzWrapperTest::s_pfnLine;
PFN_QzRecorderReset QzWrapperTest::s_pfnReset;
PFN_QzRecorderAnswer QzWrapperTest::s_pfnAnswer;
PFN_QzRecorderFail QzWrapperTest::s_pfnFail;

TEST_F(QzWrapperTest, DateFieldMembersAreTheirCalls)
{
    CCtDEdit& e = m_edit;
    Check({
        {"GetTime", [&] { e.GetTime(); }, L"29 get ->"},
        {"SetTime", [&] { e.SetTime(615); }, L"29 put I2=615"},
        {"SetMaxDate", [&] { e.SetMaxDate(109572); }, L"31 put I4=109572"},
        {"GetDate", [&] { e.GetDate(); }, L"32 get ->"},
        {"SetDate", [&] { e.SetDate(39804); }, L"32 put I4=39804"},
        {"SetToday", [&] { e.SetToday(); }, L"41 method ->"},
        {"SetNow", [&] { e.SetNow(); }, L"42 method ->"},
    });
}

TEST_F(QzWrapperTest, DayGridMembersAreTheirCalls)
{
    CMultiDay& d = m_day;
    Check({
        {"SetTimeUnits", [&] { d.SetTimeUnits(3); }, L"1 put I4=3"},
        {"SetDayStartMinute", [&] { d.SetDayStartMinute(0); }, L"2 put I2=0"},
        {"SetDayEndMinute", [&] { d.SetDayEndMinute(1439); }, L"3 put I2=1439"},
        {"SetWorkDayStart", [&] { d.SetWorkDayStart(480); }, L"19 put I2=480"},
        {"SetWorkDayEnd", [&] { d.SetWorkDayEnd(1020); }, L"20 put I2=1020"},
        {"SetWorkTimeColor", [&] { d.SetWorkTimeColor(0x00FFFFC0); }, L"22 put I4=16777152"},
        {"SetBackColor", [&] { d.SetBackColor(0x00C0C0C0); }, L"23 put I4=12632256"},
        {"SetOption24", [&] { d.SetOption24(72); }, L"24 put I2=72"},
        {"SetTopMinute", [&] { d.SetTopMinute(420); }, L"33 put I2=420"},
        {"SetDayCount", [&] { d.SetDayCount(7); }, L"37 put I2=7"},
        {"GetStartDate", [&] { d.GetStartDate(); }, L"41 get ->"},
        {"SetStartDate", [&] { d.SetStartDate(39452); }, L"41 put I4=39452"},
        {"SetStartDay", [&] { d.SetStartDay(7); }, L"42 put I2=7"},
        {"SetStartMonth", [&] { d.SetStartMonth(1); }, L"43 put I2=1"},
        {"SetStartYear", [&] { d.SetStartYear(2008); }, L"44 put I2=2008"},
        {"SetDayNames", [&] { d.SetDayNames("So;Mo;Di;Mi;Do;Fr;Sa"); }, L"49 put BSTR=So;Mo;Di;Mi;Do;Fr;Sa"},
        {"SetMonthNames", [&] { d.SetMonthNames("Januar,M\xE4rz"); }, L"50 put BSTR=Januar,M\u00E4rz"},
        {"SetHeaderFormat", [&] { d.SetHeaderFormat("D, N. M Y"); }, L"51 put BSTR=D, N. M Y"},
        {"GetSelectedItem", [&] { d.GetSelectedItem(); }, L"57 get ->"},
        {"SetSelectedItem", [&] { d.SetSelectedItem(-1); }, L"57 put I2=-1"},
        {"SetWeekCaption", [&] { d.SetWeekCaption("KW 2"); }, L"59 put BSTR=KW 2"},
        {"SetOption91", [&] { d.SetOption91(TRUE); }, L"91 put BOOL=TRUE"},
        {"SetOption96", [&] { d.SetOption96(TRUE); }, L"96 put BOOL=TRUE"},
        {"SetOption128", [&] { d.SetOption128(5); }, L"128 put I2=5"},
        {"ClearItems", [&] { d.ClearItems(); }, L"133 method"},
        {"AddItem", [&] { d.AddItem(540, 600, 39804, "Besprechung", "0000004711"); },
         L"135 method I2=540 I2=600 I4=39804 BSTR=Besprechung BSTR=0000004711 ->"},
        {"GetColumnDate", [&] { d.GetColumnDate(3); }, L"145 method I2=3 ->"},
        {"AddImage", [&] { d.AddImage(NULL); }, L"171 method DISPATCH=null ->"},
        {"HitTest", [&] { d.HitTest(120, 45); }, L"173 method I2=120 I2=45 ->"},
        {"SetItemBackColor", [&] { d.SetItemBackColor(2, 255); }, L"177 put I2=2 I4=255"},
        {"SetItemTextColor", [&] { d.SetItemTextColor(2, 65280); }, L"178 put I2=2 I4=65280"},
        {"SetItemStart", [&] { d.SetItemStart(2, 555); }, L"180 put I2=2 I2=555"},
        {"SetItemEnd", [&] { d.SetItemEnd(2, 610); }, L"181 put I2=2 I2=610"},
        {"SetItemColor", [&] { d.SetItemColor(2, 16711680); }, L"182 put I2=2 I4=16711680"},
        {"SetItemHasLocation", [&] { d.SetItemHasLocation(2, TRUE); }, L"183 put I2=2 BOOL=TRUE"},
        {"SetItemPrivate", [&] { d.SetItemPrivate(2, FALSE); }, L"184 put I2=2 BOOL=FALSE"},
        {"SetItemReminder", [&] { d.SetItemReminder(2, TRUE); }, L"185 put I2=2 BOOL=TRUE"},
        {"SetItemLocation", [&] { d.SetItemLocation(2, "M\xFCller"); }, L"187 put I2=2 BSTR=M\u00FCller"},
        {"SetItemOption188", [&] { d.SetItemOption188(2, TRUE); }, L"188 put I2=2 BOOL=TRUE"},
        {"SetItemOption189", [&] { d.SetItemOption189(2, TRUE); }, L"189 put I2=2 BOOL=TRUE"},
        {"GetItemKey", [&] { d.GetItemKey(2); }, L"190 get I2=2 ->"},
        {"SetItemDate", [&] { d.SetItemDate(2, 39805); }, L"191 put I2=2 I4=39805"},
        {"SetItemOption196", [&] { d.SetItemOption196(2, TRUE); }, L"196 put I2=2 BOOL=TRUE"},
        {"SetItemSeries", [&] { d.SetItemSeries(2, 1); }, L"208 put I2=2 I2=1"},
        {"IsItemAllDay", [&] { d.IsItemAllDay(2); }, L"210 get I2=2 ->"},
        {"SetItemAllDay", [&] { d.SetItemAllDay(2, TRUE); }, L"210 put I2=2 BOOL=TRUE"},
    });
}

TEST_F(QzWrapperTest, MonthCalendarMembersAreTheirCalls)
{
    CctMonth& m = m_month;
    Check({
        {"GetOption1", [&] { m.GetOption1(); }, L"1 get ->"},
        {"GetOption2", [&] { m.GetOption2(); }, L"2 get ->"},
        {"GetDate", [&] { m.GetDate(); }, L"10 get ->"},
        {"SetDate", [&] { m.SetDate(39452); }, L"10 put I4=39452"},
        {"GetDay", [&] { m.GetDay(); }, L"11 get ->"},
        {"GetMonth", [&] { m.GetMonth(); }, L"12 get ->"},
        {"SetMonth", [&] { m.SetMonth(12); }, L"12 put I2=12"},
        {"GetYear", [&] { m.GetYear(); }, L"13 get ->"},
        {"SetYear", [&] { m.SetYear(2008); }, L"13 put I2=2008"},
        {"SetDayNames", [&] { m.SetDayNames("S,M,D,M,D,F,S"); }, L"15 put BSTR=S,M,D,M,D,F,S"},
        {"SetMonthNames", [&] { m.SetMonthNames("Jan,Feb,Mrz"); }, L"16 put BSTR=Jan,Feb,Mrz"},
        {"GetCaptionColor", [&] { m.GetCaptionColor(); }, L"20 get ->"},
        {"SetCaptionColor", [&] { m.SetCaptionColor(8388608); }, L"20 put I4=8388608"},
        {"SetBackColor", [&] { m.SetBackColor(16777215); }, L"21 put I4=16777215"},
        {"SetOption55", [&] { m.SetOption55(FALSE); }, L"55 put BOOL=FALSE"},
        {"SetShowWeekNumbers", [&] { m.SetShowWeekNumbers(TRUE); }, L"64 put BOOL=TRUE"},
        {"SetOption67", [&] { m.SetOption67(4); }, L"67 put I2=4"},
        {"SetOption89", [&] { m.SetOption89(65); }, L"89 put I2=65"},
        {"GetOption90", [&] { m.GetOption90(); }, L"90 get ->"},
        {"SetCellWidth", [&] { m.SetCellWidth(17); }, L"91 put I2=17"},
        {"GetCellMargin", [&] { m.GetCellMargin(); }, L"92 get ->"},
        {"GetOption93", [&] { m.GetOption93(); }, L"93 get ->"},
        {"SetOption93", [&] { m.SetOption93(13); }, L"93 put I2=13"},
        {"GetRowSpacing", [&] { m.GetRowSpacing(); }, L"94 get ->"},
        {"SetRowSpacing", [&] { m.SetRowSpacing(2); }, L"94 put I2=2"},
        {"SetOption95", [&] { m.SetOption95(1); }, L"95 put I4=1"},
        {"SelectToday", [&] { m.SelectToday(); }, L"107 method"},
        {"ClearDayMarks", [&] { m.ClearDayMarks(); }, L"108 method"},
        {"AddDayMark", [&] { m.AddDayMark(9, 255); }, L"126 method I2=9 I4=255 ->"},
        {"SetDaySelected", [&] { m.SetDaySelected(9, FALSE); }, L"132 put I2=9 BOOL=FALSE"},
        {"SetDayBackColor", [&] { m.SetDayBackColor(9, 65535); }, L"133 put I2=9 I4=65535"},
        {"SetDayTextColor", [&] { m.SetDayTextColor(9, 128); }, L"141 put I2=9 I4=128"},
    });
}

TEST_F(QzWrapperTest, MonthGridMembersAreTheirCalls)
{
    CctCalendar& c = m_calendar;
    Check({
        {"SetMonthNames", [&] { c.SetMonthNames("Januar,Februar"); }, L"5 put BSTR=Januar,Februar"},
        {"SetDayNames", [&] { c.SetDayNames("Sonntag,Montag"); }, L"6 put BSTR=Sonntag,Montag"},
        {"GetLastDay", [&] { c.GetLastDay(); }, L"7 get ->"},
        {"SetLastDay", [&] { c.SetLastDay(39486); }, L"7 put I4=39486"},
        {"GetFirstDay", [&] { c.GetFirstDay(); }, L"8 get ->"},
        {"SetFirstDay", [&] { c.SetFirstDay(39444); }, L"8 put I4=39444"},
        {"SetCurrentDay", [&] { c.SetCurrentDay(39452); }, L"16 put I4=39452"},
        {"SetOption47", [&] { c.SetOption47(TRUE); }, L"47 put BOOL=TRUE"},
        {"SetOption51", [&] { c.SetOption51(1); }, L"51 put I2=1"},
        {"SetOption52", [&] { c.SetOption52(1); }, L"52 put I2=1"},
        {"SetOption53", [&] { c.SetOption53(20); }, L"53 put I2=20"},
        {"SetOption54", [&] { c.SetOption54(14); }, L"54 put I2=14"},
        {"SetOption55", [&] { c.SetOption55(TRUE); }, L"55 put BOOL=TRUE"},
        {"SetOption58", [&] { c.SetOption58(1); }, L"58 put I2=1"},
        {"SetOption59", [&] { c.SetOption59(1); }, L"59 put I2=1"},
        {"SetOption60", [&] { c.SetOption60(18); }, L"60 put I2=18"},
        {"SetMonth", [&] { c.SetMonth(1); }, L"98 put I2=1"},
        {"SetYear", [&] { c.SetYear(2008); }, L"99 put I2=2008"},
        {"ClearDays", [&] { c.ClearDays(); }, L"104 method"},
        {"AddImage", [&] { c.AddImage(NULL); }, L"105 method DISPATCH=null ->"},
        {"SelectDay", [&] { c.SelectDay(39452, FALSE); }, L"118 method I4=39452 BOOL=FALSE ->"},
        {"SetDayImage", [&] { c.SetDayImage(39452, 2); }, L"121 put I4=39452 I2=2"},
        {"SetDayLineColor1", [&] { c.SetDayLineColor1(39452, 1); }, L"125 put I4=39452 I4=1"},
        {"SetDayLineColor2", [&] { c.SetDayLineColor2(39452, 2); }, L"126 put I4=39452 I4=2"},
        {"SetDayLineColor3", [&] { c.SetDayLineColor3(39452, 3); }, L"127 put I4=39452 I4=3"},
        {"SetDayLineText1", [&] { c.SetDayLineText1(39452, "09:00 Besprechung"); }, L"128 put I4=39452 BSTR=09:00 Besprechung"},
        {"SetDayLineText2", [&] { c.SetDayLineText2(39452, "M\xFCller"); }, L"129 put I4=39452 BSTR=M\u00FCller"},
        {"SetDayLineText3", [&] { c.SetDayLineText3(39452, ""); }, L"130 put I4=39452 BSTR="},
    });
}

TEST_F(QzWrapperTest, ResultsComeBackInTheirTypes)
{
    VARIANT v;
    v.vt = VT_I2;
    v.iVal = 4;
    Answer(QZ_MDAY_ADDITEM, v);
    EXPECT_EQ(4, m_day.AddItem(540, 600, 39804, "Besprechung", "0000004711"));
    v.vt = VT_BOOL;
    v.boolVal = VARIANT_TRUE;
    Answer(QZ_MDAY_ITEMALLDAY, v);
    EXPECT_TRUE(m_day.IsItemAllDay(4));
    v.boolVal = VARIANT_FALSE;
    Answer(QZ_MDAY_ITEMALLDAY, v);
    EXPECT_FALSE(m_day.IsItemAllDay(4));
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(L"M\u00FCller 0000004711");
    Answer(QZ_MDAY_ITEMKEY, v);
    VariantClear(&v);
    EXPECT_EQ(CString("M\xFCller 0000004711"), m_day.GetItemKey(4));
    v.vt = VT_I4;
    v.lVal = 39804;
    Answer(QZ_DEDIT_DATE, v);
    EXPECT_EQ(39804, m_edit.GetDate());
    v.lVal = 39486;
    Answer(QZ_CALEND_LASTDAY, v);
    EXPECT_EQ(39486, m_calendar.GetLastDay());
    // a control that answers a long where a short is asked for: the wrapper still gets its short
    v.lVal = 1439;
    Answer(QZ_DEDIT_TIME, v);
    EXPECT_EQ(1439, m_edit.GetTime());
}

TEST_F(QzWrapperTest, AnErrorOfTheControlRaisesADispatchExceptionWithItsCode)
{
    s_pfnFail(QZ_MDAY_ADDITEM, DISP_E_OVERFLOW, L"Zu viele Eintr\u00E4ge");
    bool bThrown = false;
    try {
        m_day.AddItem(540, 600, 39804, "Besprechung", "0000004711");
    } catch (COleDispatchException* e) {
        bThrown = true;
        EXPECT_EQ(DISP_E_OVERFLOW, e->m_scError);
        EXPECT_EQ(CString("Zu viele Eintr\xE4ge"), e->m_strDescription);
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    // the other members stay usable
    s_pfnReset();
    m_day.ClearItems();
    EXPECT_EQ(std::vector<std::wstring>{L"133 method"}, Lines());
}

TEST_F(QzWrapperTest, AWrapperWithoutAControlThrowsAnOleException)
{
    CMultiDay unbound;
    const std::vector<std::function<void()>> calls = {
        [&] { unbound.SetTimeUnits(1); },
        [&] { unbound.GetItemKey(1); },
        [&] { CCtDEdit e; e.GetDate(); },
        [&] { CctMonth m; m.SelectToday(); },
        [&] { CctCalendar c; c.SetDayLineText1(39452, "x"); },
    };
    for (size_t i = 0; i < calls.size(); i++) {
        SCODE sc = S_OK;
        try {
            calls[i]();
        } catch (COleException* e) {
            sc = e->m_sc;
            e->Delete();
        }
        EXPECT_TRUE(FAILED(sc)) << "call " << i;
    }
    EXPECT_EQ(0, s_pfnCount());
}

TEST_F(QzWrapperTest, CreateMakesTheControlOfItsClassAndFailsWithoutIt)
{
    EXPECT_EQ(CLSID_QzDEdit, CCtDEdit::GetClsid());
    EXPECT_EQ(CLSID_QzMultiDay, CMultiDay::GetClsid());
    EXPECT_EQ(CLSID_QzMonth, CctMonth::GetClsid());
    EXPECT_EQ(CLSID_QzCalendar, CctCalendar::GetClsid());
    // the created controls are the recorder's four classes, each with its window and id
    EXPECT_EQ(1013, m_edit.GetDlgCtrlID());
    EXPECT_TRUE(::IsWindow(m_day.m_hWnd));
    IPersist* pPersist = NULL;
    ASSERT_EQ(S_OK, m_month.GetControlUnknown()->QueryInterface(IID_IPersist, (void**)&pPersist));
    CLSID clsid = CLSID_NULL;
    pPersist->GetClassID(&clsid);
    pPersist->Release();
    EXPECT_EQ(CLSID_QzMonth, clsid);
    // the wrappers are dynamically creatable
    CObject* pObject = RUNTIME_CLASS(CctCalendar)->CreateObject();
    ASSERT_NE(nullptr, pObject);
    EXPECT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(CWnd)));
    delete pObject;

    // a class nobody serves (the month grid's library is not registered in the test prefix,
    // unlike the date field, which the qz tests register): Create fails, no window
    s_recorder.Revoke();
    CctCalendar missing;
    EXPECT_FALSE(missing.Create(NULL, "", WS_CHILD, CRect(0, 0, 10, 10), &m_host, 1014));
    EXPECT_EQ(nullptr, missing.m_hWnd);
    // and without a parent there is nothing to contain it
    CCtDEdit orphan;
    EXPECT_FALSE(orphan.Create(NULL, "", WS_CHILD, CRect(0, 0, 10, 10), NULL, 1015));
    EXPECT_EQ(nullptr, orphan.m_hWnd);
    ASSERT_TRUE(s_recorder.Serve("qzrecorder.dll", {&CLSID_QzDEdit, &CLSID_QzMultiDay, &CLSID_QzMonth, &CLSID_QzCalendar}));
}

// The real date field and month calendar through the wrappers.
class QzWrapperRealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dedit.Serve(QZ_DEDIT_DLL, {&CLSID_QzDEdit}));
        ASSERT_TRUE(m_qzmonth.Serve(QZ_MONTH_DLL, {&CLSID_QzMonth}));
        ASSERT_TRUE(m_qzmday.Serve(QZ_MDAY_DLL, {&CLSID_QzMultiDay}));
        ASSERT_TRUE(m_host.Make());
        ASSERT_TRUE(m_edit.Create(NULL, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 120, 20), &m_host, 1013));
        ASSERT_TRUE(m_month.Create(NULL, "", WS_CHILD | WS_VISIBLE, CRect(0, 30, 200, 200), &m_host, 1006));
        ASSERT_TRUE(m_day.Create(NULL, "", WS_CHILD | WS_VISIBLE, CRect(200, 0, 400, 300), &m_host, 1000));
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        afxtest::PumpMessages();
        m_dedit.Revoke();
        m_qzmonth.Revoke();
        m_qzmday.Revoke();
    }
    CServedLibrary m_dedit, m_qzmonth, m_qzmday;
    CHostWnd m_host;
    CCtDEdit m_edit;
    CctMonth m_month;
    CMultiDay m_day;
};

TEST_F(QzWrapperRealTest, TheDayGridHandsOutItemsAndKeepsTheirKeys)
{
    m_day.SetStartDate(39804);
    m_day.SetDayCount(3);
    EXPECT_EQ(39804, m_day.GetStartDate());
    EXPECT_EQ(39805, m_day.GetColumnDate(2));
    EXPECT_EQ(1, m_day.AddItem(540, 600, 39804, "Besprechung Vertrieb", "0000004711"));
    EXPECT_EQ(2, m_day.AddItem(600, 660, 39805, "M\xFCller", "0000004712"));
    EXPECT_EQ(CString("0000004711"), m_day.GetItemKey(1));
    EXPECT_EQ(CString("0000004712"), m_day.GetItemKey(2));
    m_day.SetItemLocation(2, "Raum 1");
    EXPECT_FALSE(m_day.IsItemAllDay(2));
    m_day.SetItemAllDay(2, TRUE);
    EXPECT_TRUE(m_day.IsItemAllDay(2));
    EXPECT_LE(m_day.GetSelectedItem(), 0);
    m_day.SetSelectedItem(1);
    EXPECT_EQ(1, m_day.GetSelectedItem());
    m_day.ClearItems();
    EXPECT_LE(m_day.GetSelectedItem(), 0);
    EXPECT_EQ(1, m_day.AddItem(480, 510, 39806, "Neu", "0000000001")) << "numbers start again after ClearItems";
}

TEST_F(QzWrapperRealTest, TheDateFieldKeepsWhatTheWrapperPuts)
{
    m_edit.SetDate(39804);
    EXPECT_EQ(39804, m_edit.GetDate());
    m_edit.SetMaxDate(40000);
    m_edit.SetDate(50000);
    EXPECT_EQ(40000, m_edit.GetDate()) << "clamped to the latest date";
    m_edit.SetTime(615);
    EXPECT_EQ(615, m_edit.GetTime());
    long nToday = m_edit.SetToday();
    EXPECT_EQ(nToday, m_edit.GetDate());
    EXPECT_GT(nToday, 39804);
    short nNow = (short)m_edit.SetNow();
    EXPECT_EQ(nNow, m_edit.GetTime());
}

TEST_F(QzWrapperRealTest, TheMonthCalendarAnswersThroughTheWrapper)
{
    m_month.SetDayNames("S,M,D,M,D,F,S");
    m_month.SetMonthNames("Jan,Feb,Mrz,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez");
    m_month.SetDate(39452);
    EXPECT_EQ(39452, m_month.GetDate());
    EXPECT_EQ(7, m_month.GetDay());
    EXPECT_EQ(1, m_month.GetMonth());
    EXPECT_EQ(2008, m_month.GetYear());
    EXPECT_EQ(1, m_month.AddDayMark(9, RGB(255, 0, 0)));
    EXPECT_EQ(2, m_month.AddDayMark(9, RGB(0, 0, 255)));
    EXPECT_EQ(1, m_month.GetCellMargin());
    m_month.SetRowSpacing(3);
    EXPECT_EQ(3, m_month.GetRowSpacing());
    m_month.SetMonth(3);
    EXPECT_EQ(3, m_month.GetMonth());
    // the sixth mark of a day is refused by the control: the caller gets its error
    for (int i = 1; i <= 5; i++)
        ASSERT_EQ(i, m_month.AddDayMark(12, 0));
    SCODE sc = S_OK;
    try {
        m_month.AddDayMark(12, 0);
    } catch (COleException* e) {
        sc = e->m_sc;
        e->Delete();
    } catch (COleDispatchException* e) {
        sc = e->m_scError;
        e->Delete();
    }
    EXPECT_EQ(DISP_E_OVERFLOW, sc);
}

} // namespace

namespace {

// A window whose handler of the calendar's DayClicked throws, and one of DateChanged that works.
class CThrowingHost : public CHostWnd {
public:
    int m_nDateChanged = 0;
    void OnDayClicked(short*) { AfxThrowUserException(); }
    void OnDateChanged(short*, short*, short*, short*) { m_nDateChanged++; }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CThrowingHost, CHostWnd)
    ON_EVENT(CThrowingHost, 1006, QZ_MONTH_EV_DAYCLICKED, OnDayClicked, VTS_PI2)
    ON_EVENT(CThrowingHost, 1006, QZ_MONTH_EV_DATECHANGED, OnDateChanged, VTS_PI2 VTS_PI2 VTS_PI2 VTS_PI2)
END_EVENTSINK_MAP()

TEST(QzWrapperEventTest, AThrowingSinkHandlerGivesTheControlAnExceptionAndTheWindowLives)
{
    CServedLibrary qzmonth;
    ASSERT_TRUE(qzmonth.Serve(QZ_MONTH_DLL, {&CLSID_QzMonth}));
    CThrowingHost host;
    ASSERT_TRUE(host.Make());
    CctMonth month;
    ASSERT_TRUE(month.Create(NULL, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 170), &host, 1006));
    IDispatch* pDispatch = NULL;
    ASSERT_EQ(S_OK, month.GetControlUnknown()->QueryInterface(IID_IDispatch, (void**)&pDispatch));
    {
        afxtest::CallResult fire, result;
        afxtest::Call(fire, pDispatch, QZ_TEST_FIRE, DISPATCH_METHOD,
                      {afxtest::Var::I2(QZ_MONTH_EV_DAYCLICKED), afxtest::Var::I2(15)});
        EXPECT_EQ(S_OK, fire.hr);
        afxtest::Call(result, pDispatch, QZ_TEST_RESULT, DISPATCH_PROPERTYGET);
        EXPECT_EQ(DISP_E_EXCEPTION, result.result.v.lVal);
    }
    // the window and its other handlers go on
    EXPECT_TRUE(::IsWindow(host.m_hWnd));
    {
        afxtest::CallResult fire, result;
        afxtest::Call(fire, pDispatch, QZ_TEST_FIRE, DISPATCH_METHOD,
                      {afxtest::Var::I2(QZ_MONTH_EV_DATECHANGED), afxtest::Var::I2(0), afxtest::Var::I2(15),
                       afxtest::Var::I2(1), afxtest::Var::I2(2008)});
        afxtest::Call(result, pDispatch, QZ_TEST_RESULT, DISPATCH_PROPERTYGET);
        EXPECT_EQ(S_OK, result.result.v.lVal);
    }
    EXPECT_EQ(1, host.m_nDateChanged);
    pDispatch->Release();
    host.DestroyWindow();
    afxtest::PumpMessages();
    qzmonth.Revoke();
}

} // namespace
