// The small month calendar (qzmonth.dll) in dialogs of the class library: its members, its
// events through the sink map with the handler's corrections taken back, the grid's size
// arithmetic, and what a user's clicks, mouse and keys do.
#include <gtest/gtest.h>

#include "OleTestSupport.h"
#include "QzTestSupport.h"

using namespace qztest;
using afxtest::Var;

namespace {

const long k07012008 = 39452;
const long k31032008 = 39536;
const long k30042008 = 39566;

// The centre of a cell by the documented size arithmetic: the window is
// 4 + columns * (CellWidth + 2 * CellMargin) wide and 4 + 8 * (Option93 + Option90 + 5 * RowSpacing)
// high, rows are the caption, the day letters and six weeks from Monday. nFirst: weekday of
// the month's first day (0 = Monday).
POINT CellCentre(CWnd* pCtl, int nRow, int nColumn)
{
    bool bWeeks = GetShort(pCtl, QZ_MONTH_SHOWWEEKNUMBERS) != 0;
    int nColumns = bWeeks ? 8 : 7;
    CRect rect;
    pCtl->GetClientRect(&rect);
    int xCell = (rect.Width() - 4) / nColumns, yRow = (rect.Height() - 4) / 8;
    int xGrid = 2 + ((rect.Width() - 4) - xCell * nColumns) / 2, yGrid = 2 + ((rect.Height() - 4) - yRow * 8) / 2;
    return CPoint(xGrid + nColumn * xCell + xCell / 2, yGrid + nRow * yRow + yRow / 2);
}

POINT DayCentre(CWnd* pCtl, int nFirst, int nDay)
{
    bool bWeeks = GetShort(pCtl, QZ_MONTH_SHOWWEEKNUMBERS) != 0;
    int nIndex = nFirst + nDay - 1;
    return CellCentre(pCtl, 2 + nIndex / 7, (bWeeks ? 1 : 0) + nIndex % 7);
}

POINT NextArrow(CWnd* pCtl) { return CellCentre(pCtl, 0, GetShort(pCtl, QZ_MONTH_SHOWWEEKNUMBERS) ? 7 : 6); }
POINT PreviousArrow(CWnd* pCtl) { return CellCentre(pCtl, 0, 0); }

class QzMonthTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ServeClasses()); }
    static void TearDownTestSuite() { RevokeClasses(); }
    void SetUp() override
    {
        ASSERT_TRUE(m_host.Make());
        m_pMonth = m_host.Control(IDC_QZ_MONTH);
        ASSERT_NE(nullptr, m_pMonth);
        SetLong(m_pMonth, QZ_TEST_TODAY, k07012008);
        SetLong(m_pMonth, QZ_MONTH_DATE, k07012008);
    }
    void TearDown() override
    {
        if (m_host.m_hWnd != NULL)
            m_host.DestroyWindow();
        Settle();
        CWnd::DeleteTempMap();
        EXPECT_EQ(S_OK, CanUnloadNow(QZ_MONTH_DLL)) << "every calendar is released with its dialog";
    }
    IDispatch* Dispatch()
    {
        IDispatch* pDispatch = NULL;
        m_pMonth->GetControlUnknown()->QueryInterface(IID_IDispatch, (void**)&pDispatch);
        pDispatch->Release();
        return pDispatch;
    }
    // The date as day.month.year.
    std::string Shown()
    {
        return std::to_string(GetShort(m_pMonth, QZ_MONTH_DAY)) + "." + std::to_string(GetShort(m_pMonth, QZ_MONTH_MONTH)) +
               "." + std::to_string(GetShort(m_pMonth, QZ_MONTH_YEAR));
    }

    CQzHost m_host{IDD_QZ_PICKER};
    CWnd* m_pMonth = nullptr;
};

TEST_F(QzMonthTest, PropertiesAndMethodsTakeAndAnswerTheirTypesWithoutEvents)
{
    IDispatch* pDispatch = Dispatch();
    struct Case {
        DISPID dispid;
        Var put;
        long nGot; // as a long
    };
    const Case cases[] = {
        {QZ_MONTH_DATE, Var::I4(k31032008), k31032008},
        {QZ_MONTH_MONTH, Var::I2(4), 4},
        {QZ_MONTH_DAY, Var(), 30}, // 31 March shown as April keeps a day of April
        {QZ_MONTH_YEAR, Var::I2(2009), 2009},
        {QZ_MONTH_MONTH, Var::I2(13), 12},
        {QZ_MONTH_MONTH, Var::I2(0), 1},
        {QZ_MONTH_YEAR, Var::I2(1800), 1900},
        {QZ_MONTH_CAPTIONCOLOR, Var::I4(RGB(10, 20, 30)), RGB(10, 20, 30)},
        {QZ_MONTH_BACKCOLOR, Var::I4(RGB(250, 250, 240)), RGB(250, 250, 240)},
        {QZ_MONTH_OPTION55, Var::Bool(false), 0},
        {QZ_MONTH_SHOWWEEKNUMBERS, Var::Bool(true), -1},
        {QZ_MONTH_OPTION67, Var::I2(4), 4},
        {QZ_MONTH_OPTION89, Var::I2(65), 65},
        {QZ_MONTH_CELLWIDTH, Var::I2(13), 13},
        {QZ_MONTH_OPTION93, Var::I2(13), 13},
        {QZ_MONTH_ROWSPACING, Var::I2(1), 2}, // at least 2
        {QZ_MONTH_ROWSPACING, Var::I2(5), 5},
        {QZ_MONTH_OPTION95, Var::I4(1), 1},
        {QZ_MONTH_OPTION90, Var(), 3},
        {QZ_MONTH_CELLMARGIN, Var(), 1},
    };
    for (const Case& c : cases) {
        if (c.put.v.vt != VT_EMPTY) {
            afxtest::CallResult put;
            afxtest::Call(put, pDispatch, c.dispid, DISPATCH_PROPERTYPUT, {c.put});
            EXPECT_EQ(S_OK, put.hr) << "put of " << c.dispid;
        }
        afxtest::CallResult get;
        afxtest::Call(get, pDispatch, c.dispid, DISPATCH_PROPERTYGET);
        ASSERT_EQ(S_OK, get.hr) << "get of " << c.dispid;
        VARTYPE vt = get.result.v.vt;
        EXPECT_EQ(c.put.v.vt != VT_EMPTY ? c.put.v.vt : (VARTYPE)VT_I2, vt) << "type of " << c.dispid;
        long nGot = vt == VT_I2 ? get.result.v.iVal : vt == VT_BOOL ? get.result.v.boolVal : get.result.v.lVal;
        EXPECT_EQ(c.nGot, nGot) << "DISPID " << c.dispid;
    }
    // the two mark colours differ and are colours
    long nA = GetLong(m_pMonth, QZ_MONTH_MARKCOLORA), nB = GetLong(m_pMonth, QZ_MONTH_MARKCOLORB);
    EXPECT_NE(nA, nB);
    EXPECT_EQ(0, nA & 0xFF000000);

    // names as the program joins them
    m_pMonth->SetProperty(QZ_MONTH_DAYNAMES, VT_BSTR, "S,M,D,M,D,F,S");
    m_pMonth->SetProperty(QZ_MONTH_MONTHNAMES, VT_BSTR, "Jan,Feb,Mrz,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez");
    CString strNames;
    m_pMonth->GetProperty(QZ_MONTH_MONTHNAMES, VT_BSTR, &strNames);
    EXPECT_EQ(CString("Jan,Feb,Mrz,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez"), strNames);

    // indexed day properties and marks
    SetLong(m_pMonth, QZ_MONTH_DATE, k07012008);
    static const BYTE parmsDayBool[] = VTS_I2 VTS_BOOL;
    static const BYTE parmsDayLong[] = VTS_I2 VTS_I4;
    static const BYTE parmsDay[] = VTS_I2;
    m_pMonth->InvokeHelper(QZ_MONTH_DAYSELECTED, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parmsDayBool, (short)7, FALSE);
    BOOL bSelected = TRUE;
    m_pMonth->InvokeHelper(QZ_MONTH_DAYSELECTED, DISPATCH_PROPERTYGET, VT_BOOL, &bSelected, parmsDay, (short)7);
    EXPECT_FALSE(bSelected);
    m_pMonth->InvokeHelper(QZ_MONTH_DAYBACKCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parmsDayLong, (short)9, RGB(1, 2, 3));
    long nColor = 0;
    m_pMonth->InvokeHelper(QZ_MONTH_DAYBACKCOLOR, DISPATCH_PROPERTYGET, VT_I4, &nColor, parmsDay, (short)9);
    EXPECT_EQ((long)RGB(1, 2, 3), nColor);
    short nMarks = 0;
    for (short n = 1; n <= 3; n++) {
        m_pMonth->InvokeHelper(QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, VT_I2, &nMarks, parmsDayLong, (short)15, nA);
        EXPECT_EQ(n, nMarks);
    }
    m_pMonth->InvokeHelper(QZ_MONTH_CLEARDAYMARKS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    m_pMonth->InvokeHelper(QZ_MONTH_DAYBACKCOLOR, DISPATCH_PROPERTYGET, VT_I4, &nColor, parmsDay, (short)9);
    EXPECT_EQ(-1, nColor) << "clearing the marks clears the day colours";
    m_pMonth->InvokeHelper(QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, VT_I2, &nMarks, parmsDayLong, (short)15, nA);
    EXPECT_EQ(1, nMarks);

    m_pMonth->InvokeHelper(QZ_MONTH_SELECTTODAY, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    EXPECT_EQ(k07012008, GetLong(m_pMonth, QZ_MONTH_DATE));
    EXPECT_TRUE(m_host.m_events.empty()) << "puts and methods raise nothing: " << m_host.m_events.front();
}

TEST_F(QzMonthTest, BadIndexesCountsAndTypesGetTheirDispatchErrors)
{
    IDispatch* pDispatch = Dispatch();
    SetLong(m_pMonth, QZ_MONTH_DATE, 39505); // 29.02.2008
    struct Case {
        const char* pszWhat;
        DISPID dispid;
        WORD wFlags;
        std::vector<Var> args;
        HRESULT hr;
    };
    const Case cases[] = {
        {"day 0", QZ_MONTH_DAYSELECTED, DISPATCH_PROPERTYPUT, {Var::I2(0), Var::Bool(true)}, DISP_E_BADINDEX},
        {"day 32", QZ_MONTH_DAYBACKCOLOR, DISPATCH_PROPERTYGET, {Var::I2(32)}, DISP_E_BADINDEX},
        {"30 February", QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, {Var::I2(30), Var::I4(0)}, DISP_E_BADINDEX},
        {"a mark without colour", QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, {Var::I2(3)}, DISP_E_BADPARAMCOUNT},
        {"an index missing", QZ_MONTH_DAYTEXTCOLOR, DISPATCH_PROPERTYPUT, {Var::I4(0)}, DISP_E_BADPARAMCOUNT},
        {"a text for a date", QZ_MONTH_DATE, DISPATCH_PROPERTYPUT, {Var::Str(L"morgen")}, DISP_E_TYPEMISMATCH},
        {"a put of the day", QZ_MONTH_DAY, DISPATCH_PROPERTYPUT, {Var::I2(3)}, DISP_E_MEMBERNOTFOUND},
        {"six day names", QZ_MONTH_DAYNAMES, DISPATCH_PROPERTYPUT, {Var::Str(L"M,D,M,D,F,S")}, E_INVALIDARG},
    };
    for (const Case& c : cases) {
        afxtest::CallResult r;
        afxtest::Call(r, pDispatch, c.dispid, c.wFlags, c.args);
        EXPECT_EQ(c.hr, r.hr) << c.pszWhat;
    }
    EXPECT_EQ(39505, GetLong(m_pMonth, QZ_MONTH_DATE));
    CString strNames;
    m_pMonth->GetProperty(QZ_MONTH_DAYNAMES, VT_BSTR, &strNames);
    EXPECT_EQ(7, strNames.GetLength() / 2 + 1) << "seven names stay";

    // a day holds QZ_MONTH_MAXMARKS marks
    static const BYTE parms[] = VTS_I2 VTS_I4;
    short nMarks = 0;
    for (int i = 0; i < QZ_MONTH_MAXMARKS; i++)
        m_pMonth->InvokeHelper(QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, VT_I2, &nMarks, parms, (short)3, 0L);
    EXPECT_EQ(QZ_MONTH_MAXMARKS, nMarks);
    afxtest::CallResult r;
    afxtest::Call(r, pDispatch, QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, {Var::I2(3), Var::I4(0)});
    EXPECT_EQ(DISP_E_OVERFLOW, r.hr);
}

TEST_F(QzMonthTest, TheTestMemberRaisesEventsAndAnswersWhatTheHandlerWrote)
{
    m_host.m_bCorrectDay = true;
    afxtest::CallResult r;
    afxtest::Call(r, Dispatch(), QZ_TEST_FIRE, DISPATCH_METHOD,
                  {Var::I2(QZ_MONTH_EV_DATECHANGED), Var::I2(-1), Var::I2(31), Var::I2(4), Var::I2(2008)});
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_EQ(1, r.result.v.iVal) << "one sink";
    EXPECT_EQ((std::vector<std::string>{"datechanged 1002 -1 31.4.2008"}), m_host.m_events);
    static const BYTE parms[] = VTS_I2;
    short nDay = 0;
    m_pMonth->InvokeHelper(QZ_TEST_ARG, DISPATCH_PROPERTYGET, VT_I2, &nDay, parms, (short)1);
    EXPECT_EQ(30, nDay) << "the by-reference day as the handler left it";
}

// ---- what a user does --------------------------------------------------------------------------

TEST_F(QzMonthTest, AClickedDayRaisesDateChangedTakesTheCorrectionThenDayClicked)
{
    ASSERT_TRUE(BringToFront(&m_host));
    // January 2008 begins on a Tuesday
    ClickAt(m_pMonth, DayCentre(m_pMonth, 1, 15));
    EXPECT_EQ((std::vector<std::string>{"datechanged 1002 0 15.1.2008", "clicked 1002 15", "click 1002"}),
              Without(m_host.m_events, "hover"));
    EXPECT_EQ(k07012008 + 8, GetLong(m_pMonth, QZ_MONTH_DATE));

    m_host.m_events.clear();
    ClickAt(m_pMonth, DayCentre(m_pMonth, 1, 15));
    EXPECT_EQ((std::vector<std::string>{"clicked 1002 15", "click 1002"}), Without(m_host.m_events, "hover"))
        << "the same date";

    m_host.m_events.clear();
    m_host.m_nWriteDay = 20;
    ClickAt(m_pMonth, DayCentre(m_pMonth, 1, 10));
    EXPECT_EQ((std::vector<std::string>{"datechanged 1002 0 10.1.2008", "clicked 1002 20", "click 1002"}),
              Without(m_host.m_events, "hover"));
    EXPECT_EQ("20.1.2008", Shown()) << "what the handler wrote back";

    // what a handler writes that is no date is brought into range
    struct Case {
        short nDay, nMonth;
        const char* pszShown;
    };
    const Case cases[] = {{31, 2, "29.2.2008"}, {-3, 13, "1.12.2008"}, {40, -1, "31.1.2008"}};
    for (const Case& c : cases) {
        SetLong(m_pMonth, QZ_MONTH_DATE, k07012008);
        m_host.m_nWriteDay = c.nDay;
        m_host.m_nWriteMonth = c.nMonth;
        ClickAt(m_pMonth, DayCentre(m_pMonth, 1, 16));
        EXPECT_EQ(c.pszShown, Shown()) << "day " << c.nDay << ", month " << c.nMonth;
    }
}

// A sink of the event interface besides the dialog's: it counts what reaches it.
class CCountingSink : public IDispatch {
public:
    int m_nEvents = 0;
    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, DIID_QzMonthEvents)) {
            *ppv = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(GetTypeInfoCount)(UINT* pn) override
    {
        *pn = 0;
        return S_OK;
    }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        m_nEvents++;
        return S_OK;
    }
};

TEST_F(QzMonthTest, EveryConnectedSinkReceivesTheEvents)
{
    IConnectionPointContainer* pContainer = NULL;
    ASSERT_EQ(S_OK, m_pMonth->GetControlUnknown()->QueryInterface(IID_IConnectionPointContainer, (void**)&pContainer));
    IConnectionPoint* pPoint = NULL;
    ASSERT_EQ(S_OK, pContainer->FindConnectionPoint(DIID_QzMonthEvents, &pPoint));
    pContainer->Release();
    CCountingSink sink;
    DWORD dwCookie = 0;
    ASSERT_EQ(S_OK, pPoint->Advise(&sink, &dwCookie));
    EXPECT_EQ(2, GetShort(m_pMonth, QZ_TEST_SINKS));

    ASSERT_TRUE(BringToFront(&m_host));
    m_host.m_events.clear();
    ClickAt(m_pMonth, DayCentre(m_pMonth, 1, 16));
    EXPECT_EQ((std::vector<std::string>{"datechanged 1002 0 16.1.2008", "clicked 1002 16", "click 1002"}),
              Without(m_host.m_events, "hover"));
    EXPECT_EQ(m_host.m_events.size(), (size_t)sink.m_nEvents);

    EXPECT_EQ(S_OK, pPoint->Unadvise(dwCookie));
    EXPECT_EQ(CONNECT_E_NOCONNECTION, pPoint->Unadvise(dwCookie));
    EXPECT_EQ(1, GetShort(m_pMonth, QZ_TEST_SINKS));
    pPoint->Release();
}

TEST_F(QzMonthTest, TheMonthArrowsKeepTheDayUntilTheHandlerCorrectsIt)
{
    ASSERT_TRUE(BringToFront(&m_host));
    struct Case {
        long nStart;
        bool bNext;
        bool bCorrect;
        const char* pszReported;
        const char* pszShown;
    };
    const Case cases[] = {
        {k31032008, true, true, "datechanged 1002 0 31.4.2008", "30.4.2008"},
        {k31032008, false, false, "datechanged 1002 0 31.2.2008", "29.2.2008"}, // clamped by the calendar
        {39796 /* 16.12.2008 */, true, false, "datechanged 1002 0 16.1.2009", "16.1.2009"},
        {39452, false, false, "datechanged 1002 0 7.12.2007", "7.12.2007"},
    };
    for (const Case& c : cases) {
        SetLong(m_pMonth, QZ_MONTH_DATE, c.nStart);
        m_host.m_events.clear();
        m_host.m_bCorrectDay = c.bCorrect;
        ClickAt(m_pMonth, c.bNext ? NextArrow(m_pMonth) : PreviousArrow(m_pMonth));
        EXPECT_EQ((std::vector<std::string>{c.pszReported}), m_host.m_events);
        EXPECT_EQ(c.pszShown, Shown());
        if (c.nStart == k31032008 && c.bCorrect) {
            EXPECT_EQ(k30042008, GetLong(m_pMonth, QZ_MONTH_DATE));
        }
    }
}

TEST_F(QzMonthTest, APopupThatEndsInDayClickedKeepsTheDate)
{
    m_host.m_bDestroyOnDayClicked = true;
    ASSERT_TRUE(BringToFront(&m_host));
    ClickAt(m_pMonth, DayCentre(m_pMonth, 1, 23));
    EXPECT_EQ(nullptr, m_host.m_hWnd) << "the handler ended the dialog";
    EXPECT_EQ(20080123, m_host.m_nPicked);
    EXPECT_EQ("clicked 1002 23", m_host.m_events.back());
}

TEST_F(QzMonthTest, HoverArrowsAndReturnReachTheControlInADialog)
{
    ASSERT_TRUE(BringToFront(&m_host));
    MoveTo(m_pMonth, CellCentre(m_pMonth, 0, 3));
    m_host.m_events.clear();
    MoveTo(m_pMonth, DayCentre(m_pMonth, 1, 9));
    MoveTo(m_pMonth, DayCentre(m_pMonth, 1, 10));
    MoveTo(m_pMonth, CellCentre(m_pMonth, 0, 3)); // the caption
    MoveTo(m_pMonth, DayCentre(m_pMonth, 1, 10));
    EXPECT_EQ((std::vector<std::string>{"hover 1002 9", "hover 1002 10", "hover 1002 10"}), m_host.m_events);

    m_host.m_events.clear();
    m_host.GotoDlgCtrl(m_pMonth);
    Settle();
    PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_NE(nullptr, m_host.m_hWnd) << "Return went to the calendar, not to the dialog";
    EXPECT_EQ((std::vector<std::string>{"keydown 1002 39 0", "datechanged 1002 0 8.1.2008", "keydown 1002 40 0",
                                        "datechanged 1002 0 15.1.2008", "keydown 1002 13 0"}),
              m_host.m_events);
}

TEST_F(QzMonthTest, TheGridAgreesWithTheSizeArithmetic)
{
    struct Case {
        BOOL bWeeks;
        short nCellWidth;
        short nRowSpacing;
        int nDay;
    };
    const Case cases[] = {{FALSE, 13, 2, 15}, {FALSE, 20, 4, 31}, {TRUE, 16, 3, 22}, {TRUE, 13, 2, 1}};
    m_host.MoveWindow(0, 0, 600, 500);
    for (const Case& c : cases) {
        CWnd ctl;
        int nColumns = c.bWeeks ? 8 : 7;
        int cx = 4 + nColumns * (c.nCellWidth + 2 * 1);
        int cy = 4 + 8 * (13 + 3 + 5 * c.nRowSpacing);
        ASSERT_TRUE(ctl.CreateControl(CLSID_QzMonth, "", WS_VISIBLE, CRect(300, 10, 300 + cx, 10 + cy), &m_host,
                                      IDC_QZ_MONTH1));
        SetLong(&ctl, QZ_MONTH_DATE, k07012008);
        SetBool(&ctl, QZ_MONTH_SHOWWEEKNUMBERS, c.bWeeks);
        SetShort(&ctl, QZ_MONTH_CELLWIDTH, c.nCellWidth);
        SetShort(&ctl, QZ_MONTH_ROWSPACING, c.nRowSpacing);
        EXPECT_EQ(c.nCellWidth + 2 * GetShort(&ctl, QZ_MONTH_CELLMARGIN), (cx - 4) / nColumns);
        EXPECT_EQ(GetShort(&ctl, QZ_MONTH_OPTION93) + GetShort(&ctl, QZ_MONTH_OPTION90) + 5 * c.nRowSpacing, (cy - 4) / 8);
        ASSERT_TRUE(BringToFront(&m_host));
        m_host.m_events.clear();
        // the cell of the day from CellWidth and RowSpacing alone
        int nIndex = 1 + c.nDay - 1; // January 2008 begins on a Tuesday
        int nColumn = (c.bWeeks ? 1 : 0) + nIndex % 7, nRow = 2 + nIndex / 7;
        int xCell = c.nCellWidth + 2, yRow = 13 + 3 + 5 * c.nRowSpacing;
        ClickAt(&ctl, CPoint(2 + nColumn * xCell + xCell / 2, 2 + nRow * yRow + yRow / 2));
        std::vector<std::string> events = Without(m_host.m_events, "hover");
        ASSERT_GE(events.size(), 2u);
        EXPECT_EQ("clicked 1007 " + std::to_string(c.nDay), events[1]) << "cell width " << c.nCellWidth;
        ctl.DestroyWindow();
    }
}

TEST_F(QzMonthTest, Screenshots)
{
    // the picker at 126 x 102 dialog units: today (7 January) in the today colours and
    // framed, marks A, ABA and ABABA, the 15th selected
    long nA = GetLong(m_pMonth, QZ_MONTH_MARKCOLORA), nB = GetLong(m_pMonth, QZ_MONTH_MARKCOLORB);
    m_pMonth->SetProperty(QZ_MONTH_DAYNAMES, VT_BSTR, "S,M,D,M,D,F,S");
    SetLong(m_pMonth, QZ_MONTH_CAPTIONCOLOR, (long)::GetSysColor(COLOR_ACTIVECAPTION));
    SetLong(m_pMonth, QZ_MONTH_DATE, k07012008 + 8);
    static const BYTE parms[] = VTS_I2 VTS_I4;
    short nMarks = 0;
    const int kMarks[][2] = {{8, 1}, {9, 3}, {10, 5}, {21, 3}};
    for (const auto& m : kMarks)
        for (int i = 0; i < m[1]; i++)
            m_pMonth->InvokeHelper(QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, VT_I2, &nMarks, parms, (short)m[0], i % 2 ? nB : nA);
    m_pMonth->InvokeHelper(QZ_MONTH_DAYBACKCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parms, (short)7,
                           (long)::GetSysColor(COLOR_BTNFACE));
    m_pMonth->InvokeHelper(QZ_MONTH_DAYTEXTCOLOR, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parms, (short)7,
                           (long)::GetSysColor(COLOR_WINDOWTEXT));
    CRect rect, expected(0, 0, 126, 102);
    m_host.MapDialogRect(&expected);
    m_pMonth->GetWindowRect(&rect);
    EXPECT_EQ(expected.Size(), rect.Size());
    EXPECT_FALSE(SaveShot(&m_host, "month-picker-marks-today").empty());

    // two calendars with week numbers from their saved state
    CQzHost two(IDD_QZ_TWO_MONTHS);
    ASSERT_TRUE(two.Make());
    CWnd* pLeft = two.Control(IDC_QZ_MONTH1);
    CWnd* pRight = two.Control(IDC_QZ_MONTH2);
    EXPECT_NE(0, GetShort(pLeft, QZ_MONTH_SHOWWEEKNUMBERS));
    for (CWnd* pCtl : {pLeft, pRight}) {
        SetLong(pCtl, QZ_TEST_TODAY, k07012008);
        pCtl->SetProperty(QZ_MONTH_MONTHNAMES, VT_BSTR, "Jan,Feb,Mrz,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez");
    }
    SetLong(pLeft, QZ_MONTH_DATE, k07012008);
    SetLong(pRight, QZ_MONTH_DATE, k07012008 + 31);
    static const BYTE parmsSel[] = VTS_I2 VTS_BOOL;
    pRight->InvokeHelper(QZ_MONTH_DAYSELECTED, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parmsSel, (short)7, FALSE);
    for (int i = 0; i < 3; i++)
        pRight->InvokeHelper(QZ_MONTH_ADDDAYMARK, DISPATCH_METHOD, VT_I2, &nMarks, parms, (short)14, i % 2 ? nB : nA);
    EXPECT_FALSE(SaveShot(&two, "month-two-with-week-numbers").empty());
    EXPECT_TRUE(Without(two.m_events, "hover").empty()) << "puts raise nothing";
    two.DestroyWindow();
}

} // namespace
