// Path splitting and joining and bounded copies that never cut a double-byte character.
#pragma once

#include <cstddef>

// Splits a path into drive ("c:"), directory (with its final separator), file name and extension
// (with its dot). Any output may be NULL; each part holds at most 255 bytes.
void SplitPath(const char* path, char* drive, char* dir, char* name, char* ext);
// Joins the parts; the buffer must have room for all of them (770 bytes for SplitPath's parts).
void MakePath(char* buffer, const char* drive, const char* dir, const char* name, const char* ext);
// Copies at most size - 1 bytes and terminates; size 0 writes nothing. Returns dest.
char* SafeStrCopy(char* dest, const char* src, size_t size);
// Appends at most size - length - 1 bytes; writes nothing when dest already fills size. Returns dest.
char* SafeStrCat(char* dest, const char* src, size_t size);
