#include "FileNames.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "DebugOutput.h"
#include "PathHelpers.h"
#include "clsLibInfo.h"

namespace {

// SplitPath cuts each part to 255 bytes; MakePath of four such parts needs at most 770 bytes.
const size_t kJoined = 1024;

} // namespace

String FileNameWithExt(const char* path)
{
    char name[256], ext[256], joined[kJoined];
    SplitPath(path, nullptr, nullptr, name, ext);
    MakePath(joined, nullptr, nullptr, name, ext);
    return String(joined);
}

String FileNameWithoutExt(const char* path)
{
    char name[256];
    SplitPath(path, nullptr, nullptr, name, nullptr);
    return String(name);
}

String FileChangeExt(const char* path, const char* extension)
{
    char drive[256], dir[256], name[256], joined[kJoined];
    SplitPath(path, drive, dir, name, nullptr);
    char ext[256];
    SafeStrCopy(ext, extension ? extension : "", sizeof ext);
    MakePath(joined, drive, dir, name, ext);
    return String(joined);
}

String FileLongPathName(const char* path)
{
    typedef DWORD(WINAPI * LongPathName)(LPCSTR, LPSTR, DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32");
    LongPathName get = kernel ? reinterpret_cast<LongPathName>(LibGetProcAddress(kernel, "GetLongPathNameA")) : nullptr;
    char buffer[260];
    DWORD n = get && path ? get(path, buffer, sizeof buffer) : 0;
    if (n == 0 || n >= sizeof buffer)
        return String(path ? path : "");
    return String(buffer);
}

String GetEnvString(const char* name)
{
    const char* value = name ? std::getenv(name) : nullptr;
    return String(value ? value : "");
}

String CreateTempFileName(const char* prefix, const char* extension, bool longPath)
{
    char temp[261];
    DWORD n = GetTempPathA(sizeof temp, temp);
    String dir = n && n < sizeof temp ? String(temp) : GetEnvString("TEMP");
    const char* text = dir;
    size_t length = std::strlen(text);
    if (!length || *g_LibInfo.CharPrev(text, text + length) != '\\')
        dir += "\\";
    if (longPath)
        dir = FileLongPathName(dir);
    if (!prefix)
        prefix = "";
    if (!extension)
        extension = "";
    if (*extension == '.')
        ++extension;

    String name;
    for (unsigned attempt = 0; attempt <= 0xFFFE; ++attempt) {
        if (attempt == 0)
            name = String::Printf("%s%s.%s", (const char*)dir, prefix, extension);
        else
            name = String::Printf("%s%s%04x.%s", (const char*)dir, prefix, attempt, extension);
        HANDLE h = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            CloseHandle(h);
            return name;
        }
        // A directory that cannot hold the file fails every further name the same way.
        DWORD error = GetLastError();
        if (error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME)
            break;
    }
    DebugPrintf("cannot create temp file in '%s' (last try was %s)", (const char*)dir, (const char*)name);
    return String();
}
