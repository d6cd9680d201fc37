// Opening and closing tables and the getters of an open table.
#pragma once

#include "Area.h"

// Names of a new area: database name = file, full path in lower case, alias (at most 10
// characters; empty for NULL).
void _db_name_area(s_Area& area, const char* file, const char* alias);
