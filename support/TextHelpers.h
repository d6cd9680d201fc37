// Blank trimming and comparisons of byte strings, aware of double-byte code pages.
//
// Only the blank (0x20) is trimmed; tabs and other white space stay. The locale comparisons
// order texts that the user's locale treats as equal by their bytes, so they answer 0 only for
// equal bytes.
#pragma once

#include <cstddef>

// Remove blanks in place; each returns text.
char* StrTrimLeft(char* text);
char* StrTrimRight(char* text);
char* StrTrimBoth(char* text);

// Negative, 0 or positive.
int StrCompareNoCase(const char* a, const char* b);
int StrCompareLocale(const char* a, const char* b);
int StrCompareLocaleNoCase(const char* a, const char* b);
// Comparisons of at most n bytes; a double-byte character is compared whole.
int StrNCompare(const char* a, const char* b, size_t n);
int StrNCompareNoCase(const char* a, const char* b, size_t n);

// Byte comparison that folds only the ASCII letters A to Z to lower case.
int StrCompareAsciiNoCase(const char* a, const char* b);
