#include "clsFileRO.h"

clsFileRO::clsFileRO() = default;

clsFileRO::clsFileRO(const char* name, int share, DWORD flags) : clsFile(name, 0, 0, share, flags) {}

clsFileRO::~clsFileRO() = default;
