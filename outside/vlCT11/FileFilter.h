// The filter of the file-name dialog. Callers write it as "description|pattern|...", ending with
// "||" (for example "Alle Dateien (*.*) | *.*||"); the common dialog wants NUL-separated pairs
// ending with two NULs.
#pragma once

#include <string>

// The pairs of 'filter' with blanks around each part removed, each part followed by a NUL and the
// whole by one more NUL. The list ends at the first empty part. A description without a pattern
// is its own pattern. Empty for NULL or an empty filter (the dialog then shows every file).
std::string DialogFilter(const char* filter);
