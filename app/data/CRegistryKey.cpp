#include "CRegistryKey.h"

#include <vector>

CRegistryKey::CRegistryKey(HKEY hRoot) : m_hRoot(hRoot) {}

CRegistryKey::~CRegistryKey() {}

BOOL CRegistryKey::OnValue(LPCTSTR, LPCTSTR, const CRegistryValue&, int) { return FALSE; }

BOOL CRegistryKey::OnSubkey(LPCTSTR, int) { return FALSE; }

BOOL CRegistryKey::ReadValue(LPCTSTR lpszSubkey, LPCTSTR lpszName, CRegistryValue& value)
{
    HKEY hKey;
    if (RegOpenKeyExA(m_hRoot, lpszSubkey, 0, KEY_READ, &hKey) != ERROR_SUCCESS) {
        value.Free();
        return FALSE;
    }
    BOOL bRead = FALSE;
    DWORD dwType = REG_NONE, cb = 0;
    if (RegQueryValueExA(hKey, lpszName, NULL, &dwType, NULL, &cb) == ERROR_SUCCESS && value.Allocate(cb)) {
        DWORD cbRead = cb;
        if (RegQueryValueExA(hKey, lpszName, NULL, &dwType, value.GetData(), &cbRead) == ERROR_SUCCESS) {
            value.SetType(dwType);
            value.SetSize(cbRead);
            bRead = TRUE;
        }
    }
    RegCloseKey(hKey);
    if (!bRead)
        value.Free();
    return bRead;
}

BOOL CRegistryKey::ReadDword(LPCTSTR lpszSubkey, LPCTSTR lpszName, DWORD& rValue)
{
    CRegistryValue value;
    return ReadValue(lpszSubkey, lpszName, value) && value.GetDword(rValue);
}

DWORD CRegistryKey::ReadDwordDefault(LPCTSTR lpszSubkey, LPCTSTR lpszName, DWORD dwDefault)
{
    DWORD dwValue;
    return ReadDword(lpszSubkey, lpszName, dwValue) ? dwValue : dwDefault;
}

BOOL CRegistryKey::ReadString(LPCTSTR lpszSubkey, LPCTSTR lpszName, CString& rText)
{
    CRegistryValue value;
    return ReadValue(lpszSubkey, lpszName, value) && value.GetString(rText);
}

BOOL CRegistryKey::WriteValue(LPCTSTR lpszSubkey, LPCTSTR lpszName, const CRegistryValue& value)
{
    HKEY hKey;
    if (RegCreateKeyExA(m_hRoot, lpszSubkey, 0, NULL, 0, KEY_WRITE, NULL, &hKey, NULL) != ERROR_SUCCESS)
        return FALSE;
    LONG lResult = RegSetValueExA(hKey, lpszName, 0, value.GetType(), value.GetData(), value.GetSize());
    RegCloseKey(hKey);
    return lResult == ERROR_SUCCESS;
}

BOOL CRegistryKey::WriteDword(LPCTSTR lpszSubkey, LPCTSTR lpszName, DWORD dwValue)
{
    return WriteValue(lpszSubkey, lpszName, CRegistryValue(dwValue));
}

BOOL CRegistryKey::WriteString(LPCTSTR lpszSubkey, LPCTSTR lpszName, LPCTSTR lpszText)
{
    return WriteValue(lpszSubkey, lpszName, CRegistryValue(lpszText));
}

BOOL CRegistryKey::Enumerate(LPCTSTR lpszSubkey, DWORD dwFlags)
{
    // A handle of its own also for the root itself: the walk closes the key it walks.
    HKEY hKey;
    if (RegOpenKeyExA(m_hRoot, lpszSubkey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return FALSE;
    return Walk(lpszSubkey != NULL ? lpszSubkey : "", hKey, dwFlags, 0);
}

BOOL CRegistryKey::Walk(const CString& strPath, HKEY hKey, DWORD dwFlags, int nDepth)
{
    DWORD nSubkeys = 0, nMaxSubkey = 0, nValues = 0, nMaxValueName = 0, nMaxValueData = 0;
    if (RegQueryInfoKeyA(hKey, NULL, NULL, NULL, &nSubkeys, &nMaxSubkey, NULL, &nValues, &nMaxValueName, &nMaxValueData,
                         NULL, NULL) != ERROR_SUCCESS) {
        RegCloseKey(hKey);
        return FALSE;
    }

    if (dwFlags & kValues) {
        std::vector<char> name(nMaxValueName + 1);
        CRegistryValue value;
        for (DWORD i = 0;; ++i) {
            if (!value.Allocate(nMaxValueData)) {
                RegCloseKey(hKey);
                return FALSE;
            }
            DWORD cchName = (DWORD)name.size(), dwType = REG_NONE, cbData = nMaxValueData;
            LONG lResult = RegEnumValueA(hKey, i, name.data(), &cchName, NULL, &dwType, value.GetData(), &cbData);
            if (lResult == ERROR_NO_MORE_ITEMS)
                break;
            // An index that fails (a value grown since the key was asked) is skipped. Beyond the
            // count the key reported a failure ends the values: a key deleted meanwhile fails at
            // every index and would never answer ERROR_NO_MORE_ITEMS.
            if (lResult != ERROR_SUCCESS) {
                if (i >= nValues)
                    break;
                continue;
            }
            value.SetType(dwType);
            value.SetSize(cbData);
            if (!OnValue(strPath, name.data(), value, nDepth)) {
                RegCloseKey(hKey);
                return FALSE;
            }
        }
    }

    std::vector<char> subkey(nMaxSubkey + 1);
    for (DWORD i = 0;; ++i) {
        LONG lResult = RegEnumKeyA(hKey, i, subkey.data(), (DWORD)subkey.size());
        if (lResult == ERROR_NO_MORE_ITEMS)
            break;
        if (lResult != ERROR_SUCCESS) {
            if (i >= nSubkeys)
                break;
            continue;
        }
        if ((dwFlags & kSubkeys) && !OnSubkey(subkey.data(), nDepth)) {
            RegCloseKey(hKey);
            return FALSE;
        }
        HKEY hSubkey;
        if (RegOpenKeyExA(hKey, subkey.data(), 0, KEY_READ, &hSubkey) != ERROR_SUCCESS)
            continue;
        CString strSubPath = strPath.IsEmpty() ? CString(subkey.data()) : strPath + "\\" + subkey.data();
        if (!Walk(strSubPath, hSubkey, dwFlags, nDepth + 1)) {
            RegCloseKey(hKey);
            return FALSE;
        }
    }
    RegCloseKey(hKey);
    return TRUE;
}
