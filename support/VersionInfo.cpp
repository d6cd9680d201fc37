#include "VersionInfo.h"

#include <windows.h>

#include "PathHelpers.h"
#include "PrintfFormat.h"

namespace {

// The whole version resource of a file in local memory (not the library's allocator: location
// texts are made while a crash report runs).
class VersionBlock {
public:
    explicit VersionBlock(const char* file)
    {
        DWORD handle = 0;
        DWORD size = file ? GetFileVersionInfoSizeA(file, &handle) : 0;
        if (!size)
            return;
        m_block = LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size);
        if (m_block && !GetFileVersionInfoA(file, 0, size, m_block)) {
            LocalFree(m_block);
            m_block = nullptr;
        }
    }
    ~VersionBlock()
    {
        if (m_block)
            LocalFree(m_block);
    }
    VersionBlock(const VersionBlock&) = delete;
    VersionBlock& operator=(const VersionBlock&) = delete;

    bool Valid() const { return m_block != nullptr; }

    // The value of key, or NULL.
    const char* Value(const char* key) const
    {
        if (!m_block)
            return nullptr;
        char query[256];
        struct Translation {
            WORD language, codePage;
        }* translation = nullptr;
        UINT length = 0;
        if (VerQueryValueA(m_block, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) &&
            length >= sizeof(Translation)) {
            Format(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation->language, translation->codePage,
                   key);
            char* value = nullptr;
            if (VerQueryValueA(m_block, query, reinterpret_cast<void**>(&value), &length) && value)
                return value;
            return nullptr;
        }
        // No translation table: the usual language blocks in turn.
        static const char* const blocks[] = {"040904b0", "040704b0", "040904e4", "040704e4", "000004b0", "000004e4"};
        for (const char* b : blocks) {
            Format(query, sizeof query, "\\StringFileInfo\\%s\\%s", b, key);
            char* value = nullptr;
            if (VerQueryValueA(m_block, query, reinterpret_cast<void**>(&value), &length) && value)
                return value;
        }
        return nullptr;
    }

    void ModuleVersion(char* buffer, size_t size) const
    {
        const char* version = Value("FileVersion");
        const char* build = Value("Build");
        SafeStrCopy(buffer, version ? version : "", size);
        if (build && *build) {
            SafeStrCat(buffer, " ", size);
            SafeStrCat(buffer, build, size);
        }
    }

private:
    void* m_block = nullptr;
};

} // namespace

String GetFileVersionString(const char* file, const char* key)
{
    VersionBlock block(file);
    const char* value = block.Value(key);
    return String(value ? value : "");
}

String GetModuleVersion(const char* file, String* description)
{
    if (description)
        description->Empty();
    VersionBlock block(file);
    if (!block.Valid())
        return String();
    char version[512];
    block.ModuleVersion(version, sizeof version);
    if (description) {
        const char* text = block.Value("FileDescription");
        *description = text ? text : "";
    }
    return String(version);
}

bool ModuleVersionText(const char* file, char* buffer, size_t size)
{
    if (size)
        buffer[0] = 0;
    VersionBlock block(file);
    if (!block.Valid())
        return false;
    block.ModuleVersion(buffer, size);
    return buffer[0] != 0;
}
