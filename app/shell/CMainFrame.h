// The program's main window: a toolkit frame with the flat menu bar, the toolbar, the filter bar
// (whose lists are filled by the filter code), the empty day view and a four-pane status bar; the
// arrangement of the bars is kept in "BarStates3". The close box hides it (the program stays in the tray); WM_CLOSE, the end of the Windows session
// and the administrator's shutdown marker (checked by timer 6) end the program.
#pragma once

#include <afxext.h>
#include <afxwin.h>

#include "CDataMainFrame.h"
#include "CTkDialogBar.h"
#include "CTkFrameWnd.h"
#include "CTkStatusBar.h"
#include "CTkToolBar.h"
#include "CUserColorCombo.h"

class CMainFrame : public CTkFrameWnd, public CDataMainFrame {
    DECLARE_DYNCREATE(CMainFrame)
public:
    enum {
        kRefreshCommand = 32784,
        kMarkerTimer = 6,
        kMarkerInterval = 120000,
    };

    CMainFrame();

    // CDataMainFrame
    HWND GetFrameWindow() const override { return m_hWnd; }
    volatile LONG* GetBusyCounter() override { return &m_nBusy; }

    int GetViewMode() const { return m_nViewMode < 0 ? 0 : m_nViewMode; }
    // Posts the view command of the mode (0-4); other values change nothing.
    void SelectViewMode(int nMode);
    // Shows the window in the foreground, or hides it at the bottom of the Z order; the settings'
    // "Visible" follows.
    void ShowMainWindow(BOOL bShow);
    void SetUserPane(LPCTSTR lpszUser);
    void SetAppointmentCountText(int nCount);
    void SetTaskCountText(int nCount);
    CStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CTkToolBar& GetToolBar() { return m_wndToolBar; }
    CTkDialogBar& GetFilterBar() { return m_wndFilterBar; }
    // Ends the modal dialogs of this thread (IDCANCEL); TRUE when there were any.
    BOOL EndOpenDialogs();

    static UINT GetUpdateViewsMessage();
    static UINT GetTaskbarCreatedMessage();

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnEndSession(BOOL bEnding);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUpdateViewsMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnViewCommand(UINT nID);
    afx_msg void OnRefresh();
    // Reminders (CMainFrameReminders.cpp): due (1128, lParam the record id), the reminder
    // window's result (1129, wParam the code, lParam a pointer to the id), the timer finished
    // (1130) and the next occurrence of a series scheduled (1132).
    afx_msg LRESULT OnReminderDue(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReminderResult(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReminderFinished(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReminderRescheduled(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CTkStatusBar m_wndStatusBar;
    CTkToolBar m_wndToolBar;
    CTkDialogBar m_wndFilterBar;
    CUserColorCombo m_userCombo;
    volatile LONG m_nBusy;
    int m_nViewMode;
    int m_nPreviousViewMode;
    int m_nMarkerCloses;
};
