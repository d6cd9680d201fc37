// Fixtures of the schedule data tests: tables made through the engine's exports in a temp
// folder, a session of the program, the controls library unattended with its log, and the bytes
// of fields as stored in a table file.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CDbSession.h"
#include "CtlLog.h"
#include "TestKit.h"

namespace datatest {

struct FieldDef {
    const char* name;
    char type;
    int length;
    int decimals;
};

// Options of the tables: Clipper 5 tables (the program's type).
inline constexpr unsigned kTableOptions = 4;

// Defines the table through the engine (in area 250, closed again at once); false on failure.
bool CreateTable(const std::string& path, const std::vector<FieldDef>& fields);

// The bytes of a field of record n (1-based) as stored in the table file; empty when the file,
// the record or the field is not there.
std::string StoredField(const std::string& path, unsigned recno, const std::string& field);

// The deleted flag byte of record n ('*' deleted, ' ' not), or 0.
char StoredDeletedFlag(const std::string& path, unsigned recno);

// The two boxes of a critical or runtime engine error (kind "DBF-CriticalError" or
// "DBF-RuntimeError") of a table: the error with its code and text, then the stop box with the
// repair hint.
std::vector<oxtest::CtlLog::Record> EngineErrorBoxes(const char* kind, const char* table, unsigned code,
                                                     const char* text);

// A temp folder, the controls library unattended with a fresh log, and an open session, all made
// before the members of a derived fixture (which may keep tables of the session) and ended after
// them.
class DataTest : public ::testing::Test {
protected:
    DataTest();
    ~DataTest() override;
    // Checks the code pages the tests need.
    void SetUp() override;

    std::string File(const std::string& name) const { return m_dir->File(name); }
    // The message boxes shown so far (log records of kind MessageBox).
    std::vector<oxtest::CtlLog::Record> Boxes() const { return m_log.Records("MessageBox"); }

    oxtest::CtlLog m_log;
    std::unique_ptr<oxtest::TempDir> m_dir;
    std::unique_ptr<CDbSession> m_session;
};

} // namespace datatest
