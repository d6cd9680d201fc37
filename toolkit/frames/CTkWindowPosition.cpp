#include "CTkWindowPosition.h"

#include "CTkRegistryHelper.h"

#include <cstring>

namespace {

const char kSection[] = "Settings";
const char kEntry[] = "Window Position";

CString EntryName(LPCTSTR lpszSuffix)
{
    CString strEntry = kEntry;
    if (lpszSuffix != NULL)
        strEntry += lpszSuffix;
    return strEntry;
}

// The record as it is stored, independent of any padding of the structure.
void ToBytes(const CTkWindowPosition& pos, BYTE* pBytes)
{
    std::memcpy(pBytes, &pos.m_dwReserved, 4);
    std::memcpy(pBytes + 4, &pos.m_wp, sizeof(WINDOWPLACEMENT));
}

void FromBytes(CTkWindowPosition& pos, const BYTE* pBytes)
{
    std::memcpy(&pos.m_dwReserved, pBytes, 4);
    std::memcpy(&pos.m_wp, pBytes + 4, sizeof(WINDOWPLACEMENT));
}

} // namespace

static_assert(sizeof(WINDOWPLACEMENT) + 4 == CTkWindowPosition::nRecordSize, "the stored record has 48 bytes");

CTkWindowPosition::CTkWindowPosition() : m_dwReserved(0)
{
    std::memset(&m_wp, 0, sizeof(m_wp));
    m_wp.length = nRecordSize;
    m_wp.showCmd = SW_SHOW;
}

BOOL CTkWindowPosition::SaveWindowPos(CWnd* pWnd, LPCTSTR lpszSuffix)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL || !::IsWindow(pWnd->m_hWnd))
        return FALSE;
    WINDOWPLACEMENT wp;
    std::memset(&wp, 0, sizeof(wp));
    wp.length = sizeof(WINDOWPLACEMENT);
    if (!::GetWindowPlacement(pWnd->m_hWnd, &wp))
        return FALSE;
    m_wp = wp;
    m_wp.length = nRecordSize;
    if (lpszSuffix == NULL && m_wp.showCmd != SW_SHOWMAXIMIZED)
        m_wp.showCmd = SW_SHOWNORMAL;
    BYTE bytes[nRecordSize];
    ToBytes(*this, bytes);
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    reg.WriteProfileBinary(kSection, EntryName(lpszSuffix), bytes, nRecordSize);
    return TRUE;
}

BOOL CTkWindowPosition::LoadWindowPos(LPCTSTR lpszSuffix)
{
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE* pData = NULL;
    UINT nBytes = 0;
    if (!reg.GetProfileBinary(kSection, EntryName(lpszSuffix), &pData, &nBytes) || pData == NULL)
        return FALSE;
    // a value too short for the record fills nothing (the record is never read from beyond it)
    BOOL bOk = nBytes >= nRecordSize;
    if (bOk)
        FromBytes(*this, pData);
    delete[] pData;
    return bOk;
}

BOOL CTkWindowPosition::Apply(CWnd* pWnd) const
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL || !::IsWindow(pWnd->m_hWnd))
        return FALSE;
    WINDOWPLACEMENT wp = m_wp;
    wp.length = sizeof(WINDOWPLACEMENT);
    return ::SetWindowPlacement(pWnd->m_hWnd, &wp);
}
