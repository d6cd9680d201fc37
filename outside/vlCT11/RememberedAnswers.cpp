#include "RememberedAnswers.h"

#include <windows.h>

namespace RememberedAnswers {

std::optional<int> Find(const std::string& key)
{
    if (key.empty())
        return std::nullopt;
    DWORD type = 0, data = 0, size = sizeof data;
    LONG result = RegGetValueA(HKEY_CURRENT_USER, kRegistryKey, key.c_str(), RRF_RT_ANY, &type, &data, &size);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data)
        return std::nullopt;
    return (int)data;
}

bool Store(const std::string& key, int answer)
{
    if (key.empty())
        return false;
    HKEY hkey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey, nullptr) !=
        ERROR_SUCCESS)
        return false;
    DWORD data = (DWORD)answer;
    bool stored = RegSetValueExA(hkey, key.c_str(), 0, REG_DWORD, (const BYTE*)&data, sizeof data) == ERROR_SUCCESS;
    RegCloseKey(hkey);
    return stored;
}

} // namespace RememberedAnswers
