// Test double of the main frame: a busy counter and, when the test asks for one, a message-only
// window that records the messages it receives from WM_USER on (the reminder messages carry the
// record id), and WM_CLOSE, which it does not act on.
#pragma once

#include <vector>

#include "CDataMainFrame.h"

class CTestMainFrame : public CDataMainFrame {
public:
    struct Message {
        UINT nMsg;
        WPARAM wParam;
        LPARAM lParam;
    };

    // bWindow: create the recording window on this thread.
    explicit CTestMainFrame(bool bWindow = false);
    // Creates the recording window on this thread (when there is none yet).
    void MakeWindow();
    ~CTestMainFrame() override;

    HWND GetFrameWindow() const override { return m_hWnd; }
    volatile LONG* GetBusyCounter() override { return &m_nBusy; }

    // Delivers what is queued for the window (sent messages from other threads included).
    void PumpMessages();

    volatile LONG m_nBusy = 0;
    std::vector<Message> m_messages;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = NULL;
};
