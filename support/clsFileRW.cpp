#include "clsFileRW.h"

clsFileRW::clsFileRW() = default;

clsFileRW::clsFileRW(const char* name, int access, int disposition, int share, DWORD flags)
    : clsFile(name, access, disposition, share, flags)
{
}

clsFileRW::~clsFileRW() = default;
