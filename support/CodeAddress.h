// Text of a code address for stack traces: "module.dll+0x1234".
#pragma once

#include <cstddef>

void DescribeCodeAddress(const void* address, char* buffer, size_t size);
