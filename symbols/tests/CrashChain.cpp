// A DLL with a known call chain for the stack-trace tests, built without optimisation so that
// every function keeps its frame and stores its register arguments (64-bit) in its home slots:
//
//   ChainRun / ChainPositionCallback -> ChainOuter -> ChainMiddle -> ChainInner -> the probe, or a
//   write to address 16 when there is none
//   ChainOverflowCallback -> ChainDeep -> ChainDeep -> ... until the stack overflows
//
// Asked with the argument kLine, each function answers the source line of its call (of the probe
// or the fault for ChainInner) instead of running, so that tests know which lines a trace must
// name. The build also makes a stripped copy with a .sym file beside it (build/release).
#include <windows.h>

typedef void (*ChainProbe)(void* context);

namespace {
volatile int* volatile s_bad = reinterpret_cast<volatile int*>(16);
ChainProbe s_probe = nullptr;
void* s_context = nullptr;
const int kLine = -1;
} // namespace

// clang-format off
__attribute__((noinline)) long long ChainInner(long long a)
{
    static const int line = __LINE__; if (a == kLine) return line; if (s_probe) s_probe(s_context); else *s_bad = (int)a; return a + 1;
}

__attribute__((noinline)) long long ChainMiddle(long long a)
{
    static const int line = __LINE__; if (a == kLine) return line; return ChainInner(a + 0x1111) + 1;
}

__attribute__((noinline)) long long ChainOuter(long long a)
{
    static const int line = __LINE__; if (a == kLine) return line; return ChainMiddle(a + 0x1111) + 1;
}

// clang-format on

// The chain with a probe at its end (NULL: the fault); answers what ChainOuter answered.
extern "C" __declspec(dllexport) int ChainRun(ChainProbe probe, void* context)
{
    s_probe = probe;
    s_context = context;
    int result = (int)ChainOuter(0x1111);
    s_probe = nullptr;
    return result;
}

// The database library's position callback: runs the chain without a probe, so it faults inside
// the engine call that reported the position.
extern "C" __declspec(dllexport) void __stdcall ChainPositionCallback(int, int, int) { ChainOuter(0x1111); }

// Calls itself until the stack is exhausted; each level keeps a small block of its own on the
// stack (small frames meet the stack's guard page from above, where the system still has room to
// raise the overflow on the thread).
__attribute__((noinline)) long long ChainDeep(long long a)
{
    volatile char block[64];
    block[0] = (char)a;
    return ChainDeep(a + 1) + block[0];
}

// The database library's position callback that overflows the stack inside the engine call.
extern "C" __declspec(dllexport) void __stdcall ChainOverflowCallback(int, int, int) { ChainDeep(0); }

// 0 ChainInner, 1 ChainMiddle, 2 ChainOuter: the line of the function's call (or fault).
extern "C" __declspec(dllexport) int ChainLineOf(int which)
{
    return (int)(which == 0 ? ChainInner(kLine) : which == 1 ? ChainMiddle(kLine) : ChainOuter(kLine));
}

// The address of a function of the 300-character file.
int ChainLongFileName(int a);
extern "C" __declspec(dllexport) void* ChainLongFileNameAddress() { return reinterpret_cast<void*>(&ChainLongFileName); }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// clang-format off
// A function whose source file name is 300 characters long (the rest of this file).
#line 1 "Chain_01234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789.cpp"
__attribute__((noinline)) int ChainLongFileName(int a)
{
    return a * 3 + 1;
}
// clang-format on
