// The older byte scrambler of a work area (switched on by db_set_password): a keyed substitution of
// the bytes 0x20..0x9F that depends on the buffer's position value, the byte's distance from the
// buffer's end and the key byte in turn. Control bytes and bytes from 0xA0 up stay as they are,
// the length never changes, and a wrong key is not detected (it reads as other bytes).
//
// Per buffer: the position value loses its low zero bits (at most 16, arithmetic shift); its low
// byte d (less 61 when 128 or more) gives k = (((d + key[2]) XOR key[1]) AND 0x3F) + 3. Per byte
// with r bytes after it, t = ((r AND 0xFF) XOR 5) + k + key[j] (8-bit); j runs through the ten key
// bytes, advancing only on bytes that are scrambled. Encoding maps ((b - 0x20) + t) AND 0x7F
// through the encode table; decoding inverts it.
#pragma once

#include <cstdint>

#include "Area.h"

// In place. A key without tables (set with a mode other than 1) leaves the buffer as it is: its
// bytes could not be read back.
void _scr_encode(const s_Area& area, int32_t position, void* buffer, unsigned length);
void _scr_decode(const s_Area& area, int32_t position, void* buffer, unsigned length);
