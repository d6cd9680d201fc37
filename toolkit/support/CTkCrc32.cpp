#include "CTkCrc32.h"

CTkCrc32::CTkCrc32() : m_dwValue(0)
{
    for (DWORD i = 0; i < 256; i++) {
        DWORD c = i;
        for (int k = 0; k < 8; k++)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320 : c >> 1;
        m_table[i] = c;
    }
}

void CTkCrc32::Update(const void* pData, UINT nLength)
{
    const BYTE* p = (const BYTE*)pData;
    DWORD dwValue = ~m_dwValue;
    for (UINT i = 0; i < nLength; i++)
        dwValue = (dwValue >> 8) ^ m_table[(dwValue ^ p[i]) & 0xFF];
    m_dwValue = ~dwValue;
}
