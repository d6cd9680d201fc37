#include "MappedHeader.h"

#include <cstring>

bool MappedHeader::Map(HANDLE file, DWORD length)
{
    Unmap();
    LARGE_INTEGER size{};
    if (file == INVALID_HANDLE_VALUE || !GetFileSizeEx(file, &size) || size.QuadPart <= 0)
        return false;
    if ((int64_t)length > size.QuadPart)
        length = (DWORD)size.QuadPart;
    // The section's size is the mapped length: a section larger than the file would lengthen it.
    m_mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, length, nullptr);
    if (!m_mapping)
        return false;
    m_view = (uint8_t*)MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, length);
    if (!m_view) {
        Unmap();
        return false;
    }
    m_length = length;
    return true;
}

void MappedHeader::Unmap()
{
    if (m_view) {
        // What was stored goes to the file system before the view (and then the handle) goes:
        // views of a file on another machine are not kept coherent with it, so a station opening
        // the table after this one closed it must not depend on when the system writes the page.
        if (m_stored)
            FlushViewOfFile(m_view, 0);
        UnmapViewOfFile(m_view);
    }
    if (m_mapping)
        CloseHandle(m_mapping);
    m_view = nullptr;
    m_mapping = nullptr;
    m_length = 0;
    m_stored = false;
}

bool MappedHeader::Store(int64_t offset, const void* data, DWORD count)
{
    if (!m_view || offset < 0 || count == 0 || (uint64_t)offset + count > m_length)
        return false;
    std::memcpy(m_view + offset, data, count);
    m_stored = true;
    return true;
}
