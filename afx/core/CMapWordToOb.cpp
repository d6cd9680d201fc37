#include "afxcoll.h"

IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)

CMapWordToOb::CMapWordToOb(int nBlockSize) : CMap<WORD, WORD, CObject*, CObject*>(nBlockSize) {}

CMapWordToOb::~CMapWordToOb() {}

void CMapWordToOb::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nCount);
        POSITION pos = GetStartPosition();
        while (pos != NULL) {
            WORD key = 0;
            CObject* pValue = NULL;
            GetNextAssoc(pos, key, pValue);
            ar << key;
            ar << pValue;
        }
    } else {
        DWORD nNewCount = ar.ReadCount();
        ar.CheckCount(nNewCount, 4);
        while (nNewCount--) {
            WORD key = 0;
            CObject* pValue = NULL;
            ar >> key;
            ar >> pValue;
            SetAt(key, pValue);
        }
    }
}
