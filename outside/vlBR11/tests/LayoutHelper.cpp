// Helper of layout_drag.py: a list on screen whose first divider the driver drags with xdotool.
//   drag <key> <value>  shows the list, writes "ready <x> <y> <x + 60>" (screen coordinates of
//                       the divider), pumps messages until a line arrives on standard input, then
//                       writes "width <before> <after>" and "saved <result>" (layout saved under
//                       HKEY_CURRENT_USER\<key>, value <value>)
//   load <key> <value>  a new list loads the layout: "load <result> width <width> default <width>"
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "BrowseTestSupport.h"

using namespace brtest;

namespace {

DWORD s_mainThread = 0;

DWORD WINAPI WaitForLine(void*)
{
    char line[64];
    fgets(line, sizeof line, stdin);
    PostThreadMessageA(s_mainThread, WM_APP, 0, 0);
    return 0;
}

void Columns(TestDialog& d)
{
    d.Send(BRM_SETTITLES, 0, (LPARAM) "Betreff\tFällig\tBenutzer");
    int32_t widths[3] = {30, 20, 20};
    d.Send(BRM_SETCOLWIDTHS, 3, (LPARAM)widths);
    d.AddRow("Angebot schreiben\t12.12.2026 Sa\tabel");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    std::string mode = argv[1];
    BRLAYOUT place{sizeof(BRLAYOUT), argv[2], argv[3], 0, 0, HKEY_CURRENT_USER};
    if (mode == "load") {
        TestDialog d("Aufgaben", 900, 500, false);
        Columns(d);
        int before = d.Column(0).width;
        LRESULT rc = d.Send(BRM_LOADLAYOUT, 0x1007, (LPARAM)&place);
        printf("load %d width %d default %d\n", (int)rc, d.Column(0).width, before);
        return 0;
    }
    TestDialog d("Aufgaben", 900, 500, true);
    Columns(d);
    SetForegroundWindow(d.Dialog());
    PumpIdle();
    int before = d.Column(0).width;
    POINT pt = {before, HeaderHeight(d.List()) / 2};
    ClientToScreen(d.List(), &pt);
    printf("ready %d %d %d\n", (int)pt.x, (int)pt.y, (int)pt.x + 60);
    fflush(stdout);
    s_mainThread = GetCurrentThreadId();
    CloseHandle(CreateThread(nullptr, 0, WaitForLine, nullptr, 0, nullptr));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && !(msg.hwnd == nullptr && msg.message == WM_APP)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    PumpIdle();
    printf("width %d %d\n", before, d.Column(0).width);
    printf("saved %d\n", (int)d.Send(BRM_SAVELAYOUT, 0x1007, (LPARAM)&place));
    fflush(stdout);
    return 0;
}
