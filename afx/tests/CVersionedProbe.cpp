#include "CVersionedProbe.h"

IMPLEMENT_SERIAL(CVersionedProbe, CObject, VERSIONABLE_SCHEMA | 2)

void CVersionedProbe::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_nValue;
    else {
        m_nSchemaSeen = ar.GetObjectSchema();
        ar >> m_nValue;
    }
}
