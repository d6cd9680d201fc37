// Texts of a module file's version resource (used by the location texts of stack traces and by
// the symbol reader's module list).
#pragma once

#include <cstddef>

#include "String.h"

// One value of the file's version resource (language block of "\VarFileInfo\Translation", else
// the usual language blocks in turn); empty when missing.
String GetFileVersionString(const char* file, const char* key);
// "FileVersion", followed by a blank and "Build" when present; the description receives
// "FileDescription".
String GetModuleVersion(const char* file, String* description);
// GetModuleVersion into a buffer, without using the library's allocator (for crash reports);
// false and an empty buffer when the file has no version.
bool ModuleVersionText(const char* file, char* buffer, size_t size);
