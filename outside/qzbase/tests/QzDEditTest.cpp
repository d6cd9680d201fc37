// The date or time field (qzdedit.dll) in dialogs of the class library: its members through
// the dispatch driver, its state from the template, its events through the sink map, and what
// a user's typing, arrows and clicks do.
#include <gtest/gtest.h>

#include "OleTestSupport.h"
#include "QzTestSupport.h"

using namespace qztest;
using afxtest::Var;

namespace {

const long k07012008 = 39452;
const long k24122008 = 39804;

class QzDEditTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ServeClasses()); }
    static void TearDownTestSuite() { RevokeClasses(); }
    void SetUp() override
    {
        ASSERT_TRUE(m_host.Make());
        m_pDate = m_host.Control(IDC_QZ_DATE);
        m_pTime = m_host.Control(IDC_QZ_TIME);
        ASSERT_NE(nullptr, m_pDate);
        ASSERT_NE(nullptr, m_pTime);
        ASSERT_NE(nullptr, m_pDate->GetControlUnknown());
    }
    void TearDown() override
    {
        if (m_host.m_hWnd != NULL)
            m_host.DestroyWindow();
        Settle();
        CWnd::DeleteTempMap();
        CoFreeUnusedLibraries();
        EXPECT_EQ(S_OK, CanUnloadNow(QZ_DEDIT_DLL)) << "every field is released with its dialog";
    }
    IDispatch* Dispatch(CWnd* pCtl)
    {
        IDispatch* pDispatch = NULL;
        pCtl->GetControlUnknown()->QueryInterface(IID_IDispatch, (void**)&pDispatch);
        pDispatch->Release(); // the control holds it
        return pDispatch;
    }
    // The point of a field's part, its spin arrows and its button (client coordinates).
    static POINT TextPoint(CWnd* pCtl, int nChar)
    {
        CRect rect;
        pCtl->GetClientRect(&rect);
        CClientDC dc(pCtl);
        dc.SelectObject(pCtl->GetParent()->GetFont());
        CSize size = dc.GetTextExtent("0");
        return CPoint(2 + 2 + size.cx * nChar + size.cx / 2, rect.Height() / 2);
    }
    static POINT ButtonPoint(CWnd* pCtl)
    {
        CRect rect;
        pCtl->GetClientRect(&rect);
        return CPoint(rect.right - 5, rect.Height() / 2);
    }
    static POINT SpinPoint(CWnd* pCtl, bool bUp)
    {
        CRect rect;
        pCtl->GetClientRect(&rect);
        int cxButton = std::min<int>(::GetSystemMetrics(SM_CXVSCROLL), rect.Height() - 2);
        return CPoint(rect.right - 2 - cxButton - 4, bUp ? rect.top + 4 : rect.bottom - 4);
    }

    CQzHost m_host{IDD_QZ_FIELDS};
    CWnd* m_pDate = nullptr;
    CWnd* m_pTime = nullptr;
};

TEST_F(QzDEditTest, TheTemplateChoosesDateOrTimeAndPutsShowTheValueWithoutChange)
{
    EXPECT_EQ(QZ_DEDIT_MODE_DATE, GetShort(m_pDate, QZ_DEDIT_MODE));
    EXPECT_EQ(QZ_DEDIT_MODE_TIME, GetShort(m_pTime, QZ_DEDIT_MODE));
    EXPECT_EQ(QZ_DEDIT_DEFAULT_MAXDATE, GetLong(m_pDate, QZ_DEDIT_MAXDATE));

    SetLong(m_pDate, QZ_DEDIT_DATE, k07012008);
    SetShort(m_pTime, QZ_DEDIT_TIME, 9 * 60 + 45);
    CWnd* pDisabled = m_host.Control(IDC_QZ_DISABLED);
    SetLong(pDisabled, QZ_DEDIT_DATE, k24122008);
    EXPECT_EQ("07.01.2008", WindowText(m_pDate));
    EXPECT_EQ("09:45", WindowText(m_pTime));
    EXPECT_EQ("24.12.2008", WindowText(pDisabled));
    EXPECT_FALSE(pDisabled->IsWindowEnabled());
    EXPECT_TRUE(m_host.m_events.empty()) << "puts raise no Change: " << m_host.m_events.front();

    // the fields at their template sizes
    CRect rect, expected(50, 8, 148, 20);
    m_host.MapDialogRect(&expected);
    m_pDate->GetWindowRect(&rect);
    m_host.ScreenToClient(&rect);
    EXPECT_EQ(expected.Size(), rect.Size());
    EXPECT_FALSE(SaveShot(&m_host, "fields-date-time-disabled").empty());
}

TEST_F(QzDEditTest, EveryMemberTakesAndAnswersItsTypeAndClampsWhatIsOutside)
{
    SetLong(m_pDate, QZ_TEST_TODAY, k07012008);
    struct Case {
        DISPID dispid;
        VARTYPE vt;
        long nPut;
        long nGot;
    };
    const Case cases[] = {
        {QZ_DEDIT_TIME, VT_I2, 585, 585},       {QZ_DEDIT_TIME, VT_I2, 1440, 1439},
        {QZ_DEDIT_TIME, VT_I2, -5, 0},          {QZ_DEDIT_DATE, VT_I4, k24122008, k24122008},
        {QZ_DEDIT_DATE, VT_I4, -1, 0},          {QZ_DEDIT_DATE, VT_I4, 200000, QZ_DEDIT_DEFAULT_MAXDATE},
        {QZ_DEDIT_MODE, VT_I2, 1, 1},           {QZ_DEDIT_MODE, VT_I2, 0, 0},
        {QZ_DEDIT_MAXDATE, VT_I4, 40000, 40000},
    };
    for (const Case& c : cases) {
        if (c.vt == VT_I2) {
            SetShort(m_pDate, c.dispid, (short)c.nPut);
            EXPECT_EQ(c.nGot, GetShort(m_pDate, c.dispid)) << "DISPID " << c.dispid << " put " << c.nPut;
        } else {
            SetLong(m_pDate, c.dispid, c.nPut);
            EXPECT_EQ(c.nGot, GetLong(m_pDate, c.dispid)) << "DISPID " << c.dispid << " put " << c.nPut;
        }
    }
    EXPECT_EQ(40000, GetLong(m_pDate, QZ_DEDIT_DATE)) << "a lower latest date pulls the date back";

    // the methods answer what they set
    SetLong(m_pDate, QZ_DEDIT_MAXDATE, QZ_DEDIT_DEFAULT_MAXDATE);
    long nResult = 0;
    m_pDate->InvokeHelper(QZ_DEDIT_SETTODAY, DISPATCH_METHOD, VT_I4, &nResult, NULL);
    EXPECT_EQ(k07012008, nResult);
    EXPECT_EQ(k07012008, GetLong(m_pDate, QZ_DEDIT_DATE));
    m_pTime->InvokeHelper(QZ_DEDIT_SETNOW, DISPATCH_METHOD, VT_I4, &nResult, NULL);
    EXPECT_GE(nResult, 0);
    EXPECT_LE(nResult, 1439);
    EXPECT_EQ(nResult, GetShort(m_pTime, QZ_DEDIT_TIME));
    EXPECT_TRUE(m_host.m_events.empty());
}

TEST_F(QzDEditTest, CallersGetDispatchErrorsAndTheValueStays)
{
    IDispatch* pDispatch = Dispatch(m_pTime);
    SetShort(m_pTime, QZ_DEDIT_TIME, 600);
    struct Case {
        const char* pszWhat;
        DISPID dispid;
        WORD wFlags;
        std::vector<Var> args;
        HRESULT hr;
    };
    const Case cases[] = {
        {"a text for a short", QZ_DEDIT_TIME, DISPATCH_PROPERTYPUT, {Var::Str(L"zehn")}, DISP_E_TYPEMISMATCH},
        {"a long beyond a short", QZ_DEDIT_TIME, DISPATCH_PROPERTYPUT, {Var::I4(70000)}, DISP_E_OVERFLOW},
        {"two values", QZ_DEDIT_TIME, DISPATCH_PROPERTYPUT, {Var::I2(1), Var::I2(2)}, DISP_E_BADPARAMCOUNT},
        {"a get with an index", QZ_DEDIT_TIME, DISPATCH_PROPERTYGET, {Var::I2(1)}, DISP_E_BADPARAMCOUNT},
        {"a member that is not there", 77, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND},
        {"a put of a method", QZ_DEDIT_SETNOW, DISPATCH_PROPERTYPUT, {Var::I2(1)}, DISP_E_MEMBERNOTFOUND},
        {"a mode that does not exist", QZ_DEDIT_MODE, DISPATCH_PROPERTYPUT, {Var::I2(5)}, DISP_E_OVERFLOW},
        {"an argument for a method without", QZ_DEDIT_SETTODAY, DISPATCH_METHOD, {Var::I2(1)}, DISP_E_BADPARAMCOUNT},
    };
    for (const Case& c : cases) {
        afxtest::CallResult r;
        afxtest::Call(r, pDispatch, c.dispid, c.wFlags, c.args);
        EXPECT_EQ(c.hr, r.hr) << c.pszWhat;
    }
    EXPECT_EQ(600, GetShort(m_pTime, QZ_DEDIT_TIME));
    EXPECT_EQ(QZ_DEDIT_MODE_TIME, GetShort(m_pTime, QZ_DEDIT_MODE));

    // a script's long for a short is coerced, and names reach the members
    afxtest::CallResult put;
    afxtest::Call(put, pDispatch, QZ_DEDIT_TIME, DISPATCH_PROPERTYPUT, {Var::I4(615)});
    EXPECT_EQ(S_OK, put.hr);
    EXPECT_EQ(615, GetShort(m_pTime, QZ_DEDIT_TIME));
    EXPECT_EQ(QZ_DEDIT_DATE, afxtest::IdOf(pDispatch, L"Date"));
    EXPECT_EQ(QZ_DEDIT_TIME, afxtest::IdOf(pDispatch, L"Time"));
    EXPECT_TRUE(m_host.m_events.empty());
}

TEST_F(QzDEditTest, TheTestMemberRaisesEveryEventAtTheSinkMap)
{
    short nSinks = 0;
    static const BYTE parmsSpin[] = VTS_I2 VTS_I2;
    m_pTime->InvokeHelper(QZ_TEST_FIRE, DISPATCH_METHOD, VT_I2, &nSinks, parmsSpin, (short)QZ_DEDIT_EV_SPIN, (short)1);
    EXPECT_EQ(1, nSinks);
    static const BYTE parmsOne[] = VTS_I2;
    m_pDate->InvokeHelper(QZ_TEST_FIRE, DISPATCH_METHOD, VT_I2, &nSinks, parmsOne, (short)QZ_DEDIT_EV_DROPDOWN);
    m_pDate->InvokeHelper(QZ_TEST_FIRE, DISPATCH_METHOD, VT_I2, &nSinks, parmsOne, (short)QZ_DEDIT_EV_CHANGE);
    EXPECT_EQ((std::vector<std::string>{"spin 1013 1", "dropdown 1015", "change 1015"}), m_host.m_events);
    EXPECT_EQ(S_OK, GetLong(m_pDate, QZ_TEST_RESULT));

    afxtest::CallResult r;
    afxtest::Call(r, Dispatch(m_pDate), QZ_TEST_FIRE, DISPATCH_METHOD, {Var::I2(3)});
    EXPECT_EQ(DISP_E_BADINDEX, r.hr) << "qzdedit has no event 3";
}

// ---- what a user does --------------------------------------------------------------------------

TEST_F(QzDEditTest, TypedDigitsFillTheDayMonthAndYear)
{
    SetLong(m_pDate, QZ_DEDIT_DATE, k07012008);
    ASSERT_TRUE(BringToFront(&m_host));
    ClickAt(m_pDate, TextPoint(m_pDate, 0)); // the day
    ASSERT_EQ(m_pDate->m_hWnd, ::GetFocus());
    TypeText("24122008");
    EXPECT_EQ(k24122008, GetLong(m_pDate, QZ_DEDIT_DATE));
    EXPECT_EQ("24.12.2008", WindowText(m_pDate));
    ASSERT_FALSE(m_host.m_events.empty());
    EXPECT_EQ("change 1015", m_host.m_events.back());

    // impossible dates and dates past the latest one are refused
    struct Case {
        const char* pszWhat;
        long nStart;
        int nPart;
        const char* pszTyped;
    };
    const Case cases[] = {
        {"31 in February", 39505 /* 29.02.2008 */, 0, "31"},
        {"month 13", k07012008, 1, "13"},
        {"29.02. of 2007", 39505, 2, "2007"},
        {"beyond 31.12.2199", 109208 /* 01.01.2199 */, 2, "2200"},
    };
    for (const Case& c : cases) {
        SetLong(m_pDate, QZ_DEDIT_DATE, c.nStart);
        m_host.m_events.clear();
        ClickAt(m_pDate, TextPoint(m_pDate, c.nPart * 3));
        TypeText(c.pszTyped);
        PressKey(VK_RIGHT);
        EXPECT_EQ(c.nStart, GetLong(m_pDate, QZ_DEDIT_DATE)) << c.pszWhat;
        EXPECT_TRUE(m_host.m_events.empty()) << c.pszWhat;
    }
    EXPECT_FALSE(SaveShot(&m_host, "fields-after-typing").empty());
}

TEST_F(QzDEditTest, ArrowsStepTheDateAndAskTheHostToStepTheTime)
{
    SetLong(m_pDate, QZ_DEDIT_DATE, k07012008);
    SetShort(m_pTime, QZ_DEDIT_TIME, 9 * 60 + 45);
    ASSERT_TRUE(BringToFront(&m_host));

    ClickAt(m_pTime, TextPoint(m_pTime, 0));
    PressKey(VK_UP);
    EXPECT_EQ((std::vector<std::string>{"spin 1013 0"}), m_host.m_events);
    EXPECT_EQ(585, GetShort(m_pTime, QZ_DEDIT_TIME)) << "the host steps a time";
    ClickAt(m_pTime, SpinPoint(m_pTime, false));
    EXPECT_EQ("spin 1013 1", m_host.m_events.back());
    EXPECT_EQ("09:45", WindowText(m_pTime));

    m_host.m_events.clear();
    ClickAt(m_pDate, TextPoint(m_pDate, 0));
    PressKey(VK_UP);
    EXPECT_EQ(k07012008 + 1, GetLong(m_pDate, QZ_DEDIT_DATE));
    ClickAt(m_pDate, SpinPoint(m_pDate, false));
    ClickAt(m_pDate, SpinPoint(m_pDate, false));
    EXPECT_EQ(k07012008 - 1, GetLong(m_pDate, QZ_DEDIT_DATE));
    EXPECT_EQ((std::vector<std::string>{"change 1015", "change 1015", "change 1015"}), m_host.m_events);
}

TEST_F(QzDEditTest, TheButtonF4AndAltDownAskForTheDropDown)
{
    ASSERT_TRUE(BringToFront(&m_host));
    ClickAt(m_pDate, ButtonPoint(m_pDate));
    EXPECT_EQ((std::vector<std::string>{"dropdown 1015"}), m_host.m_events);
    ClickAt(m_pTime, TextPoint(m_pTime, 0));
    PressKey(VK_F4);
    PressKey(VK_DOWN, true);
    EXPECT_EQ((std::vector<std::string>{"dropdown 1015", "dropdown 1013", "dropdown 1013"}), m_host.m_events);
}

TEST_F(QzDEditTest, ADisabledFieldTakesNoInput)
{
    CWnd* pDisabled = m_host.Control(IDC_QZ_DISABLED);
    SetLong(pDisabled, QZ_DEDIT_DATE, k07012008);
    ASSERT_TRUE(BringToFront(&m_host));
    ClickAt(pDisabled, TextPoint(pDisabled, 0));
    ClickAt(pDisabled, ButtonPoint(pDisabled));
    TypeText("15");
    EXPECT_NE(pDisabled->m_hWnd, ::GetFocus());
    EXPECT_EQ(k07012008, GetLong(pDisabled, QZ_DEDIT_DATE));
    EXPECT_TRUE(Of(m_host.m_events, IDC_QZ_DISABLED).empty()) << Of(m_host.m_events, IDC_QZ_DISABLED).front();
}

// ---- damaged templates -------------------------------------------------------------------------

TEST(QzDEditTemplateTest, ADamagedSavedStateFailsTheDialog)
{
    ASSERT_TRUE(ServeClasses());
    for (UINT nID : {IDD_QZ_BAD_MARK, IDD_QZ_BAD_SHORT, IDD_QZ_BAD_MODE}) {
        CQzHost host(nID);
        EXPECT_FALSE(host.Create(nID)) << "template " << nID;
        EXPECT_EQ(nullptr, host.m_hWnd);
    }
    EXPECT_EQ(nullptr, ::FindWindowA(NULL, "Defekt"));
    CoFreeUnusedLibraries();
    EXPECT_EQ(S_OK, CanUnloadNow(QZ_DEDIT_DLL)) << "no field is left alive";
}

} // namespace
