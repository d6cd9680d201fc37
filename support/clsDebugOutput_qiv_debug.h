// The sink of the library's debug traces: each line goes to the debug-output channel as a timed
// line without a change of indentation.
#pragma once

#include "clsDebugOutput.h"

class clsDebugOutput_qiv_debug : public clsDebugOutput {
public:
    void Output(const char* format, va_list args) override;
};

// The library's one instance (it holds no state).
extern clsDebugOutput_qiv_debug g_DebugOutputQivDebug;
