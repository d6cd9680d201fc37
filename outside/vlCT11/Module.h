// The library's own module handle (the instance its window classes are registered with).
#pragma once

#include <windows.h>

HINSTANCE LibraryInstance();
