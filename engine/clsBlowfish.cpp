#include "clsBlowfish.h"

#include <windows.h>

#include <cstring>

#include "BlowfishTables.h"
#include "DebugOutput.h"

namespace {

uint32_t LoadLittle(const uint8_t* p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

void StoreLittle(uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
    p[2] = (uint8_t)(v >> 16);
    p[3] = (uint8_t)(v >> 24);
}

} // namespace

clsBlowfish::clsBlowfish() { Reset(); }

clsBlowfish::clsBlowfish(const char* password) { SetKey(password); }

clsBlowfish::~clsBlowfish()
{
    // The subkeys and the key text would let anyone read the table: leave nothing behind.
    SecureZeroMemory(m_p, sizeof m_p);
    SecureZeroMemory(m_s, sizeof m_s);
    if (unsigned length = m_key.GetLength())
        SecureZeroMemory(m_key.GetBuffer(length), length);
}

void clsBlowfish::Reset()
{
    std::memcpy(m_p, kBlowfishInitialP, sizeof m_p);
    std::memcpy(m_s, kBlowfishInitialS, sizeof m_s);
}

String clsBlowfish::DeriveKey(const char* password)
{
    String key(password ? password : "");
    unsigned n = key.GetLength();
    if (n >= kKeyBytes)
        return key;
    char* text = key.GetBuffer((unsigned)kKeyBytes + 1);
    for (; n < kKeyBytes; ++n) {
        const unsigned p = n ? (unsigned char)text[n - 1] : 0u;
        text[n] = (char)(((p * n * 97u) % 255u) + 1u);
    }
    text[kKeyBytes] = 0;
    key.ReleaseBuffer((int)kKeyBytes);
    return key;
}

void clsBlowfish::SetKey(const char* password)
{
    if (unsigned length = m_key.GetLength())
        SecureZeroMemory(m_key.GetBuffer(length), length);
    m_key = DeriveKey(password);
    ScheduleKey((const uint8_t*)(const char*)m_key, kKeyBytes);
}

void clsBlowfish::ScheduleKey(const uint8_t* key, size_t length)
{
    Reset();
    if (length > kKeyBytes)
        length = kKeyBytes;
    size_t at = 0;
    for (uint32_t& p : m_p) {
        uint32_t word = 0;
        for (int i = 0; i < 4; ++i) {
            word = (word << 8) | (length ? key[at] : 0u);
            if (length && ++at == length)
                at = 0;
        }
        p ^= word;
    }
    uint32_t left = 0, right = 0;
    for (int i = 0; i < 18; i += 2) {
        EncipherBlock(left, right);
        m_p[i] = left;
        m_p[i + 1] = right;
    }
    for (auto& box : m_s)
        for (int i = 0; i < 256; i += 2) {
            EncipherBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
}

void clsBlowfish::EncipherBlock(uint32_t& left, uint32_t& right) const
{
    uint32_t l = left, r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= m_p[i];
        r ^= F(l);
        r ^= m_p[i + 1];
        l ^= F(r);
    }
    l ^= m_p[16];
    r ^= m_p[17];
    left = r;
    right = l;
}

void clsBlowfish::DecipherBlock(uint32_t& left, uint32_t& right) const
{
    uint32_t l = left, r = right;
    for (int i = 17; i > 1; i -= 2) {
        l ^= m_p[i];
        r ^= F(l);
        r ^= m_p[i - 1];
        l ^= F(r);
    }
    l ^= m_p[1];
    r ^= m_p[0];
    left = r;
    right = l;
}

void clsBlowfish::EncodeBlockAt(uint8_t* p) const
{
    uint32_t left = LoadLittle(p), right = LoadLittle(p + 4);
    EncipherBlock(left, right);
    StoreLittle(p, left);
    StoreLittle(p + 4, right);
}

void clsBlowfish::DecodeBlockAt(uint8_t* p) const
{
    uint32_t left = LoadLittle(p), right = LoadLittle(p + 4);
    DecipherBlock(left, right);
    StoreLittle(p, left);
    StoreLittle(p + 4, right);
}

void clsBlowfish::Encode(void* buffer, unsigned length) const
{
    if (length < 8) {
        DebugPrintf("clsBlowfish::Encode: buffer too small!!!");
        return;
    }
    uint8_t* bytes = (uint8_t*)buffer;
    if (length % 8)
        EncodeBlockAt(bytes + length - 8);
    for (unsigned i = 0; i < length / 8; ++i)
        EncodeBlockAt(bytes + 8 * i);
}

void clsBlowfish::Decode(void* buffer, unsigned length) const
{
    if (length < 8) {
        DebugPrintf("clsBlowfish::Decode: buffer too small!!!");
        return;
    }
    uint8_t* bytes = (uint8_t*)buffer;
    for (unsigned i = 0; i < length / 8; ++i)
        DecodeBlockAt(bytes + 8 * i);
    if (length % 8)
        DecodeBlockAt(bytes + length - 8);
}
