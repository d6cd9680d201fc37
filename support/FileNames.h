// File-name helpers of the file classes: parts of a path, the long form of a path, environment
// strings and unique temporary files.
#pragma once

#include "String.h"

// File name and extension of a path (no drive, no directory).
String FileNameWithExt(const char* path);
// File name of a path without its extension.
String FileNameWithoutExt(const char* path);
// Drive, directory and file name of path with the given extension (a dot is put in front of an
// extension without one).
String FileChangeExt(const char* path, const char* extension);
// The long form of a path (GetLongPathNameA, looked up at each call); the path itself when the
// function is missing or fails.
String FileLongPathName(const char* path);
// The value of an environment variable of the run time; empty when it is not set.
String GetEnvString(const char* name);
// Creates a new empty file "<temp>\<prefix>.<ext>", else "<prefix>0001.<ext>" ... "<prefix>fffe.<ext>"
// (the first name that does not exist yet; a leading dot of the extension is skipped) and returns
// its name; the file stays as the reservation. Empty when no name is free or the temporary
// directory cannot take files. longPath: the directory in its long form.
String CreateTempFileName(const char* prefix, const char* extension, bool longPath);
