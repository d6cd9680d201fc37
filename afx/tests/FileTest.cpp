// Files: CFile on disk, CMemFile growth and attached buffers, CStdioFile text lines.
#include <afx.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include "TestKit.h"

namespace {

class CMemFileProbe : public CMemFile {
public:
    using CMemFile::CMemFile;
    DWORD BufferSize() const { return m_nBufferSize; }
};

int FileCause(const std::function<void()>& fn, LONG* plOsError = NULL)
{
    try {
        fn();
    } catch (CFileException* e) {
        int cause = e->m_cause;
        if (plOsError != NULL)
            *plOsError = e->m_lOsError;
        e->Delete();
        return cause;
    }
    return -1;
}

} // namespace

TEST(File, WriteSeekReadAndLength)
{
    oxtest::TempDir dir("afxfile");
    std::string path = dir.File("daten.bin");
    CFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
    file.Write("0123456789", 10);
    EXPECT_EQ(10u, file.GetLength());
    EXPECT_EQ(10u, file.GetPosition());
    EXPECT_EQ(4, file.Seek(4, CFile::begin));
    char buffer[16] = {};
    EXPECT_EQ(3u, file.Read(buffer, 3));
    EXPECT_STREQ("456", buffer);
    EXPECT_EQ(9, file.Seek(-1, CFile::end));
    EXPECT_EQ(1u, file.Read(buffer, 16));
    EXPECT_EQ(0u, file.Read(buffer, 16));
    file.SetLength(5);
    EXPECT_EQ(5u, file.GetLength());
    EXPECT_STREQ("daten.bin", file.GetFileName());
    EXPECT_STREQ("daten", file.GetFileTitle());
    EXPECT_STREQ(path.c_str(), file.GetFilePath());
    file.Close();
    EXPECT_EQ(CFile::hFileNull, file.m_hFile);

    // modeNoTruncate keeps the content.
    CFile again(path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead);
    EXPECT_EQ(5u, again.GetLength());
}

TEST(File, OpenFailuresReportCauseErrorAndName)
{
    oxtest::TempDir dir("afxfile");
    std::string missing = dir.File("fehlt.dbf");
    CFile file;
    CFileException e;
    EXPECT_FALSE(file.Open(missing.c_str(), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, e.m_lOsError);
    EXPECT_STREQ(missing.c_str(), e.m_strFileName);

    EXPECT_EQ(CFileException::badPath,
              FileCause([&] { CFile f(dir.File("kein\\ordner\\x.dbf").c_str(), CFile::modeRead); }));

    std::string shared = dir.File("exklusiv.dbf");
    CFile exclusive(shared.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
    LONG lOsError = 0;
    EXPECT_EQ(CFileException::sharingViolation,
              FileCause([&] { CFile second(shared.c_str(), CFile::modeRead | CFile::shareDenyNone); }, &lOsError));
    EXPECT_EQ(ERROR_SHARING_VIOLATION, lOsError);
}

TEST(File, LockRangeConflictsBetweenHandles)
{
    oxtest::TempDir dir("afxfile");
    std::string path = dir.File("sperre.dbf");
    CFile first(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone);
    CFile second(path.c_str(), CFile::modeReadWrite | CFile::shareDenyNone);
    first.LockRange(1000000000, 1);
    EXPECT_EQ(CFileException::lockViolation, FileCause([&] { second.LockRange(1000000000, 1); }));
    first.UnlockRange(1000000000, 1);
    EXPECT_EQ(-1, FileCause([&] { second.LockRange(1000000000, 1); }));
}

TEST(File, StatusRenameAndRemove)
{
    oxtest::TempDir dir("afxfile");
    std::string path = dir.File("a.txt");
    ASSERT_TRUE(oxtest::WriteFileText(path, "abc"));
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(3, status.m_size);
    EXPECT_STREQ(path.c_str(), status.m_szFullName);
    EXPECT_NE(0, status.m_mtime.GetTime());
    EXPECT_FALSE(CFile::GetStatus(dir.File("fehlt").c_str(), status));

    CFile::Rename(path.c_str(), dir.File("b.txt").c_str());
    EXPECT_EQ("abc", oxtest::ReadFileText(dir.File("b.txt")));
    CFile::Remove(dir.File("b.txt").c_str());
    EXPECT_EQ(CFileException::fileNotFound, FileCause([&] { CFile::Remove(dir.File("b.txt").c_str()); }));
}

TEST(MemFile, GrowsInStepsOfGrowBytes)
{
    CMemFileProbe file(1024);
    EXPECT_EQ(0u, file.BufferSize());
    file.Write("x", 1);
    EXPECT_EQ(1024u, file.BufferSize());
    std::string block(1500, 'y');
    file.Write(block.data(), (UINT)block.size());
    EXPECT_EQ(2048u, file.BufferSize());
    EXPECT_EQ(1501u, file.GetLength());

    // A position beyond the end: the gap reads as zeros.
    file.Seek(10, CFile::end);
    file.Write("z", 1);
    EXPECT_EQ(1512u, file.GetLength());
    char gap[11];
    file.Seek(1501, CFile::begin);
    EXPECT_EQ(11u, file.Read(gap, 11));
    EXPECT_EQ(0, gap[0]);
    EXPECT_EQ('z', gap[10]);

    EXPECT_EQ(CFileException::badSeek, FileCause([&] { file.Seek(-1, CFile::begin); }));
    file.SetLength(100);
    EXPECT_EQ(100u, file.GetPosition());

    UINT nLength = (UINT)file.GetLength();
    BYTE* p = file.Detach();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ('x', p[0]);
    EXPECT_EQ(100u, nLength);
    EXPECT_EQ(0u, file.GetLength());
    free(p);
}

TEST(MemFile, AttachedBuffer)
{
    BYTE fixed[4] = {1, 2, 3, 4};
    CMemFile file(fixed, sizeof fixed);
    EXPECT_EQ(4u, file.GetLength());
    BYTE read[4] = {};
    EXPECT_EQ(4u, file.Read(read, 4));
    EXPECT_EQ(4, read[3]);
    file.SeekToBegin();
    file.Write("\x09", 1);
    EXPECT_EQ(9, fixed[0]);

    // Without grow bytes the buffer cannot grow.
    file.SeekToEnd();
    bool bMemory = false;
    try {
        file.Write("x", 1);
    } catch (CMemoryException* e) {
        bMemory = true;
        e->Delete();
    }
    EXPECT_TRUE(bMemory);
    file.Detach();

    // With grow bytes the file starts empty and the (malloc) buffer grows.
    BYTE* pGrowable = (BYTE*)malloc(4);
    CMemFile growing(pGrowable, 4, 16);
    EXPECT_EQ(0u, growing.GetLength());
    growing.Write("0123456789", 10);
    EXPECT_EQ(10u, growing.GetLength());
    BYTE* p = growing.Detach();
    EXPECT_EQ('9', p[9]);
    free(p);
}

TEST(StdioFile, TextLines)
{
    oxtest::TempDir dir("afxfile");
    std::string path = dir.File("zeilen.txt");
    {
        CStdioFile out(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        out.WriteString("erste Zeile\n");
        out.WriteString("zweite Zeile\n");
        out.WriteString(CString('x', 300) + "\n");
        out.WriteString("ohne Ende");
    }
    std::string bytes = oxtest::ReadFileText(path);
    EXPECT_EQ("erste Zeile\r\nzweite Zeile\r\n", bytes.substr(0, 27));

    CStdioFile in(path.c_str(), CFile::modeRead | CFile::typeText);
    CString line;
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_STREQ("erste Zeile", line);
    char buffer[64];
    EXPECT_STREQ("zweite Zeile\n", in.ReadString(buffer, sizeof buffer));
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_EQ(300, line.GetLength());
    ASSERT_TRUE(in.ReadString(line));
    EXPECT_STREQ("ohne Ende", line);
    EXPECT_FALSE(in.ReadString(line));
    EXPECT_EQ(nullptr, in.ReadString(buffer, sizeof buffer));
}

TEST(StdioFile, BinaryModeKeepsLineBreaks)
{
    oxtest::TempDir dir("afxfile");
    std::string path = dir.File("roh.bin");
    {
        CStdioFile out(path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        out.Write("a\nb", 3);
    }
    EXPECT_EQ("a\nb", oxtest::ReadFileText(path));
    CStdioFile in(path.c_str(), CFile::modeRead | CFile::typeBinary);
    EXPECT_EQ(3u, in.GetLength());
}
