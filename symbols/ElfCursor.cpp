#include "ElfCursor.h"

#include <cstring>

void ElfCursor::Skip(uint64_t count)
{
    if (overrun || count > Left()) {
        pos = end;
        overrun = true;
        return;
    }
    pos += count;
}

uint64_t ReadUnsigned(ElfCursor& c, unsigned size)
{
    if (c.overrun || size > c.Left()) {
        c.pos = c.end;
        c.overrun = true;
        return 0;
    }
    uint64_t value = 0;
    for (unsigned i = 0; i < size; i++)
        value |= (uint64_t)c.pos[i] << (8 * i);
    c.pos += size;
    return value;
}

uint8_t ReadU8(ElfCursor& c) { return (uint8_t)ReadUnsigned(c, 1); }
uint16_t ReadU16(ElfCursor& c) { return (uint16_t)ReadUnsigned(c, 2); }
uint32_t ReadU32(ElfCursor& c) { return (uint32_t)ReadUnsigned(c, 4); }
uint64_t ReadU64(ElfCursor& c) { return ReadUnsigned(c, 8); }

uint32_t ReadULEB128(ElfCursor& c)
{
    uint32_t value = 0;
    for (unsigned shift = 0; shift < 35; shift += 7) {
        uint8_t byte = ReadU8(c);
        value |= (uint32_t)(byte & 0x7F) << shift;
        if (!(byte & 0x80) || c.overrun)
            break;
    }
    return value;
}

int32_t ReadSLEB128(ElfCursor& c)
{
    uint32_t value = 0;
    unsigned shift = 0;
    uint8_t byte = 0;
    do {
        byte = ReadU8(c);
        value |= (uint32_t)(byte & 0x7F) << shift;
        shift += 7;
    } while ((byte & 0x80) && shift < 35 && !c.overrun);
    if (shift < 32 && (byte & 0x40))
        value |= ~0u << shift;
    return (int32_t)value;
}

namespace {

// Every byte of a standard LEB128 number; the first 64 bits are kept. Answers the shift after
// the last byte and that byte (for the sign).
uint64_t ReadLebBits(ElfCursor& c, unsigned& shift, uint8_t& last)
{
    uint64_t value = 0;
    shift = 0;
    do {
        last = ReadU8(c);
        if (shift < 64)
            value |= (uint64_t)(last & 0x7F) << shift;
        shift += 7;
    } while ((last & 0x80) && !c.overrun);
    return value;
}

} // namespace

uint64_t ReadULEB128Wide(ElfCursor& c)
{
    unsigned shift;
    uint8_t last;
    return ReadLebBits(c, shift, last);
}

int64_t ReadSLEB128Wide(ElfCursor& c)
{
    unsigned shift;
    uint8_t last;
    uint64_t value = ReadLebBits(c, shift, last);
    if (shift < 64 && (last & 0x40))
        value |= ~0ull << shift;
    return (int64_t)value;
}

const char* ReadString(ElfCursor& c)
{
    size_t left = c.Left();
    if (c.overrun || left == 0) {
        c.pos = c.end;
        c.overrun = true;
        return "";
    }
    const void* nul = memchr(c.pos, 0, left);
    if (!nul) {
        c.pos = c.end;
        c.overrun = true;
        return "";
    }
    const char* text = (const char*)c.pos;
    c.pos = (const uint8_t*)nul + 1;
    return text;
}
