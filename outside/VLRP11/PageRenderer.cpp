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
    HFONT Get(int height, bool bold, bool italic, bool underline)
    {
        HFONT& font = m_fonts[{height, (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0)}];
        if (!font)
            font = CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE, ANSI_CHARSET,
                               OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
        return font;
    }

private:
    std::map<std::pair<int, int>, HFONT> m_fonts; // by height and style bits
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
        int height = (int)std::max(1L, std::lround(text.size * scale));
        for (const TextRun& run : SplitRuns(text.text, text.bold, text.size, text.x)) {
            if (run.kind == TextRun::Picture) {
                if (run.picture < (int)document.pictures.size())
                    DrawPicture(dc, document.pictures[run.picture], px(run.x), py(text.y - text.size * 0.85), height);
            } else if (run.kind == TextRun::CheckMarks) {
                double step = run.width / run.text.size();
                for (size_t k = 0; k < run.text.size(); ++k)
                    CheckMark(dc, run.x + k * step, text.y, text.size, scale, originX, originY);
            } else {
                SelectObject(dc, fonts.Get(height, run.bold, run.italic, run.underline));
                TextOutA(dc, px(run.x), py(text.y), run.text.data(), (int)run.text.size());
            }
        }
    }
    RestoreDC(dc, saved);
}

} // namespace rp
