#include "BuiltinIcons.h"

#include <map>
#include <mutex>

#include "vlBR11.h"

namespace {

const int kSize = 16;
const COLORREF kKey = RGB(255, 0, 255); // transparent

std::mutex s_lock;
std::map<int, HICON> s_icons;

struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;

    Canvas()
    {
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = kSize;
        bmi.bmiHeader.biHeight = -kSize;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
        RECT all = {0, 0, kSize, kSize};
        HBRUSH key = CreateSolidBrush(kKey);
        FillRect(dc, &all, key);
        DeleteObject(key);
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    void Fill(COLORREF fill, COLORREF line)
    {
        SelectObject(dc, GetStockObject(DC_BRUSH));
        SelectObject(dc, GetStockObject(DC_PEN));
        SetDCBrushColor(dc, fill);
        SetDCPenColor(dc, line);
    }
    void Rect(int l, int t, int r, int b, COLORREF fill, COLORREF line)
    {
        Fill(fill, line);
        Rectangle(dc, l, t, r, b);
    }
    void Round(int l, int t, int r, int b, COLORREF fill, COLORREF line)
    {
        Fill(fill, line);
        RoundRect(dc, l, t, r, b, 5, 5);
    }
    void Oval(int l, int t, int r, int b, COLORREF fill, COLORREF line)
    {
        Fill(fill, line);
        Ellipse(dc, l, t, r, b);
    }
    void Poly(const POINT* pts, int n, COLORREF fill, COLORREF line)
    {
        Fill(fill, line);
        Polygon(dc, pts, n);
    }
    void Line(int x1, int y1, int x2, int y2, COLORREF color, int width = 1)
    {
        HPEN pen = CreatePen(PS_SOLID, width, color);
        HGDIOBJ was = SelectObject(dc, pen);
        MoveToEx(dc, x1, y1, nullptr);
        LineTo(dc, x2, y2);
        SelectObject(dc, was);
        DeleteObject(pen);
    }
    void Glyph(const char* text, COLORREF color, int height, bool bold = true)
    {
        HFONT font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                 NONANTIALIASED_QUALITY, 0, "Tahoma");
        HGDIOBJ was = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, color);
        RECT all = {0, 0, kSize, kSize};
        DrawTextA(dc, text, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, was);
        DeleteObject(font);
    }
    // The picture as an icon: key-coloured pixels become transparent.
    HICON Make()
    {
        GdiFlush();
        BITMAPINFO bmi{};
        bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
        bmi.bmiHeader.biWidth = kSize;
        bmi.bmiHeader.biHeight = -kSize;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        DWORD* argb = nullptr;
        HBITMAP color = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, (void**)&argb, nullptr, 0);
        BYTE maskBits[kSize * 2] = {};
        const DWORD key = (GetRValue(kKey) << 16) | (GetGValue(kKey) << 8) | GetBValue(kKey);
        for (int y = 0; y < kSize; y++)
            for (int x = 0; x < kSize; x++) {
                DWORD p = bits[y * kSize + x] & 0xFFFFFF;
                if (p == key) {
                    argb[y * kSize + x] = 0;
                    maskBits[y * 2 + x / 8] |= (BYTE)(0x80 >> (x % 8));
                } else {
                    argb[y * kSize + x] = 0xFF000000 | p;
                }
            }
        HBITMAP mask = CreateBitmap(kSize, kSize, 1, 1, maskBits);
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmColor = color;
        info.hbmMask = mask;
        HICON icon = CreateIconIndirect(&info);
        DeleteObject(color);
        DeleteObject(mask);
        return icon;
    }
};

void Bell(Canvas& c, COLORREF fill, COLORREF line)
{
    POINT body[] = {{3, 12}, {4, 10}, {4, 6}, {6, 3}, {9, 3}, {11, 6}, {11, 10}, {12, 12}};
    c.Poly(body, 8, fill, line);
    c.Oval(6, 12, 10, 15, line, line);
    c.Line(7, 1, 9, 1, line);
}

void Arrows(Canvas& c, COLORREF color)
{
    HPEN pen = CreatePen(PS_SOLID, 2, color);
    HGDIOBJ was = SelectObject(c.dc, pen);
    Arc(c.dc, 2, 2, 14, 14, 14, 6, 3, 5);
    Arc(c.dc, 2, 2, 14, 14, 2, 10, 13, 11);
    SelectObject(c.dc, was);
    DeleteObject(pen);
    POINT a[] = {{1, 2}, {6, 4}, {1, 7}};
    POINT b[] = {{15, 14}, {10, 12}, {15, 9}};
    c.Poly(a, 3, color, color);
    c.Poly(b, 3, color, color);
}

void CheckMark(Canvas& c, COLORREF color)
{
    c.Line(3, 8, 6, 11, color, 2);
    c.Line(6, 11, 12, 4, color, 2);
}

HICON MakeListIcon(int number)
{
    Canvas c;
    const COLORREF dark = RGB(64, 64, 64);
    switch (number) {
    case BRICON_REMINDER:
        Bell(c, RGB(250, 200, 40), RGB(150, 100, 0));
        break;
    case BRICON_REMINDERHEADER:
        Bell(c, RGB(220, 220, 220), dark);
        break;
    case BRICON_SERIES:
        Arrows(c, RGB(30, 110, 200));
        break;
    case BRICON_SERIESHEADER:
        Arrows(c, dark);
        break;
    case BRICON_SINGLE:
        c.Rect(2, 2, 14, 14, RGB(255, 255, 255), RGB(90, 90, 90));
        c.Rect(2, 2, 14, 5, RGB(200, 50, 50), RGB(160, 30, 30));
        c.Line(4, 8, 12, 8, RGB(150, 150, 150));
        c.Line(4, 11, 10, 11, RGB(150, 150, 150));
        break;
    case BRICON_TODO:
        c.Rect(3, 2, 13, 15, RGB(255, 250, 220), RGB(120, 100, 60));
        c.Rect(6, 1, 10, 4, RGB(160, 160, 160), dark);
        CheckMark(c, RGB(0, 140, 0));
        break;
    case BRICON_PRIORITYHEADER:
        c.Glyph("!", RGB(200, 0, 0), 15);
        break;
    case BRICON_DONEHEADER:
        c.Rect(2, 2, 14, 14, RGB(255, 255, 255), dark);
        CheckMark(c, RGB(0, 130, 0));
        break;
    case BRICON_PRIVATEHEADER:
        c.Rect(3, 7, 13, 15, RGB(230, 180, 40), RGB(140, 100, 0));
        c.Fill(kKey, RGB(110, 110, 110));
        Arc(c.dc, 5, 2, 12, 11, 12, 7, 5, 7);
        c.Line(5, 6, 5, 8, RGB(110, 110, 110));
        c.Line(11, 6, 11, 8, RGB(110, 110, 110));
        c.Rect(7, 10, 9, 13, RGB(90, 60, 0), RGB(90, 60, 0));
        break;
    default:
        return nullptr;
    }
    return c.Make();
}

// Action pictures: a coloured tile with one of a few symbols, colour and symbol by number.
HICON MakeActionIcon(int number)
{
    Canvas c;
    if (number == BRICON_ACTION_DEFAULT) {
        c.Round(1, 1, 15, 15, RGB(90, 130, 190), RGB(40, 70, 130));
        POINT bolt[] = {{9, 2}, {4, 9}, {8, 9}, {6, 14}, {12, 6}, {8, 6}};
        c.Poly(bolt, 6, RGB(255, 230, 80), RGB(180, 140, 0));
        return c.Make();
    }
    static const COLORREF tiles[] = {RGB(200, 70, 60),  RGB(60, 140, 80),  RGB(60, 100, 180), RGB(200, 140, 40),
                                     RGB(130, 80, 170), RGB(40, 150, 160), RGB(120, 120, 120)};
    COLORREF tile = tiles[number % 7];
    COLORREF edge = RGB(GetRValue(tile) / 2, GetGValue(tile) / 2, GetBValue(tile) / 2);
    const COLORREF white = RGB(255, 255, 255);
    c.Round(1, 1, 15, 15, tile, edge);
    switch ((number / 7) % 6) {
    case 0: { // envelope
        c.Rect(3, 5, 13, 12, white, white);
        c.Line(3, 5, 8, 9, edge);
        c.Line(8, 9, 13, 5, edge);
        break;
    }
    case 1: { // arrow
        POINT a[] = {{3, 7}, {8, 7}, {8, 4}, {13, 8}, {8, 12}, {8, 9}, {3, 9}};
        c.Poly(a, 7, white, white);
        break;
    }
    case 2: // document
        c.Rect(4, 3, 12, 13, white, white);
        c.Line(6, 6, 10, 6, edge);
        c.Line(6, 8, 10, 8, edge);
        c.Line(6, 10, 9, 10, edge);
        break;
    case 3: { // start
        POINT p[] = {{5, 3}, {12, 8}, {5, 13}};
        c.Poly(p, 3, white, white);
        break;
    }
    case 4: // person
        c.Oval(6, 3, 10, 7, white, white);
        c.Round(4, 8, 12, 14, white, white);
        break;
    default: { // number
        char text[8];
        wsprintfA(text, "%d", number % 100);
        c.Glyph(text, white, 9);
        break;
    }
    }
    return c.Make();
}

} // namespace

HICON BuiltinIcon(int number)
{
    bool action = number >= BRICON_ACTION_FIRST && number <= BRICON_ACTION_LAST;
    std::lock_guard<std::mutex> guard(s_lock);
    auto it = s_icons.find(number);
    if (it != s_icons.end())
        return it->second;
    HICON icon = action ? MakeActionIcon(number) : MakeListIcon(number);
    if (icon)
        s_icons[number] = icon;
    return icon;
}

void ReleaseBuiltinIcons()
{
    std::lock_guard<std::mutex> guard(s_lock);
    for (auto& entry : s_icons)
        DestroyIcon(entry.second);
    s_icons.clear();
}
