// Utility library: debug lines, a bookkeeping job with heaps, a stack-trace aid and plain C-string
// routines. Debug lines go to the same debug-output channel as the database library's.
#pragma once

#include <windows.h>

#ifdef VLUT11_BUILD
#define VLUT11_API extern "C" __declspec(dllexport)
#else
#define VLUT11_API extern "C" __declspec(dllimport)
#endif

// Jobs and heaps are small positive numbers; 0 means failure.
VLUT11_API long WINAPI UtilJobOpenA(const char* moduleFileName, int flags);
VLUT11_API int WINAPI UtilJobClose(long job);
VLUT11_API long WINAPI UtilHeapCreate(long job, const char* name, int flags);
VLUT11_API int WINAPI UtilHeapDelete(long heap);

// One printf-style debug line (the Windows run-time printf dialect).
VLUT11_API void __cdecl UtilDebug(const char* format, ...);
VLUT11_API void __cdecl Debug(int flags, const char* format, ...);
// Formats into buffer: at most size - 1 characters and a terminating NUL. Returns the length written.
VLUT11_API int __cdecl UtilSafeSprintf(char* buffer, int size, const char* format, ...);
// Writes the caller's stack to the debug output.
VLUT11_API int WINAPI UtilStackTrace(int reserved1, int reserved2);

VLUT11_API char* WINAPI UtilStrcpy(char* dest, const char* src);
// Copies at most count - 1 characters and always terminates (count > 0).
VLUT11_API char* WINAPI UtilStrncpy(char* dest, const char* src, int count);
VLUT11_API void* WINAPI UtilMemset(void* dest, int value, int count);
// 0 when equal without regard to case.
VLUT11_API int WINAPI UtilStricmp(const char* a, const char* b);
// Length of the text; 0 for NULL.
VLUT11_API int WINAPI UtilStrlen(const char* text);
// Compares at most count characters without regard to case: below 0, 0 when equal, above 0.
// NULL compares as empty text; a count of 0 or less compares nothing (0).
VLUT11_API int WINAPI UtilStrnicmp(const char* a, const char* b, int count);
// Removes blanks at both ends in place; returns text.
VLUT11_API char* WINAPI UtilAtrim(char* text);
