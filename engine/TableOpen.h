// Opening and closing tables and the getters of an open table.
#pragma once

#include "Area.h"

// Names of a new area: database name = file, full path in lower case, alias (at most 10
// characters; empty for NULL). False when the file's full path cannot be known or does not fit
// into MAX_PATH - 1 characters: the full path is then empty, and the table must not be opened or
// created (every use of the path would meet another file or folder).
bool _db_name_area(s_Area& area, const char* file, const char* alias);
