// Tables at long paths. A table's full path must fit into MAX_PATH - 1 characters: it names the
// table to db_get_databaseUNC, the folder of the pack's temporary file and the same-table check of
// db_append_from. A path that does not fit (given whole, or made long by a long current folder)
// is refused when the table is opened or defined, and nothing is written anywhere. The files of
// the tests are written with the system's long-path form ("\\?\"), which the engine never uses.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "IndexTestKit.h"
#include "vlDB07.h"

using namespace idxtest;

namespace {

std::wstring Long(const std::string& path)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide((size_t)n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    wide.resize((size_t)n - 1);
    return L"\\\\?\\" + wide;
}

bool WriteLong(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(Long(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

// The names in a folder, sorted.
std::vector<std::string> ListLong(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((Long(folder) + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(std::string(name.begin(), name.end()));
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

void RemoveLongTree(const std::string& folder)
{
    for (const std::string& name : ListLong(folder)) {
        const std::string path = folder + "\\" + name;
        if (GetFileAttributesW(Long(path).c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            RemoveLongTree(path);
        else
            DeleteFileW(Long(path).c_str());
    }
    RemoveDirectoryW(Long(folder).c_str());
}

// A path of exactly `length` characters that ends in "\<name>" (the name gets a prefix where one
// character is missing), below `base`; its folders are made.
std::string MakeLongPath(const std::string& base, size_t length, std::string name)
{
    std::string folder = base;
    CreateDirectoryW(Long(folder).c_str(), nullptr);
    while (folder.size() + 1 + name.size() < length) {
        const size_t missing = length - (folder.size() + 1 + name.size());
        if (missing == 1) {
            name = "n" + name;
            break;
        }
        folder += "\\" + std::string(std::min<size_t>(missing - 1, 200), 'd');
        CreateDirectoryW(Long(folder).c_str(), nullptr);
    }
    return folder + "\\" + name;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

std::string Lower(std::string s)
{
    CharLowerBuffA(s.data(), (DWORD)s.size());
    return s;
}

std::string CurrentPath()
{
    char buffer[300] = "untouched";
    if (!db_get_databaseUNC(db_select(nullptr), buffer, sizeof buffer))
        return std::string("<failed:") + buffer + ">";
    return buffer;
}

class LongPaths : public IndexFixture {
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        m_base = m_dir->Path() + "\\long";
        CreateDirectoryW(Long(m_base).c_str(), nullptr);
    }
    void TearDown() override
    {
        IndexFixture::TearDown();
        RemoveLongTree(m_base);
    }
    std::string m_base;
};

// The current folder of the process for one block, set in its long form.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        GetCurrentDirectoryW(MAX_PATH, m_before);
        m_set = SetCurrentDirectoryW(Long(folder).c_str()) != FALSE;
    }
    ~CurrentFolder() { SetCurrentDirectoryW(m_before); }
    bool Set() const { return m_set; }

private:
    wchar_t m_before[MAX_PATH] = {};
    bool m_set = false;
};

} // namespace

TEST_F(LongPaths, TableAtTheLimitIsUsedByItsFullPath)
{
    // 259 characters: the longest path that fits, with room in its folder for the pack's file.
    const std::string path = MakeLongPath(m_base, 259, std::string(40, 'p') + ".dbf");
    ASSERT_EQ(259u, path.size());
    ASSERT_TRUE(WriteLong(path, TableImage(kSeekRows)));
    db_files_open();
    ASSERT_TRUE(db_use(path.c_str(), 0x01, "LANG", 0));
    EXPECT_EQ(Lower(path), CurrentPath());
    EXPECT_TRUE(db_pack());
    EXPECT_EQ(7u, db_reccount()) << "the two deleted rows are gone";
    EXPECT_EQ(std::vector<std::string>{NameOf(path)}, ListLong(FolderOf(path))) << "the pack's file went away";
    EXPECT_TRUE(db_close(3));

    // The same table in two areas: appending it to itself is refused.
    db_set_exclusive(0);
    ASSERT_EQ(1, db_select_area(1));
    ASSERT_TRUE(db_use(path.c_str(), 0, "ONE", 0));
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(db_use(path.c_str(), 0, "TWO", 0));
    EXPECT_FALSE(db_append_from("ONE", nullptr));
    EXPECT_EQ(7u, db_reccount());
    EXPECT_EQ(std::vector<unsigned>{DBE_APPEND_SOURCE}, TakeErrors());
    db_close(0);
    db_set_exclusive(1);

    // A folder too long for the pack's temporary file beside the table: the pack fails with its
    // error and the table stays as it was.
    const std::string deep = MakeLongPath(m_base + "\\deep", 259, "t.dbf");
    const std::string image = TableImage(kSeekRows);
    ASSERT_TRUE(WriteLong(deep, image));
    ASSERT_TRUE(db_use(deep.c_str(), 0x01, "DEEP", 0));
    EXPECT_FALSE(db_pack());
    EXPECT_EQ(std::vector<unsigned>{DBE_PACK_WRITE}, TakeErrors());
    EXPECT_EQ(9u, db_reccount());
    db_close(0);
    EXPECT_EQ(std::vector<std::string>{"t.dbf"}, ListLong(FolderOf(deep)));
    {
        CurrentFolder current(FolderOf(deep));
        ASSERT_TRUE(current.Set());
        EXPECT_EQ(image, oxtest::ReadFileText("t.dbf"));
    }

    // A new table with a memo file at 259 characters.
    const std::string created = MakeLongPath(m_base + "\\new", 259, "neu.dbf");
    ASSERT_TRUE(db_define_begin(created.c_str(), 1, "NEU", 0, 2));
    ASSERT_TRUE(db_define_field("NAME", 'C', 10, 0));
    ASSERT_TRUE(db_define_field("TEXT", 'M', 10, 0));
    ASSERT_TRUE(db_define_end());
    EXPECT_EQ(Lower(created), CurrentPath());
    db_close(0);
    EXPECT_EQ((std::vector<std::string>{"neu.dbf", "neu.dbt"}), ListLong(FolderOf(created)));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(LongPaths, FullPathBeyondTheLimitIsRefusedAndNothingIsWritten)
{
    db_files_open();
    for (size_t length : {260u, 300u}) {
        SCOPED_TRACE(length);
        const std::string path = MakeLongPath(m_base + "\\" + std::to_string(length), length, "t.dbf");
        ASSERT_EQ(length, path.size());
        ASSERT_TRUE(WriteLong(path, TableImage(kSeekRows)));
        const std::string folder = FolderOf(path);
        const std::vector<std::string> before = ListLong(m_base);

        // Given whole.
        EXPECT_FALSE(db_use(path.c_str(), 0x01, "LANG", 0));
        EXPECT_EQ(std::vector<unsigned>{DBE_OPEN}, TakeErrors());
        EXPECT_FALSE(db_used());
        EXPECT_FALSE(db_define_begin((folder + "\\neu.dbf").c_str(), 1, "NEU", 0, 1));
        EXPECT_EQ(std::vector<unsigned>{DBE_OPEN}, TakeErrors());
        EXPECT_FALSE(db_used());
        {
            // Relative to a current folder that makes the full path too long: the file itself can
            // be opened by the short name.
            CurrentFolder current(folder);
            ASSERT_TRUE(current.Set());
            EXPECT_FALSE(db_use("t.dbf", 0x01, "LANG", 0));
            EXPECT_EQ(std::vector<unsigned>{DBE_OPEN}, TakeErrors());
            EXPECT_FALSE(db_define_begin("neu.dbf", 1, "NEU", 0, 1));
            EXPECT_EQ(std::vector<unsigned>{DBE_OPEN}, TakeErrors());
            EXPECT_FALSE(db_used());
        }
        EXPECT_EQ(std::vector<std::string>{"t.dbf"}, ListLong(folder));
        EXPECT_EQ(before, ListLong(m_base));
    }
}

TEST_F(LongPaths, MemoNameBeyondTheLimitIsRefused)
{
    // The table's name fits (257 characters, no extension); its memo name would need 261.
    const std::string path = MakeLongPath(m_base, 257, "mt");
    ASSERT_EQ(257u, path.size());
    const std::string image =
        tabletest::DbfImage({{"NAME", 'C', 10, 0}, {"TEXT", 'M', 10, 0}}, {" MEIER               "}, 0x83);
    ASSERT_TRUE(WriteLong(path, image));
    // The name cut to 259 characters: a file of that name is not the table's memo file.
    const std::string cut = (path + ".DBT").substr(0, MAX_PATH - 1);
    ASSERT_TRUE(WriteLong(cut, std::string(512, '\0')));
    db_files_open();
    EXPECT_FALSE(db_use(path.c_str(), 0x01, "MEMO", 0));
    EXPECT_EQ(std::vector<unsigned>{DBE_MEMO_OPEN}, TakeErrors());

    // A new table of such a name is not created at all.
    const std::string created = FolderOf(path) + "\\nt";
    ASSERT_TRUE(db_define_begin(created.c_str(), 1, "NEU", 0, 2));
    ASSERT_TRUE(db_define_field("NAME", 'C', 10, 0));
    ASSERT_TRUE(db_define_field("TEXT", 'M', 10, 0));
    EXPECT_FALSE(db_define_end());
    EXPECT_EQ(std::vector<unsigned>{DBE_MEMO_OPEN}, TakeErrors());
    EXPECT_EQ((std::vector<std::string>{"mt", "mt.D"}), ListLong(FolderOf(path)));
}
