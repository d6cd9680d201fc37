// Serializable classes that the archive tests write and read.
#pragma once

#include <afx.h>

// Schema 3, not versionable; one 4-byte value. Records the schema its Serialize saw on loading.
class CArchiveProbe : public CObject {
    DECLARE_SERIAL(CArchiveProbe)
public:
    CArchiveProbe() = default;
    explicit CArchiveProbe(LONG nValue) : m_nValue(nValue) {}
    void Serialize(CArchive& ar) override;

    LONG m_nValue = 0;
    UINT m_nSchemaSeen = 0;
};

// Schema 2, versionable (older images are accepted); one 4-byte value.
class CVersionedProbe : public CObject {
    DECLARE_SERIAL(CVersionedProbe)
public:
    CVersionedProbe() = default;
    explicit CVersionedProbe(LONG nValue) : m_nValue(nValue) {}
    void Serialize(CArchive& ar) override;

    LONG m_nValue = 0;
    UINT m_nSchemaSeen = 0;
};

// Hex of the class names as an archive writes them.
#define HEX_CARCHIVEPROBE "434172636869766550726F6265"
#define HEX_CVERSIONEDPROBE "4356657273696F6E656450726F6265"
