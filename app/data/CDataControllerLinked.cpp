// The data controller's linked applications: their list from the registry and their users.
#include "CDataController.h"

#include "CDataApplication.h"
#include "CMailAction.h"
#include "COpenFileAction.h"
#include "CRegistrySubkeyList.h"
#include "DataStrings.h"

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
