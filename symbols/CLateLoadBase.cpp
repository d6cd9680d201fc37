#include "CLateLoadBase.h"

#include <cstdio>

#include "clsLibInfo.h"

CLateLoadBase::CLateLoadBase(const char* fileName, bool loadNow) : m_fileName(fileName)
{
    if (loadNow)
        Load();
}

CLateLoadBase::~CLateLoadBase()
{
    if (m_ownsModule && m_module)
        FreeLibrary(m_module);
    m_module = nullptr;
    m_ownsModule = 0;
}

void CLateLoadBase::Load()
{
    if (m_module || m_loadError || !m_fileName)
        return;
    m_module = LoadLibraryA(m_fileName);
    if (!m_module) {
        m_loadError = GetLastError();
        if (!m_loadError)
            m_loadError = 0x20000000;
    }
}

bool CLateLoadBase::Bind(LateLoadSlot& slot, const char* name, int argumentBytes)
{
    if (slot.state == 0) {
        if (!m_module && !m_loadError)
            Load();
        if (m_module) {
            char candidate[256];
            const char* const formats[4] = {"%s", "_%s@%d", "%sA", "_%sA@%d"};
            slot.state = 1;
            for (const char* format : formats) {
                snprintf(candidate, sizeof candidate, format, name, argumentBytes);
                slot.function = LibGetProcAddress(m_module, candidate);
                if (slot.function) {
                    slot.state = 2;
                    break;
                }
            }
        }
    }
    return slot.state == 2;
}
