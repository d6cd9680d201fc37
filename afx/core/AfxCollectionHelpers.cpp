#include "afxtempl.h"

template <> void AFXAPI SerializeElements<CString>(CArchive& ar, CString* pElements, int nCount)
{
    if (ar.IsStoring()) {
        for (; nCount-- > 0; pElements++)
            ar << *pElements;
    } else {
        for (; nCount-- > 0; pElements++)
            ar >> *pElements;
    }
}
