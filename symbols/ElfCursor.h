// Bounded little-endian readers over a block of debug data.
//
// A cursor holds the read position and the end of the block it may read. A read that would pass
// the end reads nothing, answers 0 (or an empty text) and marks the cursor as overrun, with its
// position moved to the end; every later read of that cursor then answers 0 as well. Callers
// test Overrun() where a damaged value must stop their walk. Nothing here depends on Windows, so
// the readers are also built natively for the fuzz run.
#pragma once

#include <cstddef>
#include <cstdint>

struct ElfCursor {
    const uint8_t* pos = nullptr;
    const uint8_t* end = nullptr;
    bool overrun = false;

    ElfCursor() = default;
    ElfCursor(const uint8_t* begin, const uint8_t* stop) : pos(begin), end(stop) {}

    size_t Left() const { return pos < end ? (size_t)(end - pos) : 0; }
    bool Overrun() const { return overrun; }
    // Moves count bytes on; past the end the cursor is overrun.
    void Skip(uint64_t count);
};

uint8_t ReadU8(ElfCursor& c);
uint16_t ReadU16(ElfCursor& c);
uint32_t ReadU32(ElfCursor& c);
uint64_t ReadU64(ElfCursor& c);
// An unsigned value of 1, 2, 4 or 8 bytes (addresses of either size).
uint64_t ReadUnsigned(ElfCursor& c, unsigned size);

// LEB128 numbers of the old producer: at most 5 bytes (the fifth ends the number whatever its
// bit 7), 32-bit results; the signed form sign-extends from the last byte's bit 6 when the final
// shift is below 32.
uint32_t ReadULEB128(ElfCursor& c);
int32_t ReadSLEB128(ElfCursor& c);
// LEB128 numbers of standard producers: every continuation byte is consumed, the first 64 bits
// are kept.
uint64_t ReadULEB128Wide(ElfCursor& c);
int64_t ReadSLEB128Wide(ElfCursor& c);

// The zero-terminated text at the cursor; the cursor moves past the terminator. A text without
// terminator inside the block gives "" and an overrun cursor.
const char* ReadString(ElfCursor& c);
