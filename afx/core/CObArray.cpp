#include "afxcoll.h"

IMPLEMENT_SERIAL(CObArray, CObject, 0)

CObArray::CObArray() {}

CObArray::~CObArray() {}

void CObArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nSize);
        for (int i = 0; i < m_nSize; i++)
            ar << m_pData[i];
    } else {
        DWORD nOldSize = ar.ReadCount();
        ar.CheckCount(nOldSize, 2);
        SetSize((int)nOldSize, -1);
        for (int i = 0; i < m_nSize; i++)
            ar >> m_pData[i];
    }
}
