// File classes and file names: open codes and why an open failed (also against a file another
// process holds), wrapped handles, delete on close, size, position and reading, locked ranges,
// temporary names and the name helpers.
#include <gtest/gtest.h>

#include <string>

#include "ChannelLines.h"
#include "DebugCapture.h"
#include "FileNames.h"
#include "TestKit.h"
#include "clsFile.h"
#include "clsFileRO.h"
#include "clsFileRW.h"
#include "clsFileRWTemp.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Another handle of the same file can lock the range (it is free).
bool RangeFree(const std::string& path, DWORD offset, DWORD length)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bool free = LockFile(h, offset, 0, length, 0) != FALSE;
    if (free)
        UnlockFile(h, offset, 0, length, 0);
    CloseHandle(h);
    return free;
}

// Sets TMP (and so GetTempPathA) for the length of a test.
class TempPathSet {
public:
    explicit TempPathSet(const std::string& dir)
    {
        char old[MAX_PATH];
        DWORD n = GetEnvironmentVariableA("TMP", old, sizeof old);
        m_had = n > 0 && n < sizeof old;
        if (m_had)
            m_old = old;
        SetEnvironmentVariableA("TMP", dir.c_str());
    }
    ~TempPathSet() { SetEnvironmentVariableA("TMP", m_had ? m_old.c_str() : nullptr); }

private:
    bool m_had;
    std::string m_old;
};

} // namespace

TEST(clsFile, TheOpenCodesAndFlagsBecomeCreateFileValues)
{
    struct Case {
        DWORD flags;
        DWORD createFlags;
    };
    const Case cases[] = {
        {0x1, FILE_FLAG_WRITE_THROUGH},    {0x2, FILE_FLAG_SEQUENTIAL_SCAN}, {0x4, FILE_FLAG_DELETE_ON_CLOSE},
        {0x8, FILE_FLAG_RANDOM_ACCESS},    {0x100, FILE_ATTRIBUTE_NORMAL},   {0x200, FILE_ATTRIBUTE_HIDDEN},
        {0x400, FILE_ATTRIBUTE_READONLY},  {0x800, FILE_ATTRIBUTE_TEMPORARY}, {0x10 | 0x1000, 0},
        {0x103, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.createFlags, clsFile::CreateFlagsOf(c.flags)) << c.flags;

    oxtest::TempDir dir("file");
    std::string path = dir.File("codes.dat");
    oxtest::WriteFileText(path, "0123456789");
    {
        clsFileRO ro(path.c_str(), 3, 0);
        ASSERT_TRUE(ro.IsOpen());
        char buffer[4];
        EXPECT_EQ(4, ro.Read(buffer, 4));
        DWORD written = 0;
        EXPECT_FALSE(WriteFile(ro.GetHandle(), "x", 1, &written, nullptr)) << "opened for reading only";
        // Share code 3 lets another writer in; a read-write open with share 0 does not.
        clsFileRW writer(path.c_str(), 2, 0, 3, 0);
        EXPECT_TRUE(writer.IsOpen());
        clsFileRW exclusive(path.c_str(), 2, 0, 0, 0);
        EXPECT_FALSE(exclusive.IsOpen());
        EXPECT_EQ(clsFile::kInUse, exclusive.GetErrorClass());
    }
    clsFileRW created(dir.File("new.dat").c_str(), 2, 2, 0, 0x100);
    EXPECT_TRUE(created.IsOpen());
    EXPECT_EQ(0u, created.GetSize());
}

TEST(clsFile, FailedOpensTellTheirClassAndTheSystemText)
{
    oxtest::TempDir dir("file");
    struct Case {
        std::string name;
        int disposition;
        int errorClass;
        DWORD systemError;
    };
    oxtest::WriteFileText(dir.File("exists.dat"), "x");
    const Case cases[] = {
        {dir.File("missing.dat"), 0, clsFile::kOther, ERROR_FILE_NOT_FOUND},
        {dir.File("no\\such\\dir\\file.dat"), 0, clsFile::kPathNotFound, ERROR_PATH_NOT_FOUND},
        {dir.File("no\\such\\dir\\file.dat"), 2, clsFile::kPathNotFound, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clsFile file;
        EXPECT_EQ(-1, file.Open(c.name.c_str(), 2, c.disposition, 0, 0));
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(c.errorClass, file.GetErrorClass());
        EXPECT_STREQ((const char*)String::SystemErrorText(c.systemError, 0x400), file.GetErrorText());
        EXPECT_EQ(c.name, (const char*)file.GetName());
    }
    // A success clears the error of a failed open before.
    clsFile file;
    file.Open(dir.File("missing.dat").c_str(), 0, 0, 0, 0);
    EXPECT_EQ(0, file.Open(dir.File("exists.dat").c_str(), 0, 0, 0, 0));
    EXPECT_EQ(clsFile::kNoError, file.GetErrorClass());
    EXPECT_STREQ("", file.GetErrorText());

    struct ClassCase {
        DWORD code;
        int errorClass;
    };
    const ClassCase classes[] = {{3, 1}, {15, 1}, {53, 1}, {55, 1}, {32, 2}, {33, 2}, {183, 3},
                                 {5, 4}, {19, 4}, {2, 5},  {87, 5}, {0, 5}};
    for (const ClassCase& c : classes)
        EXPECT_EQ(c.errorClass, clsFile::ErrorClassOf(c.code)) << c.code;
}

TEST(clsFile, AFileAnotherProcessHoldsIsInUse)
{
    oxtest::TempDir dir("file");
    std::string path = dir.File("held.dat");
    std::string ready = "ox_support_hold_ready_" + std::to_string(GetCurrentProcessId());
    std::string release = "ox_support_hold_release_" + std::to_string(GetCurrentProcessId());
    HANDLE readyEvent = CreateEventA(nullptr, TRUE, FALSE, ready.c_str());
    HANDLE releaseEvent = CreateEventA(nullptr, TRUE, FALSE, release.c_str());
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::string command = "\"" + oxtest::ProgramDir() + "\\support_probe.exe\" hold \"" + path + "\" " + ready + " " + release;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(readyEvent, 30000));

    clsFileRO reader(path.c_str(), 3, 0);
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(clsFile::kInUse, reader.GetErrorClass());

    SetEvent(releaseEvent);
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(readyEvent);
    CloseHandle(releaseEvent);
    EXPECT_EQ(0, reader.Open(path.c_str(), 0, 0, 3, 0)) << "free again";
}

TEST(clsFile, AWrappedHandleIsNeverClosedByTheObject)
{
    oxtest::TempDir dir("file");
    std::string path = dir.File("wrapped.dat");
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    {
        clsFile wrapped(h);
        EXPECT_TRUE(wrapped.IsOpen());
        EXPECT_FALSE(wrapped.OwnsHandle());
        wrapped.Close();
        EXPECT_FALSE(wrapped.IsOpen());
    }
    {
        clsFile wrapped(h);
    }
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(h, "abc", 3, &written, nullptr)) << "the handle still works";
    EXPECT_TRUE(CloseHandle(h));
}

TEST(clsFile, DeleteOnCloseRemovesTheFile)
{
    oxtest::TempDir dir("file");
    std::string path = dir.File("gone.tmp");
    {
        clsFileRWTemp temp;
        ASSERT_EQ(0, temp.Open(path.c_str(), 2, 2, 0, clsFile::kDeleteOnClose | clsFile::kTemporary));
        EXPECT_TRUE(Exists(path));
        temp.Close();
        EXPECT_FALSE(Exists(path));
    }
    {
        clsFileRW kept(path.c_str(), 2, 2, 0, 0);
        ASSERT_TRUE(kept.IsOpen());
    }
    EXPECT_TRUE(Exists(path)) << "without the flag the file stays";
    {
        clsFileRW gone(path.c_str(), 2, 1, 0, clsFile::kDeleteOnClose);
        ASSERT_TRUE(gone.IsOpen());
    }
    EXPECT_FALSE(Exists(path)) << "destruction closes and deletes as well";
}

TEST(clsFile, SizePositionAndReading)
{
    oxtest::TempDir dir("file");
    std::string path = dir.File("data.dat");
    oxtest::WriteFileText(path, "abcdefghij");
    clsFileRO file(path.c_str(), 2, 0);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(10u, file.GetSize());
    EXPECT_EQ(0u, file.Tell());
    EXPECT_EQ(6u, file.Seek(6));
    char buffer[10] = {};
    EXPECT_EQ(4, file.Read(buffer, 8)) << "only what is there";
    EXPECT_EQ("ghij", std::string(buffer, 4));
    EXPECT_EQ(10u, file.Tell());
    EXPECT_EQ(0, file.Read(buffer, 8)) << "at the end";

    // Open on an open object closes the old file first.
    std::string other = dir.File("other.dat");
    oxtest::WriteFileText(other, "xyz");
    EXPECT_EQ(0, file.Open(other.c_str(), 0, 0, 0, 0));
    EXPECT_EQ(3u, file.GetSize());
    EXPECT_EQ(0, clsFile(path.c_str(), 2, 0, 0, 0).IsOpen() ? 0 : 1) << "the first file is free";

    clsFile none;
    EXPECT_EQ((DWORD)-1, none.GetSize());
    EXPECT_EQ((DWORD)-1, none.Seek(0));
    EXPECT_EQ((DWORD)-1, none.Tell());
    EXPECT_EQ(-1, none.Read(buffer, 1));
}

TEST(clsFile, LockedRangesAreReleasedAndMisuseIsReported)
{
    oxtest::TempDir dir("file");
    std::string path = dir.File("locks.dat");
    oxtest::WriteFileText(path, std::string(100, 'x'));
    supporttest::TakeDebugLines();
    {
        clsFileRW file(path.c_str(), 2, 0, 3, 0);
        ASSERT_TRUE(file.IsOpen());
        clsFile::Region* a = file.Lock(10, 5);
        clsFile::Region* b = file.Lock(1000000000, 1);
        ASSERT_NE(nullptr, a);
        ASSERT_NE(nullptr, b);
        EXPECT_FALSE(RangeFree(path, 10, 5));
        EXPECT_EQ(2, file.LockedRegionCount());

        file.Unlock(a);
        EXPECT_TRUE(RangeFree(path, 10, 5));
        EXPECT_EQ(1, file.LockedRegionCount());
        file.Unlock(nullptr);

        clsFile::Region unknown = {20, 2, nullptr, nullptr};
        file.Unlock(&unknown);
        auto lines = supporttest::TakeDebugLines();
        ASSERT_FALSE(oxtest::LinesContaining(lines, "tried to unlock a lock that has already been removed (or has never existed)").empty());
        EXPECT_FALSE(oxtest::LinesContaining(lines, "File '" + path + "'").empty());
        EXPECT_FALSE(RangeFree(path, 1000000000, 1));
    }
    EXPECT_TRUE(RangeFree(path, 1000000000, 1)) << "the destructor released the rest";
    EXPECT_FALSE(oxtest::LinesContaining(supporttest::TakeDebugLines(), "portions of the file are still locked. they will be "
                                                                        "unlocked automatically...")
                     .empty());
}

TEST(clsFile, CreatingWithoutWriteAccessIsReported)
{
    oxtest::TempDir dir("file");
    supporttest::TakeDebugLines();
    clsFile file(dir.File("ro.dat").c_str(), 0, 1, 0, 0);
    EXPECT_TRUE(file.IsOpen());
    EXPECT_FALSE(oxtest::LinesContaining(supporttest::TakeDebugLines(), "creating a file without write access does not make much sense").empty());
}

TEST(CreateTempFileName, FirstThePlainNameThenNumberedOnes)
{
    oxtest::TempDir dir("tempname");
    TempPathSet temp(dir.Path());
    const std::string base = dir.Path() + "\\";
    EXPECT_EQ(base + "tmp.log", (const char*)CreateTempFileName("tmp", "log", false));
    EXPECT_EQ(base + "tmp0001.log", (const char*)CreateTempFileName("tmp", "log", false));
    EXPECT_EQ(base + "tmp0002.log", (const char*)CreateTempFileName("tmp", ".log", false)) << "a leading dot is skipped";
    EXPECT_TRUE(Exists(base + "tmp0001.log")) << "the empty file is the reservation";
    DeleteFileA((base + "tmp0001.log").c_str());
    EXPECT_EQ(base + "tmp0001.log", (const char*)CreateTempFileName("tmp", "log", true)) << "a freed name is taken again";
}

TEST(CreateTempFileName, ADirectoryThatCannotHoldFilesGivesNothing)
{
    oxtest::TempDir dir("tempname");
    TempPathSet temp(dir.File("missing"));
    supporttest::TakeDebugLines();
    EXPECT_STREQ("", CreateTempFileName("tmp", "log", false));
    EXPECT_FALSE(oxtest::LinesContaining(supporttest::TakeDebugLines(), "cannot create temp file in '").empty());
}

TEST(FileNames, PartsOfPaths)
{
    struct Case {
        const char* path;
        const char* withExt;
        const char* withoutExt;
        const char* changed; // to "ntx"
    };
    const Case cases[] = {
        {"c:\\data\\name.dbf", "name.dbf", "name", "c:\\data\\name.ntx"},
        {"\\\\server\\share\\dir\\Termin.DBE", "Termin.DBE", "Termin", "\\\\server\\share\\dir\\Termin.ntx"},
        {"relative\\a.b.c", "a.b.c", "a.b", "relative\\a.b.ntx"},
        {"noext", "noext", "noext", "noext.ntx"},
        {"d:file.txt", "file.txt", "file", "d:file.ntx"},
        {"", "", "", ".ntx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(c.withExt, FileNameWithExt(c.path));
        EXPECT_STREQ(c.withoutExt, FileNameWithoutExt(c.path));
        EXPECT_STREQ(c.changed, FileChangeExt(c.path, "ntx"));
    }
    EXPECT_STREQ("c:\\data\\name.ntx", FileChangeExt("c:\\data\\name.dbf", ".ntx"));
    // Paths longer than the parts hold are cut, never written past.
    std::string longPath = "c:\\" + std::string(300, 'd') + "\\" + std::string(300, 'n') + ".dbf";
    EXPECT_EQ(255u, FileNameWithoutExt(longPath.c_str()).GetLength());
}

TEST(FileNames, LongPathsAndEnvironmentStrings)
{
    oxtest::TempDir dir("longname");
    std::string path = dir.File("a long file name.txt");
    oxtest::WriteFileText(path, "x");
    EXPECT_STREQ(path.c_str(), FileLongPathName(path.c_str()));
    EXPECT_STREQ("c:\\no\\such\\file", FileLongPathName("c:\\no\\such\\file")) << "failure gives the path itself";

    _putenv("OX_FILE_TEST_VALUE=some value");
    EXPECT_STREQ("some value", GetEnvString("OX_FILE_TEST_VALUE"));
    _putenv("OX_FILE_TEST_VALUE=");
    EXPECT_STREQ("", GetEnvString("OX_FILE_TEST_VALUE"));
}
