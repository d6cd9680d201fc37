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
#include <windows.h>

#include <stdio.h>
#include <string.h>

namespace {

const char kTitle[] = "velmar chronivo";

HWND FindMain(int nWaitMs)
{
    for (int waited = 0;; waited += 100) {
        HWND hWnd = ::FindWindowA(NULL, kTitle);
        // the window title is shared with message boxes: the main window has a menu
        while (hWnd != NULL && ::GetMenu(hWnd) == NULL)
            hWnd = ::FindWindowExA(NULL, hWnd, NULL, kTitle);
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
