// File-name and version-resource helpers of the symbol reader.
#pragma once

#include "String.h"

// File name with extension / without extension of a path (no drive, no directory).
String FileNameWithExt(const char* path);
String FileNameWithoutExt(const char* path);
// One value of the file's version resource (language block of "\VarFileInfo\Translation", else
// the first block under "\StringFileInfo\"); empty when missing.
String GetFileVersionString(const char* file, const char* key);
// "FileVersion", followed by a blank and "Build" when present; the description receives
// "FileDescription".
String GetModuleVersion(const char* file, String* description);
