// Values and key trees below a root key of the registry (such as HKEY_CURRENT_USER). Reads and
// writes open the subkey for the one call; Enumerate walks a key and every key below it and
// reports values (flag kValues) and subkeys (flag kSubkeys) to the virtual callbacks, whose
// FALSE answer ends the whole walk. The walk always descends into every subkey: the callbacks
// decide by the depth what they keep. No operation shows a message.
#pragma once

#include "CRegistryValue.h"

class CRegistryKey {
public:
    enum { kValues = 1, kSubkeys = 2 };

    explicit CRegistryKey(HKEY hRoot);
    virtual ~CRegistryKey();

    // A value of the key path (depth 0 for the key walked); continue flag. The base answers
    // FALSE.
    virtual BOOL OnValue(LPCTSTR lpszKeyPath, LPCTSTR lpszName, const CRegistryValue& value, int nDepth);
    // A subkey of a key at depth nDepth; continue flag. The base answers FALSE.
    virtual BOOL OnSubkey(LPCTSTR lpszName, int nDepth);

    // Type and bytes of the value; FALSE (and the value freed) when the key or the value is
    // missing.
    BOOL ReadValue(LPCTSTR lpszSubkey, LPCTSTR lpszName, CRegistryValue& value);
    // TRUE only for an existing REG_DWORD or REG_DWORD_BIG_ENDIAN value.
    BOOL ReadDword(LPCTSTR lpszSubkey, LPCTSTR lpszName, DWORD& rValue);
    DWORD ReadDwordDefault(LPCTSTR lpszSubkey, LPCTSTR lpszName, DWORD dwDefault);
    // TRUE only for an existing REG_SZ, REG_EXPAND_SZ or REG_LINK value.
    BOOL ReadString(LPCTSTR lpszSubkey, LPCTSTR lpszName, CString& rText);

    // Creates the subkey when missing and sets the value; TRUE on success.
    BOOL WriteValue(LPCTSTR lpszSubkey, LPCTSTR lpszName, const CRegistryValue& value);
    BOOL WriteDword(LPCTSTR lpszSubkey, LPCTSTR lpszName, DWORD dwValue);
    // A REG_SZ value with the text's terminating zero.
    BOOL WriteString(LPCTSTR lpszSubkey, LPCTSTR lpszName, LPCTSTR lpszText);

    // Walks the subkey (the root itself for NULL) with the flags; TRUE when the walk ended
    // normally, FALSE when the key cannot be opened or read or a callback ended it.
    BOOL Enumerate(LPCTSTR lpszSubkey, DWORD dwFlags);

    HKEY GetRoot() const { return m_hRoot; }

private:
    // Walks the open key, which it closes.
    BOOL Walk(const CString& strPath, HKEY hKey, DWORD dwFlags, int nDepth);

    HKEY m_hRoot;
};
