// The keeper of the user's tools: programs, documents or web addresses started from a "Werkzeuge"
// menu with the commands 53000-53250. One manager exists per process (Instance); user-interface
// thread only. The constructor reads the stored tools; nothing is saved unless the manager is
// enabled.
//
// "Tools" (binary, HKEY_CURRENT_USER, section "Settings"): the records one after the other, the
// count is the value's length / 780 (a remainder is ignored). A record (TK_TOOL), little-endian:
//
//   offset  size  content
//   0       4     command id (53000-53250; 0 for a tool without one yet)
//   4       128   menu text
//   132     128   arguments
//   260     260   command: a program, a document or a web address
//   520     260   start directory
//
// The texts are meant to end with a zero byte; stored data is not trusted to (GetLaunch).
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

#define TK_FIRST_TOOL_COMMAND 53000
#define TK_LAST_TOOL_COMMAND 53250

#pragma pack(push, 1)
struct TK_TOOL {
    DWORD nCmd;
    char szText[128];
    char szArgs[128];
    char szCommand[260];
    char szDirectory[260];
};
#pragma pack(pop)
static_assert(sizeof(TK_TOOL) == 780, "a tool record is stored as 780 bytes");

class CTkToolsManager {
public:
    static CTkToolsManager* Instance();

    CTkToolsManager();
    virtual ~CTkToolsManager();

    // Replaces the records by the stored ones and maps their command ids; FALSE (no records)
    // when none are stored.
    virtual BOOL Load();
    virtual BOOL Save(const TK_TOOL* pTools, int nCount);
    // Stores the list when it changed (deletes the value when it was emptied); bDisable clears
    // the enabled flag.
    BOOL Commit(BOOL bDisable);

    // The record of a command id, or NULL.
    const TK_TOOL* FindTool(UINT nCmd) const;
    // The command, arguments and start directory of the command id's tool, each cut at its
    // field's end when the stored text lacks its zero byte. FALSE for an unknown id.
    BOOL GetLaunch(UINT nCmd, CString& strCommand, CString& strArgs, CString& strDirectory) const;

    int m_nCount;
    BYTE m_bModified;
    BYTE m_bSaveOnDestroy; // the destructor saves; a toolkit frame clears it and saves itself
    BYTE m_bEnabled;
    BYTE m_bEmptied;
    TK_TOOL* m_pTools;
    CMap<UINT, UINT, TK_TOOL*, TK_TOOL*> m_mapCommands;

private:
    void FreeTools();
    CTkToolsManager(const CTkToolsManager&) = delete;
    CTkToolsManager& operator=(const CTkToolsManager&) = delete;
};
