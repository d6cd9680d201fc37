// A file opened for reading only (an existing file).
#pragma once

#include "clsFile.h"

class clsFileRO : public clsFile {
public:
    clsFileRO();
    clsFileRO(const char* name, int share, DWORD flags);
    ~clsFileRO() override;
};
