// What a full crash report needs of the symbol reader: a minidump, the list of loaded modules
// and a symbolic stack trace. A report asks for a reader once; without one it stays small (the
// library's own stack walk with module and offset texts) and asks the user nothing.
#pragma once

#include <windows.h>

class clsGPFProtection;

class clsCrashSymbolReader {
public:
    virtual ~clsCrashSymbolReader() = default;
    // Writes a minidump of the process for the exception, which it names as met by thread
    // threadId; an empty path lets the reader choose the name (a temporary file "Mem....dmp").
    // True: path holds the file's name.
    virtual bool WriteMiniDump(char* path, size_t size, EXCEPTION_POINTERS* exception, DWORD threadId) = 0;
    // "List of Modules:" and one line per loaded module, through frame.Log.
    virtual void LogModuleList(clsGPFProtection& frame) = 0;
    // The symbolic stack trace of the context through frame.Log; false when it is not available
    // (the report then writes its own walk).
    virtual bool LogStackTrace(clsGPFProtection& frame, CONTEXT* context) = 0;
};

// Makes the symbol reader of one report; the report deletes it at its end.
typedef clsCrashSymbolReader* (*CrashSymbolReaderFactory)();

// The reader of the next report: NULL while the library has no symbol reader.
clsCrashSymbolReader* OpenCrashSymbolReader();
// Replaces the factory (the symbol reader installs its own; tests install doubles). NULL restores
// the library's own, which makes no reader.
void SetCrashSymbolReaderFactory(CrashSymbolReaderFactory factory);
