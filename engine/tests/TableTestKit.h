// Fixtures of the table tests: DBF images built byte by byte, a job with a temp folder, and
// short forms of the field exports.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "TestKit.h"
#include "vlDB07.h"

namespace tabletest {

struct FieldDef {
    std::string name;
    char type;
    int length;
    int decimals;
};

// A DBF file as bytes: header (version, date 2024-05-17, record count, lengths, charset mark 2),
// descriptors, terminator 0x0D 0x1A and the records (each given whole, deleted flag first).
std::string DbfImage(const std::vector<FieldDef>& fields, const std::vector<std::string>& records,
                     uint8_t version = 0x03);
// Little-endian writers for patching images.
void Put16(std::string& image, size_t offset, unsigned value);
void Put32(std::string& image, size_t offset, unsigned value);
unsigned Get16(const std::string& image, size_t offset);
unsigned Get32(const std::string& image, size_t offset);

// A job for one test, with a temp folder; every table is closed and the job ended at the end.
class TableTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Path of a file in the test's folder.
    std::string File(const std::string& name) const { return m_dir->File(name); }
    // Writes an image and opens it (files-open count 1 unless told otherwise).
    bool Use(const std::string& name, const std::string& image, unsigned flags = 0x01, const char* alias = nullptr);

    unsigned m_error = 0;  // the job's error variable
    std::unique_ptr<oxtest::TempDir> m_dir;
};

// db_get_contents into a 300-byte buffer; "<failed>" when the call fails.
std::string Contents(const char* field);
// The raw record of the buffer (db_get_record).
std::string Record();

} // namespace tabletest
