// What the data controller uses of a single reminder window: the entry it shows, the span the user
// chose to postpone it by, the next occurrence it keeps for a series, and its window. The
// controller's reminder-window map owns these objects (deleting one destroys its window); the main
// frame makes them when a reminder falls due and enters them into the map.
#pragma once

#include <afxdisp.h>

#include "CDataAppointment.h"

class CDataReminderWindow {
public:
    virtual ~CDataReminderWindow() {}

    // A copy of the entry's record.
    virtual CDataAppointment GetRecord() const = 0;
    // The postponement span chosen in the window (a zero span when none is chosen).
    virtual COleDateTimeSpan GetSpan() = 0;
    // The next occurrence of a series as the timer library reported it (null until known).
    virtual COleDateTime GetNextOccurrence() const = 0;
    // The parent the next Create gives the window.
    virtual void SetParentWindow(HWND hParent) = 0;
    // Creates the (hidden, modeless) window; FALSE on failure.
    virtual BOOL Create() = 0;
    // The window, NULL while it has none.
    virtual HWND GetWindowHandle() const = 0;
};
