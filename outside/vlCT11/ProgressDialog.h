// A modeless progress window of the library: a caption, a text of up to three lines, optionally a
// progress bar (0 to 100) and optionally an abort button "Abbrechen". The window belongs to the
// thread that creates it. Its caller is busy and does not pump messages, so every change paints
// at once and DispatchPending hands the window its waiting input.
//
// The abort button, Esc and the close box all ask for the abort; the window stays until its
// owner object destroys it (or the owner window is destroyed).
#pragma once

#include <windows.h>

class ProgressDialog {
public:
    // Control ids of the window.
    static constexpr int kTextId = 100;
    static constexpr int kBarId = 101;
    static constexpr int kAbortId = IDCANCEL;

    ProgressDialog(bool withBar, bool withAbortButton);
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // Creates and shows the window; false when that fails. An owner that is no window is
    // replaced by none.
    bool Create(HWND owner, const char* caption, const char* text);
    void SetCaption(const char* caption);
    void SetText(const char* text);
    // Moves the bar; values outside 0 to 100 are clipped.
    void SetPercent(int percent);
    // Dispatches the messages waiting for the window and its controls.
    void DispatchPending();
    bool AbortRequested() const { return m_abortRequested; }
    // The window; NULL before Create and once it is destroyed.
    HWND Window() const { return m_hwnd; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Repaint();

    bool m_withBar;
    bool m_withAbortButton;
    HWND m_hwnd = nullptr;
    bool m_abortRequested = false;
};
