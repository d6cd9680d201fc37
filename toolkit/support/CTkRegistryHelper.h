// The toolkit's one way to its settings: the profile operations of the application object under
// a root key of the caller's choice, at root\Software\<application registry key>\<profile name>
// \<section>. When tkAfxData.strINIFileName names a file, every operation except value deletion
// goes to that file instead, binary blocks written as letters (per byte 'A' + low four bits, then
// 'A' + high four bits).
#pragma once

#include <afxwin.h>

class CTkRegistryHelper {
public:
    explicit CTkRegistryHelper(HKEY hKeyRoot);
    virtual ~CTkRegistryHelper();

    // The application's key (the caller closes it); NULL when a step fails or the application has
    // no registry key.
    virtual HKEY GetAppRegistryKey();
    // The section's key below it (the caller closes it); NULL on failure.
    virtual HKEY GetSectionKey(LPCTSTR lpszSection);

    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // A NULL entry deletes the section, a NULL value the value.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    // *ppData (freed by the caller with delete[]) and *pBytes; NULL and 0 on failure.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, BYTE** ppData, UINT* pBytes);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = NULL);
    // Always in the registry, also when a file is named.
    BOOL DeleteProfileValue(LPCTSTR lpszSection, LPCTSTR lpszEntry);

    // The letter form of a block, and back: FALSE for a letter outside 'A'..'P' (nothing is
    // allocated then); a trailing odd letter is dropped.
    static CString EncodeLetters(const BYTE* pData, UINT nBytes);
    static BOOL DecodeLetters(LPCTSTR lpszLetters, BYTE** ppData, UINT* pBytes);

    HKEY m_hKeyRoot;
    CString m_strINIFileName;
    CWinApp* m_pApp;

private:
    BOOL IsFileMode() const { return !m_strINIFileName.IsEmpty(); }
    BOOL HasRegistryKey() const { return m_pApp != NULL && m_pApp->m_pszRegistryKey != NULL; }
};
