#include "ActivityLog.h"

#include <windows.h>

#include <cstdio>

#include "Environment.h"

namespace {

// The byte every writer locks while it appends: far beyond any log's end, so the lock never
// covers the bytes written.
const DWORD kLockOffsetHigh = 1;

bool AppendLine(const std::string& path, const std::string& line)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    OVERLAPPED region{};
    region.OffsetHigh = kLockOffsetHigh;
    bool locked = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &region) != FALSE;
    bool ok = false;
    LARGE_INTEGER zero{};
    if (SetFilePointerEx(file, zero, nullptr, FILE_END)) {
        DWORD written = 0;
        ok = WriteFile(file, line.data(), (DWORD)line.size(), &written, nullptr) && written == line.size();
    }
    if (locked)
        UnlockFileEx(file, 0, 1, 0, &region);
    CloseHandle(file);
    return ok;
}

} // namespace

std::string TextField(const char* text) { return text ? std::string(text) : std::string(); }

std::string HexField(unsigned long value)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "0x%lX", value);
    return buffer;
}

std::string EscapeField(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\\n";
        } else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

void WriteActivity(std::initializer_list<std::string> fields)
{
    std::optional<std::string> path = ReadEnvironment("VLCT11_LOG");
    if (!path || path->empty())
        return;
    std::string line;
    for (const std::string& field : fields) {
        if (&field != fields.begin())
            line += '\t';
        line += EscapeField(field);
    }
    line += "\r\n";
    AppendLine(*path, line);
}
