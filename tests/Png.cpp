#include "Png.h"

#include <string.h>

#include "TestKit.h"

namespace oxtest {

namespace {

UINT32 Crc32(const unsigned char* p, size_t n, UINT32 crc = 0)
{
    static UINT32 table[256];
    static bool bTable = false;
    if (!bTable) {
        for (UINT32 i = 0; i < 256; i++) {
            UINT32 c = i;
            for (int k = 0; k < 8; k++)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        bTable = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; i++)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBE32(std::string& s, UINT32 v)
{
    s += (char)(v >> 24);
    s += (char)(v >> 16);
    s += (char)(v >> 8);
    s += (char)v;
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBE32(png, (UINT32)data.size());
    std::string body = std::string(type, 4) + data;
    png += body;
    PutBE32(png, Crc32((const unsigned char*)body.data(), body.size()));
}

} // namespace

// The pixel data goes in uncompressed deflate blocks.
std::string EncodePng(int cx, int cy, const std::string& rgbRows)
{
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string ihdr;
    PutBE32(ihdr, (UINT32)cx);
    PutBE32(ihdr, (UINT32)cy);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB
    PutChunk(png, "IHDR", ihdr);
    std::string raw;
    for (int y = 0; y < cy; y++) {
        raw += '\0'; // no filter
        raw.append(rgbRows, (size_t)y * cx * 3, (size_t)cx * 3);
    }
    std::string z("\x78\x01", 2);
    UINT32 a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool bLast = pos + n >= raw.size();
        z += (char)(bLast ? 1 : 0);
        z += (char)(n & 0xFF);
        z += (char)(n >> 8);
        z += (char)(~n & 0xFF);
        z += (char)((~n >> 8) & 0xFF);
        z.append(raw, pos, n);
        pos += n;
        if (bLast)
            break;
    }
    PutBE32(z, (b << 16) | a);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", std::string());
    return png;
}


bool WriteDcPng(HDC hdc, int x, int y, int cx, int cy, const std::string& path)
{
    if (cx <= 0 || cy <= 0)
        return false;
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy; // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP hBitmap = ::CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (hBitmap == NULL)
        return false;
    HDC hdcMem = ::CreateCompatibleDC(hdc);
    HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
    ::BitBlt(hdcMem, 0, 0, cx, cy, hdc, x, y, SRCCOPY);
    ::GdiFlush();
    std::string rgb;
    rgb.reserve((size_t)cx * cy * 3);
    const unsigned char* p = (const unsigned char*)pBits;
    for (int i = 0; i < cx * cy; i++) {
        rgb += (char)p[i * 4 + 2];
        rgb += (char)p[i * 4 + 1];
        rgb += (char)p[i * 4 + 0];
    }
    ::SelectObject(hdcMem, hOld);
    ::DeleteDC(hdcMem);
    ::DeleteObject(hBitmap);

    return WriteFileText(path, EncodePng(cx, cy, rgb));
}

} // namespace oxtest
