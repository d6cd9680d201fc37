// The helper thread that writes a minidump without exception information: it switches the
// process's debug privilege on for the time of the call, so that dbghelp can read every thread
// of the process, and answers the BOOL result of MiniDumpWriteDump as its exit code.
#pragma once

#include <windows.h>
#include <dbghelp.h>

#include "clsThreadBase.h"

class clsDBGHELP;

class clsMiniDump : public clsThreadBase {
public:
    clsMiniDump(clsDBGHELP& owner, HANDLE file, MINIDUMP_TYPE type, MINIDUMP_EXCEPTION_INFORMATION* exception,
                MINIDUMP_CALLBACK_INFORMATION* callback);
    ~clsMiniDump() override;

protected:
    DWORD ThreadMain() override;

private:
    clsDBGHELP* m_owner;
    HANDLE m_file;
    MINIDUMP_TYPE m_type;
    MINIDUMP_EXCEPTION_INFORMATION* m_exception;
    MINIDUMP_USER_STREAM_INFORMATION* m_userStreams = nullptr;
    MINIDUMP_CALLBACK_INFORMATION* m_callback;
};

// The progress record of one dump: the owner's progress window and a running count.
struct MiniDumpProgress {
    class clsLengthyOpCond* window;
    int count;
};

// The dump writer's callback: module and thread callbacks count and show the module's file name
// or "Thread <id>" in the progress window; always TRUE, the output record untouched.
BOOL CALLBACK MyMiniDumpCallback(PVOID param, const PMINIDUMP_CALLBACK_INPUT input, PMINIDUMP_CALLBACK_OUTPUT output);
