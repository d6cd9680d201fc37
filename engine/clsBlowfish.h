// The cipher of protected tables: Blowfish (64-bit blocks, 16 rounds) keyed from a password.
//
// Key text: the password, lengthened to 72 bytes by appending b = ((p * n * 97) mod 255) + 1, p
// being the last byte so far (0 for an empty password) and n the length so far; a password of 72
// bytes or more is kept as it is and only its first 72 bytes key the cipher. The key text of a
// key text is the same text, so a stored key text opens what its password opens.
//
// Blocks are 8 buffer bytes read as two little-endian 32-bit words (bytes 0..3 the left half).
// Buffers are enciphered block by block from the start without chaining; the last 8 bytes of a
// buffer whose length is not a multiple of 8 are enciphered first (and deciphered last), so the
// tail overlaps the last whole block. Buffers shorter than 8 bytes are left as they are.
#pragma once

#include <cstddef>
#include <cstdint>

#include "String.h"

class clsBlowfish {
public:
    static const size_t kKeyBytes = 72;

    // The initial subkeys, no key scheduled yet.
    clsBlowfish();
    explicit clsBlowfish(const char* password);
    ~clsBlowfish();
    clsBlowfish(const clsBlowfish&) = delete;
    clsBlowfish& operator=(const clsBlowfish&) = delete;

    // Derives the key text from the password and schedules it.
    void SetKey(const char* password);
    // The key text of the last SetKey (empty before).
    const String& Key() const { return m_key; }
    static String DeriveKey(const char* password);

    // The plain key schedule: the initial subkeys XORed with the key bytes (used cyclically,
    // 1 to 72 of them), then replaced by repeated encipherment of a zero block.
    void ScheduleKey(const uint8_t* key, size_t length);

    // In place; see above.
    void Encode(void* buffer, unsigned length) const;
    void Decode(void* buffer, unsigned length) const;

    void EncipherBlock(uint32_t& left, uint32_t& right) const;
    void DecipherBlock(uint32_t& left, uint32_t& right) const;

private:
    uint32_t F(uint32_t x) const
    {
        return ((m_s[0][x >> 24] + m_s[1][(x >> 16) & 0xFF]) ^ m_s[2][(x >> 8) & 0xFF]) + m_s[3][x & 0xFF];
    }
    void EncodeBlockAt(uint8_t* p) const;
    void DecodeBlockAt(uint8_t* p) const;
    void Reset();

    String m_key;
    uint32_t m_p[18];
    uint32_t m_s[4][256];
};
