// CFileFind over a temporary folder, and the file dialog's parsing of what the system dialog
// answers (single and multiple selections, filter separators).
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "afxdlgs.h"

namespace {

class FileFindTest : public ::testing::Test {
protected:
    std::string m_dir;
    void SetUp() override
    {
        char szTemp[MAX_PATH];
        GetTempPathA(sizeof(szTemp), szTemp);
        m_dir = std::string(szTemp) + "oxfind" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_dir.c_str(), NULL);
        Write("a.txt", "12345");
        Write("b.dat", "");
        CreateDirectoryA((m_dir + "\\sub.dir").c_str(), NULL);
    }
    void TearDown() override
    {
        DeleteFileA((m_dir + "\\a.txt").c_str());
        DeleteFileA((m_dir + "\\b.dat").c_str());
        RemoveDirectoryA((m_dir + "\\sub.dir").c_str());
        RemoveDirectoryA(m_dir.c_str());
    }
    void Write(const char* name, const char* text)
    {
        CFile file((m_dir + "\\" + name).c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Write(text, (UINT)strlen(text));
    }
};

TEST_F(FileFindTest, WalksEveryEntryWithTheLastOneCurrentAtTheEnd)
{
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile((m_dir + "\\*.*").c_str()));
    EXPECT_STREQ("", finder.GetFileName()) << "nothing is current before FindNextFile";
    std::set<std::string> names;
    BOOL bMore = TRUE;
    while (bMore) {
        bMore = finder.FindNextFile();
        if (finder.IsDots())
            continue;
        names.insert((LPCTSTR)finder.GetFileName());
        EXPECT_STREQ((m_dir + "\\" + (LPCTSTR)finder.GetFileName()).c_str(), finder.GetFilePath());
        if (finder.GetFileName() == "a.txt") {
            EXPECT_EQ(5u, finder.GetLength());
            EXPECT_STREQ("a", finder.GetFileTitle());
            EXPECT_FALSE(finder.IsDirectory());
            CTime time;
            EXPECT_TRUE(finder.GetLastWriteTime(time));
            EXPECT_LT(llabs((long long)(CTime::GetCurrentTime() - time).GetTotalSeconds()), 3600);
        }
        if (finder.GetFileName() == "sub.dir") {
            EXPECT_TRUE(finder.IsDirectory());
            EXPECT_STREQ("sub", finder.GetFileTitle());
        }
    }
    EXPECT_EQ((std::set<std::string>{"a.txt", "b.dat", "sub.dir"}), names);
    EXPECT_FALSE(finder.FindNextFile()) << "the end stays the end";

    EXPECT_FALSE(finder.FindFile((m_dir + "\\*.none").c_str()));
    ASSERT_TRUE(finder.FindFile((m_dir + "\\b.*").c_str()));
    EXPECT_FALSE(finder.FindNextFile()) << "one match: it is current and the last";
    EXPECT_STREQ("b.dat", finder.GetFileName());
}

// The dialog's answer, as the system leaves it in the file buffer.
struct CTestFileDialog : public CFileDialog {
    CTestFileDialog(DWORD dwFlags, const char* pszAnswer, size_t nAnswer, WORD nFileOffset)
        : CFileDialog(TRUE, "txt", NULL, dwFlags, "Texte (*.txt)|*.txt|Alle Dateien|*.*||")
    {
        memcpy(m_szFileName, pszAnswer, nAnswer);
        m_ofn.nFileOffset = nFileOffset;
    }
    const char* Filter() const { return m_ofn.lpstrFilter; }
};

TEST(FileDialogTest, NamesOfSingleAndMultipleSelections)
{
    const char single[] = "C:\\Daten\\Termine.2026.txt";
    CTestFileDialog dlg(OFN_ALLOWMULTISELECT, single, sizeof(single), 9);
    EXPECT_STREQ("C:\\Daten\\Termine.2026.txt", dlg.GetPathName());
    EXPECT_STREQ("Termine.2026.txt", dlg.GetFileName());
    EXPECT_STREQ("txt", dlg.GetFileExt());
    EXPECT_STREQ("Termine.2026", dlg.GetFileTitle());
    POSITION pos = dlg.GetStartPosition();
    EXPECT_STREQ("C:\\Daten\\Termine.2026.txt", dlg.GetNextPathName(pos));
    EXPECT_EQ(nullptr, pos);

    const char multi[] = "C:\\Daten\0eins.txt\0zwei.txt\0";
    CTestFileDialog multiDlg(OFN_ALLOWMULTISELECT, multi, sizeof(multi), 9);
    pos = multiDlg.GetStartPosition();
    EXPECT_STREQ("C:\\Daten\\eins.txt", multiDlg.GetNextPathName(pos));
    ASSERT_NE(nullptr, pos);
    EXPECT_STREQ("C:\\Daten\\zwei.txt", multiDlg.GetNextPathName(pos));
    EXPECT_EQ(nullptr, pos);
    EXPECT_STREQ("C:\\Daten\\eins.txt", multiDlg.GetPathName());

    // the filter's separators became the NULs of the system's list
    const char* pFilter = dlg.Filter();
    EXPECT_STREQ("Texte (*.txt)", pFilter);
    pFilter += strlen(pFilter) + 1;
    EXPECT_STREQ("*.txt", pFilter);
    pFilter += strlen(pFilter) + 1;
    EXPECT_STREQ("Alle Dateien", pFilter);
    pFilter += strlen(pFilter) + 1;
    EXPECT_STREQ("*.*", pFilter);
    pFilter += strlen(pFilter) + 1;
    EXPECT_EQ('\0', *pFilter);
}

} // namespace
