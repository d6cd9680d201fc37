// File helpers: existence, copies that expand LZ-compressed files, the temporary folder and the
// version resource.
#include <gtest/gtest.h>

#include <string>

#include "MfxFiles.h"
#include "TestKit.h"

namespace {

using oxtest::ReadFileText;
using oxtest::TempDir;
using oxtest::WriteFileText;

TEST(MfxFileExists, FilesDirectoriesAndWildcards)
{
    TempDir dir("mfx");
    std::string file = dir.File("OX4.DBE");
    ASSERT_TRUE(WriteFileText(file, "x"));
    struct Case {
        std::string path;
        BOOL exists;
    } cases[] = {
        {file, TRUE},
        {dir.Path(), TRUE},
        {dir.Path() + "\\", TRUE}, // one trailing backslash is ignored
        {dir.File("OX4.DBT"), FALSE},
        {dir.File("fehlt\\OX4.DBE"), FALSE},
        {dir.File("*.DBE"), TRUE},
        {dir.File("*.nt0"), FALSE},
        {"", FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.exists, MfxFileExists(c.path.c_str()));
    }
}

// An LZ-compressed file ("SZDD") of the text: the 14-byte header (magic, mode 'A', the missing
// last letter of the name, the expanded size), then groups of a flag byte and up to eight items;
// a set flag bit is a literal byte, so 0xFF before eight bytes stores them as they are.
std::string Compressed(const std::string& text)
{
    std::string image("SZDD\x88\xF0\x27\x33", 8);
    image += 'A';
    image += 't';
    for (int i = 0; i < 4; ++i)
        image += (char)((text.size() >> (8 * i)) & 0xFF);
    for (size_t i = 0; i < text.size(); i += 8) {
        std::string group = text.substr(i, 8);
        image += (char)((1u << group.size()) - 1);
        image += group;
    }
    return image;
}

TEST(MfxCopyFileLZ, CopiesAndExpands)
{
    TempDir dir("mfx");
    const std::string text = "Termine und Aufgaben: \xE4\xF6\xFC\xDF, 0123456789 und noch ein paar Zeichen mehr.";

    ASSERT_TRUE(WriteFileText(dir.File("plain.txt"), text));
    EXPECT_EQ(0, MfxCopyFileLZ(dir.File("plain.txt").c_str(), dir.File("plain.copy").c_str(), TRUE));
    EXPECT_EQ(text, ReadFileText(dir.File("plain.copy")));

    ASSERT_TRUE(WriteFileText(dir.File("packed.tx_"), Compressed(text)));
    EXPECT_EQ(0, MfxCopyFileLZ(dir.File("packed.tx_").c_str(), dir.File("packed.txt").c_str(), TRUE));
    EXPECT_EQ(text, ReadFileText(dir.File("packed.txt")));

    // An existing target is replaced.
    ASSERT_TRUE(WriteFileText(dir.File("old.txt"), std::string(500, 'o')));
    EXPECT_EQ(0, MfxCopyFileLZ(dir.File("plain.txt").c_str(), dir.File("old.txt").c_str(), FALSE));
    EXPECT_EQ(text, ReadFileText(dir.File("old.txt")));
}

TEST(MfxCopyFileLZ, MissingSourceCountsAsSuccessUnlessTold)
{
    TempDir dir("mfx");
    struct Case {
        std::string source;
        BOOL failIfMissing;
        int result;
    } cases[] = {
        {dir.File("fehlt.DBE"), FALSE, 0},
        {dir.File("fehlt.DBE"), TRUE, -1},
        {dir.File("fehlt\\OX4.DBE"), FALSE, 0}, // path not found
        {dir.File("fehlt\\OX4.DBE"), TRUE, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source + (c.failIfMissing ? " (fail if missing)" : ""));
        EXPECT_EQ(c.result, MfxCopyFileLZ(c.source.c_str(), dir.File("ziel").c_str(), c.failIfMissing));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.File("ziel").c_str())) << "no target made";
    }
}

TEST(MfxCopyFileLZ, OtherFailuresAreErrors)
{
    TempDir dir("mfx");
    ASSERT_TRUE(WriteFileText(dir.File("quelle"), "abc"));
    // The target's folder does not exist.
    EXPECT_EQ(-1, MfxCopyFileLZ(dir.File("quelle").c_str(), dir.File("fehlt\\ziel").c_str(), FALSE));
    // The source is a folder.
    CreateDirectoryA(dir.File("ordner").c_str(), nullptr);
    EXPECT_EQ(-1, MfxCopyFileLZ(dir.File("ordner").c_str(), dir.File("ziel").c_str(), FALSE));
}

TEST(MfxCopyFileLZ, LongPaths)
{
    TempDir dir("mfx");
    // Beyond the 128 characters that the old LZ file functions could take.
    std::string folder = dir.File(std::string(150, 'l'));
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string source = folder + "\\OX4.DBE", target = folder + "\\~X4.DBE";
    ASSERT_GT(source.size(), 160u);
    ASSERT_TRUE(WriteFileText(source, "Tabelle"));
    EXPECT_EQ(0, MfxCopyFileLZ(source.c_str(), target.c_str(), TRUE));
    EXPECT_EQ("Tabelle", ReadFileText(target));
    EXPECT_EQ(-1, MfxCopyFileLZ((folder + "\\fehlt").c_str(), target.c_str(), TRUE));
}

TEST(MfxGetTempPath, AnswersTheSystemsFolder)
{
    char expected[MAX_PATH];
    ASSERT_NE(0u, GetTempPathA(sizeof expected, expected));
    CString path;
    EXPECT_TRUE(MfxGetTempPath(path));
    EXPECT_STREQ(expected, path);
}

TEST(MfxGetFileVersion, FromTheTranslationsTableElseTheFirstHexTable)
{
    std::string dir = oxtest::ProgramDir();
    // The test program: the translation names the second table.
    EXPECT_STREQ("1.2.3.4 Test", MfxGetFileVersion((dir + "\\mfx_test.exe").c_str()));
    // No translation table: the first string table, whose name is hexadecimal.
    EXPECT_STREQ("5.6 ohne \xDC"
                 "bersetzung",
                 MfxGetFileVersion((dir + "\\mfx_test_version.dll").c_str()));

    TempDir temp("mfx");
    ASSERT_TRUE(WriteFileText(temp.File("ohne.txt"), "keine Version"));
    EXPECT_STREQ("", MfxGetFileVersion(temp.File("ohne.txt").c_str()));
    EXPECT_STREQ("", MfxGetFileVersion(temp.File("fehlt.exe").c_str()));
    EXPECT_STREQ("", MfxGetFileVersion(""));
}

} // namespace
