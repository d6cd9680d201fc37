// Debug lines of the library: printf-style texts to the debug-output channel (clsLibInfo).
// Silent when no viewer is running; nothing is formatted then.
#pragma once

#include <windows.h>

#include <cstdarg>

void DebugChannelOpen(HMODULE module);
void DebugChannelClose();
bool DebugChannelHasTarget();

void DebugPrintf(const char* format, ...);
// A line with the prefix "mm:ss.mmm<indentation> tid "; a negative delta lowers the indentation
// before the line, a positive one raises it after; a NULL format only changes the indentation.
void DebugPrintfTimed(int indentDelta, const char* format, ...);
void DebugVPrintfTimed(int indentDelta, const char* format, va_list args);
