// A file opened for reading and writing with the given codes (see clsFile).
#pragma once

#include "clsFile.h"

class clsFileRW : public clsFile {
public:
    clsFileRW();
    clsFileRW(const char* name, int access, int disposition, int share, DWORD flags);
    ~clsFileRW() override;
};
