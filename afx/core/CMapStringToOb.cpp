#include "afxcoll.h"

IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)

CMapStringToOb::CMapStringToOb(int nBlockSize) : CMap<CString, LPCTSTR, CObject*, CObject*>(nBlockSize) {}

CMapStringToOb::~CMapStringToOb() {}

void CMapStringToOb::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        POSITION pos = GetStartPosition();
        while (pos != NULL) {
            CString key;
            CObject* pValue = NULL;
            GetNextAssoc(pos, key, pValue);
            ar << key;
            ar << pValue;
        }
    } else {
        DWORD nNewCount = ar.ReadCount();
        ar.CheckCount(nNewCount, 3);
        while (nNewCount--) {
            CString key;
            CObject* pValue = NULL;
            ar >> key;
            ar >> pValue;
            SetAt(key, pValue);
        }
    }
}
