// MD5 message digest as published in RFC 1321: a context fed with bytes in any pieces, then
// finished into 16 digest bytes. Words are taken from and written to bytes little-endian.
#pragma once

#include <cstdint>

struct MD5_CTX {
    uint32_t state[4];
    uint32_t count[2];      // number of bits fed, low word first
    uint8_t buffer[64];     // input not yet processed
    uint8_t digest[16];     // set by MD5Final
};

void MD5Init(MD5_CTX* context);
void MD5Update(MD5_CTX* context, const void* bytes, unsigned length);
// Pads (0x80, zeros up to 56 mod 64, the bit count) and stores the digest.
void MD5Final(MD5_CTX* context);
// The finished digest as 32 upper-case hexadecimal digits and a NUL, in a new char[33] that the
// caller frees with delete[] (NULL when no memory is left).
char* MD5HexDigest(const MD5_CTX* context);
