#include "CItemVersion.h"

#include <stdlib.h>

CItemVersion::CItemVersion(LPCTSTR lpszRecordId, LPCTSTR lpszFootprint)
    : CItemVersion(ParseNumber(lpszRecordId), (short)ParseNumber(lpszFootprint))
{
}

CItemVersion::CItemVersion(long nRecordId, short nFootprint)
    : m_nRecordId(nRecordId), m_nFootprint(nFootprint), m_nRefs(1), m_bRetired(0)
{
}

void CItemVersion::AddRef() { ::InterlockedIncrement(&m_nRefs); }

void CItemVersion::Release()
{
    if (::InterlockedDecrement(&m_nRefs) == 0)
        delete this;
}

CString CItemVersion::GetIdText() const
{
    CString strId;
    strId.Format("%010d", (int)m_nRecordId);
    return strId;
}

long CItemVersion::ParseNumber(LPCTSTR lpszText)
{
    if (lpszText == NULL)
        return 0;
    return strtol(lpszText, NULL, 10);
}
