#include "ArchiveProbes.h"

IMPLEMENT_SERIAL(CArchiveProbe, CObject, 3)
IMPLEMENT_SERIAL(CVersionedProbe, CObject, VERSIONABLE_SCHEMA | 2)

void CArchiveProbe::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_nValue;
    else {
        m_nSchemaSeen = ar.GetObjectSchema();
        ar >> m_nValue;
    }
}

void CVersionedProbe::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_nValue;
    else {
        m_nSchemaSeen = ar.GetObjectSchema();
        ar >> m_nValue;
    }
}
