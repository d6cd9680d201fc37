// What the data controller uses of the collective reminder window: it is made through the dialogs
// (CDataDialogs::MakeCollectiveReminder), created once, and takes entries by the message
// msgAddEntry (lParam = record id). The controller owns it; deleting it destroys its window.
#pragma once

#include <afx.h>

class CDataMultiReminderWindow {
public:
    // WM_USER + 0x6D: add the entry of the record id (lParam) to the window.
    enum { msgAddEntry = 1133 };

    virtual ~CDataMultiReminderWindow() {}

    // Creates the window; FALSE on failure.
    virtual BOOL Create() = 0;
    // The window, NULL while it has none.
    virtual HWND GetWindowHandle() const = 0;
};
