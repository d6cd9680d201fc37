#include "CDbFieldMap.h"

namespace {

CString IndexKey(LPCTSTR lpszName)
{
    CString strKey = lpszName;
    strKey.MakeUpper();
    return strKey;
}

} // namespace

CDbFieldMap::CDbFieldMap() {}

CDbFieldMap::CDbFieldMap(const CDbFieldMap& other) { *this = other; }

CDbFieldMap& CDbFieldMap::operator=(const CDbFieldMap& other)
{
    if (this != &other) {
        RemoveAll();
        for (int i = 0; i < other.GetCount(); ++i)
            Add(other[i]);
    }
    return *this;
}

int CDbFieldMap::Find(LPCTSTR lpszName) const
{
    WORD wIndex;
    if (lpszName == NULL || !m_index.Lookup(IndexKey(lpszName), wIndex))
        return -1;
    return wIndex;
}

CDbField* CDbFieldMap::Lookup(LPCTSTR lpszName)
{
    int nIndex = Find(lpszName);
    return nIndex >= 0 ? &m_fields[nIndex] : NULL;
}

void CDbFieldMap::Add(const CDbField& field)
{
    INT_PTR nIndex = m_fields.Add(field);
    m_index.SetAt(IndexKey(field.m_strName), (WORD)nIndex);
}

void CDbFieldMap::RemoveAll()
{
    m_fields.RemoveAll();
    m_index.RemoveAll();
}

void CDbFieldMap::EmptyValues()
{
    for (int i = 0; i < GetCount(); ++i)
        m_fields[i].m_strValue.Empty();
}

void CDbFieldMap::CopyValues(const CDbFieldMap& other)
{
    for (int i = 0; i < other.GetCount(); ++i)
        if (CDbField* pField = Lookup(other[i].m_strName))
            pField->m_strValue = other[i].m_strValue;
}
