#include "COrvexDoc.h"

#include <shellapi.h>
#include <stdio.h>

#include "CAppSettings.h"
#include "CDataController.h"
#include "CExternalConnection.h"
#include "CMainFrame.h"
#include "COrvexApp.h"
#include "COLEAppointmentItemList.h"
#include "MfxMessageBox.h"
#include "ShellResource.h"

IMPLEMENT_DYNCREATE(COrvexDoc, CDocument)

BEGIN_MESSAGE_MAP(COrvexDoc, CDocument)
ON_COMMAND(ID_FILE_SEND_MAIL, OnFileSendMail)
END_MESSAGE_MAP()

// The members' positions are their DISPIDs (1-18).
BEGIN_DISPATCH_MAP(COrvexDoc, CDocument)
DISP_PROPERTY_EX(COrvexDoc, "CurrentUser", GetCurrentUser, SetCurrentUser, VT_BSTR)
DISP_PROPERTY_EX(COrvexDoc, "ActiveView", GetActiveView, SetActiveView, VT_I4)
DISP_PROPERTY_EX(COrvexDoc, "ViewDate", GetViewDate, SetViewDate, VT_DATE)
DISP_PROPERTY_EX(COrvexDoc, "Visible", GetVisible, SetVisible, VT_BOOL)
DISP_PROPERTY_EX(COrvexDoc, "CurrentUserRights", GetCurrentUserRights, SetCurrentUserRights, VT_BSTR)
DISP_PROPERTY_EX(COrvexDoc, "Appointments", GetAppointments, SetAppointments, VT_DISPATCH)
DISP_PROPERTY_EX(COrvexDoc, "Todos", GetTodos, SetTodos, VT_DISPATCH)
DISP_PROPERTY_EX(COrvexDoc, "HostID", GetHostID, SetHostID, VT_BSTR)
DISP_PROPERTY_EX(COrvexDoc, "DatabaseDirectory", GetDatabaseDirectory, SetDatabaseDirectory, VT_BSTR)
DISP_PROPERTY_EX(COrvexDoc, "ShowReminder", GetShowReminder, SetShowReminder, VT_BOOL)
DISP_PROPERTY_EX(COrvexDoc, "VisibleInTray", GetVisibleInTray, SetVisibleInTray, VT_BOOL)
DISP_FUNCTION(COrvexDoc, "SetOptions", SetOptions, VT_EMPTY, VTS_I4 VTS_I4)
DISP_FUNCTION(COrvexDoc, "GetOptions", GetOptions, VT_I4, VTS_I4)
DISP_FUNCTION(COrvexDoc, "SetOptionStrings", SetOptionStrings, VT_EMPTY, VTS_I4 VTS_BSTR)
DISP_FUNCTION(COrvexDoc, "GetOptionStrings", GetOptionStrings, VT_BSTR, VTS_I4)
DISP_FUNCTION(COrvexDoc, "UpdateViews", UpdateViews, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(COrvexDoc, "UpdateViewsDeterministic", UpdateViewsDeterministic, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(COrvexDoc, "EnableUpdateThread", EnableUpdateThread, VT_EMPTY, VTS_I4)
END_DISPATCH_MAP()

namespace {

// Tests name a file (OX_TEST_BUSY_LOG) that gets the controller's and the frame's busy counters
// before and after each EnableUpdateThread call.
void LogBusyCounters(long nEnable, LONG nControllerBefore, LONG nFrameBefore, LONG nControllerAfter, LONG nFrameAfter)
{
    char szLog[MAX_PATH];
    if (::GetEnvironmentVariableA("OX_TEST_BUSY_LOG", szLog, MAX_PATH) == 0)
        return;
    FILE* f = fopen(szLog, "a");
    if (f != NULL) {
        fprintf(f, "%ld: %ld %ld -> %ld %ld\n", nEnable, (long)nControllerBefore, (long)nFrameBefore,
                (long)nControllerAfter, (long)nFrameAfter);
        fclose(f);
    }
}

} // namespace

// {AC47253D-62EA-11D4-9CE1-0060086FEFC0}
static const CLSID kClsidApplication = {0xAC47253D, 0x62EA, 0x11D4, {0x9C, 0xE1, 0x00, 0x60, 0x08, 0x6F, 0xEF, 0xC0}};

COrvexDoc::COrvexDoc()
    : m_pAppointments(NULL), m_dwActiveObjectCookie(0), m_bHoldReloads(FALSE), m_bOption1(FALSE), m_nOpenDialogs(0), m_bShowReminders(TRUE),
      m_bVisibleInTray(TRUE), m_bUpdateThreadSuspended(FALSE), m_bSessionEnding(FALSE), m_bHoldRaised(FALSE), m_bClosing(FALSE)
{
    EnableAutomation();
    AfxOleLockApp();
    COleDateTime today = COleDateTime::GetCurrentTime();
    m_nViewYear = today.GetYear();
    m_nViewMonth = today.GetMonth();
    m_nViewDay = today.GetDay();
    theApp.SetOrvexDocument(this);
    m_pExternalConnection =
        new CExternalConnection(this, CExternalConnection::CommandLineIsEmbedded(AfxGetApp()->m_lpCmdLine));
}

COrvexDoc::~COrvexDoc()
{
    if (theApp.GetOrvexDocument() == this)
        theApp.SetOrvexDocument(NULL);
    if (m_pAppointments != NULL)
        m_pAppointments->Release();
    m_pExternalConnection->Release();
    AfxOleUnlockApp();
}

LPUNKNOWN COrvexDoc::GetInterfaceHook(const void* piid)
{
    return IsEqualIID(*(const IID*)piid, IID_IExternalConnection) ? m_pExternalConnection : NULL;
}

long COrvexDoc::GetConnections() const
{
    return m_pExternalConnection->GetConnections();
}

void COrvexDoc::GetSelectedDay(int& nYear, int& nMonth, int& nDay) const
{
    nYear = m_nViewYear;
    nMonth = m_nViewMonth;
    nDay = m_nViewDay;
}

void COrvexDoc::SetViewDay(int nYear, int nMonth, int nDay)
{
    m_nViewYear = nYear;
    m_nViewMonth = nMonth;
    m_nViewDay = nDay;
}

BOOL COrvexDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    if (m_dwActiveObjectCookie == 0) {
        // The program's own CLSID when the ProgID is not registered (a start with "/noregserver").
        CLSID clsid;
        if (FAILED(::CLSIDFromProgID(L"Orvex.Application", &clsid)))
            clsid = kClsidApplication;
        if (FAILED(::RegisterActiveObject(GetControllingUnknown(), clsid, ACTIVEOBJECT_WEAK, &m_dwActiveObjectCookie)))
            m_dwActiveObjectCookie = 0;
    }
    SetTitle("");
    return TRUE;
}

void COrvexDoc::OnCloseDocument()
{
    if (!AdminShutdownMarkerExists() && !m_bSessionEnding) {
        CWnd* pMainWnd = AfxGetMainWnd();
        CString strCaption;
        if (pMainWnd != NULL)
            pMainWnd->GetWindowText(strCaption);
        if (m_nOpenDialogs != 0) {
            CString strText;
            strText.LoadString(IDS_DIALOGS_OPEN);
            MfxMessageBox(pMainWnd, strText, strCaption, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        if (GetConnections() > 0) {
            CString strText;
            strText.LoadString(IDS_OLE_SERVER_CLOSE);
            if (MfxMessageBox(pMainWnd, strText, strCaption, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
                return;
        }
    }
    const BOOL bMarker = AdminShutdownMarkerExists();
    // Giving up the running-object entry may release the last reference, whose final release
    // comes back here: that nested call returns at once, and this one closes the frames and
    // deletes the document (a close that skipped it would leave the program running hidden).
    if (m_bClosing)
        return;
    m_bClosing = TRUE;
    if (m_dwActiveObjectCookie != 0) {
        DWORD dwCookie = m_dwActiveObjectCookie;
        m_dwActiveObjectCookie = 0;
        ::RevokeActiveObject(dwCookie, NULL);
    }
    CDocument::OnCloseDocument(); // the document is gone after this
    if (bMarker) {
        CString strProgram = theApp.GetProgramDirectory() + "MSGBOX.EXE";
        ::ShellExecuteA(NULL, "open", strProgram,
                        "/f:0 /c:velmar chronivo /t:Der chronivo wurde vom Systemverwalter beendet.", ".", SW_SHOWNORMAL);
    }
}

BSTR COrvexDoc::GetCurrentUser()
{
    CDataController* pController = theApp.GetDataController();
    CString strUser = pController != NULL ? pController->GetCurrentUser() : CString();
    return strUser.AllocSysString();
}

void COrvexDoc::SetCurrentUser(LPCTSTR lpszUser)
{
    CDataController* pController = theApp.GetDataController();
    if (lpszUser == NULL || *lpszUser == '\0' || pController == NULL)
        return;
    pController->SetCurrentUser(lpszUser);
    if (CMainFrame* pFrame = GetMainFrame())
        pFrame->SetUserPane(pController->GetCurrentUser());
}

long COrvexDoc::GetActiveView()
{
    CMainFrame* pFrame = GetMainFrame();
    return pFrame != NULL ? pFrame->GetViewMode() : 0;
}

void COrvexDoc::SetActiveView(long nView)
{
    CMainFrame* pFrame = GetMainFrame();
    if (pFrame != NULL && nView != pFrame->GetViewMode())
        pFrame->SelectViewMode((int)nView);
}

DATE COrvexDoc::GetViewDate()
{
    COleDateTime date(m_nViewYear, m_nViewMonth, m_nViewDay, 0, 0, 0);
    return date.m_dt;
}

void COrvexDoc::SetViewDate(DATE date)
{
    COleDateTime value(date);
    if (value.GetStatus() != COleDateTime::valid)
        return;
    SetViewDay(value.GetYear(), value.GetMonth(), value.GetDay());
}

BOOL COrvexDoc::GetVisible()
{
    CAppSettings* pSettings = theApp.GetSettings();
    return pSettings != NULL ? pSettings->m_bVisible : FALSE;
}

void COrvexDoc::SetVisible(BOOL bVisible)
{
    if (CMainFrame* pFrame = GetMainFrame())
        pFrame->ShowMainWindow(bVisible);
}

BSTR COrvexDoc::GetCurrentUserRights()
{
    return CString().AllocSysString();
}

void COrvexDoc::SetCurrentUserRights(LPCTSTR lpszRights)
{
    CDataController* pController = theApp.GetDataController();
    if (pController != NULL && lpszRights != NULL)
        pController->SetRights(lpszRights);
}

LPDISPATCH COrvexDoc::GetAppointments()
{
    if (m_pAppointments == NULL)
        m_pAppointments = (new COLEAppointmentItemList)->GetIDispatch(FALSE);
    if (m_pAppointments != NULL)
        m_pAppointments->AddRef();
    return m_pAppointments;
}

void COrvexDoc::SetAppointments(LPDISPATCH) {}

LPDISPATCH COrvexDoc::GetTodos()
{
    return NULL; // the collection comes with the to-do objects
}

void COrvexDoc::SetTodos(LPDISPATCH) {}

BSTR COrvexDoc::GetHostID()
{
    CDataController* pController = theApp.GetDataController();
    CString strId = pController != NULL ? pController->GetHostId() : CString();
    return strId.AllocSysString();
}

void COrvexDoc::SetHostID(LPCTSTR lpszHostId)
{
    CDataController* pController = theApp.GetDataController();
    if (pController != NULL && lpszHostId != NULL)
        pController->SetHostId(lpszHostId);
}

BSTR COrvexDoc::GetDatabaseDirectory()
{
    CDataController* pController = theApp.GetDataController();
    CString strDir = pController != NULL ? pController->GetDatabaseDirectory() : CString();
    return strDir.AllocSysString();
}

void COrvexDoc::SetDatabaseDirectory(LPCTSTR lpszDirectory)
{
    CDataController* pController = theApp.GetDataController();
    if (pController != NULL && lpszDirectory != NULL)
        pController->SetDataPath(lpszDirectory);
}

BOOL COrvexDoc::GetShowReminder()
{
    return m_bShowReminders;
}

void COrvexDoc::SetShowReminder(BOOL bShow)
{
    m_bShowReminders = bShow;
}

BOOL COrvexDoc::GetVisibleInTray()
{
    return m_bVisibleInTray;
}

void COrvexDoc::SetVisibleInTray(BOOL bVisible)
{
    bVisible = bVisible != FALSE;
    CMainFrame* pFrame = GetMainFrame();
    if (bVisible != m_bVisibleInTray && pFrame != NULL)
        theApp.SetTrayIcon(bVisible ? 0 : 2, pFrame);
    m_bVisibleInTray = bVisible;
}

void COrvexDoc::SetOptions(long nOption, long nValue)
{
    CDataController* pController = theApp.GetDataController();
    if (nOption == 0) {
        m_bHoldReloads = nValue == 1;
        if (pController == NULL)
            return;
        if (m_bHoldReloads && !m_bHoldRaised && *pController->GetBusyCounter() == 0) {
            pController->EnterBusy();
            m_bHoldRaised = TRUE;
        } else if (!m_bHoldReloads && m_bHoldRaised) {
            pController->LeaveBusy();
            m_bHoldRaised = FALSE;
        }
    } else if (nOption == 1) {
        m_bOption1 = nValue == 1;
    }
}

long COrvexDoc::GetOptions(long nOption)
{
    switch (nOption) {
    case 0:
        return m_bHoldReloads;
    case 1:
        return m_bOption1;
    default:
        return 0;
    }
}

void COrvexDoc::SetOptionStrings(long, LPCTSTR) {}

BSTR COrvexDoc::GetOptionStrings(long)
{
    return CString().AllocSysString();
}

void COrvexDoc::UpdateViews()
{
    if (CMainFrame* pFrame = GetMainFrame())
        pFrame->PostMessage(WM_COMMAND, CMainFrame::kRefreshCommand);
}

void COrvexDoc::UpdateViewsDeterministic()
{
    if (CDataController* pController = theApp.GetDataController())
        pController->ReloadAll();
}

void COrvexDoc::EnableUpdateThread(long nEnable)
{
    CDataController* pController = theApp.GetDataController();
    if (pController == NULL)
        return;
    CMainFrame* pFrame = GetMainFrame();
    const LONG nControllerBefore = *pController->GetBusyCounter();
    const LONG nFrameBefore = pFrame != NULL ? *pFrame->GetBusyCounter() : -1;
    if (nEnable == 0 && !m_bUpdateThreadSuspended) {
        pController->WaitIdleEnterBusy();
        m_bUpdateThreadSuspended = TRUE;
        if (pFrame != NULL)
            ::InterlockedIncrement(pFrame->GetBusyCounter());
    } else if (nEnable != 0 && m_bUpdateThreadSuspended) {
        pController->LeaveBusy();
        m_bUpdateThreadSuspended = FALSE;
        if (pFrame != NULL)
            ::InterlockedDecrement(pFrame->GetBusyCounter());
    }
    LogBusyCounters(nEnable, nControllerBefore, nFrameBefore, *pController->GetBusyCounter(),
                    pFrame != NULL ? *pFrame->GetBusyCounter() : -1);
}
