// An outside application that entries can be linked to (the entry's APP_ID names it): its
// description from its registry key below "Apps", its users and the actions it offers for
// entries. The program's own application "OXAPP" is one too, with the built-in actions.
//
// Registry layout below HKEY_CURRENT_USER\<registry path>\Apps\<id>:
//   "Users\<user name>"            one key per user (used when there is no users directory);
//   "Actions\<action id>"          "Title", "CtlPicID", "QuestAppData", "AppDataType";
//   "Actions\<action id>\Field"    "Label", and with it "UseSelectButton" and "SelectFilter".
//
// The application is reached through automation under its ProgID: a running instance (found in
// the running object table, or started by the program), else an object created by COM. The
// connection kept in the members belongs to the thread that created the application (the data
// controller's thread): it is made on that thread's first call and kept until Disconnect or
// destruction. An interface pointer is valid only in the apartment that got it, so a call on any
// other thread (the action thread) makes a connection of its own in the same way, calls through
// it and releases it before returning.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

#include <oleauto.h>

#include "CLinkedAction.h"
#include "CLockedList.h"

class CLinkedApplication {
public:
    typedef CLockedList<CLinkedAction*, CLinkedAction*> CActionList;

    // lpszAppsKey: the key "<registry path>\Apps" below HKEY_CURRENT_USER that holds the
    // application's key (empty: the application has none, as the built-in one).
    explicit CLinkedApplication(LPCTSTR lpszId = "", LPCTSTR lpszAppsKey = "");
    // Disconnect, then every action is deleted.
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

    // The calls, each the automation method of that name with the arguments in its order (the
    // method's in parentheses); 1 when the call was made without an exception, else 0 (no
    // ProgID, unknown class, no server, no such method, an error raised by the method).
    // ("OXAddContToRec": database path, record number text, entry object)
    virtual int AddContToRec(LPCTSTR lpszRecordNumber, LPCTSTR lpszDbPath, LPDISPATCH pEntry);
    // ("OXJumpToRec": database path, record number text, entry object)
    virtual int JumpToRec(LPCTSTR lpszRecordNumber, LPCTSTR lpszDbPath, LPDISPATCH pEntry);
    // ("OXExecuteAction": action name, entry object, number as a 4-byte integer, action data)
    virtual int ExecuteAction(LPCTSTR lpszAction, const VARIANT& data, LPDISPATCH pEntry, long nNumber);
    // ("OXGetActionData": action name, the variant by reference, entry object, number); the
    // application may change the variant.
    virtual int GetActionData(LPCTSTR lpszAction, VARIANT& data, LPDISPATCH pEntry, long nNumber);

    // The connection of the creating thread (see above): TRUE when the application's IDispatch
    // is held. Called on another thread it answers FALSE and touches nothing.
    BOOL Connect();
    // Releases the held connection (IDispatch and IUnknown) and clears the started flag; the
    // last Release's result, 0 when nothing was held.
    ULONG Disconnect();
    // Starts the application's server for the class and waits for it to register its running
    // object: TRUE when it did. FALSE at once when a window of the application's window class
    // exists (it runs, but has not registered an object).
    // The running object's IUnknown goes to *ppUnknown (with its reference).
    BOOL StartServer(REFCLSID clsid, LPUNKNOWN* ppUnknown);

    CString m_strId;          // the registry key name; compared with an entry's APP_ID
    CString m_strTitle;       // "Title"
    CString m_strProgId;      // "ProgID"
    CString m_strWindowClass; // "ClassName": the class of its main window
    CString m_strUsersDir;    // "RbiDir"
    CStringList m_users;
    CActionList m_actions;
    // The held connection: 1 when it is to a running instance (found or started), 0 when COM
    // created the object.
    int m_bStarted;
    LPDISPATCH m_pDispatch;
    LPUNKNOWN m_pUnknown;

private:
    // The connection steps: the class of the ProgID, its running object, else a started server,
    // else an object created by COM; then its IDispatch.
    BOOL MakeConnection(int& bStarted, LPUNKNOWN& pUnknown, LPDISPATCH& pDispatch);
    // Calls the method by name with the arguments that pbParams describes (VTS_... as
    // COleDispatchDriver::InvokeHelper takes them), on this thread's connection.
    int CallMethod(LPCOLESTR lpszMethod, const BYTE* pbParams, ...);

    CString m_strAppsKey;
    // The thread whose connection the members hold.
    DWORD m_dwHomeThread;
};
