// Drives a running OX.exe from outside for the shell's script test: finds its main window by
// title and sends it what a user, Windows or the shell would.
//   ox_shell_probe wait                 waits for the main window and its start (at most 5 s
//                                       for it to show); prints "window <visible 0|1>"
//   ox_shell_probe exit                 the exit command; waits for the end, prints "ended <0|1>"
//   ox_shell_probe close                WM_CLOSE; prints "ended <0|1>" after at most 10 s
//   ox_shell_probe syscmdclose          the close box (SC_CLOSE); prints "window <visible>"
//   ox_shell_probe tray                 a left click on the tray icon; prints "window <visible>"
//   ox_shell_probe endsession           WM_ENDSESSION (ending); prints "ended <0|1>"
//   ox_shell_probe gone                 waits up to 10 s for the program's end; "ended <0|1>"
//   ox_shell_probe sendclose            WM_CLOSE sent (handled when it returns); "ended <0|1>"
//   ox_shell_probe testdialog           opens the About box and from it the counted test
//                                       dialog; prints "dialog <0|1>"
//   ox_shell_probe canceldialogs        cancels the test dialog and the About box; prints
//                                       "dialogs <count still there>"
//   ox_shell_probe clientclose <user>   as an automation client of the running program (its
//                                       running-object entry): sets CurrentUser, sends WM_CLOSE,
//                                       reads CurrentUser back; "user=<text> ended <0|1>"
//   ox_shell_probe crash <program>      owns the debug channel (mailslot), runs the program with
//                                       OX_TEST_CRASH=1 and prints "exit=<code hex>", then every
//                                       line the program wrote to the channel
//   ox_shell_probe embedded             with the running program's window in the foreground, a
//                                       client makes a new "Orvex.Application" (a hidden OX
//                                       started by COM); prints "foreground=<kept 0|1>
//                                       hidden=<1 when its window exists and is hidden>"
//   ox_shell_probe pane <n>             the text of status-bar pane n: "pane=<text>"
//   ox_shell_probe shot <png file>      shows the main window at 1024 x 768 in the foreground and
//                                       writes it to the PNG file; prints "shot <0|1>"
//   ox_shell_probe bars                 which bars the main window shows and which toolbar
//                                       buttons are enabled: "<id>=<0|1> ..." (see kBarIds and
//                                       kButtonIds)
//   ox_shell_probe resources <file>     a few resources of the program file (no window needed):
//                                       "6054=<text> 149=<0|1> 152=<0|1>"
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <oleauto.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Png.h"

namespace {

const char kTitle[] = "velmar chronivo";
// the main window's own class (message boxes share its title)
const char kMainClass[] = "OrvexMainFrame";
const char kAboutTitle[] = "Info \xFC" "ber velmar chronivo";
const char kTestTitle[] = "Test Dialog";

HWND WaitWindow(LPCSTR lpszTitle, int nWaitMs)
{
    for (int waited = 0;; waited += 50) {
        HWND hWnd = ::FindWindowA(NULL, lpszTitle);
        if (hWnd != NULL || waited >= nWaitMs)
            return hWnd;
        ::Sleep(50);
    }
}

BOOL WaitGone(HWND hWnd, int nWaitMs)
{
    for (int waited = 0; ::IsWindow(hWnd); waited += 50) {
        if (waited >= nWaitMs)
            return FALSE;
        ::Sleep(50);
    }
    return TRUE;
}

struct OtherMain {
    DWORD dwPid;
    HWND hWnd;
};

BOOL CALLBACK FindOtherMain(HWND hWnd, LPARAM lParam)
{
    OtherMain* pFind = (OtherMain*)lParam;
    char szTitle[64];
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    char szClass[64];
    if (pid != pFind->dwPid && ::GetClassNameA(hWnd, szClass, sizeof(szClass)) > 0 && strcmp(szClass, kMainClass) == 0 &&
        ::GetWindowTextA(hWnd, szTitle, sizeof(szTitle)) > 0 && strcmp(szTitle, kTitle) == 0) {
        pFind->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

// One property of an automation object: read (lpszValue NULL) or written.
HRESULT Property(IDispatch* pDispatch, LPCWSTR lpszName, LPCWSTR lpszValue, char* pszOut, int cchOut)
{
    DISPID dispid = 0;
    LPOLESTR name = (LPOLESTR)lpszName;
    HRESULT hr = pDispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &dispid);
    if (FAILED(hr))
        return hr;
    VARIANT value;
    ::VariantInit(&value);
    if (lpszValue != NULL) {
        value.vt = VT_BSTR;
        value.bstrVal = ::SysAllocString(lpszValue);
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params = {&value, &put, 1, 1};
        hr = pDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, NULL, NULL, NULL);
    } else {
        DISPPARAMS params = {NULL, NULL, 0, 0};
        hr = pDispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params, &value, NULL, NULL);
        if (SUCCEEDED(hr) && value.vt == VT_BSTR)
            ::WideCharToMultiByte(CP_ACP, 0, value.bstrVal, -1, pszOut, cchOut, NULL, NULL);
    }
    ::VariantClear(&value);
    return hr;
}

// the menu bar, the toolbar, the filter bar and the status bar
const int kBarIds[] = {59480, 0xE800, 59397, 0xE801};
// toolbar buttons: new appointment, edit (no handler yet), day view, refresh
const int kButtonIds[] = {32775, 32812, 32780, 32784};

struct FindChild {
    int nID;
    HWND hWnd;
};

BOOL CALLBACK FindChildById(HWND hWnd, LPARAM lParam)
{
    FindChild* pFind = (FindChild*)lParam;
    if (::GetDlgCtrlID(hWnd) == pFind->nID && ::IsWindowVisible(hWnd)) {
        pFind->hWnd = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleChild(HWND hParent, int nID)
{
    FindChild find = {nID, NULL};
    ::EnumChildWindows(hParent, FindChildById, (LPARAM)&find);
    return find.hWnd;
}

void PrintBars(HWND hMain)
{
    for (int nID : kBarIds)
        printf("%d=%d ", nID, FindVisibleChild(hMain, nID) != NULL ? 1 : 0);
    HWND hToolBar = FindVisibleChild(hMain, 0xE800);
    for (int nID : kButtonIds) {
        LRESULT state = hToolBar != NULL ? ::SendMessageA(hToolBar, TB_GETSTATE, nID, 0) : -1;
        printf("%d=%d ", nID, state != -1 && (state & TBSTATE_ENABLED) != 0 ? 1 : 0);
    }
    printf("\n");
}

// Status-bar text of another process: the buffer lives in that process.
void PrintPane(HWND hMain, int nPane)
{
    HWND hBar = ::FindWindowExA(hMain, NULL, "msctls_statusbar32", NULL);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hMain, &pid);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, pid);
    char szText[256] = "";
    if (hBar != NULL && hProcess != NULL) {
        void* pRemote = ::VirtualAllocEx(hProcess, NULL, 4096, MEM_COMMIT, PAGE_READWRITE);
        if (pRemote != NULL) {
            ::SendMessageA(hBar, SB_GETTEXTA, nPane, (LPARAM)pRemote);
            SIZE_T cb = 0;
            ::ReadProcessMemory(hProcess, pRemote, szText, sizeof(szText) - 1, &cb);
            ::VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
        }
    }
    if (hProcess != NULL)
        ::CloseHandle(hProcess);
    printf("pane=%s\n", szText);
}

HWND FindMain(int nWaitMs)
{
    for (int waited = 0;; waited += 100) {
        HWND hWnd = ::FindWindowA(kMainClass, kTitle);
        if (hWnd != NULL || waited >= nWaitMs)
            return hWnd;
        ::Sleep(100);
    }
}

int WaitEnd(HWND hWnd, int nWaitMs)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    HANDLE hProcess = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (hProcess == NULL)
        return !::IsWindow(hWnd);
    DWORD r = ::WaitForSingleObject(hProcess, nWaitMs);
    ::CloseHandle(hProcess);
    return r == WAIT_OBJECT_0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const char* what = argv[1];
    if (strcmp(what, "crash") == 0 && argc > 2) {
        HANDLE hSlot = INVALID_HANDLE_VALUE;
        for (int attempt = 0; attempt < 600 && hSlot == INVALID_HANDLE_VALUE; attempt++) {
            hSlot = ::CreateMailslotA("\\\\.\\mailslot\\traxel", 0, 0, NULL);
            if (hSlot == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ALREADY_EXISTS)
                ::Sleep(100); // a writer of an earlier owner is still running
            else
                break;
        }
        if (hSlot == INVALID_HANDLE_VALUE)
            return 1;
        ::SetEnvironmentVariableA("OX_TEST_CRASH", "1");
        char szCommand[MAX_PATH + 4];
        snprintf(szCommand, sizeof(szCommand), "\"%s\"", argv[2]);
        STARTUPINFOA si = {sizeof(si)};
        PROCESS_INFORMATION pi;
        if (!::CreateProcessA(NULL, szCommand, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
            return 1;
        DWORD dwCode = STILL_ACTIVE;
        if (::WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(pi.hProcess, &dwCode);
        printf("exit=%08lX\n", (unsigned long)dwCode);
        for (;;) {
            DWORD dwNext = 0;
            if (!::GetMailslotInfo(hSlot, NULL, &dwNext, NULL, NULL) || dwNext == MAILSLOT_NO_MESSAGE)
                break;
            char* pText = (char*)calloc(dwNext + 1, 1);
            DWORD dwRead = 0;
            if (!::ReadFile(hSlot, pText, dwNext, &dwRead, NULL)) {
                free(pText);
                break;
            }
            fputs(pText, stdout);
            if (dwRead == 0 || pText[dwRead - 1] != '\n')
                fputs("\n", stdout);
            free(pText);
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        ::CloseHandle(hSlot);
        return 0;
    }
    if (strcmp(what, "resources") == 0 && argc > 2) {
        HMODULE hProgram = ::LoadLibraryExA(argv[2], NULL, LOAD_LIBRARY_AS_DATAFILE);
        char szText[512] = "";
        if (hProgram != NULL)
            ::LoadStringA(hProgram, 6054, szText, sizeof(szText));
        printf("6054=%s 149=%d 152=%d\n", szText,
               hProgram != NULL && ::FindResourceA(hProgram, MAKEINTRESOURCEA(149), (LPCSTR)RT_DIALOG) != NULL,
               hProgram != NULL && ::FindResourceA(hProgram, MAKEINTRESOURCEA(152), (LPCSTR)RT_DIALOG) != NULL);
        return hProgram != NULL ? 0 : 1;
    }
    HWND hWnd = FindMain(strcmp(what, "wait") == 0 ? 30000 : 5000);
    if (hWnd == NULL) {
        printf("nowindow\n");
        return strcmp(what, "gone") == 0 ? 0 : 1;
    }
    if (strcmp(what, "wait") == 0) {
        // the start has shown (or hidden) the window once the program waits for input
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        HANDLE hProcess = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
        if (hProcess != NULL) {
            ::WaitForInputIdle(hProcess, 15000);
            ::CloseHandle(hProcess);
        }
        for (int i = 0; i < 50 && !::IsWindowVisible(hWnd); i++)
            ::Sleep(100);
    } else if (strcmp(what, "exit") == 0) {
        ::PostMessageA(hWnd, WM_COMMAND, 0xE141, 0);
        printf("ended %d\n", WaitEnd(hWnd, 20000));
        return 0;
    } else if (strcmp(what, "close") == 0) {
        ::PostMessageA(hWnd, WM_CLOSE, 0, 0);
        printf("ended %d\n", WaitEnd(hWnd, 10000));
        return 0;
    } else if (strcmp(what, "endsession") == 0) {
        ::SendMessageTimeoutA(hWnd, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, NULL);
        ::PostMessageA(hWnd, WM_ENDSESSION, TRUE, 0);
        printf("ended %d\n", WaitEnd(hWnd, 20000));
        return 0;
    } else if (strcmp(what, "gone") == 0) {
        printf("ended %d\n", WaitEnd(hWnd, 10000));
        return 0;
    } else if (strcmp(what, "sendclose") == 0) {
        DWORD_PTR dwResult = 0;
        ::SendMessageTimeoutA(hWnd, WM_CLOSE, 0, 0, SMTO_NORMAL, 20000, &dwResult);
        printf("ended %d\n", WaitEnd(hWnd, 2000));
        return 0;
    } else if (strcmp(what, "testdialog") == 0) {
        ::PostMessageA(hWnd, WM_COMMAND, 0xE140, 0); // the About box
        HWND hAbout = WaitWindow(kAboutTitle, 10000);
        HWND hButton = hAbout != NULL ? ::GetDlgItem(hAbout, 1111) : NULL;
        if (hButton != NULL)
            ::PostMessageA(hAbout, WM_COMMAND, MAKEWPARAM(1111, BN_CLICKED), (LPARAM)hButton);
        printf("dialog %d\n", hButton != NULL && WaitWindow(kTestTitle, 10000) != NULL);
        return 0;
    } else if (strcmp(what, "canceldialogs") == 0) {
        HWND hTest = ::FindWindowA(NULL, kTestTitle);
        HWND hAbout = ::FindWindowA(NULL, kAboutTitle);
        if (hTest != NULL)
            ::PostMessageA(hTest, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (hAbout != NULL)
            ::PostMessageA(hAbout, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        int nLeft = (hTest != NULL && !WaitGone(hTest, 10000)) + (hAbout != NULL && !WaitGone(hAbout, 10000));
        printf("dialogs %d\n", nLeft);
        return 0;
    } else if (strcmp(what, "clientclose") == 0 && argc > 2) {
        ::CoInitialize(NULL);
        CLSID clsid;
        IUnknown* pUnknown = NULL;
        IDispatch* pDispatch = NULL;
        char szUser[256] = "";
        if (SUCCEEDED(::CLSIDFromProgID(L"Orvex.Application", &clsid)) &&
            SUCCEEDED(::GetActiveObject(clsid, NULL, &pUnknown)) &&
            SUCCEEDED(pUnknown->QueryInterface(IID_IDispatch, (void**)&pDispatch))) {
            wchar_t szValue[128];
            ::MultiByteToWideChar(CP_ACP, 0, argv[2], -1, szValue, 128);
            Property(pDispatch, L"CurrentUser", szValue, NULL, 0);
            DWORD_PTR dwResult = 0;
            ::SendMessageTimeoutA(hWnd, WM_CLOSE, 0, 0, SMTO_NORMAL, 20000, &dwResult);
            Property(pDispatch, L"CurrentUser", NULL, szUser, sizeof(szUser));
        }
        printf("user=%s ended %d\n", szUser, !::IsWindow(hWnd));
        if (pDispatch != NULL)
            pDispatch->Release();
        if (pUnknown != NULL)
            pUnknown->Release();
        ::CoUninitialize();
        return 0;
    } else if (strcmp(what, "embedded") == 0) {
        ::SetForegroundWindow(hWnd);
        for (int i = 0; i < 50 && ::GetForegroundWindow() != hWnd; i++)
            ::Sleep(50);
        ::CoInitialize(NULL);
        CLSID clsid;
        IDispatch* pDispatch = NULL;
        OtherMain other = {0, NULL};
        ::GetWindowThreadProcessId(hWnd, &other.dwPid);
        if (SUCCEEDED(::CLSIDFromProgID(L"Orvex.Application", &clsid)) &&
            SUCCEEDED(::CoCreateInstance(clsid, NULL, CLSCTX_LOCAL_SERVER, IID_IDispatch, (void**)&pDispatch))) {
            char szUser[64];
            Property(pDispatch, L"CurrentUser", NULL, szUser, sizeof(szUser)); // the start is over
            ::EnumWindows(FindOtherMain, (LPARAM)&other);
        }
        printf("foreground=%d hidden=%d\n", ::GetForegroundWindow() == hWnd,
               other.hWnd != NULL && !::IsWindowVisible(other.hWnd));
        if (pDispatch != NULL)
            pDispatch->Release();
        ::CoUninitialize();
        return 0;
    } else if (strcmp(what, "pane") == 0 && argc > 2) {
        PrintPane(hWnd, atoi(argv[2]));
        return 0;
    } else if (strcmp(what, "bars") == 0) {
        PrintBars(hWnd);
        return 0;
    } else if (strcmp(what, "shot") == 0 && argc > 2) {
        ::ShowWindow(hWnd, SW_RESTORE);
        ::SetWindowPos(hWnd, HWND_TOP, 0, 0, 1024, 768, SWP_SHOWWINDOW);
        ::SetForegroundWindow(hWnd);
        // A round trip through the window's queue lets the new layout settle (the frame lays out
        // its bars again when it is idle); then everything is painted anew.
        DWORD_PTR dwResult = 0;
        ::SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &dwResult);
        ::PostMessageA(hWnd, WM_NULL, 0, 0);
        ::SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &dwResult);
        ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        ::SendMessageTimeoutA(hWnd, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &dwResult);
        RECT rect;
        ::GetWindowRect(hWnd, &rect);
        HDC hdc = ::GetDC(NULL);
        bool bDone = oxtest::WriteDcPng(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, argv[2]);
        ::ReleaseDC(NULL, hdc);
        printf("shot %d\n", bDone ? 1 : 0);
        return 0;
    } else if (strcmp(what, "syscmdclose") == 0) {
        ::SendMessageA(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (strcmp(what, "tray") == 0) {
        ::SendMessageA(hWnd, WM_USER + 0x65, 1, WM_LBUTTONDOWN);
    } else {
        return 2;
    }
    printf("window %d\n", ::IsWindowVisible(hWnd) ? 1 : 0);
    return 0;
}
