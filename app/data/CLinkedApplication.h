// An outside application that entries can be linked to (the entry's APP_ID names it): its
// description from its registry key below "Apps", its users and the actions it offers for
// entries. The program's own application "OXAPP" is one too, with the built-in actions.
//
// Registry layout below HKEY_CURRENT_USER\<registry path>\Apps\<id>:
//   "Users\<user name>"            one key per user (used when there is no users directory);
//   "Actions\<action id>"          "Title", "CtlPicID", "QuestAppData", "AppDataType";
//   "Actions\<action id>\Field"    "Label", and with it "UseSelectButton" and "SelectFilter".
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

#include "CLinkedAction.h"
#include "CLockedList.h"

class CLinkedApplication {
public:
    typedef CLockedList<CLinkedAction*, CLinkedAction*> CActionList;

    // lpszAppsKey: the key "<registry path>\Apps" below HKEY_CURRENT_USER that holds the
    // application's key (empty: the application has none, as the built-in one).
    explicit CLinkedApplication(LPCTSTR lpszId = "", LPCTSTR lpszAppsKey = "");
    // Deletes every action.
    virtual ~CLinkedApplication();
    CLinkedApplication(const CLinkedApplication&) = delete;
    CLinkedApplication& operator=(const CLinkedApplication&) = delete;

    // The users: with a users directory, one per "*.rbi" file in it (the name without its
    // extension, cut to 8 characters); without one, the names of the subkeys of "Users". TRUE
    // when at least one user was found.
    BOOL LoadUsers();
    // The actions of the subkeys of "Actions", in registry order, owned by this application.
    void LoadActions();
    // Appends an action (it becomes owned, with this application as its owner).
    void AddAction(CLinkedAction* pAction);
    // The action with exactly this id, or NULL.
    CLinkedAction* FindAction(LPCTSTR lpszId) const;
    // Deletes every action.
    void RemoveAllActions();

    // The application's own key below HKEY_CURRENT_USER.
    CString GetKeyPath() const;

    CString m_strId;          // the registry key name; compared with an entry's APP_ID
    CString m_strTitle;       // "Title"
    CString m_strProgId;      // "ProgID"
    CString m_strWindowClass; // "ClassName": the class of its main window
    CString m_strUsersDir;    // "RbiDir"
    CStringList m_users;
    CActionList m_actions;

private:
    CString m_strAppsKey;
};
