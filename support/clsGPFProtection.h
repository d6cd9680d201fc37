// Crash protection frames.
//
// A function that may meet damaged data opens a frame for the length of its work:
//
//   clsGPFProtection frame(clsGPFProtection::kReport);
//
// When a processor exception (access violation, division by zero, ...) happens on the thread while
// a frame is open, the innermost frame writes a crash report (flag kReport) into the crash log and
// the debug-output channel, may ask an interactive user (flag kAsk), and then lets the exception
// travel on to the caller's own handlers: the function never resumes. A breakpoint instruction
// inside a frame is stepped over; language exceptions (codes outside the system status ranges,
// such as C++ exceptions) pass without a report.
//
// x64 form: one process-wide vectored exception handler and a per-thread list of the open frames
// (a thread-local slot holds the innermost one, each frame its outer one). Frames nest with the
// call stack; a frame whose function was left without its destructor (the stack below the
// current frame has been reused) is dropped from the list. Because a vectored handler runs before
// the frame-based handlers, it also sees exceptions that system code raises and handles itself
// (the probes of IsBadReadPtr, string functions given bad pointers): an exception is left to the
// system when it happens in a system module and a handler of the system code or of the thread's
// own frame list lies between it and the frame. Unwinding passes never reach a vectored handler,
// so no "second chance" line is written.
//
// Whether frames are installed is decided once per process (GPFProtectionStaticInit) from the
// registry below HKEY_CURRENT_USER\SOFTWARE\velmar (strings, the first character counts):
//   "ForceUseGPFHandler"  present: frames unless it begins with 'F' or '0' (nothing else asked)
//   else with a debugger attached: no frames
//   "UseGPFHandler"       present: frames unless it begins with 'F' or '0'
//   default: frames.
#pragma once

#include <windows.h>

#include <cstdint>

class clsGPFProtection {
public:
    enum Flags : DWORD {
        kAsk = 1,    // questions to an interactive user are allowed
        kReport = 2, // a crash report is written
    };
    enum LogTarget : DWORD {
        kDebugChannel = 1,
        kCrashLog = 2,
    };

    explicit clsGPFProtection(DWORD flags);
    virtual ~clsGPFProtection();
    clsGPFProtection(const clsGPFProtection&) = delete;
    clsGPFProtection& operator=(const clsGPFProtection&) = delete;

    // -1: continue execution; 0: pass the exception on.
    virtual LONG HandleException(EXCEPTION_RECORD* record, CONTEXT* context);
    // One line (printf dialect of the library) to the targets: bit 0 the debug-output channel,
    // bit 1 the crash log with date, time and the library's file name in front.
    virtual void Log(DWORD targets, const char* format, ...);
    // The targets of every line of a report: both.
    virtual DWORD GetLogTargets();

    DWORD GetFlags() const { return m_flags; }
    bool IsInstalled() const { return m_installed; }
    // The next outer open frame of the thread.
    clsGPFProtection* Outer() const { return m_outer; }

    // The handler's decision for one exception seen inside frame (the thread's innermost open
    // frame): ExceptionContinueExecution or ExceptionContinueSearch.
    static EXCEPTION_DISPOSITION StaticExceptionHandler(EXCEPTION_RECORD* record, clsGPFProtection* frame,
                                                        CONTEXT* context, void* dispatcherContext);
    // The innermost open frame of the calling thread, or NULL.
    static clsGPFProtection* Innermost();

private:
    DWORD m_flags;
    clsGPFProtection* m_outer = nullptr;
    bool m_installed = false;
};

// Takes the process's decision (once; later calls return the first answer) and, when frames are
// used, creates the crash-handler lock and installs the vectored handler. True: frames are used.
bool GPFProtectionStaticInit();
// Removes the handler (detach of the library).
void GPFProtectionShutdown();
// The decision itself, from the registry below root ("SOFTWARE\velmar") and the debugger answer.
bool GPFHandlerWanted(HKEY root, bool debuggerAttached);
// True once the process decided to use frames.
bool GPFHandlerInUse();
// A switch of the crash handler below HKEY_CURRENT_USER\SOFTWARE\velmar: present or not, and its
// first character.
bool ReadGPFSwitch(const char* name, char* first);

// The crash log's full path: "<Windows directory>\VELMAR.LOG" when it can be written, else the
// temporary directory's "VELMAR.LOG" (computed once).
const char* GetCrashLogPath();

// The thread a crash report is about: the calling thread, or, for work that RunForThisThread
// handed to a helper thread (the report of a stack overflow: the exhausted stack has no room for
// one), the thread that handed it over.
struct CrashSubject {
    DWORD threadId;
    uintptr_t stackLow;  // the thread's stack range [stackLow, stackHigh)
    uintptr_t stackHigh;
};
CrashSubject GetCrashSubject();
// Runs work(param) on a helper thread with a stack of its own, for the calling thread (whose
// GetCrashSubject the helper answers), and waits for its end without a time-out: the work may use
// what lies on the calling thread's stack. False when no thread could be started.
bool RunForThisThread(DWORD (*work)(void*), void* param);

// Held for the whole of a report: reports of different threads follow each other.
void CrashHandlerLock();
void CrashHandlerUnlock();

// Marks the calling thread as busy with crash work (a report, memory probes): the handler passes
// every exception of the thread on at once meanwhile.
class clsCrashWorkGuard {
public:
    clsCrashWorkGuard();
    ~clsCrashWorkGuard();
    clsCrashWorkGuard(const clsCrashWorkGuard&) = delete;
    clsCrashWorkGuard& operator=(const clsCrashWorkGuard&) = delete;

private:
    void* m_previous;
};
