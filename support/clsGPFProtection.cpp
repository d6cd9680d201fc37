#include "clsGPFProtection.h"

#include <cstdarg>
#include <cstring>
#include <initializer_list>
#include <new>

#include "CrashReport.h"
#include "DebugOutput.h"
#include "PathHelpers.h"
#include "PrintfFormat.h"
#include "StackWalk.h"
#include "clsCrit.h"
#include "clsLibInfo.h"

namespace {

enum Decision { kUndecided, kUsed, kNotUsed };

Decision s_decision = kUndecided;
DWORD s_tlsInnermost = TLS_OUT_OF_INDEXES;
DWORD s_tlsBusy = TLS_OUT_OF_INDEXES;
DWORD s_tlsSubject = TLS_OUT_OF_INDEXES; // helper threads: the CrashSubject they work for
PVOID s_vectoredHandler = nullptr;
clsCrit* s_crashLock = nullptr;
char s_systemDir[MAX_PATH];
size_t s_systemDirLength = 0;

const DWORD kBreakpoint = 0x80000003;

// Where a code address lies: inside a module of the system directory?
bool IsSystemAddress(uintptr_t address)
{
    if (!s_systemDirLength)
        return false;
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) != sizeof info ||
        info.State != MEM_COMMIT || info.Type != MEM_IMAGE)
        return false;
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(static_cast<HMODULE>(info.AllocationBase), path, sizeof path);
    return n > s_systemDirLength && _strnicmp(path, s_systemDir, s_systemDirLength) == 0 &&
           path[s_systemDirLength] == '\\';
}

// True when the exception arose in system code that will handle it itself: between the faulting
// instruction and the first frame outside the system modules lies a function with an exception
// handler, or an entry of the thread's own handler list (which Wine's code uses).
__attribute__((noinline)) bool HandledInsideSystem(const EXCEPTION_RECORD* record, const CONTEXT* context)
{
    if (!IsSystemAddress((uintptr_t)record->ExceptionAddress))
        return false;
    const CrashSubject subject = GetCrashSubject();
    uintptr_t low = subject.stackLow, high = subject.stackHigh;
    // The thread's own handler list (read only when the exception is the calling thread's).
    NT_TIB* tib = reinterpret_cast<NT_TIB*>(NtCurrentTeb());
    uintptr_t listHead = subject.threadId == GetCurrentThreadId() ? (uintptr_t)tib->ExceptionList : 0;
    CONTEXT c = *context;
    for (int depth = 0; depth < 64; ++depth) {
        uintptr_t rip = c.Rip, rsp = c.Rsp;
        if (rsp < low || rsp >= high || !IsSystemAddress(rip))
            return false;
        // Each unwind step reads only words of this thread's stack.
        void* handler = nullptr;
        if (!UnwindStackFrame(c, low, high, UNW_FLAG_EHANDLER, &handler, nullptr))
            return false;
        if (handler)
            return true;
        if (listHead && listHead != (uintptr_t)-1 && listHead >= context->Rsp && listHead < c.Rsp)
            return true;
        if (c.Rsp <= rsp)
            return false;
    }
    return false;
}

// The handler's work for one exception inside a frame: the frame's decision, unless system code
// handles the exception itself.
struct HandlerWork {
    EXCEPTION_RECORD* record;
    CONTEXT* context;
    clsGPFProtection* frame;
    LONG result;
};

__attribute__((noinline)) DWORD HandleInsideFrame(void* param)
{
    HandlerWork& work = *static_cast<HandlerWork*>(param);
    clsCrashWorkGuard busy;
    bool systemCode = (work.record->ExceptionCode & 0x3FFFFF00) == 0;
    if (!systemCode || !HandledInsideSystem(work.record, work.context)) {
        if (clsGPFProtection::StaticExceptionHandler(work.record, work.frame, work.context, nullptr) ==
            ExceptionContinueExecution)
            work.result = EXCEPTION_CONTINUE_EXECUTION;
    }
    return 0;
}

// The slot that tells a helper thread whom it works for, made at its first use.
DWORD SubjectSlot()
{
    const DWORD slot = (DWORD)InterlockedCompareExchange((LONG*)&s_tlsSubject, 0, 0);
    if (slot != TLS_OUT_OF_INDEXES)
        return slot;
    const DWORD fresh = TlsAlloc();
    if (fresh == TLS_OUT_OF_INDEXES)
        return fresh;
    const LONG before = InterlockedCompareExchange((LONG*)&s_tlsSubject, (LONG)fresh, (LONG)TLS_OUT_OF_INDEXES);
    if (before != (LONG)TLS_OUT_OF_INDEXES) {
        TlsFree(fresh);
        return (DWORD)before;
    }
    return fresh;
}

// The helper thread's work and the thread it works for.
struct HelperJob {
    CrashSubject subject;
    DWORD (*work)(void*);
    void* param;
};

DWORD WINAPI HelperMain(void* param)
{
    HelperJob& job = *static_cast<HelperJob*>(param);
    const DWORD slot = SubjectSlot();
    if (slot != TLS_OUT_OF_INDEXES)
        TlsSetValue(slot, &job.subject);
    return job.work(job.param);
}

// Kept small: after a stack overflow the handler runs on the little stack that is left, and the
// whole work goes to a helper thread at once.
LONG CALLBACK GPFVectoredHandler(EXCEPTION_POINTERS* info)
{
    DWORD lastError = GetLastError();
    HandlerWork work = {info->ExceptionRecord, info->ContextRecord, nullptr, EXCEPTION_CONTINUE_SEARCH};
    clsGPFProtection* frame = static_cast<clsGPFProtection*>(TlsGetValue(s_tlsInnermost));
    if (frame && !TlsGetValue(s_tlsBusy)) {
        // Frames below the faulting stack pointer belong to functions that are gone.
        while (frame && (uintptr_t)frame < work.context->Rsp)
            frame = frame->Outer();
        work.frame = frame;
        if (frame) {
            if (work.record->ExceptionCode != EXCEPTION_STACK_OVERFLOW)
                HandleInsideFrame(&work);
            else if (!RunForThisThread(&HandleInsideFrame, &work))
                work.result = EXCEPTION_CONTINUE_SEARCH;
        }
    }
    SetLastError(lastError);
    return work.result;
}

// A registry switch below root\SOFTWARE\velmar: present or not, and its first character.
bool ReadSwitchBelow(HKEY root, const char* name, char* first)
{
    *first = 0;
    HKEY key;
    if (RegOpenKeyExA(root, "SOFTWARE\\velmar", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[4096];
    DWORD size = sizeof value - 1, type = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return false;
    value[size < sizeof value ? size : sizeof value - 1] = 0;
    *first = value[0];
    return true;
}

bool Off(char first) { return first == 'F' || first == '0'; }

// Appends one line to the crash log; a log that is busy (another process writes its line) is
// tried again for a while, one that cannot be opened loses the line.
void AppendCrashLogLine(const char* text)
{
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100; ++attempt) {
        file = CreateFileA(GetCrashLogPath(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE)
        return;
    SetFilePointer(file, 0, nullptr, FILE_END);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char line[4097 + 400];
    int n = Format(line, sizeof line - 2, "%04u-%02u-%02u, %02u:%02u.%02u.%03u %s %s", now.wYear, now.wMonth, now.wDay,
                   now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, g_LibInfo.LibFileName(), text);
    size_t length = n < 0 ? 0 : (size_t)n < sizeof line - 2 ? (size_t)n : sizeof line - 3;
    line[length++] = '\r';
    line[length++] = '\n';
    DWORD written;
    WriteFile(file, line, (DWORD)length, &written, nullptr);
    CloseHandle(file);
}

} // namespace

bool ReadGPFSwitch(const char* name, char* first) { return ReadSwitchBelow(HKEY_CURRENT_USER, name, first); }

bool GPFHandlerWanted(HKEY root, bool debuggerAttached)
{
    char first;
    if (ReadSwitchBelow(root, "ForceUseGPFHandler", &first))
        return !Off(first);
    if (debuggerAttached)
        return false;
    if (ReadSwitchBelow(root, "UseGPFHandler", &first))
        return !Off(first);
    return true;
}

bool GPFHandlerInUse() { return s_decision == kUsed; }

bool GPFProtectionStaticInit()
{
    if (s_decision != kUndecided)
        return s_decision == kUsed;
    bool wanted = GPFHandlerWanted(HKEY_CURRENT_USER, IsDebuggerPresent() != FALSE);
    s_decision = kNotUsed;
    s_crashLock = new (std::nothrow) clsCrit();
    if (!wanted || !s_crashLock)
        return false;
    UINT n = GetSystemDirectoryA(s_systemDir, sizeof s_systemDir);
    s_systemDirLength = n < sizeof s_systemDir ? n : 0;
    s_tlsInnermost = TlsAlloc();
    s_tlsBusy = TlsAlloc();
    if (s_tlsInnermost == TLS_OUT_OF_INDEXES || s_tlsBusy == TLS_OUT_OF_INDEXES || SubjectSlot() == TLS_OUT_OF_INDEXES)
        return false;
    s_vectoredHandler = AddVectoredExceptionHandler(1, &GPFVectoredHandler);
    if (!s_vectoredHandler)
        return false;
    s_decision = kUsed;
    return true;
}

void GPFProtectionShutdown()
{
    if (s_vectoredHandler)
        RemoveVectoredExceptionHandler(s_vectoredHandler);
    s_vectoredHandler = nullptr;
    if (s_decision == kUsed)
        s_decision = kNotUsed;
    for (DWORD* slot : {&s_tlsInnermost, &s_tlsBusy, &s_tlsSubject}) {
        if (*slot != TLS_OUT_OF_INDEXES)
            TlsFree(*slot);
        *slot = TLS_OUT_OF_INDEXES;
    }
    delete s_crashLock;
    s_crashLock = nullptr;
}

CrashSubject GetCrashSubject()
{
    if (s_tlsSubject != TLS_OUT_OF_INDEXES)
        if (const CrashSubject* subject = static_cast<const CrashSubject*>(TlsGetValue(s_tlsSubject)))
            return *subject;
    NT_TIB* tib = reinterpret_cast<NT_TIB*>(NtCurrentTeb());
    return {GetCurrentThreadId(), (uintptr_t)tib->StackLimit, (uintptr_t)tib->StackBase};
}

bool RunForThisThread(DWORD (*work)(void*), void* param)
{
    HelperJob job = {GetCrashSubject(), work, param};
    HANDLE thread = CreateThread(nullptr, 256 * 1024, &HelperMain, &job, 0, nullptr);
    if (!thread)
        return false;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return true;
}

void CrashHandlerLock()
{
    if (s_crashLock)
        s_crashLock->Enter();
}

void CrashHandlerUnlock()
{
    if (s_crashLock)
        s_crashLock->Leave();
}

clsCrashWorkGuard::clsCrashWorkGuard()
    : m_previous(s_tlsBusy != TLS_OUT_OF_INDEXES ? TlsGetValue(s_tlsBusy) : nullptr)
{
    if (s_tlsBusy != TLS_OUT_OF_INDEXES)
        TlsSetValue(s_tlsBusy, reinterpret_cast<void*>(1));
}

clsCrashWorkGuard::~clsCrashWorkGuard()
{
    if (s_tlsBusy != TLS_OUT_OF_INDEXES)
        TlsSetValue(s_tlsBusy, m_previous);
}

const char* GetCrashLogPath()
{
    static char s_path[MAX_PATH + 16];
    static LONG s_ready = 0;
    if (InterlockedCompareExchange(&s_ready, 0, 0) == 2)
        return s_path;
    CrashHandlerLock();
    if (s_ready != 2) {
        char dir[MAX_PATH];
        UINT n = GetWindowsDirectoryA(dir, sizeof dir);
        bool written = false;
        if (n && n < sizeof dir) {
            Format(s_path, sizeof s_path, "%s\\VELMAR.LOG", dir);
            HANDLE file = CreateFileA(s_path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
                written = true;
            }
        }
        if (!written) {
            n = GetTempPathA(sizeof dir, dir);
            if (!n || n >= sizeof dir)
                dir[0] = 0;
            size_t length = std::strlen(dir);
            Format(s_path, sizeof s_path, length && dir[length - 1] == '\\' ? "%sVELMAR.LOG" : "%s\\VELMAR.LOG", dir);
        }
        InterlockedExchange(&s_ready, 2);
    }
    CrashHandlerUnlock();
    return s_path;
}

clsGPFProtection::clsGPFProtection(DWORD flags) : m_flags(flags)
{
    if (s_decision != kUsed)
        return;
    // Every open frame of a running function lies above this constructor's own stack frame; one
    // below it belongs to a function that was left without closing it.
    volatile char marker = 0;
    clsGPFProtection* outer = static_cast<clsGPFProtection*>(TlsGetValue(s_tlsInnermost));
    while (outer && (uintptr_t)outer < (uintptr_t)&marker)
        outer = outer->m_outer;
    m_outer = outer;
    TlsSetValue(s_tlsInnermost, this);
    m_installed = true;
}

clsGPFProtection::~clsGPFProtection()
{
    if (!m_installed || s_tlsInnermost == TLS_OUT_OF_INDEXES)
        return;
    clsGPFProtection* innermost = static_cast<clsGPFProtection*>(TlsGetValue(s_tlsInnermost));
    if (innermost != this) {
        DebugPrintf("clsGPFProtection::~clsGPFProtection: an exception handler sneaked in here which will be removed, "
                    "unfortunately");
        // Frames opened after this one and still open go with it; when this frame is no longer in
        // the list (a frame around it was closed first), the list stays as it is.
        volatile char marker = 0;
        bool listed = false;
        int steps = 0;
        for (clsGPFProtection* f = innermost; f && (uintptr_t)f >= (uintptr_t)&marker && steps < 1000; f = f->m_outer, ++steps)
            if (f == this) {
                listed = true;
                break;
            }
        if (!listed)
            return;
    }
    TlsSetValue(s_tlsInnermost, m_outer);
}

clsGPFProtection* clsGPFProtection::Innermost()
{
    return s_tlsInnermost != TLS_OUT_OF_INDEXES ? static_cast<clsGPFProtection*>(TlsGetValue(s_tlsInnermost)) : nullptr;
}

EXCEPTION_DISPOSITION clsGPFProtection::StaticExceptionHandler(EXCEPTION_RECORD* record, clsGPFProtection* frame,
                                                               CONTEXT* context, void* dispatcherContext)
{
    DWORD code = record->ExceptionCode;
    bool unwinding = (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0;
    DebugPrintf(unwinding ? "clsGPFProtection::StaticExceptionHandler::Exception(0x%08x,second chance)"
                          : "clsGPFProtection::StaticExceptionHandler::Exception(0x%08x,first chance)",
                code);
    if (code == kBreakpoint && !unwinding) {
        // Step over a breakpoint instruction (only an int3 byte: a raised breakpoint code has no
        // instruction to step over).
        unsigned char op = 0;
        if (SafeRead(&op, context->Rip, 1) && op == 0xCC) {
            context->Rip += 1;
            return ExceptionContinueExecution;
        }
        return ExceptionContinueSearch;
    }
    if ((code & 0x3FFFFF00) || unwinding)
        return ExceptionContinueSearch;
    if (!frame) {
        DebugPrintf("GPFProtection: WRN: internal error.");
        return ExceptionContinueSearch;
    }
    return frame->HandleException(record, context) == -1 ? ExceptionContinueExecution : ExceptionContinueSearch;
}

LONG clsGPFProtection::HandleException(EXCEPTION_RECORD* record, CONTEXT* context)
{
    const DWORD code = record->ExceptionCode;
    DWORD targets = GetLogTargets();
    if (code == EXCEPTION_ACCESS_VIOLATION && record->NumberParameters >= 1 && record->ExceptionInformation[0] == 8) {
        Log(targets, ">>>NX violation exception!!!");
        if (m_flags & kReport)
            WriteCrashReport(*this, record, context);
        Log(targets, "<<<NX violation exception!!!");
        return 0;
    }
    if (m_flags & kReport)
        WriteCrashReport(*this, record, context);
    if (code == EXCEPTION_NONCONTINUABLE_EXCEPTION)
        Log(targets, "[noncontinuable exception...]");
    if (code == 0xC0000029)
        Log(targets, "[no handler active to catch throw()?]");
    return 0;
}

void clsGPFProtection::Log(DWORD targets, const char* format, ...)
{
    char text[4097];
    va_list args;
    va_start(args, format);
    VFormat(text, sizeof text, format, args);
    va_end(args);
    if (targets & kDebugChannel)
        DebugPrintf("%s", text);
    if (targets & kCrashLog)
        AppendCrashLogLine(text);
}

DWORD clsGPFProtection::GetLogTargets() { return kDebugChannel | kCrashLog; }
