#include "Scrambler.h"

namespace {

const unsigned kKeyBytes = 10;
const uint8_t kFirstCode = 0x20;
const uint8_t kFirstClear = 0xA0;
const int kMostShifts = 16;

bool HasTables(const s_Area& area) { return area.scramblerEncode[0] >= kFirstCode; }

// k of the buffer: from the position value without its low zero bits.
uint8_t BufferKey(const s_Area& area, int32_t position)
{
    for (int i = 0; i < kMostShifts && (position & 1) == 0; ++i)
        position >>= 1;
    uint8_t d = (uint8_t)position;
    if (d >= 128)
        d = (uint8_t)(d - 61);
    const uint8_t* key = (const uint8_t*)area.scramblerKey;
    return (uint8_t)((((uint8_t)(d + key[2]) ^ key[1]) & 0x3F) + 3);
}

template <typename Step>
void Scramble(const s_Area& area, int32_t position, void* buffer, unsigned length, Step step)
{
    if (!area.scramblerKey[0] || !HasTables(area))
        return;
    const uint8_t* key = (const uint8_t*)area.scramblerKey;
    const uint8_t k = BufferKey(area, position);
    uint8_t* bytes = (uint8_t*)buffer;
    unsigned j = 0;
    for (unsigned i = 0; i < length; ++i) {
        const uint8_t b = bytes[i];
        if (b < kFirstCode || b >= kFirstClear)
            continue;
        const unsigned after = length - 1 - i;
        const uint8_t t = (uint8_t)(((after & 0xFF) ^ 5) + k + key[j]);
        bytes[i] = step(b, t);
        j = (j + 1) % kKeyBytes;
    }
}

} // namespace

void _scr_encode(const s_Area& area, int32_t position, void* buffer, unsigned length)
{
    Scramble(area, position, buffer, length, [&area](uint8_t b, uint8_t t) {
        return area.scramblerEncode[((uint8_t)(b - kFirstCode) + t) & 0x7F];
    });
}

void _scr_decode(const s_Area& area, int32_t position, void* buffer, unsigned length)
{
    Scramble(area, position, buffer, length, [&area](uint8_t b, uint8_t t) {
        const uint8_t c = (uint8_t)(area.scramblerDecode[(uint8_t)(b - kFirstCode) & 0x7F] - kFirstCode);
        return (uint8_t)((((uint8_t)(c - t)) & 0x7F) + kFirstCode);
    });
}
