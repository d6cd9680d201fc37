// What the update thread compares to tell whether a table file changed since its last complete
// pass: the engine's file time (a DOS date and time, 2-second steps) and, from the file system,
// the full-resolution last-write time and the size of the file, so that a change within the same
// 2-second step is noticed too. An empty stamp (all zero) equals no table's stamp.
#pragma once

#include <windows.h>

class CDbTable;

class CTableFileStamp {
public:
    CTableFileStamp() {}

    // The stamp of the open table's file now; empty when the table is not open.
    static CTableFileStamp Read(CDbTable& table);

    bool operator==(const CTableFileStamp& other) const;
    bool operator!=(const CTableFileStamp& other) const { return !(*this == other); }
    bool IsEmpty() const { return *this == CTableFileStamp(); }

    unsigned GetDosTime() const { return m_nDosTime; }

private:
    unsigned m_nDosTime = 0;
    ULONGLONG m_nWriteTime = 0;
    ULONGLONG m_nSize = 0;
};
