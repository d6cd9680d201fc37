// Sort orders of text keys and string values, the wildcard comparison and the German Replace key
// form.
//
// A work area compares texts by its sort order and character set:
//   0 ASCII                   bytes (the C library's comparison)
//   1 German Replace          the umlauts (and sharp s) count as their two-letter spellings
//   2 German Table            byte weights: digits, capitals, small letters, punctuation, the rest
//   3 German Alternate Table  byte weights: code order with the umlauts behind their base letters
// The character set 0x20 is ANSI (code page 1252); every other value is OEM (code page 850).
// Two different bytes of equal weight order by their byte value, so every full comparison is a
// total order (German Replace: a total preorder in which a text equals its spelled-out form).
#pragma once

#include <windows.h>

#include <cstddef>

struct s_Area;

const int DB_SORT_ASCII = 0;
const int DB_SORT_GERMAN_REPLACE = 1;
const int DB_SORT_GERMAN_TABLE = 2;
const int DB_SORT_GERMAN_ALTERNATE = 3;
const int DB_CHARSET_ANSI = 0x20;

// What a comparison needs of a work area.
struct s_Collation {
    int sortOrder = DB_SORT_ASCII;   // values outside 0..3 compare as ASCII
    int charset = 0;
};

// The collation of a work area; NULL (no current area) compares as ASCII.
s_Collation _db_collation_of(const s_Area* area);

// Weight of a byte in the weight table of sort order 2 or 3 for the character set.
unsigned _sort_weight(const s_Collation& collation, unsigned char byte);

// Full comparison: negative, 0 or positive.
int _str_compare(const s_Collation& collation, const char* a, const char* b);
int _str_compare(const s_Area* area, const char* a, const char* b);

// Comparison over n characters, as seeks and index searches use it. German Replace counts the
// characters of the first text; each umlaut met there takes one more step, so that a search text
// written with umlauts finds the stored key that spells them out.
int _str_compare_n(const s_Collation& collation, const char* a, const char* b, size_t n);
int _str_compare_n(const s_Area* area, const char* a, const char* b, size_t n);

// The stored key form of a text (at most size - 1 characters and NUL): German Replace spells
// every umlaut out (one whose second letter does not fit is cut after its first); the other
// orders copy the text.
void _sort_key(const s_Collation& collation, size_t size, const char* text, char* out);
void _sort_key(const s_Area* area, size_t size, const char* text, char* out);

// Wildcard comparison: '*' stands for any run of characters, '?' for any one character, every
// other byte for itself (case matters). The end of the text is never anchored, so the pattern
// ABC matches every text that begins with ABC.
BOOL _wildcard_match(const char* pattern, const char* text);
