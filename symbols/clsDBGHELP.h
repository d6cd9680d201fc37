// The symbol-reader object of one crash report: dbghelp.dll bound at run time, the modules of
// the process with their symbols loaded, and the own readers for modules that carry DWARF data
// in an ELF container (appended to the image or in a ".sym" file beside it).
//
// Life: constructed (no library) -> Init: dbghelp.dll attached, SymInitialize done ->
// LoadModules: module list filled once -> destroyed (SymCleanup, records freed, library freed).
// Used under the symbol reader's lock, on the thread of the entry point.
#pragma once

#include <windows.h>
#include <dbghelp.h>

#include <cstdint>
#include <string>

#include "LateLoaders.h"
#include "String.h"
#include "clsModuleList.h"

class clsLengthyOpCond;

class clsDBGHELP : public clsLLDBGHELP {
public:
    clsDBGHELP();
    virtual ~clsDBGHELP();

    // Finds and loads dbghelp.dll, initialises it, registers the symbol callback and sets the
    // options. Option bit 0: a composed symbol search path.
    bool Init(unsigned char options);

    // The candidates in search order for a program path (the ".local" check included) and the
    // environment; LoadDbgHelp loads the first that exists (the plain name always last).
    static std::string CandidateList(const char* programPath);
    static HMODULE LoadDbgHelp(const char* programPath, std::string* tried);
    // The composed search path of option bit 0 (within 4,096 bytes).
    static std::string ComposeSymbolPath();

    // The symbol callback's work: progress texts and the current module name; always FALSE.
    BOOL SymbolCallback(ULONG action, ULONG64 data);

    // Modules: once per object, by the first method that works.
    bool LoadModules(HANDLE process, DWORD processId);
    bool GetModuleListDBGHelp(HANDLE process, DWORD processId);
    bool GetModuleListTH32(HANDLE process, DWORD processId);
    bool GetModuleListPSAPI(HANDLE process, DWORD processId);
    // Enumeration form: finds the module's file from its base.
    void LoadModule(const char* moduleName, uint64_t base, DWORD size);
    void LoadModule(HANDLE process, const char* imagePath, const char* moduleName, uint64_t base, DWORD size);
    bool GetModuleInfo(HANDLE process, uint64_t address, IMAGEHLP_MODULE64* out);

    // The own readers: function, displacement, file and line of an address in a module loaded in
    // this process whose debug data is in an ELF container.
    bool GetOwnSymbolInfo(const char* imagePath, uint64_t address, String& file, int& line, String& function,
                          uint32_t& displacement);

    // The kind text of a dbghelp symbol type.
    static const char* SymTypeText(int symType);
    // Reports p percent of the current step to the progress window (if any).
    void ReportProgress(int p);

    HANDLE m_process;
    DWORD m_processId;
    HANDLE m_thread;
    DWORD m_threadId;
    clsLengthyOpCond* m_progress = nullptr;
    String m_currentModule;
    bool m_initialised = false;
    clsModuleList m_modules;
};
