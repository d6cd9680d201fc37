#include "LateLoaders.h"

const LateLoadName DbgHelpFn::kNames[DbgHelpFn::Count] = {
    {"StackWalk64", 36}, {"UnDecorateSymbolName", 16}, {"SymGetOptions", 0}, {"SymSetOptions", 4},
    {"SymInitialize", 12}, {"SymCleanup", 4}, {"SymGetSymFromAddr64", 16}, {"SymGetLineFromAddr64", 16},
    {"SymGetModuleBase64", 8}, {"SymGetModuleInfo64", 12}, {"SymFunctionTableAccess64", 8},
    {"SymLoadModule64", 24}, {"SymRegisterCallback64", 12}, {"EnumerateLoadedModules64", 12},
    {"MiniDumpWriteDump", 28},
};

const LateLoadName CtlFn::kNames[CtlFn::Count] = {{"CtlCreateObject", 8}, {"CtlJobOpen", 0}, {"CtlJobClose", 0}};

const LateLoadName Toolhelp32Fn::kNames[Toolhelp32Fn::Count] = {
    {"CreateToolhelp32Snapshot", 8}, {"Module32First", 8}, {"Module32Next", 8}};

const LateLoadName PsapiFn::kNames[PsapiFn::Count] = {
    {"EnumProcessModules", 16}, {"GetModuleFileNameEx", 16}, {"GetModuleBaseName", 16}, {"GetModuleInformation", 16}};
