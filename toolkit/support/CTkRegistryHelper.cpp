#include "CTkRegistryHelper.h"

#include "CTkGlobalData.h"

#include <stdio.h>

CTkRegistryHelper::CTkRegistryHelper(HKEY hKeyRoot)
    : m_hKeyRoot(hKeyRoot), m_strINIFileName(tkAfxData.strINIFileName), m_pApp(AfxGetModuleState()->m_pCurrentWinApp)
{
}

CTkRegistryHelper::~CTkRegistryHelper() {}

HKEY CTkRegistryHelper::GetAppRegistryKey()
{
    if (!HasRegistryKey() || m_pApp->m_pszProfileName == NULL)
        return NULL;
    HKEY hSoftKey = NULL, hCompanyKey = NULL, hAppKey = NULL;
    DWORD dw;
    if (::RegOpenKeyExA(m_hKeyRoot, "Software", 0, KEY_READ | KEY_WRITE, &hSoftKey) == ERROR_SUCCESS &&
        ::RegCreateKeyExA(hSoftKey, m_pApp->m_pszRegistryKey, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                          NULL, &hCompanyKey, &dw) == ERROR_SUCCESS) {
        if (::RegCreateKeyExA(hCompanyKey, m_pApp->m_pszProfileName, 0, NULL, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, NULL, &hAppKey, &dw) != ERROR_SUCCESS)
            hAppKey = NULL;
    }
    if (hSoftKey != NULL)
        ::RegCloseKey(hSoftKey);
    if (hCompanyKey != NULL)
        ::RegCloseKey(hCompanyKey);
    return hAppKey;
}

HKEY CTkRegistryHelper::GetSectionKey(LPCTSTR lpszSection)
{
    if (lpszSection == NULL)
        return NULL;
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL)
        return NULL;
    HKEY hSectionKey = NULL;
    DWORD dw;
    if (::RegCreateKeyExA(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, NULL,
                          &hSectionKey, &dw) != ERROR_SUCCESS)
        hSectionKey = NULL;
    ::RegCloseKey(hAppKey);
    return hSectionKey;
}

BOOL CTkRegistryHelper::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue)
{
    if (IsFileMode()) {
        char szValue[16];
        sprintf(szValue, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, szValue, m_strINIFileName);
    }
    if (!HasRegistryKey())
        return FALSE;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwValue = (DWORD)nValue;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_DWORD, (const BYTE*)&dwValue, sizeof(dwValue));
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CTkRegistryHelper::WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (IsFileMode())
        return WriteProfileString(lpszSection, lpszEntry, EncodeLetters(pData, nBytes));
    if (!HasRegistryKey())
        return FALSE;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    LONG lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CTkRegistryHelper::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue)
{
    if (IsFileMode())
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_strINIFileName);
    if (!HasRegistryKey())
        return FALSE;
    LONG lResult;
    if (lpszEntry == NULL) {
        HKEY hAppKey = GetAppRegistryKey();
        if (hAppKey == NULL)
            return FALSE;
        lResult = ::RegDeleteKeyA(hAppKey, lpszSection);
        ::RegCloseKey(hAppKey);
    } else if (lpszValue == NULL) {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL)
            return FALSE;
        lResult = ::RegDeleteValueA(hSecKey, lpszEntry);
        ::RegCloseKey(hSecKey);
    } else {
        HKEY hSecKey = GetSectionKey(lpszSection);
        if (hSecKey == NULL)
            return FALSE;
        lResult = ::RegSetValueExA(hSecKey, lpszEntry, 0, REG_SZ, (const BYTE*)lpszValue, lstrlenA(lpszValue) + 1);
        ::RegCloseKey(hSecKey);
    }
    return lResult == ERROR_SUCCESS;
}

UINT CTkRegistryHelper::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault)
{
    if (IsFileMode())
        return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_strINIFileName);
    if (!HasRegistryKey())
        return nDefault;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return nDefault;
    DWORD dwValue = 0, dwType, dwCount = sizeof(dwValue);
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)&dwValue, &dwCount);
    ::RegCloseKey(hSecKey);
    // a value longer than 4 bytes fails the query; a shorter one fills only part of the integer
    if (lResult != ERROR_SUCCESS || dwCount != sizeof(dwValue))
        return nDefault;
    return (UINT)dwValue;
}

BOOL CTkRegistryHelper::GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes)
{
    *ppData = NULL;
    *pBytes = 0;
    if (IsFileMode()) {
        CString strLetters = GetProfileString(lpszSection, lpszEntry, NULL);
        if (strLetters.IsEmpty())
            return FALSE;
        return DecodeLetters(strLetters, ppData, pBytes);
    }
    if (!HasRegistryKey())
        return FALSE;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return FALSE;
    DWORD dwType, dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS) {
        *ppData = new BYTE[dwCount != 0 ? dwCount : 1];
        lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, *ppData, &dwCount);
    }
    ::RegCloseKey(hSecKey);
    if (lResult != ERROR_SUCCESS) {
        delete[] * ppData;
        *ppData = NULL;
        return FALSE;
    }
    *pBytes = dwCount;
    return TRUE;
}

CString CTkRegistryHelper::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault)
{
    if (lpszDefault == NULL)
        lpszDefault = "";
    if (IsFileMode()) {
        CString strValue;
        ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, strValue.GetBuffer(4096), 4096,
                                   m_strINIFileName);
        strValue.ReleaseBuffer();
        return strValue;
    }
    if (!HasRegistryKey())
        return lpszDefault;
    HKEY hSecKey = GetSectionKey(lpszSection);
    if (hSecKey == NULL)
        return lpszDefault;
    CString strValue;
    DWORD dwType, dwCount = 0;
    LONG lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, NULL, &dwCount);
    if (lResult == ERROR_SUCCESS) {
        // one more byte, so that a value stored without its terminating zero ends
        LPSTR pBuffer = strValue.GetBuffer((int)dwCount + 1);
        lResult = ::RegQueryValueExA(hSecKey, lpszEntry, NULL, &dwType, (LPBYTE)pBuffer, &dwCount);
        pBuffer[lResult == ERROR_SUCCESS ? dwCount : 0] = '\0';
        strValue.ReleaseBuffer();
    }
    ::RegCloseKey(hSecKey);
    if (lResult != ERROR_SUCCESS)
        return lpszDefault;
    return strValue;
}

BOOL CTkRegistryHelper::DeleteProfileValue(LPCTSTR lpszSection, LPCTSTR lpszEntry)
{
    if (!HasRegistryKey())
        return FALSE;
    HKEY hAppKey = GetAppRegistryKey();
    if (hAppKey == NULL)
        return FALSE;
    HKEY hSecKey = NULL;
    DWORD dw;
    LONG lResult = ::RegCreateKeyExA(hAppKey, lpszSection, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL,
                                     &hSecKey, &dw);
    ::RegCloseKey(hAppKey);
    if (lResult != ERROR_SUCCESS)
        return FALSE;
    lResult = ::RegDeleteValueA(hSecKey, lpszEntry);
    ::RegCloseKey(hSecKey);
    return lResult == ERROR_SUCCESS;
}

CString CTkRegistryHelper::EncodeLetters(const BYTE* pData, UINT nBytes)
{
    CString strLetters;
    LPSTR p = strLetters.GetBuffer((int)nBytes * 2 + 1);
    for (UINT i = 0; i < nBytes; i++) {
        p[i * 2] = (char)('A' + (pData[i] & 0x0F));
        p[i * 2 + 1] = (char)('A' + ((pData[i] >> 4) & 0x0F));
    }
    p[nBytes * 2] = '\0';
    strLetters.ReleaseBuffer((int)nBytes * 2);
    return strLetters;
}

BOOL CTkRegistryHelper::DecodeLetters(LPCTSTR lpszLetters, BYTE** ppData, UINT* pBytes)
{
    *ppData = NULL;
    *pBytes = 0;
    UINT nLength = (UINT)lstrlenA(lpszLetters);
    UINT nBytes = nLength / 2;
    for (UINT i = 0; i < nBytes * 2; i++) {
        if (lpszLetters[i] < 'A' || lpszLetters[i] > 'P')
            return FALSE;
    }
    if (nBytes == 0)
        return FALSE;
    BYTE* pData = new BYTE[nBytes];
    for (UINT i = 0; i < nBytes; i++)
        pData[i] = (BYTE)(((lpszLetters[i * 2 + 1] - 'A') << 4) | (lpszLetters[i * 2] - 'A'));
    *ppData = pData;
    *pBytes = nBytes;
    return TRUE;
}
