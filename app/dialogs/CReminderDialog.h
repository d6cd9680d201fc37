// The window that announces one due reminder of an appointment or a to-do: an information panel,
// the entry's action row, the span to postpone or move it by and the buttons that tell the main
// frame what to do (WM_REMINDER_RESULT, sent with the result code and a pointer to the entry's
// record id). The data controller's reminder-window map owns the object; deleting it destroys the
// window. With the collective reminder window in use the object only carries the entry.
#pragma once

#include <afxdisp.h>

#include "CDataAppointment.h"
#include "CDataReminderWindow.h"
#include "CMfxDialog.h"
#include "CParsedEdit.h"

class CDataController;

#define WM_REMINDER_RESULT (WM_USER + 0x69)

enum ReminderResult {
    REMINDER_CLOSE = 1,
    REMINDER_POSTPONE = 3,
    REMINDER_EDIT = 4,
    REMINDER_RUN_ACTION = 5,
    REMINDER_GOTO_RECORD = 6,
    REMINDER_APPEND_NOTES = 7,
    REMINDER_MOVE = 8,
    REMINDER_DELETE = 9,
};

class CReminderDialog : public CMfxDialog, public CDataReminderWindow {
    DECLARE_DYNAMIC(CReminderDialog)
public:
    // pController gives the linked applications of the action row, the run and the link buttons
    // (NULL: the entry has no action row and the link buttons do nothing beyond their code).
    CReminderDialog(CDataAppointment record, CWnd* pNotifyWnd, CWnd* pParent, CDataController* pController = NULL);
    ~CReminderDialog() override;

    // CDataReminderWindow
    CDataAppointment GetRecord() const override { return m_record; }
    COleDateTimeSpan GetSpan() override;
    COleDateTime GetNextOccurrence() const override { return m_dtNextOccurrence; }
    void SetParentWindow(HWND hParent) override { m_pParent = CWnd::FromHandle(hParent); }
    BOOL Create() override;
    HWND GetWindowHandle() const override { return m_hWnd; }

    // The entry's record id as the result message carries it.
    DWORD GetItemId() const;
    // Consumes the Escape key.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    CComboBox m_cmbUnit;
    int m_nSpanCount;
    CParsedEdit m_edtCount;
    CWnd* m_pParent;
    CWnd* m_pNotifyWnd;
    HICON m_hIcon;
    BOOL m_bTimerFinished;
    COleDateTime m_dtNextOccurrence;
    long m_nOriginalId;
    CDataAppointment m_record;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    afx_msg void OnPostpone();
    afx_msg void OnMove();
    afx_msg void OnEdit();
    afx_msg void OnRunAction();
    afx_msg void OnGotoRecord();
    afx_msg void OnAppendNotes();
    afx_msg void OnDelete();
    afx_msg void OnHelpButton();
    DECLARE_MESSAGE_MAP()

private:
    // Sends the code to the notify window. The receiver may delete this object meanwhile: callers
    // touch no member afterwards.
    LRESULT SendResult(int nCode);
    // The count must be above 0 (else message 40071 and the focus to the count); then the code.
    void SendSpanResult(int nCode);
    // The first linked application offering the entry's action, or NULL.
    class CLinkedApplication* FindActionApplication() const;
    // Jump or append notes through the application of APP_ID.
    void CallLinkedApplication(BOOL bAppendNotes);

    CDataController* m_pController;
};
