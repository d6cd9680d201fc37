// Test double of a single reminder window: the record, span and next occurrence the test gives,
// and a real (plain, hidden) top-level window made by Create with the parent set before, so that
// the data controller's hiding, placing and showing can be looked at. What happened to it goes
// into a journal the test keeps, which outlives the window (the controller deletes it).
#pragma once

#include <string>
#include <vector>

#include "CDataMultiReminderWindow.h"
#include "CDataReminderWindow.h"

class CTestReminderWindow : public CDataReminderWindow {
public:
    // One line per event: "create <id> parent=<desktop|none|other>", "delete <id>".
    typedef std::vector<std::string> Journal;

    CTestReminderWindow(long nId, const CDataAppointment& record, Journal* pJournal);
    // Destroys the window.
    ~CTestReminderWindow() override;

    CDataAppointment GetRecord() const override { return m_record; }
    COleDateTimeSpan GetSpan() override { return m_span; }
    COleDateTime GetNextOccurrence() const override { return m_dtNext; }
    void SetParentWindow(HWND hParent) override { m_hParent = hParent; }
    BOOL Create() override;
    HWND GetWindowHandle() const override { return m_hWnd; }

    COleDateTimeSpan m_span;
    COleDateTime m_dtNext;
    // Create fails.
    BOOL m_bFailCreate = FALSE;

private:
    long m_nId;
    CDataAppointment m_record;
    Journal* m_pJournal;
    HWND m_hParent = NULL;
    HWND m_hWnd = NULL;
};

// Test double of the collective reminder window: a message-only window that notes the record ids
// of the entries it is given (message 1133) in the journal ("entry <id>"), and "create" and
// "delete" events.
class CTestMultiReminderWindow : public CDataMultiReminderWindow {
public:
    CTestMultiReminderWindow(HWND hNotify, HWND hParent, CTestReminderWindow::Journal* pJournal, BOOL bFailCreate);
    ~CTestMultiReminderWindow() override;

    BOOL Create() override;
    HWND GetWindowHandle() const override { return m_hWnd; }

    HWND m_hNotify;
    HWND m_hParent;

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    CTestReminderWindow::Journal* m_pJournal;
    BOOL m_bFailCreate;
    HWND m_hWnd = NULL;
};
