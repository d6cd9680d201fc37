// The program's application object: brings the program up (InitInstance) and takes it down
// (ExitInstance), owns the settings and the data controller, serves the document as the
// automation root "Orvex.Application", and carries the process-wide services: the tray icon, the
// sound events, the unhandled-exception filter, the version tests, the administrator's shutdown
// marker, the help-id mapping and the About box.
#pragma once

#include <afxdisp.h>
#include <afxwin.h>

#include "CDataApplication.h"

class CAppSettings;
class CDataController;
class COrvexDoc;
class CMainFrame;

class COrvexApp : public CWinApp, public CDataApplication {
public:
    COrvexApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

    // Action 0 adds, 1 modifies, 2 deletes the tray icon of the window.
    void SetTrayIcon(int nAction, CWnd* pWnd);

    CAppSettings* GetSettings() override { return m_pSettings; }
    CDataController* GetDataController() { return m_pController; }
    COrvexDoc* GetOrvexDocument() { return m_pDocument; }
    void SetOrvexDocument(COrvexDoc* pDocument) { m_pDocument = pDocument; }
    BOOL IsStartedForAutomation() const { return m_bStartedForAutomation; }

    // CDataApplication
    CWinApp* GetWinApp() override { return this; }
    CString GetRegistryPath() override;
    CString GetProgramDirectory() override { return m_strProgramDirectory; }
    CDataUserSource* GetUserSource() override;
    CDataDocument* GetDocument() override;
    CDataMainFrame* GetMainFrame() override;
    // The program's dialogs are not handed out yet: opened from a reminder window, the appointment
    // dialog left every reminder window hidden (to be found before it is wired in).
    CDataDialogs* GetDialogs() override { return NULL; }
    // The automation objects of single entries (COleEntryObjects).
    CDataEntryObjects* GetEntryObjects() override;

    // The help id as the help file knows it: ids above 0x20000 lose that offset.
    static DWORD_PTR MapHelpId(DWORD_PTR dwData);

    COleTemplateServer m_server;

protected:
    CAppSettings* m_pSettings;
    CDataController* m_pController;
    COrvexDoc* m_pDocument;
    BOOL m_bStartedForAutomation;
    CString m_strProgramDirectory;

    afx_msg void OnAppAbout();
    DECLARE_MESSAGE_MAP()
};

extern COrvexApp theApp;

// The application's main window (NULL before it exists).
CMainFrame* GetMainFrame();

// The sound events "OX_Starten", "OX_Beenden" and "OX_Erinnerung".
void RegisterSoundEvents();
BOOL GetSoundEventFile(LPCTSTR lpszEvent, CString& strFile);
void PlaySoundEvent(LPCTSTR lpszEvent);

BOOL IsWindowsXPOrLater();
BOOL IsOlderThanWindows2000();
// The file beside the program with the extension "SHT" exists.
BOOL AdminShutdownMarkerExists();
void WriteAppearanceDefaults();
LONG WINAPI MyExceptionHandler(EXCEPTION_POINTERS* pExceptionInfo);

// "/regserver" or "/noregserver" (any letter case) as the only argument of the command line.
BOOL IsOnlyArgument(LPCTSTR lpszCommandLine, LPCTSTR lpszSwitch);
