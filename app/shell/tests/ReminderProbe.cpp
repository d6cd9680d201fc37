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
//   ox_reminder_probe bytes -                    an automation client of "Orvex.Application":
//                                                ActionData of a new appointment set to 5 bytes,
//                                                then to a 2-D and an empty byte array; prints
//                                                "bytes <hex read back> <ActionDataString>" and
//                                                "after2d <hex>" and "afterempty <hex>"
//   ox_reminder_probe front <caption>            prints "front <1|0>": the foreground window has
//                                                the caption
//   ox_reminder_probe due <main window title> <record id>  queues the due message (1128) for the
//                                                id to OX's main window twice; prints
//                                                "queued <0|1>" when both have been handled
#include <windows.h>
#include <oleauto.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestKit.h"

namespace {

DISPID IdOf(IDispatch* p, const wchar_t* pszName)
{
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = (LPOLESTR)pszName;
    p->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    return id;
}

HRESULT Get(IDispatch* p, const wchar_t* pszName, VARIANT* pResult)
{
    DISPPARAMS none = {NULL, NULL, 0, 0};
    return p->Invoke(IdOf(p, pszName), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none,
                     pResult, NULL, NULL);
}

HRESULT Put(IDispatch* p, const wchar_t* pszName, VARIANT value)
{
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {&value, &named, 1, 1};
    return p->Invoke(IdOf(p, pszName), IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, NULL, NULL, NULL);
}

// The action data as hexadecimal bytes ("text:<...>" for a string).
std::string ActionDataText(IDispatch* pEntry)
{
    VARIANT v;
    ::VariantInit(&v);
    Get(pEntry, L"ActionData", &v);
    std::string text;
    if (v.vt == (VT_ARRAY | VT_UI1)) {
        LONG lo = 0, hi = -1;
        ::SafeArrayGetLBound(v.parray, 1, &lo);
        ::SafeArrayGetUBound(v.parray, 1, &hi);
        BYTE* pData = NULL;
        ::SafeArrayAccessData(v.parray, (void**)&pData);
        char sz[4];
        for (LONG i = 0; i <= hi - lo; i++) {
            snprintf(sz, sizeof sz, "%02X", pData[i]);
            text += sz;
        }
        ::SafeArrayUnaccessData(v.parray);
    } else if (v.vt == VT_BSTR) {
        char sz[256] = "";
        ::WideCharToMultiByte(CP_ACP, 0, v.bstrVal, -1, sz, sizeof sz, NULL, NULL);
        text = std::string("text:") + sz;
    } else
        text = "vt" + std::to_string(v.vt);
    ::VariantClear(&v);
    return text;
}

int ByteArrays()
{
    ::CoInitialize(NULL);
    CLSID clsid;
    IDispatch* pRoot = NULL;
    if (FAILED(::CLSIDFromProgID(L"Orvex.Application", &clsid)) ||
        FAILED(::CoCreateInstance(clsid, NULL, CLSCTX_LOCAL_SERVER, IID_IDispatch, (void**)&pRoot))) {
        printf("noserver\n");
        return 0;
    }
    VARIANT list, entry;
    ::VariantInit(&list);
    ::VariantInit(&entry);
    Get(pRoot, L"Appointments", &list);
    Get(list.pdispVal, L"Add", &entry);
    IDispatch* pEntry = entry.pdispVal;

    VARIANT bytes;
    bytes.vt = VT_ARRAY | VT_UI1;
    bytes.parray = ::SafeArrayCreateVector(VT_UI1, 0, 5);
    BYTE* pData = NULL;
    ::SafeArrayAccessData(bytes.parray, (void**)&pData);
    const BYTE five[] = {0x00, 0x7F, 0x80, 0xFF, 0x42};
    memcpy(pData, five, 5);
    ::SafeArrayUnaccessData(bytes.parray);
    Put(pEntry, L"ActionDataString", [] { VARIANT t; t.vt = VT_BSTR; t.bstrVal = ::SysAllocString(L"vorher"); return t; }());
    Put(pEntry, L"ActionData", bytes);
    VARIANT str;
    ::VariantInit(&str);
    Get(pEntry, L"ActionDataString", &str);
    printf("bytes %s [%ls]\n", ActionDataText(pEntry).c_str(), str.bstrVal != NULL ? str.bstrVal : L"");
    ::VariantClear(&str);
    ::VariantClear(&bytes);

    SAFEARRAYBOUND two[2] = {{2, 0}, {2, 0}};
    VARIANT square;
    square.vt = VT_ARRAY | VT_UI1;
    square.parray = ::SafeArrayCreate(VT_UI1, 2, two);
    Put(pEntry, L"ActionData", square);
    printf("after2d %s\n", ActionDataText(pEntry).c_str());
    ::VariantClear(&square);

    VARIANT empty;
    empty.vt = VT_ARRAY | VT_UI1;
    empty.parray = ::SafeArrayCreateVector(VT_UI1, 0, 0);
    Put(pEntry, L"ActionData", empty);
    printf("afterempty %s\n", ActionDataText(pEntry).c_str());
    ::VariantClear(&empty);

    ::VariantClear(&entry);
    ::VariantClear(&list);
    pRoot->Release();
    ::CoUninitialize();
    return 0;
}

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
    if (strcmp(argv[1], "bytes") == 0)
        return ByteArrays();
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
    if (command == "front") {
        char szText[256] = "";
        ::GetWindowTextA(::GetForegroundWindow(), szText, sizeof szText);
        printf("front %d\n", strcmp(szText, pszCaption) == 0 ? 1 : 0);
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
        // the main window by its class (its menu lives in the menu bar, not in the window)
        HWND hMain = ::FindWindowA("OrvexMainFrame", pszCaption);
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
