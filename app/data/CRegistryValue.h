// One registry value: its type and its bytes, kept in a heap of the value's own (created with the
// value, destroyed with it).
#pragma once

#include <afx.h>

class CRegistryValue {
public:
    // Empty: no bytes, type REG_NONE.
    CRegistryValue();
    // A REG_DWORD value of 4 bytes.
    explicit CRegistryValue(DWORD dwValue);
    // A REG_SZ (or, with bExpandable, REG_EXPAND_SZ) value: the text and its terminating zero.
    explicit CRegistryValue(LPCTSTR lpszText, BOOL bExpandable = FALSE);
    ~CRegistryValue();
    CRegistryValue(const CRegistryValue&) = delete;
    CRegistryValue& operator=(const CRegistryValue&) = delete;

    // Frees the old block and allocates nBytes (the size becomes nBytes); FALSE when the memory
    // is not there (the value is then empty).
    BOOL Allocate(DWORD nBytes);
    void Free();
    void SetType(DWORD dwType) { m_dwType = dwType; }
    // Shortens the size to the bytes actually used (never beyond the allocated block).
    void SetSize(DWORD nBytes);

    // TRUE and the number for REG_DWORD and REG_DWORD_BIG_ENDIAN values of 4 bytes or more (the
    // bytes taken as stored).
    BOOL GetDword(DWORD& rValue) const;
    // TRUE and the text for REG_SZ, REG_EXPAND_SZ and REG_LINK values: the bytes up to the first
    // zero, or all of them when none is stored.
    BOOL GetString(CString& rText) const;

    BYTE* GetData() const { return m_pData; }
    DWORD GetSize() const { return m_nSize; }
    DWORD GetType() const { return m_dwType; }

private:
    HANDLE m_hHeap;
    BYTE* m_pData;
    DWORD m_nSize;
    DWORD m_nAllocated;
    DWORD m_dwType;
};
