#include "Environment.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>

std::optional<std::string> ReadEnvironment(const char* name)
{
    std::string value(256, '\0');
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetEnvironmentVariableA(name, value.data(), (DWORD)value.size());
        if (n == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt : std::optional<std::string>("");
        if (n < value.size()) {
            value.resize(n);
            return value;
        }
        value.resize(n); // n is the size needed, with the terminating NUL
    }
}

bool IsUnattended()
{
    std::optional<std::string> value = ReadEnvironment("VLCT11_UNATTENDED");
    return value && !value->empty() && *value != "0";
}

std::optional<long> AbortAfterChecks()
{
    std::optional<std::string> value = ReadEnvironment("VLCT11_ABORT_AFTER");
    if (!value || value->empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long n = std::strtol(value->c_str(), &end, 10);
    while (*end == ' ')
        ++end;
    if (*end != '\0' || errno != 0 || n < 0)
        return std::nullopt;
    return n < 1 ? 1 : n;
}

std::optional<std::string> ScriptedFileName()
{
    std::optional<std::string> value = ReadEnvironment("VLCT11_FILENAME");
    if (!value || value->empty())
        return std::nullopt;
    return value;
}
