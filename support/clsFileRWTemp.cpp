#include "clsFileRWTemp.h"

clsFileRWTemp::~clsFileRWTemp() = default;
