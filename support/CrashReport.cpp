#include "CrashReport.h"

#include <cstring>

#include "CrashSymbolReader.h"
#include "PathHelpers.h"
#include "PrintfFormat.h"
#include "StackWalk.h"
#include "clsGPFProtection.h"
#include "clsLibInfo.h"
#include "clsMessageBoxThread.h"

namespace {

struct ExceptionName {
    DWORD code;
    const char* name;
};

const ExceptionName kExceptionNames[] = {
    {0x80000002, "Misalignment"},
    {0x80000003, "Breakpoint"},
    {0x80000004, "SingleStep"},
    {0xC0000005, "Access Violation"},
    {0xC0000006, "Paging error"},
    {0xC000001D, "Illegal Instruction Encountered"},
    {0xC0000025, "Noncontinuable Exception"},
    {0xC0000026, "Invalid Disposition"},
    {0xC000008C, "Bounds Exceeded"},
    {0xC000008D, "Float: Denormal Operand"},
    {0xC000008E, "Float: Division by Zero"},
    {0xC000008F, "Float: Inexact Result"},
    {0xC0000090, "Float: Invalid Operation"},
    {0xC0000091, "Float: Overflow"},
    {0xC0000092, "Float: StackCheck"},
    {0xC0000093, "Float: Underflow"},
    {0xC0000094, "Integer Division by Zero"},
    {0xC0000095, "Integer: Overflow"},
    {0xC0000096, "Privileged Instruction Encountered"},
    {0xC00000FD, "Stack Overflow"},
};

const char kQuestionGerman[] =
    "Das Programm meldet einen Ausnahmefehler (%s).\n\nEs kann eine Datei mit Informationen zum Problem erstellt "
    "werden, die bei der Suche nach der Ursache helfen kann.\nWährend der Erstellung der Datei wird Ihr Rechner "
    "möglicherweise eine Internetverbindung zu Microsoft herstellen, um erweiterte Informationen zu "
    "Microsoft-Dateien (sog. PDB-Dateien) herunterzuladen.\nMöchten Sie diese Datei erstellen?\n\nJa: voller Report "
    "(kann mehrere Minuten dauern)\nNein: minimaler Report (weniger Information, keine Internetverbindung)\n"
    "Abbrechen: keine Information gewuenscht\n";
const char kQuestionEnglish[] =
    "An exception (%s) occurred.\n\nDo you want to create a file that contains information about this exception?\n"
    "This file will be helpful to trace the cause of the problem. During the creation of the file your computer "
    "might open an internet connection to Microsoft in order to download extended information for Microsoft files "
    "(PDB files).\n\nYES: full report (might take a couple of minutes)\nNO: small report (less information, no "
    "internet connection)\nCancel: do not create any information\n";
const char kResultGerman[] = "Ergebnis:\n- Die Informationen ueber den Ausnahmefehler wurden in die Datei '%s' "
                             "geschrieben.\n%s\n\nSoll die Applikation jetzt beendet werden?\n";
const char kResultEnglish[] =
    "Result:\n- The stack trace has been stored into the file '%s'.\n%s\n\nShall the application be terminated now?\n";
const char kDumpGerman[] = "- Der Speicherauszug befindet sich in der Datei '%s'.";
const char kDumpEnglish[] = "- The memory dump has been stored into the file '%s'.";

const UINT kFirstQuestionStyle = MB_YESNOCANCEL | MB_ICONQUESTION | MB_TASKMODAL | MB_TOPMOST; // 0x42023
const UINT kFinalQuestionStyle = MB_YESNO | MB_ICONERROR | MB_TASKMODAL | MB_TOPMOST;          // 0x42014

int Ask(const char* caption, const char* text, UINT style)
{
    clsMessageBoxThread box(text, caption, style);
    return box.Ask();
}

void Timestamp(char* buffer, size_t size)
{
    char date[80] = "", time[80] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, nullptr, nullptr, time, sizeof time);
    Format(buffer, size, "%s, %s", date, time);
}

// One report with the thread that met the exception and its stack range.
struct ReportJob {
    clsGPFProtection* frame;
    EXCEPTION_RECORD* record;
    CONTEXT* context;
    uintptr_t stackLow;
    uintptr_t stackHigh;
    DWORD threadId;
};

void LogOwnStackWalk(clsGPFProtection& frame, const ReportJob& job)
{
    DWORD targets = frame.GetLogTargets();
    char text[400];
    frame.Log(targets, "Stack Trace:");
    GetAddressText(job.context->Rip, text, sizeof text);
    frame.Log(targets, "%#p=%s", (void*)job.context->Rip, text);
    const int kMost = 100;
    StackWalkItem items[kMost];
    uintptr_t bad = 0;
    int n = WalkStackFrames(*job.context, items, kMost, &bad, job.stackLow, job.stackHigh);
    for (int i = 0; i < n; ++i) {
        char location[400], call[400];
        FormatStackFrame(items[i], call, location, sizeof location, sizeof call);
        frame.Log(targets, "---------------------------------------------------------");
        frame.Log(targets, "%s", location);
        frame.Log(targets, "%s", call);
    }
    if (bad)
        frame.Log(targets, "can't continue: invalid address %#p", (void*)bad);
}

void WriteReport(const ReportJob& job)
{
    clsCrashWorkGuard busy;
    CrashHandlerLock();
    clsGPFProtection& frame = *job.frame;
    const EXCEPTION_RECORD* record = job.record;
    const CONTEXT* c = job.context;
    const DWORD targets = frame.GetLogTargets();

    char name[96];
    GetExceptionName(record->ExceptionCode, name, sizeof name);
    clsCrashSymbolReader* reader = OpenCrashSymbolReader();
    int mode = ChooseReportMode(frame, name, reader != nullptr);

    char stamp[200];
    Timestamp(stamp, sizeof stamp);
    frame.Log(targets, ">>>========================= %s", stamp);
    frame.Log(targets, "Exception code: 0x%08x (%s)", (unsigned)record->ExceptionCode, name);
    frame.Log(targets, "Registers:");
    frame.Log(targets, "RIP: 0x%016I64x", c->Rip);
    frame.Log(targets, "RAX: 0x%016I64x, RBX: 0x%016I64x, RCX: 0x%016I64x, RDX: 0x%016I64x", c->Rax, c->Rbx, c->Rcx,
              c->Rdx);
    frame.Log(targets, "RSI: 0x%016I64x, RDI: 0x%016I64x, RSP: 0x%016I64x, RBP: 0x%016I64x (Stack Range: 0x%016I64x..0x%016I64x)",
              c->Rsi, c->Rdi, c->Rsp, c->Rbp, (unsigned long long)job.stackLow, (unsigned long long)job.stackHigh);
    frame.Log(targets, "R8: 0x%016I64x, R9: 0x%016I64x, R10: 0x%016I64x, R11: 0x%016I64x", c->R8, c->R9, c->R10, c->R11);
    frame.Log(targets, "R12: 0x%016I64x, R13: 0x%016I64x, R14: 0x%016I64x, R15: 0x%016I64x", c->R12, c->R13, c->R14,
              c->R15);
    frame.Log(targets, "CS: 0x%04x, DS: 0x%04x, ES: 0x%04x, FS: 0x%04x, GS: 0x%04x, SS: 0x%04x", c->SegCs, c->SegDs,
              c->SegEs, c->SegFs, c->SegGs, c->SegSs);
    frame.Log(targets, "Flags:0x%08x", (unsigned)c->EFlags);
    frame.Log(targets, "Code environment:");
    CodeEnvironmentDump(frame, c->Rip);

    char dump[MAX_PATH] = "";
    bool symbolic = false;
    if (mode == 2 && reader) {
        EXCEPTION_POINTERS pointers = {job.record, job.context};
        if (!reader->WriteMiniDump(dump, sizeof dump, &pointers, job.threadId))
            dump[0] = 0;
        reader->LogModuleList(frame);
        symbolic = reader->LogStackTrace(frame, job.context);
    }
    if (mode >= 1 && !symbolic)
        LogOwnStackWalk(frame, job);

    frame.Log(targets, "");
    bool quit = false;
    if (mode >= 1) {
        bool german = GermanUser();
        char dumpLine[MAX_PATH + 100] = "";
        if (dump[0])
            Format(dumpLine, sizeof dumpLine, german ? kDumpGerman : kDumpEnglish, dump);
        char result[1200];
        Format(result, sizeof result, german ? kResultGerman : kResultEnglish, GetCrashLogPath(), dumpLine);
        frame.Log(targets, "%s", result);
        if ((frame.GetFlags() & clsGPFProtection::kAsk) && IsInteractiveSession())
            quit = Ask(name, result, kFinalQuestionStyle) == IDYES;
    }
    Timestamp(stamp, sizeof stamp);
    frame.Log(targets, "<<<========================= %s", stamp);
    delete reader;
    CrashHandlerUnlock();
    if (quit)
        ExitProcess(127);
}

DWORD ReportForThread(void* param)
{
    WriteReport(*static_cast<ReportJob*>(param));
    return 0;
}

bool ReadSid(DWORD rid, PSID* sid)
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    return AllocateAndInitializeSid(&nt, 1, rid, 0, 0, 0, 0, 0, 0, 0, sid) != FALSE;
}

} // namespace

const char* GetExceptionName(DWORD code, char* buffer, size_t size)
{
    for (const ExceptionName& e : kExceptionNames)
        if (e.code == code) {
            SafeStrCopy(buffer, e.name, size);
            return buffer;
        }
    char text[81] = "";
    HMODULE ntdll = GetModuleHandleA("NTDLL.DLL");
    if (ntdll)
        FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, ntdll, code, 0, text, sizeof text,
                       nullptr);
    size_t n = std::strlen(text);
    while (n && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' '))
        text[--n] = 0;
    SafeStrCopy(buffer, text, size);
    return buffer;
}

int GetSessionKind()
{
    static char s_user[33];
    static bool s_userRead = false;
    if (!s_userRead) {
        DWORD size = sizeof s_user;
        if (!GetUserNameA(s_user, &size))
            s_user[0] = 0;
        s_userRead = true;
    }
    if (_stricmp(s_user, "system") == 0 || _stricmp(s_user, "aspnet") == 0 ||
        _stricmp(g_LibInfo.HostName(), "aspnet_wp") == 0)
        return 4;

    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) != ERROR_SUCCESS)
            return 3;
        RegCloseKey(key);
        return 1;
    }
    DWORD size = 0;
    GetTokenInformation(token, TokenGroups, nullptr, 0, &size);
    TOKEN_GROUPS* groups = size ? static_cast<TOKEN_GROUPS*>(LocalAlloc(LMEM_FIXED, size)) : nullptr;
    int kind = 3;
    if (groups && GetTokenInformation(token, TokenGroups, groups, size, &size)) {
        // The group INTERACTIVE makes the session interactive; SERVICE, or neither, does not.
        PSID interactive = nullptr;
        if (ReadSid(SECURITY_INTERACTIVE_RID, &interactive)) {
            for (DWORD i = 0; i < groups->GroupCount && kind != 1; ++i)
                if (EqualSid(groups->Groups[i].Sid, interactive))
                    kind = 1;
            FreeSid(interactive);
        }
    } else {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
            kind = 1;
        }
    }
    if (groups)
        LocalFree(groups);
    CloseHandle(token);
    return kind;
}

bool IsInteractiveSession()
{
    int kind = GetSessionKind();
    return kind == 1 || kind == 2;
}

bool GermanUser() { return PRIMARYLANGID(GetUserDefaultLangID()) == LANG_GERMAN; }

int ChooseReportMode(clsGPFProtection& frame, const char* exceptionName, bool symbolReader)
{
    if (!symbolReader)
        return 1;
    int mode = 1;
    char first;
    if (ReadGPFSwitch("GenerateFullGPFInfo", &first))
        mode = first == 'F' || first == '0' ? 0 : 2;
    bool allowed = ReadGPFSwitch("AllowFullGPFInfo", &first) && (first == 'T' || first == '1');
    if (allowed && (frame.GetFlags() & clsGPFProtection::kAsk) && IsInteractiveSession()) {
        char text[2048];
        Format(text, sizeof text, GermanUser() ? kQuestionGerman : kQuestionEnglish, exceptionName);
        switch (Ask(exceptionName, text, kFirstQuestionStyle)) {
        case IDYES:
            mode = 2;
            break;
        case IDNO:
            mode = 1;
            break;
        case IDCANCEL:
            mode = 0;
            break;
        default:
            break;
        }
    }
    return mode;
}

void CodeEnvironmentDump(clsGPFProtection& frame, uintptr_t address)
{
    DWORD targets = frame.GetLogTargets();
    uintptr_t from = (address - 64) & ~(uintptr_t)15;
    uintptr_t to = (address + 65) & ~(uintptr_t)15;
    for (uintptr_t line = from; line < to; line += 16) {
        unsigned char bytes[16];
        bool all = SafeRead(bytes, line, sizeof bytes);
        char text[100];
        int n = Format(text, sizeof text, "0x%016I64x ", (unsigned long long)line);
        for (int i = 0; i < 16; ++i) {
            unsigned char b;
            bool readable = all ? (b = bytes[i], true) : SafeRead(&b, line + i, 1);
            n += readable ? Format(text + n, sizeof text - (size_t)n, "%02x ", b) : Format(text + n, sizeof text - (size_t)n, "-- ");
        }
        frame.Log(targets, " %s", text);
    }
}

void WriteCrashReport(clsGPFProtection& frame, EXCEPTION_RECORD* record, CONTEXT* context)
{
    const CrashSubject subject = GetCrashSubject();
    ReportJob job = {&frame, record, context, subject.stackLow, subject.stackHigh, subject.threadId};
    // The exhausted stack of a thread whose stack overflowed has no room for a report: a helper
    // thread writes it while this one waits (the report reads the frame, record and context on
    // this stack until its end).
    if (record->ExceptionCode == EXCEPTION_STACK_OVERFLOW && subject.threadId == GetCurrentThreadId()) {
        RunForThisThread(&ReportForThread, &job);
        return;
    }
    WriteReport(job);
}
