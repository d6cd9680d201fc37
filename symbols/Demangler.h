// Rendering of decorated names as declarations: the decoration scheme of the old compiler whose
// names start with "W?" or "T?" (optionally behind "__imp_"), for example
//
//   W?foo$n(i)v               void near foo( int )
//   W?bar$:cls$n(pnaxa)i      int near cls::bar( char near *, char const )
//
// The own debug-information readers may return such names; GCC's "_Z" names are not of this
// scheme and are copied unchanged. No Windows functions: the fuzz run builds this natively.
#pragma once

#include <cstddef>

// 0: the name is not decorated; 2: "W?"; 6: "T?"; 8: "__imp_W?"; 12: "__imp_T?" ("__imp_" in any
// case; W, T and ? exactly).
int IsMangledName(const char* name);

// Renders the decorated name (length 0: up to its terminator; else at most length characters,
// never past a terminator) and returns the length of the text.
// Without a buffer only the length is counted: at least the length that a rendering into a
// buffer gives, because spaces that the rendering removes are counted.
// With a buffer at most size - 1 characters are rendered, one trailing space is removed and the
// text is terminated; size 0 writes nothing. A name that IsMangledName does not call decorated is
// copied unchanged. A name that leaves the grammar midway gives what was rendered up to there.
size_t DemangleName(const char* name, size_t length, char* buffer, size_t size);
