// One work area: the engine's handle of an open table.
#pragma once

#include "Job.h"
#include "clsCrit.h"

struct s_Area {
    clsCrit lock;                 // held by the index operations on this area
    int index = 0;                // 0-based position in the job (area number - 1)
    s_Job* job = nullptr;
    char alias[11] = {};          // at most 10 characters; empty without an alias
    int sortOrder = 0;            // 0 ASCII, 1 German Replace, 2 German Table, 3 German Alternate Table
    unsigned char stopFlag = 0;   // set by db_set_abort_flag, cleared on selection
};
