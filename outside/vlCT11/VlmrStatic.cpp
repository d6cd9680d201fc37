#include "VlmrStatic.h"

#include <algorithm>
#include <string>

#include "Markup.h"
#include "WindowClasses.h"

namespace {

// Window extra bytes: the font set with WM_SETFONT (none: the default GUI font).
const int kFontOffset = 0;

HFONT PlainFont(HWND hwnd)
{
    HFONT font = (HFONT)GetWindowLongPtrA(hwnd, kFontOffset);
    return font ? font : (HFONT)GetStockObject(DEFAULT_GUI_FONT);
}

std::string WindowText(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text((size_t)length + 1, '\0');
    text.resize((size_t)GetWindowTextA(hwnd, text.data(), length + 1));
    return text;
}

// Lays the segments out as flowing text: words wrap at the right edge, a line break in the text
// starts a new line, blanks at the start of a line are dropped. The words of one segment on one
// line are drawn as one run: the width of a run as measured may differ from the sum of its words.
class FlowWriter {
public:
    FlowWriter(HDC dc, const RECT& area) : m_dc(dc), m_area(area) {}

    void Write(const std::string& text, HFONT font)
    {
        SelectObject(m_dc, font);
        TEXTMETRICA metrics;
        GetTextMetricsA(m_dc, &metrics);
        m_fontHeight = metrics.tmHeight;
        m_lineHeight = std::max(m_lineHeight, m_fontHeight);
        size_t i = 0;
        while (i < text.size()) {
            char c = text[i];
            if (c == '\r') {
                ++i;
                continue;
            }
            if (c == '\n') {
                Flush();
                NewLine();
                ++i;
                continue;
            }
            bool blank = c == ' ';
            size_t end = i;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n' && (text[end] == ' ') == blank)
                ++end;
            if (!blank)
                AddWord(text.substr(i, end - i));
            else if (m_lineUsed || !m_run.empty())
                m_blanks.append(text, i, end - i);
            i = end;
        }
        // Blanks at the end of a segment separate it from the next one on the same line.
        m_run += m_blanks;
        m_blanks.clear();
        Flush();
    }

private:
    int Width(const std::string& text)
    {
        SIZE size{};
        GetTextExtentPoint32A(m_dc, text.c_str(), (int)text.size(), &size);
        return size.cx;
    }

    void AddWord(const std::string& word)
    {
        std::string longer = m_run + m_blanks + word;
        m_blanks.clear();
        if ((m_lineUsed || !m_run.empty()) && m_area.left + m_x + Width(longer) > m_area.right) {
            Flush();
            NewLine();
            m_run = word;
        } else
            m_run = longer;
    }

    void Flush()
    {
        if (m_run.empty())
            return;
        ExtTextOutA(m_dc, m_area.left + m_x, m_area.top + m_y, ETO_CLIPPED, &m_area, m_run.c_str(),
                    (UINT)m_run.size(), nullptr);
        m_x += Width(m_run);
        m_lineUsed = true;
        m_run.clear();
    }

    void NewLine()
    {
        m_y += m_lineHeight;
        m_x = 0;
        m_lineHeight = m_fontHeight;
        m_lineUsed = false;
        m_blanks.clear();
    }

    HDC m_dc;
    RECT m_area;
    std::string m_run;    // words waiting to be drawn at m_x
    std::string m_blanks; // blanks after the run, kept until a word follows
    bool m_lineUsed = false;
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 0;
    int m_fontHeight = 0;
};

void Paint(HWND hwnd, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    HWND parent = GetParent(hwnd);
    HBRUSH brush = parent ? (HBRUSH)SendMessageA(parent, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)hwnd) : nullptr;
    if (!brush) {
        brush = GetSysColorBrush(COLOR_BTNFACE);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    }
    FillRect(dc, &client, brush);
    if (!IsWindowEnabled(hwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);

    std::vector<MarkupSegment> segments = ParseMarkup(WindowText(hwnd).c_str());
    if (segments.empty())
        return;
    HFONT plain = PlainFont(hwnd);
    LOGFONTA boldFace{};
    GetObjectA(plain, sizeof boldFace, &boldFace);
    boldFace.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectA(&boldFace);
    HGDIOBJ previous = SelectObject(dc, plain);
    FlowWriter writer(dc, client);
    for (const MarkupSegment& segment : segments)
        writer.Write(segment.text, segment.style == MarkupSegment::Style::Bold && bold ? bold : plain);
    SelectObject(dc, previous);
    if (bold)
        DeleteObject(bold);
}

LRESULT CALLBACK VlmrStaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        Paint(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(hwnd, (HDC)wParam);
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint fills the background
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_SETFONT:
        SetWindowLongPtrA(hwnd, kFontOffset, (LONG_PTR)wParam);
        if (LOWORD(lParam))
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return GetWindowLongPtrA(hwnd, kFontOffset);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

bool RegisterVlmrStatic(HINSTANCE instance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = VlmrStaticProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = kStaticClassName;
    return RegisterClassExA(&wc) != 0;
}
