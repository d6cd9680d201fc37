#include "clsCharsetConversionString.h"

#include <cstring>

#include "clsLibInfo.h"

clsCharsetConversionString::clsCharsetConversionString(const char* text, UINT codePage) : m_codePage(codePage)
{
    m_wideBuffer[0] = 0;
    m_narrowBuffer[0] = 0;
    if (!text)
        text = "";
    size_t n = std::strlen(text);
    m_narrow = n < (size_t)kInternal ? m_narrowBuffer : new char[n + 1];
    std::memcpy(m_narrow, text, n + 1);
}

clsCharsetConversionString::~clsCharsetConversionString()
{
    if (m_narrow != m_narrowBuffer)
        delete[] m_narrow;
    if (m_wide != m_wideBuffer)
        delete[] m_wide;
}

const wchar_t* clsCharsetConversionString::GetWide()
{
    static const wchar_t empty[1] = {0};
    if (m_wide)
        return m_wide;
    if (!*m_narrow)
        return empty;
    UINT codePage = m_codePage ? m_codePage : g_LibInfo.CodePage();
    // UTF-8 takes no flags.
    DWORD flags = codePage == CP_UTF8 ? 0 : MB_PRECOMPOSED;
    int length = (int)std::strlen(m_narrow);
    int units = MultiByteToWideChar(codePage, flags, m_narrow, length, nullptr, 0);
    if (units < 0)
        units = 0;
    wchar_t* wide = units < kInternal ? m_wideBuffer : new wchar_t[(size_t)units + 1];
    MultiByteToWideChar(codePage, flags, m_narrow, length + 1, wide, units + 1);
    wide[units] = 0;
    m_wide = wide;
    return m_wide;
}
