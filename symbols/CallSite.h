// The callee of the call instruction in front of a return address, for the x64 stack walk.
//
// Recognised forms (pc = the return address; every byte and pointer is read through the reader,
// and a form whose bytes cannot be read gives no callee):
//   E8 rel32                  pc + rel32; taken only when the callee's first byte can be read
//   [REX] FF 15 disp32        RIP-relative: the 8 bytes stored at pc + disp32; taken only when the
//                             callee's first byte can be read
//   [REX] FF 55 disp8         the 8 bytes stored at rbp + disp8 (disp8 signed)
//   [REX] FF 95 disp32        the 8 bytes stored at rbp + disp32
//   [REX] FF D0..D7           a call through a register: no callee
// rbp is the frame's own RBP after unwinding (the value the call used). A REX prefix with the B
// bit names r13 instead of rbp, which the walk does not know: no callee. The byte at pc - 5 must
// be readable for any form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// Copies size bytes from address; false when they cannot all be read.
using MemoryReader = std::function<bool(uint64_t address, void* out, size_t size)>;

// The callee's address, or 0 when none is found.
uint64_t DecodeCallee(uint64_t returnAddress, uint64_t rbp, const MemoryReader& read);
