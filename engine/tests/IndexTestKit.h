// Fixtures of the index build, slot and seek tests: a table of rows (NAME C 10, AMOUNT N 8.2,
// BORN D 8), the errors delivered to the error callback, the keys a correct index holds, and walks
// through the controlling order.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "NtxTestKit.h"
#include "TableTestKit.h"

namespace idxtest {

struct Row {
    std::string name;
    double amount = 0;
    std::string born;       // CCYYMMDD or empty
    bool deleted = false;
};

// The DBF image of the rows.
std::string TableImage(const std::vector<Row>& rows);
// The stored field texts of a row.
std::string NameField(const Row& row);
std::string AmountField(const Row& row);
std::string BornField(const Row& row);

// The entries an index holds: key(row) for every row, sorted by key bytes and record number.
std::vector<ntxtest::Entry> Expected(const std::vector<Row>& rows, const std::function<std::string(const Row&)>& key);

// The rows of the seek, locate and search tests:
//  rec  NAME       AMOUNT   BORN
//    1  SMITH        5.00   20240517  deleted
//    2  JONES       -1.50   (empty)
//    3  SMITHERS    12.25   19991231
//    4  SMI          5.00   (empty)
//    5  SMITH        0.00   20240517
//    6  ADAMS      100.00   20000101
//    7  SMITH        7.50   (empty)
//    8  MEIER        5.00   20100101
//    9  ZORRO        3.00   20240518  deleted
// NAME order: ADAMS 6, JONES 2, MEIER 8, SMI 4, SMITH 1, 5, 7, SMITHERS 3, ZORRO 9.
extern const std::vector<Row> kSeekRows;

class IndexFixture : public tabletest::TableTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes the rows as table.dbf and opens it (flags of db_use: 0x01 exclusive, 0 shared).
    bool Open(const std::vector<Row>& rows, unsigned flags = 0x01);
    // The index file's bytes and its scan.
    std::string Image(const std::string& name) const;
    ntxtest::Scan ScanFile(const std::string& name) const;
    // Record numbers from the top of the current order to its end (db_goto 0, db_skip 1).
    std::vector<long> Walk();
    // The errors delivered to the error callback since the last look (then cleared).
    std::vector<unsigned> TakeErrors();
    s_Area& Area() const;

    static std::vector<unsigned> s_errors;
};

} // namespace idxtest
