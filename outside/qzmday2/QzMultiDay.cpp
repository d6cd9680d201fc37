#include "QzMultiDay.h"

#include <stdio.h>

#include <algorithm>

#include "QzDate.h"

using namespace qz;

namespace {

const Member kMembers[] = {
    {QZ_MDAY_TIMEUNITS, L"TimeUnits", kGet | kPut, VT_I4, 0, {}},
    {QZ_MDAY_DAYSTARTMINUTE, L"DayStartMinute", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_DAYENDMINUTE, L"DayEndMinute", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_WORKDAYSTART, L"WorkDayStart", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_WORKDAYEND, L"WorkDayEnd", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_WORKTIMECOLOR, L"WorkTimeColor", kGet | kPut, VT_I4, 0, {}},
    {QZ_MDAY_BACKCOLOR, L"BackColor", kGet | kPut, VT_I4, 0, {}},
    {QZ_MDAY_OPTION24, L"Option24", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_TOPMINUTE, L"TopMinute", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_DAYCOUNT, L"DayCount", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_STARTDATE, L"StartDate", kGet | kPut, VT_I4, 0, {}},
    {QZ_MDAY_STARTDAY, L"StartDay", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_STARTMONTH, L"StartMonth", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_STARTYEAR, L"StartYear", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_DAYNAMES, L"DayNames", kGet | kPut, VT_BSTR, 0, {}},
    {QZ_MDAY_MONTHNAMES, L"MonthNames", kGet | kPut, VT_BSTR, 0, {}},
    {QZ_MDAY_HEADERFORMAT, L"HeaderFormat", kGet | kPut, VT_BSTR, 0, {}},
    {QZ_MDAY_SELECTEDITEM, L"SelectedItem", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_WEEKCAPTION, L"WeekCaption", kGet | kPut, VT_BSTR, 0, {}},
    {QZ_MDAY_OPTION91, L"Option91", kGet | kPut, VT_BOOL, 0, {}},
    {QZ_MDAY_OPTION96, L"Option96", kGet | kPut, VT_BOOL, 0, {}},
    {QZ_MDAY_OPTION128, L"Option128", kGet | kPut, VT_I2, 0, {}},
    {QZ_MDAY_CLEARITEMS, L"ClearItems", kMethod, VT_EMPTY, 0, {}},
    {QZ_MDAY_ADDITEM, L"AddItem", kMethod, VT_I2, 5, {VT_I2, VT_I2, VT_I4, VT_BSTR, VT_BSTR}},
    {QZ_MDAY_GETCOLUMNDATE, L"GetColumnDate", kMethod, VT_I4, 1, {VT_I2}},
    {QZ_MDAY_ADDIMAGE, L"AddImage", kMethod, VT_I2, 1, {VT_DISPATCH}},
    {QZ_MDAY_HITTEST, L"HitTest", kMethod, VT_I2, 2, {VT_I2, VT_I2}},
    {QZ_MDAY_ITEMBACKCOLOR, L"ItemBackColor", kGet | kPut, VT_I4, 1, {VT_I2}},
    {QZ_MDAY_ITEMTEXTCOLOR, L"ItemTextColor", kGet | kPut, VT_I4, 1, {VT_I2}},
    {QZ_MDAY_ITEMSTART, L"ItemStart", kGet | kPut, VT_I2, 1, {VT_I2}},
    {QZ_MDAY_ITEMEND, L"ItemEnd", kGet | kPut, VT_I2, 1, {VT_I2}},
    {QZ_MDAY_ITEMCOLOR, L"ItemColor", kGet | kPut, VT_I4, 1, {VT_I2}},
    {QZ_MDAY_ITEMHASLOCATION, L"ItemHasLocation", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MDAY_ITEMPRIVATE, L"ItemPrivate", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MDAY_ITEMREMINDER, L"ItemReminder", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MDAY_ITEMLOCATION, L"ItemLocation", kGet | kPut, VT_BSTR, 1, {VT_I2}},
    {QZ_MDAY_ITEMOPTION188, L"ItemOption188", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MDAY_ITEMOPTION189, L"ItemOption189", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MDAY_ITEMKEY, L"ItemKey", kGet, VT_BSTR, 1, {VT_I2}},
    {QZ_MDAY_ITEMDATE, L"ItemDate", kGet | kPut, VT_I4, 1, {VT_I2}},
    {QZ_MDAY_ITEMOPTION196, L"ItemOption196", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MDAY_ITEMSERIES, L"ItemSeries", kGet | kPut, VT_I2, 1, {VT_I2}},
    {QZ_MDAY_ITEMALLDAY, L"ItemAllDay", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MDAY_TEST_ITEMRECT, L"TestItemRect", kGet, VT_I2, 2, {VT_I2, VT_I2}},
};

const EventInfo kEvents[] = {
    {QZ_MDAY_EV_SELECTED, 1, {VT_I2}},
    {QZ_MDAY_EV_ITEMHIGHLIGHT, 1, {VT_I2}},
    {QZ_MDAY_EV_ITEMUNHIGHLIGHT, 1, {VT_I2}},
    {QZ_MDAY_EV_ITEMOPEN, 1, {VT_I2}},
    {QZ_MDAY_EV_RANGESELECTED, 3, {VT_I2, VT_I2, VT_I2}},
    {QZ_MDAY_EV_ITEMCHANGED, 5, {VT_I2, VT_BSTR, VT_I2, VT_I2, VT_I2}},
    {QZ_MDAY_EV_HEADERCLICKED, 3, {VT_I2, VT_I2, VT_I2}},
    {QZ_EV_CLICK, 0, {}},
    {QZ_EV_DBLCLICK, 0, {}},
    {QZ_EV_KEYDOWN, 2, {VT_BYREF | VT_I2, VT_I2}},
    {QZ_EV_KEYPRESS, 1, {VT_BYREF | VT_I2}},
    {QZ_EV_MOUSEDOWN, 4, {VT_I2, VT_I2, VT_I4, VT_I4}},
    {QZ_EV_MOUSEMOVE, 4, {VT_I2, VT_I2, VT_I4, VT_I4}},
};

const char* const kDefaultDayNames = "So;Mo;Di;Mi;Do;Fr;Sa";
const char* const kDefaultMonthNames = "Jan,Feb,Mrz,Apr,Mai,Juni,Juli,Aug,Sep,Okt,Nov,Dez";
const char* const kDefaultHeaderFormat = "D, N. M Y";
const COLORREF kDefaultItemColor = RGB(0x2F, 0x62, 0xB8);
const COLORREF kReminderColor = RGB(0xC8, 0x8A, 0x00);
const COLORREF kPrivateColor = RGB(0xA0, 0x1E, 0x1E);
const COLORREF kSeriesColor = RGB(0x1E, 0x78, 0x32);
const COLORREF kTodayHeader = RGB(0xFF, 0xE4, 0xA8);
const short kLastMinute = 1439;
const int kMaxItems = 32767;
const int kEdge = 4; // pixels above an item's lower edge that resize it
const UINT_PTR kScrollTimer = 1;

std::vector<std::string> Split(const std::string& str, char chSeparator)
{
    std::vector<std::string> parts;
    size_t nStart = 0;
    for (;;) {
        size_t nEnd = str.find(chSeparator, nStart);
        parts.push_back(str.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart));
        if (nEnd == std::string::npos)
            return parts;
        nStart = nEnd + 1;
    }
}

std::string Join(const std::vector<std::string>& parts, char chSeparator)
{
    std::string str;
    for (size_t i = 0; i < parts.size(); i++) {
        if (i != 0)
            str += chSeparator;
        str += parts[i];
    }
    return str;
}

std::string AnsiOf(BSTR bstr)
{
    int nWide = (int)SysStringLen(bstr);
    int nLen = WideCharToMultiByte(CP_ACP, 0, bstr, nWide, NULL, 0, NULL, NULL);
    std::string str((size_t)nLen, '\0');
    if (nLen > 0)
        WideCharToMultiByte(CP_ACP, 0, bstr, nWide, &str[0], nLen, NULL, NULL);
    return str;
}

BSTR BstrOf(const std::string& str)
{
    int nWide = MultiByteToWideChar(CP_ACP, 0, str.data(), (int)str.size(), NULL, 0);
    BSTR bstr = SysAllocStringLen(NULL, (UINT)nWide);
    MultiByteToWideChar(CP_ACP, 0, str.data(), (int)str.size(), bstr, nWide);
    return bstr;
}

long Clamp(long n, long nLow, long nHigh) { return n < nLow ? nLow : n > nHigh ? nHigh : n; }
short Minute(long n) { return (short)Clamp(n, 0, kLastMinute); }

const long kLastSerial = SerialOf(kLastYear, 12, 31);

void Fill(HDC hdc, const RECT& rect, COLORREF color)
{
    SetBkColor(hdc, color);
    ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rect, NULL, 0, NULL);
}

void Line(HDC hdc, int x0, int y0, int x1, int y1)
{
    MoveToEx(hdc, x0, y0, NULL);
    LineTo(hdc, x1, y1);
}

COLORREF Mix(COLORREF a, COLORREF b, int nPercentB)
{
    int nA = 100 - nPercentB;
    return RGB((GetRValue(a) * nA + GetRValue(b) * nPercentB) / 100, (GetGValue(a) * nA + GetGValue(b) * nPercentB) / 100,
               (GetBValue(a) * nA + GetBValue(b) * nPercentB) / 100);
}

short ShiftState()
{
    return (short)((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                   (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

VARIANT ShortArg(short n)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I2;
    v.iVal = n;
    return v;
}

} // namespace

CQzMultiDay::CQzMultiDay()
    : CQzControl(CLSID_QzMultiDay, DIID_QzMultiDayEvents, "QzMultiDayWindow", (DWORD)QZ_MDAY_STATE_MARK)
{
    InitState();
}

CQzMultiDay::~CQzMultiDay()
{
    for (IPictureDisp* pPicture : m_images)
        pPicture->Release();
}

IUnknown* CQzMultiDay::Create() { return static_cast<IOleObject*>(new CQzMultiDay()); }

const Member* CQzMultiDay::Members(int* pnCount) const
{
    *pnCount = (int)(sizeof(kMembers) / sizeof(kMembers[0]));
    return kMembers;
}

const EventInfo* CQzMultiDay::Events(int* pnCount) const
{
    *pnCount = (int)(sizeof(kEvents) / sizeof(kEvents[0]));
    return kEvents;
}

void CQzMultiDay::InitState()
{
    m_items.clear();
    m_dayNames = Split(kDefaultDayNames, ';');
    m_monthNames = Split(kDefaultMonthNames, ',');
    m_strHeaderFormat = kDefaultHeaderFormat;
    m_strWeekCaption.clear();
    m_nWorkColor = (long)RGB(0xFF, 0xFF, 0xE8);
    m_nBackColor = (long)RGB(0xF0, 0xF0, 0xE0);
    SetStartDate(Today());
    m_nSelected = 0;
    m_nRangeColumn = 0;
}

void CQzMultiDay::OnWindowCreated()
{
    m_bPaintPending = false; // a new window is drawn whole
    // the time ruler scrolls with a vertical bar of the window's own
    LONG_PTR nStyle = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    SetWindowLongPtrA(m_hWnd, GWL_STYLE, nStyle | WS_VSCROLL);
    SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    UpdateScrollBar();
}

// ---- state -------------------------------------------------------------------------------------

// The whole window is drawn again; while that is pending, further changes need no call.
void CQzMultiDay::InvalidateAll()
{
    if (m_bPaintPending || m_hWnd == NULL)
        return;
    m_bPaintPending = true;
    Invalidate();
}

CQzMultiDay::Item* CQzMultiDay::ItemAt(int nIndex)
{
    return nIndex >= 1 && nIndex <= (int)m_items.size() ? &m_items[(size_t)nIndex - 1] : NULL;
}

int CQzMultiDay::Unit() const
{
    switch (m_nUnitCode) {
    case QZ_MDAY_UNITS_10: return 10;
    case QZ_MDAY_UNITS_30: return 30;
    case QZ_MDAY_UNITS_60: return 60;
    }
    return 15;
}

void CQzMultiDay::SetStartDate(long nSerial)
{
    m_nStartDate = Clamp(nSerial, 0, kLastSerial - 31);
    long nYear;
    int nMonth, nDay;
    DateOf(m_nStartDate, &nYear, &nMonth, &nDay);
    m_nStartYear = (short)nYear;
    m_nStartMonth = (short)nMonth;
    m_nStartDay = (short)nDay;
}

void CQzMultiDay::TakeStartParts()
{
    // the parts arrive one at a time: a day the month lacks meanwhile is clamped
    long nYear = Clamp(m_nStartYear, kFirstYear, kLastYear);
    int nMonth = (int)Clamp(m_nStartMonth, 1, 12);
    int nDay = (int)Clamp(m_nStartDay, 1, DaysInMonth(nYear, nMonth));
    m_nStartDate = Clamp(SerialOf(nYear, nMonth, nDay), 0, kLastSerial - 31);
}

// Overlapping timed items of a day share its width: each cluster of overlapping items gets as
// many lanes as it needs at most at one time; an item takes the first lane free at its start.
void CQzMultiDay::ArrangeLanes() const
{
    if (!m_bLanesDirty)
        return;
    m_bLanesDirty = false;
    std::vector<int> order;
    for (int i = 0; i < (int)m_items.size(); i++)
        if (!m_items[(size_t)i].bAllDay)
            order.push_back(i);
    int nUnit = Unit();
    auto shownEnd = [&](const Item& item) { return std::max<int>(item.nEnd, item.nStart + nUnit); };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Item& ia = m_items[(size_t)a];
        const Item& ib = m_items[(size_t)b];
        if (ia.nDay != ib.nDay)
            return ia.nDay < ib.nDay;
        if (ia.nStart != ib.nStart)
            return ia.nStart < ib.nStart;
        return shownEnd(ia) > shownEnd(ib);
    });
    size_t nFirst = 0;
    while (nFirst < order.size()) {
        // one cluster: items of one day that overlap one another in a chain
        std::vector<int> laneEnds;
        size_t nLast = nFirst;
        int nClusterEnd = -1;
        long nDay = m_items[(size_t)order[nFirst]].nDay;
        for (; nLast < order.size(); nLast++) {
            const Item& item = m_items[(size_t)order[nLast]];
            if (item.nDay != nDay || (nLast > nFirst && item.nStart >= nClusterEnd))
                break;
            size_t nLane = 0;
            while (nLane < laneEnds.size() && laneEnds[nLane] > item.nStart)
                nLane++;
            if (nLane == laneEnds.size())
                laneEnds.push_back(0);
            laneEnds[nLane] = shownEnd(item);
            item.nLane = (int)nLane;
            nClusterEnd = std::max(nClusterEnd, shownEnd(item));
        }
        for (size_t i = nFirst; i < nLast; i++)
            m_items[(size_t)order[i]].nLanes = (int)laneEnds.size();
        nFirst = nLast;
    }
    // the all-day band is as high as the most all-day items of a shown day
    m_nBandRows = 1;
    for (int nColumn = 0; nColumn < m_nDayCount; nColumn++) {
        int nCount = 0;
        for (const Item& item : m_items)
            if (item.bAllDay && item.nDay == m_nStartDate + nColumn)
                nCount++;
        m_nBandRows = std::max(m_nBandRows, nCount);
    }
}

int CQzMultiDay::BandRows() const
{
    ArrangeLanes();
    return m_nBandRows;
}

// ---- layout ------------------------------------------------------------------------------------

void CQzMultiDay::Measure() const
{
    HFONT hFont = Font();
    if (hFont == m_hMeasuredFont || m_hWnd == NULL)
        return;
    HDC hdc = GetDC(m_hWnd);
    if (hdc == NULL)
        return;
    HGDIOBJ hOld = SelectObject(hdc, hFont);
    TEXTMETRICA tm;
    if (GetTextMetricsA(hdc, &tm))
        m_cyText = tm.tmHeight;
    SIZE size;
    if (GetTextExtentPoint32A(hdc, "00:00", 5, &size))
        m_xRuler = size.cx + 16;
    SelectObject(hdc, hOld);
    ReleaseDC(m_hWnd, hdc);
    m_hMeasuredFont = hFont;
}

void CQzMultiDay::GetLayout(Layout* pLayout) const
{
    RECT client = {0, 0, 0, 0};
    if (m_hWnd != NULL)
        GetClientRect(m_hWnd, &client);
    Measure();
    int cyText = m_cyText;
    pLayout->xRuler = m_xRuler;
    pLayout->cyRow = std::max(cyText + 6, 16);
    pLayout->cyBandRow = cyText + 6;
    pLayout->header = {0, 0, client.right, cyText * 2 + 8};
    int yBand = pLayout->header.bottom;
    pLayout->band = {pLayout->xRuler, yBand, client.right, yBand};
    if (m_bBand)
        pLayout->band.bottom = yBand + BandRows() * pLayout->cyBandRow + 4;
    pLayout->times = {pLayout->xRuler, pLayout->band.bottom, client.right, client.bottom};
    int nUnit = Unit();
    int nSpan = std::max(0, m_nDayEnd - m_nDayStart + 1);
    pLayout->nRows = std::max(1, (nSpan + nUnit - 1) / nUnit);
    pLayout->nVisible = std::max(1, (int)(pLayout->times.bottom - pLayout->times.top) / pLayout->cyRow);
}

int CQzMultiDay::FirstRow() const
{
    Layout layout;
    GetLayout(&layout);
    int nRow = (m_nTopMinute - m_nDayStart) / Unit();
    return (int)Clamp(nRow, 0, std::max(0, layout.nRows - layout.nVisible));
}

RECT CQzMultiDay::ColumnRect(const Layout& layout, int nColumn, const RECT& band) const
{
    int cx = layout.times.right - layout.times.left;
    RECT rect = {layout.times.left + (nColumn - 1) * cx / m_nDayCount, band.top, layout.times.left + nColumn * cx / m_nDayCount,
                 band.bottom};
    return rect;
}

int CQzMultiDay::RowY(const Layout& layout, int nMinute) const
{
    return layout.times.top + (nMinute - m_nDayStart) * layout.cyRow / Unit() - FirstRow() * layout.cyRow;
}

bool CQzMultiDay::ItemRect(int nIndex, RECT* pRect) const
{
    if (nIndex < 1 || nIndex > (int)m_items.size())
        return false;
    ArrangeLanes();
    const Item& item = m_items[(size_t)nIndex - 1];
    long nColumn = item.nDay - m_nStartDate + 1;
    if (nColumn < 1 || nColumn > m_nDayCount)
        return false;
    Layout layout;
    GetLayout(&layout);
    if (item.bAllDay) {
        if (!m_bBand)
            return false;
        int nRow = 0;
        for (int i = 0; i < nIndex - 1; i++)
            if (m_items[(size_t)i].bAllDay && m_items[(size_t)i].nDay == item.nDay)
                nRow++;
        RECT column = ColumnRect(layout, (int)nColumn, layout.band);
        *pRect = {column.left + 2, layout.band.top + 2 + nRow * layout.cyBandRow, column.right - 3,
                  layout.band.top + 2 + (nRow + 1) * layout.cyBandRow - 2};
        return true;
    }
    RECT column = ColumnRect(layout, (int)nColumn, layout.times);
    int cx = (column.right - column.left) - 7;
    int nEnd = std::max<int>(item.nEnd, item.nStart + Unit());
    RECT rect = {column.left + 1 + item.nLane * cx / item.nLanes, RowY(layout, item.nStart),
                 column.left + 1 + (item.nLane + 1) * cx / item.nLanes, RowY(layout, nEnd)};
    if (item.nLane + 1 < item.nLanes)
        rect.right -= 1;
    RECT visible;
    if (!IntersectRect(&visible, &rect, &layout.times))
        return false;
    *pRect = rect;
    return true;
}

int CQzMultiDay::ItemAtPoint(POINT pt) const
{
    Layout layout;
    GetLayout(&layout);
    bool bBand = PtInRect(&layout.band, pt) != FALSE;
    if (!bBand && !PtInRect(&layout.times, pt))
        return 0;
    // the last drawn lies on top
    for (int i = (int)m_items.size(); i >= 1; i--) {
        RECT rect;
        if (m_items[(size_t)i - 1].bAllDay == bBand && ItemRect(i, &rect) && PtInRect(&rect, pt))
            return i;
    }
    return 0;
}

CQzMultiDay::Spot CQzMultiDay::SpotAt(POINT pt) const
{
    Layout layout;
    GetLayout(&layout);
    Spot spot = {0, 0, false};
    int cx = layout.times.right - layout.times.left;
    if (cx > 0 && pt.x >= layout.times.left) {
        spot.nColumn = (int)((pt.x - layout.times.left) * m_nDayCount / cx) + 1;
        if (spot.nColumn > m_nDayCount)
            spot.nColumn = 0;
    }
    int y = pt.y - layout.times.top;
    spot.nRow = (y >= 0 ? y / layout.cyRow : (y - layout.cyRow + 1) / layout.cyRow) + FirstRow();
    spot.bTimes = PtInRect(&layout.times, pt) != FALSE && spot.nColumn != 0 && spot.nRow < layout.nRows;
    return spot;
}

void CQzMultiDay::ScrollTo(int nRow)
{
    Layout layout;
    GetLayout(&layout);
    nRow = (int)Clamp(nRow, 0, std::max(0, layout.nRows - layout.nVisible));
    m_nTopMinute = (short)(m_nDayStart + nRow * Unit());
    UpdateScrollBar();
    InvalidateAll();
}

void CQzMultiDay::UpdateScrollBar()
{
    if (m_hWnd == NULL)
        return;
    Layout layout;
    GetLayout(&layout);
    SCROLLINFO si = {sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, layout.nRows - 1,
                     (UINT)layout.nVisible, FirstRow(), 0};
    SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

std::string CQzMultiDay::HeaderText(long nSerial) const
{
    long nYear;
    int nMonth, nDay;
    DateOf(nSerial, &nYear, &nMonth, &nDay);
    std::string str;
    for (char ch : m_strHeaderFormat) {
        switch (ch) {
        case 'D': str += m_dayNames[(size_t)((WeekdayOf(nSerial) + 1) % 7)]; break;
        case 'N': str += std::to_string(nDay); break;
        case 'M': str += m_monthNames[(size_t)nMonth - 1]; break;
        case 'Y': str += std::to_string(nYear); break;
        default: str += ch;
        }
    }
    return str;
}

// ---- automation --------------------------------------------------------------------------------

HRESULT CQzMultiDay::GetValue(const Member& member, const VARIANT* args, VARIANT* pResult)
{
    const Item* pItem = NULL;
    if (member.nArgs >= 1 && !(member.id == QZ_MDAY_TEST_ITEMRECT && args[0].iVal <= 0)) {
        pItem = ItemAt(args[0].iVal);
        if (pItem == NULL)
            return DISP_E_BADINDEX;
    }
    pResult->vt = member.vtValue;
    switch (member.id) {
    case QZ_MDAY_TIMEUNITS: pResult->lVal = m_nUnitCode; break;
    case QZ_MDAY_DAYSTARTMINUTE: pResult->iVal = m_nDayStart; break;
    case QZ_MDAY_DAYENDMINUTE: pResult->iVal = m_nDayEnd; break;
    case QZ_MDAY_WORKDAYSTART: pResult->iVal = m_nWorkStart; break;
    case QZ_MDAY_WORKDAYEND: pResult->iVal = m_nWorkEnd; break;
    case QZ_MDAY_WORKTIMECOLOR: pResult->lVal = m_nWorkColor; break;
    case QZ_MDAY_BACKCOLOR: pResult->lVal = m_nBackColor; break;
    case QZ_MDAY_OPTION24: pResult->iVal = m_nOption24; break;
    case QZ_MDAY_TOPMINUTE: pResult->iVal = (short)(m_nDayStart + FirstRow() * Unit()); break;
    case QZ_MDAY_DAYCOUNT: pResult->iVal = m_nDayCount; break;
    case QZ_MDAY_STARTDATE: pResult->lVal = m_nStartDate; break;
    case QZ_MDAY_STARTDAY:
    case QZ_MDAY_STARTMONTH:
    case QZ_MDAY_STARTYEAR: {
        long nYear;
        int nMonth, nDay;
        DateOf(m_nStartDate, &nYear, &nMonth, &nDay);
        pResult->iVal = (short)(member.id == QZ_MDAY_STARTDAY ? nDay : member.id == QZ_MDAY_STARTMONTH ? nMonth : nYear);
        break;
    }
    case QZ_MDAY_DAYNAMES: pResult->bstrVal = BstrOf(Join(m_dayNames, ';')); break;
    case QZ_MDAY_MONTHNAMES: pResult->bstrVal = BstrOf(Join(m_monthNames, ',')); break;
    case QZ_MDAY_HEADERFORMAT: pResult->bstrVal = BstrOf(m_strHeaderFormat); break;
    case QZ_MDAY_SELECTEDITEM: pResult->iVal = (short)m_nSelected; break;
    case QZ_MDAY_WEEKCAPTION: pResult->bstrVal = BstrOf(m_strWeekCaption); break;
    case QZ_MDAY_OPTION91: pResult->boolVal = m_bCaption ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_OPTION96: pResult->boolVal = m_bBand ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_OPTION128: pResult->iVal = m_nBarWidth; break;
    case QZ_MDAY_ITEMBACKCOLOR: pResult->lVal = pItem->nBackColor; break;
    case QZ_MDAY_ITEMTEXTCOLOR: pResult->lVal = pItem->nTextColor; break;
    case QZ_MDAY_ITEMSTART: pResult->iVal = pItem->nStart; break;
    case QZ_MDAY_ITEMEND: pResult->iVal = pItem->nEnd; break;
    case QZ_MDAY_ITEMCOLOR: pResult->lVal = pItem->nColor; break;
    case QZ_MDAY_ITEMHASLOCATION: pResult->boolVal = pItem->bHasLocation ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_ITEMPRIVATE: pResult->boolVal = pItem->bPrivate ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_ITEMREMINDER: pResult->boolVal = pItem->bReminder ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_ITEMLOCATION: pResult->bstrVal = BstrOf(pItem->strLocation); break;
    case QZ_MDAY_ITEMOPTION188: pResult->boolVal = pItem->bMarks ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_ITEMOPTION189: pResult->boolVal = pItem->bLocked ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_ITEMKEY: pResult->bstrVal = BstrOf(pItem->strKey); break;
    case QZ_MDAY_ITEMDATE: pResult->lVal = pItem->nDay; break;
    case QZ_MDAY_ITEMOPTION196: pResult->boolVal = pItem->bFixedDay ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_ITEMSERIES: pResult->iVal = pItem->nSeries; break;
    case QZ_MDAY_ITEMALLDAY: pResult->boolVal = pItem->bAllDay ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MDAY_TEST_ITEMRECT: {
        RECT rect;
        long nEdges[4] = {-1, -1, -1, -1};
        bool bShown = false;
        if (args[0].iVal > 0) {
            bShown = ItemRect(args[0].iVal, &rect);
        } else if (-args[0].iVal >= 1 && -args[0].iVal <= m_nDayCount) {
            Layout layout;
            GetLayout(&layout);
            rect = ColumnRect(layout, -args[0].iVal, layout.times);
            bShown = true;
        }
        if (bShown) {
            nEdges[0] = rect.left;
            nEdges[1] = rect.top;
            nEdges[2] = rect.right;
            nEdges[3] = rect.bottom;
        }
        if (args[1].iVal < 0 || args[1].iVal > 3) {
            pResult->vt = VT_EMPTY;
            return DISP_E_BADINDEX;
        }
        pResult->iVal = (short)nEdges[args[1].iVal];
        break;
    }
    default:
        pResult->vt = VT_EMPTY;
        return DISP_E_MEMBERNOTFOUND;
    }
    return S_OK;
}

HRESULT CQzMultiDay::PutValue(const Member& member, const VARIANT* args, const VARIANT& value)
{
    Item* pItem = NULL;
    if (member.nArgs >= 1) {
        pItem = ItemAt(args[0].iVal);
        if (pItem == NULL)
            return DISP_E_BADINDEX;
    }
    bool bBounds = false; // the grid's rows or the item layout changed
    switch (member.id) {
    case QZ_MDAY_TIMEUNITS: m_nUnitCode = value.lVal; bBounds = true; break;
    case QZ_MDAY_DAYSTARTMINUTE:
        m_nDayStart = Minute(value.iVal);
        if (m_nDayEnd < m_nDayStart)
            m_nDayEnd = m_nDayStart;
        bBounds = true;
        break;
    case QZ_MDAY_DAYENDMINUTE:
        m_nDayEnd = Minute(value.iVal);
        if (m_nDayStart > m_nDayEnd)
            m_nDayStart = m_nDayEnd;
        bBounds = true;
        break;
    case QZ_MDAY_WORKDAYSTART: m_nWorkStart = Minute(value.iVal); break;
    case QZ_MDAY_WORKDAYEND: m_nWorkEnd = Minute(value.iVal); break;
    case QZ_MDAY_WORKTIMECOLOR: m_nWorkColor = value.lVal; break;
    case QZ_MDAY_BACKCOLOR: m_nBackColor = value.lVal; break;
    case QZ_MDAY_OPTION24: m_nOption24 = value.iVal; break;
    case QZ_MDAY_TOPMINUTE: m_nTopMinute = Minute(value.iVal); bBounds = true; break;
    case QZ_MDAY_DAYCOUNT: m_nDayCount = (short)Clamp(value.iVal, 1, 31); bBounds = true; break;
    case QZ_MDAY_STARTDATE: SetStartDate(value.lVal); bBounds = true; break;
    case QZ_MDAY_STARTDAY: m_nStartDay = value.iVal; TakeStartParts(); bBounds = true; break;
    case QZ_MDAY_STARTMONTH: m_nStartMonth = value.iVal; TakeStartParts(); bBounds = true; break;
    case QZ_MDAY_STARTYEAR: m_nStartYear = value.iVal; TakeStartParts(); bBounds = true; break;
    case QZ_MDAY_DAYNAMES:
    case QZ_MDAY_MONTHNAMES: {
        bool bDays = member.id == QZ_MDAY_DAYNAMES;
        std::vector<std::string> names = Split(AnsiOf(value.bstrVal), bDays ? ';' : ',');
        if (names.size() != (bDays ? 7u : 12u))
            return E_INVALIDARG;
        (bDays ? m_dayNames : m_monthNames) = names;
        break;
    }
    case QZ_MDAY_HEADERFORMAT: m_strHeaderFormat = AnsiOf(value.bstrVal); break;
    case QZ_MDAY_SELECTEDITEM:
        // a number without an item selects nothing (the view puts 1 into an empty grid)
        m_nSelected = ItemAt(value.iVal) != NULL ? value.iVal : 0;
        break;
    case QZ_MDAY_WEEKCAPTION: m_strWeekCaption = AnsiOf(value.bstrVal); break;
    case QZ_MDAY_OPTION91: m_bCaption = value.boolVal != VARIANT_FALSE; break;
    case QZ_MDAY_OPTION96: m_bBand = value.boolVal != VARIANT_FALSE; bBounds = true; break;
    case QZ_MDAY_OPTION128: m_nBarWidth = (short)Clamp(value.iVal, 1, 20); break;
    case QZ_MDAY_ITEMBACKCOLOR: pItem->nBackColor = value.lVal; break;
    case QZ_MDAY_ITEMTEXTCOLOR: pItem->nTextColor = value.lVal; break;
    case QZ_MDAY_ITEMSTART:
        pItem->nStart = Minute(value.iVal);
        if (pItem->nEnd < pItem->nStart)
            pItem->nEnd = pItem->nStart;
        bBounds = true;
        break;
    case QZ_MDAY_ITEMEND:
        pItem->nEnd = std::max(Minute(value.iVal), pItem->nStart);
        bBounds = true;
        break;
    case QZ_MDAY_ITEMCOLOR: pItem->nColor = value.lVal; break;
    case QZ_MDAY_ITEMHASLOCATION: pItem->bHasLocation = value.boolVal != VARIANT_FALSE; break;
    case QZ_MDAY_ITEMPRIVATE: pItem->bPrivate = value.boolVal != VARIANT_FALSE; break;
    case QZ_MDAY_ITEMREMINDER: pItem->bReminder = value.boolVal != VARIANT_FALSE; break;
    case QZ_MDAY_ITEMLOCATION: pItem->strLocation = AnsiOf(value.bstrVal); break;
    case QZ_MDAY_ITEMOPTION188: pItem->bMarks = value.boolVal != VARIANT_FALSE; break;
    case QZ_MDAY_ITEMOPTION189: pItem->bLocked = value.boolVal != VARIANT_FALSE; break;
    case QZ_MDAY_ITEMDATE: pItem->nDay = Clamp(value.lVal, 0, kLastSerial); bBounds = true; break;
    case QZ_MDAY_ITEMOPTION196: pItem->bFixedDay = value.boolVal != VARIANT_FALSE; break;
    case QZ_MDAY_ITEMSERIES: pItem->nSeries = value.iVal < 0 ? 0 : value.iVal; break;
    case QZ_MDAY_ITEMALLDAY: pItem->bAllDay = value.boolVal != VARIANT_FALSE; bBounds = true; break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    if (bBounds) {
        m_bLanesDirty = true;
        if (pItem == NULL || member.id == QZ_MDAY_ITEMALLDAY || member.id == QZ_MDAY_ITEMDATE)
            UpdateScrollBar(); // the grid's rows or the all-day band's height
    }
    InvalidateAll();
    return S_OK;
}

HRESULT CQzMultiDay::CallMethod(const Member& member, const VARIANT* args, VARIANT* pResult)
{
    switch (member.id) {
    case QZ_MDAY_CLEARITEMS:
        m_items.clear();
        m_nSelected = 0;
        m_nHover = 0; // no Unhighlight for an item that is gone
        if (m_drag == kDragMove || m_drag == kDragResize)
            CancelDrag();
        UpdateScrollBar();
        InvalidateAll();
        return S_OK;
    case QZ_MDAY_ADDITEM: {
        if (SysStringLen(args[4].bstrVal) == 0) // an item without a key cannot be found again
            return E_INVALIDARG;
        if ((int)m_items.size() >= kMaxItems)
            return DISP_E_OVERFLOW;
        Item item;
        item.nStart = Minute(args[0].iVal);
        item.nEnd = std::max(Minute(args[1].iVal), item.nStart);
        item.nDay = Clamp(args[2].lVal, 0, kLastSerial);
        item.strText = AnsiOf(args[3].bstrVal);
        item.strKey = AnsiOf(args[4].bstrVal);
        m_items.push_back(item);
        m_bLanesDirty = true;
        InvalidateAll();
        pResult->vt = VT_I2;
        pResult->iVal = (short)m_items.size();
        return S_OK;
    }
    case QZ_MDAY_GETCOLUMNDATE:
        pResult->vt = VT_I4;
        pResult->lVal = args[0].iVal >= 1 && args[0].iVal <= m_nDayCount ? m_nStartDate + args[0].iVal - 1 : 0;
        return S_OK;
    case QZ_MDAY_ADDIMAGE: {
        IPictureDisp* pPicture = NULL;
        if (args[0].pdispVal == NULL ||
            FAILED(args[0].pdispVal->QueryInterface(IID_IPictureDisp, (void**)&pPicture)))
            return E_INVALIDARG;
        if (m_images.size() >= 32767) {
            pPicture->Release();
            return DISP_E_OVERFLOW;
        }
        m_images.push_back(pPicture);
        InvalidateAll();
        pResult->vt = VT_I2;
        pResult->iVal = (short)m_images.size();
        return S_OK;
    }
    case QZ_MDAY_HITTEST: {
        POINT pt = {args[0].iVal, args[1].iVal};
        pResult->vt = VT_I2;
        pResult->iVal = (short)ItemAtPoint(pt);
        return S_OK;
    }
    }
    return DISP_E_MEMBERNOTFOUND;
}

// ---- the user's choices ------------------------------------------------------------------------

void CQzMultiDay::Select(int nItem, bool bRaise)
{
    if (nItem != 0)
        m_nRangeColumn = 0;
    if (nItem == m_nSelected)
        return;
    m_nSelected = nItem;
    InvalidateAll();
    if (bRaise) {
        VARIANT arg = ShortArg((short)nItem);
        Fire(QZ_MDAY_EV_SELECTED, &arg, 1);
    }
}

void CQzMultiDay::Hover(int nItem)
{
    if (nItem == m_nHover)
        return;
    int nOld = m_nHover;
    m_nHover = nItem;
    InvalidateAll();
    if (nOld > 0) {
        VARIANT arg = ShortArg((short)nOld);
        Fire(QZ_MDAY_EV_ITEMUNHIGHLIGHT, &arg, 1);
        if (m_hWnd == NULL)
            return;
    }
    if (nItem > 0 && m_nHover == nItem) {
        VARIANT arg = ShortArg((short)nItem);
        Fire(QZ_MDAY_EV_ITEMHIGHLIGHT, &arg, 1);
    }
}

void CQzMultiDay::BeginPress(POINT pt)
{
    m_drag = kDragNone;
    m_bDragging = false;
    m_bLastPressDragged = false;
    m_ptPress = pt;
    m_spotPress = m_spotNow = SpotAt(pt);
    Layout layout;
    GetLayout(&layout);
    if (PtInRect(&layout.header, pt) && m_spotPress.nColumn != 0) {
        long nYear;
        int nMonth, nDay;
        DateOf(m_nStartDate + m_spotPress.nColumn - 1, &nYear, &nMonth, &nDay);
        VARIANT args[3] = {ShortArg((short)nDay), ShortArg((short)nMonth), ShortArg((short)nYear)};
        Fire(QZ_MDAY_EV_HEADERCLICKED, args, 3);
        return;
    }
    int nItem = ItemAtPoint(pt);
    if (nItem > 0) {
        Select(nItem, true);
        if (m_hWnd == NULL)
            return;
        const Item* pItem = ItemAt(nItem);
        RECT rect;
        if (pItem == NULL || pItem->bAllDay || pItem->bLocked || !ItemRect(nItem, &rect))
            return; // selected, not dragged
        m_nDragItem = nItem;
        m_drag = pt.y >= rect.bottom - kEdge ? kDragResize : kDragMove;
        SetCapture(m_hWnd);
        return;
    }
    if (!m_spotPress.bTimes)
        return;
    // an empty cell: one unit selected, the item selection goes
    Select(0, true);
    if (m_hWnd == NULL)
        return;
    m_drag = kDragRange;
    m_nRangeColumn = m_spotPress.nColumn;
    m_nRangeStart = Minute(m_nDayStart + m_spotPress.nRow * Unit());
    m_nRangeEnd = Minute(m_nRangeStart + Unit());
    InvalidateAll();
    SetCapture(m_hWnd);
}

// Where the dragged item or the range would go now (start, end, column); false when nothing
// would change.
bool CQzMultiDay::DragTarget(short* pStart, short* pEnd, int* pColumn) const
{
    int nUnit = Unit();
    int nRows = m_spotNow.nRow - m_spotPress.nRow;
    if (m_drag == kDragRange) {
        int nFirst = std::min(m_spotPress.nRow, m_spotNow.nRow), nLast = std::max(m_spotPress.nRow, m_spotNow.nRow);
        Layout layout;
        GetLayout(&layout);
        nFirst = (int)Clamp(nFirst, 0, layout.nRows - 1);
        nLast = (int)Clamp(nLast, 0, layout.nRows - 1);
        *pStart = Minute(m_nDayStart + nFirst * nUnit);
        *pEnd = Minute(m_nDayStart + (nLast + 1) * nUnit);
        *pColumn = m_spotPress.nColumn;
        return true;
    }
    if (m_nDragItem < 1 || m_nDragItem > (int)m_items.size())
        return false;
    const Item& item = m_items[(size_t)m_nDragItem - 1];
    int nColumn = (int)(item.nDay - m_nStartDate + 1);
    int nStart = item.nStart, nEnd = item.nEnd;
    if (m_drag == kDragMove) {
        if (!item.bFixedDay && m_spotNow.nColumn != 0)
            nColumn = m_spotNow.nColumn;
        int nLength = nEnd - nStart;
        nStart += nRows * nUnit;
        if (nRows != 0 || nColumn != item.nDay - m_nStartDate + 1)
            nStart -= (nStart - m_nDayStart) % nUnit; // on the grid
        nStart = (int)Clamp(nStart, 0, kLastMinute - nLength);
        nEnd = nStart + nLength;
    } else {
        nEnd += nRows * nUnit;
        if (nRows != 0 && nEnd < kLastMinute)
            nEnd -= (nEnd - m_nDayStart) % nUnit;
        nEnd = (int)Clamp(nEnd, std::min<int>(nStart + nUnit, kLastMinute), kLastMinute);
    }
    *pStart = (short)nStart;
    *pEnd = (short)nEnd;
    *pColumn = nColumn;
    return nStart != item.nStart || nEnd != item.nEnd || nColumn != item.nDay - m_nStartDate + 1;
}

void CQzMultiDay::TrackDrag(POINT pt)
{
    if (!m_bDragging) {
        if (abs(pt.x - m_ptPress.x) < GetSystemMetrics(SM_CXDRAG) && abs(pt.y - m_ptPress.y) < GetSystemMetrics(SM_CYDRAG))
            return;
        m_bDragging = true;
        m_bLastPressDragged = true; // even when the drag is given up, the next press is a new one
    }
    // above or below the timed grid it scrolls, a unit at a time, while the button is held
    Layout layout;
    GetLayout(&layout);
    int nScroll = pt.y < layout.times.top ? -1 : pt.y >= layout.times.bottom ? 1 : 0;
    int nFirstRow = FirstRow();
    if (nScroll != 0)
        ScrollTo(nFirstRow + nScroll);
    if (nScroll != 0 && FirstRow() != nFirstRow)
        SetTimer(m_hWnd, kScrollTimer, 60, NULL);
    else
        KillTimer(m_hWnd, kScrollTimer);
    Spot spot = SpotAt(pt);
    if (spot.nColumn == 0) // beside the columns: the nearest one
        spot.nColumn = m_spotNow.nColumn;
    if (spot.nColumn == m_spotNow.nColumn && spot.nRow == m_spotNow.nRow)
        return;
    m_spotNow = spot;
    if (m_drag == kDragRange) {
        int nColumn;
        DragTarget(&m_nRangeStart, &m_nRangeEnd, &nColumn);
    }
    InvalidateAll();
}

void CQzMultiDay::CancelDrag()
{
    bool bRange = m_drag == kDragRange;
    m_drag = kDragNone;
    m_bDragging = false;
    if (m_hWnd != NULL)
        KillTimer(m_hWnd, kScrollTimer);
    if (bRange)
        m_nRangeColumn = 0;
    if (m_hWnd != NULL && GetCapture() == m_hWnd)
        ReleaseCapture();
    InvalidateAll();
}

void CQzMultiDay::EndDrag(POINT pt)
{
    TrackDrag(pt);
    DragKind drag = m_drag;
    bool bDragged = m_bDragging;
    m_bLastPressDragged = bDragged;
    short nStart = 0, nEnd = 0;
    int nColumn = 0;
    bool bChange = drag != kDragNone && DragTarget(&nStart, &nEnd, &nColumn);
    int nItem = m_nDragItem;
    m_drag = kDragNone;
    m_bDragging = false;
    KillTimer(m_hWnd, kScrollTimer);
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    InvalidateAll();
    if (drag == kDragRange) {
        VARIANT args[3] = {ShortArg(nStart), ShortArg(nEnd), ShortArg((short)nColumn)};
        Fire(QZ_MDAY_EV_RANGESELECTED, args, 3);
    } else if ((drag == kDragMove || drag == kDragResize) && bDragged && bChange) {
        // the item takes its new place first: a handler that fails to save puts it back
        Item& item = m_items[(size_t)nItem - 1];
        item.nStart = nStart;
        item.nEnd = nEnd;
        item.nDay = m_nStartDate + nColumn - 1;
        m_bLanesDirty = true;
        VARIANT args[5] = {ShortArg((short)nItem), ShortArg(0), ShortArg(nStart), ShortArg(nEnd), ShortArg((short)nColumn)};
        args[1].vt = VT_BSTR;
        args[1].bstrVal = BstrOf(item.strKey);
        Fire(QZ_MDAY_EV_ITEMCHANGED, args, 5);
        SysFreeString(args[1].bstrVal);
        InvalidateAll(); // drawn from whatever the handler left
        return;
    }
    if (m_hWnd != NULL && !bDragged)
        Fire(QZ_EV_CLICK);
}

bool CQzMultiDay::RaiseKey(DISPID dispid, WPARAM wKey)
{
    short nKey = (short)wKey;
    VARIANT args[2];
    VariantInit(&args[0]);
    args[0].vt = VT_BYREF | VT_I2;
    args[0].piVal = &nKey;
    args[1] = ShortArg(ShiftState());
    Fire(dispid, args, dispid == QZ_EV_KEYDOWN ? 2 : 1);
    return m_hWnd != NULL;
}

bool CQzMultiDay::RaiseMouse(DISPID dispid, short nButton, LPARAM lParam)
{
    VARIANT args[4] = {ShortArg(nButton), ShortArg(ShiftState()), ShortArg(0), ShortArg(0)};
    args[2].vt = args[3].vt = VT_I4;
    args[2].lVal = (short)LOWORD(lParam);
    args[3].lVal = (short)HIWORD(lParam);
    Fire(dispid, args, 4);
    return m_hWnd != NULL;
}

// ---- painting ----------------------------------------------------------------------------------

namespace {

// Small marks at the top right of an item, 11 pixels square.
void PaintBell(HDC hdc, int x, int y)
{
    HBRUSH hBrush = CreateSolidBrush(kReminderColor);
    HGDIOBJ hOldBrush = SelectObject(hdc, hBrush);
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    POINT pts[7] = {{x + 5, y}, {x + 8, y + 2}, {x + 8, y + 6}, {x + 10, y + 8}, {x, y + 8}, {x + 2, y + 6}, {x + 2, y + 2}};
    Polygon(hdc, pts, 7);
    Ellipse(hdc, x + 4, y + 8, x + 8, y + 12);
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    DeleteObject(hBrush);
}

void PaintLock(HDC hdc, int x, int y)
{
    HPEN hPen = CreatePen(PS_SOLID, 2, kPrivateColor);
    HGDIOBJ hOldPen = SelectObject(hdc, hPen);
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Arc(hdc, x + 2, y, x + 10, y + 9, x + 10, y + 5, x + 2, y + 5);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    RECT body = {x + 1, y + 5, x + 11, y + 11};
    Fill(hdc, body, kPrivateColor);
}

void PaintSeriesGlyph(HDC hdc, int x, int y)
{
    HPEN hPen = CreatePen(PS_SOLID, 2, kSeriesColor);
    HGDIOBJ hOldPen = SelectObject(hdc, hPen);
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Arc(hdc, x + 1, y + 1, x + 11, y + 11, x + 11, y + 3, x + 1, y + 9);
    Arc(hdc, x + 1, y + 1, x + 11, y + 11, x + 1, y + 9, x + 11, y + 3);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
}

} // namespace

void CQzMultiDay::PaintItem(HDC hdc, const Item& item, const RECT& rect, bool bSelected, bool bHover, bool bGhost)
{
    COLORREF back = item.nBackColor != -1 ? (COLORREF)item.nBackColor : GetSysColor(COLOR_WINDOW);
    COLORREF text = item.nTextColor != -1 ? (COLORREF)item.nTextColor : GetSysColor(COLOR_WINDOWTEXT);
    COLORREF bar = item.nColor != -1 ? (COLORREF)item.nColor : kDefaultItemColor;
    if (bGhost) {
        // where a dragged item would go: a frame of dots in the bar's colour
        HPEN hPen = CreatePen(PS_DOT, 1, bar);
        HGDIOBJ hOldPen = SelectObject(hdc, hPen);
        HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
        SetBkColor(hdc, back);
        SetBkMode(hdc, OPAQUE);
        Rectangle(hdc, rect.left, rect.top, rect.right, rect.bottom);
        Rectangle(hdc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
        SetBkMode(hdc, TRANSPARENT);
        SelectObject(hdc, hOldBrush);
        SelectObject(hdc, hOldPen);
        DeleteObject(hPen);
        // the times it would take
        char szTimes[32];
        snprintf(szTimes, sizeof(szTimes), "%d:%02d - %d:%02d", item.nStart / 60, item.nStart % 60, item.nEnd / 60,
                 item.nEnd % 60);
        HGDIOBJ hOldFont = SelectObject(hdc, Font());
        SetTextColor(hdc, text);
        RECT textRect = {rect.left + 4, rect.top + 2, rect.right - 2, rect.bottom - 1};
        DrawTextA(hdc, szTimes, -1, &textRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        SelectObject(hdc, hOldFont);
        return;
    }
    Fill(hdc, rect, back);
    RECT barRect = {rect.left + 1, rect.top + 1, std::min<LONG>(rect.left + 1 + m_nBarWidth, rect.right - 1), rect.bottom - 1};
    if (!item.bAllDay || item.nColor != -1)
        Fill(hdc, barRect, bar);
    COLORREF frame = bSelected ? GetSysColor(COLOR_WINDOWTEXT) : bHover ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNSHADOW);
    HPEN hPen = CreatePen(PS_SOLID, 1, frame);
    HGDIOBJ hOldPen = SelectObject(hdc, hPen);
    HGDIOBJ hOldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, rect.left, rect.top, rect.right, rect.bottom);
    if (bSelected || bHover)
        Rectangle(hdc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    SelectObject(hdc, hOldBrush);
    SelectObject(hdc, hOldPen);
    DeleteObject(hPen);
    if (bSelected && !item.bAllDay && !item.bLocked && rect.bottom - rect.top > 12) {
        // the grip of the lower edge
        int xMid = (rect.left + rect.right) / 2;
        RECT grip = {xMid - 3, rect.bottom - 4, xMid + 3, rect.bottom - 1};
        Fill(hdc, grip, GetSysColor(COLOR_WINDOWTEXT));
    }

    // marks from the right
    int xMarks = rect.right - 3;
    if (item.bMarks) {
        int y = rect.top + 3;
        if (item.nSeries > 0) {
            xMarks -= 12;
            IPicture* pPicture = NULL;
            if (item.nSeries <= (int)m_images.size() &&
                SUCCEEDED(m_images[(size_t)item.nSeries - 1]->QueryInterface(IID_IPicture, (void**)&pPicture))) {
                OLE_XSIZE_HIMETRIC cx = 0;
                OLE_YSIZE_HIMETRIC cy = 0;
                pPicture->get_Width(&cx);
                pPicture->get_Height(&cy);
                pPicture->Render(hdc, xMarks - 1, y - 1, 12, 12, 0, cy, cx, -cy, NULL);
                pPicture->Release();
            } else {
                PaintSeriesGlyph(hdc, xMarks, y);
            }
        }
        if (item.bPrivate) {
            xMarks -= 13;
            PaintLock(hdc, xMarks, y);
        }
        if (item.bReminder) {
            xMarks -= 13;
            PaintBell(hdc, xMarks, y);
        }
    }

    HFONT hFont = Font();
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);
    SetTextColor(hdc, text);
    RECT textRect = {barRect.right + 3, rect.top + 2, xMarks - 1, rect.bottom - 1};
    if (!item.bAllDay) {
        // the time before the subject when the box is only one line high
        DrawTextA(hdc, item.strText.c_str(), -1, &textRect,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        if (!item.strLocation.empty()) {
            TEXTMETRICA tm;
            GetTextMetricsA(hdc, &tm);
            RECT locationRect = textRect;
            locationRect.top += tm.tmHeight;
            locationRect.right = rect.right - 3;
            SetTextColor(hdc, Mix(text, back, 40));
            DrawTextA(hdc, item.strLocation.c_str(), -1, &locationRect,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    } else {
        std::string str = item.strText;
        if (!item.strLocation.empty())
            str += " (" + item.strLocation + ")";
        DrawTextA(hdc, str.c_str(), -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    SelectObject(hdc, hOldFont);
}

void CQzMultiDay::Paint(HDC hdc)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    Layout layout;
    GetLayout(&layout);
    int nUnit = Unit();
    int nFirstRow = FirstRow();
    COLORREF face = GetSysColor(COLOR_BTNFACE), shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF text = GetSysColor(IsWindowEnabled(m_hWnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    Fill(hdc, client, face);
    SetBkMode(hdc, TRANSPARENT);
    HFONT hFont = Font();
    LOGFONTA lf;
    GetObjectA(hFont, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    HFONT hBold = CreateFontIndirectA(&lf);
    LOGFONTA lfHour = lf;
    lfHour.lfHeight = lf.lfHeight < 0 ? lf.lfHeight * 3 / 2 : -(layout.cyRow - 4);
    HFONT hHour = CreateFontIndirectA(&lfHour);
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);
    HPEN hShadow = CreatePen(PS_SOLID, 1, shadow);
    HGDIOBJ hOldPen = SelectObject(hdc, hShadow);

    // day headers; the week caption over the ruler
    long nToday = Today();
    for (int nColumn = 1; nColumn <= m_nDayCount; nColumn++) {
        RECT cell = ColumnRect(layout, nColumn, layout.header);
        long nSerial = m_nStartDate + nColumn - 1;
        RECT inner = {cell.left, cell.top, cell.right, cell.bottom};
        if (nSerial == nToday)
            Fill(hdc, inner, kTodayHeader);
        DrawEdge(hdc, &inner, EDGE_RAISED, BF_RECT | BF_SOFT);
        SetTextColor(hdc, text);
        SelectObject(hdc, nSerial == nToday ? hBold : hFont);
        std::string str = HeaderText(nSerial);
        DrawTextA(hdc, str.c_str(), -1, &inner, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    RECT corner = {0, 0, layout.xRuler, layout.header.bottom};
    DrawEdge(hdc, &corner, EDGE_RAISED, BF_RECT | BF_SOFT);
    if (m_bCaption && !m_strWeekCaption.empty()) {
        SelectObject(hdc, hBold);
        SetTextColor(hdc, text);
        DrawTextA(hdc, m_strWeekCaption.c_str(), -1, &corner, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }

    // the all-day band
    if (m_bBand) {
        RECT band = {0, layout.band.top, client.right, layout.band.bottom};
        Fill(hdc, band, Mix(face, GetSysColor(COLOR_WINDOW), 50));
        for (int nColumn = 2; nColumn <= m_nDayCount; nColumn++) {
            RECT cell = ColumnRect(layout, nColumn, layout.band);
            Line(hdc, cell.left, cell.top, cell.left, cell.bottom);
        }
        Line(hdc, 0, band.bottom - 1, client.right, band.bottom - 1);
        Line(hdc, layout.xRuler - 1, band.top, layout.xRuler - 1, band.bottom);
        for (int i = 1; i <= (int)m_items.size(); i++) {
            RECT rect;
            if (m_items[(size_t)i - 1].bAllDay && ItemRect(i, &rect))
                PaintItem(hdc, m_items[(size_t)i - 1], rect, i == m_nSelected, i == m_nHover, false);
        }
    }

    // the timed grid: working hours Monday to Friday, the rest in the back colour
    int nSave = SaveDC(hdc);
    IntersectClipRect(hdc, 0, layout.times.top, client.right, client.bottom);
    COLORREF unitLine = Mix(shadow, (COLORREF)m_nWorkColor, 55);
    HPEN hUnit = CreatePen(PS_SOLID, 1, unitLine);
    for (int nColumn = 1; nColumn <= m_nDayCount; nColumn++) {
        RECT column = ColumnRect(layout, nColumn, layout.times);
        bool bWorkday = WeekdayOf(m_nStartDate + nColumn - 1) < 5;
        for (int nRow = nFirstRow; nRow < layout.nRows; nRow++) {
            int nMinute = m_nDayStart + nRow * nUnit;
            int y = RowY(layout, nMinute);
            if (y >= layout.times.bottom)
                break;
            bool bWork = bWorkday && nMinute >= m_nWorkStart && nMinute < m_nWorkEnd;
            RECT cell = {column.left, y, column.right, y + layout.cyRow};
            Fill(hdc, cell, (COLORREF)(bWork ? m_nWorkColor : m_nBackColor));
        }
    }
    // the selected range
    if (m_nRangeColumn >= 1 && m_nRangeColumn <= m_nDayCount) {
        RECT column = ColumnRect(layout, m_nRangeColumn, layout.times);
        RECT range = {column.left, RowY(layout, m_nRangeStart), column.right, RowY(layout, m_nRangeEnd)};
        Fill(hdc, range, GetSysColor(COLOR_HIGHLIGHT));
    }
    for (int nRow = nFirstRow; nRow <= layout.nRows; nRow++) {
        int nMinute = m_nDayStart + nRow * nUnit;
        int y = RowY(layout, nMinute);
        if (y > layout.times.bottom)
            break;
        bool bHour = nMinute % 60 == 0;
        SelectObject(hdc, bHour ? hShadow : hUnit);
        Line(hdc, layout.times.left, y - 1, layout.times.right, y - 1);
        // the ruler: the hour large, its minutes small beside it; a tick for the other units
        SelectObject(hdc, hShadow);
        if (bHour && nRow < layout.nRows) {
            Line(hdc, 4, y - 1, layout.xRuler - 4, y - 1);
            char szHour[8], szMinutes[8];
            snprintf(szHour, sizeof(szHour), "%d", nMinute / 60);
            snprintf(szMinutes, sizeof(szMinutes), "%02d", nMinute % 60);
            RECT hourRect = {0, y, layout.xRuler - 22, y + std::max(layout.cyRow, 2 * layout.cyRow * 60 / nUnit / 2)};
            if (hourRect.bottom - hourRect.top > 2 * layout.cyRow)
                hourRect.bottom = hourRect.top + 2 * layout.cyRow;
            SetTextColor(hdc, text);
            SelectObject(hdc, layout.cyRow * 60 / nUnit >= 2 * layout.cyRow ? hHour : hFont);
            DrawTextA(hdc, szHour, -1, &hourRect, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            RECT minuteRect = {layout.xRuler - 21, y + 1, layout.xRuler - 4, y + layout.cyRow};
            SelectObject(hdc, hFont);
            DrawTextA(hdc, szMinutes, -1, &minuteRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        } else if (nRow < layout.nRows) {
            Line(hdc, layout.xRuler - 8, y - 1, layout.xRuler - 4, y - 1);
        }
    }
    SelectObject(hdc, hShadow);
    for (int nColumn = 1; nColumn <= m_nDayCount; nColumn++) {
        RECT column = ColumnRect(layout, nColumn, layout.times);
        Line(hdc, column.left, layout.times.top, column.left, layout.times.bottom);
    }
    Line(hdc, layout.xRuler - 1, layout.times.top, layout.xRuler - 1, layout.times.bottom);

    // the timed items, then where a dragged one would go
    IntersectClipRect(hdc, layout.times.left, layout.times.top, layout.times.right, layout.times.bottom);
    for (int i = 1; i <= (int)m_items.size(); i++) {
        RECT rect;
        if (!m_items[(size_t)i - 1].bAllDay && ItemRect(i, &rect))
            PaintItem(hdc, m_items[(size_t)i - 1], rect, i == m_nSelected, i == m_nHover, false);
    }
    short nStart, nEnd;
    int nColumn;
    if ((m_drag == kDragMove || m_drag == kDragResize) && m_bDragging && DragTarget(&nStart, &nEnd, &nColumn)) {
        RECT column = ColumnRect(layout, nColumn, layout.times);
        int nShownEnd = std::max<int>(nEnd, nStart + nUnit);
        RECT ghost = {column.left + 2, RowY(layout, nStart), column.right - 4, RowY(layout, nShownEnd)};
        Item target = m_items[(size_t)m_nDragItem - 1];
        target.nStart = nStart;
        target.nEnd = nEnd;
        PaintItem(hdc, target, ghost, false, false, true);
    }
    RestoreDC(hdc, nSave);

    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldFont);
    DeleteObject(hUnit);
    DeleteObject(hShadow);
    DeleteObject(hBold);
    DeleteObject(hHour);
}

// A double click opens a timed item (ItemOpen), then raises DblClick; on an all-day item or an
// empty cell only DblClick (the view opens or creates there).
LRESULT CQzMultiDay::OnDoubleClick(LPARAM lParam)
{
    SetFocus(m_hWnd);
    if (m_hWnd == NULL)
        return 0;
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    int nItem = ItemAtPoint(pt);
    if (nItem > 0) {
        Select(nItem, true);
        const Item* pItem = ItemAt(nItem);
        if (m_hWnd != NULL && pItem != NULL && !pItem->bAllDay) {
            VARIANT arg = ShortArg((short)nItem);
            Fire(QZ_MDAY_EV_ITEMOPEN, &arg, 1);
        }
    }
    if (m_hWnd != NULL)
        Fire(QZ_EV_DBLCLICK);
    return 0;
}

LRESULT CQzMultiDay::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        m_bPaintPending = false;
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(m_hWnd, &ps);
        RECT client;
        GetClientRect(m_hWnd, &client);
        HDC hdcMem = CreateCompatibleDC(hdc);
        HBITMAP hBitmap = CreateCompatibleBitmap(hdc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
        HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
        Paint(hdcMem);
        BitBlt(hdc, 0, 0, client.right, client.bottom, hdcMem, 0, 0, SRCCOPY);
        SelectObject(hdcMem, hOld);
        DeleteObject(hBitmap);
        DeleteDC(hdcMem);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        UpdateScrollBar();
        InvalidateAll();
        return 0;
    case WM_GETDLGCODE: {
        LRESULT lCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* pMsg = (const MSG*)lParam;
        // Return opens or creates in the view; Escape ends a drag instead of the dialog
        if (pMsg != NULL && pMsg->message == WM_KEYDOWN &&
            (pMsg->wParam == VK_RETURN || (pMsg->wParam == VK_ESCAPE && m_drag != kDragNone)))
            lCode |= DLGC_WANTMESSAGE;
        return lCode;
    }
    case WM_VSCROLL: {
        Layout layout;
        GetLayout(&layout);
        int nRow = FirstRow();
        switch (LOWORD(wParam)) {
        case SB_LINEUP: nRow--; break;
        case SB_LINEDOWN: nRow++; break;
        case SB_PAGEUP: nRow -= layout.nVisible; break;
        case SB_PAGEDOWN: nRow += layout.nVisible; break;
        case SB_TOP: nRow = 0; break;
        case SB_BOTTOM: nRow = layout.nRows; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            SCROLLINFO si = {sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
            GetScrollInfo(m_hWnd, SB_VERT, &si);
            nRow = si.nTrackPos;
            break;
        }
        }
        ScrollTo(nRow);
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(FirstRow() - 3 * (short)HIWORD(wParam) / WHEEL_DELTA);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (!m_bLastPressDragged)
            return OnDoubleClick(lParam);
        // the first press ended a drag: this one begins a new press
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        SetFocus(m_hWnd);
        if (m_hWnd == NULL)
            return 0;
        short nButton = message == WM_RBUTTONDOWN ? 2 : message == WM_MBUTTONDOWN ? 4 : 1;
        if (!RaiseMouse(QZ_EV_MOUSEDOWN, nButton, lParam))
            return 0;
        if (nButton == 1) {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            BeginPress(pt);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        if (m_drag != kDragNone) {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            EndDrag(pt);
        }
        return 0;
    case WM_MOUSEMOVE: {
        if (!m_bTracking) {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            m_bTracking = TrackMouseEvent(&tme) != FALSE;
        }
        short nButton = (short)(((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) | ((wParam & MK_MBUTTON) ? 4 : 0));
        if (!RaiseMouse(QZ_EV_MOUSEMOVE, nButton, lParam))
            return 0;
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (m_drag != kDragNone)
            TrackDrag(pt);
        else
            Hover(ItemAtPoint(pt));
        return 0;
    }
    case WM_TIMER:
        if (wParam == kScrollTimer) {
            KillTimer(m_hWnd, kScrollTimer);
            POINT pt;
            if (m_drag != kDragNone && m_bDragging && GetCursorPos(&pt) && ScreenToClient(m_hWnd, &pt))
                TrackDrag(pt); // scrolls on while the mouse stays outside
            return 0;
        }
        break;
    case WM_MOUSELEAVE:
        m_bTracking = false;
        if (m_drag == kDragNone)
            Hover(0);
        return 0;
    case WM_CAPTURECHANGED:
        if (m_drag != kDragNone && (HWND)lParam != m_hWnd)
            CancelDrag();
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && m_drag != kDragNone) {
            CancelDrag();
            return 0;
        }
        RaiseKey(QZ_EV_KEYDOWN, wParam);
        return 0;
    case WM_CHAR:
        RaiseKey(QZ_EV_KEYPRESS, wParam);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateAll();
        return 0;
    }
    return CQzControl::WindowProc(message, wParam, lParam);
}
