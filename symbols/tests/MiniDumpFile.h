// A small reader of minidump files for the tests, written from the published layout:
//
//   header (32 bytes)   0 Signature "MDMP"  4 Version (low word 0xA793)  8 NumberOfStreams
//                       12 StreamDirectoryRva  16 CheckSum  20 TimeDateStamp  24 Flags (8)
//   directory entry     0 StreamType  4 DataSize  8 Rva                          (12 bytes each)
//   thread list (3)     NumberOfThreads, then 48-byte threads: 0 ThreadId ...
//   module list (4)     NumberOfModules, then 108-byte modules: 0 BaseOfImage (8)  8 SizeOfImage
//                       20 ModuleNameRva (a 4-byte byte count and UTF-16 text)
//   exception (6)       0 ThreadId  8 ExceptionCode  12 ExceptionFlags  16 ExceptionRecord (8)
//                       24 ExceptionAddress (8) ...
// Every offset is checked against the file: a damaged dump reads as not loaded or as missing
// streams.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class MiniDumpFile {
public:
    struct Module {
        uint64_t base = 0;
        uint32_t size = 0;
        std::string name; // full path as written
    };
    struct Exception {
        uint32_t threadId = 0;
        uint32_t code = 0;
        uint64_t address = 0;
    };

    // Reads the file and checks its header and stream directory.
    bool Load(const std::string& path);
    bool HasStream(uint32_t type) const;
    std::vector<uint32_t> ThreadIds() const;
    std::vector<Module> Modules() const;
    bool GetException(Exception& out) const;

private:
    bool Stream(uint32_t type, uint32_t& rva, uint32_t& size) const;
    bool Fits(uint64_t offset, uint64_t size) const { return offset <= m_bytes.size() && size <= m_bytes.size() - offset; }
    uint32_t U32(uint64_t offset) const;
    uint64_t U64(uint64_t offset) const;

    std::vector<uint8_t> m_bytes;
    struct Entry {
        uint32_t type, size, rva;
    };
    std::vector<Entry> m_streams;
};
