#include "PreviewWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "PageRenderer.h"
#include "PrinterOutput.h"
#include "VLRP11.h"
#include "vlCT11.h"

namespace rp {
namespace {

const char kClassName[] = "VLRP11Preview";
const int kBarHeight = 34;   // the button row, pixels
const int kGap = 16;         // grey around the page, pixels

enum {
    IDC_PRINT = 100,
    IDC_FIRST,
    IDC_PREVIOUS,
    IDC_NEXT,
    IDC_LAST,
    IDC_WHOLE_PAGE,
    IDC_PAGE_WIDTH,
    IDC_CLOSE,
    IDC_PAGE_TEXT,
};

struct Button {
    int id;
    const char* text;
    int width;
};
const Button kButtons[] = {
    {IDC_PRINT, "&Drucken...", 78}, {IDC_FIRST, "|<", 30},  {IDC_PREVIOUS, "<", 30},
    {IDC_NEXT, ">", 30},            {IDC_LAST, ">|", 30},   {IDC_WHOLE_PAGE, "&Ganze Seite", 88},
    {IDC_PAGE_WIDTH, "Seiten&breite", 88}, {IDC_CLOSE, "&Schlie\xDF" "en", 78},
};

bool Unattended()
{
    char value[8] = "";
    DWORD n = GetEnvironmentVariableA("VLCT11_UNATTENDED", value, sizeof value);
    return n > 0 && n < sizeof value && std::strcmp(value, "0") != 0;
}

} // namespace

int PreviewWindow::Show(HINSTANCE module, HWND owner, const Document& document, const std::string& title)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExA(module, kClassName, &windowClass)) {
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = module;
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.hbrBackground = nullptr; // painted whole, without flicker
        windowClass.lpszClassName = kClassName;
        windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
        if (!RegisterClassExA(&windowClass))
            return RP_ERR_OUTPUT;
    }
    PreviewWindow preview(module, document, title);
    owner = owner && IsWindow(owner) ? owner : nullptr;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int width = (work.right - work.left) * 3 / 4, height = (work.bottom - work.top) * 9 / 10;
    std::string caption = (title.empty() ? std::string("Druckvorschau") : title) + " - Vorschau";
    preview.m_window = CreateWindowExA(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                       work.left + (work.right - work.left - width) / 2,
                                       work.top + (work.bottom - work.top - height) / 2, width, height, owner, nullptr,
                                       module, &preview);
    if (!preview.m_window)
        return RP_ERR_OUTPUT;
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(preview.m_window, SW_SHOWNORMAL);
    UpdateWindow(preview.m_window);
    if (Unattended()) {
        char path[MAX_PATH] = "";
        DWORD n = GetEnvironmentVariableA("VLRP11_PREVIEW_PICTURE", path, sizeof path);
        if (n > 0 && n < sizeof path)
            preview.Picture(path);
        DestroyWindow(preview.m_window);
    }
    MSG message;
    while (!preview.m_closed && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN && (message.hwnd == preview.m_window || IsChild(preview.m_window, message.hwnd)))
            message.hwnd = preview.m_window; // keys page and close wherever the focus is
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    return RP_OK;
}

LRESULT CALLBACK PreviewWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = (PreviewWindow*)((CREATESTRUCTA*)lParam)->lpCreateParams;
        self->m_window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, (LONG_PTR)self);
    }
    auto* self = (PreviewWindow*)GetWindowLongPtrA(window, GWLP_USERDATA);
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

void PreviewWindow::Create()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font = CreateFontIndirectA(&metrics.lfMessageFont);
    int x = 6;
    for (const Button& button : kButtons) {
        HWND control = CreateWindowExA(0, "BUTTON", button.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x, 5,
                                       button.width, 24, m_window, (HMENU)(INT_PTR)button.id, m_module, nullptr);
        SendMessageA(control, WM_SETFONT, (WPARAM)m_font, FALSE);
        x += button.width + (button.id == IDC_PRINT || button.id == IDC_LAST || button.id == IDC_PAGE_WIDTH ? 12 : 3);
    }
    m_pageText = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, x + 6, 5, 160, 24,
                                 m_window, (HMENU)IDC_PAGE_TEXT, m_module, nullptr);
    SendMessageA(m_pageText, WM_SETFONT, (WPARAM)m_font, FALSE);
    UpdateControls();
}

RECT PreviewWindow::PageArea() const
{
    RECT client;
    GetClientRect(m_window, &client);
    client.top += kBarHeight;
    return client;
}

double PreviewWindow::Scale() const
{
    RECT area = PageArea();
    double width = std::max(1L, area.right - area.left - 2 * kGap);
    double height = std::max(1L, area.bottom - area.top - 2 * kGap);
    double byWidth = width / m_document.pageWidth;
    return m_zoom == PageWidth ? byWidth : std::min(byWidth, height / m_document.pageHeight);
}

void PreviewWindow::UpdateControls()
{
    int pages = (int)m_document.pages.size();
    char text[64];
    std::snprintf(text, sizeof text, "Seite %d von %d", pages ? m_page + 1 : 0, pages);
    SetWindowTextA(m_pageText, text);
    EnableWindow(GetDlgItem(m_window, IDC_FIRST), m_page > 0);
    EnableWindow(GetDlgItem(m_window, IDC_PREVIOUS), m_page > 0);
    EnableWindow(GetDlgItem(m_window, IDC_NEXT), m_page + 1 < pages);
    EnableWindow(GetDlgItem(m_window, IDC_LAST), m_page + 1 < pages);
    // The scroll bar spans the page at page width; a whole page needs none.
    RECT area = PageArea();
    SCROLLINFO info{sizeof info, SIF_ALL}; // hidden while the range fits the window
    int total = (int)std::lround(m_document.pageHeight * Scale()) + 2 * kGap;
    info.nMin = 0;
    info.nMax = m_zoom == PageWidth ? total - 1 : 0;
    info.nPage = (UINT)std::max(1L, area.bottom - area.top);
    m_scroll = std::max(0, std::min(m_scroll, m_zoom == PageWidth ? total - (int)info.nPage : 0));
    info.nPos = m_scroll;
    SetScrollInfo(m_window, SB_VERT, &info, TRUE);
}

void PreviewWindow::GoTo(int page)
{
    int pages = (int)m_document.pages.size();
    page = std::max(0, std::min(page, pages - 1));
    if (page == m_page)
        return;
    m_page = page;
    m_scroll = 0;
    UpdateControls();
    InvalidateRect(m_window, nullptr, FALSE);
}

void PreviewWindow::SetZoom(Zoom zoom)
{
    m_zoom = zoom;
    m_scroll = 0;
    UpdateControls();
    InvalidateRect(m_window, nullptr, FALSE);
}

void PreviewWindow::Scroll(int position)
{
    m_scroll = position;
    UpdateControls();
    InvalidateRect(m_window, nullptr, FALSE);
}

void PreviewWindow::Paint(HDC dc, const RECT& area)
{
    // Drawn into a bitmap first and copied: no flicker while paging or scrolling.
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    RECT local{0, 0, width, height};
    FillRect(memory, &local, GetSysColorBrush(COLOR_APPWORKSPACE));
    if (!m_document.pages.empty()) {
        double scale = Scale();
        int pageWidth = (int)std::lround(m_document.pageWidth * scale);
        int pageHeight = (int)std::lround(m_document.pageHeight * scale);
        int left = std::max(kGap, (width - pageWidth) / 2);
        int top = (m_zoom == WholePage ? std::max(kGap, (height - pageHeight) / 2) : kGap) - m_scroll;
        RECT shadow{left + 4, top + 4, left + pageWidth + 4, top + pageHeight + 4};
        FillRect(memory, &shadow, GetSysColorBrush(COLOR_3DDKSHADOW));
        RECT paper{left, top, left + pageWidth, top + pageHeight};
        FillRect(memory, &paper, (HBRUSH)GetStockObject(WHITE_BRUSH));
        PageRenderer::Render(memory, m_document, m_document.pages[m_page], scale, left, top);
    }
    BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

void PreviewWindow::PrintPages()
{
    std::string printer;
    const char* caption = m_title.empty() ? "Druckvorschau" : m_title.c_str();
    if (!PrinterOutput::DefaultPrinter(printer)) {
        CtlMessageBoxA(m_window,
                       "Auf Ihrem System ist kein Drucker eingerichtet! Bitte installieren Sie zun\xE4" "chst \xFC" "ber die "
                       "Windows-Systemsteuerung einen Drucker und versuchen Sie es erneut.",
                       caption, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    int result = PrinterOutput::Print(m_document, printer, m_title, 1);
    SetCursor(old);
    if (result != RP_OK)
        CtlMessageBoxA(m_window, ("Der Drucker " + printer + " hat den Druck nicht angenommen.").c_str(), caption,
                       MB_OK | MB_ICONEXCLAMATION);
}

LRESULT PreviewWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        Create();
        return 0;
    case WM_SIZE:
        UpdateControls();
        InvalidateRect(m_window, nullptr, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_window, &ps);
        RECT client;
        GetClientRect(m_window, &client);
        RECT bar{0, 0, client.right, kBarHeight};
        FillRect(dc, &bar, GetSysColorBrush(COLOR_BTNFACE));
        RECT line{0, kBarHeight - 1, client.right, kBarHeight};
        FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
        RECT area = PageArea();
        Paint(dc, area);
        EndPaint(m_window, &ps);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        SetBkColor((HDC)wParam, GetSysColor(COLOR_BTNFACE));
        return (LRESULT)GetSysColorBrush(COLOR_BTNFACE);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_PRINT: PrintPages(); break;
        case IDC_FIRST: GoTo(0); break;
        case IDC_PREVIOUS: GoTo(m_page - 1); break;
        case IDC_NEXT: GoTo(m_page + 1); break;
        case IDC_LAST: GoTo((int)m_document.pages.size() - 1); break;
        case IDC_WHOLE_PAGE: SetZoom(WholePage); break;
        case IDC_PAGE_WIDTH: SetZoom(PageWidth); break;
        case IDC_CLOSE: DestroyWindow(m_window); break;
        }
        SetFocus(m_window);
        return 0;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_NEXT: GoTo(m_page + 1); break;
        case VK_PRIOR: GoTo(m_page - 1); break;
        case VK_HOME: GoTo(0); break;
        case VK_END: GoTo((int)m_document.pages.size() - 1); break;
        case VK_DOWN: Scroll(m_scroll + 40); break;
        case VK_UP: Scroll(m_scroll - 40); break;
        case VK_ESCAPE: DestroyWindow(m_window); break;
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (m_zoom == PageWidth)
            Scroll(m_scroll - GET_WHEEL_DELTA_WPARAM(wParam) * 60 / WHEEL_DELTA);
        else
            GoTo(m_page + (GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : -1));
        return 0;
    case WM_VSCROLL: {
        SCROLLINFO info{sizeof info, SIF_ALL};
        GetScrollInfo(m_window, SB_VERT, &info);
        int position = m_scroll;
        switch (LOWORD(wParam)) {
        case SB_LINEUP: position -= 40; break;
        case SB_LINEDOWN: position += 40; break;
        case SB_PAGEUP: position -= (int)info.nPage; break;
        case SB_PAGEDOWN: position += (int)info.nPage; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = info.nTrackPos; break;
        }
        Scroll(position);
        return 0;
    }
    case WM_DESTROY:
        if (m_font)
            DeleteObject(m_font);
        m_font = nullptr;
        m_closed = true;
        SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        return 0;
    }
    return DefWindowProcA(m_window, message, wParam, lParam);
}

void PreviewWindow::Picture(const std::string& path)
{
    RECT rect;
    GetWindowRect(m_window, &rect);
    RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    DWORD stride = ((DWORD)width * 3 + 3) & ~3u, size = stride * (DWORD)height;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + size;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, &header, sizeof header, &written, nullptr);
        WriteFile(file, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr);
        WriteFile(file, bits, size, &written, nullptr);
        CloseHandle(file);
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

} // namespace rp
