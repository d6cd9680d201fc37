// File helpers: existence, version resource, the temporary folder and copies that expand
// LZ-compressed files.
#pragma once

#include <afx.h>

// TRUE when a file or directory of that name (or, with wildcards, one that matches) exists; one
// trailing backslash is ignored.
BOOL MfxFileExists(LPCTSTR lpszPath);

// The "FileVersion" value of the file's version resource; empty when the name is empty or the
// file has no such value. The value is looked up in the string table of the first language of the
// translation table, else in the first string table when its name begins with a character below
// 'A' (a hexadecimal language name).
CString MfxGetFileVersion(LPCTSTR lpszFile);

// The folder for temporary files (GetTempPath, with its trailing backslash); FALSE when the system
// gives none.
BOOL MfxGetTempPath(CString& rPath);

// Copies the file, expanding it when it is LZ-compressed (the format of COMPRESS.EXE). 0 on
// success; a source that does not exist (file or path not found) gives 0 unless bFailIfMissing
// is set, then -1; any other failure -1.
int MfxCopyFileLZ(LPCTSTR lpszSource, LPCTSTR lpszTarget, BOOL bFailIfMissing);
