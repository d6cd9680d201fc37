// The symbol-reader object of one crash report: dbghelp.dll bound at run time, the modules of
// the process with their symbols loaded, and the own readers for modules that carry DWARF data
// in an ELF container (appended to the image or in a ".sym" file beside it).
//
// Life: constructed (no library) -> Init: dbghelp.dll attached, SymInitialize done ->
// LoadModules: module list filled once -> destroyed (SymCleanup, records freed, library freed).
// Used under the symbol reader's lock, on the thread of the entry point (the minidump's writer
// thread uses it while that thread waits).
//
// The debug data of a module that the own readers opened stays open for the life of the object,
// with its lookup tables, so a trace of many frames reads and decodes each module's data once.
#pragma once

#include <windows.h>
#include <dbghelp.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "LateLoaders.h"
#include "String.h"
#include "clsModuleList.h"
#include "clsStackTraceList.h"

class clsDebugOutput;
class clsLengthyOpCond;
struct OwnDebugData;

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

    // One code address of this process resolved: symbol and undecorated names, displacement,
    // source file and line, module and its kind of symbols; the own readers (and the demangler)
    // for modules of which dbghelp knows nothing or only the exports. symbol is the caller's
    // buffer of sizeof(IMAGEHLP_SYMBOL64) + 1024 bytes. A new record owned by the caller; NULL
    // without memory.
    DBGStackTraceItem* GetStackTraceItem(BOOL isCall, uint64_t address, IMAGEHLP_SYMBOL64* symbol);
    // The stack of the context (a thread of this process), at most frameLimit frames, each frame
    // followed by the callee of its call. The list (one reference for the caller) is set before
    // the walk. S_OK with items, S_FALSE empty, E_FAIL without a list.
    HRESULT GetStackTraceList(CONTEXT* context, int frameLimit, IDBGStackTraceList** list);
    // A copy of the loaded modules' records, independent of this object. S_OK, or E_FAIL without
    // a list.
    HRESULT GetModuleList(IDBGModuleList** list);
    // A minidump of this process into a new file at path: on the calling thread with the
    // exception, which names exceptionThread (0: the thread that created this object; a report
    // written on a helper thread names the thread that met the exception), else on a helper thread
    // with the debug privilege switched on. S_OK; E_FAIL when dbghelp has no writer or it fails;
    // E_UNEXPECTED when the file cannot be created.
    long WriteMiniDump(const String& path, MINIDUMP_TYPE type, EXCEPTION_POINTERS* exception,
                       DWORD exceptionThread = 0);
    // The calling thread's stack (at most depth frames) in the crash report's form through the
    // sink; false when no symbol reader or no trace can be had.
    static bool DumpStackTraceEx(int depth, clsDebugOutput& sink);

    // The kind text of a dbghelp symbol type in the module list ("-unknown-" for other values)
    // and in stack traces (empty for other values).
    static const char* SymTypeText(int symType);
    static const char* TraceSymTypeText(int symType);
    // Reports p percent of the current step to the progress window (if any).
    void ReportProgress(int p);
    // Starts step `step` of `steps` of the progress window (if any) with a text, or at position 0
    // without one.
    void ProgressStep(int step, int steps, const char* text);

    HANDLE m_process;
    DWORD m_processId;
    HANDLE m_thread;
    DWORD m_threadId;
    clsLengthyOpCond* m_progress = nullptr;
    String m_currentModule;
    bool m_initialised = false;
    clsModuleList m_modules;

private:
    // The own readers' data of a module by image path (NULL entries: no usable data).
    OwnDebugData* OwnData(const char* imagePath);
    std::map<std::string, std::unique_ptr<OwnDebugData>> m_ownData;
};

// Copies at most size - 1 characters, fills the rest of the field with zeros and always
// terminates (size 0 writes nothing).
void StrNCopyZ(char* destination, const char* source, size_t size);

// The readable text of a function name from the own readers: the demangled rendering when the
// name is decorated ("W?..."), else false and nothing written. out gets at most size - 1
// characters.
bool DemangleOwnName(const char* name, char* out, size_t size);
