#include "clsMiniDump.h"

#include "DebugOutput.h"
#include "FileNames.h"
#include "clsDBGHELP.h"
#include "clsLengthyOp.h"
#include "clsLengthyOpCond.h"

namespace {

using MiniDumpWriteDumpFn = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                          PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

// Enables (attributes SE_PRIVILEGE_ENABLED) or disables (0) the debug privilege; false when the
// system reports an error.
bool SetDebugPrivilege(HANDLE token, DWORD attributes)
{
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = attributes;
    LookupPrivilegeValueA(nullptr, "SeDebugPrivilege", &privileges.Privileges[0].Luid);
    AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    return GetLastError() == 0;
}

} // namespace

clsMiniDump::clsMiniDump(clsDBGHELP& owner, HANDLE file, MINIDUMP_TYPE type, MINIDUMP_EXCEPTION_INFORMATION* exception,
                         MINIDUMP_CALLBACK_INFORMATION* callback)
    : clsThreadBase("GetMiniDump"), m_owner(&owner), m_file(file), m_type(type), m_exception(exception),
      m_callback(callback)
{
}

clsMiniDump::~clsMiniDump() = default;

DWORD clsMiniDump::ThreadMain()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        token = nullptr;
        DebugPrintfTimed(0, "ERROR: Unable to open process token.");
    } else {
        SetLastError(0);
        if (!SetDebugPrivilege(token, SE_PRIVILEGE_ENABLED))
            DebugPrintfTimed(0, "ERROR: Unable to adjust token privileges.");
    }
    BOOL result = FALSE;
    if (auto write = m_owner->Fn<MiniDumpWriteDumpFn>(DbgHelpFn::MiniDumpWriteDump))
        result = write(m_owner->m_process, m_owner->m_processId, m_file, m_type, m_exception, m_userStreams, m_callback);
    if (token) {
        SetLastError(0);
        if (!SetDebugPrivilege(token, 0))
            DebugPrintfTimed(0, "ERROR: Unable to adjust token privileges.");
        CloseHandle(token);
    }
    return (DWORD)result;
}

BOOL CALLBACK MyMiniDumpCallback(PVOID param, const PMINIDUMP_CALLBACK_INPUT input, PMINIDUMP_CALLBACK_OUTPUT)
{
    MiniDumpProgress* progress = static_cast<MiniDumpProgress*>(param);
    if (!progress || !input)
        return TRUE;
    String text;
    switch (input->CallbackType) {
    case ModuleCallback:
        progress->count++;
        text = FileNameWithExt(String(input->Module.FullPath));
        break;
    case ThreadCallback:
    case ThreadExCallback:
        progress->count++;
        text = String::Printf("Thread %d", (int)input->Thread.ThreadId);
        break;
    default:
        return TRUE;
    }
    // The dump's own texts replace the message (without the prefix).
    if (progress->window && progress->window->m_dialog)
        progress->window->m_dialog->Update(text, progress->count);
    return TRUE;
}
