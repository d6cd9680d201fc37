// The application object: one per module (the program, or a DLL that has one). Besides its names
// and handles it keeps the program's settings: with a registry key set (SetRegistryKey) the
// profile functions use HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>,
// otherwise the private profile file m_pszProfileName (binary values there are written as
// letters: per byte 'A' + low four bits, then 'A' + high four bits).
#pragma once

#include "CString.h"
#include "CWinThread.h"
#include "afxres.h"

class CCommandLineInfo;
class CDocManager;
class CDocTemplate;
class CDocument;

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = NULL);
    virtual ~CWinApp();

    // Names; the strings are allocated with malloc (a program may replace them the same way).
    LPCTSTR m_pszAppName;
    LPCTSTR m_pszExeName;
    LPCTSTR m_pszHelpFilePath;
    LPCTSTR m_pszProfileName;
    LPCTSTR m_pszRegistryKey;

    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPTSTR m_lpCmdLine;
    int m_nCmdShow;

    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    // lpszEntry NULL removes the section, lpszValue NULL the value.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // *ppData receives a block allocated with new[] (the caller deletes it), or NULL.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);

    // The key HKEY_CURRENT_USER\Software\<registry key>\<profile name>, created when missing, or
    // NULL; the caller closes it.
    HKEY GetAppRegistryKey();
    // The section key below the application key, created when missing, or NULL.
    HKEY GetSectionKey(LPCTSTR lpszSection);
    // Deletes the key and everything below it; ERROR_SUCCESS or the registry's error.
    LONG DelRegTree(HKEY hParentKey, const CString& strKeyName);

    virtual BOOL InitInstance();
    // Answers the exit code of the message loop's WM_QUIT.
    virtual int ExitInstance();
    // Called once before InitInstance; TRUE by default.
    virtual BOOL InitApplication();
    // The message loop; an application without a main window ends at once.
    virtual int Run();

    // Shows AfxMessageBox's boxes; the default chooses an icon from the buttons when nType has
    // none and shows the box through the library's box function (AfxShowMessageBox).
    // Called with FALSE before a modal dialog or box of the library is shown and with TRUE after
    // it. The library's modal dialogs disable their owners themselves, so the default does
    // nothing; a program overrides it to disable modeless windows of its own (floating tool
    // windows, a non-modal search dialog) that are no owners of the modal window.
    virtual void EnableModeless(BOOL bEnable);

    // Cursors and icons: of the program's resources (AfxFindResourceHandle), of the system
    // (IDC_..., IDI_...) and the OEM ones (OCR_..., OIC_...); NULL when there is none such.
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HCURSOR LoadOEMCursor(UINT nIDCursor) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;
    HICON LoadOEMIcon(UINT nIDIcon) const;

    virtual int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    static int PASCAL DoMessageBoxDefault(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt);

    // Switches the settings to the registry: the registry key becomes lpszRegistryKey (or the
    // string resource nIDRegistryKey) and the profile name the application name.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);

    // Fills the names that are not set yet from the module: the executable's name, the help
    // file path, the application name (string resource AFX_IDS_APP_TITLE, else the executable's
    // name) and the profile file (<exe name>.INI).
    void SetCurrentHandles();

    // The wait cursor, counted: 1 shows it (the first call keeps the cursor to return to), -1
    // ends one showing (the last one puts that cursor back), 0 shows it again while the count is
    // above 0 (after something else changed the cursor). Meant for the thread of the windows.
    virtual void DoWaitCursor(int nCode);
    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;

    // ---- documents ----
    // The templates of the program's documents (owned by the document manager, made with the
    // first template); the document functions do nothing without one.
    CDocManager* m_pDocManager;
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    // FALSE when a modified document was not saved because the user cancelled.
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount();
    // Hides the main window and puts it at the bottom of the z-order (the program closes).
    void HideApplication();

    // Hands every parameter of the command line (m_lpCmdLine, split as the C run time splits a
    // command line) to rCmdInfo.ParseParam.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Acts on the parsed command line: a new document (the ID_FILE_NEW command, else OnFileNew),
    // or the named file; FALSE when that failed or when no main window came of it.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    // Reads the standard settings ("Settings" / "PreviewPages"). The list of recent files is not
    // kept (nMaxMRU is accepted for the callers' sake).
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // Three-dimensional dialog controls: the system draws them so; TRUE.
    BOOL Enable3dControls();
    UINT m_nNumPreviewPages;

    // The help of the main window (CWnd::WinHelp).
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // Handlers a program puts into its application's message map.
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    // WM_CLOSE to the main window, as its close box.
    afx_msg void OnAppExit();
    afx_msg void OnHelpFinder();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpUsing();

protected:
    DECLARE_MESSAGE_MAP()
};

