#include "PageRenderer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "TextMetrics.h"

namespace rp {
namespace {

// Fonts of one drawing, by height in device units and weight.
class FontCache {
public:
    ~FontCache()
    {
        for (auto& entry : m_fonts)
            DeleteObject(entry.second);
    }
    HFONT Get(int height, bool bold)
    {
        HFONT& font = m_fonts[{height, bold}];
        if (!font)
            font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                               OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
        return font;
    }

private:
    std::map<std::pair<int, bool>, HFONT> m_fonts;
};

// A check mark drawn as two strokes in the box of a character of the size.
void CheckMark(HDC dc, double x, double baseline, double size, double scale, int ox, int oy)
{
    auto px = [&](double v) { return ox + (int)std::lround(v * scale); };
    auto py = [&](double v) { return oy + (int)std::lround(v * scale); };
    HPEN pen = CreatePen(PS_SOLID, (int)std::max(1L, std::lround(size * 0.12 * scale)), RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    POINT points[3] = {{px(x + size * 0.08), py(baseline - size * 0.35)},
                       {px(x + size * 0.3), py(baseline - size * 0.05)},
                       {px(x + size * 0.78), py(baseline - size * 0.72)}};
    Polyline(dc, points, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// A picture laid on white, as a printer takes it, stretched to the square of the text's size.
void DrawPicture(HDC dc, const Picture& picture, int x, int y, int size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> bgr(picture.rgba.size());
    for (size_t p = 0; p + 3 < picture.rgba.size(); p += 4) {
        unsigned alpha = picture.rgba[p + 3];
        for (int c = 0; c < 3; ++c)
            bgr[p + 2 - c] = (unsigned char)((picture.rgba[p + c] * alpha + 255 * (255 - alpha)) / 255);
    }
    StretchDIBits(dc, x, y, size, size, 0, 0, picture.width, picture.height, bgr.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

} // namespace

void PageRenderer::Render(HDC dc, const Document& document, const Page& page, double scale, int originX, int originY)
{
    int saved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
    auto px = [&](double v) { return originX + (int)std::lround(v * scale); };
    auto py = [&](double v) { return originY + (int)std::lround(v * scale); };
    for (const LineOp& line : page.lines) {
        HPEN pen = CreatePen(PS_SOLID, (int)std::max(1L, std::lround(line.width * scale)), RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, px(line.x1), py(line.y1), nullptr);
        LineTo(dc, px(line.x2), py(line.y2));
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    FontCache fonts;
    for (const TextOp& text : page.texts) {
        SelectObject(dc, fonts.Get((int)std::max(1L, std::lround(text.size * scale)), text.bold));
        double x = text.x;
        size_t i = 0;
        while (i < text.text.size()) {
            int picture = PictureIndex(text.text[i]);
            if (picture >= 0) {
                if (picture < (int)document.pictures.size())
                    DrawPicture(dc, document.pictures[picture], px(x), py(text.y - text.size * 0.85),
                                (int)std::max(1L, std::lround(text.size * scale)));
                x += text.size;
                ++i;
                continue;
            }
            bool check = text.text[i] == kCheckMark;
            size_t j = i;
            while (j < text.text.size() && (text.text[j] == kCheckMark) == check && PictureIndex(text.text[j]) < 0)
                ++j;
            std::string run = text.text.substr(i, j - i);
            if (check) {
                for (size_t k = 0; k < run.size(); ++k)
                    CheckMark(dc, x + k * TextWidth(std::string(1, kCheckMark), false, text.size), text.y, text.size,
                              scale, originX, originY);
            } else
                TextOutA(dc, px(x), py(text.y), run.data(), (int)run.size());
            x += TextWidth(run, text.bold, text.size);
            i = j;
        }
    }
    RestoreDC(dc, saved);
}

} // namespace rp
