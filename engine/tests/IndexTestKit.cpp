#include "IndexTestKit.h"

#include <algorithm>
#include <cstdio>

#include "Job.h"

namespace idxtest {

std::vector<unsigned> IndexFixture::s_errors;

const std::vector<Row> kSeekRows = {
    {"SMITH", 5.00, "20240517", true}, {"JONES", -1.50, ""},       {"SMITHERS", 12.25, "19991231"},
    {"SMI", 5.00, ""},                 {"SMITH", 0.00, "20240517"}, {"ADAMS", 100.00, "20000101"},
    {"SMITH", 7.50, ""},               {"MEIER", 5.00, "20100101"}, {"ZORRO", 3.00, "20240518", true},
};

std::string NameField(const Row& row)
{
    std::string text = row.name.substr(0, 10);
    text.resize(10, ' ');
    return text;
}

std::string AmountField(const Row& row)
{
    char text[16];
    std::snprintf(text, sizeof text, "%8.2f", row.amount);
    return text;
}

std::string BornField(const Row& row)
{
    std::string text = row.born;
    text.resize(8, ' ');
    return text;
}

std::string TableImage(const std::vector<Row>& rows)
{
    std::vector<std::string> records;
    for (const Row& row : rows)
        records.push_back((row.deleted ? "*" : " ") + NameField(row) + AmountField(row) + BornField(row));
    return tabletest::DbfImage({{"NAME", 'C', 10, 0}, {"AMOUNT", 'N', 8, 2}, {"BORN", 'D', 8, 0}}, records);
}

std::vector<ntxtest::Entry> Expected(const std::vector<Row>& rows, const std::function<std::string(const Row&)>& key)
{
    std::vector<ntxtest::Entry> entries;
    for (size_t i = 0; i < rows.size(); ++i)
        entries.push_back({key(rows[i]), (uint32_t)(i + 1)});
    std::sort(entries.begin(), entries.end());
    return entries;
}

void IndexFixture::SetUp()
{
    TableTest::SetUp();
    s_errors.clear();
    db_set_errorcallback([](unsigned code) { s_errors.push_back(code); });
}

void IndexFixture::TearDown()
{
    db_set_errorcallback(nullptr);
    TableTest::TearDown();
}

bool IndexFixture::Open(const std::vector<Row>& rows, unsigned flags)
{
    // Without the exclusive flag a table opens shared only when the job's default is shared.
    db_set_exclusive(flags & 0x01);
    const bool opened = Use("table.dbf", TableImage(rows), flags);
    db_set_exclusive(1);
    return opened;
}

std::string IndexFixture::Image(const std::string& name) const { return oxtest::ReadFileText(File(name)); }

ntxtest::Scan IndexFixture::ScanFile(const std::string& name) const { return ntxtest::ScanIndex(Image(name)); }

std::vector<long> IndexFixture::Walk()
{
    std::vector<long> order;
    for (long recno = db_goto(0); recno != 0 && recno != DB_EOF && order.size() < 100000; recno = db_skip(1))
        order.push_back(recno);
    return order;
}

std::vector<unsigned> IndexFixture::TakeErrors()
{
    std::vector<unsigned> errors;
    errors.swap(s_errors);
    m_error = 0;
    return errors;
}

s_Area& IndexFixture::Area() const { return *g_Job->currentArea; }

} // namespace idxtest
