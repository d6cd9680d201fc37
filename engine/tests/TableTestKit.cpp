#include "TableTestKit.h"

#include "Job.h"

namespace tabletest {

std::string DbfImage(const std::vector<FieldDef>& fields, const std::vector<std::string>& records, uint8_t version)
{
    unsigned recordLength = 1;
    for (const auto& f : fields)
        recordLength += (unsigned)f.length;
    const unsigned headerLength = 32 * (unsigned)(fields.size() + 1) + 2;
    std::string image(headerLength, '\0');
    image[0] = (char)version;
    image[1] = (char)124;
    image[2] = 5;
    image[3] = 17;
    Put32(image, 4, (unsigned)records.size());
    Put16(image, 8, headerLength);
    Put16(image, 10, recordLength);
    image[31] = 2;
    for (size_t i = 0; i < fields.size(); ++i) {
        size_t d = 32 + 32 * i;
        image.replace(d, fields[i].name.size(), fields[i].name);
        image[d + 11] = fields[i].type;
        image[d + 16] = (char)fields[i].length;
        image[d + 17] = (char)fields[i].decimals;
    }
    image[headerLength - 2] = 0x0D;
    image[headerLength - 1] = 0x1A;
    for (const auto& r : records) {
        std::string padded = r;
        padded.resize(recordLength, ' ');
        image += padded;
    }
    return image;
}

void Put16(std::string& image, size_t offset, unsigned value)
{
    image[offset] = (char)(value & 0xFF);
    image[offset + 1] = (char)((value >> 8) & 0xFF);
}

void Put32(std::string& image, size_t offset, unsigned value)
{
    for (int i = 0; i < 4; ++i)
        image[offset + i] = (char)((value >> (8 * i)) & 0xFF);
}

unsigned Get16(const std::string& image, size_t offset)
{
    return (unsigned char)image[offset] | ((unsigned char)image[offset + 1] << 8);
}

unsigned Get32(const std::string& image, size_t offset)
{
    return Get16(image, offset) | (Get16(image, offset + 2) << 16);
}

void TableTest::SetUp()
{
    _db_process_attach(GetModuleHandleA(nullptr));
    ASSERT_EQ(0, db_job_open());
    db_set_errorvariable(&m_error);
    m_dir.reset(new oxtest::TempDir("dbf"));
}

void TableTest::TearDown()
{
    db_close(0);
    db_set_errorvariable(nullptr);
    db_set_positioncallback(nullptr);
    while (g_Job)
        db_job_close();
    m_dir.reset();
}

bool TableTest::Use(const std::string& name, const std::string& image, unsigned flags, const char* alias)
{
    std::string path = File(name);
    if (!oxtest::WriteFileText(path, image))
        return false;
    if (!db_files_checkopen())
        db_files_open();
    return db_use(path.c_str(), flags, alias, 0) != FALSE;
}

std::string Contents(const char* field)
{
    char buffer[300];
    if (!db_get_contents(field, buffer, sizeof buffer))
        return "<failed>";
    return buffer;
}

std::string Record()
{
    char buffer[1024];
    unsigned size = db_recsize();
    if (!db_get_record(buffer, size))
        return "<failed>";
    return std::string(buffer, size);
}

} // namespace tabletest
