#include "CTkToolsManager.h"

#include <memory>

#include "CTkRegistryHelper.h"

namespace {

const TCHAR kSection[] = "Settings";
const TCHAR kEntry[] = "Tools";

// The text of a field of nSize bytes, ending at its zero byte or at the field's end.
CString FieldText(const char* pField, size_t nSize)
{
    size_t nLength = strnlen(pField, nSize);
    if (nLength == nSize)
        nLength = nSize - 1; // the last byte is the terminator's place
    return CString(pField, (int)nLength);
}

} // namespace

CTkToolsManager* CTkToolsManager::Instance()
{
    static CTkToolsManager manager;
    return &manager;
}

CTkToolsManager::CTkToolsManager()
    : m_nCount(0), m_bModified(0), m_bSaveOnDestroy(1), m_bEnabled(0), m_bEmptied(0), m_pTools(NULL)
{
    m_mapCommands.InitHashTable(17);
    Load();
}

CTkToolsManager::~CTkToolsManager()
{
    if (m_bSaveOnDestroy)
        Commit(FALSE);
    FreeTools();
}

void CTkToolsManager::FreeTools()
{
    m_mapCommands.RemoveAll();
    delete[] m_pTools;
    m_pTools = NULL;
    m_nCount = 0;
}

BOOL CTkToolsManager::Load()
{
    FreeTools();
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE* pData = NULL;
    UINT nBytes = 0;
    if (!reg.GetProfileBinary(kSection, kEntry, &pData, &nBytes) || pData == NULL)
        return FALSE;
    std::unique_ptr<BYTE[]> guard(pData);
    int nCount = (int)(nBytes / sizeof(TK_TOOL));
    if (nCount > 0) {
        m_pTools = new TK_TOOL[nCount];
        memcpy(m_pTools, pData, nCount * sizeof(TK_TOOL));
        m_nCount = nCount;
    }
    for (int i = 0; i < m_nCount; i++) {
        UINT nCmd = m_pTools[i].nCmd;
        if (nCmd >= TK_FIRST_TOOL_COMMAND && nCmd <= TK_LAST_TOOL_COMMAND)
            m_mapCommands.SetAt(nCmd, &m_pTools[i]);
    }
    return TRUE;
}

BOOL CTkToolsManager::Save(const TK_TOOL* pTools, int nCount)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    return reg.WriteProfileBinary(kSection, kEntry, (LPBYTE)pTools, nCount * sizeof(TK_TOOL));
}

BOOL CTkToolsManager::Commit(BOOL bDisable)
{
    if (m_bEmptied) {
        CTkRegistryHelper reg(HKEY_CURRENT_USER);
        if (!reg.DeleteProfileValue(kSection, kEntry))
            return FALSE;
    } else if (m_bModified) {
        if (!Save(m_pTools, m_nCount))
            return FALSE;
        if (bDisable)
            m_bEnabled = 0;
    } else {
        return TRUE;
    }
    m_bModified = 0;
    return TRUE;
}

const TK_TOOL* CTkToolsManager::FindTool(UINT nCmd) const
{
    TK_TOOL* pTool = NULL;
    return m_mapCommands.Lookup(nCmd, pTool) ? pTool : NULL;
}

BOOL CTkToolsManager::GetLaunch(UINT nCmd, CString& strCommand, CString& strArgs, CString& strDirectory) const
{
    const TK_TOOL* pTool = FindTool(nCmd);
    if (pTool == NULL)
        return FALSE;
    strCommand = FieldText(pTool->szCommand, sizeof(pTool->szCommand));
    strArgs = FieldText(pTool->szArgs, sizeof(pTool->szArgs));
    strDirectory = FieldText(pTool->szDirectory, sizeof(pTool->szDirectory));
    return TRUE;
}
