// The program's single document and the root object of its automation server
// ("Orvex.Application"). It holds the state the views, dialogs, timer callback and clients
// share (the view date, the options, the open-dialog count, the reminder and tray switches), is
// the channel of the views' update hints, and decides whether the program may close.
#pragma once

#include <afxdisp.h>
#include <afxwin.h>

#include "CDataDocument.h"

class CExternalConnection;

class COrvexDoc : public CDocument, public CDataDocument {
    DECLARE_DYNCREATE(COrvexDoc)
public:
    COrvexDoc();
    ~COrvexDoc() override;

    BOOL OnNewDocument() override;
    void OnCloseDocument() override;
    BOOL SaveModified() override { return TRUE; }
    void Serialize(CArchive&) override {}

    // CDataDocument
    BOOL IsReminderOn() const override { return m_bShowReminders; }
    void GetSelectedDay(int& nYear, int& nMonth, int& nDay) const override;
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL) override
    {
        CDocument::UpdateAllViews(pSender, lHint, pHint);
    }

    // Counted dialogs raise it in their initialisation and lower it when their window is
    // destroyed (SharedDialogHandlers.h).
    volatile LONG* GetOpenDialogCounter() override { return &m_nOpenDialogs; }
    long GetConnections() const;
    void SetSessionEnding(BOOL bEnding) { m_bSessionEnding = bEnding; }
    BOOL IsSessionEnding() const { return m_bSessionEnding; }
    BOOL IsVisibleInTray() const { return m_bVisibleInTray; }
    BOOL IsUpdateThreadSuspended() const { return m_bUpdateThreadSuspended; }
    BOOL GetHoldReloads() const { return m_bHoldReloads; }
    void SetViewDay(int nYear, int nMonth, int nDay);

    // Automation members (public for the program's tests, which call them as clients would).
    BSTR GetCurrentUser();
    void SetCurrentUser(LPCTSTR lpszUser);
    long GetActiveView();
    void SetActiveView(long nView);
    DATE GetViewDate();
    void SetViewDate(DATE date);
    BOOL GetVisible();
    void SetVisible(BOOL bVisible);
    BSTR GetCurrentUserRights();
    void SetCurrentUserRights(LPCTSTR lpszRights);
    LPDISPATCH GetAppointments();
    void SetAppointments(LPDISPATCH);
    LPDISPATCH GetTodos();
    void SetTodos(LPDISPATCH);
    BSTR GetHostID();
    void SetHostID(LPCTSTR lpszHostId);
    BSTR GetDatabaseDirectory();
    void SetDatabaseDirectory(LPCTSTR lpszDirectory);
    BOOL GetShowReminder();
    void SetShowReminder(BOOL bShow);
    BOOL GetVisibleInTray();
    void SetVisibleInTray(BOOL bVisible);
    void SetOptions(long nOption, long nValue);
    long GetOptions(long nOption);
    void SetOptionStrings(long nOption, LPCTSTR lpszValue);
    BSTR GetOptionStrings(long nOption);
    void UpdateViews();
    void UpdateViewsDeterministic();
    void EnableUpdateThread(long nEnable);

protected:
    LPUNKNOWN GetInterfaceHook(const void* piid) override;

    CExternalConnection* m_pExternalConnection;
    // The appointment collection, made with the first request.
    LPDISPATCH m_pAppointments;
    int m_nViewYear, m_nViewMonth, m_nViewDay;
    DWORD m_dwActiveObjectCookie;
    BOOL m_bHoldReloads;
    BOOL m_bOption1;
    volatile LONG m_nOpenDialogs;
    volatile BOOL m_bShowReminders;
    BOOL m_bVisibleInTray;
    BOOL m_bUpdateThreadSuspended;
    BOOL m_bSessionEnding;
    // The controller's busy counter raised by option 0 (lowered only by switching it off).
    BOOL m_bHoldRaised;
    // OnCloseDocument is past its refusals and closes.
    BOOL m_bClosing;

    DECLARE_DISPATCH_MAP()
    DECLARE_MESSAGE_MAP()
};
