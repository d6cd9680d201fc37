// The standard CRC-32 (reflected polynomial 0xEDB88320, as in ISO 3309 and zlib) that guards the
// toolkit's saved binary values. Update calls continue one checksum over concatenated data.
#pragma once

#include <windows.h>

class CTkCrc32 {
public:
    CTkCrc32();
    void Update(const void* pData, UINT nLength);
    DWORD GetValue() const { return m_dwValue; }

    DWORD m_table[256];
    DWORD m_dwValue;
};
