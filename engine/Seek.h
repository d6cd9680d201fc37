// Key seeks by the controlling index: db_seek (and its second name db_find) finds the first record
// with a key, db_softseek stands on the first record whose key is not smaller, db_seek_next moves
// on to the next record and tells whether it still has the key.
//
// The search text is compared over its length L, capped at the key size: with the exact setting
// off a shorter text matches as a prefix, with it on only a full-length match counts. Before the
// search a numeric index converts the text to its stored number form, a phonetic index (db_seek,
// db_seek_next) to its phonetic code without trailing blanks, and a date index the empty date to
// its stored form.
#pragma once

#include "Area.h"

// The seek of db_seek (soft false) or db_softseek (soft true) on the area's controlling index
// (which must be in use), after the common checks of the exports and before the relations follow:
// answers the found flag, which the area keeps.
bool _db_seek(s_Area& area, const char* text, bool soft);
