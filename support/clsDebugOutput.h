// An output sink of formatted lines (printf dialect of the library): the symbol reader writes its
// stack traces through one, so that the same lines can go to the debug-output channel or into a
// crash report.
#pragma once

#include <cstdarg>

class clsDebugOutput {
public:
    virtual ~clsDebugOutput() = default;
    // Writes one line.
    virtual void Output(const char* format, va_list args) = 0;

    void Printf(const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        Output(format, args);
        va_end(args);
    }
};
