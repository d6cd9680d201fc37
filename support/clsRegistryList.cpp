#include "clsRegistryList.h"

clsRegistryList::clsRegistryList(HKEY root, const char* subkey, int mode)
{
    m_status = Ok;
    m_marker = 1;
    if (!subkey) {
        m_key = root;
        return;
    }
    HKEY key = nullptr;
    if (mode == 0) {
        DWORD disposition = 0;
        char emptyClass[1] = {0};
        if (RegCreateKeyExA(root, subkey, 0, emptyClass, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) !=
            ERROR_SUCCESS) {
            m_status = CreateFailed;
            return;
        }
    } else if (mode == 1) {
        if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            m_status = OpenFailed;
            return;
        }
    } else {
        return;
    }
    m_key = key;
    m_ownsKey = true;
}

clsRegistryList::~clsRegistryList() { Close(); }

void clsRegistryList::Close()
{
    if (m_key && m_ownsKey)
        RegCloseKey(m_key);
    m_key = nullptr;
    m_ownsKey = false;
}

int clsRegistryList::GetString(const char* name, String& out, const String& def)
{
    if (!m_key) {
        m_status = NoKey;
        return m_status;
    }
    // One byte more than the query may fill: a value stored without its NUL is still terminated.
    char buffer[257];
    DWORD size = 256;
    LONG result = RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    if (result == ERROR_SUCCESS) {
        buffer[size < 256 ? size : 256] = 0;
        out = buffer;
        m_status = Ok;
        return m_status;
    }
    if (result == ERROR_MORE_DATA) {
        DWORD needed = size;
        char* text = out.GetBuffer(needed + 1);
        size = needed;
        result = RegQueryValueExA(m_key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        if (result == ERROR_SUCCESS) {
            text[size <= needed ? size : needed] = 0;
            out.ReleaseBuffer(-1);
            m_status = Ok;
            return m_status;
        }
        out.ReleaseBuffer(0);
    }
    m_status = NoValue;
    out = def;
    return m_status;
}

int clsRegistryList::GetBool(const char* name, int def)
{
    String value;
    if (GetString(name, value, String()) != Ok)
        return def;
    return value.GetLength() && ((const char*)value)[0] == 'T' ? 1 : 0;
}
