#include "QzDEdit.h"

#include <stdio.h>
#include <string.h>

#include "QzDate.h"

using namespace qz;

namespace {

const Member kMembers[] = {
    {QZ_DEDIT_TIME, L"Time", kGet | kPut, VT_I2, 0, {}},
    {QZ_DEDIT_MAXDATE, L"MaxDate", kGet | kPut, VT_I4, 0, {}},
    {QZ_DEDIT_DATE, L"Date", kGet | kPut, VT_I4, 0, {}},
    {QZ_DEDIT_SETTODAY, L"SetToday", kMethod, VT_I4, 0, {}},
    {QZ_DEDIT_SETNOW, L"SetNow", kMethod, VT_I4, 0, {}},
    {QZ_DEDIT_MODE, L"Mode", kGet | kPut, VT_I2, 0, {}},
};

const EventInfo kEvents[] = {
    {QZ_DEDIT_EV_DROPDOWN, 0, {}},
    {QZ_DEDIT_EV_SPIN, 1, {VT_I2}},
    {QZ_DEDIT_EV_CHANGE, 0, {}},
};

const int kLastMinute = 1439;

} // namespace

CQzDEdit::CQzDEdit() : CQzControl(CLSID_QzDEdit, DIID_QzDEditEvents, "QzDEditWindow", (DWORD)QZ_DEDIT_STATE_MARK)
{
    InitState();
}

IUnknown* CQzDEdit::Create() { return static_cast<IOleObject*>(new CQzDEdit()); }

const Member* CQzDEdit::Members(int* pnCount) const
{
    *pnCount = (int)(sizeof(kMembers) / sizeof(kMembers[0]));
    return kMembers;
}

const EventInfo* CQzDEdit::Events(int* pnCount) const
{
    *pnCount = (int)(sizeof(kEvents) / sizeof(kEvents[0]));
    return kEvents;
}

void CQzDEdit::InitState()
{
    m_nMode = QZ_DEDIT_MODE_DATE;
    m_nDate = Today();
    m_nTime = 0;
    m_nMaxDate = QZ_DEDIT_DEFAULT_MAXDATE;
    m_nPart = 0;
    m_nTyped = 0;
}

HRESULT CQzDEdit::LoadWord(WORD wWord)
{
    if (wWord != QZ_DEDIT_MODE_DATE && wWord != QZ_DEDIT_MODE_TIME)
        return E_FAIL;
    m_nMode = wWord;
    return S_OK;
}

// ---- automation --------------------------------------------------------------------------------

HRESULT CQzDEdit::GetValue(const Member& member, const VARIANT*, VARIANT* pResult)
{
    switch (member.id) {
    case QZ_DEDIT_TIME:
        pResult->vt = VT_I2;
        pResult->iVal = (short)m_nTime;
        return S_OK;
    case QZ_DEDIT_MAXDATE:
        pResult->vt = VT_I4;
        pResult->lVal = m_nMaxDate;
        return S_OK;
    case QZ_DEDIT_DATE:
        pResult->vt = VT_I4;
        pResult->lVal = m_nDate;
        return S_OK;
    case QZ_DEDIT_MODE:
        pResult->vt = VT_I2;
        pResult->iVal = (short)m_nMode;
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CQzDEdit::PutValue(const Member& member, const VARIANT*, const VARIANT& value)
{
    switch (member.id) {
    case QZ_DEDIT_TIME:
        m_nTime = value.iVal < 0 ? 0 : value.iVal > kLastMinute ? kLastMinute : value.iVal;
        break;
    case QZ_DEDIT_MAXDATE:
        m_nMaxDate = value.lVal < 0 ? 0 : value.lVal;
        if (m_nDate > m_nMaxDate)
            m_nDate = m_nMaxDate;
        break;
    case QZ_DEDIT_DATE:
        m_nDate = value.lVal < 0 ? 0 : value.lVal > m_nMaxDate ? m_nMaxDate : value.lVal;
        break;
    case QZ_DEDIT_MODE:
        if (value.iVal != QZ_DEDIT_MODE_DATE && value.iVal != QZ_DEDIT_MODE_TIME)
            return DISP_E_OVERFLOW;
        m_nMode = value.iVal;
        m_nPart = 0;
        break;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    m_nTyped = 0; // a put ends any typing
    Invalidate();
    return S_OK;
}

HRESULT CQzDEdit::CallMethod(const Member& member, const VARIANT*, VARIANT* pResult)
{
    switch (member.id) {
    case QZ_DEDIT_SETTODAY:
        m_nDate = Today() > m_nMaxDate ? m_nMaxDate : Today();
        pResult->vt = VT_I4;
        pResult->lVal = m_nDate;
        break;
    case QZ_DEDIT_SETNOW: {
        SYSTEMTIME st;
        GetLocalTime(&st);
        m_nTime = st.wHour * 60 + st.wMinute;
        pResult->vt = VT_I4;
        pResult->lVal = m_nTime;
        break;
    }
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
    m_nTyped = 0;
    Invalidate();
    return S_OK;
}

// ---- parts -------------------------------------------------------------------------------------

int CQzDEdit::PartValue(int nPart) const
{
    if (m_nMode == QZ_DEDIT_MODE_TIME)
        return nPart == 0 ? m_nTime / 60 : m_nTime % 60;
    long nYear;
    int nMonth, nDay;
    DateOf(m_nDate, &nYear, &nMonth, &nDay);
    return nPart == 0 ? nDay : nPart == 1 ? nMonth : (int)nYear;
}

int CQzDEdit::PartDigits(int nPart) const { return m_nMode == QZ_DEDIT_MODE_DATE && nPart == 2 ? 4 : 2; }

int CQzDEdit::PartMaximum(int nPart) const
{
    if (m_nMode == QZ_DEDIT_MODE_TIME)
        return nPart == 0 ? 23 : 59;
    return nPart == 0 ? 31 : nPart == 1 ? 12 : (int)kLastYear;
}

std::string CQzDEdit::PartText(int nPart) const
{
    char sz[16];
    if (m_nTyped > 0 && nPart == m_nPart)
        snprintf(sz, sizeof(sz), "%d", m_nPending); // what is being typed
    else
        snprintf(sz, sizeof(sz), PartDigits(nPart) == 4 ? "%04d" : "%02d", PartValue(nPart));
    return sz;
}

std::string CQzDEdit::DisplayText() const
{
    std::string str;
    for (int i = 0; i < PartCount(); i++)
        str += (i != 0 ? (m_nMode == QZ_DEDIT_MODE_DATE ? "." : ":") : "") + PartText(i);
    return str;
}

bool CQzDEdit::ApplyPart(int nPart, int nValue)
{
    if (m_nMode == QZ_DEDIT_MODE_TIME) {
        int nHour = nPart == 0 ? nValue : m_nTime / 60;
        int nMinute = nPart == 1 ? nValue : m_nTime % 60;
        if (nHour > 23 || nMinute > 59) {
            MessageBeep(MB_OK);
            return false;
        }
        SetByUser(m_nDate, nHour * 60 + nMinute);
        return m_hWnd != NULL;
    }
    long nYear;
    int nMonth, nDay;
    DateOf(m_nDate, &nYear, &nMonth, &nDay);
    if (nPart == 0)
        nDay = nValue;
    else if (nPart == 1)
        nMonth = nValue;
    else
        nYear = nValue;
    // impossible dates and dates past the latest are refused
    if (!IsValidDate(nYear, nMonth, nDay) || SerialOf(nYear, nMonth, nDay) > m_nMaxDate) {
        MessageBeep(MB_OK);
        return false;
    }
    SetByUser(SerialOf(nYear, nMonth, nDay), m_nTime);
    return m_hWnd != NULL;
}

void CQzDEdit::SetByUser(long nDate, int nTime)
{
    bool bChanged = nDate != m_nDate || nTime != m_nTime;
    m_nDate = nDate;
    m_nTime = nTime;
    Invalidate();
    if (bChanged)
        Fire(QZ_DEDIT_EV_CHANGE);
}

void CQzDEdit::TypeDigit(int nDigit)
{
    m_nPending = (m_nTyped > 0 ? m_nPending * 10 : 0) + nDigit;
    m_nTyped++;
    Invalidate();
    // complete when the digits are all there or one more could not fit
    if (m_nTyped < PartDigits(m_nPart) && m_nPending * 10 <= PartMaximum(m_nPart))
        return;
    int nPart = m_nPart;
    int nValue = m_nPending;
    m_nTyped = 0;
    if (ApplyPart(nPart, nValue) && nPart + 1 < PartCount())
        MovePart(nPart + 1);
    Invalidate();
}

void CQzDEdit::CommitTyping()
{
    if (m_nTyped == 0)
        return;
    int nValue = m_nPending;
    m_nTyped = 0;
    // a short year is not a year; one or two digits of the others are
    if (m_nMode == QZ_DEDIT_MODE_DATE && m_nPart == 2 && nValue < (int)kFirstYear) {
        MessageBeep(MB_OK);
        Invalidate();
        return;
    }
    ApplyPart(m_nPart, nValue);
    Invalidate();
}

void CQzDEdit::MovePart(int nPart)
{
    if (m_hWnd == NULL)
        return;
    if (nPart < 0)
        nPart = 0;
    if (nPart >= PartCount())
        nPart = PartCount() - 1;
    m_nPart = nPart;
    m_nTyped = 0;
    Invalidate();
}

void CQzDEdit::Step(int nDirection)
{
    m_nTyped = 0;
    Invalidate();
    if (m_nMode == QZ_DEDIT_MODE_TIME) {
        // the host decides what a step of the time is
        VARIANT arg;
        VariantInit(&arg);
        arg.vt = VT_I2;
        arg.iVal = (short)nDirection;
        Fire(QZ_DEDIT_EV_SPIN, &arg, 1);
        return;
    }
    long nDate = m_nDate + (nDirection == 0 ? 1 : -1);
    if (nDate < 0 || nDate > m_nMaxDate) {
        MessageBeep(MB_OK);
        return;
    }
    SetByUser(nDate, m_nTime);
}

void CQzDEdit::DropDown()
{
    CommitTyping();
    if (m_hWnd != NULL)
        Fire(QZ_DEDIT_EV_DROPDOWN);
}

// ---- window ------------------------------------------------------------------------------------

RECT CQzDEdit::ButtonRect() const
{
    RECT rect;
    GetClientRect(m_hWnd, &rect);
    InflateRect(&rect, -2, -2);
    int cx = GetSystemMetrics(SM_CXVSCROLL);
    if (cx > rect.bottom - rect.top + 2)
        cx = rect.bottom - rect.top + 2;
    rect.left = rect.right - cx;
    return rect;
}

RECT CQzDEdit::SpinRect(int nDirection) const
{
    RECT rect = ButtonRect();
    int cx = (rect.right - rect.left) * 3 / 4;
    rect.right = rect.left - 1;
    rect.left = rect.right - cx;
    int yMiddle = (rect.top + rect.bottom) / 2;
    if (nDirection == 0)
        rect.bottom = yMiddle;
    else
        rect.top = yMiddle;
    return rect;
}

RECT CQzDEdit::TextRect() const
{
    RECT rect;
    GetClientRect(m_hWnd, &rect);
    InflateRect(&rect, -2, -2);
    rect.right = SpinRect(0).left - 1;
    return rect;
}

void CQzDEdit::Paint(HDC hdc)
{
    RECT client;
    GetClientRect(m_hWnd, &client);
    bool bEnabled = IsWindowEnabled(m_hWnd) != FALSE;
    bool bFocus = GetFocus() == m_hWnd;
    FillRect(hdc, &client, GetSysColorBrush(bEnabled ? COLOR_WINDOW : COLOR_BTNFACE));
    DrawEdge(hdc, &client, EDGE_SUNKEN, BF_RECT);

    RECT text = TextRect();
    HGDIOBJ hOldFont = SelectObject(hdc, Font());
    SetBkMode(hdc, TRANSPARENT);
    TEXTMETRICA tm;
    GetTextMetricsA(hdc, &tm);
    int x = text.left + 2;
    int y = text.top + ((text.bottom - text.top) - tm.tmHeight) / 2;
    const char* pszSeparator = m_nMode == QZ_DEDIT_MODE_DATE ? "." : ":";
    for (int i = 0; i < PartCount(); i++) {
        std::string str = PartText(i);
        SIZE size;
        GetTextExtentPoint32A(hdc, str.c_str(), (int)str.size(), &size);
        RECT part = {x, y, x + size.cx, y + tm.tmHeight};
        m_partRects[i] = part;
        bool bSelected = bFocus && bEnabled && i == m_nPart;
        if (bSelected)
            FillRect(hdc, &part, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(hdc, GetSysColor(!bEnabled ? COLOR_GRAYTEXT : bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        ExtTextOutA(hdc, x, y, ETO_CLIPPED, &text, str.c_str(), (UINT)str.size(), NULL);
        x += size.cx;
        if (i + 1 < PartCount()) {
            SetTextColor(hdc, GetSysColor(bEnabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
            ExtTextOutA(hdc, x, y, ETO_CLIPPED, &text, pszSeparator, 1, NULL);
            GetTextExtentPoint32A(hdc, pszSeparator, 1, &size);
            x += size.cx;
        }
    }
    SelectObject(hdc, hOldFont);

    UINT uInactive = bEnabled ? 0 : DFCS_INACTIVE;
    RECT rect = SpinRect(0);
    DrawFrameControl(hdc, &rect, DFC_SCROLL, DFCS_SCROLLUP | uInactive | (m_nPressed == 0 ? DFCS_PUSHED : 0));
    rect = SpinRect(1);
    DrawFrameControl(hdc, &rect, DFC_SCROLL, DFCS_SCROLLDOWN | uInactive | (m_nPressed == 1 ? DFCS_PUSHED : 0));
    rect = ButtonRect();
    DrawFrameControl(hdc, &rect, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | uInactive | (m_nPressed == 2 ? DFCS_PUSHED : 0));
}

LRESULT CQzDEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(m_hWnd, &ps);
        RECT client;
        GetClientRect(m_hWnd, &client);
        // drawn off screen, then copied: no flicker while typing
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
    case WM_GETTEXTLENGTH:
        return (LRESULT)DisplayText().size();
    case WM_GETTEXT: {
        if (wParam == 0 || lParam == 0)
            return 0;
        std::string str = DisplayText();
        size_t n = str.size() < wParam - 1 ? str.size() : wParam - 1;
        memcpy((char*)lParam, str.data(), n);
        ((char*)lParam)[n] = '\0';
        return (LRESULT)n;
    }
    case WM_SETTEXT:
        return FALSE; // the value is set through its properties
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (message == WM_KILLFOCUS)
            CommitTyping();
        Invalidate();
        return 0;
    case WM_ENABLE:
        m_nTyped = 0;
        m_nPressed = -1;
        Invalidate();
        return 0;
    case WM_SIZE:
        Invalidate();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        SetFocus(m_hWnd);
        if (m_hWnd == NULL)
            return 0;
        RECT up = SpinRect(0), down = SpinRect(1), button = ButtonRect();
        if (PtInRect(&button, pt)) {
            m_nPressed = 2;
            Invalidate();
            UpdateWindow(m_hWnd);
            m_nPressed = -1;
            Invalidate();
            DropDown();
        } else if (PtInRect(&up, pt) || PtInRect(&down, pt)) {
            m_nPressed = PtInRect(&up, pt) ? 0 : 1;
            SetCapture(m_hWnd);
            CommitTyping();
            if (m_hWnd != NULL)
                Step(PtInRect(&up, pt) ? 0 : 1);
        } else {
            CommitTyping();
            for (int i = 0; i < PartCount() && m_hWnd != NULL; i++) {
                RECT part = m_partRects[i];
                part.top = 0;
                part.bottom = 0x7FFF;
                if (pt.x < part.right || i + 1 == PartCount()) {
                    MovePart(i);
                    break;
                }
            }
        }
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (m_nPressed >= 0) {
            m_nPressed = -1;
            Invalidate();
        }
        if (message == WM_LBUTTONUP && GetCapture() == m_hWnd)
            ReleaseCapture();
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN && (lParam & (1 << 29))) {
            DropDown();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_F4:
            DropDown();
            return 0;
        case VK_UP:
        case VK_DOWN:
            CommitTyping();
            if (m_hWnd != NULL)
                Step(wParam == VK_UP ? 0 : 1);
            return 0;
        case VK_LEFT:
        case VK_RIGHT:
            CommitTyping();
            MovePart(m_nPart + (wParam == VK_LEFT ? -1 : 1));
            return 0;
        case VK_HOME:
        case VK_END:
            CommitTyping();
            MovePart(wParam == VK_HOME ? 0 : PartCount() - 1);
            return 0;
        case VK_BACK:
        case VK_DELETE:
        case VK_ESCAPE:
            m_nTyped = 0;
            Invalidate();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam >= '0' && wParam <= '9') {
            TypeDigit((int)(wParam - '0'));
        } else if (wParam == '.' || wParam == ':' || wParam == ',' || wParam == ' ') {
            int nPart = m_nPart;
            CommitTyping();
            MovePart(nPart + 1);
        }
        return 0;
    }
    return CQzControl::WindowProc(message, wParam, lParam);
}
