#include "CallSite.h"

#include <cstring>

namespace {

bool IsRexWithB(uint8_t b) { return (b & 0xF0) == 0x40 && (b & 1); }

} // namespace

uint64_t DecodeCallee(uint64_t pc, uint64_t rbp, const MemoryReader& read)
{
    if (pc < 7)
        return 0;
    // code[k] is the byte at pc - k.
    uint8_t code[8] = {};
    bool readable[8] = {};
    for (int k = 1; k <= 7; k++)
        readable[k] = read(pc - (uint64_t)k, &code[k], 1);
    if (!readable[5])
        return 0;
    auto pointerAt = [&](uint64_t slot) {
        uint64_t value = 0;
        return read(slot, &value, sizeof value) ? value : 0;
    };
    auto codeStartsAt = [&](uint64_t address) {
        uint8_t first;
        return address && read(address, &first, 1) ? address : 0;
    };
    auto int32At = [&](int k) {
        uint32_t v = (uint32_t)code[k] | (uint32_t)code[k - 1] << 8 | (uint32_t)code[k - 2] << 16 |
                     (uint32_t)code[k - 3] << 24;
        return (int64_t)(int32_t)v;
    };

    if (readable[2] && readable[1] && code[2] == 0xFF && (code[1] & 0xF8) == 0xD0)
        return 0;
    if (readable[3] && readable[2] && readable[1] && code[3] == 0xFF && code[2] == 0x55) {
        if (readable[4] && IsRexWithB(code[4]))
            return 0;
        return pointerAt(rbp + (uint64_t)(int64_t)(int8_t)code[1]);
    }
    if (!readable[4] || !readable[3] || !readable[2] || !readable[1])
        return 0;
    if (code[5] == 0xE8)
        return codeStartsAt(pc + (uint64_t)int32At(4));
    if (!readable[6] || code[6] != 0xFF)
        return 0;
    if (code[5] == 0x15)
        return codeStartsAt(pointerAt(pc + (uint64_t)int32At(4)));
    if (code[5] == 0x95) {
        if (readable[7] && IsRexWithB(code[7]))
            return 0;
        return pointerAt(rbp + (uint64_t)int32At(4));
    }
    return 0;
}
