// The loaders of the libraries the symbol reader binds at run time: each is a table of function
// names with their argument bytes over CLateLoadBase. The index enums give the slot order.
#pragma once

#include "CLateLoadBase.h"

// dbghelp.dll: the module is attached by clsDBGHELP::Init, never loaded here.
namespace DbgHelpFn {
enum {
    StackWalk64, UnDecorateSymbolName, SymGetOptions, SymSetOptions, SymInitialize, SymCleanup,
    SymGetSymFromAddr64, SymGetLineFromAddr64, SymGetModuleBase64, SymGetModuleInfo64,
    SymFunctionTableAccess64, SymLoadModule64, SymRegisterCallback64, EnumerateLoadedModules64,
    MiniDumpWriteDump, Count
};
extern const LateLoadName kNames[Count];
} // namespace DbgHelpFn

class clsLLDBGHELP : public CLateLoadTable<DbgHelpFn::Count> {
public:
    clsLLDBGHELP() : CLateLoadTable(nullptr, false, DbgHelpFn::kNames) {}
};

// The outside controls library: the module is attached by the progress window.
namespace CtlFn {
enum { CtlCreateObject, CtlJobOpen, CtlJobClose, Count };
extern const LateLoadName kNames[Count];
} // namespace CtlFn

class clsCTL : public CLateLoadTable<CtlFn::Count> {
public:
    clsCTL() : CLateLoadTable(nullptr, false, CtlFn::kNames) {}
};

// Tool help, from "tlhelp32" or from "kernel32", loaded at construction.
namespace Toolhelp32Fn {
enum { CreateToolhelp32Snapshot, Module32First, Module32Next, Count };
extern const LateLoadName kNames[Count];
} // namespace Toolhelp32Fn

class clsToolhelp32 : public CLateLoadTable<Toolhelp32Fn::Count> {
public:
    explicit clsToolhelp32(const char* fileName = "tlhelp32") : CLateLoadTable(fileName, true, Toolhelp32Fn::kNames) {}
};

class clsToolhelp32K : public clsToolhelp32 {
public:
    clsToolhelp32K() : clsToolhelp32("kernel32") {}
};

// Process status functions from "psapi", loaded at construction.
namespace PsapiFn {
enum { EnumModules, ModuleFileName, ModuleBaseName, ModuleInformation, Count };
extern const LateLoadName kNames[Count];
} // namespace PsapiFn

class clsPSAPI : public CLateLoadTable<PsapiFn::Count> {
public:
    clsPSAPI() : CLateLoadTable("psapi", true, PsapiFn::kNames) {}
};
