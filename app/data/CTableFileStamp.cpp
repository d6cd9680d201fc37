#include "CTableFileStamp.h"

#include "CDbTable.h"

CTableFileStamp CTableFileStamp::Read(CDbTable& table)
{
    CTableFileStamp stamp;
    if (!table.IsOpen())
        return stamp;
    stamp.m_nDosTime = table.GetFileTime();
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(table.GetDatabasePath(), GetFileExInfoStandard, &data)) {
        stamp.m_nWriteTime = ((ULONGLONG)data.ftLastWriteTime.dwHighDateTime << 32) | data.ftLastWriteTime.dwLowDateTime;
        stamp.m_nSize = ((ULONGLONG)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    }
    return stamp;
}

bool CTableFileStamp::operator==(const CTableFileStamp& other) const
{
    return m_nDosTime == other.m_nDosTime && m_nWriteTime == other.m_nWriteTime && m_nSize == other.m_nSize;
}
