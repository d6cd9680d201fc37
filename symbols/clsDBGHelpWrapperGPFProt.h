// The symbol reader of one crash report: holds the clsDBGHELP of DBGHelpCreate (and with it the
// symbol reader's lock) for the report and releases it at the end; its progress request shows the
// window with the default texts, and stack traces have at most 100 frames. The database library
// installs Open as the crash report's reader factory when it is loaded.
#pragma once

#include "CrashSymbolReader.h"
#include "DBGHelp.h"

class clsDBGHELP;

class clsDBGHelpWrapperGPFProt : public clsCrashSymbolReader {
public:
    // The reader of one report; NULL when no clsDBGHELP can be had.
    static clsCrashSymbolReader* Open();
    ~clsDBGHelpWrapperGPFProt() override;

    bool WriteMiniDump(char* path, size_t size, EXCEPTION_POINTERS* exception, DWORD threadId) override;
    void LogModuleList(clsGPFProtection& frame) override;
    bool LogStackTrace(clsGPFProtection& frame, CONTEXT* context) override;

    static const int kFrameLimit = 100;

private:
    explicit clsDBGHelpWrapperGPFProt(clsDBGHELP* help);

    clsDBGHELP* m_help;
    DBGProgressInfo m_progress;
};
