// The library's one printf layer.
//
// Format strings throughout the library follow the printf dialect of the Windows C run time
// (the format texts are part of the library's observable output). This layer parses that
// dialect and formats every conversion with the argument type a 64-bit caller really passes:
//
//   size prefix        integers (d i o u x X)      characters (c)     strings (s)
//   none               int                         narrow char        narrow text
//   h / hh             short / char                narrow char        narrow text
//   l                  long (32 bits on Win64)     wide char          UTF-16 text
//   w                  -                           wide char          UTF-16 text
//   ll, I64, L, F, N   64-bit integer              narrow char        narrow text
//   I32                32-bit integer
//   I, z, t, j         pointer-sized integer
//   conversions C and S are the wide forms of c and s (w/o prefix); 'h' makes them narrow.
//   e E f F g G a A    double (L is accepted and also means double, as in that run time)
//   p                  void*, 16 upper-case hex digits ("%#p" adds "0x")
//   n                  int* receives the count written so far
//
// UTF-16 texts are converted to the ANSI code page; a precision counts bytes of the converted
// text and never cuts a double-byte character. A NULL text prints "(null)".
#pragma once

#include <cstdarg>
#include <cstddef>

// One parsed conversion of a format text.
struct FormatSpec {
    // flags
    bool left = false, plus = false, space = false, zero = false, alt = false;
    int width = -1;          // -1: none; from '*' when widthStar
    int precision = -1;      // -1: none
    bool widthStar = false, precisionStar = false;
    enum Size { None, Char, Short, Long, Wide, LongLong, Int32, PtrSize, Narrow } size = None;
    char conv = 0;           // conversion character ('%' for "%%"); 0 at a truncated end
};

// What a conversion takes from the argument list.
enum class FormatArg { None, Int32, Int64, PtrSize, Double, NarrowChar, WideChar, NarrowText, WideText, Pointer, IntPointer };

// Parses the conversion that starts behind a '%' at p; returns the position behind it.
const char* ParseFormatSpec(const char* p, FormatSpec& spec);

// The argument a parsed conversion consumes (width and precision stars each take one int before it).
FormatArg FormatArgOf(const FormatSpec& spec);

// Formats into buf (at most size - 1 characters and always a terminating NUL when size > 0).
// Returns the length the complete text has (it may exceed size - 1: then the output was cut).
int VFormat(char* buf, size_t size, const char* format, va_list args);
int Format(char* buf, size_t size, const char* format, ...);
