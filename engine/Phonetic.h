// Phonetic codes of texts (phonetic(), "~=" and phonetic indexes).
//
// The text is upper-cased and folded by its character set, then coded by the job's phonetic mode
// (the collation compatibility setting):
//   0  a German sound code: letter pairs and single letters replaced by the letter of their
//      sound, doubles removed, only the coding letters kept (MEIER, MAYER, MEYER, MAIER: MAYR)
//   1  a Metaphone code of at most 5 characters (THOMAS: OMS)
//   any other value: the upper-cased, folded text itself
// The code replaces the text in place and is never longer than it.
#pragma once

struct s_Area;

// By the area's character set (NULL: OEM) and the job's phonetic mode (no job: mode 0).
void _phonetic(const s_Area* area, char* text);
// charset 0x20 is ANSI, every other value OEM.
void _phonetic_code(char* text, int charset, int mode);
