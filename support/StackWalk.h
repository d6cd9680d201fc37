// The library's own stack walk and the texts of its frames, used by crash reports, the
// allocator's warnings and the engine's internal-error traces.
//
// The walk follows the unwind data of the x64 modules (RtlLookupFunctionEntry, RtlVirtualUnwind;
// a function without unwind data is a leaf whose return address is on top of its stack). It
// stays inside the thread's stack and reads memory only after asking the system whether it can
// be read, so a damaged stack ends the walk instead of faulting.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One frame of a walk.
struct StackWalkItem {
    uintptr_t frame;       // stack pointer of the calling frame after the return
    uintptr_t callAddress; // the call instruction (return address - its length)
    uintptr_t callTarget;  // what it called; 0 when the call cannot be decoded
    uintptr_t args[4];     // the callee's four home slots on the caller's stack (a function that
                           // keeps its arguments in registers leaves other values there)
    int argCount;          // how many of them could be read
};

// Unwinds one frame of a stack that lies in [low, high): the caller's registers replace the
// context's. Every stack word the unwind reads (saved registers, return address) lies inside the
// range, or nothing is read: false then, with *badAddress (when given) the first address that is
// outside or cannot be read. handlerType (UNW_FLAG_NHANDLER, UNW_FLAG_EHANDLER, ...) asks for the
// frame's handler of that kind, which *handler receives (NULL: none).
bool UnwindStackFrame(CONTEXT& context, uintptr_t low, uintptr_t high, DWORD handlerType, void** handler,
                      uintptr_t* badAddress);

// Walks the callers of the frame described by start (its own frame is not an item). With items,
// at most maximum frames are filled; without, they are only counted (at most maximum). When the
// walk ends at memory that cannot be read, *badAddress receives that address (else 0). The walk
// stays in the stack range [stackLow, stackHigh) (both 0: the calling thread's stack).
int WalkStackFrames(const CONTEXT& start, StackWalkItem* items, int maximum, uintptr_t* badAddress = nullptr,
                    uintptr_t stackLow = 0, uintptr_t stackHigh = 0);

// The target of the call instruction in front of a return address: "E8 rel32" (the return
// address plus the displacement) or "[REX] FF 15 disp32" (the address stored at the return
// address plus the displacement). length receives the call instruction's length (also for
// register calls, whose target cannot be known); 0 when nothing is recognised. Returns the return
// address itself when there is no target.
uintptr_t DecodeCallTarget(uintptr_t returnAddress, int* length);

// Texts of one frame: location " <frame>:<location text of the call>", call "  CALL <text of
// the target>" plus up to four argument words, or "  CALL <unknown call code>".
void FormatStackFrame(const StackWalkItem& item, char* callText, char* location, size_t locationSize,
                      size_t callSize);

// The location text of a code address: "<module> [<address>=<section>:<offset>] " followed by
// the symbol of the module's linker map file (<module path>.MAP) when there is one, and the
// module's version. Short forms for addresses outside modules: "<address> (free)", "(1)" (the
// memory cannot be queried), "(any segment)" (in no section of its module), "(2)" (the module's
// headers cannot be read); the plain address when no module file name is known.
void GetAddressText(uintptr_t address, char* buffer, size_t size);

// Walks at most maxFrames frames of the calling thread's stack and writes "%d traces" and, per
// frame, "  ------...", "  <location>" and "  --> <call>" to the debug-output channel.
void LogStackTraces(int maxFrames);

// Copies size bytes from address when every page of the range is committed and readable.
bool SafeRead(void* out, uintptr_t address, size_t size);
// True when address lies in committed executable memory.
bool IsCodeAddress(uintptr_t address);

// The symbol of a linker map file for section:offset (two map layouts are understood; see the
// implementation); false when the file is missing, unknown or holds no symbol at or below the
// offset.
bool FindMapSymbol(const char* mapPath, unsigned section, uintptr_t offset, char* symbol, size_t size);
