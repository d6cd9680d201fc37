// SplitPath, MakePath, SafeStrCopy and SafeStrCat on the single-byte code page 1252.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "PathHelpers.h"

namespace {

struct SplitCase {
    const char* path;
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
};

TEST(PathHelpers, SplitPath)
{
    const SplitCase cases[] = {
        {"c:\\dir\\sub\\name.ext", "c:", "\\dir\\sub\\", "name", ".ext"},
        {"name", "", "", "name", ""},
        {"c:\\dir.d\\file", "c:", "\\dir.d\\", "file", ""},
        {"c:name.txt", "c:", "", "name", ".txt"},
        {"/a/b.c/d.e.f", "", "/a/b.c/", "d.e", ".f"},
        {"mixed/dir\\x.y", "", "mixed/dir\\", "x", ".y"},
        {".profile", "", "", "", ".profile"},
        {"dir\\", "", "dir\\", "", ""},
        {"x:", "x:", "", "", ""},
        {"c", "", "", "c", ""},
        {"name.", "", "", "name", "."},
        {"", "", "", "", ""},
        {"\\\\server\\share\\f.dbf", "", "\\\\server\\share\\", "f", ".dbf"},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.path);
        char drive[256] = "#", dir[256] = "#", name[256] = "#", ext[256] = "#";
        SplitPath(c.path, drive, dir, name, ext);
        EXPECT_EQ(c.drive, std::string(drive));
        EXPECT_EQ(c.dir, std::string(dir));
        EXPECT_EQ(c.name, std::string(name));
        EXPECT_EQ(c.ext, std::string(ext));
    }
}

TEST(PathHelpers, SplitPathOutputsMayBeNull)
{
    char name[256] = "#";
    SplitPath("c:\\dir\\file.txt", nullptr, nullptr, name, nullptr);
    EXPECT_EQ("file", std::string(name));
}

TEST(PathHelpers, SplitPathCutsLongPartsAt255Bytes)
{
    const std::string longName(300, 'n'), longDir = "\\" + std::string(300, 'd') + "\\";
    char drive[256], dir[256], name[256], ext[256];
    SplitPath((longDir + longName + ".ext").c_str(), drive, dir, name, ext);
    EXPECT_EQ(longDir.substr(0, 255), std::string(dir));
    EXPECT_EQ(longName.substr(0, 255), std::string(name));
    EXPECT_EQ(".ext", std::string(ext));
}

struct MakeCase {
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
    const char* expected;
};

TEST(PathHelpers, MakePath)
{
    const MakeCase cases[] = {
        {"", "c:\\dir", "a", "txt", "c:\\dir\\a.txt"},
        {"", "c:\\dir", "a", ".txt", "c:\\dir\\a.txt"},
        {"c:", "\\dir\\", "a", ".txt", "c:\\dir\\a.txt"},
        {"c", "dir/", "a", nullptr, "c:dir/a"},
        {"d:\\x", "", "a", "", "d:a"},
        {nullptr, nullptr, "a", "", "a"},
        {"", "", "", "ext", ".ext"},
        {"", "\\", "f", "e", "\\f.e"},
        {nullptr, nullptr, nullptr, nullptr, ""},
    };
    for (const MakeCase& c : cases) {
        SCOPED_TRACE(c.expected);
        char buffer[770];
        memset(buffer, '#', sizeof buffer);
        MakePath(buffer, c.drive, c.dir, c.name, c.ext);
        EXPECT_EQ(c.expected, std::string(buffer));
    }
}

TEST(PathHelpers, SplitAndMakeRoundTrip)
{
    const char* paths[] = {"c:\\dir\\sub\\name.ext", "name", "c:\\dir.d\\file", "\\\\srv\\sh\\a.b.c", "d:x"};
    for (const char* path : paths) {
        char drive[256], dir[256], name[256], ext[256], joined[770];
        SplitPath(path, drive, dir, name, ext);
        MakePath(joined, drive, dir, name, ext);
        EXPECT_EQ(path, std::string(joined));
    }
}

struct BoundedCase {
    const char* start;
    const char* source;
    size_t size;
    const char* expected;
};

TEST(PathHelpers, SafeStrCopy)
{
    const BoundedCase cases[] = {
        {"xyz", "abcdef", 1, ""},     {"xyz", "abcdef", 4, "abc"}, {"xyz", "abcdef", 6, "abcde"},
        {"xyz", "abcdef", 7, "abcdef"}, {"xyz", "abcdef", 50, "abcdef"}, {"xyz", "", 5, ""},
    };
    for (const BoundedCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " size " << c.size);
        char buffer[64];
        memset(buffer, '#', sizeof buffer);
        strcpy(buffer, c.start);
        EXPECT_EQ(buffer, SafeStrCopy(buffer, c.source, c.size));
        EXPECT_EQ(c.expected, std::string(buffer));
    }
    char untouched[4] = "xyz";
    SafeStrCopy(untouched, "abc", 0);
    EXPECT_EQ("xyz", std::string(untouched)) << "size 0 writes nothing";
}

TEST(PathHelpers, SafeStrCat)
{
    const BoundedCase cases[] = {
        {"abc", "def", 4, "abc"},   {"abc", "def", 5, "abcd"},  {"abc", "def", 6, "abcde"},
        {"abc", "def", 7, "abcdef"}, {"abc", "def", 64, "abcdef"}, {"", "def", 3, "de"},
    };
    for (const BoundedCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << "+" << c.source << " size " << c.size);
        char buffer[64];
        memset(buffer, '#', sizeof buffer);
        strcpy(buffer, c.start);
        EXPECT_EQ(buffer, SafeStrCat(buffer, c.source, c.size));
        EXPECT_EQ(c.expected, std::string(buffer));
    }
    // A destination that already fills the size gets nothing, not even a terminator.
    char full[8] = {'a', 'b', 'c', '#', '#', '#', '#', 0};
    SafeStrCat(full, "def", 3);
    EXPECT_EQ(0, memcmp(full, "abc####", 8));
}

} // namespace
