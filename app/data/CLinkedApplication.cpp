#include "CLinkedApplication.h"

#include "CRegistrySubkeyList.h"

namespace {

// A user name from the name of a users file: without its last 4 characters (".rbi"), at most 8
// characters.
CString UserOfFile(const CString& strFile)
{
    return strFile.Left(strFile.GetLength() > 4 ? strFile.GetLength() - 4 : 0).Left(8);
}

} // namespace

CLinkedApplication::CLinkedApplication(LPCTSTR lpszId, LPCTSTR lpszAppsKey)
    : m_strId(lpszId), m_actions(10), m_strAppsKey(lpszAppsKey)
{
}

CLinkedApplication::~CLinkedApplication()
{
    RemoveAllActions();
    m_users.RemoveAll();
}

CString CLinkedApplication::GetKeyPath() const { return m_strAppsKey + "\\" + m_strId; }

BOOL CLinkedApplication::LoadUsers()
{
    m_users.RemoveAll();
    if (!m_strUsersDir.IsEmpty()) {
        CString strDir = m_strUsersDir;
        if (strDir.Right(1) != "\\")
            strDir += "\\";
        WIN32_FIND_DATAA find;
        HANDLE hFind = ::FindFirstFileA(strDir + "*.rbi", &find);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                if ((find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    m_users.AddTail(UserOfFile(find.cFileName));
            } while (::FindNextFileA(hFind, &find));
            ::FindClose(hFind);
        }
    } else if (!m_strAppsKey.IsEmpty()) {
        CRegistrySubkeyList keys(HKEY_CURRENT_USER, 0);
        m_users.AddTail(const_cast<CStringList*>(&keys.Collect(GetKeyPath() + "\\Users")));
    }
    return !m_users.IsEmpty();
}

void CLinkedApplication::LoadActions()
{
    RemoveAllActions();
    if (m_strAppsKey.IsEmpty())
        return;
    const CString strActions = GetKeyPath() + "\\Actions";
    CRegistrySubkeyList keys(HKEY_CURRENT_USER, 0);
    const CStringList& ids = keys.Collect(strActions);
    for (POSITION pos = ids.GetHeadPosition(); pos != NULL;) {
        const CString strActionId = ids.GetNext(pos);
        const CString strKey = strActions + "\\" + strActionId;
        const CString strField = strKey + "\\Field";
        CLinkedAction* pAction = new CLinkedAction;
        pAction->m_strId = strActionId;
        keys.ReadString(strKey, "Title", pAction->m_strTitle);
        pAction->m_nPictureId = (int)keys.ReadDwordDefault(strKey, "CtlPicID", 0);
        pAction->m_bAskForData = keys.ReadDwordDefault(strKey, "QuestAppData", 0) == 1;
        CString strType;
        pAction->m_bBinaryData = keys.ReadString(strKey, "AppDataType", strType) && strType == "BIN";
        if (keys.ReadString(strField, "Label", pAction->m_strParameterLabel)) {
            pAction->m_bSelectButton = keys.ReadDwordDefault(strField, "UseSelectButton", 0) == 1;
            keys.ReadString(strField, "SelectFilter", pAction->m_strSelectFilter);
        }
        AddAction(pAction);
    }
}

void CLinkedApplication::AddAction(CLinkedAction* pAction)
{
    pAction->m_pApplication = this;
    m_actions.AddTail(pAction);
}

CLinkedAction* CLinkedApplication::FindAction(LPCTSTR lpszId) const
{
    CSingleLock lock(m_actions.GetLock(), TRUE);
    for (POSITION pos = m_actions.GetHeadPosition(); pos != NULL;) {
        CLinkedAction* pAction = m_actions.GetNext(pos);
        if (pAction->m_strId == lpszId)
            return pAction;
    }
    return NULL;
}

void CLinkedApplication::RemoveAllActions()
{
    CSingleLock lock(m_actions.GetLock(), TRUE);
    while (!m_actions.IsEmpty())
        delete m_actions.RemoveHead();
}
