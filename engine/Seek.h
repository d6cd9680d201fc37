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

// Shared with the wildcard and expression seeks.
//
// The common start of the seek exports: the current area with a controlling index in use, its
// record count refreshed and its stop flag cleared; NULL when the export answers FALSE (no table:
// no error; no controlling index: error 24).
s_Area* _db_seek_start(s_Job* job);
// The end-of-file position of a seek that found nothing: blank buffer, EOF flag, BOF flag when the
// table is empty.
void _db_seek_to_eof(s_Area& area);
// A search text in the stored key form against a stored key (keySize bytes): equal over the
// text's length capped at the key size, as a full key or, with the exact setting off, as a prefix.
bool _db_seek_matches(const s_Area& area, const char* text, const char* stored, unsigned keySize);
