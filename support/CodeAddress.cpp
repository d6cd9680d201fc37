#include "CodeAddress.h"

#include <windows.h>

#include <cstring>

#include "PrintfFormat.h"

void DescribeCodeAddress(const void* address, char* buffer, size_t size)
{
    HMODULE module = nullptr;
    char name[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           (const char*)address, &module))
        GetModuleFileNameA(module, name, sizeof name);
    const char* base = std::strrchr(name, '\\');
    Format(buffer, size, "%s+0x%I64x", base ? base + 1 : name,
           (unsigned long long)((const char*)address - (const char*)module));
}
