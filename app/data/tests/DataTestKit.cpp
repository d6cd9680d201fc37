#include "DataTestKit.h"

#include <cstring>

#include "CDbAreaLock.h"
#include "vlDB07.h"

namespace datatest {

namespace {

const int kDefinitionArea = 250;
const char kRepairHint[] = "Achtung, die Datenbank ist in einem instabilen Zustand! Versuchen Sie "
                           "Datei>Reparatur>Reindex, beenden das Programm und starten es erneut!";

unsigned Word(const std::string& bytes, size_t offset)
{
    return (unsigned char)bytes[offset] | ((unsigned char)bytes[offset + 1] << 8);
}

// The offset of a record and of a field in it, from the file's header; false when absent.
bool Locate(const std::string& image, unsigned recno, const std::string& field, size_t& offset, size_t& length)
{
    if (image.size() < 32 || recno == 0)
        return false;
    const size_t headerLength = Word(image, 8), recordLength = Word(image, 10);
    offset = headerLength + (recno - 1) * recordLength;
    if (offset + recordLength > image.size())
        return false;
    if (field.empty()) {
        length = 1;
        return true;
    }
    size_t fieldOffset = 1;
    for (size_t d = 32; d + 32 <= headerLength && image[d] != 0x0D; d += 32) {
        const std::string name(image.c_str() + d, strnlen(image.c_str() + d, 11));
        const size_t fieldLength = (unsigned char)image[d + 16];
        if (name == field) {
            offset += fieldOffset;
            length = fieldLength;
            return true;
        }
        fieldOffset += fieldLength;
    }
    return false;
}

} // namespace

bool CreateTable(const std::string& path, const std::vector<FieldDef>& fields)
{
    CDbAreaLock lock(kDefinitionArea);
    if (!db_define_begin(path.c_str(), 0, nullptr, kTableOptions, (unsigned)fields.size()))
        return false;
    for (const FieldDef& f : fields)
        if (!db_define_field(f.name, f.type, (unsigned)f.length, (unsigned)f.decimals))
            return false;
    bool defined = db_define_end() != FALSE;
    db_close(3);
    return defined;
}

std::string StoredField(const std::string& path, unsigned recno, const std::string& field)
{
    const std::string image = oxtest::ReadFileText(path);
    size_t offset = 0, length = 0;
    if (field.empty() || !Locate(image, recno, field, offset, length))
        return std::string();
    return image.substr(offset, length);
}

char StoredDeletedFlag(const std::string& path, unsigned recno)
{
    const std::string image = oxtest::ReadFileText(path);
    size_t offset = 0, length = 0;
    return Locate(image, recno, std::string(), offset, length) ? image[offset] : 0;
}

std::vector<oxtest::CtlLog::Record> EngineErrorBoxes(const char* kind, const char* table, unsigned code,
                                                     const char* text)
{
    return {{"MessageBox", std::string("FEHLER BEI: ") + kind + " (" + table + ")",
             "Fehlercode: " + std::to_string(code) + "\\n(" + text + ")", "0x30", "1"},
            {"MessageBox", text, kRepairHint, "0x10", "1"}};
}

DataTest::DataTest()
    : m_dir(std::make_unique<oxtest::TempDir>("data")), m_session(std::make_unique<CDbSession>())
{
}

DataTest::~DataTest()
{
    m_session.reset();
    m_dir.reset();
}

void DataTest::SetUp()
{
    ASSERT_EQ(1252u, GetACP()) << "the tests need the ANSI code page 1252";
    ASSERT_EQ(850u, GetOEMCP()) << "the tests need the OEM code page 850";
}

} // namespace datatest
