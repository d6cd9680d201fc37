#include "ProgressDialog.h"

#include <commctrl.h>

#include "DialogTemplate.h"
#include "Module.h"

namespace {

// Posted to the window when it must be destroyed from another thread.
const UINT kDestroyMessage = WM_APP + 0x131;

// Layout in dialog units.
const short kWidth = 250;
const short kMargin = 7;
const short kTextHeight = 26;
const short kBarHeight = 10;
const short kButtonWidth = 50;
const short kButtonHeight = 14;
const short kGap = 5;

} // namespace

ProgressDialog::ProgressDialog(bool withBar, bool withAbortButton)
    : m_withBar(withBar), m_withAbortButton(withAbortButton)
{
}

ProgressDialog::~ProgressDialog()
{
    if (!m_hwnd)
        return;
    HWND hwnd = m_hwnd;
    m_hwnd = nullptr;
    SetWindowLongPtrA(hwnd, DWLP_USER, 0); // the procedure no longer reaches this object
    if (!DestroyWindow(hwnd))
        PostMessageA(hwnd, kDestroyMessage, 0, 0); // a window of another thread ends in its thread
}

bool ProgressDialog::Create(HWND owner, const char* caption, const char* text)
{
    if (m_hwnd)
        return true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    if (owner && !IsWindow(owner))
        owner = nullptr;

    DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_CENTER | DS_FIXEDSYS;
    if (m_withAbortButton)
        style |= WS_SYSMENU;
    short y = kMargin + kTextHeight + kGap;
    short barY = y;
    if (m_withBar)
        y += kBarHeight + kGap;
    short buttonY = y;
    if (m_withAbortButton)
        y += kButtonHeight + kGap;
    short height = y - kGap + kMargin;

    DialogTemplate tpl(style, 0, 0, 0, kWidth, height, caption);
    tpl.AddItem("Static", text, kTextId, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, kMargin, kMargin,
                kWidth - 2 * kMargin, kTextHeight);
    if (m_withBar)
        tpl.AddItem(PROGRESS_CLASSA, "", kBarId, WS_VISIBLE | WS_BORDER, kMargin, barY, kWidth - 2 * kMargin,
                    kBarHeight);
    if (m_withAbortButton)
        tpl.AddItem("Button", "Abbrechen", kAbortId, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                    (kWidth - kButtonWidth) / 2, buttonY, kButtonWidth, kButtonHeight);

    HWND hwnd = CreateDialogIndirectParamA(LibraryInstance(), tpl.Get(), owner, DialogProc, (LPARAM)this);
    if (!hwnd)
        return false;
    m_hwnd = hwnd;
    ShowWindow(hwnd, SW_SHOW);
    Repaint();
    return true;
}

void ProgressDialog::SetCaption(const char* caption)
{
    if (!m_hwnd)
        return;
    SetWindowTextA(m_hwnd, caption ? caption : "");
    Repaint();
}

void ProgressDialog::SetText(const char* text)
{
    if (!m_hwnd)
        return;
    SetDlgItemTextA(m_hwnd, kTextId, text ? text : "");
    Repaint();
}

void ProgressDialog::SetPercent(int percent)
{
    if (!m_hwnd || !m_withBar)
        return;
    if (percent < 0)
        percent = 0;
    if (percent > 100)
        percent = 100;
    SendDlgItemMessageA(m_hwnd, kBarId, PBM_SETPOS, (WPARAM)percent, 0);
    Repaint();
}

void ProgressDialog::DispatchPending()
{
    MSG msg;
    while (m_hwnd && PeekMessageA(&msg, m_hwnd, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage((int)msg.wParam); // the caller's loop must still see it
            break;
        }
        if (!IsDialogMessageA(m_hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void ProgressDialog::Repaint()
{
    if (m_hwnd)
        RedrawWindow(m_hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

INT_PTR CALLBACK ProgressDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ProgressDialog* self = reinterpret_cast<ProgressDialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        self = reinterpret_cast<ProgressDialog*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        self->m_hwnd = hwnd;
        if (self->m_withBar)
            SendDlgItemMessageA(hwnd, kBarId, PBM_SETRANGE32, 0, 100);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            if (self && self->m_withAbortButton && !self->m_abortRequested) {
                self->m_abortRequested = true;
                EnableWindow(GetDlgItem(hwnd, kAbortId), FALSE);
            }
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        // With an abort button the dialog manager turns the close box into IDCANCEL; without one
        // the window stays until its owner object ends it.
        return self && self->m_withAbortButton ? FALSE : TRUE;
    case WM_DESTROY:
        if (self)
            self->m_hwnd = nullptr;
        return FALSE;
    default:
        if (message == kDestroyMessage) {
            DestroyWindow(hwnd);
            return TRUE;
        }
        return FALSE;
    }
}
