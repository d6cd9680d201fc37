#include "MiniDumpFile.h"

#include <windows.h>

#include "TestKit.h"

uint32_t MiniDumpFile::U32(uint64_t o) const
{
    return Fits(o, 4) ? (uint32_t)m_bytes[o] | (uint32_t)m_bytes[o + 1] << 8 | (uint32_t)m_bytes[o + 2] << 16 |
                            (uint32_t)m_bytes[o + 3] << 24
                      : 0;
}

uint64_t MiniDumpFile::U64(uint64_t o) const { return U32(o) | (uint64_t)U32(o + 4) << 32; }

bool MiniDumpFile::Load(const std::string& path)
{
    std::string text = oxtest::ReadFileText(path);
    m_bytes.assign(text.begin(), text.end());
    m_streams.clear();
    if (!Fits(0, 32) || U32(0) != 0x504D444D || (U32(4) & 0xFFFF) != 0xA793)
        return false;
    uint32_t count = U32(8), directory = U32(12);
    if (!Fits(directory, (uint64_t)count * 12))
        return false;
    for (uint32_t i = 0; i < count; i++) {
        uint64_t at = directory + 12ull * i;
        Entry e = {U32(at), U32(at + 4), U32(at + 8)};
        if (!Fits(e.rva, e.size))
            return false;
        m_streams.push_back(e);
    }
    return true;
}

bool MiniDumpFile::Stream(uint32_t type, uint32_t& rva, uint32_t& size) const
{
    for (const Entry& e : m_streams)
        if (e.type == type) {
            rva = e.rva;
            size = e.size;
            return true;
        }
    return false;
}

bool MiniDumpFile::HasStream(uint32_t type) const
{
    uint32_t rva, size;
    return Stream(type, rva, size);
}

std::vector<uint32_t> MiniDumpFile::ThreadIds() const
{
    std::vector<uint32_t> ids;
    uint32_t rva, size;
    if (!Stream(3, rva, size) || size < 4)
        return ids;
    uint32_t count = U32(rva);
    for (uint32_t i = 0; i < count && 4 + 48ull * (i + 1) <= size; i++)
        ids.push_back(U32(rva + 4 + 48ull * i));
    return ids;
}

std::vector<MiniDumpFile::Module> MiniDumpFile::Modules() const
{
    std::vector<Module> modules;
    uint32_t rva, size;
    if (!Stream(4, rva, size) || size < 4)
        return modules;
    uint32_t count = U32(rva);
    for (uint32_t i = 0; i < count && 4 + 108ull * (i + 1) <= size; i++) {
        uint64_t at = rva + 4 + 108ull * i;
        Module m;
        m.base = U64(at);
        m.size = U32(at + 8);
        uint32_t name = U32(at + 20), bytes = U32(name);
        if (Fits(name + 4ull, bytes)) {
            std::wstring wide(bytes / 2, L'\0');
            for (uint32_t k = 0; k < bytes / 2; k++)
                wide[k] = (wchar_t)(m_bytes[name + 4 + 2 * k] | m_bytes[name + 5 + 2 * k] << 8);
            char narrow[1024] = "";
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), (int)wide.size(), narrow, sizeof narrow - 1, nullptr, nullptr);
            m.name = narrow;
        }
        modules.push_back(m);
    }
    return modules;
}

bool MiniDumpFile::GetException(Exception& out) const
{
    uint32_t rva, size;
    if (!Stream(6, rva, size) || size < 32)
        return false;
    out.threadId = U32(rva);
    out.code = U32(rva + 8);
    out.address = U64(rva + 24);
    return true;
}
