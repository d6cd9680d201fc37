// Watches and drives OX's reminder windows from outside for the reminders' script test.
//   ox_reminder_probe wait <caption> <seconds>   waits for a visible window of the caption;
//                                                prints "window <x> <y>" or "none"
//   ox_reminder_probe count <caption>            prints "count <n>" (visible windows)
//   ox_reminder_probe text <caption> <id>        prints "text <the item's text>"
//   ox_reminder_probe shot <caption> <name> [all]  a screenshot to build/shots/reminders/<name>.png
//                                                (with "all": every window of the caption)
//   ox_reminder_probe click <caption> <id>       the button's click (BN_CLICKED), as the dialog
//                                                manager sends it; prints "clicked"
//   ox_reminder_probe gone <caption> <seconds>   prints "gone <0|1>"
//   ox_reminder_probe list <caption> <n> <seconds>  waits for n windows; prints "at <x> <y>" for
//                                                each, sorted by position
//   ox_reminder_probe settext <caption> <id> <text>  sets the item's text; prints "set"
//   ox_reminder_probe select <caption> <id> <index>  selects the combo box entry; prints "set"
//   ox_reminder_probe due <main window title> <record id>  queues the due message (1128) for the
//                                                id to OX's main window twice; prints
//                                                "queued <0|1>" when both have been handled
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestKit.h"

namespace {

struct Search {
    const char* pszCaption;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND hWnd, LPARAM lParam)
{
    Search* pSearch = (Search*)lParam;
    char szText[256];
    if (::IsWindowVisible(hWnd) && ::GetWindowTextA(hWnd, szText, sizeof szText) > 0 &&
        strcmp(szText, pSearch->pszCaption) == 0)
        pSearch->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> Find(const char* pszCaption)
{
    Search search{pszCaption, {}};
    ::EnumWindows(Collect, (LPARAM)&search);
    return search.found;
}

HWND WaitFor(const char* pszCaption, int nSeconds)
{
    for (int waited = 0; waited <= nSeconds * 10; waited++) {
        std::vector<HWND> found = Find(pszCaption);
        if (!found.empty())
            return found.front();
        ::Sleep(100);
    }
    return NULL;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string command = argv[1];
    const char* pszCaption = argv[2];
    if (command == "wait" && argc >= 4) {
        HWND hWnd = WaitFor(pszCaption, atoi(argv[3]));
        RECT r = {};
        if (hWnd != NULL)
            ::GetWindowRect(hWnd, &r);
        hWnd != NULL ? printf("window %ld %ld\n", r.left, r.top) : printf("none\n");
        return 0;
    }
    if (command == "count") {
        printf("count %d\n", (int)Find(pszCaption).size());
        return 0;
    }
    if (command == "gone" && argc >= 4) {
        for (int waited = 0; waited <= atoi(argv[3]) * 10; waited++) {
            if (Find(pszCaption).empty()) {
                printf("gone 1\n");
                return 0;
            }
            ::Sleep(100);
        }
        printf("gone 0\n");
        return 0;
    }
    if (command == "due" && argc >= 4) {
        HWND hMain = ::FindWindowA(NULL, pszCaption);
        while (hMain != NULL && ::GetMenu(hMain) == NULL)
            hMain = ::FindWindowExA(NULL, hMain, NULL, pszCaption);
        const LPARAM lId = (LPARAM)atol(argv[3]);
        // the first queued as the timer's callback queues it, the second sent and waited for, so
        // that both have been handled when the probe ends
        DWORD_PTR dwResult = 0;
        const BOOL bQueued = hMain != NULL && ::SendNotifyMessageA(hMain, 1128, 0, lId) &&
                             ::SendMessageTimeoutA(hMain, 1128, 0, lId, SMTO_NORMAL, 10000, &dwResult);
        printf("queued %d\n", bQueued ? 1 : 0);
        return 0;
    }
    if (command == "list" && argc >= 5) {
        const size_t nWanted = (size_t)atoi(argv[3]);
        std::vector<HWND> found;
        for (int waited = 0; waited <= atoi(argv[4]) * 10; waited++) {
            found = Find(pszCaption);
            if (found.size() >= nWanted)
                break;
            ::Sleep(100);
        }
        std::vector<std::pair<long, long>> places;
        for (HWND h : found) {
            RECT r;
            ::GetWindowRect(h, &r);
            places.push_back({r.left, r.top});
        }
        std::sort(places.begin(), places.end());
        for (const auto& p : places)
            printf("at %ld %ld\n", p.first, p.second);
        return 0;
    }
    HWND hWnd = WaitFor(pszCaption, 5);
    if (hWnd == NULL) {
        printf("none\n");
        return 0;
    }
    if (command == "text" && argc >= 4) {
        char szText[4096] = "";
        ::SendMessageA(::GetDlgItem(hWnd, atoi(argv[3])), WM_GETTEXT, sizeof szText, (LPARAM)szText);
        printf("text %s\n", szText);
    } else if (command == "shot" && argc >= 4) {
        ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ::Sleep(300); // the painting happens in OX's process
        RECT r;
        ::GetWindowRect(hWnd, &r);
        if (argc >= 5 && strcmp(argv[4], "all") == 0) {
            for (HWND h : Find(pszCaption)) {
                RECT other;
                ::GetWindowRect(h, &other);
                ::UnionRect(&r, &r, &other);
            }
            r.left = r.top = 0;
        }
        HDC screen = ::GetDC(NULL);
        std::string path = oxtest::SaveShot(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, "reminders", argv[3]);
        ::ReleaseDC(NULL, screen);
        printf("shot %s\n", path.empty() ? "failed" : "ok");
    } else if (command == "click" && argc >= 4) {
        const int nId = atoi(argv[3]);
        ::SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), (LPARAM)::GetDlgItem(hWnd, nId));
        printf("clicked\n");
    } else if (command == "select" && argc >= 5) {
        ::SendDlgItemMessageA(hWnd, atoi(argv[3]), CB_SETCURSEL, (WPARAM)atoi(argv[4]), 0);
        printf("set\n");
    } else if (command == "settext" && argc >= 5) {
        ::SetDlgItemTextA(hWnd, atoi(argv[3]), argv[4]);
        printf("set\n");
    } else
        return 2;
    return 0;
}
