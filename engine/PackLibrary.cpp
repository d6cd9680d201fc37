#include "PackLibrary.h"

#include "clsLibInfo.h"

s_PackLibrary g_PackLibrary;

namespace {

template <typename T>
void Bind(T& pointer, const char* name)
{
    pointer = (T)LibGetProcAddress(g_PackLibrary.module, name);
}

} // namespace

int LoadPackLibrary()
{
    s_PackLibrary& lib = g_PackLibrary;
    if (lib.users > 0) {
        ++lib.users;
        return 0;
    }
    const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX | SEM_FAILCRITICALERRORS);
    HMODULE module = LoadLibraryA("VLPA05.DLL");
    SetErrorMode(previous);
    if (!module)
        return -1;
    lib.module = module;
    lib.users = 1;
    Bind(lib.compress, "_PackCompressBuffer@12");
    Bind(lib.expand, "_PackExpandBuffer@12");
    Bind(lib.expandEnh, "_PackExpandBufferEnh@16");
    Bind(lib.setMode, "_PackSetMode@4");
    Bind(lib.getVersion, "_PackGetVersion@4");
    Bind(lib.blowfishEncode, "_PackBlowfishEncode@16");
    Bind(lib.blowfishDecode, "_PackBlowfishDecode@16");
    Bind(lib.mimeEncode, "_PackMimeEncode@16");
    Bind(lib.mimeDecode, "_PackMimeDecode@12");
    Bind(lib.blowfishEncodeData, "_PackBlowfishEncodeData@12");
    Bind(lib.blowfishDecodeData, "_PackBlowfishDecodeData@12");
    return 0;
}

void FreePackLibrary()
{
    s_PackLibrary& lib = g_PackLibrary;
    if (--lib.users > 0)
        return;
    lib.users = 0;
    if (lib.module) {
        FreeLibrary(lib.module);
        lib = s_PackLibrary{};
    }
}
