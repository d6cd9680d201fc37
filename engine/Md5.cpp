#include "Md5.h"

#include <cstring>
#include <new>

namespace {

// T[i] = the integer part of 2^32 x |sin(i + 1)|, i = 0..63.
const uint32_t kSine[64] = {
    0xD76AA478, 0xE8C7B756, 0x242070DB, 0xC1BDCEEE,
    0xF57C0FAF, 0x4787C62A, 0xA8304613, 0xFD469501,
    0x698098D8, 0x8B44F7AF, 0xFFFF5BB1, 0x895CD7BE,
    0x6B901122, 0xFD987193, 0xA679438E, 0x49B40821,
    0xF61E2562, 0xC040B340, 0x265E5A51, 0xE9B6C7AA,
    0xD62F105D, 0x02441453, 0xD8A1E681, 0xE7D3FBC8,
    0x21E1CDE6, 0xC33707D6, 0xF4D50D87, 0x455A14ED,
    0xA9E3E905, 0xFCEFA3F8, 0x676F02D9, 0x8D2A4C8A,
    0xFFFA3942, 0x8771F681, 0x6D9D6122, 0xFDE5380C,
    0xA4BEEA44, 0x4BDECFA9, 0xF6BB4B60, 0xBEBFBC70,
    0x289B7EC6, 0xEAA127FA, 0xD4EF3085, 0x04881D05,
    0xD9D4D039, 0xE6DB99E5, 0x1FA27CF8, 0xC4AC5665,
    0xF4292244, 0x432AFF97, 0xAB9423A7, 0xFC93A039,
    0x655B59C3, 0x8F0CCC92, 0xFFEFF47D, 0x85845DD1,
    0x6FA87E4F, 0xFE2CE6E0, 0xA3014314, 0x4E0811A1,
    0xF7537E82, 0xBD3AF235, 0x2AD7D2BB, 0xEB86D391,
};

// Left rotations of the four rounds.
const unsigned kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

uint32_t Rotate(uint32_t x, unsigned n) { return (x << n) | (x >> (32 - n)); }

uint32_t Word(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

void Transform(uint32_t state[4], const uint8_t block[64])
{
    uint32_t x[16];
    for (int i = 0; i < 16; ++i)
        x[i] = Word(block + 4 * i);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (unsigned i = 0; i < 64; ++i) {
        const unsigned round = i / 16;
        uint32_t f;
        unsigned k;
        switch (round) {
        case 0: f = (b & c) | (~b & d); k = i; break;
        case 1: f = (b & d) | (c & ~d); k = (5 * i + 1) % 16; break;
        case 2: f = b ^ c ^ d; k = (3 * i + 5) % 16; break;
        default: f = c ^ (b | ~d); k = (7 * i) % 16; break;
        }
        const uint32_t next = b + Rotate(a + f + x[k] + kSine[i], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = next;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

} // namespace

void MD5Init(MD5_CTX* context)
{
    std::memset(context, 0, sizeof *context);
    context->state[0] = 0x67452301;
    context->state[1] = 0xEFCDAB89;
    context->state[2] = 0x98BADCFE;
    context->state[3] = 0x10325476;
}

void MD5Update(MD5_CTX* context, const void* bytes, unsigned length)
{
    const uint8_t* input = (const uint8_t*)bytes;
    unsigned index = (context->count[0] >> 3) & 0x3F;
    const uint32_t bits = (uint32_t)length << 3;
    context->count[0] += bits;
    if (context->count[0] < bits)
        ++context->count[1];
    context->count[1] += length >> 29;

    const unsigned room = 64 - index;
    unsigned i = 0;
    if (length >= room) {
        std::memcpy(context->buffer + index, input, room);
        Transform(context->state, context->buffer);
        for (i = room; i + 63 < length; i += 64)
            Transform(context->state, input + i);
        index = 0;
    }
    std::memcpy(context->buffer + index, input + i, length - i);
}

void MD5Final(MD5_CTX* context)
{
    uint8_t count[8];
    for (int i = 0; i < 8; ++i)
        count[i] = (uint8_t)(context->count[i / 4] >> (8 * (i % 4)));
    static const uint8_t kPadding[64] = {0x80};
    const unsigned index = (context->count[0] >> 3) & 0x3F;
    MD5Update(context, kPadding, index < 56 ? 56 - index : 120 - index);
    MD5Update(context, count, 8);
    for (int i = 0; i < 16; ++i)
        context->digest[i] = (uint8_t)(context->state[i / 4] >> (8 * (i % 4)));
}

char* MD5HexDigest(const MD5_CTX* context)
{
    static const char kDigits[] = "0123456789ABCDEF";
    char* text = new (std::nothrow) char[33];
    if (!text)
        return nullptr;
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = kDigits[context->digest[i] >> 4];
        text[2 * i + 1] = kDigits[context->digest[i] & 0x0F];
    }
    text[32] = 0;
    return text;
}
