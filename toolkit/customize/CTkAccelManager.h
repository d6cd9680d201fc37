// The keeper of user-defined keyboard shortcuts: a working copy of a frame's accelerator table
// that the frame's key filter, its menus (shortcut texts after a tab) and the toolbar's tips ask.
// One manager exists per process (Instance); user-interface thread only.
//
// "Accelerators" (binary, HKEY_CURRENT_USER, section "Settings"): the working table as n ACCEL
// records of 6 bytes (flags, padding, key WORD, command WORD; little-endian), nothing else; the
// count is the value's length / 6.
//
// The manager stays inactive until a frame attaches itself (Attach): then the frame's own table
// becomes the default table, the stored table (or a copy of the default one) the working table,
// and the frame gets the working table.
#pragma once

#include <afxwin.h>

class CTkAccelManager {
public:
    static CTkAccelManager* Instance();

    CTkAccelManager();
    virtual ~CTkAccelManager();

    // Replaces the working table by the stored one; FALSE (empty table) when none is stored.
    virtual BOOL Load();
    virtual BOOL Save(ACCEL* pTable, int nCount);

    // Serves pFrame from now on (see above). FALSE when the frame's table cannot be given to it.
    BOOL Attach(CFrameWnd* pFrame);
    // Serves no frame any more; the frame keeps its table.
    void Detach();
    // Writes the working table when modified (deletes the value after a reset); bDeactivate
    // clears the active flag.
    BOOL SaveChanges(BOOL bDeactivate);
    // Gives the frame a table made from the working table.
    BOOL ApplyToFrame();

    BOOL AddAccelerator(WORD nCmd, BYTE fVirt, WORD wKey);
    // The first entry for wKey whose Shift, Ctrl and Alt flags agree with fVirt.
    BOOL FindAccelerator(BYTE fVirt, WORD wKey, UINT* pnCmd) const;
    // A WM_KEYDOWN or WM_SYSKEYDOWN (not of Shift, Ctrl or Alt themselves) that is one of the shortcuts, with the
    // modifiers held at the moment.
    BOOL IsAccelerator(const MSG* pMsg) const;
    // "Ctrl+Shift+F5": the modifiers held, then the key's name; empty for key 0.
    static void GetKeyText(const ACCEL& accel, CString& strText);
    static LPCTSTR GetKeyName(WORD wKey);
    // Every shortcut of the command in table order, separated by ", " (appended to strText).
    void GetShortcutText(UINT nCmd, CString& strText) const;

    CFrameWnd* m_pFrame;
    int m_nCount;
    int m_nDefaultCount;
    BYTE m_bResetPending;
    BYTE m_bModified;
    BYTE m_bSaveOnDestroy; // the destructor saves; a toolkit frame clears it and saves itself
    BYTE m_bActive;
    ACCEL* m_pTable;
    ACCEL* m_pDefaultTable;

private:
    void FreeTable();
    CTkAccelManager(const CTkAccelManager&) = delete;
    CTkAccelManager& operator=(const CTkAccelManager&) = delete;
};
