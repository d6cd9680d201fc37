// The document's mail command against the recording MAPI32.DLL of the data layer's tests (in the
// folder bin\mapi): the attachment (a copy in the temporary folder named after the title, or the
// document's own file), the copy removed after the mail, the modified flag kept, the messages of
// a failed save, a refused mail and a missing mail library, and the command's update from the
// [Mail] section of WIN.INI.
//
// The program runs with WINEDLLOVERRIDES mapi32=n (see CMakeLists.txt): Wine's own MAPI32.DLL never
// loads, so no mail reaches a real mail program, and without the double there is no MAPI32.DLL.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <mapi.h>

#include <string>
#include <vector>

#include "MessageBoxProbe.h"
#include "TestKit.h"

namespace {

typedef void(WINAPI* SetResultsFn)(ULONG, ULONG);
typedef int(WINAPI* ReadLogFn)(char*, int);

// The recording MAPI32.DLL, loaded by the test so that its log outlives the command's own
// LoadLibrary/FreeLibrary.
class MapiDouble {
public:
    MapiDouble()
    {
        SetDllDirectoryA((oxtest::ProgramDir() + "\\mapi").c_str());
        m_hLibrary = LoadLibraryA("MAPI32.DLL");
        if (m_hLibrary != NULL) {
            m_pfnSetResults = (SetResultsFn)GetProcAddress(m_hLibrary, "TestMapiSetResults");
            m_pfnReadLog = (ReadLogFn)GetProcAddress(m_hLibrary, "TestMapiReadLog");
        }
    }
    ~MapiDouble()
    {
        if (IsDouble())
            SetResults(SUCCESS_SUCCESS);
        if (m_hLibrary != NULL)
            FreeLibrary(m_hLibrary);
        SetDllDirectoryA(NULL);
    }
    bool IsDouble() const { return m_pfnSetResults != NULL && m_pfnReadLog != NULL; }
    void SetResults(ULONG nSend) { m_pfnSetResults(SUCCESS_SUCCESS, nSend); }
    std::vector<std::string> Calls()
    {
        std::vector<char> buffer(1 << 16);
        m_pfnReadLog(buffer.data(), (int)buffer.size());
        return oxtest::SplitLines(std::string(buffer.data()));
    }

private:
    HMODULE m_hLibrary = NULL;
    SetResultsFn m_pfnSetResults = NULL;
    ReadLogFn m_pfnReadLog = NULL;
};

// A document that offers mail the way the program's document does, and records its saves.
class CMailDoc : public CDocument {
public:
    CMailDoc() { m_bAutoDelete = FALSE; }
    BOOL m_bFailSave = FALSE;
    std::vector<std::string> m_saves; // the paths of OnSaveDocument

    BOOL OnSaveDocument(LPCTSTR lpszPathName) override
    {
        m_saves.push_back(lpszPathName);
        return CDocument::OnSaveDocument(lpszPathName);
    }
    void Serialize(CArchive& ar) override
    {
        if (!ar.IsStoring())
            return;
        if (m_bFailSave)
            AfxThrowFileException(CFileException::diskFull, -1, NULL);
        ar << CString("Inhalt");
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMailDoc, CDocument)
ON_COMMAND(ID_FILE_SEND_MAIL, OnFileSendMail)
ON_UPDATE_COMMAND_UI(ID_FILE_SEND_MAIL, OnUpdateFileSendMail)
END_MESSAGE_MAP()

class CEnableProbe : public CCmdUI {
public:
    int m_nEnabled = -1;
    void Enable(BOOL bOn) override { m_nEnabled = bOn ? 1 : 0; }
};

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string TempDir()
{
    char sz[MAX_PATH];
    GetTempPathA(MAX_PATH, sz);
    return sz;
}

void SendMailCommand(CDocument& doc) { doc.OnCmdMsg(ID_FILE_SEND_MAIL, CN_COMMAND, NULL, NULL); }

const std::string kSendMail = "SendMail|0|0x9|(null)|(null)"; // no session, MAPI_LOGON_UI | MAPI_DIALOG
std::string Attached(const std::string& path, const std::string& name)
{
    return "File|4294967295|" + path + "|" + name;
}

class DocumentMailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_mapi.IsDouble()) << "MAPI32.DLL is not the test double of bin\\mapi (does the test run with "
                                          "WINEDLLOVERRIDES mapi32=n?)";
        m_mapi.Calls();
        m_dir = TempDir() + "ox_doc_mail";
        CreateDirectoryA(m_dir.c_str(), NULL);
    }
    void TearDown() override { oxtest::RemoveTree(m_dir); }
    MapiDouble m_mapi;
    std::string m_dir;
};

// Untitled and modified documents go as a copy in the temporary folder, named after the title (up
// to a character that does not belong in a file name), removed after the mail; a saved one goes
// as its own file, which stays. The modified flag is as before either way.
TEST_F(DocumentMailTest, AttachesACopyNamedAfterTheTitleOrTheDocumentsOwnFile)
{
    struct Case {
        const char* name;
        const char* title;
        bool bOwnFile; // the document has a file of its own (m_dir\Plan.dat)
        BOOL bModified;
        std::string attachedName; // empty: the own file
    } cases[] = {
        {"untitled", "Wochenplan", false, FALSE, "Wochenplan"},
        {"title cut before a space", "Plan März 2024", false, TRUE, "Plan"},
        {"title cut before a colon", "Team:Nord", false, FALSE, "Team"},
        {"modified with a file of its own", "Plan.dat", true, TRUE, "Plan.dat"},
        {"saved: its own file", "Plan.dat", true, FALSE, ""},
    };
    const std::string ownFile = m_dir + "\\Plan.dat";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMailDoc doc;
        if (c.bOwnFile) {
            ASSERT_TRUE(doc.OnSaveDocument(ownFile.c_str()));
            doc.SetPathName(ownFile.c_str());
            doc.m_saves.clear();
        }
        doc.SetTitle(c.title);
        doc.SetModifiedFlag(c.bModified);
        afxtest::MessageBoxProbe boxes;

        SendMailCommand(doc);

        const std::string path = c.attachedName.empty() ? ownFile : TempDir() + c.attachedName;
        const std::string name = c.attachedName.empty() ? "Plan.dat" : c.attachedName;
        EXPECT_EQ((std::vector<std::string>{kSendMail, Attached(path, name)}), m_mapi.Calls());
        EXPECT_EQ(c.attachedName.empty() ? std::vector<std::string>{} : std::vector<std::string>{path}, doc.m_saves);
        EXPECT_EQ(c.attachedName.empty(), Exists(path)) << "a copy is removed, the own file stays";
        EXPECT_EQ(c.bModified, doc.IsModified());
        EXPECT_EQ(0, boxes.m_nCalls) << boxes.m_lastText;
        if (c.bOwnFile) {
            EXPECT_TRUE(Exists(ownFile));
        }
    }
}

// A refused mail is reported, the user's cancel is not; a failed save sends nothing and leaves no
// file behind; the copy goes in every case.
TEST_F(DocumentMailTest, ReportsFailuresAndRemovesTheCopy)
{
    const std::vector<std::string> sent = {kSendMail, Attached(TempDir() + "Notiz", "Notiz")};
    const std::string kNotSent = "Die Nachricht konnte nicht gesendet werden.";
    struct Case {
        const char* name;
        ULONG nSendResult;
        BOOL bFailSave;
        std::vector<std::string> calls;
        std::vector<std::string> boxes;
    } cases[] = {
        {"mail refused", MAPI_E_FAILURE, FALSE, sent, {kNotSent}},
        {"logon failed", MAPI_E_LOGIN_FAILURE, FALSE, sent, {kNotSent}},
        {"cancelled by the user", MAPI_E_USER_ABORT, FALSE, sent, {}},
        {"save failed", SUCCESS_SUCCESS, TRUE, {}, {"Beim Schreiben von " + TempDir() + "Notiz ist der Datenträger voll."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_mapi.SetResults(c.nSendResult);
        CMailDoc doc;
        doc.SetTitle("Notiz");
        doc.m_bFailSave = c.bFailSave;
        afxtest::MessageBoxProbe boxes;

        SendMailCommand(doc);

        EXPECT_EQ(c.calls, m_mapi.Calls());
        EXPECT_EQ(c.boxes, boxes.m_texts);
        EXPECT_FALSE(Exists(TempDir() + "Notiz"));
    }
}

// The command is enabled only with MAPI=1 in the [Mail] section of WIN.INI (MAPI32.DLL is in the
// search path: Wine's system folder holds one).
TEST(DocumentMailUpdate, EnabledOnlyWithMailInWinIni)
{
    char szOld[16] = "";
    const bool bHadValue = GetProfileStringA("Mail", "MAPI", "", szOld, sizeof szOld) != 0;
    struct Case {
        const char* value; // NULL: no value
        int nEnabled;
    } cases[] = {{"1", 1}, {"0", 0}, {NULL, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value != NULL ? c.value : "(none)");
        ASSERT_TRUE(WriteProfileStringA("Mail", "MAPI", c.value));
        CMailDoc doc;
        CEnableProbe ui;
        ui.m_nID = ID_FILE_SEND_MAIL;
        EXPECT_TRUE(ui.DoUpdate(&doc, FALSE));
        EXPECT_EQ(c.nEnabled, ui.m_nEnabled);
    }
    WriteProfileStringA("Mail", "MAPI", bHadValue ? szOld : NULL);
}

// Without a mail library the command says so and saves nothing.
TEST(DocumentMailWithoutLibrary, ReportsTheMissingMailSupport)
{
    ASSERT_EQ(NULL, GetModuleHandleA("MAPI32.DLL"));
    CMailDoc doc;
    doc.SetTitle("Notiz");
    afxtest::MessageBoxProbe boxes;

    SendMailCommand(doc);

    EXPECT_EQ((std::vector<std::string>{"Die E-Mail-Unterstützung konnte nicht geladen werden."}), boxes.m_texts);
    EXPECT_TRUE(doc.m_saves.empty());
}

} // namespace
