// Test helper: shows one of the library's boxes attended (a real window) and answers it from a
// CBT hook of the calling thread, so a test can see what only a real box shows: its owner and
// the check box "Diese Meldung nicht mehr anzeigen".
//
//   oxtest::AttendedBox::Seen seen;
//   int answer = oxtest::AttendedBox::Answer(IDNO, true, seen, [] { return CtlMessageBoxAutoA(...); });
//
// When the first box of the thread is activated, the hook ticks the check box (when asked to)
// and presses the answer's button through posted messages, which the box's modal loop handles.
// A thread timer closes the box after 20 seconds should that fail, so no test can hang. The
// unattended mode is switched off only while show runs.
#pragma once

#include <windows.h>

namespace oxtest {

class AttendedBox {
public:
    struct Seen {
        HWND box = nullptr;   // the box's window (destroyed by now); NULL when none was shown
        HWND owner = nullptr; // its owner window
        bool checkBox = false; // it offered "Diese Meldung nicht mehr anzeigen"
    };

    template <typename Show>
    static int Answer(int answer, bool tick, Seen& seen, Show show)
    {
        State state{answer, tick, &seen};
        seen = Seen{};
        s_state = &state;
        SetEnvironmentVariableA("VLCT11_UNATTENDED", "0");
        HHOOK hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
        UINT_PTR timer = SetTimer(nullptr, 0, 20000, CloseBox);
        int result = show();
        KillTimer(nullptr, timer);
        if (hook)
            UnhookWindowsHookEx(hook);
        SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
        s_state = nullptr;
        return result;
    }

private:
    struct State {
        int answer;
        bool tick;
        Seen* seen;
    };
    static inline State* s_state = nullptr;

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        State* state = s_state;
        if (code == HCBT_ACTIVATE && state && !state->seen->box) {
            HWND box = (HWND)wParam;
            state->seen->box = box;
            state->seen->owner = GetWindow(box, GW_OWNER);
            HWND check = FindWindowExA(box, nullptr, "Button", "Diese Meldung nicht mehr anzeigen");
            state->seen->checkBox = check != nullptr;
            if (check && state->tick)
                PostMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
            PostMessageA(box, WM_COMMAND, (WPARAM)state->answer, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static void CALLBACK CloseBox(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_state && s_state->seen->box)
            PostMessageA(s_state->seen->box, WM_COMMAND, IDCANCEL, 0);
    }
};

} // namespace oxtest
