// A recording MAPI32.DLL for the tests of the mail action: MAPILogon, MAPISendMail and MAPILogoff
// write what they were given into a log in the DLL (one line per call, see below) and answer
// what the test scripted. Tests load it themselves first (so that its log survives the mail
// session's FreeLibrary), script it with TestMapiSetResults and read the log with TestMapiReadLog,
// whose existence also shows that the library loaded is this double and not the system's.
//
// Log lines (line feeds and carriage returns in texts written as "\n" and "\r", a null text as
// "(null)"):
//   Logon|<owner window given: 1/0>|<profile>|<password>|<flags hex>
//   SendMail|<session>|<flags hex>|<subject>|<note text>
//   Recipient|<class>|<name>|<address>
//   File|<position>|<path>|<file name>
//   Logoff|<session>
#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <string>

namespace {

const LHANDLE kSession = 0x5E55;

CRITICAL_SECTION g_lock;
std::string g_log;
ULONG g_nLogonResult = SUCCESS_SUCCESS;
ULONG g_nSendResult = SUCCESS_SUCCESS;

std::string Text(const char* psz)
{
    if (psz == nullptr)
        return "(null)";
    std::string text;
    for (; *psz; ++psz) {
        if (*psz == '\n')
            text += "\\n";
        else if (*psz == '\r')
            text += "\\r";
        else
            text += *psz;
    }
    return text;
}

std::string Hex(ULONG n)
{
    char sz[16];
    std::snprintf(sz, sizeof sz, "0x%lX", n);
    return sz;
}

void Log(const std::string& line)
{
    EnterCriticalSection(&g_lock);
    g_log += line + "\n";
    LeaveCriticalSection(&g_lock);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        InitializeCriticalSection(&g_lock);
    else if (dwReason == DLL_PROCESS_DETACH)
        DeleteCriticalSection(&g_lock);
    return TRUE;
}

extern "C" ULONG WINAPI FakeMAPILogon(ULONG_PTR ulUIParam, LPSTR lpszProfileName, LPSTR lpszPassword, FLAGS flFlags,
                                      ULONG /*ulReserved*/, LPLHANDLE lplhSession)
{
    Log("Logon|" + std::to_string(ulUIParam != 0) + "|" + Text(lpszProfileName) + "|" + Text(lpszPassword) + "|" +
        Hex(flFlags));
    if (g_nLogonResult != SUCCESS_SUCCESS)
        return g_nLogonResult;
    if (lplhSession != nullptr)
        *lplhSession = kSession;
    return SUCCESS_SUCCESS;
}

extern "C" ULONG WINAPI FakeMAPILogoff(LHANDLE lhSession, ULONG_PTR, FLAGS, ULONG)
{
    Log("Logoff|" + std::to_string((unsigned long long)lhSession));
    return SUCCESS_SUCCESS;
}

extern "C" ULONG WINAPI FakeMAPISendMail(LHANDLE lhSession, ULONG_PTR, lpMapiMessage lpMessage, FLAGS flFlags, ULONG)
{
    if (lpMessage == nullptr) {
        Log("SendMail|" + std::to_string((unsigned long long)lhSession) + "|" + Hex(flFlags) + "|(no message)");
        return MAPI_E_FAILURE;
    }
    Log("SendMail|" + std::to_string((unsigned long long)lhSession) + "|" + Hex(flFlags) + "|" +
        Text(lpMessage->lpszSubject) + "|" + Text(lpMessage->lpszNoteText));
    for (ULONG i = 0; i < lpMessage->nRecipCount && lpMessage->lpRecips != nullptr; ++i) {
        const MapiRecipDesc& recipient = lpMessage->lpRecips[i];
        Log("Recipient|" + std::to_string(recipient.ulRecipClass) + "|" + Text(recipient.lpszName) + "|" +
            Text(recipient.lpszAddress));
    }
    for (ULONG i = 0; i < lpMessage->nFileCount && lpMessage->lpFiles != nullptr; ++i) {
        const MapiFileDesc& file = lpMessage->lpFiles[i];
        Log("File|" + std::to_string(file.nPosition) + "|" + Text(file.lpszPathName) + "|" + Text(file.lpszFileName));
    }
    return g_nSendResult;
}

// The answers of the next logons and mails (SUCCESS_SUCCESS or a MAPI error).
extern "C" void WINAPI TestMapiSetResults(ULONG nLogonResult, ULONG nSendResult)
{
    g_nLogonResult = nLogonResult;
    g_nSendResult = nSendResult;
}

// Copies the log (terminated, cut to the buffer) and empties it; returns the log's length.
extern "C" int WINAPI TestMapiReadLog(char* pBuffer, int nSize)
{
    EnterCriticalSection(&g_lock);
    const int nLength = (int)g_log.size();
    if (pBuffer != nullptr && nSize > 0) {
        const int n = nLength < nSize - 1 ? nLength : nSize - 1;
        g_log.copy(pBuffer, (size_t)n);
        pBuffer[n] = '\0';
    }
    g_log.clear();
    LeaveCriticalSection(&g_lock);
    return nLength;
}
