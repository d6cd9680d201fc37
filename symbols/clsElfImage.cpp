#include "clsElfImage.h"

#include <cstring>

#include "ElfCursor.h"

namespace {

const uint8_t kElfMagic[4] = {0x7F, 'E', 'L', 'F'};

bool ReadAt(FILE* file, int64_t offset, void* buffer, size_t size)
{
    if (offset < 0 || fseek(file, (long)offset, SEEK_SET) != 0)
        return false;
    return fread(buffer, 1, size, file) == size;
}

uint32_t Le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
uint16_t Le16(const uint8_t* p) { return (uint16_t)(p[0] | p[1] << 8); }

int64_t FileSize(FILE* file)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return -1;
    return ftell(file);
}

} // namespace

int64_t clsElfImage::LocateElfData(FILE* file)
{
    uint8_t magic[4];
    if (!ReadAt(file, 0, magic, 4))
        return -1;
    if (memcmp(magic, kElfMagic, 4) == 0)
        return 0;

    // A PE image: DOS header, NT headers, section table.
    uint8_t dos[64];
    if (!ReadAt(file, 0, dos, sizeof dos) || Le16(dos) != 0x5A4D)
        return -1;
    int64_t nt = Le32(dos + 0x3C);
    uint8_t head[24 + 2];
    if (!ReadAt(file, nt, head, sizeof head) || Le32(head) != 0x00004550)
        return -1;
    uint16_t magicOpt = Le16(head + 24);
    if (magicOpt != 0x10B && magicOpt != 0x20B)
        return -1;
    unsigned sections = Le16(head + 6);
    unsigned optionalSize = Le16(head + 20);
    if (sections == 0)
        return -1;
    int64_t table = nt + 24 + optionalSize;
    uint8_t last[40];
    for (unsigned i = 0; i < sections; i++) {
        if (!ReadAt(file, table + 40 * (int64_t)i, last, sizeof last))
            return -1;
    }
    int64_t candidate = (int64_t)Le32(last + 20) + Le32(last + 16);
    if (!ReadAt(file, candidate, magic, 4) || memcmp(magic, kElfMagic, 4) != 0)
        return -1;
    return candidate;
}

bool clsElfImage::ReadElfData(const char* path, std::vector<uint8_t>* out)
{
    if (out)
        out->clear();
    if (!path)
        return false;
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    bool ok = false;
    int64_t start = LocateElfData(file);
    if (start >= 0) {
        ok = true;
        if (out) {
            int64_t size = FileSize(file);
            ok = size > start;
            if (ok) {
                try {
                    out->resize((size_t)(size - start));
                    ok = ReadAt(file, start, out->data(), out->size());
                } catch (...) {
                    ok = false;
                }
            }
            if (!ok)
                std::vector<uint8_t>().swap(*out);
        }
    }
    fclose(file);
    return ok;
}

std::string clsElfImage::ChangeExtension(const char* path, const char* ext)
{
    std::string text = path ? path : "";
    size_t dot = text.find_last_of('.');
    size_t sep = text.find_last_of("\\/:");
    if (dot != std::string::npos && (sep == std::string::npos || dot > sep))
        text.erase(dot);
    return text + ext;
}

bool clsElfImage::ReadPreferredImageBase(const char* imagePath, uint64_t& imageBase)
{
    FILE* file = imagePath ? fopen(imagePath, "rb") : nullptr;
    if (!file)
        return false;
    uint8_t dos[64], head[24 + 32];
    bool ok = ReadAt(file, 0, dos, sizeof dos) && Le16(dos) == 0x5A4D && ReadAt(file, Le32(dos + 0x3C), head, sizeof head) &&
              Le32(head) == 0x00004550;
    if (ok) {
        uint16_t magic = Le16(head + 24);
        if (magic == 0x10B)
            imageBase = Le32(head + 24 + 28);
        else if (magic == 0x20B)
            imageBase = Le32(head + 24 + 24) | (uint64_t)Le32(head + 24 + 28) << 32;
        else
            ok = false;
    }
    fclose(file);
    return ok;
}

bool clsElfImage::ReadModuleElfData(const char* imagePath, std::vector<uint8_t>& out)
{
    if (ReadElfData(imagePath, &out))
        return true;
    return ReadElfData(ChangeExtension(imagePath, ".sym").c_str(), &out);
}

bool clsElfImage::Open(const char* imagePath)
{
    std::vector<uint8_t> data;
    if (!ReadModuleElfData(imagePath, data))
        return false;
    return Load(std::move(data));
}

bool clsElfImage::Load(std::vector<uint8_t> data)
{
    m_data = std::move(data);
    m_sections.clear();
    if (m_data.size() < 52 || memcmp(m_data.data(), kElfMagic, 4) != 0)
        return false;
    uint8_t elfClass = m_data[4];
    if (m_data[5] != 1)
        return false;
    ElfCursor c(m_data.data(), m_data.data() + m_data.size());
    if (elfClass == 1) {
        c.Skip(32);
        m_shoff = ReadU32(c);
        c.Skip(4);
        if (ReadU16(c) != 52)
            return false;
    } else if (elfClass == 2) {
        c.Skip(40);
        m_shoff = ReadU64(c);
        c.Skip(4);
        if (ReadU16(c) != 64)
            return false;
    } else {
        return false;
    }
    m_is64 = elfClass == 2;
    c.Skip(2); // e_phentsize
    c.Skip(2); // e_phnum
    m_shentsize = ReadU16(c);
    m_shnum = ReadU16(c);
    m_shstrndx = ReadU16(c);
    if (c.Overrun())
        return false;

    for (uint32_t i = 0; i < m_shnum; i++) {
        ElfSection section;
        uint32_t nameOffset = 0;
        if (!ReadSectionHeader(m_shoff + (uint64_t)i * m_shentsize, section, nameOffset))
            break;
        m_sections.emplace(SectionName(nameOffset), section);
    }
    return true;
}

bool clsElfImage::ReadSectionHeader(uint64_t offset, ElfSection& section, uint32_t& nameOffset) const
{
    uint64_t need = m_is64 ? 64 : 40;
    if (m_shentsize < need || offset > m_data.size() || m_data.size() - offset < need)
        return false;
    ElfCursor c(m_data.data() + offset, m_data.data() + m_data.size());
    nameOffset = ReadU32(c);
    section.type = ReadU32(c);
    if (m_is64) {
        c.Skip(16); // flags, address
        section.offset = ReadU64(c);
        section.size = ReadU64(c);
    } else {
        c.Skip(8);
        section.offset = ReadU32(c);
        section.size = ReadU32(c);
    }
    return !c.Overrun();
}

std::string clsElfImage::SectionName(uint32_t nameOffset) const
{
    if (m_shstrndx == 0)
        return "no SHTAB";
    ElfSection strtab;
    uint32_t ignored = 0;
    if (m_shstrndx >= m_shnum ||
        !ReadSectionHeader(m_shoff + (uint64_t)m_shstrndx * m_shentsize, strtab, ignored) ||
        strtab.type != 3)
        return "SHTAB is not SHTAB...";
    if (strtab.offset > m_data.size() || nameOffset >= strtab.size)
        return std::string();
    uint64_t end = strtab.offset + strtab.size;
    if (end > m_data.size() || end < strtab.offset)
        end = m_data.size();
    ElfCursor c(m_data.data() + strtab.offset + nameOffset, m_data.data() + end);
    if (strtab.offset + nameOffset >= end)
        return std::string();
    return ReadString(c);
}

const ElfSection* clsElfImage::Find(const char* name) const
{
    auto it = m_sections.find(name);
    if (it == m_sections.end())
        return nullptr;
    const ElfSection& s = it->second;
    if (s.offset > m_data.size() || s.size > m_data.size() - s.offset)
        return nullptr;
    return &s;
}

bool clsElfImage::Bytes(const char* name, const uint8_t*& begin, const uint8_t*& end) const
{
    const ElfSection* s = Find(name);
    if (!s)
        return false;
    begin = m_data.data() + s->offset;
    end = begin + s->size;
    return true;
}
