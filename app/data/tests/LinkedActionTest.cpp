// The actions' descriptions (the plain one and the two built-in ones with their texts from the
// string table), the open-file action (empty parameter, a file that is not there, a file the shell
// starts), and the file-name dialog of the parameter fields, which leaves the process where it was.
#include <gtest/gtest.h>

#include <direct.h>

#include <functional>
#include <memory>
#include <string>

#include "BrowseForFileName.h"
#include "CDataAppointment.h"
#include "CLinkedAction.h"
#include "CMailAction.h"
#include "COpenFileAction.h"
#include "CtlLog.h"
#include "TestKit.h"

namespace {

struct ActionCase {
    const char* name;
    std::function<CLinkedAction*(CLinkedApplication*)> make;
    const char* id;
    const char* title;
    int nPicture;
    const char* label;
    int bSelect;
    const char* filter;
};

const ActionCase kActions[] = {
    {"plain", [](CLinkedApplication*) { return new CLinkedAction; }, "", "", 0, "", 0, ""},
    {"mail", [](CLinkedApplication* p) { return new CMailAction(p); }, "OXMAIL", "Senden einer eMail Benachrichtigung",
     504, "An:", 0, ""},
    {"open file", [](CLinkedApplication* p) { return new COpenFileAction(p); }, "OXSHEX",
     "Datei/Dokument ausführen bzw. öffnen.", 408, "Datei:", 1, "Alle Dateien (*.*) | *.*||"},
};

TEST(CLinkedAction, DescribesTheAction)
{
    CLinkedApplication* pOwner = reinterpret_cast<CLinkedApplication*>(0x1000);
    for (const ActionCase& c : kActions) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CLinkedAction> action(c.make(pOwner));
        EXPECT_STREQ(c.id, action->m_strId);
        EXPECT_STREQ(c.title, action->m_strTitle);
        EXPECT_EQ(c.nPicture, action->m_nPictureId);
        EXPECT_STREQ(c.label, action->m_strParameterLabel);
        EXPECT_EQ(c.bSelect, action->m_bSelectButton);
        EXPECT_STREQ(c.filter, action->m_strSelectFilter);
        EXPECT_EQ(0, action->m_bAskForData);
        EXPECT_EQ(0, action->m_bBinaryData);
        EXPECT_EQ(std::string(c.id).empty() ? (CLinkedApplication*)NULL : pOwner, action->m_pApplication);
    }
}

TEST(CLinkedAction, ActionOfALinkedApplicationDoesNotRunWithoutAutomation)
{
    CLinkedAction action;
    action.m_strId = "ADRJUMP";
    CDataAppointment entry;
    entry.m_action.m_strName = "ADRJUMP";
    EXPECT_EQ(0, action.Execute(NULL, NULL, entry));
}

TEST(COpenFileAction, OpensTheFileOfTheParameter)
{
    oxtest::TempDir dir("oxopen");
    const std::string script = dir.File("schreibe.bat");
    const std::string marker = dir.File("gelaufen.txt");
    ASSERT_TRUE(oxtest::WriteFileText(script, "@echo off\r\necho ok> \"%~dp0gelaufen.txt\"\r\n"));

    COpenFileAction action;
    CDataAppointment entry;
    entry.m_action.m_strName = "OXSHEX";

    entry.m_action.m_strParameter.Empty();
    EXPECT_EQ(0, action.Execute(NULL, NULL, entry)) << "empty parameter";

    entry.m_action.m_strParameter = dir.File("fehlt.txt").c_str();
    EXPECT_EQ(0, action.Execute(NULL, NULL, entry)) << "file that is not there";

    entry.m_action.m_strParameter = script.c_str();
    EXPECT_EQ(1, action.Execute(NULL, NULL, entry));
    // The script runs in a process of its own: wait for its file (at most 30 s).
    bool bRan = false;
    for (int i = 0; i < 600 && !bRan; ++i) {
        bRan = GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!bRan)
            Sleep(50);
    }
    EXPECT_TRUE(bRan) << "the shell did not run " << script;
}

std::string CurrentDirectory()
{
    char sz[MAX_PATH];
    return _getcwd(sz, sizeof sz) ? sz : "";
}

TEST(BrowseForFileName, AsksTheControlsLibraryAndStaysWhereItWas)
{
    oxtest::TempDir here("oxhere");
    oxtest::TempDir start("oxstart");
    const std::string before = CurrentDirectory();
    ASSERT_EQ(0, _chdir(here.Path().c_str()));

    struct Case {
        const char* name;
        const char* chosen;  // the dialog's answer, empty: cancelled
        BOOL bOpen;
        const char* startDir;
        int nAnswer;
        const char* fileName;  // afterwards
        const char* flags;     // as the dialog got them
    };
    const std::string startDir = start.Path();
    const Case kCases[] = {
        {"open", "C:\\Daten\\Liste.txt", TRUE, startDir.c_str(), IDOK, "C:\\Daten\\Liste.txt", "0x4"},
        {"save", "C:\\Daten\\Neu.txt", FALSE, startDir.c_str(), IDOK, "C:\\Daten\\Neu.txt", "0x80000004"},
        {"no start directory", "C:\\x.txt", TRUE, "", IDOK, "C:\\x.txt", "0x4"},
        {"cancelled", "", TRUE, startDir.c_str(), IDCANCEL, "vorher.txt", "0x4"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        oxtest::CtlLog log;
        log.SetFileName(c.chosen);
        CString strFile = "vorher.txt";
        EXPECT_EQ(c.nAnswer, BrowseForFileName("Datei wählen", c.startDir, strFile, c.bOpen, "Alle Dateien (*.*) | *.*||",
                                               "unbenutzt", 0x4, "vorher.txt", NULL));
        EXPECT_STREQ(c.fileName, strFile);
        EXPECT_EQ(here.Path(), CurrentDirectory()) << "the process's directory changed";
        std::vector<oxtest::CtlLog::Record> records = log.Records("GetNameDlg");
        ASSERT_EQ(1u, records.size());
        EXPECT_EQ("Datei wählen", records[0][1]);
        EXPECT_EQ(c.flags, records[0][2]);
    }
    _chdir(before.c_str());
}

} // namespace
