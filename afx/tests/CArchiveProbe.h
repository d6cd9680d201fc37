// A serializable class that the archive tests write and read: schema 3, not versionable, one
// 4-byte value. Records the schema its Serialize saw on loading.
#pragma once

#include <afx.h>

class CArchiveProbe : public CObject {
    DECLARE_SERIAL(CArchiveProbe)
public:
    CArchiveProbe() = default;
    explicit CArchiveProbe(LONG nValue) : m_nValue(nValue) {}
    void Serialize(CArchive& ar) override;

    LONG m_nValue = 0;
    UINT m_nSchemaSeen = 0;
};

// Hex of the class name as an archive writes it.
#define HEX_CARCHIVEPROBE "434172636869766550726F6265"
