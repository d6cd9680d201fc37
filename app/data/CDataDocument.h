// What the data controller and the dialogs use of the document: the reminder switch, the selected
// day for new entries, the open-dialog count, and the notice to the views (UpdateAllViews with a hint and, for deleted and changed
// entries, a CStringList of record ids as hint object).
#pragma once

#include <afx.h>

class CView;

class CDataDocument {
public:
    enum Hint {
        hintFilterChanged = 0,
        hintAppointmentCreated = 100,
        hintAppointmentDeleted = 101,
        hintAppointmentChanged = 102,
        hintTodoCreated = 103,
        hintTodoDeleted = 104,
        hintTodoChanged = 105,
        hintPeriodicRefresh = 106,
        hintReloaded = 107,
        hintGoToToday = 108,
        hintOptionsChanged = 109,
    };

    virtual ~CDataDocument() {}

    // FALSE: the reminder timers' signals are dropped.
    virtual BOOL IsReminderOn() const = 0;
    // The day selected in the views.
    virtual void GetSelectedDay(int& nYear, int& nMonth, int& nDay) const = 0;
    // The data controller passes a NULL sender.
    virtual void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL) = 0;
    // The count of the program's open dialogs, which keeps the document from closing (NULL: the
    // document counts none).
    virtual volatile LONG* GetOpenDialogCounter() { return NULL; }
};
