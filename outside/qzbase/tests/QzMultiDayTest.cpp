// The day and week grid (qzmday2.dll) in a dialog of the class library, filled as the day and
// week view fill it (eleven calls per entry): its member contract, bad input, the user's drags,
// clicks, double clicks, hover and keys through the event sink map, handlers that reload or put
// items back inside an event, and screenshots (build/shots/qz-multiday).
#include <gtest/gtest.h>

#include <afxdisp.h>

#include "OleTestSupport.h"
#include "QzTestSupport.h"

using namespace qztest;
using afxtest::Var;

namespace {

const long kMonday = 39452; // 07.01.2008

// One appointment of the fixture week.
struct Entry {
    int nDay; // 0 = Monday
    short nStart, nEnd;
    const char* pszSubject;
    const char* pszLocation;
    bool bReminder, bPrivate, bSeries, bLocked;
    std::string Key(int nIndex) const
    {
        char sz[16];
        snprintf(sz, sizeof(sz), "%010d", 1000 + nIndex);
        return sz;
    }
};

// The week from Monday 7 January 2008: five entries a day, overlaps on Monday, an all-day
// outing on Friday, a locked private entry of another user (no text) on Tuesday, series.
const Entry kWeek[] = {
    {0, 480, 540, "Teambesprechung", "", false, false, true, false},
    {0, 600, 660, "Besprechung Vertrieb", "Raum 2", true, false, false, false},
    {0, 630, 720, "Zahnarzt M\xfcller", "Praxis Dr. M\xfcller", true, false, false, false},
    {0, 840, 930, "Angebot Meier pr\xfc" "fen", "", false, false, false, false},
    {0, 960, 1020, "R\xfc" "ckruf Schulz", "", false, true, false, false},
    {1, 450, 510, "Fr\xfchst\xfc" "ck mit Kunden", "Caf\xe9 Central", false, false, false, false},
    {1, 540, 600, "", "", false, true, false, true},
    {1, 660, 750, "Projektplanung", "Raum 1", true, false, false, false},
    {1, 780, 840, "Mittagessen", "", false, false, false, false},
    {1, 900, 1020, "Schulung Buchhaltung", "Schulungsraum", false, false, false, false},
    {2, 480, 540, "Teambesprechung", "", false, false, true, false},
    {2, 840, 900, "Telefonkonferenz", "", true, false, false, false},
    {2, 900, 960, "Lieferantengespr\xe4" "ch", "Raum 3", false, false, false, false},
    {2, 960, 1050, "Bericht schreiben", "", false, false, false, false},
    {2, 1080, 1140, "Sport", "", false, true, false, false},
    {3, 480, 570, "Messevorbereitung", "Halle 4", false, false, false, false},
    {3, 600, 720, "Kundentermin Schmidt", "Hamburg", true, false, false, false},
    {3, 615, 690, "Vertrag pr\xfc" "fen", "", false, false, false, false},
    {3, 780, 840, "Mittagessen", "", false, false, false, false},
    {3, 870, 960, "Abteilungsleitersitzung", "Raum 1", false, false, true, false},
    {4, 0, 1439, "Betriebsausflug", "Bodensee", false, false, false, false},
    {4, 480, 540, "Post durchsehen", "", false, false, false, false},
    {4, 720, 780, "Mittagessen", "", false, false, false, false},
    {4, 840, 900, "Wochenabschluss", "", true, false, false, false},
    {4, 930, 990, "Reisekosten", "", false, false, false, false},
    {5, 600, 720, "Einkaufen", "Markt", false, true, false, false},
    {5, 780, 900, "Gartenarbeit", "", false, true, false, false},
    {5, 960, 1080, "Geburtstag Anna", "Restaurant Post", true, true, false, false},
    {5, 1140, 1260, "Kino", "", false, true, false, false},
    {5, 540, 570, "Bäcker", "", false, true, false, false},
    {6, 600, 660, "Brunch", "", false, true, false, false},
    {6, 720, 840, "Spaziergang", "", false, true, false, false},
    {6, 900, 960, "Kaffee bei Eltern", "", false, true, false, false},
    {6, 1080, 1140, "Woche planen", "", false, false, false, false},
    {6, 1200, 1260, "Telefonat Familie", "", false, true, false, false},
};
const int kWeekCount = (int)(sizeof(kWeek) / sizeof(kWeek[0]));
const int kMondayMeeting = 2; // item of "Besprechung Vertrieb" (10:00 - 11:00)
const int kLockedItem = 7;
const int kOutingItem = 21;
const int kSeriesItem = 11; // Wednesday's series entry

class CMultiDayHost : public CDialog {
public:
    CMultiDayHost() : CDialog(IDD_QZ_MULTIDAY) {}
    BOOL Make()
    {
        if (!Create(IDD_QZ_MULTIDAY))
            return FALSE;
        // the grid at 1000 x 700 pixels filling the dialog's client area
        CRect rect(0, 0, 1000, 700);
        ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
        SetWindowPos(NULL, 20, 20, rect.Width(), rect.Height(), SWP_NOZORDER);
        Grid()->SetWindowPos(NULL, 0, 0, 1000, 700, SWP_NOZORDER);
        ShowWindow(SW_SHOW);
        Settle();
        return TRUE;
    }
    CWnd* Grid() { return GetDlgItem(IDC_QZ_MDAY); }

    std::vector<std::string> m_events;
    bool m_bWeekView = true;
    const Entry* m_pEntries = kWeek;
    int m_nEntries = kWeekCount;
    enum { kRecord, kReload, kPutBack } m_onChanged = kRecord;
    POINT m_ptLastMove = {-1, -1};
    std::vector<Entry> m_moved; // entries as a reloading handler keeps them

    void Record(const std::string& str) { m_events.push_back(str); }
    std::vector<std::string> Events(const char* pszWithout = "highlight unhighlight selected click mousedown")
    {
        std::vector<std::string> events;
        std::string strWithout = std::string(" ") + pszWithout + " ";
        for (const std::string& str : m_events)
            if (strWithout.find(" " + str.substr(0, str.find(' ')) + " ") == std::string::npos)
                events.push_back(str);
        return events;
    }

    // The day or week view's load: the start date, then every entry in eleven calls.
    void Load(const Entry* pEntries, int nCount);
    void Load() { Load(m_pEntries, m_nEntries); }

    void OnCancel() override {}
    void OnOK() override {}

protected:
    void OnSelected(short n) { Record("selected " + std::to_string(n)); }
    void OnHighlight(short n) { Record("highlight " + std::to_string(n)); }
    void OnUnhighlight(short n) { Record("unhighlight " + std::to_string(n)); }
    void OnItemOpen(short n) { Record("open " + std::to_string(n)); }
    void OnRange(short nStart, short nEnd, short nColumn)
    {
        Record("range " + std::to_string(nStart) + " " + std::to_string(nEnd) + " " + std::to_string(nColumn));
    }
    void OnItemChanged(short nItem, LPCTSTR pszKey, short nStart, short nEnd, short nColumn);
    void OnHeader(short nDay, short nMonth, short nYear)
    {
        Record("header " + std::to_string(nDay) + "." + std::to_string(nMonth) + "." + std::to_string(nYear));
    }
    void OnClick() { Record("click"); }
    void OnDblClick() { Record("dblclick"); }
    void OnKeyDown(short* pKey, short) { Record("keydown " + std::to_string(*pKey)); }
    void OnMouseDown(short nButton, short, long x, long y)
    {
        Record("mousedown " + std::to_string(nButton) + " " + std::to_string(x) + " " + std::to_string(y));
    }
    void OnMouseMove(short, short, long x, long y) { m_ptLastMove = {x, y}; }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CMultiDayHost, CDialog)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_MDAY_EV_SELECTED, OnSelected, VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_MDAY_EV_ITEMHIGHLIGHT, OnHighlight, VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_MDAY_EV_ITEMUNHIGHLIGHT, OnUnhighlight, VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_MDAY_EV_ITEMOPEN, OnItemOpen, VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_MDAY_EV_RANGESELECTED, OnRange, VTS_I2 VTS_I2 VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_MDAY_EV_ITEMCHANGED, OnItemChanged, VTS_I2 VTS_BSTR VTS_I2 VTS_I2 VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_MDAY_EV_HEADERCLICKED, OnHeader, VTS_I2 VTS_I2 VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_EV_CLICK, OnClick, VTS_NONE)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_EV_DBLCLICK, OnDblClick, VTS_NONE)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_EV_KEYDOWN, OnKeyDown, VTS_PI2 VTS_I2)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_EV_MOUSEDOWN, OnMouseDown, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
ON_EVENT(CMultiDayHost, IDC_QZ_MDAY, QZ_EV_MOUSEMOVE, OnMouseMove, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
END_EVENTSINK_MAP()

short AddItem(CWnd* pGrid, short nStart, short nEnd, long nDay, const char* pszText, const char* pszKey)
{
    static const BYTE parms[] = VTS_I2 VTS_I2 VTS_I4 VTS_BSTR VTS_BSTR;
    short nItem = 0;
    pGrid->InvokeHelper(QZ_MDAY_ADDITEM, DISPATCH_METHOD, VT_I2, &nItem, parms, nStart, nEnd, nDay, pszText, pszKey);
    return nItem;
}

void PutItemBool(CWnd* pGrid, DISPID dispid, short nItem, BOOL b)
{
    static const BYTE parms[] = VTS_I2 VTS_BOOL;
    pGrid->InvokeHelper(dispid, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parms, nItem, b);
}

void PutItemLong(CWnd* pGrid, DISPID dispid, short nItem, long n)
{
    static const BYTE parms[] = VTS_I2 VTS_I4;
    pGrid->InvokeHelper(dispid, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parms, nItem, n);
}

void PutItemShort(CWnd* pGrid, DISPID dispid, short nItem, short n)
{
    static const BYTE parms[] = VTS_I2 VTS_I2;
    pGrid->InvokeHelper(dispid, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parms, nItem, n);
}

long ItemLong(CWnd* pGrid, DISPID dispid, short nItem)
{
    static const BYTE parms[] = VTS_I2;
    long n = 0;
    pGrid->InvokeHelper(dispid, DISPATCH_PROPERTYGET, VT_I4, &n, parms, nItem);
    return n;
}

std::string ItemKey(CWnd* pGrid, short nItem)
{
    static const BYTE parms[] = VTS_I2;
    CString str;
    pGrid->InvokeHelper(QZ_MDAY_ITEMKEY, DISPATCH_PROPERTYGET, VT_BSTR, &str, parms, nItem);
    return (LPCTSTR)str;
}

// The item's box (item > 0) or a day column's timed grid (-column) in client pixels.
CRect BoxOf(CWnd* pGrid, short nItem)
{
    static const BYTE parms[] = VTS_I2 VTS_I2;
    short edges[4];
    for (short i = 0; i < 4; i++)
        pGrid->InvokeHelper(QZ_MDAY_TEST_ITEMRECT, DISPATCH_PROPERTYGET, VT_I2, &edges[i], parms, nItem, i);
    return CRect(edges[0], edges[1], edges[2], edges[3]);
}

Var DispatchVar(IDispatch* pDispatch)
{
    Var var;
    var.v.vt = VT_DISPATCH;
    var.v.pdispVal = pDispatch;
    if (pDispatch != NULL)
        pDispatch->AddRef();
    return var;
}

short HitTest(CWnd* pGrid, POINT pt)
{
    static const BYTE parms[] = VTS_I2 VTS_I2;
    short nItem = 0;
    pGrid->InvokeHelper(QZ_MDAY_HITTEST, DISPATCH_METHOD, VT_I2, &nItem, parms, (short)pt.x, (short)pt.y);
    return nItem;
}

void CMultiDayHost::Load(const Entry* pEntries, int nCount)
{
    CWnd* pGrid = Grid();
    SetShort(pGrid, QZ_MDAY_STARTYEAR, 2008);
    SetShort(pGrid, QZ_MDAY_STARTMONTH, 1);
    SetShort(pGrid, QZ_MDAY_STARTDAY, 7);
    SetLong(pGrid, QZ_MDAY_STARTDATE, kMonday);
    pGrid->SetProperty(QZ_MDAY_HEADERFORMAT, VT_BSTR, m_bWeekView ? "D, N." : "D, N. M Y");
    pGrid->InvokeHelper(QZ_MDAY_CLEARITEMS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    int nDays = (int)GetShort(pGrid, QZ_MDAY_DAYCOUNT);
    for (int nDay = 0; nDay < nDays; nDay++) {
        for (int i = 0; i < nCount; i++) {
            const Entry& e = pEntries[i];
            if (e.nDay != nDay)
                continue;
            short nItem = AddItem(pGrid, e.nStart, e.nEnd, kMonday + e.nDay, e.pszSubject, e.Key(i).c_str());
            PutItemBool(pGrid, QZ_MDAY_ITEMOPTION188, nItem, TRUE);
            PutItemBool(pGrid, QZ_MDAY_ITEMREMINDER, nItem, e.bReminder);
            PutItemBool(pGrid, QZ_MDAY_ITEMPRIVATE, nItem, e.bPrivate);
            PutItemBool(pGrid, QZ_MDAY_ITEMHASLOCATION, nItem, *e.pszLocation != '\0');
            if (e.bSeries)
                PutItemShort(pGrid, QZ_MDAY_ITEMSERIES, nItem, 1);
            PutItemBool(pGrid, QZ_MDAY_ITEMOPTION196, nItem, !m_bWeekView || e.bSeries);
            if (e.nStart == 0 && e.nEnd == 1439) {
                PutItemBool(pGrid, QZ_MDAY_ITEMALLDAY, nItem, TRUE);
                PutItemLong(pGrid, QZ_MDAY_ITEMTEXTCOLOR, nItem, (long)::GetSysColor(COLOR_WINDOWTEXT));
                PutItemLong(pGrid, QZ_MDAY_ITEMBACKCOLOR, nItem, (long)::GetSysColor(COLOR_WINDOW));
                PutItemBool(pGrid, QZ_MDAY_ITEMOPTION189, nItem, TRUE);
            }
            if (*e.pszLocation != '\0') {
                static const BYTE parms[] = VTS_I2 VTS_BSTR;
                pGrid->InvokeHelper(QZ_MDAY_ITEMLOCATION, DISPATCH_PROPERTYPUT, VT_EMPTY, NULL, parms, nItem, e.pszLocation);
            }
            static const long kUserColors[] = {RGB(0x2F, 0x62, 0xB8), RGB(0x2E, 0x8B, 0x57), RGB(0xC0, 0x50, 0x20)};
            PutItemLong(pGrid, QZ_MDAY_ITEMCOLOR, nItem, kUserColors[e.bPrivate ? 2 : e.bSeries ? 1 : 0]);
            if (e.bLocked) {
                PutItemBool(pGrid, QZ_MDAY_ITEMOPTION189, nItem, TRUE);
                PutItemBool(pGrid, QZ_MDAY_ITEMOPTION188, nItem, TRUE);
                PutItemBool(pGrid, QZ_MDAY_ITEMOPTION196, nItem, TRUE);
            }
        }
    }
    pGrid->SetProperty(QZ_MDAY_WEEKCAPTION, VT_BSTR, "KW 2");
    Settle();
}

void CMultiDayHost::OnItemChanged(short nItem, LPCTSTR pszKey, short nStart, short nEnd, short nColumn)
{
    Record("changed " + std::to_string(nItem) + " " + pszKey + " " + std::to_string(nStart) + " " + std::to_string(nEnd) +
           " " + std::to_string(nColumn));
    CWnd* pGrid = Grid();
    if (m_onChanged == kReload) {
        // saved, then the document update reloads every item
        m_moved.assign(m_pEntries, m_pEntries + m_nEntries);
        int nIndex = atoi(pszKey) - 1000;
        m_moved[(size_t)nIndex].nStart = nStart;
        m_moved[(size_t)nIndex].nEnd = nEnd;
        m_moved[(size_t)nIndex].nDay = nColumn - 1;
        Load(m_moved.data(), (int)m_moved.size());
    } else if (m_onChanged == kPutBack) {
        // the save failed: the item goes back to where it was
        const Entry& e = m_pEntries[atoi(pszKey) - 1000];
        PutItemShort(pGrid, QZ_MDAY_ITEMSTART, nItem, e.nStart);
        PutItemShort(pGrid, QZ_MDAY_ITEMEND, nItem, e.nEnd);
        PutItemLong(pGrid, QZ_MDAY_ITEMDATE, nItem, kMonday + e.nDay);
    }
}

class QzMultiDayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ServeClasses()); }
    static void TearDownTestSuite() { RevokeClasses(); }
    void SetUp() override
    {
        ASSERT_TRUE(m_host.Make());
        m_pGrid = m_host.Grid();
        ASSERT_NE(nullptr, m_pGrid);
        SetUpView(7, QZ_MDAY_UNITS_15);
    }
    void TearDown() override
    {
        if (m_host.m_hWnd != NULL)
            m_host.DestroyWindow();
        Settle();
        CWnd::DeleteTempMap();
        EXPECT_EQ(S_OK, CanUnloadNow(QZ_MDAY_DLL)) << "the grid is released with its dialog";
    }
    // The view's initial set-up, then the load.
    void SetUpView(short nDays, long nUnits)
    {
        SetLong(m_pGrid, QZ_TEST_TODAY, kMonday + 2);
        SetShort(m_pGrid, QZ_MDAY_DAYCOUNT, nDays);
        SetLong(m_pGrid, QZ_MDAY_STARTDATE, kMonday);
        SetBool(m_pGrid, QZ_MDAY_OPTION96, TRUE);
        SetShort(m_pGrid, QZ_MDAY_DAYSTARTMINUTE, 0);
        SetShort(m_pGrid, QZ_MDAY_DAYENDMINUTE, 1439);
        SetShort(m_pGrid, QZ_MDAY_WORKDAYSTART, 480);
        SetShort(m_pGrid, QZ_MDAY_WORKDAYEND, 1020);
        SetBool(m_pGrid, QZ_MDAY_OPTION91, TRUE);
        SetShort(m_pGrid, QZ_MDAY_OPTION128, 5);
        SetLong(m_pGrid, QZ_MDAY_BACKCOLOR, RGB(0xE6, 0xE6, 0xDC));
        SetLong(m_pGrid, QZ_MDAY_WORKTIMECOLOR, RGB(0xFF, 0xFF, 0xE1));
        SetLong(m_pGrid, QZ_MDAY_TIMEUNITS, nUnits);
        m_pGrid->SetProperty(QZ_MDAY_MONTHNAMES, VT_BSTR, "Jan,Feb,Mrz,Apr,Mai,Juni,Juli,Aug,Sep,Okt,Nov,Dez");
        m_pGrid->SetProperty(QZ_MDAY_DAYNAMES, VT_BSTR, "So;Mo;Di;Mi;Do;Fr;Sa");
        SetShort(m_pGrid, QZ_MDAY_TOPMINUTE, 480 - 60);
        m_host.m_bWeekView = nDays != 1;
        m_host.Load();
        m_host.m_events.clear();
    }
    IDispatch* Dispatch()
    {
        IDispatch* pDispatch = NULL;
        m_pGrid->GetControlUnknown()->QueryInterface(IID_IDispatch, (void**)&pDispatch);
        pDispatch->Release();
        return pDispatch;
    }
    // The y of a minute, measured on the 10:00 - 11:00 meeting's box.
    int MinuteY(int nMinute)
    {
        CRect box = BoxOf(m_pGrid, kMondayMeeting);
        return box.top + (nMinute - 600) * box.Height() / 60;
    }
    // A point inside the unit that starts at the minute, in a day column.
    POINT CellPoint(int nColumn, int nMinute, int nUnit)
    {
        CRect column = BoxOf(m_pGrid, (short)-nColumn);
        int nRowHeight = (MinuteY(600 + nUnit) - MinuteY(600));
        return CPoint(column.right - 3, MinuteY(nMinute) + nRowHeight / 2);
    }

    CMultiDayHost m_host;
    CWnd* m_pGrid = nullptr;
};

TEST_F(QzMultiDayTest, ItemsKeysColumnsAndHitTestKeepTheirContract)
{
    // numbers from 1 in the order added, again from 1 after ClearItems
    for (short i = 1; i <= kWeekCount; i++)
        EXPECT_EQ(kWeek[i - 1].Key(i - 1), ItemKey(m_pGrid, i)) << "item " << i;
    m_pGrid->InvokeHelper(QZ_MDAY_CLEARITEMS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    EXPECT_EQ(1, AddItem(m_pGrid, 600, 660, kMonday, "Eins", "0000000001"));
    EXPECT_EQ(2, AddItem(m_pGrid, 600, 660, kMonday, "Zwei", "0000000002"));
    EXPECT_EQ("0000000002", ItemKey(m_pGrid, 2));
    m_host.Load();

    // columns from the start date; 0 outside
    static const BYTE parms[] = VTS_I2;
    for (short nColumn = 0; nColumn <= 8; nColumn++) {
        long nDate = -1;
        m_pGrid->InvokeHelper(QZ_MDAY_GETCOLUMNDATE, DISPATCH_METHOD, VT_I4, &nDate, parms, nColumn);
        EXPECT_EQ(nColumn >= 1 && nColumn <= 7 ? kMonday + nColumn - 1 : 0, nDate) << "column " << nColumn;
    }

    // the item at every shown box's centre; nothing on an empty cell
    int nShown = 0;
    for (short i = 1; i <= kWeekCount; i++) {
        CRect box = BoxOf(m_pGrid, i);
        if (box.left < 0)
            continue;
        if (!(kWeek[i - 1].nStart == 0 && kWeek[i - 1].nEnd == 1439))
            box &= BoxOf(m_pGrid, (short)-(kWeek[i - 1].nDay + 1)); // the part in view
        nShown++;
        EXPECT_EQ(i, HitTest(m_pGrid, box.CenterPoint())) << kWeek[i - 1].pszSubject;
    }
    EXPECT_GE(nShown, 25) << "the working day of every column is in view";
    EXPECT_LE(HitTest(m_pGrid, CellPoint(3, 600, 15)), 0) << "Wednesday 10:00 is empty";
    EXPECT_LE(HitTest(m_pGrid, CPoint(5, 5)), 0) << "the week caption";

    // all-day round trip; the outing lies in the band above the timed grid
    EXPECT_NE(0, ItemLong(m_pGrid, QZ_MDAY_ITEMALLDAY, kOutingItem));
    EXPECT_LT(BoxOf(m_pGrid, kOutingItem).bottom, BoxOf(m_pGrid, -5).top);
    PutItemBool(m_pGrid, QZ_MDAY_ITEMALLDAY, kOutingItem, FALSE);
    EXPECT_EQ(0, (short)ItemLong(m_pGrid, QZ_MDAY_ITEMALLDAY, kOutingItem));

    // SelectedItem: a number without an item selects nothing, without an error
    IDispatch* pDispatch = Dispatch();
    afxtest::CallResult put;
    afxtest::Call(put, pDispatch, QZ_MDAY_SELECTEDITEM, DISPATCH_PROPERTYPUT, {Var::I2(3)});
    EXPECT_EQ(S_OK, put.hr);
    EXPECT_EQ(3, GetShort(m_pGrid, QZ_MDAY_SELECTEDITEM));
    afxtest::CallResult none;
    afxtest::Call(none, pDispatch, QZ_MDAY_SELECTEDITEM, DISPATCH_PROPERTYPUT, {Var::I2(500)});
    EXPECT_EQ(S_OK, none.hr);
    EXPECT_EQ(0, GetShort(m_pGrid, QZ_MDAY_SELECTEDITEM));
    EXPECT_TRUE(m_host.m_events.empty()) << "puts and methods raise no events";
}

TEST_F(QzMultiDayTest, BadInputGetsADispatchErrorOrAClampedValue)
{
    IDispatch* pDispatch = Dispatch();
    m_pGrid->InvokeHelper(QZ_MDAY_CLEARITEMS, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    struct Case {
        const char* pszWhat;
        Var start, end, text, key;
        HRESULT hr;
        short nStart, nEnd; // as stored
    };
    const Case cases[] = {
        {"start after end", Var::I2(700), Var::I2(600), Var::Ansi("A"), Var::Ansi("1"), S_OK, 700, 700},
        {"minutes outside the day", Var::I2(-30), Var::I2(2000), Var::Ansi("B"), Var::Ansi("2"), S_OK, 0, 1439},
        {"an empty key", Var::I2(600), Var::I2(660), Var::Ansi("C"), Var::Ansi(""), E_INVALIDARG, 0, 0},
        {"a text for a minute", Var::Ansi("zehn"), Var::I2(660), Var::Ansi("D"), Var::Ansi("4"), DISP_E_TYPEMISMATCH, 0, 0},
        {"a minute beyond short", Var::I4(100000), Var::I2(660), Var::Ansi("E"), Var::Ansi("5"), DISP_E_OVERFLOW, 0, 0},
    };
    short nExpected = 1;
    for (const Case& c : cases) {
        afxtest::CallResult r;
        afxtest::Call(r, pDispatch, QZ_MDAY_ADDITEM, DISPATCH_METHOD, {c.start, c.end, Var::I4(kMonday), c.text, c.key});
        EXPECT_EQ(c.hr, r.hr) << c.pszWhat;
        if (c.hr != S_OK)
            continue;
        EXPECT_EQ(nExpected, r.result.v.iVal) << c.pszWhat;
        EXPECT_EQ(c.nStart, (short)ItemLong(m_pGrid, QZ_MDAY_ITEMSTART, nExpected)) << c.pszWhat;
        EXPECT_EQ(c.nEnd, (short)ItemLong(m_pGrid, QZ_MDAY_ITEMEND, nExpected)) << c.pszWhat;
        nExpected++;
    }
    // indexed members on a missing item
    for (DISPID dispid : {QZ_MDAY_ITEMSTART, QZ_MDAY_ITEMKEY, QZ_MDAY_ITEMALLDAY}) {
        afxtest::CallResult r;
        afxtest::Call(r, pDispatch, dispid, DISPATCH_PROPERTYGET, {Var::I2(nExpected)});
        EXPECT_EQ(DISP_E_BADINDEX, r.hr) << dispid;
        afxtest::CallResult zero;
        afxtest::Call(zero, pDispatch, dispid == QZ_MDAY_ITEMKEY ? QZ_MDAY_ITEMPRIVATE : dispid, DISPATCH_PROPERTYPUT,
                      {Var::I2(0), Var::I2(1)});
        EXPECT_EQ(DISP_E_BADINDEX, zero.hr) << dispid;
    }
    // names with the wrong count are refused and the old ones stay
    afxtest::CallResult names;
    afxtest::Call(names, pDispatch, QZ_MDAY_DAYNAMES, DISPATCH_PROPERTYPUT, {Var::Ansi("So;Mo;Di")});
    EXPECT_EQ(E_INVALIDARG, names.hr);
    afxtest::CallResult months;
    afxtest::Call(months, pDispatch, QZ_MDAY_MONTHNAMES, DISPATCH_PROPERTYPUT, {Var::Ansi("Jan,Feb")});
    EXPECT_EQ(E_INVALIDARG, months.hr);
    CString strNames;
    m_pGrid->GetProperty(QZ_MDAY_DAYNAMES, VT_BSTR, &strNames);
    EXPECT_STREQ("So;Mo;Di;Mi;Do;Fr;Sa", (LPCTSTR)strNames);

    // pictures are numbered from 1; what is no picture is refused
    PICTDESC desc = {sizeof(PICTDESC), PICTYPE_ICON};
    desc.icon.hicon = ::LoadIcon(NULL, IDI_INFORMATION);
    IDispatch* pPicture = NULL;
    ASSERT_EQ(S_OK, ::OleCreatePictureIndirect(&desc, IID_IPictureDisp, FALSE, (void**)&pPicture));
    for (short nExpectedImage : {1, 2}) {
        afxtest::CallResult r;
        afxtest::Call(r, pDispatch, QZ_MDAY_ADDIMAGE, DISPATCH_METHOD, {DispatchVar(pPicture)});
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(nExpectedImage, r.result.v.iVal);
    }
    pPicture->Release();
    for (IDispatch* pNoPicture : {(IDispatch*)NULL, pDispatch}) {
        afxtest::CallResult r;
        afxtest::Call(r, pDispatch, QZ_MDAY_ADDIMAGE, DISPATCH_METHOD, {DispatchVar(pNoPicture)});
        EXPECT_EQ(E_INVALIDARG, r.hr);
    }

    // start parts arrive one at a time: 31 January, then February, then the 15th
    SetLong(m_pGrid, QZ_MDAY_STARTDATE, kMonday + 24); // 31.01.2008
    SetShort(m_pGrid, QZ_MDAY_STARTYEAR, 2008);
    SetShort(m_pGrid, QZ_MDAY_STARTMONTH, 2);
    EXPECT_EQ(kMonday + 24 + 29, GetLong(m_pGrid, QZ_MDAY_STARTDATE)) << "31 February is clamped to the 29th";
    SetShort(m_pGrid, QZ_MDAY_STARTDAY, 15);
    EXPECT_EQ(kMonday + 24 + 15, GetLong(m_pGrid, QZ_MDAY_STARTDATE));
    SetShort(m_pGrid, QZ_MDAY_STARTMONTH, 13);
    EXPECT_EQ(12, GetShort(m_pGrid, QZ_MDAY_STARTMONTH));
}

// A new user's drags, one table over the grid units: moves, a resize, items that must not
// move, a range over empty cells and a drag given up with Escape.
TEST_F(QzMultiDayTest, DragsMoveResizeAndSelectRangesInEveryUnit)
{
    ASSERT_TRUE(BringToFront(m_pGrid));
    const std::string strMeeting = kWeek[kMondayMeeting - 1].Key(kMondayMeeting - 1);
    const std::string strSeries = kWeek[kSeriesItem - 1].Key(kSeriesItem - 1);
    for (long nCode : {QZ_MDAY_UNITS_10, QZ_MDAY_UNITS_15, QZ_MDAY_UNITS_30, QZ_MDAY_UNITS_60}) {
        int nUnit = nCode == QZ_MDAY_UNITS_10 ? 10 : nCode == QZ_MDAY_UNITS_30 ? 30 : nCode == QZ_MDAY_UNITS_60 ? 60 : 15;
        SCOPED_TRACE("unit " + std::to_string(nUnit));
        struct Drag {
            const char* pszWhat;
            short nItem;        // dragged by the upper part of its body; 0: an empty cell
            int nFromColumn, nFromMinute;
            int nToColumn, nToMinute;
            bool bLowerEdge;
            int nGiveUp; // 0 released; 1 Escape while held; 2 the capture taken away while held
            std::string strEvent; // "" = none
        };
        CRect meeting = BoxOf(m_pGrid, kMondayMeeting);
        const Drag drags[] = {
            {"move to Wednesday 11:00", kMondayMeeting, 1, 600, 3, 660, false, 0,
             "changed 2 " + strMeeting + " 660 720 3"},
            {"lower edge one unit down", kMondayMeeting, 1, 660, 1, 660 + nUnit, true, 0,
             "changed 2 " + strMeeting + " 600 " + std::to_string(660 + nUnit) + " 1"},
            {"a locked item", kLockedItem, 2, 540, 4, 600, false, 0, ""},
            {"a series item sideways", kSeriesItem, 3, 480, 5, 480 + 2 * nUnit, false, 0,
             "changed " + std::to_string(kSeriesItem) + " " + strSeries + " " + std::to_string(480 + 2 * nUnit) + " " +
                 std::to_string(540 + 2 * nUnit) + " 3"},
            {"three empty units from 9:00", 0, 3, 540, 3, 540 + 2 * nUnit, false, 0,
             "range 540 " + std::to_string(540 + 3 * nUnit) + " 3"},
            {"Escape in the middle", kMondayMeeting, 1, 600, 3, 660, false, 1, ""},
            {"the capture lost in the middle", kMondayMeeting, 1, 600, 3, 660, false, 2, ""},
            {"Escape while selecting a range", 0, 3, 540, 3, 540 + 2 * nUnit, false, 1, ""},
        };
        (void)meeting;
        for (const Drag& d : drags) {
            SetLong(m_pGrid, QZ_MDAY_TIMEUNITS, nCode);
            SetShort(m_pGrid, QZ_MDAY_TOPMINUTE, 420);
            m_host.Load();
            m_host.m_events.clear();
            POINT ptFrom = CellPoint(d.nFromColumn, d.nFromMinute, nUnit);
            POINT ptTo = CellPoint(d.nToColumn, d.nToMinute, nUnit);
            if (d.nItem != 0) {
                CRect box = BoxOf(m_pGrid, d.nItem);
                ptFrom.x = box.CenterPoint().x;
                ptFrom.y = d.bLowerEdge ? box.bottom - 2 : box.top + 4;
                ptTo.y += ptFrom.y - CellPoint(d.nFromColumn, d.nFromMinute, nUnit).y;
                if (d.bLowerEdge)
                    ptTo.y = ptFrom.y + (MinuteY(600 + nUnit) - MinuteY(600));
                ASSERT_EQ(d.nItem, HitTest(m_pGrid, ptFrom)) << d.pszWhat;
            }
            DragTo(m_pGrid, ptFrom, ptTo, d.nGiveUp != 0);
            if (d.nGiveUp != 0) {
                if (d.nGiveUp == 1)
                    PressKey(VK_ESCAPE);
                else
                    ::ReleaseCapture();
                ReleaseAt(m_pGrid, ptTo);
                EXPECT_NE(nullptr, m_host.m_hWnd);
            }
            std::vector<std::string> events;
            for (const std::string& str : m_host.Events())
                events.push_back(str);
            if (d.strEvent.empty()) {
                EXPECT_TRUE(events.empty()) << d.pszWhat << ": " << (events.empty() ? "" : events[0]);
                if (d.nItem != 0) {
                    const Entry& e = kWeek[d.nItem - 1];
                    EXPECT_EQ(e.nStart, (short)ItemLong(m_pGrid, QZ_MDAY_ITEMSTART, d.nItem)) << d.pszWhat;
                    EXPECT_EQ(kMonday + e.nDay, ItemLong(m_pGrid, QZ_MDAY_ITEMDATE, d.nItem)) << d.pszWhat;
                }
            } else {
                ASSERT_EQ(1u, events.size()) << d.pszWhat;
                EXPECT_EQ(d.strEvent, events[0]) << d.pszWhat;
            }
        }
    }
    // an all-day item is not dragged
    m_host.Load();
    m_host.m_events.clear();
    CRect outing = BoxOf(m_pGrid, kOutingItem);
    DragTo(m_pGrid, outing.CenterPoint(), CellPoint(2, 600, 15));
    EXPECT_EQ(std::vector<std::string>{}, m_host.Events());
    EXPECT_TRUE(ItemLong(m_pGrid, QZ_MDAY_ITEMALLDAY, kOutingItem) != 0);
    EXPECT_EQ(kMonday + 4, ItemLong(m_pGrid, QZ_MDAY_ITEMDATE, kOutingItem));
}

// A drag below the grid scrolls it; the item lands at the later time in view.
TEST_F(QzMultiDayTest, ADragBelowTheGridScrollsItOn)
{
    ASSERT_TRUE(BringToFront(m_pGrid));
    CRect box = BoxOf(m_pGrid, kMondayMeeting);
    CRect grid = BoxOf(m_pGrid, -1);
    POINT ptFrom = {box.CenterPoint().x, box.top + 4};
    DragTo(m_pGrid, ptFrom, CPoint(ptFrom.x, grid.bottom + 8), true);
    short nTop = GetShort(m_pGrid, QZ_MDAY_TOPMINUTE);
    EXPECT_GT(nTop, 420) << "scrolled while held below the grid";
    POINT ptBack = {ptFrom.x, grid.bottom - 10};
    MoveTo(m_pGrid, ptBack);
    ReleaseAt(m_pGrid, ptBack);
    ASSERT_EQ(1u, m_host.Events().size());
    EXPECT_EQ(0u, m_host.Events()[0].find("changed 2 "));
    // the rows under the press and the release, counted from the day's start
    int nRowHeight = MinuteY(615) - MinuteY(600);
    short nTopAfter = GetShort(m_pGrid, QZ_MDAY_TOPMINUTE);
    int nPressRow = (ptFrom.y - grid.top) / nRowHeight + 420 / 15;
    int nReleaseRow = (ptBack.y - grid.top) / nRowHeight + nTopAfter / 15;
    EXPECT_EQ(600 + (nReleaseRow - nPressRow) * 15, (short)ItemLong(m_pGrid, QZ_MDAY_ITEMSTART, kMondayMeeting));
}

// Handlers of ItemChanged reload every item (the document update) or put the item back (a
// failed save): the grid survives and shows the item where the handler left it.
TEST_F(QzMultiDayTest, AHandlerThatReloadsOrPutsTheItemBackDecidesWhereItShows)
{
    ASSERT_TRUE(BringToFront(m_pGrid));
    for (auto mode : {CMultiDayHost::kReload, CMultiDayHost::kPutBack}) {
        m_host.m_onChanged = mode;
        m_host.Load();
        m_host.m_events.clear();
        CRect box = BoxOf(m_pGrid, kMondayMeeting);
        POINT ptFrom = {box.CenterPoint().x, box.top + 4};
        POINT ptTo = CellPoint(3, 660, 15);
        ptTo.y += 4 - (MinuteY(615) - MinuteY(600)) / 2;
        DragTo(m_pGrid, ptFrom, ptTo);
        ASSERT_EQ(1u, m_host.Events().size()) << m_host.Events()[0] << " | " << m_host.Events().back();
        EXPECT_EQ(0u, m_host.Events()[0].find("changed 2 "));
        // the reload put the moved entry on Wednesday under a new number; the put back kept it
        short nItem = 0;
        for (short i = 1; i <= kWeekCount; i++)
            if (ItemKey(m_pGrid, i) == kWeek[kMondayMeeting - 1].Key(kMondayMeeting - 1))
                nItem = i;
        ASSERT_NE(0, nItem);
        bool bMoved = mode == CMultiDayHost::kReload;
        EXPECT_EQ(bMoved ? 660 : 600, (short)ItemLong(m_pGrid, QZ_MDAY_ITEMSTART, nItem));
        EXPECT_EQ(bMoved ? kMonday + 2 : kMonday, ItemLong(m_pGrid, QZ_MDAY_ITEMDATE, nItem));
        CRect shown = BoxOf(m_pGrid, nItem);
        CRect wednesday = BoxOf(m_pGrid, bMoved ? -3 : -1);
        EXPECT_TRUE(shown.left >= wednesday.left && shown.right <= wednesday.right) << "drawn in its day";
        EXPECT_EQ(nItem, HitTest(m_pGrid, shown.CenterPoint()));
    }
    m_host.m_onChanged = CMultiDayHost::kRecord;
}

// Clicks, double clicks, hover and keys as the day view receives them.
TEST_F(QzMultiDayTest, ClicksDoubleClicksHoverAndKeysReachTheHost)
{
    ASSERT_TRUE(BringToFront(m_pGrid));
    CRect meeting = BoxOf(m_pGrid, kMondayMeeting), dentist = BoxOf(m_pGrid, kMondayMeeting + 1);
    POINT ptEmpty = CellPoint(3, 600, 15);

    // hover: highlight and unhighlight in pairs; HitTest agrees with MouseMove's point
    MoveTo(m_pGrid, ptEmpty);
    m_host.m_events.clear();
    MoveTo(m_pGrid, meeting.CenterPoint());
    EXPECT_EQ(kMondayMeeting, HitTest(m_pGrid, m_host.m_ptLastMove));
    MoveTo(m_pGrid, CPoint(dentist.right - 4, dentist.bottom - 6));
    EXPECT_EQ(kMondayMeeting + 1, HitTest(m_pGrid, m_host.m_ptLastMove));
    MoveTo(m_pGrid, ptEmpty);
    EXPECT_LE(HitTest(m_pGrid, m_host.m_ptLastMove), 0);
    EXPECT_EQ((std::vector<std::string>{"highlight 2", "unhighlight 2", "highlight 3", "unhighlight 3"}),
              m_host.Events("selected click mousedown"));

    // a click on an empty cell selects one unit and clears the item selection
    SetShort(m_pGrid, QZ_MDAY_SELECTEDITEM, kMondayMeeting);
    m_host.m_events.clear();
    ClickAt(m_pGrid, ptEmpty);
    EXPECT_EQ(0, GetShort(m_pGrid, QZ_MDAY_SELECTEDITEM));
    EXPECT_EQ((std::vector<std::string>{"selected 0", "range 600 615 3", "click"}), m_host.Events("highlight unhighlight mousedown"));

    struct Double {
        const char* pszWhat;
        POINT pt;
        std::vector<std::string> events;
        short nSelected;
    };
    const Double doubles[] = {
        {"a timed item", meeting.CenterPoint(), {"open 2", "dblclick"}, kMondayMeeting},
        {"the all-day item", BoxOf(m_pGrid, kOutingItem).CenterPoint(), {"dblclick"}, kOutingItem},
        {"an empty cell", ptEmpty, {"range 600 615 3", "dblclick"}, 0},
    };
    for (const Double& d : doubles) {
        m_host.m_events.clear();
        DoubleClickAt(m_pGrid, d.pt);
        EXPECT_EQ(d.events, m_host.Events()) << d.pszWhat;
        EXPECT_EQ(d.nSelected, GetShort(m_pGrid, QZ_MDAY_SELECTEDITEM)) << d.pszWhat;
    }

    // MouseDown with the button and client pixels; a header click names its day
    m_host.m_events.clear();
    ClickAt(m_pGrid, CPoint(BoxOf(m_pGrid, -4).CenterPoint().x, 8));
    EXPECT_EQ((std::vector<std::string>{"mousedown 1 " + std::to_string(BoxOf(m_pGrid, -4).CenterPoint().x) + " 8",
                                        "header 10.1.2008"}),
              m_host.Events("highlight unhighlight selected click"));

    // Return and Delete reach KeyDown in the dialog
    m_host.m_events.clear();
    PressKey(VK_RETURN);
    PressKey(VK_DELETE);
    EXPECT_EQ((std::vector<std::string>{"keydown 13", "keydown 46"}), m_host.Events());
    EXPECT_NE(nullptr, m_host.m_hWnd) << "Return did not end the dialog";
}

TEST_F(QzMultiDayTest, Screenshots)
{
    // the week: seven days of five entries, the outing in the all-day band, "KW 2"
    SetShort(m_pGrid, QZ_MDAY_SELECTEDITEM, 16);
    EXPECT_FALSE(SaveShot(&m_host, "week-seven-days", "qz-multiday").empty());

    // the five-day week in half-hour units
    SetShort(m_pGrid, QZ_MDAY_DAYCOUNT, 5);
    SetLong(m_pGrid, QZ_MDAY_TIMEUNITS, QZ_MDAY_UNITS_30);
    m_host.Load();
    EXPECT_FALSE(SaveShot(&m_host, "week-five-days", "qz-multiday").empty());

    // the day view of Monday with its overlapping entries
    SetUpView(1, QZ_MDAY_UNITS_15);
    EXPECT_FALSE(SaveShot(&m_host, "day-monday-overlaps", "qz-multiday").empty());
    ASSERT_TRUE(BringToFront(m_pGrid));

    // a range selected over four units, and a drag in progress
    SetUpView(7, QZ_MDAY_UNITS_15);
    DragTo(m_pGrid, CellPoint(3, 540, 15), CellPoint(3, 585, 15));
    EXPECT_EQ((std::vector<std::string>{"range 540 600 3"}), m_host.Events());
    EXPECT_FALSE(SaveShot(&m_host, "week-range-selected", "qz-multiday").empty());
    CRect box = BoxOf(m_pGrid, kMondayMeeting);
    POINT ptTo = CellPoint(2, 690, 15);
    DragTo(m_pGrid, CPoint(box.CenterPoint().x, box.top + 4), ptTo, true);
    EXPECT_FALSE(SaveShot(&m_host, "week-drag-in-progress", "qz-multiday").empty());
    PressKey(VK_ESCAPE);
    ReleaseAt(m_pGrid, ptTo);
}

} // namespace

namespace {

// The wheel and the scroll bar move the grid by units; TopMinute answers the first minute in
// view and stays within the day.
TEST_F(QzMultiDayTest, WheelAndScrollBarMoveTheFirstVisibleMinute)
{
    EXPECT_EQ(420, GetShort(m_pGrid, QZ_MDAY_TOPMINUTE));
    int yMeeting = BoxOf(m_pGrid, kMondayMeeting).top;
    int nRow = MinuteY(615) - MinuteY(600);
    struct Step {
        UINT message;
        WPARAM wParam;
        short nTop;
    };
    const Step steps[] = {
        {WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), 465}, // three units down
        {WM_VSCROLL, SB_LINEDOWN, 480},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 435},
        {WM_VSCROLL, SB_TOP, 0},
        {WM_VSCROLL, SB_LINEUP, 0},
    };
    for (const Step& s : steps) {
        m_pGrid->SendMessage(s.message, s.wParam, 0);
        EXPECT_EQ(s.nTop, GetShort(m_pGrid, QZ_MDAY_TOPMINUTE)) << s.message << " " << s.wParam;
        if (s.nTop >= 420) // the meeting in view moves with the grid
            EXPECT_EQ(yMeeting - (s.nTop - 420) / 15 * nRow, BoxOf(m_pGrid, kMondayMeeting).top) << s.nTop;
    }
    // the end of the day: the last page, never past it
    m_pGrid->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    short nLast = GetShort(m_pGrid, QZ_MDAY_TOPMINUTE);
    SetShort(m_pGrid, QZ_MDAY_TOPMINUTE, 1439);
    EXPECT_EQ(nLast, GetShort(m_pGrid, QZ_MDAY_TOPMINUTE));
    CRect grid = BoxOf(m_pGrid, -1);
    EXPECT_GE(grid.bottom - grid.top, (1440 - nLast) / 15 * nRow - nRow) << "the last page is full";
    EXPECT_EQ(0, nLast % 15);
}

// The test member raises the grid's own events at the sink map (ItemChanged with its key).
TEST_F(QzMultiDayTest, TheTestMemberRaisesTheGridsEvents)
{
    IDispatch* pDispatch = Dispatch();
    afxtest::CallResult r;
    afxtest::Call(r, pDispatch, QZ_TEST_FIRE, DISPATCH_METHOD,
                  {Var::I2(QZ_MDAY_EV_ITEMCHANGED), Var::I2(4), Var::Ansi("0000001003"), Var::I2(600), Var::I2(660), Var::I2(2)});
    EXPECT_EQ(S_OK, r.hr);
    afxtest::CallResult range;
    afxtest::Call(range, pDispatch, QZ_TEST_FIRE, DISPATCH_METHOD,
                  {Var::I2(QZ_MDAY_EV_HEADERCLICKED), Var::I2(9), Var::I2(1), Var::I2(2008)});
    EXPECT_EQ(S_OK, range.hr);
    EXPECT_EQ((std::vector<std::string>{"changed 4 0000001003 600 660 2", "header 9.1.2008"}), m_host.Events());
}

} // namespace
