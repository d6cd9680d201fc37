// The debug data of a module: an ELF container (at the start of a file, or appended behind the
// raw data of a PE image's last section), its header checks and its section table.
//
// ELF header fields used (offsets for ELFCLASS32 / ELFCLASS64):
//   e_ident[EI_CLASS]  4 / 4      1 = 32-bit, 2 = 64-bit
//   e_ident[EI_DATA]   5 / 5      must be 1 (little-endian)
//   e_shoff           32 / 40     4 / 8 bytes
//   e_ehsize          40 / 52     must be 52 / 64
//   e_shentsize       46 / 58
//   e_shnum           48 / 60
//   e_shstrndx        50 / 62
// Section header fields used (32 / 64): sh_name 0/0 (4), sh_type 4/4 (4), sh_offset 16/24
// (4/8), sh_size 20/32 (4/8).
//
// PE side: "MZ" at 0, e_lfanew at 0x3C, "PE\0\0" there, then the file header (20 bytes,
// NumberOfSections at +6, SizeOfOptionalHeader at +20) and the optional header whose magic is
// 0x10B (PE32) or 0x20B (PE32+); the 40-byte section headers follow the optional header. The
// appended data starts at PointerToRawData + SizeOfRawData of the last header in the table.
//
// Every offset, count and size read from the file is checked against the loaded block: a
// damaged container gives no data, never a read outside the block.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

struct ElfSection {
    uint32_t type = 0;
    uint64_t offset = 0;
    uint64_t size = 0;
};

class clsElfImage {
public:
    // The offset of the ELF data in an open file, or -1. Reads only the headers it needs.
    static int64_t LocateElfData(FILE* file);
    // True when the file holds ELF data; with out given the data from the ELF header to the end
    // of the file is loaded into it (left empty on failure).
    static bool ReadElfData(const char* path, std::vector<uint8_t>* out);
    // The ELF data of a module: its image, else the image path with the extension ".sym".
    static bool ReadModuleElfData(const char* imagePath, std::vector<uint8_t>& out);
    // The image path with its extension (if any) replaced by ext (with its dot).
    static std::string ChangeExtension(const char* path, const char* ext);
    // The ImageBase of a PE image's optional header (PE32 or PE32+); false for other files.
    static bool ReadPreferredImageBase(const char* imagePath, uint64_t& imageBase);

    // Takes a block of ELF data: checks its header and builds the section table. False (and
    // an empty table) when the header is not accepted.
    bool Load(std::vector<uint8_t> data);
    bool Open(const char* imagePath);

    // The name at the given offset of the section-name string table; "no SHTAB" when the
    // header names none, "SHTAB is not SHTAB..." when that section is not a string table.
    std::string SectionName(uint32_t nameOffset) const;
    // A section by name whose bytes lie inside the block, or NULL.
    const ElfSection* Find(const char* name) const;
    // The bytes of a section (begin and end), false when it is missing.
    bool Bytes(const char* name, const uint8_t*& begin, const uint8_t*& end) const;

    bool Is64() const { return m_is64; }
    const std::vector<uint8_t>& Data() const { return m_data; }
    const std::map<std::string, ElfSection>& Sections() const { return m_sections; }

private:
    bool ReadSectionHeader(uint64_t offset, ElfSection& section, uint32_t& nameOffset) const;

    std::vector<uint8_t> m_data;
    std::map<std::string, ElfSection> m_sections;
    bool m_is64 = false;
    uint64_t m_shoff = 0;
    uint32_t m_shentsize = 0;
    uint32_t m_shnum = 0;
    uint32_t m_shstrndx = 0;
};
