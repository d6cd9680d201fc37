// Helpers of the symbol reader's tests: fixture paths and files of bytes.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "EdgeFixture.h"
#include "TestKit.h"
#include "clsModuleList.h"

namespace symtest {

// A fixture made by the build (legacy.elf, probe.dll, probe.sym).
inline std::string Fixture(const char* name)
{
    const char* dir = getenv("OX_SYM_FIXTURES");
    return std::string(dir ? dir : ".") + "\\" + name;
}

inline bool WriteBytes(const std::string& path, const Bytes& bytes)
{
    return oxtest::WriteFileText(path, std::string(bytes.begin(), bytes.end()));
}

inline Bytes ReadBytes(const std::string& path)
{
    std::string text = oxtest::ReadFileText(path);
    return Bytes(text.begin(), text.end());
}

// The record of a module by its file name (the methods name modules differently: dbghelp under
// Wine without the extension).
inline const DBGModuleItem* FindModule(const clsModuleList& list, const char* fileName)
{
    for (size_t i = 0; i < list.Count(); i++) {
        const char* path = list.At(i)->szImagePath;
        const char* slash = strrchr(path, '\\');
        if (!lstrcmpiA(slash ? slash + 1 : path, fileName))
            return list.At(i);
    }
    return nullptr;
}

// Sets or clears environment variables for the length of a test.
class EnvScope {
public:
    void Set(const char* name, const char* value)
    {
        if (!m_saved.count(name)) {
            char buffer[4096];
            DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
            m_saved[name] = n ? std::make_pair(true, std::string(buffer, n)) : std::make_pair(false, std::string());
        }
        SetEnvironmentVariableA(name, value);
    }
    ~EnvScope()
    {
        for (auto& [name, value] : m_saved)
            SetEnvironmentVariableA(name.c_str(), value.first ? value.second.c_str() : nullptr);
    }

private:
    std::map<std::string, std::pair<bool, std::string>> m_saved;
};

// A file beside the test program.
inline std::string Dll(const char* name) { return oxtest::ProgramDir() + "\\" + name; }

} // namespace symtest
