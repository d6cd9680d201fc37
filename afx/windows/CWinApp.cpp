#include "AfxWindowLayer.h"
#include "CStringArray.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

namespace {

void ReplaceString(LPCTSTR& rpsz, LPCTSTR lpszNew)
{
    free((void*)rpsz);
    rpsz = lpszNew != NULL ? _strdup(lpszNew) : NULL;
}

} // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(lpszAppName != NULL ? _strdup(lpszAppName) : NULL), m_pszExeName(NULL), m_pszHelpFilePath(NULL),
      m_pszProfileName(NULL), m_pszRegistryKey(NULL), m_hInstance(NULL), m_hPrevInstance(NULL), m_lpCmdLine(NULL),
      m_nCmdShow(SW_SHOWNORMAL), m_nWaitCursorCount(0), m_hcurWaitCursorRestore(NULL), m_pDocManager(NULL),
      m_nNumPreviewPages(0)
{
    // The application object is the thread object of the thread that constructs it.
    AfxSetCurrentThread(this);
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    pModuleState->m_pCurrentWinApp = this;
    if (m_pszAppName != NULL)
        pModuleState->m_lpszCurrentAppName = m_pszAppName;
}

CWinApp::~CWinApp()
{
    delete m_pDocManager;
    m_pDocManager = NULL;
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    if (pModuleState->m_pCurrentWinApp == this) {
        pModuleState->m_pCurrentWinApp = NULL;
        pModuleState->m_lpszCurrentAppName = NULL;
    }
    // m_hThread is the pseudo handle of the constructing thread: nothing to close.
    m_hThread = NULL;
    free((void*)m_pszAppName);
    free((void*)m_pszExeName);
    free((void*)m_pszHelpFilePath);
    free((void*)m_pszProfileName);
    free((void*)m_pszRegistryKey);
}

BOOL CWinApp::InitInstance() { return TRUE; }

void CWinApp::DoWaitCursor(int nCode)
{
    HCURSOR hcurWait = ::LoadCursorA(NULL, (LPCSTR)IDC_WAIT);
    if (nCode > 0) {
        HCURSOR hcurPrevious = ::SetCursor(hcurWait);
        if (m_nWaitCursorCount++ == 0)
            m_hcurWaitCursorRestore = hcurPrevious;
    } else if (nCode < 0) {
        if (m_nWaitCursorCount <= 0)
            return;
        if (--m_nWaitCursorCount == 0)
            ::SetCursor(m_hcurWaitCursorRestore);
    } else if (m_nWaitCursorCount > 0)
        ::SetCursor(hcurWait);
}

int CWinApp::ExitInstance() { return (int)AfxGetThreadState()->m_msgCur.wParam; }

BOOL CWinApp::InitApplication() { return TRUE; }

void CWinApp::EnableModeless(BOOL) {}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return ::LoadCursorA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEA(nIDResource)); }

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorA(NULL, lpszCursorName); }

HCURSOR CWinApp::LoadOEMCursor(UINT nIDCursor) const { return ::LoadCursorA(NULL, MAKEINTRESOURCEA(nIDCursor)); }

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return ::LoadIconA(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEA(nIDResource)); }

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconA(NULL, lpszIconName); }

HICON CWinApp::LoadOEMIcon(UINT nIDIcon) const { return ::LoadIconA(NULL, MAKEINTRESOURCEA(nIDIcon)); }

int CWinApp::Run()
{
    if (m_pMainWnd == NULL)
        AfxPostQuitMessage(0);
    return CWinThread::Run();
}

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) { return DoMessageBoxDefault(lpszPrompt, nType, nIDPrompt); }

int PASCAL CWinApp::DoMessageBoxDefault(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt)
{
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        case MB_ABORTRETRYIGNORE:
        case MB_RETRYCANCEL:
            break;
        }
    }
    // The box belongs to the window whose data are being exchanged, else to what the user works
    // with (the main window's last active popup), whose top-level window stays disabled meanwhile.
    HWND hWndTop = NULL;
    HWND hWndOwner = AfxGetThreadState()->m_hWndBoxOwner;
    if (hWndOwner == NULL || !::IsWindow(hWndOwner))
        hWndOwner = AfxGetSafeOwner(NULL, &hWndTop);
    int nResult = AfxShowMessageBox(hWndOwner, lpszPrompt, nType, nIDPrompt);
    if (hWndTop != NULL)
        ::EnableWindow(hWndTop, TRUE);
    return nResult;
}

void CWinApp::SetCurrentHandles()
{
    char szModule[MAX_PATH];
    DWORD n = GetModuleFileNameA(m_hInstance != NULL ? m_hInstance : AfxGetInstanceHandle(), szModule, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        szModule[0] = '\0';

    // The executable's name without folder and extension.
    LPCSTR pszName = szModule;
    for (LPCSTR p = szModule; *p != '\0'; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':')
            pszName = p + 1;
    }
    CString strExeName(pszName);
    int nDot = strExeName.ReverseFind('.');
    if (nDot > 0)
        strExeName = strExeName.Left(nDot);

    if (m_pszExeName == NULL)
        ReplaceString(m_pszExeName, strExeName);
    if (m_pszHelpFilePath == NULL) {
        CString strHelp(szModule);
        int nExtDot = strHelp.ReverseFind('.');
        if (nExtDot > strHelp.GetLength() - 5 && nExtDot > 0)
            strHelp = strHelp.Left(nExtDot);
        strHelp += ".HLP";
        ReplaceString(m_pszHelpFilePath, strHelp);
    }
    if (m_pszAppName == NULL) {
        CString strTitle;
        if (!strTitle.LoadString(AFX_IDS_APP_TITLE))
            strTitle = m_pszExeName;
        ReplaceString(m_pszAppName, strTitle);
    }
    if (m_pszProfileName == NULL) {
        CString strProfile = m_pszExeName;
        strProfile += ".INI";
        ReplaceString(m_pszProfileName, strProfile);
    }
    AfxGetModuleState()->m_lpszCurrentAppName = m_pszAppName;
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey)
{
    if (m_pszAppName == NULL)
        SetCurrentHandles();
    ReplaceString(m_pszRegistryKey, lpszRegistryKey);
    ReplaceString(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    strKey.LoadString(nIDRegistryKey);
    SetRegistryKey(strKey);
}

// ---- registry keys -----------------------------------------------------------------------------

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == NULL || m_pszProfileName == NULL)
        return NULL;
    HKEY hAppKey = NULL;
    HKEY hSoftKey = NULL;
    HKEY hCompanyKey = NULL;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, KEY_WRITE | KEY_READ, &hSoftKey) == ERROR_SUCCESS) {
        DWORD dw;
        if (RegCreateKeyExA(hSoftKey, m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, NULL,
                            &hCompanyKey, &dw) == ERROR_SUCCESS) {
            RegCreateKeyExA(hCompanyKey, m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ,
                            NULL, &hAppKey, &dw);
        }
    }
    if (hSoftKey != NULL)
        RegCloseKey(hSoftKey);
    if (hCompanyKey != NULL)
        RegCloseKey(hCompanyKey);
    return hAppKey;
}

HKEY CWinApp::GetSectionKey(LPCTSTR lpszSection)
{
    if (lpszSection == NULL)
        return NULL;
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL)
        return NULL;
    HKEY hSectionKey = NULL;
    DWORD dw;
    RegCreateKeyExA(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_READ, NULL, &hSectionKey,
                    &dw);
    RegCloseKey(hAppKey);
    return hSectionKey;
}

LONG CWinApp::DelRegTree(HKEY hParentKey, const CString& strKeyName)
{
    HKEY hCurrentKey;
    LONG lResult = RegOpenKeyExA(hParentKey, strKeyName, 0, KEY_READ | KEY_WRITE, &hCurrentKey);
    if (lResult != ERROR_SUCCESS)
        return lResult;
    char szSubKeyName[256];
    // Always the first subkey: the one before it has just been deleted.
    while ((lResult = RegEnumKeyA(hCurrentKey, 0, szSubKeyName, sizeof szSubKeyName)) == ERROR_SUCCESS) {
        if ((lResult = DelRegTree(hCurrentKey, szSubKeyName)) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(hCurrentKey);
    if (lResult == ERROR_NO_MORE_ITEMS || lResult == ERROR_BADKEY)
        lResult = RegDeleteKeyA(hParentKey, strKeyName);
    return lResult;
}

// ---- profile functions -------------------------------------------------------------------------

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (m_pszRegistryKey == NULL)
        return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);

    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return (UINT)nDefault;
    DWORD dwValue = 0;
    DWORD dwType = 0;
    DWORD dwCount = sizeof(DWORD);
    LONG lResult = RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)&dwValue, &dwCount);
    RegCloseKey(hSecKey);
    // Only a 4-byte DWORD value is a number; anything else gives the default.
    if (lResult == ERROR_SUCCESS && dwType == REG_DWORD && dwCount == sizeof(DWORD))
        return (UINT)dwValue;
    return (UINT)nDefault;
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (m_pszRegistryKey == NULL) {
        char szT[16];
        wsprintfA(szT, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, szT, m_pszProfileName);
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwValue = (DWORD)nValue;
    LONG lResult = RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof dwValue);
    RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    if (m_pszRegistryKey == NULL) {
        char szT[4096];
        ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault != NULL ? lpszDefault : "", szT, sizeof szT,
                                   m_pszProfileName);
        return szT;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return lpszDefault;
    CString strValue;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS && (dwType == REG_SZ || dwType == REG_EXPAND_SZ)) {
        lResult = RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)strValue.GetBuffer((int)dwCount),
                                   &dwCount);
        strValue.ReleaseBuffer();
    } else if (lResult == ERROR_SUCCESS)
        lResult = ERROR_INVALID_DATA;
    RegCloseKey(hSecKey);
    if (lResult == ERROR_SUCCESS)
        return strValue;
    return lpszDefault;
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (m_pszRegistryKey == NULL)
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszEntry != NULL ? lpszValue : NULL,
                                            m_pszProfileName);
    LONG lResult;
    if (lpszEntry == NULL) {
        // Remove the whole section.
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == NULL)
            return FALSE;
        lResult = RegDeleteKeyA(hAppKey, lpszSection);
        RegCloseKey(hAppKey);
    } else if (lpszValue == NULL) {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL)
            return FALSE;
        lResult = RegDeleteValueA(hSecKey, lpszEntry);
        RegCloseKey(hSecKey);
    } else {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL)
            return FALSE;
        lResult = RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue, (DWORD)strlen(lpszValue) + 1);
        RegCloseKey(hSecKey);
    }
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    *ppData = NULL;
    *pBytes = 0;
    if (m_pszRegistryKey == NULL) {
        CString str = GetProfileString(lpszSection, lpszEntry, NULL);
        if (str.IsEmpty())
            return FALSE;
        // Two letters per byte; a trailing odd letter is dropped.
        UINT nBytes = (UINT)str.GetLength() / 2;
        *ppData = new BYTE[nBytes > 0 ? nBytes : 1];
        for (UINT i = 0; i < nBytes; ++i)
            (*ppData)[i] = (BYTE)((((BYTE)str[2 * i + 1] - 'A') << 4) + ((BYTE)str[2 * i] - 'A'));
        *pBytes = nBytes;
        return TRUE;
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwType = 0;
    DWORD dwCount = 0;
    LONG lResult = RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS) {
        *ppData = new BYTE[dwCount > 0 ? dwCount : 1];
        lResult = RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, *ppData, &dwCount);
        if (lResult == ERROR_SUCCESS)
            *pBytes = dwCount;
        else {
            delete[] *ppData;
            *ppData = NULL;
        }
    }
    RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (m_pszRegistryKey == NULL) {
        CString str;
        LPTSTR lpsz = str.GetBufferSetLength((int)nBytes * 2);
        for (UINT i = 0; i < nBytes; ++i) {
            lpsz[2 * i] = (char)((pData[i] & 0x0F) + 'A');
            lpsz[2 * i + 1] = (char)(((pData[i] >> 4) & 0x0F) + 'A');
        }
        str.ReleaseBuffer((int)nBytes * 2);
        return WriteProfileString(lpszSection, lpszEntry, str);
    }
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    LONG lResult = RegSetValueExA(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

// ---- documents -----------------------------------------------------------------------------------

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (m_pDocManager == NULL)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager != NULL ? m_pDocManager->GetFirstDocTemplatePosition() : NULL;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    return m_pDocManager != NULL ? m_pDocManager->GetNextDocTemplate(pos) : NULL;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName)
{
    return m_pDocManager != NULL ? m_pDocManager->OpenDocumentFile(lpszFileName) : NULL;
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager != NULL ? m_pDocManager->SaveAllModified() : TRUE; }

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager != NULL)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

int CWinApp::GetOpenDocumentCount() { return m_pDocManager != NULL ? m_pDocManager->GetOpenDocumentCount() : 0; }

void CWinApp::HideApplication()
{
    if (m_pMainWnd == NULL || m_pMainWnd->m_hWnd == NULL)
        return;
    m_pMainWnd->ShowWindow(SW_HIDE);
    // at the bottom, so that closing it activates no window of the program
    ::SetWindowPos(m_pMainWnd->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager != NULL)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    if (m_pDocManager != NULL)
        m_pDocManager->OnFileOpen();
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != NULL)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

// ---- command line --------------------------------------------------------------------------------

namespace {

// Splits a command line as the C run time splits it into arguments: blanks separate arguments
// outside quotes; 2n backslashes before a quote give n backslashes and the quote opens or closes
// a quoted part, 2n+1 give n backslashes and a literal quote; other backslashes are literal.
void SplitCommandLine(LPCTSTR lpszCmdLine, CStringArray& args)
{
    const char* p = lpszCmdLine != NULL ? lpszCmdLine : "";
    for (;;) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0')
            break;
        CString strArg;
        BOOL bQuoted = FALSE;
        while (*p != '\0' && (bQuoted || (*p != ' ' && *p != '\t'))) {
            if (*p == '\\') {
                int nSlashes = 0;
                while (*p == '\\') {
                    ++nSlashes;
                    ++p;
                }
                if (*p == '"') {
                    for (int i = 0; i < nSlashes / 2; i++)
                        strArg += '\\';
                    if (nSlashes % 2 != 0) {
                        strArg += '"';
                        ++p;
                    }
                } else {
                    for (int i = 0; i < nSlashes; i++)
                        strArg += '\\';
                }
            } else if (*p == '"') {
                bQuoted = !bQuoted;
                ++p;
            } else {
                strArg += *p++;
            }
        }
        args.Add(strArg);
    }
}

} // namespace

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    CStringArray args;
    SplitCommandLine(m_lpCmdLine, args);
    int nCount = (int)args.GetSize();
    for (int i = 0; i < nCount; i++) {
        LPCTSTR pszParam = args[i];
        BOOL bFlag = pszParam[0] == '-' || pszParam[0] == '/';
        if (bFlag)
            ++pszParam;
        rCmdInfo.ParseParam(pszParam, bFlag, i == nCount - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo)
{
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        // the program's own handler of the command when it has one
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, NULL, NULL))
            OnFileNew();
        return m_pMainWnd != NULL;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != NULL;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    default:
        // printing and DDE are not part of the program
        return FALSE;
    }
}

BOOL CWinApp::Enable3dControls()
{
    return TRUE;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    UNUSED(nMaxMRU);
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

// ---- help ----------------------------------------------------------------------------------------

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != NULL)
        pMainWnd->WinHelp(dwData, nCmd);
}

void CWinApp::OnHelpFinder() { WinHelp(0, HELP_FINDER); }

void CWinApp::OnHelpIndex() { WinHelp(0, HELP_INDEX); }

void CWinApp::OnHelpUsing() { WinHelp(0, HELP_HELPONHELP); }
