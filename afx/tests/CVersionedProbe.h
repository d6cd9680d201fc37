// A serializable class that the archive tests write and read: schema 2, versionable (older
// images are accepted), one 4-byte value. Records the schema its Serialize saw on loading.
#pragma once

#include <afx.h>

class CVersionedProbe : public CObject {
    DECLARE_SERIAL(CVersionedProbe)
public:
    CVersionedProbe() = default;
    explicit CVersionedProbe(LONG nValue) : m_nValue(nValue) {}
    void Serialize(CArchive& ar) override;

    LONG m_nValue = 0;
    UINT m_nSchemaSeen = 0;
};

// Hex of the class name as an archive writes it.
#define HEX_CVERSIONEDPROBE "4356657273696F6E656450726F6265"
