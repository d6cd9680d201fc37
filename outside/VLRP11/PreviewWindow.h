// The preview: the pages of a finished run in a window of their own, with paging, zoom and
// printing. Modal for its owner.
//
// Unattended (VLCT11_UNATTENDED set, as in tests): the window opens, paints its first page and
// closes again at once; with VLRP11_PREVIEW_PICTURE naming a file it first writes a picture of
// itself there (24-bit BMP).
#pragma once

#include <windows.h>

#include <string>

#include "Document.h"

namespace rp {

class PreviewWindow {
public:
    // Shows the document until the user closes the window; 0, or RP_ERR_OUTPUT when the window
    // cannot be made.
    static int Show(HINSTANCE module, HWND owner, const Document& document, const std::string& title);

private:
    enum Zoom { WholePage, PageWidth };

    PreviewWindow(HINSTANCE module, const Document& document, const std::string& title)
        : m_module(module), m_document(document), m_title(title)
    {
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    void Layout();
    void Paint(HDC dc, const RECT& area);
    void GoTo(int page);
    void SetZoom(Zoom zoom);
    void Scroll(int position);
    void UpdateControls();
    void PrintPages();
    RECT PageArea() const;
    double Scale() const;
    void Picture(const std::string& path);

    HINSTANCE m_module;
    const Document& m_document;
    std::string m_title;
    HWND m_window = nullptr;
    HWND m_pageText = nullptr;
    HFONT m_font = nullptr;
    int m_page = 0;
    Zoom m_zoom = WholePage;
    int m_scroll = 0; // pixels scrolled down at page width
    bool m_closed = false;
};

} // namespace rp
