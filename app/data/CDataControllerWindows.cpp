// The data controller's smaller services of the user-interface thread: the bookkeeping of the
// open reminder windows and their arrangement, the resource list kept beside the program, and the
// list of appointments that collide with a time range.
#include "CDataController.h"

#include "CAppSettings.h"
#include "CDataAppointment.h"
#include "CDataApplication.h"
#include "CDataDialogs.h"
#include "CDataMainFrame.h"
#include "CDataMultiReminderWindow.h"
#include "CDataReminderWindow.h"
#include "CDateValue.h"
#include "CMfxString.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "DataStrings.h"
#include "MfxFiles.h"
#include "MfxMessageBox.h"

#include <memory>

namespace {

// The resource list's file in the program's directory, its section and its keys.
const char kResourceFile[] = "ox_res.ini";
const char kResourceSection[] = "chronivo Resources";
const char kResourceKey[] = "RES_%d";
// The single reminder windows stand at 5 x (number of windows) + 10.
const int kWindowOffsetStep = 5;
const int kWindowOffset = 10;
// An entry from the first to the last minute of the day lasts all day.
const int kFirstMinute = 0;
const int kLastMinute = 1439;
// Block size of the conflict check's copy of the day.
const int kConflictBlockSize = 1000;

CDataApplication* App() { return CDataApplication::Get(); }

CString ResourceFile()
{
    CDataApplication* pApp = App();
    return (pApp != NULL ? pApp->GetProgramDirectory() : CString()) + kResourceFile;
}

CString ResourceKey(int n)
{
    CString strKey;
    strKey.Format(kResourceKey, n);
    return strKey;
}

// The minute of the day as the conflict lines show it.
const char* const kTableFileName = CTerminTable::kFileName;

// An instance of the schedule table that opens the table as it is and never makes it anew.
class CExistingTerminTable : public CTerminTable {
public:
    explicit CExistingTerminTable(CDbSession* pSession) : CTerminTable(pSession, TRUE) {}
    BOOL AllowCreate() override { return FALSE; }
};

CString TimeText(short nMinute, const CString& strFormat)
{
    return COleDateTime(2000, 1, 1, nMinute / 60, nMinute % 60, 0).Format(strFormat);
}

} // namespace

// ---- reminder windows ------------------------------------------------------------------------------

BOOL CDataController::ShowInCollectiveReminder(long nRecordId)
{
    if (m_pCollectiveReminder == NULL) {
        CDataApplication* pApp = App();
        CDataDialogs* pDialogs = pApp != NULL ? pApp->GetDialogs() : NULL;
        CDataMainFrame* pFrame = pApp != NULL ? pApp->GetMainFrame() : NULL;
        CDataMultiReminderWindow* pWindow =
            pDialogs != NULL ? pDialogs->MakeCollectiveReminder(pFrame != NULL ? pFrame->GetFrameWindow() : NULL,
                                                                ::GetDesktopWindow())
                             : NULL;
        if (pWindow == NULL)
            return FALSE;
        if (!pWindow->Create()) {
            delete pWindow;
            return FALSE;
        }
        m_pCollectiveReminder = pWindow;
    }
    ::PostMessageA(m_pCollectiveReminder->GetWindowHandle(), CDataMultiReminderWindow::msgAddEntry, 0,
                   (LPARAM)nRecordId);
    return TRUE;
}

int CDataController::ArrangeReminderWindows()
{
    if (m_reminderWindows.IsEmpty())
        return 1;
    CDataApplication* pApp = App();
    CAppSettings* pSettings = pApp != NULL ? pApp->GetSettings() : NULL;
    const BOOL bCollective = pSettings != NULL && pSettings->m_bMultiReminderDlg;
    CArray<DWORD, DWORD> ids;
    CArray<CDataReminderWindow*, CDataReminderWindow*> windows;
    if (bCollective) {
        m_reminderWindows.GetSnapshot(ids, windows);
        for (int i = 0; i < ids.GetSize(); ++i) {
            CSingleLock lock(m_reminderWindows.GetLock(), TRUE);
            CDataReminderWindow* pWindow = NULL;
            if (!m_reminderWindows.Lookup(ids[i], pWindow) || pWindow != windows[i])
                continue;
            if (HWND hWnd = pWindow->GetWindowHandle())
                ::ShowWindow(hWnd, SW_HIDE);
            lock.Unlock();
            ShowInCollectiveReminder((long)ids[i]);
        }
        return 1;
    }
    delete m_pCollectiveReminder;
    m_pCollectiveReminder = NULL;
    CSingleLock lock(m_reminderWindows.GetLock(), TRUE);
    m_reminderWindows.GetSnapshot(ids, windows);
    const int nPlace = kWindowOffsetStep * (int)ids.GetSize() + kWindowOffset;
    for (int i = 0; i < windows.GetSize(); ++i) {
        CDataReminderWindow* pWindow = windows[i];
        // A window made before (the setting was off then) is shown again as it is.
        if (pWindow->GetWindowHandle() == NULL) {
            pWindow->SetParentWindow(::GetDesktopWindow());
            if (!pWindow->Create())
                continue;
        }
        const HWND hWnd = pWindow->GetWindowHandle();
        ::SetWindowPos(hWnd, NULL, nPlace, nPlace, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(hWnd, SW_SHOW);
    }
    return 1;
}

// ---- the resource list -----------------------------------------------------------------------------

int CDataController::LoadResourceList(CStringList& list)
{
    list.RemoveAll();
    const CString strFile = ResourceFile();
    CMfxString strName;
    // Names of at most 1,024 characters (ReadIniString's buffer).
    for (int n = 0;; ++n) {
        strName.ReadIniString(kResourceSection, ResourceKey(n), "", strFile);
        if (strName.IsEmpty())
            break;
        list.AddTail(strName);
    }
    return 1;
}

int CDataController::SaveResourceList(const CStringList& list)
{
    const CString strFile = ResourceFile();
    ::WritePrivateProfileStringA(kResourceSection, NULL, NULL, strFile);
    int n = 0;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL; ++n)
        ::WritePrivateProfileStringA(kResourceSection, ResourceKey(n), list.GetNext(pos), strFile);
    return 0;
}

void CDataController::SetResourceList(const CStringList& list)
{
    m_resources.RemoveAll();
    m_resources.AddTail(const_cast<CStringList*>(&list));
}

// ---- time conflicts --------------------------------------------------------------------------------

int CDataController::ListTimeConflicts(long nDay, int nFrom, int nTo, BOOL bSkipAllDay, BOOL bSkipPrivate,
                                       const CStringList& users, CStringList& result)
{
    CIdList ids(kConflictBlockSize);
    for (const CItemVersionRef& key : m_dayIndex.GetDayKeys(nDay))
        ids.AddTail((DWORD)key->GetRecordId());
    if (ids.IsEmpty())
        return 1;
    result.RemoveAll();
    // An instance of its own: the order, row and filter of the controller's instances stay. It
    // only opens the table: a table that is not there is an error, never made anew (an empty
    // table would say "no conflict").
    if (!MfxFileExists(m_strDataPath + kTableFileName)) {
        MfxMessageBoxStr(kTableFileName, CMfxString(IDS_DB_OPEN_ERROR), MB_ICONHAND);
        return -1;
    }
    std::unique_ptr<CTerminTable> pTable(new CExistingTerminTable(m_pSession));
    if (pTable->OpenMain(m_strDataPath, 0, 0) == DB_OPEN_FAILED)
        return -1;
    const CString strTimeFormat = CMfxString(IDS_TIME_FORMAT);
    CArray<DWORD, DWORD> snapshot;
    ids.GetSnapshot(snapshot);
    int nResult = 1;
    for (int i = 0; i < snapshot.GetSize(); ++i) {
        CString strId;
        strId.Format("%010d", (int)snapshot[i]);
        const long nRecNo = pTable->FindRecordById(strId);
        if (nRecNo <= 0)
            continue;
        CTerminRecordBuffer row(pTable.get());
        row.AttachFields();
        if (row.ReadRecord(nRecNo) != 0)
            continue;
        CDataAppointment record;
        row.GetAppointment(record);
        if (bSkipPrivate && record.m_bPrivate)
            continue;
        const short nStart = record.m_pattern.m_nStartTime, nEnd = record.m_pattern.m_nEndTime;
        // Both ends exclusive: an entry that ends when the range begins does not collide.
        if (!(nStart < nTo && nFrom < nEnd))
            continue;
        if (bSkipAllDay && nStart == kFirstMinute && nEnd == kLastMinute)
            continue;
        if (!users.IsEmpty() && users.Find(record.m_strUser) == NULL)
            continue;
        CString strRange, strLine;
        strRange.Format("%s - %s", (LPCTSTR)TimeText(nStart, strTimeFormat), (LPCTSTR)TimeText(nEnd, strTimeFormat));
        strLine.Format("%s\t%s\t%s\t%s\t%s\t%s", (LPCTSTR)record.m_strSubject, (LPCTSTR)record.m_strParticipants,
                       (LPCTSTR)record.m_strPlace, (LPCTSTR)record.m_strUser, (LPCTSTR)strId, (LPCTSTR)strRange);
        result.AddTail(strLine);
        nResult = 0;
    }
    return nResult;
}
