// The hub of all customization of bars and menus. Toolbars, the menu bar, the customize sheet and
// its pages never point at each other: each registers callbacks in the lists below and whoever
// has news calls every entry of the matching list. The manager also switches customize mode, runs
// the modal drag loop of buttons and commands, keeps the list of user-defined toolbars in the
// value "CustomBars-Info", and deletes objects queued for deletion when customize mode ends.
// One manager exists per process (Instance); user-interface thread only.
//
// "CustomBars-Info" (binary, HKEY_CURRENT_USER, section = the profile name), little-endian:
//
//   offset  size  content
//   0       4     CRC-32 of all bytes from offset 4 to the end
//   4       4     format version, 1
//   8       4     number n of bars
//   12      ...   n records: 4-byte control id, then the title as an archive string
//                 (length < 255: 1 length byte; < 0xFFFE: 0xFF + 2-byte length; else 0xFF,
//                 0xFFFF + 4-byte length; then the characters in the ANSI code page)
//
// Only ids of user-defined bars (TK_FIRST_CUSTOM_BAR_ID..TK_LAST_CUSTOM_BAR_ID) are loaded.
#pragma once

#include <afxwin.h>
#include <afxcoll.h>

#include "CTkCallbackList.h"

class CTkButtonDesc;
class CTkDragContext;
class CTkDropTarget;
class CControlBar;
class CFrameWnd;

#define TK_FIRST_CUSTOM_BAR_ID 0xE800
#define TK_LAST_CUSTOM_BAR_ID 0xE8FE

#define TK_SHOW_FULL_MENUS 53783 // the command of the expand item of shortened menus

// The description of one customizable bar (m_cbBars, m_cbBarAdded).
struct TK_BARINFO {
    BYTE bCanHide;        // the toolbars page may hide and show the bar
    BYTE bCustom;         // a user-defined bar, kept in "CustomBars-Info"
    CControlBar* pBar;
    TK_CALLBACK cbRename; // (const CString& strNewTitle)
    TK_CALLBACK cbDelete; // ()
    TK_CALLBACK cbReset;  // ()

    TK_BARINFO() : bCanHide(1), bCustom(0), pBar(NULL) {}
};

// The request to create a user-defined bar (m_hookCreateBar).
struct TK_NEWBAR {
    UINT nID;
    CString strTitle;
    CFrameWnd* pFrame;
    CControlBar* pBar; // out: the bar created

    TK_NEWBAR() : nID(0), pFrame(NULL), pBar(NULL) {}
};

class CTkCustomizeManager {
public:
    // The process-wide manager, made by the first call.
    static CTkCustomizeManager* Instance();

    CTkCustomizeManager();
    virtual ~CTkCustomizeManager();

    BYTE m_bCustomizeDialog; // customize mode is on for the customize dialog
    BYTE m_bCustomizeMode;   // customize mode is on, whatever switched it on
    CPoint m_ptNewBar;       // screen position of the next user-defined bar
    CObArray m_arrDeferred;  // objects to delete when customize mode ends

    // Hooks (one registration each) and lists, with the arguments their functions take after the
    // object.
    TK_CALLBACK m_hookIsCustomizable;  // (UINT nCmdID) -> BOOL
    TK_CALLBACK m_hookCreateBar;       // (TK_NEWBAR*) -> void; empty while no bar class exists
    TK_CALLBACK m_hookPlaceBar;        // (CFrameWnd*, CControlBar*) -> void
    CTkCallbackList m_cbCategories;    // (CObArray*): add your command categories
    CTkCallbackList m_cbIcons;         // (CTkCommandIconMap*): add your commands' icons
    CTkCallbackList m_cbBars;          // (TK_CALLBACK* pRequester): call it with your TK_BARINFO*
    CTkCallbackList m_cbClearSelection; // (): remove your customize selection mark
    CTkCallbackList m_cbCustomizeMode; // (BOOL bOn): enter or leave customize mode
    CTkCallbackList m_cbDropTargets;   // (CTkDragContext*): add your drop target
    CTkCallbackList m_cbBarShown;      // (CControlBar*, BOOL bVisible)
    CTkCallbackList m_cbBarAdded;      // (TK_BARINFO*): a user-defined bar was created
    CTkCallbackList m_cbBarRenamed;    // (CControlBar*, LPCTSTR lpszNewTitle)
    CTkCallbackList m_cbBarDestroyed;  // (CControlBar*)
    TK_CALLBACK m_hookCommandPopup;    // (UINT nKey) -> HMENU
    CTkCallbackList m_cbCommandRemoved; // (UINT nCmdID)
    TK_CALLBACK m_hookLoadBars;        // (CFrameWnd*, LPCTSTR lpszProfileName) -> BOOL
    TK_CALLBACK m_hookSaveBars;        // (CFrameWnd*, LPCTSTR lpszProfileName) -> BOOL

    // Removes the object's entries from every list and the command-popup hook. When then only one
    // entry is left in m_cbCustomizeMode, the manager's own entry goes too; it comes back at the
    // front with the next registration.
    void UnregisterAll(void* pObject);

    void DeferDelete(CObject* pObject);
    // Deletes the queued objects, round after round while deleting queues further ones.
    void DeleteDeferred();
    // The manager's entry in m_cbCustomizeMode: both flags follow bOn; leaving deletes the queue.
    void SetCustomizeMode(BOOL bOn);

    // The modal drag of a button or command. TRUE: moved, or released outside every target
    // without Ctrl; FALSE: copied or cancelled (also at once while any window has the capture).
    BOOL DoDragDrop(CWnd* pSource, BOOL bAllowCopy, CTkButtonDesc* pDesc);

    // FALSE for the recent-file, window-list and show-full-menus commands.
    BOOL IsCommandCustomizable(UINT nCmdID);
    // Floats a bar just created from the sheet at m_ptNewBar (then 15 pixels further on).
    void PlaceNewBar(CFrameWnd* pFrame, CControlBar* pBar);
    // Creates the user-defined bars of "CustomBars-Info" that pFrame lacks through m_hookCreateBar.
    // FALSE for a missing, short, damaged or foreign value and for a record that cannot be read
    // (bars created before it stay).
    BOOL LoadCustomBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName);
    // Writes the user-defined bars of pFrame to "CustomBars-Info" (deletes it when there is none).
    BOOL SaveCustomBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName);

    // Calls the hooks (through whatever is registered in them).
    BOOL CallIsCustomizable(UINT nCmdID);
    BOOL CallLoadBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName);
    BOOL CallSaveBars(CFrameWnd* pFrame, LPCTSTR lpszProfileName);

    // The manager's own entry of m_cbCustomizeMode.
    TK_CALLBACK OwnCustomizeModeEntry();

protected:
    // One step of the drag loop's target tracking at a screen point, then the cursor.
    void UpdateDragTarget(CTkDragContext& ctx, CPoint pt);
    void SetDragCursor(CTkDragContext& ctx);
    BOOL TrackDrag(CTkDragContext& ctx, BOOL bAllowCopy);

private:
    CTkCustomizeManager(const CTkCustomizeManager&) = delete;
    CTkCustomizeManager& operator=(const CTkCustomizeManager&) = delete;
};
