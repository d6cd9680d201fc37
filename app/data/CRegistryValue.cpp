#include "CRegistryValue.h"

#include <string.h>

CRegistryValue::CRegistryValue()
    : m_hHeap(HeapCreate(0, 0, 0)), m_pData(NULL), m_nSize(0), m_nAllocated(0), m_dwType(REG_NONE)
{
}

CRegistryValue::CRegistryValue(DWORD dwValue) : CRegistryValue()
{
    if (Allocate(sizeof dwValue)) {
        memcpy(m_pData, &dwValue, sizeof dwValue);
        m_dwType = REG_DWORD;
    }
}

CRegistryValue::CRegistryValue(LPCTSTR lpszText, BOOL bExpandable) : CRegistryValue()
{
    if (lpszText == NULL)
        lpszText = "";
    DWORD nBytes = (DWORD)strlen(lpszText) + 1;
    if (Allocate(nBytes)) {
        memcpy(m_pData, lpszText, nBytes);
        m_dwType = bExpandable ? REG_EXPAND_SZ : REG_SZ;
    }
}

CRegistryValue::~CRegistryValue()
{
    Free();
    if (m_hHeap != NULL)
        HeapDestroy(m_hHeap);
}

BOOL CRegistryValue::Allocate(DWORD nBytes)
{
    Free();
    if (m_hHeap == NULL)
        return FALSE;
    // A block of at least one byte, so that a value of no bytes still has an address.
    m_pData = (BYTE*)HeapAlloc(m_hHeap, HEAP_ZERO_MEMORY, nBytes > 0 ? nBytes : 1);
    if (m_pData == NULL)
        return FALSE;
    m_nSize = m_nAllocated = nBytes;
    return TRUE;
}

void CRegistryValue::Free()
{
    if (m_pData != NULL)
        HeapFree(m_hHeap, 0, m_pData);
    m_pData = NULL;
    m_nSize = m_nAllocated = 0;
}

void CRegistryValue::SetSize(DWORD nBytes) { m_nSize = nBytes < m_nAllocated ? nBytes : m_nAllocated; }

BOOL CRegistryValue::GetDword(DWORD& rValue) const
{
    if ((m_dwType != REG_DWORD && m_dwType != REG_DWORD_BIG_ENDIAN) || m_pData == NULL || m_nSize < sizeof(DWORD))
        return FALSE;
    memcpy(&rValue, m_pData, sizeof(DWORD));
    return TRUE;
}

BOOL CRegistryValue::GetString(CString& rText) const
{
    if (m_dwType != REG_SZ && m_dwType != REG_EXPAND_SZ && m_dwType != REG_LINK)
        return FALSE;
    const char* p = (const char*)m_pData;
    size_t n = p != NULL ? strnlen(p, m_nSize) : 0;
    rText = n > 0 ? CString(p, (int)n) : CString();
    return TRUE;
}
