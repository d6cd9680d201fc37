#include "CTkAccelManager.h"

#include <memory>

#include "CTkRegistryHelper.h"

namespace {

const TCHAR kSection[] = "Settings";
const TCHAR kEntry[] = "Accelerators";

struct TK_KEYNAME {
    WORD wKey;
    LPCTSTR lpszName;
};

// Searched in this order; the first match wins.
const TK_KEYNAME kKeyNames[] = {
    {'0', "0"}, {'1', "1"}, {'2', "2"}, {'3', "3"}, {'4', "4"}, {'5', "5"}, {'6', "6"}, {'7', "7"},
    {'8', "8"}, {'9', "9"}, {'A', "A"}, {'B', "B"}, {'C', "C"}, {'D', "D"}, {'E', "E"}, {'F', "F"},
    {'G', "G"}, {'H', "H"}, {'I', "I"}, {'J', "J"}, {'K', "K"}, {'L', "L"}, {'M', "M"}, {'N', "N"},
    {'O', "O"}, {'P', "P"}, {'Q', "Q"}, {'R', "R"}, {'S', "S"}, {'T', "T"}, {'U', "U"}, {'V', "V"},
    {'W', "W"}, {'X', "X"}, {'Y', "Y"}, {'Z', "Z"},
    {0x01, "Left Button"}, {0x02, "Right Button"}, {0x03, "Cancel"}, {0x04, "Middle Button"},
    {0x08, "Back"}, {0x09, "Tab"}, {0x0C, "Clear"}, {0x0D, "Enter"}, {0x10, "Shift"}, {0x11, "Ctrl"},
    {0x12, "Alt"}, {0x13, "Pause"}, {0x14, "Caps Lock"}, {0x1B, "Esc"}, {0x20, "Space"},
    {0x21, "Page Up"}, {0x22, "Page Down"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left Arrow"},
    {0x26, "Up Arrow"}, {0x27, "Right Arrow"}, {0x28, "Down Arrow"}, {0x29, "Select"}, {0x2A, "Print"},
    {0x2B, "Execute"}, {0x2C, "Snapshot"}, {0x2D, "Ins"}, {0x2E, "Del"}, {0x2F, "Help"},
    {0x5B, "Left Windows"}, {0x5C, "Right Windows"}, {0x5D, "Application"}, {0x6A, "Num *"},
    {0x6B, "Num +"}, {0x6C, "Separator"}, {0x6D, "Num -"}, {0x6E, "Num ."}, {0x6F, "Num /"},
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"}, {0x76, "F7"},
    {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    {0x60, "Num 0"}, {0x61, "Num 1"}, {0x62, "Num 2"}, {0x63, "Num 3"}, {0x64, "Num 4"},
    {0x65, "Num 5"}, {0x66, "Num 6"}, {0x67, "Num 7"}, {0x68, "Num 8"}, {0x69, "Num 9"},
    {0x90, "Num Lock"}, {0x91, "Scrl Lock"}, {0xF6, "Attn"}, {0xF7, "Crsel"}, {0xF8, "Exsel"},
    {0xF9, "Ereof"}, {0xFA, "Play"}, {0xFB, "Zoom"}, {0xFC, "No Name"}, {0xFD, "Pa1"}, {0xFE, "Oem Clear"},
};

const BYTE kModifierMask = FSHIFT | FCONTROL | FALT;

// A copy of an accelerator table's entries (NULL for an empty or missing table).
ACCEL* CopyTable(HACCEL hAccel, int* pnCount)
{
    *pnCount = hAccel != NULL ? ::CopyAcceleratorTableA(hAccel, NULL, 0) : 0;
    if (*pnCount <= 0) {
        *pnCount = 0;
        return NULL;
    }
    ACCEL* pTable = new ACCEL[*pnCount];
    ::CopyAcceleratorTableA(hAccel, pTable, *pnCount);
    return pTable;
}

} // namespace

CTkAccelManager* CTkAccelManager::Instance()
{
    static CTkAccelManager manager;
    return &manager;
}

CTkAccelManager::CTkAccelManager()
    : m_pFrame(NULL), m_nCount(0), m_nDefaultCount(0), m_bResetPending(0), m_bModified(0), m_bSaveOnDestroy(1),
      m_bActive(0), m_pTable(NULL), m_pDefaultTable(NULL)
{
}

CTkAccelManager::~CTkAccelManager()
{
    if (m_bSaveOnDestroy)
        SaveChanges(FALSE);
    FreeTable();
    delete[] m_pDefaultTable;
}

void CTkAccelManager::FreeTable()
{
    delete[] m_pTable;
    m_pTable = NULL;
    m_nCount = 0;
}

BOOL CTkAccelManager::Load()
{
    FreeTable();
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE* pData = NULL;
    UINT nBytes = 0;
    if (!reg.GetProfileBinary(kSection, kEntry, &pData, &nBytes) || pData == NULL)
        return FALSE;
    std::unique_ptr<BYTE[]> guard(pData);
    // A remainder shorter than one record is ignored.
    int nCount = (int)(nBytes / sizeof(ACCEL));
    if (nCount > 0) {
        m_pTable = new ACCEL[nCount];
        memcpy(m_pTable, pData, nCount * sizeof(ACCEL));
        m_nCount = nCount;
    }
    return TRUE;
}

BOOL CTkAccelManager::Save(ACCEL* pTable, int nCount)
{
    static_assert(sizeof(ACCEL) == 6, "an accelerator record is stored as 6 bytes");
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    reg.WriteProfileBinary(kSection, kEntry, (LPBYTE)pTable, nCount * sizeof(ACCEL));
    return TRUE;
}

BOOL CTkAccelManager::Attach(CFrameWnd* pFrame)
{
    delete[] m_pDefaultTable;
    m_pFrame = pFrame;
    m_pDefaultTable = CopyTable(pFrame->m_hAccelTable, &m_nDefaultCount);
    m_bModified = 0;
    m_bResetPending = 0;
    if (!Load() || m_nCount == 0) {
        FreeTable();
        if (m_nDefaultCount > 0) {
            m_pTable = new ACCEL[m_nDefaultCount];
            memcpy(m_pTable, m_pDefaultTable, m_nDefaultCount * sizeof(ACCEL));
            m_nCount = m_nDefaultCount;
        }
        m_bActive = 1;
        return TRUE;
    }
    m_bActive = 1;
    return ApplyToFrame();
}

void CTkAccelManager::Detach()
{
    m_bActive = 0;
    m_pFrame = NULL;
}

BOOL CTkAccelManager::SaveChanges(BOOL bDeactivate)
{
    if (m_bResetPending) {
        CTkRegistryHelper reg(HKEY_CURRENT_USER);
        return reg.DeleteProfileValue(kSection, kEntry);
    }
    if (m_bModified) {
        Save(m_pTable, m_nCount);
        m_bModified = 0;
        if (bDeactivate)
            m_bActive = 0;
    }
    return TRUE;
}

BOOL CTkAccelManager::ApplyToFrame()
{
    if (m_pFrame == NULL || m_nCount == 0)
        return FALSE;
    HACCEL hNew = ::CreateAcceleratorTableA(m_pTable, m_nCount);
    if (hNew == NULL)
        return FALSE;
    if (m_pFrame->m_hAccelTable != NULL && !::DestroyAcceleratorTable(m_pFrame->m_hAccelTable)) {
        ::DestroyAcceleratorTable(hNew);
        return FALSE;
    }
    m_pFrame->m_hAccelTable = hNew;
    return TRUE;
}

BOOL CTkAccelManager::AddAccelerator(WORD nCmd, BYTE fVirt, WORD wKey)
{
    ACCEL* pTable = new ACCEL[m_nCount + 1];
    if (m_nCount > 0)
        memcpy(pTable, m_pTable, m_nCount * sizeof(ACCEL));
    pTable[m_nCount].fVirt = fVirt;
    pTable[m_nCount].key = wKey;
    pTable[m_nCount].cmd = nCmd;
    delete[] m_pTable;
    m_pTable = pTable;
    m_nCount++;
    m_bResetPending = 0;
    m_bModified = 1;
    return TRUE;
}

BOOL CTkAccelManager::FindAccelerator(BYTE fVirt, WORD wKey, UINT* pnCmd) const
{
    for (int i = 0; i < m_nCount; i++) {
        if (m_pTable[i].key == wKey && (m_pTable[i].fVirt & kModifierMask) == (fVirt & kModifierMask)) {
            if (pnCmd != NULL)
                *pnCmd = m_pTable[i].cmd;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CTkAccelManager::IsAccelerator(const MSG* pMsg) const
{
    // Keys pressed with Alt arrive as WM_SYSKEYDOWN; they are shortcuts as well.
    if ((pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN) || pMsg->wParam == VK_SHIFT || pMsg->wParam == VK_CONTROL ||
        pMsg->wParam == VK_MENU)
        return FALSE;
    BYTE fVirt = FVIRTKEY | FNOINVERT;
    if (::GetKeyState(VK_MENU) < 0)
        fVirt |= FALT;
    if (::GetKeyState(VK_CONTROL) < 0)
        fVirt |= FCONTROL;
    if (::GetKeyState(VK_SHIFT) < 0)
        fVirt |= FSHIFT;
    UINT nCmd = 0;
    return FindAccelerator(fVirt, (WORD)pMsg->wParam, &nCmd);
}

void CTkAccelManager::GetKeyText(const ACCEL& accel, CString& strText)
{
    strText.Empty();
    if (accel.key == 0)
        return;
    if (accel.fVirt & FCONTROL)
        strText += "Ctrl+";
    if (accel.fVirt & FALT)
        strText += "Alt+";
    if (accel.fVirt & FSHIFT)
        strText += "Shift+";
    strText += GetKeyName(accel.key);
}

LPCTSTR CTkAccelManager::GetKeyName(WORD wKey)
{
    for (const TK_KEYNAME& entry : kKeyNames) {
        if (entry.wKey == wKey)
            return entry.lpszName;
    }
    return "";
}

void CTkAccelManager::GetShortcutText(UINT nCmd, CString& strText) const
{
    for (int i = 0; i < m_nCount; i++) {
        if (m_pTable[i].cmd != nCmd)
            continue;
        CString strKey;
        GetKeyText(m_pTable[i], strKey);
        if (strKey.IsEmpty())
            continue;
        if (!strText.IsEmpty())
            strText += ", ";
        strText += strKey;
    }
}
