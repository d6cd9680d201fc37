#include "ModuleFiles.h"

#include <cstdio>
#include <vector>

String FileNameWithExt(const char* path)
{
    if (!path)
        return String();
    const char* name = path;
    for (const char* p = path; *p; p = CharNextA(p))
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    return String(name);
}

String FileNameWithoutExt(const char* path)
{
    String name = FileNameWithExt(path);
    const char* text = name;
    const char* dot = nullptr;
    for (const char* p = text; *p; p = CharNextA(p))
        if (*p == '.')
            dot = p;
    return dot ? name.Left((int)(dot - text)) : name;
}

namespace {

bool ReadVersionBlock(const char* file, std::vector<char>& block)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(file, &handle);
    if (!size)
        return false;
    block.assign(size, 0);
    return GetFileVersionInfoA(file, 0, size, block.data()) != 0;
}

String VersionValue(std::vector<char>& block, const char* key)
{
    char query[256];
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
        length >= sizeof(Translation)) {
        snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage, key);
        char* value = nullptr;
        if (VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) && value)
            return String(value);
        return String();
    }
    // No translation table: the usual language blocks in turn.
    static const char* const blocks[] = {"040904b0", "040704b0", "040904e4", "040704e4", "000004b0", "000004e4"};
    for (const char* b : blocks) {
        snprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", b, key);
        char* value = nullptr;
        if (VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) && value)
            return String(value);
    }
    return String();
}

} // namespace

String GetFileVersionString(const char* file, const char* key)
{
    std::vector<char> block;
    if (!ReadVersionBlock(file, block))
        return String();
    return VersionValue(block, key);
}

String GetModuleVersion(const char* file, String* description)
{
    if (description)
        description->Empty();
    std::vector<char> block;
    if (!ReadVersionBlock(file, block))
        return String();
    String version = VersionValue(block, "FileVersion");
    String build = VersionValue(block, "Build");
    if (build.GetLength())
        version = version + " " + build;
    if (description)
        *description = VersionValue(block, "FileDescription");
    return version;
}
