// The data controller's linked applications: their list from the registry, their users, and the
// jump to an entry's linked record.
#include "CDataController.h"

#include "CControllerBusyGuard.h"
#include "CDataApplication.h"
#include "CDataAppointment.h"
#include "CDataEntryObjects.h"
#include "CItemVersion.h"
#include "CMailAction.h"
#include "COpenFileAction.h"
#include "CRegistrySubkeyList.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"

void CDataController::LoadLinkedApplications()
{
    m_linkedApplications.DeleteAll();
    CDataApplication* pApp = CDataApplication::Get();
    if (pApp != NULL) {
        const CString strAppsKey = pApp->GetRegistryPath() + "\\Apps";
        CRegistrySubkeyList keys(HKEY_CURRENT_USER, 0);
        const CStringList& ids = keys.Collect(strAppsKey);
        for (POSITION pos = ids.GetHeadPosition(); pos != NULL;) {
            CLinkedApplication* pApplication = new CLinkedApplication(ids.GetNext(pos), strAppsKey);
            const CString strKey = pApplication->GetKeyPath();
            keys.ReadString(strKey, "Title", pApplication->m_strTitle);
            keys.ReadString(strKey, "ProgID", pApplication->m_strProgId);
            keys.ReadString(strKey, "RbiDir", pApplication->m_strUsersDir);
            keys.ReadString(strKey, "ClassName", pApplication->m_strWindowClass);
            pApplication->LoadUsers();
            pApplication->LoadActions();
            m_linkedApplications.AddTail(pApplication);
        }
    }

    CLinkedApplication* pOwn = new CLinkedApplication("OXAPP");
    pOwn->m_strTitle.LoadString(IDS_PROGRAM_NAME);
    pOwn->AddAction(new CMailAction);
    pOwn->AddAction(new COpenFileAction);
    m_linkedApplications.AddTail(pOwn);
}

BOOL CDataController::LoadLinkedUsers()
{
    BOOL bAny = FALSE;
    CSingleLock lock(m_linkedApplications.GetLock(), TRUE);
    for (POSITION pos = m_linkedApplications.GetHeadPosition(); pos != NULL;)
        if (m_linkedApplications.GetNext(pos)->LoadUsers())
            bAny = TRUE;
    return bAny;
}

CLinkedApplication* CDataController::FindLinkedApplication(LPCTSTR lpszAppId) const
{
    return m_linkedApplications.Find(lpszAppId);
}

void CDataController::GetLinkedUsers(CStringList& users) const
{
    users.RemoveAll();
    CSingleLock lock(m_linkedApplications.GetLock(), TRUE);
    for (POSITION pos = m_linkedApplications.GetHeadPosition(); pos != NULL;) {
        const CStringList& appUsers = m_linkedApplications.GetNext(pos)->m_users;
        for (POSITION userPos = appUsers.GetHeadPosition(); userPos != NULL;) {
            const CString& strUser = appUsers.GetNext(userPos);
            if (users.Find(strUser) == NULL)
                users.AddTail(strUser);
        }
    }
}

int CDataController::GoToLinkedRecord(LPCTSTR lpszRecordId)
{
    EnterBusy();
    CControllerBusyGuard busy(*this);
    CDataAppointment record;
    BOOL bTodo = FALSE;
    if (!ReadEntryOfId(CItemVersion::ParseNumber(lpszRecordId), record, bTodo))
        return 0;
    if (record.m_strAppId.IsEmpty() || record.m_strDbPath.IsEmpty() || record.m_nDbRecId == 0) {
        MfxMessageBoxId(IDS_NOT_LINKED, -1, MB_ICONEXCLAMATION);
        return 0;
    }
    int nResult = 0;
    CLinkedApplication* pApplication = FindLinkedApplication(record.m_strAppId);
    CDataApplication* pApp = CDataApplication::Get();
    CDataEntryObjects* pObjects = pApp != NULL ? pApp->GetEntryObjects() : NULL;
    if (pApplication != NULL && pObjects != NULL) {
        LPDISPATCH pEntry = pObjects->CreateEntryObject(record);
        if (pEntry != NULL) {
            CString strRecordNumber;
            strRecordNumber.Format("%ld", (long)record.m_nDbRecId);
            nResult = pApplication->JumpToRec(strRecordNumber, record.m_strDbPath, pEntry);
            pEntry->Release();
        }
    }
    if (nResult == 0)
        MfxMessageBoxId(IDS_LINKED_JUMP_FAILED, -1, MB_ICONEXCLAMATION);
    return nResult;
}
