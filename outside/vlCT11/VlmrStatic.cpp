#include "VlmrStatic.h"

#include <map>
#include <string>
#include <vector>

#include "ColorMessages.h"
#include "Markup.h"
#include "WindowClasses.h"
#include "vlCT11.h"

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

// Fonts, text widths and bitmaps of one paint, from the device context and the module that made
// the dialog.
class GdiMeasurer : public MarkupMeasurer {
public:
    GdiMeasurer(HDC dc, HFONT controlFont, HINSTANCE module) : m_dc(dc), m_controlFont(controlFont), m_module(module)
    {
        GetObjectA(controlFont, sizeof m_controlFace, &m_controlFace);
    }

    ~GdiMeasurer() override
    {
        for (auto& [key, font] : m_fonts)
            DeleteObject(font);
        for (auto& [name, bitmap] : m_bitmaps)
            if (bitmap)
                DeleteObject(bitmap);
    }

    HFONT Font(const MarkupFont& font) const
    {
        if (font.face.empty() && font.points == 0 && !font.bold)
            return m_controlFont;
        const std::string key = font.face + "|" + std::to_string(font.points) + (font.bold ? "|b" : "");
        auto it = m_fonts.find(key);
        if (it != m_fonts.end())
            return it->second;
        LOGFONTA face = m_controlFace;
        if (!font.face.empty()) {
            lstrcpynA(face.lfFaceName, font.face.c_str(), LF_FACESIZE);
            face.lfWidth = 0;
        }
        if (font.points > 0) {
            face.lfHeight = -MulDiv(font.points, GetDeviceCaps(m_dc, LOGPIXELSY), 72);
            face.lfWidth = 0;
        }
        if (font.bold)
            face.lfWeight = FW_BOLD;
        HFONT made = CreateFontIndirectA(&face);
        if (!made)
            made = m_controlFont;
        m_fonts.emplace(key, made != m_controlFont ? made : nullptr);
        return made;
    }

    HBITMAP Bitmap(const std::string& name) const
    {
        auto it = m_bitmaps.find(name);
        if (it == m_bitmaps.end())
            it = m_bitmaps.emplace(name, m_module ? LoadBitmapA(m_module, name.c_str()) : nullptr).first;
        return it->second;
    }

    int TextWidth(const MarkupFont& font, const std::string& text) const override
    {
        SelectObject(m_dc, Font(font));
        SIZE size{};
        GetTextExtentPoint32A(m_dc, text.c_str(), (int)text.size(), &size);
        return size.cx;
    }

    int LineHeight(const MarkupFont& font) const override
    {
        SelectObject(m_dc, Font(font));
        TEXTMETRICA metrics{};
        GetTextMetricsA(m_dc, &metrics);
        return metrics.tmHeight;
    }

    void BitmapSize(const std::string& name, int* width, int* height) const override
    {
        BITMAP info{};
        HBITMAP bitmap = Bitmap(name);
        if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) {
            *width = *height = 0;
            return;
        }
        *width = info.bmWidth;
        *height = info.bmHeight;
    }

private:
    HDC m_dc;
    HFONT m_controlFont;
    HINSTANCE m_module;
    LOGFONTA m_controlFace{};
    mutable std::map<std::string, HFONT> m_fonts;
    mutable std::map<std::string, HBITMAP> m_bitmaps;
};

// Bitmaps are drawn with the colour of their top left pixel as the transparent colour.
void DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y)
{
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    TransparentBlt(dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth, info.bmHeight,
                   GetPixel(source, 0, 0));
    SelectObject(source, previous);
    DeleteDC(source);
}

void Paint(HWND hwnd, HDC dc)
{
    RECT client;
    GetClientRect(hwnd, &client);
    // The dialog's colour first (the library's message, then the system's), else the library's.
    HBRUSH brush = AskParentForBrush(hwnd, dc, CTL_CTLCOLOR_TYPE_STATIC);
    HWND parent = GetParent(hwnd);
    if (!brush && parent)
        brush = (HBRUSH)SendMessageA(parent, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)hwnd);
    if (!brush) {
        brush = LibraryBackgroundBrush();
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    }
    FillRect(dc, &client, brush);
    if (!IsWindowEnabled(hwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);

    const std::string markup = WindowText(hwnd);
    HGDIOBJ previous = SelectObject(dc, PlainFont(hwnd));
    {
        GdiMeasurer measurer(dc, PlainFont(hwnd), (HINSTANCE)GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
        const MarkupLayout layout = LayoutMarkup(markup.c_str(), client.right - client.left, measurer);
        std::vector<int> tops(layout.lineHeights.size() + 1, 0);
        for (size_t i = 0; i < layout.lineHeights.size(); ++i)
            tops[i + 1] = tops[i] + layout.lineHeights[i];
        for (const MarkupRun& run : layout.runs) {
            const int y = tops[(size_t)run.line];
            if (y > client.bottom)
                break;
            if (run.kind == MarkupRun::Kind::Bitmap) {
                DrawBitmap(dc, measurer.Bitmap(run.text), run.x, y);
                continue;
            }
            SelectObject(dc, measurer.Font(run.font));
            ExtTextOutA(dc, run.x, y, ETO_CLIPPED, &client, run.text.c_str(), (UINT)run.text.size(), nullptr);
        }
        SelectObject(dc, previous);
    }
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
