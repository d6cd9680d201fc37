#include "clsDBGHELP.h"

#include <tlhelp32.h>
#include <psapi.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "CallSite.h"
#include "DBGHelpEntryPoints.h"
#include "Demangler.h"
#include "DwarfIndex.h"
#include "DwarfLookup.h"
#include "FileNames.h"
#include "PathHelpers.h"
#include "StackTraceText.h"
#include "VersionInfo.h"
#include "clsAutoRelease.h"
#include "clsElfImage.h"
#include "clsFileRW.h"
#include "clsLengthyOpCond.h"
#include "clsMiniDump.h"
#include "DebugOutput.h"

namespace {

// dbghelp hands the user context back as a 64-bit value: the whole object address travels in it.
BOOL CALLBACK MySymbolCallback(HANDLE, ULONG action, ULONG64 data, ULONG64 context)
{
    clsDBGHELP* self = reinterpret_cast<clsDBGHELP*>(static_cast<uintptr_t>(context));
    return self ? self->SymbolCallback(action, data) : FALSE;
}

struct EnumContext {
    bool countOnly = true;
    int index = 0;
    int count = 0;
    clsDBGHELP* help = nullptr;
};

BOOL CALLBACK MyEnumerateModules(PCSTR moduleName, DWORD64 base, ULONG size, PVOID context)
{
    EnumContext* ctx = static_cast<EnumContext*>(context);
    if (ctx->countOnly) {
        ctx->count++;
        return TRUE;
    }
    ctx->help->LoadModule(FileNameWithExt(moduleName), base, size);
    ctx->index++;
    ctx->help->ReportProgress(MulDiv(100, ctx->index, ctx->count));
    return TRUE;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// An environment value that fits the 1,024-byte buffer, else nothing.
bool Environment(const char* name, char (&buffer)[1024])
{
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return n > 0 && n < sizeof buffer;
}

} // namespace

clsDBGHELP::clsDBGHELP()
    : m_process(GetCurrentProcess()), m_processId(GetCurrentProcessId()), m_thread(GetCurrentThread()),
      m_threadId(GetCurrentThreadId())
{
}

clsDBGHELP::~clsDBGHELP()
{
    if (m_initialised) {
        if (auto cleanup = Fn<BOOL(WINAPI*)(HANDLE)>(DbgHelpFn::SymCleanup))
            cleanup(m_process);
    }
    m_modules.Clear();
}

HMODULE clsDBGHELP::LoadDbgHelp(const char* programPath, std::string* tried)
{
    auto load = [&](const std::string& name) {
        if (tried)
            *tried += name + ";";
        return LoadLibraryA(name.c_str());
    };
    HMODULE module = nullptr;
    // A ".local" beside the program: the loader's redirection supplies the program's own copy.
    if (programPath && !FileExists(std::string(programPath) + ".local")) {
        // A 64-bit process can only use the 64-bit library: its directory comes first.
        static const char* const dirs[] = {"\\Debugging Tools for Windows 64-Bit\\dbghelp.dll",
                                           "\\Debugging Tools for Windows\\dbghelp.dll"};
        for (const char* dir : dirs) {
            char programFiles[4096];
            DWORD n = GetEnvironmentVariableA("ProgramFiles", programFiles, sizeof programFiles);
            if (n == 0 || n >= sizeof programFiles)
                break;
            SafeStrCat(programFiles, dir, sizeof programFiles);
            if (FileExists(programFiles))
                module = load(programFiles);
            if (module)
                return module;
        }
    }
    return load("dbghelp.dll");
}

std::string clsDBGHELP::ComposeSymbolPath()
{
    std::vector<char> path(4096, 0);
    char value[1024];
    auto add = [&](const char* text) { SafeStrCat(path.data(), text, path.size()); };
    add(".;");
    DWORD n = GetCurrentDirectoryA(sizeof value, value);
    if (n > 0 && n < sizeof value) {
        add(value);
        add(";");
    }
    n = GetModuleFileNameA(NULL, value, sizeof value);
    if (n > 0 && n < sizeof value) {
        char* cut = nullptr;
        for (char* p = value; *p; p = CharNextA(p))
            if (*p == '\\' || *p == '/' || *p == ':')
                cut = p;
        if (cut) {
            *cut = 0;
            if (value[0]) {
                add(value);
                add(";");
            }
        }
    }
    if (Environment("_NT_SYMBOL_PATH", value)) {
        add(value);
        add(";");
    }
    if (Environment("_NT_ALTERNATE_SYMBOL_PATH", value)) {
        add(value);
        add(";");
    }
    if (Environment("SYSTEMROOT", value)) {
        add(value);
        add(";");
        add(value);
        add("\\system32;");
    }
    if (Environment("TEMP", value)) {
        add("SRV*");
        add(value);
        add("\\websymbols*https://msdl.microsoft.com/download/symbols;");
    }
    return path.data();
}

bool clsDBGHELP::Init(unsigned char options)
{
    if (m_module || m_initialised)
        return true;
    char program[4096];
    DWORD n = GetModuleFileNameA(NULL, program, sizeof program);
    HMODULE module = LoadDbgHelp(n > 0 && n < sizeof program ? program : nullptr, nullptr);
    if (!module)
        return false;
    Attach(module);

    std::string path;
    if (options & 1)
        path = ComposeSymbolPath();
    auto initialize = Fn<BOOL(WINAPI*)(HANDLE, PCSTR, BOOL)>(DbgHelpFn::SymInitialize);
    if (!initialize || !initialize(m_process, (options & 1) ? path.c_str() : nullptr, FALSE))
        return false;
    m_initialised = true;
    if (auto registerCallback =
            Fn<BOOL(WINAPI*)(HANDLE, PSYMBOL_REGISTERED_CALLBACK64, ULONG64)>(DbgHelpFn::SymRegisterCallback64))
        registerCallback(m_process, MySymbolCallback, static_cast<ULONG64>(reinterpret_cast<uintptr_t>(this)));
    auto getOptions = Fn<DWORD(WINAPI*)()>(DbgHelpFn::SymGetOptions);
    DWORD current = getOptions ? getOptions() : 0;
    if (auto setOptions = Fn<DWORD(WINAPI*)(DWORD)>(DbgHelpFn::SymSetOptions))
        setOptions(current | 0x80000290);
    return true;
}

BOOL clsDBGHELP::SymbolCallback(ULONG action, ULONG64 data)
{
    switch (action) {
    case CBA_DEFERRED_SYMBOL_LOAD_START: {
        auto* load = reinterpret_cast<IMAGEHLP_DEFERRED_SYMBOL_LOAD64*>(static_cast<uintptr_t>(data));
        m_currentModule = FileNameWithExt(load ? load->FileName : nullptr);
        if (m_progress)
            m_progress->ShowText(m_currentModule);
        break;
    }
    case CBA_DEFERRED_SYMBOL_LOAD_COMPLETE:
        m_currentModule.Empty();
        if (m_progress)
            m_progress->ShowText("");
        break;
    case CBA_DEBUG_INFO: {
        const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(data));
        if (m_progress) {
            if (m_currentModule.GetLength())
                m_progress->ShowText(m_currentModule + ":\r\n" + (text ? text : ""));
            else
                m_progress->ShowText(text);
        }
        break;
    }
    }
    return FALSE;
}

void clsDBGHELP::ReportProgress(int p)
{
    if (m_progress && p >= 0)
        m_progress->ReportPosition(p);
}

bool clsDBGHELP::LoadModules(HANDLE process, DWORD processId)
{
    if (m_modules.Count())
        return true;
    // A method that fails midway leaves no records behind for the next one.
    if (GetModuleListDBGHelp(process, processId))
        return true;
    m_modules.Clear();
    if (GetModuleListTH32(process, processId))
        return true;
    m_modules.Clear();
    if (GetModuleListPSAPI(process, processId))
        return true;
    m_modules.Clear();
    return false;
}

bool clsDBGHELP::GetModuleListDBGHelp(HANDLE process, DWORD)
{
    EnumContext ctx;
    ctx.help = this;
    auto enumerate = Fn<BOOL(WINAPI*)(HANDLE, PENUMLOADED_MODULES_CALLBACK64, PVOID)>(DbgHelpFn::EnumerateLoadedModules64);
    if (!enumerate || !enumerate(process, MyEnumerateModules, &ctx))
        return false;
    ctx.countOnly = false;
    return enumerate(process, MyEnumerateModules, &ctx) != FALSE;
}

bool clsDBGHELP::GetModuleListTH32(HANDLE process, DWORD processId)
{
    clsToolhelp32 toolhelp;
    clsToolhelp32K kernel;
    using Snapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using Walk = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
    clsToolhelp32* use = toolhelp.Fn<Snapshot>(Toolhelp32Fn::CreateToolhelp32Snapshot) ? &toolhelp
                         : kernel.Fn<Snapshot>(Toolhelp32Fn::CreateToolhelp32Snapshot) ? static_cast<clsToolhelp32*>(&kernel)
                                                                                         : nullptr;
    // Without the snapshot function the method failed, so that the process-status method runs.
    if (!use)
        return false;
    HANDLE snapshot = use->Fn<Snapshot>(Toolhelp32Fn::CreateToolhelp32Snapshot)(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    Walk first = use->Fn<Walk>(Toolhelp32Fn::Module32First);
    Walk next = use->Fn<Walk>(Toolhelp32Fn::Module32Next);
    MODULEENTRY32 entry;
    int count = 0;
    entry.dwSize = sizeof entry;
    for (BOOL ok = first && first(snapshot, &entry); ok; ok = next && next(snapshot, &entry))
        count++;
    int index = 0;
    entry.dwSize = sizeof entry;
    for (BOOL ok = first && first(snapshot, &entry); ok; ok = next && next(snapshot, &entry)) {
        LoadModule(process, entry.szExePath, entry.szModule, reinterpret_cast<uintptr_t>(entry.modBaseAddr),
                   entry.modBaseSize);
        index++;
        ReportProgress(MulDiv(100, index, count));
    }
    CloseHandle(snapshot);
    return true;
}

bool clsDBGHELP::GetModuleListPSAPI(HANDLE process, DWORD)
{
    clsPSAPI psapi;
    auto enumerate = psapi.Fn<BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*)>(PsapiFn::EnumModules);
    DWORD needed = 0;
    if (!enumerate || !enumerate(process, nullptr, 0, &needed))
        return false;
    std::vector<HMODULE> modules(needed / sizeof(HMODULE));
    DWORD needed2 = 0;
    if (!enumerate(process, modules.data(), (DWORD)(modules.size() * sizeof(HMODULE)), &needed2))
        return false;
    int n = (int)(std::min<DWORD>(needed, needed2) / sizeof(HMODULE));
    auto info = psapi.Fn<BOOL(WINAPI*)(HANDLE, HMODULE, MODULEINFO*, DWORD)>(PsapiFn::ModuleInformation);
    auto fileName = psapi.Fn<DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD)>(PsapiFn::ModuleFileName);
    auto baseName = psapi.Fn<DWORD(WINAPI*)(HANDLE, HMODULE, char*, DWORD)>(PsapiFn::ModuleBaseName);
    for (int i = 0; i < n; i++) {
        MODULEINFO mi = {};
        char path[260] = "", name[260] = "";
        if (info)
            info(process, modules[i], &mi, sizeof mi);
        if (fileName)
            fileName(process, modules[i], path, sizeof path);
        if (baseName)
            baseName(process, modules[i], name, sizeof name);
        LoadModule(process, path, name, reinterpret_cast<uintptr_t>(mi.lpBaseOfDll), mi.SizeOfImage);
        ReportProgress(MulDiv(100, i, n));
    }
    return true;
}

void clsDBGHELP::LoadModule(const char* moduleName, uint64_t base, DWORD size)
{
    // A name cut to the buffer would name another file.
    char path[260];
    const DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(static_cast<uintptr_t>(base)), path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return;
    LoadModule(m_process, path, moduleName, base, size);
}

const char* clsDBGHELP::SymTypeText(int symType)
{
    static const char* const texts[] = {"<no known symbols>", "COFF", "CV", "PDB", "<exported>",
                                        "<deferred>", "SYM", "DIA", "Virtual"};
    return symType >= 0 && symType < 9 ? texts[symType] : "-unknown-";
}

void clsDBGHELP::LoadModule(HANDLE process, const char* imagePath, const char* moduleName, uint64_t base, DWORD size)
{
    String description;
    String version = GetModuleVersion(imagePath, &description);
    String company = GetFileVersionString(imagePath, "CompanyName");

    // Our own modules may carry DWARF data in an ELF container; other makers' are not probed.
    bool own = false;
    if (strncmp(company, "velmar ", 7) == 0)
        own = clsElfImage::ReadElfData(imagePath, nullptr) ||
              clsElfImage::ReadElfData(clsElfImage::ChangeExtension(imagePath, ".sym").c_str(), nullptr);

    const char* kind = "-unknown-";
    if (auto load = Fn<DWORD64(WINAPI*)(HANDLE, HANDLE, PCSTR, PCSTR, DWORD64, DWORD)>(DbgHelpFn::SymLoadModule64)) {
        if (load(process, NULL, imagePath, moduleName, base, size)) {
            IMAGEHLP_MODULE64 info;
            GetModuleInfo(process, base, &info);
            kind = SymTypeText(info.SymType);
        }
    }
    if (own)
        kind = "DWARF";

    DBGModuleItem* item = new DBGModuleItem;
    memset(item, 0, sizeof *item);
    item->cbSize = sizeof *item;
    SafeStrCopy(item->szImagePath, imagePath ? imagePath : "", sizeof item->szImagePath);
    SafeStrCopy(item->szModuleName, moduleName ? moduleName : "", sizeof item->szModuleName);
    SafeStrCopy(item->szSymType, kind, sizeof item->szSymType);
    item->dwModuleBase = (DWORD)base;
    item->qwModuleBase = base;
    item->dwImageSize = size;
    SafeStrCopy(item->szFileVersion, version, sizeof item->szFileVersion);
    SafeStrCopy(item->szCompanyName, company, sizeof item->szCompanyName);
    SafeStrCopy(item->szFileDescription, description, sizeof item->szFileDescription);
    m_modules.Insert(item);
}

bool clsDBGHELP::GetModuleInfo(HANDLE process, uint64_t address, IMAGEHLP_MODULE64* out)
{
    const DWORD kSize = 584; // the record form this reader asks for (up to LoadedImageName)
    memset(out, 0, sizeof *out);
    out->SizeOfStruct = kSize;
    std::vector<char> scratch(4096, 0);
    memcpy(scratch.data(), out, kSize);

    // The module of an address is the allocation its page belongs to.
    MEMORY_BASIC_INFORMATION region = {};
    bool haveRegion = VirtualQuery(reinterpret_cast<void*>(static_cast<uintptr_t>(address)), &region, sizeof region) ==
                      sizeof region;
    HMODULE module = haveRegion ? static_cast<HMODULE>(region.AllocationBase) : nullptr;

    auto get = Fn<BOOL(WINAPI*)(HANDLE, DWORD64, PIMAGEHLP_MODULE64)>(DbgHelpFn::SymGetModuleInfo64);
    if (get && get(process, address, reinterpret_cast<PIMAGEHLP_MODULE64>(scratch.data()))) {
        memcpy(out, scratch.data(), kSize);
        if (out->ModuleName[0])
            return true;
        if (!module || !GetModuleFileNameA(module, out->LoadedImageName, 256))
            return true;
    } else if (!module || !GetModuleFileNameA(module, out->LoadedImageName, 256)) {
        SetLastError(1114);
        return false;
    }
    SafeStrCopy(out->ModuleName, FileNameWithoutExt(out->LoadedImageName), 32);
    out->SymType = SymNone;
    out->BaseOfImage = reinterpret_cast<uintptr_t>(module);
    return true;
}

// The own readers' data of one module, read once per object, with its lookup tables (built by
// the lookups as they need them).
struct OwnDebugData {
    clsElfImage image;
    std::unique_ptr<DwarfIndex> index;
    uint64_t preferredBase = 0;
    bool hasPreferredBase = false;
    bool pubnamesAccepted = true;
};

OwnDebugData* clsDBGHELP::OwnData(const char* imagePath)
{
    try {
        std::string key = imagePath ? imagePath : "";
        auto found = m_ownData.find(key);
        if (found != m_ownData.end())
            return found->second.get();
        std::unique_ptr<OwnDebugData> data(new OwnDebugData);
        if (data->image.Open(imagePath)) {
            data->index.reset(new DwarfIndex(data->image));
            data->hasPreferredBase = clsElfImage::ReadPreferredImageBase(imagePath, data->preferredBase);
            data->pubnamesAccepted = DwarfPubnamesAccepted(data->image);
        } else {
            data.reset(); // remembered as a module without usable data
        }
        OwnDebugData* result = data.get();
        m_ownData.emplace(key, std::move(data));
        return result;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool clsDBGHELP::GetOwnSymbolInfo(const char* imagePath, uint64_t address, String& file, int& line, String& function,
                                  uint32_t& displacement)
{
    HMODULE module = GetModuleHandleA(imagePath);
    if (!module)
        return false;
    OwnDebugData* data = OwnData(imagePath);
    if (!data)
        return false;
    uint64_t base = reinterpret_cast<uintptr_t>(module);
    uint64_t preferred = data->hasPreferredBase ? data->preferredBase : base;
    DwarfQuery query;
    query.legacy = address - base - 0x1000; // the old producer: offsets from the code at 0x1000
    query.va = address - base + preferred;  // our build: addresses at the preferred image base
    std::string name, source;
    uint32_t disp = 0;
    int row = 0;
    if (data->index->FindFunction(query, name, disp)) {
        function = name.c_str();
        displacement = disp;
    }
    if (data->index->FindLine(query, source, row)) {
        file = source.c_str();
        line = row;
    }
    return data->pubnamesAccepted;
}

// ---- symbol and line lookup --------------------------------------------------------------------

void StrNCopyZ(char* destination, const char* source, size_t size)
{
    if (!size)
        return;
    size_t n = source ? strnlen(source, size - 1) : 0;
    memcpy(destination, source ? source : "", n);
    memset(destination + n, 0, size - n);
}

bool DemangleOwnName(const char* name, char* out, size_t size)
{
    if (!name || !IsMangledName(name) || !size)
        return false;
    // The length query counts every character but not the terminator: the buffer needs one more.
    size_t length = DemangleName(name, 0, nullptr, 0);
    if (length < 1 || length >= 2000)
        return false;
    std::unique_ptr<char[]> text(new (std::nothrow) char[length + 1]);
    if (!text)
        return false;
    DemangleName(name, 0, text.get(), length + 1);
    StrNCopyZ(out, text.get(), size);
    return true;
}

const char* clsDBGHELP::TraceSymTypeText(int symType)
{
    return symType >= 0 && symType < 9 ? SymTypeText(symType) : "";
}

DBGStackTraceItem* clsDBGHELP::GetStackTraceItem(BOOL isCall, uint64_t address, IMAGEHLP_SYMBOL64* symbol)
{
    DBGStackTraceItem* item = new (std::nothrow) DBGStackTraceItem;
    if (!item)
        return nullptr;
    memset(item, 0, sizeof *item);
    item->cbSize = sizeof *item;
    item->bIsCall = isCall;
    item->qwAddress = address;
    item->nParams = 4;
    if (!address)
        return item;

    const DWORD kNameLength = 1024;
    if (auto getSymbol = Fn<BOOL(WINAPI*)(HANDLE, DWORD64, PDWORD64, PIMAGEHLP_SYMBOL64)>(DbgHelpFn::SymGetSymFromAddr64)) {
        memset(symbol, 0, sizeof *symbol + kNameLength);
        symbol->SizeOfStruct = sizeof *symbol;
        symbol->MaxNameLength = kNameLength;
        DWORD64 displacement = 0;
        if (getSymbol(m_process, address, &displacement, symbol)) {
            item->qwDisplacement = displacement;
            StrNCopyZ(item->szSymbol, symbol->Name, sizeof item->szSymbol);
            if (auto undecorate = Fn<DWORD(WINAPI*)(PCSTR, PSTR, DWORD, DWORD)>(DbgHelpFn::UnDecorateSymbolName)) {
                if (!undecorate(item->szSymbol, item->szUndName, sizeof item->szUndName, UNDNAME_NAME_ONLY))
                    item->szUndName[0] = 0;
                if (!undecorate(item->szSymbol, item->szUndFullName, sizeof item->szUndFullName, UNDNAME_COMPLETE))
                    item->szUndFullName[0] = 0;
            }
        } else {
            item->qwDisplacement = 0;
        }
    }
    if (auto getLine = Fn<BOOL(WINAPI*)(HANDLE, DWORD64, PDWORD, PIMAGEHLP_LINE64)>(DbgHelpFn::SymGetLineFromAddr64)) {
        IMAGEHLP_LINE64 lineRecord;
        memset(&lineRecord, 0, sizeof lineRecord);
        lineRecord.SizeOfStruct = sizeof lineRecord; // 40 on x64; the 32-bit size is refused
        DWORD lineDisplacement = 0;
        if (getLine(m_process, address, &lineDisplacement, &lineRecord)) {
            item->dwLineDisplacement = lineDisplacement;
            item->dwLineNumber = lineRecord.LineNumber;
            StrNCopyZ(item->szFileName, lineRecord.FileName, sizeof item->szFileName);
        }
    }

    IMAGEHLP_MODULE64 module;
    if (!GetModuleInfo(m_process, address, &module))
        return item;
    StrNCopyZ(item->szSymType, TraceSymTypeText(module.SymType), sizeof item->szSymType);
    StrNCopyZ(item->szModuleName, module.ModuleName, sizeof item->szModuleName);
    item->dwModuleBase = (DWORD)module.BaseOfImage;
    item->qwModuleBase = module.BaseOfImage;

    // Modules of which dbghelp knows nothing or only the exports: the own readers.
    if (module.SymType != SymNone && module.SymType != SymExport)
        return item;
    String file, function;
    int line = 0;
    uint32_t displacement = 0;
    if (!GetOwnSymbolInfo(module.LoadedImageName, address, file, line, function, displacement))
        return item;
    if (file.GetLength()) {
        StrNCopyZ(item->szFileName, file, sizeof item->szFileName);
        item->dwLineNumber = line;
    }
    if (function.GetLength()) {
        StrNCopyZ(item->szSymbol, function, sizeof item->szSymbol);
        item->szUndName[0] = 0;
        item->szUndFullName[0] = 0;
        item->qwDisplacement = displacement;
        DemangleOwnName(function, item->szUndName, sizeof item->szUndName);
    }
    return item;
}

// ---- stack walk --------------------------------------------------------------------------------

namespace {

// The memory reader of the walk: the whole 64-bit address.
BOOL CALLBACK MyReadProcessMemory(HANDLE process, DWORD64 address, PVOID buffer, DWORD size, LPDWORD read)
{
    SIZE_T done = 0;
    BOOL ok = ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<uintptr_t>(address)), buffer, size, &done);
    if (read)
        *read = (DWORD)done;
    return ok;
}

bool ReadMemory(HANDLE process, uint64_t address, void* out, size_t size)
{
    SIZE_T done = 0;
    return ReadProcessMemory(process, reinterpret_cast<LPCVOID>(static_cast<uintptr_t>(address)), out, size, &done) &&
           done == size;
}

// The four home slots of a frame's function: the 32 bytes at its caller's stack pointer, which the
// function fills only when it keeps its register arguments there (best effort).
void ReadParameters(HANDLE process, uint64_t homeArea, DBGStackTraceItem& item)
{
    for (int j = 0; j < 4; j++) {
        uint64_t value = 0;
        item.aParams[j].dwKind = 1;
        item.aParams[j].qwValue = ReadMemory(process, homeArea + 8 * (uint64_t)j, &value, sizeof value) ? value : 0;
    }
}

} // namespace

void clsDBGHELP::ProgressStep(int step, int steps, const char* text)
{
    if (!m_progress)
        return;
    m_progress->m_step = step;
    m_progress->m_steps = steps;
    if (text)
        m_progress->ShowText(text);
    else
        m_progress->ReportPosition(0);
}

HRESULT clsDBGHELP::GetStackTraceList(CONTEXT* context, int frameLimit, IDBGStackTraceList** list)
{
    if (!list)
        return E_FAIL;
    *list = nullptr;
    ProgressStep(1, 2, nullptr);
    LoadModules(m_process, m_processId);
    ProgressStep(2, 2, "Stack Trace:");

    clsStackTraceList* trace = new (std::nothrow) clsStackTraceList;
    if (!trace)
        return E_FAIL;
    if (FAILED(trace->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(list)))) {
        delete trace;
        return E_FAIL;
    }
    const size_t kSymbolBuffer = sizeof(IMAGEHLP_SYMBOL64) + 1024;
    std::unique_ptr<unsigned char[]> symbolBuffer(new (std::nothrow) unsigned char[kSymbolBuffer]);
    if (!symbolBuffer || !context)
        return trace->IsEmpty() ? S_FALSE : S_OK;
    IMAGEHLP_SYMBOL64* symbol = reinterpret_cast<IMAGEHLP_SYMBOL64*>(symbolBuffer.get());

    // The walk works on a copy; StackWalk64 unwinds it frame by frame.
    std::unique_ptr<CONTEXT> walkContext(new (std::nothrow) CONTEXT);
    if (!walkContext)
        return S_FALSE;
    *walkContext = *context;
    STACKFRAME64 frame;
    memset(&frame, 0, sizeof frame);
    frame.AddrPC.Offset = context->Rip;
    frame.AddrPC.Mode = AddrModeFlat;
    frame.AddrStack.Offset = context->Rsp;
    frame.AddrStack.Mode = AddrModeFlat;
    frame.AddrFrame.Offset = context->Rbp;
    frame.AddrFrame.Mode = AddrModeFlat;

    auto walk = Fn<BOOL(WINAPI*)(DWORD, HANDLE, HANDLE, LPSTACKFRAME64, PVOID, PREAD_PROCESS_MEMORY_ROUTINE64,
                                 PFUNCTION_TABLE_ACCESS_ROUTINE64, PGET_MODULE_BASE_ROUTINE64,
                                 PTRANSLATE_ADDRESS_ROUTINE64)>(DbgHelpFn::StackWalk64);
    auto tableAccess = Fn<PFUNCTION_TABLE_ACCESS_ROUTINE64>(DbgHelpFn::SymFunctionTableAccess64);
    auto moduleBase = Fn<PGET_MODULE_BASE_ROUTINE64>(DbgHelpFn::SymGetModuleBase64);
    const MemoryReader reader = [this](uint64_t address, void* out, size_t size) {
        return ReadMemory(m_process, address, out, size);
    };

    DBGStackTraceItem* previousFrame = nullptr;
    uint64_t previousStack = 0;
    for (int i = 0; walk && i < frameLimit; i++) {
        if (m_progress)
            m_progress->ShowText(String::Printf("Frame %d", i));
        if (!walk(IMAGE_FILE_MACHINE_AMD64, m_process, m_thread, &frame, walkContext.get(), MyReadProcessMemory,
                  tableAccess, moduleBase, nullptr))
            break;
        const uint64_t pc = frame.AddrPC.Offset, stack = frame.AddrStack.Offset;
        // The frame pointer means nothing in x64 code: the walk ends at a program counter of 0 or
        // at a stack pointer that does not grow (a walk that would go round in circles).
        if (!pc || (i > 0 && stack <= previousStack))
            break;
        // The previous frame's home slots lie at this frame's stack pointer.
        if (previousFrame)
            ReadParameters(m_process, stack, *previousFrame);
        DBGStackTraceItem* item = GetStackTraceItem(FALSE, pc, symbol);
        if (!item || !trace->Append(item))
            break;
        previousFrame = item;
        previousStack = stack;
        if (i > 0) {
            if (uint64_t callee = DecodeCallee(pc, walkContext->Rbp, reader)) {
                DBGStackTraceItem* call = GetStackTraceItem(TRUE, callee, symbol);
                if (call)
                    trace->Append(call);
            }
        }
        ReportProgress(MulDiv(100, i, frameLimit));
        if (!frame.AddrReturn.Offset)
            break;
    }
    return trace->IsEmpty() ? S_FALSE : S_OK;
}

HRESULT clsDBGHELP::GetModuleList(IDBGModuleList** list)
{
    if (!list)
        return E_FAIL;
    *list = nullptr;
    clsModuleList* copy = new (std::nothrow) clsModuleList;
    if (!copy)
        return E_FAIL;
    if (FAILED(copy->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(list)))) {
        delete copy;
        return E_FAIL;
    }
    if (!LoadModules(m_process, m_processId))
        return S_OK;
    for (size_t i = 0; i < m_modules.Count(); i++) {
        DBGModuleItem* item = new (std::nothrow) DBGModuleItem;
        if (!item)
            continue;
        *item = *m_modules.At(i);
        copy->Append(item);
    }
    copy->Reset();
    return S_OK;
}

// ---- minidumps ---------------------------------------------------------------------------------

long clsDBGHELP::WriteMiniDump(const String& path, MINIDUMP_TYPE type, EXCEPTION_POINTERS* exception,
                               DWORD exceptionThread)
{
    clsFileRW file(path, 2, 2, 0, clsFile::kNormal | clsFile::kSequentialScan);
    if (!file.IsOpen()) {
        DebugPrintf("DBGHELP::WriteMiniDump(): error creating dump file: %s", (const char*)file.GetErrorText());
        return E_UNEXPECTED;
    }
    MiniDumpProgress progress = {m_progress, 0};
    MINIDUMP_CALLBACK_INFORMATION callback = {MyMiniDumpCallback, &progress};
    MINIDUMP_EXCEPTION_INFORMATION exceptionInfo = {exceptionThread ? exceptionThread : m_threadId, exception, FALSE};
    BOOL written = FALSE;
    if (exception) {
        using Write = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                    PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);
        if (auto write = Fn<Write>(DbgHelpFn::MiniDumpWriteDump))
            written = write(m_process, m_processId, file.GetHandle(), type, &exceptionInfo, nullptr, &callback);
    } else {
        clsMiniDump writer(*this, file.GetHandle(), type, nullptr, &callback);
        writer.ThreadStart(THREAD_PRIORITY_NORMAL);
        DWORD code = 0;
        if (writer.ThreadHandle())
            WaitForSingleObject(writer.ThreadHandle(), INFINITE);
        if (writer.GetExitCode(&code))
            written = code != 0;
        writer.ThreadStop(false, INFINITE);
    }
    return written ? S_OK : E_FAIL;
}

// ---- debug traces ------------------------------------------------------------------------------

bool clsDBGHELP::DumpStackTraceEx(int depth, clsDebugOutput& sink)
{
    CONTEXT context;
    RtlCaptureContext(&context);
    clsDBGHELP* help = DBGHelpCreate();
    if (!help)
        return false;
    // As the option object of a debug trace answers: a window with the default texts.
    DBGProgressInfo progress = {1, 0, nullptr, nullptr, 1};
    bool written = false;
    {
        clsAutoRelease<IDBGStackTraceList> list;
        if (DBGHelpGetStackTraceList(help, &context, depth, &list.m_ptr, &progress)) {
            WriteStackTrace(list, sink);
            written = true;
        }
    }
    DBGHelpRelease(help);
    return written;
}
