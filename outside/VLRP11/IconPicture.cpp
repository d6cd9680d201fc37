#include "IconPicture.h"

namespace rp {
namespace {

// The bitmap's pixels as 32-bit rows from the top (BGRA).
bool Pixels(HDC dc, HBITMAP bitmap, int width, int height, std::vector<unsigned char>& out)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    out.assign((size_t)width * height * 4, 0);
    return GetDIBits(dc, bitmap, 0, (UINT)height, out.data(), &info, DIB_RGB_COLORS) == height;
}

} // namespace

bool PictureFromIcon(HICON icon, Picture& picture)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return false;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    int width = mask.bmWidth;
    // A monochrome icon has its image below its mask in one bitmap of twice the height.
    int height = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
    bool ok = width > 0 && height > 0 && width <= 256 && height <= 256;
    HDC dc = GetDC(nullptr);
    std::vector<unsigned char> colour, bits;
    if (ok)
        ok = Pixels(dc, info.hbmMask, width, info.hbmColor ? height : height * 2, bits);
    if (ok && info.hbmColor)
        ok = Pixels(dc, info.hbmColor, width, height, colour);
    ReleaseDC(nullptr, dc);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (!ok)
        return false;
    bool hasAlpha = false;
    for (size_t i = 3; i < colour.size() && !hasAlpha; i += 4)
        hasAlpha = colour[i] != 0;
    picture.width = width;
    picture.height = height;
    picture.rgba.assign((size_t)width * height * 4, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            size_t at = ((size_t)y * width + x) * 4;
            const unsigned char* maskPixel = &bits[at];
            const unsigned char* c = info.hbmColor ? &colour[at] : &bits[((size_t)(y + height) * width + x) * 4];
            unsigned char* out = &picture.rgba[at];
            out[0] = c[2];
            out[1] = c[1];
            out[2] = c[0];
            out[3] = hasAlpha ? c[3] : (maskPixel[0] ? 0 : 255);
        }
    return true;
}

} // namespace rp
