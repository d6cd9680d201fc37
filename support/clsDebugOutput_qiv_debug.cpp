#include "clsDebugOutput_qiv_debug.h"

#include "DebugOutput.h"

clsDebugOutput_qiv_debug g_DebugOutputQivDebug;

void clsDebugOutput_qiv_debug::Output(const char* format, va_list args) { DebugVPrintfTimed(0, format, args); }
