#include "COrvexApp.h"
#include "COleEntryObjects.h"

#include <afxdisp.h>
#include <afxole.h>
#include <afxcmn.h>
#include <commctrl.h>
#include <locale.h>

#include "CAboutDlg.h"
#include "CAppSettings.h"
#include "CDataController.h"
#include "ClassObjectHook.h"
#include "CMainFrame.h"
#include "COrvexDoc.h"
#include "CViewDays.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"
#include "MfxWindows.h"
#include "ShellResource.h"
#include "vlCT11.h"

// {AC47253D-62EA-11D4-9CE1-0060086FEFC0}
static const CLSID clsid = {0xAC47253D, 0x62EA, 0x11D4, {0x9C, 0xE1, 0x00, 0x60, 0x08, 0x6F, 0xEF, 0xC0}};

COrvexApp theApp;

BEGIN_MESSAGE_MAP(COrvexApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
ON_COMMAND(ID_APP_EXIT, CWinApp::OnAppExit)
END_MESSAGE_MAP()

COrvexApp::COrvexApp()
    : m_pSettings(NULL), m_pController(NULL), m_pDocument(NULL), m_bStartedForAutomation(FALSE)
{
}

CMainFrame* GetMainFrame()
{
    CWnd* pWnd = theApp.m_pMainWnd;
    return pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? (CMainFrame*)pWnd : NULL;
}

CString COrvexApp::GetRegistryPath()
{
    CString strPath;
    strPath.Format("Software\\%s\\%s", m_pszRegistryKey, m_pszProfileName);
    return strPath;
}

CDataUserSource* COrvexApp::GetUserSource()
{
    return m_pController;
}

CDataDocument* COrvexApp::GetDocument()
{
    return m_pDocument;
}

CDataMainFrame* COrvexApp::GetMainFrame()
{
    return ::GetMainFrame();
}

DWORD_PTR COrvexApp::MapHelpId(DWORD_PTR dwData)
{
    return dwData > 0x20000 ? dwData - 0x20000 : dwData;
}

void COrvexApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWinApp::WinHelp(MapHelpId(dwData), nCmd);
}

void COrvexApp::OnAppAbout()
{
    CAboutDlg dlg;
    dlg.DoModal();
}

void COrvexApp::SetTrayIcon(int nAction, CWnd* pWnd)
{
    NOTIFYICONDATAA data;
    ZeroMemory(&data, sizeof(data));
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = pWnd != NULL ? pWnd->GetSafeHwnd() : NULL;
    data.uID = 1;
    data.uCallbackMessage = WM_TRAY_NOTIFY;
    data.hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(),
                                     MAKEINTRESOURCEA(IsWindowsXPOrLater() ? IDI_TRAY_XP : IDI_TRAY_OLD), IMAGE_ICON,
                                     16, 16, 0);
    lstrcpynA(data.szTip, "velmar chronivo", 64);
    DWORD dwMessage;
    switch (nAction) {
    case 0:
        dwMessage = NIM_ADD;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        break;
    case 1:
        dwMessage = NIM_MODIFY;
        data.uFlags = NIF_ICON;
        break;
    default:
        dwMessage = NIM_DELETE;
        data.uFlags = 0;
        break;
    }
    ::Shell_NotifyIconA(dwMessage, &data);
    if (data.hIcon != NULL)
        ::DestroyIcon(data.hIcon);
}

BOOL COrvexApp::InitInstance()
{
    // 1.-3.
    HWND hForeground = ::GetForegroundWindow();
    ClassObjectHook::InstallClassObjectHook();
    setlocale(LC_ALL, "German");
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&icc);

    // 4.-8. OLE on this (the user-interface) thread, the control container, rich edit.
    if (!AfxOleInit()) {
        AfxMessageBox(IDS_OLE_INIT_FAILED);
        return FALSE;
    }
    AfxEnableControlContainer();
    if (!AfxInitRichEdit())
        AfxMessageBox(IDS_RICHEDIT_MISSING);
    Enable3dControls();
    WriteAppearanceDefaults();

    // 9. The controls library.
    CtlJobOpen();
    CtlSetDialogboxMode(0x200C);
    CtlSetHelpWindowDelay(600);
    CtlSkinHookingProhibitionFlags(0);

    // 10.-12.
    char szPath[MAX_PATH];
    ::GetModuleFileNameA(NULL, szPath, MAX_PATH);
    char szDrive[_MAX_DRIVE], szDir[_MAX_DIR];
    _splitpath(szPath, szDrive, szDir, NULL, NULL);
    m_strProgramDirectory = CString(szDrive) + szDir;
    SetRegistryKey("velmar");
    m_pSettings = new CAppSettings(this);

    // 13. The administrator's start lock.
    if (m_pSettings->m_bNoStart) {
        if (!m_pSettings->m_strNoStartMessage.IsEmpty()) {
            CString strCaption;
            strCaption.LoadString(IDS_PROGRAM_NAME);
            MfxMessageBox(NULL, m_pSettings->m_strNoStartMessage, strCaption, MB_OK | MB_ICONEXCLAMATION);
        }
        return FALSE;
    }

    // 14.-16.
    LoadStdProfileSettings(0);
    RegisterSoundEvents();
    PlaySoundEvent("OX_Starten");
    ::SetUnhandledExceptionFilter(MyExceptionHandler);

    // Tests force an access violation here (OX_TEST_CRASH=1) to see the filter's report.
    char szCrash[8];
    if (::GetEnvironmentVariableA("OX_TEST_CRASH", szCrash, sizeof(szCrash)) != 0 && szCrash[0] == '1')
    {
        volatile int* volatile pNowhere = NULL;
        *pNowhere = 0;
    }

    // 19. (early) Registration alone needs no data directory.
    const BOOL bRegisterOnly = IsOnlyArgument(m_lpCmdLine, "/regserver");
    const BOOL bNoRegister = IsOnlyArgument(m_lpCmdLine, "/noregserver");

    // 17. The data controller on this thread. A data directory that does not exist is named in one
    // box and ends the start before anything is made there.
    if (!bRegisterOnly) {
        CString strData = m_pSettings->m_strMainPath;
        CString strDir = strData;
        if (strDir.GetLength() > 3 && (strDir.Right(1) == "\\" || strDir.Right(1) == "/"))
            strDir = strDir.Left(strDir.GetLength() - 1);
        DWORD dwAttributes = ::GetFileAttributesA(strDir);
        if (dwAttributes == INVALID_FILE_ATTRIBUTES || !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            CString strFormat, strText, strCaption;
            strFormat.LoadString(IDS_DATA_DIR_MISSING);
            strText.Format(strFormat, (LPCTSTR)strData);
            strCaption.LoadString(IDS_PROGRAM_NAME);
            MfxMessageBox(NULL, strText, strCaption, MB_OK | MB_ICONSTOP);
            return FALSE;
        }
        m_pController = new CDataController(strData, m_pSettings->m_strCurrentUser);
        m_pController->SetRights(m_pSettings->m_strCurrentRights);
    }

    // 18. The document template and its automation class factory (multi-instance).
    CSingleDocTemplate* pTemplate = new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(COrvexDoc),
                                                           RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CViewDays));
    AddDocTemplate(pTemplate);
    m_server.ConnectTemplate(clsid, pTemplate, TRUE);

    // 19.-20.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (COleMessageFilter* pFilter = AfxOleGetMessageFilter()) {
        pFilter->SetMessagePendingDelay(90000);
        pFilter->SetRetryReply(60000);
    }

    // 21. An automation start.
    if (cmdInfo.m_bRunEmbedded || cmdInfo.m_bRunAutomated) {
        COleTemplateServer::RegisterAll();
        m_bStartedForAutomation = TRUE;
        m_nCmdShow = SW_HIDE;
    } else if (!m_pSettings->m_bVisible) {
        m_nCmdShow = SW_HIDE;
    }

    // 22. Registration below HKEY_CLASSES_ROOT, when the user may write there.
    if (!bNoRegister) {
        CString strProgId;
        pTemplate->GetDocString(strProgId, CDocTemplate::regFileTypeId);
        LPOLESTR pwszClsid = NULL;
        if (!strProgId.IsEmpty() && SUCCEEDED(::StringFromCLSID(clsid, &pwszClsid))) {
            CString strClsid(pwszClsid);
            ::CoTaskMemFree(pwszClsid);
            if (::RegSetValueA(HKEY_CLASSES_ROOT, strProgId + "\\CLSID", REG_SZ, strClsid, strClsid.GetLength()) ==
                    ERROR_SUCCESS &&
                ::RegSetValueA(HKEY_CLASSES_ROOT, "CLSID\\" + strClsid + "\\ProgID", REG_SZ, strProgId,
                               strProgId.GetLength()) == ERROR_SUCCESS) {
                m_server.UpdateRegistry(OAT_DISPATCH_OBJECT);
                COleObjectFactory::UpdateRegistryAll();
            }
        }
    }

    // 23.-24.
    if (bRegisterOnly)
        return FALSE;
    if (m_pController == NULL || !m_pController->IsOpen())
        return FALSE;

    // 25. The document and the main frame.
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    // 26. Show the main window.
    if (m_pMainWnd == NULL)
        return FALSE;
    if (m_pSettings->m_bVisible && !m_bStartedForAutomation) {
        m_pMainWnd->ShowWindow(m_pSettings->m_bMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    } else {
        m_pMainWnd->ShowWindow(SW_HIDE);
        ::SetWindowPos(m_pMainWnd->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    m_pMainWnd->UpdateWindow();
    if (m_pDocument != NULL)
        m_pDocument->UpdateAllViews(NULL, 0, NULL);

    // 27. The automation client keeps the foreground.
    if (m_bStartedForAutomation && ::IsWindow(hForeground) && ::IsWindowVisible(hForeground))
        MfxForceForegroundWindow(CWnd::FromHandle(hForeground));
    return TRUE;
}

int COrvexApp::ExitInstance()
{
    if (m_pSettings != NULL && !m_pSettings->m_bNoStart)
        PlaySoundEvent("OX_Beenden");
    CtlJobClose();
    delete m_pController;
    m_pController = NULL;
    delete m_pSettings;
    m_pSettings = NULL;
    return CWinApp::ExitInstance();
}

CDataEntryObjects* COrvexApp::GetEntryObjects()
{
    static COleEntryObjects s_objects;
    return &s_objects;
}
