// The file-name dialog: the common open or save dialog (flags bit 31 asks for save). Its answer is
// IDOK with the chosen path in the caller's buffer, or IDCANCEL. In unattended mode the answer is
// VLCT11_FILENAME (IDOK) or, without it, IDCANCEL.
#include "vlCT11.h"

#include <commdlg.h>

#include <cstring>
#include <string>

#include "ActivityLog.h"
#include "Environment.h"
#include "FileFilter.h"

namespace {

const DWORD kSaveDialog = 0x80000000;
// Flags bits that are no common-dialog flags of ours to pass: bit 31 (save), bit 30 (no
// dialog flag), hooks and templates (we hand over neither procedure nor template) and multiple
// selection (the caller takes one path).
const DWORD kDroppedFlags = 0xC0000000 | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_ENABLETEMPLATEHANDLE |
                            OFN_ALLOWMULTISELECT;

int ShowDialog(HWND owner, const char* title, HINSTANCE instance, const char* initial, const char* filter,
               DWORD flags, char* buffer, int size)
{
    buffer[0] = '\0';
    if (initial && std::strlen(initial) < (size_t)size)
        std::strcpy(buffer, initial);
    std::string filterPairs = DialogFilter(filter);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner && IsWindow(owner) ? owner : nullptr;
    ofn.hInstance = instance;
    ofn.lpstrFilter = filterPairs.empty() ? nullptr : filterPairs.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer;
    ofn.nMaxFile = (DWORD)size;
    ofn.lpstrTitle = title;
    ofn.Flags = (flags & ~kDroppedFlags) | OFN_EXPLORER;
    BOOL chosen = (flags & kSaveDialog) ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    return chosen ? IDOK : IDCANCEL;
}

} // namespace

VLCT11_API int WINAPI CtlGetNameDlgA(HWND owner, const char* title, HINSTANCE instance, int reserved1,
                                     int reserved2, int reserved3, const char* initial, const char* filter,
                                     DWORD flags, char* buffer, int size)
{
    int answer = IDCANCEL;
    if (buffer && size > 0) {
        if (IsUnattended()) {
            // A path that does not fit whole is no answer: a cut path would name another file.
            std::optional<std::string> name = ScriptedFileName();
            if (name && name->size() < (size_t)size) {
                std::memcpy(buffer, name->c_str(), name->size() + 1);
                answer = IDOK;
            }
        } else
            answer = ShowDialog(owner, title, instance, initial, filter, flags, buffer, size);
    }
    WriteActivity({"GetNameDlg", TextField(title), HexField(flags), std::to_string(answer),
                   answer == IDOK ? std::string(buffer) : std::string()});
    return answer;
}
