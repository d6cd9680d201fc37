#include "FileOutput.h"

#include <windows.h>

namespace rp {

bool ReplaceFileWith(const std::string& path, const std::string& data)
{
    size_t slash = path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    char temp[MAX_PATH + 16] = "";
    if (!GetTempFileNameA(folder.c_str(), "vrp", 0, temp))
        return false;
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        DWORD written = 0;
        ok = data.empty() || (WriteFile(file, data.data(), (DWORD)data.size(), &written, nullptr) && written == data.size());
        ok = CloseHandle(file) && ok;
    }
    if (ok)
        ok = MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
    if (!ok)
        DeleteFileA(temp);
    return ok;
}

} // namespace rp
