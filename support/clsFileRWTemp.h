// Marks a temporary read-write file (opened with clsFile::Open, usually with the delete-on-close
// flag and a name from CreateTempFileName).
#pragma once

#include "clsFile.h"

class clsFileRWTemp : public clsFile {
public:
    ~clsFileRWTemp() override;
};
