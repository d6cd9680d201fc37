#include "QzMonth.h"

#include <stdio.h>

#include "QzDate.h"

using namespace qz;

namespace {

const Member kMembers[] = {
    {QZ_MONTH_MARKCOLORB, L"Option1", kGet, VT_I4, 0, {}},
    {QZ_MONTH_MARKCOLORA, L"Option2", kGet, VT_I4, 0, {}},
    {QZ_MONTH_DATE, L"Date", kGet | kPut, VT_I4, 0, {}},
    {QZ_MONTH_DAY, L"Day", kGet, VT_I2, 0, {}},
    {QZ_MONTH_MONTH, L"Month", kGet | kPut, VT_I2, 0, {}},
    {QZ_MONTH_YEAR, L"Year", kGet | kPut, VT_I2, 0, {}},
    {QZ_MONTH_DAYNAMES, L"DayNames", kGet | kPut, VT_BSTR, 0, {}},
    {QZ_MONTH_MONTHNAMES, L"MonthNames", kGet | kPut, VT_BSTR, 0, {}},
    {QZ_MONTH_CAPTIONCOLOR, L"CaptionColor", kGet | kPut, VT_I4, 0, {}},
    {QZ_MONTH_BACKCOLOR, L"BackColor", kGet | kPut, VT_I4, 0, {}},
    {QZ_MONTH_OPTION55, L"Option55", kGet | kPut, VT_BOOL, 0, {}},
    {QZ_MONTH_SHOWWEEKNUMBERS, L"ShowWeekNumbers", kGet | kPut, VT_BOOL, 0, {}},
    {QZ_MONTH_OPTION67, L"Option67", kGet | kPut, VT_I2, 0, {}},
    {QZ_MONTH_OPTION89, L"Option89", kGet | kPut, VT_I2, 0, {}},
    {QZ_MONTH_OPTION90, L"Option90", kGet, VT_I2, 0, {}},
    {QZ_MONTH_CELLWIDTH, L"CellWidth", kGet | kPut, VT_I2, 0, {}},
    {QZ_MONTH_CELLMARGIN, L"CellMargin", kGet, VT_I2, 0, {}},
    {QZ_MONTH_OPTION93, L"Option93", kGet | kPut, VT_I2, 0, {}},
    {QZ_MONTH_ROWSPACING, L"RowSpacing", kGet | kPut, VT_I2, 0, {}},
    {QZ_MONTH_OPTION95, L"Option95", kGet | kPut, VT_I4, 0, {}},
    {QZ_MONTH_SELECTTODAY, L"SelectToday", kMethod, VT_EMPTY, 0, {}},
    {QZ_MONTH_CLEARDAYMARKS, L"ClearDayMarks", kMethod, VT_EMPTY, 0, {}},
    {QZ_MONTH_ADDDAYMARK, L"AddDayMark", kMethod, VT_I2, 2, {VT_I2, VT_I4}},
    {QZ_MONTH_DAYSELECTED, L"DaySelected", kGet | kPut, VT_BOOL, 1, {VT_I2}},
    {QZ_MONTH_DAYBACKCOLOR, L"DayBackColor", kGet | kPut, VT_I4, 1, {VT_I2}},
    {QZ_MONTH_DAYTEXTCOLOR, L"DayTextColor", kGet | kPut, VT_I4, 1, {VT_I2}},
};

const EventInfo kEvents[] = {
    {QZ_MONTH_EV_DATECHANGED, 4, {VT_BYREF | VT_I2, VT_BYREF | VT_I2, VT_BYREF | VT_I2, VT_BYREF | VT_I2}},
    {QZ_MONTH_EV_DAYHOVER, 1, {VT_BYREF | VT_I2}},
    {QZ_MONTH_EV_DAYCLICKED, 1, {VT_BYREF | VT_I2}},
    {QZ_EV_CLICK, 0, {}},
    {QZ_EV_KEYDOWN, 2, {VT_BYREF | VT_I2, VT_I2}},
    {QZ_EV_KEYPRESS, 1, {VT_BYREF | VT_I2}},
};

// The two colours of the day marks, the marks' band and the cells' margin.
const COLORREF kMarkColorA = RGB(0x1F, 0x4E, 0xB4);
const COLORREF kMarkColorB = RGB(0xD0, 0x3A, 0x2A);
const COLORREF kTodayFrame = RGB(0xC0, 0x00, 0x00);
const short kMarkBand = 3;
const short kCellMargin = 1;
const long kNoColor = -1;

const char* const kDefaultDayNames = "S,M,D,M,D,F,S";
const char* const kDefaultMonthNames =
    "Januar,Februar,M\xe4rz,April,Mai,Juni,Juli,August,September,Oktober,November,Dezember";

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

std::string Join(const std::vector<std::string>& parts)
{
    std::string str;
    for (size_t i = 0; i < parts.size(); i++)
        str += (i != 0 ? "," : "") + parts[i];
    return str;
}

std::string AnsiOf(BSTR bstr)
{
    int nWide = (int)SysStringLen(bstr);
    int nLen = WideCharToMultiByte(CP_ACP, 0, bstr, nWide, NULL, 0, NULL, NULL);
    std::string str((size_t)nLen, '\0');
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

const long kLastSerial = SerialOf(kLastYear, 12, 31);

} // namespace

CQzMonth::CQzMonth() : CQzControl(CLSID_QzMonth, DIID_QzMonthEvents, "QzMonthWindow", (DWORD)QZ_MONTH_STATE_MARK)
{
    InitState();
}

IUnknown* CQzMonth::Create() { return static_cast<IOleObject*>(new CQzMonth()); }

const Member* CQzMonth::Members(int* pnCount) const
{
    *pnCount = (int)(sizeof(kMembers) / sizeof(kMembers[0]));
    return kMembers;
}

const EventInfo* CQzMonth::Events(int* pnCount) const
{
    *pnCount = (int)(sizeof(kEvents) / sizeof(kEvents[0]));
    return kEvents;
}

void CQzMonth::InitState()
{
    long nYear;
    int nMonth, nDay;
    DateOf(Today(), &nYear, &nMonth, &nDay);
    m_nYear = nYear;
    m_nMonth = nMonth;
    m_nDay = nDay;
    m_selected = 1UL << nDay;
    ClearDays();
    m_dayNames = Split(kDefaultDayNames, ',');
    m_monthNames = Split(kDefaultMonthNames, ',');
    m_nCaptionColor = (long)GetSysColor(COLOR_ACTIVECAPTION);
    m_nBackColor = (long)GetSysColor(COLOR_WINDOW);
    m_bWeekNumbers = FALSE;
}

HRESULT CQzMonth::LoadWord(WORD wWord)
{
    if ((wWord & ~QZ_MONTH_FLAG_WEEKNUMBERS) != 0)
        return E_FAIL;
    m_bWeekNumbers = (wWord & QZ_MONTH_FLAG_WEEKNUMBERS) != 0;
    return S_OK;
}

// ---- state -------------------------------------------------------------------------------------

int CQzMonth::ShownDay() const
{
    int nLast = DaysInMonth(m_nYear, m_nMonth);
    return m_nDay < 1 ? 1 : m_nDay > nLast ? nLast : m_nDay;
}

long CQzMonth::SelectedSerial() const { return SerialOf(m_nYear, m_nMonth, ShownDay()); }

void CQzMonth::ClearDays()
{
    for (int i = 0; i < 32; i++) {
        m_marks[i].clear();
        m_backColors[i] = kNoColor;
        m_textColors[i] = kNoColor;
    }
}

void CQzMonth::ShowMonth(long nYear, int nMonth)
{
    nYear = Clamp(nYear, kFirstYear, kLastYear);
    nMonth = (int)Clamp(nMonth, 1, 12);
    if (nYear != m_nYear || nMonth != m_nMonth) {
        m_nYear = nYear;
        m_nMonth = nMonth;
        ClearDays();
        m_nHoverDay = 0;
    }
    Invalidate();
}

void CQzMonth::SelectOnly(int nDay)
{
    m_nDay = nDay;
    m_selected = 1UL << ShownDay();
    Invalidate();
}

// ---- automation --------------------------------------------------------------------------------

HRESULT CQzMonth::GetValue(const Member& member, const VARIANT* args, VARIANT* pResult)
{
    int nDayIndex = 0;
    if (member.nArgs == 1) {
        nDayIndex = args[0].iVal;
        if (nDayIndex < 1 || nDayIndex > DaysInMonth(m_nYear, m_nMonth))
            return DISP_E_BADINDEX;
    }
    switch (member.vtValue) {
    case VT_I2:
        pResult->vt = VT_I2;
        break;
    case VT_I4:
        pResult->vt = VT_I4;
        break;
    case VT_BOOL:
        pResult->vt = VT_BOOL;
        break;
    case VT_BSTR:
        pResult->vt = VT_BSTR;
        break;
    }
    switch (member.id) {
    case QZ_MONTH_MARKCOLORB: pResult->lVal = (long)kMarkColorB; break;
    case QZ_MONTH_MARKCOLORA: pResult->lVal = (long)kMarkColorA; break;
    case QZ_MONTH_DATE: pResult->lVal = SelectedSerial(); break;
    case QZ_MONTH_DAY: pResult->iVal = (short)ShownDay(); break;
    case QZ_MONTH_MONTH: pResult->iVal = (short)m_nMonth; break;
    case QZ_MONTH_YEAR: pResult->iVal = (short)m_nYear; break;
    case QZ_MONTH_DAYNAMES: pResult->bstrVal = BstrOf(Join(m_dayNames)); break;
    case QZ_MONTH_MONTHNAMES: pResult->bstrVal = BstrOf(Join(m_monthNames)); break;
    case QZ_MONTH_CAPTIONCOLOR: pResult->lVal = m_nCaptionColor; break;
    case QZ_MONTH_BACKCOLOR: pResult->lVal = m_nBackColor; break;
    case QZ_MONTH_OPTION55: pResult->boolVal = m_bOption55 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MONTH_SHOWWEEKNUMBERS: pResult->boolVal = m_bWeekNumbers ? VARIANT_TRUE : VARIANT_FALSE; break;
    case QZ_MONTH_OPTION67: pResult->iVal = m_nOption67; break;
    case QZ_MONTH_OPTION89: pResult->iVal = m_nOption89; break;
    case QZ_MONTH_OPTION90: pResult->iVal = kMarkBand; break;
    case QZ_MONTH_CELLWIDTH: pResult->iVal = m_nCellWidth; break;
    case QZ_MONTH_CELLMARGIN: pResult->iVal = kCellMargin; break;
    case QZ_MONTH_OPTION93: pResult->iVal = m_nOption93; break;
    case QZ_MONTH_ROWSPACING: pResult->iVal = m_nRowSpacing; break;
    case QZ_MONTH_OPTION95: pResult->lVal = m_nOption95; break;
    case QZ_MONTH_DAYSELECTED:
        pResult->boolVal = (m_selected & (1UL << nDayIndex)) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    case QZ_MONTH_DAYBACKCOLOR: pResult->lVal = m_backColors[nDayIndex]; break;
    case QZ_MONTH_DAYTEXTCOLOR: pResult->lVal = m_textColors[nDayIndex]; break;
    default:
        pResult->vt = VT_EMPTY;
        return DISP_E_MEMBERNOTFOUND;
    }
    return S_OK;
}

HRESULT CQzMonth::PutValue(const Member& member, const VARIANT* args, const VARIANT& value)
{
    int nDayIndex = 0;
    if (member.nArgs == 1) {
        nDayIndex = args[0].iVal;
        if (nDayIndex < 1 || nDayIndex > DaysInMonth(m_nYear, m_nMonth))
            return DISP_E_BADINDEX;
    }
    switch (member.id) {
    case QZ_MONTH_DATE: {
        long nYear;
        int nMonth, nDay;
        DateOf(Clamp(value.lVal, 0, kLastSerial), &nYear, &nMonth, &nDay);
        ShowMonth(nYear, nMonth);
        SelectOnly(nDay);
        break;
    }
    case QZ_MONTH_MONTH:
        ShowMonth(m_nYear, value.iVal);
        m_nDay = ShownDay();
        break;
    case QZ_MONTH_YEAR:
        ShowMonth(value.iVal, m_nMonth);
        m_nDay = ShownDay();
        break;
    case QZ_MONTH_DAYNAMES:
    case QZ_MONTH_MONTHNAMES: {
        std::vector<std::string> names = Split(AnsiOf(value.bstrVal), ',');
        if (names.size() != (member.id == QZ_MONTH_DAYNAMES ? 7u : 12u))
            return E_INVALIDARG;
        (member.id == QZ_MONTH_DAYNAMES ? m_dayNames : m_monthNames) = names;
        break;
    }
    case QZ_MONTH_CAPTIONCOLOR: m_nCaptionColor = value.lVal; break;
    case QZ_MONTH_BACKCOLOR: m_nBackColor = value.lVal; break;
    case QZ_MONTH_OPTION55: m_bOption55 = value.boolVal != VARIANT_FALSE; break;
    case QZ_MONTH_SHOWWEEKNUMBERS: m_bWeekNumbers = value.boolVal != VARIANT_FALSE; break;
    case QZ_MONTH_OPTION67: m_nOption67 = value.iVal; break;
    case QZ_MONTH_OPTION89: m_nOption89 = value.iVal; break;
    case QZ_MONTH_CELLWIDTH: m_nCellWidth = value.iVal < 1 ? 1 : value.iVal; break;
    case QZ_MONTH_OPTION93: m_nOption93 = value.iVal < 1 ? 1 : value.iVal; break;
    case QZ_MONTH_ROWSPACING: m_nRowSpacing = value.iVal < 2 ? 2 : value.iVal; break;
    case QZ_MONTH_OPTION95: m_nOption95 = value.lVal; break;
    case QZ_MONTH_DAYSELECTED:
        if (value.boolVal != VARIANT_FALSE)
            m_selected |= 1UL << nDayIndex;
        else
            m_selected &= ~(1UL << nDayIndex);
        break;
    case QZ_MONTH_DAYBACKCOLOR: m_backColors[nDayIndex] = value.lVal; break;
    case QZ_MONTH_DAYTEXTCOLOR: m_textColors[nDayIndex] = value.lVal; break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    Invalidate();
    return S_OK;
}

HRESULT CQzMonth::CallMethod(const Member& member, const VARIANT* args, VARIANT* pResult)
{
    switch (member.id) {
    case QZ_MONTH_SELECTTODAY: {
        long nYear;
        int nMonth, nDay;
        DateOf(Today(), &nYear, &nMonth, &nDay);
        ShowMonth(nYear, nMonth);
        SelectOnly(nDay);
        return S_OK;
    }
    case QZ_MONTH_CLEARDAYMARKS:
        ClearDays();
        Invalidate();
        return S_OK;
    case QZ_MONTH_ADDDAYMARK: {
        int nDay = args[0].iVal;
        if (nDay < 1 || nDay > DaysInMonth(m_nYear, m_nMonth))
            return DISP_E_BADINDEX;
        if (m_marks[nDay].size() >= QZ_MONTH_MAXMARKS)
            return DISP_E_OVERFLOW;
        m_marks[nDay].push_back((COLORREF)args[1].lVal);
        Invalidate();
        pResult->vt = VT_I2;
        pResult->iVal = (short)m_marks[nDay].size();
        return S_OK;
    }
    }
    return DISP_E_MEMBERNOTFOUND;
}

// ---- the user's choices ------------------------------------------------------------------------

bool CQzMonth::RaiseDateChanged()
{
    short nUnused = 0, nDay = (short)m_nDay, nMonth = (short)m_nMonth, nYear = (short)m_nYear;
    VARIANT args[4];
    short* values[4] = {&nUnused, &nDay, &nMonth, &nYear};
    for (int i = 0; i < 4; i++) {
        VariantInit(&args[i]);
        args[i].vt = VT_BYREF | VT_I2;
        args[i].piVal = values[i];
    }
    Fire(QZ_MONTH_EV_DATECHANGED, args, 4);
    if (m_hWnd == NULL)
        return false;
    // what the handler wrote back; a day still outside the month is clamped
    ShowMonth(nYear, nMonth);
    SelectOnly(nDay);
    m_nDay = ShownDay();
    return true;
}

void CQzMonth::ChooseDate(long nSerial, bool bClicked)
{
    nSerial = Clamp(nSerial, 0, kLastSerial);
    long nYear;
    int nMonth, nDay;
    DateOf(nSerial, &nYear, &nMonth, &nDay);
    bool bChanged = nSerial != SelectedSerial();
    ShowMonth(nYear, nMonth);
    SelectOnly(nDay);
    if (bChanged && !RaiseDateChanged())
        return;
    if (!bClicked)
        return;
    short nClicked = (short)ShownDay();
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BYREF | VT_I2;
    arg.piVal = &nClicked;
    Fire(QZ_MONTH_EV_DAYCLICKED, &arg, 1);
    if (m_hWnd != NULL)
        Fire(QZ_EV_CLICK);
}

void CQzMonth::StepMonth(int nDelta)
{
    long nMonths = m_nYear * 12 + (m_nMonth - 1) + nDelta;
    long nYear = nMonths / 12;
    int nMonth = (int)(nMonths % 12) + 1;
    if (nYear < kFirstYear || nYear > kLastYear) {
        MessageBeep(MB_OK);
        return;
    }
    int nDay = m_nDay; // kept: the handler sees the day as it was chosen
    ShowMonth(nYear, nMonth);
    m_nDay = nDay;
    m_selected = 1UL << ShownDay();
    RaiseDateChanged();
}

void CQzMonth::Hover(int nDay)
{
    if (nDay == m_nHoverDay)
        return;
    m_nHoverDay = nDay;
    if (nDay == 0)
        return;
    short nHover = (short)nDay;
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BYREF | VT_I2;
    arg.piVal = &nHover;
    Fire(QZ_MONTH_EV_DAYHOVER, &arg, 1);
}

bool CQzMonth::RaiseKey(DISPID dispid, WPARAM wKey)
{
    short nKey = (short)wKey;
    short nShift = (short)((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                           (GetKeyState(VK_MENU) < 0 ? 4 : 0));
    VARIANT args[2];
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    args[0].vt = VT_BYREF | VT_I2;
    args[0].piVal = &nKey;
    args[1].vt = VT_I2;
    args[1].iVal = nShift;
    Fire(dispid, args, dispid == QZ_EV_KEYDOWN ? 2 : 1);
    return m_hWnd != NULL;
}

// ---- layout ------------------------------------------------------------------------------------

void CQzMonth::Layout(int* pxCell, int* pyRow, RECT* pGrid) const
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    InflateRect(&client, -2, -2);
    *pxCell = (client.right - client.left) / Columns();
    *pyRow = (client.bottom - client.top) / 8;
    if (*pxCell < 1)
        *pxCell = 1;
    if (*pyRow < 1)
        *pyRow = 1;
    // the cells centred in the window
    int cx = *pxCell * Columns(), cy = *pyRow * 8;
    pGrid->left = client.left + ((client.right - client.left) - cx) / 2;
    pGrid->top = client.top + ((client.bottom - client.top) - cy) / 2;
    pGrid->right = pGrid->left + cx;
    pGrid->bottom = pGrid->top + cy;
}

RECT CQzMonth::CellRect(int nRow, int nColumn) const
{
    int xCell, yRow;
    RECT grid;
    Layout(&xCell, &yRow, &grid);
    RECT rect = {grid.left + nColumn * xCell, grid.top + nRow * yRow, grid.left + (nColumn + 1) * xCell,
                 grid.top + (nRow + 1) * yRow};
    return rect;
}

long CQzMonth::FirstShownSerial() const
{
    long nFirst = SerialOf(m_nYear, m_nMonth, 1);
    return nFirst - WeekdayOf(nFirst);
}

CQzMonth::Hit CQzMonth::HitTest(POINT pt) const
{
    Hit hit = {kHitNone, 0};
    int xCell, yRow;
    RECT grid;
    Layout(&xCell, &yRow, &grid);
    if (!PtInRect(&grid, pt))
        return hit;
    int nRow = (pt.y - grid.top) / yRow;
    int nColumn = (pt.x - grid.left) / xCell;
    if (nRow == 0) {
        if (nColumn == 0)
            hit.kind = kHitPrevious;
        else if (nColumn == Columns() - 1)
            hit.kind = kHitNext;
        return hit;
    }
    int nDayColumn = nColumn - (m_bWeekNumbers ? 1 : 0);
    if (nRow < 2 || nDayColumn < 0)
        return hit;
    hit.kind = kHitDay;
    hit.nSerial = FirstShownSerial() + (nRow - 2) * 7 + nDayColumn;
    return hit;
}

// ---- painting ----------------------------------------------------------------------------------

void CQzMonth::Paint(HDC hdc)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    bool bEnabled = IsWindowEnabled(m_hWnd) != FALSE;
    HBRUSH hBack = CreateSolidBrush((COLORREF)m_nBackColor);
    FillRect(hdc, &client, hBack);
    DeleteObject(hBack);
    DrawEdge(hdc, &client, EDGE_SUNKEN, BF_RECT);
    SetBkMode(hdc, TRANSPARENT);

    HFONT hFont = Font();
    LOGFONTA lf;
    GetObjectA(hFont, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    HFONT hBold = CreateFontIndirectA(&lf);
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);

    int xCell, yRow;
    RECT grid;
    Layout(&xCell, &yRow, &grid);

    // caption: the month and year between the arrows
    RECT caption = {grid.left, grid.top, grid.right, grid.top + yRow};
    HBRUSH hCaption = CreateSolidBrush((COLORREF)m_nCaptionColor);
    FillRect(hdc, &caption, hCaption);
    DeleteObject(hCaption);
    SetTextColor(hdc, GetSysColor(COLOR_CAPTIONTEXT));
    SelectObject(hdc, hBold);
    char szCaption[64];
    snprintf(szCaption, sizeof(szCaption), "%s %ld", m_monthNames[(size_t)m_nMonth - 1].c_str(), m_nYear);
    DrawTextA(hdc, szCaption, -1, &caption, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    HBRUSH hArrow = CreateSolidBrush(GetSysColor(COLOR_CAPTIONTEXT));
    HGDIOBJ hOldBrush = SelectObject(hdc, hArrow);
    HGDIOBJ hOldPen = SelectObject(hdc, GetStockObject(NULL_PEN));
    int nArrow = (yRow - 4) / 3 > 2 ? (yRow - 4) / 3 : 2;
    for (int nSide = 0; nSide < 2; nSide++) {
        RECT cell = CellRect(0, nSide == 0 ? 0 : Columns() - 1);
        int xMid = (cell.left + cell.right) / 2, yMid = (cell.top + cell.bottom) / 2;
        int nTip = nSide == 0 ? -nArrow : nArrow;
        POINT pts[3] = {{xMid + nTip, yMid}, {xMid - nTip, yMid - nArrow}, {xMid - nTip, yMid + nArrow}};
        Polygon(hdc, pts, 3);
    }
    SelectObject(hdc, hOldPen);
    SelectObject(hdc, hOldBrush);
    DeleteObject(hArrow);

    // day letters from Monday, a line below them
    int nFirstColumn = m_bWeekNumbers ? 1 : 0;
    SetTextColor(hdc, GetSysColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    for (int i = 0; i < 7; i++) {
        RECT cell = CellRect(1, nFirstColumn + i);
        const std::string& strName = m_dayNames[(size_t)((i + 1) % 7)];
        DrawTextA(hdc, strName.c_str(), -1, &cell, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    }
    SelectObject(hdc, hFont);
    HPEN hLine = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    SelectObject(hdc, hLine);
    MoveToEx(hdc, grid.left + nFirstColumn * xCell, grid.top + 2 * yRow - 1, NULL);
    LineTo(hdc, grid.right, grid.top + 2 * yRow - 1);
    if (m_bWeekNumbers) {
        MoveToEx(hdc, grid.left + xCell - 1, grid.top + 2 * yRow, NULL);
        LineTo(hdc, grid.left + xCell - 1, grid.bottom);
    }

    long nToday = Today();
    long nSerial = FirstShownSerial();
    for (int nRow = 2; nRow < 8; nRow++) {
        if (m_bWeekNumbers) {
            char szWeek[8];
            snprintf(szWeek, sizeof(szWeek), "%d", IsoWeekOf(nSerial));
            RECT cell = CellRect(nRow, 0);
            SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
            DrawTextA(hdc, szWeek, -1, &cell, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        }
        for (int i = 0; i < 7; i++, nSerial++) {
            long nYear;
            int nMonth, nDay;
            DateOf(nSerial, &nYear, &nMonth, &nDay);
            bool bInMonth = nYear == m_nYear && nMonth == m_nMonth;
            RECT cell = CellRect(nRow, nFirstColumn + i);
            InflateRect(&cell, -kCellMargin, 0);
            bool bSelected = bInMonth && (m_selected & (1UL << nDay)) != 0;
            COLORREF textColor = GetSysColor(COLOR_GRAYTEXT);
            if (bInMonth && bEnabled)
                textColor = m_textColors[nDay] != kNoColor ? (COLORREF)m_textColors[nDay] : GetSysColor(COLOR_WINDOWTEXT);
            if (bSelected) {
                FillRect(hdc, &cell, GetSysColorBrush(bEnabled ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW));
                textColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
            } else if (bInMonth && m_backColors[nDay] != kNoColor) {
                HBRUSH hDay = CreateSolidBrush((COLORREF)m_backColors[nDay]);
                FillRect(hdc, &cell, hDay);
                DeleteObject(hDay);
            }
            if (nSerial == nToday) {
                HBRUSH hFrame = CreateSolidBrush(kTodayFrame);
                FrameRect(hdc, &cell, hFrame);
                DeleteObject(hFrame);
            }
            // the number above the marks' band
            RECT number = cell;
            number.bottom -= kMarkBand + 1;
            char szDay[4];
            snprintf(szDay, sizeof(szDay), "%d", nDay);
            SetTextColor(hdc, textColor);
            DrawTextA(hdc, szDay, -1, &number, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
            if (!bInMonth || m_marks[nDay].empty())
                continue;
            int nMarks = (int)m_marks[nDay].size();
            int cxMark = 3, cxGap = 1;
            int cxAll = nMarks * cxMark + (nMarks - 1) * cxGap;
            int x = (cell.left + cell.right - cxAll) / 2;
            int yBottom = cell.bottom - 1;
            for (COLORREF color : m_marks[nDay]) {
                RECT bar = {x, yBottom - kMarkBand, x + cxMark, yBottom};
                HBRUSH hMark = CreateSolidBrush(color);
                FillRect(hdc, &bar, hMark);
                DeleteObject(hMark);
                x += cxMark + cxGap;
            }
        }
    }
    SelectObject(hdc, hOldFont);
    SelectObject(hdc, GetStockObject(BLACK_PEN));
    DeleteObject(hLine);
    DeleteObject(hBold);
    if (GetFocus() == m_hWnd) {
        RECT focus = client;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(hdc, &focus);
    }
}

LRESULT CQzMonth::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(m_hWnd, &ps);
        RECT client;
        GetClientRect(m_hWnd, &client);
        HDC hdcMem = CreateCompatibleDC(hdc);
        HBITMAP hBitmap = CreateCompatibleBitmap(hdc, client.right, client.bottom);
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
    case WM_GETDLGCODE: {
        LRESULT lCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* pMsg = (const MSG*)lParam;
        if (pMsg != NULL && pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN)
            lCode |= DLGC_WANTMESSAGE; // Return reaches the control (the picker takes the date)
        return lCode;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE:
    case WM_ENABLE:
        Invalidate();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        SetFocus(m_hWnd);
        if (m_hWnd == NULL)
            return 0;
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        Hit hit = HitTest(pt);
        if (hit.kind == kHitPrevious || hit.kind == kHitNext)
            StepMonth(hit.kind == kHitPrevious ? -1 : 1);
        else if (hit.kind == kHitDay)
            ChooseDate(hit.nSerial, true);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (!m_bTracking) {
            TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
            m_bTracking = TrackMouseEvent(&tme) != FALSE;
        }
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        Hit hit = HitTest(pt);
        int nDay = 0;
        if (hit.kind == kHitDay) {
            long nYear;
            int nMonth, nHitDay;
            DateOf(hit.nSerial, &nYear, &nMonth, &nHitDay);
            if (nYear == m_nYear && nMonth == m_nMonth)
                nDay = nHitDay;
        }
        Hover(nDay);
        return 0;
    }
    case WM_MOUSELEAVE:
        m_bTracking = false;
        m_nHoverDay = 0;
        return 0;
    case WM_KEYDOWN: {
        if (!RaiseKey(QZ_EV_KEYDOWN, wParam))
            return 0;
        long nSelected = SelectedSerial();
        switch (wParam) {
        case VK_LEFT: ChooseDate(nSelected - 1, false); break;
        case VK_RIGHT: ChooseDate(nSelected + 1, false); break;
        case VK_UP: ChooseDate(nSelected - 7, false); break;
        case VK_DOWN: ChooseDate(nSelected + 7, false); break;
        case VK_PRIOR: StepMonth(-1); break;
        case VK_NEXT: StepMonth(1); break;
        }
        return 0;
    }
    case WM_CHAR:
        RaiseKey(QZ_EV_KEYPRESS, wParam);
        return 0;
    }
    return CQzControl::WindowProc(message, wParam, lParam);
}
