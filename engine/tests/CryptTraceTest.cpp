// Passwords never leave the engine in clear: not in trace lines, not in debug lines, not in any
// file (table, memo, index, the controls library's log) and not in the shared password list. And
// the debug lines of buffers too small for the cipher.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CtlLog.h"
#include "DebugCapture.h"
#include "DebugOutput.h"
#include "TableTestKit.h"
#include "clsPasswordList.h"

using namespace tabletest;

namespace {

const std::string kCreated = "Erstes-Geheimnis-42";
const std::string kGiven = "Zweites-Geheimnis-17";
const std::string kScrambler = "Drittes";

std::vector<std::string> FilesIn(const std::string& dir)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(dir + "\\" + data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return files;
}

class CryptTrace : public TableTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_capture.IsOpen());
        DebugChannelOpen(GetModuleHandleA(nullptr));
        TableTest::SetUp();
        db_files_open();
    }
    void TearDown() override
    {
        TableTest::TearDown();
        DebugChannelClose();
    }

    oxtest::MailslotCapture m_capture;
    oxtest::CtlLog m_log;
};

} // namespace

TEST_F(CryptTrace, PasswordsAppearNowhere)
{
    db_set_debug(1);
    m_log.SetDialogAnswers("IDOK;101=" + kCreated + ";102=" + kCreated);
    ASSERT_TRUE(db_define_begin(File("spur.dbf").c_str(), 1, nullptr, 0x2000, 2));
    db_define_field("NAME", 'C', 20, 0);
    db_define_field("NOTE", 'M', 10, 0);
    ASSERT_TRUE(db_define_end());
    ASSERT_TRUE(db_blank());
    ASSERT_TRUE(db_replace("NAME", "Inhalt"));
    ASSERT_TRUE(db_memo_write("NOTE", "Notiz"));
    ASSERT_TRUE(db_insert());
    ASSERT_TRUE(db_index_on(1, "NAME", File("spur.ntx").c_str(), 0));
    db_close(3);
    ASSERT_TRUE(db_use(File("spur.dbf").c_str(), 0x01, nullptr, 0));
    db_close(3);

    ASSERT_TRUE(oxtest::WriteFileText(File("vorher.dbf"), DbfImage({{"NAME", 'C', 20, 0}}, {" x"})));
    EXPECT_FALSE(db_set_bfpw(File("vorher.dbf").c_str(), kGiven.c_str()));
    ASSERT_TRUE(db_use(File("vorher.dbf").c_str(), 0x01, nullptr, 0));
    EXPECT_TRUE(db_set_password(1, kScrambler.c_str()));
    Contents("NAME"); // the record into the buffer
    ASSERT_TRUE(db_replace("NAME", "verwuerfelt"));
    ASSERT_TRUE(db_write());
    db_close(3);
    db_set_debug(0);

    const std::vector<std::string> lines = m_capture.Take();
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines)
        for (const std::string& secret : {kCreated, kGiven, kScrambler})
            EXPECT_EQ(std::string::npos, line.find(secret)) << line;
    EXPECT_FALSE(oxtest::LinesContaining(lines, "@DbSetPassword(x,xxxxxxx)").empty());

    std::vector<std::string> files = FilesIn(m_dir->Path());
    files.push_back(m_log.Path());
    EXPECT_GE(files.size(), 5u);
    for (const std::string& file : files) {
        const std::string bytes = oxtest::ReadFileText(file);
        for (const std::string& secret : {kCreated, kGiven, kScrambler})
            EXPECT_EQ(std::string::npos, bytes.find(secret)) << file;
    }

    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, "QiVTabstorSharePWLDB07");
    ASSERT_NE(nullptr, mapping);
    const char* view = (const char*)MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, clsPasswordList::kAreaSize);
    ASSERT_NE(nullptr, view);
    const std::string area(view, clsPasswordList::kAreaSize);
    for (const std::string& secret : {kCreated, kGiven})
        EXPECT_EQ(std::string::npos, area.find(secret));
    UnmapViewOfFile(view);
    CloseHandle(mapping);
}

TEST_F(CryptTrace, BuffersShorterThanABlockStayInClearWithADebugLine)
{
    m_capture.Take();
    m_log.SetDialogAnswers("IDOK;101=kurz;102=kurz");
    ASSERT_TRUE(db_define_begin(File("kurz.dbf").c_str(), 1, nullptr, 0x2000, 1));
    db_define_field("A", 'C', 5, 0);
    ASSERT_TRUE(db_define_end());
    ASSERT_TRUE(db_blank());
    ASSERT_TRUE(db_replace("A", "offen"));
    ASSERT_TRUE(db_insert());
    db_close(3);
    EXPECT_FALSE(oxtest::LinesContaining(m_capture.Take(), "clsBlowfish::Encode: buffer too small!!!").empty());
    EXPECT_EQ(" offen", oxtest::ReadFileText(File("kurz.dbf")).substr(32 * 2 + 2, 6));
}
