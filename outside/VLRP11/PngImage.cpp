#include "PngImage.h"

#include <zlib.h>

namespace rp {
namespace {

void Put32(std::string& out, unsigned long value)
{
    out += (char)(value >> 24);
    out += (char)(value >> 16);
    out += (char)(value >> 8);
    out += (char)value;
}

void Chunk(std::string& out, const char* type, const std::string& data)
{
    Put32(out, (unsigned long)data.size());
    std::string body = std::string(type, 4) + data;
    out += body;
    Put32(out, crc32(0, (const Bytef*)body.data(), (uInt)body.size()));
}

} // namespace

std::string EncodePng(const Picture& picture)
{
    std::string raw;
    for (int y = 0; y < picture.height; ++y) {
        raw += '\0'; // no filter
        raw.append((const char*)&picture.rgba[(size_t)y * picture.width * 4], (size_t)picture.width * 4);
    }
    uLongf size = compressBound((uLong)raw.size());
    std::string packed(size, '\0');
    compress2((Bytef*)&packed[0], &size, (const Bytef*)raw.data(), (uLong)raw.size(), 9);
    packed.resize(size);
    std::string header;
    Put32(header, (unsigned long)picture.width);
    Put32(header, (unsigned long)picture.height);
    header.append("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, adaptive filters, no interlace
    std::string out = "\x89PNG\r\n\x1A\n";
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", std::string());
    return out;
}

std::string Base64(const std::string& bytes)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 | (unsigned char)bytes[i + 2];
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += kDigits[(v >> 6) & 63];
        out += kDigits[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16 | (i + 1 < bytes.size() ? (unsigned char)bytes[i + 1] << 8 : 0);
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

} // namespace rp
