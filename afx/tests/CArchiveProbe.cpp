#include "CArchiveProbe.h"

IMPLEMENT_SERIAL(CArchiveProbe, CObject, 3)

void CArchiveProbe::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_nValue;
    else {
        m_nSchemaSeen = ar.GetObjectSchema();
        ar >> m_nValue;
    }
}
