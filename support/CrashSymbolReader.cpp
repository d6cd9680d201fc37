#include "CrashSymbolReader.h"

namespace {

// The library has no symbol reader of its own: reports stay small.
clsCrashSymbolReader* NoSymbolReader() { return nullptr; }

CrashSymbolReaderFactory s_factory = &NoSymbolReader;

} // namespace

clsCrashSymbolReader* OpenCrashSymbolReader() { return s_factory(); }

void SetCrashSymbolReaderFactory(CrashSymbolReaderFactory factory) { s_factory = factory ? factory : &NoSymbolReader; }
