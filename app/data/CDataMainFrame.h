// What the data controller uses of the main frame: its window (target of the reminder messages
// 1128 due, 1130 finished, 1132 next occurrence scheduled, lParam = record id) and its busy
// counter, raised while the data controller creates, edits, saves, deletes, postpones, moves,
// filters or maintains entries (CFrameBusyGuard). The main frame gives the counter its meaning.
#pragma once

#include <afx.h>

class CDataMainFrame {
public:
    enum Message { msgDue = 1128, msgFinished = 1130, msgNextScheduled = 1132, msgAddToMultiReminder = 1133 };

    virtual ~CDataMainFrame() {}

    virtual HWND GetFrameWindow() const = 0;
    // The counter; changed only with InterlockedIncrement and InterlockedDecrement.
    virtual volatile LONG* GetBusyCounter() = 0;
};
